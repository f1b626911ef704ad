// Decoding one UTF-8 sequence strictly, for the file names of safe_file and the texts of the
// table codec alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace safefile {

// Length of the UTF-8 sequence that starts at bytes[at] and its code point; 0 when it is not
// valid UTF-8 (overlong, a surrogate, beyond U+10FFFF or cut short).
inline std::size_t decodeUtf8Sequence(std::string_view bytes, std::size_t at, char32_t& code) {
    const auto lead = static_cast<std::uint8_t>(bytes[at]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - at < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(bytes[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < minimum || code > 0x10FFFF || surrogate ? 0 : length;
}

} // namespace safefile
