// corvalen-snapshot: paints the editor's artwork, text styles and graph helpers into the
// draw bitmap headless and writes it as a PNG (for tests and the README).
//
//     corvalen-snapshot OUT.png [--full-size] [--splash] [--repeat N]
//
// The scene places every image at its place on the layout plane, a text in each of the
// layout's text styles, and a sample curve drawn with the graph's helpers. It is a preview
// of the drawing layer, not the editor itself: the controls' behaviour is not involved.
// With --repeat it also times the image preload and N full repaints.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "editor/editor_graphics.h"
#include "editor/font_faces.h"
#include "editor/image_ids.h"
#include "png_writer.h"

namespace {

using corvalen::editor::BitmapRef;
using corvalen::editor::EditorControl;
using corvalen::editor::EditorGraphics;
using corvalen::editor::LayoutRect;
using corvalen::editor::TextStyle;
namespace ed = corvalen::editor;

// One image frame at a layout position.
class SceneImage : public EditorControl {
public:
    SceneImage(int x, int y, int fullWidth, int fullFrameHeight, int frames, int imageId, int frame)
        : EditorControl(LayoutRect{x, y, x + fullWidth, y + fullFrameHeight}),
          ref_{nullptr, fullWidth, fullFrameHeight, frames, imageId | 1},
          frame_(frame) {}
    void rescale(EditorGraphics& graphics) override { graphics.resolveBitmap(ref_); }
    void paint(EditorGraphics& graphics) override {
        if (ref_.resourceId == (ed::kImageBackground | graphics.effectiveShift())) {
            graphics.drawBackground(ref_);
        } else {
            graphics.drawFrame(ref_, frame_, rect().left, rect().top, 1.0f);
        }
    }

private:
    BitmapRef ref_;
    int frame_;
};

class SceneText : public EditorControl {
public:
    SceneText(const LayoutRect& rect, TextStyle style, std::string text)
        : EditorControl(rect), style_(style), text_(std::move(text)) {}
    void rescale(EditorGraphics&) override { style_.cachedFont = nullptr; }
    void paint(EditorGraphics& graphics) override {
        graphics.drawText(style_, text_.c_str(), rect());
    }

private:
    TextStyle style_;
    std::string text_;
};

// A sample of what the response graph draws: level lines, a target line, a curve, markers.
class SceneGraph : public EditorControl {
public:
    SceneGraph() : EditorControl(LayoutRect{0, 0, 1600, 640}) {}
    void paint(EditorGraphics& graphics) override {
        for (int y : {479, 160, 320}) {
            graphics.thickLine(0xFF000000, 0, y, 1600, y, 0, true, 0.3f);
        }
        for (int x : {80, 208, 364, 596, 782, 970, 1222, 1412}) {
            graphics.thickLine(0xFF000000, x, 0, x, 640, 0, true, 0.3f);
            graphics.fillRectAlpha(0xFF000000, LayoutRect{x, 617, x + 45, 640}, 0.4f);
        }
        graphics.dashedLine(0, 1600, 320);
        int lastX = 0;
        int lastY = curveY(0);
        for (int x = 2; x < 1600; x += 2) {
            const int y = curveY(x);
            graphics.softLine(0xFF704455, lastX, lastY, x, y);
            graphics.softLine(0xFF59958E, lastX, 640 - lastY, x, 640 - y);
            lastX = x;
            lastY = y;
        }
        for (int band = 0; band < 12; ++band) {
            const float x = 60.0f + 130.0f * static_cast<float>(band);
            const float alpha = band % 4 == 3 ? 0.5f : 1.0f;
            graphics.fillDisc(x, 320.0f, 14.0f, 0xFF646464, alpha);
            graphics.fillDisc(x, 320.0f, 12.0f, 0xFF1F1F1F, alpha);
        }
    }

private:
    static int curveY(int x) {
        const double t = x / 1600.0;
        return static_cast<int>(320.0 - 90.0 * std::sin(t * 9.0) * std::exp(-t * 1.5));
    }
};

// The layout's text styles.
TextStyle style(const char* face, int size, std::uint32_t colour, bool bold, std::int8_t align) {
    TextStyle s;
    s.faceName = face;
    s.size = size;
    s.colour = colour;
    s.style = bold ? ed::kTextStyleBold : 0;
    s.alignment = align;
    return s;
}

void buildScene(EditorGraphics& graphics, bool splash) {
    const TextStyle status = style("Arial", 32, 0x69FFFFFF, false, ed::kAlignLeft);
    const TextStyle sampleRate = style("Agency FB", 40, 0x69FFFFFF, true, ed::kAlignRight);
    const TextStyle bandNumber = style("Bahnschrift", 36, 0xB4FFFFFF, true, ed::kAlignCentre);
    const TextStyle readout = style("Agency FB", 36, 0xFFFFFFFF, true, ed::kAlignCentre);
    const TextStyle outputLevel = style("Consolas", 28, 0xFF0A1F05, true, ed::kAlignRight);
    const TextStyle offsetValue = style("Bahnschrift", 34, 0xFFDCDCDC, false, ed::kAlignCentre);

    auto image = [&](int x, int y, int w, int h, int frames, int id, int frame) {
        graphics.attach(std::make_unique<SceneImage>(x, y, w, h, frames, id, frame));
    };
    auto text = [&](LayoutRect rect, const TextStyle& s, std::string content) {
        graphics.attach(std::make_unique<SceneText>(rect, s, std::move(content)));
    };

    image(0, 0, 1600, 1054, 1, ed::kImageBackground, 0);
    image(1428, 916, 114, 40, 2, ed::kImageFileButton, 0);
    image(1542, 916, 40, 40, 2, ed::kImageUnloadButton, 0);
    graphics.attach(std::make_unique<SceneGraph>());
    text({14, 8, 420, 30}, status, "FILE NOT FOUND: C:\\Measurements\\HD600.csv");
    text({1000, 1012, 1276, 1048}, sampleRate, "Fs: 48.0 kHz");
    for (int layer = 0; layer < 4; ++layer) {
        image(1552, 24 + 48 * layer, 24, 24, 2, ed::kImageLayerSwitch, layer == 2 ? 0 : 1);
    }
    const char* frequencies[] = {"20", "60", "150", "400", "1.00 k", "2.00 k",
                                 "3.50 k", "5.00 k", "7.00 k", "10.00 k", "14.00 k", "20.00 k"};
    for (int k = 1; k <= 12; ++k) {
        const int x = 66 + 114 * (k - 1);
        const int frame = (k * 7) % 60;
        image(x - 4, 686, 72, 72, 60, ed::kImageBandKnob, frame);
        image(x - 4, 790, 72, 72, 60, ed::kImageBandKnob, 29);
        image(x - 4, 894, 72, 72, 60, ed::kImageBandKnob, 10 + k);
        image(x - 12, 646, 88, 36, 2, ed::kImageBandSwitch, k % 5 == 4 ? 0 : 1);
        text({x - 12, 646, x + 76, 682}, bandNumber, std::to_string(k));
    }
    image(54, 998, 88, 40, 2, ed::kImageBand1Type, 0);
    image(1308, 998, 88, 40, 2, ed::kImageBand12Type, 0);
    image(1440, 1014, 40, 36, 1, ed::kImageOutputHandle, 0);
    text({1532, 982, 1588, 1008}, outputLevel, "-12.0");  // the longest read-out
    image(0, 646, 42, 36, 2, ed::kImageBypassSwitch, 0);
    for (int k = 1; k <= 12; ++k) {
        const int y = 54 + 114 * (k - 1);
        text({y, 754, y + 88, 786}, readout, frequencies[k - 1]);
        text({y, 858, y + 88, 890}, readout, "0.0 dB");
        text({y, 962, y + 88, 994}, readout, "0.71");
    }
    image(1428, 724, 154, 32, 2, ed::kImageSeparatorSwitch, 0);
    image(1428, 804, 154, 32, 1, ed::kImageOffsetPlate, 0);
    text({1428, 802, 1582, 836}, offsetValue, "75");
    if (splash) image(340, 202, 920, 650, 1, ed::kImageSplash, 0);
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    std::string output;
    bool fullSize = false;
    bool splash = false;
    int repeat = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--full-size") == 0) {
            fullSize = true;
        } else if (std::strcmp(argv[i], "--splash") == 0) {
            splash = true;
        } else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
            repeat = std::atoi(argv[++i]);
        } else if (output.empty() && argv[i][0] != '-') {
            output = argv[i];
        } else {
            output.clear();
            break;
        }
    }
    if (output.empty()) {
        std::fprintf(stderr, "usage: corvalen-snapshot OUT.png [--full-size] [--splash] [--repeat N]\n");
        return 2;
    }

    EditorGraphics graphics;
    graphics.setDefaultShift(1);
    for (const auto& face : ed::kEmbeddedFontFaces) graphics.registerFontResource(face.resourceId);
    buildScene(graphics, splash);
    const auto preloadStart = std::chrono::steady_clock::now();
    graphics.applyScale(fullSize ? 0 : 1);
    const double preload = millisecondsSince(preloadStart);
    for (const auto& control : graphics.controls()) control->rescale(graphics);

    const auto firstStart = std::chrono::steady_clock::now();
    LayoutRect dirty;
    graphics.isDirty(dirty);
    graphics.paint(dirty);
    const double firstPaint = millisecondsSince(firstStart);
    if (repeat > 0) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < repeat; ++i) {
            graphics.paint(LayoutRect{0, 0, EditorGraphics::kLayoutWidth, EditorGraphics::kLayoutHeight});
        }
        std::printf("preload %.2f ms, first paint (fonts and glyphs) %.2f ms, full repaint %.3f ms\n",
                    preload, firstPaint, millisecondsSince(start) / repeat);
    }

    std::string error;
    if (!corvalen::tools::writePng(graphics.drawBitmap(), output, error)) {
        std::fprintf(stderr, "corvalen-snapshot: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %d x %d\n", output.c_str(), graphics.drawBitmap().width(),
                graphics.drawBitmap().height());
    return 0;
}
