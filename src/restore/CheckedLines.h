// The text files in which the program keeps what it changed: a version line, then one
// line per fact, each ending in " #" and the 8-digit FNV-1a hash of the text before it.
// Lines are appended one write at a time and the file closed again, so a kill loses at
// most the line being written; a reader takes a line only with its line end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The body followed by " #" and its check.
std::string CheckedLine(const std::string& body);
// The text before the check; false when the check is missing, malformed or does not match.
bool CheckedBody(const std::string& line, std::string& body);

// Opens the file in mode ("wt" starts it, "at" appends), writes the text and closes it.
bool WriteText(const std::string& path, const char* mode, const std::string& text);

struct TextFileLines {
    bool found = false;        // the file exists
    bool versionRead = false;  // its first line is the version line asked for
    std::vector<std::string> lines;  // the whole lines after it, without line ends
    bool lastLineCut = false;        // text after the last line end (a write cut short)
};
// Reads at most 1 MiB of the file. Without a version line every whole line is returned.
TextFileLines ReadTextLines(const std::string& path, const char* versionLine);

// Lower-case hexadecimal, padded with zeros to width.
std::string Hex(uint64_t value, int width = 0);
// The whole token as a number of at most maxDigits lower-case digits in base 10 or 16.
bool ParseNumber(const std::string& token, int base, size_t maxDigits, uint64_t& value);
// The next blank-separated token from at; false when there is none or it is empty.
bool NextToken(const std::string& text, size_t& at, std::string& token);
