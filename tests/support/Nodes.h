#pragma once

#include "model/ClassRoot.h"

#include <string>

// A node with the given texts, added below parent. A tree built in preorder
// gets IDs 0, 1, 2, ... in that order (the root's is -1), so page names differ.
inline CClassNode* AddNode(CClassNode* parent, const std::string& name, int kind, int line = 0,
                           const std::string& type = {}, const std::string& parameters = {}) {
    auto* node = new CClassNode;
    node->SetId(parent->GetId() + 1 + parent->CountAllDescendants());
    node->SetName(name);
    node->SetKind(kind);
    node->SetLine(line);
    node->SetHeaderFile("/src/inc/" + name + ".h");
    node->SetTypeText(type);
    node->SetParameters(parameters);
    parent->AddChild(node);
    return node;
}
