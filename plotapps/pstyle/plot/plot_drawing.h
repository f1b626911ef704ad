// A drawing as the plot needs it: its layers, linetypes, plot style names and blocks, and the
// entities of model space with their properties as they are stored, BYLAYER and BYBLOCK still
// unresolved. Coordinates are in drawing units.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "plot_geometry.h"

inline constexpr int kColorByBlock = 0;
inline constexpr int kColorByLayer = 256;
inline constexpr int kLineWeightByLayer = -1;
inline constexpr int kLineWeightByBlock = -2;
inline constexpr int kLineWeightDefault = -3;
inline constexpr int kLineTypeByLayer = -1;
inline constexpr int kLineTypeByBlock = -2;
inline constexpr int kPlotStyleByLayer = -1;
inline constexpr int kPlotStyleByBlock = -2;
inline constexpr std::int32_t kNoTrueColor = -1;

// What an entity says about how it looks.
struct EntityLook {
    int layer = 0;
    int color = kColorByLayer;             // 1 to 255, or BYBLOCK, BYLAYER
    std::int32_t trueColor = kNoTrueColor; // 0xRRGGBB
    int lineWeight = kLineWeightByLayer;   // hundredths of a millimetre, or BYLAYER...
    int lineType = kLineTypeByLayer;       // index into DxfDrawing::lineTypes, or BYLAYER...
    double lineTypeScale = 1;
    int plotStyle = kPlotStyleByLayer; // index into DxfDrawing::plotStyleNames, or BYLAYER...
};

struct Layer {
    std::string name;
    int color = 7;
    std::int32_t trueColor = kNoTrueColor;
    int lineWeight = kLineWeightDefault;
    int lineType = -1;   // index into DxfDrawing::lineTypes; -1 is continuous
    int plotStyle = -1;  // index into DxfDrawing::plotStyleNames; -1 names none
    bool plotted = true; // on, thawed and marked for plotting
};

struct LineType {
    std::string name;
    // Drawing units: dashes positive, gaps negative, dots 0.
    std::vector<double> pattern;
};

struct LineShape {
    Point2 from;
    Point2 to;
};
struct PolylineShape {
    std::vector<BulgePoint> points;
    bool closed;
};
struct CircleShape {
    Point2 center;
    double radius;
};
// Counter-clockwise from start to end, radians.
struct ArcShape {
    Point2 center;
    double radius;
    double start;
    double end;
};
// Parameters in radians; the minor axis is majorAxis turned a quarter counter-clockwise, times
// ratio.
struct EllipseShape {
    Point2 center;
    Point2 majorAxis;
    double ratio;
    double start;
    double end;
};
struct SplineShape {
    int degree;
    std::vector<double> knots;
    std::vector<Point2> controlPoints;
    std::vector<double> weights; // empty, or one for each control point
    std::vector<Point2> fitPoints;
    bool closed;
};
struct PointShape {
    Point2 at;
};
// Areas filled solid: SOLID, TRACE, solid HATCH. Holes by the even-odd rule.
struct FillShape {
    std::vector<std::vector<BulgePoint>> rings;
};

struct TextShape {
    Point2 position;
    double height;
    double rotation; // radians
    double widthFactor;
    bool mirrored;
    TextAlign align;
    TextBaseline baseline;
    double lineSpacing;  // drawing units between baselines
    std::string content; // UTF-8, plain, lines separated by '\n'
};

struct InsertShape {
    int block; // index into DxfDrawing::blocks
    Point2 position;
    double scaleX;
    double scaleY;
    double rotation; // radians
    int columns;
    int rows;
    double columnSpacing;
    double rowSpacing;
};

// An entity the plot does not draw, counted by kind when its layer plots.
struct SkippedShape {
    std::string kind;
};

using Shape =
    std::variant<LineShape, PolylineShape, CircleShape, ArcShape, EllipseShape, SplineShape,
                 PointShape, FillShape, TextShape, InsertShape, SkippedShape>;

struct Entity {
    EntityLook look;
    // From the entity's own coordinate system to the drawing's, for entities whose extrusion
    // is not the drawing's z axis; -1 for none.
    int ocs = -1;
    Shape shape;
};

// A deque: a drawing of a hundred thousand entities grows without moving those already read.
using Entities = std::deque<Entity>;

struct Block {
    std::string name;
    Point2 basePoint;
    Entities entities;
};

struct DxfDrawing {
    std::vector<Layer> layers;
    std::vector<LineType> lineTypes;
    std::vector<std::string> plotStyleNames;
    // A deque, so that a block's entities stay where they are while further blocks are read.
    std::deque<Block> blocks;
    std::vector<Affine2> ocsTransforms;
    Entities modelSpace;
    // $LTSCALE
    double lineTypeScale = 1;
    // $ENDCAPS and $JOINSTYLE: 0 none, 1 round, 2 angle, 3 square (flat)
    int endCaps = 0;
    int joinStyle = 0;

    // Index of the layer of that name, compared without regard to case; -1 when there is none.
    int findLayer(const std::string& name) const;
};
