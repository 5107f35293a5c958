#include "analysis/HeaderText.h"

#include <array>
#include <cstring>

namespace {

enum CharClass : unsigned char {
    kOrdinary = 0,
    kEatsBlankBefore = 1, // a blank before it is deleted
    kEatsBlankAfter = 2,  // a blank after it is deleted
    kStarOrAmp = 4,       // gets a blank after it before a word
    kRangeCheck = 8,      // the codes 38 to 62
    kSpecialInComments = 16,
    kLookedAt = 32, // a rule may apply when it is the current character
};

constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> table{};
    for (int c = 38; c <= 62; ++c) {
        table[static_cast<size_t>(c)] |= kRangeCheck;
    }
    for (const char c : std::string_view(" <>,=-+&*")) {
        table[static_cast<unsigned char>(c)] |= kEatsBlankBefore;
    }
    for (const char c : std::string_view(",-+=")) {
        table[static_cast<unsigned char>(c)] |= kEatsBlankAfter;
    }
    for (const char c : std::string_view(" \t,-+=*&")) {
        table[static_cast<unsigned char>(c)] |= kLookedAt;
    }
    table[static_cast<unsigned char>('*')] |= kStarOrAmp;
    table[static_cast<unsigned char>('&')] |= kStarOrAmp;
    for (const char c : std::string_view("/*\"'")) {
        table[static_cast<unsigned char>(c)] |= kSpecialInComments;
    }
    return table;
}

constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

unsigned char ClassOf(char c) {
    return kClasses[static_cast<unsigned char>(c)];
}

} // namespace

std::string_view TrimLeft(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsWhiteSpace(text[i])) {
        ++i;
    }
    return text.substr(i);
}

std::string_view TrimRight(std::string_view text) {
    size_t n = text.size();
    while (n > 0 && IsWhiteSpace(text[n - 1])) {
        --n;
    }
    return text.substr(0, n);
}

std::string_view Trim(std::string_view text) {
    return TrimRight(TrimLeft(text));
}

bool RemoveCommentsAndStrings(bool inComment, std::string_view raw, std::string& out) {
    const size_t n = raw.size();
    size_t i = 0;
    bool quotesLeft = true;
    while (i < n) {
        if (inComment) {
            const size_t end = raw.find("*/", i);
            if (end == std::string_view::npos) {
                return true;
            }
            i = end + 2;
            inComment = false;
            continue;
        }
        size_t run = i;
        while (run < n && (ClassOf(raw[run]) & kSpecialInComments) == 0) {
            ++run;
        }
        out.append(raw.substr(i, run - i));
        i = run;
        if (i >= n) {
            break;
        }
        const char c = raw[i];
        const char next = i + 1 < n ? raw[i + 1] : '\0';
        if (c == '/' && next == '/') {
            break;
        }
        if (c == '/' && next == '*') {
            inComment = true;
            i += 2;
            continue;
        }
        if (c == '*' && next == '/') {
            i += 2; // a stray end of comment
            continue;
        }
        if (c == '"' && quotesLeft) {
            const size_t close = raw.find('"', i + 1);
            if (close != std::string_view::npos) {
                i = close + 1;
                continue;
            }
            quotesLeft = false;
        }
        if (c == '\'') {
            // A character literal ('"', '\'', '\x41') goes like a string and
            // opens none; an apostrophe between digits separates them.
            size_t end = std::string_view::npos;
            if (next == '\\') {
                end = raw.find('\'', i + 3);
                end = end - i <= 10 ? end : std::string_view::npos;
            } else if (i + 2 < n && raw[i + 2] == '\'' && next != '\'') {
                end = i + 2;
            }
            const bool separator = i > 0 && raw[i - 1] >= '0' && raw[i - 1] <= '9';
            if (end != std::string_view::npos && !separator) {
                i = end + 1;
                continue;
            }
        }
        out.push_back(c);
        ++i;
    }
    return inComment;
}

// A character that no spacing rule looks at as the current one.
bool IsPlain(char c) {
    return (ClassOf(c) & kLookedAt) == 0;
}

// The walk of the spacing rules: position i is `current`; what lies before it
// is final. A deleted character is replaced by its successor at the same
// position, an inserted blank is passed over. Runs of plain characters are
// copied at once.
void AppendNormalized(std::string_view text, std::string& out) {
    const size_t n = text.size();
    size_t r = 0;
    char current;
    if (!out.empty()) {
        current = out.back();
        out.pop_back();
    } else if (n > 0) {
        current = text[0] == '\t' ? ' ' : text[0];
        r = 1;
    } else {
        return;
    }
    // Written through a pointer: every character gives at most two.
    const size_t kept = out.size();
    out.resize(kept + 2 * n + 2);
    char* const begin = out.data();
    char* write = begin + kept;
    for (;;) {
        if (IsPlain(current)) {
            *write++ = current;
            size_t run = r;
            while (run < n && IsPlain(text[run])) {
                ++run;
            }
            std::memcpy(write, text.data() + r, run - r);
            write += run - r;
            if (run == n) {
                out.resize(static_cast<size_t>(write - begin));
                return;
            }
            current = text[run] == '\t' ? ' ' : text[run];
            r = run + 1;
            continue;
        }
        if (r >= n) {
            break;
        }
        const char next = text[r] == '\t' ? ' ' : text[r];
        ++r;
        const unsigned char cc = ClassOf(current);
        if (current == ' ' && (ClassOf(next) & kEatsBlankBefore) != 0) {
            current = next;
            continue;
        }
        if ((cc & kEatsBlankAfter) != 0 && next == ' ') {
            continue;
        }
        if ((cc & kStarOrAmp) != 0 && write != begin && write[-1] != ',' && next != ' ' &&
            (ClassOf(next) & kRangeCheck) == 0) {
            *write++ = current;
            *write++ = ' ';
            current = next;
            continue;
        }
        *write++ = current;
        current = next;
    }
    *write++ = current;
    out.resize(static_cast<size_t>(write - begin));
}
