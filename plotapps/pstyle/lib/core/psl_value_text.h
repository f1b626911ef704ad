// Numbers typed by people and given by scripts, read in one way everywhere: the whole text in the
// C library's notation with a decimal point, whatever the process's locale. Text that is not a
// number ("Varies", "", "abc", "1.2.3") and numbers that are not finite ("nan", "inf", "1e999")
// give no value. Numbers written for files and scripts keep the decimal point too.
#pragma once

#include <optional>

#include <wx/string.h>

// Blanks may lead; nothing may follow the number.
std::optional<long> parseInteger(const wxString& text);
std::optional<double> parseDecimal(const wxString& text);
// A number as printf's "%g" shows it to people in the process's locale, with a decimal comma
// where the locale has one: the scale factor field. The same refusals otherwise.
std::optional<double> parseLocaleDecimal(const wxString& text);

// With exactly decimals digits after the point, as printf's "%.*f" in the C locale. Numbers of a
// billion or more and those that are not finite, which only other programs store in tables,
// take the shortest form that reads back the same ("1e+308", "nan", "-inf") instead of hundreds
// of digits.
wxString fixedNumberText(double value, int decimals);
// As printf's "%g" in the C locale.
wxString generalNumberText(double value);
