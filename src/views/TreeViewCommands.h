#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class CVorlixView;
class QMenu;
class QWidget;
class QTreeWidgetItem;

// The class commands of a class tree: the context menu on the right button,
// "Klasse suchen ...", the two class searches, and the items' info tips.
// Made by the tree itself; lives as its child.
class CTreeViewCommands : public QObject {
    Q_OBJECT
public:
    explicit CTreeViewCommands(CVorlixView* view);

    // Right button at a point of the tree's viewport: selects the item there,
    // then opens the menu when the shown entry is a class or the root.
    void OnRButtonDown(const QPoint& point);
    // Lets the user choose a class by name and selects it.
    void OnFindClass();
    // The tip of an item; empty for none.
    QString InfoTip(const QTreeWidgetItem* item) const;

    QMenu* ContextMenu() const { return m_menu; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidgetItem* ItemAtLabel(const QPoint& point) const;
    void Search(char mode);

    CVorlixView* m_view;
    QMenu* m_menu;
    // Kept apart: while the view goes, its viewport is gone before this object.
    QWidget* m_viewport;
};
