#include "rules/AnsiText.h"

namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace

std::string AnsiLower(std::string text) {
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(byte)) {
            ++i;  // the trail byte may look like a letter
        } else if (byte >= 'A' && byte <= 'Z') {
            text[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return text;
}

bool AnsiEqualsNoCase(const std::string& left, const std::string& right) {
    return left.size() == right.size() && AnsiLower(left) == AnsiLower(right);
}

std::string AnsiShortened(const std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = 0;
    for (;;) {
        const size_t next = end + (IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1);
        if (next > maxBytes) break;
        end = next;
    }
    return text.substr(0, end) + "...";
}
