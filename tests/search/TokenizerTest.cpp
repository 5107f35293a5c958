// Worked examples of the reading and text rules; the generated comparisons
// against the literal steps cover the rest, the line cleaning and the head
// rule included.

#include "TempDir.h"
#include "search/SourceSearch.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadersTest, CodeTextAndIncludeList) {
    struct Case {
        bool include; // include list, else code text
        const char* contents;
        const char* expected;
    };
    const Case cases[] = {
        {false, "x = 1; // note\ns = \"a//b\"; y\n", "x = 1; s = ; y"},
        {false, "/* a\nb */ c\n", "c"},
        {false, "#define A \\\n  1\n#define X \\\n/* open\nint x;\n", "int x;"},
        {false, "public: int f(); public: x\n", "int f(); public: x"},
        {false, "private: protected: public: int\t\tx  =\t 1;\n", "int x = 1;"},
        {false, "s = \"a\\\"b\"; t = \"a\\\\\"; u = \"/*\"; x\n", "s = ; t = ; u = ; x"},
        {false, "char c = '\"'; int x; # y\nz;\n", "char c = ''; int x; z;"},
        {false, "int a; /* open\nint b;\n", "int a;"},
        {false, "/* a\n\"*/ b\nc\n", "b"},
        {false, "a /\"x\"* b */ c\n", "a  c"},
        {false, "int a;\r\nint b;", "int a; int b;"},
        {false, "", ""},
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
}

TEST(BlockOperationsTest, WorkedExamples) {
    using Operation = std::string (*)(const std::string&, const std::string&, const std::string&);
    const Operation first = CSourceSearch::FirstBlockContent,
                    empty = CSourceSearch::EmptyFirstBlock,
                    remove = CSourceSearch::RemoveFirstBlock,
                    emptyAll = CSourceSearch::EmptyAllBlocks,
                    removeAll = CSourceSearch::RemoveAllBlocks;
    const std::tuple<Operation, const char*, const char*, const char*> cases[] = {
        {first, "f() { a { b } c } { d }", "{", "a { b } c"},
        {first, "x { y", "{", ""},
        {first, "f(a, (b)) x", "(", "a, (b)"},
        {empty, " a{b} c{d} ", "{", "a{} c{d}"},
        {empty, " {a ", "{", " {a "},
        {remove, "x{y} z{}w {{}}", "{", "x zw "},
        {remove, "void f(int a) const", "(", "void f const"},
        {remove, "f( g() ", "(", "f( g "},
        {emptyAll, "/* a /* b */ c */ d /* e */", "/*", "/**/ d /**/"},
        {emptyAll, "a /* x */ b /* y", "/*", "a /* x */ b /* y"},
        {removeAll, "x //**/**/ y", "/*", "x  y"},
    };
    for (const auto& [operation, text, opener, expected] : cases) {
        const std::string closer = opener[0] == '{' ? "}" : opener[0] == '(' ? ")" : "*/";
        EXPECT_EQ(operation(text, opener, closer), expected) << text;
    }
    EXPECT_EQ(CSourceSearch::FindClosing("{a{b}c}", "{", "}", 2), 4);
    EXPECT_EQ(CSourceSearch::FindClosing("/*/", "/*", "*/", 0), 1); // markers may overlap
    // Each pass removes from the left, which is not removing at the first chance.
    EXPECT_EQ(CSourceSearch::RemovePairs("//**/**/**/", "/**/"), "/**");
    EXPECT_EQ(CSourceSearch::FindLastClassKeyword("class A {} subclass B : public A"), 14);
}

} // namespace
