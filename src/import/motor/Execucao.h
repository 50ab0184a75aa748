#pragma once
// The import pipeline behind the Import button, from the reset to the second
// compaction (the window adds the checks before and the result window after;
// the bench runs it as is). Messages go through the platform dialogs.
#include "Contexto.h"

namespace motor {

enum class FimImportacao {
    Concluida,      // status row written, database compacted: show the result window
    Parada,         // a step failed (its message shown) or the run was cancelled
    TamanhoErrado,  // wrong-length stop (message shown): back to frmOrigemArquivo
    JanelaFechada,  // Grava_erro failed and closed the import window
};

// Runs, in order: reset (fun_Delete_IMPORTADO), the type's error rows
// emptied, compaction, record tests (func_validacao), the accepted copy and
// its .lay when no record had errors, the status row (GravaImportados), the
// second compaction. `cancelado` tells a stop by the cancel flag.
FimImportacao executarImportacao(Painel& painel, bool* cancelado = nullptr);

// Label1 during both compactions.
inline const QString TextoCompactando = QStringLiteral("Compactando o banco. Aguarde ....");

} // namespace motor
