#pragma once

// Small text helpers shared by the tokenizer and the search engine.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace searchtext {

inline bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline std::string_view TrimLeftView(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && IsWhite(s[b])) {
        ++b;
    }
    return s.substr(b);
}

inline std::string_view TrimRightView(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && IsWhite(s[e - 1])) {
        --e;
    }
    return s.substr(0, e);
}

inline std::string_view TrimView(std::string_view s) {
    return TrimRightView(TrimLeftView(s));
}

inline std::string Trimmed(std::string_view s) {
    return std::string(TrimView(s));
}

// A plain, case-sensitive substring test; the empty name is in every text.
inline bool Mentions(std::string_view text, std::string_view name) {
    return text.find(name) != std::string_view::npos;
}

// Finds the closer that matches an opening brace. Scans each block directly;
// after the first opener without a closer it switches to a table built in one
// pass, so that a text full of unmatched openers stays linear.
class CBraceMatcher {
public:
    explicit CBraceMatcher(std::string_view text) : m_text(text) {}

    // Position of the "}" that matches the "{" at open, or -1.
    long Closer(size_t open);

private:
    void BuildTable();

    std::string_view m_text;
    bool m_useTable = false;
    std::vector<int32_t> m_closer;
};

// Every occurrence of pair deleted, repeated while any is left.
std::string RemovePairsRepeatedly(std::string_view text, std::string_view pair);

} // namespace searchtext
