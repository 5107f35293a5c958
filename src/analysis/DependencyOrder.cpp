#include "analysis/HeaderParser.h"
#include "model/ClassRoot.h"
#include "platform/UserInterface.h"

#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// The top-level entry that a slot hangs below, through the links made so far
// (union-find with path halving).
int TopLevelSlot(std::vector<int>& above, int slot) {
    while (above[static_cast<size_t>(slot)] != slot) {
        int& up = above[static_cast<size_t>(slot)];
        up = above[static_cast<size_t>(up)];
        slot = up;
    }
    return slot;
}

} // namespace

void CHeaderParser::OrderAndNumber() {
    const bool openedHere = !m_progressOpen;
    if (openedHere) {
        m_ui.ShowProgress();
        m_progressOpen = true;
    }
    m_ui.SetProgressText("Verteile Klassen-ID's ...");
    const int nextId = NumberEntries();
    m_ui.SetProgressText("Sortiere Einträge nach Abhängigkeiten ...");
    LinkToBases(nextId);
    if (openedHere) {
        m_ui.HideProgress();
        m_progressOpen = false;
    }
}

int CHeaderParser::NumberEntries() {
    if (m_pRoot == nullptr) {
        return 0;
    }
    const int count = m_pRoot->GetChildCount();
    for (int i = 0; i < count; ++i) {
        if (CClassNode* entry = m_pRoot->GetChild(i)) {
            entry->SetId(i);
            entry->SetDescription("");
        }
    }
    return count;
}

// Walks the top-level entries once, in their order, and hangs each under the
// class its base name names. The class is looked up in a name index that is
// built once: since class names are unique after a scan, it finds what a
// search of the whole tree would find, wherever that class hangs by then.
// The new top level (entries that stay, then the placeholders in the order
// they were made) is built at the end instead of removing entries one by one.
void CHeaderParser::LinkToBases(int nextId) {
    if (m_pRoot == nullptr) {
        return;
    }
    CClassRoot& root = *m_pRoot;
    const int count = root.GetChildCount();

    // Slots: the top-level entries, then classes nested below them (a tree
    // that was linked before), then placeholders. above[] leads from a slot
    // to the slot it hangs below, ending at a top-level entry.
    std::vector<CClassNode*> nodes;
    std::vector<int> above;
    nodes.reserve(static_cast<size_t>(count));
    above.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        nodes.push_back(root.GetChild(i));
        above.push_back(i);
    }

    // Class names in the order of a depth-first search through classes; the
    // root itself is never taken for a class.
    std::unordered_map<std::string_view, int> classes;
    classes.reserve(static_cast<size_t>(count));
    std::vector<std::pair<CClassNode*, int>> stack;
    for (int i = 0; i < count; ++i) {
        CClassNode* entry = nodes[static_cast<size_t>(i)];
        if (entry == nullptr || entry->GetKind() != KindClass) {
            continue;
        }
        stack.assign(1, {entry, i});
        while (!stack.empty()) {
            const auto [node, slot] = stack.back();
            stack.pop_back();
            classes.emplace(node->GetName(), slot);
            // Pushed in reverse, so that the first child comes out first.
            for (int c = node->GetChildCount() - 1; c >= 0; --c) {
                CClassNode* child = node->GetChild(c);
                if (child == nullptr || child->GetKind() != KindClass) {
                    continue;
                }
                stack.push_back({child, static_cast<int>(nodes.size())});
                nodes.push_back(child);
                above.push_back(i);
            }
        }
    }

    std::vector<CClassNode*> topLevel;
    std::vector<CClassNode*> placeholders;
    topLevel.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        CClassNode* entry = nodes[static_cast<size_t>(i)];
        if (entry == nullptr) {
            continue;
        }
        if (entry->m_strBaseName.empty()) {
            topLevel.push_back(entry);
            continue;
        }
        int target = 0;
        if (const auto found = classes.find(entry->m_strBaseName); found != classes.end()) {
            target = found->second;
        } else {
            auto* placeholder = new CClassNode;
            placeholder->SetId(nextId++);
            placeholder->SetName(entry->m_strBaseName);
            placeholder->SetDescription("");
            placeholder->SetHeaderFile("Unbekannt");
            placeholder->SetLine(-1);
            target = static_cast<int>(nodes.size());
            nodes.push_back(placeholder);
            above.push_back(target);
            placeholders.push_back(placeholder);
            classes.emplace(placeholder->GetName(), target);
            ++m_placeholders;
        }
        // Under itself or under its own descendant it would leave the tree.
        if (TopLevelSlot(above, target) == i) {
            topLevel.push_back(entry);
            continue;
        }
        nodes[static_cast<size_t>(target)]->AddChild(entry);
        above[static_cast<size_t>(i)] = target;
    }

    // Rebuild the top level without deleting anyone.
    const bool notOwned = root.GetChildrenNotOwned();
    root.SetChildrenNotOwned(true);
    root.ClearChildren();
    root.SetChildrenNotOwned(notOwned);
    for (CClassNode* entry : topLevel) {
        root.AddChild(entry);
    }
    for (CClassNode* placeholder : placeholders) {
        root.AddChild(placeholder);
    }
}
