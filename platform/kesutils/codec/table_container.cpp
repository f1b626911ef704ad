#include "table_container.h"

#include <algorithm>
#include <functional>

#include <zlib.h>

namespace {

constexpr std::string_view kColorDependentHeader =
    "PIAFILEVERSION_2.0,CTBVER1,compress\r\npmzlibcodec";
constexpr std::string_view kNamedHeader = "PIAFILEVERSION_2.0,STBVER1,compress\r\npmzlibcodec";
// Some writers store the three header numbers as 8-byte fields.
constexpr std::size_t kWideBodyOffset = 72;

bool startsZlibStream(const std::uint8_t* data, std::size_t size, std::size_t offset) {
    if (size < offset + 2) {
        return false;
    }
    const unsigned method = data[offset];
    const unsigned flags = data[offset + 1];
    return (method & 0x0F) == Z_DEFLATED && (method >> 4) <= 7 && (method * 256 + flags) % 31 == 0;
}

std::uint32_t readLittleEndian(const std::uint8_t* at) {
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 |
           std::uint32_t(at[3]) << 24;
}

// Inflates straight into text. The size the header gives is only a hint: it sets the first
// allocation, bounded by what the body could possibly hold, and the text grows from there.
bool inflateText(const std::uint8_t* body, std::size_t size, std::size_t sizeHint,
                 std::string& text, std::string& error) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        error = "the decompressor could not be started";
        return false;
    }
    stream.next_in = const_cast<Bytef*>(body);
    stream.avail_in = static_cast<uInt>(size);
    constexpr std::size_t kMaxExpansion = 1032; // what deflate can make of one byte at most
    text.resize(std::min(
        {std::max<std::size_t>(sizeHint, 4096), size * kMaxExpansion, kMaxTableTextSize + 1}));
    std::size_t produced = 0;
    int status = Z_OK;
    while (status == Z_OK && produced <= kMaxTableTextSize) {
        if (produced == text.size()) {
            text.resize(std::min(text.size() * 2, kMaxTableTextSize + 1));
        }
        stream.next_out = reinterpret_cast<Bytef*>(text.data() + produced);
        stream.avail_out = static_cast<uInt>(text.size() - produced);
        status = inflate(&stream, Z_NO_FLUSH);
        produced = text.size() - stream.avail_out;
    }
    inflateEnd(&stream);
    if (produced > kMaxTableTextSize) {
        error = "the table text is larger than " + std::to_string(kMaxTableTextSize >> 20) + " MiB";
        return false;
    }
    if (status != Z_STREAM_END) {
        error = "the compressed table text is damaged or incomplete";
        return false;
    }
    text.resize(produced);
    return true;
}

void storeLittleEndian(std::string& out, std::size_t at, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8, ++at) {
        out[at] = char((value >> shift) & 0xFF);
    }
}

} // namespace

std::string_view tableHeader(bool colorDependent) {
    return colorDependent ? kColorDependentHeader : kNamedHeader;
}

bool unpackTableContainer(const std::uint8_t* data, std::size_t size, TableContainer& content,
                          std::string& error) {
    const std::string_view header(reinterpret_cast<const char*>(data),
                                  std::min(size, kColorDependentHeader.size()));
    if (header == kColorDependentHeader) {
        content.colorDependent = true;
    } else if (header == kNamedHeader) {
        content.colorDependent = false;
    } else {
        error = "it is not a plot style table file (unknown header)";
        return false;
    }
    if (size > kMaxTableFileSize) {
        error = "the file is too large for a plot style table";
        return false;
    }
    std::size_t offset = kCanonicalBodyOffset;
    if (!startsZlibStream(data, size, offset)) {
        offset = kWideBodyOffset;
        if (!startsZlibStream(data, size, offset)) {
            error = "the file is truncated or its compressed body is missing";
            return false;
        }
    }
    // The text's size follows the checksum, both in 4-byte fields or both in 8-byte ones.
    const std::size_t checksumSize = offset == kCanonicalBodyOffset ? 4 : 8;
    const std::size_t sizeHint =
        readLittleEndian(data + kColorDependentHeader.size() + checksumSize);
    return inflateText(data + offset, size - offset, sizeHint, content.text, error);
}

bool packTableContainer(bool colorDependent, const std::function<std::string_view()>& nextPiece,
                        std::string& file) {
    z_stream stream{};
    if (deflateInit2(&stream, kTableCompressionLevel, Z_DEFLATED, kTableWindowBits,
                     kTableMemoryLevel, Z_DEFAULT_STRATEGY) != Z_OK) {
        return false;
    }
    file = colorDependent ? kColorDependentHeader : kNamedHeader;
    file.resize(kCanonicalBodyOffset + 16384);
    std::size_t used = kCanonicalBodyOffset;
    std::size_t textSize = 0;
    int status = Z_OK;
    for (int flush = Z_NO_FLUSH; flush != Z_FINISH && status != Z_STREAM_ERROR;) {
        const std::string_view piece = nextPiece();
        flush = piece.empty() ? Z_FINISH : Z_NO_FLUSH;
        textSize += piece.size();
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
        stream.avail_in = static_cast<uInt>(piece.size());
        do {
            if (used == file.size()) {
                file.resize(file.size() * 2);
            }
            stream.next_out = reinterpret_cast<Bytef*>(file.data() + used);
            stream.avail_out = static_cast<uInt>(file.size() - used);
            status = deflate(&stream, flush);
            used = file.size() - stream.avail_out;
        } while (stream.avail_out == 0 && status != Z_STREAM_ERROR);
    }
    deflateEnd(&stream);
    if (status != Z_STREAM_END) {
        return false;
    }
    file.resize(used);

    const auto* body = reinterpret_cast<const Bytef*>(file.data() + kCanonicalBodyOffset);
    const std::size_t bodySize = used - kCanonicalBodyOffset;
    const std::size_t header = kColorDependentHeader.size();
    storeLittleEndian(
        file, header,
        static_cast<std::uint32_t>(adler32(adler32(0, nullptr, 0), body, uInt(bodySize))));
    storeLittleEndian(file, header + 4, static_cast<std::uint32_t>(textSize));
    storeLittleEndian(file, header + 8, static_cast<std::uint32_t>(bodySize));
    return true;
}

bool packTableContainer(bool colorDependent, std::string_view text, std::string& file) {
    bool handedOut = false;
    return packTableContainer(
        colorDependent,
        [&]() {
            const std::string_view piece = handedOut ? std::string_view() : text;
            handedOut = true;
            return piece;
        },
        file);
}
