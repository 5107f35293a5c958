#pragma once

#include <string>
#include <vector>

class CClassNode;

// A description that an Update would drop: its entry has no counterpart
// with the same text in the new structure.
struct CLostDescription {
    int kind = 0;
    std::string className; // the class itself, or the member's class
    std::string name;      // empty for a class
    std::string description;
};

// The non-empty descriptions of oldRoot's entries that no entry of newRoot
// (after the carry-over) holds for the same kind, class and name, in
// pre-order of the old tree.
std::vector<CLostDescription> FindLostDescriptions(const CClassNode& oldRoot,
                                                   const CClassNode& newRoot);

// One line per lost description: kind, class, name and the first line of
// the text; at most maxLines, then "und N weitere".
std::string LostDescriptionLines(const std::vector<CLostDescription>& lost, size_t maxLines);

// The question before an Update replaces the structure.
std::string LostDescriptionQuestion(const std::vector<CLostDescription>& lost);
