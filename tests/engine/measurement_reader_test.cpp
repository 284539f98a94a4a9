// Measurement files as users produce them: headers, both separators, CR LF, byte-order marks,
// extra columns, duplicate frequencies, files that stop early, and files that are not there.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/measurement_reader.h"
#include "temp_folder.h"

namespace corvalen {
namespace {

#include "data/engine_reference.inc"

class MeasurementReader : public ::testing::Test {
protected:
    MeasurementReader() : model_(state_, path_) {}

    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove(file_, ignored);
    }

    // Writes the bytes to a file and loads it with the given separator choice.
    void Load(const std::string& bytes, int separator = 0) {
        file_ =
            testing::TestTempFolder() /
            (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".csv");
        std::FILE* f = std::fopen(file_.string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        state_.separator = static_cast<std::uint8_t>(separator);
        path_ = file_.string();
        LoadMeasurement(model_, path_);
    }

    double At(int i) const { return model_.frCurve()[i]; }

    EngineState state_;
    std::string path_;
    ResponseModel model_;
    std::filesystem::path file_;
};

TEST_F(MeasurementReader, HeaderSkippedAndNearestNeighbourWithTiesUp) {
    Load("frequency,raw\n20,80.0\n20000,70.0\n");
    for (int i = 0; i < kGridPoints; ++i) {
        const double e = model_.gridFrequency(i);
        EXPECT_EQ(At(i), e < 10010.0 ? 80.0 : 70.0) << "at " << e << " Hz";
    }
}

TEST_F(MeasurementReader, TabSeparatorOnACommaFile) {
    Load("frequency,raw\n20,80.0\n20000,70.0\n", 1);
    // No line holds a tab: each is split at its comma, and the header gives no point.
    EXPECT_EQ(At(0), 80.0);
    EXPECT_EQ(At(kGridPoints - 1), 70.0);
}

TEST_F(MeasurementReader, CrLfReadsLikeLf) {
    Load("frequency,raw\r\n20,80.0\r\n1000,75\r\n20000,70.0\r\n\r\n");
    std::vector<double> crlf(model_.frCurve(), model_.frCurve() + kGridPoints);
    Load("frequency,raw\n20,80.0\n1000,75\n20000,70.0\n\n");
    for (int i = 0; i < kGridPoints; ++i) EXPECT_EQ(crlf[static_cast<size_t>(i)], At(i));
}

// Reads the points of the bytes the way a load does.
FrequencyResponse PointsOf(const std::string& bytes, char separator) {
    FrequencyResponse points;
    std::FILE* f = std::tmpfile();
    if (f == nullptr) return points;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    EXPECT_TRUE(ReadFrequencyResponse(f, separator, points));
    std::fclose(f);
    return points;
}

TEST(MeasurementPoints, ByteOrderMarkHidesTheHeader) {
    const FrequencyResponse plain = PointsOf("frequency,raw\n20,80\n", ',');
    ASSERT_EQ(plain.size(), 1u);
    const FrequencyResponse marked = PointsOf(
        "\xEF\xBB\xBF"
        "frequency,raw\n20,80\n",
        ',');
    ASSERT_EQ(marked.size(), 2u);
    EXPECT_EQ(marked[0].hz, 0.0);
    EXPECT_EQ(marked[0].levelDb, 0.0);
    EXPECT_EQ(marked[1].hz, 20.0);
}

TEST(MeasurementPoints, FileOrderKeptAndLastLineNeedsNoLineFeed) {
    const FrequencyResponse points = PointsOf("30,1\r\n10,2\n\n20,3", ',');
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].hz, 30.0);
    EXPECT_EQ(points[1].hz, 10.0);
    EXPECT_EQ(points[2].levelDb, 3.0);
}

TEST_F(MeasurementReader, ThreeColumnsAndUnitsReadTheFirstTwoNumbers) {
    Load("20,80.5,-12.0\n20000, 85.5 dB SPL\n");
    EXPECT_EQ(At(0), 80.5);
    EXPECT_EQ(At(kGridPoints - 1), 85.5);
}

TEST_F(MeasurementReader, MeanOfIntegerMatchesAtIndex391) {
    ASSERT_NEAR(model_.gridFrequency(391), kGridReference[2][1], 1e-9);
    Load("1000.7,82\n1000.2,80\n");
    EXPECT_EQ(At(391), 81.0);
    Load("1000.2,80\n1000.7,82\n");
    EXPECT_EQ(At(391), 81.0);
}

TEST_F(MeasurementReader, ZeroAboveTheLastPoint) {
    Load("20,80\n10000,71\n");
    for (int i = 0; i < kGridPoints; ++i) {
        const double e = model_.gridFrequency(i);
        if (e >= 10000.5) {
            EXPECT_EQ(At(i), 0.0) << e;
        } else if (e >= 9999.5) {
            EXPECT_EQ(At(i), 71.0) << e;  // matched by the whole-hertz rule
        }
    }
}

TEST_F(MeasurementReader, MissingEmptyAndUnloadedGiveAFlatCurve) {
    Load("20,80\n20000,70\n");
    ASSERT_EQ(At(0), 80.0);
    LoadMeasurement(model_, "/nonexistent/folder/no_file.csv");
    for (int i = 0; i < kGridPoints; ++i) ASSERT_EQ(At(i), 0.0);
    Load("20,80\n20000,70\n");
    LoadMeasurement(model_, "");
    for (int i = 0; i < kGridPoints; ++i) ASSERT_EQ(At(i), 0.0);
    Load("");
    for (int i = 0; i < kGridPoints; ++i) ASSERT_EQ(At(i), 0.0);
    // A folder (or a device) is not read: flat at once instead of a read that never ends.
    Load("20,80\n20000,70\n");
    LoadMeasurement(model_, testing::TestTempFolder().string());
    for (int i = 0; i < kGridPoints; ++i) ASSERT_EQ(At(i), 0.0);
}

TEST_F(MeasurementReader, NumbersUseAPointWhateverTheLocale) {
    const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (german == nullptr) german = std::setlocale(LC_NUMERIC, "German");
    Load("20,80.25\n20000,70.75\n");
    if (german != nullptr) std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(At(0), 80.25);
    EXPECT_EQ(At(kGridPoints - 1), 70.75);
}

TEST_F(MeasurementReader, NonFiniteLevelsNeverReachTheCurve) {
    Load("20,nan\n1000,1e400\n20000,-inf\n");
    for (int i = 0; i < kGridPoints; ++i) ASSERT_TRUE(std::isfinite(At(i)));
}

TEST(MeasurementLine, FieldsFollowTheSeparatorExactly) {
    FrequencyPoint p{};
    std::string line = "frequency";
    EXPECT_FALSE(ParseMeasurementLine(line, ',', p));
    line = "";
    EXPECT_FALSE(ParseMeasurementLine(line, ',', p));
    line = "Frequency,raw";  // only the exact lower-case word is a header
    EXPECT_TRUE(ParseMeasurementLine(line, ',', p));
    EXPECT_EQ(p.hz, 0.0);
    line = "Freq,SPL";  // with the chosen separator any other header is a point at 0 Hz
    EXPECT_TRUE(ParseMeasurementLine(line, ',', p));
    EXPECT_EQ(p.levelDb, 0.0);
    line = "\t85";  // an empty first field reads 0, not the number after the tab
    EXPECT_TRUE(ParseMeasurementLine(line, '\t', p));
    EXPECT_EQ(p.hz, 0.0);
    EXPECT_EQ(p.levelDb, 85.0);
    line = "1e3,-2.5e1\r";  // a stray CR after the number is ignored
    EXPECT_TRUE(ParseMeasurementLine(line, ',', p));
    EXPECT_EQ(p.hz, 1000.0);
    EXPECT_EQ(p.levelDb, -25.0);
}

// Lines without the chosen separator: (line, separator, gives a point, frequency, level).
TEST(MeasurementLine, WithoutTheSeparatorSplitAtTheOtherOrAtBlanks) {
    struct Case {
        const char* line;
        char separator;
        bool point;
        double hz;
        double levelDb;
    };
    const Case cases[] = {
        {"20\t80.5", ',', true, 20.0, 80.5},
        {"20,80.5", '\t', true, 20.0, 80.5},
        {"20,80.5 60", '\t', true, 20.0, 80.5},
        {"20.00 -08.92", ',', true, 20.0, -8.92},
        {"20.00 -08.92", '\t', true, 20.0, -8.92},
        {"  1e3 \t  75 dB  ", ',', true, 1000.0, 75.0},  // blanks and tabs mixed
        {"20Hz 80", ',', true, 20.0,
         80.0},  // text after a number is ignored, as with the separator
        {"\xEF\xBB\xBF"
         "20 80",
         '\t', true, 20.0, 80.0},
        {"1000", ',', false, 0.0, 0.0},  // one number only
        {"1000 ", ',', false, 0.0, 0.0},
        {"   ", ',', false, 0.0, 0.0},
        {"frequency", ',', false, 0.0, 0.0},
        {"frequency\traw", ',', false, 0.0, 0.0},
        {"Freq(Hz) SPL(dB)", '\t', false, 0.0, 0.0},
        {"* Freq(Hz)  SPL(dB)", ',', false, 0.0, 0.0},
        {"# 20 80", ',', false, 0.0, 0.0},
        {"; 20 80", '\t', false, 0.0, 0.0},
        {"Preamp: -6.1 dB", ',', false, 0.0, 0.0},
        {"\t85", ',', false, 0.0, 0.0},  // an empty first field is no number here
        {"20 dB", ',', false, 0.0, 0.0},
        {"20;80", ',', false, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        std::string line = c.line;
        FrequencyPoint p{-1.0, -1.0};
        EXPECT_EQ(ParseMeasurementLine(line, c.separator, p), c.point) << c.line;
        if (c.point) {
            EXPECT_EQ(p.hz, c.hz) << c.line;
            EXPECT_EQ(p.levelDb, c.levelDb) << c.line;
        }
    }
}

// Our example files, one per form people download, each under both separator settings: the
// data rows give exactly the points 20 Hz 80.5 dB, 100 Hz 82.25 dB, 1 kHz 75 dB, 10 kHz 70.5 dB,
// 20 kHz 68 dB, and so the curve those five points give. Title and header lines that hold the
// chosen separator are read as they always were, as points at 0 Hz and 0 dB, which cannot move
// the curve (they change nothing the first data row does not set again).
TEST(MeasurementExamples, EveryFormGivesTheCurveOfItsRows) {
    const char* withRows[] = {"comma_header.csv",  "tab_header.txt",     "blank_separated.txt",
                              "room_export.txt",   "crlf.csv",           "byte_order_mark.csv",
                              "three_columns.csv", "eleven_columns.csv", "analyser_export.csv"};
    const FrequencyPoint rows[] = {
        {20.0, 80.5}, {100.0, 82.25}, {1000.0, 75.0}, {10000.0, 70.5}, {20000.0, 68.0}};
    EngineState state;
    std::string unusedPath;
    ResponseModel model(state, unusedPath);
    std::vector<double> expected(kGridPoints);
    ResampleOntoGrid(rows, 5, model.gridFrequencies(), kGridPoints, expected.data());
    ASSERT_EQ(expected[0], 80.5);
    ASSERT_EQ(expected[391], 75.0);

    const std::string folder = CORVALEN_MEASUREMENT_EXAMPLES;
    for (const char* name : withRows) {
        for (std::uint8_t separator : {std::uint8_t{0}, std::uint8_t{1}}) {
            SCOPED_TRACE(std::string(name) + (separator == 0 ? " comma" : " tab"));
            std::FILE* file = std::fopen((folder + "/" + name).c_str(), "rb");
            ASSERT_NE(file, nullptr);
            FrequencyResponse points;
            EXPECT_TRUE(ReadFrequencyResponse(file, SeparatorCharacter(separator), points));
            std::fclose(file);
            FrequencyResponse data;
            for (const FrequencyPoint& point : points) {
                if (point.hz == 0.0 && point.levelDb == 0.0) continue;
                data.push_back(point);
            }
            ASSERT_EQ(data.size(), 5u);
            for (std::size_t i = 0; i < 5; ++i) {
                EXPECT_EQ(data[i].hz, rows[i].hz);
                EXPECT_EQ(data[i].levelDb, rows[i].levelDb);
            }
            state.separator = separator;
            EXPECT_EQ(LoadMeasurement(model, folder + "/" + name), points.size());
            EXPECT_EQ(std::memcmp(model.frCurve(), expected.data(), sizeof(double) * kGridPoints),
                      0);
        }
    }
    for (const char* name : {"parametric_eq.txt", "empty.csv"}) {
        for (std::uint8_t separator : {std::uint8_t{0}, std::uint8_t{1}}) {
            state.separator = separator;
            model.frCurve()[5] = 3.0;
            EXPECT_EQ(LoadMeasurement(model, folder + "/" + name), 0u) << name;
            for (int i = 0; i < kGridPoints; ++i) ASSERT_EQ(model.frCurve()[i], 0.0) << name;
        }
    }
}

TEST(Resampling, BelowTheFirstPointAndBeyondInt32) {
    double grid[3] = {10.0, 19.0, 40.0};
    double curve[3];
    // Below the lowest point lower stays 0: the point's level from half its frequency up.
    const FrequencyPoint points[] = {{30.0, 5.0}, {1e12, 9.0}};
    ResampleOntoGrid(points, 1, grid, 3, curve);
    EXPECT_EQ(curve[0], 0.0);                     // 10 - 0 < 30 - 10
    EXPECT_EQ(curve[1], 5.0);                     // 19 - 0 >= 30 - 19
    EXPECT_EQ(curve[2], 0.0);                     // above the last point
    ResampleOntoGrid(points, 2, grid, 3, curve);  // a frequency beyond 32 bits is just far away
    EXPECT_EQ(curve[2], 5.0);
}

}  // namespace
}  // namespace corvalen
