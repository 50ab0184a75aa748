#include "InstanciaUnica.h"

#include "Pastas.h"

#include <QDir>

InstanciaUnica::InstanciaUnica(const QString& pastaDados)
    : m_trava(std::make_unique<QLockFile>(caminhoEm(pastaDados, QStringLiteral("tobri.lock"))))
{
    QDir().mkpath(pastaDados);
    // Only a dead holder makes the lock stale, however old it is.
    m_trava->setStaleLockTime(0);
}

bool InstanciaUnica::adquirir()
{
    if (m_adquirida)
        return true;
    m_adquirida = m_trava->tryLock(0);
    return m_adquirida;
}
