#pragma once

#include "SqlFixture.h"
#include "cli/StructureCsv.h"
#include "model/ClassRoot.h"

#include <sstream>
#include <string>
#include <vector>

// A node appended to parent, with the fields a class table stores.
inline CClassNode* AddNode(CClassNode& parent, int kind, int id, const std::string& name,
                           int line = 1) {
    auto* node = new CClassNode;
    node->SetKind(kind);
    node->SetId(id);
    node->SetName(name);
    node->SetLine(line);
    node->SetHeaderFile("/src/include/" + name + ".h");
    node->SetDescription("Beschreibung von " + name);
    node->SetTypeText(kind == KindClass ? "" : "int");
    node->SetParameters(kind == KindFunction ? "int a,char* b" : "");
    parent.AddChild(node);
    return node;
}

// The tree's names: "A{B f v} C".
inline std::string Shape(const CClassNode& node) {
    std::string text;
    for (int i = 0; i < node.GetChildCount(); ++i) {
        const CClassNode* child = node.GetChild(i);
        text += (i > 0 ? " " : "") + child->GetName();
        if (child->GetChildCount() > 0) {
            text += "{" + Shape(*child) + "}";
        }
    }
    return text;
}

// Every stored field of every node, pre-order.
inline std::string Csv(const CClassNode& root) {
    std::ostringstream out;
    WriteStructureCsv(root, out);
    return out.str();
}

// One row of the class table in its column order.
struct TableRow {
    int id;
    int type;
    int parent;
    std::string name;
};

inline void InsertRows(CSqlFixture& sql, const std::string& quotedTable,
                       const std::vector<TableRow>& rows) {
    sql.Exec("BEGIN");
    for (const TableRow& row : rows) {
        sql.Insert(quotedTable, {std::to_string(row.id), std::to_string(row.type), "7",
                                 std::to_string(row.parent), row.name, row.name + ".h", "d", "int",
                                 "keine Parameter"});
    }
    sql.Exec("COMMIT");
}

// A path as the root's name shows it: a blank after every '-'.
inline std::string ShownPath(std::string path) {
    for (size_t i = path.find('-'); i != std::string::npos; i = path.find('-', i + 2)) {
        path.insert(i + 1, " ");
    }
    return path;
}

// The rows of the class table as text, in table order.
inline std::vector<std::string> StoredRows(CSqlFixture& sql, const std::string& quotedTable) {
    return sql.Rows("SELECT ID, Type, Row, Parent, Class, File, Description, VarType, Parameter "
                    "FROM " +
                    quotedTable + " ORDER BY rowid");
}
