// The editor's image catalogue as the tests expect it: bitmap names, files and sizes, in order.
#pragma once

#include <vector>

#include <wx/string.h>

struct CatalogueImage {
    wxString name;
    wxString file; // in res/bitmaps
    int width;
    int height;
};

inline std::vector<CatalogueImage> expectedCatalogue() {
    std::vector<CatalogueImage> images = {
        {"BmpCTB", "ctb_48x48_depth32.png", 48, 48},
        {"BmpSTB", "stb_48x48_depth32.png", 48, 48},
        {"MarkCheck", "mark_check.png", 16, 16},
        {"MarkEmpty", "mark_empty.png", 16, 16},
        {"BmpStyleColorBox", "style_color_box.png", 14, 14},
    };
    for (int i = 0; i <= 30; ++i)
        images.push_back({wxString::Format("BmpLineType%02d", i),
                          wxString::Format("style_linetype_%02d.png", i), 80, 6});
    for (int i = 1; i <= 14; ++i)
        images.push_back({wxString::Format("BmpLineWeight%02d", i),
                          wxString::Format("style_lineweight_%02d.png", i), 80, 14});
    for (const char* kind : {"Butt", "Square", "Round", "Diamond"})
        images.push_back({wxString("BmpEndStyle") + kind,
                          "style_end_" + wxString(kind).Lower() + ".png", 13, 13});
    for (const char* kind : {"Miter", "Bevel", "Round", "Diamond"})
        images.push_back({wxString("BmpJoinStyle") + kind,
                          "style_join_" + wxString(kind).Lower() + ".png", 13, 13});
    const char* fills[][2] = {
        {"Solid", "solid"},
        {"Checkerboard", "checkerboard"},
        {"Crosshatch", "crosshatch"},
        {"Diamonds", "diamonds"},
        {"HorizontalBars", "horizontal_bars"},
        {"SlantLeft", "slant_left"},
        {"SlantRight", "slant_right"},
        {"SquareDots", "square_dots"},
        {"VerticalBars", "vertical_bars"},
    };
    for (const auto& fill : fills)
        images.push_back({wxString("BmpFillStyle") + fill[0],
                          wxString("style_fill_") + fill[1] + ".png", 13, 13});
    return images;
}
