#include "GuiTestSupport.h"

#include <QKeyEvent>

namespace {

using Texts = QStringList;

// Texts of an item's children, in their shown order.
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

TEST_F(CAppTest, FreshWindowShowsTheRootWithItsDetails) {
    CSampleModel sample;
    CClassRoot* root = sample.root.get();
    CVorlixDoc* doc = OpenSample(sample);
    EXPECT_EQ(doc->m_pRoot, root);
    EXPECT_EQ(doc->m_pShown, root);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Tree(doc).SelectedNode(), root);
    EXPECT_EQ(InfoText(doc), "Datenbankname:\n  /data/x.mdb\nTabellenname:\n  Klassen\n\n"
                             "Anzahl Klassen:\n  7");
    EXPECT_EQ(DescriptionText(doc), "keine Beschreibung vorhanden");
    EXPECT_TRUE(Frame(doc).DescriptionPane()->isReadOnly());
    EXPECT_TRUE(Frame(doc).InfoPane()->isReadOnly());

    CVorlixListView* functions = Frame(doc).FunctionList();
    CVorlixListView* variables = Frame(doc).VariableList();
    EXPECT_EQ(functions->Texts(), Texts{"Keine Funktionen vorhanden"});
    EXPECT_EQ(variables->Texts(), Texts{"Keine Variablen vorhanden"});
    EXPECT_FALSE(functions->isEnabled());
    EXPECT_FALSE(variables->isEnabled());
    EXPECT_EQ(CVorlixListView::NodeOf(functions->item(0)), nullptr);
}

TEST_F(CAppTest, TreeSortsCaseInsensitivelyInBothPresentations) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    CVorlixView& tree = Tree(doc);
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* rootItem = tree.topLevelItem(0);
    EXPECT_EQ(rootItem->text(0), "/data/x.mdb (Klassen)");
    EXPECT_EQ(ChildTexts(rootItem), (Texts{"aardvark", "CObject", "Zebra"}));
    EXPECT_EQ(ChildTexts(ItemOf(sample.wnd)), (Texts{"CFrameWnd", "CView"}));
    // Members are never tree items.
    EXPECT_EQ(ChildTexts(ItemOf(sample.object)), Texts{"CWnd"});
    EXPECT_EQ(sample.onDraw->GetTreeItem(), 0u);

    Command(ID_SHOW_LIST).trigger();
    rootItem = tree.topLevelItem(0);
    EXPECT_EQ(ChildTexts(rootItem),
              (Texts{"aardvark", "CFrameWnd", "CObject", "CStripe", "CView", "CWnd", "Zebra"}));
    for (int i = 0; i < rootItem->childCount(); ++i) {
        EXPECT_EQ(rootItem->child(i)->childCount(), 0);
    }
}

TEST_F(CAppTest, SelectingAClassShowsItsDetailsAndMembers) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    EXPECT_EQ(doc->m_pShown, sample.view);
    EXPECT_EQ(InfoText(doc),
              "Klassenname:\n  CView\nHeader-Datei:\n  afxwin.h\nZeile in Header:\n  7\n\n"
              "Abgeleitet von:\n  CObject - CWnd\n\n"
              "Anzahl abgeleitete Klassen:\n  0\n");
    EXPECT_FALSE(Frame(doc).DescriptionPane()->isReadOnly());

    CVorlixListView* functions = Frame(doc).FunctionList();
    CVorlixListView* variables = Frame(doc).VariableList();
    EXPECT_EQ(functions->Texts(), (Texts{"activate", "Alpha", "GetDocument", "OnDraw"}));
    EXPECT_TRUE(functions->isEnabled());
    EXPECT_EQ(variables->Texts(), Texts{"m_pDocument"});
    EXPECT_TRUE(variables->isEnabled());
    EXPECT_EQ(CVorlixListView::NodeOf(variables->item(0)), sample.document);

    ASSERT_TRUE(Tree(doc).SelectNode(sample.frameWnd));
    EXPECT_EQ(functions->Texts(), Texts{"Keine Funktionen vorhanden"});
    EXPECT_EQ(variables->Texts(), Texts{"Keine Variablen vorhanden"});
    EXPECT_FALSE(functions->isEnabled());
}

TEST_F(CAppTest, ClassBelowRootAndPlaceholderClass) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    Tree(doc).SelectNode(sample.object);
    EXPECT_EQ(InfoText(doc),
              "Klassenname:\n  CObject\nHeader-Datei:\n  afx.h\nZeile in Header:\n  12\n\n"
              "Abgeleitet von:\n  void\n\nAnzahl abgeleitete Klassen:\n  3\n");
    EXPECT_EQ(Frame(doc).FunctionList()->Texts(), Texts{"GetRuntimeClass"});
    Tree(doc).SelectNode(sample.zebra);
    EXPECT_EQ(InfoText(doc), "Klassenname:\n  Zebra\nHeader-Datei:\n  Unbekannt\n"
                             "Zeile in Header:\n  Unbekannt\n\nAbgeleitet von:\n  void\n\n"
                             "Anzahl abgeleitete Klassen:\n  1\n");
}

TEST_F(CAppTest, SelectingAMemberShowsItAndKeepsTheLists) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    Tree(doc).SelectNode(sample.view);
    ASSERT_TRUE(Frame(doc).FunctionList()->SelectNode(sample.onDraw));
    EXPECT_EQ(doc->m_pShown, sample.onDraw);
    EXPECT_EQ(InfoText(doc), "Memberfunktionsname:\n  OnDraw\nHeader-Datei:\n  afxwin.h\n"
                             "Zeile in Header:\n  9\n\nMemberfunktion gehört zu:\n  CView\n\n"
                             "Rückgabetyp:\n  void\nParameter:\n  CDC* pDC\n");
    EXPECT_EQ(Frame(doc).FunctionList()->count(), 4);

    ASSERT_TRUE(Frame(doc).VariableList()->SelectNode(sample.document));
    EXPECT_EQ(InfoText(doc), "Membervariablenname:\n  m_pDocument\nHeader-Datei:\n  afxwin.h\n"
                             "Zeile in Header:\n  13\n\nMembervariable gehört zu:\n  CView\n\n"
                             "Membervariablentyp:\n  CDocument*\n");
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.view);
}

TEST_F(CAppTest, KeyboardSelectionShowsEntriesAsTheMouseDoes) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    Command(ID_EXPAND_ALL).trigger();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&Tree(doc), &down);
    EXPECT_EQ(doc->m_pShown, sample.aardvark);
    EXPECT_NE(InfoText(doc).find("Klassenname:\n  aardvark\n"), std::string::npos);
}

TEST_F(CAppTest, EditedDescriptionIsStoredWhenAnotherEntryIsShown) {
    CSampleModel sample;
    sample.view->SetDescription("alt");
    CVorlixDoc* doc = OpenSample(sample);

    Tree(doc).SelectNode(sample.view);
    Tree(doc).SelectNode(sample.wnd);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(sample.view->GetDescription(), "alt");

    Tree(doc).SelectNode(sample.view);
    EXPECT_EQ(DescriptionText(doc), "alt");
    Frame(doc).DescriptionPane()->setPlainText(
        QStringLiteral("Zeichnet die Ansicht\nmit Umlauten äöü"));
    Tree(doc).SelectNode(sample.wnd);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(sample.view->GetDescription(), "Zeichnet die Ansicht\nmit Umlauten äöü");
    Tree(doc).SelectNode(sample.view);
    EXPECT_EQ(DescriptionText(doc), "Zeichnet die Ansicht\nmit Umlauten äöü");
}

TEST_F(CAppTest, UnchangedDescriptionKeepsItsBytes) {
    CSampleModel sample;
    // Line ends of another system and bytes that are no UTF-8 survive being shown.
    sample.view->SetDescription("Zeile 1\r\nZeile 2 \xE4");
    CVorlixDoc* doc = OpenSample(sample);
    Tree(doc).SelectNode(sample.view);
    Tree(doc).SelectNode(sample.wnd);
    EXPECT_EQ(sample.view->GetDescription(), "Zeile 1\r\nZeile 2 \xE4");
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(CAppTest, FlatPresentationKeepsTheSelectedClass) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    EXPECT_TRUE(Command(ID_SHOW_HIERARCHY).isChecked());
    Tree(doc).SelectNode(sample.view);

    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(Tree(doc).m_nTreeMode, 1);
    EXPECT_TRUE(Command(ID_SHOW_LIST).isChecked());
    EXPECT_FALSE(Command(ID_SHOW_HIERARCHY).isChecked());
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.view);
    EXPECT_EQ(doc->m_pShown, sample.view);
    EXPECT_NE(InfoText(doc).find("Klassenname:\n  CView\n"), std::string::npos);
    EXPECT_EQ(Frame(doc).FunctionList()->count(), 4);

    // Choosing the shown presentation again does not rebuild the tree.
    QTreeWidgetItem* rootItem = Tree(doc).topLevelItem(0);
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(Tree(doc).topLevelItem(0), rootItem);

    Command(ID_SHOW_HIERARCHY).trigger();
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.view);
    EXPECT_TRUE(Command(ID_SHOW_HIERARCHY).isChecked());
}

TEST_F(CAppTest, PresentationSwitchAfterAMemberShowsTheRoot) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    Tree(doc).SelectNode(sample.view);
    Frame(doc).FunctionList()->SelectNode(sample.onDraw);
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(doc->m_pShown, doc->m_pRoot);
}

TEST_F(CAppTest, CollapseThenExpandAllOpensEveryBranchAndKeepsTheEntry) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    Tree(doc).SelectNode(sample.view);

    Command(ID_COLLAPSE_ALL).trigger();
    EXPECT_EQ(doc->m_pShown, sample.view);
    EXPECT_TRUE(doc->m_selectionOn);
    EXPECT_FALSE(ItemOf(sample.zebra)->isExpanded());
    // The shown entry stays visible: its branch is opened again.
    EXPECT_TRUE(ItemOf(sample.wnd)->isExpanded());

    Command(ID_EXPAND_ALL).trigger();
    const std::vector<const CClassNode*> branches{doc->m_pRoot, sample.object, sample.wnd,
                                                  sample.zebra};
    for (const CClassNode* node : branches) {
        EXPECT_TRUE(ItemOf(node)->isExpanded()) << node->GetName();
    }
    EXPECT_EQ(doc->m_pShown, sample.view);
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.view);
}

TEST_F(CAppTest, TitleNamesDatabaseAndTableAfterEveryFill) {
    CSampleModel stored;
    CVorlixDoc* doc = OpenSample(stored);
    EXPECT_EQ(doc->GetTitle(), "/data/x.mdb (Klassen)");
    EXPECT_EQ(Utf8(Frame(doc).windowTitle()), "/data/x.mdb (Klassen)");
    EXPECT_EQ(Utf8(Main().windowTitle()), "Vorlix - [/data/x.mdb (Klassen)]");
    EXPECT_EQ(app->RecentFiles(), QStringList{"/data/x.mdb"});

    CSampleModel parsed(false);
    CVorlixDoc* fresh = OpenSample(parsed, true);
    EXPECT_EQ(fresh->GetTitle(), "Unbekannt (Unbekannt)");
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(fresh->GetTitle(), "Unbekannt (Unbekannt)");
    // A structure without a database does not enter the recent-file list.
    EXPECT_EQ(app->RecentFiles(), QStringList{"/data/x.mdb"});
}

TEST_F(CAppTest, CollectClassNamesListsEachClassAfterItsDescendants) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    std::vector<std::string> names{"stale"};
    doc->CollectClassNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"CView", "CFrameWnd", "CWnd", "CObject", "aardvark",
                                               "CStripe", "Zebra"}));
}

TEST_F(CAppTest, ClosingAModifiedDocumentAsks) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample, true);
    ui.yesNoAnswers = {false};
    Command(ID_FILE_CLOSE).trigger();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0], "Klassenstruktur der Headers wurde verändert!\n\n"
                               "Soll das Dokument trotzdem geschlossen werden?");
    EXPECT_EQ(app->Documents(), QList<CVorlixDoc*>{doc});
    EXPECT_TRUE(doc->IsModified());

    ui.yesNoAnswers = {true};
    Command(ID_FILE_CLOSE).trigger();
    ProcessDeletes();
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_EQ(ui.questions.size(), 2u);
}

TEST_F(CAppTest, ClosingRightAfterEditingADescriptionAsks) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    Tree(doc).SelectNode(sample.view);
    Frame(doc).DescriptionPane()->setPlainText(QStringLiteral("neu"));
    ui.yesNoAnswers = {false};
    Command(ID_FILE_CLOSE).trigger();
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(sample.view->GetDescription(), "neu");
}

TEST_F(CAppTest, ExitAsksEveryModifiedDocumentAndStopsAtNo) {
    CSampleModel first;
    CSampleModel second;
    OpenSample(first, true);
    OpenSample(second, false);
    ui.yesNoAnswers = {false};
    EXPECT_FALSE(Main().close());
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(app->Documents().size(), 2);
    ui.yesNoAnswers = {true};
    EXPECT_TRUE(Main().close());
    ProcessDeletes();
    EXPECT_TRUE(app->Documents().isEmpty());
}

TEST_F(CAppTest, ClosedDocumentEntersTheRecentFileList) {
    CSampleModel stored;
    stored.root->m_strDatabase = "/data/y.mdb";
    CVorlixDoc* doc = OpenSample(stored);
    CSampleModel other;
    OpenSample(other);
    EXPECT_EQ(app->RecentFiles(), (QStringList{"/data/x.mdb", "/data/y.mdb"}));
    Frame(doc).close();
    EXPECT_EQ(app->RecentFiles(), (QStringList{"/data/y.mdb", "/data/x.mdb"}));
    QSettings settings(QStringLiteral("Local AppWizard-Generated Applications"),
                       QStringLiteral("Vorlix"));
    EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File1")).toString(), "/data/y.mdb");
}

} // namespace
