#include "shell/ClassSelectDlg.h"

#include "shell/DialogUnits.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <numeric>

CClassSelectDlg::CClassSelectDlg(QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Abbrechen"), this)), m_filter(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Wählen Sie die zu lokalisierende Klasse"));
    setModal(true);
    const CDialogUnits units(font());

    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The filter field sits above the list, which gives up its top for it.
    m_filter->setObjectName(QStringLiteral("classFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Klassenname eingeben ..."));
    m_filter->setClearButtonEnabled(true);
    m_filter->setGeometry(units.Rect(7, 7, 272, 12));
    m_list->setGeometry(units.Rect(7, 23, 272, 144));
    setTabOrder(m_filter, m_list);

    m_ok->setDefault(true);
    m_ok->setGeometry(units.Rect(229, 173, 50, 14));
    m_cancel->setAutoDefault(false);
    m_cancel->setGeometry(units.Rect(175, 173, 50, 14));
    setFixedSize(units.Size(286, 194));

    connect(m_ok, &QPushButton::clicked, this, &CClassSelectDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CClassSelectDlg::UpdateOkButton);
    connect(m_filter, &QLineEdit::textChanged, this, &CClassSelectDlg::ApplyFilter);
}

// Keeps the names that contain the typed text, whatever the case, and
// selects the first of them: Enter then takes it.
void CClassSelectDlg::ApplyFilter(const QString& text) {
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        const bool match = item->text().contains(text, Qt::CaseInsensitive);
        item->setHidden(!match);
        if (match && first == nullptr) {
            first = item;
        }
    }
    if (first != nullptr) {
        m_list->setCurrentItem(first);
        m_list->scrollToItem(first);
    } else {
        m_list->clearSelection();
    }
    UpdateOkButton();
}

void CClassSelectDlg::showEvent(QShowEvent* event) {
    if (!m_initialised) {
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CClassSelectDlg::OnInitDialog() {
    m_initialised = true;
    m_list->clear();
    m_strSelectedName.clear();
    if (m_pNames == nullptr) {
        UpdateOkButton();
        return;
    }
    // Sorted as the list box sorts, case-insensitively; each entry keeps the
    // position of its name in the array.
    std::vector<int> order(m_pNames->size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return QString::fromStdString((*m_pNames)[a])
                   .compare(QString::fromStdString((*m_pNames)[b]), Qt::CaseInsensitive) < 0;
    });
    for (const int index : order) {
        auto* item = new QListWidgetItem(QString::fromStdString((*m_pNames)[index]), m_list);
        item->setData(Qt::UserRole, index);
    }
    if (m_list->count() > 0) {
        m_list->setCurrentRow(0);
    }
    UpdateOkButton();
    m_filter->setFocus();
}

// Without a selection OK could only return nothing, so it is offered only
// while an entry is selected.
void CClassSelectDlg::UpdateOkButton() {
    m_ok->setEnabled(!m_list->selectedItems().isEmpty());
}

void CClassSelectDlg::accept() {
    m_strSelectedName.clear();
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (m_pNames != nullptr && !selected.isEmpty()) {
        const int index = selected.front()->data(Qt::UserRole).toInt();
        if (index >= 0 && index < static_cast<int>(m_pNames->size())) {
            m_strSelectedName = (*m_pNames)[index];
        }
    }
    QDialog::accept();
}
