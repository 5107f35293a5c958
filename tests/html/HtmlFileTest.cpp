#include "html/HtmlFile.h"

#include "TempDir.h"
#include "platform/FileServices.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const std::string kHead = "<html>\r\n\r\n<head>\r\n"
                          "<meta http-equiv=\"Content-Type\" content=\"text/html; "
                          "charset=ISO-8859-1\">\r\n"
                          "<title>T</title>\r\n"
                          "<meta name=\"GENERATOR\" content=\"G\">\r\n"
                          "</head>\r\n\r\n<body>\r\n";
const std::string kTail = "</body>\r\n\r\n</html>\r\n";

std::string ReadFile(const std::string& path) {
    std::string contents;
    EXPECT_TRUE(ReadWholeFile(path, contents)) << path;
    return contents;
}

// What the operations write between the page head and the page end.
std::string Body(const std::function<void(CHtmlFile&)>& write) {
    CTempDir dir;
    const std::string path = dir.Path() + "/page.html";
    CHtmlFile file;
    EXPECT_TRUE(file.BeginPage(path, "T", "G"));
    write(file);
    EXPECT_TRUE(file.EndPage());
    const std::string page = ReadFile(path);
    if (page.size() < kHead.size() + kTail.size() || page.compare(0, kHead.size(), kHead) != 0 ||
        page.compare(page.size() - kTail.size(), kTail.size(), kTail) != 0) {
        ADD_FAILURE() << "page frame broken: " << page;
        return page;
    }
    return page.substr(kHead.size(), page.size() - kHead.size() - kTail.size());
}

struct WriterCase {
    const char* name;
    std::function<void(CHtmlFile&)> write;
    std::string expected;
};

class WriterOperation : public testing::TestWithParam<WriterCase> {};

TEST_P(WriterOperation, WritesExactBytes) {
    EXPECT_EQ(Body(GetParam().write), GetParam().expected);
}

const WriterCase kWriterCases[] = {
    {"HtmlStart", [](CHtmlFile& f) { f.WriteHtmlStart(); }, "<html>\r\n\r\n"},
    {"HtmlEnd", [](CHtmlFile& f) { f.WriteHtmlEnd(); }, "</html>\r\n"},
    {"HeadStart", [](CHtmlFile& f) { f.WriteHeadStart(); },
     "<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
     "charset=ISO-8859-1\">\r\n"},
    {"HeadEnd", [](CHtmlFile& f) { f.WriteHeadEnd(); }, "</head>\r\n\r\n"},
    {"BodyStart", [](CHtmlFile& f) { f.WriteBodyStart(); }, "<body>\r\n"},
    {"BodyEnd", [](CHtmlFile& f) { f.WriteBodyEnd(); }, "</body>\r\n\r\n"},
    {"Title", [](CHtmlFile& f) { f.WriteTitle("class A & B"); }, "<title>class A & B</title>\r\n"},
    {"TitleCannotCloseItsElement", [](CHtmlFile& f) { f.WriteTitle("class X</title><script>"); },
     "<title>class X&lt;/title&gt;&lt;script&gt;</title>\r\n"},
    {"MetaEscapesContentOnly", [](CHtmlFile& f) { f.WriteMeta("N<", "a<b>\"c\""); },
     "<meta name=\"N<\" content=\"a&lt;b&gt;\"c\"\">\r\n"},
    {"FontBlack", [](CHtmlFile& f) { f.BeginFont("Arial", 0); },
     "<font face=\"Arial\" color=\"#000000\">\r\n"},
    {"FontRed", [](CHtmlFile& f) { f.BeginFont("Arial", 255); },
     "<font face=\"Arial\" color=\"#FF0000\">\r\n"},
    {"FontSmallComponentsGetOneZero", [](CHtmlFile& f) { f.BeginFont("Arial", 0xAB000A); },
     "<font face=\"Arial\" color=\"#0A00AB\">\r\n"},
    {"FontHighByteIgnored", [](CHtmlFile& f) { f.BeginFont("A<b", 0xFF000500); },
     "<font face=\"A<b\" color=\"#000500\">\r\n"},
    {"FontEnd", [](CHtmlFile& f) { f.EndFont(); }, "</font>\r\n"},
    {"ParagraphHasNoLineFeed", [](CHtmlFile& f) { f.BeginParagraph(); }, "<p>"},
    {"ParagraphEnd", [](CHtmlFile& f) { f.EndParagraph(); }, "</p>\r\n"},
    {"EmphasisAll", [](CHtmlFile& f) { f.BeginEmphasis(true, true, true); }, "<strong><u><em>\r\n"},
    {"EmphasisUnderlineOnly", [](CHtmlFile& f) { f.BeginEmphasis(false, true, false); }, "<u>\r\n"},
    {"EmphasisEndKeepsOpeningOrder", [](CHtmlFile& f) { f.EndEmphasis(true, true, true); },
     "</strong></u></em>\r\n"},
    {"EmphasisEndNone", [](CHtmlFile& f) { f.EndEmphasis(false, false, false); }, "\r\n"},
    {"SmallZero", [](CHtmlFile& f) { f.BeginSmall(0); }, "\r\n"},
    {"SmallTwo", [](CHtmlFile& f) { f.BeginSmall(2); }, "<small><small>\r\n"},
    {"SmallEndThree", [](CHtmlFile& f) { f.EndSmall(3); }, "</small></small></small>\r\n"},
    {"BlockquoteOne", [](CHtmlFile& f) { f.BeginBlockquote(1); }, "<blockquote>\r\n"},
    {"BlockquoteEndNegative", [](CHtmlFile& f) { f.EndBlockquote(-1); }, "\r\n"},
    {"TableNothingPositive", [](CHtmlFile& f) { f.BeginTable(0, -1, 0, 0, -5, true); },
     "<table>\r\n"},
    {"TableOfTheNodePages", [](CHtmlFile& f) { f.BeginTable(0, 0, 1, 100, -1, true); },
     "<table width=\"100%\" cellspacing=\"1\">\r\n"},
    {"TableBorderAndPixelWidth", [](CHtmlFile& f) { f.BeginTable(2, 0, 0, 300, 0, false); },
     "<table border=\"2\" width=\"300\">\r\n"},
    {"TableAttributeOrder", [](CHtmlFile& f) { f.BeginTable(1, 2, 3, 4, 5, false); },
     "<table border=\"1\" width=\"4\" height=\"5\" cellspacing=\"3\" cellpadding=\"2\">\r\n"},
    {"TablePercentHeight", [](CHtmlFile& f) { f.BeginTable(0, 0, 0, 0, 50, true); },
     "<table height=\"50%\">\r\n"},
    {"TableEnd", [](CHtmlFile& f) { f.EndTable(); }, "</table>\r\n"},
    {"Row", [](CHtmlFile& f) { f.BeginRow(); }, "<tr>\r\n"},
    {"RowEnd", [](CHtmlFile& f) { f.EndRow(); }, "</tr>\r\n"},
    {"CellEmpty", [](CHtmlFile& f) { f.BeginCell("", "", 0, 0, true); }, "<td>\r\n"},
    {"CellOfTheNodePages", [](CHtmlFile& f) { f.BeginCell("top", "left", 60, 100, true); },
     "<td valign=\"top\" align=\"left\" width=\"60%\" height=\"100%\">\r\n"},
    {"CellAlignAndPixelHeight", [](CHtmlFile& f) { f.BeginCell("", "right", -1, 20, false); },
     "<td align=\"right\" height=\"20\">\r\n"},
    {"CellEnd", [](CHtmlFile& f) { f.EndCell(); }, "</td>\r\n"},
    {"TextEscapesAngleBracketsOnly", [](CHtmlFile& f) { f.WriteText("a<b> & c", false); },
     "a&lt;b&gt; & c"},
    {"TextLineBreak", [](CHtmlFile& f) { f.WriteText("x", true); }, "x<br>\r\n"},
    {"TextLineFeedsBecomeCrLf", [](CHtmlFile& f) { f.WriteText("a\nb\n", false); }, "a\r\nb\r\n"},
    {"LinkTargetLowerCase", [](CHtmlFile& f) { f.WriteLink("Class_7.HTML", "Cx<T>", false); },
     "<a href=\"class_7.html\">Cx&lt;T&gt;</a>"},
    {"LinkLineBreak", [](CHtmlFile& f) { f.WriteLink("index.html", "I", true); },
     "<a href=\"index.html\">I</a><br>\r\n"},
    {"ParagraphLabel",
     [](CHtmlFile& f) { f.WriteParagraph("Headerfile:", true, true, false, true); },
     "<p><strong><u>\r\nHeaderfile:</strong></u></em>\r\n</p>\r\n"},
    {"ParagraphValue", [](CHtmlFile& f) { f.WriteParagraph("x", false, false, false, true); },
     "<p>\r\nx</strong></u></em>\r\n</p>\r\n"},
    {"ParagraphEscapedEitherWay",
     [](CHtmlFile& f) {
         f.WriteParagraph("a<b", false, false, true, false);
         f.WriteParagraph("a<b", false, false, false, true);
     },
     "<p><em>\r\na&lt;b</strong></u></em>\r\n</p>\r\n"
     "<p>\r\na&lt;b</strong></u></em>\r\n</p>\r\n"},
};

INSTANTIATE_TEST_SUITE_P(HtmlFile, WriterOperation, testing::ValuesIn(kWriterCases),
                         [](const auto& test) { return std::string(test.param.name); });

// Model texts are UTF-8; pages are ISO-8859-1.
struct EncodingCase {
    const char* name;
    std::string text;
    std::string expected;
};

class PageEncoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(PageEncoding, WritesLatin1WithCharacterReferences) {
    EXPECT_EQ(Body([](CHtmlFile& f) { f.WriteText(GetParam().text, false); }), GetParam().expected);
    std::string converted;
    CHtmlFile::AppendPageText(GetParam().text, true, converted);
    EXPECT_EQ(converted, GetParam().expected);
}

const EncodingCase kEncodingCases[] = {
    {"Ascii", "plain 0-9", "plain 0-9"},
    {"Umlauts",
     "Zur\xC3\xBC"
     "ck \xC3\x84\xC3\x96\xC3\x9C\xC3\x9F",
     "Zur\xFC"
     "ck \xC4\xD6\xDC\xDF"},
    {"FirstAboveAscii", "\xC2\x80", "\x80"},
    {"LastOfLatin1", "\xC3\xBF", "\xFF"},
    {"FirstBeyondLatin1", "\xC4\x80", "&#256;"},
    {"Euro", "5 \xE2\x82\xAC", "5 &#8364;"},
    {"FourBytes", "\xF0\x9F\x98\x80!", "&#128512;!"},
    {"LastCodePoint", "\xF4\x8F\xBF\xBF", "&#1114111;"},
    {"Latin1ByteStaysAsItIs",
     "Zur\xFC"
     "ck",
     "Zur\xFC"
     "ck"},
    {"TruncatedSequence", "a\xE2\x82", "a\xE2\x82"},
    {"LoneContinuationBytes", "\x80\xBF", "\x80\xBF"},
    {"OverlongForm", "\xC0\xAF\xE0\x80\xAF", "\xC0\xAF\xE0\x80\xAF"},
    {"Surrogate", "\xED\xA0\x80", "\xED\xA0\x80"},
    {"BeyondLastCodePoint", "\xF4\x90\x80\x80", "\xF4\x90\x80\x80"},
    {"InvalidThenValid", "\xE2\xC3\xA4<", "\xE2\xE4&lt;"},
};

INSTANTIATE_TEST_SUITE_P(HtmlFile, PageEncoding, testing::ValuesIn(kEncodingCases),
                         [](const auto& test) { return std::string(test.param.name); });

struct EscapeCase {
    const char* name;
    const char* text;
    const char* expected;
};

class EscapeHtml : public testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeHtml, ReplacesAngleBracketsInPlace) {
    std::string text = GetParam().text;
    CHtmlFile::EscapeHtml(text);
    EXPECT_EQ(text, GetParam().expected);
}

const EscapeCase kEscapeCases[] = {
    {"Empty", "", ""},
    {"Nothing", "a & \"b\" 'c'", "a & \"b\" 'c'"},
    {"Both", "<>", "&lt;&gt;"},
    {"Template", "map<int, vector<T>>", "map&lt;int, vector&lt;T&gt;&gt;"},
    {"AlreadyEscapedIsEscapedAgain", "&lt;", "&lt;"},
};

INSTANTIATE_TEST_SUITE_P(HtmlFile, EscapeHtml, testing::ValuesIn(kEscapeCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(HtmlFile, PageFrameAroundNothing) {
    CTempDir dir;
    const std::string path = dir.Path() + "/p.html";
    CHtmlFile file;
    ASSERT_TRUE(file.BeginPage(path,
                               "class Gr\xC3\xB6\xC3\x9F"
                               "e<T>",
                               "Vorlix"));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_TRUE(file.EndPage());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadFile(path), "<html>\r\n\r\n<head>\r\n"
                              "<meta http-equiv=\"Content-Type\" content=\"text/html; "
                              "charset=ISO-8859-1\">\r\n"
                              "<title>class Gr\xF6\xDF"
                              "e&lt;T&gt;</title>\r\n"
                              "<meta name=\"GENERATOR\" content=\"Vorlix\">\r\n"
                              "</head>\r\n\r\n<body>\r\n"
                              "</body>\r\n\r\n</html>\r\n");
}

TEST(HtmlFile, MissingDirectoryCreatesNothing) {
    CTempDir dir;
    const std::string path = dir.Path() + "/missing/p.html";
    CHtmlFile file;
    EXPECT_FALSE(file.BeginPage(path, "T", "G"));
    EXPECT_FALSE(file.IsOpen());
    file.WriteText("ignored", true); // writing without a file does nothing
    EXPECT_FALSE(file.EndPage());
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(IsDirectory(dir.Path() + "/missing"));
}

TEST(HtmlFile, ParentIsARegularFile) {
    CTempDir dir;
    const std::string blocker = dir.Write("blocker", "x");
    CHtmlFile file;
    EXPECT_FALSE(file.BeginPage(blocker + "/p.html", "T", "G"));
}

TEST(HtmlFile, PipeUnderThePageNameIsRefusedWithoutWaiting) {
    CTempDir dir;
    const std::string path = dir.Path() + "/p.html";
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
    CHtmlFile file;
    EXPECT_FALSE(file.BeginPage(path, "T", "G"));
    EXPECT_FALSE(file.IsOpen());
}

TEST(HtmlFile, ExistingFileOverwrittenFromTheStart) {
    CTempDir dir;
    const std::string path = dir.Write("p.html", std::string(5000, 'x'));
    CHtmlFile file;
    ASSERT_TRUE(file.BeginPage(path, "T", "G"));
    ASSERT_TRUE(file.EndPage());
    EXPECT_EQ(ReadFile(path), kHead + kTail);
}

TEST(HtmlFile, PagesLargerThanTheBufferArriveWhole) {
    std::string text;
    std::string expected;
    for (int i = 0; i < 40000; ++i) {
        text += "line <" + std::to_string(i) + "> \xC3\xA4\n";
        expected += "line &lt;" + std::to_string(i) + "&gt; \xE4\r\n";
    }
    std::string block(300000, 'b');
    EXPECT_EQ(Body([&](CHtmlFile& f) {
                  f.WriteText(text, false);
                  f.WritePageBytes("[");
                  f.WritePageBytes(block);
                  f.WritePageBytes("]");
              }),
              expected + "[" + block + "]");
}

TEST(HtmlFile, DestructorClosesAnOpenPage) {
    CTempDir dir;
    const std::string path = dir.Path() + "/p.html";
    {
        CHtmlFile file;
        ASSERT_TRUE(file.BeginPage(path, "T", "G"));
        file.WriteText("x", false);
    }
    EXPECT_EQ(ReadFile(path), kHead + "x");
}

TEST(HtmlFile, FailingWriteIsReportedByEndPage) {
    if (!FileExists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    CHtmlFile file;
    ASSERT_TRUE(file.BeginPage("/dev/full", "T", "G"));
    file.WriteText(std::string(200000, 'x'), true);
    EXPECT_TRUE(file.HasFailed());
    EXPECT_FALSE(file.EndPage());
}

TEST(HtmlFile, FailureOfASmallPageShowsAtTheEnd) {
    if (!FileExists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    CHtmlFile file;
    ASSERT_TRUE(file.BeginPage("/dev/full", "T", "G"));
    EXPECT_FALSE(file.EndPage());
    // The next page starts clean.
    CTempDir dir;
    ASSERT_TRUE(file.BeginPage(dir.Path() + "/p.html", "T", "G"));
    EXPECT_FALSE(file.HasFailed());
    EXPECT_TRUE(file.EndPage());
}

} // namespace
