// The canvas behind the drawing module's functions: a document of pages in millimetres drawn
// with cairo, its texts laid out by Pango.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include <cairo.h>
#include <pango/pango.h>

#include "psl_draw_glyphs.h"
#include "pstyle_draw.h"

struct PstyleCanvas {
public:
    explicit PstyleCanvas(const PstyleCanvasOptions& options);
    ~PstyleCanvas();
    PstyleCanvas(const PstyleCanvas&) = delete;
    PstyleCanvas& operator=(const PstyleCanvas&) = delete;

    // Whether the options describe a canvas that can be drawn.
    static bool validOptions(const PstyleCanvasOptions& options);

    int beginPage(double width, double height);
    int stroke(const PstylePath& path, const PstylePen& pen, double dashOffset = 0);
    int fill(const PstylePath& path, std::uint32_t color, int rule = PSTYLE_FILL_NONZERO);
    int text(const PstyleText& text);
    int textBlock(const PstyleTextBlock& block);
    void setSmoothLines(bool smooth) { smoothLines_ = smooth; }
    int finish(const unsigned char** bytes, std::size_t* size);
    // Fails the canvas when memory ran out in one of the calls above.
    int outOfMemory();

    const std::string& error() const { return error_; }
    std::size_t missingGlyphs() const { return missingGlyphs_; }

private:
    int startDocument(double width, double height);
    int startImage(double width, double height);
    // The status of the canvas, after taking cairo's; drawing needs a page.
    int drawingStatus();
    int fail(int status, const std::string& why);
    bool tracePath(const PstylePath& path);
    void setColor(std::uint32_t rgb);
    // Antialiasing and curve tolerance for lines, areas and texts as smoothLines_ asks.
    void applySmoothing();
    void prepareText();
    // Puts the text in the layout in the font of that family, weight and em size; counts the
    // characters that no font has.
    void layOut(const char* utf8, std::size_t length, const char* family, bool bold, double size);
    // Shows the layout with its anchor at (0, 0), aligned along its line as align says and
    // with the point belowTop below its top there; or adds its outlines to the path.
    void showLayout(int align, double belowTop, bool outlines);

    // A font's capital letters and descenders, in ems.
    struct FontHeights {
        double capital;
        double descent;
    };
    FontHeights fontHeights(const char* family);

    static cairo_status_t append(void* canvas, const unsigned char* data, unsigned int length);

    PstyleCanvasOptions options_;
    std::string title_;
    int status_ = PSTYLE_DRAW_OK;
    std::string error_;
    cairo_surface_t* surface_ = nullptr;
    // The pixels of an image drawn directly, which the surface does not own.
    unsigned char* image_ = nullptr;
    std::size_t imageBytes_ = 0;
    cairo_t* cairo_ = nullptr;
    PangoContext* pango_ = nullptr;
    PangoLayout* layout_ = nullptr;
    int pages_ = 0;
    int pixelWidth_ = 0;
    int pixelHeight_ = 0;
    bool finished_ = false;
    std::string bytes_;
    std::size_t missingGlyphs_ = 0;
    std::map<std::string, FontHeights> fontHeights_;
    GlyphOutlines glyphs_;
    bool smoothLines_ = true;
};
