#include "html/HtmlFile.h"

#include "HtmlTestSupport.h"

#include <functional>
#include <sys/stat.h>

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
        {"Zur\303\274ck \xC3\x84\xC3\x96\xC3\x9C\xC3\x9F \xC2\x80\xC3\xBF",
         "Zur\374ck \xC4\xD6\xDC\xDF \x80\xFF"},
        {"\xC4\x80 5 \xE2\x82\xAC \xF0\x9F\x98\x80!\xF4\x8F\xBF\xBF",
         "&#256; 5 &#8364; &#128512;!&#1114111;"},
        {"Zur\374ck", "Zur\374ck"},                       // a Latin-1 byte stays as it is
        {"a\xE2\x82", "a\xE2\x82"},                       // truncated at the end
        {"\x80\xBF", "\x80\xBF"},                         // lone continuation bytes
        {"\xC0\xAF\xE0\x80\xAF", "\xC0\xAF\xE0\x80\xAF"}, // overlong
        {"\xED\xA0\x80", "\xED\xA0\x80"},                 // surrogate
        {"\xF4\x90\x80\x80", "\xF4\x90\x80\x80"},         // beyond the last code point
        {"\xE2\xC3\xA4<", "\xE2\xE4&lt;"},                // invalid, then valid again
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

} // namespace
