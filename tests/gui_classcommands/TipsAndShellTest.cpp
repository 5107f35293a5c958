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

namespace {

struct TreeTipCase {
    const char* name;
    CClassNode* CSampleModel::*node;
    const char* tip;
};

void PrintTo(const TreeTipCase& c, std::ostream* os) {
    *os << c.name;
}

class CTreeTips : public CAppTest, public testing::WithParamInterface<TreeTipCase> {};

TEST_P(CTreeTips, ReadAsInTheTree) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    const auto* commands = Tree(doc).findChild<CTreeViewCommands*>();
    ASSERT_NE(commands, nullptr);
    const CClassNode* node = sample.*GetParam().node;
    EXPECT_EQ(commands->InfoTip(CVorlixView::ItemOf(node->GetTreeItem())),
              QString::fromUtf8(GetParam().tip));
}

INSTANTIATE_TEST_SUITE_P(Sample, CTreeTips,
                         testing::Values(TreeTipCase{"ClassBelowRoot", &CSampleModel::object,
                                                     "void - CObject (C: 3 - F: 1 - V: 0)"},
                                         TreeTipCase{"ClassTwoDown", &CSampleModel::view,
                                                     "CObject - CWnd - CView (C: 0 - F: 4 - V: 1)"},
                                         TreeTipCase{"Placeholder", &CSampleModel::zebra,
                                                     "void - Zebra (C: 1 - F: 0 - V: 0)"}),
                         [](const testing::TestParamInfo<TreeTipCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(CAppTest, RootTipCountsAllClassesAndHoverShowsTheTip) {
    CSampleModel sample;
    CClassRoot* root = sample.root.get();
    CVorlixDoc* doc = OpenSample(sample);
    CVorlixView& tree = Tree(doc);
    const auto* commands = tree.findChild<CTreeViewCommands*>();
    EXPECT_EQ(commands->InfoTip(CVorlixView::ItemOf(root->GetTreeItem())),
              QStringLiteral("Anzahl Klassen: 7"));
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
    QString title;
    CModalDriver driver([&](QWidget* modal) {
        auto* about = qobject_cast<CAboutDlg*>(modal);
        ASSERT_NE(about, nullptr);
        title = about->windowTitle();
        about->OkButton()->click();
    });
    Command(ID_APP_ABOUT).trigger();
    EXPECT_TRUE(driver.Ran());
    EXPECT_EQ(title, QStringLiteral("Info über Vorlix"));
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

TEST_F(CAppTest, WindowListEntriesActivateTheirWindow) {
    CSampleModel first;
    CSampleModel second;
    OpenSample(first);
    OpenSample(second);
    QMenu* window = Main().MenuPopups(129).at(2);
    emit window->aboutToShow();
    int entries = 0;
    for (const QAction* action : window->actions()) {
        if (!action->isSeparator() && !action->data().isValid()) {
            EXPECT_EQ(action->statusTip(), QStringLiteral("Aktiviert dieses Fenster."));
            ++entries;
        }
    }
    EXPECT_EQ(entries, 2);
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

TEST_F(CAppTest, F6AndShiftF6MoveBetweenThePanes) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
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
    const QList<QWidget*> order = {Frame(doc).FunctionList(), Frame(doc).VariableList(),
                                   Frame(doc).InfoPane(), Frame(doc).DescriptionPane(), &Tree(doc)};
    for (QWidget* pane : order) {
        next->trigger();
        EXPECT_EQ(QApplication::focusWidget(), pane) << Utf8(pane->objectName());
    }
    previous->trigger();
    EXPECT_EQ(QApplication::focusWidget(), Frame(doc).DescriptionPane());
}

TEST_F(CAppTest, PaneSwitchingPassesOverDisabledLists) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    // The root is shown: both member lists hold their disabled placeholders.
    Main().activateWindow();
    QApplication::setActiveWindow(&Main());
    Tree(doc).setFocus();
    PaneCommand(Main(), ID_NEXT_PANE)->trigger();
    EXPECT_EQ(QApplication::focusWidget(), Frame(doc).InfoPane());
    PaneCommand(Main(), ID_PREV_PANE)->trigger();
    PaneCommand(Main(), ID_PREV_PANE)->trigger();
    EXPECT_EQ(QApplication::focusWidget(), Frame(doc).DescriptionPane());
}

} // namespace
