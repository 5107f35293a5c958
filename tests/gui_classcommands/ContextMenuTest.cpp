#include "ClassCommandsSupport.h"

namespace {

const QStringList kTreeMenu = {"Klasse suchen ...", "-", "Klasse wird definiert in (Header) ...",
                               "Klasse wird definiert in (Funktionen) ..."};
const QStringList kMemberMenu = {"Funktion wird verwendet in ..."};

QPoint EmptySpace(CVorlixView& tree) {
    const QPoint point(5, tree.viewport()->height() - 3);
    EXPECT_EQ(tree.itemAt(point), nullptr);
    return point;
}

TEST_F(CAppTest, RightClickOnAClassSelectsItBeforeTheMenuOpens) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    CVorlixView& tree = Tree(doc);
    const QPoint point = LabelOf(tree, sample.wnd);
    CMenuRecorder menus;
    // The menu sees the class already shown.
    const CClassNode* shownWhenOpened = nullptr;
    menus.whenShown = [&] { shownWhenOpened = doc->m_pShown; };
    RightClick(tree, point);
    EXPECT_EQ(tree.SelectedNode(), sample.wnd);
    EXPECT_EQ(doc->m_pShown, sample.wnd);
    EXPECT_EQ(shownWhenOpened, sample.wnd);
    ASSERT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(MenuItems(menus.shown[0]), kTreeMenu);
    EXPECT_EQ(Frame(doc).FunctionList()->Texts(), QStringList{"Keine Funktionen vorhanden"});
}

TEST_F(CAppTest, RightClickOnTheRootOpensTheTreeMenu) {
    CSampleModel sample;
    CClassRoot* root = sample.root.get();
    CVorlixDoc* doc = OpenSample(sample);
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    CMenuRecorder menus;
    RightClick(Tree(doc), LabelOf(Tree(doc), root));
    EXPECT_EQ(doc->m_pShown, root);
    ASSERT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(MenuItems(menus.shown[0]), kTreeMenu);
}

TEST_F(CAppTest, RightClickOnEmptySpaceKeepsTheSelection) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    CVorlixView& tree = Tree(doc);
    ASSERT_TRUE(tree.SelectNode(sample.frameWnd));
    CMenuRecorder menus;
    RightClick(tree, EmptySpace(tree));
    EXPECT_EQ(tree.SelectedNode(), sample.frameWnd);
    EXPECT_EQ(doc->m_pShown, sample.frameWnd);
    ASSERT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(MenuItems(menus.shown[0]), kTreeMenu);
}

TEST_F(CAppTest, RightClickBesideALabelKeepsTheSelection) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    CVorlixView& tree = Tree(doc);
    ASSERT_TRUE(tree.SelectNode(sample.frameWnd));
    tree.scrollToItem(CVorlixView::ItemOf(sample.wnd->GetTreeItem()));
    const QRect row = tree.visualItemRect(CVorlixView::ItemOf(sample.wnd->GetTreeItem()));
    CMenuRecorder menus;
    RightClick(tree, QPoint(tree.viewport()->width() - 3, row.center().y()));
    RightClick(tree, QPoint(row.left() - 5, row.center().y()));
    EXPECT_EQ(tree.SelectedNode(), sample.frameWnd);
    EXPECT_EQ(menus.shown.size(), 2u);
}

TEST_F(CAppTest, NoTreeMenuWhileAMemberIsShown) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    CVorlixView& tree = Tree(doc);
    ASSERT_TRUE(tree.SelectNode(sample.view));
    ASSERT_TRUE(Frame(doc).VariableList()->SelectNode(sample.document));
    ASSERT_EQ(doc->m_pShown, sample.document);
    CMenuRecorder menus;
    RightClick(tree, EmptySpace(tree));
    EXPECT_TRUE(menus.shown.empty());
    EXPECT_EQ(doc->m_pShown, sample.document);
}

TEST_F(CAppTest, RightClickOnAFunctionShowsItAndOpensTheMemberMenu) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    CVorlixListView& functions = *Frame(doc).FunctionList();
    CMenuRecorder menus;
    RightClick(functions, CentreOf(functions, QStringLiteral("OnDraw")));
    EXPECT_EQ(doc->m_pShown, sample.onDraw);
    EXPECT_EQ(functions.SelectedNode(), sample.onDraw);
    EXPECT_EQ(functions.currentItem(), ListItem(functions, QStringLiteral("OnDraw")));
    EXPECT_NE(InfoText(doc).find("Memberfunktionsname:\n  OnDraw"), std::string::npos);
    ASSERT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(MenuItems(menus.shown[0]), kMemberMenu);
    // The lists keep the members of the class.
    EXPECT_EQ(functions.count(), 4);
}

TEST_F(CAppTest, RightClickOnAVariableShowsItWithoutMenu) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    CVorlixListView& variables = *Frame(doc).VariableList();
    CMenuRecorder menus;
    RightClick(variables, CentreOf(variables, QStringLiteral("m_pDocument")));
    EXPECT_EQ(doc->m_pShown, sample.document);
    EXPECT_TRUE(menus.shown.empty());
}

TEST_F(CAppTest, RightClickBesideTheFunctionsKeepsAShownFunctionsMenu) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    CVorlixListView& functions = *Frame(doc).FunctionList();
    ASSERT_TRUE(functions.SelectNode(sample.alpha));
    // A click where no item is selects nothing and leaves the shown function.
    QPoint empty(functions.viewport()->width() - 3, functions.viewport()->height() - 3);
    ASSERT_EQ(functions.itemAt(empty), nullptr);
    CMenuRecorder menus;
    RightClick(functions, empty);
    EXPECT_EQ(doc->m_pShown, sample.alpha);
    EXPECT_EQ(menus.shown.size(), 1u);

    // With the class shown again, the member menu stays shut.
    ASSERT_TRUE(Tree(doc).SelectNode(sample.wnd));
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    RightClick(functions, empty);
    EXPECT_EQ(menus.shown.size(), 1u);
}

} // namespace
