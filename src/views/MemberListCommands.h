#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class CVorlixListView;
class QListWidgetItem;
class QMenu;
class QWidget;

// The class commands of a member list: the context menu on the right button
// with "Funktion wird verwendet in ...", and the items' info tips. Made by
// the list itself; lives as its child.
class CMemberListCommands : public QObject {
    Q_OBJECT
public:
    explicit CMemberListCommands(CVorlixListView* list);

    // Right button at a point of the list's viewport: selects the item there,
    // then opens the menu when the shown entry is a member function.
    void OnRButtonDown(const QPoint& point);
    void OnFindUses();
    // The tip of an item; empty for none and for the placeholder.
    QString InfoTip(const QListWidgetItem* item) const;

    QMenu* ContextMenu() const { return m_menu; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CVorlixListView* m_list;
    QMenu* m_menu;
    // Kept apart: while the view goes, its viewport is gone before this object.
    QWidget* m_viewport;
};
