// The HTML export: writer, worked pages, failures, plain version, command.

#include "html/HtmlExport.h"

#include "LiteralHtmlExport.h"
#include "Nodes.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "html/HtmlFile.h"
#include "platform/FileServices.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

std::string ReadFile(const std::string& path) {
    std::string contents;
    EXPECT_TRUE(ReadWholeFile(path, contents)) << path;
    return contents;
}

std::vector<std::string> FileNames(const std::string& directory) {
    std::vector<DirEntry> entries;
    EXPECT_TRUE(ListDirectory(directory, entries)) << directory;
    std::vector<std::string> names;
    for (const DirEntry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

// Lines joined, each closed by CR LF.
std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::string Head(const std::string& title) {
    return Lines({"<html>", "", "<head>",
                  "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">",
                  "<title>" + title + "</title>", "<meta name=\"GENERATOR\" content=\"Vorlix\">",
                  "</head>", "", "<body>"});
}

const std::string kTail = Lines({"</body>", "", "</html>"});

// What the operations write between the page head and the page end.
std::string Body(const std::function<void(CHtmlFile&)>& write) {
    CTempDir dir;
    CHtmlFile file;
    EXPECT_TRUE(file.BeginPage(dir.Path() + "/p.html", "T", "Vorlix"));
    write(file);
    EXPECT_TRUE(file.EndPage());
    const std::string page = ReadFile(dir.Path() + "/p.html");
    EXPECT_TRUE(page.starts_with(Head("T")) && page.ends_with(kTail)) << page;
    return page.substr(Head("T").size(), page.size() - Head("T").size() - kTail.size());
}

// Page head and end as every page has them; the worked pages pin the calls
// the export makes, these are the edges.
TEST(HtmlFile, WriterOperationsWriteExactBytes) {
    EXPECT_EQ(
        Body([](CHtmlFile& f) {
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
            // UTF-8 in, ISO-8859-1 out, the rest as character references
            f.WriteText(
                "Zur\303\274ck \xC3\x9F \xC2\x80\xC3\xBF \xC4\x80 \xE2\x82\xAC \xF0\x9F\x98\x80!"
                "\xF4\x8F\xBF\xBF\n",
                false);
            // Not UTF-8 (a Latin-1 byte, lone continuation bytes, overlong, a surrogate, beyond
            // the last code point, invalid then valid, truncated at the end): bytes as they are
            f.WriteText("\374 \x80\xBF \xC0\xAF\xE0\x80\xAF \xED\xA0\x80 \xF4\x90\x80\x80 "
                        "\xF5\x80\x80\x80 \xE2\xC3\xA4 a\xE2\x82",
                        false);
            f.WriteLink("Class_7.HTML", "Cx<T>", false);
            f.WriteParagraph("a<b", false, false, true, false);
        }),
        Lines({"<meta name=\"N<\" content=\"a&lt;b&gt;\"c\"\">",
               "<font face=\"A<b\" color=\"#00100F\">", "<u>", "", "", "</small></small></small>",
               "", "<table>",
               "<table border=\"1\" width=\"4\" height=\"5\" cellspacing=\"3\" cellpadding=\"2\">",
               "<table height=\"50%\">", "<td align=\"right\" height=\"20\">",
               "map&lt;int, T&lt;U&gt;&gt; & \"b\" &lt;",
               "Zur\374ck \xDF \x80\xFF &#256; &#8364; &#128512;!&#1114111;",
               "\374 \x80\xBF \xC0\xAF\xE0\x80\xAF \xED\xA0\x80 \xF4\x90\x80\x80 "
               "\xF5\x80\x80\x80 \xE2\xE4 a\xE2\x82"
               "<a href=\"class_7.html\">Cx&lt;T&gt;</a><p><em>",
               "a&lt;b</strong></u></em>", "</p>"}));
}

// A pipe is refused without waiting, a missing folder is not made, a file is
// written from its start and whole, a failing write is reported.
TEST(HtmlFile, PageFiles) {
    CTempDir dir;
    const std::string fifo = dir.Path() + "/fifo.html";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    for (const std::string& path : {dir.Path() + "/missing/p.html", fifo}) {
        CHtmlFile file;
        EXPECT_FALSE(file.BeginPage(path, "T", "G") || file.IsOpen()) << path;
        file.WriteText("ignored", true);
        EXPECT_FALSE(file.EndPage());
    }
    EXPECT_FALSE(FileExists(dir.Path() + "/missing"));
    const std::string path = dir.Write("p.html", std::string(5000, 'x'));
    {
        CHtmlFile file; // closed by its destructor
        ASSERT_TRUE(file.BeginPage(path, "T", "Vorlix"));
        file.WriteText("x", false);
    }
    EXPECT_EQ(ReadFile(path), Head("T") + "x");
    // Larger than the buffer: all of it arrives.
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
    EXPECT_TRUE(file.BeginPage(path, "T", "G") && !file.HasFailed() && file.EndPage());
}

// The root holds class A (ID 0) with the member function f (ID 1), the
// derived class B (ID 2) and the member variable m_n (ID 3).
struct WorkedModel {
    CClassRoot root;
    CClassNode* a = AddNode(&root, "A", KindClass, 10);
    CClassNode* f = AddNode(a, "f", KindFunction, 12, "void", "vector<int> v");
    CClassNode* b = AddNode(a, "B", KindClass, 4);
    CClassNode* v = AddNode(a, "m_n", KindVariable, 14, "int");
    WorkedModel() {
        a->SetDescription("Z\303\244hler in \xE2\x82\xAC\nzweite Zeile");
        b->SetDescription("</title><script>x</script>");
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
TEST(WorkedModel, PagesByteForByteAndWritingFailures) {
    WorkedModel model;
    CTempDir dir;
    const std::string p = dir.Path(), blocker = dir.Write("blocker", "x");
    for (const char* place :
         {"pages/x", "index/index.html/x", "gap/class_0.html/x", "below/x", "full/x"}) {
        dir.Write(place, ""); // directories where pages would go
    }
    ASSERT_TRUE(model.root.ExportIndexPage(p + "/pages/"));
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
                                  {"Klassenname:", "A", "Headerfile:", "A.h (Z: 10)",
                                   "Abgeleitet von:", "void", "abgeleitete Klassen:", "1 - 1 - 1",
                                   "Beschreibung:", "Z\344hler in &#8364;\r\nzweite Zeile"})},
        {"func_1.html",
         NodePage("void A::f(vector&lt;int&gt; v)", linkA + Members("f"),
                  {"Funktionsname:", "f", "Headerfile:", "f.h (Z: 12)", "Funktionstyp:", "void",
                   "Parameter:", "vector&lt;int&gt; v", "Beschreibung:", "Klasse unbekannt"})},
        {"class_2.html",
         NodePage("class B", linkA + Members("B"),
                  {"Klassenname:", "B", "Headerfile:", "B.h (Z: 4)", "Abgeleitet von:", "A - ",
                   "abgeleitete Klassen:", "0 - 0 - 0",
                   "Beschreibung:", "&lt;/title&gt;&lt;script&gt;x&lt;/script&gt;"})},
        {"var_3.html", NodePage("int m_n", linkA + Members("m_n"),
                                {"Variablenname:", "m_n", "Headerfile:", "m_n.h (Z: 14)",
                                 "Variablentyp:", "int", "Beschreibung:", "Klasse unbekannt"})}};
    for (const auto& [file, expected] : pages) {
        EXPECT_EQ(ReadFile(p + "/pages/" + file), expected) << file;
    }
    // A directory that cannot be written writes nothing; a page that cannot be
    // created is left out, its subtree is not; a failing write stops the export.
    EXPECT_FALSE(model.b->ExportPage(blocker));
    EXPECT_FALSE(model.root.ExportIndexPage(p + "/index"));
    EXPECT_EQ(FileNames(p + "/index"), std::vector<std::string>{"index.html"});
    EXPECT_TRUE(model.root.ExportIndexPage(p + "/gap"));
    EXPECT_FALSE(model.a->ExportPage(p + "/gap"));
    EXPECT_TRUE(model.a->ExportPages(p + "/below"));
    for (const std::string& path : {p + "/gap", p + "/below"}) {
        EXPECT_TRUE(FileExists(path + "/func_1.html") && FileExists(path + "/var_3.html")) << path;
    }
    EXPECT_FALSE(FileExists(p + "/below/class_0.html"));
    if (!FileExists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    ASSERT_EQ(::symlink("/dev/full", (p + "/full/func_1.html").c_str()), 0);
    EXPECT_FALSE(model.root.ExportIndexPage(p + "/full"));
    EXPECT_TRUE(FileExists(p + "/full/class_0.html"));
    EXPECT_FALSE(FileExists(p + "/full/class_2.html")) << "written after the failure";
    EXPECT_FALSE(model.a->ExportPages(p + "/full"));
    EXPECT_FALSE(model.f->ExportPage(p + "/full"));
}

// The export against its plain version on generated structures. A shape: node
// count; a node hangs under one of the last N nodes (small: deep); percentage
// of repeated IDs; unknown kinds and members with children (0 or 1).
using Shape = int[4];

const char* const kNames[] = {"A",   "x<y>",      "CZ\xC3\xA4hler", "Euro\xE2\x82\xAC",
                              "op&", "Latin\xFC", "a\nb",           "operator<"};

std::unique_ptr<CClassRoot> Generate(const Shape& shape, unsigned seed,
                                     std::vector<CClassNode*>& nodes) {
    const auto [count, parentWindow, repeatedIdPercent, oddKinds] = shape;
    std::mt19937 random(seed);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto root = std::make_unique<CClassRoot>();
    nodes = {root.get()};
    std::vector<CClassNode*> classes{root.get()};
    for (int i = 0; i < count; ++i) {
        auto* node = new CClassNode;
        const int roll = below(100);
        int kind = roll < 55 ? KindClass : roll < 80 ? KindFunction : KindVariable;
        kind = oddKinds && below(20) == 0 ? (below(2) == 0 ? 9 : KindRoot) : kind;
        node->SetKind(kind);
        node->SetId(repeatedIdPercent > below(100) ? below(i + 1) : i);
        node->SetName(std::string(kNames[below(std::size(kNames))]) + std::to_string(i));
        node->SetTypeText(below(2) == 0 ? "int" : "const char*");
        node->SetParameters(below(2) == 0 ? "" : "int a,map<K,V>&m");
        node->SetHeaderFile("/inc/h" + std::to_string(below(5)) + ".h");
        node->SetLine(below(400) - 1);
        node->SetDescription(below(3) == 0 ? "Beschreibung <" + std::to_string(i) + ">"
                                           : "Klasse unbekannt");
        const std::vector<CClassNode*>& pool = oddKinds && below(10) == 0 ? nodes : classes;
        const int window = std::min(parentWindow, static_cast<int>(pool.size()));
        pool[pool.size() - 1 - static_cast<size_t>(below(window))]->AddChild(node);
        nodes.push_back(node);
        if (kind == KindClass) {
            classes.push_back(node);
        }
    }
    return root;
}

// The whole export, then every single page, also those a later node with
// the same file name overwrites.
TEST(LiteralEquivalence, SameBytesAsTheLiteralExport) {
    const Shape shapes[] = {{80, 1000, 0, 0}, {80, 2, 0, 0},  {120, 8, 0, 0},
                            {100, 6, 30, 0},  {60, 4, 90, 0}, {100, 5, 10, 1}};
    for (const Shape& shape : shapes) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(testing::Message() << "shape " << &shape - shapes << ", seed " << seed);
            std::vector<CClassNode*> nodes;
            const auto root = Generate(shape, seed, nodes);
            CTempDir literal, fast;
            ASSERT_TRUE(literal_export::ExportIndexPage(*root, literal.Path()));
            ASSERT_TRUE(root->ExportIndexPage(fast.Path()));
            ASSERT_EQ(FileNames(literal.Path()), FileNames(fast.Path()));
            for (const std::string& name : FileNames(literal.Path())) {
                EXPECT_EQ(ReadFile(literal.Path() + "/" + name), ReadFile(fast.Path() + "/" + name))
                    << name;
            }
            // One page at a time into the same folders, and the tree under any
            // parent with and without indent.
            for (CClassNode* node : nodes) {
                const std::string page = "/" + node->GetHtmlFileName();
                ASSERT_TRUE(literal_export::ExportPage(*node, literal.Path()));
                ASSERT_TRUE(node->ExportPage(fast.Path()));
                EXPECT_EQ(ReadFile(literal.Path() + page), ReadFile(fast.Path() + page)) << page;
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

// Exported, declined, folder choice cancelled, empty folder, unwritable folder.
TEST(ExportCommand, QuestionFolderProgressAndMessage) {
    WorkedModel model;
    CTempDir dir;
    const std::string blocker = dir.Write("blocker", "x");
    CScriptedUserInterface ui;
    ui.yesNoAnswers = {true, false, true, true, true};
    ui.folderAnswers = {dir.Path(), std::nullopt, std::string(), blocker + "/html"};
    // exported, folder choices, progress shown, messages: all counted so far
    const std::tuple<bool, size_t, int, size_t> steps[] = {
        {true, 1, 1, 0}, {false, 1, 1, 0}, {false, 2, 1, 0}, {false, 3, 1, 0}, {false, 4, 2, 1}};
    for (const auto& step : steps) {
        const bool exported = RunHtmlExport(&model.root, ui);
        EXPECT_EQ(
            std::tuple(exported, ui.folderTitles.size(), ui.progressShown, ui.messages.size()),
            step);
        EXPECT_FALSE(ui.progressVisible);
    }
    const std::string question = "Der Export in HTML beansprucht bei größeren Projekten sehr viel "
                                 "Zeit\nund eine größere Menge an Festplattenspeicher!\n\nExport "
                                 "trotzdem fortsetzen oder abbrechen?";
    EXPECT_EQ(ui.questions, std::vector<std::string>(5, question));
    EXPECT_EQ(ui.folderTitles[0], "Wählen Sie ein Verzeichnis, in dem alle weiteren HTML-Dateien "
                                  "angelegt werden soll.");
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Fehler beim exportieren aufgetreten!\n\nEinige Klassen "
                                       "könnten nicht vorhanden sein!"});
    EXPECT_EQ(FileNames(dir.Path()).size(), 6u); // the blocker and five pages
    EXPECT_FALSE(RunHtmlExport(nullptr, ui));
    EXPECT_EQ(ui.questions.size(), 5u) << "no structure, no question";
}

// A real browser decodes the ISO-8859-1 page, keeps a hostile description out
// of the markup and shows the current entry red, bold and unlinked.
TEST(Browser, RendersBackLinkAndRedCurrentEntry) {
    if (!FileExists("/usr/bin/chromium")) {
        GTEST_SKIP() << "chromium is not installed";
    }
    CClassRoot root;
    AddNode(AddNode(&root, "A", KindClass), "CZ\303\244hler", KindClass)
        ->SetDescription("</title><script>document.title='x'</script>");
    CTempDir dir;
    ASSERT_TRUE(root.ExportIndexPage(dir.Path()));
    const std::string p = dir.Path();
    ASSERT_EQ(std::system(("timeout 120 /usr/bin/chromium --headless --no-sandbox --disable-gpu"
                           " --no-first-run --disable-background-networking"
                           " --disable-component-update --user-data-dir='" +
                           p + "/profile' --dump-dom 'file://" + p + "/class_1.html' >'" + p +
                           "/dom' 2>/dev/null")
                              .c_str()),
              0);
    const std::string dom = ReadFile(p + "/dom");
    // The current entry as the browser rebuilt its nesting: red, bold, no link.
    for (const char* part :
         {"<a href=\"index.html\">Zurück zum Index</a>", "<title>class CZähler</title>",
          "<font face=\"Arial\" color=\"#FF0000\"><strong>\nCZähler<br>"}) {
        EXPECT_NE(dom.find(part), std::string::npos) << part << " in\n" << dom;
    }
    EXPECT_EQ(dom.find("<script>"), std::string::npos) << "markup from a text got into the page";
}

} // namespace
