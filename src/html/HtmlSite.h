#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CClassNode;
class CHtmlFile;

// The export's view of one whole structure, gathered once: every node's
// counts and link line in page form, and which nodes share an ID. Every page
// shows the links of the whole top level, so the counts and link texts must
// not be worked out again per page: with them a page costs time in
// proportion to its bytes.
//
// Entries are numbered breadth first from the top node (0), so the children
// of a node are consecutive entries and their link lines lie back to back.
class CHtmlSite {
public:
    // Takes in the structure that holds node, from its top node down.
    explicit CHtmlSite(const CClassNode& node);

    enum class PageResult { Written, NotCreated, WriteFailed };

    // Entry of a node of the structure; -1 when it is not part of it.
    int Find(const CClassNode* node) const;
    int Size() const { return static_cast<int>(m_entries.size()); }
    const CClassNode& Node(int entry) const { return *m_entries[Index(entry)].node; }

    // "index.html": links to the children of the entry. directory ends in "/".
    PageResult WriteIndexPage(int entry, const std::string& directory);
    // The page of one node.
    PageResult WritePage(int entry, const std::string& directory);
    // The pages of every node below entry, each before its children; a page
    // that cannot be created is left out. False when a write failed, which
    // ends the work at once.
    bool WritePagesBelow(int entry, const std::string& directory);
    // Where WritePagesBelow lists the pages it left out; none by default.
    void CollectNotCreated(std::vector<std::string>* pages) { m_notCreated = pages; }
    // The navigation tree below entry on the page of current.
    void WriteTree(CHtmlFile& writer, int entry, const CClassNode& current, bool indent);

    // "name (derived - functions - variables)" for a node with children, else the name.
    std::string Label(int entry) const;

private:
    struct Entry {
        const CClassNode* node = nullptr;
        int parent = -1;
        int firstChild = 0;
        int childCount = 0; // children present in the list (missing ones are skipped)
        int derived = 0;    // classes below, through class levels only
        int functions = 0;
        int variables = 0;
        int nextSameId = -1;
        std::uint32_t mark = 0;
        size_t linkOffset = 0; // "<a href=...>label</a><br>" CR LF in m_links
    };

    static size_t Index(int entry) { return static_cast<size_t>(entry); }
    std::string_view LinkLine(int entry) const;
    std::string_view LinkRun(int first, int end) const;
    void MarkPathsTo(const CClassNode& current);
    void WriteLevel(CHtmlFile& writer, int entry, const CClassNode& current, bool indent);
    void WriteDetails(CHtmlFile& writer, int entry);

    std::vector<Entry> m_entries;
    std::string m_links;
    std::unordered_map<int, int> m_firstWithId;
    std::uint32_t m_epoch = 0;
    std::vector<std::string>* m_notCreated = nullptr;
};

// Page title of a node: "class NAME", "TYPE CLASS::NAME(PARAMETERS)",
// "TYPE NAME" by kind; empty for an unknown kind.
std::string HtmlPageTitle(const CClassNode& node);
