#include "psl_legend_draw.h"

#include <iterator>
#include <memory>

namespace {

// Draws a sheet's parts on a canvas; the canvas keeps the first failure.
class SheetPainter {
public:
    SheetPainter(const PstyleDrawInterface& draw, PstyleCanvas* canvas)
        : draw_(draw), canvas_(canvas) {}

    void paint(const LegendSheet& sheet) {
        draw_.beginPage(canvas_, sheet.width, sheet.height);
        for (const SheetGroup& group : sheet.groups) {
            for (const SheetBox& box : group.boxes) {
                paintBox(box);
            }
            for (const SheetLine& line : group.lines) {
                paintLine(line);
            }
            for (const SheetText& text : group.texts) {
                paintText(text);
            }
        }
    }

private:
    void paintBox(const SheetBox& box) {
        const unsigned char verbs[] = {PSTYLE_PATH_MOVE, PSTYLE_PATH_LINE, PSTYLE_PATH_LINE,
                                       PSTYLE_PATH_LINE, PSTYLE_PATH_CLOSE};
        const double right = box.x + box.width;
        const double bottom = box.y + box.height;
        const double values[] = {box.x, box.y, right, box.y, right, bottom, box.x, bottom};
        const PstylePath path{verbs, std::size(verbs), values, std::size(values)};
        if (!box.hollow) {
            draw_.fill(canvas_, &path, box.fill);
        }
        if (box.framed) {
            const PstylePen pen{kSheetFrameColor, kSheetFrameWidth, nullptr, 0,
                                PSTYLE_CAP_BUTT,  PSTYLE_JOIN_MITER};
            draw_.stroke(canvas_, &path, &pen);
        }
    }

    void paintLine(const SheetLine& line) {
        std::vector<unsigned char> verbs;
        std::vector<double> values;
        for (const auto& [from, to] : line.dashes) {
            verbs.insert(verbs.end(), {PSTYLE_PATH_MOVE, PSTYLE_PATH_LINE});
            values.insert(values.end(), {from, line.y, to, line.y});
        }
        const PstylePath path{verbs.data(), verbs.size(), values.data(), values.size()};
        const PstylePen pen{line.color, line.width, nullptr, 0, PSTYLE_CAP_BUTT, PSTYLE_JOIN_MITER};
        draw_.stroke(canvas_, &path, &pen);
    }

    void paintText(const SheetText& text) {
        const wxScopedCharBuffer utf8 = text.text.utf8_str();
        const PstyleText drawn{utf8.data(),
                               utf8.length(),
                               text.x,
                               text.baseline,
                               text.size,
                               0,
                               text.endsAtX ? PSTYLE_ALIGN_RIGHT : PSTYLE_ALIGN_LEFT,
                               PSTYLE_VALIGN_BASELINE,
                               text.bold,
                               text.color,
                               nullptr};
        draw_.text(canvas_, &drawn);
    }

    const PstyleDrawInterface& draw_;
    PstyleCanvas* canvas_;
};

} // namespace

DrawnSheet drawLegendSheet(const PstyleDrawInterface& draw, const std::vector<LegendSheet>& pages,
                           PstyleDrawFormat format) {
    const std::string title =
        pages.empty() ? std::string() : std::string(pages.front().title.utf8_str());
    const PstyleCanvasOptions options{format, kSheetPixelsPerMillimetre, kSheetMaxPixels,
                                      title.c_str()};
    const std::unique_ptr<PstyleCanvas, void (*)(PstyleCanvas*)> canvas(draw.create(&options),
                                                                        draw.destroy);
    if (!canvas) {
        return {PSTYLE_DRAW_BAD_ARGUMENT, std::string(), "no canvas for these options", 0};
    }
    SheetPainter painter(draw, canvas.get());
    for (const LegendSheet& page : pages) {
        painter.paint(page);
    }
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    const int status = draw.finish(canvas.get(), &bytes, &size);
    return {status,
            status == PSTYLE_DRAW_OK ? std::string(reinterpret_cast<const char*>(bytes), size)
                                     : std::string(),
            draw.error(canvas.get()), draw.missingGlyphs(canvas.get())};
}
