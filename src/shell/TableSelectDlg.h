#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

// "Datentabelle wählen": the user picks the table of a database. The caller
// hands in the tables as offered (filtered and sorted already).
class CTableSelectDlg : public QDialog {
    Q_OBJECT
public:
    // With newName, a field below the list takes the name of a table to make.
    explicit CTableSelectDlg(const std::vector<std::string>& tables, QWidget* parent = nullptr,
                             bool newName = false);

    void accept() override;

    QListWidget* List() const { return m_list; }
    QPushButton* OkButton() const { return m_ok; }
    QLineEdit* NewNameField() const { return m_newName; }

    // After OK: the chosen position in the offered list (-1 when the list
    // was empty or a new name was typed) and its name.
    int m_nTableIndex = 0;
    std::string m_strTable;

private:
    QListWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
    QLineEdit* m_newName = nullptr;
};
