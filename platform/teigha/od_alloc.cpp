#include <teigha/od_alloc.h>

#include <cstdlib>
#include <new>

void* odrxAlloc(std::size_t size) {
    void* memory = std::malloc(size ? size : 1);
    if (!memory) {
        throw std::bad_alloc();
    }
    return memory;
}

void odrxFree(void* memory) {
    std::free(memory);
}
