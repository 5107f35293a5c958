#include "HtmlTestSupport.h"
#include "html/HtmlFile.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

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

// Headless Chromium parses one ISO-8859-1 page and prints the document it built.
TEST(Browser, RendersBackLinkAndRedCurrentEntry) {
    const std::string chromium = "/usr/bin/chromium";
    if (!FileExists(chromium)) {
        GTEST_SKIP() << "chromium is not installed";
    }
    WorkedModel model;
    model.b->SetName("CZ\303\244hler");
    CTempDir dir;
    ASSERT_TRUE(model.root.ExportIndexPage(dir.Path()));
    const std::string command =
        "timeout 120 " + chromium +
        " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
        " --disable-background-networking --disable-component-update --disable-sync"
        " --user-data-dir='" +
        dir.Path() + "/profile' --dump-dom 'file://" + dir.Path() + "/class_2.html' 2>/dev/null";
    std::string dom;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            dom.append(buffer, got);
        }
        ::pclose(pipe);
    }
    // The browser decoded ISO-8859-1: its document holds the UTF-8 umlauts.
    EXPECT_NE(dom.find("<a href=\"index.html\">Zurück zum Index</a>"), std::string::npos) << dom;
    EXPECT_NE(dom.find("<title>class CZähler</title>"), std::string::npos);
    EXPECT_EQ(dom.find("<script>"), std::string::npos) << "markup from a text got into the page";
    // The parser splits the misnested tags of the red entry, but the name
    // still sits in a red font and in bold, and is no link.
    const size_t name = dom.find("CZähler<br>");
    ASSERT_NE(name, std::string::npos) << dom;
    const size_t font = dom.rfind("<font ", name);
    ASSERT_NE(font, std::string::npos) << dom;
    const std::string entry = dom.substr(font, name - font);
    EXPECT_EQ(entry.rfind("<font face=\"Arial\" color=\"#FF0000\">", 0), 0u) << entry;
    EXPECT_NE(entry.find("<strong>"), std::string::npos) << entry;
    for (const char* tag : {"</strong>", "</font>", "<a "}) {
        EXPECT_EQ(entry.find(tag), std::string::npos) << tag << " in " << entry;
    }
}

} // namespace
