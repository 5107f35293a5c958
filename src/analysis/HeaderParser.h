#pragma once

#include "platform/LineSource.h"

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

class CClassNode;
class CClassRoot;
class CWalkGuard;
class IUserInterface;

// Reads header files into one flat list of classes and members under a root,
// then numbers the entries and hangs each under its base or owning class.
// It is not a C++ parser: it cuts cleaned lines into statements and looks at
// each by its first words and its parentheses.
class CHeaderParser {
public:
    explicit CHeaderParser(IUserInterface& ui);
    // Leaves m_pRoot alone: whoever used the parser takes the root over.
    virtual ~CHeaderParser();
    CHeaderParser(const CHeaderParser&) = delete;
    CHeaderParser& operator=(const CHeaderParser&) = delete;

    // Header scan
    void ScanDirectory(const std::string& path);
    void ScanTree(const std::string& directory);
    // False when the file cannot be read (the user has been told).
    bool ParseFile(const std::string& path);
    // Parses a header's text as if it had been read from path.
    void ParseText(const std::string& path, std::string_view text);

    // Declaration parser
    void BeginFile(const std::string& path);
    std::string ReadStatement(CLineSource& file, bool& more);
    // Cleans one line in place; returns whether a block comment is still open.
    static bool StripComments(bool inComment, bool& inDirective, std::string& line);
    static void NormalizeSpacing(std::string& line);
    void HandleStatement(std::string_view statement);
    void ParseClassHead(std::string_view statement);
    void ParseTemplateHead(std::string_view statement);
    void ParseMember(std::string_view statement);

    // Dependency ordering and IDs
    void OrderAndNumber();
    int NumberEntries();
    void LinkToBases(int nextId);

    // After a re-scan: location, name and descriptions from the previous
    // structure, matched by kind and name.
    void CarryOver(CClassRoot* old);

    // Headers read so far and placeholder classes made by LinkToBases.
    int GetFilesRead() const { return m_filesRead; }
    int GetPlaceholderCount() const { return m_placeholders; }

    CClassRoot* m_pRoot = nullptr;

private:
    void EnsureRoot();
    void EnsureClassIndex();
    void ScanTree(const std::string& directory, CWalkGuard& guard);
    void ReadStatementInto(CLineSource& file, bool& more, std::string& statement);
    void CleanLine(std::string_view raw, bool& inDirective);
    void TrackDeadBlock(std::string_view directive);
    void ClearWork();
    size_t NextTerminator(size_t from);
    void AppendPiece(std::string& statement, std::string_view piece);
    size_t CutPosition(std::string_view rest, const std::string& statement);
    bool OpensInitializer(const std::string& statement, std::string_view before);
    void AddToRoot(CClassNode* node);

    IUserInterface& m_ui;
    bool m_progressOpen = false;

    // Per-file parse state. The rest of the last line (the text after the
    // previous cut) is m_work from m_workPos on; it is clean already.
    std::string m_work;
    size_t m_workPos = 0;
    int m_workLine = 0;
    // Braces of an initialiser still open in the statement being read: their
    // ";" and "}" cut nothing.
    int m_initDepth = 0;
    // Where the next ";", "{" and "}" of m_work stand (NextTerminator).
    std::array<size_t, 3> m_next{};
    int m_line = 1;
    int m_linesInFile = 0;
    bool m_inComment = false;
    int m_deadDepth = 0; // nesting inside '#if 0'
    bool m_membersOn = true;
    bool m_afterFunction = false;
    std::string m_filePath;
    int m_depth = 0;
    int m_bodyDepth = 0;
    int m_linesRead = 0;
    CClassNode* m_pClass = nullptr;
    int m_classDepth = 0;

    // Classes at the top level of the root by name, for the duplicate check.
    std::unordered_map<std::string_view, CClassNode*> m_classes;
    const CClassRoot* m_indexedRoot = nullptr;
    int m_indexedCount = 0;

    std::string m_fileText;
    std::string m_scratch;
    std::string m_joined;
    std::string m_statement;
    int m_filesRead = 0;
    int m_placeholders = 0;
};
