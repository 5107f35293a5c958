#include "shell/ShellCommands.h"

#include "shell/AboutDlg.h"
#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/CommandTexts.h"
#include "shell/ContextMenus.h"
#include "shell/MainFrame.h"
#include "views/VorlixListView.h"
#include "views/VorlixView.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>

namespace {

const char* const kActivateWindowPrompt = "Aktiviert dieses Fenster.";

void ApplyTextsToMenu(QMenu* menu) {
    for (QAction* action : menu->actions()) {
        bool isId = false;
        const int id = action->data().toInt(&isId);
        if (!action->isSeparator() && isId) {
            ApplyCommandTexts(action, id);
        }
    }
}

// The window list is rebuilt each time its menu opens; its entries have no
// command of their own.
void ApplyWindowListPrompts(QMenu* menu) {
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && !action->data().isValid()) {
            action->setStatusTip(QString::fromUtf8(kActivateWindowPrompt));
        }
    }
}

QAction* AddPaneAction(CMainFrame& frame, int id, const QKeySequence& keys, bool forward) {
    auto* action = new QAction(&frame);
    ApplyCommandTexts(action, id);
    action->setShortcut(keys);
    frame.addAction(action);
    QObject::connect(action, &QAction::triggered, &frame, [&frame, forward] {
        if (CChildFrame* child = frame.MDIGetActive()) {
            MovePaneFocus(*child, forward);
        }
    });
    return action;
}

} // namespace

void ConnectShellCommands(CMainFrame& frame) {
    for (const SCommandText& text : CommandTexts()) {
        if (QAction* action = frame.Action(text.id)) {
            ApplyCommandTexts(action, text.id);
        }
    }
    for (int menuId : {128, 129}) {
        for (QMenu* menu : frame.MenuPopups(menuId)) {
            ApplyTextsToMenu(menu);
            if (menu->actions().contains(frame.Action(ID_WINDOW_CASCADE))) {
                // Connected after the frame's own filling, so it sees the new entries.
                QObject::connect(menu, &QMenu::aboutToShow, menu,
                                 [menu] { ApplyWindowListPrompts(menu); });
            }
        }
    }

    AddPaneAction(frame, ID_NEXT_PANE, QKeySequence(Qt::Key_F6), true);
    AddPaneAction(frame, ID_PREV_PANE, QKeySequence(Qt::SHIFT | Qt::Key_F6), false);

    if (QAction* about = frame.Action(ID_APP_ABOUT)) {
        QObject::connect(about, &QAction::triggered, &frame, [&frame] {
            CAboutDlg dialog(&frame);
            dialog.exec();
        });
    }
}

void MovePaneFocus(CChildFrame& frame, bool forward) {
    const QList<QWidget*> panes = {frame.TreeView(), frame.FunctionList(), frame.VariableList(),
                                   frame.InfoPane(), frame.DescriptionPane()};
    const qsizetype count = panes.size();
    qsizetype current = -1;
    const QWidget* focus = QApplication::focusWidget();
    for (qsizetype i = 0; i < count && focus != nullptr; ++i) {
        if (panes[i] == focus || panes[i]->isAncestorOf(focus)) {
            current = i;
            break;
        }
    }
    if (current < 0) {
        current = forward ? count - 1 : 0;
    }
    for (qsizetype step = 1; step <= count; ++step) {
        const qsizetype next =
            forward ? (current + step) % count : (current - step + count) % count;
        QWidget* pane = panes[next];
        if (pane->isEnabled()) {
            pane->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
