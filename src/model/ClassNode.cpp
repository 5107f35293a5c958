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

// The walks below use explicit stacks: a crafted table can describe an
// inheritance chain far deeper than the call stack allows.

int CClassNode::CountDescendants(int kind) const {
    int count = 0;
    std::vector<const CClassNode*> stack{this};
    while (!stack.empty()) {
        const CClassNode* node = stack.back();
        stack.pop_back();
        for (const CClassNode* child : node->m_children) {
            if (child != nullptr && child->GetKind() == kind) {
                ++count;
                stack.push_back(child);
            }
        }
    }
    return count;
}

int CClassNode::CountAllDescendants() const {
    int count = 0;
    std::vector<const CClassNode*> stack{this};
    while (!stack.empty()) {
        const CClassNode* node = stack.back();
        stack.pop_back();
        count += node->GetChildCount();
        for (const CClassNode* child : node->m_children) {
            if (child != nullptr) {
                stack.push_back(child);
            }
        }
    }
    return count;
}

// Depth first, pre-order, from start: the first node that matches; the walk
// descends only into children that pass (the start is always tested).
template <typename Match, typename Descend>
CClassNode* CClassNode::FindInSubtree(CClassNode* start, Match matches, Descend descends) {
    std::vector<CClassNode*> stack{start};
    while (!stack.empty()) {
        CClassNode* node = stack.back();
        stack.pop_back();
        if (matches(*node)) {
            return node;
        }
        for (auto it = node->m_children.rbegin(); it != node->m_children.rend(); ++it) {
            if (*it != nullptr && descends(**it)) {
                stack.push_back(*it);
            }
        }
    }
    return nullptr;
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
    return FindInSubtree(
        this, [&name](const CClassNode& node) { return node.m_strName == name; },
        [kind](const CClassNode& node) { return node.GetKind() == kind; });
}

CClassNode* CClassNode::FindById(int id) {
    return FindInSubtree(
        this, [id](const CClassNode& node) { return node.m_nId == id; },
        [](const CClassNode&) { return true; });
}

CClassNode* CClassNode::FindByIdAndKind(int id, int kind) {
    return FindInSubtree(
        this, [id](const CClassNode& node) { return node.m_nId == id; },
        [kind](const CClassNode& node) { return node.GetKind() == kind; });
}

CClassNode* CClassNode::FindByTreeItem(TreeItemHandle item) {
    return FindInSubtree(
        this, [item](const CClassNode& node) { return node.m_hTreeItem == item; },
        [](const CClassNode&) { return true; });
}

// Inserts the classes below top under item, each level sorted after its
// classes are in: what InsertIntoTree does for every class child.
void CClassNode::InsertClassesBelow(ITreeControl* tree, CClassNode* top, TreeItemHandle item) {
    struct Frame {
        CClassNode* node;
        TreeItemHandle item;
        size_t next;
    };
    std::vector<Frame> stack{{top, item, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next < frame.node->m_children.size()) {
            CClassNode* child = frame.node->m_children[frame.next++];
            if (child != nullptr && child->GetKind() == KindClass) {
                const TreeItemHandle childItem = tree->InsertItem(child->m_strName, frame.item);
                child->SetTreeItem(childItem);
                stack.push_back({child, childItem, 0});
            }
            continue;
        }
        tree->SortChildren(frame.item);
        stack.pop_back();
    }
}

void CClassNode::FillTreeItem(ITreeControl* tree, TreeItemHandle item) {
    if (tree == nullptr) {
        return;
    }
    SetTreeItem(item);
    InsertClassesBelow(tree, this, item);
}

void CClassNode::InsertIntoTree(ITreeControl* tree, TreeItemHandle parent) {
    if (tree == nullptr) {
        return;
    }
    const TreeItemHandle item = tree->InsertItem(m_strName, parent);
    SetTreeItem(item);
    InsertClassesBelow(tree, this, item);
}

void CClassNode::InsertIntoTreeFlat(ITreeControl* tree, TreeItemHandle parent) {
    if (tree == nullptr) {
        return;
    }
    std::vector<CClassNode*> stack{this};
    while (!stack.empty()) {
        CClassNode* node = stack.back();
        stack.pop_back();
        node->SetTreeItem(tree->InsertItem(node->m_strName, parent));
        for (auto it = node->m_children.rbegin(); it != node->m_children.rend(); ++it) {
            if (*it != nullptr && (*it)->GetKind() == KindClass) {
                stack.push_back(*it);
            }
        }
    }
}

// Each child's item is expanded before its subtree and again after it, as
// the node's own item is at the end.
void CClassNode::ExpandAll(ITreeControl* tree, int code) {
    if (tree == nullptr) {
        return;
    }
    std::vector<std::pair<CClassNode*, size_t>> stack{{this, 0}};
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        if (next < node->m_children.size()) {
            CClassNode* child = node->m_children[next++];
            if (child != nullptr) {
                if (child->GetTreeItem() != 0) {
                    tree->Expand(child->GetTreeItem(), code);
                }
                stack.emplace_back(child, 0);
            }
            continue;
        }
        if (node->m_hTreeItem != 0) {
            tree->Expand(node->m_hTreeItem, code);
        }
        stack.pop_back();
    }
}

std::string CClassNode::GetAncestry() const {
    std::vector<const CClassNode*> chain;
    for (const CClassNode* parent = m_pParent; parent != nullptr && parent->GetId() != -1;
         parent = parent->m_pParent) {
        chain.push_back(parent);
    }
    std::string text;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        text += (*it)->GetName() + " - ";
    }
    return text;
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
