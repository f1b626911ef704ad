#include "plot_engine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include <wx/intl.h>

#include <kesutils/plot_style_table.h>

#include "plot_geometry.h"
#include "psl_style_values.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Curves stay within this many millimetres of the true curve on paper.
constexpr double kTolerance = 0.02;
// Deeper nesting than this is taken for a damaged drawing.
constexpr int kMaxInsertDepth = 32;
// Points, and the dots of a drawing's linetypes, are at least this long on paper.
constexpr double kShortestDot = 0.1;
// A linetype whose pattern is shorter than this on paper is drawn solid.
constexpr double kShortestPattern = 0.1;
// An estimate of a character's width in text heights, for the drawing's extents.
constexpr double kCharacterWidth = 0.6;

struct PageMillimetres {
    double width;
    double height;
};

PageMillimetres portraitSize(PageSize page) {
    switch (page) {
    case PageSize::A4:
        return {210, 297};
    case PageSize::A3:
        return {297, 420};
    case PageSize::A2:
        return {420, 594};
    case PageSize::A1:
        return {594, 841};
    case PageSize::A0:
        return {841, 1189};
    case PageSize::Letter:
        return {215.9, 279.4};
    }
    return {210, 297};
}

// Counter-clockwise from start to end, more than nothing and at most a full turn.
double sweepOf(double start, double end) {
    double sweep = std::fmod(end - start, 2 * kPi);
    if (sweep <= 1e-12) {
        sweep += 2 * kPi;
    }
    return sweep;
}

struct Bounds {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();

    void add(const PaperPoint& p) {
        if (isFinitePoint(p.x, p.y)) {
            minX = std::min(minX, p.x);
            minY = std::min(minY, p.y);
            maxX = std::max(maxX, p.x);
            maxY = std::max(maxY, p.y);
        }
    }
    bool empty() const { return minX > maxX; }
};

// The drawing's dash pattern (dashes positive, gaps negative, dots 0) as paper dashes that
// start with a dash: runs of one kind merged, a pattern that starts with a gap or ends with
// the dash it starts with turned round, and the offset that keeps its start where it was.
void paperDashes(const std::vector<double>& pattern, double scale, double dot, PaperPath& path) {
    std::vector<std::pair<bool, double>> runs;
    for (const double length : pattern) {
        const bool dash = length >= 0;
        const double onPaper = length == 0 ? dot : std::abs(length) * scale;
        if (!runs.empty() && runs.back().first == dash) {
            runs.back().second += onPaper;
        } else {
            runs.emplace_back(dash, onPaper);
        }
    }
    double offset = 0;
    if (runs.size() >= 2 && runs.front().first == runs.back().first) {
        offset = runs.back().second;
        runs.front().second += runs.back().second;
        runs.pop_back();
    }
    double total = 0;
    for (const auto& run : runs) {
        total += run.second;
    }
    if (runs.size() < 2 || !(total >= kShortestPattern) || !std::isfinite(total)) {
        return;
    }
    if (!runs.front().first) {
        offset = std::fmod(offset + total - runs.front().second, total);
        std::rotate(runs.begin(), runs.begin() + 1, runs.end());
    }
    for (const auto& run : runs) {
        path.dashes.push_back(run.second);
    }
    path.dashOffset = offset;
}

struct Context {
    Affine2 map;
    int layer; // what layer 0 stands for inside a block; -1 outside blocks
    ObjectLook byBlock;
    int depth;
};

class Plotter {
public:
    enum class Pass { Extents, Paper };

    Plotter(const DxfDrawing& drawing, const PlotStyles& styles, Pass pass, long entityLimit)
        : drawing_(drawing), styles_(styles), pass_(pass), entityLimit_(entityLimit),
          layerZero_(std::max(0, drawing.findLayer("0"))) {}

    void plotModelSpace(const Affine2& map, PaperPlot& plot) {
        plot_ = &plot;
        walk(drawing_.modelSpace, Context{map, -1,
                                          ObjectLook{7, kNoTrueColor, kDefaultLineWeight, -1,
                                                     drawing_.lineTypeScale, -1},
                                          0});
    }

    const Bounds& bounds() const { return bounds_; }

private:
    // What the entity's BYLAYER and BYBLOCK stand for here; -1 in layer when it does not plot.
    ObjectLook resolve(const EntityLook& look, const Context& context, int& layer) const {
        const int effective =
            look.layer == layerZero_ && context.layer >= 0 ? context.layer : look.layer;
        const Layer& own = drawing_.layers[effective];
        layer = own.plotted ? effective : -1;
        ObjectLook object;
        if (look.trueColor != kNoTrueColor) {
            object.trueColor = look.trueColor;
        } else if (look.color == kColorByLayer) {
            object.color = own.color;
            object.trueColor = own.trueColor;
        } else if (look.color == kColorByBlock) {
            object.color = context.byBlock.color;
            object.trueColor = context.byBlock.trueColor;
        } else {
            object.color = look.color;
        }

        const int lineWeight =
            look.lineWeight == kLineWeightByLayer ? own.lineWeight : look.lineWeight;
        if (lineWeight == kLineWeightByBlock) {
            object.lineWeight = context.byBlock.lineWeight;
        } else {
            object.lineWeight = lineWeight >= 0 ? lineWeight / 100.0 : kDefaultLineWeight;
        }

        object.lineType = look.lineType == kLineTypeByLayer   ? own.lineType
                          : look.lineType == kLineTypeByBlock ? context.byBlock.lineType
                                                              : look.lineType;
        object.lineTypeScale = drawing_.lineTypeScale * look.lineTypeScale;

        if (look.plotStyle == kPlotStyleByLayer) {
            object.plotStyle = styles_.layerPlotStyle(effective);
        } else if (look.plotStyle == kPlotStyleByBlock) {
            object.plotStyle = context.byBlock.plotStyle;
        } else {
            object.plotStyle = look.plotStyle;
        }
        return object;
    }

    void walk(const Entities& entities, const Context& context) {
        for (const Entity& entity : entities) {
            ++placed_;
            int layer = -1;
            const ObjectLook object = resolve(entity.look, context, layer);
            if (layer < 0) {
                continue;
            }
            const Affine2 map =
                entity.ocs >= 0 ? context.map * drawing_.ocsTransforms[entity.ocs] : context.map;
            if (const auto* insert = std::get_if<InsertShape>(&entity.shape)) {
                plotInsert(*insert, map, Context{map, layer, object, context.depth + 1});
            } else if (const auto* skipped = std::get_if<SkippedShape>(&entity.shape)) {
                if (pass_ == Pass::Paper) {
                    ++plot_->skipped[skipped->kind];
                }
            } else if (const auto* text = std::get_if<TextShape>(&entity.shape)) {
                plotText(*text, object, map);
            } else {
                plotGraphics(entity.shape, object, map);
            }
        }
    }

    void plotInsert(const InsertShape& insert, const Affine2& map, const Context& inner) {
        if (inner.depth > kMaxInsertDepth || placed_ > entityLimit_ ||
            std::find(active_.begin(), active_.end(), insert.block) != active_.end()) {
            if (pass_ == Pass::Paper) {
                ++plot_->skipped["INSERT"];
            }
            return;
        }
        const Block& block = drawing_.blocks[insert.block];
        active_.push_back(insert.block);
        for (int row = 0; row < insert.rows; ++row) {
            for (int column = 0; column < insert.columns; ++column) {
                Context cell = inner;
                cell.map =
                    map * Affine2::translation(insert.position.x, insert.position.y) *
                    Affine2::rotation(insert.rotation) *
                    Affine2::translation(column * insert.columnSpacing, row * insert.rowSpacing) *
                    Affine2::scaling(insert.scaleX, insert.scaleY) *
                    Affine2::translation(-block.basePoint.x, -block.basePoint.y);
                walk(block.entities, cell);
            }
        }
        active_.pop_back();
    }

    // The points of a shape drawn as a line or an area; false for a shape that has none.
    static bool outline(const Shape& shape, const Affine2& map, PaperPath& path) {
        std::vector<PaperPoint>& points = path.points;
        if (const auto* line = std::get_if<LineShape>(&shape)) {
            points.push_back(map.apply(line->from.x, line->from.y));
            points.push_back(map.apply(line->to.x, line->to.y));
        } else if (const auto* polyline = std::get_if<PolylineShape>(&shape)) {
            appendBulgePolyline(map, polyline->points, polyline->closed, kTolerance, points);
            path.closed = polyline->closed;
        } else if (const auto* circle = std::get_if<CircleShape>(&shape)) {
            appendArc(map, circle->center, circle->radius, 0, 2 * kPi, kTolerance, points);
            points.pop_back();
            path.closed = true;
        } else if (const auto* arc = std::get_if<ArcShape>(&shape)) {
            appendArc(map, arc->center, arc->radius, arc->start, sweepOf(arc->start, arc->end),
                      kTolerance, points);
        } else if (const auto* ellipse = std::get_if<EllipseShape>(&shape)) {
            appendEllipse(map, ellipse->center, ellipse->majorAxis, ellipse->ratio, ellipse->start,
                          sweepOf(ellipse->start, ellipse->end), kTolerance, points);
        } else if (const auto* spline = std::get_if<SplineShape>(&shape)) {
            appendSpline(map, spline->degree, spline->knots, spline->controlPoints, spline->weights,
                         spline->fitPoints, spline->closed, kTolerance, points);
            path.closed = spline->closed;
        } else if (const auto* fill = std::get_if<FillShape>(&shape)) {
            for (const std::vector<BulgePoint>& ring : fill->rings) {
                if (ring.size() < 3) {
                    continue;
                }
                if (!points.empty()) {
                    path.subpathStarts.push_back(std::uint32_t(points.size()));
                }
                appendBulgePolyline(map, ring, true, kTolerance, points);
            }
            path.closed = true;
            path.filled = true;
        } else {
            return false;
        }
        return true;
    }

    void plotGraphics(const Shape& shape, const ObjectLook& object, const Affine2& map) {
        if (pass_ == Pass::Extents) {
            PaperPath path;
            if (const auto* point = std::get_if<PointShape>(&shape)) {
                bounds_.add(map.apply(point->at.x, point->at.y));
            } else if (outline(shape, map, path)) {
                std::for_each(path.points.begin(), path.points.end(),
                              [&](const PaperPoint& p) { bounds_.add(p); });
            }
            return;
        }
        const PlotPen pen = styles_.pen(object);
        PaperPath path;
        path.color = pen.color;
        path.width = pen.width;
        path.end = pen.end;
        path.join = pen.join;
        if (const auto* point = std::get_if<PointShape>(&shape)) {
            const PaperPoint at = map.apply(point->at.x, point->at.y);
            const double radius = std::max(pen.width, kShortestDot) / 2;
            appendArc(Affine2::translation(at.x, at.y), {0, 0}, radius, 0, 2 * kPi, kTolerance,
                      path.points);
            path.points.pop_back();
            path.closed = true;
            path.filled = true;
        } else if (!outline(shape, map, path)) {
            return;
        }
        if (path.points.size() < 2 || !allFinite(path.points)) {
            return;
        }
        if (!path.filled && pen.dashes && !pen.dashes->empty()) {
            if (pen.dashesInDrawingUnits) {
                paperDashes(*pen.dashes, pen.dashScale * map.meanScale(),
                            std::max(pen.width, kShortestDot), path);
            } else if (std::accumulate(pen.dashes->begin(), pen.dashes->end(), 0.0) >=
                       kShortestPattern) {
                path.dashes = *pen.dashes;
            }
        }
        plot_->items.emplace_back(std::move(path));
    }

    static bool allFinite(const std::vector<PaperPoint>& points) {
        return std::all_of(points.begin(), points.end(),
                           [](const PaperPoint& p) { return isFinitePoint(p.x, p.y); });
    }

    void plotText(const TextShape& text, const ObjectLook& object, const Affine2& map) {
        if (text.content.empty()) {
            return;
        }
        // The text's own frame: x along the baseline, y up the letters, in text heights.
        const Affine2 frame = map * Affine2::translation(text.position.x, text.position.y) *
                              Affine2::rotation(text.rotation) *
                              Affine2::scaling(text.mirrored ? -1 : 1, 1);
        if (pass_ == Pass::Extents) {
            addTextBox(text, frame);
            return;
        }
        const PaperPoint along = frame.applyLinear(1, 0);
        const PaperPoint up = frame.applyLinear(0, 1);
        const double alongLength = std::hypot(along.x, along.y);
        // Letters stand as high as up reaches across the baseline.
        const double cross = along.x * up.y - along.y * up.x;
        const double heightScale = alongLength > 0 ? std::abs(cross) / alongLength : 0;
        if (!(heightScale > 0) || !std::isfinite(heightScale)) {
            return;
        }
        const PaperPoint at = frame.apply(0, 0);
        const double rotation = std::atan2(-along.y, along.x) * 180 / kPi;
        // On the page y runs down, so upright letters have up turned clockwise from along.
        const bool mirrored = cross > 0;
        const PlotPen pen = styles_.pen(object);
        plot_->items.emplace_back(
            PaperText{at, text.height * heightScale, std::isfinite(rotation) ? rotation : 0,
                      text.widthFactor * alongLength / heightScale, mirrored, text.align,
                      text.baseline, text.lineSpacing * heightScale, pen.color, text.content});
    }

    void addTextBox(const TextShape& text, const Affine2& frame) {
        std::size_t lines = 1, longest = 0, length = 0;
        for (const char c : text.content) {
            if (c == '\n') {
                ++lines;
                length = 0;
            } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                longest = std::max(longest, ++length);
            }
        }
        const double width = text.height * text.widthFactor * kCharacterWidth * double(longest);
        const double blockHeight = text.height + double(lines - 1) * text.lineSpacing;
        const double left = text.align == TextAlign::Left     ? 0
                            : text.align == TextAlign::Center ? -width / 2
                                                              : -width;
        const double top = text.baseline == TextBaseline::Baseline ? text.height
                           : text.baseline == TextBaseline::Top    ? 0
                           : text.baseline == TextBaseline::Middle ? blockHeight / 2
                                                                   : blockHeight;
        for (const double x : {left, left + width}) {
            for (const double y : {top, top - blockHeight}) {
                bounds_.add(frame.apply(x, y));
            }
        }
    }

    const DxfDrawing& drawing_;
    const PlotStyles& styles_;
    const Pass pass_;
    const long entityLimit_;
    const int layerZero_;
    PaperPlot* plot_ = nullptr;
    Bounds bounds_;
    std::vector<int> active_;
    long placed_ = 0;
};

} // namespace

bool pageSizeFromName(const std::string& name, PageSize& page) {
    static const std::pair<const char*, PageSize> names[] = {
        {"a4", PageSize::A4}, {"a3", PageSize::A3}, {"a2", PageSize::A2},
        {"a1", PageSize::A1}, {"a0", PageSize::A0}, {"letter", PageSize::Letter},
    };
    for (const auto& [known, size] : names) {
        if (name == known) {
            page = size;
            return true;
        }
    }
    return false;
}

PaperArea pageArea(PageSize page, bool portrait) {
    const PageMillimetres upright = portraitSize(page);
    return portrait ? PaperArea{0, 0, upright.width, upright.height}
                    : PaperArea{0, 0, upright.height, upright.width};
}

PaperPlot plotDrawing(const DxfDrawing& drawing, const CPlotStyleTable& table,
                      const PlotOptions& options) {
    const PlotStyles styles(table, drawing, options.layerStyles);
    const PaperArea page = pageArea(options.page, options.portrait);
    PaperPlot plot{page.width, page.height, 1, {}, {}};
    // At least one item for each entity of model space.
    plot.items.reserve(drawing.modelSpace.size());

    Plotter extents(drawing, styles, Plotter::Pass::Extents, options.entityLimit);
    PaperPlot unused{};
    extents.plotModelSpace(Affine2(), unused);
    const Bounds& bounds = extents.bounds();
    if (bounds.empty()) {
        return plot;
    }

    const PaperArea area = options.area.value_or(PaperArea{0, 0, plot.width, plot.height});
    const double margin = std::clamp(options.margin, 0.0, std::min(area.width, area.height) / 4);
    const double printableWidth = area.width - 2 * margin;
    const double printableHeight = area.height - 2 * margin;
    const double extentWidth = bounds.maxX - bounds.minX;
    const double extentHeight = bounds.maxY - bounds.minY;
    double scale = std::numeric_limits<double>::infinity();
    if (extentWidth > 0) {
        scale = printableWidth / extentWidth;
    }
    if (extentHeight > 0) {
        scale = std::min(scale, printableHeight / extentHeight);
    }
    if (!std::isfinite(scale) || !(scale > 0)) {
        scale = 1;
    }
    plot.scale = scale;
    // Centred on the page, y turned to run down.
    const Affine2 toPaper{
        scale,
        0,
        0,
        -scale,
        area.left + margin + (printableWidth - extentWidth * scale) / 2 - bounds.minX * scale,
        area.top + margin + (printableHeight - extentHeight * scale) / 2 + bounds.maxY * scale};
    Plotter paper(drawing, styles, Plotter::Pass::Paper, options.entityLimit);
    paper.plotModelSpace(toPaper, plot);
    return plot;
}

wxString skippedSummary(const PaperPlot& plot) {
    if (plot.skipped.empty()) {
        return wxString();
    }
    wxString kinds;
    for (const auto& [kind, count] : plot.skipped) {
        kinds += kinds.empty() ? "" : ", ";
        kinds += wxString::Format("%d %s", count, wxString::FromUTF8(kind));
    }
    return wxString::Format(_("Not drawn: %s"), kinds);
}
