#include "TableRoundTrip.h"

#include "FuzzSupport.h"
#include "model/ClassRoot.h"
#include "persistence/DaoException.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// What a row stores of a node. The header path is not stored, only its file name.
using RowImage =
    std::tuple<int, int, int, std::string, std::string, std::string, std::string, std::string>;

RowImage ImageOf(const CClassNode& node) {
    return {node.GetId(),       node.GetKind(),           node.GetLine(),
            node.GetName(),     node.GetHeaderFileName(), node.GetDescription(),
            node.GetTypeText(), node.GetParameters()};
}

std::vector<const CClassNode*> ChildrenById(const CClassNode& node) {
    std::vector<const CClassNode*> children;
    for (int i = 0; i < node.GetChildCount(); ++i) {
        children.push_back(node.GetChild(i));
    }
    std::sort(children.begin(), children.end(),
              [](const CClassNode* x, const CClassNode* y) { return x->GetId() < y->GetId(); });
    return children;
}

// Loading attaches parked rows after the others, so the order of siblings
// may change on the way; the comparison sorts them (IDs are unique here).
// Iterative: inheritance chains can be deep.
bool SameTree(const CClassNode& a, const CClassNode& b) {
    std::vector<std::pair<const CClassNode*, const CClassNode*>> stack{{&a, &b}};
    while (!stack.empty()) {
        const auto [left, right] = stack.back();
        stack.pop_back();
        if (left != &a && ImageOf(*left) != ImageOf(*right)) {
            return false;
        }
        const auto leftChildren = ChildrenById(*left);
        const auto rightChildren = ChildrenById(*right);
        if (leftChildren.size() != rightChildren.size()) {
            return false;
        }
        for (size_t i = 0; i < leftChildren.size(); ++i) {
            if (leftChildren[i]->m_pParent != left || rightChildren[i]->m_pParent != right) {
                return false;
            }
            stack.emplace_back(leftChildren[i], rightChildren[i]);
        }
    }
    return true;
}

bool IdsUnique(const CClassNode& top) {
    std::set<int> seen;
    std::vector<const CClassNode*> stack{&top};
    while (!stack.empty()) {
        const CClassNode* node = stack.back();
        stack.pop_back();
        if (!seen.insert(node->GetId()).second) {
            return false;
        }
        for (int i = 0; i < node->GetChildCount(); ++i) {
            stack.push_back(node->GetChild(i));
        }
    }
    return true;
}

bool LoadQuietly(CClassRoot& root, const std::string& path, CSilentUserInterface& ui) {
    try {
        return root.Load(path, ui);
    } catch (const CDaoException&) {
        return false;
    }
}

} // namespace

void LoadAndRoundTrip(const std::string& path) {
    CSilentUserInterface ui;
    CClassRoot loaded;
    if (!LoadQuietly(loaded, path, ui)) {
        return;
    }
    if (!loaded.m_bNeedsLocation) {
        // A file the program saves into (not an Access file): Save writes
        // into the crafted file itself, as the user's next Save would.
        try {
            loaded.Save(false, ui);
        } catch (const CDaoException&) {
        }
        CClassRoot again;
        LoadQuietly(again, path, ui);
    }
    if (!IdsUnique(loaded)) {
        // Rows sharing an ID may be linked to another parent after a save:
        // the table cannot tell them apart.
        return;
    }
    const std::string copy = (ScratchDir() / "copy.db").string();
    std::filesystem::remove(copy);
    ui.m_file = copy;
    loaded.m_bNeedsLocation = true;
    bool saved = false;
    try {
        saved = loaded.Save(false, ui);
    } catch (const CDaoException&) {
        saved = false;
    }
    FUZZ_CHECK(saved);
    CClassRoot reloaded;
    FUZZ_CHECK(LoadQuietly(reloaded, copy, ui));
    FUZZ_CHECK(SameTree(loaded, reloaded));
}
