#pragma once

// The HTML export written the plain way, step by step as the pages are
// defined: every entry of a navigation tree searches its subtree for the
// current node's ID and counts its subtree for its label, so an export costs
// time in the square of the node count. The real export must write the same
// bytes; tests compare the two, the benchmark times them.

#include "html/HtmlFile.h"
#include "model/ClassNode.h"

#include <string>

namespace literal_export {

inline std::string Directory(std::string directory) {
    if (directory.empty() || directory.back() != '/') {
        directory += '/';
    }
    return directory;
}

inline std::string Label(const CClassNode& node) {
    if (node.CountAllDescendants() == 0) {
        return node.GetName();
    }
    return node.GetName() + " (" + std::to_string(node.CountDescendants(KindClass)) + " - " +
           std::to_string(node.CountChildren(KindFunction)) + " - " +
           std::to_string(node.CountChildren(KindVariable)) + ")";
}

inline std::string Title(const CClassNode& node) {
    switch (node.GetKind()) {
    case 0:
    case 1:
        return "class " + node.GetName();
    case 2:
        if (node.m_pParent != nullptr) {
            return node.GetTypeText() + " " + node.m_pParent->GetName() + "::" + node.GetName() +
                   "(" + node.GetParameters() + ")";
        }
        return node.GetTypeText() + " " + node.GetName() + "(" + node.GetParameters() + ")";
    case 3:
        return node.GetTypeText() + " " + node.GetName();
    default:
        return "";
    }
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

inline void Label(CHtmlFile& writer, const std::string& text) {
    writer.WriteParagraph(text, true, true, false, true);
}

inline void Value(CHtmlFile& writer, const std::string& text) {
    writer.WriteParagraph(text, false, false, false, true);
}

inline bool ExportPage(CClassNode& node, const std::string& directory) {
    const std::string folder = Directory(directory);
    CHtmlFile writer;
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
        Label(writer, "Klassenname:");
    } else if (kind == 2) {
        Label(writer, "Funktionsname:");
    } else if (kind == 3) {
        Label(writer, "Variablenname:");
    }
    Value(writer, node.GetName());
    Label(writer, "Headerfile:");
    const std::string header =
        node.GetHeaderFileName() + " (Z: " + std::to_string(node.GetLine()) + ")";
    Value(writer, header);
    std::string value = header;
    if (kind == 0 || kind == 1) {
        Label(writer, "Abgeleitet von:");
        Value(writer, node.m_pParent != nullptr && node.m_pParent->GetId() != -1
                          ? node.GetAncestry()
                          : "void");
        Label(writer, "abgeleitete Klassen:");
        value = std::to_string(node.CountDescendants(KindClass)) + " - " +
                std::to_string(node.CountChildren(KindFunction)) + " - " +
                std::to_string(node.CountChildren(KindVariable));
    } else if (kind == 2) {
        Label(writer, "Funktionstyp:");
        Value(writer, node.GetTypeText());
        Label(writer, "Parameter:");
        value = node.GetParameters();
    } else if (kind == 3) {
        Label(writer, "Variablentyp:");
        value = node.GetTypeText();
    }
    Value(writer, value);
    Label(writer, "Beschreibung:");
    Value(writer, node.GetDescription());

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
    const std::string folder = Directory(directory);
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
