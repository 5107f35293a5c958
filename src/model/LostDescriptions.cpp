#include "model/LostDescriptions.h"

#include "model/ClassNode.h"

#include <set>
#include <tuple>

namespace {

using Key = std::tuple<int, std::string, std::string, std::string>;

Key KeyOf(const CClassNode& node) {
    const bool member = node.GetKind() == KindFunction || node.GetKind() == KindVariable;
    const std::string owner = member && node.m_pParent != nullptr ? node.m_pParent->GetName() : "";
    return {node.GetKind(), owner, node.GetName(), node.GetDescription()};
}

// Every node below root, pre-order, without recursion.
template <typename Visit> void ForEachBelow(const CClassNode& root, Visit visit) {
    std::vector<const CClassNode*> stack;
    const auto pushChildren = [&stack](const CClassNode& node) {
        for (int i = node.GetChildCount() - 1; i >= 0; --i) {
            if (const CClassNode* child = node.GetChild(i)) {
                stack.push_back(child);
            }
        }
    };
    pushChildren(root);
    while (!stack.empty()) {
        const CClassNode* node = stack.back();
        stack.pop_back();
        visit(*node);
        pushChildren(*node);
    }
}

const char* KindName(int kind) {
    switch (kind) {
    case KindFunction:
        return "Memberfunktion";
    case KindVariable:
        return "Membervariable";
    default:
        return "Klasse";
    }
}

} // namespace

std::vector<CLostDescription> FindLostDescriptions(const CClassNode& oldRoot,
                                                   const CClassNode& newRoot) {
    std::set<Key> kept;
    ForEachBelow(newRoot, [&kept](const CClassNode& node) {
        if (!node.GetDescription().empty()) {
            kept.insert(KeyOf(node));
        }
    });
    std::vector<CLostDescription> lost;
    ForEachBelow(oldRoot, [&](const CClassNode& node) {
        if (node.GetDescription().empty() || kept.count(KeyOf(node)) > 0) {
            return;
        }
        auto [kind, owner, name, description] = KeyOf(node);
        if (owner.empty()) {
            lost.push_back({kind, name, "", description});
        } else {
            lost.push_back({kind, owner, name, description});
        }
    });
    return lost;
}

std::string LostDescriptionLines(const std::vector<CLostDescription>& lost, size_t maxLines) {
    std::string text;
    for (size_t i = 0; i < lost.size() && i < maxLines; ++i) {
        const CLostDescription& entry = lost[i];
        const std::string firstLine =
            entry.description.substr(0, entry.description.find_first_of("\r\n"));
        text += std::string(KindName(entry.kind)) + " " + entry.className +
                (entry.name.empty() ? "" : "::" + entry.name) + ": " + firstLine + "\n";
    }
    if (lost.size() > maxLines) {
        text += "und " + std::to_string(lost.size() - maxLines) + " weitere\n";
    }
    return text;
}

std::string LostDescriptionQuestion(const std::vector<CLostDescription>& lost) {
    return "Folgende Beschreibungen gehen bei der Aktualisierung verloren, weil ihre Einträge in "
           "den Header-Dateien nicht mehr gefunden wurden:\n\n" +
           LostDescriptionLines(lost, 20) + "\nDennoch aktualisieren?";
}
