#pragma once

// The search exactly as its rules are written: every text operation copies
// and rescans from position 0, every file is read again when needed, the
// include test follows every chain. Slow on purpose; the tests compare the
// engine against it on generated inputs. Where the rules leave a choice, this
// copies the engine's: where an include name is looked for, which file is
// "the same" on a chain, how an opener without closer is dropped; each has a
// worked example in SearchModesTest instead.

#include "analysis/ClassHead.h"
#include "platform/FileServices.h"
#include "search/SearchHit.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// Readable hits in failure messages.
inline void PrintTo(const CSearchHit& hit, std::ostream* out) {
    *out << '(' << hit.GetClass() << ", " << hit.GetName() << ", " << hit.GetFile() << ')';
}

namespace literal {

using std::string;

// The text primitives the rules are written in; positions are ints, -1 is "none".
struct S {
    static int Len(const string& s) { return static_cast<int>(s.size()); }
    static int Find(const string& s, const string& what, int start = 0) {
        start = std::max(start, 0);
        const size_t at = start > Len(s) ? string::npos : s.find(what, static_cast<size_t>(start));
        return at == string::npos ? -1 : static_cast<int>(at);
    }
    static string Left(const string& s, int n) { return s.substr(0, std::clamp(n, 0, Len(s))); }
    static string Mid(const string& s, int n) { return s.substr(std::clamp(n, 0, Len(s))); }
    static void Delete(string& s, int at, int n) {
        if (at >= 0 && n > 0 && at < Len(s)) {
            s.erase(static_cast<size_t>(at), static_cast<size_t>(n));
        }
    }
    // One pass: every non-overlapping occurrence from the left.
    static int Replace(string& s, const string& old, const string& with) {
        int count = 0;
        for (size_t at = old.empty() ? string::npos : s.find(old); at != string::npos;
             at = s.find(old, at + with.size()), ++count) {
            s.replace(at, old.size(), with);
        }
        return count;
    }
    static string ReplaceAll(string s, const string& old, const string& with) {
        while (Replace(s, old, with) > 0) {
        }
        return s;
    }
    static string TrimLeft(const string& s) {
        return s.substr(std::min(s.find_first_not_of(kWhite), s.size()));
    }
    static string TrimRight(const string& s) { return s.substr(0, s.find_last_not_of(kWhite) + 1); }
    static string Trim(const string& s) { return TrimLeft(TrimRight(s)); }
    static int Quotes(const string& s, int before) {
        return static_cast<int>(std::count(s.begin(), s.begin() + before, '"'));
    }
    static constexpr const char* kWhite = " \t\n\v\f\r";
};

inline void CleanLine(string& line, bool& inComment) {
    line = S::ReplaceAll(S::ReplaceAll(S::TrimLeft(line), "\t", " "), "  ", " ");
    line = S::ReplaceAll(S::ReplaceAll(line, "\\\\", ""), "\\\"", "");
    if (inComment) {
        const int end = S::Find(line, "*/");
        if (end < 0) {
            line = "";
        } else if (S::Quotes(line, end) % 2 == 1) {
            S::Delete(line, end, 2);
        } else {
            line = S::Mid(line, end + 2);
            inComment = false;
        }
    }
    for (int a = S::Find(line, "//"), b = S::Find(line, "/*"); a >= 0 || b >= 0;
         a = S::Find(line, "//"), b = S::Find(line, "/*")) {
        const int at = (a < 0 || (b >= 0 && b < a)) ? b : a;
        if (S::Quotes(line, at) % 2 == 1) {
            S::Delete(line, at, 2);
        } else if (at == a) {
            line = S::Left(line, a);
        } else if (const int end = S::Find(line, "*/", b + 1); end >= 0) {
            S::Delete(line, b, end + 2 - b);
        } else {
            line = S::Left(line, b);
            inComment = true;
        }
    }
    for (const string label : {"public:", "protected:", "private:"}) {
        S::Delete(line, S::Find(line, label), S::Len(label));
    }
}

inline int FindClosing(const string& t, const string& o, const string& k, int start) {
    int depth = 0;
    for (int i = std::max(start + 1, 0); i < S::Len(t); ++i) {
        depth += t.compare(static_cast<size_t>(i), o.size(), o) == 0 ? 1 : 0;
        if (t.compare(static_cast<size_t>(i), k.size(), k) == 0 && depth-- <= 0) {
            return i;
        }
    }
    return -1;
}

inline string FirstBlockContent(const string& t, const string& o, const string& k) {
    const int p = S::Find(t, o);
    const int q = p < 0 ? -1 : FindClosing(t, o, k, p);
    return q <= p ? "" : S::Trim(S::Left(S::Mid(t, p + 1), q - p - 1));
}

inline string EmptyFirstBlock(const string& text, const string& o, const string& k) {
    string t = text;
    const int p = S::Find(t, o);
    const int q = p < 0 ? -1 : FindClosing(t, o, k, p);
    if (p >= 0 && q < 0) {
        return t; // an opener without closer: as it was, untrimmed
    }
    if (p >= 0) {
        S::Delete(t, p + S::Len(o), q - p - S::Len(o));
    }
    return S::Trim(t);
}

inline string RemoveFirstBlock(const string& t, const string& o, const string& k) {
    return S::ReplaceAll(EmptyFirstBlock(t, o, k), o + k, "");
}

inline string EmptyAllBlocks(const string& t, const string& o, const string& k) {
    string w = t;
    std::vector<int> removed;
    for (int p = S::Find(w, o); p >= 0; p = S::Find(w, o)) {
        const int q = FindClosing(w, o, k, p);
        if (q < 0) {
            return t;
        }
        S::Delete(w, p, q + S::Len(k) - p);
        removed.push_back(p);
    }
    for (auto it = removed.rbegin(); it != removed.rend(); ++it) {
        w.insert(static_cast<size_t>(*it), o + k);
    }
    return S::Trim(w);
}

inline string RemoveAllBlocks(const string& t, const string& o, const string& k) {
    return S::ReplaceAll(EmptyAllBlocks(t, o, k), o + k, "");
}

inline int FindLastClassKeyword(const string& t) {
    int last = -1;
    for (int p = S::Find(t, "class "); p >= 0; p = S::Find(t, "class ", p + 6)) {
        last = p;
    }
    return last;
}

// The code text of a file, or with includes its include list.
inline string Read(const string& path, bool includes) {
    CTextFileReader file;
    string out;
    string line;
    bool inComment = false;
    for (const bool open = file.Open(path); open && file.ReadLine(line);) {
        CleanLine(line, inComment);
        if (includes) {
            for (string next;
                 S::Left(line, 8) == "#include" && line.back() == '\\' && file.ReadLine(next);) {
                line = S::Left(line, S::Len(line) - 1) + next;
            }
            line = S::Left(line, 8) != "#include" || S::Find(line, "\"") < 0
                       ? ""
                       : S::Mid(line, S::Find(line, "\"") + 1);
            line = S::Trim(S::Left(line, S::Find(line, "\""))); // no closing quote: nothing
            out += line.empty() ? "" : line + "|";
            continue;
        }
        if (const int hash = S::Find(line, "#"); hash >= 0) {
            // The continuation lines go with the directive, unread.
            for (string next = line; !next.empty() && next.back() == '\\' && file.ReadLine(next);) {
            }
            line = S::Left(line, hash);
        }
        for (int q1 = S::Find(line, "\""); q1 >= 0; q1 = S::Find(line, "\"")) {
            const int q2 = S::Find(line, "\"", q1 + 1);
            S::Delete(line, q1, q2 >= 0 ? q2 - q1 + 1 : 1);
        }
        line = S::TrimRight(line);
        out += line.empty() ? "" : line + " ";
    }
    return RemoveAllBlocks(out, "/*", "*/");
}

// Class part ("-" when unqualified) and function part of a function's head.
inline std::pair<string, string> SplitHead(string h) {
    h = S::TrimLeft(S::Find(h, "(") >= 0 ? RemoveFirstBlock(h, "(", ")") : h);
    if (const int blank = S::Find(h, " "); blank >= 0) {
        h = S::Mid(h, blank);
    }
    const int scope = S::Find(h, "::");
    return {scope < 0 ? "-" : S::Trim(S::Left(h, scope)),
            S::Trim(scope < 0 ? h : S::Mid(h, scope + 2))};
}

// Drops every "{" without its "}" up to the first paired block; false when none is left.
inline bool DropUnpaired(string& t) {
    for (int open = S::Find(t, "{"); open >= 0; open = S::Find(t, "{")) {
        if (FindClosing(t, "{", "}", open) >= 0) {
            return true;
        }
        t = S::Mid(t, open + 1);
    }
    return false;
}

// Empties the first block, deletes its "{}" and gives the text before it.
inline string CutHead(string& t) {
    t = EmptyFirstBlock(t, "{", "}");
    const int p = S::Find(t, "{}");
    S::Delete(t, p, 2);
    return S::Left(t, p);
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
        *this = CLiteralSearch();
        className = cls;
        functionName = function;
        searchDir = directory;
        Walk(directory, mode);
    }

    void Walk(const string& directory, char mode) {
        const string dir = WithTrailingSlash(directory);
        std::vector<DirEntry> entries;
        if (!m_guard.Enter(dir) || !ListDirectory(dir, entries)) {
            return;
        }
        for (const DirEntry& e : entries) {
            string ext = S::Mid(e.name, static_cast<int>(e.name.rfind('.')));
            for (char& c : ext) {
                c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
            }
            if (e.isDirectory) {
                Walk(e.path, mode);
            } else if ((mode == 'C' || mode == 'F') && (ext == ".CPP" || ext == ".C")) {
                FindUse(Read(e.path, false), e.path, mode == 'F');
            } else if (mode == 'H' && ext == ".H") {
                SearchHeaderFile(e.path);
            }
        }
    }

    void SearchHeaderFile(const string& path) {
        for (string t = Read(path, false); DropUnpaired(t);) {
            if (S::Find(FirstBlockContent(t, "{", "}"), className) < 0) {
                t = RemoveFirstBlock(t, "{", "}");
                continue;
            }
            const string h = CutHead(t);
            const int k = FindLastClassKeyword(h);
            // Named by the class tree's own rule, which the analysis tests pin.
            const string name = k < 0 ? "" : SplitClassHead(S::Mid(h, k + 6)).name;
            if (k >= 0 && name != className) {
                headerHits.emplace_back(name, "-", path);
            }
        }
    }

    // Mode C (functions whose body names the class) or mode F (bodies naming
    // the function, where the body names the class or the includes declare it).
    void FindUse(string t, const string& path, bool function) {
        while (S::Find(t, "{") >= 0) {
            const string b = FirstBlockContent(t, "{", "}");
            t = EmptyFirstBlock(t, "{", "}");
            const int p = S::Find(t, "{}");
            const string h = S::Left(t, p);
            t = S::Mid(t, p + 2);
            if (S::Find(b, function ? functionName : className) < 0) {
                continue;
            }
            const auto [c, f] = SplitHead(h);
            if (!function) {
                classHits.emplace_back(c, f, path);
            } else if (S::Find(b, className) >= 0 || IncludesRefer(path, c)) {
                functionHits.emplace_back(c, f, path);
            }
        }
    }

    bool IncludesRefer(const string& path, const string& name) {
        std::vector<string> chain{Key(path)};
        return Refer(path, name, chain);
    }

    // Beside the including file, else below the searched directory, else
    // relative to the current directory; "" when none.
    string Resolve(const string& includer, string name) const {
        std::replace(name.begin(), name.end(), '\\', '/');
        std::error_code ec;
        const auto isFile = [&ec](const string& p) {
            return std::filesystem::is_regular_file(p, ec);
        };
        const string beside = S::Left(includer, static_cast<int>(includer.rfind('/')) + 1) + name;
        if (name.empty() || name.front() == '/') {
            return !name.empty() && isFile(name) ? name : "";
        }
        return isFile(beside)                                   ? beside
               : !searchDir.empty() && isFile(searchDir + name) ? searchDir + name
               : isFile(name)                                   ? name
                                                                : "";
    }

private:
    // The path a file is read through, its folder resolved: the same text
    // read through another folder resolves its includes elsewhere.
    static string Key(const string& path) {
        const std::filesystem::path p(path);
        std::error_code ec;
        const auto dir =
            std::filesystem::canonical(p.has_parent_path() ? p.parent_path() : ".", ec);
        return ec ? path : (dir / p.filename()).string();
    }

    bool Refer(const string& path, const string& name, std::vector<string>& chain) {
        string list = Read(path, true);
        for (int bar = S::Find(list, "|"); bar >= 0; bar = S::Find(list, "|")) {
            const string file = Resolve(path, S::Left(list, bar));
            list = S::Mid(list, bar + 1);
            const string id = file.empty() ? string() : Key(file);
            // Unopenable: an empty text. On the current chain: not read again.
            if (file.empty() || std::find(chain.begin(), chain.end(), id) != chain.end()) {
                continue;
            }
            chain.push_back(id);
            const bool found = ReferIn(Read(file, false), file, name, chain);
            chain.pop_back();
            if (found) {
                return true;
            }
        }
        return false;
    }

    bool ReferIn(string t, const string& file, const string& name, std::vector<string>& chain) {
        while (DropUnpaired(t)) {
            if (S::Find(FirstBlockContent(t, "{", "}"), name) >= 0) {
                return true;
            }
            string h = CutHead(t);
            const int k = FindLastClassKeyword(h);
            if (k < 0) {
                t = RemoveFirstBlock(t, "{", "}");
                continue;
            }
            h = S::Mid(h, k + 6);
            h = S::Mid(h, S::Find(h, ":") + 1); // from behind the first ':', if any
            for (const char* access : {"public", "protected", "private"}) {
                S::Replace(h, access, "");
            }
            h = S::Trim(S::ReplaceAll(h, "  ", " ")) + ",";
            for (int comma = S::Find(h, ","); comma >= 0; comma = S::Find(h, ",")) {
                const string piece = S::Left(h, comma);
                h = S::Mid(h, comma + 1);
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
