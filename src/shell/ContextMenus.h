#pragma once

#include <QPoint>
#include <functional>

class QAction;
class QMenu;
class QWidget;

// Command IDs of the two context menus.
inline constexpr int kCmdFindUses = 32776;
inline constexpr int kCmdSearchHeader = 32778;
inline constexpr int kCmdSearchFunctions = 32779;
inline constexpr int kCmdFindClass = 32780;

// Gives an action the prompt and tool tip of its command and remembers the ID
// in its data. The prompt reaches the status bar while the item is
// highlighted, through the action's parent.
void ApplyCommandTexts(QAction* action, int id);

// A menu action of one command, owned by owner; owner should sit inside the
// main window so that its prompt reaches the status bar.
QAction* CreateCommandAction(QWidget* owner, int id, const char* text);

// The tree's menu: "Klasse suchen ...", separator, the two class searches.
QMenu* CreateTreeContextMenu(QWidget* owner);
// The member lists' menu: "Funktion wird verwendet in ...".
QMenu* CreateMemberContextMenu(QWidget* owner);

// The action of a command in a menu, or null.
QAction* FindCommandAction(const QMenu* menu, int id);

// Opens a context menu at a screen position and returns when it closes.
// Tests install a hook that is called instead, and so see which menu would
// open without a running popup.
using ContextMenuHook = std::function<void(QMenu& menu, const QPoint& screenPos)>;
void SetContextMenuHook(ContextMenuHook hook);
void PopupContextMenu(QMenu& menu, const QPoint& screenPos);
