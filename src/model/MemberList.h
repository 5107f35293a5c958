#pragma once

#include <string>

class CClassNode;

// A list of members as a class fills it: the desktop program supplies its
// list widgets, tests a recording list.
class IMemberList {
public:
    virtual ~IMemberList() = default;
    virtual void DeleteAllItems() = 0;
    // Appends an item; node is null for a placeholder item. The list keeps
    // its items sorted by text whatever the order of insertion.
    virtual void InsertItem(const std::string& text, CClassNode* node) = 0;
    virtual void EnableList(bool enable) = 0;
    // Repaints the list at once.
    virtual void RedrawNow() = 0;
};
