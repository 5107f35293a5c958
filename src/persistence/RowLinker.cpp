#include "persistence/RowLinker.h"

#include "model/ClassNode.h"

#include <functional>
#include <queue>

void CRowLinker::Add(std::unique_ptr<CClassNode> node) {
    if (CClassNode* parent = Find(node->m_nParentId, node->GetKind())) {
        Attach(node.release(), parent);
    } else {
        m_parked.push_back(std::move(node));
    }
}

// The smallest parked position whose parent is in the tree goes next: a node
// waits only for its parent, and nodes written after their parents (as Save
// writes them) go in one sweep. Positions wait by parent ID until a class with
// that ID is attached; the tree only grows, so a ready node stays ready.
void CRowLinker::AttachParked() {
    std::priority_queue<size_t, std::vector<size_t>, std::greater<>> ready;
    std::unordered_map<int, std::vector<size_t>> waiting;
    for (size_t i = 0; i < m_parked.size(); ++i) {
        if (Find(m_parked[i]->m_nParentId, KindClass) != nullptr) {
            ready.push(i);
        } else {
            waiting[m_parked[i]->m_nParentId].push_back(i);
        }
    }
    while (!ready.empty()) {
        const size_t next = ready.top();
        ready.pop();
        CClassNode* node = m_parked[next].release();
        Attach(node, Find(node->m_nParentId, KindClass));
        if (node->GetKind() != KindClass) {
            continue;
        }
        const auto woken = waiting.find(node->GetId());
        if (woken != waiting.end()) {
            for (const size_t i : woken->second) {
                ready.push(i);
            }
            waiting.erase(woken);
        }
    }
    std::erase_if(m_parked, [](const std::unique_ptr<CClassNode>& node) { return !node; });
}

CClassNode* CRowLinker::Find(int id, int kind) const {
    // The search tests the root itself first, whatever the kind.
    if (m_root.GetId() == id) {
        return &m_root;
    }
    const auto it = m_first.find(Key(kind, id));
    return it == m_first.end() ? nullptr : it->second;
}

void CRowLinker::Attach(CClassNode* node, CClassNode* parent) {
    parent->AddChild(node);
    Place place;
    place.parent = parent;
    place.index = parent->GetChildCount() - 1;
    if (parent == &m_root) {
        place.reachable = true;
    } else {
        const Place& parentPlace = m_places.at(parent);
        place.depth = parentPlace.depth + 1;
        place.reachable = parentPlace.reachable && parent->GetKind() == node->GetKind();
    }
    // A node the search cannot reach is never found, so never a parent.
    if (!place.reachable) {
        return;
    }
    m_places.emplace(node, place);
    const auto [it, inserted] = m_first.try_emplace(Key(node->GetKind(), node->GetId()), node);
    if (!inserted && ComesFirst(node, it->second)) {
        it->second = node;
    }
}

// Pre-order of two nodes in the tree: compare the child positions on their
// paths from the root at the first place where the paths part.
bool CRowLinker::ComesFirst(const CClassNode* a, const CClassNode* b) const {
    const Place* placeA = &m_places.at(a);
    const Place* placeB = &m_places.at(b);
    // Bring both to the same depth; an ancestor comes before its descendants.
    while (placeA->depth > placeB->depth) {
        if (placeA->parent == b) {
            return false;
        }
        a = placeA->parent;
        placeA = &m_places.at(a);
    }
    while (placeB->depth > placeA->depth) {
        if (placeB->parent == a) {
            return true;
        }
        b = placeB->parent;
        placeB = &m_places.at(b);
    }
    while (placeA->parent != placeB->parent) {
        a = placeA->parent;
        b = placeB->parent;
        placeA = &m_places.at(a);
        placeB = &m_places.at(b);
    }
    return placeA->index < placeB->index;
}
