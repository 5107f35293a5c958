#pragma once

#include <optional>
#include <string>
#include <vector>

// Questions that only the desktop program asks, beyond the core's user
// interface: the folder where the next folder browser starts, and the table
// dialog that can also name a new table. The Qt user interface offers them;
// a user interface without them leaves the core's dialogs as they are.
class IDesktopQuestions {
public:
    virtual ~IDesktopQuestions() = default;

    virtual void SetFolderStart(const std::string& path) = 0;
    // The chosen table or a new name typed by the user; nullopt for cancel.
    virtual std::optional<std::string>
    ChooseOrNameTable(const std::vector<std::string>& tables) = 0;
};
