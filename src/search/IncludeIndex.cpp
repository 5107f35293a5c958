#include "search/IncludeIndex.h"

#include "platform/FileServices.h"
#include "search/SearchText.h"
#include "search/SourceSearch.h"

#include <algorithm>
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
    std::string path;
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
    // Strongly connected component of the include graph.
    int component = -1;
    bool cyclic = false;
    int below = -1; // NamesFoundBelow outside cycles: -1 unknown
    int index = -1;
    int low = 0;
    bool onStack = false;
};

CIncludeIndex::CIncludeIndex(std::string searchDirectory)
    : m_searchDir(std::move(searchDirectory)) {}

CIncludeIndex::~CIncludeIndex() = default;

int CIncludeIndex::IdOf(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return -1;
    }
    const auto key = std::make_pair(static_cast<unsigned long long>(st.st_dev),
                                    static_cast<unsigned long long>(st.st_ino));
    const auto found = m_ids.find(key);
    if (found != m_ids.end()) {
        return found->second;
    }
    const int id = static_cast<int>(m_files.size());
    auto entry = std::make_unique<FileEntry>();
    entry->path = path;
    m_files.push_back(std::move(entry));
    m_onChain.push_back(0);
    m_ids.emplace(key, id);
    return id;
}

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
    return {};
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

void CIncludeIndex::AssignComponents(int root) {
    if (m_files[static_cast<size_t>(root)]->component >= 0) {
        return;
    }
    // Tarjan's algorithm without recursion: include chains can be long.
    struct Frame {
        int id;
        size_t next;
    };
    std::vector<Frame> frames;
    std::vector<int> stack;
    auto visit = [&](int id) {
        FileEntry& e = *m_files[static_cast<size_t>(id)];
        e.index = e.low = m_nextIndex++;
        e.onStack = true;
        stack.push_back(id);
        frames.push_back({id, 0});
    };
    visit(root);
    while (!frames.empty()) {
        const int id = frames.back().id;
        const std::vector<int>& includes = Includes(id);
        if (frames.back().next < includes.size()) {
            const int target = includes[frames.back().next++];
            FileEntry& t = *m_files[static_cast<size_t>(target)];
            if (t.component >= 0) {
                continue; // finished earlier: not in any open component
            }
            if (t.index < 0) {
                visit(target);
            } else if (t.onStack) {
                FileEntry& e = *m_files[static_cast<size_t>(id)];
                e.low = std::min(e.low, t.index);
            }
            continue;
        }
        FileEntry& e = *m_files[static_cast<size_t>(id)];
        if (e.low == e.index) {
            const int component = m_nextComponent++;
            std::vector<int> members;
            int member = -1;
            do {
                member = stack.back();
                stack.pop_back();
                m_files[static_cast<size_t>(member)]->onStack = false;
                m_files[static_cast<size_t>(member)]->component = component;
                members.push_back(member);
            } while (member != id);
            if (members.size() > 1) {
                for (const int m : members) {
                    m_files[static_cast<size_t>(m)]->cyclic = true;
                }
            }
        }
        frames.pop_back();
        if (!frames.empty()) {
            FileEntry& parent = *m_files[static_cast<size_t>(frames.back().id)];
            parent.low = std::min(parent.low, e.low);
        }
    }
}

int CIncludeIndex::NameId(const std::string& name) {
    return m_nameIds.emplace(name, static_cast<int>(m_nameIds.size())).first->second;
}

int CIncludeIndex::ChainId(int id) {
    // The answer for a file depends on the chain only through the chain's
    // files that the file can reach again: those of its own cycle.
    AssignComponents(id);
    const FileEntry& entry = *m_files[static_cast<size_t>(id)];
    if (!entry.cyclic) {
        return 0;
    }
    std::vector<int> inCycle;
    for (const int onChain : m_chain) {
        if (m_files[static_cast<size_t>(onChain)]->component == entry.component) {
            inCycle.push_back(onChain);
        }
    }
    std::sort(inCycle.begin(), inCycle.end());
    std::string key;
    for (const int member : inCycle) {
        key += std::to_string(member);
        key += ',';
    }
    return m_chainIds.emplace(key, static_cast<int>(m_chainIds.size()) + 1).first->second;
}

size_t CIncludeIndex::MemoKeyHash::operator()(const MemoKey& key) const {
    uint64_t h = static_cast<uint32_t>(key.file);
    h = h * 0x9E3779B97F4A7C15ull + static_cast<uint32_t>(key.chain);
    h = h * 0x9E3779B97F4A7C15ull + static_cast<uint32_t>(key.name);
    return static_cast<size_t>(h ^ (h >> 29));
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
    m_chain.push_back(id);
    m_onChain[static_cast<size_t>(id)] = 1;
    AssignComponents(id);
    const bool result = m_files[static_cast<size_t>(id)]->cyclic ? RefersFrom(id, nameId, name)
                                                                 : ComputeRefers(id, nameId, name);
    m_onChain[static_cast<size_t>(id)] = 0;
    m_chain.pop_back();
    m_lastAnswers.emplace(nameId, result);
    return result;
}

bool CIncludeIndex::RefersFrom(int id, int nameId, const std::string& name) {
    const MemoKey key{id, ChainId(id), nameId};
    const auto known = m_refersMemo.find(key);
    if (known != m_refersMemo.end()) {
        return known->second;
    }
    const bool result = ComputeRefers(id, nameId, name);
    m_refersMemo.emplace(key, result);
    return result;
}

bool CIncludeIndex::ComputeRefers(int id, int nameId, const std::string& name) {
    // The test is an "or" over everything it meets, so the order is free:
    // names in heads first, then what lies below the includes (the same for
    // every name, so remembered once per file), the scans of blocks last.
    const std::vector<int>& includes = Includes(id);
    auto reachable = [&](int target) { return m_onChain[static_cast<size_t>(target)] == 0; };
    bool result = std::any_of(includes.begin(), includes.end(), [&](int target) {
        const std::vector<int>& ids = Scanned(target).sortedPieceIds;
        return reachable(target) && std::binary_search(ids.begin(), ids.end(), nameId);
    });
    for (size_t i = 0; !result && i < includes.size(); ++i) {
        const int target = includes[i];
        if (!reachable(target)) {
            continue;
        }
        m_chain.push_back(target);
        m_onChain[static_cast<size_t>(target)] = 1;
        result = NamesFoundBelow(target);
        m_onChain[static_cast<size_t>(target)] = 0;
        m_chain.pop_back();
    }
    for (size_t i = 0; !result && i < includes.size(); ++i) {
        result = reachable(includes[i]) && BlocksMention(includes[i], nameId, name);
    }
    return result;
}

bool CIncludeIndex::BlocksMention(int id, int nameId, const std::string& name) {
    const FileEntry& scanned = Scanned(id);
    if (scanned.blocks.empty() ||
        (name.find('\0') == npos && !HasAllGrams(scanned.gramBits, name))) {
        return false; // cheaper than remembering
    }
    const MemoKey key{id, 0, nameId};
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

bool CIncludeIndex::NamesFoundBelow(int id) {
    // Whether one of the file's head names is found through its includes;
    // the same for every name the caller looks for.
    const int chain = ChainId(id);
    FileEntry& file = *m_files[static_cast<size_t>(id)];
    if (chain == 0 && file.below >= 0) {
        return file.below == 1;
    }
    const MemoKey key{id, chain, -1};
    if (chain != 0) {
        const auto known = m_belowMemo.find(key);
        if (known != m_belowMemo.end()) {
            return known->second;
        }
    }
    bool result = false;
    const FileEntry& entry = Scanned(id);
    for (size_t i = 0; !result && i < entry.pieces.size(); ++i) {
        result = RefersFrom(id, entry.pieceNameIds[i], entry.pieces[i]);
    }
    if (chain == 0) {
        file.below = result ? 1 : 0;
    } else {
        m_belowMemo.emplace(key, result);
    }
    return result;
}

void CIncludeIndex::SetCurrentFile(const std::string* path, const std::string* includeList) {
    m_pCurrentPath = path;
    m_pCurrentIncludes = includeList;
}
