#include "html/HtmlFile.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kBufferSize = 1 << 16;

// Length of the valid UTF-8 sequence at text[i] (2 to 4) with its code
// point, or 0 when the bytes there are no valid sequence (overlong forms,
// surrogates and code points above U+10FFFF included).
size_t DecodeUtf8(std::string_view text, size_t i, std::uint32_t& codePoint) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if (next < low || next > high) {
            return 0;
        }
        low = 0x80;
        high = 0xBF;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    return length;
}

bool NeedsWork(char c, bool escape) {
    return static_cast<unsigned char>(c) >= 0x80 || c == '\n' || (escape && (c == '<' || c == '>'));
}

void AppendInt(std::string& out, long long value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

// " name=\"N\"" or " name=\"N%\"", only for a value greater than zero.
void AppendSize(std::string& out, const char* name, int value, bool percent) {
    if (value <= 0) {
        return;
    }
    out += ' ';
    out += name;
    out += "=\"";
    AppendInt(out, value);
    if (percent) {
        out += '%';
    }
    out += '"';
}

} // namespace

CHtmlFile::CHtmlFile() = default;

CHtmlFile::~CHtmlFile() {
    Close();
}

void CHtmlFile::AppendPageText(std::string_view text, bool escape, std::string& out) {
    size_t i = 0;
    while (i < text.size()) {
        size_t run = i;
        while (run < text.size() && !NeedsWork(text[run], escape)) {
            ++run;
        }
        out.append(text.data() + i, run - i);
        i = run;
        if (i >= text.size()) {
            break;
        }
        const char c = text[i];
        if (c == '\n') {
            out += "\r\n";
            ++i;
        } else if (c == '<') {
            out += "&lt;";
            ++i;
        } else if (c == '>') {
            out += "&gt;";
            ++i;
        } else {
            std::uint32_t codePoint = 0;
            const size_t length = DecodeUtf8(text, i, codePoint);
            if (length == 0) {
                out += c; // not UTF-8: most likely already ISO-8859-1
                ++i;
            } else if (codePoint <= 0xFF) {
                out += static_cast<char>(codePoint);
                i += length;
            } else {
                out += "&#";
                AppendInt(out, codePoint);
                out += ';';
                i += length;
            }
        }
    }
}

void CHtmlFile::EscapeHtml(std::string& text) {
    if (text.find_first_of("<>") == std::string::npos) {
        return;
    }
    std::string escaped;
    escaped.reserve(text.size() + 16);
    for (const char c : text) {
        if (c == '<') {
            escaped += "&lt;";
        } else if (c == '>') {
            escaped += "&gt;";
        } else {
            escaped += c;
        }
    }
    text.swap(escaped);
}

bool CHtmlFile::BeginPage(const std::string& fileName, const std::string& title,
                          const std::string& generator) {
    Close();
    m_failed = false;
    m_written = 0;
    // An existing page is written over in place and cut to its new length at
    // the end: the same bytes as truncating first, but freeing and
    // reallocating its blocks costs the file system far more.
    // Without blocking: a pipe under a page's name would otherwise stop the
    // export until something reads it. Pages go to files and devices only.
    m_fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (m_fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISCHR(st.st_mode))) {
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    m_regular = S_ISREG(st.st_mode); // a device has nothing to cut
    m_buffer.reserve(kBufferSize);
    WriteHtmlStart();
    WriteHeadStart();
    WriteTitle(title);
    WriteMeta("GENERATOR", generator);
    WriteHeadEnd();
    WriteBodyStart();
    return true;
}

bool CHtmlFile::EndPage() {
    if (!IsOpen()) {
        return false;
    }
    WriteBodyEnd();
    WriteHtmlEnd();
    Close();
    return !m_failed;
}

void CHtmlFile::Close() {
    if (!IsOpen()) {
        return;
    }
    Flush();
    if (m_regular && ::ftruncate(m_fd, static_cast<off_t>(m_written)) != 0) {
        m_failed = true;
    }
    if (::close(m_fd) != 0) {
        m_failed = true;
    }
    m_fd = -1;
    m_buffer.clear();
}

void CHtmlFile::WriteOut(std::string_view bytes) {
    while (!bytes.empty() && !m_failed) {
        const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            m_failed = true; // the rest of the page is dropped; EndPage says so
            return;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
        m_written += static_cast<size_t>(written);
    }
}

void CHtmlFile::Flush() {
    if (!m_buffer.empty()) {
        WriteOut(m_buffer);
        m_buffer.clear();
    }
}

void CHtmlFile::Put(std::string_view text, bool escape) {
    if (!IsOpen()) {
        return;
    }
    AppendPageText(text, escape, m_buffer);
    if (m_buffer.size() >= kBufferSize) {
        Flush();
    }
}

void CHtmlFile::WritePageBytes(std::string_view bytes) {
    if (!IsOpen()) {
        return;
    }
    if (m_buffer.size() + bytes.size() < kBufferSize) {
        m_buffer.append(bytes);
        return;
    }
    // Large blocks go straight to the file instead of through the buffer.
    Flush();
    WriteOut(bytes);
}

void CHtmlFile::WriteHtmlStart() {
    Put("<html>\n\n");
}

void CHtmlFile::WriteHtmlEnd() {
    Put("</html>\n");
}

void CHtmlFile::WriteHeadStart() {
    Put("<head>\n");
    Put("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">\n");
}

void CHtmlFile::WriteHeadEnd() {
    Put("</head>\n\n");
}

// Titles are escaped like link texts, so that a name cannot end the title
// element early and put markup into the page.
void CHtmlFile::WriteTitle(const std::string& title) {
    Put("<title>");
    Put(title, true);
    Put("</title>\n");
}

void CHtmlFile::WriteMeta(const std::string& name, const std::string& content) {
    Put("<meta name=\"");
    Put(name);
    Put("\" content=\"");
    Put(content, true);
    Put("\">\n");
}

void CHtmlFile::WriteBodyStart() {
    Put("<body>\n");
}

void CHtmlFile::WriteBodyEnd() {
    Put("</body>\n\n");
}

void CHtmlFile::BeginFont(const std::string& face, std::uint32_t colour) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text = "<font face=\"";
    text += face;
    text += "\" color=\"#";
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned component = (colour >> shift) & 0xFFu;
        // Hexadecimal without leading zeros, then one "0" in front if that is not two digits.
        if (component >= 0x10) {
            text += kHex[component >> 4];
        } else {
            text += '0';
        }
        text += kHex[component & 0xFu];
    }
    text += "\">\n";
    Put(text);
}

void CHtmlFile::EndFont() {
    Put("</font>\n");
}

void CHtmlFile::BeginParagraph() {
    Put("<p>");
}

void CHtmlFile::EndParagraph() {
    Put("</p>\n");
}

void CHtmlFile::BeginEmphasis(bool strong, bool underline, bool emphasis) {
    if (strong) {
        Put("<strong>");
    }
    if (underline) {
        Put("<u>");
    }
    if (emphasis) {
        Put("<em>");
    }
    Put("\n");
}

// The closing tags come in the order of the opening ones, as the pages
// have always had them.
void CHtmlFile::EndEmphasis(bool strong, bool underline, bool emphasis) {
    if (strong) {
        Put("</strong>");
    }
    if (underline) {
        Put("</u>");
    }
    if (emphasis) {
        Put("</em>");
    }
    Put("\n");
}

namespace {

std::string Repeated(std::string_view tag, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += tag;
    }
    text += '\n';
    return text;
}

} // namespace

void CHtmlFile::BeginSmall(int count) {
    Put(Repeated("<small>", count));
}

void CHtmlFile::EndSmall(int count) {
    Put(Repeated("</small>", count));
}

void CHtmlFile::BeginBlockquote(int count) {
    Put(Repeated("<blockquote>", count));
}

void CHtmlFile::EndBlockquote(int count) {
    Put(Repeated("</blockquote>", count));
}

void CHtmlFile::BeginTable(int border, int cellPadding, int cellSpacing, int width, int height,
                           bool percent) {
    std::string text = "<table";
    AppendSize(text, "border", border, false);
    AppendSize(text, "width", width, percent);
    AppendSize(text, "height", height, percent);
    AppendSize(text, "cellspacing", cellSpacing, false);
    AppendSize(text, "cellpadding", cellPadding, false);
    text += ">\n";
    Put(text);
}

void CHtmlFile::EndTable() {
    Put("</table>\n");
}

void CHtmlFile::BeginRow() {
    Put("<tr>\n");
}

void CHtmlFile::EndRow() {
    Put("</tr>\n");
}

void CHtmlFile::BeginCell(const std::string& verticalAlign, const std::string& horizontalAlign,
                          int width, int height, bool percent) {
    std::string text = "<td";
    if (!verticalAlign.empty()) {
        text += " valign=\"" + verticalAlign + "\"";
    }
    if (!horizontalAlign.empty()) {
        text += " align=\"" + horizontalAlign + "\"";
    }
    AppendSize(text, "width", width, percent);
    AppendSize(text, "height", height, percent);
    text += ">\n";
    Put(text);
}

void CHtmlFile::EndCell() {
    Put("</td>\n");
}

void CHtmlFile::WriteText(const std::string& text, bool lineBreak) {
    Put(text, true);
    if (lineBreak) {
        Put("<br>\n");
    }
}

void CHtmlFile::WriteLink(const std::string& target, const std::string& text, bool lineBreak) {
    std::string lower = target;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    Put("<a href=\"");
    Put(lower);
    Put("\">");
    Put(text, true);
    Put("</a>");
    if (lineBreak) {
        Put("<br>\n");
    }
}

void CHtmlFile::WriteParagraph(const std::string& text, bool strong, bool underline, bool emphasis,
                               bool escapeFirst) {
    // Escaping first changes nothing visible: WriteText escapes again, and an
    // escaped text holds no angle brackets.
    std::string shown = text;
    if (escapeFirst) {
        EscapeHtml(shown);
    }
    BeginParagraph();
    BeginEmphasis(strong, underline, emphasis);
    WriteText(shown, false);
    EndEmphasis(true, true, true);
    EndParagraph();
}
