#pragma once

#include "platform/UserInterface.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// Answers every question from queues set up by the test and records what was
// asked and shown. An empty queue answers "cancel" (or No).
class CScriptedUserInterface : public IUserInterface {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return Pop(yesNoAnswers).value_or(false);
    }

    std::optional<std::string> ChooseFolder(const std::string& title) override {
        folderTitles.push_back(title);
        return Pop(folderAnswers).value_or(std::nullopt);
    }

    std::optional<std::string> ChooseFile(const FileDialog& dialog) override {
        fileDialogs.push_back(dialog);
        return Pop(fileAnswers).value_or(std::nullopt);
    }

    std::optional<int> ChooseTable(const std::vector<std::string>& tables) override {
        offeredTables.push_back(tables);
        const std::optional<std::string> answer = Pop(tableAnswers).value_or(std::nullopt);
        if (!answer) {
            return std::nullopt;
        }
        const auto found = std::find(tables.begin(), tables.end(), *answer);
        return found == tables.end() ? -1 : static_cast<int>(found - tables.begin());
    }

    void ShowProgress() override {
        ++progressShown;
        progressVisible = true;
    }
    void SetProgressText(const std::string& text) override { progressTexts.push_back(text); }
    void HideProgress() override { progressVisible = false; }

    // Answers
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    // A table name to choose (an unknown name or "" answers OK with nothing
    // chosen), or nullopt to cancel.
    std::deque<std::optional<std::string>> tableAnswers;

    // Records
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> folderTitles;
    std::vector<FileDialog> fileDialogs;
    std::vector<std::vector<std::string>> offeredTables;
    std::vector<std::string> progressTexts;
    int progressShown = 0;
    bool progressVisible = false;

protected:
    template <typename T> static std::optional<T> Pop(std::deque<T>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};
