#pragma once

#include "ScriptedUserInterface.h"
#include "analysis/HeaderParser.h"
#include "model/ClassRoot.h"

#include <memory>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

// One entry as the tests compare it: "C Name : Base @line" for a class,
// "F Name | type | parameters @line" for a function, "V Name | type @line".
inline std::string Describe(const CClassNode& node) {
    const std::string line = " @" + std::to_string(node.GetLine());
    if (node.GetKind() == KindClass) {
        return "C " + node.GetName() + " : " + node.m_strBaseName + line;
    }
    if (node.GetKind() == KindFunction) {
        return "F " + node.GetName() + " | " + node.GetTypeText() + " | " + node.GetParameters() +
               line;
    }
    return "V " + node.GetName() + " | " + node.GetTypeText() + line;
}

// Texts parsed as headers, one after the other, into one root; without text
// an empty root for entries added by hand.
struct ParsedHeaders {
    CScriptedUserInterface ui;
    CHeaderParser parser{ui};
    std::unique_ptr<CClassRoot> root;

    ParsedHeaders() : root(std::make_unique<CClassRoot>()) { parser.m_pRoot = root.get(); }
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

    Lines Entries() const {
        Lines result;
        for (int i = 0; i < root->GetChildCount(); ++i) {
            result.push_back(Describe(*root->GetChild(i)));
        }
        return result;
    }
};
