#pragma once

#include "platform/UserInterface.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// Shared pieces of the fuzz targets: a user interface that never shows
// anything, a scratch folder per process, and the check that turns a broken
// property into a crash libFuzzer records.

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Answers every question at once: files and folders with the paths set
// here, the table named preferredTable when it is offered, else the first.
class CSilentUserInterface : public IUserInterface {
public:
    void ShowMessage(const std::string& text) override { m_lastMessage = text; }
    bool AskYesNo(const std::string&) override { return true; }
    std::optional<std::string> ChooseFolder(const std::string&) override { return m_folder; }
    std::optional<std::string> ChooseFile(const FileDialog&) override { return m_file; }
    std::optional<int> ChooseTable(const std::vector<std::string>& tables) override {
        for (size_t i = 0; i < tables.size(); ++i) {
            if (tables[i] == m_preferredTable) {
                return static_cast<int>(i);
            }
        }
        return tables.empty() ? -1 : 0;
    }
    void ShowProgress() override {}
    void SetProgressText(const std::string&) override {}
    void HideProgress() override {}

    std::string m_folder;
    std::string m_file;
    std::string m_preferredTable = "Klassen";
    std::string m_lastMessage;
};

// One folder per fuzzing process (jobs run side by side), emptied on exit.
inline const std::filesystem::path& ScratchDir() {
    static const std::filesystem::path dir = [] {
        const char* shm = "/dev/shm";
        std::string pattern =
            (std::filesystem::is_directory(shm) ? std::filesystem::path(shm)
                                                : std::filesystem::temp_directory_path()) /
            "vorlix-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchDir(), ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return dir;
}

inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The input cut at every separator into at most maxPieces pieces; the last
// piece keeps the rest.
inline std::vector<std::string_view> SplitPieces(std::string_view data, char separator,
                                                 size_t maxPieces) {
    std::vector<std::string_view> pieces;
    while (pieces.size() + 1 < maxPieces) {
        const size_t cut = data.find(separator);
        if (cut == std::string_view::npos) {
            break;
        }
        pieces.push_back(data.substr(0, cut));
        data.remove_prefix(cut + 1);
    }
    pieces.push_back(data);
    return pieces;
}

// Every line feed is preceded by a carriage return.
inline bool AllLineFeedsCrLf(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            return false;
        }
    }
    return true;
}

inline std::string_view AsView(const uint8_t* data, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}
