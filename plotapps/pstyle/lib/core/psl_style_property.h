// The properties of a style that people edit, one at a time or for many styles at once: the
// values each takes and how each is read from and written to a style.
#pragma once

#include <cstdint>

#include <wx/string.h>

class CPlotStyle;

enum class StyleProperty {
    Color,
    Dither,
    Grayscale,
    PhysicalPen,
    VirtualPen,
    Screening,
    LineType,
    Adaptive,
    LineWeight,
    EndStyle,
    JoinStyle,
    FillStyle,
};

// The values a property takes: first to last, and ownSetting when the property can use the
// object's own setting (hasOwnSetting).
struct StyleValueRange {
    std::int32_t first;
    std::int32_t last;
    bool hasOwnSetting;
    std::int32_t ownSetting;
};

// For Color the colour words of CPlotStyle::updateColor; for the switches 0 (off) and 1 (on).
StyleValueRange styleValueRange(StyleProperty property);
bool isStyleValueInRange(StyleProperty property, std::int32_t value);
// "0 to 32", "0 to 30, or 31", as a refusal names them.
wxString styleValueRangeText(StyleProperty property);

// The value a style holds: for Dither and Grayscale bit 0 and bit 1 of ColorPolicy, for Color
// the colour as updateColor takes it (red in the third byte).
std::int32_t styleValue(const CPlotStyle& style, StyleProperty property);
// Writes value: the colour through updateColor, dither and grayscale as their bit of
// ColorPolicy with the other bits kept, every other property as its field. True when the style
// changed.
bool setStyleValue(CPlotStyle& style, StyleProperty property, std::int32_t value);
