#include "model/TipText.h"

#include "model/ClassNode.h"

namespace {

bool HasRootParent(const CClassNode& node) {
    return node.m_pParent != nullptr && node.m_pParent->GetId() == -1;
}

std::string CountsText(const CClassNode& node) {
    return " (C: " + std::to_string(node.CountDescendants(KindClass)) +
           " - F: " + std::to_string(node.CountDescendants(KindFunction)) +
           " - V: " + std::to_string(node.CountDescendants(KindVariable)) + ")";
}

std::string TreeTip(const CClassNode& node) {
    if (node.GetKind() == KindRoot) {
        return "Anzahl Klassen: " + std::to_string(node.CountDescendants(KindClass));
    }
    if (node.GetKind() != KindClass || node.m_pParent == nullptr) {
        return {};
    }
    if (HasRootParent(node)) {
        return "void - " + node.GetName() + CountsText(node);
    }
    return node.GetAncestry() + node.GetName() + CountsText(node);
}

std::string MemberTip(const CClassNode& node) {
    switch (node.GetKind()) {
    case KindFunction:
        if (node.m_pParent != nullptr) {
            return node.GetTypeText() + " " + node.m_pParent->GetName() + "::" + node.GetName() +
                   "(" + node.GetParameters() + ");";
        }
        return node.GetTypeText() + " " + node.GetName() + "(" + node.GetParameters() + ");";
    case KindVariable:
        return node.GetTypeText() + " " + node.GetName() + ";";
    default:
        return {};
    }
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string TreeItemTipText(const CClassNode* node, std::size_t capacity) {
    return node == nullptr ? std::string() : CutToTipCapacity(TreeTip(*node), capacity);
}

std::string MemberItemTipText(const CClassNode* node, std::size_t capacity) {
    return node == nullptr ? std::string() : CutToTipCapacity(MemberTip(*node), capacity);
}

std::string CutToTipCapacity(const std::string& text, std::size_t capacity) {
    if (capacity == 0) {
        return {};
    }
    if (text.size() < capacity) {
        return text;
    }
    std::size_t length = capacity - 1;
    // A cut inside a multi-byte character would leave a broken character.
    while (length > 0 && IsContinuationByte(text[length])) {
        --length;
    }
    return text.substr(0, length);
}
