#include "psl_draw_canvas.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>
#include <string_view>

#include <sys/mman.h>

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
// An image of up to this many pixels (32 MB) is drawn directly; a larger one is recorded and
// rendered a band of rows at a time.
constexpr double kDirectImagePixels = 8e6;
// How far flattened curves may stray, in pixels or points: cairo's default, and for images
// that ink whole pixels.
constexpr double kSmoothTolerance = 0.1;
constexpr double kPixelTolerance = 0.3;

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
    if (image_) {
        munmap(image_, imageBytes_);
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
    if (double(pixelWidth_) * pixelHeight_ <= kDirectImagePixels) {
        // In huge pages where the system offers them: the image is written all over, and
        // every 4 KB page would cost a fault of its own.
        const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, pixelWidth_);
        imageBytes_ = std::size_t(stride) * std::size_t(pixelHeight_);
        void* pixels =
            mmap(nullptr, imageBytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pixels == MAP_FAILED) {
            return fail(PSTYLE_DRAW_FAILED, "out of memory");
        }
        image_ = static_cast<unsigned char*>(pixels);
        madvise(image_, imageBytes_, MADV_HUGEPAGE);
        surface_ = cairo_image_surface_create_for_data(image_, CAIRO_FORMAT_RGB24, pixelWidth_,
                                                       pixelHeight_, stride);
        cairo_ = cairo_create(surface_);
        cairo_set_source_rgb(cairo_, 1, 1, 1);
        cairo_paint(cairo_);
    } else {
        const cairo_rectangle_t extents{0, 0, double(pixelWidth_), double(pixelHeight_)};
        surface_ = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents);
        cairo_ = cairo_create(surface_);
    }
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

// Whole pixels need curves no closer than a third of one; smoothed edges show more.
void PstyleCanvas::applySmoothing() {
    cairo_set_antialias(cairo_, smoothLines_ ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    cairo_set_tolerance(cairo_, smoothLines_ ? kSmoothTolerance : kPixelTolerance);
}

void PstyleCanvas::setColor(std::uint32_t rgb) {
    cairo_set_source_rgb(cairo_, (rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
}

int PstyleCanvas::stroke(const PstylePath& path, const PstylePen& pen, double dashOffset) {
    if (drawingStatus() != PSTYLE_DRAW_OK) {
        return status_;
    }
    static const cairo_line_cap_t caps[] = {CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND,
                                            CAIRO_LINE_CAP_SQUARE};
    static const cairo_line_join_t joins[] = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_ROUND,
                                              CAIRO_LINE_JOIN_BEVEL};
    const double* const dashes = pen.dashes;
    const std::size_t dashCount = dashes ? pen.dashCount : 0;
    const bool saneDashes = std::all_of(dashes, dashes + dashCount,
                                        [](double length) { return sane(length) && length >= 0; });
    if (!sane(pen.width) || pen.width < 0 || !saneDashes || !sane(dashOffset) || pen.cap < 0 ||
        pen.cap > 2 || pen.join < 0 || pen.join > 2) {
        return fail(PSTYLE_DRAW_BAD_ARGUMENT, "a pen with a width, dashes, cap or join that "
                                              "cannot be drawn");
    }
    cairo_new_path(cairo_);
    if (!tracePath(path)) {
        cairo_new_path(cairo_);
        return fail(PSTYLE_DRAW_BAD_ARGUMENT, "a path whose numbers do not fit its verbs");
    }
    setColor(pen.color);
    applySmoothing();
    cairo_set_line_width(cairo_, pen.width);
    cairo_set_line_cap(cairo_, caps[pen.cap]);
    cairo_set_line_join(cairo_, joins[pen.join]);
    // Dashes that add up to nothing draw the line solid.
    const bool dashed = std::accumulate(dashes, dashes + dashCount, 0.0) > 0;
    cairo_set_dash(cairo_, dashed ? dashes : nullptr, dashed ? int(dashCount) : 0,
                   dashed ? dashOffset : 0);
    cairo_stroke(cairo_);
    return drawingStatus();
}

int PstyleCanvas::fill(const PstylePath& path, std::uint32_t color, int rule) {
    if (drawingStatus() != PSTYLE_DRAW_OK) {
        return status_;
    }
    if (rule != PSTYLE_FILL_NONZERO && rule != PSTYLE_FILL_EVEN_ODD) {
        return fail(PSTYLE_DRAW_BAD_ARGUMENT, "an unknown fill rule");
    }
    cairo_new_path(cairo_);
    if (!tracePath(path)) {
        cairo_new_path(cairo_);
        return fail(PSTYLE_DRAW_BAD_ARGUMENT, "a path whose numbers do not fit its verbs");
    }
    setColor(color);
    applySmoothing();
    cairo_set_fill_rule(cairo_, rule == PSTYLE_FILL_EVEN_ODD ? CAIRO_FILL_RULE_EVEN_ODD
                                                             : CAIRO_FILL_RULE_WINDING);
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

void PstyleCanvas::layOut(const char* utf8, std::size_t length, const char* family, bool bold,
                          double size) {
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, family ? family : kDefaultFamily);
    pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
    pango_layout_set_font_description(layout_, font);
    pango_font_description_free(font);
    if (g_utf8_validate(utf8, gssize(length), nullptr)) {
        pango_layout_set_text(layout_, utf8, int(length));
    } else {
        gchar* valid = g_utf8_make_valid(utf8, gssize(length));
        pango_layout_set_text(layout_, valid, -1);
        g_free(valid);
    }
    missingGlyphs_ += std::size_t(pango_layout_get_unknown_glyphs_count(layout_));
}

void PstyleCanvas::showLayout(int align, double belowTop, bool outlines) {
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    const double width = double(logical.width) / PANGO_SCALE;
    const double alongText[] = {0, width / 2, width};
    const double left = -alongText[align] - double(logical.x) / PANGO_SCALE;
    if (outlines && glyphs_.addLayout(cairo_, layout_, left, -belowTop)) {
        return;
    }
    cairo_move_to(cairo_, left, -belowTop);
    if (outlines) {
        pango_cairo_layout_path(cairo_, layout_);
    } else {
        pango_cairo_show_layout(cairo_, layout_);
    }
}

// Measured once per family on a capital H at a size where rounding does not matter.
PstyleCanvas::FontHeights PstyleCanvas::fontHeights(const char* family) {
    const std::string name = family ? family : kDefaultFamily;
    const auto known = fontHeights_.find(name);
    if (known != fontHeights_.end()) {
        return known->second;
    }
    constexpr double kSize = 100;
    layOut("H", 1, family, false, kSize);
    PangoRectangle ink;
    PangoRectangle logical;
    pango_layout_get_extents(layout_, &ink, &logical);
    const double baseline = double(pango_layout_get_baseline(layout_)) / PANGO_SCALE;
    FontHeights heights{double(ink.height) / PANGO_SCALE / kSize,
                        (double(logical.height) / PANGO_SCALE - baseline) / kSize};
    // A family without a capital H: the usual proportions of a sans-serif font.
    if (!(heights.capital > 0.1)) {
        heights = {0.73, 0.24};
    }
    return fontHeights_.emplace(name, heights).first->second;
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
    layOut(text.utf8, text.length, text.family, text.bold, text.size);
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    const double height = double(logical.height) / PANGO_SCALE;
    const double baseline = double(pango_layout_get_baseline(layout_)) / PANGO_SCALE;
    const double belowTop[] = {baseline, 0, height / 2, height};
    setColor(text.color);
    showLayout(text.align, belowTop[text.verticalAlign], false);
    cairo_restore(cairo_);
    return drawingStatus();
}

int PstyleCanvas::textBlock(const PstyleTextBlock& block) {
    if (drawingStatus() != PSTYLE_DRAW_OK) {
        return status_;
    }
    if ((!block.utf8 && block.length > 0) || !sane(block.x) || !sane(block.y) ||
        !sane(block.capHeight) || block.capHeight <= 0 || !sane(block.angle) ||
        !sane(block.widthFactor) || block.widthFactor <= 0 || !sane(block.lineSpacing) ||
        block.align < PSTYLE_ALIGN_LEFT || block.align > PSTYLE_ALIGN_RIGHT ||
        block.verticalAlign < PSTYLE_VALIGN_BASELINE ||
        block.verticalAlign > PSTYLE_VALIGN_BOTTOM) {
        return fail(PSTYLE_DRAW_BAD_ARGUMENT, "a text with a place, size or alignment that "
                                              "cannot be drawn");
    }
    if (block.length == 0) {
        return PSTYLE_DRAW_OK;
    }
    // Laid out upright: a context turned with each text would make Pango look up its fonts
    // again for every angle of a drawing's texts. Glyph positions are not hinted, so they turn
    // with the text as they are. In an image the letters are filled outlines, made once for all
    // angles and sizes.
    prepareText();
    cairo_save(cairo_);
    cairo_translate(cairo_, block.x, block.y);
    cairo_rotate(cairo_, radians(block.angle));
    cairo_scale(cairo_, block.widthFactor, block.mirrored ? -1 : 1);
    const bool outlines = options_.format == PSTYLE_DRAW_PNG;
    const FontHeights heights = fontHeights(block.family);
    const double size = block.capHeight / heights.capital;
    const std::string_view content(block.utf8, block.length);
    const double lastBaseline =
        double(std::count(content.begin(), content.end(), '\n')) * block.lineSpacing;
    // The first line's baseline below the anchor.
    const double firstBaseline[] = {0, block.capHeight, (block.capHeight - lastBaseline) / 2,
                                    -lastBaseline - heights.descent * size};
    double baseline = firstBaseline[block.verticalAlign];
    setColor(block.color);
    for (std::size_t start = 0; start <= content.size(); baseline += block.lineSpacing) {
        std::size_t end = content.find('\n', start);
        end = end == std::string_view::npos ? content.size() : end;
        if (end > start) {
            layOut(content.data() + start, end - start, block.family, false, size);
            showLayout(block.align,
                       double(pango_layout_get_baseline(layout_)) / PANGO_SCALE - baseline,
                       outlines);
        }
        start = end + 1;
    }
    if (outlines) {
        applySmoothing();
        cairo_set_fill_rule(cairo_, CAIRO_FILL_RULE_WINDING);
        cairo_fill(cairo_);
    }
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
            const std::string reason =
                encodePng(surface_, pixelWidth_, pixelHeight_, !smoothLines_, bytes_);
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
