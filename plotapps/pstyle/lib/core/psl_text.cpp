#include "psl_text.h"

namespace {

// A byte of a file name that is not UTF-8.
bool isFileNameByte(char32_t unit) {
    return unit >= 0xDC80 && unit <= 0xDCFF;
}

wxString fromUtf16(const char16_t* text, std::size_t length) {
    wxString result;
    result.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            result += wxUniChar(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000 && !isFileNameByte(unit)) {
            result += wxUniChar(0xFFFD); // a lone surrogate cannot be shown
        } else {
            result += wxUniChar(unit);
        }
    }
    return result;
}

} // namespace

wxString toWxString(const char16_t* text) {
    return text ? fromUtf16(text, std::char_traits<char16_t>::length(text)) : wxString();
}

wxString toWxString(const std::u16string& text) {
    return fromUtf16(text.data(), text.size());
}

std::u16string toHostText(const wxString& text) {
    std::u16string result;
    result.reserve(text.length());
    for (const wxUniChar character : text) {
        const char32_t code = character.GetValue();
        if (code >= 0x10000) {
            result += char16_t(0xD800 + ((code - 0x10000) >> 10));
            result += char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            result += char16_t(code);
        }
    }
    return result;
}
