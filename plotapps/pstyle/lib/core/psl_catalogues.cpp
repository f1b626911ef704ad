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
    // The message context of the entries' labels: one word names a linetype and a fill style
    // ("Solid"), or an end and a join style ("Round"), and may need two translations.
    const char* context;
    const char* ownSettingLabel;
    const char* otherFormat;
};

constexpr CatalogueEntry kLineTypeEntries[] = {
    {wxTRANSLATE_IN_CONTEXT("linetype", "Solid"), "BmpLineType00"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Dashed"), "BmpLineType01"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Dotted"), "BmpLineType02"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Dash Dot"), "BmpLineType03"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Short Dash"), "BmpLineType04"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Medium Dash"), "BmpLineType05"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Long Dash"), "BmpLineType06"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Short Dash x2"), "BmpLineType07"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Medium Dash x2"), "BmpLineType08"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Long Dash x2"), "BmpLineType09"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Medium Long Dash"), "BmpLineType10"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Medium Dash Short Dash Short Dash"), "BmpLineType11"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Long Dash Short Dash"), "BmpLineType12"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Long Dash Dot Dot"), "BmpLineType13"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Long Dash Dot"), "BmpLineType14"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Medium Dash Dot Short Dash Dot"), "BmpLineType15"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "Sparse Dot"), "BmpLineType16"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Dash"), "BmpLineType17"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Dash Space"), "BmpLineType18"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Long Dash Dot"), "BmpLineType19"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Long Dash Double Dot"), "BmpLineType20"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Long Dash Triple Dot"), "BmpLineType21"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Dot"), "BmpLineType22"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Long Dash Short Dash"), "BmpLineType23"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Long Dash Double Short Dash"), "BmpLineType24"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Dash Dot"), "BmpLineType25"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Double Dash Dot"), "BmpLineType26"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Dash Double Dot"), "BmpLineType27"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Double Dash Double Dot"), "BmpLineType28"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Dash Triple Dot"), "BmpLineType29"},
    {wxTRANSLATE_IN_CONTEXT("linetype", "ISO Double Dash Triple Dot"), "BmpLineType30"},
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
    {wxTRANSLATE_IN_CONTEXT("line end style", "Butt"), "BmpEndStyleButt"},
    {wxTRANSLATE_IN_CONTEXT("line end style", "Square"), "BmpEndStyleSquare"},
    {wxTRANSLATE_IN_CONTEXT("line end style", "Round"), "BmpEndStyleRound"},
    {wxTRANSLATE_IN_CONTEXT("line end style", "Diamond"), "BmpEndStyleDiamond"},
};

constexpr CatalogueEntry kJoinStyleEntries[] = {
    {wxTRANSLATE_IN_CONTEXT("line join style", "Miter"), "BmpJoinStyleMiter"},
    {wxTRANSLATE_IN_CONTEXT("line join style", "Bevel"), "BmpJoinStyleBevel"},
    {wxTRANSLATE_IN_CONTEXT("line join style", "Round"), "BmpJoinStyleRound"},
    {wxTRANSLATE_IN_CONTEXT("line join style", "Diamond"), "BmpJoinStyleDiamond"},
};

constexpr CatalogueEntry kFillStyleEntries[] = {
    {wxTRANSLATE_IN_CONTEXT("fill style", "Solid"), "BmpFillStyleSolid"},
    {wxTRANSLATE_IN_CONTEXT("fill style", "Checkerboard"), "BmpFillStyleCheckerboard"},
    {wxTRANSLATE_IN_CONTEXT("fill style", "Crosshatch"), "BmpFillStyleCrosshatch"},
    {wxTRANSLATE_IN_CONTEXT("fill style", "Diamonds"), "BmpFillStyleDiamonds"},
    {wxTRANSLATE_IN_CONTEXT("fill style", "Horizontal Bars"), "BmpFillStyleHorizontalBars"},
    {wxTRANSLATE_IN_CONTEXT("fill style", "Slant Left"), "BmpFillStyleSlantLeft"},
    {wxTRANSLATE_IN_CONTEXT("fill style", "Slant Right"), "BmpFillStyleSlantRight"},
    {wxTRANSLATE_IN_CONTEXT("fill style", "Square Dots"), "BmpFillStyleSquareDots"},
    {wxTRANSLATE_IN_CONTEXT("fill style", "Vertical Bars"), "BmpFillStyleVerticalBars"},
};

constexpr int valueCount(const CatalogueValues& values) {
    return values.last - values.first + 1;
}

static_assert(std::size(kLineTypeEntries) == valueCount(kLineTypeValues));
static_assert(std::size(kLineTypeDashes) == valueCount(kLineTypeValues));
static_assert(std::size(kEndStyleEntries) == valueCount(kEndStyleValues));
static_assert(std::size(kJoinStyleEntries) == valueCount(kJoinStyleValues));
static_assert(std::size(kFillStyleEntries) == valueCount(kFillStyleValues));

constexpr Catalogue kLineTypes{kLineTypeValues, kLineTypeEntries, "linetype",
                               wxTRANSLATE("Use entity linetype"), wxTRANSLATE("Line type %d")};
constexpr Catalogue kEndStyles{kEndStyleValues, kEndStyleEntries, "line end style",
                               wxTRANSLATE("Use entity end style"), wxTRANSLATE("End style %d")};
constexpr Catalogue kJoinStyles{kJoinStyleValues, kJoinStyleEntries, "line join style",
                                wxTRANSLATE("Use entity join style"), wxTRANSLATE("Join style %d")};
constexpr Catalogue kFillStyles{kFillStyleValues, kFillStyleEntries, "fill style",
                                wxTRANSLATE("Use entity fill style"), wxTRANSLATE("Fill style %d")};

const CatalogueEntry* findEntry(const Catalogue& catalogue, int value) {
    const CatalogueValues& values = catalogue.values;
    return value >= values.first && value <= values.last ? &catalogue.entries[value - values.first]
                                                         : nullptr;
}

wxString label(const Catalogue& catalogue, int value, bool translated = true) {
    const auto text = [&](const char* english, const char* context) {
        return translated ? wxGetTranslation(english, wxString(), context) : wxString(english);
    };
    if (const CatalogueEntry* entry = findEntry(catalogue, value)) {
        return text(entry->label, catalogue.context);
    }
    if (value == catalogue.values.ownSetting) {
        return text(catalogue.ownSettingLabel, nullptr);
    }
    return wxString::Format(text(catalogue.otherFormat, nullptr), value);
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
wxString lineTypeEnglishLabel(int value) {
    return label(kLineTypes, value, false);
}
wxString endStyleEnglishLabel(int value) {
    return label(kEndStyles, value, false);
}
wxString joinStyleEnglishLabel(int value) {
    return label(kJoinStyles, value, false);
}
wxString fillStyleEnglishLabel(int value) {
    return label(kFillStyles, value, false);
}

wxString lineWeightOwnSettingLabel() {
    return _("Use object lineweight");
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
