#include "psl_draw_canvas.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>
#include <vector>

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <pango/pangocairo.h>

#include "psl_draw_png.h"

namespace {

constexpr double kPointsPerMillimetre = 72.0 / 25.4;
// cairo's images have at most this many pixels on a side.
constexpr int kMaxImageSide = 32767;
// Coordinates and sizes beyond a kilometre are mistakes, and would overflow cairo's fixed point.
constexpr double kFarthest = 1e6;
constexpr const char* kDefaultFamily = "DejaVu Sans";

bool sane(double value) {
    return std::isfinite(value) && std::fabs(value) <= kFarthest;
}

double radians(double degrees) {
    return degrees * M_PI / 180.0;
}

// How many numbers each path verb takes.
int valuesOf(unsigned char verb) {
    switch (verb) {
    case PSTYLE_PATH_MOVE:
    case PSTYLE_PATH_LINE:
        return 2;
    case PSTYLE_PATH_CURVE:
        return 6;
    case PSTYLE_PATH_ARC:
        return 5;
    case PSTYLE_PATH_CLOSE:
        return 0;
    default:
        return -1;
    }
}

} // namespace

PstyleCanvas::PstyleCanvas(const PstyleCanvasOptions& options)
    : options_(options), title_(options.title ? options.title : "") {
    options_.title = nullptr;
}

PstyleCanvas::~PstyleCanvas() {
    if (layout_) {
        g_object_unref(layout_);
    }
    if (pango_) {
        g_object_unref(pango_);
    }
    if (cairo_) {
        cairo_destroy(cairo_);
    }
    if (surface_) {
        cairo_surface_destroy(surface_);
    }
}

bool PstyleCanvas::validOptions(const PstyleCanvasOptions& options) {
    switch (options.format) {
    case PSTYLE_DRAW_PDF:
    case PSTYLE_DRAW_SVG:
        return true;
    case PSTYLE_DRAW_PNG:
        return std::isfinite(options.pixelsPerMillimetre) && options.pixelsPerMillimetre > 0 &&
               options.pixelsPerMillimetre <= 1000 && options.maxPixels > 0 &&
               options.maxPixels <= kMaxImageSide;
    default:
        return false;
    }
}

int PstyleCanvas::fail(int status, const std::string& why) {
    if (status_ == PSTYLE_DRAW_OK) {
        status_ = status;
        error_ = why;
    }
    return status_;
}

int PstyleCanvas::drawingStatus() {
    if (status_ != PSTYLE_DRAW_OK) {
        return status_;
    }
    if (!cairo_ || finished_) {
        return fail(PSTYLE_DRAW_NO_PAGE, "drawing outside a page");
    }
    if (cairo_status(cairo_) != CAIRO_STATUS_SUCCESS) {
        return fail(PSTYLE_DRAW_FAILED, cairo_status_to_string(cairo_status(cairo_)));
    }
    return PSTYLE_DRAW_OK;
}

int PstyleCanvas::beginPage(double width, double height) {
    if (status_ != PSTYLE_DRAW_OK) {
        return status_;
    }
    if (!sane(width) || !sane(height) || width <= 0 || height <= 0) {
        return fail(PSTYLE_DRAW_BAD_ARGUMENT, "a page needs a width and a height");
    }
    if (finished_ || (pages_ > 0 && options_.format != PSTYLE_DRAW_PDF)) {
        return fail(PSTYLE_DRAW_NO_PAGE, "a PNG or SVG image holds one page");
    }
    const int status = options_.format == PSTYLE_DRAW_PNG ? startImage(width, height)
                                                          : startDocument(width, height);
    if (status != PSTYLE_DRAW_OK) {
        return status;
    }
    ++pages_;
    return drawingStatus();
}

// PDF and SVG are written as they are drawn: points, or millimetres as the SVG's own unit.
int PstyleCanvas::startDocument(double width, double height) {
    const double scale = options_.format == PSTYLE_DRAW_PDF ? kPointsPerMillimetre : 1.0;
    if (surface_) {
        cairo_show_page(cairo_);
        cairo_pdf_surface_set_size(surface_, width * scale, height * scale);
    } else if (options_.format == PSTYLE_DRAW_PDF) {
        surface_ = cairo_pdf_surface_create_for_stream(append, this, width * scale, height * scale);
        if (!title_.empty()) {
            cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, title_.c_str());
        }
    } else {
        surface_ = cairo_svg_surface_create_for_stream(append, this, width, height);
        cairo_svg_surface_set_document_unit(surface_, CAIRO_SVG_UNIT_MM);
    }
    if (!cairo_) {
        cairo_ = cairo_create(surface_);
    }
    cairo_identity_matrix(cairo_);
    cairo_scale(cairo_, scale, scale);
    return PSTYLE_DRAW_OK;
}

// A PNG's page is recorded and rendered when it is complete, a band of rows at a time.
int PstyleCanvas::startImage(double width, double height) {
    const double pixels = options_.pixelsPerMillimetre;
    if (width * pixels > options_.maxPixels + 0.5 || height * pixels > options_.maxPixels + 0.5) {
        return fail(PSTYLE_DRAW_TOO_LARGE, "the image would have more than " +
                                               std::to_string(options_.maxPixels) +
                                               " pixels on a side");
    }
    pixelWidth_ = std::max(1, int(std::lround(width * pixels)));
    pixelHeight_ = std::max(1, int(std::lround(height * pixels)));
    const cairo_rectangle_t extents{0, 0, double(pixelWidth_), double(pixelHeight_)};
    surface_ = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents);
    cairo_ = cairo_create(surface_);
    cairo_scale(cairo_, pixels, pixels);
    return PSTYLE_DRAW_OK;
}

bool PstyleCanvas::tracePath(const PstylePath& path) {
    if ((path.verbCount > 0 && !path.verbs) || (path.valueCount > 0 && !path.values)) {
        return false;
    }
    std::size_t next = 0;
    for (std::size_t i = 0; i < path.verbCount; ++i) {
        const int count = valuesOf(path.verbs[i]);
        if (count < 0 || path.valueCount - next < std::size_t(count)) {
            return false;
        }
        const double* v = path.values + next;
        for (int k = 0; k < count; ++k) {
            if (!sane(v[k])) {
                return false;
            }
        }
        next += count;
        switch (path.verbs[i]) {
        case PSTYLE_PATH_MOVE:
            cairo_move_to(cairo_, v[0], v[1]);
            break;
        case PSTYLE_PATH_LINE:
            cairo_line_to(cairo_, v[0], v[1]);
            break;
        case PSTYLE_PATH_CURVE:
            cairo_curve_to(cairo_, v[0], v[1], v[2], v[3], v[4], v[5]);
            break;
        case PSTYLE_PATH_ARC:
            if (v[2] < 0) {
                return false;
            }
            (v[4] >= v[3] ? cairo_arc : cairo_arc_negative)(cairo_, v[0], v[1], v[2], radians(v[3]),
                                                            radians(v[4]));
            break;
        default:
            cairo_close_path(cairo_);
        }
    }
    return next == path.valueCount;
}

void PstyleCanvas::setColor(std::uint32_t rgb) {
    cairo_set_source_rgb(cairo_, (rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
}

int PstyleCanvas::stroke(const PstylePath& path, const PstylePen& pen) {
    if (drawingStatus() != PSTYLE_DRAW_OK) {
        return status_;
    }
    static const cairo_line_cap_t caps[] = {CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND,
                                            CAIRO_LINE_CAP_SQUARE};
    static const cairo_line_join_t joins[] = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_ROUND,
                                              CAIRO_LINE_JOIN_BEVEL};
    const std::vector<double> dashes(pen.dashes, pen.dashes + (pen.dashes ? pen.dashCount : 0));
    const bool saneDashes = std::all_of(dashes.begin(), dashes.end(),
                                        [](double length) { return sane(length) && length >= 0; });
    if (!sane(pen.width) || pen.width < 0 || !saneDashes || pen.cap < 0 || pen.cap > 2 ||
        pen.join < 0 || pen.join > 2) {
        return fail(PSTYLE_DRAW_BAD_ARGUMENT, "a pen with a width, dashes, cap or join that "
                                              "cannot be drawn");
    }
    cairo_new_path(cairo_);
    if (!tracePath(path)) {
        cairo_new_path(cairo_);
        return fail(PSTYLE_DRAW_BAD_ARGUMENT, "a path whose numbers do not fit its verbs");
    }
    setColor(pen.color);
    cairo_set_line_width(cairo_, pen.width);
    cairo_set_line_cap(cairo_, caps[pen.cap]);
    cairo_set_line_join(cairo_, joins[pen.join]);
    // Dashes that add up to nothing draw the line solid.
    const bool dashed = std::accumulate(dashes.begin(), dashes.end(), 0.0) > 0;
    cairo_set_dash(cairo_, dashed ? dashes.data() : nullptr, dashed ? int(dashes.size()) : 0, 0);
    cairo_stroke(cairo_);
    return drawingStatus();
}

int PstyleCanvas::fill(const PstylePath& path, std::uint32_t color) {
    if (drawingStatus() != PSTYLE_DRAW_OK) {
        return status_;
    }
    cairo_new_path(cairo_);
    if (!tracePath(path)) {
        cairo_new_path(cairo_);
        return fail(PSTYLE_DRAW_BAD_ARGUMENT, "a path whose numbers do not fit its verbs");
    }
    setColor(color);
    cairo_set_fill_rule(cairo_, CAIRO_FILL_RULE_WINDING);
    cairo_fill(cairo_);
    return drawingStatus();
}

// One Pango context and layout serve every text; the context follows the canvas's transform.
void PstyleCanvas::prepareText() {
    if (!pango_) {
        pango_ = pango_font_map_create_context(pango_cairo_font_map_get_default());
        // Glyphs stay where the font puts them: rounding to whole units would be whole
        // millimetres here.
        pango_context_set_round_glyph_positions(pango_, FALSE);
        cairo_font_options_t* fontOptions = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(fontOptions, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(fontOptions, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(pango_, fontOptions);
        cairo_font_options_destroy(fontOptions);
        layout_ = pango_layout_new(pango_);
        pango_layout_set_single_paragraph_mode(layout_, TRUE);
    }
    pango_cairo_update_context(cairo_, pango_);
    pango_layout_context_changed(layout_);
}

int PstyleCanvas::text(const PstyleText& text) {
    if (drawingStatus() != PSTYLE_DRAW_OK) {
        return status_;
    }
    if ((!text.utf8 && text.length > 0) || !sane(text.x) || !sane(text.y) || !sane(text.size) ||
        text.size <= 0 || !sane(text.angle) || text.align < PSTYLE_ALIGN_LEFT ||
        text.align > PSTYLE_ALIGN_RIGHT || text.verticalAlign < PSTYLE_VALIGN_BASELINE ||
        text.verticalAlign > PSTYLE_VALIGN_BOTTOM) {
        return fail(PSTYLE_DRAW_BAD_ARGUMENT, "a text with a place, size or alignment that "
                                              "cannot be drawn");
    }
    if (text.length == 0) {
        return PSTYLE_DRAW_OK;
    }
    cairo_save(cairo_);
    cairo_translate(cairo_, text.x, text.y);
    cairo_rotate(cairo_, radians(text.angle));
    prepareText();

    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, text.family ? text.family : kDefaultFamily);
    pango_font_description_set_weight(font, text.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(font, text.size * PANGO_SCALE);
    pango_layout_set_font_description(layout_, font);
    pango_font_description_free(font);
    if (g_utf8_validate(text.utf8, gssize(text.length), nullptr)) {
        pango_layout_set_text(layout_, text.utf8, int(text.length));
    } else {
        gchar* valid = g_utf8_make_valid(text.utf8, gssize(text.length));
        pango_layout_set_text(layout_, valid, -1);
        g_free(valid);
    }
    missingGlyphs_ += std::size_t(pango_layout_get_unknown_glyphs_count(layout_));

    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    const double width = double(logical.width) / PANGO_SCALE;
    const double height = double(logical.height) / PANGO_SCALE;
    const double baseline = double(pango_layout_get_baseline(layout_)) / PANGO_SCALE;
    const double alongText[] = {0, width / 2, width};
    const double belowTop[] = {baseline, 0, height / 2, height};
    cairo_move_to(cairo_, -alongText[text.align] - double(logical.x) / PANGO_SCALE,
                  -belowTop[text.verticalAlign]);
    setColor(text.color);
    pango_cairo_show_layout(cairo_, layout_);
    cairo_restore(cairo_);
    return drawingStatus();
}

int PstyleCanvas::finish(const unsigned char** bytes, std::size_t* size) {
    if (status_ == PSTYLE_DRAW_OK && !finished_) {
        if (!cairo_) {
            return fail(PSTYLE_DRAW_NO_PAGE, "a document without a page");
        }
        if (drawingStatus() != PSTYLE_DRAW_OK) {
            return status_;
        }
        finished_ = true;
        if (options_.format != PSTYLE_DRAW_PNG) {
            cairo_show_page(cairo_);
        }
        cairo_destroy(cairo_);
        cairo_ = nullptr;
        if (options_.format == PSTYLE_DRAW_PNG) {
            const std::string reason = encodePng(surface_, pixelWidth_, pixelHeight_, bytes_);
            if (!reason.empty()) {
                return fail(PSTYLE_DRAW_FAILED, reason);
            }
        } else {
            cairo_surface_finish(surface_);
        }
        if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
            return fail(PSTYLE_DRAW_FAILED, cairo_status_to_string(cairo_surface_status(surface_)));
        }
    }
    if (status_ == PSTYLE_DRAW_OK) {
        *bytes = reinterpret_cast<const unsigned char*>(bytes_.data());
        *size = bytes_.size();
    }
    return status_;
}

int PstyleCanvas::outOfMemory() {
    return fail(PSTYLE_DRAW_FAILED, "out of memory");
}

cairo_status_t PstyleCanvas::append(void* canvas, const unsigned char* data, unsigned int length) {
    try {
        static_cast<PstyleCanvas*>(canvas)->bytes_.append(reinterpret_cast<const char*>(data),
                                                          length);
        return CAIRO_STATUS_SUCCESS;
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_NO_MEMORY;
    }
}
