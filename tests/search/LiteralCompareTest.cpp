// The engine walks texts with cursors, keeps what it reads for a search and
// remembers include answers; each of those must give exactly what the rules
// give when followed step by step. Compared here on generated inputs.

#include "LiteralSearch.h"
#include "TempDir.h"
#include "search/SourceSearch.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace {

using Pieces = std::vector<std::string>;

struct CGenerator {
    std::mt19937 random;
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    template <typename T> const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }
    std::string Text(const Pieces& pieces, int maxPieces) {
        std::string text;
        for (int i = Below(maxPieces + 1); i > 0; --i) {
            text += Pick(pieces);
        }
        return text;
    }
};

using Operation = std::string (*)(const std::string&, const std::string&, const std::string&);
const std::pair<Operation, Operation> kOperations[] = {
    {CSourceSearch::FirstBlockContent, literal::FirstBlockContent},
    {CSourceSearch::EmptyFirstBlock, literal::EmptyFirstBlock},
    {CSourceSearch::RemoveFirstBlock, literal::RemoveFirstBlock},
    {CSourceSearch::EmptyAllBlocks, literal::EmptyAllBlocks},
    {CSourceSearch::RemoveAllBlocks, literal::RemoveAllBlocks}};

TEST(LiteralCompareTest, BlockOperations) {
    CGenerator gen{std::mt19937(1)};
    const Pieces braces = {"{", "}", "{}", "{{", "}}", "a", " ", "(", ")"};
    const Pieces comments = {"/", "*", "/*", "*/", "/**/", "a", " "};
    const Pieces letters = {"a", "b", "c", "ab", "ba", "abc", "cb", " "};
    // Longer and overlapping markers exercise the joins of EmptyAllBlocks.
    const std::vector<std::tuple<std::string, std::string, const Pieces*>> markers = {
        {"{", "}", &braces},    {"(", ")", &braces},     {"/*", "*/", &comments},
        {"ab", "ba", &letters}, {"abc", "cb", &letters}, {"aa", "a", &letters},
        {"a", "b", &letters},   {"b", "bb", &letters}};
    for (int i = 0; i < 40000; ++i) {
        const auto& [o, k, pieces] = gen.Pick(markers);
        const std::string t = gen.Text(*pieces, 24);
        const std::string why = t + " " + o + " " + k;
        for (const auto& [fast, slow] : kOperations) {
            ASSERT_EQ(fast(t, o, k), slow(t, o, k)) << why;
        }
        const int start = gen.Below(static_cast<int>(t.size()) + 2) - 1;
        ASSERT_EQ(CSourceSearch::FindClosing(t, o, k, start), literal::FindClosing(t, o, k, start))
            << why;
        ASSERT_EQ(CSourceSearch::RemovePairs(t, o + k), literal::S::ReplaceAll(t, o + k, ""))
            << why;
        const std::string c = t + gen.Pick(Pieces{"class ", "class", " class A"}) + t;
        ASSERT_EQ(CSourceSearch::FindLastClassKeyword(c), literal::FindLastClassKeyword(c)) << c;
    }
}

const Pieces kLinePieces = {"\t",         " ",  "  ", "\\", "\\\\", "\"",      "//",
                            "/*",         "*/", "/",  "*",  "#",    "public:", "private:",
                            "protected:", "a",  "x;", "{",  "}",    "class ",  "#include \"a.h\"",
                            "<b.h>"};

// The line cleaning through all three readers: each line on its own, and the
// comment state carried from line to line.
TEST(LiteralCompareTest, ReadersOverGeneratedFiles) {
    CGenerator gen{std::mt19937(4)};
    CTempDir dir;
    // clang-format off
    const Pieces extra = {"#include \"a.h\"", "#include \"sub\\b.h\"", " #include \"c.h",
        "#include \\", "#define X \\", "/* open", "close */", "\"a.h\"", "#include <d.h>",
        "public:#include \"e.h\"", "#include \"f.h\" \\",
        "x \\\\", "#define Y \\\\", "#include \\\\"};
    // clang-format on
    for (int i = 0; i < 3000; ++i) {
        std::string contents;
        for (int l = gen.Below(12); l > 0; --l) {
            contents += gen.Below(4) == 0 ? gen.Pick(extra) : gen.Text(kLinePieces, 8);
            if (l > 1 || gen.Below(2) == 0) {
                contents += gen.Below(5) == 0 ? "\r\n" : "\n";
            }
        }
        const std::string path = dir.Write("x.cpp", contents);
        const std::string code = literal::Read(path, false), includes = literal::Read(path, true);
        ASSERT_EQ(CSourceSearch::ReadCodeText(path), code) << contents;
        ASSERT_EQ(CSourceSearch::ReadIncludeList(path), includes) << contents;
        std::string both;
        ASSERT_EQ(CSourceSearch::CodeTextAndIncludeList(contents, both), code) << contents;
        ASSERT_EQ(both, includes) << contents;
    }
}

const Pieces kCodePieces = {"{",    "}",  "{}",     "(",       ")", " ",   " ",  "A",
                            "B",    "AB", "Draw",   "::",      ":", ";",   ",",  "void ",
                            "int ", "f",  "class ", "public ", "x", "pub", "lic"};

// Headers and sources that include each other at random: cycles,
// self-includes, missing files, names written beside the file, below the
// searched directory, with backslashes and "..", and now and then every
// header including every other one. Sources end with uses of Draw.
void GenerateTree(CGenerator& gen, const CTempDir& dir) {
    const Pieces names = {"A", "B", "C", "K", "D"};
    const Pieces includes = {"h0.h",      "h1.h",    "h2.h",      "sub/h3.h",
                             "sub\\h4.h", "../h1.h", "missing.h", "../sub/h4.h"};
    const Pieces heads = {"class A ",  "class B : public A ", "class C : public A, protected B ",
                          "struct S ", "class D : X ",        "void B::Draw() ",
                          "int f() ",  "class A : public D ", "B::B() "};
    // clang-format off
    const Pieces bodies = {"{ }", "{ A a; }", "{ x.Draw(); }", "{ B b; }", "{ { A::f(); } }",
        "{ int D; }", "{ Draw(); }", "{", "}", "{ C c; Draw(); }"};
    // clang-format on
    const bool clique = gen.Below(4) == 0;
    for (const std::string file : {"h0.h", "h1.h", "h2.h", "sub/h3.h", "sub/h4.h", "a.cpp",
                                   "sub/b.cpp", "sub/deep/c.cpp", "x.c"}) {
        Pieces lines;
        for (size_t k = 0; k < includes.size(); ++k) {
            lines.push_back(
                (clique && k < 3) || gen.Below(5) == 0 ? "#include \"" + includes[k] + "\"\n" : "");
        }
        for (int p = gen.Below(5); p > 0; --p) {
            const int kind = gen.Below(4);
            const int bases = gen.Below(3);
            lines.push_back(
                kind == 0 ? "class " + gen.Pick(names) +
                                (bases > 0 ? " : public " + gen.Pick(names) : "") +
                                (bases > 1 ? ", " + gen.Pick(names) : "") + " { " +
                                (gen.Below(3) == 0 ? gen.Pick(names) + " m; " : "int x; ") + "};\n"
                : kind == 1
                    ? gen.Pick(heads) + (gen.Below(2) == 0 ? "\n" : "") + gen.Pick(bodies) + ";\n"
                    : gen.Text(kCodePieces, 6) + "\n");
        }
        std::shuffle(lines.begin(), lines.end(), gen.random);
        const std::string text = std::accumulate(lines.begin(), lines.end(), std::string());
        const bool source = file.back() != 'h';
        dir.Write(file,
                  text + (source ? "void K::Run() { m.Draw(); }\nvoid B::Go() { Draw(); }\n" : ""));
    }
}

TEST(LiteralCompareTest, SearchesAndIncludeTestOverGeneratedTrees) {
    CGenerator gen{std::mt19937(7)};
    const std::vector<std::pair<std::string, std::string>> targets = {
        {"A", "Draw"}, {"A", ""},  {"B", "Draw"}, {"C", "f"},      {"D", "B"},
        {"AB", "A"},   {" A", ""}, {"", "f"},     {"A B", "Draw"}, {"{}", ""}};
    for (int i = 0; i < 300; ++i) {
        CTempDir dir;
        GenerateTree(gen, dir);
        const std::string root = WithTrailingSlash(dir.Path());
        for (const char mode : {'H', 'C', 'F'}) {
            const auto& [cls, fn] = mode == 'F' && i % 4 != 0 ? targets[0] : gen.Pick(targets);
            CSourceSearch search;
            search.Search(cls, fn, root, mode);
            literal::CLiteralSearch reference;
            reference.Search(cls, fn, root, mode);
            ASSERT_EQ(search.HeaderHits(), reference.headerHits) << i << mode;
            ASSERT_EQ(search.ClassHits(), reference.classHits) << i << mode;
            ASSERT_EQ(search.FunctionHits(), reference.functionHits) << i << mode;
        }
        // Many names against the same files: the remembered answers must not
        // leak from one name or one start to another.
        CSourceSearch search;
        search.BeginSearch("A", "Draw", root);
        literal::CLiteralSearch reference;
        reference.searchDir = root;
        for (const char* file : {"a.cpp", "sub/b.cpp", "h0.h", "h1.h", "sub/h3.h"}) {
            for (const char* name : {"A", "B", "C", "D", "K", " B", "A, B", ""}) {
                ASSERT_EQ(search.IncludesRefer(root + file, name),
                          reference.IncludesRefer(root + file, name))
                    << i << " " << file << " '" << name << "'";
            }
        }
    }
}

} // namespace
