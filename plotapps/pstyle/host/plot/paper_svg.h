// A plotted page as plain SVG, sized in millimetres: every line a path with its own stroke
// colour, width, dash array, ends and joins, every area a path filled by the even-odd rule,
// texts as text, each table's plot in a group of class "plot".
#pragma once

#include <string>

#include "paper_page.h"

std::string paperPageSvg(const PaperPage& page);
