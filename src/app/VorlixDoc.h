#pragma once

#include "search/SourceSearch.h"

#include <QString>
#include <string>
#include <vector>

class CChildFrame;
class CClassNode;
class CClassRoot;
class CVorlixApp;
class CVorlixView;
class IUserInterface;

// The document: one class structure, the entry its window shows, and the
// commands Save, Update and Export. The document window owns it.
class CVorlixDoc {
public:
    CVorlixDoc(CVorlixApp& app, IUserInterface& ui);
    CVorlixDoc(const CVorlixDoc&) = delete;
    CVorlixDoc& operator=(const CVorlixDoc&) = delete;
    ~CVorlixDoc();

    // Takes the structure that New or Open prepared in the application.
    bool OnNewDocument();
    // Opening by path (the recent-file list): asks for the table and loads
    // it. The database layer's error passes to the caller.
    void OnOpenDocument(const std::string& path);
    // Asks before a modified document closes; true when it may close.
    bool SaveModified();
    // The database of the document enters the recent-file list.
    void OnCloseDocument();

    void OnFileSave();
    // Asks for file and table as the first save does.
    void OnFileSaveAs();
    void OnUpdateTree();
    void OnExportHtml();

    void RebuildTree();
    void ShowRootCaption();
    // Names of all classes, each after its derived classes; not the root.
    void CollectClassNames(std::vector<std::string>& names) const;
    // Makes node the shown entry: its details in the info pane, its
    // description in the description pane.
    void ShowDetails(CClassNode* node);
    // Stores the description pane's text into the shown entry.
    void TakeDescription();
    // Names the document after the structure's database and table.
    void UpdateTitle();
    // Searches a source tree for uses of the shown entry (modes 'H', 'C',
    // 'F') and shows the hits (DocumentSearch.cpp).
    void SearchForSelection(char mode);
    void SearchForNode(char mode, CClassNode* node);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title);

    CChildFrame* GetFrame() const { return m_pFrame; }
    void SetFrame(CChildFrame* frame) { m_pFrame = frame; }
    // The first folder scanned for this structure: Update's browser starts there.
    void SetScannedFolder(const std::string& folder) { m_strScannedFolder = folder; }
    CVorlixView* GetFirstView() const;
    CVorlixApp& GetApp() const { return m_app; }
    IUserInterface& GetUserInterface() const { return m_ui; }

    CClassRoot* m_pRoot = nullptr;
    CClassNode* m_pShown = nullptr;
    CSourceSearch m_search;
    bool m_selectionOn = true;

private:
    void ForgetModel();
    void SaveInto(bool askLocation);

    CVorlixApp& m_app;
    IUserInterface& m_ui;
    CChildFrame* m_pFrame = nullptr;
    bool m_bModified = false;
    std::string m_strTitle;
    std::string m_strScannedFolder;
    // The description pane's text as set for the shown entry: unless the
    // user changed it, the entry's description is left byte for byte.
    QString m_shownDescription;
};
