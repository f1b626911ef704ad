// A page of the drawing module as PNG bytes.
#pragma once

#include <string>

#include <cairo.h>

// Encodes page, a recording width x height pixels large, as an opaque PNG on white. The page is
// rendered a band of rows at a time, so that a tall image never needs all its pixels in memory.
// flatColors: the image is runs of flat colour without smoothed edges. Returns why it failed, or
// an empty string.
std::string encodePng(cairo_surface_t* page, int width, int height, bool flatColors,
                      std::string& bytes);
