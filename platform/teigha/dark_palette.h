#pragma once

#include <cstdint>

// Red in bits 0 to 7, green 8 to 15, blue 16 to 23; entry 0 is unused.
extern const std::uint32_t kDarkPalette[256];
