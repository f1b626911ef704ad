#include "paper_painter.h"

#include <algorithm>
#include <memory>
#include <variant>
#include <vector>

namespace {

int capOf(LineEnd end) {
    switch (end) {
    case LineEnd::Square:
        return PSTYLE_CAP_SQUARE;
    case LineEnd::Round:
        return PSTYLE_CAP_ROUND;
    default:
        return PSTYLE_CAP_BUTT;
    }
}

int joinOf(LineJoin join) {
    switch (join) {
    case LineJoin::Bevel:
        return PSTYLE_JOIN_BEVEL;
    case LineJoin::Round:
        return PSTYLE_JOIN_ROUND;
    default:
        return PSTYLE_JOIN_MITER;
    }
}

// Draws a page's items on a canvas, which keeps the first failure. The path buffers are kept
// from one item to the next: a drawing has a hundred thousand of them.
class PagePainter {
public:
    PagePainter(const PstyleDrawInterface& draw, PstyleCanvas* canvas, double thinnest)
        : draw_(draw), canvas_(canvas), thinnest_(thinnest) {}

    void paint(const PaperPage& page) {
        draw_.beginPage(canvas_, page.width, page.height);
        for (const PaperPlot& plot : page.plots) {
            for (const PaperItem& item : plot.items) {
                if (const auto* path = std::get_if<PaperPath>(&item)) {
                    paintPath(*path);
                } else {
                    paintText(std::get<PaperText>(item));
                }
            }
        }
    }

private:
    void trace(const PaperPath& path) {
        verbs_.clear();
        values_.clear();
        std::size_t nextStart = 0;
        for (std::size_t i = 0; i < path.points.size(); ++i) {
            const bool starts = i == 0 || (nextStart < path.subpathStarts.size() &&
                                           i == path.subpathStarts[nextStart]);
            if (starts && i > 0) {
                ++nextStart;
                if (path.closed) {
                    verbs_.push_back(PSTYLE_PATH_CLOSE);
                }
            }
            verbs_.push_back(starts ? PSTYLE_PATH_MOVE : PSTYLE_PATH_LINE);
            values_.push_back(path.points[i].x);
            values_.push_back(path.points[i].y);
        }
        if (path.closed) {
            verbs_.push_back(PSTYLE_PATH_CLOSE);
        }
    }

    void paintPath(const PaperPath& path) {
        trace(path);
        const PstylePath traced{verbs_.data(), verbs_.size(), values_.data(), values_.size()};
        if (path.filled) {
            draw_.fillWithRule(canvas_, &traced, path.color, PSTYLE_FILL_EVEN_ODD);
            return;
        }
        const double width = drawnWidth(path, thinnest_);
        const PstylePen pen{path.color,         width,           path.dashes.data(),
                            path.dashes.size(), capOf(path.end), joinOf(path.join)};
        draw_.strokeWithOffset(canvas_, &traced, &pen, path.dashOffset);
        for (const PaperPath& end : diamondEnds(path, width)) {
            paintPath(end);
        }
    }

    void paintText(const PaperText& text) {
        static const int baselines[] = {PSTYLE_VALIGN_BASELINE, PSTYLE_VALIGN_BOTTOM,
                                        PSTYLE_VALIGN_MIDDLE, PSTYLE_VALIGN_TOP};
        static const int aligns[] = {PSTYLE_ALIGN_LEFT, PSTYLE_ALIGN_CENTER, PSTYLE_ALIGN_RIGHT};
        const PstyleTextBlock block{text.content.data(),
                                    text.content.size(),
                                    text.position.x,
                                    text.position.y,
                                    text.height,
                                    -text.rotation,
                                    text.widthFactor,
                                    text.mirrored,
                                    aligns[int(text.align)],
                                    baselines[int(text.baseline)],
                                    text.lineSpacing,
                                    text.color,
                                    kPlotFontFamily};
        draw_.textBlock(canvas_, &block);
    }

    const PstyleDrawInterface& draw_;
    PstyleCanvas* canvas_;
    const double thinnest_;
    std::vector<unsigned char> verbs_;
    std::vector<double> values_;
};

} // namespace

DrawnPage drawPaperPage(const PstyleDrawInterface& draw, const PaperPage& page,
                        PstyleDrawFormat format, double pixelsPerMillimetre, int maxPixels) {
    const PstyleCanvasOptions options{format, pixelsPerMillimetre, maxPixels, page.title.c_str()};
    const std::unique_ptr<PstyleCanvas, void (*)(PstyleCanvas*)> canvas(draw.create(&options),
                                                                        draw.destroy);
    if (!canvas) {
        return {PSTYLE_DRAW_BAD_ARGUMENT, std::string(), "the options of the canvas", 0};
    }
    // No line is thinner than a pixel of the image.
    const double thinnest = format == PSTYLE_DRAW_PNG
                                ? std::max(kThinnestLine, 1 / pixelsPerMillimetre)
                                : kThinnestLine;
    // An image shows what a printer inks: every pixel of a line or none.
    draw.smoothLines(canvas.get(), format != PSTYLE_DRAW_PNG);
    PagePainter(draw, canvas.get(), thinnest).paint(page);
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    const int status = draw.finish(canvas.get(), &bytes, &size);
    DrawnPage drawn{status, std::string(), draw.error(canvas.get()),
                    draw.missingGlyphs(canvas.get())};
    if (status == PSTYLE_DRAW_OK) {
        drawn.bytes.assign(reinterpret_cast<const char*>(bytes), size);
    }
    return drawn;
}
