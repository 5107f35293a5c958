#include "TempDir.h"
#include "search/SourceSearch.h"

#include <gtest/gtest.h>

namespace {

const auto CaseName = [](const auto& testInfo) { return std::string(testInfo.param.name); };

struct TextCase {
    const char* name;
    const char* contents;
    const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.name;
}

class CodeTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CodeTextTest, ReadsFileAsOneLine) {
    CTempDir dir;
    const std::string path = dir.Write("x.cpp", GetParam().contents);
    EXPECT_EQ(CSourceSearch::ReadCodeText(path), GetParam().expected);
    EXPECT_EQ(CSourceSearch::CodeTextOf(GetParam().contents), GetParam().expected);
}

const TextCase kCodeTextCases[] = {
    {"LineComment", "x = 1; // note\n", "x = 1;"},
    {"LineCommentMarkerInsideLiteral", "s = \"a//b\"; y\n", "s = ; y"},
    {"BlockCommentOverTwoLines", "/* a\nb */ c\n", "c"},
    {"DirectiveWithContinuation", "#define A \\\n  1\nint x;\n", "int x;"},
    {"ContinuationLinesAreNotCleaned", "#define X \\\n/* open\nint y;\n", "int y;"},
    {"FirstAccessLabelOnly", "public: int f(); public: x\n", "int f(); public: x"},
    {"AllThreeLabels", "private: protected: public: int z;\n", "int z;"},
    {"TabsAndRuns", "int\t\tx  =\t 1;\n", "int x = 1;"},
    {"EscapedQuoteInsideLiteral", "s = \"a\\\"b\"; t\n", "s = ; t"},
    {"EscapedBackslashEndsLiteral", "s = \"a\\\\\"; t\n", "s = ; t"},
    {"BlockMarkerInsideLiteral", "s = \"/*\"; x\n", "s = ; x"},
    {"LoneQuoteGoesAlone", "char c = '\"'; int x;\n", "char c = ''; int x;"},
    {"HashCutsTheLine", "x = 1; # y\nz;\n", "x = 1; z;"},
    {"UnterminatedCommentBlanksTheRest", "int a; /* open\nint b;\n", "int a;"},
    {"CommentEndAfterOddQuoteKeepsCommentOpen", "/* a\n\"*/ b\nc\n", "b"},
    {"CommentFormedByRemovedLiteral", "a /\"x\"* b */ c\n", "a  c"},
    {"CrLfLineEnds", "int a;\r\nint b;\r\n", "int a; int b;"},
    {"LastLineWithoutLineEnd", "int a;\nint b;", "int a; int b;"},
    {"EmptyFile", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, CodeTextTest, ::testing::ValuesIn(kCodeTextCases), CaseName);

class IncludeListTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(IncludeListTest, ListsQuotedIncludes) {
    CTempDir dir;
    const std::string path = dir.Write("x.cpp", GetParam().contents);
    EXPECT_EQ(CSourceSearch::ReadIncludeList(path), GetParam().expected);
    EXPECT_EQ(CSourceSearch::IncludeListOf(GetParam().contents), GetParam().expected);
}

const TextCase kIncludeCases[] = {
    {"QuotedOnly", "#include \"a.h\"\n#include <b.h>\n", "a.h|"},
    {"Several", "#include \"a.h\"\nint x;\n#include \"sub\\b.h\"\n", "a.h|sub\\b.h|"},
    {"IndentedLine", "   #include \"a.h\"\n", "a.h|"},
    {"CommentInFrontLeavesABlank", "/* c */ #include \"a.h\"\n", ""},
    {"NoClosingQuote", "#include \"a.h\n#include \"b.h\"\n", "b.h|"},
    {"ContinuedLine", "#include \\\n\"a.h\"\n", "a.h|"},
    {"InsideBlockComment", "/*\n#include \"a.h\"\n*/\n#include \"b.h\"\n", "b.h|"},
    {"TrailingLineComment", "#include \"a.h\" // \"x\"\n", "a.h|"},
    {"BlanksAroundName", "#include \"  a.h \"\n", "a.h|"},
    {"DirectiveContinuationIsAnOrdinaryLine", "#define X \\\n/* open\n#include \"a.h\"\n", ""},
    {"BackslashPairsGo", "#include \"sub\\\\b.h\"\n", "subb.h|"},
    {"AccessLabelInFront", "public:#include \"a.h\"\n", "a.h|"},
    {"EmptyName", "#include \"\"\n", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, IncludeListTest, ::testing::ValuesIn(kIncludeCases), CaseName);

TEST(ReadersTest, MissingFileReadsAsEmpty) {
    EXPECT_EQ(CSourceSearch::ReadCodeText("/nonexistent/x.cpp"), "");
    EXPECT_EQ(CSourceSearch::ReadIncludeList("/nonexistent/x.cpp"), "");
    CTempDir dir;
    EXPECT_EQ(CSourceSearch::ReadCodeText(dir.Path()), ""); // a directory
}

struct LineCase {
    const char* name;
    const char* line;
    bool inComment;
    const char* expected;
    bool inCommentAfter;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

class CleanLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(CleanLineTest, Cleans) {
    std::string line = GetParam().line;
    bool inComment = GetParam().inComment;
    CSourceSearch::CleanLine(line, inComment);
    EXPECT_EQ(line, GetParam().expected);
    EXPECT_EQ(inComment, GetParam().inCommentAfter);
}

const LineCase kLineCases[] = {
    {"LeadingBlanksTabsRuns", "\t  int \t  x;", false, "int x;", false},
    {"OpensComment", "a /* b", false, "a ", true},
    {"ClosesComment", "x */ y", true, " y", false},
    {"CloserAfterOddQuoteStaysOpen", "\"x */ y", true, "\"x  y", true},
    {"NoCloserBlanksLine", "no end", true, "", true},
    {"LineComment", "a // b", false, "a ", false},
    {"LineCommentInLiteral", "s = \"//\" x", false, "s = \"\" x", false},
    {"CommentAfterLiteral", "s = \"a\" // b", false, "s = \"a\" ", false},
    {"BlockCommentInline", "a /* b */ c /* d */ e", false, "a  c  e", false},
    {"CloserRightAfterOpener", "a /*/ b", false, "a  b", false},
    {"LabelsOnceEach", "private: protected: public: x", false, "   x", false},
    {"OddBackslashRunKeepsOne", "a\\\\\\b", false, "a\\b", false},
    {"EscapedQuoteGoes", "\\\"x", false, "x", false},
};

INSTANTIATE_TEST_SUITE_P(Cases, CleanLineTest, ::testing::ValuesIn(kLineCases), CaseName);

struct BlockCase {
    const char* name;
    const char* text;
    const char* opener;
    const char* closer;
    const char* expected;
};

using Operation = std::string (*)(const std::string&, const std::string&, const std::string&);

void CheckBlockCases(Operation operation, const std::vector<BlockCase>& cases) {
    for (const BlockCase& c : cases) {
        EXPECT_EQ(operation(c.text, c.opener, c.closer), c.expected) << c.name;
    }
}

TEST(BlockOperationsTest, FindClosing) {
    EXPECT_EQ(CSourceSearch::FindClosing("{a{b}c}", "{", "}", 0), 6);
    EXPECT_EQ(CSourceSearch::FindClosing("{a{b}c}", "{", "}", 2), 4);
    EXPECT_EQ(CSourceSearch::FindClosing("{a", "{", "}", 0), -1);
    EXPECT_EQ(CSourceSearch::FindClosing("/* a /* b */ c */", "/*", "*/", 0), 15);
    EXPECT_EQ(CSourceSearch::FindClosing("/*/", "/*", "*/", 0), 1); // markers may overlap
    EXPECT_EQ(CSourceSearch::FindClosing("}{}", "{", "}", -1), 0);
    EXPECT_EQ(CSourceSearch::FindClosing("{}", "{", "}", 5), -1);
}

TEST(BlockOperationsTest, FirstBlockContent) {
    CheckBlockCases(CSourceSearch::FirstBlockContent,
                    {
                        {"Trimmed", "class A { int x; } ;", "{", "}", "int x;"},
                        {"Nested", "f() { a { b } c } { d }", "{", "}", "a { b } c"},
                        {"None", "no braces", "{", "}", ""},
                        {"Unclosed", "x { y", "{", "}", ""},
                        {"Parens", "f(a, (b)) x", "(", ")", "a, (b)"},
                    });
}

TEST(BlockOperationsTest, EmptyFirstBlock) {
    CheckBlockCases(CSourceSearch::EmptyFirstBlock,
                    {
                        {"Function", "int f(){ return 1; } x", "{", "}", "int f(){} x"},
                        {"OnlyTheFirst", " a{b} c{d} ", "{", "}", "a{} c{d}"},
                        {"NoOpenerTrims", "  a  ", "{", "}", "a"},
                        {"UnclosedUnchanged", " {a ", "{", "}", " {a "},
                    });
}

TEST(BlockOperationsTest, RemoveFirstBlock) {
    CheckBlockCases(CSourceSearch::RemoveFirstBlock,
                    {
                        {"NestedPairsCollapse", "a{b{}c}d", "{", "}", "ad"},
                        {"EveryPairInTheText", "x{y} z{}w {{}}", "{", "}", "x zw "},
                        {"OtherBlocksStay", "x{}{}{y}", "{", "}", "x{y}"},
                        {"ParameterList", "void f(int a) const", "(", ")", "void f const"},
                        {"UnclosedStillLosesPairs", "f( g() ", "(", ")", "f( g "},
                    });
}

TEST(BlockOperationsTest, EmptyAllBlocks) {
    CheckBlockCases(
        CSourceSearch::EmptyAllBlocks,
        {
            {"Two", "a /* x */ b /* y */ c", "/*", "*/", "a /**/ b /**/ c"},
            {"NestedIsOne", "/* a /* b */ c */ d", "/*", "*/", "/**/ d"},
            {"UnclosedUnchanged", " a /* x ", "/*", "*/", " a /* x "},
            {"LaterUnclosedDiscardsAll", "a /* x */ b /* y", "/*", "*/", "a /* x */ b /* y"},
            {"NoneTrims", "  a  ", "/*", "*/", "a"},
            {"OpenerFormedByDeletion", "x //**/**/ y", "/*", "*/", "x //**/**/ y"},
        });
}

TEST(BlockOperationsTest, RemoveAllBlocks) {
    CheckBlockCases(CSourceSearch::RemoveAllBlocks,
                    {
                        {"UnclosedUnchanged", "a /* x", "/*", "*/", "a /* x"},
                        {"Removed", "a /* x */ b", "/*", "*/", "a  b"},
                        {"Joined", "x //**/**/ y", "/*", "*/", "x  y"},
                    });
}

TEST(BlockOperationsTest, RemovePairsKeepsTheLeftToRightOrder) {
    // "/**/" overlaps itself; each pass removes from the left, which is not
    // what removing at the first chance would give ("**/").
    EXPECT_EQ(CSourceSearch::RemovePairs("//**/**/**/", "/**/"), "/**");
    EXPECT_EQ(CSourceSearch::RemovePairs("{{}{}}x{", "{}"), "x{");
    EXPECT_EQ(CSourceSearch::RemovePairs("abc", ""), "abc");
}

TEST(BlockOperationsTest, FindLastClassKeyword) {
    EXPECT_EQ(CSourceSearch::FindLastClassKeyword("class A {} class B : public A"), 11);
    EXPECT_EQ(CSourceSearch::FindLastClassKeyword("struct S"), -1);
    EXPECT_EQ(CSourceSearch::FindLastClassKeyword("subclass x"), 3);
    EXPECT_EQ(CSourceSearch::FindLastClassKeyword("class"), -1);
}

TEST(HeadRuleTest, SplitsQualifierAndName) {
    struct Case {
        const char* head;
        const char* classPart;
        const char* functionPart;
    };
    const Case cases[] = {
        {"void CView::OnDraw(CDC* pDC)", "CView", "OnDraw"},
        {"int main()", "-", "main"},
        {"int n; void f() ", "-", "n; void f"},
        {"main()", "-", "main"},
        {"  B::Run() ", "B", "Run"},
        {"void B::Run(int a) const", "B", "Run const"},
        {"A::A() : m(0)", "-", ": m(0)"},
        {"std::string A::name() const", "A", "name const"},
        {"void f(", "-", "f("},
        {"", "-", ""},
    };
    for (const Case& c : cases) {
        std::string classPart;
        std::string functionPart;
        CSourceSearch::SplitHead(c.head, classPart, functionPart);
        EXPECT_EQ(classPart, c.classPart) << c.head;
        EXPECT_EQ(functionPart, c.functionPart) << c.head;
    }
}

} // namespace
