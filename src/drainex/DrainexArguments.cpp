#include "drainex/DrainexArguments.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

int32_t DecimalValue(const char* text) {
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

bool ParseReleaseArguments(const char* text, int32_t& mode, int32_t& window) {
    if (text == nullptr) return false;
    const size_t length = std::strlen(text);
    if (length == 0 || length >= kMaxArgumentText) return false;
    const char* blank = std::strchr(text, ' ');
    if (blank == nullptr) return false;
    mode = DecimalValue(std::string(text, blank).c_str());
    window = DecimalValue(blank + 1);
    return true;
}
