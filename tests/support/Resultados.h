#pragma once
// Rows of the validation result tables written straight into the declaration
// in hand, for the tests of the windows and reports that read them.
#include <QString>
#include <QVariantList>

// Runs one statement on gConn; false (with a warning naming it) on failure.
bool executar(const QString& sql, const QVariantList& p = {});
// An amount in the database's units (1/10 000).
qint64 reais(double v);
// A row of tbSaldoFinal or tbSaldoInicial: the two amounts of the table and
// the difference, for month `mes` of 2005.
bool linhaSaldo(const QString& tabela, int quebra, int tipo, const char* mes, const char* conta, double a, double b,
                double c);
// A row of tbLancamentoXsaldo; the difference is lanc - saldo.
bool linhaLancamentoSaldo(int quebra, const char* dc, const char* mes, const char* conta, double lanc, double saldo);
