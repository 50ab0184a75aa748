#pragma once
// SQLite's quick check of a database file, run in a thread of its own on a
// read-only connection, so it reads the whole file beside other work. It is
// interrupted when its result is no longer wanted.
#include <QString>

#include <memory>

namespace db {

class VerificacaoRapida {
public:
    enum class Resultado {
        Integro,
        Danificado,     // the check found damage, or the file is no database
        NaoVerificado,  // it could not be checked (busy, cannot be opened, read error)
    };

    explicit VerificacaoRapida(const QString& caminho);
    // Interrupts the check and waits for its thread.
    ~VerificacaoRapida();
    VerificacaoRapida(const VerificacaoRapida&) = delete;
    VerificacaoRapida& operator=(const VerificacaoRapida&) = delete;

    // Waits for the end of the check; `texto` gets the database's own text
    // when it is not Integro.
    Resultado resultado(QString* texto = nullptr);
    void interromper();

private:
    struct Estado;
    std::shared_ptr<Estado> m_estado;
};

} // namespace db
