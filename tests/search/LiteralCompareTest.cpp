// The engine walks texts with cursors, keeps what it reads for a search and
// remembers include answers; each of those must give exactly what the rules
// give when followed step by step. Compared here on generated inputs.

#include "LiteralSearch.h"
#include "TempDir.h"
#include "search/SourceSearch.h"

#include <gtest/gtest.h>
#include <random>

namespace {

class CGenerator {
public:
    explicit CGenerator(unsigned seed) : m_random(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    std::string Text(const std::vector<std::string>& pieces, int maxPieces) {
        std::string text;
        const int count = Below(maxPieces + 1);
        for (int i = 0; i < count; ++i) {
            text += pieces[static_cast<size_t>(Below(static_cast<int>(pieces.size())))];
        }
        return text;
    }

    template <typename T> const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }

private:
    std::mt19937 m_random;
};

const std::vector<std::string> kBracePieces = {"{", "}", "{}", "{{", "}}", "a", " ", "(", ")"};
const std::vector<std::string> kCommentPieces = {"/", "*", "/*", "*/", "/**/", "a", " "};

TEST(LiteralCompareTest, BlockOperations) {
    CGenerator gen(1);
    struct Markers {
        std::string opener;
        std::string closer;
        const std::vector<std::string>* pieces;
    };
    const std::vector<Markers> markers = {
        {"{", "}", &kBracePieces}, {"(", ")", &kBracePieces}, {"/*", "*/", &kCommentPieces}};
    for (int i = 0; i < 20000; ++i) {
        const Markers& m = gen.Pick(markers);
        const std::string t = gen.Text(*m.pieces, 24);
        const std::string& o = m.opener;
        const std::string& k = m.closer;
        ASSERT_EQ(CSourceSearch::FirstBlockContent(t, o, k), literal::FirstBlockContent(t, o, k))
            << t;
        ASSERT_EQ(CSourceSearch::EmptyFirstBlock(t, o, k), literal::EmptyFirstBlock(t, o, k)) << t;
        ASSERT_EQ(CSourceSearch::RemoveFirstBlock(t, o, k), literal::RemoveFirstBlock(t, o, k))
            << t;
        ASSERT_EQ(CSourceSearch::EmptyAllBlocks(t, o, k), literal::EmptyAllBlocks(t, o, k)) << t;
        ASSERT_EQ(CSourceSearch::RemoveAllBlocks(t, o, k), literal::RemoveAllBlocks(t, o, k)) << t;
        const int start = gen.Below(static_cast<int>(t.size()) + 2) - 1;
        ASSERT_EQ(CSourceSearch::FindClosing(t, o, k, start), literal::FindClosing(t, o, k, start))
            << t;
    }
}

TEST(LiteralCompareTest, BlockOperationsWithUnusualMarkers) {
    // Longer and overlapping markers exercise the joins of EmptyAllBlocks.
    CGenerator gen(2);
    const std::vector<std::string> pieces = {"a", "b", "c", "ab", "ba", "abc", "cb", " "};
    const std::vector<std::pair<std::string, std::string>> markers = {
        {"ab", "ba"}, {"abc", "cb"}, {"aa", "a"}, {"a", "b"}, {"abc", "c"}, {"b", "bb"}};
    for (int i = 0; i < 20000; ++i) {
        const auto& [o, k] = gen.Pick(markers);
        const std::string t = gen.Text(pieces, 16);
        ASSERT_EQ(CSourceSearch::EmptyAllBlocks(t, o, k), literal::EmptyAllBlocks(t, o, k))
            << t << " " << o << " " << k;
        ASSERT_EQ(CSourceSearch::RemoveAllBlocks(t, o, k), literal::RemoveAllBlocks(t, o, k))
            << t << " " << o << " " << k;
        ASSERT_EQ(CSourceSearch::RemoveFirstBlock(t, o, k), literal::RemoveFirstBlock(t, o, k))
            << t << " " << o << " " << k;
    }
}

TEST(LiteralCompareTest, RemovePairsAndLastClassKeyword) {
    CGenerator gen(3);
    const std::vector<std::string> pairs = {"{}", "/**/", "aa", "aba", "ab"};
    const std::vector<std::string> pieces = {"a", "b", "{", "}", "/", "*", "class ", "class", " "};
    for (int i = 0; i < 20000; ++i) {
        const std::string t = gen.Text(pieces, 20);
        const std::string& pair = gen.Pick(pairs);
        std::string expected = t;
        while (literal::Replace(expected, pair, "") > 0) {
        }
        ASSERT_EQ(CSourceSearch::RemovePairs(t, pair), expected) << t << " " << pair;
        ASSERT_EQ(CSourceSearch::FindLastClassKeyword(t), literal::FindLastClassKeyword(t)) << t;
    }
}

const std::vector<std::string> kLinePieces = {
    "\t",         " ",  "  ", "\\", "\\\\", "\"",      "//",
    "/*",         "*/", "/",  "*",  "#",    "public:", "private:",
    "protected:", "a",  "x;", "{",  "}",    "class ",  "#include \"a.h\"",
    "<b.h>"};

TEST(LiteralCompareTest, LineCleaning) {
    CGenerator gen(4);
    for (int i = 0; i < 50000; ++i) {
        const std::string line = gen.Text(kLinePieces, 12);
        for (const bool inComment : {false, true}) {
            std::string fast = line;
            bool fastState = inComment;
            CSourceSearch::CleanLine(fast, fastState);
            std::string slow = line;
            bool slowState = inComment;
            literal::CleanLine(slow, slowState);
            ASSERT_EQ(fast, slow) << line;
            ASSERT_EQ(fastState, slowState) << line;
        }
    }
}

std::string GenerateFile(CGenerator& gen, const std::vector<std::string>& extraLines) {
    std::string contents;
    const int lines = gen.Below(12);
    for (int l = 0; l < lines; ++l) {
        if (gen.Below(4) == 0) {
            contents += gen.Pick(extraLines);
        } else {
            contents += gen.Text(kLinePieces, 8);
        }
        if (l + 1 < lines || gen.Below(2) == 0) {
            contents += gen.Below(5) == 0 ? "\r\n" : "\n";
        }
    }
    return contents;
}

TEST(LiteralCompareTest, Readers) {
    CGenerator gen(5);
    CTempDir dir;
    const std::vector<std::string> extra = {"#include \"a.h\"",
                                            "#include \"sub\\b.h\"",
                                            " #include \"c.h",
                                            "#include \\",
                                            "#define X \\",
                                            "/* open",
                                            "close */",
                                            "\"a.h\"",
                                            "#include <d.h>",
                                            "public:#include \"e.h\"",
                                            "#include \"f.h\" \\",
                                            "x \\\\",
                                            "#define Y \\\\",
                                            "#include \\\\"};
    for (int i = 0; i < 3000; ++i) {
        const std::string contents = GenerateFile(gen, extra);
        const std::string path = dir.Write("x.cpp", contents);
        ASSERT_EQ(CSourceSearch::ReadCodeText(path), literal::ReadCodeText(path)) << contents;
        ASSERT_EQ(CSourceSearch::ReadIncludeList(path), literal::ReadIncludeList(path)) << contents;
        std::string includes;
        ASSERT_EQ(CSourceSearch::CodeTextAndIncludeList(contents, includes),
                  literal::ReadCodeText(path))
            << contents;
        ASSERT_EQ(includes, literal::ReadIncludeList(path)) << contents;
    }
}

const std::vector<std::string> kCodePieces = {
    "{",  "}", "{}", "(", ")",     " ",    " ", "A",      "B",       "AB", "Draw",
    "::", ":", ";",  ",", "void ", "int ", "f", "class ", "public ", "x"};

TEST(LiteralCompareTest, FunctionSearchesOnTexts) {
    CGenerator gen(6);
    const std::vector<std::string> classNames = {"A", "AB", "B", "", " A"};
    const std::vector<std::string> functionNames = {"Draw", "f", "A", ""};
    for (int i = 0; i < 20000; ++i) {
        const std::string text = literal::Trim(gen.Text(kCodePieces, 30));
        const std::string& cls = gen.Pick(classNames);
        const std::string& fn = gen.Pick(functionNames);
        CSourceSearch search;
        search.BeginSearch(cls, fn, "");
        search.FindClassUseInFunctions(text, "/nonexistent/x.cpp");
        search.FindFunctionUse(text, "/nonexistent/x.cpp");
        literal::CLiteralSearch reference;
        reference.className = cls;
        reference.functionName = fn;
        reference.FindClassUse(text, "/nonexistent/x.cpp");
        reference.FindFunctionUse(text, "/nonexistent/x.cpp");
        ASSERT_EQ(search.ClassHits(), reference.classHits) << text << " / " << cls;
        ASSERT_EQ(search.FunctionHits(), reference.functionHits) << text << " / " << fn;
    }
}

TEST(LiteralCompareTest, HeaderSearchOnTexts) {
    CGenerator gen(9);
    CTempDir dir;
    const std::vector<std::string> classNames = {"A", "AB", "B", "", "{}", "A B"};
    for (int i = 0; i < 2000; ++i) {
        const std::string text = gen.Text(kCodePieces, 30);
        const std::string path = dir.Write("x.h", text);
        const std::string& cls = gen.Pick(classNames);
        CSourceSearch search;
        search.BeginSearch(cls, "", dir.Path());
        search.SearchHeaderFile(path);
        literal::CLiteralSearch reference;
        reference.className = cls;
        reference.SearchHeaderFile(path);
        ASSERT_EQ(search.HeaderHits(), reference.headerHits) << text << " / " << cls;
    }
}

// A tree of headers and sources that include each other, cycles included,
// with include names written beside the file, below the searched directory,
// with backslashes and with ".." in them.
void GenerateTree(CGenerator& gen, const CTempDir& dir) {
    const std::vector<std::string> files = {"h1.h",  "h2.h",      "sub/h3.h",       "sub/h4.h",
                                            "a.cpp", "sub/b.cpp", "sub/deep/c.cpp", "x.c"};
    const std::vector<std::string> includes = {
        "#include \"h1.h\"",      "#include \"h2.h\"",       "#include \"sub/h3.h\"",
        "#include \"sub\\h4.h\"", "#include \"h3.h\"",       "#include \"../h1.h\"",
        "#include \"missing.h\"", "#include \"../sub/h4.h\""};
    const std::vector<std::string> heads = {
        "class A ",  "class B : public A ", "class C : public A, protected B ",
        "struct S ", "class D : X ",        "void B::Draw() ",
        "int f() ",  "class A : public D ", "B::B() "};
    const std::vector<std::string> bodies = {"{ }",
                                             "{ A a; }",
                                             "{ x.Draw(); }",
                                             "{ B b; }",
                                             "{ { A::f(); } }",
                                             "{ int D; }",
                                             "{ Draw(); }",
                                             "{",
                                             "}",
                                             "{ C c; Draw(); }"};
    for (const std::string& file : files) {
        std::string contents;
        const int parts = gen.Below(8);
        for (int p = 0; p < parts; ++p) {
            switch (gen.Below(4)) {
            case 0:
                contents += gen.Pick(includes) + "\n";
                break;
            case 1:
                contents += gen.Pick(heads) + gen.Pick(bodies) + ";\n";
                break;
            case 2:
                contents += gen.Pick(heads) + "\n" + gen.Pick(bodies) + "\n";
                break;
            default:
                contents += gen.Text(kCodePieces, 6) + "\n";
                break;
            }
        }
        dir.Write(file, contents);
    }
}

TEST(LiteralCompareTest, SearchesOverTrees) {
    CGenerator gen(7);
    const std::vector<std::pair<std::string, std::string>> targets = {
        {"A", ""}, {"B", "Draw"}, {"A", "Draw"}, {"C", "f"}, {"D", "B"}};
    for (int i = 0; i < 150; ++i) {
        CTempDir dir;
        GenerateTree(gen, dir);
        const std::string root = WithTrailingSlash(dir.Path());
        for (const char mode : {'H', 'C', 'F'}) {
            const auto& [cls, fn] = gen.Pick(targets);
            CSourceSearch search;
            search.Search(cls, fn, root, mode);
            literal::CLiteralSearch reference;
            reference.Search(cls, fn, root, mode);
            ASSERT_EQ(search.HeaderHits(), reference.headerHits) << i << mode;
            ASSERT_EQ(search.ClassHits(), reference.classHits) << i << mode;
            ASSERT_EQ(search.FunctionHits(), reference.functionHits) << i << mode;
        }
    }
}

TEST(LiteralCompareTest, IncludeTestOverTrees) {
    // Many names against the same tree: the remembered answers must not leak
    // from one name or one chain of includes to another.
    CGenerator gen(8);
    const std::vector<std::string> names = {"A", "B", "C", "D", "X", " B", "A, B", "-", ""};
    for (int i = 0; i < 100; ++i) {
        CTempDir dir;
        GenerateTree(gen, dir);
        const std::string root = WithTrailingSlash(dir.Path());
        CSourceSearch search;
        search.BeginSearch("A", "Draw", root);
        literal::CLiteralSearch reference;
        reference.searchDir = root;
        for (const char* file : {"a.cpp", "sub/b.cpp", "sub/deep/c.cpp", "h1.h", "sub/h3.h"}) {
            for (const std::string& name : names) {
                const std::string path = root + file;
                ASSERT_EQ(search.IncludesRefer(path, name), reference.IncludesRefer(path, name))
                    << i << " " << file << " '" << name << "'";
            }
        }
    }
}

} // namespace
