#pragma once

#include "search/SearchHit.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CClassNode;
class CIncludeIndex;
class CWalkGuard;
class IUserInterface;

// One column of the results list: its title and width.
struct SearchColumn {
    std::string title;
    int width = 0;
    bool operator==(const SearchColumn& other) const = default;
};

// Searches a source tree for where a class or a member function is used.
// The search works on flat text: comments, preprocessor lines and string
// literals are stripped, and blocks are found by their braces. The object owns
// the hits of its last search until the next one starts.
//
// Modes: 'H' headers whose classes mention the class, 'C' function
// definitions that mention the class, 'F' function definitions that use the
// member function.
class CSourceSearch {
public:
    CSourceSearch();
    ~CSourceSearch();
    CSourceSearch(const CSourceSearch&) = delete;
    CSourceSearch& operator=(const CSourceSearch&) = delete;

    // The interactive sequence for a class (modes 'H', 'C') or a member
    // function (mode 'F'): asks for the folder, shows the progress text, runs
    // the search. True when a search ran; the caller then shows Hits() with
    // Columns(LastMode()). False, silently, for a node that is neither a class
    // nor a member function, a member function without its class, or a
    // cancelled folder choice.
    bool SearchForNode(char mode, CClassNode* node, IUserInterface& ui);

    // Stores the names and the directory, empties all three hit lists and
    // walks the directory tree.
    void Search(const std::string& className, const std::string& functionName,
                const std::string& directory, char mode);

    // The hits of the last search, in the order found.
    const std::vector<CSearchHit>& HeaderHits() const { return m_headerHits; }
    const std::vector<CSearchHit>& ClassHits() const { return m_classHits; }
    const std::vector<CSearchHit>& FunctionHits() const { return m_functionHits; }
    // The list a mode fills; an empty list for any other mode.
    const std::vector<CSearchHit>& HitsFor(char mode) const;
    // The list of the last search's mode.
    const std::vector<CSearchHit>& Hits() const { return HitsFor(m_cMode); }
    // Mode of the last search; ' ' before the first.
    char LastMode() const { return m_cMode; }
    // The result columns of a mode: 'H' class and file, 'C' and 'F' class,
    // name and file, none for any other mode.
    static std::vector<SearchColumn> Columns(char mode);

    const std::string& GetClassName() const { return m_strClassName; }
    const std::string& GetFunctionName() const { return m_strFunctionName; }
    // With a trailing "/".
    const std::string& GetSearchDirectory() const { return m_strSearchDir; }

    // Steps of a search; public so that each can be exercised on its own.
    // BeginSearch stores the names and the directory, empties the hit lists
    // and forgets the texts kept from an earlier search.
    void BeginSearch(const std::string& className, const std::string& functionName,
                     const std::string& directory);
    void WalkDirectory(const std::string& directory, char mode);
    void SearchHeaderFile(const std::string& path);
    void SearchSourceFile(const std::string& path, char mode);
    void FindClassUseInFunctions(const std::string& text, const std::string& path);
    void FindFunctionUse(const std::string& text, const std::string& path);
    void AddUseIfIncluded(const std::string& classPart, const std::string& functionPart,
                          const std::string& path);
    bool IncludesRefer(const std::string& path, const std::string& name);
    void AddHeaderHit(const std::string& className, const std::string& name,
                      const std::string& path);
    void AddClassHit(const std::string& className, const std::string& name,
                     const std::string& path);
    void AddFunctionHit(const std::string& className, const std::string& name,
                        const std::string& path);

    // Text operations. None keeps state; positions are 0-based, -1 for none.
    // A file that cannot be opened (or is no regular file) reads as "".
    static std::string ReadCodeText(const std::string& path);
    static std::string ReadIncludeList(const std::string& path);
    // The same on a file's contents already in memory.
    static std::string CodeTextOf(std::string_view contents);
    static std::string IncludeListOf(std::string_view contents);
    // Both at once, for a file that the include test may need as well.
    static std::string CodeTextAndIncludeList(std::string_view contents, std::string& includeList);
    // The cleaning every line goes through in both readers; inBlockComment
    // carries the state from line to line.
    static void CleanLine(std::string& line, bool& inBlockComment);

    static int FindClosing(const std::string& text, const std::string& opener,
                           const std::string& closer, int start);
    static std::string FirstBlockContent(const std::string& text, const std::string& opener,
                                         const std::string& closer);
    static std::string EmptyFirstBlock(const std::string& text, const std::string& opener,
                                       const std::string& closer);
    static std::string RemoveFirstBlock(const std::string& text, const std::string& opener,
                                        const std::string& closer);
    static std::string EmptyAllBlocks(const std::string& text, const std::string& opener,
                                      const std::string& closer);
    static std::string RemoveAllBlocks(const std::string& text, const std::string& opener,
                                       const std::string& closer);
    static int FindLastClassKeyword(const std::string& text);
    // Every occurrence of pair deleted, again and again while any is left.
    static std::string RemovePairs(std::string text, const std::string& pair);
    // The head rule: class part ("-" when unqualified) and function part of
    // the text in front of a function body.
    static void SplitHead(const std::string& head, std::string& classPart,
                          std::string& functionPart);

private:
    std::vector<CSearchHit> m_headerHits;
    std::vector<CSearchHit> m_classHits;
    std::vector<CSearchHit> m_functionHits;
    std::string m_strClassName;
    std::string m_strFunctionName;
    std::string m_strSearchDir;
    char m_cMode = ' ';
    // Kept for the length of one search only.
    std::unique_ptr<CIncludeIndex> m_pIncludes;
    std::unique_ptr<CWalkGuard> m_pWalkGuard;
};
