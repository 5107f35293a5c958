#pragma once

#include <cstddef>
#include <string_view>

// The lines of a text held in memory, handed out as views without copying.
// A line end is "\n" or "\r\n"; a last line without one is still a line.
class CLineSource {
public:
    explicit CLineSource(std::string_view text) : m_text(text) {}

    // The next line without its line end; false at the end of the text.
    bool ReadLine(std::string_view& line);

private:
    std::string_view m_text;
    size_t m_pos = 0;
};
