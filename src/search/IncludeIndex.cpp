#include "search/IncludeIndex.h"

#include "search/SearchText.h"
#include "search/SourceSearch.h"

#include <algorithm>
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

struct CIncludeIndex::FileEntry {
    std::string path;
    bool includesRead = false;
    std::vector<int> includes;
    bool scanned = false;
    std::vector<std::string> blocks; // the blocks the test examines
    std::string joinedBlocks;        // the same, each followed by a NUL
    std::vector<std::string> pieces; // names from class heads, first occurrence order
    std::unordered_set<std::string> pieceSet;
    // Strongly connected component of the include graph.
    int component = -1;
    bool cyclic = false;
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

const std::vector<int>& CIncludeIndex::Includes(int id) {
    FileEntry& entry = *m_files[static_cast<size_t>(id)];
    if (!entry.includesRead) {
        entry.includesRead = true;
        const std::string list = CSourceSearch::ReadIncludeList(entry.path);
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
    const std::string text = CSourceSearch::ReadCodeText(entry.path);
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
            if (entry.pieceSet.insert(piece).second) {
                entry.pieces.push_back(std::move(piece));
            }
        }
    }
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

std::string CIncludeIndex::ChainKey(int id) {
    // The answer for a file depends on the chain only through the chain's
    // files that the file can reach again: those of its own cycle.
    AssignComponents(id);
    const FileEntry& entry = *m_files[static_cast<size_t>(id)];
    std::string key = std::to_string(id);
    if (entry.cyclic) {
        std::vector<int> inCycle;
        for (const int onChain : m_chain) {
            if (m_files[static_cast<size_t>(onChain)]->component == entry.component) {
                inCycle.push_back(onChain);
            }
        }
        std::sort(inCycle.begin(), inCycle.end());
        for (const int member : inCycle) {
            key += ',';
            key += std::to_string(member);
        }
    }
    key += '\x1f';
    return key;
}

bool CIncludeIndex::Refers(const std::string& path, const std::string& name) {
    const int id = IdOf(path);
    if (id < 0) {
        return false;
    }
    m_chain.push_back(id);
    m_onChain[static_cast<size_t>(id)] = 1;
    const bool result = RefersFrom(id, name);
    m_onChain[static_cast<size_t>(id)] = 0;
    m_chain.pop_back();
    return result;
}

bool CIncludeIndex::RefersFrom(int id, const std::string& name) {
    const std::string key = ChainKey(id) + name;
    const auto known = m_refersMemo.find(key);
    if (known != m_refersMemo.end()) {
        return known->second;
    }
    // The test is an "or" over everything it meets, so the order is free:
    // names in heads first, then what lies below the includes (the same for
    // every name, so remembered once per file), the scans of blocks last.
    const std::vector<int> includes = Includes(id);
    auto reachable = [&](int target) { return m_onChain[static_cast<size_t>(target)] == 0; };
    bool result = std::any_of(includes.begin(), includes.end(), [&](int target) {
        return reachable(target) && Scanned(target).pieceSet.count(name) > 0;
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
        result = reachable(includes[i]) && BlocksMention(includes[i], name);
    }
    m_refersMemo.emplace(key, result);
    return result;
}

bool CIncludeIndex::BlocksMention(int id, const std::string& name) {
    std::string key = std::to_string(id);
    key += '\x1f';
    key += name;
    const auto known = m_blocksMemo.find(key);
    if (known != m_blocksMemo.end()) {
        return known->second;
    }
    const FileEntry& entry = Scanned(id);
    bool result = false;
    if (entry.blocks.empty()) {
        result = false; // the empty name too: no block, nothing mentioned
    } else if (name.find('\0') == npos) {
        // One search over all blocks, kept apart by a character no name holds.
        result = Mentions(entry.joinedBlocks, name);
    } else {
        result = std::any_of(entry.blocks.begin(), entry.blocks.end(),
                             [&](const std::string& block) { return Mentions(block, name); });
    }
    m_blocksMemo.emplace(std::move(key), result);
    return result;
}

bool CIncludeIndex::NamesFoundBelow(int id) {
    // Whether one of the file's head names is found through its includes;
    // the same for every name the caller looks for.
    const std::string key = ChainKey(id);
    const auto known = m_belowMemo.find(key);
    if (known != m_belowMemo.end()) {
        return known->second;
    }
    bool result = false;
    const std::vector<std::string> pieces = Scanned(id).pieces;
    for (const std::string& piece : pieces) {
        if (RefersFrom(id, piece)) {
            result = true;
            break;
        }
    }
    m_belowMemo.emplace(key, result);
    return result;
}
