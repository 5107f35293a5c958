#pragma once

#include <cstddef>
#include <string>

class CClassNode;

// The info tips of the class tree and the member lists. The tree's tip counts
// derived classes and own members; a list's tip reads like the declaration.
// Both are cut to the capacity of the tip buffer the controls hand out.

inline constexpr std::size_t kInfoTipCapacity = 1024;

// Tip of a tree item's node: the root, or a class with its ancestry and counts.
std::string TreeItemTipText(const CClassNode* node, std::size_t capacity = kInfoTipCapacity);

// Tip of a member list item's node: a member function or variable.
std::string MemberItemTipText(const CClassNode* node, std::size_t capacity = kInfoTipCapacity);

// text cut so that it fits a buffer of capacity bytes with its terminating
// zero, never inside a UTF-8 sequence.
std::string CutToTipCapacity(const std::string& text, std::size_t capacity);
