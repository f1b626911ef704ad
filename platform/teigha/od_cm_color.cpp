#include <teigha/od_cm_color.h>

#include "dark_palette.h"

namespace {
constexpr std::uint32_t methodWord(OdCmColor::ColorMethod method) {
    return std::uint32_t(method) << 24;
}
} // namespace

OdCmColor OdCmColor::fromColor(std::uint32_t word) {
    OdCmColor color;
    switch (word >> 24) {
    case kByColor:
    case kByLayer:
    case kByBlock:
        color.word_ = word;
        break;
    case kByACI:
        color.setColorIndex(word & 0xFF);
        break;
    default:
        break;
    }
    return color;
}

void OdCmColor::setColorIndex(std::uint16_t index) {
    word_ = (index >= 1 && index <= 255) ? methodWord(kByACI) | index : methodWord(kNone);
}

void OdCmColor::setRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    word_ = methodWord(kByColor) | std::uint32_t(red) << 16 | std::uint32_t(green) << 8 | blue;
}

void OdCmColor::setNone() {
    word_ = methodWord(kNone);
}

std::uint16_t OdCmColor::colorIndex() const {
    return isByACI() ? word_ & 0xFF : 0;
}

std::uint32_t OdCmColor::rgb() const {
    if (isByColor()) {
        return word_ & 0xFFFFFF;
    }
    if (isByACI()) {
        const std::uint32_t entry = kDarkPalette[colorIndex()];
        return (entry & 0xFF) << 16 | (entry & 0xFF00) | (entry >> 16 & 0xFF);
    }
    return 0;
}

std::uint8_t OdCmColor::red() const {
    return rgb() >> 16 & 0xFF;
}
std::uint8_t OdCmColor::green() const {
    return rgb() >> 8 & 0xFF;
}
std::uint8_t OdCmColor::blue() const {
    return rgb() & 0xFF;
}

const std::uint32_t* odcmDarkPalette() {
    return kDarkPalette;
}
