// The drawing module's one exported symbol: the table of its functions. No exception leaves the
// module; a canvas that ran out of memory fails as cairo's own failures do.
#include <new>

#include "psl_draw_canvas.h"
#include "pstyle_draw.h"

namespace {

template <typename Call> int guarded(PstyleCanvas* canvas, Call call) {
    if (!canvas) {
        return PSTYLE_DRAW_BAD_ARGUMENT;
    }
    try {
        return call(*canvas);
    } catch (const std::bad_alloc&) {
        return canvas->outOfMemory();
    }
}

PstyleCanvas* create(const PstyleCanvasOptions* options) {
    if (!options || !PstyleCanvas::validOptions(*options)) {
        return nullptr;
    }
    return new (std::nothrow) PstyleCanvas(*options);
}

int beginPage(PstyleCanvas* canvas, double width, double height) {
    return guarded(canvas, [&](PstyleCanvas& c) { return c.beginPage(width, height); });
}

int stroke(PstyleCanvas* canvas, const PstylePath* path, const PstylePen* pen) {
    if (!path || !pen) {
        return PSTYLE_DRAW_BAD_ARGUMENT;
    }
    return guarded(canvas, [&](PstyleCanvas& c) { return c.stroke(*path, *pen); });
}

int fill(PstyleCanvas* canvas, const PstylePath* path, uint32_t color) {
    if (!path) {
        return PSTYLE_DRAW_BAD_ARGUMENT;
    }
    return guarded(canvas, [&](PstyleCanvas& c) { return c.fill(*path, color); });
}

int text(PstyleCanvas* canvas, const PstyleText* text) {
    if (!text) {
        return PSTYLE_DRAW_BAD_ARGUMENT;
    }
    return guarded(canvas, [&](PstyleCanvas& c) { return c.text(*text); });
}

int finish(PstyleCanvas* canvas, const unsigned char** bytes, size_t* size) {
    if (!bytes || !size) {
        return PSTYLE_DRAW_BAD_ARGUMENT;
    }
    return guarded(canvas, [&](PstyleCanvas& c) { return c.finish(bytes, size); });
}

int strokeWithOffset(PstyleCanvas* canvas, const PstylePath* path, const PstylePen* pen,
                     double dashOffset) {
    if (!path || !pen) {
        return PSTYLE_DRAW_BAD_ARGUMENT;
    }
    return guarded(canvas, [&](PstyleCanvas& c) { return c.stroke(*path, *pen, dashOffset); });
}

int fillWithRule(PstyleCanvas* canvas, const PstylePath* path, uint32_t color, int rule) {
    if (!path) {
        return PSTYLE_DRAW_BAD_ARGUMENT;
    }
    return guarded(canvas, [&](PstyleCanvas& c) { return c.fill(*path, color, rule); });
}

int textBlock(PstyleCanvas* canvas, const PstyleTextBlock* block) {
    if (!block) {
        return PSTYLE_DRAW_BAD_ARGUMENT;
    }
    return guarded(canvas, [&](PstyleCanvas& c) { return c.textBlock(*block); });
}

int smoothLines(PstyleCanvas* canvas, int smooth) {
    return guarded(canvas, [&](PstyleCanvas& c) {
        c.setSmoothLines(smooth != 0);
        return int(PSTYLE_DRAW_OK);
    });
}

const char* error(const PstyleCanvas* canvas) {
    return canvas ? canvas->error().c_str() : "";
}

size_t missingGlyphs(const PstyleCanvas* canvas) {
    return canvas ? canvas->missingGlyphs() : 0;
}

void destroy(PstyleCanvas* canvas) {
    delete canvas;
}

const PstyleDrawInterface kInterface = {
    PSTYLE_DRAW_VERSION,
    create,
    beginPage,
    stroke,
    fill,
    text,
    finish,
    error,
    missingGlyphs,
    destroy,
    strokeWithOffset,
    fillWithRule,
    textBlock,
    smoothLines,
};

} // namespace

extern "C" __attribute__((visibility("default"))) const PstyleDrawInterface*
pstyleDrawInterface(int version) {
    return version >= 1 && version <= PSTYLE_DRAW_VERSION ? &kInterface : nullptr;
}
