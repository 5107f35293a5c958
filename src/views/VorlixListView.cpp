#include "views/VorlixListView.h"

#include "app/VorlixDoc.h"
#include "shell/ItemIcons.h"
#include "views/MemberListCommands.h"
#include "views/ViewportEvents.h"

namespace {

constexpr int kNodeRole = Qt::UserRole;

// Sorts case-insensitively, as the native list does; ties by the exact text.
class CMemberItem : public QListWidgetItem {
public:
    CMemberItem(const QString& text, CClassNode* node) : QListWidgetItem(text) {
        setData(kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(node)));
        setIcon(ItemIcon(node));
    }

    bool operator<(const QListWidgetItem& other) const override {
        const int byKey = text().compare(other.text(), Qt::CaseInsensitive);
        return byKey != 0 ? byKey < 0 : text() < other.text();
    }
};

} // namespace

CVorlixListView::CVorlixListView(QWidget* parent) : QListWidget(parent) {
    // Names in columns, top to bottom, as a list presentation shows them.
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, &CVorlixListView::OnItemChanged);
    new CMemberListCommands(this);
}

CVorlixListView::~CVorlixListView() {
    disconnect(this, nullptr, this, nullptr);
}

void CVorlixListView::OnInitialUpdate() {
    setSortingEnabled(true);
    sortItems(Qt::AscendingOrder);
}

CClassNode* CVorlixListView::NodeOf(const QListWidgetItem* item) {
    if (item == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<CClassNode*>(item->data(kNodeRole).value<quintptr>());
}

CClassNode* CVorlixListView::SelectedNode() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : NodeOf(selected.constFirst());
}

bool CVorlixListView::SelectNode(const CClassNode* node) {
    for (int row = 0; row < count(); ++row) {
        if (node != nullptr && NodeOf(item(row)) == node) {
            setCurrentRow(row);
            return true;
        }
    }
    return false;
}

QStringList CVorlixListView::Texts() const {
    QStringList texts;
    for (int row = 0; row < count(); ++row) {
        texts << item(row)->text();
    }
    return texts;
}

void CVorlixListView::DeleteAllItems() {
    clear();
}

void CVorlixListView::InsertItem(const std::string& text, CClassNode* node) {
    addItem(new CMemberItem(QString::fromStdString(text), node));
}

void CVorlixListView::EnableList(bool enable) {
    setEnabled(enable);
}

void CVorlixListView::RedrawNow() {
    viewport()->update();
}

void CVorlixListView::OnItemChanged() {
    if (m_pDocument == nullptr) {
        return;
    }
    if (CClassNode* node = SelectedNode()) {
        m_pDocument->ShowDetails(node);
    }
}

void CVorlixListView::OnActivateView() {
    if (m_pDocument == nullptr) {
        return;
    }
    if (CClassNode* node = SelectedNode()) {
        m_pDocument->ShowDetails(node);
    }
}

void CVorlixListView::focusInEvent(QFocusEvent* event) {
    if (!FocusFromRightPress(event)) {
        OnActivateView();
    }
    QListWidget::focusInEvent(event);
}
