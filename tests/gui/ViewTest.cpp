#include "GuiTestSupport.h"

#include <QKeyEvent>
#include <QSet>

namespace {

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

class CViewTest : public CAppTest {
protected:
    void SetUp() override {
        CAppTest::SetUp();
        doc = OpenSample(sample);
    }
    CSampleModel sample;
    CVorlixDoc* doc = nullptr;
};

TEST_F(CViewTest, FreshWindowShowsTheRootWithPlaceholdersAndSortedTree) {
    EXPECT_EQ(doc->m_pShown, doc->m_pRoot);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Tree(doc).SelectedNode(), doc->m_pRoot);
    EXPECT_EQ(DescriptionText(doc), "keine Beschreibung vorhanden");
    EXPECT_TRUE(Frame(doc).DescriptionPane()->isReadOnly());
    // The placeholder items (their texts are the core's) carry no member.
    for (CVorlixListView* list : {Frame(doc).FunctionList(), Frame(doc).VariableList()}) {
        EXPECT_FALSE(list->isEnabled());
        EXPECT_EQ(CVorlixListView::NodeOf(list->item(0)), nullptr);
    }

    ASSERT_EQ(Tree(doc).topLevelItemCount(), 1);
    EXPECT_EQ(Tree(doc).topLevelItem(0)->text(0), "/data/x.mdb (Klassen)");
    EXPECT_EQ(ChildTexts(Tree(doc).topLevelItem(0)), (Texts{"aardvark", "CObject", "Zebra"}));
    EXPECT_EQ(ChildTexts(ItemOf(sample.wnd)), (Texts{"CFrameWnd", "CView"}));
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(ChildTexts(Tree(doc).topLevelItem(0)),
              (Texts{"aardvark", "CFrameWnd", "CObject", "CStripe", "CView", "CWnd", "Zebra"}));
    EXPECT_EQ(ItemOf(sample.wnd)->childCount(), 0);
}

TEST_F(CViewTest, SelectingShowsTheDetailsFillsTheListsWithIcons) {
    ASSERT_TRUE(Tree(doc).SelectNode(sample.zebra));
    EXPECT_EQ(doc->m_pShown, sample.zebra);
    EXPECT_EQ(InfoText(doc),
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
    EXPECT_EQ(InfoText(doc).substr(0, 29), "Memberfunktionsname:\n  OnDraw");
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

    ASSERT_TRUE(Tree(doc).SelectNode(sample.frameWnd));
    EXPECT_EQ(functions->Texts(), Texts{"Keine Funktionen vorhanden"});
    EXPECT_FALSE(functions->isEnabled());
    // The keyboard selects as the mouse does.
    Command(ID_EXPAND_ALL).trigger();
    Tree(doc).SelectNode(doc->m_pRoot);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&Tree(doc), &down);
    EXPECT_EQ(doc->m_pShown, sample.aardvark);
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
    EXPECT_EQ(sample.view->GetDescription(), Utf8(edited));
    Tree(doc).SelectNode(sample.view);
    EXPECT_EQ(DescriptionText(doc), Utf8(edited));
}

TEST_F(CViewTest, FlatPresentationKeepsTheSelectedClassButNotAMember) {
    EXPECT_TRUE(Command(ID_SHOW_HIERARCHY).isChecked());
    Tree(doc).SelectNode(sample.view);
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(Tree(doc).m_nTreeMode, 1);
    EXPECT_TRUE(Command(ID_SHOW_LIST).isChecked());
    EXPECT_FALSE(Command(ID_SHOW_HIERARCHY).isChecked());
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.view);
    EXPECT_EQ(doc->m_pShown, sample.view);
    EXPECT_EQ(Frame(doc).FunctionList()->count(), 4);
    // Choosing the shown presentation again does not rebuild the tree.
    QTreeWidgetItem* rootItem = Tree(doc).topLevelItem(0);
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(Tree(doc).topLevelItem(0), rootItem);
    Command(ID_SHOW_HIERARCHY).trigger();
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.view);
    Frame(doc).FunctionList()->SelectNode(sample.onDraw);
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(doc->m_pShown, doc->m_pRoot);
}

TEST_F(CViewTest, TitleAndRecentFilesFollowTheDocuments) {
    EXPECT_EQ(Utf8(Frame(doc).windowTitle()), "/data/x.mdb (Klassen)");
    EXPECT_EQ(Utf8(Main().windowTitle()), "Vorlix - [/data/x.mdb (Klassen)]");
    CSampleModel parsed(false);
    CVorlixDoc* fresh = OpenSample(parsed, true);
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(fresh->GetTitle(), "Unbekannt (Unbekannt)");
    // A structure without a database does not enter the recent-file list.
    EXPECT_EQ(app->RecentFiles(), QStringList{"/data/x.mdb"});
    CSampleModel other;
    other.root->m_strDatabase = "/data/y.mdb";
    OpenSample(other);
    EXPECT_EQ(app->RecentFiles(), (QStringList{"/data/y.mdb", "/data/x.mdb"}));
    Frame(doc).close(); // a closed document moves to the top
    EXPECT_EQ(app->RecentFiles(), (QStringList{"/data/x.mdb", "/data/y.mdb"}));
    EXPECT_EQ(QSettings(QStringLiteral("Vorlix"), QStringLiteral("Vorlix"))
                  .value(QStringLiteral("Recent File List/File1")),
              "/data/x.mdb");

    std::vector<std::string> names{"stale"};
    fresh->CollectClassNames(names); // each class after its descendants
    EXPECT_EQ(names, (std::vector<std::string>{"CView", "CFrameWnd", "CWnd", "CObject", "aardvark",
                                               "CStripe", "Zebra"}));
}

TEST_F(CViewTest, ClosingAModifiedDocumentOrTheProgramAsks) {
    Tree(doc).SelectNode(sample.view);
    Frame(doc).DescriptionPane()->setPlainText(QStringLiteral("neu")); // not yet taken
    ui.yesNoAnswers = {false};
    Command(ID_FILE_CLOSE).trigger();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0], "Klassenstruktur der Headers wurde verändert!\n\n"
                               "Soll das Dokument trotzdem geschlossen werden?");
    EXPECT_EQ(app->Documents(), QList<CVorlixDoc*>{doc});
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(sample.view->GetDescription(), "neu");
}

} // namespace
