// A growing block of text with one capacity check per append and no call into the library for
// short ones: the table writer makes some twelve thousand appends for a table of 255 styles.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

class TextBuffer {
public:
    std::string_view view() const { return {bytes_.data(), size_}; }
    bool empty() const { return size_ == 0; }
    void clear() { size_ = 0; }

    // Room for count more bytes at the end, returned; give back what was not used with shrink.
    char* extend(std::size_t count) {
        if (size_ + count > bytes_.size()) {
            bytes_.resize(std::max(bytes_.size() * 2, size_ + count + 4096));
        }
        char* at = bytes_.data() + size_;
        size_ += count;
        return at;
    }
    void shrink(std::size_t count) { size_ -= count; }

    TextBuffer& operator+=(std::string_view text) {
        std::memcpy(extend(text.size()), text.data(), text.size());
        return *this;
    }
    TextBuffer& operator+=(char c) {
        *extend(1) = c;
        return *this;
    }

private:
    std::string bytes_;
    std::size_t size_ = 0;
};
