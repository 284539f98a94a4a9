// The editor's image resources by id. Each image exists twice: the even id at full size
// (scale shift 0) and the next odd id at half size (shift 1).
#pragma once

#include <array>

namespace corvalen::editor {

constexpr int kImageBackground = 100;
constexpr int kImageBandSwitch = 110;
constexpr int kImageLayerSwitch = 120;
constexpr int kImageBandKnob = 130;
constexpr int kImageBand1Type = 140;
constexpr int kImageFileButton = 150;
constexpr int kImageSeparatorSwitch = 160;
constexpr int kImageOffsetPlate = 180;
constexpr int kImageUnloadButton = 190;
constexpr int kImageOutputHandle = 200;
constexpr int kImageBand12Type = 210;
constexpr int kImageBypassSwitch = 220;
constexpr int kImageSplash = 230;

// The images applying a scale preloads, each list closed by a 0 entry.
constexpr std::array<int, 14> kFullSizeImages = {100, 110, 120, 130, 140, 150, 160,
                                                 180, 190, 200, 210, 220, 230, 0};
constexpr std::array<int, 14> kHalfSizeImages = {101, 111, 121, 131, 141, 151, 161,
                                                 181, 191, 201, 211, 221, 231, 0};

}  // namespace corvalen::editor
