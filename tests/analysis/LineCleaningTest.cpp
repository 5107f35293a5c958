#include "ParserTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Spacing, WorkedExamplesAndEdges) {
    const std::pair<const char*, const char*> cases[] = {
        {"CString & a , int * p", "CString& a,int* p"},
        {"char*p", "char* p"},
        {"\tint\tx;", " int x;"},
        {"int    x", "int x"},
        {"vector < int >", "vector< int>"},
        {"*p", "*p"},
        {"a,*p", "a,*p"},
        {"a&&b", "a&& b"},
        {"f(int*)", "f(int*)"},
        {"a =   b", "a=b"},
        {"int* &r", "int*& r"},
        {" ", " "},
        {" ,", ","},
        {"\xc3\xa4*b", "\xc3\xa4* b"},
    };
    for (const auto& [input, expected] : cases) {
        std::string line = input;
        CHeaderParser::NormalizeSpacing(line);
        EXPECT_EQ(line, expected) << input;
    }
}

// Comments and directives over several lines: the cutting tests below.
TEST(Cleaning, RemovesCommentsDirectivesAndStrings) {
    // In a comment and a directive before; the line; it cleaned; the two after.
    const std::tuple<bool, bool, const char*, const char*, bool, bool> cases[] = {
        {false, false, "int a; /* x */ int b; // note", "int a; int b;", false, false},
        {true, false, "int hidden;", "", true, false},
        {false, false, "int a; // has /* inside", "int a;", false, false},
        {false, false, "x = y; */ z", "x=y; z", false, false},
        {false, false, "/* see http://x.org */ int a;", "int a;", false, false},
        {false, false, "void f(int /*x*/); // note", "void f(int );", false, false},
        {false, false, "const char* s = \"http://x\"; int b;", "const char* s=; int b;", false,
         false},
        {false, false, "a \"open", "a \"open", false, false},
        {false, false, "  #  include <x>", "", false, false},
        {false, true, "  more \\", "", false, true},
        {false, true, "  last", "", false, false},
        {false, false, "#if 0 /* start", "", true, false},
        {false, false, "\tint\tx; \t", "int x;", false, false},
        {false, true, "", "", false, true},
    };
    for (const auto& [comment, directive, input, cleaned, commentAfter, directiveAfter] : cases) {
        std::string line = input;
        bool inDirective = directive;
        const bool inComment = CHeaderParser::StripComments(comment, inDirective, line);
        EXPECT_EQ(std::make_tuple(line, inComment, inDirective),
                  std::make_tuple(std::string(cleaned), commentAfter, directiveAfter))
            << input;
    }
}

// The statements of a text in the order the parser cuts them, handling each
// as the parser does (cutting depends on what came before).
Lines CutStatements(const std::string& text) {
    ParsedHeaders parsed;
    parsed.parser.BeginFile("/inc/a.h");
    CLineSource lines(text);
    Lines statements;
    for (bool more = true; more;) {
        const std::string statement = parsed.parser.ReadStatement(lines, more);
        if (!statement.empty()) {
            statements.push_back(statement);
        }
        parsed.parser.HandleStatement(statement);
    }
    return statements;
}

TEST(Cutting, CutsAtTerminatorsBracesAndLabels) {
    const std::pair<const char*, Lines> cases[] = {
        {"void A();\nvoid F() { return 0; }", {"void A();", "void F() ", "{", " return 0;", " }"}},
        {"virtual void\nDraw() {", {"virtual void Draw() ", "{"}},
        {"int a; {", {"int a;", " {"}},
        {"class CFoo : public CBar,\n    public CBaz\n{",
         {"class CFoo : public CBar,public CBaz", "{"}},
        {"char\n*p;", {"char* p;"}},
        {"int\n\n// note\nx;", {"int x;"}},
        {"public:\nint x;\nprivate:\nprotected: int y;",
         {"public:", "int x;", "private:", "protected: int y;"}},
        {"int a\n#if X\n;", {"int a", ";"}},
        {"#define X \\\n  class Fake {\nint b;", {"int b;"}},
        {"}; a; b;", {"}", ";", " a;", " b;"}},
        {"int a; /* x\n y */ int b; /* x\n*/", {"int a;", "int b;"}},
        {"enum E { A, B };", {"enum E ", "{", " A,B }", ";"}},
        {"int a;\nint b", {"int a;", "int b"}},
    };
    for (const auto& [text, statements] : cases) {
        EXPECT_EQ(CutStatements(text), statements) << text;
    }
}

// A line far longer than any buffer of the original with thousands of
// statements: every statement is cut, in order.
TEST(Cutting, LongLineWithManyStatements) {
    std::string text = "class CBig {";
    for (int i = 0; i < 5000; ++i) {
        text += " int m_" + std::to_string(i) + ";";
    }
    ParsedHeaders parsed(text + " };");
    ASSERT_EQ(parsed.root->GetChildCount(), 5001);
    EXPECT_EQ(Describe(*parsed.root->GetChild(5000)), "V m_4999 | int @1");
}

} // namespace
