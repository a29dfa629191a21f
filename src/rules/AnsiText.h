// Letter case of byte strings in the ANSI code page (949): ASCII letters fold;
// a double-byte character (lead byte 0x81-0xFE and the byte after it) is kept as it is.
#pragma once

#include <string>

std::string AnsiLower(std::string text);
bool AnsiEqualsNoCase(const std::string& left, const std::string& right);
// The text cut to at most maxBytes, whole characters only, with "..." added where it was cut.
std::string AnsiShortened(const std::string& text, size_t maxBytes);
