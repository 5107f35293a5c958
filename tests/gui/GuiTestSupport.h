#pragma once

#include "ScriptedUserInterface.h"
#include "app/DesktopQuestions.h"
#include "app/VorlixApp.h"
#include "app/VorlixDoc.h"
#include "model/ClassRoot.h"
#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/MainFrame.h"
#include "views/VorlixListView.h"
#include "views/VorlixView.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QSettings>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// Runs the deletions that closed windows have queued.
inline void ProcessDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// As after a Save or Load: the structure knows its database and table.
inline void MarkStored(CClassRoot& root, const std::string& database = "/data/x.mdb") {
    root.m_strDatabase = database;
    root.m_strTable = "Klassen";
    root.m_bNeedsLocation = false;
}

// A structure as a scan and ordering would leave it:
//   CObject (member GetRuntimeClass) -> CWnd -> { CView (members), CFrameWnd }
//   aardvark
//   Zebra (placeholder of an unknown base) -> CStripe
struct CSampleModel {
    std::unique_ptr<CClassRoot> root = std::make_unique<CClassRoot>();
    CClassNode *object, *wnd, *view, *onDraw, *document, *frameWnd, *aardvark, *zebra, *stripe;
    CClassNode* top = root.get();

    // stored: the structure has a database and table (as after Load).
    explicit CSampleModel(bool stored = true) {
        if (stored) {
            MarkStored(*root);
            root->SetName("/data/x.mdb (Klassen)");
        }
        object = Add(root.get(), "CObject", KindClass, 0, 12, "/inc/afx.h");
        Add(object, "GetRuntimeClass", KindFunction, 1, 20, "/inc/afx.h");
        wnd = Add(object, "CWnd", KindClass, 2, 40);
        view = Add(wnd, "CView", KindClass, 3, 7);
        onDraw = Add(view, "OnDraw", KindFunction, 4, 9);
        onDraw->SetTypeText("void");
        onDraw->SetParameters("CDC* pDC");
        Add(view, "activate", KindFunction, 5, 10);
        Add(view, "GetDocument", KindFunction, 6, 11);
        Add(view, "Alpha", KindFunction, 7, 12);
        document = Add(view, "m_pDocument", KindVariable, 8, 13);
        frameWnd = Add(wnd, "CFrameWnd", KindClass, 9, 80);
        aardvark = Add(root.get(), "aardvark", KindClass, 10, 1, "/inc/zoo.h");
        zebra = Add(root.get(), "Zebra", KindClass, 12, -1, "Unbekannt");
        stripe = Add(zebra, "CStripe", KindClass, 11, 5, "/inc/zoo.h");
    }

    static CClassNode* Add(CClassNode* parent, const std::string& name, int kind, int id, int line,
                           const std::string& header = "/inc/afxwin.h") {
        auto* node = new CClassNode;
        node->SetAll(id, name, "", header);
        node->SetHeaderFile(header);
        node->SetKind(kind);
        node->SetLine(line);
        parent->AddChild(node);
        return node;
    }
};

// The desktop's own questions scripted too: the table dialog that can name
// a new table answers from tableAnswers.
class CScriptedDesktop : public CScriptedUserInterface, public IDesktopQuestions {
public:
    void SetFolderStart(const std::string& path) override { folderStarts.push_back(path); }
    std::optional<std::string> ChooseOrNameTable(const std::vector<std::string>& tables) override {
        offeredTables.push_back(tables);
        return Pop(tableAnswers).value_or(std::nullopt);
    }
    std::vector<std::string> folderStarts;
};

// A menu's visible items, "-" for a separator.
inline QStringList MenuTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* action : actions) {
        if (action->isSeparator() || action->isVisible()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
    }
    return texts;
}

// The real application with its main window, every question answered by
// the scripted user interface.
class CAppTest : public testing::Test {
protected:
    void SetUp() override {
        QSettings(QStringLiteral("Vorlix"), QStringLiteral("Vorlix")).clear();
        app = std::make_unique<CVorlixApp>(ui);
        ASSERT_TRUE(app->InitInstance());
    }

    void TearDown() override {
        app.reset();
        ProcessDeletes();
    }

    CMainFrame& Main() { return *app->GetMainFrame(); }
    QAction& Command(int id) { return *Main().Action(id); }

    // Opens a document on a structure as Open does after loading it.
    CVorlixDoc* OpenSample(CSampleModel& sample, bool modified = false) {
        return app->OpenStructure(std::move(sample.root), modified);
    }

    static CChildFrame& Frame(CVorlixDoc* doc) { return *doc->GetFrame(); }
    static CVorlixView& Tree(CVorlixDoc* doc) { return *doc->GetFrame()->TreeView(); }

    CScriptedDesktop ui;
    std::unique_ptr<CVorlixApp> app;
};

// The application with the sample structure open.
class CDocTest : public CAppTest {
protected:
    void SetUp() override {
        CAppTest::SetUp();
        doc = OpenSample(sample);
    }
    CSampleModel sample;
    CVorlixDoc* doc = nullptr;
};

const std::string kFirst = VORLIX_TEST_DATA_DIR "/gui/first";
