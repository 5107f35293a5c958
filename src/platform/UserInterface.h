#pragma once

#include <optional>
#include <string>
#include <vector>

// Everything the core asks of the user or shows to the user goes through one
// object of this interface, handed in by the caller. The desktop program
// answers with real dialogs, tests with scripted answers, the command-line
// tool without any window.
class IUserInterface {
public:
    virtual ~IUserInterface() = default;

    // A message box with only an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A message box with Yes and No and a question icon; true only for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // The folder browser with this title; nullopt when cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& title) = 0;

    struct FileDialog {
        bool save = false; // save-style dialog, else open-style
        std::string defaultExtension;
        std::string filter; // "Text (*.x)|*.x||" as the dialogs list it
        bool fileMustExist = false;
    };
    // A file dialog; nullopt when cancelled.
    virtual std::optional<std::string> ChooseFile(const FileDialog& dialog) = 0;

    // The table dialog. tables is the list as offered (already filtered and
    // sorted). Returns the chosen position in that list, -1 for OK on an
    // empty list, nullopt for cancel.
    virtual std::optional<int> ChooseTable(const std::vector<std::string>& tables) = 0;

    // The progress popup: one line of text, shown at once after each change.
    virtual void ShowProgress() = 0;
    virtual void SetProgressText(const std::string& text) = 0;
    virtual void HideProgress() = 0;
};
