#include "views/VorlixView.h"

#include "app/VorlixDoc.h"
#include "model/ClassRoot.h"
#include "shell/ChildFrame.h"
#include "shell/ItemIcons.h"
#include "views/TreeViewCommands.h"
#include "views/ViewportEvents.h"
#include "views/VorlixListView.h"

#include <algorithm>
#include <utility>
#include <vector>

CVorlixView::CVorlixView(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setRootIsDecorated(true);
    setExpandsOnDoubleClick(true);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CVorlixView::OnSelChanged);
    new CTreeViewCommands(this);
}

// The base classes still tidy up their items after this; their selection
// signals must not reach a view that is gone.
CVorlixView::~CVorlixView() {
    disconnect(this, nullptr, this, nullptr);
}

void CVorlixView::OnInitialUpdate() {
    m_nTreeMode = 0;
    FillTree();
    if (m_pDocument != nullptr) {
        m_pDocument->m_pShown = m_pDocument->m_pRoot;
    }
    emit treeModeChanged(m_nTreeMode);
}

void CVorlixView::FillTree() {
    if (m_pDocument == nullptr || m_pDocument->m_pRoot == nullptr) {
        return;
    }
    CClassRoot* root = m_pDocument->m_pRoot;

    m_pDocument->m_selectionOn = false;
    m_nodeOfItem.clear();
    m_itemCount = 0;
    clear();
    m_filling = true;
    if (m_nTreeMode == 0) {
        root->InsertIntoTree(this, 0);
    } else {
        root->InsertIntoTreeFlat(this, 0);
    }
    m_filling = false;
    // Indexed (and given their icons) before the widget holds them, so that
    // it does not follow every change.
    IndexItems(root);
    addTopLevelItems(m_pendingTopLevel);
    m_pendingTopLevel.clear();
    m_pDocument->m_selectionOn = true;
    // A stored structure's root item names its database and table, also
    // after a save that came later than the root's name.
    if (!root->m_bNeedsLocation) {
        m_pDocument->ShowRootCaption();
    }

    m_pDocument->UpdateTitle();

    if (QTreeWidgetItem* rootItem = ItemOfNode(root)) {
        setCurrentItem(rootItem);
    }
}

bool CVorlixView::SelectNode(const CClassNode* node) {
    if (node == nullptr) {
        return false;
    }
    QTreeWidgetItem* item = ItemOfNode(node);
    if (item == nullptr) {
        return false;
    }
    setCurrentItem(item);
    // As the native tree does, a selected item is always made visible, which
    // opens the branches above it.
    scrollToItem(item);
    return true;
}

CClassNode* CVorlixView::SelectedNode() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : NodeOfItem(selected.constFirst());
}

CClassNode* CVorlixView::NodeOfItem(const QTreeWidgetItem* item) const {
    if (item == nullptr || m_pDocument == nullptr || m_pDocument->m_pRoot == nullptr) {
        return nullptr;
    }
    const TreeItemHandle handle = HandleOf(item);
    CClassNode* node = m_nodeOfItem.value(handle);
    if (node != nullptr && node->GetTreeItem() == handle) {
        return node;
    }
    return m_pDocument->m_pRoot->FindByTreeItem(handle);
}

// The nodes the fill gave an item, in the fill's own shape: the root, every
// child of the root, and below them the classes. A walk with its own stack,
// so that a deep chain of derived classes cannot exhaust the call stack.
void CVorlixView::IndexItems(CClassNode* root) {
    m_nodeOfItem.reserve(m_itemCount);
    m_nodeOfItem.insert(root->GetTreeItem(), root);
    if (QTreeWidgetItem* rootItem = ItemOf(root->GetTreeItem())) {
        rootItem->setIcon(0, ItemIcon(root));
    }
    std::vector<CClassNode*> nodes;
    for (int i = 0; i < root->GetChildCount(); ++i) {
        if (CClassNode* child = root->GetChild(i)) {
            nodes.push_back(child);
        }
    }
    while (!nodes.empty()) {
        CClassNode* node = nodes.back();
        nodes.pop_back();
        m_nodeOfItem.insert(node->GetTreeItem(), node);
        if (QTreeWidgetItem* item = ItemOf(node->GetTreeItem())) {
            item->setIcon(0, ItemIcon(node));
        }
        for (int i = 0; i < node->GetChildCount(); ++i) {
            CClassNode* child = node->GetChild(i);
            if (child != nullptr && child->GetKind() == KindClass) {
                nodes.push_back(child);
            }
        }
    }
}

void CVorlixView::SetItemText(TreeItemHandle item, const std::string& text) {
    if (m_nodeOfItem.contains(item)) {
        ItemOf(item)->setText(0, QString::fromStdString(text));
    }
}

// Only a handle that the last fill gave out leads to an item; older ones
// would point to items that are gone.
QTreeWidgetItem* CVorlixView::ItemOfNode(const CClassNode* node) const {
    if (node == nullptr || node->GetTreeItem() == 0) {
        return nullptr;
    }
    const auto found = m_nodeOfItem.constFind(node->GetTreeItem());
    return found != m_nodeOfItem.constEnd() && found.value() == node ? ItemOf(found.key())
                                                                     : nullptr;
}

QTreeWidgetItem* CVorlixView::ItemOf(TreeItemHandle handle) {
    return reinterpret_cast<QTreeWidgetItem*>(handle);
}

TreeItemHandle CVorlixView::HandleOf(const QTreeWidgetItem* item) {
    return reinterpret_cast<TreeItemHandle>(item);
}

TreeItemHandle CVorlixView::InsertItem(const std::string& text, TreeItemHandle parent) {
    auto* item = new QTreeWidgetItem(QStringList(QString::fromStdString(text)));
    ++m_itemCount;
    if (QTreeWidgetItem* parentItem = ItemOf(parent)) {
        parentItem->addChild(item);
    } else if (m_filling) {
        m_pendingTopLevel.append(item);
    } else {
        addTopLevelItem(item);
    }
    return HandleOf(item);
}

// Case-insensitive, as the native control sorts; ties keep a fixed order by
// the exact text.
void CVorlixView::SortChildren(TreeItemHandle handle) {
    QTreeWidgetItem* item = ItemOf(handle);
    if (item == nullptr || item->childCount() < 2) {
        return;
    }
    const QList<QTreeWidgetItem*> children = item->takeChildren();
    std::vector<std::pair<QString, QTreeWidgetItem*>> keyed;
    keyed.reserve(static_cast<size_t>(children.size()));
    for (QTreeWidgetItem* child : children) {
        keyed.emplace_back(child->text(0).toCaseFolded(), child);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        const int byKey = a.first.compare(b.first);
        return byKey != 0 ? byKey < 0 : a.second->text(0) < b.second->text(0);
    });
    QList<QTreeWidgetItem*> sorted;
    sorted.reserve(children.size());
    for (const auto& entry : keyed) {
        sorted.append(entry.second);
    }
    item->addChildren(sorted);
}

void CVorlixView::Expand(TreeItemHandle handle, int code) {
    if (m_nodeOfItem.contains(handle)) {
        ItemOf(handle)->setExpanded(code == kTreeExpand);
    }
}

void CVorlixView::OnSelChanged() {
    if (m_pDocument == nullptr || !m_pDocument->m_selectionOn) {
        return;
    }
    CClassNode* node = SelectedNode();
    if (node == nullptr) {
        return;
    }
    m_pDocument->ShowDetails(node);
    if (CChildFrame* frame = m_pDocument->GetFrame()) {
        node->FillMemberLists(frame->FunctionList(), frame->VariableList());
    }
}

void CVorlixView::OnActivateView() {
    if (m_pDocument != nullptr) {
        m_pDocument->ShowDetails(SelectedNode());
    }
}

void CVorlixView::focusInEvent(QFocusEvent* event) {
    if (!FocusFromRightPress(event)) {
        OnActivateView();
    }
    QTreeWidget::focusInEvent(event);
}

void CVorlixView::focusOutEvent(QFocusEvent* event) {
    OnActivateView();
    QTreeWidget::focusOutEvent(event);
}

void CVorlixView::ShowPresentation(int mode) {
    if (m_nTreeMode == mode || m_pDocument == nullptr) {
        return;
    }
    CClassNode* remembered = m_pDocument->m_pShown;
    m_nTreeMode = mode;
    FillTree();
    if (remembered != nullptr && remembered->GetTreeItem() != 0) {
        SelectNode(remembered);
    }
    emit treeModeChanged(m_nTreeMode);
}

void CVorlixView::ExpandOrCollapseAll(int code) {
    if (m_pDocument == nullptr || m_pDocument->m_pRoot == nullptr) {
        return;
    }
    CClassNode* remembered = m_pDocument->m_pShown;
    m_pDocument->m_selectionOn = false;
    m_pDocument->m_pRoot->ExpandAll(this, code);
    m_pDocument->m_selectionOn = true;
    if (remembered != nullptr && remembered->GetTreeItem() != 0) {
        SelectNode(remembered);
    }
}
