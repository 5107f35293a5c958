#include "shell/FolderBrowseDlg.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
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
    // Writable only so that "Neuer Ordner" can make a folder and name it.
    m_model->setReadOnly(false);
    m_model->setRootPath(QStringLiteral("/"));

    m_tree = new QTreeView(this);
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::EditKeyPressed);
    for (int column = 1; column < m_model->columnCount(); ++column) {
        m_tree->hideColumn(column);
    }

    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("folderPath"));
    m_path->setClearButtonEnabled(true);
    auto* pathLabel = new QLabel(QStringLiteral("&Ordner:"), this);
    pathLabel->setBuddy(m_path);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                m_path->setText(QDir::toNativeSeparators(m_model->filePath(current)));
            });
    // A typed or pasted path leads the tree there.
    connect(m_path, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QModelIndex index = m_model->index(QDir::cleanPath(text));
        if (index.isValid()) {
            const QSignalBlocker block(m_path);
            m_tree->setCurrentIndex(index);
            m_tree->scrollTo(index);
        }
    });

    // The tree fills in the background: the preselected folder is scrolled
    // to once its parent's entries have arrived.
    const QModelIndex start = m_model->index(startPath);
    if (start.isValid()) {
        m_tree->setCurrentIndex(start);
        m_tree->expand(start);
        m_tree->scrollTo(start, QAbstractItemView::PositionAtCenter);
        connect(m_model, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
            const QModelIndex current = m_tree->currentIndex();
            if (current.isValid() && m_model->filePath(current.parent()) == path) {
                m_tree->scrollTo(current, QAbstractItemView::PositionAtCenter);
            }
        });
    }

    auto* buttons = new QDialogButtonBox(this);
    m_newFolder = buttons->addButton(QStringLiteral("&Neuer Ordner"), QDialogButtonBox::ActionRole);
    m_newFolder->setAutoDefault(false);
    connect(m_newFolder, &QPushButton::clicked, this, &CFolderBrowseDlg::MakeFolder);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(m_path, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_tree, 1);
    layout->addLayout(pathRow);
    layout->addWidget(buttons);
    resize(460, 520);
}

// A typed path wins over the tree's selection; it may name no folder, which
// the caller then refuses.
QString CFolderBrowseDlg::SelectedPath() const {
    const QString typed = QDir::cleanPath(QDir::fromNativeSeparators(m_path->text().trimmed()));
    if (!m_path->text().trimmed().isEmpty()) {
        return typed;
    }
    const QModelIndex index = m_tree->currentIndex();
    return index.isValid() ? m_model->filePath(index) : QString();
}

// "Neuer Ordner" inside the current folder ("Neuer Ordner (2)" and so on
// when taken), selected and open for a new name.
void CFolderBrowseDlg::MakeFolder() {
    const QModelIndex parent = m_tree->currentIndex();
    if (!parent.isValid()) {
        return;
    }
    const QDir dir(m_model->filePath(parent));
    QString name = QStringLiteral("Neuer Ordner");
    for (int n = 2; dir.exists(name); ++n) {
        name = QStringLiteral("Neuer Ordner (%1)").arg(n);
    }
    const QModelIndex made = m_model->mkdir(parent, name);
    if (!made.isValid()) {
        return;
    }
    m_tree->expand(parent);
    m_tree->setCurrentIndex(made);
    m_tree->scrollTo(made);
    m_tree->edit(made);
}
