#include <kesutils/plot_style_table.h>

#include <cerrno>
#include <new>

#include "atomic_file.h"
#include "plot_style_codec.h"
#include "table_container.h"
#include "table_text.h"
#include "text_encoding.h"

namespace {

// Writers end the text with NUL bytes and blanks; anything after the last line is not the table.
std::string_view withoutTrailingFill(std::string_view text) {
    const std::size_t end = text.find_last_not_of(std::string_view(" \t\r\n\0", 5));
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string pathToUtf8(const char16_t* path) {
    return path ? utf16ToUtf8(path) : std::string();
}

} // namespace

PlotStyleTablePtr readPlotStyleTableFromMemory(const std::uint8_t* data, std::size_t size,
                                               std::string& error) {
    try {
        TableContainer content;
        if (!unpackTableContainer(data, size, content, error)) {
            return nullptr;
        }
        std::string_view text = withoutTrailingFill(content.text);
        if (text.find('\0') != std::string_view::npos) {
            error = "the table text holds a NUL byte";
            return nullptr;
        }
        constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
        if (text.substr(0, byteOrderMark.size()) == byteOrderMark) {
            text.remove_prefix(byteOrderMark.size());
        }
        // Older writers used the Windows-1252 code page; their texts are rarely valid UTF-8.
        if (!isValidUtf8(text)) {
            return parseTableText(windows1252ToUtf8(text), content.colorDependent, error);
        }
        return parseTableText(text, content.colorDependent, error);
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read the table";
        return nullptr;
    }
}

bool writePlotStyleTableToMemory(const CPlotStyleTable& table, std::string& bytes) {
    TableTextPieces pieces(table);
    return packTableContainer(
        table.ColorDependent, [&pieces]() { return pieces.next(); }, bytes);
}

PlotStyleTablePtr readPlotStyleTableFile(const std::string& path, std::string& error) {
    std::string bytes;
    if (!readWholeFile(path, kMaxTableFileSize, bytes, error)) {
        return nullptr;
    }
    return readPlotStyleTableFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                        bytes.size(), error);
}

bool writePlotStyleTableFile(const CPlotStyleTable& table, const std::string& path,
                             std::string& error) {
    try {
        std::string bytes;
        if (!writePlotStyleTableToMemory(table, bytes)) {
            errno = ENOMEM;
            error = "the table could not be compressed";
            return false;
        }
        return writeFileAtomically(path, bytes, error);
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        error = "not enough memory to write the table";
        return false;
    }
}

CPlotStyleTable* CPlotStyleTable::read(const char16_t* path) {
    std::u16string reason;
    return read(path, reason);
}

CPlotStyleTable* CPlotStyleTable::read(const char16_t* path, std::u16string& reason) {
    std::string error;
    PlotStyleTablePtr table = readPlotStyleTableFile(pathToUtf8(path), error);
    reason = table ? std::u16string()
                   : utf8ToUtf16(isValidUtf8(error) ? error : windows1252ToUtf8(error));
    return table.release();
}

bool CPlotStyleTable::write(const char16_t* path) const {
    std::string error;
    return writePlotStyleTableFile(*this, pathToUtf8(path), error);
}
