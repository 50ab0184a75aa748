#include "Rendimento.h"

#include <QCoreApplication>

Rendimento::Rendimento(int intervaloMs)
    : m_intervalo(intervaloMs)
{
    m_t.start();
}

bool Rendimento::talvez()
{
    if (m_t.elapsed() < m_intervalo)
        return false;
    agora();
    return true;
}

void Rendimento::agora()
{
    QCoreApplication::processEvents();
    m_t.restart();
}
