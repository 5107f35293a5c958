#include "ParserTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(Cutting, CutsAtTerminatorsBracesAndLabels) {
    const std::pair<const char*, Lines> cases[] = {
        {"void A();\nvoid F() { return 0; }", {"void A();", "void F() ", "{", " return 0;", " }"}},
        {"class CFoo : public CBar\n{", {"class CFoo : public CBar", "{"}},
        {"int get() const {\nreturn m_x;\n}", {"int get() const ", "{", "return m_x;", "}"}},
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
        {"} else {", {"}", " else ", "{"}},
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
