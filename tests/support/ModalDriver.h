#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Drives a modal dialog that a command is about to open: polls from the event
// loop until a modal window is up, then hands it to the action (which should
// close it). Gives up after timeoutMs so that a dialog that never opens cannot
// hang the test; Ran() tells whether the action ran. The driver stops when it
// goes out of scope, so that it never acts on a later test's dialog.
class CModalDriver {
public:
    explicit CModalDriver(std::function<void(QWidget*)> action, int timeoutMs = 5000)
        : m_state(std::make_shared<State>()) {
        m_state->action = std::move(action);
        m_state->clock.start();
        Poll(m_state, timeoutMs);
    }

    ~CModalDriver() { m_state->stopped = true; }
    CModalDriver(const CModalDriver&) = delete;
    CModalDriver& operator=(const CModalDriver&) = delete;

    bool Ran() const { return m_state->ran; }

private:
    struct State {
        std::function<void(QWidget*)> action;
        QElapsedTimer clock;
        bool ran = false;
        bool stopped = false;
    };

    static void Poll(std::shared_ptr<State> state, int timeoutMs) {
        QTimer::singleShot(5, [state, timeoutMs] {
            if (state->stopped) {
                return;
            }
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal->isVisible()) {
                state->ran = true;
                state->action(modal);
                return;
            }
            if (state->clock.elapsed() < timeoutMs) {
                Poll(state, timeoutMs);
            }
        });
    }

    std::shared_ptr<State> m_state;
};
