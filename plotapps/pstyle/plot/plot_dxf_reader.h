// Reads an ASCII DXF drawing into the model the plot draws from.
#pragma once

#include <memory>
#include <string>

#include <wx/string.h>

#include "plot_drawing.h"

// The drawing in the file at path, or null with the reason in error when the file cannot be
// read or holds no DXF drawing.
std::unique_ptr<DxfDrawing> readDxfDrawing(const std::string& path, wxString& error);
