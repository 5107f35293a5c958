#include "platform/LineSource.h"

bool CLineSource::ReadLine(std::string_view& line) {
    if (m_pos >= m_text.size()) {
        return false;
    }
    size_t end = m_text.find('\n', m_pos);
    size_t next = end + 1;
    if (end == std::string_view::npos) {
        end = m_text.size();
        next = end;
    }
    size_t stop = end;
    if (stop > m_pos && m_text[stop - 1] == '\r') {
        --stop;
    }
    line = m_text.substr(m_pos, stop - m_pos);
    m_pos = next;
    return true;
}
