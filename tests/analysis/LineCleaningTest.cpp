#include "analysis/HeaderParser.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// The spacing walk exactly as the rules are written, editing in place.
std::string ReferenceSpacing(std::string line) {
    for (char& c : line) {
        if (c == '\t') {
            c = ' ';
        }
    }
    const std::string eatsBlankBefore = " <>,=-+&*";
    const std::string eatsBlankAfter = ",-+=";
    size_t i = 0;
    while (line.size() >= 2 && i < line.size() - 1) {
        const char c = line[i];
        const char next = line[i + 1];
        if (c == ' ' && eatsBlankBefore.find(next) != std::string::npos) {
            line.erase(i, 1);
            continue;
        }
        if (eatsBlankAfter.find(c) != std::string::npos && next == ' ') {
            line.erase(i + 1, 1);
            continue;
        }
        if ((c == '*' || c == '&') && i != 0 && line[i - 1] != ',' && next != ' ' &&
            !(next >= 38 && next <= 62)) {
            line.insert(i + 1, 1, ' ');
            ++i;
        }
        ++i;
    }
    return line;
}

struct SpacingCase {
    const char* name;
    const char* input;
    const char* expected;
};

class Spacing : public testing::TestWithParam<SpacingCase> {};

TEST_P(Spacing, FollowsTheRules) {
    std::string line = GetParam().input;
    CHeaderParser::NormalizeSpacing(line);
    EXPECT_EQ(line, GetParam().expected);
    EXPECT_EQ(ReferenceSpacing(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    HeaderParser, Spacing,
    testing::Values(
        SpacingCase{"WorkedExampleReference", "CString & a , int * p", "CString& a,int* p"},
        SpacingCase{"WorkedExamplePointer", "char*p", "char* p"},
        SpacingCase{"WorkedExampleAssignment", "a = b", "a=b"},
        SpacingCase{"TabsAreBlanks", "\tint\tx;", " int x;"},
        SpacingCase{"BlankRuns", "int    x", "int x"},
        SpacingCase{"BlanksBeforeAngles", "vector < int >", "vector< int>"},
        SpacingCase{"StarAtStartStays", "*p", "*p"}, SpacingCase{"StarAfterComma", "a,*p", "a,*p"},
        SpacingCase{"DoubleAmpersand", "a&&b", "a&& b"},
        SpacingCase{"StarBeforeParenthesis", "f(int*)", "f(int*)"},
        SpacingCase{"StarBeforeWord", "T*const p", "T* const p"},
        SpacingCase{"Minus", "a - b", "a-b"}, SpacingCase{"Comma", "x, y", "x,y"},
        SpacingCase{"SeveralBlanksAfterEquals", "a =   b", "a=b"},
        SpacingCase{"ReferenceToPointer", "int* &r", "int*& r"}, SpacingCase{"Empty", "", ""},
        SpacingCase{"OneBlank", " ", " "}, SpacingCase{"LastCharacterNotLooked", "a ", "a "},
        SpacingCase{"BlankBeforeComma", " ,", ","},
        SpacingCase{"EightBitText", "\xc3\xa4*b", "\xc3\xa4* b"}),
    [](const auto& param) { return std::string(param.param.name); });

// The one-pass walk and the in-place rules agree on any text, including
// runs of the characters that the rules look at.
TEST(Spacing, AgreesWithTheRulesOnRandomText) {
    std::mt19937 random(4711);
    const std::string alphabet = " \t,=-+&*<>ab()0;";
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            text += alphabet[pick(random)];
        }
        std::string fast = text;
        CHeaderParser::NormalizeSpacing(fast);
        ASSERT_EQ(fast, ReferenceSpacing(text)) << "text '" << text << "'";
        // Normalised text stays as it is.
        std::string again = fast;
        CHeaderParser::NormalizeSpacing(again);
        ASSERT_EQ(again, fast) << "text '" << text << "'";
    }
}

struct CleaningCase {
    const char* name;
    bool inComment;
    bool inDirective;
    const char* input;
    const char* expected;
    bool commentAfter;
    bool directiveAfter;
};

class Cleaning : public testing::TestWithParam<CleaningCase> {};

TEST_P(Cleaning, RemovesCommentsDirectivesAndStrings) {
    const CleaningCase& c = GetParam();
    std::string line = c.input;
    bool inDirective = c.inDirective;
    EXPECT_EQ(CHeaderParser::StripComments(c.inComment, inDirective, line), c.commentAfter);
    EXPECT_EQ(line, c.expected);
    EXPECT_EQ(inDirective, c.directiveAfter);
}

INSTANTIATE_TEST_SUITE_P(
    HeaderParser, Cleaning,
    testing::Values(
        CleaningCase{"LineComment", false, false, "int a; // note", "int a;", false, false},
        CleaningCase{"BlockCommentInside", false, false, "int a; /* x */ int b;", "int a; int b;",
                     false, false},
        CleaningCase{"BlockCommentOpens", false, false, "int a; /* open", "int a;", true, false},
        CleaningCase{"WholeLineInComment", true, false, "int hidden;", "", true, false},
        CleaningCase{"CommentEndsTextIsRead", true, false, "end */ int x;", "int x;", false, false},
        CleaningCase{"LineCommentHoldsOpener", false, false, "int a; // has /* inside", "int a;",
                     false, false},
        CleaningCase{"StrayEndDropped", false, false, "x = y; */ z", "x=y; z", false, false},
        CleaningCase{"LoneStrayEnd", false, false, "*/", "", false, false},
        CleaningCase{"SlashesInBlockComment", false, false, "/* see http://x.org */ int a;",
                     "int a;", false, false},
        CleaningCase{"LineCommentAfterBlock", false, false, "void f(int /*x*/); // note",
                     "void f(int );", false, false},
        CleaningCase{"OpenerAfterCommentEnd", true, false, "a */ b /* c", "b", true, false},
        CleaningCase{"EmptyBlockComment", false, false, "/**/int a;", "int a;", false, false},
        CleaningCase{"StringsRemoved", false, false, "const char* s = \"http://x\"; int b;",
                     "const char* s=; int b;", false, false},
        CleaningCase{"UnpairedQuoteStays", false, false, "a \"open", "a \"open", false, false},
        CleaningCase{"QuoteCharacterLiteral", false, false, "c = '\"'; // \"x\"", "c='\"';", false,
                     false},
        CleaningCase{"Directive", false, false, "#define X 1", "", false, false},
        CleaningCase{"IndentedDirective", false, false, "  #  include <x>", "", false, false},
        CleaningCase{"DirectiveContinues", false, false, "#define X \\", "", false, true},
        CleaningCase{"ContinuationLine", false, true, "  more \\", "", false, true},
        CleaningCase{"ContinuationEnds", false, true, "  last", "", false, false},
        CleaningCase{"DirectiveOpensComment", false, false, "#if 0 /* start", "", true, false},
        CleaningCase{"Trimmed", false, false, "\tint\tx; \t", "int x;", false, false},
        CleaningCase{"EmptyLineKeepsDirective", false, true, "", "", false, true}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
