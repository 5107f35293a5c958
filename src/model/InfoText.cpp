#include "model/InfoText.h"

#include "model/ClassRoot.h"

namespace {

std::string ParentName(const CClassNode& node) {
    return node.m_pParent != nullptr ? node.m_pParent->GetName() : std::string();
}

std::string RootText(const CClassNode& node) {
    const auto* root = dynamic_cast<const CClassRoot*>(&node);
    const std::string database = root != nullptr ? root->m_strDatabase : "Unbekannt";
    const std::string table = root != nullptr ? root->m_strTable : "Unbekannt";
    return "Datenbankname:\n  " + database + "\nTabellenname:\n  " + table +
           "\n\nAnzahl Klassen:\n  " + std::to_string(node.CountDescendants(KindClass));
}

std::string ClassText(const CClassNode& node, const std::string& lineText, std::string baseText) {
    if (node.m_pParent != nullptr) {
        if (node.m_pParent->GetId() == -1) {
            baseText = "void";
        } else {
            // The ancestry ends with the separator " - ".
            const std::string ancestry = node.GetAncestry();
            baseText = ancestry.size() >= 3 ? ancestry.substr(0, ancestry.size() - 3) : "";
        }
    }
    return "Klassenname:\n  " + node.GetName() + "\nHeader-Datei:\n  " + node.GetHeaderFileName() +
           "\nZeile in Header:\n  " + lineText + "\n\nAbgeleitet von:\n  " + baseText +
           "\n\nAnzahl abgeleitete Klassen:\n  " +
           std::to_string(node.CountDescendants(KindClass)) + "\n";
}

std::string FunctionText(const CClassNode& node, const std::string& lineText) {
    return "Memberfunktionsname:\n  " + node.GetName() + "\nHeader-Datei:\n  " +
           node.GetHeaderFileName() + "\nZeile in Header:\n  " + lineText +
           "\n\nMemberfunktion gehört zu:\n  " + ParentName(node) + "\n\nRückgabetyp:\n  " +
           node.GetTypeText() + "\nParameter:\n  " + node.GetParameters() + "\n";
}

std::string VariableText(const CClassNode& node, const std::string& lineText) {
    return "Membervariablenname:\n  " + node.GetName() + "\nHeader-Datei:\n  " +
           node.GetHeaderFileName() + "\nZeile in Header:\n  " + lineText +
           "\n\nMembervariable gehört zu:\n  " + ParentName(node) + "\n\nMembervariablentyp:\n  " +
           node.GetTypeText() + "\n";
}

} // namespace

std::string BuildInfoText(const CClassNode& node) {
    const bool lineKnown = node.GetLine() >= 0;
    const std::string lineText = lineKnown ? std::to_string(node.GetLine()) : "Unbekannt";
    const std::string baseText = lineKnown ? "" : "Unbekannt";

    switch (node.GetKind()) {
    case KindRoot:
        return RootText(node);
    case KindClass:
        return ClassText(node, lineText, baseText);
    case KindFunction:
        return FunctionText(node, lineText);
    case KindVariable:
        return VariableText(node, lineText);
    default:
        return {};
    }
}

std::string LocationText(const CClassRoot& root) {
    return root.m_strDatabase + " (" + root.m_strTable + ")";
}
