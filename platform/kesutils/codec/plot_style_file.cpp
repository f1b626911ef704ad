#include <kesutils/plot_style_table.h>

#include <cerrno>
#include <new>

#include <unistd.h>

#include <safe_file.h>

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

// The file name's bytes: names that are not UTF-8 come as U+DC80..U+DCFF, one for each byte.
std::string pathOf(const char16_t* path) {
    return path ? safefile::fileNameFromUtf16(path) : std::string();
}

// A save lands on a file with the extension it was given, which holds a plot style table or
// nothing yet: no link turns a save into the overwriting of another kind of file. Either header
// will do, as other writers put the colour-dependent one on named tables too.
std::string unfitTarget(const safefile::WriteTarget& target, const std::string& requested) {
    if (target.kind == safefile::TargetKind::stream) {
        return std::string();
    }
    if (!safefile::takesExtensionOf(target, requested)) {
        const std::string wanted = safefile::extensionOf(requested);
        return "does not have the extension " + (wanted.empty() ? "(none)" : wanted) + " of " +
               requested;
    }
    if (target.kind == safefile::TargetKind::regularFile) {
        std::string start(tableHeader(true).size(), '\0');
        const ssize_t size = pread(target.descriptor, start.data(), start.size(), 0);
        if (size != 0 && start != tableHeader(true) && start != tableHeader(false)) {
            return "is not a plot style table";
        }
    }
    return std::string();
}

safefile::WriteOptions tableWriteOptions(const std::string& path) {
    safefile::WriteOptions options;
    options.checkKind = [path](const safefile::WriteTarget& target) {
        return unfitTarget(target, path);
    };
    return options;
}

} // namespace

PlotStyleTablePtr readPlotStyleTableFromText(std::string_view text, bool colorDependent,
                                             std::string& error, PlotStyleReadReport* report) {
    try {
        text = withoutTrailingFill(text);
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
            return parseTableText(windows1252ToUtf8(text), colorDependent, error, report);
        }
        return parseTableText(text, colorDependent, error, report);
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read the table";
        return nullptr;
    }
}

PlotStyleTablePtr readPlotStyleTableFromMemory(const std::uint8_t* data, std::size_t size,
                                               std::string& error, PlotStyleReadReport* report) {
    try {
        TableContainer content;
        if (!unpackTableContainer(data, size, content, error)) {
            return nullptr;
        }
        return readPlotStyleTableFromText(content.text, content.colorDependent, error, report);
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read the table";
        return nullptr;
    }
}

bool writePlotStyleTableToMemory(const CPlotStyleTable& table, std::string& bytes,
                                 std::string& error) {
    // What the reader would refuse is not written: a saved table always opens again.
    error = tableBeyondLimits(table);
    if (!error.empty()) {
        errno = EFBIG;
        return false;
    }
    TableTextPieces pieces(table);
    std::size_t textSize = 0;
    const bool packed = packTableContainer(
        table.ColorDependent,
        [&]() {
            const std::string_view piece = pieces.next();
            textSize += piece.size();
            return piece;
        },
        bytes);
    if (!packed) {
        errno = ENOMEM;
        error = "the table could not be compressed";
        return false;
    }
    if (textSize > kMaxTableTextSize) {
        errno = EFBIG;
        error = "the table text would be larger than " + std::to_string(kMaxTableTextSize >> 20) +
                " MiB";
        return false;
    }
    return true;
}

PlotStyleTablePtr readPlotStyleTableFile(const std::string& path, std::string& error,
                                         PlotStyleReadReport* report) {
    std::string bytes;
    safefile::Failure failure;
    if (!safefile::readFile(path, kMaxTableFileSize, bytes, failure)) {
        error = failure.message();
        errno = failure.error;
        return nullptr;
    }
    return readPlotStyleTableFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                        bytes.size(), error, report);
}

bool writePlotStyleTableFile(const CPlotStyleTable& table, const std::string& path,
                             std::string& error) {
    try {
        std::string bytes;
        if (!writePlotStyleTableToMemory(table, bytes, error)) {
            return false;
        }
        safefile::Failure failure;
        if (!safefile::writeFile(path, bytes, tableWriteOptions(path), failure)) {
            error = failure.message();
            errno = failure.error;
            return false;
        }
        return true;
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
    PlotStyleReadReport report;
    return read(path, reason, report);
}

CPlotStyleTable* CPlotStyleTable::read(const char16_t* path, std::u16string& reason,
                                       PlotStyleReadReport& report) {
    std::string error;
    report = PlotStyleReadReport();
    PlotStyleTablePtr table = readPlotStyleTableFile(pathOf(path), error, &report);
    // The reason may name the file, whose name need not be UTF-8.
    reason = table ? std::u16string() : safefile::fileNameToUtf16(error);
    return table.release();
}

bool CPlotStyleTable::write(const char16_t* path) const {
    std::string error;
    return writePlotStyleTableFile(*this, pathOf(path), error);
}

bool CPlotStyleTable::canWrite(const char16_t* path, std::u16string& reason) const {
    const std::string target = pathOf(path);
    safefile::Failure failure;
    const bool writable = safefile::checkWriteTarget(target, tableWriteOptions(target), failure);
    reason = writable ? std::u16string() : safefile::fileNameToUtf16(failure.message());
    return writable;
}
