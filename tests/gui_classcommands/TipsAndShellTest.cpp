#include "ClassCommandsSupport.h"
#include "shell/AboutDlg.h"
#include "shell/CommandTexts.h"
#include "views/MemberListCommands.h"
#include "views/TreeViewCommands.h"

#include <QHelpEvent>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>
#include <set>

namespace {

TEST_F(CAppTest, TreeTipsReadAsInTheTreeAndHoverShowsThem) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    CVorlixView& tree = Tree(doc);
    const auto* commands = tree.findChild<CTreeViewCommands*>();
    ASSERT_NE(commands, nullptr);
    const std::pair<const CClassNode*, const char*> cases[] = {
        {doc->m_pRoot, "Anzahl Klassen: 7"},
        {sample.object, "void - CObject (C: 3 - F: 1 - V: 0)"},
        {sample.view, "CObject - CWnd - CView (C: 0 - F: 4 - V: 1)"},
        {sample.zebra, "void - Zebra (C: 1 - F: 0 - V: 0)"}};
    for (const auto& [node, tip] : cases) {
        EXPECT_EQ(commands->InfoTip(CVorlixView::ItemOf(node->GetTreeItem())),
                  QString::fromUtf8(tip));
    }
    EXPECT_EQ(commands->InfoTip(nullptr), QString());
    const QPoint at = LabelOf(tree, sample.wnd);
    QHelpEvent hover(QEvent::ToolTip, at, tree.viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree.viewport(), &hover);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("CObject - CWnd (C: 2 - F: 0 - V: 0)"));
    QToolTip::hideText();
}

TEST_F(CAppTest, MemberTipsReadLikeDeclarations) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    CVorlixListView& functions = *Frame(doc).FunctionList();
    CVorlixListView& variables = *Frame(doc).VariableList();
    const auto* functionTips = functions.findChild<CMemberListCommands*>();
    const auto* variableTips = variables.findChild<CMemberListCommands*>();
    ASSERT_NE(functionTips, nullptr);
    // The root shows the placeholders, which have no tip.
    EXPECT_EQ(functionTips->InfoTip(functions.item(0)), QString());

    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    EXPECT_EQ(functionTips->InfoTip(ListItem(functions, QStringLiteral("OnDraw"))),
              QStringLiteral("void CView::OnDraw(CDC* pDC);"));
    EXPECT_EQ(variableTips->InfoTip(ListItem(variables, QStringLiteral("m_pDocument"))),
              QStringLiteral("CDocument* m_pDocument;"));

    const QPoint at = CentreOf(functions, QStringLiteral("OnDraw"));
    QHelpEvent hover(QEvent::ToolTip, at, functions.viewport()->mapToGlobal(at));
    QApplication::sendEvent(functions.viewport(), &hover);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("void CView::OnDraw(CDC* pDC);"));
    QToolTip::hideText();
}

TEST_F(CAppTest, AboutCommandShowsTheAboutBox) {
    CModalDriver driver([&](QWidget* modal) {
        auto* about = qobject_cast<CAboutDlg*>(modal);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->windowTitle(), QStringLiteral("Info über Vorlix"));
        EXPECT_EQ(about->TextLabel()->text(), QStringLiteral("Vorlix, Version 1.0"));
        EXPECT_EQ(about->TextLabel()->textFormat(), Qt::PlainText);
        EXPECT_FALSE(about->IconLabel()->pixmap().isNull());
        EXPECT_TRUE(about->OkButton()->isDefault());
        about->OkButton()->click();
    });
    Command(ID_APP_ABOUT).trigger();
    EXPECT_TRUE(driver.Ran());
}

QString FromTable(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

TEST_F(CAppTest, EveryMenuItemCarriesItsPrompt) {
    int checked = 0;
    for (int menuId : {128, 129}) {
        for (const QMenu* menu : Main().MenuPopups(menuId)) {
            for (const QAction* action : menu->actions()) {
                if (action->isSeparator()) {
                    continue;
                }
                const SCommandText* text = FindCommandText(action->data().toInt());
                ASSERT_NE(text, nullptr) << Utf8(action->text());
                EXPECT_EQ(action->statusTip(), FromTable(text->prompt)) << Utf8(action->text());
                ++checked;
            }
        }
    }
    // Two file menus with their recent-file entries, two view menus, the
    // window menu and the help menu.
    EXPECT_GE(checked, 30);
    std::set<int> ids;
    for (const SCommandText& text : CommandTexts()) {
        EXPECT_TRUE(ids.insert(text.id).second) << text.id;
    }
    EXPECT_EQ(FindCommandText(0), nullptr);
}

TEST_F(CAppTest, HighlightedMenuItemShowsItsPromptThenReady) {
    CSampleModel sample;
    OpenSample(sample);
    QMenu* file = Main().MenuPopups(129).at(0);
    file->popup(QPoint(0, 0));
    file->setActiveAction(&Command(ID_UPDATE_TREE));
    EXPECT_EQ(Main().statusBar()->currentMessage(),
              QStringLiteral("Aktualisiert den kompletten Baum."));
    EXPECT_FALSE(Main().MessagePane()->isVisible());
    file->hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(Main().statusBar()->currentMessage(), QString());
    EXPECT_TRUE(Main().MessagePane()->isVisible());
    EXPECT_EQ(Main().MessagePane()->text(), QStringLiteral("Bereit"));
}

TEST_F(CAppTest, ToolBarButtonsHaveTheirTips) {
    QToolBar* bar = Main().ToolBar();
    const std::pair<int, const char*> buttons[] = {{ID_FILE_NEW, "Parsen"},
                                                   {ID_FILE_OPEN, "Öffnen"},
                                                   {ID_FILE_SAVE, "Speichern"},
                                                   {ID_APP_ABOUT, "Info"}};
    for (const auto& [id, tip] : buttons) {
        const QWidget* button = bar->widgetForAction(&Command(id));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(tip)) << id;
    }
}

QAction* PaneCommand(CMainFrame& frame, int id) {
    for (QAction* action : frame.actions()) {
        if (action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

TEST_F(CAppTest, F6AndShiftF6MoveBetweenThePanesPassingDisabledLists) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    QAction* next = PaneCommand(Main(), ID_NEXT_PANE);
    QAction* previous = PaneCommand(Main(), ID_PREV_PANE);
    ASSERT_NE(next, nullptr);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(next->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(previous->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F6));
    EXPECT_EQ(next->statusTip(), QStringLiteral("Wechselt zum nächsten Fensterausschnitt."));
    Main().activateWindow();
    QApplication::setActiveWindow(&Main());
    Tree(doc).setFocus();
    ASSERT_EQ(QApplication::focusWidget(), &Tree(doc));
    // The root is shown: both member lists hold their disabled placeholders.
    next->trigger();
    EXPECT_EQ(QApplication::focusWidget(), Frame(doc).InfoPane());
    previous->trigger();
    previous->trigger();
    EXPECT_EQ(QApplication::focusWidget(), Frame(doc).DescriptionPane());

    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    Tree(doc).setFocus();
    for (QWidget* pane : std::initializer_list<QWidget*>{
             Frame(doc).FunctionList(), Frame(doc).VariableList(), Frame(doc).InfoPane(),
             Frame(doc).DescriptionPane(), &Tree(doc)}) {
        next->trigger();
        EXPECT_EQ(QApplication::focusWidget(), pane) << Utf8(pane->objectName());
    }
    previous->trigger();
    EXPECT_EQ(QApplication::focusWidget(), Frame(doc).DescriptionPane());
}

} // namespace
