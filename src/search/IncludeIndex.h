#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// The include test of the function search, with what it reads kept for one
// search: each file's include list and what its text offers the test (the
// blocks it examines and the names in class heads).
//
// A file is the path it is read through (its folder resolved, its own name):
// its include names are looked for beside that path, then below the searched
// directory, then relative to the current directory.
class CIncludeIndex {
public:
    // searchDirectory with a trailing "/", or empty.
    explicit CIncludeIndex(std::string searchDirectory);
    ~CIncludeIndex();
    CIncludeIndex(const CIncludeIndex&) = delete;
    CIncludeIndex& operator=(const CIncludeIndex&) = delete;

    // True when a file that path includes mentions name in an examined block
    // or names it in a class head, or when one of that file's head names is
    // found so through the files it includes, and so on; a file already on
    // the chain of includes is not read again, so include cycles end.
    bool Refers(const std::string& path, const std::string& name);

    // Where an include name written in the file at includer is opened; empty
    // when it is found nowhere.
    std::string ResolveInclude(const std::string& includer, const std::string& name) const;

    // The file being searched and its include list, read already; the
    // caller keeps both alive while set. Null to clear.
    void SetCurrentFile(const std::string* path, const std::string* includeList);

private:
    struct FileEntry;

    int IdOf(const std::string& path);
    int ResolveToId(const std::string& includer, const std::string& name);
    const std::vector<int>& Includes(int id);
    const FileEntry& Scanned(int id);
    void Load(FileEntry& entry);
    int NameId(const std::string& name);
    bool BlocksMention(int id, int nameId, const std::string& name);
    bool Declares(int id, int nameId, const std::string& name);
    bool LeadsOn(int from, int to);
    bool HasPieces(int id);
    bool ReachesDeeper(int start);

    std::string m_searchDir;
    std::vector<std::unique_ptr<FileEntry>> m_files;
    std::unordered_map<std::string, int> m_ids;     // by resolved path
    std::unordered_map<std::string, int> m_pathIds; // by path as written
    std::unordered_map<std::string, int> m_resolved;
    std::unordered_map<std::string, int> m_nameIds;
    std::unordered_map<uint64_t, bool> m_blocksMemo;
    std::unordered_map<uint64_t, bool> m_leadsOn;
    std::string m_lastPath;
    int m_lastId = -1;
    std::unordered_map<int, bool> m_lastAnswers;
    const std::string* m_pCurrentPath = nullptr;
    const std::string* m_pCurrentIncludes = nullptr;
};
