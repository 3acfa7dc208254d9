#pragma once
// The hourglass while the chord list is parsed or checked; gone at the end of the scope, or
// earlier by Done() (before any window or message opens).

#include <QCursor>
#include <QGuiApplication>

namespace fw {

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { Done(); }
    void Done() {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
        m_active = false;
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_active = true;
};

} // namespace fw
