#include "analysis/MemberStatement.h"

#include "analysis/ClassHead.h"
#include "analysis/HeaderText.h"

#include <algorithm>
#include <array>

namespace {

constexpr size_t kNone = std::string_view::npos;

bool IsMacroName(std::string_view word) {
    if (word.empty() || (word.front() >= '0' && word.front() <= '9')) {
        return false;
    }
    bool capital = false;
    for (const char c : word) {
        if (c >= 'A' && c <= 'Z') {
            capital = true;
        } else if (!(c >= '0' && c <= '9') && c != '_') {
            return false;
        }
    }
    return capital;
}

template <size_t N>
bool IsOneOf(std::string_view word, const std::array<std::string_view, N>& list) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

// The word that ends where at is, blanks before at skipped.
std::string_view WordBefore(std::string_view s, size_t at) {
    size_t end = at;
    while (end > 0 && s[end - 1] == ' ') {
        --end;
    }
    size_t begin = end;
    while (begin > 0 && IsWordChar(s[begin - 1])) {
        --begin;
    }
    return s.substr(begin, end - begin);
}

bool IsWordAt(std::string_view s, size_t i, std::string_view word) {
    return s.compare(i, word.size(), word) == 0 && (i == 0 || !IsWordChar(s[i - 1])) &&
           (i + word.size() >= s.size() || !IsWordChar(s[i + word.size()]));
}

bool HasWord(std::string_view s, std::string_view word) {
    for (size_t at = s.find(word); at != kNone; at = s.find(word, at + 1)) {
        if (IsWordAt(s, at, word)) {
            return true;
        }
    }
    return false;
}

std::string_view FirstWord(std::string_view s) {
    s = TrimLeft(s);
    size_t end = 0;
    while (end < s.size() && IsWordChar(s[end])) {
        ++end;
    }
    return s.substr(0, end);
}

int ParenBalance(std::string_view s) {
    int depth = 0;
    for (const char c : s) {
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    }
    return depth;
}

size_t MatchingParen(std::string_view s, size_t open) {
    int depth = 0;
    for (size_t i = open; i < s.size(); ++i) {
        if (s[i] == '(') {
            ++depth;
        } else if (s[i] == ')' && --depth == 0) {
            return i;
        }
    }
    return kNone;
}

// Where an access label such as 'public:', 'public Q_SLOTS:' or 'signals:'
// at the start of s ends, or 0.
size_t LabelEnd(std::string_view s) {
    static constexpr std::array<std::string_view, 7> kLabels = {
        "public", "protected", "private", "signals", "slots", "Q_SIGNALS", "Q_SLOTS"};
    size_t i = 0;
    for (int words = 0; words < 2; ++words) {
        while (i < s.size() && s[i] == ' ') {
            ++i;
        }
        size_t end = i;
        while (end < s.size() && IsWordChar(s[end])) {
            ++end;
        }
        if (!IsOneOf(s.substr(i, end - i), kLabels)) {
            return 0;
        }
        i = end;
        while (i < s.size() && s[i] == ' ') {
            ++i;
        }
        if (i < s.size() && s[i] == ':' && (i + 1 == s.size() || s[i + 1] != ':')) {
            return i + 1;
        }
    }
    return 0;
}

// A member's name: an identifier with optional array bounds.
bool IsVariableName(std::string_view name) {
    const size_t bound = name.find('[');
    if (!IsIdentifier(name.substr(0, bound))) {
        return false;
    }
    int depth = 0;
    for (size_t i = bound == kNone ? name.size() : bound; i < name.size(); ++i) {
        depth += name[i] == '[' ? 1 : name[i] == ']' ? -1 : 0;
        if (depth == 0 && name[i] != ']') {
            return false;
        }
    }
    return depth == 0;
}

void CutThroughFirstColon(std::string& text) {
    std::erase(text, ';');
    const size_t colon = text.find(':');
    if (colon != std::string::npos) {
        text.erase(0, colon + 1);
    }
}

// The type text before the name that starts at nameStart: from the last ":"
// before the blank ahead of the name on, so that 'std::string' gives
// 'string' and 'public: int' gives ' int'.
std::string TypeBefore(std::string_view s, size_t nameStart) {
    const size_t blank = nameStart >= 1 ? s.rfind(' ', nameStart - 1) : kNone;
    if (blank == kNone || blank == 0) {
        return {};
    }
    const size_t colon = s.rfind(':', blank - 1);
    const size_t from = colon == kNone ? 0 : colon;
    std::string type(Trim(s.substr(from, blank - from + 1)));
    CutThroughFirstColon(type);
    return type;
}

// What decides the shape of a statement, read from the left outside any
// brackets: the parameter list of a function, or where the first variable's
// declarator ends.
struct Decision {
    MemberStatement::Shape shape = MemberStatement::kNone;
    size_t at = kNone;        // "(" of the parameters
    size_t nameStart = kNone; // for an operator: where "operator" starts
};

Decision Decide(std::string_view s, size_t from, std::string_view className) {
    static constexpr std::array<std::string_view, 7> kGroupWords = {
        "alignas", "__attribute__", "__declspec", "decltype", "__decltype", "noexcept", "throw"};
    int depth = 0;
    for (size_t i = from; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '(' || c == '[' || c == '{' || c == '<') {
            if (depth == 0 && c == '(') {
                const std::string_view word = WordBefore(s, i);
                const bool macro = IsMacroName(word) && word != className;
                if (!macro && !IsOneOf(word, kGroupWords)) {
                    return {MemberStatement::kFunction, i, kNone};
                }
            } else if (depth == 0 && c == '{') {
                return {MemberStatement::kVariable};
            }
            ++depth;
        } else if (c == ')' || c == ']' || c == '}' || (c == '>' && (i == 0 || s[i - 1] != '-'))) {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (depth == 0 && c == 'o' && IsWordAt(s, i, "operator")) {
            size_t open = i + 8;
            while (open < s.size() && s[open] == ' ') {
                ++open;
            }
            if (s.compare(open, 2, "()") == 0) {
                open += 2;
            }
            open = s.find('(', open);
            if (open == kNone) {
                return {};
            }
            return {MemberStatement::kFunction, open, i};
        } else if (depth == 0 && (c == ';' || c == ',' || c == '=')) {
            return {MemberStatement::kVariable};
        } else if (depth == 0 && c == ':') {
            if (i + 1 < s.size() && s[i + 1] == ':') {
                ++i; // a scope, not a bit-field width
            } else {
                return {MemberStatement::kVariable};
            }
        }
    }
    return {};
}

// The declarators of a variable statement between from and its ";", split
// at commas outside brackets, each without initialiser or bit-field width.
std::vector<std::string_view> Declarators(std::string_view s, size_t from) {
    std::vector<std::string_view> pieces;
    int depth = 0;
    size_t start = from;
    size_t declEnd = kNone;
    for (size_t i = from; i <= s.size(); ++i) {
        const char c = i < s.size() ? s[i] : ';';
        const bool top = depth == 0;
        if (c == '(' || c == '[' || c == '{' || (c == '<' && declEnd == kNone)) {
            if (top && c == '{' && declEnd == kNone) {
                declEnd = i;
            }
            ++depth;
        } else if (c == ')' || c == ']' || c == '}' || (c == '>' && declEnd == kNone)) {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (top && (c == ',' || c == ';')) {
            pieces.push_back(TrimRight(s.substr(start, std::min(i, declEnd) - start)));
            if (c == ';') {
                break;
            }
            start = i + 1;
            declEnd = kNone;
        } else if (top && declEnd == kNone && c == ':' && i + 1 < s.size() && s[i + 1] == ':') {
            ++i;
        } else if (top && declEnd == kNone && (c == '=' || c == ':')) {
            declEnd = i;
        }
    }
    return pieces;
}

// Where the last word of a declarator starts: after its last blank outside
// brackets ('int m_x[2* N]' gives 'm_x[2* N]').
size_t LastWordStart(std::string_view declarator) {
    int depth = 0;
    for (size_t i = declarator.size(); i-- > 0;) {
        const char c = declarator[i];
        if (c == ']' || c == ')' || c == '>') {
            ++depth;
        } else if (c == '[' || c == '(' || c == '<') {
            --depth;
        } else if (c == ' ' && depth <= 0) {
            return i + 1;
        }
    }
    return 0;
}

bool DeclaresNothing(std::string_view s, size_t from, size_t nameStart) {
    const std::string_view first = FirstWord(s.substr(from));
    if (first == "using" || first == "typedef") {
        return true;
    }
    const std::string_view prefix = s.substr(from, nameStart - from);
    return HasWord(prefix, "friend");
}

} // namespace

bool IsMacroLine(std::string_view text) {
    text = TrimLeft(text);
    if (text.empty() || !((text.front() >= 'A' && text.front() <= 'Z') || text.front() == '_')) {
        return false;
    }
    text = TrimRight(text);
    size_t end = 0;
    bool capital = false;
    while (end < text.size() && IsWordChar(text[end])) {
        if (text[end] >= 'a' && text[end] <= 'z') {
            return false;
        }
        capital = capital || (text[end] >= 'A' && text[end] <= 'Z');
        ++end;
    }
    if (!capital) {
        return false;
    }
    const std::string_view rest = TrimLeft(text.substr(end));
    return rest.empty() || (rest.front() == '(' && MatchingParen(rest, 0) == rest.size() - 1);
}

bool IsInitializerBrace(std::string_view text) {
    static constexpr std::array<std::string_view, 9> kBodyWords = {
        "const", "noexcept", "override", "final", "mutable", "volatile", "try", "else", "do"};
    static constexpr std::array<std::string_view, 6> kHeadWords = {"class", "struct",    "union",
                                                                   "enum",  "namespace", "extern"};
    const std::string_view trimmed = TrimRight(text);
    if (trimmed.empty()) {
        return false;
    }
    if (trimmed.back() == '=' || ParenBalance(text) > 0) {
        return true;
    }
    if (trimmed.back() == ')') {
        // The braces of 'requires requires(T t) { ... }' close in the head.
        int depth = 0;
        size_t open = trimmed.size();
        while (open-- > 0) {
            depth += trimmed[open] == ')' ? 1 : trimmed[open] == '(' ? -1 : 0;
            if (depth == 0) {
                break;
            }
        }
        return open != kNone && WordBefore(trimmed, open) == "requires";
    }
    const char last = text.back(); // a blank before the brace: a body
    if (!IsWordChar(last) && last != '>' && last != ']') {
        return false;
    }
    if (IsOneOf(WordBefore(text, text.size()), kBodyWords)) {
        return false;
    }
    for (const std::string_view word : kHeadWords) {
        if (HasWord(text, word)) {
            return false;
        }
    }
    // 'auto f() -> int{' has a body.
    return !(text.find(')') != kNone && text.find("->") != kNone);
}

MemberStatement SplitMemberStatement(std::string_view s, std::string_view className) {
    // A specialization's constructor bears the template's name.
    className = className.substr(0, className.find('<'));
    MemberStatement result;
    if (ParenBalance(s) != 0) {
        return result; // unbalanced parentheses drop the statement
    }
    const size_t from = LabelEnd(s);
    const Decision decision = Decide(s, from, className);
    if (decision.shape == MemberStatement::kFunction) {
        const size_t close = MatchingParen(s, decision.at);
        if (close == kNone) {
            return result;
        }
        result.shape = MemberStatement::kFunction;
        size_t nameStart = decision.nameStart;
        std::string name;
        if (nameStart != kNone) {
            name = Trim(s.substr(nameStart, decision.at - nameStart));
        } else {
            const std::string_view word = WordBefore(s, decision.at);
            nameStart = static_cast<size_t>(word.data() - s.data());
            if (nameStart > 0 && s[nameStart - 1] == '~') {
                --nameStart;
            }
            name = s.substr(nameStart, word.data() + word.size() - s.data() - nameStart);
        }
        if (name.empty() || DeclaresNothing(s, from, nameStart)) {
            return result;
        }
        result.parameters = Trim(s.substr(decision.at + 1, close - decision.at - 1));
        CutThroughFirstColon(result.parameters);
        if (name.front() != '~') {
            result.typeText = TypeBefore(s, nameStart);
        }
        if (result.typeText.empty()) {
            if (name == className) {
                result.typeText = "constructor";
            } else if (name.size() == className.size() + 1 && name.front() == '~' &&
                       name.compare(1, std::string::npos, className) == 0) {
                result.typeText = "destructor";
            } else if (decision.nameStart == kNone) {
                return result; // no type: a call or a macro, not a declaration
            }
        }
        if (decision.nameStart != kNone || IsIdentifier(name) ||
            (name.front() == '~' && IsIdentifier(name.substr(1)))) {
            result.names.push_back(std::move(name));
        }
        return result;
    }
    if (decision.shape != MemberStatement::kVariable || s.find(';', from) == kNone) {
        return result;
    }
    result.shape = MemberStatement::kVariable;
    const std::vector<std::string_view> pieces = Declarators(s, from);
    if (pieces.empty()) {
        return result;
    }
    const std::string_view first = pieces.front();
    const size_t nameStart = static_cast<size_t>(first.data() - s.data()) + LastWordStart(first);
    const std::string_view declared = Trim(s.substr(from, nameStart - from));
    static constexpr std::array<std::string_view, 5> kClassKeys = {"struct", "union", "enum",
                                                                   "enum class", "class"};
    if (DeclaresNothing(s, from, nameStart) || IsOneOf(declared, kClassKeys)) {
        return result;
    }
    result.typeText = TypeBefore(s, nameStart);
    if (result.typeText.empty()) {
        return result;
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        std::string_view name =
            i == 0 ? s.substr(nameStart, first.data() + first.size() - s.data() - nameStart)
                   : Trim(pieces[i]);
        while (!name.empty() &&
               (name.front() == '*' || name.front() == '&' || name.front() == ' ')) {
            name.remove_prefix(1);
        }
        if (IsVariableName(name)) {
            result.names.emplace_back(name);
        }
    }
    return result;
}
