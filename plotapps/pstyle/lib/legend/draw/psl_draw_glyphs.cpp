#include "psl_draw_glyphs.h"

#include <pango/pangocairo.h>

namespace {

// Outlines are made at this many units to the em, where FreeType's fixed point is far finer
// than any drawing needs.
constexpr double kOutlineEm = 1024;
// A drawing with texts of thousands of fonts would keep too many; past this the outlines are
// made again.
constexpr std::size_t kMostOutlines = 10000;

} // namespace

GlyphOutlines::~GlyphOutlines() {
    clear();
    if (scratch_) {
        cairo_destroy(scratch_);
    }
}

void GlyphOutlines::clear() {
    for (auto& [key, path] : outlines_) {
        cairo_font_face_destroy(key.first);
        cairo_path_destroy(path);
    }
    outlines_.clear();
}

const cairo_path_t* GlyphOutlines::outline(cairo_font_face_t* face, unsigned long glyph) {
    const auto known = outlines_.find({face, glyph});
    if (known != outlines_.end()) {
        return known->second;
    }
    if (outlines_.size() >= kMostOutlines) {
        clear();
    }
    if (!scratch_) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
        scratch_ = cairo_create(surface);
        cairo_surface_destroy(surface);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_set_font_options(scratch_, options);
        cairo_font_options_destroy(options);
        cairo_set_font_size(scratch_, kOutlineEm);
    }
    cairo_set_font_face(scratch_, face);
    cairo_new_path(scratch_);
    const cairo_glyph_t shape{glyph, 0, 0};
    cairo_glyph_path(scratch_, &shape, 1);
    cairo_path_t* path = cairo_copy_path(scratch_);
    cairo_new_path(scratch_);
    outlines_.emplace(Key{cairo_font_face_reference(face), glyph}, path);
    return path;
}

bool GlyphOutlines::addLayout(cairo_t* cairo, PangoLayout* layout, double x, double y) {
    if (pango_layout_get_unknown_glyphs_count(layout) > 0) {
        return false;
    }
    PangoLayoutIter* runs = pango_layout_get_iter(layout);
    do {
        PangoGlyphItem* run = pango_layout_iter_get_run_readonly(runs);
        if (!run) {
            continue;
        }
        PangoRectangle extents;
        pango_layout_iter_get_run_extents(runs, nullptr, &extents);
        const double baseline = y + double(pango_layout_iter_get_baseline(runs)) / PANGO_SCALE;
        double along = x + double(extents.x) / PANGO_SCALE;
        cairo_scaled_font_t* font =
            pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(run->item->analysis.font));
        cairo_matrix_t fontMatrix;
        cairo_scaled_font_get_font_matrix(font, &fontMatrix);
        cairo_font_face_t* face = cairo_scaled_font_get_font_face(font);
        for (int i = 0; i < run->glyphs->num_glyphs; ++i) {
            const PangoGlyphInfo& glyph = run->glyphs->glyphs[i];
            if (glyph.glyph != PANGO_GLYPH_EMPTY) {
                const cairo_path_t* shape = outline(face, glyph.glyph);
                cairo_save(cairo);
                cairo_translate(cairo, along + double(glyph.geometry.x_offset) / PANGO_SCALE,
                                baseline + double(glyph.geometry.y_offset) / PANGO_SCALE);
                cairo_transform(cairo, &fontMatrix);
                cairo_scale(cairo, 1 / kOutlineEm, 1 / kOutlineEm);
                cairo_append_path(cairo, shape);
                cairo_restore(cairo);
            }
            along += double(glyph.geometry.width) / PANGO_SCALE;
        }
    } while (pango_layout_iter_next_run(runs));
    pango_layout_iter_free(runs);
    return true;
}
