#pragma once
// Files renamed into place survive a power cut: the data reaches the disk
// before the rename, and the rename itself is synced with its folder. Every
// file the program puts in place by a rename goes through colocarNoLugar.
#include <QString>

class QFile;

#include <functional>

namespace digesto {
class Fluxo;
}

namespace duravel {

// The system's text for an errno value.
QString textoErrno(int erro);

// Flushes a closed file's data to disk. False with the system's reason.
bool sincronizarArquivo(const QString& caminho, QString* motivo = nullptr);
// Flushes a file open for writing, created at `caminho`, to disk through its
// own descriptor (the file flushed is the file written). False with the reason.
bool sincronizarArquivo(QFile& aberto, const QString& caminho, QString* motivo = nullptr);
// Syncs a folder, so a rename or a new name in it is on disk.
bool sincronizarPasta(const QString& pasta, QString* motivo = nullptr);
// Puts a finished, closed temporary file in place of `destino` (same
// folder): flush, atomic rename over the old file, folder sync. A failure
// before the rename leaves the destination as it was and the temporary file
// for the caller; a failed folder sync leaves the new file in place, its
// name not known to be on disk (the caller records nothing that relies on it).
bool colocarNoLugar(const QString& temporario, const QString& destino, QString* motivo = nullptr);
// Copies `origem` into `temporario` (a new file) and puts it in place of
// `destino` as colocarNoLugar does; on a failure the temporary file is
// removed and `motivo` holds the system's reason (for instance a full disk).
// With `digesto`, every byte written is fed to it.
bool copiarParaOLugar(const QString& origem, const QString& temporario, const QString& destino,
                      QString* motivo = nullptr, digesto::Fluxo* digesto = nullptr);

// Renames a file over `destino` (atomic; no flush, no folder sync: for a
// sequence of renames whose folder is synced once). False with the reason.
bool renomear(const QString& origem, const QString& destino, QString* motivo = nullptr);
// Removes a file; true when it is gone (also when it was not there),
// else false with the system's reason.
bool remover(const QString& caminho, QString* motivo = nullptr);
// Creates a new file for writing in `arquivo`: never over an existing name,
// never through a link planted at that name. False with the reason.
bool criarNovo(QFile& arquivo, const QString& caminho, QString* motivo = nullptr);
// The same for a temporary name of the program's own: what a stopped run
// left at that name (a file, or a link, which is not followed) is removed
// first.
bool criarTemporario(QFile& arquivo, const QString& caminho, QString* motivo = nullptr);
// Writes `bytes` into the new temporary file `temporario` and puts it in
// place of `destino` as colocarNoLugar does; on a failure the temporary
// file is removed.
bool gravarNoLugar(const QByteArray& bytes, const QString& temporario, const QString& destino,
                   QString* motivo = nullptr);

// What the file layer did, for tests: each new file ("criar"), each flush of
// a file ("arquivo"), each rename ("renomear", with the destination), each
// removal ("remover") and each folder sync ("pasta"). The observer is called
// before the step and answers 0 to let it be done, or an errno value (not
// EINTR) that the step's system call then fails with, in place of doing it.
struct Passo {
    QString tipo;
    QString caminho;
    QString destino;
};
using Observador = std::function<int(const Passo&)>;
// Replaces the observer (an empty one: none).
void observar(Observador o);

// Sets an observer for its lifetime (the earlier one comes back after).
class Observando {
public:
    explicit Observando(Observador o);
    ~Observando();
    Observando(const Observando&) = delete;
    Observando& operator=(const Observando&) = delete;

private:
    Observador m_anterior;
};

} // namespace duravel
