#include "analysis/HeaderParser.h"

#include "analysis/HeaderText.h"
#include "model/ClassRoot.h"
#include "platform/FileServices.h"
#include "platform/UserInterface.h"

#include <vector>

namespace {

constexpr size_t kNone = std::string_view::npos;
// A position cache that has not been filled for the current line.
constexpr size_t kUnknown = kNone - 1;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Only ".h" in any letter case: "a.hpp", "a.inl" and names without an
// extension are no headers.
bool IsHeaderName(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot != std::string::npos && dot + 2 == name.size() &&
           (name[dot + 1] == 'h' || name[dot + 1] == 'H');
}

void EraseFirst(std::string& text, std::string_view word) {
    const size_t pos = text.find(word);
    if (pos != std::string::npos) {
        text.erase(pos, word.size());
    }
}

void RemoveSemicolons(std::string& text) {
    std::erase(text, ';');
}

void CutThroughFirstColon(std::string& text) {
    const size_t colon = text.find(':');
    if (colon != std::string::npos) {
        text.erase(0, colon + 1);
    }
}

} // namespace

CHeaderParser::CHeaderParser(IUserInterface& ui) : m_ui(ui) {}

CHeaderParser::~CHeaderParser() = default;

void CHeaderParser::EnsureRoot() {
    if (m_pRoot == nullptr) {
        m_pRoot = new CClassRoot;
    }
}

// The index stands for a search among the root's top-level classes. It is
// rebuilt when the root or its list changed behind the parser's back.
void CHeaderParser::EnsureClassIndex() {
    const int count = m_pRoot->GetChildCount();
    if (m_indexedRoot == m_pRoot && m_indexedCount == count && (count > 0 || m_classes.empty())) {
        return;
    }
    m_classes.clear();
    for (int i = 0; i < m_pRoot->GetChildCount(); ++i) {
        CClassNode* child = m_pRoot->GetChild(i);
        if (child != nullptr && child->GetKind() == KindClass) {
            m_classes.emplace(child->GetName(), child);
        }
    }
    m_indexedRoot = m_pRoot;
    m_indexedCount = m_pRoot->GetChildCount();
}

void CHeaderParser::AddToRoot(CClassNode* node) {
    m_pRoot->AddChild(node);
    if (m_indexedRoot == m_pRoot) {
        m_indexedCount = m_pRoot->GetChildCount();
    }
}

void CHeaderParser::ScanDirectory(const std::string& path) {
    m_ui.ShowProgress();
    m_progressOpen = true;
    EnsureRoot();
    CWalkGuard guard;
    ScanTree(path, guard);
    m_ui.HideProgress();
    m_progressOpen = false;
}

void CHeaderParser::ScanTree(const std::string& directory) {
    EnsureRoot();
    CWalkGuard guard;
    ScanTree(directory, guard);
}

void CHeaderParser::ScanTree(const std::string& directory, CWalkGuard& guard) {
    if (!guard.Enter(directory)) {
        return;
    }
    std::vector<DirEntry> entries;
    if (!ListDirectory(directory, entries)) {
        return;
    }
    for (const DirEntry& entry : entries) {
        m_ui.SetProgressText("Parse " + entry.path + " ...");
        if (!entry.isDirectory) {
            if (IsHeaderName(entry.name)) {
                ParseFile(entry.path);
            }
        } else {
            ScanTree(entry.path, guard);
        }
    }
}

bool CHeaderParser::ParseFile(const std::string& path) {
    if (!ReadWholeFile(path, m_fileText)) {
        m_ui.ShowMessage("Datei " + path + " konnte nicht geöffnet werden!");
        return false;
    }
    ++m_filesRead;
    ParseText(path, m_fileText);
    return true;
}

void CHeaderParser::ParseText(const std::string& path, std::string_view text) {
    EnsureRoot();
    EnsureClassIndex();
    BeginFile(path);
    CLineSource lines(text);
    bool more = true;
    do {
        ReadStatementInto(lines, more, m_statement);
        HandleStatement(m_statement);
    } while (more);
}

void CHeaderParser::BeginFile(const std::string& path) {
    m_line = 1;
    m_linesInFile = 0;
    m_inComment = false;
    ClearWork();
    m_workLine = 0;
    m_pClass = nullptr;
    m_classDepth = 0;
    m_filePath = path;
    m_depth = 0;
    m_bodyDepth = 0;
    m_afterFunction = false;
    m_membersOn = true;
    m_linesRead = 0;
}

bool CHeaderParser::StripComments(bool inComment, bool& inDirective, std::string& line) {
    std::string stripped;
    inComment = RemoveCommentsAndStrings(inComment, line, stripped);
    line.clear();
    if (stripped.empty()) {
        return inComment;
    }
    const std::string_view trimmed = Trim(stripped);
    if (!trimmed.empty() && (trimmed.front() == '#' || inDirective)) {
        inDirective = trimmed.back() == '\\';
        return inComment;
    }
    AppendNormalized(trimmed, line);
    return inComment;
}

void CHeaderParser::NormalizeSpacing(std::string& line) {
    const std::string text = std::move(line);
    line.clear();
    AppendNormalized(text, line);
}

// StripComments on the parser's own buffers, without allocating per line.
void CHeaderParser::CleanLine(std::string_view raw, bool& inDirective) {
    m_scratch.clear();
    m_inComment = RemoveCommentsAndStrings(m_inComment, raw, m_scratch);
    ClearWork();
    if (m_scratch.empty()) {
        return;
    }
    const std::string_view trimmed = Trim(m_scratch);
    if (!trimmed.empty() && (trimmed.front() == '#' || inDirective)) {
        inDirective = trimmed.back() == '\\';
        return;
    }
    AppendNormalized(trimmed, m_work);
}

void CHeaderParser::ClearWork() {
    m_work.clear();
    m_workPos = 0;
    m_nextSemicolon = m_nextOpen = m_nextClose = kUnknown;
    m_nextPublic = m_nextPrivate = m_nextProtected = kUnknown;
}

size_t CHeaderParser::FindInWork(std::string_view needle, size_t& cache) const {
    if (cache == kUnknown || (cache != kNone && cache < m_workPos)) {
        cache = std::string_view(m_work).find(needle, m_workPos);
    }
    return cache == kNone ? kNone : cache - m_workPos;
}

// Pieces from different lines are joined by one blank, which the spacing
// rules treat like any other blank ('CBar,' + 'public CBaz' stays one word).
void CHeaderParser::AppendPiece(std::string& statement, std::string_view piece) {
    if (piece.empty()) {
        return;
    }
    if (statement.empty()) {
        statement.append(piece);
        return;
    }
    m_scratch.assign(1, ' ');
    m_scratch.append(piece);
    AppendNormalized(m_scratch, statement);
}

// Where the rest of the current line is cut, or kNone to take all of it.
size_t CHeaderParser::CutPosition(std::string_view rest, bool statementEmpty) {
    if (rest.empty()) {
        return kNone;
    }
    const size_t semicolon = FindInWork(";", m_nextSemicolon);
    const size_t open = FindInWork("{", m_nextOpen);
    const size_t close = FindInWork("}", m_nextClose);
    size_t cut = kNone;
    if (semicolon != kNone) {
        cut = semicolon + 1;
    }
    if (open != kNone && open < cut) {
        if (!statementEmpty) {
            cut = open; // the "{" starts the next statement
        } else if (close != kNone && close < open) {
            cut = open + 1; // the "}" before it wins below
        } else {
            // A "{" after other text ends a head as if it stood on the next
            // line: 'int get() const {' is a declaration, then a body.
            cut = TrimLeft(rest.substr(0, open)).empty() ? open + 1 : open;
        }
    }
    if (close != kNone && close < cut) {
        cut = statementEmpty ? close + 1 : close;
    }
    if (cut != kNone) {
        return cut;
    }
    if (const size_t at = FindInWork("public:", m_nextPublic); at != kNone) {
        return at + 7;
    }
    if (const size_t at = FindInWork("private:", m_nextPrivate); at != kNone) {
        return at + 8;
    }
    if (const size_t at = FindInWork("protected:", m_nextProtected); at != kNone) {
        return at + 10;
    }
    return kNone;
}

std::string CHeaderParser::ReadStatement(CLineSource& file, bool& more) {
    std::string statement;
    ReadStatementInto(file, more, statement);
    return statement;
}

void CHeaderParser::ReadStatementInto(CLineSource& file, bool& more, std::string& statement) {
    statement.clear();
    m_linesRead = 0;
    more = true;
    bool inDirective = false;
    bool done = false;
    bool firstPass = true;
    int firstLine = 0;
    do {
        bool directiveEnds = false;
        if (firstPass) {
            // The rest of the last line was cleaned with it.
            const std::string_view rest = Trim(std::string_view(m_work).substr(m_workPos));
            directiveEnds = !rest.empty() && rest.front() == '#' && rest.back() != '\\';
            firstPass = false;
        } else {
            std::string_view raw;
            more = file.ReadLine(raw);
            if (!more) {
                break;
            }
            ++m_linesRead;
            ++m_linesInFile;
            const std::string_view trimmed = Trim(raw);
            directiveEnds = !trimmed.empty() && (trimmed.front() == '#' || inDirective) &&
                            trimmed.back() != '\\';
            CleanLine(raw, inDirective);
            m_workLine = m_linesInFile;
        }
        const std::string_view rest = std::string_view(m_work).substr(m_workPos);
        if (!rest.empty() && firstLine == 0) {
            firstLine = m_workLine;
        }
        const size_t cut = CutPosition(rest, statement.empty());
        if (cut == kNone) {
            AppendPiece(statement, rest);
            m_workPos = m_work.size();
            done = directiveEnds;
        } else {
            AppendPiece(statement, rest.substr(0, cut));
            m_workPos += cut;
            done = true;
        }
    } while (more && !done);
    // The statement's line is the line of its first text, also when that
    // text is the rest of a line whose start was an earlier statement.
    m_line = firstLine != 0 ? firstLine : m_linesInFile + 1;
}

void CHeaderParser::HandleStatement(std::string_view statement) {
    if (statement.empty()) {
        return;
    }
    const std::string_view text = TrimLeft(statement);
    if (StartsWith(text, "class ")) {
        ParseClassHead(text);
    } else if (StartsWith(text, "template")) {
        ParseTemplateHead(text);
    } else if (statement.find('{') != kNone) {
        if (m_afterFunction) {
            m_bodyDepth = m_depth;
            m_membersOn = false;
            m_afterFunction = false;
        }
        ++m_depth;
    } else if (statement.find('}') == kNone) {
        ParseMember(statement);
    } else {
        --m_depth;
        if (!m_membersOn && m_depth == m_bodyDepth) {
            m_membersOn = true;
            m_bodyDepth = 0;
            m_afterFunction = false;
        }
        if (m_pClass != nullptr && m_depth == m_classDepth) {
            m_pClass = nullptr;
        }
    }
}

void CHeaderParser::ParseClassHead(std::string_view statement) {
    m_pClass = nullptr;
    const std::string_view rest = TrimLeft(statement.substr(std::min<size_t>(5, statement.size())));
    if (rest.find(';') != kNone) {
        return; // a forward declaration
    }
    std::string_view head;
    std::string base;
    const size_t colon = rest.find(':');
    if (colon == kNone) {
        head = TrimRight(rest);
    } else {
        head = Trim(rest.substr(0, colon));
        std::string_view after = Trim(rest.substr(colon + 1));
        // Drop the access word: 'public CBar,protected CBaz' -> 'CBar,protected'.
        const size_t wordEnd = after.find_first_of(" :");
        after = wordEnd == kNone ? std::string_view() : TrimLeft(after.substr(wordEnd));
        base = after.substr(0, after.find_first_of(" :"));
        EraseFirst(base, ",public");
        EraseFirst(base, ",protected");
        EraseFirst(base, ",private");
        base = Trim(base);
    }
    const size_t lastBlank = head.rfind(' ');
    const std::string_view name = lastBlank == kNone ? head : head.substr(lastBlank + 1);
    if (name.empty()) {
        return; // an unnamed class: nothing to hang members on
    }
    EnsureRoot();
    EnsureClassIndex();
    CClassNode* node = nullptr;
    if (const auto found = m_classes.find(name); found != m_classes.end()) {
        node = found->second;
    } else {
        node = new CClassNode;
        node->SetHeaderFile(m_filePath);
        node->SetLine(m_line);
        node->SetName(std::string(name));
        node->m_strBaseName = base;
        node->m_nParentId = m_depth;
        AddToRoot(node);
        m_classes.emplace(node->GetName(), node);
    }
    m_pClass = node;
    // The body ends at the depth of this head, also for a class seen before.
    m_classDepth = m_depth;
    m_afterFunction = false;
}

void CHeaderParser::ParseTemplateHead(std::string_view statement) {
    const std::string_view rest = TrimLeft(statement.substr(std::min<size_t>(8, statement.size())));
    std::string text;
    const size_t less = rest.find('<');
    if (less == kNone) {
        text = rest;
    } else {
        text = rest.substr(0, less);
        int nesting = 0;
        for (size_t i = less; i < rest.size(); ++i) {
            if (rest[i] == '<') {
                ++nesting;
            } else if (rest[i] == '>' && --nesting == 0) {
                text.append(rest.substr(i + 1));
                break;
            }
        }
    }
    const std::string_view declaration = TrimLeft(text);
    if (StartsWith(declaration, "class ")) {
        ParseClassHead(declaration);
    } else if (m_pClass != nullptr && m_membersOn) {
        // A member function template: its body, if one follows, is skipped
        // like that of any other member function.
        const size_t close = declaration.rfind(')');
        if (close != kNone && close >= 1) {
            m_afterFunction = true;
        }
    }
}

void CHeaderParser::ParseMember(std::string_view statement) {
    if (statement.empty() || m_pClass == nullptr || !m_membersOn) {
        return;
    }
    const size_t close = statement.rfind(')');
    const bool isFunction = close != kNone && close >= 1;
    size_t open = 0;
    size_t end = 0;
    if (isFunction) {
        int count = 1;
        size_t i = close;
        bool matched = false;
        while (i-- > 1) {
            if (statement[i] == ')') {
                ++count;
            } else if (statement[i] == '(' && --count == 0) {
                matched = true;
                break;
            }
        }
        if (!matched) {
            return;
        }
        open = i;
        end = open - 1;
    } else {
        end = statement.find(';');
        if (end == kNone || end == 0) {
            return;
        }
    }
    m_afterFunction = isFunction;
    if (isFunction && open == 1) {
        return;
    }
    std::string parameters;
    if (isFunction) {
        parameters = Trim(statement.substr(open + 1, close - open - 1));
    }
    const size_t blank = statement.rfind(' ', end - 1);
    const size_t nameFrom = blank == kNone ? 0 : blank;
    std::string name(Trim(statement.substr(nameFrom, end - nameFrom + 1)));
    std::string type;
    if (blank != kNone && blank >= 1 && !name.empty() && name.front() != '~') {
        const size_t colon = statement.rfind(':', blank - 1);
        const size_t typeFrom = colon == kNone ? 0 : colon;
        type = Trim(statement.substr(typeFrom, blank - typeFrom + 1));
    }
    for (std::string* text : {&name, &type, &parameters}) {
        RemoveSemicolons(*text);
        CutThroughFirstColon(*text);
    }
    const std::string& className = m_pClass->GetName();
    if (isFunction && type.empty()) {
        if (name == className) {
            type = "constructor";
        } else if (name.size() == className.size() + 1 && name.front() == '~' &&
                   name.compare(1, std::string::npos, className) == 0) {
            type = "destructor";
        }
    }
    if (type.empty() || name.empty() || type.find("friend class") != std::string::npos) {
        return;
    }
    std::vector<std::string> names;
    if (!isFunction && name.find(',') != std::string::npos) {
        std::string_view list = name;
        for (size_t comma = list.find(','); comma != kNone; comma = list.find(',')) {
            names.emplace_back(Trim(list.substr(0, comma)));
            list.remove_prefix(comma + 1);
        }
        names.emplace_back(Trim(list));
    } else {
        names.push_back(std::move(name));
    }
    bool isOperator = false;
    if (const size_t word = type.find("operator"); word != std::string::npos) {
        type.erase(word, 8);
        isOperator = true;
    }
    for (std::string& member : names) {
        if (member.empty()) {
            continue; // 'int a,,b;' has no third name
        }
        auto* node = new CClassNode;
        node->SetName(isOperator ? "operator " + member : member);
        node->SetParameters(parameters);
        node->SetTypeText(type);
        node->SetKind(isFunction ? KindFunction : KindVariable);
        node->m_strBaseName = className;
        node->SetLine(m_line);
        node->SetHeaderFile(m_pClass->GetHeaderPath());
        AddToRoot(node);
    }
}
