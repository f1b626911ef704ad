#include "psl_draw_png.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include <png.h>
#include <zlib.h>

namespace {

// Rows rendered at once: a few megabytes even for a wide image.
constexpr int kBandRows = 256;

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    bool appended = true;
    try {
        static_cast<std::string*>(png_get_io_ptr(png))
            ->append(reinterpret_cast<char*>(data), length);
    } catch (const std::bad_alloc&) {
        appended = false;
    }
    // Jumps out; never from inside the handler above.
    if (!appended) {
        png_error(png, "out of memory");
    }
}

void flushNothing(png_structp) {}

void onPngError(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

void ignorePngWarning(png_structp, png_const_charp) {}

// The page's rows from top on the band, white where nothing was drawn.
void renderBand(cairo_surface_t* band, cairo_surface_t* page, int top) {
    cairo_t* cairo = cairo_create(band);
    cairo_set_source_rgb(cairo, 1, 1, 1);
    cairo_paint(cairo);
    cairo_set_source_surface(cairo, page, 0, -top);
    cairo_paint(cairo);
    cairo_destroy(cairo);
    cairo_surface_flush(band);
}

// cairo keeps a pixel as one native word 0x00RRGGBB; PNG wants the bytes R, G, B.
void toRgb(const unsigned char* pixels, int width, png_bytep row) {
    for (int x = 0; x < width; ++x) {
        std::uint32_t pixel;
        std::memcpy(&pixel, pixels + 4 * x, sizeof pixel);
        row[3 * x] = png_byte(pixel >> 16);
        row[3 * x + 1] = png_byte(pixel >> 8);
        row[3 * x + 2] = png_byte(pixel);
    }
}

// libpng reports errors by a long jump back here, so nothing in this function may need
// destroying.
bool writeRows(png_structp png, png_infop info, cairo_surface_t* band, cairo_surface_t* page,
               int width, int height, bool flatColors, png_bytep row, std::string* bytes) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_write_fn(png, bytes, appendBytes, flushNothing);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Drawings are mostly flat colour on white, which deflate packs well as it is: row filters
    // and harder compression triple the time for a few per cent of size.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, Z_BEST_SPEED);
    // Runs of one colour are all there is to pack then: run-length coding packs them as well, in
    // a fraction of the time.
    if (flatColors) {
        png_set_compression_strategy(png, Z_RLE);
    }
    png_write_info(png, info);
    const int stride = cairo_image_surface_get_stride(band);
    for (int top = 0; top < height; top += kBandRows) {
        renderBand(band, page, top);
        const unsigned char* pixels = cairo_image_surface_get_data(band);
        for (int y = 0; y < std::min(kBandRows, height - top); ++y) {
            toRgb(pixels + std::size_t(y) * stride, width, row);
            png_write_row(png, row);
        }
    }
    png_write_end(png, info);
    return true;
}

} // namespace

std::string encodePng(cairo_surface_t* page, int width, int height, bool flatColors,
                      std::string& bytes) {
    cairo_surface_t* band =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, std::min(kBandRows, height));
    if (cairo_surface_status(band) != CAIRO_STATUS_SUCCESS) {
        const std::string reason = cairo_status_to_string(cairo_surface_status(band));
        cairo_surface_destroy(band);
        return reason;
    }
    std::string reason;
    std::vector<png_byte> row(std::size_t(width) * 3);
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &reason, onPngError, ignorePngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written =
        info && writeRows(png, info, band, page, width, height, flatColors, row.data(), &bytes);
    png_destroy_write_struct(&png, &info);
    cairo_surface_destroy(band);
    if (written) {
        return std::string();
    }
    return reason.empty() ? std::string("out of memory") : reason;
}
