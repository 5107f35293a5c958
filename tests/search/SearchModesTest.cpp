#include "LiteralSearch.h"
#include "TempDir.h"
#include "platform/FileServices.h"
#include "search/SourceSearch.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using Hits = std::vector<CSearchHit>;

TEST(SearchModesTest, SingleFiles) {
    struct Case {
        char mode;
        const char* text;
        const char* hits; // class/name| each, all in the one file
        const char* cls = "A";
    };
    const Case cases[] = {
        // A substring counts; bases and the class itself do not.
        {'H',
         "class B { A* m_p; }; class A { A(); }; class C { int nA; }; struct D { A a; };\n"
         "class E : public A { int m; }; class P { A x; char c = '{'; }; class F { A y; };",
         "B/-|C/-|D/-|F/-|"},
        {'H', "class P { A { A {", ""},
        {'H', "a class{ int q; } X { A a; };", "X/-|"}, // the keyword spans a removed block
        // "{}" pairs go only after a block without the name: Z's "A{}B" is
        // whole again, X's was emptied first.
        {'H', "class X { A{}B; }; class Y { int q; }; class Z { A{}B; };", "Z/-|", "AB"},
        {'C',
         "void B::One() { A a; }\nvoid B::Two() { int x; }\nint C::Three() { if (x) { A b; } }\n"
         "int n; void f() { A a; } std::string B::Run(int a) const { A a; }\n"
         "B::B() : m(0) { A a; } void h() { // A\n  s = \"A\"; /* A */ }",
         "B/One|C/Three|-/n; void f|B/Run const|-/: m(0)|"},
        {'C', "void f() { char c = '{'; A a; }\nvoid g() { A b; }", "-/c = '|-/g|"},
        {'C', "void f() { char c = '{'; A a; } void g() { A b; } {}", ""},
        {'C', "f() { {}g() { A b; }", "-/g|"}, // the unpaired opener goes with the first "{}"
        {'F', "void B::Paint() { A::Reset(); m_a.Draw(); }", "B/Paint|"},
        {'F', "void B::Paint() { m_a.Draw(); } void C::Paint() { A a; }", ""},
    };
    for (const Case& c : cases) {
        CTempDir dir;
        const std::string path = dir.Write(c.mode == 'H' ? "x.h" : "x.cpp", c.text);
        CSourceSearch search;
        search.Search(c.cls, "Draw", dir.Path(), c.mode);
        std::string hits;
        for (const CSearchHit& hit : search.HitsFor(c.mode)) {
            hits += hit.GetClass() + "/" + hit.GetName() + (hit.GetFile() == path ? "|" : "?");
        }
        EXPECT_EQ(hits, c.hits) << c.text;
    }
}

TEST(SearchModesTest, IncludesBesideThenBelowThenFromTheCurrentDirectory) {
    CTempDir dir;
    const std::string use = "void B::Paint() { m_a.Draw(); }\n";
    const std::string declares = "class B { int m; };\n";
    const std::string src = dir.Path() + "/src/";
    // "inc\b.h" is not beside x.cpp but below the searched directory.
    const std::string below = dir.Write("src/x.cpp", "#include \"inc\\b.h\"\n" + use);
    dir.Write("src/inc/b.h", declares);
    // Beside wins over below: this b.h does not declare B.
    dir.Write("src/lib/y.cpp", "#include \"inc/b.h\"\n" + use);
    dir.Write("src/lib/inc/b.h", "class Other { int m; };\n");
    // Found neither beside nor below, but from where the search was started.
    const std::string fromCwd = dir.Write("src/lib/z.cpp", "#include \"top/t.h\"\n" + use);
    dir.Write("top/t.h", declares);
    // One text read through two folders: each path finds its own d.h.
    const std::string real = dir.Write("src/b/real.cpp", "#include \"d.h\"\n" + use);
    dir.Write("src/b/d.h", declares);
    std::filesystem::create_directories(src + "a");
    std::filesystem::create_symlink("../b/real.cpp", src + "a/x.cpp");
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    CSourceSearch search;
    search.Search("A", "Draw", src, 'F');
    std::filesystem::current_path(cwd);
    EXPECT_EQ(search.FunctionHits(),
              (Hits{{"B", "Paint", real}, {"B", "Paint", fromCwd}, {"B", "Paint", below}}));
}

TEST(SearchModesTest, ADenseIncludeCliqueFinishes) {
    CTempDir dir;
    const std::string cpp =
        dir.Write("x.cpp", "#include \"h0.h\"\nvoid B::Paint() { m_a.Draw(); }\n");
    CSourceSearch search;
    // Every header including every header: followed chain by chain this never
    // ends. Only h38's base, mentioned in h39, answers, two steps down.
    std::string all;
    for (int i = 0; i < 40; ++i) {
        all += "#include \"h" + std::to_string(i) + ".h\"\n";
    }
    for (int i = 0; i < 40; ++i) {
        dir.Write("h" + std::to_string(i) + ".h", all + "class C" + std::to_string(i) +
                                                      " : public D" + std::to_string(i) +
                                                      " { int x; };\n");
    }
    search.Search("A", "Draw", dir.Path(), 'F');
    EXPECT_TRUE(search.FunctionHits().empty());
    dir.Write("h39.h", all + "class C39 { D38 d; };\n");
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
    search.Search("A", "", dir.Path(), 'X'); // reads nothing, forgets the last hits
    EXPECT_TRUE(search.HeaderHits().empty());
}

} // namespace
