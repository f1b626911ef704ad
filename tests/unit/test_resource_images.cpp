// The committed images against the drawing rules of the editor's pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <wx/image.h>
#include <wx/init.h>

#include "psl_catalogues.h"

namespace {

const wxString bitmapsDir = PSTYLE_RES_DIR "/bitmaps/";

class ResourceImages : public testing::Test {
protected:
    static void SetUpTestSuite() {
        initializer = std::make_unique<wxInitializer>();
        wxInitAllImageHandlers();
    }
    static void TearDownTestSuite() { initializer.reset(); }

    static std::unique_ptr<wxInitializer> initializer;
};

std::unique_ptr<wxInitializer> ResourceImages::initializer;

enum class Format { Rgba, Rgb, Palette16 };

// Colour type and bit depth from the PNG header, and the palette size when there is one.
void expectFormat(const wxString& file, int width, int height, Format format) {
    std::ifstream in((bitmapsDir + file).fn_str(), std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(bytes.size(), 41u) << file;
    auto be32 = [&](size_t at) {
        return bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
    };
    EXPECT_EQ(be32(16), width) << file;
    EXPECT_EQ(be32(20), height) << file;
    const int depth = bytes[24], colorType = bytes[25];
    switch (format) {
    case Format::Rgba:
        EXPECT_EQ(colorType, 6) << file;
        EXPECT_EQ(depth, 8) << file;
        break;
    case Format::Rgb:
        EXPECT_EQ(colorType, 2) << file;
        EXPECT_EQ(depth, 8) << file;
        break;
    case Format::Palette16:
        EXPECT_EQ(colorType, 3) << file;
        EXPECT_EQ(depth, 4) << file;
        // The chunk after the 25-byte header is the palette: 16 entries of 3 bytes.
        EXPECT_EQ(be32(33), 48) << file;
        EXPECT_EQ(std::string(bytes.begin() + 37, bytes.begin() + 41), "PLTE") << file;
        break;
    }
}

wxImage load(const wxString& file) {
    wxImage image(bitmapsDir + file, wxBITMAP_TYPE_PNG);
    EXPECT_TRUE(image.IsOk()) << file;
    return image;
}

bool isBlack(const wxImage& image, int x, int y) {
    return image.GetRed(x, y) == 0 && image.GetGreen(x, y) == 0 && image.GetBlue(x, y) == 0;
}

bool isColor(const wxImage& image, int x, int y, int red, int green, int blue) {
    return image.GetRed(x, y) == red && image.GetGreen(x, y) == green &&
           image.GetBlue(x, y) == blue;
}

bool isOpaque(const wxImage& image, int x, int y) {
    return !image.HasAlpha() || image.GetAlpha(x, y) == 255;
}

// Every pixel is opaque, and black exactly where blackAt says, white elsewhere.
template <class Rule>
void expectBlackWhite(const wxImage& image, const wxString& file, Rule blackAt) {
    int wrong = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            const bool black = blackAt(x, y);
            if (!isOpaque(image, x, y) ||
                !(black ? isBlack(image, x, y) : isColor(image, x, y, 255, 255, 255))) {
                ADD_FAILURE() << file << " pixel (" << x << ", " << y << ") should be "
                              << (black ? "black" : "white");
                if (++wrong == 3)
                    return;
            }
        }
    }
}

int mod(int value, int divisor) {
    return (value % divisor + divisor) % divisor;
}

TEST_F(ResourceImages, LinetypesDrawTheirDashPatternInRowsTwoAndThree) {
    for (int number = kLineTypeValues.first; number <= kLineTypeValues.last; ++number) {
        const std::vector<int> unit = lineTypeDashes(number);
        const wxString file = wxString::Format("style_linetype_%02d.png", number);
        expectFormat(file, 80, 6, Format::Rgba);
        int period = 0;
        for (int length : unit)
            period += length;
        // Walks the unit from its start to the column's offset from column 2.
        auto onDash = [&](int x) {
            if (unit.empty())
                return true;
            int offset = (x - 2) % period;
            for (size_t i = 0;; ++i) {
                if (offset < unit[i])
                    return i % 2 == 0;
                offset -= unit[i];
            }
        };
        expectBlackWhite(load(file), file, [&](int x, int y) {
            return (y == 2 || y == 3) && x >= 2 && x <= 77 && onDash(x);
        });
    }
}

TEST_F(ResourceImages, LineweightBarsGrowAroundTheMiddleRow) {
    for (int k = 1; k <= 14; ++k) {
        const wxString file = wxString::Format("style_lineweight_%02d.png", k);
        expectFormat(file, 80, 14, Format::Rgba);
        const int top = 6 - (k - 1) / 2;
        expectBlackWhite(load(file), file, [&](int x, int y) {
            return x >= 2 && x <= 77 && y >= top && y < top + k;
        });
    }
}

TEST_F(ResourceImages, FillPatternsFollowTheirFormulas) {
    auto diamonds = [](int x, int y) {
        for (int cx : {3, 9})
            for (int cy : {3, 9})
                if (std::abs(x - cx) + std::abs(y - cy) <= 2)
                    return false;
        return true;
    };
    const std::map<wxString, std::function<bool(int, int)>> rules = {
        {"solid", [](int, int) { return true; }},
        {"checkerboard", [](int x, int y) { return (x / 3 + (y + 2) / 3) % 2 == 1; }},
        {"crosshatch", [](int x, int y) { return mod(x + y, 4) == 1 || mod(x - y, 4) == 1; }},
        {"diamonds", diamonds},
        {"horizontal_bars", [](int, int y) { return y % 3 == 0; }},
        {"slant_left", [](int x, int y) { return mod(x - y, 4) == 1; }},
        {"slant_right", [](int x, int y) { return mod(x + y, 4) == 1; }},
        {"square_dots", [](int x, int y) { return x % 4 != 3 && y % 4 != 2; }},
        {"vertical_bars", [](int x, int) { return x % 3 == 0; }},
    };
    for (const auto& [name, rule] : rules) {
        const wxString file = "style_fill_" + name + ".png";
        expectFormat(file, 13, 13, Format::Palette16);
        expectBlackWhite(load(file), file, rule);
    }
}

TEST_F(ResourceImages, ColorBoxAndMarks) {
    expectFormat("style_color_box.png", 14, 14, Format::Palette16);
    const wxImage box = load("style_color_box.png");
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x) {
            const bool frame = x == 0 || y == 0 || x == 13 || y == 13;
            EXPECT_TRUE(frame ? isBlack(box, x, y) : isColor(box, x, y, 0, 255, 0))
                << "colour box pixel (" << x << ", " << y << ")";
        }
    }

    expectFormat("mark_empty.png", 16, 16, Format::Rgb);
    expectFormat("mark_check.png", 16, 16, Format::Rgb);
    const wxImage empty = load("mark_empty.png");
    const wxImage check = load("mark_check.png");
    int markPixels = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_TRUE(isColor(empty, x, y, 192, 192, 192)) << "empty mark (" << x << ", " << y;
            const bool grey = isColor(check, x, y, 192, 192, 192);
            EXPECT_TRUE(grey || isBlack(check, x, y)) << "check mark (" << x << ", " << y << ")";
            markPixels += grey ? 0 : 1;
        }
    }
    // A small mark: visible, yet clear of the edges and mostly background.
    EXPECT_GT(markPixels, 8);
    EXPECT_LT(markPixels, 64);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(isColor(check, i, 0, 192, 192, 192) && isColor(check, 0, i, 192, 192, 192) &&
                    isColor(check, i, 15, 192, 192, 192) && isColor(check, 15, i, 192, 192, 192))
            << "check mark touches the edge at " << i;
    }
}

// Transparent corners, and only transparent, blue-dominated or grey pixels in between.
void expectStrokeDrawing(const wxString& file, int* bluePixels, int* greyPixels) {
    expectFormat(file, 13, 13, Format::Rgba);
    const wxImage image = load(file);
    ASSERT_TRUE(image.HasAlpha()) << file;
    for (auto [x, y] : {std::pair{0, 0}, {12, 0}, {0, 12}, {12, 12}})
        EXPECT_EQ(image.GetAlpha(x, y), 0) << file << " corner (" << x << ", " << y << ")";
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 13; ++x) {
            if (image.GetAlpha(x, y) == 0)
                continue;
            EXPECT_EQ(image.GetAlpha(x, y), 255) << file << " (" << x << ", " << y << ")";
            const int r = image.GetRed(x, y), g = image.GetGreen(x, y), b = image.GetBlue(x, y);
            if (r == g && g == b)
                ++*greyPixels;
            else if (b > r + 60 && b > g + 40)
                ++*bluePixels;
            else
                ADD_FAILURE() << file << " (" << x << ", " << y << ") is neither blue nor grey";
        }
    }
}

TEST_F(ResourceImages, EndAndJoinStylesAreBlueStrokesWithGreyOutlines) {
    for (const char* group : {"end", "join"}) {
        const std::vector<wxString> names =
            wxString(group) == "end" ? std::vector<wxString>{"butt", "square", "round", "diamond"}
                                     : std::vector<wxString>{"miter", "bevel", "round", "diamond"};
        std::vector<int> blueCounts;
        for (const wxString& name : names) {
            const wxString file = wxString::Format("style_%s_%s.png", group, name);
            int blue = 0, grey = 0;
            expectStrokeDrawing(file, &blue, &grey);
            EXPECT_GT(blue, 20) << file;
            EXPECT_GT(grey, 10) << file;
            blueCounts.push_back(blue);
        }
        // Each shape of a group covers a different area, so no two drawings are the same.
        for (size_t i = 0; i < blueCounts.size(); ++i)
            for (size_t j = i + 1; j < blueCounts.size(); ++j)
                EXPECT_NE(blueCounts[i], blueCounts[j])
                    << group << " " << names[i] << " " << names[j];
    }
}

TEST_F(ResourceImages, TableKindSymbolsAndApplicationIcon) {
    std::vector<wxImage> symbols;
    for (const char* file : {"ctb_48x48_depth32.png", "stb_48x48_depth32.png"}) {
        expectFormat(file, 48, 48, Format::Rgba);
        const wxImage image = load(file);
        ASSERT_TRUE(image.HasAlpha()) << file;
        for (auto [x, y] : {std::pair{0, 0}, {47, 0}, {0, 47}, {47, 47}})
            EXPECT_EQ(image.GetAlpha(x, y), 0) << file << " corner (" << x << ", " << y << ")";
        int bluePage = 0, darkTag = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
                if (image.GetAlpha(x, y) != 255)
                    continue;
                const int r = image.GetRed(x, y), g = image.GetGreen(x, y);
                const int b = image.GetBlue(x, y);
                bluePage += b > r + 30 ? 1 : 0;
                // The tag sits at the top left of the symbol.
                darkTag += x < 24 && y < 24 && r + g + b < 200 ? 1 : 0;
            }
        }
        EXPECT_GT(bluePage, 600) << file;
        EXPECT_GT(darkTag, 100) << file;
        symbols.push_back(image);
    }
    int differing = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            differing += symbols[0].GetRed(x, y) != symbols[1].GetRed(x, y) ? 1 : 0;
    EXPECT_GT(differing, 0) << "the CTB and STB symbols read the same";

    std::ifstream in(PSTYLE_RES_DIR "/ico/app_16.ico", std::ios::binary);
    std::vector<unsigned char> icon((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GE(icon.size(), 22u);
    EXPECT_EQ(icon[4] | icon[5] << 8, 1) << "one image in the icon";
    EXPECT_EQ(icon[6], 16);
    EXPECT_EQ(icon[7], 16);
    EXPECT_EQ(icon[12] | icon[13] << 8, 32) << "bits per pixel";
    const wxImage app(PSTYLE_RES_DIR "/ico/app_16.ico", wxBITMAP_TYPE_ICO);
    ASSERT_TRUE(app.IsOk());
    EXPECT_EQ(app.GetWidth(), 16);
    EXPECT_EQ(app.GetHeight(), 16);
}

} // namespace
