#include "persistence/DaoException.h"

#include <algorithm>
#include <cstring>

namespace {

// Length of the longest prefix of at most max bytes that ends on a character
// boundary: continuation bytes (10xxxxxx) never start the cut-off part.
std::size_t Utf8Prefix(const std::string& text, std::size_t max) {
    if (text.size() <= max) {
        return text.size();
    }
    std::size_t length = max;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    return length;
}

} // namespace

CDaoException::CDaoException(std::string message, int engineCode, bool fatal)
    : m_strMessage(std::move(message)), m_nEngineCode(engineCode), m_bFatal(fatal) {}

std::string CDaoException::GetErrorMessage() const {
    return m_strMessage.substr(0, Utf8Prefix(m_strMessage, kMaxMessageLength));
}

bool CDaoException::GetErrorMessage(char* buffer, std::size_t size) const {
    if (buffer == nullptr || size == 0) {
        return false;
    }
    const std::size_t length = Utf8Prefix(m_strMessage, std::min(size - 1, kMaxMessageLength));
    std::memcpy(buffer, m_strMessage.data(), length);
    buffer[length] = '\0';
    return true;
}
