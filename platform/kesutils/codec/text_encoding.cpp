#include "text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <utf8_sequence.h>

namespace {

// Code points of 0x80 to 0x9F; the five unassigned bytes keep their C1 control code point.
const char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char* putUtf8(char* out, char32_t code) {
    if (code < 0x80) {
        *out++ = char(code);
    } else if (code < 0x800) {
        *out++ = char(0xC0 | (code >> 6));
        *out++ = char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = char(0xE0 | (code >> 12));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
        *out++ = char(0x80 | (code & 0x3F));
    } else {
        *out++ = char(0xF0 | (code >> 18));
        *out++ = char(0x80 | ((code >> 12) & 0x3F));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
        *out++ = char(0x80 | (code & 0x3F));
    }
    return out;
}

// Where the run of bytes below 0x80 that starts at bytes[at] ends. Texts are mostly such
// bytes: they are checked 32 at a time.
std::size_t endOfAscii(std::string_view bytes, std::size_t at) {
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    std::uint64_t words[4];
    while (at + sizeof words <= bytes.size()) {
        std::memcpy(words, bytes.data() + at, sizeof words);
        if ((words[0] | words[1] | words[2] | words[3]) & highBits) {
            break;
        }
        at += sizeof words;
    }
    while (at < bytes.size() && static_cast<std::uint8_t>(bytes[at]) < 0x80) {
        ++at;
    }
    return at;
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    char32_t code = 0;
    for (std::size_t at = endOfAscii(bytes, 0); at < bytes.size(); at = endOfAscii(bytes, at)) {
        const std::size_t length = safefile::decodeUtf8Sequence(bytes, at, code);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out(bytes.size() * 3, '\0');
    char* end = out.data();
    for (const char byte : bytes) {
        const auto value = static_cast<std::uint8_t>(byte);
        end = putUtf8(end, value >= 0x80 && value < 0xA0 ? kWindows1252High[value - 0x80] : value);
    }
    out.resize(std::size_t(end - out.data()));
    return out;
}

void appendAsUtf16(std::u16string& out, std::string_view utf8) {
    const std::size_t ascii = endOfAscii(utf8, 0);
    const std::size_t start = out.size();
    out.resize(start + ascii);
    std::copy(utf8.begin(), utf8.begin() + ascii, out.begin() + start);
    char32_t code = 0;
    for (std::size_t at = ascii; at < utf8.size();) {
        const std::size_t length = safefile::decodeUtf8Sequence(utf8, at, code);
        if (length == 0) {
            code = 0xFFFD;
        }
        at += length ? length : 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            out += char16_t(0xD800 | (code >> 10));
            out += char16_t(0xDC00 | (code & 0x3FF));
        } else {
            out += char16_t(code);
        }
    }
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    appendAsUtf16(out, utf8);
    return out;
}

char* encodeUtf8(std::u16string_view text, char* out) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        char32_t code = text[at];
        if (code < 0x80) {
            *out++ = char(code);
            continue;
        }
        if (code >= 0xD800 && code <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
            text[at + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++at] - 0xDC00);
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        out = putUtf8(out, code);
    }
    return out;
}

std::size_t utf8Length(std::u16string_view text) {
    std::size_t length = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t code = text[at];
        if (code < 0x80) {
            length += 1;
        } else if (code < 0x800) {
            length += 2;
        } else if (code >= 0xD800 && code <= 0xDBFF && at + 1 < text.size() &&
                   text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF) {
            length += 4;
            ++at;
        } else {
            length += 3; // U+FFFD too
        }
    }
    return length;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out(text.size() * kMaxUtf8PerUtf16, '\0');
    out.resize(std::size_t(encodeUtf8(text, out.data()) - out.data()));
    return out;
}
