#pragma once
// The five checks of a validation run over the declaration in hand (gConn
// open on its database). Each check reads the staging tables with a few
// set-based queries and writes its finding rows and its summary row in one
// transaction of its own: on a failure that check's rows are rolled back and
// it returns false with gMsg set. The status its finding gives the file it
// concerns is kept in Estado::situacao; the run writes the statuses only
// when every check has run, so a stopped run leaves none.
#include "platform/Banco.h"
#include "platform/Moeda.h"
#include "Resumo.h"

#include <QString>

#include <array>

namespace validacao {

class Insercao;

// The flags of one run (form-level flags of the run window).
struct Estado {
    bool erro = false;          // some check found a difference
    bool erroConta = false;     // check 3 wrote a row for the journal in hand
    bool difDebitos = false;    // check 4 found a difference
    bool difCreditos = false;   // check 5 found a difference
    // Status per file type (index 1..9) set by the findings, the last check
    // in run order winning; 0: no finding on that file.
    std::array<qint16, 10> situacao{};
    // The general entries summed by the reload (or by check 1 when there
    // was no reload), read by checks 1, 4 and 5.
    ResumoLancamentos lancamentos;
};

// A difference is a finding from 1.00 up (0.99 passes).
bool ehDiferenca(Moeda diferenca);

// Check 1: debits against credits of the general journal. Sets gTotalDebitos,
// gTotalCreditos and gDiferenca, writes the tbLancamentosAcumulados row and,
// on a finding, the summary row (6, 1, 53, 0, 0, 0) and status 53 for type 6.
bool fun_validaLancamentos(Estado& estado, qint16 tipo);
// Check 2 for journal tipo (1 general, 2 auxiliary): closing balance =
// opening + debits - credits, per balance row.
bool fun_ValidaSaldosMes(Estado& estado, qint16 tipo);
// Check 3 for journal tipo: month-to-month continuity per account.
bool fun_validaSaldosPorConta(Estado& estado, qint16 tipo);
// Checks 4 and 5: entries against the balances' debit and credit movements,
// per account and month.
bool fun_ValidasaldosXlancamentos(Estado& estado);

namespace detalhe {
// Shared by the checks: the declaration columns' values (cnpj, start, end).
QVariantList chaveResultado();
// The declaration columns' values as UTF-8, bound at positions 3 to 5 of
// every finding row.
struct ChaveUtf8 {
    QByteArray cnpj, inicio, fim;
};
ChaveUtf8 chaveUtf8();
void chaveEm(Insercao& ins, const ChaveUtf8& chave);
// Inserts a tbSituacaoValidacao row; faltantes < 0 leaves RegFaltantes empty.
bool gravaSituacao(int tipoArquivo, int tipoValidacao, int codigo, qint32 lidos, qint32 corretos, qint32 comErro,
                   qint32 faltantes, db::Erro& e);
} // namespace detalhe

} // namespace validacao
