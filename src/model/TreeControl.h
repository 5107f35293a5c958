#pragma once

#include <cstdint>
#include <string>

// Handle of an item in a tree control; 0 is "no item" and, as a parent,
// the control's top level.
using TreeItemHandle = std::uintptr_t;

inline constexpr int kTreeCollapse = 1;
inline constexpr int kTreeExpand = 2;

// The tree control the class model fills. The desktop program supplies the
// real widget; tests supply a recording one.
class ITreeControl {
public:
    virtual ~ITreeControl() = default;
    // Appends an item with this text after the last child of parent.
    virtual TreeItemHandle InsertItem(const std::string& text, TreeItemHandle parent) = 0;
    // Sorts the direct children of one item by text (not recursive).
    virtual void SortChildren(TreeItemHandle item) = 0;
    // code is kTreeExpand or kTreeCollapse.
    virtual void Expand(TreeItemHandle item, int code) = 0;
};
