/* The drawing module (libpstyle_draw.so): pages in millimetres drawn with cairo and Pango into
 * PDF, PNG or SVG bytes. The program loads it only for the commands that draw, so that the
 * others never load cairo, Pango or X11. Its one entry point hands out a table of functions;
 * everything that crosses it is a C type, so the module and the program need not share a
 * compiler's idea of C++ classes.
 *
 * Coordinates are millimetres from the page's top left corner, y pointing down. Angles are
 * degrees from the x axis towards the y axis (clockwise on the page, as in SVG). Colours are
 * 0xRRGGBB. A call that fails leaves the canvas failed: later calls do nothing and return the
 * same status, so a caller may check only at the end. */
#ifndef PSTYLE_DRAW_H
#define PSTYLE_DRAW_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define PSTYLE_DRAW_MODULE "libpstyle_draw.so"
#define PSTYLE_DRAW_ENTRY "pstyleDrawInterface"
/* Version 2 appended dash offsets, fill rules, blocks of text and unsmoothed lines to the table
 * of functions; a caller of version 1 gets the same table and knows only its first members. */
#define PSTYLE_DRAW_VERSION 2

typedef enum {
    PSTYLE_DRAW_PDF, /* any number of pages, each of its own size */
    PSTYLE_DRAW_PNG, /* one page on a white ground */
    PSTYLE_DRAW_SVG  /* one page, sized in millimetres; texts become outlines */
} PstyleDrawFormat;

typedef enum {
    PSTYLE_DRAW_OK,
    PSTYLE_DRAW_BAD_ARGUMENT, /* a value that is not finite, a count that does not add up */
    PSTYLE_DRAW_TOO_LARGE,    /* the image would be larger than the pixel cap */
    PSTYLE_DRAW_NO_PAGE,      /* drawing before the first page, or a second page of a PNG/SVG */
    PSTYLE_DRAW_FAILED        /* cairo failed; the canvas's error says why */
} PstyleDrawStatus;

typedef enum { PSTYLE_CAP_BUTT, PSTYLE_CAP_ROUND, PSTYLE_CAP_SQUARE } PstyleLineCap;
typedef enum { PSTYLE_JOIN_MITER, PSTYLE_JOIN_ROUND, PSTYLE_JOIN_BEVEL } PstyleLineJoin;
/* Which points an area covers: those it winds round (nonzero), or those inside an odd number of
 * its pieces, so that a piece inside another is a hole (even-odd). */
typedef enum { PSTYLE_FILL_NONZERO, PSTYLE_FILL_EVEN_ODD } PstyleFillRule;

/* A path: each verb takes its numbers, in order, from values.
 *   MOVE x y, LINE x y           start a new piece; a straight line
 *   CURVE x1 y1 x2 y2 x y        a cubic Bézier curve through two control points
 *   ARC cx cy radius start end   a circular arc, growing angles when end > start
 *   CLOSE                        back to the piece's start */
typedef enum {
    PSTYLE_PATH_MOVE,
    PSTYLE_PATH_LINE,
    PSTYLE_PATH_CURVE,
    PSTYLE_PATH_ARC,
    PSTYLE_PATH_CLOSE
} PstylePathVerb;

typedef struct {
    const unsigned char* verbs;
    size_t verbCount;
    const double* values;
    size_t valueCount;
} PstylePath;

typedef struct {
    uint32_t color;
    double width;         /* millimetres */
    const double* dashes; /* lengths drawn and skipped in turn, millimetres; none: solid */
    size_t dashCount;
    int cap;  /* PstyleLineCap */
    int join; /* PstyleLineJoin */
} PstylePen;

typedef enum { PSTYLE_ALIGN_LEFT, PSTYLE_ALIGN_CENTER, PSTYLE_ALIGN_RIGHT } PstyleAlign;
typedef enum {
    PSTYLE_VALIGN_BASELINE,
    PSTYLE_VALIGN_TOP,
    PSTYLE_VALIGN_MIDDLE,
    PSTYLE_VALIGN_BOTTOM
} PstyleVerticalAlign;

/* One line of text at an anchor point. Characters that the family lacks are drawn with another
 * font of the system that has them; those no font has count as missing glyphs. */
typedef struct {
    const char* utf8;
    size_t length; /* bytes */
    double x;
    double y;
    double size;       /* height of the font's em, millimetres */
    double angle;      /* the text turns about the anchor */
    int align;         /* PstyleAlign: where the anchor is along the text */
    int verticalAlign; /* PstyleVerticalAlign */
    int bold;
    uint32_t color;
    const char* family; /* a font family or a comma-separated list; NULL: DejaVu Sans */
} PstyleText;

/* Version 2: lines of text placed as a drawing places them, sized by their capital letters. */
typedef struct {
    const char* utf8; /* lines separated by '\n' */
    size_t length;    /* bytes */
    double x;
    double y;
    double capHeight;   /* millimetres from the baseline to the top of a capital letter */
    double angle;       /* the block turns about the anchor */
    double widthFactor; /* the letters' width over the font's own */
    int mirrored;       /* the letters stand upside down, mirrored across their baseline */
    int align;          /* PstyleAlign: where the anchor is along each line */
    /* PstyleVerticalAlign: the anchor is on the first line's baseline (BASELINE), at the top
     * of its capitals (TOP), midway between that top and the last line's baseline (MIDDLE), or
     * at the bottom of the last line's descenders (BOTTOM). */
    int verticalAlign;
    double lineSpacing; /* millimetres from one baseline to the next */
    uint32_t color;
    const char* family; /* as for PstyleText */
} PstyleTextBlock;

typedef struct {
    int format;                 /* PstyleDrawFormat */
    double pixelsPerMillimetre; /* PNG only */
    int maxPixels;              /* PNG only: the most pixels on either side, at most 32767 */
    const char* title;          /* PDF only: the document's title; may be NULL */
} PstyleCanvasOptions;

typedef struct PstyleCanvas PstyleCanvas;

typedef struct {
    int version;
    /* A new canvas, or NULL when the options are not valid. */
    PstyleCanvas* (*create)(const PstyleCanvasOptions* options);
    /* Starts a page of the given size; a PDF's earlier page is then complete. */
    int (*beginPage)(PstyleCanvas* canvas, double width, double height);
    int (*stroke)(PstyleCanvas* canvas, const PstylePath* path, const PstylePen* pen);
    /* Fills the path's area where it winds round a point (nonzero rule), pieces closed. */
    int (*fill)(PstyleCanvas* canvas, const PstylePath* path, uint32_t color);
    int (*text)(PstyleCanvas* canvas, const PstyleText* text);
    /* Completes the document; its bytes stay the canvas's until it is destroyed. */
    int (*finish)(PstyleCanvas* canvas, const unsigned char** bytes, size_t* size);
    /* Why the canvas failed, in English; empty while it has not. */
    const char* (*error)(const PstyleCanvas* canvas);
    /* Characters drawn so far that no font of the system has. */
    size_t (*missingGlyphs)(const PstyleCanvas* canvas);
    void (*destroy)(PstyleCanvas* canvas);

    /* Version 2. As stroke, with the dash pattern starting dashOffset millimetres into it. */
    int (*strokeWithOffset)(PstyleCanvas* canvas, const PstylePath* path, const PstylePen* pen,
                            double dashOffset);
    /* As fill, by the PstyleFillRule rule. */
    int (*fillWithRule)(PstyleCanvas* canvas, const PstylePath* path, uint32_t color, int rule);
    int (*textBlock)(PstyleCanvas* canvas, const PstyleTextBlock* text);
    /* Whether the lines, areas and blocks of text drawn from now on are smoothed at their edges
     * (the default), or ink each pixel of a PNG wholly or not at all, as a printer does. */
    int (*smoothLines)(PstyleCanvas* canvas, int smooth);
} PstyleDrawInterface;

/* The functions of the given version or a later one, or NULL when the module does not provide
 * it. */
typedef const PstyleDrawInterface* PstyleDrawEntry(int version);

#ifdef __cplusplus
}
#endif

#endif
