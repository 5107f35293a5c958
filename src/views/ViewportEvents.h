#pragma once

#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

// The viewport events both item views' commands take: the right button (press
// or double click) goes to onRightButton with the point, and a tool-tip
// request shows the tip of the item under the cursor, or hides any tip where
// there is none. Returns true when the event was taken.
template <typename View, typename TipOf, typename OnRightButton>
bool HandleViewportEvent(View* view, QEvent* event, TipOf tipOf, OnRightButton onRightButton) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            onRightButton(mouse->position().toPoint());
            return true;
        }
    } else if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const auto* item = view->itemAt(help->pos());
        const QString tip = tipOf(item);
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), tip, view->viewport(),
                               view->visualItemRect(item));
        }
        return true;
    }
    return false;
}

// Focus that a right press brings must not show the view's selected entry:
// the press decides what is shown, and a press on empty space shows nothing
// new, so the context menu follows the entry shown before.
inline bool FocusFromRightPress(const QFocusEvent* event) {
    return event->reason() == Qt::MouseFocusReason &&
           (QGuiApplication::mouseButtons() & Qt::RightButton) != 0;
}
