#include "cli/ConsoleUserInterface.h"

#include <algorithm>
#include <iostream>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

bool g_progressAllowed = true;

// The last column stays free: writing into it makes some terminals wrap.
size_t ProgressColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1) {
        return size.ws_col - 1;
    }
    return 79;
}

bool IsContinuationByte(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

CConsoleUserInterface::CConsoleUserInterface(std::ostream& err, bool showProgress)
    : m_err(err), m_showProgress(showProgress && g_progressAllowed && &err == &std::cerr) {}

CConsoleUserInterface::~CConsoleUserInterface() {
    ClearLine();
}

void CConsoleUserInterface::ShowMessage(const std::string& text) {
    // The message takes the progress line's place; the next text redraws it.
    ClearLine();
    m_err << text << '\n';
    ++m_messageCount;
}

bool CConsoleUserInterface::AskYesNo(const std::string&) {
    return m_yes;
}

std::optional<std::string> CConsoleUserInterface::ChooseFolder(const std::string&) {
    return m_folder;
}

std::optional<std::string> CConsoleUserInterface::ChooseFile(const FileDialog&) {
    return m_file;
}

std::optional<int> CConsoleUserInterface::ChooseTable(const std::vector<std::string>& tables) {
    if (!m_table) {
        return std::nullopt;
    }
    const auto it = std::find(tables.begin(), tables.end(), *m_table);
    if (it == tables.end()) {
        return std::nullopt;
    }
    return static_cast<int>(it - tables.begin());
}

void CConsoleUserInterface::ShowProgress() {
    m_progressVisible = m_showProgress;
}

void CConsoleUserInterface::SetProgressText(const std::string& text) {
    if (!m_progressVisible) {
        return;
    }
    size_t columns = 0;
    std::string line = "\r" + FitToColumns(text, ProgressColumns(), columns);
    // A shorter text blanks what is left of the longer one before it.
    if (columns < m_lineColumns) {
        line.append(m_lineColumns - columns, ' ');
    }
    m_lineColumns = columns;
    // One write per update: standard error is unbuffered.
    m_err.write(line.data(), static_cast<std::streamsize>(line.size()));
    m_err.flush();
}

void CConsoleUserInterface::HideProgress() {
    ClearLine();
    m_progressVisible = false;
}

void CConsoleUserInterface::ClearLine() {
    if (m_lineColumns == 0) {
        return;
    }
    const std::string blank = "\r" + std::string(m_lineColumns, ' ') + "\r";
    m_err.write(blank.data(), static_cast<std::streamsize>(blank.size()));
    m_err.flush();
    m_lineColumns = 0;
}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void SetProgressAllowed(bool allowed) {
    g_progressAllowed = allowed;
}

std::string FitToColumns(const std::string& text, size_t maxColumns, size_t& columns) {
    std::string fitted;
    columns = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (IsContinuationByte(byte)) {
            // Belongs to the character before; a stray one is dropped.
            if (!fitted.empty() && (static_cast<unsigned char>(fitted.back()) >= 0x80)) {
                fitted += text[i];
            }
            continue;
        }
        if (columns == maxColumns) {
            break;
        }
        ++columns;
        fitted += (byte < 0x20 || byte == 0x7F) ? '?' : text[i];
    }
    return fitted;
}
