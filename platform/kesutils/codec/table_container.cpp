#include "table_container.h"

#include <algorithm>

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

bool inflateText(const std::uint8_t* body, std::size_t size, std::string& text,
                 std::string& error) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        error = "the decompressor could not be started";
        return false;
    }
    stream.next_in = const_cast<Bytef*>(body);
    stream.avail_in = static_cast<uInt>(size);
    int status = Z_OK;
    char chunk[16384];
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        const std::size_t produced = sizeof chunk - stream.avail_out;
        if (text.size() + produced > kMaxTableTextSize) {
            inflateEnd(&stream);
            error =
                "the table text is larger than " + std::to_string(kMaxTableTextSize >> 20) + " MiB";
            return false;
        }
        text.append(chunk, produced);
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END) {
        error = "the compressed table text is damaged or incomplete";
        return false;
    }
    return true;
}

void appendLittleEndian(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out += char((value >> shift) & 0xFF);
    }
}

} // namespace

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
    content.text.clear();
    return inflateText(data + offset, size - offset, content.text, error);
}

bool packTableContainer(bool colorDependent, std::string_view text, std::string& file) {
    uLongf compressedSize = compressBound(static_cast<uLong>(text.size()));
    std::string body(compressedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(body.data()), &compressedSize,
                  reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                  kTableCompressionLevel) != Z_OK) {
        return false;
    }
    body.resize(compressedSize);

    file = colorDependent ? kColorDependentHeader : kNamedHeader;
    appendLittleEndian(file, static_cast<std::uint32_t>(adler32(
                                 adler32(0, nullptr, 0),
                                 reinterpret_cast<const Bytef*>(body.data()), compressedSize)));
    appendLittleEndian(file, static_cast<std::uint32_t>(text.size()));
    appendLittleEndian(file, static_cast<std::uint32_t>(body.size()));
    file += body;
    return true;
}
