#pragma once
// Hourglass while in scope.
#include <QApplication>
#include <QCursor>

// Back to the default pointer, whatever hourglasses are pending (error paths).
inline void cursorPadrao()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

class CursorEspera {
public:
    CursorEspera() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~CursorEspera() { restaurar(); }
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
    // Back to the default pointer before the end of the scope (e.g. before a message).
    void restaurar()
    {
        if (m_ativo) {
            QApplication::restoreOverrideCursor();
            m_ativo = false;
        }
    }

private:
    bool m_ativo = true;
};
