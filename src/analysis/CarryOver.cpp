#include "analysis/HeaderParser.h"
#include "model/ClassRoot.h"

#include <map>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

using NameIndex = std::unordered_map<std::string_view, CClassNode*>;

// What a search of the old tree by name and kind finds: the first node in a
// depth-first walk through nodes of that kind. The old root itself is left
// out: it is no class, and a class that happens to bear its name must not
// take the root's description.
NameIndex IndexByName(CClassNode& oldRoot, int kind) {
    NameIndex index;
    std::vector<CClassNode*> stack;
    for (int i = oldRoot.GetChildCount() - 1; i >= 0; --i) {
        CClassNode* child = oldRoot.GetChild(i);
        if (child != nullptr && child->GetKind() == kind) {
            stack.push_back(child);
        }
    }
    while (!stack.empty()) {
        CClassNode* node = stack.back();
        stack.pop_back();
        index.emplace(node->GetName(), node);
        for (int i = node->GetChildCount() - 1; i >= 0; --i) {
            CClassNode* child = node->GetChild(i);
            if (child != nullptr && child->GetKind() == kind) {
                stack.push_back(child);
            }
        }
    }
    return index;
}

CClassNode* Lookup(const NameIndex& index, const std::string& name) {
    const auto found = index.find(name);
    return found == index.end() ? nullptr : found->second;
}

// The members of one old class by kind and name, first of each kind and name.
// The class itself is not among them, so that a constructor, which bears the
// class's name, finds the old constructor and not the class.
class CMemberIndex {
public:
    CClassNode* Find(CClassNode& oldClass, int kind, const std::string& name) {
        auto [entry, added] = m_byClass.try_emplace(&oldClass);
        if (added) {
            for (int i = 0; i < oldClass.GetChildCount(); ++i) {
                CClassNode* child = oldClass.GetChild(i);
                if (child != nullptr) {
                    const std::string_view childName = child->GetName();
                    entry->second.emplace(std::make_pair(child->GetKind(), childName), child);
                }
            }
        }
        const auto found = entry->second.find(std::make_pair(kind, std::string_view(name)));
        return found == entry->second.end() ? nullptr : found->second;
    }

private:
    std::unordered_map<const CClassNode*, std::map<std::pair<int, std::string_view>, CClassNode*>>
        m_byClass;
};

} // namespace

void CHeaderParser::CarryOver(CClassRoot* old) {
    if (old == nullptr || m_pRoot == nullptr || old == m_pRoot) {
        return;
    }
    CClassRoot& root = *m_pRoot;
    root.m_strDatabase = old->m_strDatabase;
    root.m_strTable = old->m_strTable;
    root.SetDescription(old->GetDescription());
    root.SetName(old->GetName());
    root.m_bNeedsLocation = old->m_bNeedsLocation;
    root.SetChildrenNotOwned(old->GetChildrenNotOwned());

    std::unordered_map<int, NameIndex> byKind;
    auto classIndex = [&](int kind) -> const NameIndex& {
        auto found = byKind.find(kind);
        if (found == byKind.end()) {
            found = byKind.emplace(kind, IndexByName(*old, kind)).first;
        }
        return found->second;
    };
    CMemberIndex members;

    std::vector<CClassNode*> stack;
    for (int i = root.GetChildCount() - 1; i >= 0; --i) {
        if (CClassNode* child = root.GetChild(i)) {
            stack.push_back(child);
        }
    }
    while (!stack.empty()) {
        CClassNode* node = stack.back();
        stack.pop_back();
        const int kind = node->GetKind();
        CClassNode* match = nullptr;
        if (kind == KindRoot || kind == KindClass) {
            match = Lookup(classIndex(kind), node->GetName());
        } else if ((kind == KindFunction || kind == KindVariable) && node->m_pParent != nullptr) {
            if (CClassNode* oldClass = Lookup(classIndex(KindClass), node->m_pParent->GetName())) {
                match = members.Find(*oldClass, kind, node->GetName());
            }
        }
        if (match != nullptr) {
            node->SetDescription(match->GetDescription());
            node->SetChildrenNotOwned(match->GetChildrenNotOwned());
        }
        for (int i = node->GetChildCount() - 1; i >= 0; --i) {
            if (CClassNode* child = node->GetChild(i)) {
                stack.push_back(child);
            }
        }
    }
}
