#pragma once
// The mark of a completed validation run (one row of tbValidacaoConcluida).
// The run writes it in the transaction of its statuses and the reset that
// starts a run removes it, so the results of a run that did not complete (a
// failure, the program killed or closed) are never shown as a validation.
#include "platform/Banco.h"

namespace marcaValidacao {

inline const QString Tabela = QStringLiteral("tbValidacaoConcluida");

// Whether the stored results are those of a completed run.
bool concluida(db::Conexao& c, bool& sim, db::Erro* erro = nullptr);
// Sets or removes the mark; inside the caller's transaction.
bool marcar(db::Conexao& c, db::Erro* erro = nullptr);
bool desmarcar(db::Conexao& c, db::Erro* erro = nullptr);

// Declaration databases made before the mark: adds its table and marks the
// stored results only when the statuses prove a run completed (only a
// completed run sets 0 or 53 to 57, and the reset that starts a run returns
// them to 90). 100 proves nothing: it survives a run stopped midway, so a
// recorded declaration whose statuses are all 100, 777 or 90 stays
// unmarked (it has no digests and must be imported and validated again
// anyway). Does nothing when the table is there.
bool atualizarBanco(db::Conexao& c, db::Erro* erro = nullptr);

} // namespace marcaValidacao
