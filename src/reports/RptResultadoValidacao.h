#pragma once
// The seven reports of a validation's findings: the entry totals, the final
// and opening balances of the general and auxiliary journals, and the entries
// against the balances' debits and credits. Each reads one result table and
// prints one group per page group (quebra), CNPJ and period.
#include "Relatorio.h"

#include "platform/Banco.h"
#include "platform/Moeda.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

enum class RelatorioValidacao {
    RptLancamentosAcumulado,
    RptsaldoFinalGeral,
    rptSaldoFinalAuxliar,
    RptsaldoInicialGeral,
    RptSaldoInicialAuxiliar,
    rptLancSaldosDebito,
    rptLancSaldosCredito,
};

inline constexpr std::array<RelatorioValidacao, 7> RelatoriosValidacao{
    RelatorioValidacao::RptLancamentosAcumulado, RelatorioValidacao::RptsaldoFinalGeral,
    RelatorioValidacao::rptSaldoFinalAuxliar,    RelatorioValidacao::RptsaldoInicialGeral,
    RelatorioValidacao::RptSaldoInicialAuxiliar, RelatorioValidacao::rptLancSaldosDebito,
    RelatorioValidacao::rptLancSaldosCredito,
};

// One row of a result table as a report prints it.
struct LinhaResultadoValidacao {
    qint32 quebra = 0;
    QString cnpj;
    QDate periodoInicial;
    QDate periodoFinal;
    QString mes;
    QString ano;
    QString conta;
    // The three amounts in the order the report prints them.
    std::array<Moeda, 3> valores{};
};

class RptResultadoValidacao {
public:
    // The report's name, its title and the document name it prints under.
    static QString nome(RelatorioValidacao r);
    static QString titulo(RelatorioValidacao r);
    static QString documento(RelatorioValidacao r);
    // Column headings of the detail lines.
    static QStringList cabecalhos(RelatorioValidacao r);

    // The report's rows, in the order they were written.
    static bool ler(RelatorioValidacao r, db::Conexao& c, QList<LinhaResultadoValidacao>& linhas, db::Erro& erro);
    // The report laid out from the rows: one group per page group, CNPJ and
    // period, in the order the groups first come.
    static relatorio::Relatorio montar(RelatorioValidacao r, const QList<LinhaResultadoValidacao>& linhas);
};
