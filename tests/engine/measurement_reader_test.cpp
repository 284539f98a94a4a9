// Measurement files as users produce them: headers, both separators, CR LF, byte-order marks,
// extra columns, duplicate frequencies, files that stop early, and files that are not there.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

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
    file_ = testing::TestTempFolder() /
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
  // Points (0, 0), (20, 20), (20000, 20000): the header became a point at 0 Hz.
  EXPECT_EQ(At(0), 20.0);
  EXPECT_EQ(At(kGridPoints - 1), 20000.0);
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
  const FrequencyResponse marked = PointsOf("\xEF\xBB\xBF" "frequency,raw\n20,80\n", ',');
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
  line = "   ";  // blanks make a data line
  EXPECT_TRUE(ParseMeasurementLine(line, ',', p));
  EXPECT_EQ(p.hz, 0.0);
  EXPECT_EQ(p.levelDb, 0.0);
  line = "1000";  // no separator: both fields are the whole line
  EXPECT_TRUE(ParseMeasurementLine(line, ',', p));
  EXPECT_EQ(p.hz, 1000.0);
  EXPECT_EQ(p.levelDb, 1000.0);
  line = "\t85";  // an empty first field reads 0, not the number after the tab
  EXPECT_TRUE(ParseMeasurementLine(line, '\t', p));
  EXPECT_EQ(p.hz, 0.0);
  EXPECT_EQ(p.levelDb, 85.0);
  line = "1e3,-2.5e1\r";  // a stray CR after the number is ignored
  EXPECT_TRUE(ParseMeasurementLine(line, ',', p));
  EXPECT_EQ(p.hz, 1000.0);
  EXPECT_EQ(p.levelDb, -25.0);
}

TEST(Resampling, BelowTheFirstPointAndBeyondInt32) {
  double grid[3] = {10.0, 19.0, 40.0};
  double curve[3];
  // Below the lowest point lower stays 0: the point's level from half its frequency up.
  const FrequencyPoint points[] = {{30.0, 5.0}, {1e12, 9.0}};
  ResampleOntoGrid(points, 1, grid, 3, curve);
  EXPECT_EQ(curve[0], 0.0);  // 10 - 0 < 30 - 10
  EXPECT_EQ(curve[1], 5.0);  // 19 - 0 >= 30 - 19
  EXPECT_EQ(curve[2], 0.0);  // above the last point
  ResampleOntoGrid(points, 2, grid, 3, curve);  // a frequency beyond 32 bits is just far away
  EXPECT_EQ(curve[2], 5.0);
}

}  // namespace
}  // namespace corvalen
