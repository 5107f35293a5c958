// Worked examples of the reading and text rules; the generated comparisons
// against the literal steps cover the rest, the line cleaning and the head
// rule included.

#include "TempDir.h"
#include "search/SourceSearch.h"

#include <gtest/gtest.h>

namespace {

TEST(TokenizerTest, WorkedExamples) {
    struct Case {
        bool include; // include list, else code text
        const char* contents;
        const char* expected;
    };
    const Case cases[] = {
        {false, "x = 1; // note\ns = \"a//b\"; y\n/* a\nb */ c\r\n", "x = 1; s = ; y  c"},
        {false, "#define A \\\n  1\n#define X \\\n/* open\nint x;\n", "int x;"},
        {false, "private: protected: public: int\t\tx  =\t 1; public: y\n", "int x = 1; public: y"},
        {false, "s = \"a\\\"b\"; t = \"a\\\\\"; u = \"/*\"; x\n", "s = ; t = ; u = ; x"},
        {false, "char c = '\"'; int x; # y\nz;\n", "char c = ''; int x; z;"},
        {false, "int a; /* open\nint b;\n", "int a;"},
        {false, "/* a\n\"*/ b\nc\n", "b"},
        {false, "a /\"x\"* b */ c\n", "a  c"},
        {true, "#include \"a.h\"\n#include <b.h>\n   #include \"sub\\c.h\"\n", "a.h|sub\\c.h|"},
        {true, "/* c */ #include \"a.h\"\n", ""},
        {true, "#include \"a.h\n#include \\\n\"b.h\" // \"x\"\n", "b.h|"},
        {true, "/*\n#include \"a.h\"\n*/\n#include \"  b.h \"\n", "b.h|"},
        {true, "#define X \\\n/* open\n#include \"a.h\"\n", ""},
        {true, "#include \"sub\\\\b.h\"\npublic:#include \"a.h\"\n#include \"\"\n", "subb.h|a.h|"},
    };
    CTempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.Write("x.cpp", c.contents);
        // The file readers read the file whole and clean it in memory.
        EXPECT_EQ(c.include ? CSourceSearch::ReadIncludeList(path)
                            : CSourceSearch::ReadCodeText(path),
                  c.expected)
            << c.contents;
    }
    EXPECT_EQ(CSourceSearch::ReadCodeText("/nonexistent/x.cpp"), "");
    EXPECT_EQ(CSourceSearch::ReadIncludeList("/nonexistent/x.cpp"), "");
    EXPECT_EQ(CSourceSearch::ReadCodeText(dir.Path()), ""); // a directory
    // Nesting, unpaired and overlapping markers, passes from the left.
    using S = CSourceSearch;
    EXPECT_EQ(S::FirstBlockContent("f() { a { b } c } { d }", "{", "}"), "a { b } c");
    EXPECT_EQ(S::RemoveFirstBlock("x{y} z{}w {{}}", "{", "}"), "x zw ");
    EXPECT_EQ(S::RemoveFirstBlock("f( g() ", "(", ")"), "f( g ");
    EXPECT_EQ(S::EmptyAllBlocks("/* a /* b */ c */ d /* e */", "/*", "*/"), "/**/ d /**/");
    EXPECT_EQ(S::EmptyAllBlocks("a /* x */ b /* y", "/*", "*/"), "a /* x */ b /* y");
    EXPECT_EQ(S::RemoveAllBlocks("x //**/**/ y", "/*", "*/"), "x  y");
    EXPECT_EQ(S::FindClosing("/*/", "/*", "*/", 0), 1);
    EXPECT_EQ(S::RemovePairs("//**/**/**/", "/**/"), "/**");
    EXPECT_EQ(S::FindLastClassKeyword("class A {} subclass B : public A"), 14);
}

} // namespace
