#pragma once

#include "platform/UserInterface.h"

#include <cstddef>
#include <iosfwd>
#include <string>

// The user interface of the command-line tool: messages go to the error
// stream, progress only when that stream is a terminal, questions are
// answered with the values set up front (no prompt ever blocks a script).
class CConsoleUserInterface : public IUserInterface {
public:
    // showProgress asks for the progress line; it is drawn only when err is
    // the process's standard error and progress is allowed (no --quiet).
    explicit CConsoleUserInterface(std::ostream& err, bool showProgress = false);
    ~CConsoleUserInterface() override;

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<std::string> ChooseFolder(const std::string& title) override;
    std::optional<std::string> ChooseFile(const FileDialog& dialog) override;
    std::optional<int> ChooseTable(const std::vector<std::string>& tables) override;
    void ShowProgress() override;
    void SetProgressText(const std::string& text) override;
    void HideProgress() override;

    // Answers given in advance by the command's arguments.
    std::optional<std::string> m_folder;
    std::optional<std::string> m_file;
    std::optional<std::string> m_table;
    bool m_yes = true;
    // Messages shown, for the command's exit status.
    int m_messageCount = 0;

private:
    void ClearLine();

    std::ostream& m_err;
    bool m_showProgress;
    bool m_progressVisible = false;
    // Columns the progress line takes on screen now.
    size_t m_lineColumns = 0;
};

// True when standard error is a terminal.
bool StandardErrorIsTerminal();

// --quiet: no progress line for the rest of the run.
void SetProgressAllowed(bool allowed);

// The progress text as one terminal line of at most maxColumns characters:
// cut on a UTF-8 character boundary, control characters shown as '?'.
// columns receives the characters kept.
std::string FitToColumns(const std::string& text, size_t maxColumns, size_t& columns);
