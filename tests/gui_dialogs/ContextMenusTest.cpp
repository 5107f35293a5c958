#include "shell/ContextMenus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <gtest/gtest.h>

namespace {

QStringList Items(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

TEST(ContextMenus, ItemsOfTheTwoMenus) {
    QWidget owner;
    const QMenu* tree = CreateTreeContextMenu(&owner);
    EXPECT_EQ(Items(tree),
              (QStringList{"Klasse suchen ...", "-", "Klasse wird definiert in (Header) ...",
                           "Klasse wird definiert in (Funktionen) ..."}));
    EXPECT_EQ(FindCommandAction(tree, kCmdSearchFunctions)->text(),
              QStringLiteral("Klasse wird definiert in (Funktionen) ..."));
    EXPECT_EQ(FindCommandAction(tree, kCmdFindUses), nullptr);
    const QMenu* members = CreateMemberContextMenu(&owner);
    EXPECT_EQ(Items(members), (QStringList{"Funktion wird verwendet in ..."}));
    EXPECT_EQ(
        FindCommandAction(members, kCmdFindUses)->statusTip(),
        QStringLiteral(
            "Durchsucht ein Verzeichnis nach CPP-Dateien, in denen Funktion verwendet wird."));
}

TEST(ContextMenus, HighlightedItemShowsItsPromptInTheStatusBar) {
    QMainWindow window;
    auto* view = new QWidget;
    window.setCentralWidget(view);
    window.statusBar();
    window.show();
    QMenu* menu = CreateTreeContextMenu(view);
    menu->setActiveAction(FindCommandAction(menu, kCmdFindClass));
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("Sucht Klasse in Klassenansichtsbaum."));
    menu->setActiveAction(FindCommandAction(menu, kCmdSearchHeader));
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral(
                  "Durchsucht ein Verzeichnis nach H-Dateien, in denen Klasse definiert wird."));
}

TEST(ContextMenus, HookReplacesThePopup) {
    QWidget owner;
    QMenu* menu = CreateMemberContextMenu(&owner);
    QMenu* seen = nullptr;
    QPoint where;
    SetContextMenuHook([&](QMenu& shown, const QPoint& pos) {
        seen = &shown;
        where = pos;
    });
    PopupContextMenu(*menu, QPoint(12, 34));
    SetContextMenuHook(nullptr);
    EXPECT_EQ(seen, menu);
    EXPECT_EQ(where, QPoint(12, 34));
}

} // namespace
