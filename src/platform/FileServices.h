#pragma once

#include "platform/LineSource.h"

#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Reads a text file line by line. The whole file is read at open, so a line
// costs no system call.
class CTextFileReader {
public:
    CTextFileReader() = default;
    // The line source points into the buffer: no copies.
    CTextFileReader(const CTextFileReader&) = delete;
    CTextFileReader& operator=(const CTextFileReader&) = delete;

    // False when the file cannot be opened or read; nothing is reported.
    bool Open(const std::string& path);
    // The next line without its line end ("\n" or "\r\n"); false at the end.
    bool ReadLine(std::string& line);
    void Close();
    bool IsOpen() const { return m_open; }
    // The whole file as read, for callers that need it at once.
    const std::string& Contents() const { return m_data; }

private:
    std::string m_data;
    CLineSource m_lines{std::string_view()};
    bool m_open = false;
};

// Reads a whole file into text; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents);

struct DirEntry {
    std::string name;
    std::string path; // directory + "/" + name
    bool isDirectory = false;
};

// The entries of one directory without "." and "..", sorted by name
// case-insensitively (ties byte-wise), so every walk of a tree has the same
// order on every machine. False when the directory cannot be read.
bool ListDirectory(const std::string& directory, std::vector<DirEntry>& entries);

// Directory path with a trailing "/" (appended unless already there).
std::string WithTrailingSlash(const std::string& directory);

// Remembers the directories a walk has entered (device and inode), so that a
// link leading back into the tree is not walked again.
class CWalkGuard {
public:
    // True the first time a directory is entered; false when it was entered
    // before or cannot be identified.
    bool Enter(const std::string& directory);

private:
    std::set<std::pair<unsigned long long, unsigned long long>> m_seen;
};

// Copies a file, replacing an existing target. False on failure.
bool CopyFileReplacing(const std::string& from, const std::string& to);

bool FileExists(const std::string& path);
bool IsDirectory(const std::string& path);
