#pragma once
// The record tests and their dispatch. Each test loads the layout
// (LER_LeiauteDIG), creates the staging table (fun_Criar_Tabela), prepares the
// lookups when it uses them (PreparaConsultas), then runs lerArquivo with its
// field tests. Result: true when the file was read to its end or to the 100th
// record with errors; false when it stopped early (gMsg set on a failure,
// empty on cancel, wrong length or a closed window).
#include "Contexto.h"

namespace motor {

// Sizes the progress bar and runs the test of gTipoArquivo / gIN. A type
// outside 1..9 runs nothing and returns true.
bool func_validacao(Painel& painel);
// The same with a context the caller keeps (tests, to read ctx.fim).
bool func_validacao(Contexto& ctx);

// Steps 1 to 4 of every record test: LER_LeiauteDIG, the three counters to
// 0, fun_Criar_Tabela, then PreparaConsultas when `preparar`. False (gMsg set):
// the test returns false at once.
bool iniciarTeste(Contexto& ctx, bool preparar = true);

// Charts and code tables (types 1-5 under 68, types 2 and 3 under 86).
bool fun_validaTabelasCodigo(Contexto& ctx);
// General chart under 86, in two passes (store, then test).
bool ValidaPlanoContas86(Contexto& ctx);
// Journal entries, types 6 and 7 (CriticaLancamentos.cpp).
bool fun_validaLancamentos68(Contexto& ctx);
bool fun_validaLancamentos86(Contexto& ctx);
// Balances, types 8 and 9 (CriticaSaldos.cpp).
bool fun_validaSaldos(Contexto& ctx);

} // namespace motor
