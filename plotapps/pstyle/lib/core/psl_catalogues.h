// Value catalogues of the style fields edited through image pickers: the values a field can hold,
// their labels and catalogue images, and the value that stands for the entity's own setting.
#pragma once

#include <vector>

#include <wx/string.h>

#include <kesutils/plot_style_table.h>

// The catalogue values of a field run from first to last; ownSetting means the entity's (or
// object's) own setting and is listed before them in every picker.
struct CatalogueValues {
    int first;
    int last;
    int ownSetting;
};

inline constexpr CatalogueValues kLineTypeValues{0, 30, 31};
inline constexpr CatalogueValues kEndStyleValues{0, 3, 4};
inline constexpr CatalogueValues kJoinStyleValues{0, 3, 5};
inline constexpr CatalogueValues kFillStyleValues{64, 72, 73};
// Values 1 to 27 name the entries of the table's lineweight table; their labels and images
// depend on the table.
inline constexpr CatalogueValues kLineWeightValues{1, CPlotStyleTable::kLineWeightCount, 0};

// Labels, translated; a value outside the catalogue gets the catalogue's "... %d" form.
wxString lineTypeLabel(int value);
wxString endStyleLabel(int value);
wxString joinStyleLabel(int value);
wxString fillStyleLabel(int value);
wxString lineWeightOwnSettingLabel();
// The same labels untranslated: the names that scripts give the values in every language.
wxString lineTypeEnglishLabel(int value);
wxString endStyleEnglishLabel(int value);
wxString joinStyleEnglishLabel(int value);
wxString fillStyleEnglishLabel(int value);

// Names of images in the catalogue psl_graphics; empty for values without an image.
wxString lineTypeBitmap(int value);
wxString endStyleBitmap(int value);
wxString joinStyleBitmap(int value);
wxString fillStyleBitmap(int value);
// BmpLineWeight01 to BmpLineWeight14, by steps of 0.22 mm.
wxString lineWeightBitmap(double millimetres);

// Dash and gap lengths of the linetype's pattern in pixels of its image, starting with a dash;
// empty for solid lines and for values outside the catalogue.
std::vector<int> lineTypeDashes(int value);
// Millimetres on paper for one pixel of a linetype's pattern, in the legend sheet and the plot.
inline constexpr double kLineTypePatternUnit = 0.5;
