#include "shell/ContextMenus.h"

#include "shell/CommandTexts.h"

#include <QAction>
#include <QMenu>

namespace {

ContextMenuHook& Hook() {
    static ContextMenuHook hook;
    return hook;
}

QString FromTable(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void ApplyCommandTexts(QAction* action, int id) {
    action->setData(id);
    if (const SCommandText* text = FindCommandText(id)) {
        action->setStatusTip(FromTable(text->prompt));
        if (!text->tip.empty()) {
            action->setToolTip(FromTable(text->tip));
        }
    }
}

QAction* CreateCommandAction(QWidget* owner, int id, const char* text) {
    auto* action = new QAction(QString::fromUtf8(text), owner);
    ApplyCommandTexts(action, id);
    return action;
}

QMenu* CreateTreeContextMenu(QWidget* owner) {
    auto* menu = new QMenu(QStringLiteral("Extras"), owner);
    menu->addAction(CreateCommandAction(owner, kCmdFindClass, "Klasse suchen ..."));
    menu->addSeparator();
    menu->addAction(
        CreateCommandAction(owner, kCmdSearchHeader, "Klasse wird definiert in (Header) ..."));
    menu->addAction(CreateCommandAction(owner, kCmdSearchFunctions,
                                        "Klasse wird definiert in (Funktionen) ..."));
    return menu;
}

QMenu* CreateMemberContextMenu(QWidget* owner) {
    auto* menu = new QMenu(QStringLiteral("Extras"), owner);
    menu->addAction(CreateCommandAction(owner, kCmdFindUses, "Funktion wird verwendet in ..."));
    return menu;
}

QAction* FindCommandAction(const QMenu* menu, int id) {
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

void SetContextMenuHook(ContextMenuHook hook) {
    Hook() = std::move(hook);
}

void PopupContextMenu(QMenu& menu, const QPoint& screenPos) {
    if (Hook()) {
        Hook()(menu, screenPos);
        return;
    }
    menu.exec(screenPos);
}
