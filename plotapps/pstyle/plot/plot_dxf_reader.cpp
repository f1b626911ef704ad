#include "plot_dxf_reader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <unordered_map>

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>
#include <wx/intl.h>

#include "plot_dxf_records.h"
#include "plot_text.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadiansPerDegree = kPi / 180;
// A damaged array insert could ask for billions of copies.
constexpr int kMaxArrayCount = 1000;
// Height of a line of text and the gap to the next, in text heights.
constexpr double kLineSpacing = 5.0 / 3.0;

class DrawingBuilder : public DL_CreationAdapter {
public:
    explicit DrawingBuilder(DxfDrawing& drawing) : drawing_(drawing) { layerIndex("0"); }

    bool sawSection() const { return sawSection_; }

    void finish() {
        finishRecord();
        finishOpen();
        resolvePlotStyleNames();
    }

    void processCodeValuePair(unsigned int code, const std::string& value) override {
        if (code == 0) {
            finishRecord();
            pending_ = std::move(current_);
            current_ = RawGroups();
            current_.kind = value;
            if (value == "SECTION") {
                sawSection_ = true;
                expectSectionName_ = true;
            } else if (value == "ENDSEC" || value == "EOF") {
                section_.clear();
            }
            return;
        }
        if (code == 2 && expectSectionName_) {
            section_ = value;
            expectSectionName_ = false;
            finishOpen();
            container_ = section_ == "ENTITIES" ? &drawing_.modelSpace : nullptr;
        }
        readRawGroup(current_, code, value);
    }

    void setVariableDouble(const std::string& key, double value, int) override {
        if (key == "$LTSCALE" && std::isfinite(value) && value > 0) {
            drawing_.lineTypeScale = value;
        }
    }
    void setVariableInt(const std::string& key, int value, int) override {
        if (key == "$ENDCAPS") {
            drawing_.endCaps = value;
        } else if (key == "$JOINSTYLE") {
            drawing_.joinStyle = value;
        }
    }

    void addLayer(const DL_LayerData& data) override {
        Layer& layer = drawing_.layers[layerIndex(data.name)];
        const int color = attributes.getColor();
        layer.color = std::abs(color) >= 1 && std::abs(color) <= 255 ? std::abs(color) : 7;
        layer.trueColor =
            attributes.getColor24() >= 0 ? attributes.getColor24() & 0xFFFFFF : kNoTrueColor;
        layer.lineWeight = attributes.getWidth() >= 0 ? attributes.getWidth() : kLineWeightDefault;
        const std::string lineType = upperCase(attributes.getLinetype());
        layer.lineType =
            lineType == "BYLAYER" || lineType == "BYBLOCK" ? -1 : lineTypeIndex(lineType);
        layer.plotStyle = pending_.plotStyleHandle ? plotStyleIndex(pending_.plotStyleHandle) : -1;
        // Defpoints holds the points of dimensions and never plots.
        layer.plotted = color >= 0 && !(data.flags & 1) && pending_.plotted &&
                        upperCase(data.name) != "DEFPOINTS";
    }

    void addLinetype(const DL_LinetypeData& data) override {
        drawing_.lineTypes[lineTypeIndex(upperCase(data.name))].pattern = pending_.dashes;
    }

    void addBlock(const DL_BlockData& data) override {
        finishOpen();
        const std::string name = upperCase(data.name);
        if (name == "*MODEL_SPACE") {
            container_ = &drawing_.modelSpace;
        } else if (name.rfind("*PAPER_SPACE", 0) == 0) {
            container_ = nullptr;
        } else {
            Block& block = drawing_.blocks[blockIndex(data.name)];
            block.basePoint = {data.bpx, data.bpy};
            container_ = &block.entities;
        }
    }
    void endBlock() override {
        finishOpen();
        container_ = nullptr;
    }
    void endEntity() override { finishOpen(); }
    void endSequence() override { finishOpen(); }

    void addPoint(const DL_PointData& data) override {
        if (checked({data.x, data.y})) {
            add(PointShape{{data.x, data.y}}, false);
        }
    }
    void addLine(const DL_LineData& data) override {
        if (checked({data.x1, data.y1, data.x2, data.y2})) {
            add(LineShape{{data.x1, data.y1}, {data.x2, data.y2}}, false);
        }
    }
    void addArc(const DL_ArcData& data) override {
        if (checked({data.cx, data.cy, data.radius, data.angle1, data.angle2})) {
            add(ArcShape{{data.cx, data.cy},
                         data.radius,
                         data.angle1 * kRadiansPerDegree,
                         data.angle2 * kRadiansPerDegree},
                true);
        }
    }
    void addCircle(const DL_CircleData& data) override {
        if (checked({data.cx, data.cy, data.radius})) {
            add(CircleShape{{data.cx, data.cy}, data.radius}, true);
        }
    }
    void addEllipse(const DL_EllipseData& data) override {
        if (checked({data.cx, data.cy, data.mx, data.my, data.ratio, data.angle1, data.angle2})) {
            // Seen from above, an ellipse whose extrusion points down turns the other way.
            const double ratio = pending_.extrusion[2] < 0 ? -data.ratio : data.ratio;
            add(
                EllipseShape{
                    {data.cx, data.cy}, {data.mx, data.my}, ratio, data.angle1, data.angle2},
                false);
        }
    }

    void addPolyline(const DL_PolylineData& data) override {
        finishOpen();
        const bool lightweight = pending_.kind == "LWPOLYLINE";
        if (!lightweight && (data.flags & (16 | 64))) {
            add(SkippedShape{"POLYLINE"}, false);
            return;
        }
        // A 3D polyline is drawn as seen from above, in the drawing's own coordinates.
        open(PolylineShape{{}, (data.flags & 1) != 0}, lightweight || !(data.flags & 8));
    }
    void addVertex(const DL_VertexData& data) override {
        auto* polyline = open_ ? std::get_if<PolylineShape>(&open_->shape) : nullptr;
        if (!polyline) {
            return;
        }
        // The frame of a spline-fit polyline's control points is not drawn.
        if (pending_.kind == "VERTEX" && (pending_.flags & 16)) {
            return;
        }
        if (allFinite({data.x, data.y, data.bulge})) {
            polyline->points.push_back({data.x, data.y, data.bulge});
        } else {
            openDamaged_ = true;
        }
    }

    void addSpline(const DL_SplineData& data) override {
        finishOpen();
        open(SplineShape{int(data.degree), {}, {}, {}, {}, (data.flags & 1) != 0}, false);
    }
    void addControlPoint(const DL_ControlPointData& data) override {
        if (auto* spline = openSpline()) {
            spline->controlPoints.push_back({data.x, data.y});
            spline->weights.push_back(data.w);
            openDamaged_ = openDamaged_ || !allFinite({data.x, data.y, data.w});
        }
    }
    void addFitPoint(const DL_FitPointData& data) override {
        if (auto* spline = openSpline()) {
            spline->fitPoints.push_back({data.x, data.y});
            openDamaged_ = openDamaged_ || !allFinite({data.x, data.y});
        }
    }
    void addKnot(const DL_KnotData& data) override {
        if (auto* spline = openSpline()) {
            spline->knots.push_back(data.k);
            openDamaged_ = openDamaged_ || !allFinite({data.k});
        }
    }

    void addSolid(const DL_SolidData& data) override { addQuad(data); }
    void addTrace(const DL_TraceData& data) override { addQuad(data); }

    void addHatch(const DL_HatchData& data) override {
        finishOpen();
        if (!data.solid) {
            add(SkippedShape{"HATCH"}, false);
            return;
        }
        open(FillShape{}, true);
    }
    void addHatchLoop(const DL_HatchLoopData&) override {
        if (auto* fill = openFill()) {
            fill->rings.emplace_back();
        }
    }
    void addHatchEdge(const DL_HatchEdgeData& edge) override {
        auto* fill = openFill();
        if (!fill || fill->rings.empty()) {
            return;
        }
        std::vector<BulgePoint>& ring = fill->rings.back();
        switch (edge.type) {
        case 0:
            for (const std::vector<double>& vertex : edge.vertices) {
                if (vertex.size() >= 2) {
                    ring.push_back({vertex[0], vertex[1], vertex.size() >= 3 ? vertex[2] : 0});
                }
            }
            break;
        case 1:
            startEdge(ring, edge.x1, edge.y1);
            ring.push_back({edge.x2, edge.y2, 0});
            break;
        case 2:
            addArcEdge(ring, edge);
            break;
        case 3:
        case 4:
            addCurveEdge(ring, edge);
            break;
        default:
            break;
        }
    }

    void addText(const DL_TextData& data) override { addTextEntity(data); }
    void addAttribute(const DL_AttributeData& data) override {
        if (!(pending_.flags & 1)) {
            addTextEntity(data);
        }
    }

    void addMText(const DL_MTextData& data) override {
        if (!checked({data.ipx, data.ipy, data.height})) {
            return;
        }
        const double angle = pending_.hasDirection
                                 ? std::atan2(pending_.direction[1], pending_.direction[0])
                                 : pending_.angle * kRadiansPerDegree;
        const int attachment = std::clamp(data.attachmentPoint, 1, 9) - 1;
        static const TextAlign columns[] = {TextAlign::Left, TextAlign::Center, TextAlign::Right};
        static const TextBaseline rows[] = {TextBaseline::Top, TextBaseline::Middle,
                                            TextBaseline::Bottom};
        const double spacing = data.lineSpacingFactor > 0 && std::isfinite(data.lineSpacingFactor)
                                   ? data.lineSpacingFactor
                                   : 1.0;
        add(TextShape{{data.ipx, data.ipy},
                      data.height,
                      std::isfinite(angle) ? angle : 0,
                      1,
                      false,
                      columns[attachment % 3],
                      rows[attachment / 3],
                      data.height * kLineSpacing * spacing,
                      plainMultilineText(pending_.text)},
            false);
    }

    void addInsert(const DL_InsertData& data) override {
        if (!checked({data.ipx, data.ipy, data.sx, data.sy, data.angle, data.colSp, data.rowSp})) {
            return;
        }
        add(InsertShape{blockIndex(data.name),
                        {data.ipx, data.ipy},
                        data.sx,
                        data.sy,
                        data.angle * kRadiansPerDegree,
                        std::clamp(data.cols, 1, kMaxArrayCount),
                        std::clamp(data.rows, 1, kMaxArrayCount),
                        data.colSp,
                        data.rowSp},
            true);
    }

    // A dimension is drawn from the block that holds its lines, arrows and text.
    void addDimension() {
        if (pending_.name.empty()) {
            add(SkippedShape{"DIMENSION"}, false);
            return;
        }
        add(InsertShape{blockIndex(pending_.name), {0, 0}, 1, 1, 0, 1, 1, 0, 0}, false);
    }
    void addDimAlign(const DL_DimensionData&, const DL_DimAlignedData&) override { addDimension(); }
    void addDimLinear(const DL_DimensionData&, const DL_DimLinearData&) override { addDimension(); }
    void addDimRadial(const DL_DimensionData&, const DL_DimRadialData&) override { addDimension(); }
    void addDimDiametric(const DL_DimensionData&, const DL_DimDiametricData&) override {
        addDimension();
    }
    void addDimAngular(const DL_DimensionData&, const DL_DimAngular2LData&) override {
        addDimension();
    }
    void addDimAngular3P(const DL_DimensionData&, const DL_DimAngular3PData&) override {
        addDimension();
    }
    void addDimOrdinate(const DL_DimensionData&, const DL_DimOrdinateData&) override {
        addDimension();
    }

private:
    // Called when the next record starts: what the library does not report itself.
    void finishRecord() {
        RawGroups& record = current_;
        if (section_ == "OBJECTS" &&
            (record.kind == "DICTIONARY" || record.kind == "ACDBDICTIONARYWDFLT")) {
            for (const auto& [name, handle] : record.entries) {
                if (name == "ACAD_PLOTSTYLENAME") {
                    plotStyleDictionary_ = handle;
                }
            }
            dictionaries_[record.handle] = {std::move(record.entries), record.defaultEntry};
            return;
        }
        const bool inEntities = section_ == "ENTITIES" || section_ == "BLOCKS";
        if (inEntities && !record.kind.empty() && !isHandledKind(record.kind) &&
            record.kind != "BLOCK" && record.kind != "ENDBLK" && record.kind != "SECTION" &&
            !record.invisible && !record.paperSpace && container_) {
            finishOpen();
            Entity entity;
            entity.look.layer = layerIndex(record.layer.empty() ? "0" : record.layer);
            entity.shape = SkippedShape{record.kind};
            container_->push_back(std::move(entity));
        }
    }

    Entities* target() {
        if (!container_ || pending_.invisible || attributes.isInPaperSpace()) {
            return nullptr;
        }
        return container_;
    }

    EntityLook look() {
        EntityLook look;
        look.layer = layerIndex(attributes.getLayer().empty() ? "0" : attributes.getLayer());
        const int color = attributes.getColor();
        look.color = color >= 0 && color <= 256 ? color : kColorByLayer;
        look.trueColor =
            attributes.getColor24() >= 0 ? attributes.getColor24() & 0xFFFFFF : kNoTrueColor;
        const int width = attributes.getWidth();
        look.lineWeight = width >= -3 && width <= 211 ? width : kLineWeightByLayer;
        const std::string lineType = upperCase(attributes.getLinetype());
        look.lineType = lineType == "BYLAYER"   ? kLineTypeByLayer
                        : lineType == "BYBLOCK" ? kLineTypeByBlock
                                                : lineTypeIndex(lineType);
        const double scale = attributes.getLinetypeScale();
        look.lineTypeScale = std::isfinite(scale) && scale > 0 ? scale : 1;
        if (pending_.plotStyleType == 1) {
            look.plotStyle = kPlotStyleByBlock;
        } else if (pending_.plotStyleHandle) {
            look.plotStyle = plotStyleIndex(pending_.plotStyleHandle);
        } else if (pending_.plotStyleType == 2) {
            look.plotStyle = plotStyleIndex(kDictionaryDefault);
        }
        return look;
    }

    // The map from the entity's coordinate system to the drawing's, seen from above.
    int ocs() {
        const double* n = pending_.extrusion;
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (!(length > 0) || !std::isfinite(length) || (n[0] == 0 && n[1] == 0 && n[2] > 0)) {
            return -1;
        }
        const double nx = n[0] / length, ny = n[1] / length, nz = n[2] / length;
        double ax, ay, az;
        if (std::abs(nx) < 1.0 / 64 && std::abs(ny) < 1.0 / 64) {
            ax = nz, ay = 0, az = -nx;
        } else {
            ax = -ny, ay = nx, az = 0;
        }
        const double axLength = std::sqrt(ax * ax + ay * ay + az * az);
        ax /= axLength, ay /= axLength, az /= axLength;
        const Affine2 map{ax, ay, ny * az - nz * ay, nz * ax - nx * az, 0, 0};
        for (std::size_t i = 0; i < drawing_.ocsTransforms.size(); ++i) {
            const Affine2& known = drawing_.ocsTransforms[i];
            if (known.a == map.a && known.b == map.b && known.c == map.c && known.d == map.d) {
                return int(i);
            }
        }
        drawing_.ocsTransforms.push_back(map);
        return int(drawing_.ocsTransforms.size() - 1);
    }

    // False, and the entity counted as not drawn, when a number it needs is not one.
    bool checked(std::initializer_list<double> values) {
        if (allFinite(values)) {
            return true;
        }
        add(SkippedShape{pending_.kind}, false);
        return false;
    }

    void add(Shape shape, bool inOcs) {
        finishOpen();
        if (Entities* entities = target()) {
            entities->push_back(Entity{look(), inOcs ? ocs() : -1, std::move(shape)});
        }
    }

    void open(Shape shape, bool inOcs) {
        if (target()) {
            open_ = Entity{look(), inOcs ? ocs() : -1, std::move(shape)};
            openTarget_ = target();
            openKind_ = pending_.kind;
            openDamaged_ = false;
        }
    }

    void finishOpen() {
        if (open_ && openTarget_) {
            if (openDamaged_) {
                open_->shape = SkippedShape{openKind_};
            }
            openTarget_->push_back(std::move(*open_));
        }
        open_.reset();
        openTarget_ = nullptr;
    }

    SplineShape* openSpline() { return open_ ? std::get_if<SplineShape>(&open_->shape) : nullptr; }
    FillShape* openFill() { return open_ ? std::get_if<FillShape>(&open_->shape) : nullptr; }

    void addQuad(const DL_TraceData& data) {
        if (!checked({data.x[0], data.y[0], data.x[1], data.y[1], data.x[2], data.y[2], data.x[3],
                      data.y[3]})) {
            return;
        }
        // The corners come in the order first, second, fourth, third.
        std::vector<BulgePoint> ring{{data.x[0], data.y[0], 0},
                                     {data.x[1], data.y[1], 0},
                                     {data.x[3], data.y[3], 0},
                                     {data.x[2], data.y[2], 0}};
        if (data.x[3] == data.x[2] && data.y[3] == data.y[2]) {
            ring.pop_back();
        }
        add(FillShape{{std::move(ring)}}, true);
    }

    static void startEdge(std::vector<BulgePoint>& ring, double x, double y) {
        if (ring.empty() || std::hypot(ring.back().x - x, ring.back().y - y) > 1e-9) {
            ring.push_back({x, y, 0});
        }
    }

    void addArcEdge(std::vector<BulgePoint>& ring, const DL_HatchEdgeData& edge) {
        // A clockwise edge keeps its angles as seen from below.
        const double start = edge.ccw ? edge.angle1 : -edge.angle1;
        const double end = edge.ccw ? edge.angle2 : -edge.angle2;
        double sweep = edge.ccw ? end - start : start - end;
        sweep = std::fmod(sweep, 2 * kPi);
        if (sweep <= 0) {
            sweep += 2 * kPi;
        }
        if (!edge.ccw) {
            sweep = -sweep;
        }
        if (!allFinite({edge.cx, edge.cy, edge.radius, start, sweep})) {
            openDamaged_ = true;
            return;
        }
        // Arcs of a full turn are split, since one bulge spans less than a turn.
        const int parts = std::abs(sweep) > kPi ? 2 : 1;
        for (int part = 0; part < parts; ++part) {
            const double from = start + sweep * part / parts;
            const double to = start + sweep * (part + 1) / parts;
            startEdge(ring, edge.cx + edge.radius * std::cos(from),
                      edge.cy + edge.radius * std::sin(from));
            ring.back().bulge = std::tan((to - from) / 4);
            ring.push_back(
                {edge.cx + edge.radius * std::cos(to), edge.cy + edge.radius * std::sin(to), 0});
        }
    }

    void addCurveEdge(std::vector<BulgePoint>& ring, const DL_HatchEdgeData& edge) {
        std::vector<PaperPoint> points;
        // The edge's own size sets the tolerance: fills are placed before the page is known.
        if (edge.type == 3) {
            const double size = std::hypot(edge.mx, edge.my);
            double sweep = edge.angle2 - edge.angle1;
            if (sweep <= 0) {
                sweep += 2 * kPi;
            }
            appendEllipse(Affine2(), {edge.cx, edge.cy}, {edge.mx, edge.my}, edge.ratio,
                          edge.ccw ? edge.angle1 : -edge.angle1, edge.ccw ? sweep : -sweep,
                          size * 1e-3, points);
        } else {
            std::vector<Point2> control, fit;
            for (const std::vector<double>& p : edge.controlPoints) {
                if (p.size() >= 2) {
                    control.push_back({p[0], p[1]});
                }
            }
            for (const std::vector<double>& p : edge.fitPoints) {
                if (p.size() >= 2) {
                    fit.push_back({p[0], p[1]});
                }
            }
            appendSpline(Affine2(), int(edge.degree), edge.knots, control, edge.weights, fit, false,
                         1e-3, points);
        }
        for (const PaperPoint& p : points) {
            if (!isFinitePoint(p.x, p.y)) {
                openDamaged_ = true;
                return;
            }
            startEdge(ring, p.x, p.y);
        }
    }

    void addTextEntity(const DL_TextData& data) {
        if (!checked({data.ipx, data.ipy, data.height, data.angle})) {
            return;
        }
        TextShape text{{data.ipx, data.ipy},
                       data.height,
                       data.angle,
                       data.xScaleFactor > 0 && std::isfinite(data.xScaleFactor) ? data.xScaleFactor
                                                                                 : 1.0,
                       (data.textGenerationFlags & 2) != 0,
                       TextAlign::Left,
                       TextBaseline::Baseline,
                       data.height * kLineSpacing,
                       plainText(data.text)};
        if (data.textGenerationFlags & 4) {
            // Upside down is mirrored along the baseline: turned half round and mirrored.
            text.rotation += kPi;
            text.mirrored = !text.mirrored;
        }
        // Without an alignment point a text is placed at its insertion point.
        const bool aligned = allFinite({data.apx, data.apy});
        const int horizontal = aligned ? data.hJustification : 0;
        const int vertical = aligned ? data.vJustification : 0;
        if (horizontal == 3 || horizontal == 5) {
            // Aligned and fitted texts run from the first point towards the second.
            text.rotation = std::atan2(data.apy - data.ipy, data.apx - data.ipx);
        } else if (horizontal != 0 || vertical != 0) {
            text.position = {data.apx, data.apy};
            text.align = horizontal == 1 || horizontal == 4 ? TextAlign::Center
                         : horizontal == 2                  ? TextAlign::Right
                                                            : TextAlign::Left;
            text.baseline = horizontal == 4 ? TextBaseline::Middle
                            : vertical == 1 ? TextBaseline::Bottom
                            : vertical == 2 ? TextBaseline::Middle
                            : vertical == 3 ? TextBaseline::Top
                                            : TextBaseline::Baseline;
        }
        add(std::move(text), true);
    }

    int layerIndex(const std::string& name) {
        const std::string key = upperCase(name);
        const auto [found, added] = layers_.try_emplace(key, int(drawing_.layers.size()));
        if (added) {
            drawing_.layers.push_back(Layer{name});
        }
        return found->second;
    }

    int lineTypeIndex(const std::string& key) {
        const auto [found, added] = lineTypes_.try_emplace(key, int(drawing_.lineTypes.size()));
        if (added) {
            drawing_.lineTypes.push_back(LineType{key, {}});
        }
        return found->second;
    }

    int blockIndex(const std::string& name) {
        const auto [found, added] =
            blocks_.try_emplace(upperCase(name), int(drawing_.blocks.size()));
        if (added) {
            drawing_.blocks.push_back(Block{name, {0, 0}, {}});
        }
        return found->second;
    }

    int plotStyleIndex(std::uint64_t handle) {
        const auto [found, added] = plotStyles_.try_emplace(handle, int(plotStyleHandles_.size()));
        if (added) {
            plotStyleHandles_.push_back(handle);
        }
        return found->second;
    }

    void resolvePlotStyleNames() {
        std::unordered_map<std::uint64_t, std::string> names;
        std::uint64_t defaultHandle = 0;
        const auto dictionary = dictionaries_.find(plotStyleDictionary_);
        if (dictionary != dictionaries_.end()) {
            for (const auto& [name, handle] : dictionary->second.entries) {
                names.emplace(handle, name);
            }
            defaultHandle = dictionary->second.defaultEntry;
        }
        for (const std::uint64_t handle : plotStyleHandles_) {
            const auto name = names.find(handle == kDictionaryDefault ? defaultHandle : handle);
            drawing_.plotStyleNames.push_back(name == names.end() ? std::string() : name->second);
        }
    }

    struct Dictionary {
        std::vector<std::pair<std::string, std::uint64_t>> entries;
        std::uint64_t defaultEntry;
    };
    // Stands for the plot style name dictionary's default entry.
    static constexpr std::uint64_t kDictionaryDefault = ~std::uint64_t(0);

    DxfDrawing& drawing_;
    RawGroups current_;
    RawGroups pending_;
    bool sawSection_ = false;
    bool expectSectionName_ = false;
    std::string section_;
    Entities* container_ = nullptr;
    std::optional<Entity> open_;
    Entities* openTarget_ = nullptr;
    bool openDamaged_ = false;
    std::string openKind_;
    std::unordered_map<std::string, int> layers_;
    std::unordered_map<std::string, int> lineTypes_;
    std::unordered_map<std::string, int> blocks_;
    std::unordered_map<std::uint64_t, int> plotStyles_;
    std::vector<std::uint64_t> plotStyleHandles_;
    std::unordered_map<std::uint64_t, Dictionary> dictionaries_;
    std::uint64_t plotStyleDictionary_ = 0;
};

} // namespace

int DxfDrawing::findLayer(const std::string& name) const {
    const std::string key = upperCase(name);
    for (std::size_t i = 0; i < layers.size(); ++i) {
        if (upperCase(layers[i].name) == key) {
            return int(i);
        }
    }
    return -1;
}

std::unique_ptr<DxfDrawing> readDxfDrawing(const std::string& path, wxString& error) {
    auto drawing = std::make_unique<DxfDrawing>();
    DrawingBuilder builder(*drawing);
    DL_Dxf dxf;
    errno = 0;
    if (!dxf.in(path, &builder)) {
        error = errno ? wxString(std::strerror(errno)) : _("the file cannot be read");
        return nullptr;
    }
    builder.finish();
    if (!builder.sawSection()) {
        error = _("not an ASCII DXF drawing");
        return nullptr;
    }
    return drawing;
}
