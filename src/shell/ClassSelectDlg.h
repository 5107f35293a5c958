#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

// Offers class names, sorted, and returns the one the user chose. A field
// above the list narrows it to the names that contain the typed text.
class CClassSelectDlg : public QDialog {
    Q_OBJECT
public:
    explicit CClassSelectDlg(QWidget* parent = nullptr);

    // The names to offer; not owned, read when the dialog is shown.
    void SetNames(const std::vector<std::string>* names) { m_pNames = names; }
    // The chosen name after OK; empty after Cancel or when nothing was offered.
    const std::string& GetSelectedName() const { return m_strSelectedName; }

    // Fills the list; runs once, when the dialog is first shown.
    void OnInitDialog();

    QListWidget* List() const { return m_list; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QLineEdit* FilterField() const { return m_filter; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateOkButton();
    void ApplyFilter(const QString& text);

    const std::vector<std::string>* m_pNames = nullptr;
    std::string m_strSelectedName;
    QListWidget* m_list;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QLineEdit* m_filter;
    bool m_initialised = false;
};
