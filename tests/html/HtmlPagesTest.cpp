#include "HtmlTestSupport.h"
#include "html/HtmlFile.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

// The root holds class A (ID 0) with the member function f (ID 1, no
// parameters) and the derived class B (ID 2).
struct WorkedModel {
    CClassRoot root;
    CClassNode* a = AddNode(&root, "A", KindClass, 0);
    CClassNode* f = AddNode(a, "f", KindFunction, 1);
    CClassNode* b = AddNode(a, "B", KindClass, 2);
    WorkedModel() {
        a->SetHeaderFile("/usr/include/shapes/a.h");
        a->SetLine(10);
        a->SetDescription("Basis aller Formen");
        f->SetHeaderFile("/usr/include/shapes/a.h");
        f->SetLine(12);
        f->SetTypeText("void");
        f->SetParameters("");
        b->SetHeaderFile("/usr/include/shapes/b.h");
        b->SetLine(4);
    }
};

// A node page: the back link, then the navigation tree, then label/value pairs.
std::string NodePage(const std::string& title, const std::string& tree,
                     std::initializer_list<std::string> details) {
    std::string page = Head(title) + Lines({
                                         "<font face=\"Arial\" color=\"#000000\">",
                                         "<p><a href=\"index.html\">Zur\374ck zum Index</a><br>",
                                         "</p>",
                                         "</font>",
                                         "<table width=\"100%\" cellspacing=\"1\">",
                                         "<tr>",
                                         "<td valign=\"top\" align=\"left\" width=\"60%\" "
                                         "height=\"100%\">",
                                         "<small>",
                                         "<font face=\"Arial\" color=\"#000000\">",
                                     });
    page += "<p>" + tree +
            Lines({"</p>", "</small>", "</font>", "</td>",
                   "<td valign=\"top\" align=\"left\" width=\"40%\" height=\"100%\">", "<small>",
                   "<font face=\"Arial\" color=\"#000000\">"});
    for (const std::string& text : details) { // labels end in ':'
        const bool label = !text.empty() && text.back() == ':';
        page += Lines({label ? "<p><strong><u>" : "<p>", text + "</strong></u></em>", "</p>"});
    }
    return page + Lines({"</td>", "</small>", "</font>", "</tr>", "</table>"}) + kTail;
}

// The current node in red, bold, at normal size.
std::string Current(const std::string& name, bool lineBreak) {
    return Lines({"<font face=\"Arial\" color=\"#FF0000\">", "<strong>", "</small>"}) + name +
           (lineBreak ? "<br>\r\n" : "") + Lines({"<small>", "</strong></u></em>", "</font>"});
}

const std::string kLinkA = "<a href=\"class_0.html\">A (1 - 1 - 0)</a>";

// Into a directory given with its "/": no doubled slash anywhere.
TEST(WorkedModel, PagesByteForByte) {
    WorkedModel model;
    CTempDir dir;
    ASSERT_TRUE(model.root.ExportIndexPage(dir.Path() + "/"));
    EXPECT_EQ(FileNames(dir.Path()), (std::vector<std::string>{"class_0.html", "class_2.html",
                                                               "func_1.html", "index.html"}));
    EXPECT_EQ(ReadFile(dir.Path() + "/index.html"),
              Head("class Unbekannt") +
                  Lines({"<font face=\"Arial\" color=\"#000000\">", "<small>",
                         "<p>" + kLinkA + "<br>", "</p>", "</small>", "</font>"}) +
                  kTail);
    EXPECT_EQ(
        ReadFile(dir.Path() + "/class_0.html"),
        NodePage("class A",
                 Current("A", false) +
                     Lines({"</p>", "<p><blockquote>", "<a href=\"func_1.html\">f</a><br>",
                            "<a href=\"class_2.html\">B</a><br>", "</blockquote>"}),
                 {"Klassenname:", "A", "Headerfile:", "a.h (Z: 10)", "Abgeleitet von:", "void",
                  "abgeleitete Klassen:", "1 - 1 - 0", "Beschreibung:", "Basis aller Formen"}));
    EXPECT_EQ(ReadFile(dir.Path() + "/class_2.html"),
              NodePage("class B",
                       kLinkA +
                           Lines({"</p>", "<p><blockquote>", "<a href=\"func_1.html\">f</a><br>"}) +
                           Current("B", true) + Lines({"</blockquote>"}),
                       {"Klassenname:", "B", "Headerfile:", "b.h (Z: 4)", "Abgeleitet von:", "A - ",
                        "abgeleitete Klassen:", "0 - 0 - 0", "Beschreibung:", "Klasse unbekannt"}));
    EXPECT_EQ(ReadFile(dir.Path() + "/func_1.html"),
              NodePage("void A::f()",
                       kLinkA + Lines({"</p>", "<p><blockquote>"}) + Current("f", true) +
                           Lines({"<a href=\"class_2.html\">B</a><br>", "</blockquote>"}),
                       {"Funktionsname:", "f", "Headerfile:", "a.h (Z: 12)", "Funktionstyp:",
                        "void", "Parameter:", "", "Beschreibung:", "Klasse unbekannt"}));
}

// root -> V (class) with the member variable v, and the class W.
TEST(NodePages, VariablePageAlone) {
    CClassRoot root;
    CClassNode* v = AddNode(&root, "V", KindClass, 0);
    CClassNode* var = AddNode(v, "m_nCount", KindVariable, 1);
    AddNode(&root, "W", KindClass, 2);
    var->SetTypeText("unsigned int");
    var->SetHeaderFile("v.h");
    var->SetLine(7);
    var->SetDescription("Anzahl");
    CTempDir dir;
    ASSERT_TRUE(var->ExportPage(dir.Path()));
    EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"var_1.html"});
    EXPECT_EQ(ReadFile(dir.Path() + "/var_1.html"),
              NodePage("unsigned int m_nCount",
                       "<a href=\"class_0.html\">V (0 - 0 - 1)</a>" +
                           Lines({"</p>", "<p><blockquote>"}) + Current("m_nCount", true) +
                           Lines({"</blockquote>", "<a href=\"class_2.html\">W</a><br>"}),
                       {"Variablenname:", "m_nCount", "Headerfile:", "v.h (Z: 7)",
                        "Variablentyp:", "unsigned int", "Beschreibung:", "Anzahl"}));
}

TEST(NodePages, UnwritableDirectoryWritesNoPage) {
    WorkedModel model;
    CTempDir dir;
    const std::string blocker = dir.Write("blocker", "a regular file");
    EXPECT_FALSE(model.root.ExportIndexPage(blocker + "/out"));
    EXPECT_FALSE(model.b->ExportPage(blocker));
    EXPECT_EQ(ReadFile(blocker), "a regular file");
    // The directory is writable, only "index.html" cannot be a file.
    CTempDir out;
    std::filesystem::create_directory(out.Path() + "/index.html");
    EXPECT_FALSE(model.root.ExportIndexPage(out.Path()));
    EXPECT_EQ(FileNames(out.Path()), std::vector<std::string>{"index.html"});
}

TEST(NodePages, PageThatCannotBeCreatedIsLeftOutTheSubtreeIsNot) {
    WorkedModel model;
    CTempDir dir;
    std::filesystem::create_directory(dir.Path() + "/class_0.html");
    EXPECT_TRUE(model.root.ExportIndexPage(dir.Path()));
    EXPECT_TRUE(FileExists(dir.Path() + "/func_1.html"));
    EXPECT_TRUE(FileExists(dir.Path() + "/class_2.html"));
    EXPECT_FALSE(model.a->ExportPage(dir.Path()));
    CTempDir below;
    EXPECT_TRUE(model.a->ExportPages(below.Path()));
    EXPECT_EQ(FileNames(below.Path()), (std::vector<std::string>{"class_2.html", "func_1.html"}));
}

TEST(NodePages, FailingWriteStopsTheExport) {
    if (!FileExists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    WorkedModel model;
    CTempDir dir;
    ASSERT_EQ(::symlink("/dev/full", (dir.Path() + "/func_1.html").c_str()), 0);
    EXPECT_FALSE(model.root.ExportIndexPage(dir.Path()));
    EXPECT_TRUE(FileExists(dir.Path() + "/class_0.html"));
    EXPECT_FALSE(FileExists(dir.Path() + "/class_2.html")) << "written after the failure";
    EXPECT_FALSE(model.a->ExportPages(dir.Path()));
    EXPECT_FALSE(model.f->ExportPage(dir.Path()));
}

TEST(NodePages, UnknownKindWritesErrorPage) {
    CClassRoot root;
    CClassNode* a = AddNode(&root, "A", KindClass, 0);
    AddNode(a, "first", 7, 1)->SetHeaderFile("x.h");
    CClassNode* second = AddNode(a, "second", -2, 2);
    second->SetHeaderFile("y.h");
    second->SetLine(3);
    CTempDir dir;
    ASSERT_TRUE(root.ExportIndexPage(dir.Path()));
    // The later node wins; no name label, the header line twice.
    EXPECT_EQ(
        ReadFile(dir.Path() + "/error.html"),
        NodePage("",
                 "<a href=\"class_0.html\">A (0 - 0 - 0)</a>" +
                     Lines({"</p>", "<p><blockquote>", "<a href=\"error.html\">first</a><br>"}) +
                     Current("second", true) + Lines({"</blockquote>"}),
                 {"second", "Headerfile:", "y.h (Z: 3)", "y.h (Z: 3)",
                  "Beschreibung:", "Klasse unbekannt"}));
}

// The title mend: a name holding "</title><script>" cannot break out.
TEST(NodePages, AngleBracketsEscapedEverywhereTitlesIncluded) {
    CClassRoot root;
    CClassNode* t = AddNode(&root, "X</title><script>", KindClass, 0);
    CClassNode* f = AddNode(t, "operator<", KindFunction, 1);
    f->SetTypeText("bool");
    f->SetParameters("const vector<int>&v");
    t->SetDescription("<b>fett</b>");
    CTempDir dir;
    ASSERT_TRUE(root.ExportIndexPage(dir.Path()));
    EXPECT_NE(
        ReadFile(dir.Path() + "/index.html").find(">X&lt;/title&gt;&lt;script&gt; (0 - 1 - 0)</a>"),
        std::string::npos);
    const std::string classPage = ReadFile(dir.Path() + "/class_0.html");
    EXPECT_NE(classPage.find("<title>class X&lt;/title&gt;&lt;script&gt;</title>"),
              std::string::npos);
    EXPECT_NE(classPage.find("\r\n&lt;b&gt;fett&lt;/b&gt;</strong>"), std::string::npos);
    const std::string funcPage = ReadFile(dir.Path() + "/func_1.html");
    EXPECT_NE(funcPage.find("<title>bool X&lt;/title&gt;&lt;script&gt;::operator&lt;("
                            "const vector&lt;int&gt;& v)</title>"),
              std::string::npos);
    EXPECT_EQ(funcPage.find("<script>"), std::string::npos);
}

TEST(NodePages, UmlautsAndCharactersBeyondLatin1) {
    CClassRoot root;
    AddNode(&root, "CZ\303\244hler", KindClass, 0)
        ->SetDescription("Z\303\244hlt Stra\303\237en in \xE2\x82\xAC und "
                         "\xE2\x80\x9E"
                         "Anf\303\274hrungen\xE2\x80\x9C\nzweite Zeile");
    CTempDir dir;
    ASSERT_TRUE(root.ExportIndexPage(dir.Path()));
    EXPECT_NE(ReadFile(dir.Path() + "/index.html").find(">CZ\344hler</a>"), std::string::npos);
    const std::string page = ReadFile(dir.Path() + "/class_0.html");
    EXPECT_NE(page.find("<title>class CZ\344hler</title>"), std::string::npos);
    EXPECT_NE(page.find("\r\nZ\344hlt Stra\337en in &#8364; und &#8222;Anf\374hrungen&#8220;\r\n"
                        "zweite Zeile</strong>"),
              std::string::npos);
    EXPECT_EQ(page.find("\xC3"), std::string::npos) << "no UTF-8 left in the page";
}

// Headless Chromium parses one ISO-8859-1 page and prints the document it built.
TEST(Browser, RendersBackLinkAndRedCurrentEntry) {
    const std::string chromium = "/usr/bin/chromium";
    if (!FileExists(chromium)) {
        GTEST_SKIP() << "chromium is not installed";
    }
    CClassRoot root;
    AddNode(AddNode(&root, "A", KindClass, 0), "CZ\303\244hler", KindClass, 2)
        ->SetDescription("</title><script>document.title='x'</script>");
    CTempDir dir;
    ASSERT_TRUE(root.ExportIndexPage(dir.Path()));
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
    ASSERT_FALSE(dom.empty()) << "chromium printed nothing";
    // The browser decoded ISO-8859-1: its document holds the UTF-8 umlaut.
    EXPECT_NE(dom.find("<a href=\"index.html\">Zurück zum Index</a>"), std::string::npos) << dom;
    EXPECT_NE(dom.find("<title>class CZähler</title>"), std::string::npos);
    EXPECT_EQ(dom.find("<script>"), std::string::npos) << "markup from a text got into the page";
    // The parser splits the misnested tags of the red entry, but the name
    // still sits in a red font and in bold, and is no link.
    const size_t name = dom.find("CZähler<br>");
    ASSERT_NE(name, std::string::npos) << dom;
    const size_t font = dom.rfind("<font ", name);
    ASSERT_NE(font, std::string::npos) << dom;
    EXPECT_EQ(dom.compare(font, 35, "<font face=\"Arial\" color=\"#FF0000\">"), 0) << dom;
    const std::string entry = dom.substr(font, name - font);
    EXPECT_NE(entry.find("<strong>"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("</strong>"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("</font>"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("<a "), std::string::npos) << "the current entry is no link";
}

} // namespace
