// The drawing module through its C interface, loaded as the program loads it: what lands in a
// PNG where lines, arcs, fills and texts were drawn, the sizes of PDF pages, and the values it
// refuses.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <wx/image.h>
#include <wx/mstream.h>

#include "pstyle_draw.h"

namespace {

const PstyleDrawInterface& drawing() {
    static const PstyleDrawInterface* const draw = [] {
        void* module = dlopen(PSTYLE_DRAW_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        auto* entry =
            module ? reinterpret_cast<PstyleDrawEntry*>(dlsym(module, PSTYLE_DRAW_ENTRY)) : nullptr;
        return entry ? entry(PSTYLE_DRAW_VERSION) : nullptr;
    }();
    EXPECT_TRUE(draw) << dlerror();
    return *draw;
}

using Canvas = std::unique_ptr<PstyleCanvas, void (*)(PstyleCanvas*)>;

Canvas canvas(PstyleDrawFormat format) {
    const PstyleCanvasOptions options{format, 10, 1000, "Test"};
    return Canvas(drawing().create(&options), drawing().destroy);
}

std::string finished(PstyleCanvas* canvas) {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    EXPECT_EQ(drawing().finish(canvas, &bytes, &size), PSTYLE_DRAW_OK) << drawing().error(canvas);
    return std::string(reinterpret_cast<const char*>(bytes), size);
}

int stroke(PstyleCanvas* canvas, const std::vector<unsigned char>& verbs,
           const std::vector<double>& values, PstylePen pen) {
    const PstylePath path{verbs.data(), verbs.size(), values.data(), values.size()};
    return drawing().stroke(canvas, &path, &pen);
}

int text(PstyleCanvas* canvas, const char* utf8, double x, double y, double angle, int align) {
    const PstyleText text{utf8,  std::strlen(utf8),      x, y,        4,      angle,
                          align, PSTYLE_VALIGN_BASELINE, 0, 0x000000, nullptr};
    return drawing().text(canvas, &text);
}

// Whether anything dark is drawn in the rectangle, millimetres on an image at 10 pixels to the
// millimetre; without right and bottom, at the point.
bool inked(const wxImage& image, double left, double top, double right = 0, double bottom = 0) {
    for (int y = int(top * 10); y <= int(std::max(top, bottom) * 10); ++y) {
        for (int x = int(left * 10); x <= int(std::max(left, right) * 10); ++x) {
            if (image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) < 300) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

// Caps, arcs, fills and turned text; and what a plot asks of version 2: a dash pattern that
// starts part way in, an area with a hole, lines that ink whole pixels, and a block of two lines
// of text placed by its capitals.
TEST(DrawModule, PngShowsWhatEachCallDrew) {
    const Canvas png = canvas(PSTYLE_DRAW_PNG);
    ASSERT_TRUE(png);
    ASSERT_EQ(drawing().beginPage(png.get(), 60, 70), PSTYLE_DRAW_OK);
    ASSERT_EQ(drawing().smoothLines(png.get(), 0), PSTYLE_DRAW_OK);
    const PstylePen round{0x000000, 4, nullptr, 0, PSTYLE_CAP_ROUND, PSTYLE_JOIN_ROUND};
    const PstylePen butt{0x000000, 4, nullptr, 0, PSTYLE_CAP_BUTT, PSTYLE_JOIN_MITER};
    const PstylePen thin{0x000000, 1, nullptr, 0, PSTYLE_CAP_BUTT, PSTYLE_JOIN_MITER};
    const std::vector<unsigned char> line = {PSTYLE_PATH_MOVE, PSTYLE_PATH_LINE};
    EXPECT_EQ(stroke(png.get(), line, {5, 10, 15, 10}, round), 0);
    EXPECT_EQ(stroke(png.get(), line, {5, 17, 15, 17}, butt), 0);
    // Half a circle, growing angles: from the right through the bottom to the left.
    EXPECT_EQ(
        stroke(png.get(), {PSTYLE_PATH_MOVE, PSTYLE_PATH_ARC}, {48, 25, 40, 25, 8, 0, 180}, thin),
        0);
    const unsigned char triangle[] = {PSTYLE_PATH_MOVE, PSTYLE_PATH_LINE, PSTYLE_PATH_LINE};
    const double points[] = {5, 38, 15, 38, 10, 28};
    const PstylePath filled{triangle, 3, points, 6};
    EXPECT_EQ(drawing().fill(png.get(), &filled, 0x000000), 0);
    // Right-aligned at x 30; turned a quarter, running down from y 22.
    EXPECT_EQ(text(png.get(), "Right", 30, 8, 0, PSTYLE_ALIGN_RIGHT), 0);
    EXPECT_EQ(text(png.get(), "Down", 30, 22, 90, PSTYLE_ALIGN_LEFT), 0);

    const double dashes[] = {4, 2};
    const PstylePen dashed{0x000000, 1, dashes, 2, PSTYLE_CAP_BUTT, PSTYLE_JOIN_MITER};
    const std::vector<double> along = {5, 3, 55, 3};
    const PstylePath dashLine{line.data(), 2, along.data(), 4};
    // 3 mm into the pattern: the first dash ends at 6, the next runs from 8 to 12.
    EXPECT_EQ(drawing().strokeWithOffset(png.get(), &dashLine, &dashed, 3), PSTYLE_DRAW_OK);
    const unsigned char rings[] = {
        PSTYLE_PATH_MOVE, PSTYLE_PATH_LINE, PSTYLE_PATH_LINE, PSTYLE_PATH_LINE, PSTYLE_PATH_CLOSE,
        PSTYLE_PATH_MOVE, PSTYLE_PATH_LINE, PSTYLE_PATH_LINE, PSTYLE_PATH_LINE, PSTYLE_PATH_CLOSE};
    // Edges halfway across pixels, which smoothing would blend.
    const double corners[] = {5.05,  40, 25.05, 40, 25.05, 60, 5.05,  60,
                              10.05, 45, 20.05, 45, 20.05, 55, 10.05, 55};
    const PstylePath framed{rings, std::size(rings), corners, std::size(corners)};
    EXPECT_EQ(drawing().fillWithRule(png.get(), &framed, 0x204080, PSTYLE_FILL_EVEN_ODD),
              PSTYLE_DRAW_OK);
    // Top left at (35, 10): capitals 4 mm high, lines 6 mm apart.
    const char* lines = "HH\nHH";
    const PstyleTextBlock block{
        lines, std::strlen(lines), 35,     10, 4, 0, 1, 0, PSTYLE_ALIGN_LEFT, PSTYLE_VALIGN_TOP,
        6,     0x000000,           nullptr};
    EXPECT_EQ(drawing().textBlock(png.get(), &block), PSTYLE_DRAW_OK);

    const std::string bytes = finished(png.get());
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxPNGHandler handler;
    wxImage image;
    ASSERT_TRUE(handler.LoadFile(&image, in, false));
    EXPECT_EQ(image.GetWidth(), 600);
    EXPECT_EQ(image.GetHeight(), 700);
    // A round cap reaches past the end by half the width, a butt cap not at all.
    EXPECT_TRUE(inked(image, 16, 10));
    EXPECT_FALSE(inked(image, 16, 17));
    EXPECT_TRUE(inked(image, 40, 33));
    EXPECT_FALSE(inked(image, 45.7, 19.3)) << "the arc's upper half";
    EXPECT_TRUE(inked(image, 10, 35));
    EXPECT_TRUE(inked(image, 18, 5, 30, 8));
    EXPECT_FALSE(inked(image, 30.2, 4, 36, 9));
    // The turned text's letters stand to the right of its line, below the anchor.
    EXPECT_TRUE(inked(image, 30, 23, 34, 32));
    EXPECT_FALSE(inked(image, 26, 23, 29.8, 32));
    EXPECT_TRUE(inked(image, 5.5, 3));
    EXPECT_FALSE(inked(image, 7, 3));
    EXPECT_TRUE(inked(image, 10, 3));
    EXPECT_TRUE(inked(image, 7, 50));
    EXPECT_FALSE(inked(image, 15, 50));
    // The area's edge pixels are its colour or white, nothing between.
    for (int x = 45; x < 260; ++x) {
        const int blue = image.GetBlue(x, 500);
        EXPECT_TRUE(blue == 0x80 || blue == 255) << x;
    }
    // Capitals from 10 to 14 and from 16 to 20, nothing above, between or below.
    EXPECT_TRUE(inked(image, 35, 10.3, 40, 13.7));
    EXPECT_TRUE(inked(image, 35, 16.3, 40, 19.7));
    EXPECT_FALSE(inked(image, 35, 5, 45, 9.7));
    EXPECT_FALSE(inked(image, 35, 14.3, 45, 15.7));
    EXPECT_FALSE(inked(image, 35, 20.3, 45, 25));
}

// The sizes of SVG pages in millimetres are the sheet and plot suites'.
TEST(DrawModule, PdfPagesKeepTheirSizes) {
    const Canvas pdf = canvas(PSTYLE_DRAW_PDF);
    ASSERT_EQ(drawing().beginPage(pdf.get(), 297, 210), PSTYLE_DRAW_OK);
    ASSERT_EQ(drawing().beginPage(pdf.get(), 100, 50), PSTYLE_DRAW_OK);
    // Page sizes in points, in page order.
    const std::string document = finished(pdf.get());
    const std::size_t first = document.find("/MediaBox [ 0 0 841.889764 595.275591 ]");
    const std::size_t second = document.find("/MediaBox [ 0 0 283.464567 141.732283 ]");
    EXPECT_LT(first, second);
    EXPECT_NE(second, std::string::npos);
    EXPECT_EQ(document.find("/MediaBox", second + 1), std::string::npos);
}

// A refused call says why and leaves the canvas failed, so that later calls draw nothing.
TEST(DrawModule, RefusesWhatCannotBeDrawn) {
    const std::pair<int (*)(PstyleCanvas*), int> cases[] = {
        {[](PstyleCanvas* c) {
             return stroke(c, {0, 1}, {0, 0, std::nan(""), 1}, {});
         },
         PSTYLE_DRAW_BAD_ARGUMENT},
        {[](PstyleCanvas* c) {
             return stroke(c, {0, 1}, {0, 0, 1}, {});
         },
         PSTYLE_DRAW_BAD_ARGUMENT},
        {[](PstyleCanvas* c) {
             return stroke(c, {0, 1}, {0, 0, 1, 1}, {0, 1, nullptr, 0, 7, 0});
         },
         PSTYLE_DRAW_BAD_ARGUMENT},
        {[](PstyleCanvas* c) { return drawing().beginPage(c, 10, 10); }, PSTYLE_DRAW_NO_PAGE},
    };
    for (const auto& [call, status] : cases) {
        const Canvas png = canvas(PSTYLE_DRAW_PNG);
        ASSERT_EQ(drawing().beginPage(png.get(), 10, 10), PSTYLE_DRAW_OK);
        EXPECT_EQ(call(png.get()), status);
        EXPECT_STRNE(drawing().error(png.get()), "");
        EXPECT_EQ(text(png.get(), "later", 1, 5, 0, PSTYLE_ALIGN_LEFT), status);
    }
    // 101 mm at 10 pixels per millimetre is more than the cap of 1000 pixels.
    const Canvas large = canvas(PSTYLE_DRAW_PNG);
    EXPECT_EQ(drawing().beginPage(large.get(), 101, 10), PSTYLE_DRAW_TOO_LARGE);
    const PstyleCanvasOptions unknownFormat{9, 10, 1000, nullptr};
    EXPECT_EQ(drawing().create(&unknownFormat), nullptr);
}
