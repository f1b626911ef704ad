// pstyle sheet as a user prints a table: the SVG's groups and texts, the PNG's size and the
// pixels of its sample lines, PDF pages read back with poppler's tools, and descriptions in
// scripts other than Latin.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <wx/colour.h>
#include <wx/image.h>
#include <wx/xml/xml.h>

#include "command_test.h"

namespace {

// How many pixels of each pixel row of the image have the colour (each channel within 1).
std::vector<int> pixelsPerRow(const wxImage& image, const wxColour& color) {
    std::vector<int> counts(image.GetHeight());
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            counts[y] += std::abs(image.GetRed(x, y) - color.Red()) <= 1 &&
                         std::abs(image.GetGreen(x, y) - color.Green()) <= 1 &&
                         std::abs(image.GetBlue(x, y) - color.Blue()) <= 1;
        }
    }
    return counts;
}

// The pixel rows with at least 200 pixels of the colour, which only a sample line draws.
int rowsWithLineOf(const wxImage& image, const wxColour& color) {
    const std::vector<int> counts = pixelsPerRow(image, color);
    return int(std::count_if(counts.begin(), counts.end(), [](int count) { return count >= 200; }));
}

using SheetCommand = PictureCommands;

} // namespace

TEST_F(SheetCommand, SvgHasAGroupPerStyleAndThePngIsOfTheDocumentedSize) {
    struct Case {
        std::string table;
        int rows;
        const char* firstStyle;
        const char* lineWeight; // of the first style
    };
    const Case tables[] = {
        {fixture("canonical-aci-table.stb"), 4, "Normal (2-4, 6-255)", "object"},
        // Texts are escaped for XML: its description is "Walls & <doors>".
        {fixture("sheet-markup.stb"), 1, "Normal", "object"},
        {fixture("canonical.ctb"), 255, "Color 1", "0.0098\""},
    };
    for (const auto& [table, rows, firstStyle, lineWeight] : tables) {
        SCOPED_TRACE(table);
        ASSERT_EQ(
            pstyle("sheet " + shellQuoted(table) + " -o " + shellQuoted(path("s.svg"))).status, 0);
        wxXmlDocument svg;
        ASSERT_TRUE(svg.Load(wxString::FromUTF8(path("s.svg"))));
        std::vector<wxXmlNode*> styleGroups;
        for (wxXmlNode* node = svg.GetRoot()->GetChildren(); node; node = node->GetNext()) {
            if (node->GetName() == "g" && node->GetAttribute("class") == "style") {
                styleGroups.push_back(node);
            }
        }
        ASSERT_EQ(int(styleGroups.size()), rows);
        wxArrayString texts;
        for (wxXmlNode* part = styleGroups[0]->GetChildren(); part; part = part->GetNext()) {
            if (part->GetName() == "text") {
                texts.Add(part->GetNodeContent());
            }
        }
        EXPECT_NE(texts.Index(firstStyle), wxNOT_FOUND) << wxJoin(texts, '|');
        EXPECT_NE(texts.Index(lineWeight), wxNOT_FOUND) << wxJoin(texts, '|');

        ASSERT_EQ(
            pstyle("sheet " + shellQuoted(table) + " -o " + shellQuoted(path("s.png"))).status, 0);
        const wxImage png(wxString::FromUTF8(path("s.png")), wxBITMAP_TYPE_PNG);
        EXPECT_EQ(png.GetWidth(), 1485);
        EXPECT_EQ(png.GetHeight(), 255 + 35 * rows);
    }
}

// Sample lines to scale (2.11 mm is 10.5 pixels, 9 of them covered whole), screened towards
// white, in grey for a grayscale style, and broken by a dashed linetype.
TEST_F(SheetCommand, PngSampleLinesShowColourScreeningGrayscaleLineweightAndLinetype) {
    const std::string table = shellQuoted(copied(fixture("canonical.ctb"), "t.ctb"));
    for (const std::string edit :
         {"--styles 2 color=#C03010 screening=60 lineweight=2.11",
          "--styles 3 color=#2050C0 grayscale=on lineweight=2.11",
          "--styles 4 color=#10A040 'linetype=ISO dash' lineweight=2.11"}) {
        ASSERT_EQ(pstyle("set " + table + " " + edit).status, 0) << edit;
    }
    ASSERT_EQ(pstyle("sheet " + table + " -o " + shellQuoted(path("s.png"))).status, 0);
    const wxImage png(wxString::FromUTF8(path("s.png")), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(png.IsOk());
    // 60 % of the ink: each channel 255 - (255 - c) * 0.6.
    const int screened = rowsWithLineOf(png, {217, 131, 112});
    EXPECT_GE(screened, 9);
    EXPECT_LE(screened, 11);
    EXPECT_EQ(rowsWithLineOf(png, {0xC0, 0x30, 0x10}), 0);
    // Luma 0.299 R + 0.587 G + 0.114 B.
    const int gray = rowsWithLineOf(png, {78, 78, 78});
    EXPECT_GE(gray, 9);
    EXPECT_LE(gray, 11);
    // The dashed line has gaps: fewer pixels a row than the 230 of a solid sample.
    const std::vector<int> dashed = pixelsPerRow(png, {0x10, 0xA0, 0x40});
    const int longest = *std::max_element(dashed.begin(), dashed.end());
    EXPECT_GT(longest, 100);
    EXPECT_LT(longest, 215);
}

// Every page: the paper's size, the heading, and whole rows that end above the bottom margin;
// together the pages hold every style once, in order.
TEST_F(SheetCommand, PdfPagesCarryTheHeadingAndWholeRows) {
    const std::string table = shellQuoted(fixture("canonical.ctb"));
    const std::string pdf = shellQuoted(path("s.pdf"));
    struct Case {
        std::string options;
        int pages;
        const char* size; // as pdfinfo gives it, in points
    };
    const Case cases[] = {
        {"", 12, "841.89 x 595.276 pts (A4)"},
        {" --portrait", 8, "595.276 x 841.89 pts (A4)"},
        {" --page A3 --portrait", 5, "841.89 x 1190.55 pts (A3)"},
        {" --page letter --portrait", 8, "612 x 792 pts (letter)"},
    };
    int run = 0;
    for (const auto& [options, pages, size] : cases) {
        SCOPED_TRACE(options);
        ASSERT_EQ(pstyle("sheet " + table + " -o " + pdf + options).status, 0);
        const std::string info = runShell("pdfinfo -f 1 -l 99 " + pdf).out;
        EXPECT_NE(info.find("Pages:           " + std::to_string(pages) + "\n"), std::string::npos)
            << info;
        int sized = 0;
        for (std::size_t at = 0;
             (at = info.find(std::string(" size:  ") + size, at)) != std::string::npos; ++at) {
            ++sized;
        }
        EXPECT_EQ(sized, pages) << info;

        // pdftotext ends each page with a form feed.
        std::istringstream text(runShell("pdftotext -layout " + pdf + " -").out);
        std::vector<int> styles;
        std::string pageText;
        for (int page = 1; std::getline(text, pageText, '\f') && page <= pages; ++page) {
            std::istringstream lines(pageText);
            std::string line;
            std::getline(lines, line);
            EXPECT_NE(line.find("canonical"), std::string::npos) << line;
            EXPECT_NE(line.find("Page " + std::to_string(page) + " of " + std::to_string(pages)),
                      std::string::npos)
                << line;
            bool titles = false;
            while (std::getline(lines, line)) {
                titles |= line.find("Style") == 0 && line.find("Lineweight") != std::string::npos;
                // A whole row: the style's name and, further on, its screening.
                const std::size_t name = line.find_first_not_of(' ');
                if (name != std::string::npos && line.compare(name, 6, "Color ") == 0 &&
                    line.find('%') != std::string::npos) {
                    styles.push_back(std::stoi(line.substr(name + 6)));
                }
            }
            EXPECT_TRUE(titles) << "page " << page;
        }
        ASSERT_EQ(styles.size(), 255u);
        for (int index = 0; index < 255; ++index) {
            EXPECT_EQ(styles[index], index + 1);
        }

        // The last 7 mm of every page are blank.
        const std::string raster = "run" + std::to_string(++run);
        runShell("pdftoppm -r 20 -gray " + pdf + " " + shellQuoted(path(raster)));
        wxArrayString images;
        wxDir::GetAllFiles(wxString::FromUTF8(dir_), &images, raster + "-*.pgm");
        EXPECT_EQ(int(images.size()), pages);
        for (const wxString& file : images) {
            wxImage image;
            ASSERT_TRUE(image.LoadFile(file, wxBITMAP_TYPE_PNM));
            const std::vector<int> white = pixelsPerRow(image, {255, 255, 255});
            for (int y = image.GetHeight() - 5; y < image.GetHeight(); ++y) {
                EXPECT_EQ(white[y], image.GetWidth()) << file << ", pixel row " << y;
            }
        }
    }
}

// Pango falls back to the system's fonts for scripts that DejaVu Sans lacks: the PDF's text
// reads back as written, and only a character that no font has is reported.
TEST_F(SheetCommand, DescriptionsInOtherScriptsAreDrawnAsGlyphs) {
    // Chinese, Greek and Arabic.
    const std::string scripts = shellQuoted(fixture("sheet-scripts.stb"));
    for (const char* output : {"s.pdf", "s.png"}) {
        const CommandResult run = pstyle("sheet " + scripts + " -o " + shellQuoted(path(output)));
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
    }
    const std::string text = runShell("pdftotext " + shellQuoted(path("s.pdf")) + " -").out;
    EXPECT_NE(text.find("\u5EFA\u7B51\u5E73\u9762\u56FE"), std::string::npos) << text;
    EXPECT_NE(text.find("\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC"), std::string::npos)
        << text;

    // "Plan " and two characters of the private use area.
    const std::string privateUse = shellQuoted(fixture("sheet-private-use.stb"));
    const CommandResult boxes = pstyle("sheet " + privateUse + " -o " + shellQuoted(path("p.pdf")));
    EXPECT_EQ(boxes.status, 0);
    EXPECT_EQ(boxes.err, "pstyle: " + path("p.pdf") +
                             ": 2 characters have no font on this system and show as boxes\n");
}
