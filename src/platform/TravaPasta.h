#pragma once
// An exclusive lock on a folder for the object's lifetime, so two processes
// never work in one folder at once. It is taken on the folder itself and
// creates nothing in it; a file system that cannot lock a folder is served
// by a lock file of that folder's identity in the system's temporary folder.
// The lock goes with the process, however it ends.
#include <QString>

class TravaPasta {
public:
    enum class Estado { Obtida, Ocupada, Falhou };

    // Tries once, without waiting.
    explicit TravaPasta(const QString& pasta);
    ~TravaPasta();
    TravaPasta(const TravaPasta&) = delete;
    TravaPasta& operator=(const TravaPasta&) = delete;

    Estado estado() const { return m_estado; }
    // The system's reason when the lock could not be taken.
    QString motivo() const { return m_motivo; }

private:
    int m_fd = -1;
    Estado m_estado = Estado::Falhou;
    QString m_motivo;
};
