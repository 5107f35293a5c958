#pragma once

#include "ScriptedUserInterface.h"
#include "analysis/HeaderParser.h"
#include "model/ClassRoot.h"

#include <memory>
#include <string>
#include <vector>

// One entry as the tests compare it: "C Name : Base @line" for a class,
// "F Name | type | parameters @line" for a function, "V ..." for a variable.
inline std::string Describe(const CClassNode& node) {
    const std::string line = " @" + std::to_string(node.GetLine());
    switch (node.GetKind()) {
    case KindClass:
        return "C " + node.GetName() + " : " + node.m_strBaseName + line;
    case KindFunction:
        return "F " + node.GetName() + " | " + node.GetTypeText() + " | " + node.GetParameters() +
               line;
    case KindVariable:
        return "V " + node.GetName() + " | " + node.GetTypeText() + line;
    default:
        return "? " + node.GetName();
    }
}

inline std::vector<std::string> DescribeChildren(const CClassNode& node) {
    std::vector<std::string> result;
    for (int i = 0; i < node.GetChildCount(); ++i) {
        result.push_back(Describe(*node.GetChild(i)));
    }
    return result;
}

// Parses texts given as headers, one after the other, into one root.
struct ParsedHeaders {
    CScriptedUserInterface ui;
    CHeaderParser parser{ui};
    std::unique_ptr<CClassRoot> root;

    explicit ParsedHeaders(const std::string& text, const std::string& path = "/inc/a.h") {
        Add(text, path);
    }
    void Add(const std::string& text, const std::string& path) {
        parser.ParseText(path, text);
        if (!root) {
            root.reset(parser.m_pRoot);
        }
    }
    ~ParsedHeaders() { parser.m_pRoot = nullptr; }

    std::vector<std::string> Entries() const { return DescribeChildren(*root); }
};

// The statements of a text in the order the parser cuts them, handling each
// as the parser does (cutting depends on what came before).
inline std::vector<std::string> CutStatements(const std::string& text) {
    CScriptedUserInterface ui;
    CHeaderParser parser(ui);
    parser.BeginFile("/inc/a.h");
    CLineSource lines(text);
    std::vector<std::string> statements;
    bool more = true;
    while (more) {
        const std::string statement = parser.ReadStatement(lines, more);
        if (!statement.empty()) {
            statements.push_back(statement);
        }
        parser.HandleStatement(statement);
    }
    delete parser.m_pRoot;
    parser.m_pRoot = nullptr;
    return statements;
}
