#include "psl_value_text.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// The number without the blanks before it, in plain ASCII, or empty when the text holds a
// character that no number in the C notation holds: no "nan", "inf", hexadecimal or a
// locale's decimal comma gets through.
std::string numberCharacters(const wxString& text, const char* allowed) {
    const wxString number = wxString(text).Trim(false);
    if (number.empty() || number.find_first_not_of(allowed) != wxString::npos) {
        return std::string();
    }
    return number.ToStdString();
}

} // namespace

std::optional<long> parseInteger(const wxString& text) {
    const std::string number = numberCharacters(text, "+-0123456789");
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(number.c_str(), &end, 10);
    if (number.empty() || *end != '\0' || errno == ERANGE) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseDecimal(const wxString& text) {
    const std::string number = numberCharacters(text, "+-.0123456789eE");
    double value = 0.0;
    // The C locale's conversion of the whole text, which a host's locale cannot change; a number
    // beyond the range of a double fails.
    if (number.empty() || !wxString(number).ToCDouble(&value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseLocaleDecimal(const wxString& text) {
    const std::string number = numberCharacters(text, "+-.,0123456789eE");
    double value = 0.0;
    // strtod in the process's locale; ToDouble fails unless it takes the whole text.
    if (number.empty() || !wxString(number).ToDouble(&value) || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

namespace {

// to_chars writes numbers in the C notation and never asks the locale.
template <class... Format> wxString numberText(double value, Format... format) {
    char text[400];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value, format...);
    return wxString::FromAscii(text, std::size_t(written.ptr - text));
}

} // namespace

wxString fixedNumberText(double value, int decimals) {
    constexpr double kLargestFixed = 1e9;
    if (!(std::fabs(value) < kLargestFixed)) {
        return numberText(value);
    }
    return numberText(value, std::chars_format::fixed, decimals);
}

wxString generalNumberText(double value) {
    return numberText(value, std::chars_format::general, 6);
}
