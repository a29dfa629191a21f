// Feeds arbitrary bytes to the rule parser and the policy tokenizer and checks
// what their results must always satisfy.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "rules/RuleEngine.h"
#include "ui/Dialog.h"

// Error lines are reported through the dialog layer, which is not linked here:
// every box is answered at once.
int ui::AppMessageBox(const char*, win::UINT) { return 1; }

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

std::string TrimTrailingSpaces(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

void CheckTokenize(const std::string& value) {
    std::vector<std::string> tokens = RuleEngine::Tokenize(value);
    Require(!tokens.empty());
    std::string joined;
    for (size_t i = 0; i < tokens.size(); ++i) joined += (i ? " " : "") + tokens[i];
    // Only an unclosed quote at the end loses spaces: those trailing the last token.
    Require(joined == value || joined == TrimTrailingSpaces(value));
    for (const std::string& token : tokens) {
        std::string unquoted = RuleEngine::Unquote(token);
        Require(unquoted == token || unquoted.size() + 2 == token.size() || (token == "\"" && unquoted.empty()));
    }
}

bool HasLineEnd(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string script(reinterpret_cast<const char*>(data), size);
    RuleEngine engine;
    Require(engine.Parse(script) == 1);

    size_t keyLines = 0;
    for (const std::string& line : engine.Lines()) {
        Require(!line.empty() && line[0] != ';' && !HasLineEnd(line));
        Require(RuleEngine::TrimSpaces(line) == line);
    }
    for (const auto& section : engine.Sections()) {
        Require(!HasLineEnd(section->name) && !HasLineEnd(section->icon) && !HasLineEnd(section->text) &&
                !HasLineEnd(section->comment));
        // Each committed section holds at least one key line.
        keyLines += section->policies.empty() ? 1 : section->policies.size();
        for (const std::string& policy : section->policies) {
            Require(!HasLineEnd(policy));
            CheckTokenize(policy);
        }
    }
    Require(keyLines <= engine.Lines().size());
    CheckTokenize(script);
    return 0;
}
