#include "model/ClassNode.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsOneOf(char c, const char* set) {
    return c != '\0' && std::strchr(set, c) != nullptr;
}

// The spacing rules look at each position once, left to right; an inserted
// blank is the next character looked at (and never gets one itself), and the
// last character never is. So a blank goes between two neighbours of the
// original text exactly when the rule holds for them; the result is built in
// one pass, since inserting into a long text again and again costs the
// square of its length.
template <typename Rule> std::string InsertBlanks(const std::string& text, Rule needsBlank) {
    std::string result;
    result.reserve(text.size() + text.size() / 4);
    for (size_t i = 0; i < text.size(); ++i) {
        result.push_back(text[i]);
        if (i + 1 < text.size() && needsBlank(text[i], text[i + 1])) {
            result.push_back(' ');
        }
    }
    return result;
}

std::string ApplyNameRule(const std::string& text) {
    return InsertBlanks(text, [](char c, char next) {
        return IsOneOf(c, ",=&*+-") && next != ' ' && !(c == '=' && next == '=');
    });
}

std::string ApplyTypeRule(const std::string& text) {
    return InsertBlanks(text,
                        [](char c, char next) { return IsOneOf(c, ",=&*+-") && next != ' '; });
}

std::string ApplyParameterRule(const std::string& text) {
    return InsertBlanks(text, [](char c, char next) {
        return (IsOneOf(c, ",=&*") && next != ' ') || (c != ' ' && next == '=');
    });
}

} // namespace

CClassNode::~CClassNode() {
    ClearChildren();
}

void CClassNode::AddChild(CClassNode* node) {
    if (node == nullptr) {
        return;
    }
    node->m_pParent = this;
    m_children.push_back(node);
}

void CClassNode::RemoveChild(CClassNode* node, bool deleteIt) {
    const auto it = std::find(m_children.begin(), m_children.end(), node);
    if (it == m_children.end()) {
        return;
    }
    m_children.erase(it);
    if (deleteIt) {
        delete node;
    }
}

CClassNode* CClassNode::GetChild(int index) const {
    if (index < 0 || index >= GetChildCount()) {
        return nullptr;
    }
    return m_children[static_cast<size_t>(index)];
}

void CClassNode::ClearChildren() {
    if (!m_bChildrenNotOwned) {
        // Iterative, so that a long inheritance chain cannot exhaust the stack:
        // each node's list is emptied before it is deleted.
        std::vector<CClassNode*> doomed = std::move(m_children);
        while (!doomed.empty()) {
            CClassNode* node = doomed.back();
            doomed.pop_back();
            if (node == nullptr) {
                continue;
            }
            if (!node->m_bChildrenNotOwned) {
                doomed.insert(doomed.end(), node->m_children.begin(), node->m_children.end());
            }
            node->m_children.clear();
            delete node;
        }
    }
    m_children.clear();
    m_children.shrink_to_fit();
}

int CClassNode::CountChildren(int kind) const {
    int count = 0;
    for (const CClassNode* child : m_children) {
        if (child != nullptr && child->GetKind() == kind) {
            ++count;
        }
    }
    return count;
}

int CClassNode::CountDescendants(int kind) const {
    int count = CountChildren(kind);
    for (const CClassNode* child : m_children) {
        if (child != nullptr && child->GetKind() == kind) {
            count += child->CountDescendants(kind);
        }
    }
    return count;
}

int CClassNode::CountAllDescendants() const {
    int count = GetChildCount();
    for (const CClassNode* child : m_children) {
        if (child != nullptr) {
            count += child->CountAllDescendants();
        }
    }
    return count;
}

CClassNode* CClassNode::FindChildByName(const std::string& name, int kind) {
    if (m_strName == name) {
        return this;
    }
    for (CClassNode* child : m_children) {
        if (child != nullptr && child->GetKind() == kind && child->GetName() == name) {
            return child;
        }
    }
    return nullptr;
}

CClassNode* CClassNode::FindChildById(int id) {
    if (m_nId == id) {
        return this;
    }
    for (CClassNode* child : m_children) {
        if (child != nullptr && child->GetId() == id) {
            return child;
        }
    }
    return nullptr;
}

CClassNode* CClassNode::FindChildByIdAndKind(int id, int kind) {
    if (m_nId == id) {
        return this;
    }
    for (CClassNode* child : m_children) {
        if (child != nullptr && child->GetKind() == kind && child->GetId() == id) {
            return child;
        }
    }
    return nullptr;
}

CClassNode* CClassNode::FindChildByTreeItem(TreeItemHandle item) {
    if (m_hTreeItem == item) {
        return this;
    }
    for (CClassNode* child : m_children) {
        if (child != nullptr && child->GetTreeItem() == item) {
            return child;
        }
    }
    return nullptr;
}

CClassNode* CClassNode::FindByName(const std::string& name, int kind) {
    if (m_strName == name) {
        return this;
    }
    for (CClassNode* child : m_children) {
        if (child != nullptr && child->GetKind() == kind) {
            if (CClassNode* found = child->FindByName(name, kind)) {
                return found;
            }
        }
    }
    return nullptr;
}

CClassNode* CClassNode::FindById(int id) {
    if (m_nId == id) {
        return this;
    }
    for (CClassNode* child : m_children) {
        if (child != nullptr) {
            if (CClassNode* found = child->FindById(id)) {
                return found;
            }
        }
    }
    return nullptr;
}

CClassNode* CClassNode::FindByIdAndKind(int id, int kind) {
    if (m_nId == id) {
        return this;
    }
    for (CClassNode* child : m_children) {
        if (child != nullptr && child->GetKind() == kind) {
            if (CClassNode* found = child->FindByIdAndKind(id, kind)) {
                return found;
            }
        }
    }
    return nullptr;
}

CClassNode* CClassNode::FindByTreeItem(TreeItemHandle item) {
    if (m_hTreeItem == item) {
        return this;
    }
    for (CClassNode* child : m_children) {
        if (child != nullptr) {
            if (CClassNode* found = child->FindByTreeItem(item)) {
                return found;
            }
        }
    }
    return nullptr;
}

void CClassNode::FillTreeItem(ITreeControl* tree, TreeItemHandle item) {
    if (tree == nullptr) {
        return;
    }
    SetTreeItem(item);
    for (CClassNode* child : m_children) {
        if (child != nullptr && child->GetKind() == KindClass) {
            child->InsertIntoTree(tree, item);
        }
    }
    tree->SortChildren(item);
}

void CClassNode::InsertIntoTree(ITreeControl* tree, TreeItemHandle parent) {
    if (tree == nullptr) {
        return;
    }
    const TreeItemHandle item = tree->InsertItem(m_strName, parent);
    SetTreeItem(item);
    for (CClassNode* child : m_children) {
        if (child != nullptr && child->GetKind() == KindClass) {
            child->InsertIntoTree(tree, item);
        }
    }
    tree->SortChildren(item);
}

void CClassNode::InsertIntoTreeFlat(ITreeControl* tree, TreeItemHandle parent) {
    if (tree == nullptr) {
        return;
    }
    SetTreeItem(tree->InsertItem(m_strName, parent));
    for (CClassNode* child : m_children) {
        if (child != nullptr && child->GetKind() == KindClass) {
            child->InsertIntoTreeFlat(tree, parent);
        }
    }
}

void CClassNode::ExpandAll(ITreeControl* tree, int code) {
    if (tree == nullptr) {
        return;
    }
    for (CClassNode* child : m_children) {
        if (child == nullptr) {
            continue;
        }
        if (child->GetTreeItem() != 0) {
            tree->Expand(child->GetTreeItem(), code);
        }
        child->ExpandAll(tree, code);
    }
    if (m_hTreeItem != 0) {
        tree->Expand(m_hTreeItem, code);
    }
}

std::string CClassNode::GetAncestry() const {
    if (m_pParent == nullptr || m_pParent->GetId() == -1) {
        return {};
    }
    return m_pParent->GetAncestry() + m_pParent->GetName() + " - ";
}

void CClassNode::SetAll(int id, const std::string& name, const std::string& description,
                        const std::string& headerPath) {
    m_nId = id;
    m_strName = name;
    m_strDescription = description;
    m_strHeaderPath = headerPath;
}

void CClassNode::SetHeaderFile(const std::string& path) {
    m_strHeaderPath = path;
    const size_t cut = path.find_last_of("/\\:");
    m_strFileName = cut == std::string::npos ? path : path.substr(cut + 1);
}

void CClassNode::SetName(const std::string& name) {
    m_strName = ApplyNameRule(name);
}

void CClassNode::SetParameters(const std::string& parameters) {
    m_strParameters = ApplyParameterRule(parameters);
}

void CClassNode::SetTypeText(const std::string& type) {
    m_strType = ApplyTypeRule(type);
}
