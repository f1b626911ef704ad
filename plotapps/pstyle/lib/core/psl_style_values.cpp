#include "psl_style_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include <wx/intl.h>

#include <kesutils/ut_services.h>

#include "psl_text.h"
#include "psl_value_text.h"

namespace {

constexpr int kBlackIndex = 7;

// Lineweights count as equal when they agree to four decimals, as the editor stores them.
long long tenThousandths(double millimetres) {
    return std::llround(millimetres * 10000.0);
}

} // namespace

std::uint32_t indexColorRgb(int index) {
    return index == kBlackIndex ? 0 : ut::colorPaletteDark()[index];
}

int colorIndexOf(std::uint32_t rgb) {
    for (int index = 1; index <= CPlotStyleTable::kAciCount; ++index) {
        if (indexColorRgb(index) == rgb) {
            return index;
        }
    }
    return 0;
}

std::uint32_t swapRedAndBlue(std::uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

std::uint32_t grayscale(std::uint32_t rgb) {
    const double luma =
        0.299 * (rgb >> 16 & 0xFF) + 0.587 * (rgb >> 8 & 0xFF) + 0.114 * (rgb & 0xFF);
    const std::uint32_t level = std::uint32_t(std::lround(luma));
    return level << 16 | level << 8 | level;
}

std::uint32_t screened(std::uint32_t rgb, int screening) {
    const double ink = std::clamp(screening, 0, 100) / 100.0;
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double channel = rgb >> shift & 0xFF;
        result |= std::uint32_t(std::lround(255 - (255 - channel) * ink)) << shift;
    }
    return result;
}

bool isObjectColor(std::int32_t rgb) {
    return rgb == -1 || rgb == kObjectColor;
}

wxString colorText(std::int32_t rgb) {
    if (isObjectColor(rgb)) {
        return "object";
    }
    if (const int index = colorIndexOf(std::uint32_t(rgb))) {
        return integerText(index);
    }
    const char* const hexDigits = "0123456789ABCDEF";
    char text[] = "#RRGGBB";
    for (int byte = 0; byte < 3; ++byte) {
        const int value = (rgb >> (8 * byte)) & 0xFF;
        text[1 + 2 * byte] = hexDigits[value >> 4];
        text[2 + 2 * byte] = hexDigits[value & 0xF];
    }
    return wxString::FromAscii(text);
}

wxString penText(int pen) {
    return pen == 0 ? wxString("automatic") : integerText(pen);
}

wxString integerText(int value) {
    char digits[16];
    const char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return wxString::FromAscii(digits, end - digits);
}

wxString onOffText(bool on) {
    return on ? "on" : "off";
}

wxString decimalText(double value, int decimals) {
    wxString text = fixedNumberText(value, decimals);
    if (text.find('.') != wxString::npos && text.find('e') == wxString::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.Last() == '.') {
            text.RemoveLast();
        }
    }
    return text == "-0" ? wxString("0") : text;
}

wxString lineWeightText(double millimetres, bool inches) {
    if (inches) {
        return fixedNumberText(millimetres / kMillimetresPerInch, 4) + "\"";
    }
    return fixedNumberText(millimetres, 4) + " mm";
}

bool usesObjectLineWeight(const CPlotStyle& style) {
    return style.LineWeight < 1 || style.LineWeight > CPlotStyleTable::kLineWeightCount;
}

double styleLineWeight(const CPlotStyleTable& table, const CPlotStyle& style) {
    return usesObjectLineWeight(style) ? -1.0 : table.LineWeights[style.LineWeight - 1];
}

int lineWeightIndexOf(const CPlotStyleTable& table, double millimetres) {
    const auto givable = [](double value) { return value >= 0.0 && value <= kMaxLineWeight; };
    if (!givable(millimetres)) {
        return 0;
    }
    for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
        const double weight = table.LineWeights[row];
        if (givable(weight) && tenThousandths(weight) == tenThousandths(millimetres)) {
            return row + 1;
        }
    }
    return 0;
}

bool usesInches(const CPlotStyleTable& table) {
    return table.CustomLineWeightUnits != 0;
}

wxString styleLabel(const CPlotStyleTable& table, int row) {
    if (table.ColorDependent) {
        return wxString::Format("%ls %d", _("Color"), row + 1);
    }
    return toWxString(table.style(row)->locName());
}
