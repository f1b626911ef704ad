// The binary envelope of a table file: a fixed header naming the kind, then a zlib stream
// holding the table text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Nothing a real table needs comes near these (a colour-dependent table holds some 100 KB of
// text, 10,000 named styles 3.2 MB); they bound what a hostile file can make every command hold
// and spend. The compressed text is never much larger than the text.
constexpr std::size_t kMaxTableTextSize = 4u << 20;
constexpr std::size_t kMaxTableFileSize = kMaxTableTextSize + (1u << 20);

// Where the body starts in the files this writer makes.
constexpr std::size_t kCanonicalBodyOffset = 60;
// The text repeats itself so much that the fastest level already shrinks it well; every save
// pays for the compression, the few extra bytes cost nothing. Styles repeat within a few hundred
// bytes, so a small window finds the same matches with a sixth of zlib's usual memory, which is
// memory that every save would otherwise take fresh from the system.
constexpr int kTableCompressionLevel = 1;
constexpr int kTableWindowBits = 13;
constexpr int kTableMemoryLevel = 5;

struct TableContainer {
    bool colorDependent = false;
    std::string text;
};

// The bytes that start every table file of the kind; both are of one length.
std::string_view tableHeader(bool colorDependent);

// Fills content from a file's bytes, or returns false with the reason in error.
bool unpackTableContainer(const std::uint8_t* data, std::size_t size, TableContainer& content,
                          std::string& error);
// Puts the file's bytes in canonical 60-byte header form into file, compressing the text as
// nextPiece hands it out until it returns an empty piece; false when compressing failed.
bool packTableContainer(bool colorDependent, const std::function<std::string_view()>& nextPiece,
                        std::string& file);
bool packTableContainer(bool colorDependent, std::string_view text, std::string& file);
