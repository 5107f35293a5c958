#pragma once

#include "model/ClassRoot.h"

#include <string>

// A node with the given texts, added below parent. IDs count from 0 in the
// order the nodes join one tree, so page file names differ.
inline CClassNode* AddNode(CClassNode* parent, const std::string& name, int kind, int line = 0,
                           const std::string& type = {}, const std::string& parameters = {}) {
    const CClassNode* top = parent;
    while (top->m_pParent != nullptr) {
        top = top->m_pParent;
    }
    auto* node = new CClassNode;
    node->SetId(top->CountAllDescendants());
    node->SetName(name);
    node->SetKind(kind);
    node->SetLine(line);
    node->SetHeaderFile("/src/inc/" + name + ".h");
    node->SetTypeText(type);
    node->SetParameters(parameters);
    parent->AddChild(node);
    return node;
}
