#pragma once

#include <string>
#include <string_view>
#include <vector>

// What one statement inside a class body declares.
struct MemberStatement {
    enum Shape {
        kNone,     // neither: a head without ";", unbalanced parentheses
        kFunction, // a name followed by its parameter list
        kVariable, // one or more names ended by ";"
    };
    Shape shape = kNone;
    // Empty when the statement records nothing (an alias, a friend, a
    // macro call, no type).
    std::vector<std::string> names;
    std::string typeText;
    std::string parameters;
};

// Splits a cleaned statement of the body of class className.
MemberStatement SplitMemberStatement(std::string_view statement, std::string_view className);

// A line that is only an upper-case macro name, optionally with one balanced
// argument list: 'Q_OBJECT', 'DECLARE_MESSAGE_MAP()'.
bool IsMacroLine(std::string_view text);

// Whether the "{" that follows text opens a brace initialiser ('int m{0}',
// 'int a[]={1,2}', 'f({1})') rather than a body or block.
bool IsInitializerBrace(std::string_view text);
