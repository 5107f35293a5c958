#pragma once

#include <QDialog>

class QFileSystemModel;
class QTreeView;

// The folder browser: a title text above the directory tree of the file
// system, OK and "Abbrechen". Offers directories only.
class CFolderBrowseDlg : public QDialog {
    Q_OBJECT
public:
    CFolderBrowseDlg(const QString& title, const QString& startPath, QWidget* parent = nullptr);

    QString SelectedPath() const;

private:
    QFileSystemModel* m_model = nullptr;
    QTreeView* m_tree = nullptr;
};
