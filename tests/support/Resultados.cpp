#include "Resultados.h"

#include "shell/Geral.h"

#include <QDebug>

bool executar(const QString& sql, const QVariantList& p)
{
    db::Erro e;
    const bool ok = geral().gConn->executar(sql, p, &e);
    if (!ok)
        qWarning() << sql << e.descricao;
    return ok;
}

qint64 reais(double v)
{
    return qRound64(v * 10000);
}

bool linhaSaldo(const QString& tabela, int quebra, int tipo, const char* mes, const char* conta, double a, double b,
                double c)
{
    const Geral& g = geral();
    const QString colunas = tabela == QStringLiteral("tbSaldoFinal") ? QStringLiteral("SaldoFinal, Saldofinalcalc")
                                                                     : QStringLiteral("SaldofinalAnt, SaldoInicial");
    return executar(QStringLiteral("INSERT INTO %1 (quebra, Tipo, CNPJ, periodoinicial, periodofinal, Mes, Ano, "
                                   "Conta, %2, Diferenca) VALUES (?, ?, ?, ?, ?, ?, '2005', ?, ?, ?, ?)")
                        .arg(tabela, colunas),
                    {quebra, tipo, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal),
                     QString::fromLatin1(mes), QString::fromLatin1(conta), reais(a), reais(b), reais(c)});
}

bool linhaLancamentoSaldo(int quebra, const char* dc, const char* mes, const char* conta, double lanc, double saldo)
{
    const Geral& g = geral();
    return executar(QStringLiteral("INSERT INTO tbLancamentoXsaldo (Quebra, IndDC, CNPJ, periodoinicial, periodofinal, "
                                   "Mes, Ano, CodConta, TotalLancamentos, TotalCredDeb, Diferenca) "
                                   "VALUES (?, ?, ?, ?, ?, ?, '2005', ?, ?, ?, ?)"),
                    {quebra, QString::fromLatin1(dc), g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal),
                     QString::fromLatin1(mes), QString::fromLatin1(conta), reais(lanc), reais(saldo),
                     reais(lanc - saldo)});
}
