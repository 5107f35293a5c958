#pragma once

#include "../gui/GuiTestSupport.h"
#include "ModalDriver.h"
#include "shell/ContextMenus.h"

#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <optional>

// Stands in for the context menus' popup while it lives: records each menu
// that would open and, when told, chooses one of its commands as the user
// would.
class CMenuRecorder {
public:
    CMenuRecorder() {
        SetContextMenuHook([this](QMenu& menu, const QPoint&) {
            shown.push_back(&menu);
            if (whenShown) {
                whenShown();
            }
            if (choose) {
                QAction* action = FindCommandAction(&menu, *choose);
                ASSERT_NE(action, nullptr);
                action->trigger();
            }
        });
    }
    ~CMenuRecorder() { SetContextMenuHook(nullptr); }
    CMenuRecorder(const CMenuRecorder&) = delete;
    CMenuRecorder& operator=(const CMenuRecorder&) = delete;

    std::vector<QMenu*> shown;
    std::function<void()> whenShown;
    std::optional<int> choose;
};

// A real right-button click at a point of a view's viewport: spontaneous, in
// an active window, so that the press gives the view the focus first.
inline void RightClick(QAbstractItemView& view, const QPoint& at) {
    view.window()->show();
    QApplication::setActiveWindow(view.window());
    QTest::mouseClick(view.viewport(), Qt::RightButton, Qt::NoModifier, at);
}

// A point on a node's label: the tree hits an item there only.
inline QPoint LabelOf(CVorlixView& tree, const CClassNode* node) {
    const QTreeWidgetItem* item = CVorlixView::ItemOf(node->GetTreeItem());
    tree.scrollToItem(item);
    const QRect row = tree.visualItemRect(item);
    return QPoint(row.left() + 3, row.center().y());
}

inline QPoint CentreOf(CVorlixListView& list, const QString& text) {
    QCoreApplication::processEvents(); // the list lays its items out late
    return list.visualItemRect(list.findItems(text, Qt::MatchExactly).value(0)).center();
}

// Right-clicks the node (a class in the tree, a function in its shown
// class's function list), chooses the command from its menu and lets
// answer() handle the dialog that opens. Tells whether one opened.
inline bool ChooseFromMenu(CChildFrame& frame, const CClassNode* node, int command,
                           std::function<void(QWidget*)> answer) {
    CModalDriver driver(std::move(answer), 3000);
    CMenuRecorder menus;
    menus.choose = command;
    if (node->GetKind() == KindFunction) {
        EXPECT_TRUE(frame.TreeView()->SelectNode(node->m_pParent));
        CVorlixListView& functions = *frame.FunctionList();
        RightClick(functions, CentreOf(functions, QString::fromStdString(node->GetName())));
    } else {
        RightClick(*frame.TreeView(), LabelOf(*frame.TreeView(), node));
    }
    EXPECT_EQ(menus.shown.size(), 1u);
    return driver.Ran();
}
