#include "search/SourceSearch.h"

#include "analysis/ClassHead.h"
#include "model/ClassNode.h"
#include "platform/FileServices.h"
#include "platform/UserInterface.h"
#include "search/IncludeIndex.h"
#include "search/SearchText.h"

using searchtext::CBraceMatcher;
using searchtext::Mentions;
using searchtext::TrimLeftView;
using searchtext::TrimView;

namespace {

constexpr size_t npos = std::string::npos;

const char* const kFolderTitle = "Wählen Sie ein Verzeichnis, in dem alle zu durchsuchenden "
                                 "Quellcode-/Header-Dateien zu finden sind.";
const char* const kProgressText = "Parse angegebenes Verzeichnis ...";

// From the last dot on, upper-cased; empty without a dot.
std::string UpperExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == npos) {
        return {};
    }
    std::string ext = name.substr(dot);
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return ext;
}

// The block walk of the function searches. A text is only ever cut at its
// front, so it stays a suffix of the original: a cursor replaces the copies.
// wants(block) decides whether a block counts; onHead(head, block) gets the
// text in front of a counting block.
template <typename Wants, typename OnHead>
void ForEachFunctionBody(std::string_view text, Wants wants, OnHead onHead) {
    CBraceMatcher matcher(text);
    size_t pos = 0;
    size_t pairAt = npos;
    bool pairKnown = false;
    for (;;) {
        const size_t open = text.find('{', pos);
        if (open == npos) {
            return;
        }
        const long close = matcher.Closer(open);
        if (close >= 0) {
            const auto closeAt = static_cast<size_t>(close);
            const std::string_view block = TrimView(text.substr(open + 1, closeAt - open - 1));
            if (wants(block)) {
                onHead(TrimLeftView(text.substr(pos, open - pos)), block);
            }
            pos = closeAt + 1;
            continue;
        }
        // An opener without closer: its block reads as empty and the text
        // goes through the first "{}", or by one character without one.
        if (!pairKnown || (pairAt != npos && pairAt < pos)) {
            pairAt = text.find("{}", pos);
            pairKnown = true;
        }
        if (wants(std::string_view())) {
            onHead(pairAt == npos ? std::string_view() : text.substr(pos, pairAt - pos),
                   std::string_view());
        }
        pos = pairAt == npos ? pos + 1 : pairAt + 2;
    }
}

} // namespace

CSourceSearch::CSourceSearch() = default;

CSourceSearch::~CSourceSearch() = default;

const std::vector<CSearchHit>& CSourceSearch::HitsFor(char mode) const {
    static const std::vector<CSearchHit> none;
    switch (mode) {
    case 'H':
        return m_headerHits;
    case 'C':
        return m_classHits;
    case 'F':
        return m_functionHits;
    default:
        return none;
    }
}

std::vector<SearchColumn> CSourceSearch::Columns(char mode) {
    if (mode == 'C' || mode == 'F') {
        return {{"Klasse", 100}, {"Name", 100}, {"Dateiname", 240}};
    }
    if (mode == 'H') {
        return {{"Klasse", 100}, {"Dateiname", 340}};
    }
    return {};
}

bool CSourceSearch::SearchForNode(char mode, CClassNode* node, IUserInterface& ui) {
    if (node == nullptr) {
        return false;
    }
    std::string className;
    std::string functionName;
    if (node->GetKind() == KindClass) {
        className = node->GetName();
    } else if (node->GetKind() == KindFunction) {
        if (node->m_pParent == nullptr) {
            return false; // a member function needs its class
        }
        className = node->m_pParent->GetName();
        functionName = node->GetName();
    } else {
        return false;
    }
    const std::optional<std::string> folder = ui.ChooseFolder(kFolderTitle);
    if (!folder || folder->empty()) {
        return false;
    }
    // The search runs without handing control back, so the text must be
    // on screen before it starts.
    ui.ShowProgress();
    ui.SetProgressText(kProgressText);
    Search(className, functionName, WithTrailingSlash(*folder), mode);
    ui.HideProgress();
    return true;
}

void CSourceSearch::BeginSearch(const std::string& className, const std::string& functionName,
                                const std::string& directory) {
    m_strClassName = className;
    m_strFunctionName = functionName;
    m_strSearchDir = directory.empty() ? std::string() : WithTrailingSlash(directory);
    m_headerHits.clear();
    m_classHits.clear();
    m_functionHits.clear();
    m_pIncludes = std::make_unique<CIncludeIndex>(m_strSearchDir);
    m_pWalkGuard = std::make_unique<CWalkGuard>();
}

void CSourceSearch::Search(const std::string& className, const std::string& functionName,
                           const std::string& directory, char mode) {
    BeginSearch(className, functionName, directory);
    m_cMode = mode;
    if (!m_strSearchDir.empty()) {
        std::string walk = m_strSearchDir;
        if (walk.size() > 1) {
            walk.pop_back(); // the root keeps its slash
        }
        WalkDirectory(walk, mode);
    }
    // The texts kept for this search are not needed any more.
    m_pIncludes.reset();
    m_pWalkGuard.reset();
}

void CSourceSearch::WalkDirectory(const std::string& directory, char mode) {
    if (!m_pWalkGuard) {
        m_pWalkGuard = std::make_unique<CWalkGuard>();
    }
    const std::string dir = WithTrailingSlash(directory);
    if (!m_pWalkGuard->Enter(dir)) {
        return; // entered before (a link back into the tree) or gone
    }
    std::vector<DirEntry> entries;
    if (!ListDirectory(dir, entries)) {
        return;
    }
    for (const DirEntry& entry : entries) {
        if (entry.isDirectory) {
            WalkDirectory(entry.path, mode);
            continue;
        }
        const std::string ext = UpperExtension(entry.name);
        if (mode == 'C' || mode == 'F') {
            if (ext == ".CPP" || ext == ".C") {
                SearchSourceFile(entry.path, mode);
            }
        } else if (mode == 'H' && ext == ".H") {
            SearchHeaderFile(entry.path);
        }
    }
}

void CSourceSearch::SearchHeaderFile(const std::string& path) {
    const std::string text = ReadCodeText(path);
    // The text is the head (all text in front of the current block, kept
    // from block to block) followed by the rest of the file. The rest is the
    // file's text until a block without the class name is removed, which
    // deletes every "{}" of the rest: from then on it is that reduced copy.
    std::string reduced;
    std::string_view rest = text;
    auto matcher = std::make_unique<CBraceMatcher>(rest);
    bool isReduced = false;
    std::string head;
    size_t lastClass = npos;
    size_t pos = 0;
    for (;;) {
        const size_t open = rest.find('{', pos);
        if (open == npos) {
            return;
        }
        const long close = matcher->Closer(open);
        if (close < 0) {
            // Unpaired: drop the text through the opener and go on.
            head.clear();
            lastClass = npos;
            pos = open + 1;
            continue;
        }
        const auto closeAt = static_cast<size_t>(close);
        const std::string_view block = TrimView(rest.substr(open + 1, closeAt - open - 1));
        std::string_view chunk = rest.substr(pos, open - pos);
        if (head.empty()) {
            chunk = TrimLeftView(chunk);
        }
        const size_t old = head.size();
        head.append(chunk);
        for (size_t at = head.find("class ", old >= 5 ? old - 5 : 0); at != npos;
             at = head.find("class ", at + 6)) {
            lastClass = at;
        }
        pos = closeAt + 1;
        if (!Mentions(block, m_strClassName)) {
            if (!isReduced) {
                reduced = searchtext::RemovePairsRepeatedly(rest.substr(pos), "{}");
                rest = reduced;
                matcher = std::make_unique<CBraceMatcher>(rest);
                pos = 0;
                isReduced = true;
            }
            continue;
        }
        if (lastClass == npos) {
            continue;
        }
        // Named as the class tree names it.
        const std::string name = SplitClassHead(std::string_view(head).substr(lastClass + 6)).name;
        if (name != m_strClassName) {
            AddHeaderHit(name, "-", path);
        }
    }
}

void CSourceSearch::SearchSourceFile(const std::string& path, char mode) {
    std::string contents;
    if (!ReadWholeFile(path, contents)) {
        contents.clear(); // an unreadable file reads as empty
    }
    if (mode == 'C') {
        FindClassUseInFunctions(CodeTextOf(contents), path);
    } else if (mode == 'F') {
        // The include test may want this file's include list: read it in the
        // same pass and keep it at hand.
        std::string includeList;
        const std::string text = CodeTextAndIncludeList(contents, includeList);
        if (!m_pIncludes) {
            m_pIncludes = std::make_unique<CIncludeIndex>(m_strSearchDir);
        }
        m_pIncludes->SetCurrentFile(&path, &includeList);
        FindFunctionUse(text, path);
        m_pIncludes->SetCurrentFile(nullptr, nullptr);
    }
}

void CSourceSearch::FindClassUseInFunctions(const std::string& text, const std::string& path) {
    ForEachFunctionBody(
        text, [&](std::string_view block) { return Mentions(block, m_strClassName); },
        [&](std::string_view head, std::string_view) {
            std::string classPart;
            std::string functionPart;
            SplitHead(std::string(head), classPart, functionPart);
            AddClassHit(classPart, functionPart, path);
        });
}

void CSourceSearch::FindFunctionUse(const std::string& text, const std::string& path) {
    ForEachFunctionBody(
        text, [&](std::string_view block) { return Mentions(block, m_strFunctionName); },
        [&](std::string_view head, std::string_view block) {
            const bool mentionsClass = Mentions(block, m_strClassName);
            std::string classPart;
            std::string functionPart;
            SplitHead(std::string(head), classPart, functionPart);
            if (mentionsClass) {
                AddFunctionHit(classPart, functionPart, path);
            } else {
                AddUseIfIncluded(classPart, functionPart, path);
            }
        });
}

void CSourceSearch::AddUseIfIncluded(const std::string& classPart, const std::string& functionPart,
                                     const std::string& path) {
    if (IncludesRefer(path, classPart)) {
        AddFunctionHit(classPart, functionPart, path);
    }
}

bool CSourceSearch::IncludesRefer(const std::string& path, const std::string& name) {
    if (!m_pIncludes) {
        m_pIncludes = std::make_unique<CIncludeIndex>(m_strSearchDir);
    }
    return m_pIncludes->Refers(path, name);
}

void CSourceSearch::AddHeaderHit(const std::string& className, const std::string& name,
                                 const std::string& path) {
    m_headerHits.emplace_back(className, name, path);
}

void CSourceSearch::AddClassHit(const std::string& className, const std::string& name,
                                const std::string& path) {
    m_classHits.emplace_back(className, name, path);
}

void CSourceSearch::AddFunctionHit(const std::string& className, const std::string& name,
                                   const std::string& path) {
    m_functionHits.emplace_back(className, name, path);
}
