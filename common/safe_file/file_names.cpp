#include <cstdint>

#include <strings.h>

#include "safe_file.h"
#include "utf8_sequence.h"

namespace safefile {

namespace {

constexpr char16_t kEscapes = 0xDC00; // a byte b that is not UTF-8 becomes kEscapes + b

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

} // namespace

std::string extensionOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash)
               ? std::string()
               : path.substr(dot);
}

bool takesExtensionOf(const WriteTarget& target, const std::string& requested) {
    return target.kind == TargetKind::stream ||
           strcasecmp(extensionOf(target.path).c_str(), extensionOf(requested).c_str()) == 0;
}

std::u16string fileNameToUtf16(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t code = 0;
        const std::size_t length = decodeUtf8Sequence(bytes, at, code);
        if (length == 0) {
            text += char16_t(kEscapes + static_cast<std::uint8_t>(bytes[at++]));
        } else if (code >= 0x10000) {
            text += char16_t(0xD800 + ((code - 0x10000) >> 10));
            text += char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
            at += length;
        } else {
            text += char16_t(code);
            at += length;
        }
    }
    return text;
}

std::string fileNameFromUtf16(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char32_t unit = text[at];
        const bool pair = unit >= 0xD800 && unit < 0xDC00 && at + 1 < text.size() &&
                          text[at + 1] >= 0xDC00 && text[at + 1] < 0xE000;
        if (pair) {
            appendUtf8(bytes, 0x10000 + ((unit - 0xD800) << 10) + (text[++at] - 0xDC00));
        } else if (unit >= kEscapes + 0x80 && unit <= kEscapes + 0xFF) {
            bytes += char(unit - kEscapes);
        } else {
            appendUtf8(bytes, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
        }
    }
    return bytes;
}

} // namespace safefile
