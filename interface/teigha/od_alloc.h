// Memory shared by the host libraries: an object made by one of them is released with the same
// allocator, whichever library releases it.
#pragma once

#include <cstddef>

void* odrxAlloc(std::size_t size);
void odrxFree(void* memory);
