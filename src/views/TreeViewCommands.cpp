#include "views/TreeViewCommands.h"

#include "app/VorlixDoc.h"
#include "model/ClassRoot.h"
#include "model/TipText.h"
#include "shell/ClassSelectDlg.h"
#include "shell/CommandIds.h"
#include "shell/ContextMenus.h"
#include "views/ViewportEvents.h"
#include "views/VorlixView.h"

#include <QAction>
#include <QMenu>
#include <QStyle>

namespace {

QString FromModel(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Depth first below the root, the first match winning; the root itself is
// not a class, even when it bears the name.
CClassNode* FindClassBelow(CClassNode& root, const std::string& name) {
    for (int i = 0; i < root.GetChildCount(); ++i) {
        CClassNode* child = root.GetChild(i);
        if (child == nullptr || child->GetKind() != KindClass) {
            continue;
        }
        if (CClassNode* found = child->FindByName(name, KindClass)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

CTreeViewCommands::CTreeViewCommands(CVorlixView* view)
    : QObject(view), m_view(view), m_menu(CreateTreeContextMenu(view)),
      m_viewport(view->viewport()) {
    connect(FindCommandAction(m_menu, ID_FIND_CLASS), &QAction::triggered, this,
            &CTreeViewCommands::OnFindClass);
    connect(FindCommandAction(m_menu, ID_FIND_CLASS_HEADERS), &QAction::triggered, this,
            [this] { Search('H'); });
    connect(FindCommandAction(m_menu, ID_FIND_CLASS_FUNCTIONS), &QAction::triggered, this,
            [this] { Search('C'); });
    m_viewport->installEventFilter(this);
}

bool CTreeViewCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_viewport) {
        return false;
    }
    return HandleViewportEvent(
        m_view, event, [this](const QTreeWidgetItem* item) { return InfoTip(item); },
        [this](const QPoint& point) { OnRButtonDown(point); });
}

// As in the native tree, an item is hit on its label, not on the empty rest
// of its row nor on its expand button.
QTreeWidgetItem* CTreeViewCommands::ItemAtLabel(const QPoint& point) const {
    QTreeWidgetItem* item = m_view->itemAt(point);
    if (item == nullptr) {
        return nullptr;
    }
    const QRect row = m_view->visualItemRect(item);
    const int margin = m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view);
    const int label = m_view->fontMetrics().horizontalAdvance(item->text(0)) + 2 * (margin + 1);
    if (point.x() < row.left() || point.x() > row.left() + label) {
        return nullptr;
    }
    return item;
}

void CTreeViewCommands::OnRButtonDown(const QPoint& point) {
    CVorlixDoc* document = m_view->GetDocument();
    if (QTreeWidgetItem* item = ItemAtLabel(point)) {
        // Selecting the item that is selected already changes nothing, yet
        // its class must be the shown entry (a member may be shown).
        if (item == m_view->currentItem() && document != nullptr) {
            document->ShowDetails(m_view->NodeOfItem(item));
        }
        m_view->setCurrentItem(item);
    }
    if (document == nullptr || document->m_pShown == nullptr) {
        return;
    }
    const int kind = document->m_pShown->GetKind();
    if (kind == KindClass || kind == KindRoot) {
        PopupContextMenu(*m_menu, m_view->viewport()->mapToGlobal(point));
    }
}

void CTreeViewCommands::OnFindClass() {
    CVorlixDoc* document = m_view->GetDocument();
    if (document == nullptr) {
        return;
    }
    std::vector<std::string> names;
    document->CollectClassNames(names);
    CClassSelectDlg dialog(m_view->window());
    dialog.SetNames(&names);
    if (dialog.exec() != QDialog::Accepted || dialog.GetSelectedName().empty()) {
        return;
    }
    // The dialog ran modally: the document may have lost its structure meanwhile.
    if (document->m_pRoot == nullptr) {
        return;
    }
    if (const CClassNode* found = FindClassBelow(*document->m_pRoot, dialog.GetSelectedName())) {
        m_view->SelectNode(found);
    }
}

QString CTreeViewCommands::InfoTip(const QTreeWidgetItem* item) const {
    return FromModel(TreeItemTipText(m_view->NodeOfItem(item)));
}

void CTreeViewCommands::Search(char mode) {
    if (CVorlixDoc* document = m_view->GetDocument()) {
        document->SearchForSelection(mode);
    }
}
