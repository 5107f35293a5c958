#pragma once

#include <cstddef>
#include <exception>
#include <string>

// The one error of the database layer. It carries the engine's text (or the
// layer's own) and leaves the core's operations where no caller handles it.
class CDaoException : public std::exception {
public:
    // engineCode: the engine's error code, 0 for the layer's own errors.
    // fatal: the open transaction cannot go on (disk full, I/O error, file
    // not writable, transaction rolled back by the engine).
    explicit CDaoException(std::string message, int engineCode = 0, bool fatal = false);

    // The message as shown to the user: at most 1023 bytes, never cut inside
    // a UTF-8 character.
    std::string GetErrorMessage() const;
    // The same into a caller's buffer of size bytes (terminated); false when
    // the buffer is too small to hold anything.
    bool GetErrorMessage(char* buffer, std::size_t size) const;

    const char* what() const noexcept override { return m_strMessage.c_str(); }
    int GetEngineCode() const { return m_nEngineCode; }
    bool IsFatal() const { return m_bFatal; }

    static constexpr std::size_t kMaxMessageLength = 1023;

private:
    std::string m_strMessage;
    int m_nEngineCode;
    bool m_bFatal;
};
