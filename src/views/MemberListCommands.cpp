#include "views/MemberListCommands.h"

#include "app/VorlixDoc.h"
#include "model/ClassNode.h"
#include "model/TipText.h"
#include "shell/CommandIds.h"
#include "shell/ContextMenus.h"
#include "views/ViewportEvents.h"
#include "views/VorlixListView.h"

#include <QAction>
#include <QMenu>

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
    return HandleViewportEvent(
        m_list, event, [this](const QListWidgetItem* item) { return InfoTip(item); },
        [this](const QPoint& point) { OnRButtonDown(point); });
}

void CMemberListCommands::OnRButtonDown(const QPoint& point) {
    CVorlixDoc* document = m_list->GetDocument();
    if (QListWidgetItem* item = m_list->itemAt(point)) {
        if (item->isSelected() && document != nullptr) {
            document->ShowDetails(CVorlixListView::NodeOf(item));
        }
        m_list->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    }
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
