#include "analysis/ClassHead.h"

#include "analysis/HeaderText.h"

#include <vector>

namespace {

int DepthChange(char c) {
    switch (c) {
    case '(':
    case '[':
    case '<':
        return 1;
    case ')':
    case ']':
    case '>':
        return -1;
    default:
        return 0;
    }
}

// The blank-separated words of text; a bracketed group is part of its word
// even when it holds blanks ('alignas(sizeof (T))', 'Printer<const T&>').
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t start = std::string_view::npos;
    int depth = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        if (!end && start == std::string_view::npos) {
            if (!IsWhiteSpace(text[i])) {
                start = i;
                depth = 0;
            } else {
                continue;
            }
        }
        if (end || (depth <= 0 && IsWhiteSpace(text[i]))) {
            if (start != std::string_view::npos) {
                words.push_back(text.substr(start, i - start));
                start = std::string_view::npos;
            }
            continue;
        }
        depth += DepthChange(text[i]);
    }
    return words;
}

// The first ":" outside brackets that is no part of "::".
size_t BaseListColon(std::string_view text) {
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        depth += DepthChange(c);
        if (c == ':' && depth <= 0) {
            if (i + 1 < text.size() && text[i + 1] == ':') {
                ++i;
            } else if (i == 0 || text[i - 1] != ':') {
                return i;
            }
        }
    }
    return std::string_view::npos;
}

// Last component of a qualified name: 'a::b::C' gives 'C'.
std::string_view LastComponent(std::string_view name) {
    const size_t scope = name.rfind("::");
    return Trim(scope == std::string_view::npos ? name : name.substr(scope + 2));
}

std::string HeadName(std::string_view head) {
    std::string_view last;
    for (const std::string_view word : Words(head)) {
        // Attributes, alignas(...), export macros with arguments, "final";
        // a specialization's arguments may hold parentheses.
        if (word.front() == '[' || word.find('(') < word.find('<') || word == "final") {
            continue;
        }
        last = word;
    }
    const size_t less = last.find('<');
    std::string_view arguments;
    if (less != std::string_view::npos) {
        arguments = last.substr(less);
        int depth = 0;
        for (size_t i = 0; i < arguments.size(); ++i) {
            depth += DepthChange(arguments[i]);
            if (depth == 0 && i + 1 != arguments.size()) {
                return {}; // more after the argument list
            }
        }
        if (depth != 0) {
            return {};
        }
        last = last.substr(0, less);
    }
    const std::string_view identifier = LastComponent(last);
    if (!IsIdentifier(identifier)) {
        return {};
    }
    std::string name(identifier);
    for (const char c : arguments) {
        name.push_back(IsWhiteSpace(c) ? ' ' : c);
    }
    return name;
}

std::string FirstBase(std::string_view list) {
    size_t pos = 0;
    for (;;) {
        while (pos < list.size() && IsWhiteSpace(list[pos])) {
            ++pos;
        }
        size_t end = pos;
        while (end < list.size() && IsWordChar(list[end])) {
            ++end;
        }
        const std::string_view word = list.substr(pos, end - pos);
        if (word != "virtual" && word != "public" && word != "protected" && word != "private") {
            break;
        }
        pos = end;
    }
    // Up to the next base, with every template argument list left out.
    std::string base;
    int depth = 0;
    for (size_t i = pos; i < list.size(); ++i) {
        const char c = list[i];
        if (c == '<') {
            ++depth;
        } else if (c == '>') {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (depth == 0) {
            if (c == ',' || c == '{') {
                break;
            }
            base.push_back(c);
        }
    }
    const std::string_view name = LastComponent(Trim(base));
    return IsIdentifier(name) ? std::string(name) : std::string();
}

} // namespace

bool IsIdentifier(std::string_view text) {
    if (text.empty() || (text.front() >= '0' && text.front() <= '9')) {
        return false;
    }
    for (const char c : text) {
        if (!IsWordChar(c)) {
            return false;
        }
    }
    return true;
}

ClassHead SplitClassHead(std::string_view text) {
    text = text.substr(0, text.find('{'));
    const size_t colon = BaseListColon(text);
    ClassHead head;
    head.name = HeadName(text.substr(0, colon));
    if (colon != std::string_view::npos) {
        head.base = FirstBase(text.substr(colon + 1));
    }
    return head;
}
