#pragma once

#include <string>

class CClassNode;
class CClassRoot;

// The details of an entry as the info pane shows them, one value per line
// indented by two blanks, lines separated by "\n".
std::string BuildInfoText(const CClassNode& node);

// Database path and table of a structure: "path (table)". Names the document
// and labels the root item.
std::string LocationText(const CClassRoot& root);
