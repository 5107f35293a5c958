#pragma once

// The search exactly as its rules are written: every text operation copies
// and rescans from position 0, every file is read again when needed. Slow on
// purpose; the tests compare the engine against it on generated inputs.

#include "platform/FileServices.h"
#include "search/SearchHit.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

// Readable hits in failure messages.
inline void PrintTo(const CSearchHit& hit, std::ostream* out) {
    *out << '(' << hit.GetClass() << ", " << hit.GetName() << ", " << hit.GetFile() << ')';
}

namespace literal {

using std::string;

inline int Find(const string& s, const string& what, int start = 0) {
    if (start < 0) {
        start = 0;
    }
    if (static_cast<size_t>(start) > s.size()) {
        return -1;
    }
    const size_t at = s.find(what, static_cast<size_t>(start));
    return at == string::npos ? -1 : static_cast<int>(at);
}

inline int Len(const string& s) {
    return static_cast<int>(s.size());
}

inline string Left(const string& s, int n) {
    return n <= 0 ? string() : s.substr(0, static_cast<size_t>(std::min(n, Len(s))));
}

inline string Mid(const string& s, int n) {
    n = std::max(n, 0);
    return n >= Len(s) ? string() : s.substr(static_cast<size_t>(n));
}

inline void Delete(string& s, int at, int count) {
    if (at < 0 || count <= 0 || at >= Len(s)) {
        return;
    }
    s.erase(static_cast<size_t>(at), static_cast<size_t>(count));
}

inline void Insert(string& s, int at, const string& what) {
    s.insert(static_cast<size_t>(std::clamp(at, 0, Len(s))), what);
}

// One pass: every non-overlapping occurrence from the left.
inline int Replace(string& s, const string& old, const string& with) {
    if (old.empty()) {
        return 0;
    }
    int count = 0;
    string out;
    size_t from = 0;
    for (size_t at = s.find(old); at != string::npos; at = s.find(old, from)) {
        out += s.substr(from, at - from) + with;
        from = at + old.size();
        ++count;
    }
    out += s.substr(from);
    s = out;
    return count;
}

inline bool White(char c) {
    return string(" \t\n\v\f\r").find(c) != string::npos;
}

inline string TrimLeft(string s) {
    while (!s.empty() && White(s.front())) {
        s.erase(0, 1);
    }
    return s;
}

inline string TrimRight(string s) {
    while (!s.empty() && White(s.back())) {
        s.pop_back();
    }
    return s;
}

inline string Trim(const string& s) {
    return TrimLeft(TrimRight(s));
}

inline int Quotes(const string& s, int before) {
    return static_cast<int>(std::count(s.begin(), s.begin() + before, '"'));
}

inline void CleanLine(string& line, bool& inComment) {
    line = TrimLeft(line);
    while (Replace(line, "\t", " ") > 0) {
    }
    while (Replace(line, "  ", " ") > 0) {
    }
    while (Replace(line, "\\\\", "") > 0) {
    }
    while (Replace(line, "\\\"", "") > 0) {
    }
    if (inComment) {
        const int end = Find(line, "*/");
        if (end < 0) {
            line = "";
        } else if (Quotes(line, end) % 2 == 1) {
            Delete(line, end, 2);
        } else {
            line = Mid(line, end + 2);
            inComment = false;
        }
    }
    for (;;) {
        const int a = Find(line, "//");
        const int b = Find(line, "/*");
        if (a < 0 && b < 0) {
            break;
        }
        if (a < 0 || (b >= 0 && b < a)) {
            if (Quotes(line, b) % 2 == 1) {
                Delete(line, b, 2);
            } else {
                const int end = Find(line, "*/", b + 1);
                if (end >= 0) {
                    Delete(line, b, end + 2 - b);
                } else {
                    line = Left(line, b);
                    inComment = true;
                }
            }
        } else if (Quotes(line, a) % 2 == 1) {
            Delete(line, a, 2);
        } else {
            line = Left(line, a);
        }
    }
    int at = Find(line, "public:");
    if (at >= 0) {
        Delete(line, at, 7);
    }
    at = Find(line, "protected:");
    if (at >= 0) {
        Delete(line, at, 10);
    }
    at = Find(line, "private:");
    if (at >= 0) {
        Delete(line, at, 8);
    }
}

inline int FindClosing(const string& t, const string& o, const string& k, int start) {
    int depth = 0;
    for (int i = std::max(start + 1, 0); i < Len(t); ++i) {
        if (t.compare(static_cast<size_t>(i), o.size(), o) == 0) {
            ++depth;
        }
        if (t.compare(static_cast<size_t>(i), k.size(), k) == 0) {
            if (depth <= 0) {
                return i;
            }
            --depth;
        }
    }
    return -1;
}

inline string FirstBlockContent(const string& t, const string& o, const string& k) {
    const int p = Find(t, o);
    if (p < 0) {
        return "";
    }
    const int q = FindClosing(t, o, k, p);
    if (q < 0 || q <= p) {
        return "";
    }
    return Trim(t.substr(static_cast<size_t>(p + 1), static_cast<size_t>(q - p - 1)));
}

inline string EmptyFirstBlock(string t, const string& o, const string& k) {
    const int p = Find(t, o);
    if (p < 0) {
        return Trim(t);
    }
    const int q = FindClosing(t, o, k, p);
    if (q < 0) {
        return t;
    }
    Delete(t, p + Len(o), q - (p + Len(o)));
    return Trim(t);
}

inline string RemoveFirstBlock(const string& t, const string& o, const string& k) {
    string r = EmptyFirstBlock(t, o, k);
    while (Replace(r, o + k, "") > 0) {
    }
    return r;
}

inline string EmptyAllBlocks(const string& t, const string& o, const string& k) {
    string w = t;
    std::vector<int> removed;
    for (int p = Find(w, o); p >= 0; p = Find(w, o)) {
        const int q = FindClosing(w, o, k, p);
        if (q < 0) {
            return t;
        }
        Delete(w, p, q + Len(k) - p);
        removed.push_back(p);
    }
    for (auto it = removed.rbegin(); it != removed.rend(); ++it) {
        Insert(w, *it, o + k);
    }
    return Trim(w);
}

inline string RemoveAllBlocks(const string& t, const string& o, const string& k) {
    string r = EmptyAllBlocks(t, o, k);
    while (Replace(r, o + k, "") > 0) {
    }
    return r;
}

inline int FindLastClassKeyword(const string& t) {
    int last = -1;
    for (int p = Find(t, "class "); p >= 0; p = Find(t, "class ", p + 6)) {
        last = p;
    }
    return last;
}

inline string ReadCodeText(const string& path) {
    CTextFileReader file;
    if (!file.Open(path)) {
        return "";
    }
    string result;
    string line;
    bool inComment = false;
    while (file.ReadLine(line)) {
        CleanLine(line, inComment);
        const int hash = Find(line, "#");
        if (hash >= 0) {
            if (!line.empty() && line.back() == '\\') {
                string next;
                while (file.ReadLine(next)) {
                    if (next.empty() || next.back() != '\\') {
                        break;
                    }
                }
            }
            line = Left(line, hash);
        }
        while (Find(line, "\"") >= 0) {
            const int q1 = Find(line, "\"");
            const int q2 = Find(line, "\"", q1 + 1);
            if (q2 >= 0) {
                Delete(line, q1, q2 - q1 + 1);
            } else {
                Delete(line, q1, 1);
            }
        }
        line = TrimRight(line);
        if (!line.empty()) {
            result += line + " ";
        }
    }
    return RemoveAllBlocks(result, "/*", "*/");
}

inline string ReadIncludeList(const string& path) {
    CTextFileReader file;
    if (!file.Open(path)) {
        return "";
    }
    string list;
    string line;
    bool inComment = false;
    while (file.ReadLine(line)) {
        CleanLine(line, inComment);
        if (Left(line, 8) != "#include") {
            continue;
        }
        while (!line.empty() && line.back() == '\\') {
            string next;
            if (!file.ReadLine(next)) {
                break;
            }
            line = Left(line, Len(line) - 1) + next;
        }
        if (Find(line, "\"") < 0) {
            line = "";
        } else {
            line = Mid(line, Find(line, "\"") + 1);
            line = Left(line, Find(line, "\"")); // no closing quote: nothing
        }
        line = Trim(line);
        if (!line.empty()) {
            list += line + "|";
        }
    }
    return RemoveAllBlocks(list, "/*", "*/");
}

inline void SplitHead(string h, string& classPart, string& functionPart) {
    if (Find(h, "(") >= 0) {
        h = RemoveFirstBlock(h, "(", ")");
    }
    h = TrimLeft(h);
    const int blank = Find(h, " ");
    if (blank >= 0) {
        h = Mid(h, blank);
    }
    const int scope = Find(h, "::");
    if (scope >= 0) {
        classPart = Trim(Left(h, scope));
        functionPart = Trim(Mid(h, scope + 2));
    } else {
        classPart = "-";
        functionPart = Trim(h);
    }
}

class CLiteralSearch {
public:
    std::vector<CSearchHit> headerHits;
    std::vector<CSearchHit> classHits;
    std::vector<CSearchHit> functionHits;
    string className;
    string functionName;
    string searchDir;

    // directory with its trailing "/".
    void Search(const string& cls, const string& function, const string& directory, char mode) {
        className = cls;
        functionName = function;
        searchDir = directory;
        headerHits.clear();
        classHits.clear();
        functionHits.clear();
        m_guard = CWalkGuard();
        string walk = directory;
        if (walk.size() > 1) {
            walk.pop_back();
        }
        Walk(walk, mode);
    }

    void Walk(const string& directory, char mode) {
        const string dir = WithTrailingSlash(directory);
        if (!m_guard.Enter(dir)) {
            return;
        }
        std::vector<DirEntry> entries;
        if (!ListDirectory(dir, entries)) {
            return;
        }
        for (const DirEntry& e : entries) {
            if (e.isDirectory) {
                Walk(e.path, mode);
                continue;
            }
            const int dot = static_cast<int>(e.name.rfind('.'));
            string ext = dot < 0 ? string() : Mid(e.name, dot);
            std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) {
                return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
            });
            if ((mode == 'C' || mode == 'F') && (ext == ".CPP" || ext == ".C")) {
                const string text = ReadCodeText(e.path);
                if (mode == 'C') {
                    FindClassUse(text, e.path);
                } else {
                    FindFunctionUse(text, e.path);
                }
            } else if (mode == 'H' && ext == ".H") {
                SearchHeaderFile(e.path);
            }
        }
    }

    void SearchHeaderFile(const string& path) {
        string t = ReadCodeText(path);
        while (Find(t, "{") >= 0) {
            const int open = Find(t, "{");
            if (FindClosing(t, "{", "}", open) < 0) {
                t = Mid(t, open + 1); // unpaired: drop through the opener
                continue;
            }
            const string b = FirstBlockContent(t, "{", "}");
            if (Find(b, className) < 0) {
                t = RemoveFirstBlock(t, "{", "}");
                continue;
            }
            t = EmptyFirstBlock(t, "{", "}");
            const int p = Find(t, "{}");
            Delete(t, p, 2);
            const string h = Left(t, p);
            const int k = FindLastClassKeyword(h);
            if (k < 0) {
                continue;
            }
            string name = Mid(h, k + 6);
            const int colon = Find(name, ":");
            if (colon >= 0) {
                name = Left(name, colon);
            }
            name = Trim(name);
            if (name != className) {
                headerHits.emplace_back(name, "-", path);
            }
        }
    }

    void FindClassUse(string t, const string& path) {
        while (Find(t, "{") >= 0) {
            const string b = FirstBlockContent(t, "{", "}");
            t = EmptyFirstBlock(t, "{", "}");
            const int p = Find(t, "{}");
            const bool counts = Find(b, className) >= 0;
            string h;
            if (counts) {
                h = Left(t, p);
            }
            t = Mid(t, p + 2);
            if (counts) {
                string c;
                string f;
                SplitHead(h, c, f);
                classHits.emplace_back(c, f, path);
            }
        }
    }

    void FindFunctionUse(string t, const string& path) {
        while (Find(t, "{") >= 0) {
            const string b = FirstBlockContent(t, "{", "}");
            t = EmptyFirstBlock(t, "{", "}");
            const int p = Find(t, "{}");
            const bool counts = Find(b, functionName) >= 0;
            const bool withClass = Find(b, className) >= 0;
            string h;
            if (counts) {
                h = Left(t, p);
            }
            t = Mid(t, p + 2);
            if (counts) {
                string c;
                string f;
                SplitHead(h, c, f);
                if (withClass || IncludesRefer(path, c)) {
                    functionHits.emplace_back(c, f, path);
                }
            }
        }
    }

    bool IncludesRefer(const string& path, const string& name) {
        std::vector<string> chain{Canonical(path)};
        return Refer(path, name, chain);
    }

    string Resolve(const string& includer, string name) const {
        std::replace(name.begin(), name.end(), '\\', '/');
        if (name.empty()) {
            return "";
        }
        std::error_code ec;
        if (name.front() == '/') {
            return std::filesystem::is_regular_file(name, ec) ? name : "";
        }
        const size_t slash = includer.rfind('/');
        const string beside =
            (slash == string::npos ? string() : includer.substr(0, slash + 1)) + name;
        if (std::filesystem::is_regular_file(beside, ec)) {
            return beside;
        }
        if (!searchDir.empty() && std::filesystem::is_regular_file(searchDir + name, ec)) {
            return searchDir + name;
        }
        return "";
    }

private:
    static string Canonical(const string& path) {
        std::error_code ec;
        const auto canonical = std::filesystem::canonical(path, ec);
        return ec ? path : canonical.string();
    }

    bool Refer(const string& path, const string& name, std::vector<string>& chain) {
        string list = ReadIncludeList(path);
        while (Find(list, "|") >= 0) {
            const int bar = Find(list, "|");
            const string include = Left(list, bar);
            list = Mid(list, bar + 1);
            const string file = Resolve(path, include);
            if (file.empty()) {
                continue; // cannot be opened: an empty text
            }
            const string id = Canonical(file);
            if (std::find(chain.begin(), chain.end(), id) != chain.end()) {
                continue; // on the current chain: not read again
            }
            chain.push_back(id);
            const bool found = ReferIn(ReadCodeText(file), file, name, chain);
            chain.pop_back();
            if (found) {
                return true;
            }
        }
        return false;
    }

    bool ReferIn(string t, const string& file, const string& name, std::vector<string>& chain) {
        while (Find(t, "{") >= 0) {
            const int open = Find(t, "{");
            if (FindClosing(t, "{", "}", open) < 0) {
                t = Mid(t, open + 1);
                continue;
            }
            const string b = FirstBlockContent(t, "{", "}");
            if (Find(b, name) >= 0) {
                return true;
            }
            t = EmptyFirstBlock(t, "{", "}");
            const int p = Find(t, "{}");
            Delete(t, p, 2);
            string h = Left(t, p);
            const int k = FindLastClassKeyword(h);
            if (k < 0) {
                t = RemoveFirstBlock(t, "{", "}");
                continue;
            }
            h = Mid(h, k + 6);
            const int colon = Find(h, ":");
            if (colon >= 0) {
                h = Mid(h, colon + 1);
            }
            Replace(h, "public", "");
            Replace(h, "protected", "");
            Replace(h, "private", "");
            while (Replace(h, "  ", " ") > 0) {
            }
            h = Trim(h) + ",";
            while (Find(h, ",") >= 0) {
                const int comma = Find(h, ",");
                const string piece = Left(h, comma);
                h = Mid(h, comma + 1);
                if (piece == name || Refer(file, piece, chain)) {
                    return true;
                }
            }
        }
        return false;
    }

    CWalkGuard m_guard;
};

} // namespace literal
