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
        ++m_generation;
    }
    int Generation() const { return m_generation; }
    const std::string& Text() const { return m_text; }
    size_t LastClass() const { return m_lastClass; }

private:
    std::string m_text;
    size_t m_lastClass = npos;
    int m_generation = 0;
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

// Whether a character ends every piece of work on a class head: it is none
// of the access words' letters, no blank and no comma, so no deletion and no
// run of blanks reaches over it, and what stands in front of it is final.
bool IsBarrier(char c) {
    static const std::string_view kWordLetters = "abcdeilloprtuv";
    return c != ',' && !searchtext::IsWhite(c) && kWordLetters.find(c) == npos;
}

// Access words deleted, runs of blanks collapsed; the result appended to out.
void AppendCleaned(std::string& out, std::string_view raw, bool trimLeft) {
    std::string h(raw);
    ReplaceAll(h, "public");
    ReplaceAll(h, "protected");
    ReplaceAll(h, "private");
    const size_t from = out.size();
    for (const char c : h) {
        if (c != ' ' || out.size() == from || out.back() != ' ') {
            out += c;
        }
    }
    if (trimLeft && from == 0) {
        out.erase(0, out.size() - TrimLeftView(out).size());
    }
}

// The base names of the class head in front of each block: the text behind
// the last "class ", after its first ":", without access words, blanks
// collapsed, trimmed and split at each ","; pieces after the first keep the
// blank behind their comma. The head grows from block to block, so each
// character is worked on once: a piece followed by a comma is given once, and
// the growing last piece, one per block, is kept as the prefixes of one text
// for as long as each extends the one before.
class CHeadPieces {
public:
    struct Chain {
        std::string text;
        std::vector<size_t> lengths; // ascending
    };
    std::vector<std::string> finished;
    std::vector<Chain> chains;

    void Update(const CHeadText& head) {
        const std::string& t = head.Text();
        const size_t start = head.LastClass() + 6;
        if (head.Generation() != m_generation || start != m_start) {
            m_generation = head.Generation();
            m_start = start;
            m_colonFound = false;
            StartSegment(start, true);
        }
        if (!m_colonFound) {
            const size_t colon = t.find(':', m_scan);
            if (colon != npos) {
                m_colonFound = true;
                StartSegment(colon + 1, true);
            }
        }
        for (; m_scan < t.size(); ++m_scan) {
            if (t[m_scan] == ',') {
                std::string piece = m_stable;
                AppendCleaned(piece, Raw(t, m_scan), m_first && m_stable.empty());
                finished.push_back(std::move(piece));
                StartSegment(m_scan + 1, false);
                --m_scan; // the loop steps past the comma
            } else if (IsBarrier(t[m_scan])) {
                AppendCleaned(m_stable, Raw(t, m_scan + 1), m_first && m_stable.empty());
                m_stableEnd = m_scan + 1;
            }
        }
        std::string tail;
        AppendCleaned(tail, Raw(t, t.size()), m_first && m_stable.empty());
        tail.resize(searchtext::TrimRightView(tail).size());
        AddSnapshot(tail);
    }
    void Finish() { CloseChain(); }

private:
    std::string_view Raw(const std::string& t, size_t end) const {
        return std::string_view(t).substr(m_stableEnd, end - m_stableEnd);
    }
    void StartSegment(size_t at, bool first) {
        CloseChain();
        m_stable.clear();
        m_stableEnd = at;
        m_scan = at;
        m_first = first;
    }
    // The piece of this block: the final part of the segment and its tail.
    void AddSnapshot(const std::string& tail) {
        const size_t length = m_stable.size() + tail.size();
        auto at = [&](size_t i) {
            return i < m_stable.size() ? m_stable[i] : tail[i - m_stable.size()];
        };
        bool extends = m_open && m_lastStable + m_lastTail.size() <= length;
        for (size_t i = 0; extends && i < m_lastTail.size(); ++i) {
            extends = at(m_lastStable + i) == m_lastTail[i];
        }
        if (!extends) {
            CloseChain();
            m_open = true;
        }
        if (m_lengths.empty() || m_lengths.back() != length) {
            m_lengths.push_back(length);
        }
        m_lastStable = m_stable.size();
        m_lastTail = tail;
    }
    void CloseChain() {
        if (m_open) {
            chains.push_back({m_stable.substr(0, m_lastStable) + m_lastTail, std::move(m_lengths)});
            m_lengths.clear();
            m_open = false;
        }
    }

    int m_generation = -1;
    size_t m_start = npos;
    bool m_colonFound = false;
    bool m_first = true;
    size_t m_scan = 0;
    size_t m_stableEnd = 0;
    std::string m_stable; // the segment's cleaned text up to its last barrier
    bool m_open = false;  // a chain is being grown
    std::vector<size_t> m_lengths;
    size_t m_lastStable = 0;
    std::string m_lastTail;
};

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
    std::vector<CHeadPieces::Chain> chains; // the growing last pieces
    int deeper = -1;                        // ReachesDeeper as a start file: -1 unknown
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
    CHeadPieces pieces;
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
        pieces.Update(head);
        for (std::string& piece : pieces.finished) {
            const int nameId = NameId(piece);
            if (entry.pieceIds.insert(nameId).second) {
                entry.pieces.push_back(std::move(piece));
                entry.pieceNameIds.push_back(nameId);
            }
        }
        pieces.finished.clear();
    }
    pieces.Finish();
    entry.chains = std::move(pieces.chains);
    entry.gramBits = GramsOf(entry.joinedBlocks);
    entry.sortedPieceIds = entry.pieceNameIds;
    std::sort(entry.sortedPieceIds.begin(), entry.sortedPieceIds.end());
    entry.pieceIds.clear();
    return entry;
}

namespace {

// Two file or name IDs as one key of the memo tables.
uint64_t PairKey(int a, int b) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b);
}

} // namespace

bool CIncludeIndex::BlocksMention(int id, int nameId, const std::string& name) {
    const FileEntry& scanned = Scanned(id);
    if (scanned.blocks.empty() ||
        (name.find('\0') == npos && !HasAllGrams(scanned.gramBits, name))) {
        return false; // cheaper than remembering
    }
    const uint64_t key = PairKey(id, nameId);
    const auto known = m_blocksMemo.find(key);
    if (known != m_blocksMemo.end()) {
        return known->second;
    }
    // One search over all blocks, kept apart by a character no name holds;
    // a name with a 4-gram the blocks lack cannot be in them.
    const bool result =
        name.find('\0') == npos
            ? Mentions(scanned.joinedBlocks, name)
            : std::any_of(scanned.blocks.begin(), scanned.blocks.end(),
                          [&](const std::string& block) { return Mentions(block, name); });
    m_blocksMemo.emplace(key, result);
    return result;
}

int CIncludeIndex::NameId(const std::string& name) {
    return m_nameIds.emplace(name, static_cast<int>(m_nameIds.size())).first->second;
}

namespace {

bool ChainHas(const CHeadPieces::Chain& chain, std::string_view name) {
    return std::binary_search(chain.lengths.begin(), chain.lengths.end(), name.size()) &&
           std::string_view(chain.text).substr(0, name.size()) == name;
}

// Whether the two chains hold one piece in common.
bool ChainsMeet(const CHeadPieces::Chain& a, const CHeadPieces::Chain& b) {
    const size_t common = static_cast<size_t>(
        std::mismatch(a.text.begin(),
                      a.text.begin() + static_cast<long>(std::min(a.text.size(), b.text.size())),
                      b.text.begin())
            .first -
        a.text.begin());
    for (size_t i = 0, j = 0; i < a.lengths.size() && j < b.lengths.size();) {
        if (a.lengths[i] > common || b.lengths[j] > common) {
            return false;
        }
        if (a.lengths[i] == b.lengths[j]) {
            return true;
        }
        a.lengths[i] < b.lengths[j] ? ++i : ++j;
    }
    return false;
}

// Whether a piece of the chain is mentioned in a block of target or is one of
// its pieces.
template <typename Entry> bool ChainLeadsOn(const CHeadPieces::Chain& chain, const Entry& target) {
    // A piece mentioned in a block means its shortest prefix is mentioned too.
    const std::string_view shortest = std::string_view(chain.text).substr(0, chain.lengths[0]);
    const bool mentioned =
        !target.blocks.empty() &&
        (shortest.find('\0') == npos
             ? Mentions(target.joinedBlocks, shortest)
             : std::any_of(target.blocks.begin(), target.blocks.end(),
                           [&](const std::string& block) { return Mentions(block, shortest); }));
    return mentioned ||
           std::any_of(target.pieces.begin(), target.pieces.end(),
                       [&](const std::string& piece) { return ChainHas(chain, piece); }) ||
           std::any_of(target.chains.begin(), target.chains.end(),
                       [&](const CHeadPieces::Chain& other) { return ChainsMeet(chain, other); });
}

} // namespace

bool CIncludeIndex::Declares(int id, int nameId, const std::string& name) {
    const FileEntry& entry = Scanned(id);
    const std::vector<int>& ids = entry.sortedPieceIds;
    return std::binary_search(ids.begin(), ids.end(), nameId) ||
           std::any_of(entry.chains.begin(), entry.chains.end(),
                       [&](const CHeadPieces::Chain& chain) { return ChainHas(chain, name); }) ||
           BlocksMention(id, nameId, name);
}

bool CIncludeIndex::LeadsOn(int from, int to) {
    const uint64_t key = PairKey(from, to);
    const auto known = m_leadsOn.find(key);
    if (known != m_leadsOn.end()) {
        return known->second;
    }
    const FileEntry& entry = Scanned(from);
    bool result = false;
    for (size_t i = 0; !result && i < entry.pieces.size(); ++i) {
        result = Declares(to, entry.pieceNameIds[i], entry.pieces[i]);
    }
    for (size_t i = 0; !result && i < entry.chains.size(); ++i) {
        result = ChainLeadsOn(entry.chains[i], Scanned(to));
    }
    m_leadsOn.emplace(key, result);
    return result;
}

bool CIncludeIndex::HasPieces(int id) {
    return !Scanned(id).pieces.empty() || !Scanned(id).chains.empty();
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
