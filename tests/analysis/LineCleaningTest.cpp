#include "analysis/HeaderParser.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

// The spacing walk exactly as the rules are written, editing in place.
std::string ReferenceSpacing(std::string line) {
    std::replace(line.begin(), line.end(), '\t', ' ');
    const std::string eatsBlankBefore = " <>,=-+&*";
    const std::string eatsBlankAfter = ",-+=";
    for (size_t i = 0; line.size() >= 2 && i < line.size() - 1;) {
        const char c = line[i];
        const char next = line[i + 1];
        if (c == ' ' && eatsBlankBefore.find(next) != std::string::npos) {
            line.erase(i, 1);
        } else if (eatsBlankAfter.find(c) != std::string::npos && next == ' ') {
            line.erase(i + 1, 1);
        } else {
            if ((c == '*' || c == '&') && i != 0 && line[i - 1] != ',' && next != ' ' &&
                !(next >= 38 && next <= 62)) {
                line.insert(++i, 1, ' ');
            }
            ++i;
        }
    }
    return line;
}

TEST(Spacing, WorkedExamplesAndEdges) {
    const std::pair<const char*, const char*> cases[] = {
        {"CString & a , int * p", "CString& a,int* p"},
        {"char*p", "char* p"},
        {"a = b", "a=b"},
        {"\tint\tx;", " int x;"},
        {"int    x", "int x"},
        {"vector < int >", "vector< int>"},
        {"*p", "*p"},
        {"a,*p", "a,*p"},
        {"a&&b", "a&& b"},
        {"f(int*)", "f(int*)"},
        {"T*const p", "T* const p"},
        {"a - b", "a-b"},
        {"a =   b", "a=b"},
        {"int* &r", "int*& r"},
        {"", ""},
        {" ", " "},
        {"a ", "a "},
        {" ,", ","},
        {"\xc3\xa4*b", "\xc3\xa4* b"},
    };
    for (const auto& [input, expected] : cases) {
        std::string line = input;
        CHeaderParser::NormalizeSpacing(line);
        EXPECT_EQ(line, expected) << input;
        EXPECT_EQ(ReferenceSpacing(input), expected) << input;
    }
}

// The one-pass walk and the in-place rules agree on any text, including
// runs of the characters that the rules look at.
TEST(Spacing, AgreesWithTheRulesOnRandomText) {
    std::mt19937 random(4711);
    const std::string alphabet = " \t,=-+&*<>ab()0;";
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 25); n > 0; --n) {
            text += alphabet[random() % alphabet.size()];
        }
        std::string fast = text;
        CHeaderParser::NormalizeSpacing(fast);
        ASSERT_EQ(fast, ReferenceSpacing(text)) << "text '" << text << "'";
        std::string again = fast; // normalised text stays as it is
        CHeaderParser::NormalizeSpacing(again);
        ASSERT_EQ(again, fast) << "text '" << text << "'";
    }
}

TEST(Cleaning, RemovesCommentsDirectivesAndStrings) {
    struct Case {
        bool inComment, inDirective;
        const char* input;
        const char* expected;
        bool commentAfter, directiveAfter;
    };
    const Case cases[] = {
        {false, false, "int a; /* x */ int b; // note", "int a; int b;", false, false},
        {false, false, "int a; /* open", "int a;", true, false},
        {true, false, "int hidden;", "", true, false},
        {true, false, "end */ int x;", "int x;", false, false},
        {false, false, "int a; // has /* inside", "int a;", false, false},
        {false, false, "x = y; */ z", "x=y; z", false, false},
        {false, false, "/* see http://x.org */ int a;", "int a;", false, false},
        {false, false, "void f(int /*x*/); // note", "void f(int );", false, false},
        {true, false, "a */ b /* c", "b", true, false},
        {false, false, "/**/int a;", "int a;", false, false},
        {false, false, "const char* s = \"http://x\"; int b;", "const char* s=; int b;", false,
         false},
        {false, false, "a \"open", "a \"open", false, false},
        {false, false, "c = '\"'; // \"x\"", "c='\"';", false, false},
        {false, false, "  #  include <x>", "", false, false},
        {false, false, "#define X \\", "", false, true},
        {false, true, "  more \\", "", false, true},
        {false, true, "  last", "", false, false},
        {false, false, "#if 0 /* start", "", true, false},
        {false, false, "\tint\tx; \t", "int x;", false, false},
        {false, true, "", "", false, true},
    };
    for (const Case& c : cases) {
        std::string line = c.input;
        bool inDirective = c.inDirective;
        EXPECT_EQ(CHeaderParser::StripComments(c.inComment, inDirective, line), c.commentAfter)
            << c.input;
        EXPECT_EQ(line, c.expected) << c.input;
        EXPECT_EQ(inDirective, c.directiveAfter) << c.input;
    }
}

} // namespace
