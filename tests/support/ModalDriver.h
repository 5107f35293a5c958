#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

// Hands the modal dialog that a command is about to open to the action (which
// should close it), polling from the event loop. Gives up after timeoutMs, so
// that a dialog that never opens cannot hang the test; stops with its scope,
// so that it never acts on a later test's dialog.
class CModalDriver {
public:
    explicit CModalDriver(std::function<void(QWidget*)> action, int timeoutMs = 5000) {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this, action = std::move(action), timeoutMs] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal->isVisible()) {
                m_timer.stop();
                m_ran = true;
                action(modal);
            } else if (m_clock.elapsed() >= timeoutMs) {
                m_timer.stop();
            }
        });
        m_timer.start(5);
    }

    bool Ran() const { return m_ran; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    bool m_ran = false;
};
