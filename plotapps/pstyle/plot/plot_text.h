// The plain content of a drawing's texts: control codes and formatting taken out, in UTF-8.
#pragma once

#include <string>
#include <string_view>

// A single-line text: %%d, %%p, %%c, %%%, %%nnn and \U+XXXX become their characters, the
// underline and overline switches go. Bytes that are no UTF-8 are read as Windows-1252.
std::string plainText(std::string_view raw);

// A multi-line text: also its formatting ({}, \f...; \H...; \C...; and the like) goes,
// paragraph and column breaks become '\n', and a stacked fraction \Sa^b; reads "a/b".
std::string plainMultilineText(std::string_view raw);
