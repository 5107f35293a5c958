#include "ClassCommandsSupport.h"

namespace {

const QStringList kTreeMenu = {"Klasse suchen ...", "-", "Klasse wird definiert in (Header) ...",
                               "Klasse wird definiert in (Funktionen) ..."};

class CMenuTest : public CAppTest {
protected:
    void SetUp() override {
        CAppTest::SetUp();
        doc = OpenSample(sample);
    }
    QPoint EmptySpace() {
        const QPoint point(5, Tree(doc).viewport()->height() - 3);
        EXPECT_EQ(Tree(doc).itemAt(point), nullptr);
        return point;
    }
    CSampleModel sample;
    CVorlixDoc* doc = nullptr;
    CMenuRecorder menus;
};

TEST_F(CMenuTest, RightClickOnAClassOrTheRootSelectsItBeforeTheMenuOpens) {
    CVorlixView& tree = Tree(doc);
    const CClassNode* shownWhenOpened = nullptr;
    menus.whenShown = [&] { shownWhenOpened = doc->m_pShown; };
    RightClick(tree, LabelOf(tree, sample.wnd));
    EXPECT_EQ(tree.SelectedNode(), sample.wnd);
    EXPECT_EQ(shownWhenOpened, sample.wnd);
    ASSERT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(MenuTexts(menus.shown[0]->actions()), kTreeMenu);
    EXPECT_EQ(FindCommandAction(menus.shown[0], ID_FIND_CLASS)->statusTip(),
              QStringLiteral("Sucht Klasse in Klassenansichtsbaum."));
    RightClick(tree, LabelOf(tree, doc->m_pRoot));
    EXPECT_EQ(doc->m_pShown, doc->m_pRoot);
    EXPECT_EQ(menus.shown.size(), 2u);
}

TEST_F(CMenuTest, RightClickOnEmptySpaceOrBesideALabelKeepsTheSelection) {
    CVorlixView& tree = Tree(doc);
    ASSERT_TRUE(tree.SelectNode(sample.frameWnd));
    RightClick(tree, EmptySpace());
    tree.scrollToItem(CVorlixView::ItemOf(sample.wnd->GetTreeItem()));
    const QRect row = tree.visualItemRect(CVorlixView::ItemOf(sample.wnd->GetTreeItem()));
    RightClick(tree, QPoint(tree.viewport()->width() - 3, row.center().y()));
    RightClick(tree, QPoint(row.left() - 5, row.center().y()));
    EXPECT_EQ(tree.SelectedNode(), sample.frameWnd);
    EXPECT_EQ(doc->m_pShown, sample.frameWnd);
    ASSERT_EQ(menus.shown.size(), 3u);
    EXPECT_EQ(MenuTexts(menus.shown[0]->actions()), kTreeMenu);
}

// The press gives the tree the focus; that must not show the selected class.
TEST_F(CMenuTest, NoTreeMenuWhileAMemberIsShown) {
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    ASSERT_TRUE(Frame(doc).VariableList()->SelectNode(sample.document));
    Frame(doc).VariableList()->setFocus();
    RightClick(Tree(doc), EmptySpace());
    EXPECT_TRUE(menus.shown.empty());
    EXPECT_EQ(doc->m_pShown, sample.document);
}

TEST_F(CMenuTest, RightClickOnAFunctionOpensTheMemberMenuOnAVariableNone) {
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    CVorlixListView& functions = *Frame(doc).FunctionList();
    RightClick(*Frame(doc).VariableList(),
               CentreOf(*Frame(doc).VariableList(), QStringLiteral("m_pDocument")));
    EXPECT_EQ(doc->m_pShown, sample.document);
    EXPECT_TRUE(menus.shown.empty());
    RightClick(functions, CentreOf(functions, QStringLiteral("OnDraw")));
    EXPECT_EQ(doc->m_pShown, sample.onDraw);
    EXPECT_EQ(functions.currentItem(), ListItem(functions, QStringLiteral("OnDraw")));
    EXPECT_NE(InfoText(doc).find("Memberfunktionsname:\n  OnDraw"), std::string::npos);
    ASSERT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(MenuTexts(menus.shown[0]->actions()), QStringList{"Funktion wird verwendet in ..."});
    EXPECT_EQ(functions.count(), 4); // the lists keep the members of the class
}

} // namespace
