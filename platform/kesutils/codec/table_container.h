// The binary envelope of a table file: a fixed header naming the kind, then a zlib stream
// holding the table text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Nothing a real table needs comes near these; they bound what a hostile file can make us hold.
constexpr std::size_t kMaxTableFileSize = 64u << 20;
constexpr std::size_t kMaxTableTextSize = 16u << 20;

struct TableContainer {
    bool colorDependent = false;
    std::string text;
};

// Fills content from a file's bytes, or returns false with the reason in error.
bool unpackTableContainer(const std::uint8_t* data, std::size_t size, TableContainer& content,
                          std::string& error);
// Puts the file's bytes in canonical 60-byte header form into file; false when compressing failed.
bool packTableContainer(bool colorDependent, std::string_view text, std::string& file);
