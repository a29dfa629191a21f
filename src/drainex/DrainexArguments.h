// The argument text of Drainex: the release mode and the receiving window, each a
// decimal integer, separated by the first blank.
#pragma once

#include <cstddef>
#include <cstdint>

// Texts of this length or more are refused.
constexpr size_t kMaxArgumentText = 100;

// Decimal text by the atoi rule: leading white space, an optional sign, digits up to the
// first non-digit; no digits give 0, values beyond 32 bits are clamped.
int32_t DecimalValue(const char* text);

// False when the text is null, empty, too long or holds no blank; else the text before
// the first blank is the mode and the text after it the window.
bool ParseReleaseArguments(const char* text, int32_t& mode, int32_t& window);
