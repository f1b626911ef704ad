// Conversions between the encodings a table file may use and the model's UTF-16 texts.
#pragma once

#include <string>
#include <string_view>

bool isValidUtf8(std::string_view bytes);
// Each byte of a Windows-1252 text as UTF-8.
std::string windows1252ToUtf8(std::string_view bytes);
// Expects valid UTF-8 (see isValidUtf8).
std::u16string utf8ToUtf16(std::string_view utf8);
void appendAsUtf16(std::u16string& out, std::string_view utf8);
// The bytes of encodeUtf8's result, found without writing it.
std::size_t utf8Length(std::u16string_view text);
// An unpaired surrogate becomes U+FFFD, so the result is always valid UTF-8.
std::string utf16ToUtf8(std::u16string_view text);
// Writes text as UTF-8 from out on, at most kMaxUtf8PerUtf16 bytes for each code unit, and
// returns where it ended.
constexpr std::size_t kMaxUtf8PerUtf16 = 3;
char* encodeUtf8(std::u16string_view text, char* out);
