#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class CClassNode;

// Hangs the nodes read from a class table into a tree: a node whose parent is
// already in the tree goes there at once, the others are parked. The parked
// nodes are then attached in table order as soon as a class with their parent
// ID is in the tree, so the order of the rows does not matter; a parent's
// later children follow its first ones in table order. What is still parked
// then has a parent in no row at all.
//
// Every lookup gives the node that root->FindByIdAndKind(id, kind) would
// give, without searching the tree: the tree only grows by appending leaves,
// so for each (kind, id) the first node in pre-order among those the search
// can reach (a chain of nodes of that kind below the root) is kept up to date
// as nodes are attached.
class CRowLinker {
public:
    explicit CRowLinker(CClassNode& root) : m_root(root) {}
    CRowLinker(const CRowLinker&) = delete;
    CRowLinker& operator=(const CRowLinker&) = delete;

    // First pass: the parent by node->m_nParentId and the node's own kind.
    void Add(std::unique_ptr<CClassNode> node);
    // Attaches every parked node whose parent can be found among the classes.
    void AttachParked();
    // Deletes the nodes still parked.
    void DropParked() { m_parked.clear(); }
    const std::vector<std::unique_ptr<CClassNode>>& Parked() const { return m_parked; }

    // What root->FindByIdAndKind(id, kind) gives for the tree built so far.
    CClassNode* Find(int id, int kind) const;

private:
    struct Place {
        const CClassNode* parent = nullptr;
        int index = 0; // position in the parent's child list
        int depth = 0;
        bool reachable = false; // every node from the root down has its kind
    };

    void Attach(CClassNode* node, CClassNode* parent);
    bool ComesFirst(const CClassNode* a, const CClassNode* b) const;
    static std::uint64_t Key(int kind, int id) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(kind)) << 32) |
               static_cast<std::uint32_t>(id);
    }

    CClassNode& m_root;
    std::unordered_map<std::uint64_t, CClassNode*> m_first;
    // Only for nodes the search can reach: parents and their ancestors.
    std::unordered_map<const CClassNode*, Place> m_places;
    std::vector<std::unique_ptr<CClassNode>> m_parked;
};
