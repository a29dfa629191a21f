// The text functions of the rule format.
#include "rules/RuleEngine.h"

std::string RuleEngine::TrimSpaces(std::string text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return text;
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string RuleEngine::Unquote(std::string text) {
    if (!text.empty() && text.front() == '"' && text.back() == '"') {
        return text.size() < 2 ? std::string() : text.substr(1, text.size() - 2);
    }
    return text;
}

std::vector<std::string> RuleEngine::Tokenize(const std::string& value) {
    std::vector<std::string> tokens;
    bool inQuotes = false;
    bool previousWasBackslash = false;
    size_t tokenStart = 0;
    for (size_t i = 0; i <= value.size(); ++i) {
        bool atEnd = i == value.size();
        char c = atEnd ? '\0' : value[i];
        if (!atEnd && c == '"' && !previousWasBackslash) inQuotes = !inQuotes;
        previousWasBackslash = !atEnd && c == '\\';
        if (atEnd || (c == ' ' && !inQuotes)) {
            tokens.push_back(TrimSpaces(value.substr(tokenStart, i - tokenStart)));
            tokenStart = i + 1;
        }
    }
    return tokens;
}
