#include "app/VorlixApp.h"

#include "analysis/HeaderParser.h"
#include "app/CommandGuard.h"
#include "app/DirectoryChoice.h"
#include "app/VorlixDoc.h"
#include "model/ClassRoot.h"
#include "platform/UserInterface.h"
#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/MainFrame.h"
#include "shell/ShellCommands.h"
#include "views/VorlixListView.h"
#include "views/VorlixView.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QSettings>

namespace {

const QString kOrganisation = QStringLiteral("Vorlix");
const QString kApplication = QStringLiteral("Vorlix");
// Where earlier versions kept the recent-file list.
const QString kOldOrganisation = QStringLiteral("Local AppWizard-Generated Applications");
const QString kCarriedOver = QStringLiteral("Settings/OldListCarriedOver");
const QString kGeometry = QStringLiteral("Window/Geometry");
const QString kState = QStringLiteral("Window/State");

const char* const kNewFirstTitle = "Wählen Sie ein Verzeichnis, in dem alle Header-Dateien nach "
                                   "Klassenabhängigkeiten durchsucht werden sollen.";
const char* const kNewNextTitle = "Wählen Sie ein weiteres Verzeichnis, in dem weitere "
                                  "Header-Dateien nach Klassenabhängigkeiten durchsucht werden "
                                  "sollen.";
const char* const kDatabaseFilter = "Access Datenbank (*.mdb)|*.mdb|Alle Dateien (*.*)|*.*||";

} // namespace

CVorlixApp::CVorlixApp(IUserInterface& ui) : m_ui(ui), m_recentFiles(kRecentFileCount) {}

CVorlixApp::~CVorlixApp() {
    // The windows (and with them the documents) go before the application.
    m_pMainWnd.reset();
}

bool CVorlixApp::InitInstance() {
    QCoreApplication::setOrganizationName(kOrganisation);
    QCoreApplication::setApplicationName(kApplication);
    QSettings settings(kOrganisation, kApplication);
    m_recentFiles.ReadList(settings);
    if (!settings.value(kCarriedOver).toBool()) {
        if (m_recentFiles.Paths().isEmpty()) {
            QSettings old(kOldOrganisation, kApplication);
            m_recentFiles.ReadList(old);
            m_recentFiles.WriteList(settings);
        }
        settings.setValue(kCarriedOver, true);
    }

    m_pMainWnd = std::make_unique<CMainFrame>();
    if (!m_pMainWnd->OnCreate()) {
        return false;
    }
    ConnectCommands();
    ConnectShellCommands(*m_pMainWnd);
    m_pMainWnd->SetRecentFiles(m_recentFiles.Paths());
    QApplication::setWindowIcon(m_pMainWnd->windowIcon());
    // The command line is not looked at: the program starts without a
    // document, maximised unless an earlier run left its window otherwise.
    if (m_pMainWnd->restoreGeometry(settings.value(kGeometry).toByteArray())) {
        m_pMainWnd->restoreState(settings.value(kState).toByteArray());
        m_pMainWnd->show();
    } else {
        m_pMainWnd->showMaximized();
    }
    return true;
}

int CVorlixApp::ExitInstance() {
    WriteRecentFiles();
    if (m_pMainWnd) {
        QSettings settings(kOrganisation, kApplication);
        settings.setValue(kGeometry, m_pMainWnd->saveGeometry());
        settings.setValue(kState, m_pMainWnd->saveState());
    }
    return 0;
}

void CVorlixApp::ConnectCommands() {
    CMainFrame* frame = m_pMainWnd.get();
    connect(frame->Action(ID_FILE_NEW), &QAction::triggered, this, [this] { OnFileNew(); });
    connect(frame->Action(ID_FILE_OPEN), &QAction::triggered, this, [this] { OnFileOpen(); });
    connect(frame, &CMainFrame::recentFileChosen, this, &CVorlixApp::OnOpenRecentFile);

    auto toDocument = [this](void (CVorlixDoc::*command)()) {
        return [this, command] {
            if (CVorlixDoc* document = ActiveDocument()) {
                RunCommand(m_ui, [document, command] { (document->*command)(); });
            }
        };
    };
    connect(frame->Action(ID_FILE_SAVE), &QAction::triggered, this,
            toDocument(&CVorlixDoc::OnFileSave));
    connect(frame->Action(ID_FILE_SAVE_AS), &QAction::triggered, this,
            toDocument(&CVorlixDoc::OnFileSaveAs));
    connect(frame->Action(ID_UPDATE_TREE), &QAction::triggered, this,
            toDocument(&CVorlixDoc::OnUpdateTree));
    connect(frame->Action(ID_EXPORT_HTML), &QAction::triggered, this,
            toDocument(&CVorlixDoc::OnExportHtml));
}

void CVorlixApp::OnFileNew() {
    m_pPendingRoot.reset();
    RunCommand(m_ui, [this] {
        CHeaderParser parser(m_ui);
        CParsedRoot parsed(parser);
        std::string firstFolder;
        const int scanned =
            ScanChosenDirectories(parser, m_ui, kNewFirstTitle, kNewNextTitle, &firstFolder);
        if (scanned == 0 || parser.m_pRoot == nullptr) {
            return;
        }
        parser.OrderAndNumber();
        if (CVorlixDoc* document = OpenStructure(parsed.Take(), true)) {
            document->SetScannedFolder(firstFolder);
        }
    });
}

void CVorlixApp::OnFileOpen() {
    m_pPendingRoot.reset();
    IUserInterface::FileDialog dialog;
    dialog.save = false;
    dialog.defaultExtension = "*.mdb";
    dialog.filter = kDatabaseFilter;
    dialog.fileMustExist = true;
    const std::optional<std::string> path = m_ui.ChooseFile(dialog);
    if (!path) {
        return;
    }
    RunCommand(m_ui, [this, &path] {
        auto root = std::make_unique<CClassRoot>();
        if (!root->Load(*path, m_ui)) {
            return;
        }
        OpenStructure(std::move(root), false);
    });
}

CVorlixDoc* CVorlixApp::OpenDocumentFile(const std::string& path) {
    CVorlixDoc* opened = nullptr;
    RunCommand(m_ui, [this, &path, &opened] {
        opened = CreateDocument([&path](CVorlixDoc& document) {
            document.OnOpenDocument(path);
            return true;
        });
    });
    if (opened != nullptr) {
        AddToRecentFileList(path);
    }
    return opened;
}

void CVorlixApp::OnOpenRecentFile(int index) {
    const QStringList paths = m_recentFiles.Paths();
    if (index < 0 || index >= paths.size()) {
        return;
    }
    // A file that cannot be opened leaves the list.
    if (OpenDocumentFile(paths[index].toStdString()) == nullptr) {
        m_recentFiles.Remove(index);
        WriteRecentFiles();
    }
}

CVorlixDoc* CVorlixApp::OpenStructure(std::unique_ptr<CClassRoot> root, bool modified) {
    m_pPendingRoot = std::move(root);
    m_bPendingModified = modified;
    return CreateDocument([](CVorlixDoc& document) { return document.OnNewDocument(); });
}

template <typename Open> CVorlixDoc* CVorlixApp::CreateDocument(Open&& open) {
    auto document = std::make_unique<CVorlixDoc>(*this, m_ui);
    CVorlixDoc* raw = document.get();
    std::unique_ptr<CChildFrame> frame =
        std::make_unique<CChildFrame>(std::move(document), m_pMainWnd->ChildClientSize());
    if (!open(*raw)) {
        return nullptr;
    }
    frame->FunctionList()->OnInitialUpdate();
    frame->VariableList()->OnInitialUpdate();
    frame->TreeView()->OnInitialUpdate();
    m_pMainWnd->AddChildFrame(frame.release());
    emit documentOpened(raw);
    return raw;
}

QList<CVorlixDoc*> CVorlixApp::Documents() const {
    QList<CVorlixDoc*> documents;
    if (m_pMainWnd) {
        for (CChildFrame* frame : m_pMainWnd->ChildFrames()) {
            documents.append(frame->GetDocument());
        }
    }
    return documents;
}

CVorlixDoc* CVorlixApp::ActiveDocument() const {
    CChildFrame* frame = m_pMainWnd ? m_pMainWnd->MDIGetActive() : nullptr;
    return frame != nullptr ? frame->GetDocument() : nullptr;
}

void CVorlixApp::AddToRecentFileList(const std::string& path) {
    m_recentFiles.Add(QString::fromStdString(path));
    WriteRecentFiles();
}

void CVorlixApp::WriteRecentFiles() {
    QSettings settings(kOrganisation, kApplication);
    m_recentFiles.WriteList(settings);
    if (m_pMainWnd) {
        m_pMainWnd->SetRecentFiles(m_recentFiles.Paths());
    }
}

std::unique_ptr<CClassRoot> CVorlixApp::TakePendingRoot() {
    return std::move(m_pPendingRoot);
}
