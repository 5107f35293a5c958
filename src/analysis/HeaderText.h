#pragma once

#include <string>
#include <string_view>

// Byte-string helpers of the header parser. White space is blank, tab, line
// feed, vertical tab, form feed and carriage return.

inline bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
// A letter, digit or "_".
inline bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);
std::string_view Trim(std::string_view text);

// Appends raw without its comments and string literals to out, in one pass
// from left to right: "//" ends the line, "/*" opens a block comment that the
// next "*/" closes, a "*/" outside a comment is dropped, and a pair of double
// quotes is removed with what lies between them (an unpaired quote stays),
// and so is a character literal.
// Returns whether a block comment is open at the end of the line.
bool RemoveCommentsAndStrings(bool inComment, std::string_view raw, std::string& out);

// Appends text to out under the spacing rules, as if out + text had been
// normalised in one walk; out must be normalised already. Tabs count as
// blanks.
void AppendNormalized(std::string_view text, std::string& out);
