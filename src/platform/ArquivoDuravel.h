#pragma once
// Files renamed into place survive a power cut: the data reaches the disk
// before the rename, and the rename itself is synced with its folder.
#include <QString>

namespace duravel {

// Flushes a closed file's data to disk. False with the system's reason.
bool sincronizarArquivo(const QString& caminho, QString* motivo = nullptr);
// Syncs a folder, so a rename or a new name in it is on disk.
bool sincronizarPasta(const QString& pasta, QString* motivo = nullptr);
// Puts a finished, closed temporary file in place of `destino` (same
// folder): flush, atomic rename over the old file, folder sync. On a failure
// the destination is as it was and the temporary file is left for the caller.
bool colocarNoLugar(const QString& temporario, const QString& destino, QString* motivo = nullptr);

} // namespace duravel
