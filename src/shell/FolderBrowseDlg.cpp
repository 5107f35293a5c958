#include "shell/FolderBrowseDlg.h"

#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

CFolderBrowseDlg::CFolderBrowseDlg(const QString& title, const QString& startPath, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Ordner suchen"));

    auto* label = new QLabel(title, this);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setReadOnly(true);
    m_model->setRootPath(QStringLiteral("/"));

    m_tree = new QTreeView(this);
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column) {
        m_tree->hideColumn(column);
    }
    const QModelIndex start = m_model->index(startPath);
    if (start.isValid()) {
        m_tree->setCurrentIndex(start);
        m_tree->scrollTo(start);
        m_tree->expand(start);
    }

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_tree, 1);
    layout->addWidget(buttons);
    resize(420, 480);
}

QString CFolderBrowseDlg::SelectedPath() const {
    const QModelIndex index = m_tree->currentIndex();
    return index.isValid() ? m_model->filePath(index) : QString();
}
