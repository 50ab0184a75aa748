#pragma once
// The working layout, the staging tables (creation, names) and the reset
// before a new import.
#include "Contexto.h"

#include <QString>

namespace motor {

// Base names of the staging tables.
inline const QString TabPlanoGeral = QStringLiteral("tbPlanoCGeralImp");
inline const QString TabPlanoAux = QStringLiteral("tbPlanoCAuxImp");
inline const QString TabCentroCusto = QStringLiteral("tbCentroCustoImp");
inline const QString TabCentroDespesa = QStringLiteral("tbCentroCustoDespImp");
inline const QString TabHistorico = QStringLiteral("tbHistoricoPadrao");
inline const QString TabLancGeral = QStringLiteral("tbLancamentosGeralImp");
inline const QString TabLancAux = QStringLiteral("tbLancamentosAuxImp");
inline const QString TabSaldosGeral = QStringLiteral("tbSaldosDgeralImp");
inline const QString TabSaldosAux = QStringLiteral("tbSaldosDAuxImp");

// Base name of the staging table of a file type (empty outside 1..9).
QString baseTabela(int tipoArquivo);
// Base name + the declaration suffix of the declaration in hand.
QString nomeTabela(const QString& base);
QString nomeTabelaTipo(int tipoArquivo);

// Loads the working layout of gTipoArquivo (TbleiauteDIG, codsequ order) into
// ctx.leiaute. False with gMsg set when it cannot be read.
bool LER_LeiauteDIG(Contexto& ctx);
// Reads the layout of (gIN, gTipoArquivo) without a run (the .lay writer).
bool lerLeiaute(Leiaute& l, QString& msg);

// Creates the staging table of gTipoArquivo from the layout, in one
// transaction, with the indexes of the entries' tables; those of the charts,
// code tables and balances (the balances' unique key among them) are left
// for criarIndicesAdiados. False with gMsg "... (fun_Criar_Tabela)" after a
// rollback.
bool fun_Criar_Tabela(Contexto& ctx);
// Builds the indexes fun_Criar_Tabela left for after the load, once (the
// record tests' dispatch calls it at every end of a test). False with gMsg
// "... (func_validacao)", the dispatch that runs the build.
bool criarIndicesAdiados(Contexto& ctx);
// The lookups of the record tests are loaded on first use (Consultas); this
// only checks that gConn is open. False with gMsg set otherwise.
bool PreparaConsultas(Contexto& ctx);
// Empties the staging table of the file (chart tests, when a record had errors).
bool esvaziarTabela(Contexto& ctx, const QString& base);

// The reset before importing gTipoArquivo: reopens gConn, empties the
// validation summary, drops the staging tables the new file makes obsolete,
// deletes their status rows and that of the type, sets validated/recorded
// files back to 90, deletes the account links. One transaction; false with
// gMsg set (no procedure name) after a rollback.
bool fun_Delete_IMPORTADO();
// The type's error rows (tbDetalheErros, TbErrosImportacao) emptied, in one
// transaction. False with gMsg naming the failing step.
bool fun_Deleta_Detalhe();
bool fun_Deleta_errosIMP();

// Makes the working layout of gTipoArquivo a copy of the standard layout
// (bench; the layout editor owns this in the program).
bool copiarLeiautePadrao(QString& msg);

} // namespace motor
