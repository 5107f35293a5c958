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

TEST(SearchModesTest, FixtureTreeInEveryModeAndASecondSearchEmptiesTheFirst) {
    // The fixture's F and H hits are checked through the command line.
    CSourceSearch search;
    search.Search("Shape", "Draw", kShapes, 'F');
    search.Search("Shape", "", kShapes.substr(0, kShapes.size() - 1), 'H');
    EXPECT_EQ(search.GetSearchDirectory(), kShapes);
    EXPECT_TRUE(search.FunctionHits().empty());
    search.Search("Shape", "", kShapes, 'C');
    EXPECT_EQ(search.ClassHits(), (Hits{{"Circle", "Draw", kShapes + "Circle.cpp"}}));
    EXPECT_TRUE(search.HeaderHits().empty());
    search.Search("Circle", "", kShapes, 'C');
    EXPECT_EQ(search.ClassHits(), (Hits{{"-", "Helper", kShapes + "Circle.cpp"}}));
    search.Search("Shape", "", "/nonexistent/dir/", 'H');
    EXPECT_TRUE(search.HeaderHits().empty());
}

TEST(SearchModesTest, SingleFiles) {
    struct Case {
        char mode;
        const char* text;
        Hits hits; // with the file left empty
        const char* cls = "A";
    };
    const Case cases[] = {
        {'H', "class B { A* m_p; }; class A { A(); };", {{"B", "-", ""}}},
        {'H', "class B { int nA; };", {{"B", "-", ""}}}, // a substring counts
        {'H', "class E : public Base { A m; };", {{"E", "-", ""}}},
        {'H',
         "class A {}; class B { A* p; }; struct D { A a; };",
         {{"B", "-", ""}, {"D", "-", ""}}},
        {'H', "class P { A x; char c = '{'; }; class B { A y; };", {{"B", "-", ""}}},
        {'H', "class P { A { A {", {}},
        // "{}" pairs go only after a block without the name: Z's "A{}B" is
        // whole again, X's was emptied first.
        {'H', "class X { A{}B; }; class Y { int q; }; class Z { A{}B; };", {{"Z", "-", ""}}, "AB"},
        {'C',
         "void B::One() { A a; }\nvoid B::Two() { int x; }\nint C::Three() { if (x) { A b; } }",
         {{"B", "One", ""}, {"C", "Three", ""}}},
        {'C', "int n; void f() { A a; }", {{"-", "n; void f", ""}}},
        {'C',
         "void f() { char c = '{'; A a; }\nvoid g() { A b; }",
         {{"-", "c = '", ""}, {"-", "g", ""}}},
        {'C', "void f() { char c = '{'; A a; } void g() { A b; } {}", {}},
        {'C', "void f() { // A\n  s = \"A\"; /* A */ }\nvoid g() { A a; }", {{"-", "g", ""}}},
        {'F', "void B::Paint() { A::Reset(); m_a.Draw(); }", {{"B", "Paint", ""}}},
        {'F', "void B::Paint() { m_a.Draw(); } void C::Paint() { A a; }", {}},
    };
    for (const Case& c : cases) {
        CTempDir dir;
        const std::string path = dir.Write(c.mode == 'H' ? "x.h" : "x.cpp", c.text);
        CSourceSearch search;
        search.Search(c.cls, "Draw", dir.Path(), c.mode);
        Hits expected;
        for (const CSearchHit& hit : c.hits) {
            expected.emplace_back(hit.GetClass(), hit.GetName(), path);
        }
        EXPECT_EQ(search.HitsFor(c.mode), expected) << c.text;
    }
}

TEST(SearchModesTest, IncludesBesideThenBelowTheSearchedDirectory) {
    CTempDir dir;
    // "inc\b.h" is not beside src/x.cpp but below the searched directory.
    const std::string cpp =
        dir.Write("src/x.cpp", "#include \"inc\\b.h\"\nvoid B::Paint() { m_a.Draw(); }\n");
    dir.Write("inc/b.h", "class B { int m; };\n");
    // Beside wins over below: this b.h does not declare B.
    dir.Write("lib/y.cpp", "#include \"inc/b.h\"\nvoid B::Paint() { m_a.Draw(); }\n");
    dir.Write("lib/inc/b.h", "class Other { int m; };\n");
    CSourceSearch search;
    search.Search("A", "Draw", dir.Path(), 'F');
    EXPECT_EQ(search.FunctionHits(), (Hits{{"B", "Paint", cpp}}));
}

TEST(SearchModesTest, IncludesThatIncludeEachOtherEnd) {
    CTempDir dir;
    dir.Write("p.h", "#include \"q.h\"\nclass P : public Q { Z z; };\n");
    dir.Write("q.h", "#include \"p.h\"\n#include \"q.h\"\nclass Q : public P {};\n");
    const std::string cpp =
        dir.Write("x.cpp", "#include \"p.h\"\nvoid B::Paint() { m_a.Draw(); }\n");
    CSourceSearch search;
    search.Search("A", "Draw", dir.Path(), 'F');
    EXPECT_TRUE(search.FunctionHits().empty());
    EXPECT_TRUE(search.IncludesRefer(cpp, "Z"));                 // p.h's own block
    EXPECT_TRUE(search.IncludesRefer(dir.Path() + "/q.h", "Z")); // from q.h, p.h is new
    // One step down the cycle q.h declares Q, the base named in p.h's head.
    // That answers the test for every name, B included.
    dir.Write("q.h", "#include \"p.h\"\nclass Q {};\n");
    search.Search("A", "Draw", dir.Path(), 'F');
    EXPECT_EQ(search.FunctionHits(), (Hits{{"B", "Paint", cpp}}));
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
}

TEST(SearchModesTest, ExtensionsAndWalkOrder) {
    CTempDir dir;
    // Mode C counts any block: a class body gives the function part "K".
    const std::string text = "class K { A a; };\n";
    for (const char* name : {"x.hpp", "x.cxx", "x.cc", "x.txt", "x.h.bak", "cpp", "x.", "h"}) {
        dir.Write(name, text);
    }
    const std::string header = dir.Write("w.H", text);
    std::vector<std::string> order;
    for (const char* name : {"U.CPP", "a_dir/z.cpp", "a.cpp", "v.c", "y.old.cpp"}) {
        order.push_back(dir.Write(name, text));
    }
    std::filesystem::create_directory_symlink(dir.Path(), dir.Path() + "/a_dir/up"); // walked once
    CSourceSearch search;
    search.Search("A", "", dir.Path(), 'C');
    Hits expected;
    for (const int i : {2, 1, 0, 3, 4}) {
        expected.emplace_back("-", "K", order[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(search.ClassHits(), expected);
    search.Search("A", "", dir.Path(), 'H');
    EXPECT_EQ(search.HeaderHits(), (Hits{{"K", "-", header}}));
    search.Search("A", "", dir.Path(), 'X'); // no mode reads anything
    EXPECT_TRUE(search.Hits().empty());
}

} // namespace
