#include "shell/ProgressDlg.h"

#include "shell/DialogUnits.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {
// The window system gets a turn at most this often: mapping and flushing the
// popup costs more than painting its one line.
constexpr qint64 kMinEventTurnMs = 33;
} // namespace

CProgressDlg::CProgressDlg(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    setFont(font);
    const CDialogUnits units(font);
    setFixedSize(units.Size(289, 36));

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    frame->setGeometry(rect());

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("progressText"));
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setGeometry(units.Rect(7, 11, 275, 13));
    m_text->setTextFormat(Qt::PlainText);
}

void CProgressDlg::ShowNow() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = frameGeometry();
        area.moveCenter(screen->availableGeometry().center());
        move(area.topLeft());
    }
    show();
    raise();
    PaintNow();
}

void CProgressDlg::SetText(const QString& text) {
    // Long paths are shortened in the middle so that the start and the file
    // name stay readable.
    m_fullText = text;
    m_text->setText(m_text->fontMetrics().elidedText(text, Qt::ElideMiddle, m_text->width()));
    // Painted at once, every time: the work that follows may not come back
    // for a long while, so no text may wait for a later one.
    m_text->repaint();
    if (!m_sinceEventTurn.isValid() || m_sinceEventTurn.elapsed() >= kMinEventTurnMs) {
        PaintNow();
    }
}

QString CProgressDlg::Text() const {
    return m_fullText;
}

void CProgressDlg::PaintNow() {
    m_text->repaint();
    // The window system maps and exposes the popup only through events; user
    // input stays queued until the work is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceEventTurn.start();
}
