#pragma once

#include <string>
#include <string_view>

// What a class head names. The text is what follows the keyword "class" up
// to the body; blanks may be any white space.
struct ClassHead {
    // The head's last word before the base list, without attributes,
    // alignas, export macros with arguments and "final"; a qualified name
    // gives its last component, a specialization keeps its balanced argument
    // text ('Printer<T&>'). Empty when the head names no class.
    std::string name;
    // The first base's own name: "virtual" and the access word skipped in
    // either order, template arguments and namespaces dropped
    // ('public std::vector<int>' gives 'vector'). Empty without a base.
    std::string base;
};

ClassHead SplitClassHead(std::string_view text);

// Whether text is an identifier: a letter or "_", then letters, digits, "_".
bool IsIdentifier(std::string_view text);
