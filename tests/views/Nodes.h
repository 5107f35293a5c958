#pragma once

#include "model/ClassRoot.h"

#include <string>

// A node with the given texts, added below parent.
inline CClassNode* AddNode(CClassNode* parent, const std::string& name, int kind, int line = 0,
                           const std::string& type = {}, const std::string& parameters = {}) {
    auto* node = new CClassNode;
    node->SetName(name);
    node->SetKind(kind);
    node->SetLine(line);
    node->SetHeaderFile("/src/inc/" + name + ".h");
    node->SetTypeText(type);
    node->SetParameters(parameters);
    parent->AddChild(node);
    return node;
}
