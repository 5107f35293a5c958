#include "GuiTestSupport.h"

#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QSplitter>

namespace {

// Each menu's items joined by "|": the menu bar, then as many popups as given.
void ExpectMenus(CMainFrame& main, int menuId, const QStringList& expected) {
    QStringList shown{MenuTexts(main.menuBar()->actions()).join('|')};
    for (QMenu* popup : main.MenuPopups(menuId).first(expected.size() - 1)) {
        popup->aboutToShow(); // the window menu lists the windows late
        shown << MenuTexts(popup->actions()).join('|');
    }
    EXPECT_EQ(shown, expected);
}

TEST_F(CAppTest, StartsWithoutDocumentWithMenu128ToolBarAndStatusBar) {
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_TRUE(Main().isMaximized());
    EXPECT_EQ(Main().windowTitle().toStdString(), "Vorlix");
    // The view and help menus are those of 129 without the document's items.
    ExpectMenus(
        Main(), 128,
        {"&Datei|&Ansicht|&?", "&Neu\tStrg+N|Ö&ffnen...\tStrg+O|-|Letzte Datei|-|&Beenden"});
    EXPECT_FALSE(Command(ID_FILE_MRU_FILE1).isEnabled());
    // The document's commands have nobody to carry them out.
    EXPECT_FALSE(Command(ID_FILE_SAVE).isEnabled());
    EXPECT_FALSE(Command(ID_UPDATE_TREE).isEnabled());
    for (const auto& [id, keys] : {std::pair{ID_FILE_NEW, Qt::CTRL | Qt::Key_N},
                                   {ID_FILE_OPEN, Qt::CTRL | Qt::Key_O},
                                   {ID_FILE_SAVE, Qt::CTRL | Qt::Key_S},
                                   {ID_UPDATE_TREE, QKeyCombination(Qt::Key_F5)}}) {
        EXPECT_EQ(Command(id).shortcut(), QKeySequence(keys)) << id;
    }
    EXPECT_EQ(Main().MessagePane()->text().toStdString(), "Bereit");
    EXPECT_EQ(Main().IndicatorPanes().size(), 3);
}

// The caption follows the active window in every arrangement; a structure
// enters the recent-file list only with a database, and a closed one moves
// to the top.
TEST_F(CDocTest, CaptionAndRecentFilesFollowTheWindows) {
    CSampleModel parsed(false), other;
    other.root->m_strDatabase = "/data/y.mdb";
    EXPECT_EQ(app->ActiveDocument(), OpenSample(parsed));
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(Main().windowTitle().toStdString(), "Vorlix - [Unbekannt (Unbekannt)]");
    Command(ID_FILE_CLOSE).trigger();
    EXPECT_EQ(app->Documents(), QList<CVorlixDoc*>{doc});
    EXPECT_EQ(Main().windowTitle().toStdString(), "Vorlix - [/data/x.mdb (Klassen)]");
    EXPECT_EQ(app->RecentFiles(), QStringList{"/data/x.mdb"});

    OpenSample(other);
    EXPECT_EQ(app->RecentFiles(), (QStringList{"/data/y.mdb", "/data/x.mdb"}));
    Command(ID_WINDOW_TILE_HORZ).trigger();
    const QList<CChildFrame*> frames = Main().ChildFrames();
    ASSERT_EQ(frames.size(), 2);
    EXPECT_FALSE(frames[0]->geometry().intersects(frames[1]->geometry()));
    EXPECT_EQ(Main().windowTitle().toStdString(), "Vorlix - /data/y.mdb (Klassen)");
    // Overlapping windows keep a usable size, each offset from the one before.
    Command(ID_WINDOW_CASCADE).trigger();
    const QSize area = Main().MdiArea()->viewport()->size();
    EXPECT_TRUE(frames[0]->geometry().intersects(frames[1]->geometry()));
    EXPECT_NE(frames[0]->pos(), frames[1]->pos());
    for (const CChildFrame* frame : frames) {
        EXPECT_GE(frame->width(), area.width() / 2);
        EXPECT_GE(frame->height(), area.height() / 2);
        EXPECT_TRUE(QRect(QPoint(), area).contains(frame->geometry()));
    }
    Frame(doc).close();
    EXPECT_EQ(app->RecentFiles(), (QStringList{"/data/x.mdb", "/data/y.mdb"}));
    Command(ID_FILE_CLOSE).trigger();
    ProcessDeletes();
    EXPECT_EQ(Main().CurrentMenuId(), 128);
    EXPECT_EQ(Main().windowTitle().toStdString(), "Vorlix");
}

// Window geometry and pane splits outlive the run; settings live under
// "Vorlix", and a recent-file list of the old place comes over once.
TEST(Settings, GeometrySplitsAndTheOldListCarryOver) {
    QSettings(QStringLiteral("Vorlix"), QStringLiteral("Vorlix")).clear();
    QSettings old(QStringLiteral("Local AppWizard-Generated Applications"),
                  QStringLiteral("Vorlix"));
    old.setValue(QStringLiteral("Recent File List/File1"), QStringLiteral("/data/alt.db"));
    old.sync();
    QList<int> rows;
    for (int run = 0; run < 3; ++run) {
        CScriptedDesktop ui;
        CVorlixApp app(ui);
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(app.RecentFiles().contains(QStringLiteral("/data/alt.db")), run != 2) << run;
        CSampleModel sample;
        CChildFrame& frame = *app.OpenStructure(std::move(sample.root), false)->GetFrame();
        QApplication::processEvents();
        if (run == 0) {
            app.GetMainFrame()->showNormal();
            app.GetMainFrame()->setGeometry(40, 50, 700, 500);
            rows = {frame.RowHeights()[0] - 60, frame.RowHeights()[1] + 60};
            frame.findChild<QSplitter*>()->setSizes(rows);
        } else {
            const CMainFrame& main = *app.GetMainFrame();
            EXPECT_EQ(std::tuple(main.isMaximized(), main.size(), frame.RowHeights()),
                      std::tuple(false, QSize(700, 500), rows));
        }
        app.GetMainFrame()->close();
        app.ExitInstance();
        if (run == 1) {
            QSettings(QStringLiteral("Vorlix"), QStringLiteral("Vorlix"))
                .remove(QStringLiteral("Recent File List"));
        }
    }
    old.clear();
}

using Texts = QStringList;

QStringList ChildTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) {
        texts << item->child(i)->text(0);
    }
    return texts;
}

QTreeWidgetItem* ItemOf(const CClassNode* node) {
    return CVorlixView::ItemOf(node->GetTreeItem());
}

using CViewTest = CDocTest;

TEST_F(CViewTest, FreshWindowBringsMenu129FivePanesTheRootAndTheSortedTree) {
    ExpectMenus(Main(), 129,
                {"&Datei|&Ansicht|&Fenster|&?",
                 "&Neu\tStrg+N|Ö&ffnen...\tStrg+O|&Schließen|S&peichern\tStrg+S|"
                 "Speichern unter ...|-|"
                 "Aktualisieren ...\tF5|-|Exportieren als HTML ...|-|&1 /data/x.mdb|-|&Beenden",
                 "Klassen (abgeleitet)|Klassen (Liste)|-|Alle Zweige aufblenden|"
                 "Alle Zweige schließen|-|&Symbolleiste|S&tatusleiste",
                 "Über&lappend|&Nebeneinander|&Symbole anordnen|-|&1 /data/x.mdb (Klassen)",
                 "Inf&o über Vorlix..."});
    EXPECT_TRUE(Command(ID_FILE_SAVE).isEnabled());
    EXPECT_TRUE(Command(ID_SHOW_HIERARCHY).isChecked());

    CChildFrame& frame = Frame(doc);
    EXPECT_TRUE(frame.isMaximized());
    // The window lays its panes out in the proportions asked for at creation.
    QApplication::processEvents();
    const QList<int> columns = frame.ColumnWidths(), rows = frame.RowHeights();
    ASSERT_EQ(columns.size() + rows.size(), 4);
    EXPECT_NEAR(columns[0], 0.6 * (columns[0] + columns[1]), 1.5); // to the pixel
    EXPECT_NEAR(rows[0], 0.85 * (rows[0] + rows[1]), 1.5);
    EXPECT_NEAR(frame.MemberListHeights()[0], frame.MemberListHeights()[1], 1);
    // Arial 12 px in both text panes; with the root shown, neither can be edited.
    for (QPlainTextEdit* pane : {frame.InfoPane(), frame.DescriptionPane()}) {
        EXPECT_EQ(pane->font().family().toStdString(), "Arial");
        EXPECT_EQ(pane->font().pixelSize(), 12);
        EXPECT_TRUE(pane->isReadOnly());
    }
    EXPECT_EQ(doc->m_pShown, doc->m_pRoot);
    EXPECT_EQ(Tree(doc).SelectedNode(), doc->m_pRoot);
    // The placeholder items (their texts are the core's) carry no member.
    for (CVorlixListView* list : {frame.FunctionList(), frame.VariableList()}) {
        EXPECT_FALSE(list->isEnabled());
        EXPECT_EQ(CVorlixListView::NodeOf(list->item(0)), nullptr);
    }

    EXPECT_EQ(ChildTexts(Tree(doc).invisibleRootItem()), Texts{"/data/x.mdb (Klassen)"});
    EXPECT_EQ(ChildTexts(Tree(doc).topLevelItem(0)), (Texts{"aardvark", "CObject", "Zebra"}));
    EXPECT_EQ(ChildTexts(ItemOf(sample.wnd)), (Texts{"CFrameWnd", "CView"}));
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(ChildTexts(Tree(doc).topLevelItem(0)),
              (Texts{"aardvark", "CFrameWnd", "CObject", "CStripe", "CView", "CWnd", "Zebra"}));
    EXPECT_EQ(ItemOf(sample.wnd)->childCount(), 0);
}

TEST_F(CViewTest, SelectingShowsTheDetailsFillsTheListsWithIcons) {
    ASSERT_TRUE(Tree(doc).SelectNode(sample.zebra));
    EXPECT_EQ(Frame(doc).InfoPane()->toPlainText().toStdString(),
              "Klassenname:\n  Zebra\nHeader-Datei:\n  Unbekannt\nZeile in Header:\n  "
              "Unbekannt\n\nAbgeleitet von:\n  void\n\nAnzahl abgeleitete Klassen:\n  1\n");
    EXPECT_FALSE(Frame(doc).DescriptionPane()->isReadOnly());
    Tree(doc).SelectNode(sample.view);
    CVorlixListView* functions = Frame(doc).FunctionList();
    CVorlixListView* variables = Frame(doc).VariableList();
    EXPECT_EQ(functions->Texts(), (Texts{"activate", "Alpha", "GetDocument", "OnDraw"}));
    EXPECT_TRUE(functions->isEnabled());
    EXPECT_EQ(variables->Texts(), Texts{"m_pDocument"});
    EXPECT_EQ(CVorlixListView::NodeOf(variables->item(0)), sample.document);

    ASSERT_TRUE(functions->SelectNode(sample.onDraw));
    EXPECT_EQ(doc->m_pShown, sample.onDraw);
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.view);
    // Four kinds of entry, four icons, told apart at a glance.
    QSet<QByteArray> icons;
    for (const QIcon& icon : {ItemOf(sample.view)->icon(0), ItemOf(sample.zebra)->icon(0),
                              functions->item(0)->icon(), variables->item(0)->icon()}) {
        const QImage image = icon.pixmap(16, 16).toImage();
        icons.insert(
            QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(icons.size(), 4);
}

TEST_F(CViewTest, EditedDescriptionIsStoredWhenAnotherEntryIsShownUnchangedKeepsItsBytes) {
    // Line ends of another system and bytes that are no UTF-8 survive being shown.
    sample.view->SetDescription("Zeile 1\r\nZeile 2 \xE4");
    Tree(doc).SelectNode(sample.view);
    Tree(doc).SelectNode(sample.wnd);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(sample.view->GetDescription(), "Zeile 1\r\nZeile 2 \xE4");

    const QString edited = QStringLiteral("Zeichnet die Ansicht\nmit Umlauten äöü");
    Tree(doc).SelectNode(sample.view);
    Frame(doc).DescriptionPane()->setPlainText(edited);
    Tree(doc).SelectNode(sample.wnd);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(sample.view->GetDescription(), edited.toStdString());
    Tree(doc).SelectNode(sample.view);
    EXPECT_EQ(Frame(doc).DescriptionPane()->toPlainText(), edited);
}

// Close asks about a modified document (an edit still in the pane counts);
// Exit asks every modified document before any closes: one No keeps all.
TEST_F(CViewTest, ClosingAModifiedDocumentOrTheProgramAsks) {
    Tree(doc).SelectNode(sample.view);
    Frame(doc).DescriptionPane()->setPlainText(QStringLiteral("neu")); // not yet taken
    Command(ID_FILE_CLOSE).trigger();
    EXPECT_EQ(ui.questions, std::vector<std::string>{"Klassenstruktur der Headers wurde "
                                                     "verändert!\n\nSoll das Dokument "
                                                     "trotzdem geschlossen werden?"});
    EXPECT_EQ(app->Documents(), QList<CVorlixDoc*>{doc});
    EXPECT_EQ(sample.view->GetDescription(), "neu");
    CSampleModel second, unchanged;
    OpenSample(unchanged);
    OpenSample(second, true);
    for (const bool secondAnswer : {false, true}) {
        ui.questions.clear();
        ui.yesNoAnswers = {true, secondAnswer};
        EXPECT_EQ(Main().close(), secondAnswer);
        ProcessDeletes();
        EXPECT_EQ(ui.questions.size(), 2u);
        EXPECT_EQ(app->Documents().size(), secondAnswer ? 0 : 3);
    }
}

} // namespace
