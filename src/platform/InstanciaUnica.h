#pragma once
// One running copy per data folder; a stale lock left by a crash is taken over.
#include <QLockFile>
#include <QString>
#include <memory>

class InstanciaUnica {
public:
    explicit InstanciaUnica(const QString& pastaDados);
    // False when another running copy holds the lock.
    bool adquirir();
    bool adquirida() const { return m_adquirida; }

private:
    std::unique_ptr<QLockFile> m_trava;
    bool m_adquirida = false;
};
