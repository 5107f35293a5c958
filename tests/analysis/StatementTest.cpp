#include "ParserTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct CutCase {
    const char* name;
    const char* text;
    std::vector<std::string> statements;
};

class Cutting : public testing::TestWithParam<CutCase> {};

TEST_P(Cutting, CutsAtTerminatorsBracesAndLabels) {
    EXPECT_EQ(CutStatements(GetParam().text), GetParam().statements);
}

INSTANTIATE_TEST_SUITE_P(
    HeaderParser, Cutting,
    testing::Values(
        CutCase{"OneLineBody", "void F() { return 0; }", {"void F() ", "{", " return 0;", " }"}},
        CutCase{"OneLineBodyAfterFunction",
                "void A();\nvoid F() { return 0; }",
                {"void A();", "void F() ", "{", " return 0;", " }"}},
        CutCase{
            "BraceOnNextLine", "class CFoo : public CBar\n{", {"class CFoo : public CBar", "{"}},
        CutCase{"BraceEndsClassHead", "class Foo : public Bar {", {"class Foo : public Bar ", "{"}},
        CutCase{"BraceEndsFunctionHead",
                "int get() const {\nreturn m_x;\n}",
                {"int get() const ", "{", "return m_x;", "}"}},
        CutCase{
            "BraceAfterHeadOverTwoLines", "virtual void\nDraw() {", {"virtual void Draw() ", "{"}},
        CutCase{"BraceAloneAfterCut", "int a; {", {"int a;", " {"}},
        CutCase{"LinesJoinedWithBlank", "virtual void\n  Draw();", {"virtual void Draw();"}},
        CutCase{"JoinAfterCommaFollowsSpacing",
                "class CFoo : public CBar,\n    public CBaz\n{",
                {"class CFoo : public CBar,public CBaz", "{"}},
        CutCase{"JoinBeforePointer", "char\n*p;", {"char* p;"}},
        CutCase{"EmptyLinesAddNothing", "int\n\n// note\nx;", {"int x;"}},
        CutCase{"Labels",
                "public:\nint x;\nprivate:\nprotected:",
                {"public:", "int x;", "private:", "protected:"}},
        CutCase{"LabelBeforeMemberOnOneLine", "public: int x;", {"public: int x;"}},
        CutCase{"DirectiveEndsStatement", "int a\n#if X\n;", {"int a", ";"}},
        CutCase{"ContinuedDefineSkipped", "#define X \\\n  class Fake {\nint b;", {"int b;"}},
        CutCase{"ClosingBraceAndSemicolon", "};", {"}", ";"}},
        CutCase{"SeveralOnOneLine", "a; b; c;", {"a;", " b;", " c;"}},
        CutCase{"CommentOverLines", "int a; /* x\n y */ int b;", {"int a;", "int b;"}},
        CutCase{"RestAfterCommentOpens", "int a; int b; /* x\n*/", {"int a;", " int b;"}},
        CutCase{"Enumeration", "enum E { A, B };", {"enum E ", "{", " A,B }", ";"}},
        CutCase{"ElseBetweenBraces", "} else {", {"}", " else ", "{"}},
        CutCase{"LastLineWithoutEnd", "int a;\nint b", {"int a;", "int b"}}),
    [](const auto& param) { return std::string(param.param.name); });

// A line far longer than any buffer of the original with thousands of
// statements: every statement is cut, in order.
TEST(Cutting, LongLineWithManyStatements) {
    std::string text = "class CBig {";
    for (int i = 0; i < 5000; ++i) {
        text += " int m_" + std::to_string(i) + ";";
    }
    text += " };";
    ParsedHeaders parsed(text);
    ASSERT_EQ(parsed.root->GetChildCount(), 5001);
    EXPECT_EQ(Describe(*parsed.root->GetChild(1)), "V m_0 | int @1");
    EXPECT_EQ(Describe(*parsed.root->GetChild(5000)), "V m_4999 | int @1");
}

} // namespace
