#include "LiteralSearch.h"
#include "TempDir.h"
#include "platform/FileServices.h"
#include "search/SourceSearch.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using Hits = std::vector<CSearchHit>;

const std::string kShapes = std::string(VORLIX_TEST_DATA_DIR) + "/search/shapes/";

TEST(SearchModesTest, FixtureTreeInEveryMode) {
    CSourceSearch search;
    search.Search("Shape", "", kShapes, 'H');
    EXPECT_EQ(search.HeaderHits(), (Hits{{"Circle", "-", kShapes + "Circle.h"}}));

    search.Search("Shape", "", kShapes, 'C');
    EXPECT_EQ(search.ClassHits(), (Hits{{"Circle", "Draw", kShapes + "Circle.cpp"}}));

    search.Search("Circle", "", kShapes, 'C');
    EXPECT_EQ(search.ClassHits(), (Hits{{"-", "Helper", kShapes + "Circle.cpp"}}));

    // Circle::Draw names the class; Helper, Paint and OnDraw pass the include
    // test. View.cpp writes its include as "..\Circle.h": found only because
    // it is opened beside the including file, with "/".
    search.Search("Shape", "Draw", kShapes, 'F');
    EXPECT_EQ(search.FunctionHits(), (Hits{{"Circle", "Draw", kShapes + "Circle.cpp"},
                                           {"-", "Helper", kShapes + "Circle.cpp"},
                                           {"Panel", "Paint", kShapes + "ui/Panel.CPP"},
                                           {"CView", "OnDraw", kShapes + "ui/View.cpp"}}));
    EXPECT_TRUE(search.HeaderHits().empty());
    EXPECT_TRUE(search.ClassHits().empty());
}

TEST(SearchModesTest, EngineAgreesWithLiteralRulesOnFixtureTree) {
    for (const char mode : {'H', 'C', 'F'}) {
        CSourceSearch search;
        search.Search("Shape", "Draw", kShapes, mode);
        literal::CLiteralSearch reference;
        reference.Search("Shape", "Draw", kShapes, mode);
        const Hits& expected = mode == 'H'   ? reference.headerHits
                               : mode == 'C' ? reference.classHits
                                             : reference.functionHits;
        EXPECT_EQ(search.Hits(), expected) << mode;
    }
}

struct FileCase {
    const char* name;
    char mode;
    const char* className;
    const char* functionName;
    const char* text;
    std::vector<std::pair<std::string, std::string>> hits; // class, name
};

void PrintTo(const FileCase& c, std::ostream* out) {
    *out << c.name;
}

class SingleFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(SingleFileTest, FindsTheHits) {
    const FileCase& c = GetParam();
    CTempDir dir;
    const std::string path = dir.Write(c.mode == 'H' ? "x.h" : "x.cpp", c.text);
    CSourceSearch search;
    search.Search(c.className, c.functionName, dir.Path(), c.mode);
    Hits expected;
    for (const auto& [cls, name] : c.hits) {
        expected.emplace_back(cls, name, path);
    }
    EXPECT_EQ(search.HitsFor(c.mode), expected);
}

const FileCase kFileCases[] = {
    {"HeaderMember", 'H', "A", "", "class B { A* m_p; };", {{"B", "-"}}},
    {"HeaderOwnClass", 'H', "A", "", "class A { A(); };", {}},
    {"HeaderSubstring", 'H', "A", "", "class B { int nA; };", {{"B", "-"}}},
    {"HeaderBaseListCut", 'H', "A", "", "class E : public Base { A m; };", {{"E", "-"}}},
    {"HeaderHeadSincePreviousBlock",
     'H',
     "A",
     "",
     "class A { A(); }; class B { A* m_p; }; struct D { A a; };",
     {{"B", "-"}, {"B ; struct D", "-"}}},
    {"HeaderBlockWithoutNameGoes",
     'H',
     "A",
     "",
     "class X { int y; }; class B { A z; };",
     {{"B", "-"}}},
    {"HeaderPairsDeletedOnlyAfterABlockWithoutName",
     'H',
     "AB",
     "",
     "class X { A{}B; }; class Y { int q; }; class Z { A{}B; };",
     {{"Z", "-"}}},
    {"HeaderUnpairedBrace",
     'H',
     "A",
     "",
     "class P { A x; char c = '{'; }; class B { A y; };",
     {{"B", "-"}}},
    {"HeaderOnlyUnpairedBraces", 'H', "A", "", "class P { A { A {", {}},
    {"FunctionQualified", 'C', "A", "", "void B::Run() { A a; }", {{"B", "Run"}}},
    {"FunctionFree", 'C', "A", "", "int main() { A a; }", {{"-", "main"}}},
    {"FunctionHeadSincePreviousBlock",
     'C',
     "A",
     "",
     "int n; void f() { A a; }",
     {{"-", "n; void f"}}},
    {"FunctionOrderInFile",
     'C',
     "A",
     "",
     "void B::One() { A a; }\nvoid B::Two() { int x; }\nvoid C::Three() { if (x) { A b; } }",
     {{"B", "One"}, {"C", "Three"}}},
    {"FunctionUnpairedBrace",
     'C',
     "A",
     "",
     "void f() { char c = '{'; A a; }\nvoid g() { A b; }",
     {{"-", "c = '"}, {"-", "g"}}},
    {"FunctionUnpairedDropsThroughFirstPair",
     'C',
     "A",
     "",
     "void f() { char c = '{'; A a; } void g() { A b; } {}",
     {}},
    {"FunctionCommentsAndLiteralsIgnored",
     'C',
     "A",
     "",
     "void f() { // A\n  s = \"A\"; /* A */ }\nvoid g() { A a; }",
     {{"-", "g"}}},
    {"UseNamesTheClass",
     'F',
     "A",
     "Draw",
     "void B::Paint() { A::Reset(); m_a.Draw(); }",
     {{"B", "Paint"}}},
    {"UseWithoutClassNorInclude", 'F', "A", "Draw", "void B::Paint() { m_a.Draw(); }", {}},
    {"UseNeedsTheFunctionName", 'F', "A", "Draw", "void B::Paint() { A a; }", {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SingleFileTest, ::testing::ValuesIn(kFileCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(SearchModesTest, IncludeTestFindsTheFunctionsClass) {
    CTempDir dir;
    const std::string cpp =
        dir.Write("src/x.cpp", "#include \"b.h\"\nvoid B::Paint() { m_a.Draw(); }\n");
    dir.Write("src/b.h", "class B { int m; };\n");
    CSourceSearch search;
    search.Search("A", "Draw", dir.Path(), 'F');
    EXPECT_EQ(search.FunctionHits(), (Hits{{"B", "Paint", cpp}}));
}

TEST(SearchModesTest, IncludeOpenedBesideThenBelowSearchedDirectory) {
    CTempDir dir;
    // "inc\b.h" is not beside src/x.cpp but below the searched directory.
    const std::string cpp =
        dir.Write("src/x.cpp", "#include \"inc\\b.h\"\nvoid B::Paint() { m_a.Draw(); }\n");
    dir.Write("inc/b.h", "class B { int m; };\n");
    // Beside wins over below: this b.h does not declare B.
    const std::string other =
        dir.Write("lib/y.cpp", "#include \"inc/b.h\"\nvoid B::Paint() { m_a.Draw(); }\n");
    dir.Write("lib/inc/b.h", "class Other { int m; };\n");
    CSourceSearch search;
    search.Search("A", "Draw", dir.Path(), 'F');
    EXPECT_EQ(search.FunctionHits(), (Hits{{"B", "Paint", cpp}}));
}

TEST(SearchModesTest, IncludesThatIncludeEachOtherEnd) {
    CTempDir dir;
    dir.Write("p.h", "#include \"q.h\"\nclass P : public Q {};\n");
    dir.Write("q.h", "#include \"p.h\"\n#include \"q.h\"\nclass Q : public P {};\n");
    const std::string cpp =
        dir.Write("x.cpp", "#include \"p.h\"\nvoid B::Paint() { m_a.Draw(); }\n");
    CSourceSearch search;
    search.Search("A", "Draw", dir.Path(), 'F');
    EXPECT_TRUE(search.FunctionHits().empty());

    // One step down the cycle q.h declares Q, the base named in p.h's head.
    // That answers the test for every name, B included.
    dir.Write("q.h", "#include \"p.h\"\nclass Q {};\n");
    search.Search("A", "Draw", dir.Path(), 'F');
    EXPECT_EQ(search.FunctionHits(), (Hits{{"B", "Paint", cpp}}));
    EXPECT_TRUE(search.IncludesRefer(cpp, "R"));
}

TEST(SearchModesTest, FileOnTheChainIsNotReadAgain) {
    // Read again, p.h would offer "Z" in its block; on the chain it is not.
    CTempDir dir;
    dir.Write("p.h", "#include \"q.h\"\nclass P : public Q { Z z; };\n");
    dir.Write("q.h", "#include \"p.h\"\nclass Q : public R {};\n");
    const std::string cpp = dir.Write("x.cpp", "#include \"p.h\"\n");
    CSourceSearch search;
    search.BeginSearch("A", "Draw", dir.Path());
    EXPECT_TRUE(search.IncludesRefer(cpp, "Z"));  // p.h's own block
    EXPECT_FALSE(search.IncludesRefer(cpp, "N")); // p.h -> Q -> q.h -> R -> p.h skipped
    EXPECT_TRUE(search.IncludesRefer(dir.Path() + "/q.h", "Z")); // from q.h, p.h is new
}

TEST(SearchModesTest, UnreadableFilesContributeNothing) {
    CTempDir dir;
    // Tests may run as root, which reads any file: use links to nothing.
    std::filesystem::create_symlink(dir.Path() + "/gone.cpp", dir.Path() + "/a.cpp");
    std::filesystem::create_symlink(dir.Path() + "/gone.h", dir.Path() + "/b.h");
    const std::string good =
        dir.Write("c.cpp", "#include \"b.h\"\nvoid B::Run() { A a; x.Draw(); }\n");
    ASSERT_EQ(::mkfifo((dir.Path() + "/d.cpp").c_str(), 0600), 0); // must not block
    CSourceSearch search;
    search.Search("A", "", dir.Path(), 'C');
    EXPECT_EQ(search.ClassHits(), (Hits{{"B", "Run", good}}));
    search.Search("Q", "Draw", dir.Path(), 'F');
    EXPECT_TRUE(search.FunctionHits().empty()); // b.h cannot be read
    search.Search("A", "", dir.Path(), 'H');
    EXPECT_TRUE(search.HeaderHits().empty());
}

TEST(SearchModesTest, ExtensionsDecideWhichFilesAreRead) {
    CTempDir dir;
    // Mode C counts any block: a class body gives the function part "K".
    const std::string text = "class K { A a; };\n";
    for (const char* name : {"x.hpp", "x.cxx", "x.cc", "x.txt", "x.h.bak", "cpp", "x.", "h"}) {
        dir.Write(name, text);
    }
    const std::string upper = dir.Write("U.CPP", text);
    const std::string c = dir.Write("v.c", text);
    const std::string header = dir.Write("w.H", text);
    const std::string dotted = dir.Write("y.old.cpp", text);
    CSourceSearch search;
    search.Search("A", "", dir.Path(), 'C');
    EXPECT_EQ(search.ClassHits(), (Hits{{"-", "K", upper}, {"-", "K", c}, {"-", "K", dotted}}));
    search.Search("A", "", dir.Path(), 'H');
    EXPECT_EQ(search.HeaderHits(), (Hits{{"K", "-", header}}));
    search.Search("A", "", dir.Path(), 'X'); // no mode reads anything
    EXPECT_TRUE(search.Hits().empty());
}

TEST(SearchModesTest, HitsInWalkOrder) {
    CTempDir dir;
    const std::string text = "void S::F() { A a; }\n";
    const std::string b = dir.Write("B.cpp", text);
    const std::string a = dir.Write("a.cpp", text + "void S::G() { A b; }\n");
    const std::string sub = dir.Write("a_dir/z.cpp", text);
    const std::string c = dir.Write("c.cpp", text);
    CSourceSearch search;
    search.Search("A", "", dir.Path() + "/", 'C');
    EXPECT_EQ(search.ClassHits(),
              (Hits{{"S", "F", a}, {"S", "G", a}, {"S", "F", sub}, {"S", "F", b}, {"S", "F", c}}));
}

TEST(SearchModesTest, LinkBackIntoTheTreeIsWalkedOnce) {
    CTempDir dir;
    const std::string path = dir.Write("sub/x.cpp", "void f() { A a; }\n");
    std::filesystem::create_directory_symlink(dir.Path(), dir.Path() + "/sub/up");
    CSourceSearch search;
    search.Search("A", "", dir.Path(), 'C');
    EXPECT_EQ(search.ClassHits(), (Hits{{"-", "f", path}}));
}

TEST(SearchModesTest, SecondSearchEmptiesTheFirstsHits) {
    CSourceSearch search;
    search.Search("Shape", "Draw", kShapes, 'F');
    ASSERT_EQ(search.FunctionHits().size(), 4u);
    search.Search("Shape", "", kShapes, 'H');
    EXPECT_TRUE(search.FunctionHits().empty());
    EXPECT_EQ(search.HeaderHits().size(), 1u);
    search.Search("Shape", "", kShapes, 'C');
    EXPECT_TRUE(search.HeaderHits().empty());
    EXPECT_EQ(search.ClassHits().size(), 1u);
    search.Search("Nothing", "", kShapes, 'C');
    EXPECT_TRUE(search.ClassHits().empty());
    EXPECT_EQ(search.LastMode(), 'C');
}

TEST(SearchModesTest, DirectoryWithOrWithoutSlash) {
    CSourceSearch search;
    std::string bare = kShapes;
    bare.pop_back();
    search.Search("Shape", "", bare, 'H');
    EXPECT_EQ(search.GetSearchDirectory(), kShapes);
    EXPECT_EQ(search.HeaderHits(), (Hits{{"Circle", "-", kShapes + "Circle.h"}}));
    search.Search("Shape", "", "", 'H');
    EXPECT_TRUE(search.HeaderHits().empty());
    search.Search("Shape", "", "/nonexistent/dir/", 'H');
    EXPECT_TRUE(search.HeaderHits().empty());
}

} // namespace
