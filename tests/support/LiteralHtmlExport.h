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

namespace literal_export {

inline std::string Label(const CClassNode& node) {
    if (node.CountAllDescendants() == 0) {
        return node.GetName();
    }
    return node.GetName() + " (" + std::to_string(node.CountDescendants(KindClass)) + " - " +
           std::to_string(node.CountChildren(KindFunction)) + " - " +
           std::to_string(node.CountChildren(KindVariable)) + ")";
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
    if (writer == nullptr || parent == nullptr) {
        return;
    }
    if (indent) {
        writer->BeginBlockquote(1);
    }
    for (int i = 0; i < parent->GetChildCount(); ++i) {
        CClassNode* child = parent->GetChild(i);
        if (child == nullptr) {
            continue;
        }
        if (child->FindById(current.GetId()) != nullptr) {
            const bool hasChildren = child->GetChildCount() > 0;
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
        } else {
            writer->WriteLink(child->GetHtmlFileName(), Label(*child), true);
        }
    }
    if (indent) {
        writer->EndBlockquote(1);
    }
}

inline bool ExportPage(CClassNode& node, const std::string& directory) {
    const std::string folder = WithTrailingSlash(directory);
    CHtmlFile writer;
    const auto Value = [&](const std::string& text) {
        writer.WriteParagraph(text, false, false, false, true);
    };
    if (!writer.BeginPage(folder + node.GetHtmlFileName(), Title(node), "Vorlix")) {
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

    const int kind = node.GetKind();
    if (kind == 0 || kind == 1) {
        writer.WriteParagraph("Klassenname:", true, true, false, true);
    } else if (kind == 2) {
        writer.WriteParagraph("Funktionsname:", true, true, false, true);
    } else if (kind == 3) {
        writer.WriteParagraph("Variablenname:", true, true, false, true);
    }
    Value(node.GetName());
    writer.WriteParagraph("Headerfile:", true, true, false, true);
    const std::string header =
        node.GetHeaderFileName() + " (Z: " + std::to_string(node.GetLine()) + ")";
    Value(header);
    std::string value = header;
    if (kind == 0 || kind == 1) {
        writer.WriteParagraph("Abgeleitet von:", true, true, false, true);
        Value(node.m_pParent != nullptr && node.m_pParent->GetId() != -1 ? node.GetAncestry()
                                                                         : "void");
        writer.WriteParagraph("abgeleitete Klassen:", true, true, false, true);
        value = std::to_string(node.CountDescendants(KindClass)) + " - " +
                std::to_string(node.CountChildren(KindFunction)) + " - " +
                std::to_string(node.CountChildren(KindVariable));
    } else if (kind == 2) {
        writer.WriteParagraph("Funktionstyp:", true, true, false, true);
        Value(node.GetTypeText());
        writer.WriteParagraph("Parameter:", true, true, false, true);
        value = node.GetParameters();
    } else if (kind == 3) {
        writer.WriteParagraph("Variablentyp:", true, true, false, true);
        value = node.GetTypeText();
    }
    Value(value);
    writer.WriteParagraph("Beschreibung:", true, true, false, true);
    Value(node.GetDescription());

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
    const std::string folder = WithTrailingSlash(directory);
    CHtmlFile writer;
    if (!writer.BeginPage(folder + "index.html", Title(root), "Vorlix")) {
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
    ExportPages(root, folder);
    return true;
}

} // namespace literal_export
