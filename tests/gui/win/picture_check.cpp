#include "picture_check.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "raster/png_decode.h"
#include "tools/host/plugin_library.h"
#include "tools/host/project_state.h"

namespace corvalen::gui {
namespace {

bool ReadPng(const std::string& path, host::Screenshot& shot) {
    std::ifstream file(host::ToWindowsPath(path), std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    std::unique_ptr<raster::RasterBitmap> bitmap =
        raster::decodePngToNew(bytes.data(), bytes.size());
    if (bitmap == nullptr) return false;
    shot.width = bitmap->width();
    shot.height = bitmap->height();
    shot.pixels.clear();
    for (int y = 0; y < shot.height; ++y) {
        const std::uint32_t* row =
            bitmap->bits() + static_cast<std::ptrdiff_t>(y) * bitmap->rowSpan();
        shot.pixels.insert(shot.pixels.end(), row, row + shot.width);
    }
    return true;
}

double Luminance(std::uint32_t pixel) {
    return 0.30 * ((pixel >> 16) & 0xFF) + 0.59 * ((pixel >> 8) & 0xFF) + 0.11 * (pixel & 0xFF);
}

double Smoothed(const host::Screenshot& shot, int x, int y) {
    double sum = 0.0;
    int count = 0;
    for (int v = std::max(0, y - 1); v <= std::min(shot.height - 1, y + 1); ++v) {
        for (int u = std::max(0, x - 1); u <= std::min(shot.width - 1, x + 1); ++u) {
            sum += Luminance(shot.at(u, v));
            ++count;
        }
    }
    return sum / count;
}

}  // namespace

bool NativePictures::Load() {
    std::ifstream states(host::ToWindowsPath(CORVALEN_PICTURE_STATES));
    if (!states) {
        error_ = "cannot read " CORVALEN_PICTURE_STATES;
        return false;
    }
    std::string line;
    while (std::getline(states, line)) {
        const std::size_t bar = line.find('|');
        if (line.empty() || line[0] == '#' || bar == std::string::npos) continue;
        Entry entry;
        std::istringstream name(line.substr(0, bar));
        name >> entry.state.name;
        std::istringstream options(line.substr(bar + 1));
        std::string option, argument;
        while (options >> option) {
            if (option == "--full-size") {
                entry.state.fullSize = true;
            } else if (option == "--fit") {
                entry.state.steps.emplace_back("fit", "");
            } else if (options >> argument) {
                entry.state.steps.emplace_back(option.substr(2), argument);
            }
        }
        const std::string base = std::string(CORVALEN_NATIVE_PICTURES) + "/" + entry.state.name;
        if (!ReadPng(base + ".png", entry.picture) ||
            !ReadPng(base + "-text-free.png", entry.textFree)) {
            error_ = "cannot read the native pictures " + base + "*.png";
            return false;
        }
        entries_.push_back(std::move(entry));
    }
    return !entries_.empty();
}

const NativePictures::Entry* NativePictures::Find(const std::string& name) const {
    for (const Entry& entry : entries_) {
        if (entry.state.name == name) return &entry;
    }
    return nullptr;
}

const PictureState* NativePictures::State(const std::string& name) const {
    const Entry* entry = Find(name);
    return entry != nullptr ? &entry->state : nullptr;
}

const host::Screenshot* NativePictures::Picture(const std::string& name) const {
    const Entry* entry = Find(name);
    return entry != nullptr ? &entry->picture : nullptr;
}

bool NativePictures::Apply(host::VstHost& host, const std::string& name, std::string& error) const {
    const PictureState* state = State(name);
    if (state == nullptr) {
        error = "no state " + name;
        return false;
    }
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    for (const auto& [kind, argument] : state->steps) {
        // The click on FIT is the test's own, in the open window, after everything else.
        if (kind == "fit") continue;
        if (kind == "measurement") {
            const std::string path =
                argument == "SAMPLE" ? host::ToWindowsPath(CORVALEN_SAMPLE_MEASUREMENT) : argument;
            if (!host::RestoreProgramWithMeasurement(host, {}, path, error)) return false;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string parameter = argument.substr(0, equals);
        std::string value = argument.substr(equals + 1);
        // The whole name, as a host shows it in its parameter list (effGetParamName cuts it
        // to seven characters).
        int index = 0;
        for (; index < host.Effect()->numParams; ++index) {
            vst2::VstParameterProperties properties{};
            host.Dispatch(vst2::effGetParameterProperties, index, 0, &properties);
            if (parameter == properties.label) break;
        }
        if (kind != "set" || equals == std::string::npos || index == host.Effect()->numParams ||
            host.Dispatch(vst2::effString2Parameter, index, 0, value.data()) == 0) {
            error = "cannot apply --" + kind + " " + argument;
            return false;
        }
    }
    return true;
}

PictureDifference NativePictures::Compare(const host::Screenshot& shot, const std::string& name,
                                          PixelRect region) const {
    PictureDifference difference;
    const Entry* entry = Find(name);
    if (entry == nullptr || shot.width != entry->picture.width ||
        shot.height != entry->picture.height) {
        difference.awayFromText = -1;
        return difference;
    }
    const host::Screenshot& native = entry->picture;
    const int right = std::min(region.right, shot.width);
    const int bottom = std::min(region.bottom, shot.height);
    auto nearText = [&](int x, int y) {
        for (int v = std::max(0, y - kTextMargin); v <= std::min(shot.height - 1, y + kTextMargin);
             ++v) {
            for (int u = std::max(0, x - kTextMargin);
                 u <= std::min(shot.width - 1, x + kTextMargin); ++u) {
                if (native.at(u, v) != entry->textFree.at(u, v)) return true;
            }
        }
        return false;
    };
    for (int y = std::max(0, region.top); y < bottom; ++y) {
        for (int x = std::max(0, region.left); x < right; ++x) {
            if (!nearText(x, y)) {
                difference.awayFromText +=
                    (shot.at(x, y) & 0xFFFFFF) != (native.at(x, y) & 0xFFFFFF);
                continue;
            }
            ++difference.nearText;
            difference.nearTextDiffering +=
                std::fabs(Smoothed(shot, x, y) - Smoothed(native, x, y)) > kTextLuminanceStep;
        }
    }
    return difference;
}

}  // namespace corvalen::gui
