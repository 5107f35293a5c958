#include "analysis/HeaderParser.h"

#include "analysis/ClassHead.h"
#include "analysis/HeaderText.h"
#include "analysis/MemberStatement.h"
#include "model/ClassRoot.h"
#include "platform/FileServices.h"
#include "platform/UserInterface.h"

#include <algorithm>
#include <vector>

namespace {

constexpr size_t kNone = std::string_view::npos;
// A remembered position that has not been looked for on the current line.
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
    m_deadDepth = 0;
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
        if (!inDirective) {
            TrackDeadBlock(trimmed);
        }
        inDirective = trimmed.back() == '\\';
        return;
    }
    if (m_deadDepth == 0) {
        AppendNormalized(trimmed, m_work);
    }
}

// '#if 0' up to its '#else', '#elif' or '#endif' is never compiled: nothing
// in it is recorded.
void CHeaderParser::TrackDeadBlock(std::string_view directive) {
    directive = TrimLeft(directive.substr(1));
    size_t end = 0;
    while (end < directive.size() && directive[end] >= 'a' && directive[end] <= 'z') {
        ++end;
    }
    const std::string_view word = directive.substr(0, end);
    if (word == "if" || word == "ifdef" || word == "ifndef") {
        if (m_deadDepth > 0) {
            ++m_deadDepth;
        } else if (word == "if" && Trim(directive.substr(end)) == "0") {
            m_deadDepth = 1;
        }
    } else if (m_deadDepth > 0 && word == "endif") {
        --m_deadDepth;
    } else if (m_deadDepth == 1 && (word == "else" || word == "elif")) {
        m_deadDepth = 0;
    }
}

void CHeaderParser::ClearWork() {
    m_work.clear();
    m_workPos = 0;
    m_next.fill(kUnknown);
}

// The first ";", "{" or "}" of the rest of the line at or after from. The
// next place of each is remembered, so that a long line with many statements
// is searched once, not once per statement.
size_t CHeaderParser::NextTerminator(size_t from) {
    static constexpr char kTerminators[] = {';', '{', '}'};
    const size_t start = m_workPos + from;
    size_t first = kNone;
    for (size_t i = 0; i < m_next.size(); ++i) {
        if (m_next[i] == kUnknown || (m_next[i] != kNone && m_next[i] < start)) {
            m_next[i] = m_work.find(kTerminators[i], start);
        }
        first = std::min(first, m_next[i]);
    }
    return first == kNone ? kNone : first - m_workPos;
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
// Each search stops at the first terminator, so a long line with many
// statements is read once, not once per statement.
size_t CHeaderParser::CutPosition(std::string_view rest, const std::string& statement) {
    size_t pos = 0;
    for (;;) {
        const size_t at = NextTerminator(pos);
        if (at == kNone) {
            break;
        }
        pos = at + 1;
        const char c = rest[at];
        if (c == ';' && m_initDepth > 0) {
            continue;
        }
        if (m_initDepth > 0) {
            m_initDepth += c == '{' ? 1 : -1;
            continue;
        }
        if (c == ';') {
            return at + 1;
        }
        if (c == '}') {
            return statement.empty() ? at + 1 : at;
        }
        if (OpensInitializer(statement, rest.substr(0, at))) {
            m_initDepth = 1;
            continue;
        }
        // A "{" after other text ends a head as if it stood on the next
        // line: 'int get() const {' is a declaration, then a body.
        if (!statement.empty() || !TrimLeft(rest.substr(0, at)).empty()) {
            return at;
        }
        return at + 1;
    }
    if (pos > 0) {
        return kNone; // inside or after an initialiser
    }
    if (const size_t at = rest.find("public:"); at != kNone) {
        return at + 7;
    }
    if (const size_t at = rest.find("private:"); at != kNone) {
        return at + 8;
    }
    if (const size_t at = rest.find("protected:"); at != kNone) {
        return at + 10;
    }
    return kNone;
}

bool CHeaderParser::OpensInitializer(const std::string& statement, std::string_view before) {
    if (statement.empty()) {
        return IsInitializerBrace(before);
    }
    m_joined.assign(statement);
    if (before.empty()) {
        m_joined.push_back(' '); // the brace starts a line of its own
    } else {
        AppendPiece(m_joined, before);
    }
    return IsInitializerBrace(m_joined);
}

std::string CHeaderParser::ReadStatement(CLineSource& file, bool& more) {
    std::string statement;
    ReadStatementInto(file, more, statement);
    return statement;
}

void CHeaderParser::ReadStatementInto(CLineSource& file, bool& more, std::string& statement) {
    statement.clear();
    m_linesRead = 0;
    m_initDepth = 0;
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
            // A macro line is a statement of its own: it ends the one before
            // it, unless it stands inside that one's parentheses.
            if (!statement.empty() && m_initDepth == 0 && IsMacroLine(m_work) &&
                std::count(statement.begin(), statement.end(), '(') ==
                    std::count(statement.begin(), statement.end(), ')')) {
                break;
            }
        }
        const std::string_view rest = std::string_view(m_work).substr(m_workPos);
        if (!rest.empty() && firstLine == 0) {
            firstLine = m_workLine;
        }
        const size_t cut = CutPosition(rest, statement);
        if (cut == kNone) {
            AppendPiece(statement, rest);
            m_workPos = m_work.size();
            done = directiveEnds || (m_initDepth == 0 && IsMacroLine(statement));
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
        return;
    }
    if (StartsWith(text, "template")) {
        ParseTemplateHead(text);
        return;
    }
    // Braces paired inside the statement belong to an initialiser.
    int open = 0;
    bool unpairedClose = false;
    const bool braces = text.find('{') != kNone || text.find('}') != kNone;
    for (const char c : braces ? text : std::string_view()) {
        if (c == '{') {
            ++open;
        } else if (c == '}') {
            unpairedClose = unpairedClose || open == 0;
            open = open > 0 ? open - 1 : 0;
        }
    }
    if (open > 0) {
        if (m_afterFunction) {
            m_bodyDepth = m_depth;
            m_membersOn = false;
            m_afterFunction = false;
        }
        ++m_depth;
    } else if (!unpairedClose) {
        if (!IsMacroLine(text)) {
            ParseMember(statement);
        }
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
    ClassHead head = SplitClassHead(rest);
    if (head.name.empty()) {
        return; // an unnamed class: nothing to hang members on
    }
    EnsureRoot();
    EnsureClassIndex();
    CClassNode* node = nullptr;
    if (const auto found = m_classes.find(head.name); found != m_classes.end()) {
        node = found->second;
    } else {
        node = new CClassNode;
        node->SetHeaderFile(m_filePath);
        node->SetLine(m_line);
        node->SetName(head.name);
        node->m_strBaseName = std::move(head.base);
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
        // A "<" or ">" in parentheses compares: 'enable_if_t<(I < 4)>'.
        int nesting = 0;
        int parentheses = 0;
        for (size_t i = less; i < rest.size(); ++i) {
            if (rest[i] == '(' || rest[i] == ')') {
                parentheses += rest[i] == '(' ? 1 : -1;
            } else if (parentheses > 0) {
                continue;
            } else if (rest[i] == '<') {
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
    const std::string& className = m_pClass->GetName();
    MemberStatement member = SplitMemberStatement(statement, className);
    if (member.shape == MemberStatement::kNone) {
        return;
    }
    const bool isFunction = member.shape == MemberStatement::kFunction;
    m_afterFunction = isFunction;
    for (std::string& name : member.names) {
        auto* node = new CClassNode;
        node->SetName(std::move(name));
        node->SetParameters(member.parameters);
        node->SetTypeText(member.typeText);
        node->SetKind(isFunction ? KindFunction : KindVariable);
        node->m_strBaseName = className;
        node->SetLine(m_line);
        node->SetHeaderFile(m_pClass->GetHeaderPath());
        AddToRoot(node);
    }
}
