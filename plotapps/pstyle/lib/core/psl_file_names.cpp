#include "psl_file_names.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>

#include <glib.h>

#include <wx/strconv.h>

#include <safe_file.h>
#include <utf8_sequence.h>

#include "psl_text.h"

namespace {

class FileNameConversion : public wxMBConv {
public:
    size_t ToWChar(wchar_t* out, size_t outLength, const char* in,
                   size_t inLength = wxNO_LEN) const override {
        // A NUL-terminated input gives a NUL-terminated output, the NUL counted.
        const size_t length = inLength == wxNO_LEN ? std::strlen(in) + 1 : inLength;
        const wxString text = fileNameFromBytes(std::string_view(in, length));
        return copied(text.wc_str(), text.length(), out, outLength);
    }
    size_t FromWChar(char* out, size_t outLength, const wchar_t* in,
                     size_t inLength = wxNO_LEN) const override {
        const size_t length = inLength == wxNO_LEN ? std::wcslen(in) + 1 : inLength;
        const std::string bytes = fileNameToBytes(wxString(in, length));
        return copied(bytes.data(), bytes.size(), out, outLength);
    }
    wxMBConv* Clone() const override { return new FileNameConversion; }

private:
    // Without out, only how long the result is.
    template <typename Unit>
    static size_t copied(const Unit* result, size_t length, Unit* out, size_t outLength) {
        if (out && outLength < length) {
            return wxCONV_FAILED;
        }
        if (out) {
            std::copy(result, result + length, out);
        }
        return length;
    }
};

bool isAsciiDigit(char32_t code) {
    return code >= '0' && code <= '9';
}

// What a path is compared by: its letters case folded, a byte that is not UTF-8 as U+DC80 and
// on, and a folder separator before every other character.
std::u32string comparisonKey(std::string_view bytes) {
    std::u32string key;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = at;
        for (char32_t code = 0; end < bytes.size();) {
            const std::size_t length = safefile::decodeUtf8Sequence(bytes, end, code);
            if (length == 0) {
                break;
            }
            end += length;
        }
        if (end > at) {
            const std::unique_ptr<gchar, decltype(&g_free)> folded(
                g_utf8_casefold(bytes.data() + at, gssize(end - at)), g_free);
            glong length = 0;
            const std::unique_ptr<gunichar, decltype(&g_free)> codes(
                g_utf8_to_ucs4_fast(folded.get(), -1, &length), g_free);
            key.append(codes.get(), codes.get() + length);
        }
        if (end < bytes.size()) {
            key += char32_t(0xDC00 + static_cast<unsigned char>(bytes[end++]));
        }
        at = end;
    }
    std::replace(key.begin(), key.end(), char32_t('/'), char32_t(0));
    return key;
}

// Negative, zero or positive as left comes before, with or after right; a run of digits counts
// by its value, leading zeros aside.
int compareKeys(const std::u32string& left, const std::u32string& right) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < left.size() && j < right.size()) {
        if (isAsciiDigit(left[i]) && isAsciiDigit(right[j])) {
            while (i < left.size() && left[i] == '0') {
                ++i;
            }
            while (j < right.size() && right[j] == '0') {
                ++j;
            }
            std::size_t leftEnd = i;
            std::size_t rightEnd = j;
            while (leftEnd < left.size() && isAsciiDigit(left[leftEnd])) {
                ++leftEnd;
            }
            while (rightEnd < right.size() && isAsciiDigit(right[rightEnd])) {
                ++rightEnd;
            }
            if (leftEnd - i != rightEnd - j) {
                return leftEnd - i < rightEnd - j ? -1 : 1;
            }
            const int digits = left.compare(i, leftEnd - i, right, j, rightEnd - j);
            if (digits != 0) {
                return digits;
            }
            i = leftEnd;
            j = rightEnd;
        } else if (left[i] != right[j]) {
            return left[i] < right[j] ? -1 : 1;
        } else {
            ++i;
            ++j;
        }
    }
    return int(i < left.size()) - int(j < right.size());
}

void appendEscaped(std::string& quoted, unsigned char byte) {
    static const char* const kEscapes = "\a\b\t\n\v\f\r";
    static const char* const kLetters = "abtnvfr";
    if (byte != 0 && std::strchr(kEscapes, byte)) {
        quoted += '\\';
        quoted += kLetters[std::strchr(kEscapes, byte) - kEscapes];
    } else if (byte == '"' || byte == '\\') {
        quoted += '\\';
        quoted += char(byte);
    } else {
        const char digits[] = {'\\', char('0' + (byte >> 6)), char('0' + ((byte >> 3) & 7)),
                               char('0' + (byte & 7))};
        quoted.append(digits, sizeof digits);
    }
}

} // namespace

wxString fileNameFromBytes(std::string_view bytes) {
    return toWxString(safefile::fileNameToUtf16(bytes));
}

std::string fileNameToBytes(const wxString& name) {
    return safefile::fileNameFromUtf16(toHostText(name));
}

wxMBConv& fileNameConversion() {
    static FileNameConversion conversion;
    return conversion;
}

std::string lineQuotedFileName(std::string_view bytes) {
    std::string quoted = "\"";
    bool plain = true;
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t code = 0;
        std::size_t length = safefile::decodeUtf8Sequence(bytes, at, code);
        if (length > 0 && g_unichar_isprint(code) && code != '"' && code != '\\') {
            quoted.append(bytes.substr(at, length));
        } else {
            plain = false;
            length = std::max<std::size_t>(length, 1);
            for (std::size_t byte = at; byte < at + length; ++byte) {
                appendEscaped(quoted, static_cast<unsigned char>(bytes[byte]));
            }
        }
        at += length;
    }
    return plain ? std::string(bytes) : quoted + '"';
}

void sortFileNamesForReading(std::vector<std::string>& paths) {
    std::vector<std::u32string> keys;
    keys.reserve(paths.size());
    for (const std::string& path : paths) {
        keys.push_back(comparisonKey(path));
    }
    std::vector<std::size_t> order(paths.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(), [&](std::size_t left, std::size_t right) {
        const int compared = compareKeys(keys[left], keys[right]);
        return compared != 0 ? compared < 0 : paths[left] < paths[right];
    });
    std::vector<std::string> sorted;
    sorted.reserve(paths.size());
    for (const std::size_t index : order) {
        sorted.push_back(std::move(paths[index]));
    }
    paths = std::move(sorted);
}
