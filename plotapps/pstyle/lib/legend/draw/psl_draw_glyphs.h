// The outlines of glyphs, kept once made, so that texts at any angle and size are filled from
// the same shapes: cairo would otherwise load every glyph afresh for each angle.
#pragma once

#include <cstddef>
#include <map>
#include <utility>

#include <cairo.h>
#include <pango/pango.h>

class GlyphOutlines {
public:
    GlyphOutlines() = default;
    ~GlyphOutlines();
    GlyphOutlines(const GlyphOutlines&) = delete;
    GlyphOutlines& operator=(const GlyphOutlines&) = delete;

    // Adds the outlines of the layout's glyphs to cairo's path, the layout's top left corner at
    // (x, y). False, adding nothing, when the layout has a glyph that no font has.
    bool addLayout(cairo_t* cairo, PangoLayout* layout, double x, double y);

private:
    using Key = std::pair<cairo_font_face_t*, unsigned long>;

    // The outline of a glyph of the face, in units of kOutlineEm to the em.
    const cairo_path_t* outline(cairo_font_face_t* face, unsigned long glyph);
    void clear();

    cairo_t* scratch_ = nullptr;
    std::map<Key, cairo_path_t*> outlines_;
};
