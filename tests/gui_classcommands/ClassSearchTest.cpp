#include "ClassCommandsSupport.h"
#include "shell/ClassSelectDlg.h"

#include <QListWidget>
#include <QPushButton>

namespace {

// Chooses "Klasse suchen ..." from the tree's menu; the dialog picks the
// entry with the given text, or cancels when it is empty. Returns the names
// the dialog offered.
QStringList FindClass(CVorlixDoc* doc, const QString& pick) {
    QStringList offered;
    CModalDriver driver([&](QWidget* modal) {
        auto* dialog = qobject_cast<CClassSelectDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        for (int row = 0; row < dialog->List()->count(); ++row) {
            offered << dialog->List()->item(row)->text();
            if (dialog->List()->item(row)->text() == pick) {
                dialog->List()->setCurrentRow(row);
            }
        }
        if (pick.isEmpty()) {
            dialog->CancelButton()->click();
        } else {
            dialog->OkButton()->click();
        }
    });
    CMenuRecorder menus;
    menus.choose = ID_FIND_CLASS;
    CVorlixView& tree = *doc->GetFrame()->TreeView();
    RightClick(tree, LabelOf(tree, tree.currentItem()));
    EXPECT_TRUE(driver.Ran());
    return offered;
}

TEST_F(CAppTest, ClassSearchSelectsTheChosenClass) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    const QStringList offered = FindClass(doc, QStringLiteral("CStripe"));
    EXPECT_EQ(offered, (QStringList{"aardvark", "CFrameWnd", "CObject", "CStripe", "CView", "CWnd",
                                    "Zebra"}));
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.stripe);
    EXPECT_EQ(doc->m_pShown, sample.stripe);
    EXPECT_NE(InfoText(doc).find("Klassenname:\n  CStripe"), std::string::npos);
}

TEST_F(CAppTest, ClassSearchWorksInTheFlatPresentation) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    Command(ID_SHOW_LIST).trigger();
    FindClass(doc, QStringLiteral("CView"));
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.view);
    EXPECT_EQ(Frame(doc).FunctionList()->count(), 4);
}

TEST_F(CAppTest, CancelledClassSearchChangesNothing) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    ASSERT_TRUE(Tree(doc).SelectNode(sample.wnd));
    FindClass(doc, QString());
    EXPECT_EQ(Tree(doc).SelectedNode(), sample.wnd);
    EXPECT_EQ(doc->m_pShown, sample.wnd);
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

} // namespace
