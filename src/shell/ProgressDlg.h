#pragma once

#include <QDialog>
#include <QElapsedTimer>

class QLabel;

// The status popup of long operations: no caption, no buttons, one line of
// text. The work runs on the user-interface thread, so every text change
// paints the popup at once instead of waiting for the event loop.
class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    explicit CProgressDlg(QWidget* parent = nullptr);

    // Shows the popup centred on the screen and paints it.
    void ShowNow();
    void SetText(const QString& text);
    QString Text() const;

private:
    void PaintNow();

    QLabel* m_text = nullptr;
    QString m_fullText;
    QElapsedTimer m_sinceEventTurn;
};
