// pstyle plot as a CAD manager previews a table: drawings that an independent DXF writer made
// (tests/data/drawings/README.md tells what each holds), plotted with tables that `pstyle set`
// changed; what each line's style did is read back from the SVG's strokes and the PNG's pixels.
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include <wx/image.h>
#include <wx/xml/xml.h>

#include "command_test.h"

namespace {

const std::string kDrawings = PSTYLE_TEST_DATA_DIR "/drawings/";

// On A4 landscape, 10 mm margins, a test drawing's 200 × 100 frame is 277 mm wide and centred
// in the 190 mm of height.
constexpr double kScale = 277.0 / 200.0;
double paperX(double x) {
    return 10 + x * kScale;
}
double paperY(double y) {
    return 10 + (190 - 100 * kScale) / 2 + (100 - y) * kScale;
}

// 150 dots per inch.
constexpr double kPixelsPerMillimetre = 150 / 25.4;

struct SvgPath {
    double x; // where the path starts
    double y;
    std::map<wxString, wxString> attributes;
};

// The paths of each group of class "plot", in the order of the file.
std::vector<std::vector<SvgPath>> plotGroups(const std::string& file) {
    wxXmlDocument svg;
    EXPECT_TRUE(svg.Load(wxString::FromUTF8(file)));
    std::vector<std::vector<SvgPath>> groups;
    for (wxXmlNode* group = svg.GetRoot()->GetChildren(); group; group = group->GetNext()) {
        if (group->GetName() != "g" || group->GetAttribute("class") != "plot") {
            continue;
        }
        groups.emplace_back();
        for (wxXmlNode* node = group->GetChildren(); node; node = node->GetNext()) {
            if (node->GetName() != "path") {
                continue;
            }
            SvgPath path{};
            std::sscanf(node->GetAttribute("d").utf8_str(), "M%lf %lf", &path.x, &path.y);
            for (wxXmlAttribute* a = node->GetAttributes(); a; a = a->GetNext()) {
                path.attributes[a->GetName()] = a->GetValue();
            }
            groups.back().push_back(path);
        }
    }
    return groups;
}

// The path that starts at the page point (x, y), in millimetres.
const SvgPath* pathAt(const std::vector<SvgPath>& paths, double x, double y) {
    for (const SvgPath& path : paths) {
        if (std::abs(path.x - x) < 0.01 && std::abs(path.y - y) < 0.01) {
            return &path;
        }
    }
    return nullptr;
}

// Whether the pixel in column and row of the image is paper white.
bool isWhite(const wxImage& image, int column, int row) {
    return image.GetRed(column, row) == 255 && image.GetGreen(column, row) == 255 &&
           image.GetBlue(column, row) == 255;
}

class PlotCommand : public PictureCommands {
protected:
    // The sample colour-dependent table with colours 1, 3 and 4 changed, each in one respect.
    std::string penTable(const std::string& name, const std::string& firstColor = "#C03010") {
        const std::string table = copied(sample("default.ctb"), name);
        for (const std::string& edit :
             {"--styles 1 color=" + firstColor, std::string("--styles 3 lineweight=1.4"),
              std::string("--styles 4 linetype=Dashed")}) {
            EXPECT_EQ(pstyle("set " + shellQuoted(table) + " " + edit).status, 0) << edit;
        }
        return table;
    }

    CommandResult plot(const std::string& drawing, const std::string& table,
                       const std::string& output, const std::string& options = "") {
        return pstyle("plot " + shellQuoted(kDrawings + drawing) + " " + shellQuoted(table) +
                      " -o " + shellQuoted(path(output)) + options);
    }
};

} // namespace

// The pens drawing has one 0.5 mm line per colour, at y = 100 - 12 × colour. The compare case
// reads the lines' colours in pixels.
TEST_F(PlotCommand, StrokesInSvgAndPngCarryEachStylesColourLineweightAndLinetype) {
    const std::string table = penTable("pens.ctb");
    const CommandResult run = plot("pens.dxf", table, "p.svg");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::vector<SvgPath>> groups = plotGroups(path("p.svg"));
    ASSERT_EQ(groups.size(), 1u);
    struct Case {
        int color;
        const char* stroke;
        const char* width;
        const char* dashes; // empty: solid
    };
    // The engine's suite checks what screening and grayscale make of a colour.
    const Case cases[] = {
        {1, "#c03010", "0.5", ""},
        {3, "#00ff00", "1.4", ""},
        // Dashed: 10 and 6 units of the pattern at 0.5 mm each.
        {4, "#00ffff", "0.5", "5 3"},
    };
    for (const auto& [color, stroke, width, dashes] : cases) {
        SCOPED_TRACE(color);
        const SvgPath* line = pathAt(groups[0], paperX(20), paperY(100 - 12 * color));
        ASSERT_TRUE(line);
        EXPECT_EQ(line->attributes.at("stroke"), stroke);
        EXPECT_EQ(line->attributes.at("stroke-width"), width);
        EXPECT_EQ(line->attributes.at("fill"), "none");
        const auto dashArray = line->attributes.find("stroke-dasharray");
        EXPECT_EQ(dashArray == line->attributes.end() ? wxString() : dashArray->second, dashes);
    }

    ASSERT_EQ(plot("pens.dxf", table, "p.png").status, 0);
    const wxImage png(wxString::FromUTF8(path("p.png")), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(png.IsOk());
    EXPECT_EQ(png.GetWidth(), 1754); // 297 mm at 150 dpi
    EXPECT_EQ(png.GetHeight(), 1240);
    const double middle = paperX(100);

    // Rows inked across a line: 1.4 mm is 8.3 pixels, 0.5 mm 3.
    const auto inkedRows = [&](int color) {
        const int column = int(middle * kPixelsPerMillimetre);
        const int centre = int(paperY(100 - 12 * color) * kPixelsPerMillimetre);
        int rows = 0;
        for (int row = centre - 10; row <= centre + 10; ++row) {
            rows += !isWhite(png, column, row);
        }
        return rows;
    };
    EXPECT_GE(inkedRows(3), 8);
    EXPECT_LE(inkedRows(3), 9);
    EXPECT_EQ(inkedRows(7), 3);

    // Along the dashed line: 5 mm dashes, 3 mm gaps less the round ends' 0.25 mm each side,
    // 2.5 mm or 14.8 pixels, for the 221.6 mm of its length.
    std::vector<int> gaps(1, 0);
    const int row = int(paperY(52) * kPixelsPerMillimetre);
    for (int column = int(paperX(25) * kPixelsPerMillimetre);
         column < int(paperX(175) * kPixelsPerMillimetre); ++column) {
        if (isWhite(png, column, row)) {
            ++gaps.back();
        } else if (gaps.back() > 0) {
            gaps.push_back(0);
        }
    }
    // The first and last may be cut by the ends of the scan.
    ASSERT_GE(gaps.size(), 20u);
    for (std::size_t gap = 1; gap + 2 < gaps.size(); ++gap) {
        EXPECT_NEAR(gaps[gap], 14.8, 2);
    }
}

TEST_F(PlotCommand, CompareDrawsBothTablesSideBySideEachLabelled) {
    const std::string before = penTable("before.ctb");
    const std::string after = penTable("after.ctb", "#10C030");
    const std::string options = " --compare " + shellQuoted(after);
    ASSERT_EQ(plot("pens.dxf", before, "c.svg", options).status, 0);
    const std::vector<std::vector<SvgPath>> groups = plotGroups(path("c.svg"));
    ASSERT_EQ(groups.size(), 2u);
    // Each group starts with its label, the table's path: a text of one line.
    wxXmlDocument svg(wxString::FromUTF8(path("c.svg")));
    std::vector<std::string> labels;
    for (wxXmlNode* group = svg.GetRoot()->GetChildren(); group; group = group->GetNext()) {
        if (group->GetName() == "g") {
            labels.push_back(group->GetChildren()->GetChildren()->GetNodeContent().ToStdString());
        }
    }
    EXPECT_EQ(labels, (std::vector<std::string>{before, after}));

    ASSERT_EQ(plot("pens.dxf", before, "c.png", options).status, 0);
    const wxImage png(wxString::FromUTF8(path("c.png")), wxBITMAP_TYPE_PNG);
    const int firstColors[] = {0xC03010, 0x10C030};
    for (int side = 0; side < 2; ++side) {
        SCOPED_TRACE(side);
        const std::vector<SvgPath>& paths = groups[side];
        // The frame, then the lines of colours 1 to 7, each half on its half of the page.
        ASSERT_EQ(paths.size(), 8u);
        for (const SvgPath& path : paths) {
            EXPECT_EQ(path.x < 148.5, side == 0) << path.x;
        }
        const SvgPath& first = paths[1];
        EXPECT_EQ(first.attributes.at("stroke"), side == 0 ? "#c03010" : "#10c030");
        // 10 mm along the line, each channel within 1 of the style's colour.
        const int column = int((first.x + 10) * kPixelsPerMillimetre);
        const int row = int(first.y * kPixelsPerMillimetre);
        EXPECT_NEAR(png.GetRed(column, row), firstColors[side] >> 16, 1);
        EXPECT_NEAR(png.GetGreen(column, row), (firstColors[side] >> 8) & 0xFF, 1);
        EXPECT_NEAR(png.GetBlue(column, row), firstColors[side] & 0xFF, 1);
    }
}

// named.dxf: a line on WALLS (plot style Heavy), one on WALLS with its own style Light, one on
// PLAIN without a style.
TEST_F(PlotCommand, LayerStylesGiveALayersObjectsANamedStyle) {
    const std::string table = copied(sample("named.stb"), "n.stb");
    ASSERT_EQ(pstyle("set " + shellQuoted(table) + " --styles Heavy color=#C03010").status, 0);
    ASSERT_EQ(pstyle("set " + shellQuoted(table) + " --styles Thin color=#10C030").status, 0);
    // Layer and style names in any case; the option given again for another layer. (The engine's
    // suite sees what names and overrides do.)
    const CommandResult run =
        plot("named.dxf", table, "n.svg", " --layer-style walls=thin --layer-style PLAIN=Heavy");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<SvgPath> paths = plotGroups(path("n.svg")).at(0);
    // Light, which the table lacks, is Normal: the object's colour.
    for (const auto& [y, stroke] :
         {std::pair<double, const char*>{90, "#10c030"}, {85, "#000000"}, {80, "#c03010"}}) {
        const SvgPath* line = pathAt(paths, paperX(10), paperY(y));
        ASSERT_TRUE(line) << y;
        EXPECT_EQ(line->attributes.at("stroke"), stroke) << y;
    }
}

TEST_F(PlotCommand, PagesOfEachSizeAndOrientation) {
    const std::string table = sample("monochrome.ctb");
    // The engine's suite has A4, A3 and letter.
    const std::pair<std::string, std::string> svgs[] = {
        {" --page A2 --portrait", "width=\"420mm\" height=\"594mm\""},
        {" --page a1", "width=\"841mm\" height=\"594mm\""},
        {" --page a0", "width=\"1189mm\" height=\"841mm\""},
    };
    for (const auto& [options, size] : svgs) {
        ASSERT_EQ(plot("shapes.dxf", table, "s.svg", options).status, 0) << options;
        EXPECT_NE(readFile(path("s.svg")).find(size), std::string::npos) << options;
    }
    ASSERT_EQ(plot("shapes.dxf", table, "s.png", " --page a3 --portrait --dpi 100").status, 0);
    const wxImage png(wxString::FromUTF8(path("s.png")), wxBITMAP_TYPE_PNG);
    EXPECT_EQ(png.GetWidth(), 1169); // 297 mm at 100 dpi
    EXPECT_EQ(png.GetHeight(), 1654);
    ASSERT_EQ(plot("shapes.dxf", table, "s.pdf", " --page letter").status, 0);
    EXPECT_NE(runShell("pdfinfo " + shellQuoted(path("s.pdf"))).out.find("792 x 612 pts"),
              std::string::npos);
}

// One line on standard error for what was left out. (The export case sees an output file that
// all commands write alike replaced whole.)
TEST_F(PlotCommand, SkippedEntitiesAreCountedOnOneLine) {
    const CommandResult run = plot("looks.dxf", sample("default.ctb"), "p.svg");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "pstyle: " + kDrawings + "looks.dxf: Not drawn: 1 RAY, 1 XLINE\n");
}

// dxflib is under the GNU GPL: only the plot module links it, and only plot loads the module (the
// command suite sees that the other commands do not). The drawing libraries are the drawing
// module's: the program neither links the module nor calls cairo or Pango itself.
TEST_F(PlotCommand, OnlyTheModulesLinkTheDxfReaderAndTheDrawingLibraries) {
    const std::string folder = wxFileName(PSTYLE_PROGRAM).GetPath().ToStdString();
    for (const char* binary :
         {"pstyle", "libpstyle_lib.so", "libkesutils.so", "libkesutils_gui.so", "libdavaz.so",
          "libteigha.so", "libpstyle_gui.so", "libpstyle_draw.so"}) {
        const std::string file = shellQuoted(folder + "/" + binary);
        EXPECT_EQ(runShell("readelf -d " + file).out.find("dxflib"), std::string::npos) << binary;
        EXPECT_EQ(runShell("nm -D " + file + " | grep -c DL_").out, "0\n") << binary;
    }
    EXPECT_NE(runShell("readelf -d " + shellQuoted(folder + "/libpstyle_plotter.so"))
                  .out.find("libdxflib"),
              std::string::npos);
    const std::string program = shellQuoted(PSTYLE_PROGRAM);
    const std::string needed = runShell("readelf -d " + program).out;
    ASSERT_NE(needed.find("(NEEDED)"), std::string::npos);
    EXPECT_EQ(needed.find("libpstyle_draw"), std::string::npos);
    const std::string imported = runShell("nm -D --undefined-only " + program).out;
    ASSERT_NE(imported.find("fwrite"), std::string::npos);
    for (const char* library : {"cairo_", "pango_"}) {
        EXPECT_EQ(imported.find(library), std::string::npos) << library;
    }

    // A PNG plot, too, loads no GUI toolkit.
    const CommandResult run =
        pstyle("plot " + shellQuoted(kDrawings + "pens.dxf") + " " +
                   shellQuoted(sample("default.ctb")) + " -o " + shellQuoted(path("p.png")),
               "LD_DEBUG=files ");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("libdxflib"), std::string::npos);
    for (const char* gui : {"/libgtk-", "/libgdk-", "/libwx_gtk"}) {
        EXPECT_EQ(run.err.find(gui), std::string::npos) << gui;
    }
}
