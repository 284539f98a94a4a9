// fit: a measurement file to a program file whose bands the automatic fit chose, with the
// correction printed as parametric text and the error before and after.
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "engine/fit/correction_fit.h"
#include "engine/parameter_table.h"
#include "shell/preset.h"
#include "shell/state_chunk.h"
#include "tools/preset/band_layout.h"
#include "tools/preset/commands.h"
#include "tools/preset/measurement_curve.h"
#include "tools/preset/number_text.h"
#include "tools/preset/parametric_writer.h"
#include "tools/preset/preset_tool.h"
#include "tools/preset/program_output.h"
#include "tools/preset/tool_files.h"

namespace corvalen::preset {

namespace {

FilterShape ShapeOf(BandType type) {
    switch (type) {
        case kLowShelf: return FilterShape::LowShelf;
        case kHighShelf: return FilterShape::HighShelf;
        default: return FilterShape::Peak;
    }
}

// The path the program names: absolute, so the DAW finds the file whatever its own folder.
std::string MeasurementPathFor(const std::string& path) {
    std::error_code failed;
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::u8path(path), failed);
    if (failed) return path;
    const std::string text = absolute.lexically_normal().u8string();
    return text;
}

std::string Decibels(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f dB", decimals, value);
    return text;
}

std::string ErrorText(const FitError& error) {
    return Decibels(error.rmsDb, 2) + " RMS (largest " + Decibels(error.maxDb, 2) + ")";
}

bool ReadCurve(const std::string& path, GridCurve& curve, std::FILE* errors) {
    std::string error;
    if (ReadGridCurve(path, curve, error)) return true;
    ReportError(errors, path + ": " + error + "; nothing written");
    return false;
}

}  // namespace

int RunFit(const FitCommandRequest& request, std::FILE* out, std::FILE* errors) {
    if (!HasExtension(request.output, ".fxp")) {
        ReportError(errors, "the output file must end in .fxp: a fit makes one program");
        return kBadUsage;
    }
    const std::string measurementPath = MeasurementPathFor(request.measurement);
    if (measurementPath.size() > static_cast<std::size_t>(kMaxCustomDataLength)) {
        ReportError(errors, "the measurement path is longer than the " +
                                std::to_string(kMaxCustomDataLength) + " bytes a preset holds");
        return kFailed;
    }
    GridCurve measured;
    if (!ReadCurve(request.measurement, measured, errors)) return kFailed;
    std::array<double, kGridPoints> curve = measured.levelDb;
    if (request.target) {
        GridCurve target;
        if (!ReadCurve(*request.target, target, errors)) return kFailed;
        for (std::size_t i = 0; i < curve.size(); ++i) curve[i] -= target.levelDb[i];
    }

    FitRequest fit;
    fit.measuredDb = curve.data();
    fit.gridHz = measured.hz.data();
    fit.points = kGridPoints;
    fit.sampleRate = request.sampleRate;
    fit.referenceDb = request.referenceDb
                          ? *request.referenceDb
                          : AlignedReferenceLevel(curve.data(), measured.hz.data(), kGridPoints);
    const FitResult result = FitCorrection(fit);

    NamedProgram named;
    named.name =
        FittedName(request.name.value_or(FileStem(request.measurement)), kProgramNameBytes, errors);
    PresetProgram& program = named.program;
    for (std::size_t k = 0; k < program.bands.size(); ++k) {
        const FittedBand& band = result.bands[k];
        program.bands[k] = {band.on, ShapeOf(band.type), band.frequencyHz, band.gainDb, band.q};
    }
    program.outputDb = result.outputDb;
    program.referenceLevelDb = fit.referenceDb;
    program.measurementPath = measurementPath;

    PresetInstance maker;
    if (!maker.IsOpen()) {
        ReportError(errors, "the plug-in could not be created");
        return kFailed;
    }
    if (!WritePrograms({named}, false, request.output, maker, errors)) return kFailed;

    const std::string fitted = request.target
                                   ? request.measurement + " minus the target " + *request.target
                                   : request.measurement;
    const std::vector<std::string> comments = {
        "Corvalen program \"" + named.name + "\" written to " + request.output,
        "fitted to " + fitted + ", reference " + ShortestDecimal(fit.referenceDb) + " dB, " +
            ShortestDecimal(fit.sampleRate) + " Hz",
        "measurement: " + measurementPath,
        "error over " + ShortestDecimal(kFitErrorLowHz) + " Hz to " +
            ShortestDecimal(kFitErrorHighHz) + " Hz: before " + ErrorText(result.before) +
            ", after " + ErrorText(result.after),
    };
    std::fputs(WriteParametricText(DescribeProgram(program), comments).c_str(), out);
    return kSucceeded;
}

}  // namespace corvalen::preset
