#include "shell/TableSelectDlg.h"

#include "shell/DialogUnits.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

CTableSelectDlg::CTableSelectDlg(const std::vector<std::string>& tables, QWidget* parent,
                                 bool newName)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Datentabelle wählen"));
    const CDialogUnits units(font());
    setFixedSize(units.Size(238, newName ? 114 : 95));

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(units.Rect(181, 7, 50, 14));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setGeometry(units.Rect(181, 24, 50, 14));

    m_list = new QListWidget(this);
    m_list->setGeometry(units.Rect(7, 7, 168, 81));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const std::string& table : tables) {
        m_list->addItem(QString::fromStdString(table));
    }
    if (m_list->count() > 0) {
        m_list->setCurrentRow(0);
    }

    // The tab order puts the buttons first, so OK has the focus at the start.
    setTabOrder(m_ok, cancel);
    setTabOrder(cancel, m_list);
    m_ok->setFocus();

    if (newName) {
        auto* label = new QLabel(QStringLiteral("Neue Tabelle:"), this);
        label->setGeometry(units.Rect(7, 96, 50, 12));
        m_newName = new QLineEdit(this);
        m_newName->setObjectName(QStringLiteral("newTableName"));
        m_newName->setGeometry(units.Rect(57, 94, 118, 14));
        label->setBuddy(m_newName);
        setTabOrder(m_list, m_newName);
        // A name being typed is what OK takes; picking from the list again clears it.
        connect(m_list, &QListWidget::itemClicked, m_newName, &QLineEdit::clear);
    }

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CTableSelectDlg::accept() {
    const QListWidgetItem* item = m_list->currentItem();
    const QString typed = m_newName != nullptr ? m_newName->text().trimmed() : QString();
    const QList<QListWidgetItem*> named = m_list->findItems(typed, Qt::MatchFixedString);
    if (!typed.isEmpty() && named.isEmpty()) {
        m_nTableIndex = -1;
        m_strTable = typed.toStdString();
    } else if (!typed.isEmpty()) {
        m_nTableIndex = m_list->row(named.constFirst());
        m_strTable = named.constFirst()->text().toStdString();
    } else if (item != nullptr && item->isSelected()) {
        m_nTableIndex = m_list->row(item);
        m_strTable = item->text().toStdString();
    } else {
        m_nTableIndex = -1;
        m_strTable.clear();
    }
    QDialog::accept();
}
