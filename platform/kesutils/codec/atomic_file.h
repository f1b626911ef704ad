// Whole-file reads and writes for table files.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

// Reads at most maxSize bytes; a larger file is refused rather than loaded.
bool readWholeFile(const std::string& path, std::size_t maxSize, std::string& bytes,
                   std::string& error);

// Writes bytes to a temporary file next to path, flushes it to disk and renames it over path,
// keeping the replaced file's owner, group and permissions. A file whose permission bits deny
// the user writing is refused. On failure path is left exactly as it was, no temporary file
// remains and errno holds the cause. failAfterBytes lets tests make the write fail once that
// many bytes are written.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         std::size_t failAfterBytes = std::numeric_limits<std::size_t>::max());
