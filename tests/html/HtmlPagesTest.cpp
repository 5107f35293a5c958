#include "TempDir.h"
#include "html/HtmlFile.h"
#include "model/ClassRoot.h"
#include "platform/FileServices.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <unistd.h>

namespace {

CClassNode* AddNode(CClassNode* parent, const std::string& name, int kind, int id) {
    auto* node = new CClassNode;
    node->SetName(name);
    node->SetKind(kind);
    node->SetId(id);
    parent->AddChild(node);
    return node;
}

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

std::string ReadFile(const std::string& path) {
    std::string contents;
    EXPECT_TRUE(ReadWholeFile(path, contents)) << path;
    return contents;
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

// Everything of a node page before its navigation tree.
const std::string kTreeStart = Lines({
    "<font face=\"Arial\" color=\"#000000\">",
    "<p><a href=\"index.html\">Zur\xFC"
    "ck zum Index</a><br>",
    "</p>",
    "</font>",
    "<table width=\"100%\" cellspacing=\"1\">",
    "<tr>",
    "<td valign=\"top\" align=\"left\" width=\"60%\" height=\"100%\">",
    "<small>",
    "<font face=\"Arial\" color=\"#000000\">",
});

const std::string kDetailsStart = Lines({
    "</p>",
    "</small>",
    "</font>",
    "</td>",
    "<td valign=\"top\" align=\"left\" width=\"40%\" height=\"100%\">",
    "<small>",
    "<font face=\"Arial\" color=\"#000000\">",
});

const std::string kPageEnd = Lines({"</td>", "</small>", "</font>", "</tr>", "</table>"}) + kTail;

std::string Label(const std::string& text) {
    return Lines({"<p><strong><u>", text + "</strong></u></em>", "</p>"});
}

std::string Value(const std::string& text) {
    return Lines({"<p>", text + "</strong></u></em>", "</p>"});
}

// The current node in red, bold, at normal size.
std::string Current(const std::string& name, bool lineBreak) {
    return Lines({"<font face=\"Arial\" color=\"#FF0000\">", "<strong>", "</small>"}) + name +
           (lineBreak ? "<br>\r\n" : "") + Lines({"<small>", "</strong></u></em>", "</font>"});
}

TEST(WorkedModel, IndexPage) {
    WorkedModel model;
    CTempDir dir;
    ASSERT_TRUE(model.root.ExportIndexPage(dir.Path()));
    EXPECT_EQ(ReadFile(dir.Path() + "/index.html"),
              Head("class Unbekannt") +
                  Lines({
                      "<font face=\"Arial\" color=\"#000000\">",
                      "<small>",
                      "<p><a href=\"class_0.html\">A (1 - 1 - 0)</a><br>",
                      "</p>",
                      "</small>",
                      "</font>",
                  }) +
                  kTail);
}

TEST(WorkedModel, DerivedClassPage) {
    WorkedModel model;
    CTempDir dir;
    ASSERT_TRUE(model.root.ExportIndexPage(dir.Path()));
    EXPECT_EQ(ReadFile(dir.Path() + "/class_2.html"),
              Head("class B") + kTreeStart + "<p><a href=\"class_0.html\">A (1 - 1 - 0)</a>" +
                  Lines({"</p>", "<p><blockquote>", "<a href=\"func_1.html\">f</a><br>"}) +
                  Current("B", true) + Lines({"</blockquote>"}) + kDetailsStart +
                  Label("Klassenname:") + Value("B") + Label("Headerfile:") + Value("b.h (Z: 4)") +
                  Label("Abgeleitet von:") + Value("A - ") + Label("abgeleitete Klassen:") +
                  Value("0 - 0 - 0") + Label("Beschreibung:") + Value("Klasse unbekannt") +
                  kPageEnd);
}

TEST(WorkedModel, TopClassPage) {
    WorkedModel model;
    CTempDir dir;
    ASSERT_TRUE(model.root.ExportIndexPage(dir.Path()));
    EXPECT_EQ(ReadFile(dir.Path() + "/class_0.html"),
              Head("class A") + kTreeStart + "<p>" + Current("A", false) +
                  Lines({"</p>", "<p><blockquote>", "<a href=\"func_1.html\">f</a><br>",
                         "<a href=\"class_2.html\">B</a><br>", "</blockquote>"}) +
                  kDetailsStart + Label("Klassenname:") + Value("A") + Label("Headerfile:") +
                  Value("a.h (Z: 10)") + Label("Abgeleitet von:") + Value("void") +
                  Label("abgeleitete Klassen:") + Value("1 - 1 - 0") + Label("Beschreibung:") +
                  Value("Basis aller Formen") + kPageEnd);
}

TEST(WorkedModel, FunctionPage) {
    WorkedModel model;
    CTempDir dir;
    ASSERT_TRUE(model.root.ExportIndexPage(dir.Path()));
    EXPECT_EQ(ReadFile(dir.Path() + "/func_1.html"),
              Head("void A::f()") + kTreeStart + "<p><a href=\"class_0.html\">A (1 - 1 - 0)</a>" +
                  Lines({"</p>", "<p><blockquote>"}) + Current("f", true) +
                  Lines({"<a href=\"class_2.html\">B</a><br>", "</blockquote>"}) + kDetailsStart +
                  Label("Funktionsname:") + Value("f") + Label("Headerfile:") +
                  Value("a.h (Z: 12)") + Label("Funktionstyp:") + Value("void") +
                  Label("Parameter:") + Value("") + Label("Beschreibung:") +
                  Value("Klasse unbekannt") + kPageEnd);
}

TEST(WorkedModel, ExactlyTheNodePagesAndTheIndex) {
    WorkedModel model;
    CTempDir dir;
    ASSERT_TRUE(model.root.ExportIndexPage(dir.Path()));
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListDirectory(dir.Path(), entries));
    std::vector<std::string> names;
    for (const DirEntry& entry : entries) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"class_0.html", "class_2.html", "func_1.html",
                                               "index.html"}));
}

TEST(WorkedModel, NavigationTreeAlone) {
    WorkedModel model;
    CTempDir dir;
    const std::string path = dir.Path() + "/tree.html";
    CHtmlFile writer;
    ASSERT_TRUE(writer.BeginPage(path, "T", "Vorlix"));
    model.b->WriteHtmlTree(&writer, &model.root, false);
    model.b->WriteHtmlTree(&writer, model.a, true);
    model.b->WriteHtmlTree(nullptr, model.a, true);
    model.b->WriteHtmlTree(&writer, nullptr, true);
    ASSERT_TRUE(writer.EndPage());
    const std::string underA = Lines({"<blockquote>", "<a href=\"func_1.html\">f</a><br>"}) +
                               Current("B", true) + Lines({"</blockquote>"});
    const std::string page = ReadFile(path);
    const std::string head = Head("T");
    ASSERT_GT(page.size(), head.size());
    EXPECT_EQ(page.substr(Head("T").size()),
              "<a href=\"class_0.html\">A (1 - 1 - 0)</a></p>\r\n<p>" + underA + underA + kTail);
}

// root -> V (class) with the member variable v, and the class W.
TEST(NodePages, VariablePage) {
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
    EXPECT_EQ(ReadFile(dir.Path() + "/var_1.html"),
              Head("unsigned int m_nCount") + kTreeStart +
                  "<p><a href=\"class_0.html\">V (0 - 0 - 1)</a>" +
                  Lines({"</p>", "<p><blockquote>"}) + Current("m_nCount", true) +
                  Lines({"</blockquote>", "<a href=\"class_2.html\">W</a><br>"}) + kDetailsStart +
                  Label("Variablenname:") + Value("m_nCount") + Label("Headerfile:") +
                  Value("v.h (Z: 7)") + Label("Variablentyp:") + Value("unsigned int") +
                  Label("Beschreibung:") + Value("Anzahl") + kPageEnd);
    EXPECT_FALSE(FileExists(dir.Path() + "/class_0.html"));
}

TEST(NodePages, LabelsCountClassesAtAnyDepthAndOwnMembers) {
    CClassRoot root;
    CClassNode* shape = AddNode(&root, "CShape", KindClass, 0);
    CClassNode* round = AddNode(shape, "CRound", KindClass, 1);
    AddNode(round, "CCircle", KindClass, 2);
    AddNode(round, "Radius", KindFunction, 3);
    AddNode(shape, "CBox", KindClass, 4);
    AddNode(shape, "Draw", KindFunction, 5);
    AddNode(shape, "Area", KindFunction, 6);
    AddNode(shape, "m_nColor", KindVariable, 7);
    AddNode(&root, "CLonely", KindClass, 8);
    CTempDir dir;
    ASSERT_TRUE(root.ExportIndexPage(dir.Path()));
    const std::string index = ReadFile(dir.Path() + "/index.html");
    EXPECT_NE(index.find("<a href=\"class_0.html\">CShape (3 - 2 - 1)</a><br>\r\n"
                         "<a href=\"class_8.html\">CLonely</a><br>\r\n"),
              std::string::npos);
    const std::string lonely = ReadFile(dir.Path() + "/class_8.html");
    EXPECT_NE(lonely.find(Label("abgeleitete Klassen:") + Value("0 - 0 - 0")), std::string::npos);
    const std::string circle = ReadFile(dir.Path() + "/class_2.html");
    EXPECT_NE(circle.find(Value("CShape - CRound - ")), std::string::npos);
    EXPECT_NE(circle.find("<a href=\"class_1.html\">CRound (1 - 1 - 0)</a></p>"),
              std::string::npos);
    EXPECT_NE(circle.find("<a href=\"class_4.html\">CBox</a><br>"), std::string::npos);
    // Only the branch to the current node is open.
    EXPECT_NE(lonely.find("<a href=\"class_0.html\">CShape (3 - 2 - 1)</a><br>"),
              std::string::npos);
    EXPECT_EQ(lonely.find("class_1.html"), std::string::npos);
}

TEST(NodePages, FunctionWithoutParentHasNoClassInTitle) {
    CClassNode f;
    f.SetName("main");
    f.SetKind(KindFunction);
    f.SetId(5);
    f.SetTypeText("int");
    f.SetParameters("int argc,char**argv");
    CTempDir dir;
    ASSERT_TRUE(f.ExportPage(dir.Path()));
    const std::string page = ReadFile(dir.Path() + "/func_5.html");
    EXPECT_NE(page.find("<title>int main(int argc, char* * argv)</title>"), std::string::npos);
}

TEST(NodePages, DirectoryWithTrailingSlashGivesTheSamePages) {
    WorkedModel model;
    CTempDir plain;
    CTempDir slashed;
    ASSERT_TRUE(model.root.ExportIndexPage(plain.Path()));
    ASSERT_TRUE(model.root.ExportIndexPage(slashed.Path() + "/"));
    for (const char* name : {"index.html", "class_0.html", "func_1.html", "class_2.html"}) {
        EXPECT_EQ(ReadFile(slashed.Path() + "/" + name), ReadFile(plain.Path() + "/" + name))
            << name;
    }
}

TEST(NodePages, DirectoryThatCannotHoldFiles) {
    WorkedModel model;
    CTempDir dir;
    const std::string blocker = dir.Write("blocker", "a regular file");
    EXPECT_FALSE(model.root.ExportIndexPage(blocker + "/out"));
    EXPECT_FALSE(model.b->ExportPage(blocker));
    EXPECT_EQ(ReadFile(blocker), "a regular file");
}

TEST(NodePages, NoPageWhenTheIndexCannotBeCreated) {
    WorkedModel model;
    CTempDir dir;
    // The directory is writable, only "index.html" cannot be a file.
    std::filesystem::create_directory(dir.Path() + "/index.html");
    EXPECT_FALSE(model.root.ExportIndexPage(dir.Path()));
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListDirectory(dir.Path(), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "index.html");
}

TEST(NodePages, PageThatCannotBeCreatedIsLeftOut) {
    WorkedModel model;
    CTempDir dir;
    std::filesystem::create_directory(dir.Path() + "/class_0.html");
    EXPECT_TRUE(model.root.ExportIndexPage(dir.Path()));
    EXPECT_TRUE(FileExists(dir.Path() + "/func_1.html")) << "the subtree is still written";
    EXPECT_TRUE(FileExists(dir.Path() + "/class_2.html"));
    EXPECT_FALSE(model.a->ExportPage(dir.Path()));
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

TEST(NodePages, ExportPagesWritesOnlyTheNodesBelow) {
    WorkedModel model;
    CTempDir dir;
    EXPECT_TRUE(model.a->ExportPages(dir.Path()));
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListDirectory(dir.Path(), entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "class_2.html");
    EXPECT_EQ(entries[1].name, "func_1.html");
}

TEST(NodePages, UnknownKindWritesErrorPage) {
    CClassRoot root;
    CClassNode* a = AddNode(&root, "A", KindClass, 0);
    CClassNode* first = AddNode(a, "first", 7, 1);
    CClassNode* second = AddNode(a, "second", -2, 2);
    first->SetHeaderFile("x.h");
    second->SetHeaderFile("y.h");
    second->SetLine(3);
    CTempDir dir;
    ASSERT_TRUE(root.ExportIndexPage(dir.Path()));
    const std::string page = ReadFile(dir.Path() + "/error.html");
    EXPECT_EQ(page.substr(0, Head("").size()), Head(""));
    // The later node wins; no name label, the header line twice.
    EXPECT_NE(page.find(kDetailsStart + Value("second") + Label("Headerfile:") +
                        Value("y.h (Z: 3)") + Value("y.h (Z: 3)") + Label("Beschreibung:")),
              std::string::npos);
    const std::string aPage = ReadFile(dir.Path() + "/class_0.html");
    EXPECT_NE(aPage.find("<a href=\"error.html\">first</a><br>\r\n"
                         "<a href=\"error.html\">second</a><br>\r\n"),
              std::string::npos);
}

TEST(NodePages, RepeatedIdOpensEveryBranchHoldingIt) {
    CClassRoot root;
    CClassNode* a = AddNode(&root, "A", KindClass, 0);
    AddNode(a, "X", KindClass, 5);
    CClassNode* b = AddNode(&root, "B", KindClass, 1);
    CClassNode* y = AddNode(b, "Y", KindClass, 5);
    AddNode(y, "g", KindFunction, 6);
    CTempDir dir;
    ASSERT_TRUE(root.ExportIndexPage(dir.Path()));
    // Both have the page class_5.html; Y comes later and wins. A's branch is
    // open too, since it holds a node with Y's ID.
    const std::string page = ReadFile(dir.Path() + "/class_5.html");
    EXPECT_NE(page.find("<title>class Y</title>"), std::string::npos);
    EXPECT_NE(page.find("<p><a href=\"class_0.html\">A (1 - 0 - 0)</a></p>\r\n<p><blockquote>\r\n"
                        "<a href=\"class_5.html\">X</a><br>\r\n</blockquote>\r\n"
                        "<a href=\"class_1.html\">B (1 - 0 - 0)</a></p>\r\n<p><blockquote>\r\n" +
                        Current("Y", false) +
                        "</p>\r\n<p><blockquote>\r\n<a href=\"func_6.html\">g</a><br>\r\n"
                        "</blockquote>\r\n</blockquote>\r\n"),
              std::string::npos)
        << page;
}

TEST(NodePages, AngleBracketsEscapedEverywhereTitlesIncluded) {
    CClassRoot root;
    CClassNode* t = AddNode(&root, "X</title><script>", KindClass, 0);
    CClassNode* f = AddNode(t, "operator<", KindFunction, 1);
    f->SetTypeText("bool");
    f->SetParameters("const vector<int>&v");
    t->SetDescription("<b>fett</b>");
    CTempDir dir;
    ASSERT_TRUE(root.ExportIndexPage(dir.Path()));
    const std::string index = ReadFile(dir.Path() + "/index.html");
    EXPECT_NE(index.find(">X&lt;/title&gt;&lt;script&gt; (0 - 1 - 0)</a>"), std::string::npos);
    const std::string classPage = ReadFile(dir.Path() + "/class_0.html");
    EXPECT_NE(classPage.find("<title>class X&lt;/title&gt;&lt;script&gt;</title>"),
              std::string::npos);
    EXPECT_NE(classPage.find(Value("X&lt;/title&gt;&lt;script&gt;")), std::string::npos);
    EXPECT_NE(classPage.find(Value("&lt;b&gt;fett&lt;/b&gt;")), std::string::npos);
    const std::string funcPage = ReadFile(dir.Path() + "/func_1.html");
    EXPECT_NE(funcPage.find("<title>bool X&lt;/title&gt;&lt;script&gt;::operator&lt;("
                            "const vector&lt;int&gt;& v)</title>"),
              std::string::npos);
    EXPECT_EQ(funcPage.find("<script>"), std::string::npos);
}

TEST(NodePages, UmlautsAndCharactersBeyondLatin1) {
    CClassRoot root;
    CClassNode* z = AddNode(&root, "CZ\xC3\xA4hler", KindClass, 0);
    z->SetDescription("Z\xC3\xA4hlt Stra\xC3\x9F"
                      "en in \xE2\x82\xAC und \xE2\x80\x9E"
                      "Anf\xC3\xBChrungen\xE2\x80\x9C\n"
                      "zweite Zeile");
    CTempDir dir;
    ASSERT_TRUE(root.ExportIndexPage(dir.Path()));
    const std::string index = ReadFile(dir.Path() + "/index.html");
    EXPECT_NE(index.find(">CZ\xE4hler</a>"), std::string::npos);
    const std::string page = ReadFile(dir.Path() + "/class_0.html");
    EXPECT_NE(page.find("<title>class CZ\xE4hler</title>"), std::string::npos);
    EXPECT_NE(page.find(Value("Z\xE4hlt Stra\xDF"
                              "en in &#8364; und &#8222;Anf\xFChrungen&#8220;\r\n"
                              "zweite Zeile")),
              std::string::npos);
    EXPECT_NE(page.find("Zur\xFC"
                        "ck zum Index"),
              std::string::npos);
    EXPECT_EQ(page.find("\xC3"), std::string::npos) << "no UTF-8 left in the page";
}

} // namespace
