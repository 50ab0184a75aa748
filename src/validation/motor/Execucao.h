#pragma once
// The validation of the declaration in hand, without windows: the picker's
// tests and reset, and the run (reload, the five checks, the statuses).
#include "Painel.h"
#include "Verificacoes.h"

#include <QString>

namespace validacao {

// Messages of the picker's test of the imported files.
inline const QString TextoImportadosComErro =
    QStringLiteral("Validar após importação do Plano de Contas Diário Geral, Lançamentos e Saldos sem erros.");
inline const QString TextoFaltamGerais =
    QStringLiteral("Validar após importação do Plano de Contas, Lançamentos, Saldos sem erros.");
inline const QString TextoFaltamAuxiliares =
    QStringLiteral("Validar após importação do Plano de Contas Diário Auxiliar, Lançamentos Diário Auxiliar, "
                   "Saldos Diário Auxiliar sem erros.");

// False only on a database error (gMsg). True otherwise, with `mensagem`
// empty when validation may go on and holding the blocking message when not.
bool Verifica_Importados(QString& mensagem);
// Empties the six result tables and, in the same transaction, returns the
// statuses a validation sets (0, 53 to 57) to 90 and removes the mark of a
// completed run, so nothing reads as validated until a run completes; 100
// and 777 stay. False with gMsg set (nothing changed).
bool fun_deleta_saldosFinalInicialDetalhe();

// Captions of the run's steps.
inline const QString TituloLancamentos = QStringLiteral("Validar Arquivo Lançamentos Diário Geral");
inline const QString TituloSaldosGeral = QStringLiteral("Validar Arquivo Saldos Diário Geral Mensal");
inline const QString TituloSaldosAux = QStringLiteral("Validar Arquivo Saldos Diário Auxiliar Mensal");
inline const QString TituloContaGeral = QStringLiteral("Validar Arquivo Saldos Diário Geral Por Conta");
inline const QString TituloContaAux = QStringLiteral("Validar Arquivo Saldos Diário Auxiliar Por Conta");
inline const QString TituloLancXSaldos = QStringLiteral("Validar Arquivo Lançamentos x Saldos");

// The run, up to the statuses (the OK button of frmConfirmaValidar before it
// unloads the window): empties the result tables, reloads the general
// entries, runs the checks in their order and, when all of them ran, writes
// the statuses in one transaction with the mark of a completed run: the
// findings' codes, or 0 on every file not imported with errors when no check
// found a difference. False when it stopped, with gMsg set; the finding rows
// of the checks before the stop stay, unmarked, and the statuses stay as the
// reset left them.
bool executarValidacao(Painel& painel, Estado& estado);

} // namespace validacao
