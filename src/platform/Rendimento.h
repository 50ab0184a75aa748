#pragma once
// Lets the event loop run during long work, at most every ~50 ms.
#include <QElapsedTimer>

class Rendimento {
public:
    explicit Rendimento(int intervaloMs = 50);
    // True when the event loop ran (a good moment to refresh progress).
    bool talvez();
    // Runs the event loop now.
    void agora();

private:
    QElapsedTimer m_t;
    int m_intervalo;
};
