#include "html/HtmlFile.h"

#include "HtmlTestSupport.h"

#include <functional>
#include <sys/stat.h>

namespace {

// What the operations write between the page head and the page end.
std::string Body(const std::function<void(CHtmlFile&)>& write) {
    CTempDir dir;
    const std::string path = dir.Path() + "/page.html";
    CHtmlFile file;
    EXPECT_TRUE(file.BeginPage(path, "T", "Vorlix"));
    write(file);
    EXPECT_TRUE(file.EndPage());
    const std::string page = ReadFile(path);
    const std::string head = Head("T");
    if (page.size() < head.size() + kTail.size() || page.compare(0, head.size(), head) != 0 ||
        page.compare(page.size() - kTail.size(), kTail.size(), kTail) != 0) {
        ADD_FAILURE() << "page frame broken: " << page;
        return page;
    }
    return page.substr(head.size(), page.size() - head.size() - kTail.size());
}

struct WriterCase {
    std::function<void(CHtmlFile&)> write;
    std::string expected;
    const char* call;
};

// One operation per row; the call's text names the row. Body() checks the
// page frame and the worked pages pin the plain calls; rows hold the edges.
#define ROW(call, expected)                                                                        \
    {                                                                                              \
        [](CHtmlFile& f) { f.call; }, expected, #call                                              \
    }

const WriterCase kWriterCases[] = {
    ROW(WriteHeadStart(), "<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
                          "charset=ISO-8859-1\">\r\n"),
    ROW(WriteTitle("class A & X</title><script>"),
        "<title>class A & X&lt;/title&gt;&lt;script&gt;</title>\r\n"),
    ROW(WriteMeta("N<", "a<b>\"c\""), "<meta name=\"N<\" content=\"a&lt;b&gt;\"c\"\">\r\n"),
    ROW(BeginFont("Arial", 255), "<font face=\"Arial\" color=\"#FF0000\">\r\n"),
    ROW(BeginFont("Arial", 0xAB000A), "<font face=\"Arial\" color=\"#0A00AB\">\r\n"),
    ROW(BeginFont("A<b", 0xFF000500), "<font face=\"A<b\" color=\"#000500\">\r\n"),
    ROW(BeginEmphasis(true, true, true), "<strong><u><em>\r\n"),
    ROW(BeginEmphasis(false, true, false), "<u>\r\n"),
    ROW(EndEmphasis(true, true, true), "</strong></u></em>\r\n"),
    ROW(EndEmphasis(false, false, false), "\r\n"),
    ROW(BeginSmall(0), "\r\n"),
    ROW(BeginSmall(2), "<small><small>\r\n"),
    ROW(EndSmall(3), "</small></small></small>\r\n"),
    ROW(EndBlockquote(-1), "\r\n"),
    ROW(BeginTable(0, -1, 0, 0, -5, true), "<table>\r\n"),
    ROW(BeginTable(2, 0, 0, 300, 0, false), "<table border=\"2\" width=\"300\">\r\n"),
    ROW(BeginTable(1, 2, 3, 4, 5, false),
        "<table border=\"1\" width=\"4\" height=\"5\" cellspacing=\"3\" cellpadding=\"2\">\r\n"),
    ROW(BeginTable(0, 0, 0, 0, 50, true), "<table height=\"50%\">\r\n"),
    ROW(BeginCell("", "", 0, 0, true), "<td>\r\n"),
    ROW(BeginCell("", "right", -1, 20, false), "<td align=\"right\" height=\"20\">\r\n"),
    ROW(WriteText("map<int, T<U>> & \"b\" &lt;", false), "map&lt;int, T&lt;U&gt;&gt; & \"b\" &lt;"),
    ROW(WriteText("x", true), "x<br>\r\n"),
    ROW(WriteText("a\nb\n", false), "a\r\nb\r\n"),
    ROW(WriteLink("Class_7.HTML", "Cx<T>", false), "<a href=\"class_7.html\">Cx&lt;T&gt;</a>"),
    ROW(WriteParagraph("a<b", false, false, true, false),
        "<p><em>\r\na&lt;b</strong></u></em>\r\n</p>\r\n"),
    ROW(WriteParagraph("a<b", false, false, false, true),
        "<p>\r\na&lt;b</strong></u></em>\r\n</p>\r\n"),
};

#undef ROW

TEST(HtmlFile, WriterOperationsWriteExactBytes) {
    for (const WriterCase& test : kWriterCases) {
        EXPECT_EQ(Body(test.write), test.expected) << test.call;
    }
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
        EXPECT_EQ(Body([&](CHtmlFile& f) { f.WriteText(text, false); }), expected);
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

TEST(HtmlFile, OverwritesFromTheStartAndClosesOnDestruction) {
    CTempDir dir;
    const std::string path = dir.Write("p.html", std::string(5000, 'x'));
    {
        CHtmlFile file;
        ASSERT_TRUE(file.BeginPage(path, "T", "Vorlix"));
        file.WriteText("x", false);
    }
    EXPECT_EQ(ReadFile(path), Head("T") + "x");
}

TEST(HtmlFile, PagesLargerThanTheBufferArriveWhole) {
    std::string text;
    std::string expected;
    for (int i = 0; i < 40000; ++i) {
        text += "line <" + std::to_string(i) + "> \xC3\xA4\n";
        expected += "line &lt;" + std::to_string(i) + "&gt; \xE4\r\n";
    }
    const std::string block(300000, 'b');
    EXPECT_EQ(Body([&](CHtmlFile& f) {
                  f.WriteText(text, false);
                  f.WritePageBytes("[");
                  f.WritePageBytes(block);
                  f.WritePageBytes("]");
              }),
              expected + "[" + block + "]");
}

TEST(HtmlFile, FailingWriteIsReported) {
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
    CTempDir dir;
    ASSERT_TRUE(file.BeginPage(dir.Path() + "/p.html", "T", "G"));
    EXPECT_FALSE(file.HasFailed());
    EXPECT_TRUE(file.EndPage());
}

} // namespace
