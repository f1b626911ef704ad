// A plotted page drawn by the drawing module, as PNG or PDF bytes.
#pragma once

#include <cstddef>
#include <string>

#include "paper_page.h"
#include "pstyle_draw.h"

struct DrawnPage {
    int status; // PstyleDrawStatus
    std::string bytes;
    std::string error; // why the module failed, when it did
    std::size_t missingGlyphs;
};

// A PNG has pixelsPerMillimetre, at most maxPixels on a side; a PDF has the page's size.
DrawnPage drawPaperPage(const PstyleDrawInterface& draw, const PaperPage& page,
                        PstyleDrawFormat format, double pixelsPerMillimetre, int maxPixels);
