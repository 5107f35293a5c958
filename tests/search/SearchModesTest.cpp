// Worked examples: the reading and text rules, the choices the literal
// reference copies (include lookup, unpaired braces), the walk, the node
// sequence and the command. The generated comparisons cover the rest, the
// line cleaning and the head rule included.

#include "LiteralSearch.h"
#include "Nodes.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "cli/Commands.h"
#include "search/SourceSearch.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <tuple>

namespace {

using Hits = std::vector<CSearchHit>;

TEST(TokenizerTest, WorkedExamples) {
    // include list (else code text), contents, expected
    const std::tuple<bool, const char*, const char*> cases[] = {
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
    using S = CSourceSearch;
    CTempDir dir;
    for (const auto& [include, contents, expected] : cases) {
        const std::string path = dir.Write("x.cpp", contents);
        EXPECT_EQ(include ? S::ReadIncludeList(path) : S::ReadCodeText(path), expected) << contents;
    }
    for (const std::string& path : {std::string("/none/x.cpp"), dir.Path()}) {
        EXPECT_EQ(S::ReadCodeText(path) + S::ReadIncludeList(path), "") << path;
    }
    // Nesting, unpaired and overlapping markers, passes from the left.
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
    // A head whose keyword spans an unexamined block still names its base.
    const std::string spans = dir.Write("src/k.cpp", "#include \"k.h\"\n" + use);
    dir.Write("src/k.h", "class{ int q; } X : B { int m; } { int n; }\n");
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
    EXPECT_EQ(search.FunctionHits(), (Hits{{"B", "Paint", real},
                                           {"B", "Paint", spans},
                                           {"B", "Paint", fromCwd},
                                           {"B", "Paint", below}}));
}

TEST(SearchModesTest, ADenseIncludeCliqueFinishes) {
    CTempDir dir;
    const std::string cpp =
        dir.Write("x.cpp", "#include \"h0.h\"\nvoid B::Paint() { m_a.Draw(); }\n");
    // Every header including every header: followed chain by chain this never
    // ends. Only h38's base, mentioned in h39, answers, two steps down.
    std::string all;
    for (int i = 0; i < 40; ++i) {
        all += "#include \"h" + std::to_string(i) + ".h\"\n";
    }
    for (int i = 0; i < 40; ++i) {
        const std::string n = std::to_string(i);
        dir.Write("h" + n + ".h", all + "class C" + n + " : public D" + n + " { int x; };\n");
    }
    CSourceSearch search;
    search.Search("A", "Draw", dir.Path(), 'F');
    EXPECT_TRUE(search.FunctionHits().empty());
    dir.Write("h39.h", all + "class C39 { D38 d; };\n");
    search.Search("A", "Draw", dir.Path(), 'F');
    EXPECT_EQ(search.FunctionHits(), (Hits{{"B", "Paint", cpp}}));
}

// Unreadable files contribute nothing: tests may run as root, which reads any
// file, so links to nothing stand for them, and a pipe must not block.
TEST(SearchModesTest, ExtensionsWalkOrderAndUnreadableFiles) {
    CTempDir dir;
    // Mode C counts any block: a class body gives the function part "K".
    const std::string text = "#include \"b.h\"\nclass K { A a; };\n";
    // Sources (walked by name, case aside), then files no mode reads.
    for (const char* name : {"U.CPP", "a_dir/z.cpp", "a.cpp", "v.c", "y.old.cpp", "x.hpp", "x.cxx",
                             "x.cc", "x.txt", "x.h.bak", "cpp", "x.", "h"}) {
        dir.Write(name, text);
    }
    const std::string header = dir.Write("w.H", text);
    std::filesystem::create_directory_symlink(dir.Path(), dir.Path() + "/a_dir/up"); // walked once
    std::filesystem::create_symlink(dir.Path() + "/gone.cpp", dir.Path() + "/b.cpp");
    std::filesystem::create_symlink(dir.Path() + "/gone.h", dir.Path() + "/b.h");
    ASSERT_EQ(::mkfifo((dir.Path() + "/d.cpp").c_str(), 0600), 0);
    CSourceSearch search;
    search.Search("A", "", dir.Path(), 'C');
    Hits expected;
    for (const char* name : {"a.cpp", "a_dir/z.cpp", "U.CPP", "v.c", "y.old.cpp"}) {
        expected.emplace_back("-", "K", dir.Path() + "/" + name);
    }
    EXPECT_EQ(search.ClassHits(), expected);
    search.Search("Q", "A", dir.Path(), 'F');
    EXPECT_TRUE(search.FunctionHits().empty()); // the included b.h cannot be read
    search.Search("A", "", dir.Path(), 'H');
    EXPECT_EQ(search.HeaderHits(), (Hits{{"K", "-", header}}));
    search.Search("A", "", dir.Path(), 'X'); // reads nothing, forgets the last hits
    EXPECT_TRUE(search.HeaderHits().empty());
}

const std::string kShapes = std::string(VORLIX_TEST_DATA_DIR) + "/search/shapes";

// Shape with its member function Draw, and a member variable.
TEST(SearchForNodeTest, NodesRunTheSequenceOrNothing) {
    CClassRoot root;
    CClassNode* shape = AddNode(&root, "Shape", KindClass);
    CClassNode* draw = AddNode(shape, "Draw", KindFunction);
    CClassNode* color = AddNode(shape, "m_nColor", KindVariable);
    CScriptedUserInterface ui;
    ui.folderAnswers = {kShapes, kShapes + "/"};
    CSourceSearch search;
    ASSERT_TRUE(search.SearchForNode('H', shape, ui));
    EXPECT_EQ(ui.folderTitles, std::vector<std::string>{"Wählen Sie ein Verzeichnis, in dem alle "
                                                        "zu durchsuchenden Quellcode-/Header-"
                                                        "Dateien zu finden sind."});
    EXPECT_EQ(std::tuple(ui.progressShown, ui.progressTexts, ui.progressVisible),
              std::tuple(1, std::vector<std::string>{"Parse angegebenes Verzeichnis ..."}, false));
    EXPECT_EQ(search.GetSearchDirectory(), kShapes + "/");
    EXPECT_EQ(search.Hits(), (Hits{{"Circle", "-", kShapes + "/Circle.h"}}));
    // A member function searches with its class.
    ASSERT_TRUE(search.SearchForNode('F', draw, ui));
    EXPECT_EQ(search.GetClassName() + "::" + search.GetFunctionName(), "Shape::Draw");
    // Nothing happens without a searchable node or a folder; the hits stay.
    CClassNode orphan;
    orphan.SetKind(KindFunction);
    const std::pair<CClassNode*, std::optional<std::string>> idle[] = {
        {nullptr, kShapes}, {color, kShapes}, {&root, kShapes},
        {&orphan, kShapes}, {shape, ""},      {shape, std::nullopt}};
    for (const auto& [node, answer] : idle) {
        CScriptedUserInterface none;
        none.folderAnswers.push_back(answer);
        EXPECT_FALSE(search.SearchForNode('C', node, none));
        EXPECT_EQ(none.folderTitles.size(), node == shape ? 1u : 0u);
        EXPECT_EQ(none.progressShown, 0);
    }
    EXPECT_EQ(search.LastMode(), 'F');
    EXPECT_EQ(search.Hits().size(), 4u);
}

std::string RunSearchCli(const std::vector<std::string>& args, int expectedStatus) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli(args, out, err), expectedStatus) << args.back();
    return out.str();
}

TEST(SearchCliTest, WritesHitsAsCsvAndRejectsBadUsage) {
    const std::string header = "Class,Name,File\r\n";
    EXPECT_EQ(RunSearchCli({"search", "F", "Shape", "Draw", kShapes}, 0),
              header + "Circle,Draw," + kShapes + "/Circle.cpp\r\n-,Helper," + kShapes +
                  "/Circle.cpp\r\nPanel,Paint," + kShapes + "/ui/Panel.CPP\r\nCView,OnDraw," +
                  kShapes + "/ui/View.cpp\r\n");
    // A folder given relative to here still lists full paths.
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(kShapes + "/ui");
    EXPECT_EQ(RunSearchCli({"search", "H", "Shape", "../"}, 0),
              header + "Circle,-," + kShapes + "/Circle.h\r\n");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(RunSearchCli({"search", "C", "Nowhere", kShapes}, 0), header);
    CTempDir dir;
    const std::string path = dir.Write("x.cpp", "int a, b; void f() { A x; }\n");
    EXPECT_EQ(RunSearchCli({"search", "C", "A", dir.Path()}, 0),
              header + "-,\"a, b; void f\"," + path + "\r\n");
    const std::vector<std::string> bad[] = {{"search"},
                                            {"search", "H", "Shape"},
                                            {"search", "F", "Shape", kShapes},
                                            {"search", "C", "Shape", "Draw", kShapes},
                                            {"search", "HC", "Shape", kShapes},
                                            {"search", "h", "Shape", kShapes},
                                            {"search", "H", "Shape", kShapes + "/Circle.h"},
                                            {"search", "H", "Shape", ""}};
    for (const auto& args : bad) {
        EXPECT_EQ(RunSearchCli(args, 2), "");
    }
}

} // namespace
