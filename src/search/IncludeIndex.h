#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// The include test of the function search, with what it reads kept for one
// search: each file's include list and what its text offers the test (the
// blocks it examines and the names in class heads). Answers are remembered
// too, keyed so that the guard against include cycles gives the same answer.
//
// A file is one file of the file system (device and inode), whatever path
// led to it; its include names are opened relative to the directory of the
// path that first led to it, then relative to the searched directory.
class CIncludeIndex {
public:
    // searchDirectory with a trailing "/", or empty.
    explicit CIncludeIndex(std::string searchDirectory);
    ~CIncludeIndex();
    CIncludeIndex(const CIncludeIndex&) = delete;
    CIncludeIndex& operator=(const CIncludeIndex&) = delete;

    // True when a file that path includes mentions name in an examined block
    // or names it in a class head, directly or through the files those
    // include. A file already on the current chain of includes is not read
    // again, so include cycles end.
    bool Refers(const std::string& path, const std::string& name);

    // Where an include name written in the file at includer is opened; empty
    // when it is found nowhere.
    std::string ResolveInclude(const std::string& includer, const std::string& name) const;

    // The file being searched and its include list, read already; the
    // caller keeps both alive while set. Null to clear.
    void SetCurrentFile(const std::string* path, const std::string* includeList);

private:
    struct FileEntry;
    struct MemoKey {
        int file;
        int chain; // 0 outside include cycles
        int name;
        bool operator==(const MemoKey& other) const = default;
    };
    struct MemoKeyHash {
        size_t operator()(const MemoKey& key) const;
    };

    int IdOf(const std::string& path);
    int ResolveToId(const std::string& includer, const std::string& name);
    const std::vector<int>& Includes(int id);
    const FileEntry& Scanned(int id);
    void Load(FileEntry& entry);
    bool RefersFrom(int id, int nameId, const std::string& name);
    bool ComputeRefers(int id, int nameId, const std::string& name);
    bool NamesFoundBelow(int id);
    bool BlocksMention(int id, int nameId, const std::string& name);
    int NameId(const std::string& name);
    int ChainId(int id);
    void AssignComponents(int root);

    std::string m_searchDir;
    std::vector<std::unique_ptr<FileEntry>> m_files;
    std::map<std::pair<unsigned long long, unsigned long long>, int> m_ids;
    std::unordered_map<std::string, int> m_resolved;
    std::unordered_map<std::string, int> m_nameIds;
    std::unordered_map<std::string, int> m_chainIds;
    std::vector<int> m_chain;
    std::vector<char> m_onChain;
    std::unordered_map<MemoKey, bool, MemoKeyHash> m_refersMemo;
    std::unordered_map<MemoKey, bool, MemoKeyHash> m_belowMemo;
    std::unordered_map<MemoKey, bool, MemoKeyHash> m_blocksMemo;
    std::string m_lastPath;
    int m_lastId = -1;
    std::unordered_map<int, bool> m_lastAnswers;
    const std::string* m_pCurrentPath = nullptr;
    const std::string* m_pCurrentIncludes = nullptr;
    int m_nextIndex = 0;
    int m_nextComponent = 0;
};
