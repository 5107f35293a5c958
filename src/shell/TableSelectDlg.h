#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

// "Datentabelle wählen": the user picks the table of a database. The caller
// hands in the tables as offered (filtered and sorted already).
class CTableSelectDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTableSelectDlg(const std::vector<std::string>& tables, QWidget* parent = nullptr);

    void accept() override;

    QListWidget* List() const { return m_list; }
    QPushButton* OkButton() const { return m_ok; }

    // After OK: the chosen position in the offered list (-1 when the list
    // was empty) and its name.
    int m_nTableIndex = 0;
    std::string m_strTable;

private:
    QListWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
};
