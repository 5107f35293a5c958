#pragma once

#include "model/NodeKind.h"
#include "model/TreeControl.h"

#include <string>
#include <vector>

class CDaoRecordset;
class CHtmlFile;
class IMemberList;
class IUserInterface;

// One entry of a class structure: a class, a member function or a member
// variable. Every node owns the nodes in its child list unless told otherwise.
class CClassNode {
public:
    CClassNode() = default;
    CClassNode(const CClassNode&) = delete;
    CClassNode& operator=(const CClassNode&) = delete;
    virtual ~CClassNode();

    // Child list
    void AddChild(CClassNode* node);
    void RemoveChild(CClassNode* node, bool deleteIt);
    CClassNode* GetChild(int index) const;
    int GetChildCount() const { return static_cast<int>(m_children.size()); }
    void ClearChildren();
    void SetChildrenNotOwned(bool notOwned) { m_bChildrenNotOwned = notOwned; }
    bool GetChildrenNotOwned() const { return m_bChildrenNotOwned; }

    // Counts
    int CountChildren(int kind) const;
    int CountDescendants(int kind) const;
    int CountAllDescendants() const;

    // Searches: each tests this node first, whatever the kind asked for.
    CClassNode* FindChildByName(const std::string& name, int kind);
    CClassNode* FindChildById(int id);
    CClassNode* FindChildByIdAndKind(int id, int kind);
    CClassNode* FindChildByTreeItem(TreeItemHandle item);
    CClassNode* FindByName(const std::string& name, int kind);
    CClassNode* FindById(int id);
    CClassNode* FindByIdAndKind(int id, int kind);
    CClassNode* FindByTreeItem(TreeItemHandle item);

    // Tree control filling
    void FillTreeItem(ITreeControl* tree, TreeItemHandle item);
    virtual void InsertIntoTree(ITreeControl* tree, TreeItemHandle parent);
    virtual void InsertIntoTreeFlat(ITreeControl* tree, TreeItemHandle parent);
    void ExpandAll(ITreeControl* tree, int code);
    void CollapseAll(ITreeControl* tree) { ExpandAll(tree, kTreeCollapse); }

    // Lists this node's member functions and member variables, with a
    // placeholder item in a list that stays empty (MemberLists.cpp).
    void FillMemberLists(IMemberList* functions, IMemberList* variables);

    // Texts
    std::string GetAncestry() const;
    void SetAll(int id, const std::string& name, const std::string& description,
                const std::string& headerPath);
    const std::string& GetDescription() const { return m_strDescription; }
    void SetDescription(const std::string& text) { m_strDescription = text; }
    const std::string& GetHeaderPath() const { return m_strHeaderPath; }
    const std::string& GetHeaderFileName() const { return m_strFileName; }
    void SetHeaderFile(const std::string& path);
    const std::string& GetName() const { return m_strName; }
    void SetName(const std::string& name);
    const std::string& GetParameters() const { return m_strParameters; }
    void SetParameters(const std::string& parameters);
    const std::string& GetTypeText() const { return m_strType; }
    void SetTypeText(const std::string& type);

    int GetLine() const { return m_nLine; }
    void SetLine(int line) { m_nLine = line; }
    int GetId() const { return m_nId; }
    void SetId(int id) { m_nId = id; }
    int GetKind() const { return m_nKind; }
    void SetKind(int kind) { m_nKind = kind; }
    TreeItemHandle GetTreeItem() const { return m_hTreeItem; }
    void SetTreeItem(TreeItemHandle item) { m_hTreeItem = item; }

    // Class table rows (persistence). A row that fails is shown and ends the
    // writing: false.
    bool WriteRows(CDaoRecordset* recordset, IUserInterface& ui);
    bool WriteRow(CDaoRecordset* recordset, IUserInterface& ui);

    // HTML export (src/html). Each operation adds "/" to the directory when
    // it does not end in one. False when a page file cannot be created (only
    // "index.html" counts for ExportIndexPage, none for ExportPages) or when
    // a write fails, which stops the export.
    bool ExportIndexPage(const std::string& directory) const;
    bool ExportPages(const std::string& directory) const;
    bool ExportPage(const std::string& directory) const;
    // The navigation tree below parent, on the page of this node.
    void WriteHtmlTree(CHtmlFile* writer, const CClassNode* parent, bool indent) const;
    std::string GetHtmlFileName() const;

    CClassNode* m_pParent = nullptr;
    // Declaration depth while parsing; parent ID while loading a table.
    int m_nParentId = 0;
    std::string m_strBaseName;

protected:
    template <typename Match, typename Descend>
    static CClassNode* FindInSubtree(CClassNode* start, Match matches, Descend descends);
    static void InsertClassesBelow(ITreeControl* tree, CClassNode* top, TreeItemHandle item);

    TreeItemHandle m_hTreeItem = 0;
    std::string m_strFileName;
    std::string m_strHeaderPath = "Headerfile unbekannt";
    std::string m_strDescription = "Klasse unbekannt";
    std::string m_strName = "Name unbekannt";
    std::string m_strParameters = "keine Parameter";
    std::string m_strType = "kein Rückgabewert";
    int m_nId = 0;
    int m_nKind = KindClass;
    int m_nLine = 0;
    std::vector<CClassNode*> m_children;
    bool m_bChildrenNotOwned = false;
};
