#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: program icon, name and version, one OK button.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* IconLabel() const { return m_icon; }
    QLabel* TextLabel() const { return m_text; }
    QPushButton* OkButton() const { return m_ok; }

private:
    QLabel* m_icon;
    QLabel* m_text;
    QPushButton* m_ok;
};
