#pragma once

#include "app/RecentFileList.h"

#include <QList>
#include <QObject>
#include <memory>
#include <string>

class CChildFrame;
class CClassRoot;
class CMainFrame;
class CVorlixDoc;
class IUserInterface;

// The application: settings and recent-file list, the main window, and the
// commands that create documents (New, Open, a recent file). Every question
// to the user goes through the user interface handed in, so tests drive the
// real windows with scripted answers.
class CVorlixApp : public QObject {
    Q_OBJECT
public:
    explicit CVorlixApp(IUserInterface& ui);
    ~CVorlixApp() override;

    // Builds and shows the main window (maximised); no document is opened.
    bool InitInstance();
    int ExitInstance();

    void OnFileNew();
    void OnFileOpen();
    // Opens a database by path (an entry of the recent-file list).
    CVorlixDoc* OpenDocumentFile(const std::string& path);
    void OnOpenRecentFile(int index);
    // Parks a structure for the next new document and creates that document
    // with its window, as New and Open do once they have their structure.
    CVorlixDoc* OpenStructure(std::unique_ptr<CClassRoot> root, bool modified);

    CMainFrame* GetMainFrame() const { return m_pMainWnd.get(); }
    IUserInterface& GetUserInterface() const { return m_ui; }
    // Open documents in the order their windows were opened.
    QList<CVorlixDoc*> Documents() const;
    CVorlixDoc* ActiveDocument() const;

    void AddToRecentFileList(const std::string& path);
    const QStringList& RecentFiles() const { return m_recentFiles.Paths(); }

    // The structure that the next new document takes, and its modified flag.
    std::unique_ptr<CClassRoot> TakePendingRoot();
    bool PendingModified() const { return m_bPendingModified; }

signals:
    // A document window stands, filled and shown.
    void documentOpened(CVorlixDoc* document);

private:
    // Creates document and window; open is called between the two.
    template <typename Open> CVorlixDoc* CreateDocument(Open&& open);
    void ConnectCommands();
    void WriteRecentFiles();

    IUserInterface& m_ui;
    std::unique_ptr<CMainFrame> m_pMainWnd;
    std::unique_ptr<CClassRoot> m_pPendingRoot;
    bool m_bPendingModified = false;
    CRecentFileList m_recentFiles;
};
