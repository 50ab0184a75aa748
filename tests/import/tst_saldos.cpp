// Balance record tests: the codes of every field test in their order, the
// duplicate test by month and account, and the rows the writers store.
#include "Ambiente.h"
#include "Declaracoes.h"

#include "import/motor/Motor.h"
#include "shell/Geral.h"

#include <QSqlQuery>
#include <QTest>

using Registros = QList<Campos>;
Q_DECLARE_METATYPE(Registros)

class TstSaldos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codigos_data();
    void codigos();
    void umSaldoPorContaEMes_data();
    void umSaldoPorContaEMes();
    void indicadorDeValorInvalidoContraZero();
    void arquivoComErrosGuardaOsBons();
    void linhaGravada_data();
    void linhaGravada();
    void gravadorDeOutroTipoFalha();
    void gravadorPulaChaveGravada();
};

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 12, 31);

// 1 date, 2 account, 3 opening balance, 4 its D/C, 5 debits, 6 credits,
// 7 closing balance, 8 its D/C.
QMap<int, QByteArray> registroBom(int tipo)
{
    return {{1, "01032005"},         {2, tipo == 8 ? "1.1.01" : "A.01"}, {3, valor17("10000")}, {4, "D"},
            {5, valor17("5000")},    {6, valor17("2000")},               {7, valor17("13000")},  {8, "D"}};
}

void novaDeclaracao(int in)
{
    QVERIFY(criarDeclaracao(qint16(in), Cnpj, Inicio, Fim));
    CONFERE(tabelaImportada(1, {{"1", "S"}, {"1.1", "S"}, {"1.1.01", "A"}, {"1.1.02", "A"}}));
    CONFERE(tabelaImportada(2, {{"A.01", "A"}, {"A.02", "A"}}));
}

void preparar(Ambiente& amb, int tipo, const Registros& registros)
{
    CONFERE(prepararArquivo(amb, tipo, registroBom(tipo), registros, QStringLiteral("saldos.txt")));
}

motor::FimImportacao importar(Ambiente& amb, int tipo, const Registros& registros)
{
    preparar(amb, tipo, registros);
    // The set-up failed (and said so): an end no caller here expects.
    if (QTest::currentTestFailed())
        return motor::FimImportacao::JanelaFechada;
    motor::Painel painel;
    return motor::executarImportacao(painel);
}

// The stored balances as "date|account|opening|D/C|debits|credits|closing|D/C"
// (accounts without their trailing blanks, amounts in 1/10 000), in file order.
QStringList saldos(int tipo)
{
    QStringList r;
    QSqlQuery q(geral().gConn->banco());
    q.exec(QStringLiteral("SELECT DataSaldoIni, rtrim(Codconta), ValorSaldoIni, IndDCSaldoIni, ValorDebitos, "
                          "ValorCreditos, ValorSaldoFin, IndDCSaldoFin FROM %1 ORDER BY rowid")
               .arg(motor::nomeTabelaTipo(tipo)));
    while (q.next()) {
        QStringList c;
        for (int i = 0; i < 8; ++i)
            c << q.value(i).toString();
        r << c.join(u'|');
    }
    return r;
}

} // namespace

void TstSaldos::codigos_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<Campos>("campos");
    QTest::addColumn<QList<int>>("esperado");

    QTest::newRow("86 geral bom") << 86 << 8 << Campos{} << QList<int>{};
    QTest::newRow("86 auxiliar bom") << 86 << 9 << Campos{} << QList<int>{};
    QTest::newRow("68 geral bom") << 68 << 8 << Campos{} << QList<int>{};
    QTest::newRow("68 auxiliar bom") << 68 << 9 << Campos{} << QList<int>{};

    QTest::newRow("data em branco") << 86 << 8 << Campos{{1, ""}} << QList<int>{14};
    QTest::newRow("data zerada") << 68 << 9 << Campos{{1, "00000000"}} << QList<int>{14};
    QTest::newRow("data inexistente") << 86 << 8 << Campos{{1, "30022005"}} << QList<int>{13};
    QTest::newRow("data com NUL sem teste da conta") << 86 << 8 << Campos{{1, comNul("0103", "005")}, {2, "9.9"}}
                                                     << QList<int>{49};
    QTest::newRow("data invalida sem teste da conta") << 86 << 8 << Campos{{1, "01132005"}, {2, "9.9"}}
                                                      << QList<int>{13};
    QTest::newRow("data invalida e conta em branco") << 68 << 8 << Campos{{1, "01132005"}, {2, ""}}
                                                     << QList<int>{13, 16};
    QTest::newRow("data em branco e conta com NUL") << 68 << 8 << Campos{{1, ""}, {2, comNul("1.1.01")}}
                                                    << QList<int>{14, 49};
    QTest::newRow("primeiro dia") << 86 << 8 << Campos{{1, "01012005"}} << QList<int>{};
    QTest::newRow("ultimo dia") << 86 << 8 << Campos{{1, "31122005"}} << QList<int>{};
    QTest::newRow("dia antes") << 86 << 9 << Campos{{1, "31122004"}} << QList<int>{15};
    QTest::newRow("fora do periodo e conta ausente") << 86 << 8 << Campos{{1, "01012006"}, {2, "9.9"}}
                                                     << QList<int>{15, 17};

    QTest::newRow("conta em branco") << 86 << 8 << Campos{{2, ""}} << QList<int>{16};
    QTest::newRow("conta com NUL") << 86 << 9 << Campos{{2, comNul("A.01")}} << QList<int>{49};
    QTest::newRow("86 geral conta ausente") << 86 << 8 << Campos{{2, "9.9"}} << QList<int>{17};
    QTest::newRow("86 geral conta sintetica") << 86 << 8 << Campos{{2, "1.1"}} << QList<int>{18};
    QTest::newRow("86 geral conta do auxiliar") << 86 << 8 << Campos{{2, "A.01"}} << QList<int>{17};
    QTest::newRow("86 auxiliar conta do geral") << 86 << 9 << Campos{{2, "1.1"}} << QList<int>{17};
    QTest::newRow("68 geral conta ausente") << 68 << 8 << Campos{{2, "9.9"}} << QList<int>{17};
    QTest::newRow("68 geral conta sintetica") << 68 << 8 << Campos{{2, "1.1"}} << QList<int>{};
    QTest::newRow("68 auxiliar conta do geral") << 68 << 9 << Campos{{2, "1.1.01"}} << QList<int>{17};

    QTest::newRow("saldo inicial com letra") << 86 << 8 << Campos{{3, "0000000000001000X"}} << QList<int>{19};
    QTest::newRow("indicador inicial X") << 86 << 8 << Campos{{4, "X"}} << QList<int>{20};
    QTest::newRow("indicador inicial em branco com 0,01") << 86 << 8 << Campos{{3, valor17("1")}, {4, ""}}
                                                          << QList<int>{20};
    QTest::newRow("indicador inicial em branco com zero") << 86 << 8 << Campos{{3, valor17("0")}, {4, ""}}
                                                          << QList<int>{};
    QTest::newRow("indicadores minusculos") << 68 << 9 << Campos{{4, "d"}, {8, "c"}} << QList<int>{};
    QTest::newRow("debitos com branco") << 86 << 8 << Campos{{5, "000000000000 5000"}} << QList<int>{21};
    QTest::newRow("creditos com sinal") << 68 << 8 << Campos{{6, "-0000000000002000"}} << QList<int>{22};
    QTest::newRow("saldo final com virgula") << 86 << 9 << Campos{{7, "00000000000130,00"}} << QList<int>{23};
    QTest::newRow("indicador final Z") << 86 << 8 << Campos{{8, "Z"}} << QList<int>{24};
    QTest::newRow("indicador final em branco") << 86 << 8 << Campos{{8, ""}} << QList<int>{24};
    QTest::newRow("indicador final em branco com zero") << 86 << 8 << Campos{{7, valor17("0")}, {8, ""}}
                                                        << QList<int>{};
    QTest::newRow("valor invalido e indicador em branco") << 86 << 8 << Campos{{3, "abc"}, {4, ""}}
                                                          << QList<int>{19};
    QTest::newRow("CR na conta") << 86 << 8 << Campos{{2, "1.1.01\r"}} << QList<int>{49, 17};
    QTest::newRow("tudo errado em ordem")
        << 86 << 8 << Campos{{1, "99999999"}, {2, ""}, {3, "x"}, {4, "X"}, {5, "x"}, {6, "x"}, {7, "x"}, {8, "X"}}
        << QList<int>{13, 16, 19, 20, 21, 22, 23, 24};
}

void TstSaldos::codigos()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    QFETCH(Campos, campos);
    QFETCH(QList<int>, esperado);
    Ambiente amb;
    CONFERE(novaDeclaracao(in));
    // Good records of other accounts around the one under test.
    const QByteArray outra = tipo == 8 ? "1.1.02" : "A.02";
    const QByteArray outroMes = "01022005";
    QCOMPARE(importar(amb, tipo, {Campos{{2, outra}, {1, outroMes}}, campos, Campos{{2, outra}}}),
             motor::FimImportacao::Concluida);
    CONFERE(conferirRegistroDoMeio(esperado));
    QCOMPARE(saldos(tipo).size(), esperado.isEmpty() ? 3 : 2);
    QCOMPARE(situacao(tipo).toInt(), esperado.isEmpty() ? 90 : 777);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstSaldos::umSaldoPorContaEMes_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    QTest::newRow("86 geral") << 86 << 8;
    QTest::newRow("68 auxiliar") << 68 << 9;
}

void TstSaldos::umSaldoPorContaEMes()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    Ambiente amb;
    CONFERE(novaDeclaracao(in));
    const QByteArray conta = tipo == 8 ? "1.1.01" : "A.01";
    const QByteArray outra = tipo == 8 ? "1.1.02" : "A.02";
    const Registros regs{
        {{1, "01032005"}},                                     // stored
        {{1, "15032005"}},                                     // same account and month, another day: 25
        {{1, "01032005"}, {2, conta + "   "}},                 // the same, trailing blanks: 25
        {{1, "01042005"}},                                     // another month: stored
        {{1, "01032006"}, {2, outra + "X"}},                   // another year (and account): 15, 17
        {{1, "01032005"}, {2, outra}, {3, "x"}},               // bad: stores nothing...
        {{1, "01032005"}, {2, outra}},                         // ...so this one is not a duplicate
    };
    QCOMPARE(importar(amb, tipo, regs), motor::FimImportacao::Concluida);
    QCOMPARE(codigosDoRegistro(1), QList<int>{});
    QCOMPARE(codigosDoRegistro(2), QList<int>{25});
    QCOMPARE(codigosDoRegistro(3), QList<int>{25});
    QCOMPARE(codigosDoRegistro(4), QList<int>{});
    QCOMPARE(codigosDoRegistro(5), (QList<int>{15, 17}));
    QCOMPARE(codigosDoRegistro(6), QList<int>{19});
    QCOMPARE(codigosDoRegistro(7), QList<int>{});
    QCOMPARE(saldos(tipo).size(), 3);
}

void TstSaldos::indicadorDeValorInvalidoContraZero()
{
    Ambiente amb;
    CONFERE(novaDeclaracao(86));
    // The amount before it does not stand in for one that did not convert.
    const Registros regs{{{3, valor17("10000")}, {4, "D"}, {1, "01022005"}},
                         {{3, "abc"}, {4, ""}, {7, "1 3"}, {8, ""}}};
    QCOMPARE(importar(amb, 8, regs), motor::FimImportacao::Concluida);
    QCOMPARE(codigosDoRegistro(1), QList<int>{});
    QCOMPARE(codigosDoRegistro(2), (QList<int>{19, 23}));
}

void TstSaldos::arquivoComErrosGuardaOsBons()
{
    Ambiente amb;
    CONFERE(novaDeclaracao(86));
    const Registros regs{{{1, "01012005"}}, {{1, "01022005"}, {2, "9.9"}}, {{1, "01032005"}}};
    QCOMPARE(importar(amb, 8, regs), motor::FimImportacao::Concluida);
    QCOMPARE(geral().gRegErros, 1.0);
    QCOMPARE(situacao(8).toInt(), 777);
    QCOMPARE(saldos(8), (QStringList{QStringLiteral("01012005|1.1.01|1000000|D|500000|200000|1300000|D"),
                                     QStringLiteral("01032005|1.1.01|1000000|D|500000|200000|1300000|D")}));
}

void TstSaldos::linhaGravada_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    QTest::newRow("68 geral") << 68 << 8;
    QTest::newRow("68 auxiliar") << 68 << 9;
    QTest::newRow("86 geral") << 86 << 8;
    QTest::newRow("86 auxiliar") << 86 << 9;
}

void TstSaldos::linhaGravada()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    Ambiente amb;
    CONFERE(novaDeclaracao(in));
    const Registros regs{{{3, "000000000000" "12345"}, {4, "d"}, {5, valor17("0")}, {6, valor17("1")},
                          {7, valor17("12344")}, {8, "c"}}};
    QCOMPARE(importar(amb, tipo, regs), motor::FimImportacao::Concluida);
    QCOMPARE(situacao(tipo).toInt(), 90);
    QSqlQuery q(geral().gConn->banco());
    QVERIFY(q.exec(QStringLiteral("SELECT Inarquivo, cnpj, periodoinicial, periodofinal, DataSaldoIni, Codconta, "
                                  "ValorSaldoIni, IndDCSaldoIni, ValorDebitos, ValorCreditos, ValorSaldoFin, "
                                  "IndDCSaldoFin FROM %1")
                       .arg(motor::nomeTabelaTipo(tipo))));
    QVERIFY(q.next());
    QStringList linha;
    for (int i = 0; i < 12; ++i)
        linha << q.value(i).toString();
    const QString conta = QString::fromLatin1(tipo == 8 ? "1.1.01" : "A.01").leftJustified(28);
    QCOMPARE(linha, (QStringList{QString::number(in), Cnpj, QStringLiteral("01012005"), QStringLiteral("31122005"),
                                 QStringLiteral("01032005"), conta, QStringLiteral("1234500"), QStringLiteral("D"),
                                 QStringLiteral("0"), QStringLiteral("100"), QStringLiteral("1234400"),
                                 QStringLiteral("C")}));
    QVERIFY(!q.next());
}

void TstSaldos::gravadorDeOutroTipoFalha()
{
    Ambiente amb;
    CONFERE(novaDeclaracao(86));
    Geral& g = geral();
    g.gTipoArquivo = 6;
    motor::Painel painel;
    motor::Contexto ctx(painel);
    QVERIFY(!motor::fun_Grava86Saldos(ctx, "01032005", "1.1.01", Moeda(), "D", Moeda(), Moeda(), Moeda(), "D"));
    QVERIFY2(g.gMsg.startsWith(QStringLiteral("cod.erro ")), qPrintable(g.gMsg));
    QVERIFY2(g.gMsg.endsWith(QStringLiteral(" (fun_Grava86Saldos)")), qPrintable(g.gMsg));
    QVERIFY(!motor::fun_Grava68Saldos(ctx, "01032005", "1.1.01", Moeda(), "D", Moeda(), Moeda(), Moeda(), "D"));
    QVERIFY2(g.gMsg.endsWith(QStringLiteral(" (fun_Grava68Saldos)")), qPrintable(g.gMsg));
}

// A row whose month and account are stored already is skipped by the writer
// without an error, and does not count as stored for the duplicate test.
void TstSaldos::gravadorPulaChaveGravada()
{
    Ambiente amb;
    CONFERE(novaDeclaracao(86));
    CONFERE(preparar(amb, 8, {}));   // the layout of the type in hand
    Geral& g = geral();
    motor::Painel painel;
    {
        motor::Contexto ctx(painel);
        QVERIFY(motor::LER_LeiauteDIG(ctx));
        QVERIFY2(motor::fun_Criar_Tabela(ctx), qPrintable(g.gMsg));
        QVERIFY(motor::fun_Grava86Saldos(ctx, "01032005", "1.1.01", Moeda::deUnidades(1), "D", Moeda(), Moeda(),
                                         Moeda::deUnidades(1), "D"));
        QVERIFY(motor::fun_Grava86Saldos(ctx, "01032005", "1.1.01", Moeda::deUnidades(2), "C", Moeda(), Moeda(),
                                         Moeda::deUnidades(2), "C"));
        QVERIFY(motor::fun_Grava86Saldos(ctx, "01042005", "1.1.01", Moeda::deUnidades(3), "D", Moeda(), Moeda(),
                                         Moeda::deUnidades(3), "D"));
        bool acima = true;
        QVERIFY(motor::haImportadosAlemDe(ctx, acima, "032005", "1.1.01", 1));
        QVERIFY(!acima);
        QVERIFY(motor::Verifica_Importados(ctx, acima, "032005", "1.1.01"));
        QVERIFY(acima);
    }
    QCOMPARE(saldos(8), (QStringList{QStringLiteral("01032005|1.1.01|1|D|0|0|1|D"),
                                     QStringLiteral("01042005|1.1.01|3|D|0|0|3|D")}));
}

QTEST_MAIN(TstSaldos)
#include "tst_saldos.moc"
