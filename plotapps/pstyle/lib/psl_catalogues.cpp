#include "psl_catalogues.h"

#include <cmath>
#include <iterator>

#include <wx/intl.h>

namespace {

struct CatalogueEntry {
    const char* label;
    const char* bitmap;
};

struct Catalogue {
    CatalogueValues values;
    const CatalogueEntry* entries; // one per value from values.first to values.last
    const char* ownSettingLabel;
    const char* otherFormat;
};

constexpr CatalogueEntry kLineTypeEntries[] = {
    {wxTRANSLATE("Solid"), "BmpLineType00"},
    {wxTRANSLATE("Dashed"), "BmpLineType01"},
    {wxTRANSLATE("Dotted"), "BmpLineType02"},
    {wxTRANSLATE("Dash Dot"), "BmpLineType03"},
    {wxTRANSLATE("Short Dash"), "BmpLineType04"},
    {wxTRANSLATE("Medium Dash"), "BmpLineType05"},
    {wxTRANSLATE("Long Dash"), "BmpLineType06"},
    {wxTRANSLATE("Short Dash x2"), "BmpLineType07"},
    {wxTRANSLATE("Medium Dash x2"), "BmpLineType08"},
    {wxTRANSLATE("Long Dash x2"), "BmpLineType09"},
    {wxTRANSLATE("Medium Long Dash"), "BmpLineType10"},
    {wxTRANSLATE("Medium Dash Short Dash Short Dash"), "BmpLineType11"},
    {wxTRANSLATE("Long Dash Short Dash"), "BmpLineType12"},
    {wxTRANSLATE("Long Dash Dot Dot"), "BmpLineType13"},
    {wxTRANSLATE("Long Dash Dot"), "BmpLineType14"},
    {wxTRANSLATE("Medium Dash Dot Short Dash Dot"), "BmpLineType15"},
    {wxTRANSLATE("Sparse Dot"), "BmpLineType16"},
    {wxTRANSLATE("ISO Dash"), "BmpLineType17"},
    {wxTRANSLATE("ISO Dash Space"), "BmpLineType18"},
    {wxTRANSLATE("ISO Long Dash Dot"), "BmpLineType19"},
    {wxTRANSLATE("ISO Long Dash Double Dot"), "BmpLineType20"},
    {wxTRANSLATE("ISO Long Dash Triple Dot"), "BmpLineType21"},
    {wxTRANSLATE("ISO Dot"), "BmpLineType22"},
    {wxTRANSLATE("ISO Long Dash Short Dash"), "BmpLineType23"},
    {wxTRANSLATE("ISO Long Dash Double Short Dash"), "BmpLineType24"},
    {wxTRANSLATE("ISO Dash Dot"), "BmpLineType25"},
    {wxTRANSLATE("ISO Double Dash Dot"), "BmpLineType26"},
    {wxTRANSLATE("ISO Dash Double Dot"), "BmpLineType27"},
    {wxTRANSLATE("ISO Double Dash Double Dot"), "BmpLineType28"},
    {wxTRANSLATE("ISO Dash Triple Dot"), "BmpLineType29"},
    {wxTRANSLATE("ISO Double Dash Triple Dot"), "BmpLineType30"},
};

// Dash and gap lengths of each linetype's pattern in pixels of its image, starting with a dash;
// solid lines have none.
const std::vector<int> kLineTypeDashes[] = {
    {},
    {10, 6},
    {2, 6},
    {10, 4, 2, 4},
    {6, 4},
    {10, 6},
    {20, 4},
    {12, 4},
    {20, 4},
    {40, 4},
    {10, 4, 20, 4},
    {10, 4, 6, 4, 6, 4},
    {20, 4, 6, 4},
    {20, 4, 2, 4, 2, 4},
    {20, 4, 2, 4},
    {20, 4, 2, 4, 6, 4, 2, 4},
    {2, 22},
    {10, 6},
    {10, 22},
    {20, 4, 2, 4},
    {20, 4, 2, 4, 2, 4},
    {20, 4, 2, 4, 2, 4, 2, 4},
    {2, 6},
    {20, 4, 6, 4},
    {20, 4, 6, 4, 6, 4},
    {10, 4, 2, 4},
    {10, 4, 10, 4, 2, 4},
    {10, 4, 2, 4, 2, 4},
    {10, 4, 10, 4, 2, 4, 2, 4},
    {10, 4, 2, 4, 2, 4, 2, 4},
    {10, 4, 10, 4, 2, 4, 2, 4, 2, 4},
};

constexpr CatalogueEntry kEndStyleEntries[] = {
    {wxTRANSLATE("Butt"), "BmpEndStyleButt"},
    {wxTRANSLATE("Square"), "BmpEndStyleSquare"},
    {wxTRANSLATE("Round"), "BmpEndStyleRound"},
    {wxTRANSLATE("Diamond"), "BmpEndStyleDiamond"},
};

constexpr CatalogueEntry kJoinStyleEntries[] = {
    {wxTRANSLATE("Miter"), "BmpJoinStyleMiter"},
    {wxTRANSLATE("Bevel"), "BmpJoinStyleBevel"},
    {wxTRANSLATE("Round"), "BmpJoinStyleRound"},
    {wxTRANSLATE("Diamond"), "BmpJoinStyleDiamond"},
};

constexpr CatalogueEntry kFillStyleEntries[] = {
    {wxTRANSLATE("Solid"), "BmpFillStyleSolid"},
    {wxTRANSLATE("Checkerboard"), "BmpFillStyleCheckerboard"},
    {wxTRANSLATE("Crosshatch"), "BmpFillStyleCrosshatch"},
    {wxTRANSLATE("Diamonds"), "BmpFillStyleDiamonds"},
    {wxTRANSLATE("Horizontal Bars"), "BmpFillStyleHorizontalBars"},
    {wxTRANSLATE("Slant Left"), "BmpFillStyleSlantLeft"},
    {wxTRANSLATE("Slant Right"), "BmpFillStyleSlantRight"},
    {wxTRANSLATE("Square Dots"), "BmpFillStyleSquareDots"},
    {wxTRANSLATE("Vertical Bars"), "BmpFillStyleVerticalBars"},
};

constexpr int valueCount(const CatalogueValues& values) {
    return values.last - values.first + 1;
}

static_assert(std::size(kLineTypeEntries) == valueCount(kLineTypeValues));
static_assert(std::size(kLineTypeDashes) == valueCount(kLineTypeValues));
static_assert(std::size(kEndStyleEntries) == valueCount(kEndStyleValues));
static_assert(std::size(kJoinStyleEntries) == valueCount(kJoinStyleValues));
static_assert(std::size(kFillStyleEntries) == valueCount(kFillStyleValues));

constexpr Catalogue kLineTypes{kLineTypeValues, kLineTypeEntries,
                               wxTRANSLATE("Use entity linetype"), wxTRANSLATE("Line type %d")};
constexpr Catalogue kEndStyles{kEndStyleValues, kEndStyleEntries,
                               wxTRANSLATE("Use entity end style"), wxTRANSLATE("End style %d")};
constexpr Catalogue kJoinStyles{kJoinStyleValues, kJoinStyleEntries,
                                wxTRANSLATE("Use entity join style"), wxTRANSLATE("Join style %d")};
constexpr Catalogue kFillStyles{kFillStyleValues, kFillStyleEntries,
                                wxTRANSLATE("Use entity fill style"), wxTRANSLATE("Fill style %d")};

const CatalogueEntry* findEntry(const Catalogue& catalogue, int value) {
    const CatalogueValues& values = catalogue.values;
    return value >= values.first && value <= values.last ? &catalogue.entries[value - values.first]
                                                         : nullptr;
}

wxString label(const Catalogue& catalogue, int value) {
    if (const CatalogueEntry* entry = findEntry(catalogue, value)) {
        return wxGetTranslation(entry->label);
    }
    if (value == catalogue.values.ownSetting) {
        return wxGetTranslation(catalogue.ownSettingLabel);
    }
    return wxString::Format(wxGetTranslation(catalogue.otherFormat), value);
}

wxString bitmap(const Catalogue& catalogue, int value) {
    const CatalogueEntry* entry = findEntry(catalogue, value);
    return entry ? wxString(entry->bitmap) : wxString();
}

} // namespace

wxString lineTypeLabel(int value) {
    return label(kLineTypes, value);
}
wxString endStyleLabel(int value) {
    return label(kEndStyles, value);
}
wxString joinStyleLabel(int value) {
    return label(kJoinStyles, value);
}
wxString fillStyleLabel(int value) {
    return label(kFillStyles, value);
}
wxString lineWeightOwnSettingLabel() {
    return wxGetTranslation("Use object lineweight");
}

wxString lineTypeBitmap(int value) {
    return bitmap(kLineTypes, value);
}
wxString endStyleBitmap(int value) {
    return bitmap(kEndStyles, value);
}
wxString joinStyleBitmap(int value) {
    return bitmap(kJoinStyles, value);
}
wxString fillStyleBitmap(int value) {
    return bitmap(kFillStyles, value);
}

wxString lineWeightBitmap(double millimetres) {
    constexpr double kStep = 0.22;
    constexpr int kLargest = 14;
    // Limits fall on hundredths of a millimetre (0.33, 0.55, ...); the slack keeps a weight typed
    // exactly at a limit from landing below it through rounding of the division.
    const double steps = millimetres / kStep + 1e-9;
    int image = 1;
    if (steps >= kLargest - 0.5) {
        image = kLargest;
    } else if (steps >= 1.5) {
        image = int(std::floor(steps + 0.5));
    }
    return wxString::Format("BmpLineWeight%02d", image);
}

std::vector<int> lineTypeDashes(int value) {
    return findEntry(kLineTypes, value) ? kLineTypeDashes[value - kLineTypeValues.first]
                                        : std::vector<int>();
}
