#include "ClassCommandsSupport.h"
#include "shell/ClassSelectDlg.h"

#include <QLineEdit>
#include <QListWidget>

namespace {

QStringList Entries(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

// Chooses "Klasse suchen ..." from the tree's menu; the dialog picks the
// entry with the given text, or cancels when it is empty. Returns the names
// the dialog offered.
QStringList FindClass(CVorlixDoc* doc, const QString& pick) {
    QStringList offered;
    CModalDriver driver([&](QWidget* modal) {
        auto* dialog = qobject_cast<CClassSelectDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Wählen Sie die zu lokalisierende Klasse"));
        offered = Entries(dialog->List());
        dialog->List()->setCurrentRow(static_cast<int>(offered.indexOf(pick)));
        (pick.isEmpty() ? dialog->CancelButton() : dialog->OkButton())->click();
    });
    CMenuRecorder menus;
    menus.choose = ID_FIND_CLASS;
    CVorlixView& tree = *doc->GetFrame()->TreeView();
    RightClick(tree, LabelOf(tree, tree.currentItem()));
    EXPECT_TRUE(driver.Ran());
    return offered;
}

TEST_F(CAppTest, ClassSearchSelectsTheChosenClassInBothPresentations) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    EXPECT_EQ(
        FindClass(doc, QStringLiteral("CStripe")),
        (QStringList{"aardvark", "CFrameWnd", "CObject", "CStripe", "CView", "CWnd", "Zebra"}));
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.stripe);
    EXPECT_EQ(doc->m_pShown, sample.stripe);
    Command(ID_SHOW_LIST).trigger();
    FindClass(doc, QStringLiteral("CView"));
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.view);
    EXPECT_EQ(Frame(doc).FunctionList()->count(), 4);
    FindClass(doc, QString()); // cancelled
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.view);
    EXPECT_EQ(doc->m_pShown, sample.view);
}

// A structure not yet stored has a root named "Unbekannt"; a class of that
// name is still the one found.
TEST_F(CAppTest, ClassSearchNeverSelectsTheRootForAClass) {
    CSampleModel sample(false);
    CClassNode* unknown =
        CSampleModel::Add(sample.root.get(), "Unbekannt", KindClass, 20, 3, "/u.h");
    CVorlixDoc* doc = OpenSample(sample);
    ASSERT_EQ(doc->m_pRoot->GetName(), "Unbekannt");
    FindClass(doc, QStringLiteral("Unbekannt"));
    EXPECT_EQ(Tree(doc).SelectedNode(), unknown);
}

TEST(ClassSelectDlg, SortsCaseInsensitivelyAndGivesTheChosenNameOrNone) {
    const std::vector<std::string> names = {"beta", "Alpha", "Zeta", "beta", "Ärger"};
    CClassSelectDlg dialog;
    dialog.SetNames(&names);
    dialog.OnInitDialog();
    EXPECT_EQ(Entries(dialog.List()), (QStringList{"Alpha", "beta", "beta", "Zeta", "Ärger"}));
    EXPECT_EQ(dialog.List()->currentRow(), 0);
    EXPECT_EQ(dialog.GetSelectedName(), "");
    dialog.List()->setCurrentRow(2);
    dialog.accept();
    EXPECT_EQ(dialog.GetSelectedName(), "beta");
    const std::vector<std::string> none;
    CClassSelectDlg empty;
    empty.SetNames(&none);
    empty.OnInitDialog();
    EXPECT_FALSE(empty.OkButton()->isEnabled());
    empty.accept();
    EXPECT_EQ(empty.GetSelectedName(), "");
}

// Typing narrows the list to names that contain the text in any case;
// Enter takes the first of them.
TEST(ClassSelectDlg, FilterNarrowsAndEnterTakesTheFirstMatch) {
    const std::vector<std::string> names = {"CView", "CDocument", "CScrollView", "aardvark"};
    CClassSelectDlg dialog;
    dialog.SetNames(&names);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    const std::pair<const char*, QStringList> cases[] = {
        {"VIEW", {"CScrollView", "CView"}},
        {"x", {}},
        {"", {"aardvark", "CDocument", "CScrollView", "CView"}}};
    for (const auto& [typed, shown] : cases) {
        dialog.FilterField()->clear();
        QTest::keyClicks(dialog.FilterField(), QString::fromUtf8(typed));
        QStringList visible;
        for (int i = 0; i < dialog.List()->count(); ++i) {
            if (!dialog.List()->item(i)->isHidden()) {
                visible << dialog.List()->item(i)->text();
            }
        }
        EXPECT_EQ(visible, shown) << typed;
        EXPECT_EQ(dialog.OkButton()->isEnabled(), !shown.isEmpty()) << typed;
    }
    QTest::keyClicks(dialog.FilterField(), QStringLiteral("scroll"));
    QTest::keyClick(dialog.FilterField(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetSelectedName(), "CScrollView");
}

} // namespace
