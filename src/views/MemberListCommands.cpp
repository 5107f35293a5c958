#include "views/MemberListCommands.h"

#include "app/VorlixDoc.h"
#include "model/ClassNode.h"
#include "model/TipText.h"
#include "shell/CommandIds.h"
#include "shell/ContextMenus.h"
#include "views/VorlixListView.h"

#include <QAction>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>

CMemberListCommands::CMemberListCommands(CVorlixListView* list)
    : QObject(list), m_list(list), m_menu(CreateMemberContextMenu(list)),
      m_viewport(list->viewport()) {
    connect(FindCommandAction(m_menu, ID_FIND_USES), &QAction::triggered, this,
            &CMemberListCommands::OnFindUses);
    m_viewport->installEventFilter(this);
}

bool CMemberListCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_viewport) {
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            OnRButtonDown(mouse->position().toPoint());
            return true;
        }
    } else if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QListWidgetItem* item = m_list->itemAt(help->pos());
        const QString tip = InfoTip(item);
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), tip, m_list->viewport(),
                               m_list->visualItemRect(item));
        }
        return true;
    }
    return false;
}

void CMemberListCommands::OnRButtonDown(const QPoint& point) {
    if (QListWidgetItem* item = m_list->itemAt(point)) {
        m_list->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    }
    const CVorlixDoc* document = m_list->GetDocument();
    if (document == nullptr || document->m_pShown == nullptr) {
        return;
    }
    if (document->m_pShown->GetKind() == KindFunction) {
        PopupContextMenu(*m_menu, m_list->viewport()->mapToGlobal(point));
    }
}

void CMemberListCommands::OnFindUses() {
    if (CVorlixDoc* document = m_list->GetDocument()) {
        document->SearchForSelection('F');
    }
}

QString CMemberListCommands::InfoTip(const QListWidgetItem* item) const {
    const std::string tip = MemberItemTipText(CVorlixListView::NodeOf(item));
    return QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size()));
}
