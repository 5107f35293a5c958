#include "HtmlTestSupport.h"
#include "LiteralHtmlExport.h"
#include "html/HtmlFile.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What the operations write between the page head and the page end.
std::string Body(const std::function<void(CHtmlFile&)>& write) {
    CTempDir dir;
    CHtmlFile file;
    EXPECT_TRUE(file.BeginPage(dir.Path() + "/p.html", "T", "Vorlix"));
    write(file);
    EXPECT_TRUE(file.EndPage());
    const std::string page = ReadFile(dir.Path() + "/p.html");
    const size_t head = Head("T").size();
    if (!page.starts_with(Head("T")) || !page.ends_with(kTail) ||
        page.size() < head + kTail.size()) {
        return "broken page frame: " + page;
    }
    return page.substr(head, page.size() - head - kTail.size());
}

// The worked pages pin the calls the export makes; these are the edges.
TEST(HtmlFile, WriterOperationsWriteExactBytes) {
    EXPECT_EQ(
        Body([](CHtmlFile& f) {
            f.WriteTitle("A & X</title><script>");
            f.WriteMeta("N<", "a<b>\"c\"");
            f.BeginFont("A<b", 0xFF0F1000); // low byte first, top byte ignored
            f.BeginEmphasis(false, true, false);
            f.EndEmphasis(false, false, false);
            f.BeginSmall(0);
            f.EndSmall(3);
            f.EndBlockquote(-1);
            f.BeginTable(0, -1, 0, 0, -5, true);
            f.BeginTable(1, 2, 3, 4, 5, false);
            f.BeginTable(0, 0, 0, 0, 50, true);
            f.BeginCell("", "right", -1, 20, false);
            f.WriteText("map<int, T<U>> & \"b\" &lt;\n", false);
            f.WriteLink("Class_7.HTML", "Cx<T>", false);
            f.WriteParagraph("a<b", false, false, true, false);
        }),
        Lines({"<title>A & X&lt;/title&gt;&lt;script&gt;</title>",
               "<meta name=\"N<\" content=\"a&lt;b&gt;\"c\"\">",
               "<font face=\"A<b\" color=\"#00100F\">", "<u>", "", "", "</small></small></small>",
               "", "<table>",
               "<table border=\"1\" width=\"4\" height=\"5\" cellspacing=\"3\" cellpadding=\"2\">",
               "<table height=\"50%\">", "<td align=\"right\" height=\"20\">",
               "map&lt;int, T&lt;U&gt;&gt; & \"b\" &lt;",
               "<a href=\"class_7.html\">Cx&lt;T&gt;</a><p><em>", "a&lt;b</strong></u></em>",
               "</p>"}));
    std::string text = "<a> & <<";
    CHtmlFile::EscapeHtml(text);
    EXPECT_EQ(text, "&lt;a&gt; & &lt;&lt;");
}

// Model texts are UTF-8; pages are ISO-8859-1, the rest as character references.
TEST(HtmlFile, PageEncoding) {
    const std::pair<std::string, std::string> cases[] = {
        {"Zur\303\274ck \xC3\x84\xC3\x9F \xC2\x80\xC3\xBF \xC4\x80 \xE2\x82\xAC \xF0\x9F\x98\x80!"
         "\xF4\x8F\xBF\xBF",
         "Zur\374ck \xC4\xDF \x80\xFF &#256; &#8364; &#128512;!&#1114111;"},
        // Not UTF-8 (a Latin-1 byte, lone continuation bytes, overlong, a
        // surrogate, beyond the last code point, truncated): bytes as they are.
        {"Zur\374ck \x80\xBF \xC0\xAF\xE0\x80\xAF \xED\xA0\x80 \xF4\x90\x80\x80 a\xE2\x82",
         "Zur\374ck \x80\xBF \xC0\xAF\xE0\x80\xAF \xED\xA0\x80 \xF4\x90\x80\x80 a\xE2\x82"},
        {"\xE2\xC3\xA4<", "\xE2\xE4&lt;"}, // invalid, then valid again
    };
    for (const auto& [text, expected] : cases) {
        std::string converted;
        CHtmlFile::AppendPageText(text, true, converted);
        EXPECT_EQ(converted, expected);
    }
}

TEST(HtmlFile, RefusesWhatCannotBeAPageFile) {
    CTempDir dir;
    const std::string blocker = dir.Write("blocker", "x");
    const std::string fifo = dir.Path() + "/fifo.html";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    // A pipe must be refused without waiting for a reader.
    for (const std::string& path : {dir.Path() + "/missing/p.html", blocker + "/p.html", fifo}) {
        CHtmlFile file;
        EXPECT_FALSE(file.BeginPage(path, "T", "G")) << path;
        EXPECT_FALSE(file.IsOpen());
        file.WriteText("ignored", true);
        EXPECT_FALSE(file.EndPage());
    }
    EXPECT_FALSE(IsDirectory(dir.Path() + "/missing"));
    EXPECT_EQ(ReadFile(blocker), "x");
}

TEST(HtmlFile, PagesLargerThanTheBufferArriveWhole) {
    std::string text, expected;
    for (int i = 0; i < 40000; ++i) {
        text += "line <" + std::to_string(i) + "> \xC3\xA4\n";
        expected += "line &lt;" + std::to_string(i) + "&gt; \xE4\r\n";
    }
    const std::string block(300000, 'b');
    EXPECT_EQ(Body([&](CHtmlFile& f) {
                  for (const std::string& bytes : {std::string("["), block, std::string("]")}) {
                      f.WriteText(text, false);
                      f.WritePageBytes(bytes);
                  }
              }),
              expected + "[" + expected + block + expected + "]");
}

TEST(HtmlFile, OverwritesFromTheStartAndReportsAFailingWrite) {
    CTempDir dir;
    const std::string path = dir.Write("p.html", std::string(5000, 'x'));
    {
        CHtmlFile file; // closed by its destructor
        ASSERT_TRUE(file.BeginPage(path, "T", "Vorlix"));
        file.WriteText("x", false);
    }
    EXPECT_EQ(ReadFile(path), Head("T") + "x");
    if (!FileExists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    CHtmlFile file;
    ASSERT_TRUE(file.BeginPage("/dev/full", "T", "G"));
    file.WriteText(std::string(200000, 'x'), true);
    EXPECT_TRUE(file.HasFailed());
    EXPECT_FALSE(file.EndPage());
    // A small page fails only at its end; the next page starts clean.
    ASSERT_TRUE(file.BeginPage("/dev/full", "T", "G"));
    EXPECT_FALSE(file.EndPage());
    ASSERT_TRUE(file.BeginPage(path, "T", "G"));
    EXPECT_FALSE(file.HasFailed());
    EXPECT_TRUE(file.EndPage());
}

// The root holds class A (ID 0) with the member function f (ID 1), the
// derived class B (ID 2) and the member variable m_n (ID 3).
struct WorkedModel {
    CClassRoot root;
    CClassNode* a = AddNode(&root, "A", KindClass, 0, "/usr/include/shapes/a.h", 10);
    CClassNode* f = AddNode(a, "f", KindFunction, 1, "/usr/include/shapes/a.h", 12);
    CClassNode* b = AddNode(a, "B", KindClass, 2, "/usr/include/shapes/b.h", 4);
    CClassNode* v = AddNode(a, "m_n", KindVariable, 3, "/usr/include/shapes/a.h", 14);
    WorkedModel() {
        a->SetDescription("Z\303\244hler in \xE2\x82\xAC\nzweite Zeile");
        b->SetDescription("</title><script>x</script>");
        f->SetTypeText("void");
        f->SetParameters("vector<int> v");
        v->SetTypeText("int");
    }
};

// A node page: the back link, then the navigation tree, then label/value pairs.
std::string NodePage(const std::string& title, const std::string& tree,
                     std::initializer_list<std::string> details) {
    const std::string font = "<font face=\"Arial\" color=\"#000000\">";
    std::string page =
        Head(title) + Lines({font, "<p><a href=\"index.html\">Zur\374ck zum Index</a><br>", "</p>",
                             "</font>", "<table width=\"100%\" cellspacing=\"1\">", "<tr>",
                             "<td valign=\"top\" align=\"left\" width=\"60%\" "
                             "height=\"100%\">",
                             "<small>", font});
    page += "<p>" + tree +
            Lines({"</p>", "</small>", "</font>", "</td>",
                   "<td valign=\"top\" align=\"left\" width=\"40%\" height=\"100%\">", "<small>",
                   font});
    for (const std::string& text : details) { // labels end in ':'
        const bool label = !text.empty() && text.back() == ':';
        page += Lines({label ? "<p><strong><u>" : "<p>", text + "</strong></u></em>", "</p>"});
    }
    return page + Lines({"</td>", "</small>", "</font>", "</tr>", "</table>"}) + kTail;
}

// A's members in the tree, the current one in red, bold, at normal size.
std::string Members(const std::string& current) {
    std::string text = Lines({"</p>", "<p><blockquote>"});
    for (const auto& [file, name] :
         {std::pair{"func_1.html", "f"}, {"class_2.html", "B"}, {"var_3.html", "m_n"}}) {
        text += name != current
                    ? Lines({"<a href=\"" + std::string(file) + "\">" + name + "</a><br>"})
                    : Lines({"<font face=\"Arial\" color=\"#FF0000\">", "<strong>", "</small>",
                             current + "<br>", "<small>", "</strong></u></em>", "</font>"});
    }
    return text + Lines({"</blockquote>"});
}

// Into a directory given with its "/": no doubled slash anywhere.
TEST(WorkedModel, PagesByteForByte) {
    WorkedModel model;
    CTempDir dir;
    ASSERT_TRUE(model.root.ExportIndexPage(dir.Path() + "/"));
    EXPECT_EQ(FileNames(dir.Path()),
              (std::vector<std::string>{"class_0.html", "class_2.html", "func_1.html", "index.html",
                                        "var_3.html"}));
    const std::string linkA = "<a href=\"class_0.html\">A (1 - 1 - 1)</a>";
    const std::pair<const char*, std::string> pages[] = {
        {"index.html", Head("class Unbekannt") +
                           Lines({"<font face=\"Arial\" color=\"#000000\">", "<small>",
                                  "<p>" + linkA + "<br>", "</p>", "</small>", "</font>"}) +
                           kTail},
        {"class_0.html", NodePage("class A",
                                  Lines({"<font face=\"Arial\" color=\"#FF0000\">", "<strong>",
                                         "</small>", "A<small>", "</strong></u></em>", "</font>"}) +
                                      Members(""),
                                  {"Klassenname:", "A", "Headerfile:", "a.h (Z: 10)",
                                   "Abgeleitet von:", "void", "abgeleitete Klassen:", "1 - 1 - 1",
                                   "Beschreibung:", "Z\344hler in &#8364;\r\nzweite Zeile"})},
        {"func_1.html",
         NodePage("void A::f(vector&lt;int&gt; v)", linkA + Members("f"),
                  {"Funktionsname:", "f", "Headerfile:", "a.h (Z: 12)", "Funktionstyp:", "void",
                   "Parameter:", "vector&lt;int&gt; v", "Beschreibung:", "Klasse unbekannt"})},
        {"class_2.html",
         NodePage("class B", linkA + Members("B"),
                  {"Klassenname:", "B", "Headerfile:", "b.h (Z: 4)", "Abgeleitet von:", "A - ",
                   "abgeleitete Klassen:", "0 - 0 - 0",
                   "Beschreibung:", "&lt;/title&gt;&lt;script&gt;x&lt;/script&gt;"})},
        {"var_3.html", NodePage("int m_n", linkA + Members("m_n"),
                                {"Variablenname:", "m_n", "Headerfile:", "a.h (Z: 14)",
                                 "Variablentyp:", "int", "Beschreibung:", "Klasse unbekannt"})}};
    for (const auto& [file, expected] : pages) {
        EXPECT_EQ(ReadFile(dir.Path() + "/" + file), expected) << file;
    }
}

// A directory that cannot be written writes nothing; a page that cannot be
// created is left out, its subtree is not; a failing write stops the export.
TEST(WorkedModel, WritingFailures) {
    WorkedModel model;
    CTempDir dir;
    const std::string blocker = dir.Write("blocker", "x");
    EXPECT_FALSE(model.root.ExportIndexPage(blocker + "/out"));
    EXPECT_FALSE(model.b->ExportPage(blocker));
    EXPECT_EQ(ReadFile(blocker), "x");
    CTempDir index;
    std::filesystem::create_directory(index.Path() + "/index.html");
    EXPECT_FALSE(model.root.ExportIndexPage(index.Path()));
    EXPECT_EQ(FileNames(index.Path()), std::vector<std::string>{"index.html"});
    CTempDir gap;
    std::filesystem::create_directory(gap.Path() + "/class_0.html");
    EXPECT_TRUE(model.root.ExportIndexPage(gap.Path()));
    EXPECT_FALSE(model.a->ExportPage(gap.Path()));
    CTempDir below;
    EXPECT_TRUE(model.a->ExportPages(below.Path()));
    for (const std::string& path : {gap.Path(), below.Path()}) {
        EXPECT_TRUE(FileExists(path + "/func_1.html") && FileExists(path + "/var_3.html")) << path;
    }
    EXPECT_FALSE(FileExists(below.Path() + "/class_0.html"));
    if (!FileExists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    CTempDir full;
    ASSERT_EQ(::symlink("/dev/full", (full.Path() + "/func_1.html").c_str()), 0);
    EXPECT_FALSE(model.root.ExportIndexPage(full.Path()));
    EXPECT_TRUE(FileExists(full.Path() + "/class_0.html"));
    EXPECT_FALSE(FileExists(full.Path() + "/class_2.html")) << "written after the failure";
    EXPECT_FALSE(model.a->ExportPages(full.Path()));
    EXPECT_FALSE(model.f->ExportPage(full.Path()));
}

// Headless Chromium parses a page and prints the document it built.
TEST(Browser, RendersBackLinkAndRedCurrentEntry) {
    if (!FileExists("/usr/bin/chromium")) {
        GTEST_SKIP() << "chromium is not installed";
    }
    WorkedModel model;
    model.b->SetName("CZ\303\244hler");
    CTempDir dir;
    ASSERT_TRUE(model.root.ExportIndexPage(dir.Path()));
    const std::string command = "timeout 120 /usr/bin/chromium --headless --no-sandbox "
                                "--disable-gpu --no-first-run --disable-background-networking "
                                "--disable-component-update --disable-sync --user-data-dir='" +
                                dir.Path() + "/profile' --dump-dom 'file://" + dir.Path() +
                                "/class_2.html' 2>/dev/null";
    std::string dom;
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        dom += static_cast<char>(c);
    }
    ::pclose(pipe);
    // ISO-8859-1 decoded: the document holds UTF-8. The parser splits the
    // misnested tags of the red entry, but its name stays red, bold, no link.
    for (const char* text : {"<a href=\"index.html\">Zurück zum Index</a>",
                             "<title>class CZähler</title>", "CZähler<br>"}) {
        EXPECT_NE(dom.find(text), std::string::npos) << text << " not in " << dom;
    }
    EXPECT_EQ(dom.find("<script>"), std::string::npos) << "markup from a text got into the page";
    const size_t name = dom.find("CZähler<br>");
    const std::string entry = dom.substr(0, name).substr(dom.rfind("<font ", name));
    EXPECT_TRUE(entry.starts_with("<font face=\"Arial\" color=\"#FF0000\">")) << entry;
    EXPECT_NE(entry.find("<strong>"), std::string::npos) << entry;
    for (const char* tag : {"</strong>", "</font>", "<a "}) {
        EXPECT_EQ(entry.find(tag), std::string::npos) << tag << " in " << entry;
    }
}

// The export against the plain version of the same pages on generated
// structures: deep and flat ones, repeated IDs, unknown kinds, members with
// children, names that need escaping or conversion.
struct Shape {
    const char* name;
    int nodes;
    int parentWindow;      // a new node hangs under one of the last N nodes (small: deep)
    int repeatedIdPercent; // share of nodes that take an ID already used
    bool oddKinds;         // unknown kinds and members with children
};

const char* const kNames[] = {
    "A",   "CShape",    "m_n",  "x<y>",     "CZ\xC3\xA4hler", "Euro\xE2\x82\xAC",
    "op&", "Latin\xFC", "a\nb", "operator<"};

std::unique_ptr<CClassRoot> Generate(const Shape& shape, unsigned seed,
                                     std::vector<CClassNode*>& nodes) {
    std::mt19937 random(seed);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto root = std::make_unique<CClassRoot>();
    nodes = {root.get()};
    std::vector<CClassNode*> classes{root.get()};
    for (int i = 0; i < shape.nodes; ++i) {
        auto* node = new CClassNode;
        const int roll = below(100);
        int kind = roll < 55 ? KindClass : roll < 80 ? KindFunction : KindVariable;
        if (shape.oddKinds && below(20) == 0) {
            kind = below(2) == 0 ? 9 : KindRoot;
        }
        node->SetKind(kind);
        node->SetId(shape.repeatedIdPercent > below(100) ? below(i + 1) : i);
        node->SetName(std::string(kNames[below(std::size(kNames))]) + std::to_string(i));
        node->SetTypeText(below(2) == 0 ? "int" : "const char*");
        node->SetParameters(below(2) == 0 ? "" : "int a,map<K,V>&m");
        node->SetHeaderFile("/inc/h" + std::to_string(below(5)) + ".h");
        node->SetLine(below(400) - 1);
        node->SetDescription(below(3) == 0 ? "Beschreibung <" + std::to_string(i) + ">"
                                           : "Klasse unbekannt");
        const std::vector<CClassNode*>& pool = shape.oddKinds && below(10) == 0 ? nodes : classes;
        const int window = std::min(shape.parentWindow, static_cast<int>(pool.size()));
        pool[pool.size() - 1 - static_cast<size_t>(below(window))]->AddChild(node);
        nodes.push_back(node);
        if (kind == KindClass) {
            classes.push_back(node);
        }
    }
    return root;
}

void ExpectSameFiles(const std::string& expected, const std::string& actual) {
    const std::vector<std::string> names = FileNames(expected);
    ASSERT_EQ(names, FileNames(actual));
    for (const std::string& name : names) {
        EXPECT_EQ(ReadFile(expected + "/" + name), ReadFile(actual + "/" + name)) << name;
    }
}

// The whole export, then every single page (also those a later node with the
// same file name overwrites), then the tree under any parent with and
// without indent.
TEST(LiteralEquivalence, SameBytesAsTheLiteralExport) {
    const Shape shapes[] = {
        {"Flat", 80, 1000, 0, false},      {"Deep", 80, 2, 0, false},
        {"Bushy", 120, 8, 0, false},       {"RepeatedIds", 100, 6, 30, false},
        {"MostlyOneId", 60, 4, 90, false}, {"OddKindsAndMemberChildren", 100, 5, 10, true},
    };
    for (const Shape& shape : shapes) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(std::string(shape.name) + ", seed " + std::to_string(seed));
            std::vector<CClassNode*> nodes;
            const auto root = Generate(shape, seed, nodes);
            CTempDir literal, fast;
            ASSERT_TRUE(literal_export::ExportIndexPage(*root, literal.Path()));
            ASSERT_TRUE(root->ExportIndexPage(fast.Path()));
            ExpectSameFiles(literal.Path(), fast.Path());
            for (CClassNode* node : nodes) {
                CTempDir one, other;
                ASSERT_TRUE(literal_export::ExportPage(*node, one.Path()));
                ASSERT_TRUE(node->ExportPage(other.Path()));
                ExpectSameFiles(one.Path(), other.Path());
                CClassNode* parent = nodes[(node->GetId() * 7u + seed) % nodes.size()];
                const bool indent = seed % 2 == 0;
                EXPECT_EQ(Body([&](CHtmlFile& f) {
                              literal_export::WriteHtmlTree(*node, &f, parent, indent);
                          }),
                          Body([&](CHtmlFile& f) { node->WriteHtmlTree(&f, parent, indent); }))
                    << node->GetName() << " under " << parent->GetName();
            }
        }
    }
}

} // namespace
