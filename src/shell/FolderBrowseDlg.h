#pragma once

#include <QDialog>

class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

// The folder browser: a title text above the directory tree of the file
// system, a field for the path, "Neuer Ordner", OK and "Abbrechen". Offers
// directories only.
class CFolderBrowseDlg : public QDialog {
    Q_OBJECT
public:
    CFolderBrowseDlg(const QString& title, const QString& startPath, QWidget* parent = nullptr);

    QString SelectedPath() const;

    QTreeView* Tree() const { return m_tree; }
    QLineEdit* PathField() const { return m_path; }
    QPushButton* NewFolderButton() const { return m_newFolder; }

private:
    void MakeFolder();

    QFileSystemModel* m_model = nullptr;
    QTreeView* m_tree = nullptr;
    QLineEdit* m_path = nullptr;
    QPushButton* m_newFolder = nullptr;
};
