#include "platform/FileServices.h"
#include "platform/LineSource.h"
#include "search/SearchText.h"
#include "search/SourceSearch.h"

#include <algorithm>

using searchtext::IsWhite;
using searchtext::Trimmed;

namespace {

constexpr size_t npos = std::string::npos;

void TrimRightInPlace(std::string& s) {
    size_t e = s.size();
    while (e > 0 && IsWhite(s[e - 1])) {
        --e;
    }
    s.resize(e);
}

size_t QuotesBefore(const std::string& s, size_t pos) {
    return static_cast<size_t>(std::count(s.begin(), s.begin() + static_cast<long>(pos), '"'));
}

// Runs of spaces become one space.
void CollapseSpaces(std::string& s) {
    size_t out = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == ' ' && out > 0 && s[out - 1] == ' ') {
            continue;
        }
        s[out++] = s[i];
    }
    s.resize(out);
}

// Removing pairs of backslashes until none is left keeps one backslash of
// every odd run and none of an even one; runs never merge, as the characters
// between them stay.
void CollapseBackslashPairs(std::string& s) {
    size_t out = 0;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != '\\') {
            s[out++] = s[i++];
            continue;
        }
        size_t run = 0;
        while (i < s.size() && s[i] == '\\') {
            ++run;
            ++i;
        }
        if (run % 2 == 1) {
            s[out++] = '\\';
        }
    }
    s.resize(out);
}

// After the pairs are gone a backslash never follows a backslash, so one pass
// leaves no backslash-quote behind.
void RemoveEscapedQuotes(std::string& s) {
    size_t out = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '"') {
            ++i;
            continue;
        }
        s[out++] = s[i];
    }
    s.resize(out);
}

void EraseFirst(std::string& s, const char* marker, size_t length) {
    const size_t at = s.find(marker, 0, length);
    if (at != npos) {
        s.erase(at, length);
    }
}

// Each literal goes from its quote through the next quote; a lone last quote
// goes alone.
void RemoveStringLiterals(std::string& s) {
    size_t out = 0;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != '"') {
            s[out++] = s[i++];
            continue;
        }
        const size_t close = s.find('"', i + 1);
        i = close == npos ? i + 1 : close + 1;
    }
    s.resize(out);
}

bool EndsWithBackslash(std::string_view s) {
    return !s.empty() && s.back() == '\\';
}

} // namespace

namespace searchtext {

std::string RemovePairsRepeatedly(std::string_view text, std::string_view pair) {
    if (pair.empty() || text.size() < pair.size()) {
        return std::string(text);
    }
    const size_t m = pair.size();
    bool selfOverlapping = false;
    for (size_t len = 1; len < m && !selfOverlapping; ++len) {
        selfOverlapping = pair.substr(0, len) == pair.substr(m - len);
    }
    if (!selfOverlapping) {
        // Occurrences of such a pair never overlap, so every order of removal
        // ends in the same text: a stack gets there in one pass.
        std::string out;
        out.reserve(text.size());
        const char last = pair.back();
        for (const char c : text) {
            out.push_back(c);
            if (c == last && out.size() >= m && out.compare(out.size() - m, m, pair) == 0) {
                out.resize(out.size() - m);
            }
        }
        return out;
    }
    // "/**/" overlaps itself ("/**/**/"), and the order of removal matters:
    // keep the passes, each linear.
    std::string current(text);
    for (;;) {
        size_t at = current.find(pair);
        if (at == npos) {
            return current;
        }
        std::string next;
        next.reserve(current.size());
        size_t from = 0;
        while (at != npos) {
            next.append(current, from, at - from);
            from = at + m;
            at = current.find(pair, from);
        }
        next.append(current, from);
        current.swap(next);
    }
}

long CBraceMatcher::Closer(size_t open) {
    if (m_useTable) {
        return open < m_closer.size() ? m_closer[open] : -1;
    }
    int depth = 0;
    for (size_t i = open + 1; i < m_text.size(); ++i) {
        const char c = m_text[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth <= 0) {
                return static_cast<long>(i);
            }
            --depth;
        }
    }
    BuildTable();
    return -1;
}

void CBraceMatcher::BuildTable() {
    // The closer that pops an opener off the stack is exactly the first
    // position where the depth counted from that opener falls below zero.
    m_closer.assign(m_text.size(), -1);
    std::vector<int32_t> open;
    for (size_t i = 0; i < m_text.size(); ++i) {
        if (m_text[i] == '{') {
            open.push_back(static_cast<int32_t>(i));
        } else if (m_text[i] == '}' && !open.empty()) {
            m_closer[static_cast<size_t>(open.back())] = static_cast<int32_t>(i);
            open.pop_back();
        }
    }
    m_useTable = true;
}

} // namespace searchtext

void CSourceSearch::CleanLine(std::string& line, bool& inBlockComment) {
    size_t start = 0;
    while (start < line.size() && IsWhite(line[start])) {
        ++start;
    }
    line.erase(0, start);
    std::replace(line.begin(), line.end(), '\t', ' ');
    if (line.find("  ") != npos) {
        CollapseSpaces(line);
    }
    if (line.find('\\') != npos) {
        CollapseBackslashPairs(line);
        RemoveEscapedQuotes(line);
    }
    if (inBlockComment) {
        const size_t end = line.find("*/");
        if (end == npos) {
            line.clear();
        } else if (QuotesBefore(line, end) % 2 == 1) {
            line.erase(end, 2);
        } else {
            line.erase(0, end + 2);
            inBlockComment = false;
        }
    }
    if (line.find('/') != npos) {
        for (;;) {
            const size_t lineComment = line.find("//");
            const size_t blockComment = line.find("/*");
            if (lineComment == npos && blockComment == npos) {
                break;
            }
            if (lineComment == npos || (blockComment != npos && blockComment < lineComment)) {
                if (QuotesBefore(line, blockComment) % 2 == 1) {
                    line.erase(blockComment, 2); // inside a string literal
                } else {
                    const size_t end = line.find("*/", blockComment + 1);
                    if (end != npos) {
                        line.erase(blockComment, end + 2 - blockComment);
                    } else {
                        line.erase(blockComment);
                        inBlockComment = true;
                    }
                }
            } else if (QuotesBefore(line, lineComment) % 2 == 1) {
                line.erase(lineComment, 2);
            } else {
                line.erase(lineComment);
            }
        }
    }
    if (line.find(':') != npos) {
        EraseFirst(line, "public:", 7);
        EraseFirst(line, "protected:", 10);
        EraseFirst(line, "private:", 8);
    }
}

namespace {

// The code reader's last step on a cleaned line without its directive part.
void AppendCodeLine(std::string& line, std::string& result) {
    if (line.find('"') != npos) {
        RemoveStringLiterals(line);
    }
    TrimRightInPlace(line);
    if (!line.empty()) {
        result += line;
        result += ' ';
    }
}

} // namespace

std::string CSourceSearch::CodeTextOf(std::string_view contents) {
    CLineSource lines(contents);
    std::string_view raw;
    std::string line;
    std::string result;
    result.reserve(contents.size());
    bool inComment = false;
    while (lines.ReadLine(raw)) {
        line.assign(raw);
        CleanLine(line, inComment);
        const size_t hash = line.find('#');
        if (hash != npos) {
            if (EndsWithBackslash(line)) {
                // The continuation lines go with the directive, unread.
                std::string_view next;
                while (lines.ReadLine(next) && EndsWithBackslash(next)) {
                }
            }
            line.resize(hash);
        }
        AppendCodeLine(line, result);
    }
    return RemoveAllBlocks(result, "/*", "*/");
}

namespace {

// The include reader's work on one cleaned line that starts with "#include".
void AddIncludeName(const std::string& line, std::string& list) {
    const size_t open = line.find('"');
    if (open == npos) {
        return; // angle brackets
    }
    const size_t close = line.find('"', open + 1);
    if (close == npos) {
        return; // no closing quote: nothing to name
    }
    const std::string name = Trimmed(std::string_view(line).substr(open + 1, close - open - 1));
    if (!name.empty()) {
        list += name;
        list += '|';
    }
}

bool StartsWithInclude(const std::string& line) {
    return line.compare(0, 8, "#include") == 0;
}

} // namespace

std::string CSourceSearch::CodeTextAndIncludeList(std::string_view contents,
                                                  std::string& includeList) {
    // Both readers in one pass. Each keeps its own comment state and takes
    // continuation lines its own way; while they agree, a line is cleaned
    // once for both.
    CLineSource lines(contents);
    std::string_view raw;
    std::string codeLine;
    std::string includeLine;
    std::string result;
    result.reserve(contents.size());
    std::string list;
    bool codeComment = false;
    bool includeComment = false;
    bool codeSkipping = false;     // throwing away a directive's continuation
    bool includeAppending = false; // joining an include line's continuation
    auto code = [&](std::string& line) {
        const size_t hash = line.find('#');
        if (hash != npos) {
            codeSkipping = EndsWithBackslash(line);
            line.resize(hash);
        }
        AppendCodeLine(line, result);
    };
    auto include = [&](std::string& line) {
        if (!StartsWithInclude(line)) {
            return;
        }
        if (EndsWithBackslash(line)) {
            includeAppending = true;
            includeLine.swap(line);
            return;
        }
        AddIncludeName(line, list);
    };
    while (lines.ReadLine(raw)) {
        bool includeTakes = true;
        if (includeAppending) {
            includeLine.pop_back();
            includeLine.append(raw);
            if (!EndsWithBackslash(includeLine)) {
                includeAppending = false;
                AddIncludeName(includeLine, list);
            }
            includeTakes = false;
        }
        bool codeTakes = true;
        if (codeSkipping) {
            codeSkipping = EndsWithBackslash(raw);
            codeTakes = false;
        }
        if (codeTakes && includeTakes && codeComment == includeComment) {
            codeLine.assign(raw);
            CleanLine(codeLine, codeComment);
            includeComment = codeComment;
            if (StartsWithInclude(codeLine)) {
                std::string copy = codeLine;
                include(copy);
            }
            code(codeLine);
            continue;
        }
        if (includeTakes) {
            std::string line(raw);
            CleanLine(line, includeComment);
            include(line);
        }
        if (codeTakes) {
            codeLine.assign(raw);
            CleanLine(codeLine, codeComment);
            code(codeLine);
        }
    }
    if (includeAppending) {
        AddIncludeName(includeLine, list); // the file ended inside the continuation
    }
    includeList = RemoveAllBlocks(list, "/*", "*/");
    return RemoveAllBlocks(result, "/*", "*/");
}

std::string CSourceSearch::IncludeListOf(std::string_view contents) {
    CLineSource lines(contents);
    std::string_view raw;
    std::string line;
    std::string list;
    bool inComment = false;
    while (lines.ReadLine(raw)) {
        if (!inComment) {
            // Cleaning only deletes characters after the first one, unless
            // that one starts a comment, a backslash pair or an access label;
            // and without "/" the comment state cannot change.
            const std::string_view trimmed = searchtext::TrimLeftView(raw);
            if (trimmed.empty()) {
                continue;
            }
            const char first = trimmed.front();
            if (first != '#' && first != '\\' && first != 'p' && first != '/' &&
                raw.find('/') == npos) {
                continue;
            }
        }
        line.assign(raw);
        CleanLine(line, inComment);
        if (line.compare(0, 8, "#include") != 0) {
            continue;
        }
        std::string_view next;
        while (EndsWithBackslash(line) && lines.ReadLine(next)) {
            line.pop_back();
            line.append(next);
        }
        AddIncludeName(line, list);
    }
    return RemoveAllBlocks(list, "/*", "*/");
}

std::string CSourceSearch::ReadCodeText(const std::string& path) {
    std::string contents;
    if (!ReadWholeFile(path, contents)) {
        return {};
    }
    return CodeTextOf(contents);
}

std::string CSourceSearch::ReadIncludeList(const std::string& path) {
    std::string contents;
    if (!ReadWholeFile(path, contents)) {
        return {};
    }
    return IncludeListOf(contents);
}

int CSourceSearch::FindClosing(const std::string& text, const std::string& opener,
                               const std::string& closer, int start) {
    int depth = 0;
    const long first = static_cast<long>(start) + 1;
    for (size_t i = first < 0 ? 0 : static_cast<size_t>(first); i < text.size(); ++i) {
        if (text.compare(i, opener.size(), opener) == 0) {
            ++depth;
        }
        if (text.compare(i, closer.size(), closer) == 0) {
            if (depth <= 0) {
                return static_cast<int>(i);
            }
            --depth;
        }
    }
    return -1;
}

std::string CSourceSearch::FirstBlockContent(const std::string& text, const std::string& opener,
                                             const std::string& closer) {
    const size_t open = text.find(opener);
    if (open == npos) {
        return {};
    }
    const int close = FindClosing(text, opener, closer, static_cast<int>(open));
    if (close < 0 || static_cast<size_t>(close) <= open) {
        return {};
    }
    return Trimmed(std::string_view(text).substr(open + 1, static_cast<size_t>(close) - open - 1));
}

std::string CSourceSearch::EmptyFirstBlock(const std::string& text, const std::string& opener,
                                           const std::string& closer) {
    const size_t open = text.find(opener);
    if (open == npos) {
        return Trimmed(text);
    }
    const int close = FindClosing(text, opener, closer, static_cast<int>(open));
    if (close < 0) {
        return text;
    }
    const size_t inside = open + opener.size();
    std::string result;
    result.reserve(text.size());
    result.append(text, 0, inside);
    result.append(text, std::max(inside, static_cast<size_t>(close)));
    return Trimmed(result);
}

std::string CSourceSearch::RemoveFirstBlock(const std::string& text, const std::string& opener,
                                            const std::string& closer) {
    return searchtext::RemovePairsRepeatedly(EmptyFirstBlock(text, opener, closer),
                                             opener + closer);
}

std::string CSourceSearch::EmptyAllBlocks(const std::string& text, const std::string& opener,
                                          const std::string& closer) {
    if (opener.empty()) {
        return text; // an empty opener never finds its closer
    }
    if (text.find(opener) == npos) {
        return Trimmed(text);
    }
    // The working text is done + text[rest..]: every deletion cuts the tail of
    // done and skips part of text, instead of copying the whole text again.
    std::string done;
    done.reserve(text.size());
    size_t rest = 0;
    const size_t m = opener.size();
    auto size = [&] { return done.size() + text.size() - rest; };
    auto at = [&](size_t i) { return i < done.size() ? done[i] : text[rest + i - done.size()]; };
    auto matchesAt = [&](size_t i, const std::string& marker) {
        if (i >= done.size()) {
            return text.compare(rest + i - done.size(), marker.size(), marker) == 0;
        }
        if (i + marker.size() > size()) {
            return false;
        }
        for (size_t j = 0; j < marker.size(); ++j) {
            if (at(i + j) != marker[j]) {
                return false;
            }
        }
        return true;
    };
    std::vector<size_t> removedAt;
    size_t scanFrom = 0;
    for (;;) {
        // Text in front of the last deletion held no opener; one can only
        // start in its last m-1 characters, joined with what follows.
        size_t open = npos;
        for (size_t s = scanFrom; s < done.size(); ++s) {
            if (matchesAt(s, opener)) {
                open = s;
                break;
            }
        }
        if (open == npos) {
            const size_t found = text.find(opener, rest);
            if (found == npos) {
                break;
            }
            done.append(text, rest, found - rest);
            rest = found;
            open = done.size();
        }
        size_t close = npos;
        int depth = 0;
        for (size_t i = open + 1; i < size(); ++i) {
            if (matchesAt(i, opener)) {
                ++depth;
            }
            if (matchesAt(i, closer)) {
                if (depth <= 0) {
                    close = i;
                    break;
                }
                --depth;
            }
        }
        if (close == npos) {
            return text;
        }
        const size_t end = close + closer.size();
        if (end <= done.size()) {
            done.erase(open, end - open);
        } else {
            rest += end - done.size();
            done.resize(open);
        }
        removedAt.push_back(open);
        scanFrom = open >= m - 1 ? open - (m - 1) : 0;
    }
    // Put opener+closer back at each position, the last found first. Each
    // position lies at most m-1 behind the one found after it, so a gap
    // buffer moving between them stays linear.
    std::string left = done;
    left.append(text, rest);
    std::string rightReversed;
    const std::string marker = opener + closer;
    for (auto it = removedAt.rbegin(); it != removedAt.rend(); ++it) {
        const size_t pos = std::min(*it, left.size() + rightReversed.size());
        while (left.size() > pos) {
            rightReversed.push_back(left.back());
            left.pop_back();
        }
        while (left.size() < pos) {
            left.push_back(rightReversed.back());
            rightReversed.pop_back();
        }
        rightReversed.append(marker.rbegin(), marker.rend());
    }
    left.append(rightReversed.rbegin(), rightReversed.rend());
    return Trimmed(left);
}

std::string CSourceSearch::RemoveAllBlocks(const std::string& text, const std::string& opener,
                                           const std::string& closer) {
    return searchtext::RemovePairsRepeatedly(EmptyAllBlocks(text, opener, closer), opener + closer);
}

int CSourceSearch::FindLastClassKeyword(const std::string& text) {
    // "class " cannot overlap itself, so the last occurrence is the last one
    // a scan from the start would meet.
    const size_t at = text.rfind("class ");
    return at == npos ? -1 : static_cast<int>(at);
}

std::string CSourceSearch::RemovePairs(std::string text, const std::string& pair) {
    return searchtext::RemovePairsRepeatedly(text, pair);
}

void CSourceSearch::SplitHead(const std::string& head, std::string& classPart,
                              std::string& functionPart) {
    std::string h = head;
    if (h.find('(') != npos) {
        h = RemoveFirstBlock(h, "(", ")");
    }
    h = std::string(searchtext::TrimLeftView(h));
    const size_t blank = h.find(' ');
    if (blank != npos) {
        h.erase(0, blank); // the return type
    }
    const size_t scope = h.find("::");
    if (scope != npos) {
        classPart = Trimmed(std::string_view(h).substr(0, scope));
        functionPart = Trimmed(std::string_view(h).substr(scope + 2));
    } else {
        classPart.assign(1, '-'); // assign("-") trips a false -Wrestrict in GCC 12
        functionPart = Trimmed(h);
    }
}
