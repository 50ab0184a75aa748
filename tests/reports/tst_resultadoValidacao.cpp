#include "Ambiente.h"
#include "Resultados.h"

#include "reports/RptResultadoValidacao.h"
#include "shell/Geral.h"

#include <QMap>
#include <QTest>

#include <algorithm>

using namespace relatorio;

class TstResultadoValidacao : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gruposECabecalho_data();
    void gruposECabecalho();
    void tabelaIlegivel();
};

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 12, 31);
const QDateTime Momento(QDate(2024, 3, 5), QTime(14, 7, 9));
const Fonte Cabecalho{9, true, false};

// Findings of every kind; the balances and the debits span two page groups,
// and the debits' group 0 takes rows written before and after group 1 (as
// the second pass of that check starts its groups again at 0).
bool resultados()
{
    return criarDeclaracao(86, Cnpj, Inicio, Fim)
           && executar(QStringLiteral("INSERT INTO tbLancamentosAcumulados (quebra, Tipo, CNPJ, periodoinicial, "
                                      "periodofinal, TotalCreditos, TotalDebitos, Diferenca) "
                                      "VALUES (0, 1, ?, ?, ?, ?, ?, ?)"),
                       {Cnpj, dataIso(Inicio), dataIso(Fim), reais(1234567.5), reais(1234569.75), reais(2.25)})
           && linhaSaldo(QStringLiteral("tbSaldoFinal"), 0, 1, "03", "1.1.01", -1300, 1300, 2600)
           && linhaSaldo(QStringLiteral("tbSaldoFinal"), 0, 2, "05", "9.9", 10, 12, 2)
           && linhaSaldo(QStringLiteral("tbSaldoFinal"), 0, 1, "04", "2.1.07", 1000000, 999998.5, -1.5)
           && linhaSaldo(QStringLiteral("tbSaldoFinal"), 1, 1, "05", "1.1.01", 0, 1, 1)
           && linhaSaldo(QStringLiteral("tbSaldoInicial"), 0, 1, "02", "1.1.01", 150, 0, -150)
           && linhaSaldo(QStringLiteral("tbSaldoInicial"), 0, 2, "03", "7", 20, 25, 5)
           && linhaSaldo(QStringLiteral("tbSaldoInicial"), 0, 1, "06", "3.2", 0, 75.4, 75.4)
           && linhaLancamentoSaldo(0, "D", "03", "1.1.01", 300, 299) && linhaLancamentoSaldo(1, "D", "04", "1.1.01", 10, 0)
           && linhaLancamentoSaldo(0, "C", "08", "5.5", 1234.56, 0) && linhaLancamentoSaldo(0, "D", "07", "4.4", 0, 500);
}

// Items of a band, top to bottom and left to right.
QList<Item> emOrdem(const Banda& b)
{
    QList<Item> r;
    for (const Item& i : b.itens())
        if (i.tipo == Item::Tipo::Texto)
            r << i;
    std::stable_sort(r.begin(), r.end(), [](const Item& a, const Item& c) {
        if (qAbs(a.ret.top() - c.ret.top()) > 0.5)
            return a.ret.top() < c.ret.top();
        return a.ret.left() < c.ret.left();
    });
    return r;
}

// The column headings of a group header: the lines of each column joined.
QStringList cabecalhos(const Banda& b)
{
    QMap<double, QStringList> colunas;
    for (const Item& i : emOrdem(b))
        if (i.fonte == Cabecalho)
            colunas[i.ret.left()] << i.texto;
    QStringList r;
    for (const QStringList& linhas : colunas)
        r << linhas.join(u' ');
    return r;
}

// The other texts of a group header.
QStringList identificacao(const Banda& b)
{
    QStringList r;
    for (const Item& i : emOrdem(b))
        if (i.fonte != Cabecalho)
            r << i.texto;
    return r;
}

QStringList simplificados(const QStringList& l)
{
    QStringList r;
    for (const QString& s : l)
        r << s.simplified();
    return r;
}

using Grupos = QList<QStringList>;

} // namespace

void TstResultadoValidacao::gruposECabecalho_data()
{
    QTest::addColumn<int>("relatorio");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QStringList>("titulos");
    // Per group: the page group shown in its header ("" when not shown), then
    // its detail lines with "|" between the fields.
    QTest::addColumn<Grupos>("grupos");

    const QStringList saldoFinal{"Mês", "Ano", "Conta", "Saldo Final", "Saldo Final Calculado", "Diferença"};
    const QStringList saldoInicial{"Mês", "Ano", "Conta", "Diferença", "Saldo Final Anterior", "Saldo Inicial"};
    QTest::newRow("RptLancamentosAcumulado")
        << int(RelatorioValidacao::RptLancamentosAcumulado) << "Resultado  da Validação Lançamento Diário Geral"
        << QStringList{"Total Débitos", "Total Créditos", "Diferença"}
        << Grupos{{"", "R$ 1.234.569,75|R$ 1.234.567,50|R$ 2,25"}};
    QTest::newRow("RptsaldoFinalGeral")
        << int(RelatorioValidacao::RptsaldoFinalGeral) << "Resultado  da Validação do Saldo Final Geral" << saldoFinal
        << Grupos{{"0", "03|2005|1.1.01|-R$ 1.300,00|R$ 1.300,00|R$ 2.600,00",
                   "04|2005|2.1.07|R$ 1.000.000,00|R$ 999.998,50|-R$ 1,50"},
                  {"1", "05|2005|1.1.01|R$ 0,00|R$ 1,00|R$ 1,00"}};
    QTest::newRow("rptSaldoFinalAuxliar")
        << int(RelatorioValidacao::rptSaldoFinalAuxliar) << "Resultado  da Validação do Saldo Final Auxiliar"
        << saldoFinal << Grupos{{"0", "05|2005|9.9|R$ 10,00|R$ 12,00|R$ 2,00"}};
    QTest::newRow("RptsaldoInicialGeral")
        << int(RelatorioValidacao::RptsaldoInicialGeral) << "Resultado  da Validação do Saldo Inicial Geral"
        << saldoInicial
        << Grupos{{"0", "02|2005|1.1.01|-R$ 150,00|R$ 150,00|R$ 0,00", "06|2005|3.2|R$ 75,40|R$ 0,00|R$ 75,40"}};
    QTest::newRow("RptSaldoInicialAuxiliar")
        << int(RelatorioValidacao::RptSaldoInicialAuxiliar) << "Resultado  da Validação do Saldo Inicial Auxiliar"
        << saldoInicial << Grupos{{"0", "03|2005|7|R$ 5,00|R$ 20,00|R$ 25,00"}};
    QTest::newRow("rptLancSaldosDebito")
        << int(RelatorioValidacao::rptLancSaldosDebito) << "Resultado da Validação LançamentosXSaldos - Débitos"
        << QStringList{"Mês", "Ano", "Conta", "Total de Débitos  Lançamentos", "Total de Débitos Saldos", "Diferença"}
        << Grupos{{"0", "03|2005|1.1.01|R$ 300,00|R$ 299,00|R$ 1,00", "07|2005|4.4|R$ 0,00|R$ 500,00|-R$ 500,00"},
                  {"1", "04|2005|1.1.01|R$ 10,00|R$ 0,00|R$ 10,00"}};
    QTest::newRow("rptLancSaldosCredito")
        << int(RelatorioValidacao::rptLancSaldosCredito) << "Resultado da Validação LançamentosXSaldos - Créditos"
        << QStringList{"Mês", "Ano", "Conta", "Total de Créditos  Lançamentos", "Total de Créditos Saldos",
                       "Diferença"}
        << Grupos{{"0", "08|2005|5.5|R$ 1.234,56|R$ 0,00|R$ 1.234,56"}};
}

void TstResultadoValidacao::gruposECabecalho()
{
    QFETCH(int, relatorio);
    QFETCH(QString, titulo);
    QFETCH(QStringList, titulos);
    QFETCH(Grupos, grupos);
    Ambiente amb;
    QVERIFY(resultados());
    const auto r = static_cast<RelatorioValidacao>(relatorio);
    QCOMPARE(RptResultadoValidacao::titulo(r), titulo);
    QCOMPARE(RptResultadoValidacao::cabecalhos(r), titulos);

    QList<LinhaResultadoValidacao> linhas;
    db::Erro e;
    QVERIFY2(RptResultadoValidacao::ler(r, *geral().gConn, linhas, e), qPrintable(e.descricao));
    Relatorio rel = RptResultadoValidacao::montar(r, linhas);
    QCOMPARE(rel.titulo, titulo);
    QCOMPARE(rel.grupos.size(), grupos.size());
    for (qsizetype g = 0; g < grupos.size(); ++g) {
        const Grupo& grupo = rel.grupos.at(g);
        QStringList esperado{QStringLiteral("CNPJ     :"), Cnpj};
        if (!grupos.at(g).first().isEmpty())
            esperado << grupos.at(g).first();
        esperado << QStringLiteral("Período :") << QStringLiteral("01/01/2005") << QStringLiteral("a")
                 << QStringLiteral("31/12/2005");
        QCOMPARE(identificacao(grupo.cabecalho), esperado);
        // Long headings may take two lines.
        QCOMPARE(cabecalhos(grupo.cabecalho), simplificados(titulos));
        QVERIFY(std::any_of(grupo.cabecalho.itens().begin(), grupo.cabecalho.itens().end(),
                            [](const Item& i) { return i.tipo == Item::Tipo::Linha; }));
        QStringList detalhes;
        for (const Banda& d : grupo.detalhes) {
            QStringList campos;
            for (const Item& i : emOrdem(d))
                campos << i.texto;
            detalhes << campos.join(u'|');
        }
        QCOMPARE(detalhes, grupos.at(g).mid(1));
    }

    // The common page header with the report's title.
    rel.momento = Momento;
    const QList<Pagina> paginas = paginar(rel);
    QCOMPARE(paginas.size(), 1);
    const QStringList t = paginas.first().textos();
    QCOMPARE(t.mid(0, 7), (QStringList{QStringLiteral("Ministério da Lumeira"), QStringLiteral("05/03/2024 14:07:09"),
                                       QStringLiteral("Secretaria da Orvane do Brasil"), QStringLiteral("Página: 1"),
                                       QStringLiteral("TOBRI  -  Arquivos Contábeis"), titulo,
                                       QStringLiteral("CNPJ     :")}));
    // Every text fits its place on the page.
    for (const Item& i : paginas.first().itens) {
        QVERIFY2(i.ret.right() <= areaA4().width() + 0.01, qPrintable(i.texto));
        if (i.tipo == Item::Tipo::Texto)
            QVERIFY2(larguraTexto(i.fonte, i.texto) <= i.ret.width() + 0.01, qPrintable(i.texto));
    }
}

void TstResultadoValidacao::tabelaIlegivel()
{
    Ambiente amb;
    QVERIFY(resultados());
    QVERIFY(executar(QStringLiteral("DROP TABLE tbLancamentoXsaldo")));
    QList<LinhaResultadoValidacao> linhas;
    db::Erro e;
    QVERIFY(!RptResultadoValidacao::ler(RelatorioValidacao::rptLancSaldosCredito, *geral().gConn, linhas, e));
    QCOMPARE(e.numero, db::ErroSemTabela);
}

QTEST_MAIN(TstResultadoValidacao)
#include "tst_resultadoValidacao.moc"
