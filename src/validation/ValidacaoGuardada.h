#pragma once
// Reloads what a validation run keeps only in the working state (the entry
// totals and the balance checks' counters) from the declaration database on
// gConn, so the results navigator can show a stored validation.

enum class ValidacaoGuardada {
    Carregada,
    NaoValidada,    // no file imported, no validation summary stored, or the last run did not complete
    Falha,          // gMsg holds the error text
};

ValidacaoGuardada recarregaValidacao();
