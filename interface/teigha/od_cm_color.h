// A colour as the CAD host stores it: none, an index of the colour index palette (1 to 255), or a
// true colour. color() packs it into one 32-bit word whose top byte names the method.
#pragma once

#include <cstdint>

class OdCmColor {
public:
    enum ColorMethod : std::uint8_t {
        kByLayer = 0xC0,
        kByBlock = 0xC1,
        kByColor = 0xC2, // low three bytes: 0xRRGGBB
        kByACI = 0xC3,   // low byte: the colour index
        kNone = 0xC5,
    };

    OdCmColor() = default; // none

    // Rebuilds a colour from a word that color() returned.
    static OdCmColor fromColor(std::uint32_t word);

    void setColorIndex(std::uint16_t index); // 1 to 255; anything else makes the colour none
    void setRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void setNone();

    std::uint32_t color() const { return word_; }
    ColorMethod colorMethod() const { return static_cast<ColorMethod>(word_ >> 24); }
    bool isNone() const { return colorMethod() == kNone; }
    bool isByACI() const { return colorMethod() == kByACI; }
    bool isByColor() const { return colorMethod() == kByColor; }
    std::uint16_t colorIndex() const; // 0 unless by index

    // The colour's red, green and blue; an index colour resolves through the dark palette.
    std::uint8_t red() const;
    std::uint8_t green() const;
    std::uint8_t blue() const;

    bool operator==(const OdCmColor& other) const { return word_ == other.word_; }
    bool operator!=(const OdCmColor& other) const { return word_ != other.word_; }

private:
    std::uint32_t rgb() const;

    std::uint32_t word_ = std::uint32_t(kNone) << 24;
};

// The 256-entry colour index palette for a dark background, red in bits 0 to 7, green in bits 8
// to 15, blue in bits 16 to 23. Entry 0 is unused.
const std::uint32_t* odcmDarkPalette();
