#include "plot_text.h"

#include <cctype>
#include <cstdlib>

#include <wx/strconv.h>
#include <wx/string.h>

namespace {

std::string asUtf8(std::string_view raw) {
    const wxString valid = wxString::FromUTF8(raw.data(), raw.size());
    if (!valid.empty() || raw.empty()) {
        return std::string(raw);
    }
    const wxString text(raw.data(), wxCSConv(wxFONTENCODING_CP1252), raw.size());
    return std::string(text.utf8_str());
}

void appendCodePoint(std::string& out, unsigned long code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return;
    }
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | code >> 6);
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | code >> 18);
        out += char(0x80 | (code >> 12 & 0x3F));
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

bool isHex(std::string_view text) {
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

// Reads a \U+XXXX escape at text[at]; true and the escape's length in length when it is one.
bool unicodeEscape(std::string_view text, std::size_t at, std::string& out, std::size_t& length) {
    if (text.compare(at, 3, "\\U+") != 0 || at + 7 > text.size() ||
        !isHex(text.substr(at + 3, 4))) {
        return false;
    }
    appendCodePoint(out, std::strtoul(std::string(text.substr(at + 3, 4)).c_str(), nullptr, 16));
    length = 7;
    return true;
}

// Reads a %% code at text[at]; true and the code's length in length when it is one.
bool percentCode(std::string_view text, std::size_t at, std::string& out, std::size_t& length) {
    if (text.compare(at, 2, "%%") != 0 || at + 2 >= text.size()) {
        return false;
    }
    const char code = char(std::tolower(static_cast<unsigned char>(text[at + 2])));
    length = 3;
    switch (code) {
    case 'c':
        appendCodePoint(out, 0x2300); // diameter sign
        return true;
    case 'd':
        appendCodePoint(out, 0xB0); // degree sign
        return true;
    case 'p':
        appendCodePoint(out, 0xB1); // plus-minus sign
        return true;
    case '%':
        out += '%';
        return true;
    case 'u':
    case 'o':
    case 'k':
        return true;
    default:
        break;
    }
    std::size_t digits = 0;
    while (digits < 3 && at + 2 + digits < text.size() &&
           std::isdigit(static_cast<unsigned char>(text[at + 2 + digits]))) {
        ++digits;
    }
    if (digits == 0) {
        return false;
    }
    appendCodePoint(out,
                    std::strtoul(std::string(text.substr(at + 2, digits)).c_str(), nullptr, 10));
    length = 2 + digits;
    return true;
}

// "a^b", "a/b" or "a#b" of a stacked fraction as "a/b"; "a^" as "a".
std::string stacked(std::string_view text) {
    const std::size_t split = text.find_first_of("^/#");
    if (split == std::string_view::npos) {
        return std::string(text);
    }
    std::string result(text.substr(0, split));
    const std::string_view lower = text.substr(split + 1);
    if (!lower.empty()) {
        result += '/';
        result += lower;
    }
    return result;
}

} // namespace

std::string plainText(std::string_view raw) {
    const std::string text = asUtf8(raw);
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        if (percentCode(text, at, out, length) || unicodeEscape(text, at, out, length)) {
            at += length;
        } else {
            out += text[at++];
        }
    }
    return out;
}

std::string plainMultilineText(std::string_view raw) {
    const std::string text = asUtf8(raw);
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        const char c = text[at];
        if (percentCode(text, at, out, length) || unicodeEscape(text, at, out, length)) {
            at += length;
            continue;
        }
        if (c == '{' || c == '}') {
            ++at;
            continue;
        }
        if (c != '\\' || at + 1 >= text.size()) {
            out += c;
            ++at;
            continue;
        }
        const char code = text[at + 1];
        at += 2;
        const std::size_t end = std::min(text.find(';', at), text.size());
        switch (code) {
        case 'P':
        case 'N':
        case 'X':
            out += '\n';
            break;
        case '~':
            appendCodePoint(out, 0xA0); // no-break space
            break;
        case 'S':
            out += stacked(std::string_view(text).substr(at, end - at));
            at = end + 1;
            break;
        case 'f':
        case 'F':
        case 'H':
        case 'W':
        case 'Q':
        case 'T':
        case 'A':
        case 'C':
        case 'c':
        case 'p':
            at = end + 1;
            break;
        case 'M':
            // A double-byte character \M+nXXXX of an East Asian code page.
            at = std::min(text.size(), at + 6);
            break;
        case 'L':
        case 'l':
        case 'O':
        case 'o':
        case 'K':
        case 'k':
            break;
        default:
            out += code;
            break;
        }
    }
    return out;
}
