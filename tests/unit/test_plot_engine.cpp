// The plot engine on drawings that an independent DXF writer made (tests/data/drawings/README.md
// tells what each holds): which style each entity gets and what the style does to it on paper.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include <kesutils/plot_style_table.h>

#include "plot_dxf_reader.h"
#include "plot_engine.h"

namespace {

const std::string kDrawings = PSTYLE_TEST_DATA_DIR "/drawings/";

// Every test drawing has a 200 × 100 frame; on A4 landscape with 10 mm margins it is 277 mm
// wide, and centred in the 190 mm of height.
constexpr double kScale = 277.0 / 200.0;

PaperPoint paper(double x, double y) {
    return {10 + x * kScale, 10 + (190 - 100 * kScale) / 2 + (100 - y) * kScale};
}

bool near(const PaperPoint& a, const PaperPoint& b, double tolerance = 0.01) {
    return std::hypot(a.x - b.x, a.y - b.y) <= tolerance;
}

std::unique_ptr<DxfDrawing> readDrawing(const std::string& name) {
    wxString error;
    auto drawing = readDxfDrawing(kDrawings + name, error);
    EXPECT_TRUE(drawing) << error;
    return drawing;
}

// The path that starts at drawing point (x, y), or null.
const PaperPath* pathFrom(const PaperPlot& plot, double x, double y) {
    for (const PaperItem& item : plot.items) {
        const auto* path = std::get_if<PaperPath>(&item);
        if (path && near(path->points.front(), paper(x, y))) {
            return path;
        }
    }
    return nullptr;
}

const PaperText* textOf(const PaperPlot& plot, const std::string& content) {
    for (const PaperItem& item : plot.items) {
        const auto* text = std::get_if<PaperText>(&item);
        if (text && text->content == content) {
            return text;
        }
    }
    return nullptr;
}

// A colour-dependent table whose styles 1-8 each show one thing a style does.
PlotStyleTablePtr colorTable() {
    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    table->LineWeights[14] = 0.6;
    table->ApplyFactor = true;
    table->ScaleFactor = 2;
    table->style(2)->ColorPolicy = 2; // colour 3: grayscale
    table->style(2)->LineWeight = 15;
    table->style(4)->Screening = 50;        // colour 5
    table->style(1)->updateColor(0x123456); // colour 2: own colour, Dashed
    table->style(1)->LineType = 1;
    table->style(3)->EndStyle = 1; // colour 4: object linetype, square ends, bevel joins
    table->style(3)->JoinStyle = 1;
    table->style(7)->LineType = 17; // colour 8: ISO Dash
    return table;
}

TEST(PlotEngine, FitsTheDrawingToThePageAndCentresIt) {
    const auto drawing = readDrawing("looks.dxf");
    const PlotStyleTablePtr table = colorTable();
    struct Case {
        PageSize page;
        bool portrait;
        double width, height, scale;
    };
    const Case cases[] = {
        {PageSize::A4, false, 297, 210, 277.0 / 200},
        {PageSize::A3, true, 297, 420, 277.0 / 200},
        {PageSize::A3, false, 420, 297, 2.0},
        {PageSize::Letter, true, 215.9, 279.4, 195.9 / 200},
    };
    for (const Case& c : cases) {
        PlotOptions options;
        options.page = c.page;
        options.portrait = c.portrait;
        const PaperPlot plot = plotDrawing(*drawing, *table, options);
        EXPECT_DOUBLE_EQ(plot.width, c.width);
        EXPECT_DOUBLE_EQ(plot.height, c.height);
        EXPECT_NEAR(plot.scale, c.scale, 1e-9);
        // The frame's top left corner.
        const double left = (c.width - 200 * c.scale) / 2;
        const double top = (c.height - 100 * c.scale) / 2;
        bool found = false;
        for (const PaperItem& item : plot.items) {
            const auto* path = std::get_if<PaperPath>(&item);
            found = found || (path && path->closed && path->points.size() == 4 &&
                              near(path->points[3], {left, top}));
        }
        EXPECT_TRUE(found) << c.width << " x " << c.height;
    }
}

TEST(PlotEngine, ColorDependentStylesByColorLayerAndBlock) {
    const auto drawing = readDrawing("looks.dxf");
    const PaperPlot plot = plotDrawing(*drawing, *colorTable(), {});
    struct Case {
        const char* what;
        double x, y;
        std::uint32_t color;
        double width;
    };
    const Case cases[] = {
        {"own colour 1 and lineweight, object colour", 10, 90, 0xFF0000, 0.35},
        {"BYLAYER colour 3, grayscale, the style's lineweight", 10, 85, 0x969696, 0.6},
        {"true colour by its nearest index 5, screened, default lineweight", 10, 80, 0x8888F8,
         0.25},
        {"colour 7 plots black", 10, 75, 0x000000, 0.25},
        {"colour 5 screened 50", 10, 70, 0x8080FF, 0.25},
        {"the style's own colour", 10, 65, 0x123456, 0.25},
        {"BYBLOCK colour and lineweight from the insert", 100, 90, 0x8080FF, 0.7},
        {"layer 0 in a block takes the insert's layer", 100, 85, 0xFF00FF, 0.18},
        {"a block's entity on a layer of its own", 100, 80, 0x969696, 0.6},
        {"BYBLOCK through two inserts", 100, 60, 0x969696, 0.6},
    };
    for (const Case& c : cases) {
        const PaperPath* path = pathFrom(plot, c.x, c.y);
        ASSERT_TRUE(path) << c.what;
        EXPECT_EQ(path->color, c.color) << c.what;
        EXPECT_NEAR(path->width, c.width, 1e-9) << c.what;
        EXPECT_TRUE(near(path->points.back(), paper(c.x + (c.x < 100 ? 50 : 20), c.y))) << c.what;
    }
    for (const double y : {50.0, 45.0, 40.0}) {
        EXPECT_FALSE(pathFrom(plot, 10, y)) << "a line on a hidden layer at " << y;
    }
    EXPECT_FALSE(pathFrom(plot, 150, 90)) << "an insert on a frozen layer";
    EXPECT_EQ(plot.skipped, (std::map<std::string, int>{{"RAY", 1}, {"XLINE", 1}}));
    EXPECT_EQ(skippedSummary(plot), "Not drawn: 1 RAY, 1 XLINE");
}

TEST(PlotEngine, LinetypesEndsAndJoins) {
    const auto drawing = readDrawing("looks.dxf");
    const PaperPlot plot = plotDrawing(*drawing, *colorTable(), {});
    struct Case {
        double x, y;
        std::vector<double> dashes;
        double offset;
        LineEnd end;
    };
    const Case cases[] = {
        // Dashed at the legend sheet's half millimetre per unit, times the table's factor.
        {10, 65, {10, 6}, 0, LineEnd::Round},
        // The drawing's TESTDASH, 10 on and 5 off, times the entity's 2 and $LTSCALE 0.5.
        {10, 60, {10 * kScale, 5 * kScale}, 0, LineEnd::Square},
        // GAPFIRST: 2 off, 4 on, 2 off at half scale starts inside the merged gap.
        {10, 55, {2 * kScale, 2 * kScale}, 3 * kScale, LineEnd::Square},
        // ISO Dash on the frame leaves the table's factor alone; a drawing without $ENDCAPS.
        {0, 0, {5, 3}, 0, LineEnd::Round},
        {10, 90, {}, 0, LineEnd::Round},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "the line from " << c.x << ", " << c.y);
        const PaperPath* path = pathFrom(plot, c.x, c.y);
        ASSERT_TRUE(path);
        ASSERT_EQ(path->dashes.size(), c.dashes.size());
        for (std::size_t i = 0; i < c.dashes.size(); ++i) {
            EXPECT_NEAR(path->dashes[i], c.dashes[i], 1e-6) << "dash " << i;
        }
        EXPECT_NEAR(path->dashOffset, c.offset, 1e-6);
        EXPECT_EQ(path->end, c.end);
    }
    const PaperPath* own = pathFrom(plot, 10, 60);
    EXPECT_EQ(own->join, LineJoin::Bevel);
    EXPECT_EQ(own->color, 0x00FFFFu);
}

TEST(PlotEngine, NamedStylesThroughPlotStyleNames) {
    const auto drawing = readDrawing("named.dxf");
    PlotStyleTablePtr table(CPlotStyleTable::create(false, nullptr));
    table->addStyle(u"Heavy", 0, nullptr);
    table->addStyle(u"Light", 1, nullptr);
    table->LineWeights[20] = 1.0;
    table->style(1)->LineWeight = 21;
    table->style(1)->updateColor(0x202020);
    table->style(2)->Screening = 30;

    struct Case {
        const char* what;
        double x, y;
        std::uint32_t plain;      // without overrides
        std::uint32_t overridden; // with PLAIN=Heavy and walls=Light
    };
    const Case cases[] = {
        {"the layer's name", 10, 90, 0x202020, 0xB3B3B3},
        {"the entity's own name", 10, 85, 0xB3B3B3, 0xB3B3B3},
        {"a layer without a name of its own", 10, 80, 0x000000, 0x202020},
        {"a name the table lacks", 10, 75, 0x000000, 0x000000},
        {"BYBLOCK takes the insert's name", 100, 90, 0xB3B3B3, 0xB3B3B3},
    };
    PlotOptions overrides;
    overrides.layerStyles = {{"PLAIN", "Heavy"}, {"walls", "Light"}};
    const PaperPlot plain = plotDrawing(*drawing, *table, {});
    const PaperPlot overridden = plotDrawing(*drawing, *table, overrides);
    for (const Case& c : cases) {
        const PaperPath* path = pathFrom(plain, c.x, c.y);
        ASSERT_TRUE(path) << c.what;
        EXPECT_EQ(path->color, c.plain) << c.what;
        path = pathFrom(overridden, c.x, c.y);
        ASSERT_TRUE(path) << c.what;
        EXPECT_EQ(path->color, c.overridden) << c.what << ", overridden";
    }
    EXPECT_NEAR(pathFrom(plain, 10, 90)->width, 1.0, 1e-9);
}

TEST(PlotEngine, ShapesAndBlockTransforms) {
    const auto drawing = readDrawing("shapes.dxf");
    const PaperPlot plot =
        plotDrawing(*drawing, *PlotStyleTablePtr(CPlotStyleTable::create(true, nullptr)), {});

    // A bulge of 1 is a half circle, counter-clockwise: below the chord from left to right.
    const PaperPath* bulged = pathFrom(plot, 10, 90);
    ASSERT_TRUE(bulged);
    double lowest = 0;
    for (const PaperPoint& p : bulged->points) {
        lowest = std::max(lowest, p.y);
        if (p.x < paper(20, 90).x - 0.01) {
            const PaperPoint centre = paper(15, 90);
            EXPECT_NEAR(std::hypot(p.x - centre.x, p.y - centre.y), 5 * kScale, 0.03);
        }
    }
    EXPECT_NEAR(lowest, paper(15, 85).y, 0.03);
    EXPECT_TRUE(near(bulged->points.back(), paper(30, 90)));

    // A bulge of -0.5 turns clockwise, its middle a quarter of the chord above it.
    const PaperPath* clockwise = pathFrom(plot, 10, 75);
    ASSERT_TRUE(clockwise);
    double highest = clockwise->points.front().y;
    for (const PaperPoint& p : clockwise->points) {
        if (p.x < paper(20, 75).x - 0.01) {
            highest = std::min(highest, p.y);
        }
    }
    EXPECT_NEAR(highest, paper(15, 77.5).y, 0.03);

    struct Segment {
        const char* what;
        double x1, y1, x2, y2;
    };
    const Segment segments[] = {
        {"mirrored insert", 50, 50, 40, 50},
        {"mirrored insert, the arrow's head", 40, 50, 42, 52},
        {"insert turned a quarter and doubled", 80, 50, 80, 70},
        {"its head", 80, 70, 76, 66},
        {"an arc of a quarter turn", 110, 20, 100, 30},
        {"a spline through its end control points", 150, 50, 180, 60},
    };
    for (const Segment& s : segments) {
        const PaperPath* path = pathFrom(plot, s.x1, s.y1);
        ASSERT_TRUE(path) << s.what;
        EXPECT_TRUE(near(path->points.back(), paper(s.x2, s.y2))) << s.what;
        EXPECT_FALSE(path->filled) << s.what;
    }

    // The arrow's text: reading backwards in the mirrored reference, turned and doubled in
    // the other; and a text written backwards.
    struct Letter {
        const char* content;
        double x, y, height, rotation;
        bool mirrored;
    };
    const Letter letters[] = {
        {"A", 48, 51, 1, 180, true}, {"A", 78, 54, 2, 90, false}, {"B", 120, 40, 3, 180, true}};
    for (const Letter& letter : letters) {
        int found = 0;
        for (const PaperItem& item : plot.items) {
            const auto* text = std::get_if<PaperText>(&item);
            if (text && text->content == letter.content &&
                near(text->position, paper(letter.x, letter.y))) {
                ++found;
                EXPECT_NEAR(text->height, letter.height * kScale, 1e-9);
                EXPECT_NEAR(std::remainder(text->rotation - letter.rotation, 360), 0, 1e-9);
                EXPECT_EQ(text->mirrored, letter.mirrored);
            }
        }
        EXPECT_EQ(found, 1) << "the letter at " << letter.x << ", " << letter.y;
    }

    // A circle whose extrusion points down: its centre is mirrored in x.
    int circles = 0;
    for (const PaperItem& item : plot.items) {
        const auto* path = std::get_if<PaperPath>(&item);
        if (!path || !path->closed || path->filled || path->points.size() < 32) {
            continue;
        }
        PaperPoint sum{0, 0};
        for (const PaperPoint& p : path->points) {
            sum = {sum.x + p.x / path->points.size(), sum.y + p.y / path->points.size()};
        }
        circles += near(sum, paper(20, 10), 0.01);
    }
    EXPECT_EQ(circles, 1);

    const PaperPath* solid = pathFrom(plot, 120, 80);
    ASSERT_TRUE(solid);
    EXPECT_TRUE(solid->filled);
    ASSERT_EQ(solid->points.size(), 4u);
    EXPECT_TRUE(near(solid->points[2], paper(130, 90))) << "corners 3 and 4 come swapped";

    const PaperPath* hatch = pathFrom(plot, 140, 70);
    ASSERT_TRUE(hatch);
    EXPECT_TRUE(hatch->filled);
    EXPECT_EQ(hatch->color, 0x0000FFu);
    ASSERT_EQ(hatch->subpathStarts.size(), 1u);
    EXPECT_TRUE(near(hatch->points[hatch->subpathStarts[0]], paper(150, 80)));

    EXPECT_EQ(plot.skipped, (std::map<std::string, int>{{"HATCH", 1}}));
}

TEST(PlotEngine, TextsArePlainWithHeightRotationAndAlignment) {
    const auto drawing = readDrawing("shapes.dxf");
    const PaperPlot plot =
        plotDrawing(*drawing, *PlotStyleTablePtr(CPlotStyleTable::create(true, nullptr)), {});
    struct Case {
        const char* content;
        double x, y, height, rotation;
        TextAlign align;
        TextBaseline baseline;
    };
    const Case cases[] = {
        {"Room 12 \u00B0 90%", 60, 30, 5, 30, TextAlign::Left, TextBaseline::Baseline},
        {"Centre", 100, 40, 4, 0, TextAlign::Center, TextBaseline::Middle},
        {"Ground floor\nplan 1/2 \u00D8", 10, 40, 3, 0, TextAlign::Left, TextBaseline::Top},
    };
    for (const Case& c : cases) {
        const PaperText* text = textOf(plot, c.content);
        ASSERT_TRUE(text) << c.content;
        EXPECT_TRUE(near(text->position, paper(c.x, c.y))) << c.content;
        EXPECT_NEAR(text->height, c.height * kScale, 1e-9) << c.content;
        EXPECT_NEAR(text->rotation, c.rotation, 1e-9) << c.content;
        EXPECT_EQ(text->align, c.align) << c.content;
        EXPECT_EQ(text->baseline, c.baseline) << c.content;
        EXPECT_FALSE(text->mirrored) << c.content;
        EXPECT_EQ(text->color, 0x000000u) << c.content;
    }
    EXPECT_TRUE(textOf(plot, "30")) << "the dimension's block is drawn";
}

TEST(PlotEngine, BareDrawingsOfOtherWriters) {
    // Only an entities section, a text without an alignment point, old-style codes.
    const auto drawing = readDrawing("bare.dxf");
    ASSERT_TRUE(drawing);
    const PaperPlot plot =
        plotDrawing(*drawing, *PlotStyleTablePtr(CPlotStyleTable::create(true, nullptr)), {});
    EXPECT_TRUE(plot.skipped.empty());
    const PaperText* text = textOf(plot, "\u230020 \u00e9t\u00e9");
    ASSERT_TRUE(text);
    EXPECT_TRUE(near(text->position, paper(100, 50)));
    EXPECT_NEAR(text->rotation, 90, 1e-9);
}

TEST(PlotEngine, DamagedDrawings) {
    const auto recursive = readDrawing("recursive.dxf");
    const PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    const PaperPlot plot = plotDrawing(*recursive, *table, {});
    EXPECT_TRUE(pathFrom(plot, 50, 50)) << "the block's line before it repeats itself";
    EXPECT_EQ(plot.skipped, (std::map<std::string, int>{{"INSERT", 1}}));

    // Eight levels of ten references each to the next block: 100 million lines.
    const auto manyLines = readDrawing("nested.dxf");
    ASSERT_TRUE(manyLines);
    PlotOptions limited;
    limited.entityLimit = 1000;
    const PaperPlot capped = plotDrawing(*manyLines, *table, limited);
    // References count as entities too.
    EXPECT_GT(capped.items.size(), 500u);
    EXPECT_LE(capped.items.size(), 1000u);
    EXPECT_GT(capped.skipped.at("INSERT"), 0);

    // A file that is no drawing is the command suite's refusal; the program finds a missing one
    // before the reader does.
    wxString error;
    EXPECT_FALSE(readDxfDrawing(testing::TempDir() + "missing.dxf", error));
    EXPECT_EQ(error, "No such file or directory");

    // Cut off in the middle of its entities: what was read still plots.
    const auto truncated = readDrawing("cut-off.dxf");
    ASSERT_TRUE(truncated);
    EXPECT_TRUE(pathFrom(plotDrawing(*truncated, *table, {}), 10, 90));
}

} // namespace
