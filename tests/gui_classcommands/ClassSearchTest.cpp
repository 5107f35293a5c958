#include "ClassCommandsSupport.h"
#include "shell/ClassSelectDlg.h"

#include <QLineEdit>
#include <QListWidget>

namespace {

// The texts of the entries a list shows.
QStringList Shown(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        if (!list->item(i)->isHidden()) {
            texts << list->item(i)->text();
        }
    }
    return texts;
}

// Chooses "Klasse suchen ..." from the tree's menu; the dialog picks the
// entry with the given text, or cancels when it is empty. Returns the names
// the dialog offered.
QStringList FindClass(CVorlixDoc* doc, const QString& pick) {
    QStringList offered;
    EXPECT_TRUE(
        ChooseFromMenu(*doc->GetFrame(), doc->GetFrame()->TreeView()->SelectedNode(), ID_FIND_CLASS,
                       [&](QWidget* modal) {
                           auto* dialog = qobject_cast<CClassSelectDlg*>(modal);
                           ASSERT_NE(dialog, nullptr);
                           EXPECT_EQ(dialog->windowTitle(),
                                     QStringLiteral("Wählen Sie die zu lokalisierende Klasse"));
                           offered = Shown(dialog->List());
                           dialog->List()->setCurrentRow(static_cast<int>(offered.indexOf(pick)));
                           (pick.isEmpty() ? dialog->CancelButton() : dialog->OkButton())->click();
                       }));
    return offered;
}

// In both presentations; a structure not yet stored has a root named
// "Unbekannt", yet a class of that name is the one found.
TEST_F(CAppTest, ClassSearchSelectsTheChosenClassInBothPresentations) {
    CSampleModel sample(false);
    CClassNode* unknown =
        CSampleModel::Add(sample.root.get(), "Unbekannt", KindClass, 20, 3, "/u.h");
    CVorlixDoc* doc = OpenSample(sample);
    ASSERT_EQ(doc->m_pRoot->GetName(), "Unbekannt");
    EXPECT_EQ(FindClass(doc, QStringLiteral("CStripe")),
              (QStringList{"aardvark", "CFrameWnd", "CObject", "CStripe", "CView", "CWnd",
                           "Unbekannt", "Zebra"}));
    EXPECT_EQ(doc->m_pShown, sample.stripe);
    Command(ID_SHOW_LIST).trigger(); // the flat list keeps the selected class
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.stripe);
    FindClass(doc, QStringLiteral("CView"));
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.view);
    FindClass(doc, QString()); // cancelled
    EXPECT_EQ(doc->m_pShown, sample.view);
    // A shown member stays while the presentation does, then gives way to the root.
    Frame(doc).FunctionList()->SelectNode(sample.onDraw);
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(doc->m_pShown, sample.onDraw);
    Command(ID_SHOW_HIERARCHY).trigger();
    EXPECT_EQ(doc->m_pShown, doc->m_pRoot);
    FindClass(doc, QStringLiteral("Unbekannt"));
    EXPECT_EQ(Tree(doc).SelectedNode(), unknown);
}

// Sorted without regard to case, duplicates kept; typing narrows the list to
// names that contain the text in any case; Enter takes the first of them.
TEST(ClassSelectDlg, SortsFiltersAndGivesTheChosenNameOrNone) {
    const std::vector<std::string> names = {"CView", "beta", "CScrollView",
                                            "Alpha", "beta", "Ärger"};
    CClassSelectDlg dialog;
    dialog.SetNames(&names);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(dialog.List()->currentRow(), 0);
    EXPECT_EQ(dialog.GetSelectedName(), "");
    const std::pair<const char*, QStringList> cases[] = {
        {"VIEW", {"CScrollView", "CView"}},
        {"x", {}},
        {"", {"Alpha", "beta", "beta", "CScrollView", "CView", "Ärger"}}};
    for (const auto& [typed, shown] : cases) {
        dialog.FilterField()->clear();
        QTest::keyClicks(dialog.FilterField(), QString::fromUtf8(typed));
        EXPECT_EQ(Shown(dialog.List()), shown) << typed;
        EXPECT_EQ(dialog.OkButton()->isEnabled(), !shown.isEmpty()) << typed;
    }
    QTest::keyClicks(dialog.FilterField(), QStringLiteral("scroll"));
    QTest::keyClick(dialog.FilterField(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetSelectedName(), "CScrollView");
    const std::vector<std::string> none;
    CClassSelectDlg empty;
    empty.SetNames(&none);
    empty.OnInitDialog();
    EXPECT_FALSE(empty.OkButton()->isEnabled());
}

class CMenuTest : public CDocTest {
protected:
    QPoint EmptySpace() {
        const QPoint point(5, Tree(doc).viewport()->height() - 3);
        EXPECT_EQ(Tree(doc).itemAt(point), nullptr);
        return point;
    }
    CMenuRecorder menus;
};

// Beside a label or on empty space the selection stays; on the label of a
// class or the root the entry is selected before the menu opens.
TEST_F(CMenuTest, RightClickSelectsTheEntryUnderItsLabelBeforeTheMenuOpens) {
    CVorlixView& tree = Tree(doc);
    ASSERT_TRUE(tree.SelectNode(sample.frameWnd));
    const QPoint label = LabelOf(tree, sample.wnd);
    for (const QPoint& beside : {EmptySpace(), QPoint(tree.viewport()->width() - 3, label.y()),
                                 QPoint(label.x() - 8, label.y())}) {
        RightClick(tree, beside);
    }
    EXPECT_EQ(tree.SelectedNode(), sample.frameWnd);
    EXPECT_EQ(doc->m_pShown, sample.frameWnd);
    const CClassNode* shownWhenOpened = nullptr;
    menus.whenShown = [&] { shownWhenOpened = doc->m_pShown; };
    RightClick(tree, label);
    EXPECT_EQ(tree.SelectedNode(), sample.wnd);
    EXPECT_EQ(shownWhenOpened, sample.wnd);
    RightClick(tree, LabelOf(tree, doc->m_pRoot));
    EXPECT_EQ(doc->m_pShown, doc->m_pRoot);
    ASSERT_EQ(menus.shown.size(), 5u);
    EXPECT_EQ(MenuTexts(menus.shown[3]->actions()),
              (QStringList{"Klasse suchen ...", "-", "Klasse wird definiert in (Header) ...",
                           "Klasse wird definiert in (Funktionen) ..."}));
}

// A variable has no menu, a function the member menu. While a member is
// shown, the press that gives the tree the focus must not show the class.
TEST_F(CMenuTest, MembersMenusAndNoTreeMenuWhileAMemberIsShown) {
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    CVorlixListView& functions = *Frame(doc).FunctionList();
    RightClick(*Frame(doc).VariableList(),
               CentreOf(*Frame(doc).VariableList(), QStringLiteral("m_pDocument")));
    RightClick(Tree(doc), EmptySpace());
    EXPECT_TRUE(menus.shown.empty());
    EXPECT_EQ(doc->m_pShown, sample.document);
    RightClick(functions, CentreOf(functions, QStringLiteral("OnDraw")));
    EXPECT_EQ(doc->m_pShown, sample.onDraw);
    ASSERT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(MenuTexts(menus.shown[0]->actions()), QStringList{"Funktion wird verwendet in ..."});
    EXPECT_EQ(functions.count(), 4); // the lists keep the members of the class
}

} // namespace
