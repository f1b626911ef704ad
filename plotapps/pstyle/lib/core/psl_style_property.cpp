#include "psl_style_property.h"

#include <wx/intl.h>

#include <kesutils/plot_style_table.h>

#include "psl_catalogues.h"
#include "psl_style_values.h"

namespace {

constexpr std::int32_t kDitherBit = 1;
constexpr std::int32_t kGrayscaleBit = 2;

StyleValueRange catalogueRange(const CatalogueValues& values) {
    return {values.first, values.last, true, values.ownSetting};
}

std::int32_t CPlotStyle::*numberField(StyleProperty property) {
    switch (property) {
    case StyleProperty::PhysicalPen:
        return &CPlotStyle::PhysPenNum;
    case StyleProperty::VirtualPen:
        return &CPlotStyle::VirtPenNum;
    case StyleProperty::Screening:
        return &CPlotStyle::Screening;
    case StyleProperty::LineType:
        return &CPlotStyle::LineType;
    case StyleProperty::LineWeight:
        return &CPlotStyle::LineWeight;
    case StyleProperty::EndStyle:
        return &CPlotStyle::EndStyle;
    case StyleProperty::JoinStyle:
        return &CPlotStyle::JoinStyle;
    case StyleProperty::FillStyle:
        return &CPlotStyle::FillStyle;
    default:
        return nullptr;
    }
}

std::int32_t colorPolicyBit(StyleProperty property) {
    return property == StyleProperty::Dither ? kDitherBit : kGrayscaleBit;
}

} // namespace

StyleValueRange styleValueRange(StyleProperty property) {
    switch (property) {
    case StyleProperty::Color:
        return {0, kObjectColor, false, 0};
    case StyleProperty::Dither:
    case StyleProperty::Grayscale:
    case StyleProperty::Adaptive:
        return {0, 1, false, 0};
    case StyleProperty::PhysicalPen:
        return {0, 32, false, 0};
    case StyleProperty::VirtualPen:
        return {0, 255, false, 0};
    case StyleProperty::Screening:
        return {0, 100, false, 0};
    case StyleProperty::LineType:
        return catalogueRange(kLineTypeValues);
    case StyleProperty::LineWeight:
        return catalogueRange(kLineWeightValues);
    case StyleProperty::EndStyle:
        return catalogueRange(kEndStyleValues);
    case StyleProperty::JoinStyle:
        return catalogueRange(kJoinStyleValues);
    case StyleProperty::FillStyle:
        return catalogueRange(kFillStyleValues);
    }
    return {0, 0, false, 0};
}

bool isStyleValueInRange(StyleProperty property, std::int32_t value) {
    const StyleValueRange range = styleValueRange(property);
    return (value >= range.first && value <= range.last) ||
           (range.hasOwnSetting && value == range.ownSetting);
}

wxString styleValueRangeText(StyleProperty property) {
    const StyleValueRange range = styleValueRange(property);
    if (range.hasOwnSetting) {
        return wxString::Format(_("%d to %d, or %d"), range.first, range.last, range.ownSetting);
    }
    return wxString::Format(_("%d to %d"), range.first, range.last);
}

std::int32_t styleValue(const CPlotStyle& style, StyleProperty property) {
    switch (property) {
    case StyleProperty::Color:
        return std::int32_t(swapRedAndBlue(std::uint32_t(style.color2rgb()) & kObjectColor));
    case StyleProperty::Dither:
    case StyleProperty::Grayscale:
        return (style.ColorPolicy & colorPolicyBit(property)) != 0;
    case StyleProperty::Adaptive:
        return style.Adaptive;
    default:
        return style.*numberField(property);
    }
}

bool setStyleValue(CPlotStyle& style, StyleProperty property, std::int32_t value) {
    switch (property) {
    case StyleProperty::Color: {
        const std::uint32_t before[] = {style.Color, style.ModeColor};
        style.updateColor(value);
        return before[0] != style.Color || before[1] != style.ModeColor;
    }
    case StyleProperty::Dither:
    case StyleProperty::Grayscale: {
        const std::int32_t bit = colorPolicyBit(property);
        const std::int32_t policy = value ? style.ColorPolicy | bit : style.ColorPolicy & ~bit;
        const bool changed = policy != style.ColorPolicy;
        style.ColorPolicy = policy;
        return changed;
    }
    case StyleProperty::Adaptive: {
        const bool changed = style.Adaptive != (value != 0);
        style.Adaptive = value != 0;
        return changed;
    }
    default: {
        std::int32_t& field = style.*numberField(property);
        const bool changed = field != value;
        field = value;
        return changed;
    }
    }
}
