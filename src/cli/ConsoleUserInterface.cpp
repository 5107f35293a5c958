#include "cli/ConsoleUserInterface.h"

#include <algorithm>
#include <ostream>
#include <unistd.h>

CConsoleUserInterface::CConsoleUserInterface(std::ostream& err, bool showProgress)
    : m_err(err), m_showProgress(showProgress) {}

void CConsoleUserInterface::ShowMessage(const std::string& text) {
    HideProgress();
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
    // One line, rewritten in place.
    std::string shown = text.substr(0, 150);
    const size_t width = shown.size();
    if (width < m_lastWidth) {
        shown.append(m_lastWidth - width, ' ');
    }
    m_lastWidth = width;
    m_err << '\r' << shown << std::flush;
}

void CConsoleUserInterface::HideProgress() {
    if (m_progressVisible && m_lastWidth > 0) {
        m_err << '\r' << std::string(m_lastWidth, ' ') << '\r' << std::flush;
    }
    m_lastWidth = 0;
    m_progressVisible = false;
}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}
