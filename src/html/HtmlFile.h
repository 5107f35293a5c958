#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Writes one HTML page, one operation per construct. Texts come in as the
// model holds them (UTF-8) and go out in ISO-8859-1, as the page head
// declares; every line feed is stored as CR LF. Output is buffered, so an
// operation costs no system call. A failing write is remembered, not thrown:
// EndPage reports it.
class CHtmlFile {
public:
    CHtmlFile();
    ~CHtmlFile();
    CHtmlFile(const CHtmlFile&) = delete;
    CHtmlFile& operator=(const CHtmlFile&) = delete;

    // Creates or truncates the file and writes the page head. False (nothing
    // written, nothing reported) when the file cannot be created.
    bool BeginPage(const std::string& fileName, const std::string& title,
                   const std::string& generator);
    // Writes the page end and closes the file. False when any write or the
    // close failed (for example a full disk).
    bool EndPage();
    bool IsOpen() const { return m_fd >= 0; }
    bool HasFailed() const { return m_failed; }

    void WriteHtmlStart();
    void WriteHtmlEnd();
    void WriteHeadStart();
    void WriteHeadEnd();
    void WriteTitle(const std::string& title);
    void WriteMeta(const std::string& name, const std::string& content);
    void WriteBodyStart();
    void WriteBodyEnd();
    // colour: red in the lowest byte, then green, then blue; the top byte is ignored.
    void BeginFont(const std::string& face, std::uint32_t colour);
    void EndFont();
    void BeginParagraph();
    void EndParagraph();
    void BeginEmphasis(bool strong, bool underline, bool emphasis);
    void EndEmphasis(bool strong, bool underline, bool emphasis);
    void BeginSmall(int count);
    void EndSmall(int count);
    void BeginBlockquote(int count);
    void EndBlockquote(int count);
    void BeginTable(int border, int cellPadding, int cellSpacing, int width, int height,
                    bool percent);
    void EndTable();
    void BeginRow();
    void EndRow();
    void BeginCell(const std::string& verticalAlign, const std::string& horizontalAlign, int width,
                   int height, bool percent);
    void EndCell();
    void WriteText(const std::string& text, bool lineBreak);
    void WriteLink(const std::string& target, const std::string& text, bool lineBreak);
    void WriteParagraph(const std::string& text, bool strong, bool underline, bool emphasis,
                        bool escapeFirst);

    // Replaces "<" by "&lt;" and ">" by "&gt;"; nothing else.
    static void EscapeHtml(std::string& text);

    // Appends a model text in page form: UTF-8 characters U+0080..U+00FF as
    // one byte, characters above as "&#N;", bytes that are not valid UTF-8
    // unchanged, line feeds as CR LF; with escape, "<" and ">" as in EscapeHtml.
    static void AppendPageText(std::string_view text, bool escape, std::string& out);
    // Bytes already in page form (from AppendPageText), written unchanged.
    void WritePageBytes(std::string_view bytes);

private:
    void Put(std::string_view text, bool escape = false);
    void Flush();
    void WriteOut(std::string_view bytes);
    void Close();

    int m_fd = -1;
    bool m_regular = false;
    bool m_failed = false;
    size_t m_written = 0;
    std::string m_buffer;
};
