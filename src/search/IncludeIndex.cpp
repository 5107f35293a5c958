#include "search/IncludeIndex.h"

#include "platform/FileServices.h"
#include "search/SearchText.h"
#include "search/SourceSearch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

using searchtext::CBraceMatcher;
using searchtext::Mentions;
using searchtext::TrimLeftView;
using searchtext::TrimView;

namespace {

constexpr size_t npos = std::string::npos;

// The text in front of the current block, grown block by block, with the
// position of its last "class " kept up to date.
class CHeadText {
public:
    void Append(std::string_view chunk) {
        if (m_text.empty()) {
            chunk = TrimLeftView(chunk); // the block operations trim the text
        }
        if (chunk.empty()) {
            return;
        }
        const size_t old = m_text.size();
        m_text.append(chunk);
        for (size_t at = m_text.find("class ", old >= 5 ? old - 5 : 0); at != npos;
             at = m_text.find("class ", at + 6)) {
            m_lastClass = at;
        }
    }
    void Clear() {
        m_text.clear();
        m_lastClass = npos;
    }
    const std::string& Text() const { return m_text; }
    size_t LastClass() const { return m_lastClass; }

private:
    std::string m_text;
    size_t m_lastClass = npos;
};

size_t ReplaceAll(std::string& s, const std::string& what) {
    size_t count = 0;
    std::string out;
    size_t from = 0;
    for (size_t at = s.find(what); at != npos; at = s.find(what, from)) {
        out.append(s, from, at - from);
        from = at + what.size();
        ++count;
    }
    if (count > 0) {
        out.append(s, from);
        s.swap(out);
    }
    return count;
}

// The base names of a class head: the text behind "class ", after its first
// ":", without access words, blanks collapsed, split at each ",". Pieces after
// the first keep the blank that followed their comma.
std::vector<std::string> HeadPieces(std::string_view afterKeyword) {
    std::string h(afterKeyword);
    const size_t colon = h.find(':');
    if (colon != npos) {
        h.erase(0, colon + 1);
    }
    ReplaceAll(h, "public");
    ReplaceAll(h, "protected");
    ReplaceAll(h, "private");
    size_t out = 0;
    for (size_t i = 0; i < h.size(); ++i) {
        if (h[i] == ' ' && out > 0 && h[out - 1] == ' ') {
            continue;
        }
        h[out++] = h[i];
    }
    h.resize(out);
    h = searchtext::Trimmed(h);
    h += ',';
    std::vector<std::string> pieces;
    size_t from = 0;
    for (size_t comma = h.find(','); comma != npos; comma = h.find(',', from)) {
        pieces.emplace_back(h, from, comma - from);
        from = comma + 1;
    }
    return pieces;
}

} // namespace

namespace {

constexpr size_t kGramBits = 1u << 16;

size_t GramAt(const char* p) {
    uint32_t v = 0;
    std::memcpy(&v, p, 4);
    return (v * 2654435761u) >> 16;
}

std::vector<uint64_t> GramsOf(const std::string& text) {
    std::vector<uint64_t> bits(kGramBits / 64, 0);
    for (size_t i = 0; i + 4 <= text.size(); ++i) {
        const size_t g = GramAt(text.data() + i);
        bits[g / 64] |= uint64_t{1} << (g % 64);
    }
    return bits;
}

bool HasAllGrams(const std::vector<uint64_t>& bits, const std::string& name) {
    for (size_t i = 0; i + 4 <= name.size(); ++i) {
        const size_t g = GramAt(name.data() + i);
        if ((bits[g / 64] & (uint64_t{1} << (g % 64))) == 0) {
            return false;
        }
    }
    return true;
}

} // namespace

struct CIncludeIndex::FileEntry {
    std::string path; // the path it is read through
    bool includesRead = false;
    std::string includeList; // as read, until resolved
    bool textRead = false;
    std::string text; // the code text, until scanned
    std::vector<int> includes;
    bool scanned = false;
    std::vector<std::string> blocks; // the blocks the test examines
    std::string joinedBlocks;        // the same, each followed by a NUL
    std::vector<uint64_t> gramBits;  // the 4-grams of joinedBlocks, hashed
    std::vector<std::string> pieces; // names from class heads, first occurrence order
    std::vector<int> pieceNameIds;
    std::unordered_set<int> pieceIds;
    std::vector<int> sortedPieceIds;
    int deeper = -1; // ReachesDeeper as a start file: -1 unknown
};

CIncludeIndex::CIncludeIndex(std::string searchDirectory)
    : m_searchDir(std::move(searchDirectory)) {}

CIncludeIndex::~CIncludeIndex() = default;

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string DirectoryPart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

int CIncludeIndex::IdOf(const std::string& path) {
    const auto seen = m_pathIds.find(path);
    if (seen != m_pathIds.end()) {
        return seen->second;
    }
    // A file is the path it is read through: its folder with every link and
    // ".." resolved, and its own name. The same text reached through another
    // folder resolves its includes there, so it is another file here.
    int id = -1;
    if (!path.empty() && IsRegularFile(path)) {
        const std::string dir = DirectoryPart(path);
        char* real = ::realpath(dir.empty() ? "." : dir.c_str(), nullptr);
        if (real != nullptr) {
            std::string key = real;
            std::free(real);
            key += '/';
            key += path.substr(dir.size());
            const auto found = m_ids.find(key);
            if (found != m_ids.end()) {
                id = found->second;
            } else {
                id = static_cast<int>(m_files.size());
                auto entry = std::make_unique<FileEntry>();
                entry->path = path;
                m_files.push_back(std::move(entry));
                m_ids.emplace(std::move(key), id);
            }
        }
    }
    m_pathIds.emplace(path, id);
    return id;
}

std::string CIncludeIndex::ResolveInclude(const std::string& includer,
                                          const std::string& name) const {
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (relative.empty()) {
        return {};
    }
    if (relative.front() == '/') {
        return IsRegularFile(relative) ? relative : std::string();
    }
    std::string beside = DirectoryPart(includer) + relative;
    if (IsRegularFile(beside)) {
        return beside;
    }
    if (!m_searchDir.empty()) {
        std::string below = m_searchDir + relative;
        if (IsRegularFile(below)) {
            return below;
        }
    }
    // Last, where the program was started, as a compiler run from there would.
    return IsRegularFile(relative) ? relative : std::string();
}

int CIncludeIndex::ResolveToId(const std::string& includer, const std::string& name) {
    std::string key = DirectoryPart(includer);
    key += '\0';
    key += name;
    const auto found = m_resolved.find(key);
    if (found != m_resolved.end()) {
        return found->second;
    }
    const int id = IdOf(ResolveInclude(includer, name));
    m_resolved.emplace(std::move(key), id);
    return id;
}

void CIncludeIndex::Load(FileEntry& entry) {
    // One read for both lists: the include graph and the test want both of
    // nearly every file they touch.
    std::string contents;
    if (ReadWholeFile(entry.path, contents)) {
        entry.text = CSourceSearch::CodeTextAndIncludeList(contents, entry.includeList);
    }
    entry.textRead = true;
}

const std::vector<int>& CIncludeIndex::Includes(int id) {
    FileEntry& entry = *m_files[static_cast<size_t>(id)];
    if (!entry.includesRead) {
        entry.includesRead = true;
        std::string list;
        if (m_pCurrentPath != nullptr && *m_pCurrentPath == entry.path) {
            list = *m_pCurrentIncludes; // the file being searched, read already
        } else {
            if (!entry.textRead) {
                Load(entry);
            }
            list.swap(entry.includeList);
        }
        const std::string includer = entry.path;
        size_t from = 0;
        for (size_t bar = list.find('|'); bar != npos; bar = list.find('|', from)) {
            const std::string name = list.substr(from, bar - from);
            from = bar + 1;
            const int target = ResolveToId(includer, name);
            if (target >= 0) {
                m_files[static_cast<size_t>(id)]->includes.push_back(target);
            }
        }
    }
    return m_files[static_cast<size_t>(id)]->includes;
}

const CIncludeIndex::FileEntry& CIncludeIndex::Scanned(int id) {
    FileEntry& entry = *m_files[static_cast<size_t>(id)];
    if (entry.scanned) {
        return entry;
    }
    entry.scanned = true;
    // What the test meets in this text does not depend on the name it looks
    // for, only whether it stops early; so the walk is done once.
    if (!entry.textRead) {
        Load(entry);
    }
    const std::string text = std::move(entry.text);
    entry.text.clear();
    std::string reduced;
    std::string_view buffer = text;
    auto matcher = std::make_unique<CBraceMatcher>(buffer);
    bool isReduced = false;
    auto reduceRest = [&](size_t from) {
        if (isReduced) {
            return from;
        }
        // Deleting every "{}" of the text only touches what follows the
        // head, which holds no "{"; once done, nothing is left to delete.
        reduced = searchtext::RemovePairsRepeatedly(buffer.substr(from), "{}");
        buffer = reduced;
        matcher = std::make_unique<CBraceMatcher>(buffer);
        isReduced = true;
        return size_t{0};
    };
    CHeadText head;
    size_t pos = 0;
    for (;;) {
        const size_t open = buffer.find('{', pos);
        if (open == npos) {
            break;
        }
        const long close = matcher->Closer(open);
        if (close < 0) {
            head.Clear(); // unpaired: drop the text through the opener
            pos = open + 1;
            continue;
        }
        const auto closeAt = static_cast<size_t>(close);
        entry.blocks.emplace_back(TrimView(buffer.substr(open + 1, closeAt - open - 1)));
        entry.joinedBlocks += entry.blocks.back();
        entry.joinedBlocks += '\0';
        head.Append(buffer.substr(pos, open - pos));
        pos = closeAt + 1;
        if (head.LastClass() == npos) {
            // No class head: the next block goes unexamined.
            const size_t next = buffer.find('{', pos);
            if (next == npos) {
                break;
            }
            const long nextClose = matcher->Closer(next);
            if (nextClose >= 0) {
                head.Append(buffer.substr(pos, next - pos));
                pos = static_cast<size_t>(nextClose) + 1;
            }
            pos = reduceRest(pos);
            continue;
        }
        for (std::string& piece :
             HeadPieces(std::string_view(head.Text()).substr(head.LastClass() + 6))) {
            const int nameId = NameId(piece);
            if (entry.pieceIds.insert(nameId).second) {
                entry.pieces.push_back(std::move(piece));
                entry.pieceNameIds.push_back(nameId);
            }
        }
    }
    entry.gramBits = GramsOf(entry.joinedBlocks);
    entry.sortedPieceIds = entry.pieceNameIds;
    std::sort(entry.sortedPieceIds.begin(), entry.sortedPieceIds.end());
    entry.pieceIds.clear();
    return entry;
}

bool CIncludeIndex::BlocksMention(int id, int nameId, const std::string& name) {
    const FileEntry& scanned = Scanned(id);
    if (scanned.blocks.empty() ||
        (name.find('\0') == npos && !HasAllGrams(scanned.gramBits, name))) {
        return false; // cheaper than remembering
    }
    const uint64_t key =
        (static_cast<uint64_t>(static_cast<uint32_t>(id)) << 32) | static_cast<uint32_t>(nameId);
    const auto known = m_blocksMemo.find(key);
    if (known != m_blocksMemo.end()) {
        return known->second;
    }
    const FileEntry& entry = Scanned(id);
    bool result = false;
    if (entry.blocks.empty()) {
        result = false; // the empty name too: no block, nothing mentioned
    } else if (name.find('\0') == npos) {
        // One search over all blocks, kept apart by a character no name holds;
        // a name with a 4-gram the blocks lack cannot be in them.
        result = Mentions(entry.joinedBlocks, name);
    } else {
        result = std::any_of(entry.blocks.begin(), entry.blocks.end(),
                             [&](const std::string& block) { return Mentions(block, name); });
    }
    m_blocksMemo.emplace(key, result);
    return result;
}

int CIncludeIndex::NameId(const std::string& name) {
    return m_nameIds.emplace(name, static_cast<int>(m_nameIds.size())).first->second;
}

bool CIncludeIndex::Declares(int id, int nameId, const std::string& name) {
    const std::vector<int>& ids = Scanned(id).sortedPieceIds;
    return std::binary_search(ids.begin(), ids.end(), nameId) || BlocksMention(id, nameId, name);
}

bool CIncludeIndex::LeadsOn(int from, int to) {
    const uint64_t key =
        (static_cast<uint64_t>(static_cast<uint32_t>(from)) << 32) | static_cast<uint32_t>(to);
    const auto known = m_leadsOn.find(key);
    if (known != m_leadsOn.end()) {
        return known->second;
    }
    const FileEntry& entry = Scanned(from);
    bool result = false;
    for (size_t i = 0; !result && i < entry.pieces.size(); ++i) {
        result = Declares(to, entry.pieceNameIds[i], entry.pieces[i]);
    }
    m_leadsOn.emplace(key, result);
    return result;
}

bool CIncludeIndex::HasPieces(int id) {
    return !Scanned(id).pieces.empty();
}

// The test followed with the chain as guard asks: is there a chain of
// includes start -> g1 -> ... -> u -> v, no file twice, where every file
// after start names bases (the recursion goes on through those names only)
// and a base name of u is declared or mentioned in v? Such a chain exists
// exactly when u can be reached from start without passing v, through files
// that name bases: v must not dominate u. One dominator tree per start file
// answers that for every u and v at once; the base names do not depend on
// the name the test began with, so neither does the answer.
bool CIncludeIndex::ReachesDeeper(int start) {
    if (m_files[static_cast<size_t>(start)]->deeper >= 0) {
        return m_files[static_cast<size_t>(start)]->deeper == 1;
    }
    // The files that may stand inside a chain, depth first, in post order.
    std::unordered_map<int, int> local; // file -> index in order
    std::vector<int> order;
    std::vector<std::vector<int>> preds;
    {
        struct Frame {
            int id;
            size_t next;
        };
        std::vector<Frame> frames{{start, 0}};
        local.emplace(start, -1);
        while (!frames.empty()) {
            Frame& top = frames.back();
            const std::vector<int>& includes = Includes(top.id);
            if (top.next < includes.size()) {
                const int target = includes[top.next++];
                if (target != start && local.find(target) == local.end() && HasPieces(target)) {
                    local.emplace(target, -1);
                    frames.push_back({target, 0});
                }
                continue;
            }
            local[top.id] = static_cast<int>(order.size());
            order.push_back(top.id);
            frames.pop_back();
        }
    }
    const int n = static_cast<int>(order.size());
    const int root = n - 1; // start finishes last
    preds.resize(static_cast<size_t>(n));
    std::vector<std::pair<int, int>> candidates; // (u, v) worth a look
    bool found = false;
    for (int i = 0; i < n; ++i) {
        const int id = order[static_cast<size_t>(i)];
        for (const int target : Includes(id)) {
            const auto at = local.find(target);
            if (at != local.end() && target != start) {
                preds[static_cast<size_t>(at->second)].push_back(i);
            }
            if (i == root || target == id || target == start) {
                continue;
            }
            if (at == local.end()) {
                // v lies on no chain through the files that name bases.
                found = found || LeadsOn(id, target);
            } else {
                candidates.emplace_back(i, at->second);
            }
        }
    }
    if (!found && !candidates.empty()) {
        // Immediate dominators by the iterative method over post order.
        std::vector<int> idom(static_cast<size_t>(n), -1);
        idom[static_cast<size_t>(root)] = root;
        for (bool changed = true; changed;) {
            changed = false;
            for (int b = root - 1; b >= 0; --b) {
                int next = -1;
                for (const int p : preds[static_cast<size_t>(b)]) {
                    if (idom[static_cast<size_t>(p)] < 0) {
                        continue;
                    }
                    if (next < 0) {
                        next = p;
                        continue;
                    }
                    int x = p;
                    while (x != next) {
                        while (x < next) {
                            x = idom[static_cast<size_t>(x)];
                        }
                        while (next < x) {
                            next = idom[static_cast<size_t>(next)];
                        }
                    }
                }
                if (next >= 0 && idom[static_cast<size_t>(b)] != next) {
                    idom[static_cast<size_t>(b)] = next;
                    changed = true;
                }
            }
        }
        // Entry and exit numbers on the dominator tree.
        std::vector<std::vector<int>> children(static_cast<size_t>(n));
        for (int b = 0; b < root; ++b) {
            children[static_cast<size_t>(idom[static_cast<size_t>(b)])].push_back(b);
        }
        std::vector<int> enter(static_cast<size_t>(n));
        std::vector<int> leave(static_cast<size_t>(n));
        int clock = 0;
        std::vector<std::pair<int, size_t>> stack{{root, 0}};
        enter[static_cast<size_t>(root)] = clock++;
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            if (next < children[static_cast<size_t>(node)].size()) {
                const int child = children[static_cast<size_t>(node)][next++];
                enter[static_cast<size_t>(child)] = clock++;
                stack.emplace_back(child, 0);
                continue;
            }
            leave[static_cast<size_t>(node)] = clock++;
            stack.pop_back();
        }
        for (const auto& [u, v] : candidates) {
            const bool dominated = enter[static_cast<size_t>(v)] <= enter[static_cast<size_t>(u)] &&
                                   leave[static_cast<size_t>(u)] <= leave[static_cast<size_t>(v)];
            if (!dominated &&
                LeadsOn(order[static_cast<size_t>(u)], order[static_cast<size_t>(v)])) {
                found = true;
                break;
            }
        }
    }
    m_files[static_cast<size_t>(start)]->deeper = found ? 1 : 0;
    return found;
}

bool CIncludeIndex::Refers(const std::string& path, const std::string& name) {
    // The function search asks for one file many times in a row, and no
    // other file asks for it: its answers are kept apart, for that file only.
    if (path != m_lastPath) {
        m_lastPath = path;
        m_lastId = IdOf(path);
        m_lastAnswers.clear();
    }
    const int id = m_lastId;
    if (id < 0) {
        return false;
    }
    const int nameId = NameId(name);
    const auto known = m_lastAnswers.find(nameId);
    if (known != m_lastAnswers.end()) {
        return known->second;
    }
    // A file included directly is tested with the name itself; below that
    // only base names are looked for, whatever the name.
    const std::vector<int>& includes = Includes(id);
    const bool result =
        std::any_of(includes.begin(), includes.end(),
                    [&](int target) { return target != id && Declares(target, nameId, name); }) ||
        ReachesDeeper(id);
    m_lastAnswers.emplace(nameId, result);
    return result;
}

void CIncludeIndex::SetCurrentFile(const std::string* path, const std::string* includeList) {
    m_pCurrentPath = path;
    m_pCurrentIncludes = includeList;
}
