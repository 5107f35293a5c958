#pragma once

#include <span>
#include <string_view>

// The string table of the shell's commands: for each command ID the prompt
// shown in the status bar while its menu item is highlighted, and the tool
// tip of its tool-bar button (empty when it has none).
struct SCommandText {
    int id;
    std::string_view prompt;
    std::string_view tip;
};

// The message pane's text while nothing is highlighted.
inline constexpr std::string_view kIdlePrompt = "Bereit";
// Indicator panes: caps lock, num lock, scroll lock.
inline constexpr std::string_view kCapsLockIndicator = "UF";
inline constexpr std::string_view kNumLockIndicator = "NUM";
inline constexpr std::string_view kScrollLockIndicator = "RF";

// Every command with a text, in the order of the string table.
std::span<const SCommandText> CommandTexts();

// The texts of one command, or null when it has none. The entries of the
// recent-file list (57616 to 57631) share one text.
const SCommandText* FindCommandText(int id);
