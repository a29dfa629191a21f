#include <gtest/gtest.h>

#include "sim/Machine.h"
#include "rules/RuleEngine.h"

namespace {

using Tokens = std::vector<std::string>;

// One line per section: name, icon, text, comment and the policy values.
std::string Describe(const RuleEngine& engine) {
    std::string out;
    for (const auto& section : engine.Sections()) {
        out += "[" + section->name + "] icon=" + section->icon + " text=" + section->text +
               " comment=" + section->comment;
        for (const std::string& policy : section->policies) out += " policy=" + policy;
        out += "\n";
    }
    return out;
}

std::vector<std::string> BoxTexts(const sim::Machine& machine) {
    std::vector<std::string> texts;
    for (const sim::MessageBoxRecord& box : machine.user.MessageBoxes()) texts.push_back(box.text);
    return texts;
}

class RuleParser : public ::testing::Test {
protected:
    std::string ParseAndDescribe(const std::string& script) {
        engine.Parse(script);
        return Describe(engine);
    }

    sim::Machine machine;
    RuleEngine engine;
};

TEST_F(RuleParser, EmptyAndCommentOnlyScriptsYieldNothing) {
    EXPECT_EQ(engine.Parse(""), 1);
    EXPECT_TRUE(engine.Lines().empty());
    EXPECT_TRUE(engine.Sections().empty());

    EXPECT_EQ(engine.Parse("; first\n   ;second [x]\r\n\n;"), 1);
    EXPECT_TRUE(engine.Lines().empty());
    EXPECT_TRUE(engine.Sections().empty());
    EXPECT_TRUE(machine.user.MessageBoxes().empty());
}

TEST_F(RuleParser, AllLineEndConventionsGiveTheSameSections) {
    const std::string expected = "[a] icon=i text=t comment= policy=p1 policy=p2\n[b] icon= text=u comment=\n";
    EXPECT_EQ(ParseAndDescribe("[a]\nicon=i\ntext=t\npolicy=p1\npolicy=p2\n[b]\ntext=u\n"), expected);
    EXPECT_EQ(ParseAndDescribe("[a]\r\nicon=i\r\ntext=t\r\npolicy=p1\r\npolicy=p2\r\n[b]\r\ntext=u"), expected);
    EXPECT_EQ(ParseAndDescribe("[a]\ricon=i\rtext=t\rpolicy=p1\rpolicy=p2\r[b]\rtext=u\r"), expected);
    EXPECT_EQ(ParseAndDescribe("\n\r[a]\n\n\ricon=i\r\r\ntext=t\npolicy=p1\r\npolicy=p2\r[b]\n\ntext=u"), expected);
    EXPECT_EQ(engine.Lines(), (Tokens{"[a]", "icon=i", "text=t", "policy=p1", "policy=p2", "[b]", "text=u"}));
}

TEST_F(RuleParser, OnlySpacesAreTrimmedAroundLines) {
    EXPECT_EQ(ParseAndDescribe("   [default]   \n  text=a b  \n\tpolicy=x\npolicy=y \t"),
              "[default] icon= text=a b comment= policy=y \t\n");
    EXPECT_EQ(BoxTexts(machine), (Tokens{"LineType Error : '\tpolicy=x'"}));
}

TEST_F(RuleParser, ErrorLinesAreReportedAndSkipped) {
    EXPECT_EQ(ParseAndDescribe("[s]\ntext=a\n   \nnonsense here\n  policy=p\nicons;x=1"),
              "[s] icon=1 text=a comment= policy=p\n");
    // A line of spaces only survives trimming and is shown with its spaces.
    EXPECT_EQ(BoxTexts(machine), (Tokens{"LineType Error : '   '", "LineType Error : 'nonsense here'"}));
    for (const sim::MessageBoxRecord& box : machine.user.MessageBoxes()) {
        EXPECT_EQ(box.caption, "Kestrava");
        EXPECT_EQ(box.type, win::MB_OK);
    }
}

TEST_F(RuleParser, SemicolonStartsACommentOnlyAtTheLineStart) {
    EXPECT_EQ(ParseAndDescribe("[s]\n   ; policy=hidden\ntext=a;b\npolicy=x ;y"),
              "[s] icon= text=a;b comment= policy=x ;y\n");
    EXPECT_TRUE(machine.user.MessageBoxes().empty());
}

TEST_F(RuleParser, HeaderNameDropsTheFirstAndLastCharacter) {
    EXPECT_EQ(ParseAndDescribe("[abc\ntext=1\n[\ntext=2\n[]\ntext=3\n[x]y]\ntext=4\n[ spaced name ]\ntext=5"),
              "[ab] icon= text=1 comment=\n"
              "[] icon= text=2 comment=\n"
              "[] icon= text=3 comment=\n"
              "[x]y] icon= text=4 comment=\n"
              "[ spaced name ] icon= text=5 comment=\n");
}

TEST_F(RuleParser, KeyWordsArePrefixesInAnyLetterCase) {
    EXPECT_EQ(ParseAndDescribe("[s]\nICON=a"), "[s] icon=a text= comment=\n");
    EXPECT_EQ(ParseAndDescribe("[s]\niconic = a"), "[s] icon=a text= comment=\n");
    EXPECT_EQ(ParseAndDescribe("[s]\nicon  =   a"), "[s] icon=a text= comment=\n");
    EXPECT_EQ(ParseAndDescribe("[s]\ntextcolor=red"), "[s] icon= text=red comment=\n");
    EXPECT_EQ(ParseAndDescribe("[s]\nCommentary: = c"), "[s] icon= text= comment=c\n");
    EXPECT_EQ(ParseAndDescribe("[s]\nPolicy=x\nPOLICYx=y"), "[s] icon= text= comment= policy=x policy=y\n");
    // Too short for its key word.
    EXPECT_EQ(ParseAndDescribe("[s]\ntex\ncommen\npolic\nico"), "");
    EXPECT_EQ(machine.user.MessageBoxes().size(), 4u);
}

TEST_F(RuleParser, ValueStartsAfterTheFirstEqualsAndItsFollowers) {
    EXPECT_EQ(ParseAndDescribe("[s]\ntext==a=b"), "[s] icon= text=a=b comment=\n");
    EXPECT_EQ(ParseAndDescribe("[s]\ntext = = =  a = b  "), "[s] icon= text=a = b comment=\n");
    EXPECT_EQ(ParseAndDescribe("[s]\nicon=x\nicon"), "[s] icon= text= comment=\n");
    EXPECT_EQ(ParseAndDescribe("[s]\ntext no equals"), "[s] icon= text= comment=\n");
    EXPECT_EQ(ParseAndDescribe("[s]\ncomment= = ="), "[s] icon= text= comment=\n");
    EXPECT_EQ(ParseAndDescribe("[s]\npolicy=\npolicy\npolicy=  "), "[s] icon= text= comment= policy= policy= policy=\n");
    ASSERT_EQ(engine.Sections().size(), 1u);
    EXPECT_EQ(engine.Sections()[0]->policies.size(), 3u);
}

TEST_F(RuleParser, LastSingleValueWinsAndPoliciesAccumulate) {
    EXPECT_EQ(ParseAndDescribe("[s]\ncomment=one\npolicy=a\ncomment=two\npolicy=b\ntext=t\npolicy=a"),
              "[s] icon= text=t comment=two policy=a policy=b policy=a\n");
}

TEST_F(RuleParser, SectionsAreCommittedOnlyWithKeyLines) {
    // Key lines before the first header form a nameless section; an empty header
    // produces nothing; equal names stay separate.
    EXPECT_EQ(ParseAndDescribe("text=lead\n[empty]\n[one]\npolicy=a\nbad line\npolicy=b\n[one]\nicon=i\n[tail]"),
              "[] icon= text=lead comment=\n"
              "[one] icon= text= comment= policy=a policy=b\n"
              "[one] icon=i text= comment=\n");
    EXPECT_EQ(BoxTexts(machine), (Tokens{"LineType Error : 'bad line'"}));
}

TEST_F(RuleParser, ParsingAgainReplacesTheResultButNotTheBoostState) {
    RestoreRecord record;
    record.processId = 7;
    record.restoreFlags = kCommandPriority;
    engine.AddRestoreRecord(record);

    engine.Parse("[first]\ntext=1\n[second]\ntext=2");
    EXPECT_EQ(ParseAndDescribe("[third]\ntext=3"), "[third] icon= text=3 comment=\n");
    EXPECT_EQ(engine.Lines(), (Tokens{"[third]", "text=3"}));
    EXPECT_EQ(engine.GetOptimizedProcessCount(), 1);
    EXPECT_FALSE(engine.IsBoostApplied());
}

TEST(RuleText, TokenizeSplitsAtSpacesOutsideQuotes) {
    EXPECT_EQ(RuleEngine::Tokenize("priority \"all\" \"low\""), (Tokens{"priority", "\"all\"", "\"low\""}));
    EXPECT_EQ(RuleEngine::Tokenize("suspend \"my game.exe\" \"on\""), (Tokens{"suspend", "\"my game.exe\"", "\"on\""}));
    EXPECT_EQ(RuleEngine::Tokenize("hide  \"a\""), (Tokens{"hide", "", "\"a\""}));
    EXPECT_EQ(RuleEngine::Tokenize(""), (Tokens{""}));
    EXPECT_EQ(RuleEngine::Tokenize(" "), (Tokens{"", ""}));
    EXPECT_EQ(RuleEngine::Tokenize("a "), (Tokens{"a", ""}));
    EXPECT_EQ(RuleEngine::Tokenize("a\tb"), (Tokens{"a\tb"}));
    EXPECT_EQ(RuleEngine::Tokenize("x\"y z\"w v"), (Tokens{"x\"y z\"w", "v"}));
}

TEST(RuleText, BackslashKeepsTheNextQuoteFromToggling) {
    EXPECT_EQ(RuleEngine::Tokenize("a \"b\\\" c\" d"), (Tokens{"a", "\"b\\\" c\"", "d"}));
    EXPECT_EQ(RuleEngine::Tokenize("a \\\"b c"), (Tokens{"a", "\\\"b", "c"}));
    // A backslash only guards the character right after it.
    EXPECT_EQ(RuleEngine::Tokenize("\\x\" y\" z"), (Tokens{"\\x\" y\"", "z"}));
    // An unclosed quote runs to the end; the token loses only its trailing spaces.
    EXPECT_EQ(RuleEngine::Tokenize("a \"b c  "), (Tokens{"a", "\"b c"}));
}

TEST(RuleText, UnquoteRemovesOneEnclosingPair) {
    EXPECT_EQ(RuleEngine::Unquote("\"all\""), "all");
    EXPECT_EQ(RuleEngine::Unquote("\"all"), "\"all");
    EXPECT_EQ(RuleEngine::Unquote("all\""), "all\"");
    EXPECT_EQ(RuleEngine::Unquote("\"\""), "");
    EXPECT_EQ(RuleEngine::Unquote("\""), "");
    EXPECT_EQ(RuleEngine::Unquote(""), "");
    EXPECT_EQ(RuleEngine::Unquote("\"\"x\"\""), "\"x\"");
}

TEST(RuleText, TrimSpacesKeepsSpaceOnlyStrings) {
    EXPECT_EQ(RuleEngine::TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(RuleEngine::TrimSpaces(" \ta\t "), "\ta\t");
    EXPECT_EQ(RuleEngine::TrimSpaces("   "), "   ");
    EXPECT_EQ(RuleEngine::TrimSpaces(""), "");
}

}  // namespace
