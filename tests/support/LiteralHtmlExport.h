#pragma once

// The HTML export written the plain way, step by step as the pages are
// defined: every entry of a navigation tree searches its subtree for the
// current node's ID and counts its subtree for its label, so an export costs
// time in the square of the node count. The real export must write the same
// bytes; tests compare the two, the benchmark times them.

#include "html/HtmlFile.h"
#include "model/ClassNode.h"
#include "platform/FileServices.h"

#include <string>
#include <utility>
#include <vector>

namespace literal_export {

inline std::string Counts(const CClassNode& node) {
    return std::to_string(node.CountDescendants(KindClass)) + " - " +
           std::to_string(node.CountChildren(KindFunction)) + " - " +
           std::to_string(node.CountChildren(KindVariable));
}

inline std::string Label(const CClassNode& node) {
    return node.CountAllDescendants() == 0 ? node.GetName()
                                           : node.GetName() + " (" + Counts(node) + ")";
}

inline std::string Title(const CClassNode& node) {
    const int kind = node.GetKind();
    const std::string owner = node.m_pParent != nullptr ? node.m_pParent->GetName() + "::" : "";
    return kind == 0 || kind == 1 ? "class " + node.GetName()
           : kind == 2            ? node.GetTypeText() + " " + owner + node.GetName() + "(" +
                             node.GetParameters() + ")"
           : kind == 3 ? node.GetTypeText() + " " + node.GetName()
                       : "";
}

inline void WriteHtmlTree(CClassNode& current, CHtmlFile* writer, CClassNode* parent, bool indent) {
    if (indent) {
        writer->BeginBlockquote(1);
    }
    for (int i = 0; i < parent->GetChildCount(); ++i) {
        CClassNode* child = parent->GetChild(i);
        // Open when the current node's ID lies in its subtree.
        const bool open = child->FindById(current.GetId()) != nullptr;
        const bool hasChildren = open && child->GetChildCount() > 0;
        if (child == &current) {
            writer->BeginFont("Arial", 255);
            writer->BeginEmphasis(true, false, false);
            writer->EndSmall(1);
            writer->WriteText(child->GetName(), !hasChildren);
            writer->BeginSmall(1);
            writer->EndEmphasis(true, true, true);
            writer->EndFont();
        } else {
            writer->WriteLink(child->GetHtmlFileName(), Label(*child), !hasChildren);
        }
        if (hasChildren) {
            writer->EndParagraph();
            writer->BeginParagraph();
            WriteHtmlTree(current, writer, child, true);
        }
    }
    if (indent) {
        writer->EndBlockquote(1);
    }
}

inline bool ExportPage(CClassNode& node, const std::string& directory) {
    CHtmlFile writer;
    if (!writer.BeginPage(WithTrailingSlash(directory) + node.GetHtmlFileName(), Title(node),
                          "Vorlix")) {
        return false;
    }
    writer.BeginFont("Arial", 0);
    writer.BeginParagraph();
    writer.WriteLink("index.html", "Zurück zum Index", true);
    writer.EndParagraph();
    writer.EndFont();
    writer.BeginTable(0, 0, 1, 100, -1, true);
    writer.BeginRow();
    writer.BeginCell("top", "left", 60, 100, true);
    writer.BeginSmall(1);
    writer.BeginFont("Arial", 0);
    writer.BeginParagraph();
    CClassNode* top = &node;
    while (top->m_pParent != nullptr) {
        top = top->m_pParent;
    }
    WriteHtmlTree(node, &writer, top, false);
    writer.EndParagraph();
    writer.EndSmall(1);
    writer.EndFont();
    writer.EndCell();
    writer.BeginCell("top", "left", 40, 100, true);
    writer.BeginSmall(1);
    writer.BeginFont("Arial", 0);
    // Label and value paragraphs; an unknown kind has no name label and shows
    // the header line twice.
    const int kind = node.GetKind();
    const bool isClass = kind == 0 || kind == 1;
    const std::string header =
        node.GetHeaderFileName() + " (Z: " + std::to_string(node.GetLine()) + ")";
    std::vector<std::pair<std::string, std::string>> rows = {{isClass     ? "Klassenname:"
                                                              : kind == 2 ? "Funktionsname:"
                                                              : kind == 3 ? "Variablenname:"
                                                                          : "",
                                                              node.GetName()},
                                                             {"Headerfile:", header}};
    if (isClass) {
        const bool belowClass = node.m_pParent != nullptr && node.m_pParent->GetId() != -1;
        rows.emplace_back("Abgeleitet von:", belowClass ? node.GetAncestry() : "void");
        rows.emplace_back("abgeleitete Klassen:", Counts(node));
    } else if (kind == 2) {
        rows.emplace_back("Funktionstyp:", node.GetTypeText());
        rows.emplace_back("Parameter:", node.GetParameters());
    } else {
        rows.emplace_back(kind == 3 ? "Variablentyp:" : "",
                          kind == 3 ? node.GetTypeText() : header);
    }
    rows.emplace_back("Beschreibung:", node.GetDescription());
    for (const auto& [label, value] : rows) {
        if (!label.empty()) {
            writer.WriteParagraph(label, true, true, false, true);
        }
        writer.WriteParagraph(value, false, false, false, true);
    }
    writer.EndCell();
    writer.EndSmall(1);
    writer.EndFont();
    writer.EndRow();
    writer.EndTable();
    writer.EndPage();
    return true;
}

inline bool ExportPages(CClassNode& node, const std::string& directory) {
    for (int i = 0; i < node.GetChildCount(); ++i) {
        if (CClassNode* child = node.GetChild(i)) {
            ExportPage(*child, directory);
            ExportPages(*child, directory);
        }
    }
    return true;
}

inline bool ExportIndexPage(CClassNode& root, const std::string& directory) {
    CHtmlFile writer;
    if (!writer.BeginPage(WithTrailingSlash(directory) + "index.html", Title(root), "Vorlix")) {
        return false;
    }
    writer.BeginFont("Arial", 0);
    writer.BeginSmall(1);
    writer.BeginParagraph();
    for (int i = 0; i < root.GetChildCount(); ++i) {
        if (CClassNode* child = root.GetChild(i)) {
            writer.WriteLink(child->GetHtmlFileName(), Label(*child), true);
        }
    }
    writer.EndParagraph();
    writer.EndSmall(1);
    writer.EndFont();
    writer.EndPage();
    ExportPages(root, directory);
    return true;
}

} // namespace literal_export
