// The editor's images as the layout lists them (full-size id, width, height, frames); the
// next odd id holds the same picture at half width and half height. Written from the
// layout's table, not from resources/image_table.txt, so the two are checked against each
// other.
#pragma once

namespace corvalen::testing {

struct ListedImage {
    int id;
    int width;
    int height;
    int frames;
};

constexpr ListedImage kListedImages[] = {
    {100, 1600, 1054, 1}, {110, 88, 72, 2},   {120, 24, 48, 2},   {130, 72, 4320, 60},
    {140, 88, 80, 2},     {150, 114, 80, 2},  {160, 154, 64, 2},  {180, 154, 32, 1},
    {190, 40, 80, 2},     {200, 40, 36, 1},   {210, 88, 80, 2},   {220, 42, 72, 2},
    {230, 920, 650, 1},
};

}  // namespace corvalen::testing
