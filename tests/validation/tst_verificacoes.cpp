// The five checks on small declarations whose staging tables are filled
// here: findings at 1.00 and passes at 0.99, page groups, the continuity
// scan over account histories, entries against balances, statuses and
// summary rows.
#include "Ambiente.h"
#include "Declaracoes.h"

#include "import/motor/Motor.h"
#include "shell/Geral.h"
#include "validation/motor/Verificacoes.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

class TstVerificacoes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void debitosContraCreditos_data();
    void debitosContraCreditos();
    void saldoMensal_data();
    void saldoMensal();
    void saldoMensalGruposDePagina();
    void saldoMensalVazio();
    void saldoMensalNoLimite_data();
    void saldoMensalNoLimite();
    void continuidade_data();
    void continuidade();
    void continuidadeErroComRotulos();
    void continuidadeSoNoAuxiliar();
    void lancamentosXSaldos_data();
    void lancamentosXSaldos();
    void lancamentosXSaldosGruposDePagina();
};

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 4, 30);

void criarTabela(int tipo)
{
    Geral& g = geral();
    g.gTipoArquivo = qint16(tipo);
    QString msg;
    QVERIFY2(motor::copiarLeiautePadrao(msg), qPrintable(msg));
    motor::Painel painel;
    motor::Contexto ctx(painel);
    QVERIFY2(motor::LER_LeiauteDIG(ctx) && motor::fun_Criar_Tabela(ctx), qPrintable(g.gMsg));
    QVERIFY2(motor::criarIndicesAdiados(ctx), qPrintable(geral().gMsg));   // as the end of an import
}

// A declaration (Jan to Apr 2005) with empty staging tables of the general
// entries and both balances, and its files imported clean.
void novaDeclaracao()
{
    QVERIFY(criarDeclaracao(68, Cnpj, Inicio, Fim));
    for (int tipo : {6, 8, 9})
        CONFERE(criarTabela(tipo));
    for (int tipo : {1, 2, 6, 7, 8, 9})
        QVERIFY(geral().gConn->executar(
            QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao) "
                           "VALUES (68, ?, ?, ?, ?, 90)"),
            {Cnpj, dataIso(Inicio), dataIso(Fim), tipo}));
}

qint64 u(qint64 centavos)
{
    return centavos * 100;
}

// An entry as the reload stores it.
void lanc(const char* mmaaaa, const char* conta, qint64 centavos, const char* dc)
{
    QVERIFY(geral().gConn->executar(
        QStringLiteral("INSERT INTO %1 (Datalanc, Codconta, Valor, Inddc) VALUES (?, ?, ?, ?)")
            .arg(motor::nomeTabelaTipo(6)),
        {QString::fromLatin1(mmaaaa), QString::fromLatin1(conta), u(centavos), QString::fromLatin1(dc)}));
}

// A balance row as the import stores it (account blank-filled as cut).
void saldo(int tipo, const QString& data, const QString& conta, qint64 ini, const char* indIni, qint64 deb,
           qint64 cred, qint64 fin, const char* indFin)
{
    QVERIFY(geral().gConn->executar(
        QStringLiteral("INSERT INTO %1 (DataSaldoIni, Codconta, ValorSaldoIni, IndDCSaldoIni, ValorDebitos, "
                       "ValorCreditos, ValorSaldoFin, IndDCSaldoFin) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(motor::nomeTabelaTipo(tipo)),
        {data, conta.leftJustified(28), u(ini), QString::fromLatin1(indIni), u(deb), u(cred), u(fin),
         QString::fromLatin1(indFin)}));
}

QStringList linhas(const QString& sql)
{
    QStringList r;
    QSqlQuery q(geral().gConn->banco());
    if (!q.exec(sql))
        return {q.lastError().text()};
    while (q.next()) {
        QStringList campos;
        for (int i = 0; i < q.record().count(); ++i)
            campos << q.value(i).toString();
        r << campos.join(u' ');
    }
    return r;
}

QStringList situacoes()
{
    return linhas(QStringLiteral("SELECT TipoArquivo, TipoValidacao, CodigoErro, RegLidos, RegCorretos, RegComErro, "
                                 "ifnull(RegFaltantes, '-') FROM tbSituacaoValidacao ORDER BY rowid"));
}

// The status a run gives the file for the check's findings: their code, or
// the 90 it was imported with. The checks themselves leave tbImportados as
// it was (the run writes every status once all checks have run).
QString statusDe(const validacao::Estado& estado, int tipo)
{
    const QString gravada = situacao(tipo).toString();
    if (gravada != QLatin1String("90"))
        return QStringLiteral("gravada %1").arg(gravada);
    const qint16 codigo = estado.situacao[static_cast<size_t>(tipo)];
    return codigo != 0 ? QString::number(codigo) : gravada;
}

} // namespace

// ---- Check 1 --------------------------------------------------------------

void TstVerificacoes::debitosContraCreditos_data()
{
    QTest::addColumn<QList<qint64>>("debitos");
    QTest::addColumn<QList<qint64>>("creditos");
    QTest::addColumn<bool>("achado");
    QTest::newRow("iguais") << QList<qint64>{10000, 5050} << QList<qint64>{15050} << false;
    QTest::newRow("0,99 passa") << QList<qint64>{10099} << QList<qint64>{10000} << false;
    QTest::newRow("1,00 é achado") << QList<qint64>{10000} << QList<qint64>{10100} << true;
    QTest::newRow("só débitos") << QList<qint64>{2500, 2500} << QList<qint64>{} << true;
}

void TstVerificacoes::debitosContraCreditos()
{
    QFETCH(QList<qint64>, debitos);
    QFETCH(QList<qint64>, creditos);
    QFETCH(bool, achado);
    Ambiente amb;
    CONFERE(novaDeclaracao());
    qint64 d = 0, c = 0;
    // Lower-case indicators count with the upper-case ones.
    bool minuscula = false;
    for (qint64 v : debitos) {
        CONFERE(lanc("032005", "1.1", v, minuscula ? "d" : "D"));
        minuscula = !minuscula;
        d += v;
    }
    for (qint64 v : creditos) {
        CONFERE(lanc("032005", "1.2", v, "C"));
        c += v;
    }
    validacao::Estado estado;
    QVERIFY2(validacao::fun_validaLancamentos(estado, 1), qPrintable(geral().gMsg));
    const Geral& g = geral();
    QCOMPARE(g.gTotalDebitos.unidades(), u(d));
    QCOMPARE(g.gTotalCreditos.unidades(), u(c));
    QCOMPARE(g.gDiferenca.unidades(), u(d - c));
    QCOMPARE(linhas(QStringLiteral("SELECT quebra, Tipo, CNPJ, periodoinicial, periodofinal, TotalCreditos, "
                                   "TotalDebitos, Diferenca FROM tbLancamentosAcumulados")),
             QStringList{QStringLiteral("0 1 %1 2005-01-01 2005-04-30 %2 %3 %4").arg(Cnpj).arg(u(c)).arg(u(d)).arg(u(d - c))});
    QCOMPARE(estado.erro, achado);
    QCOMPARE(situacoes(), achado ? QStringList{QStringLiteral("6 1 53 0 0 0 -")} : QStringList{});
    QCOMPARE(statusDe(estado, 6), achado ? QStringLiteral("53") : QStringLiteral("90"));
    QCOMPARE(statusDe(estado, 8), QStringLiteral("90"));
}

// ---- Check 2 --------------------------------------------------------------

void TstVerificacoes::saldoMensal_data()
{
    QTest::addColumn<qint64>("ini");
    QTest::addColumn<QString>("indIni");
    QTest::addColumn<qint64>("deb");
    QTest::addColumn<qint64>("cred");
    QTest::addColumn<qint64>("fin");
    QTest::addColumn<QString>("indFin");
    QTest::addColumn<QString>("linha");   // informed, calculated, difference; empty: no finding
    QTest::newRow("confere") << 100000LL << "D" << 50000LL << 20000LL << 130000LL << "D" << QString();
    QTest::newRow("final a crédito") << 100000LL << "D" << 50000LL << 20000LL << 130000LL << "C"
                                     << QStringLiteral("-13000000 13000000 26000000");
    QTest::newRow("saldos a crédito") << 10000LL << "C" << 0LL << 5000LL << 15000LL << "C" << QString();
    QTest::newRow("indicador minúsculo") << 10000LL << "c" << 0LL << 5000LL << 15000LL << "c" << QString();
    QTest::newRow("0,99 passa") << 10000LL << "D" << 0LL << 0LL << 9901LL << "D" << QString();
    QTest::newRow("1,00 é achado") << 10000LL << "D" << 0LL << 0LL << 9900LL << "D"
                                   << QStringLiteral("990000 1000000 10000");
    // 900.000.000.000.000,00 in every field: each fits, and so does the
    // movement taken first (debits minus credits).
    const qint64 limite = 90000000000000000LL;
    QTest::newRow("perto do limite confere") << limite << "D" << limite << limite << limite << "D" << QString();
    QTest::newRow("perto do limite a crédito") << limite << "C" << limite << limite << limite << "C" << QString();
    QTest::newRow("perto do limite com achado")
        << limite << "D" << limite << limite << 80000000000000000LL << "D"
        << QStringLiteral("8000000000000000000 9000000000000000000 1000000000000000000");
}

void TstVerificacoes::saldoMensal()
{
    QFETCH(qint64, ini);
    QFETCH(QString, indIni);
    QFETCH(qint64, deb);
    QFETCH(qint64, cred);
    QFETCH(qint64, fin);
    QFETCH(QString, indFin);
    QFETCH(QString, linha);
    Ambiente amb;
    CONFERE(novaDeclaracao());
    CONFERE(saldo(8, QStringLiteral("01032005"), QStringLiteral("1.1"), 0, "D", 0, 0, 0, "D"));
    CONFERE(saldo(8, QStringLiteral("01022005"), QStringLiteral("1.1.01"), ini, qPrintable(indIni), deb, cred, fin,
                  qPrintable(indFin)));
    validacao::Estado estado;
    QVERIFY2(validacao::fun_ValidaSaldosMes(estado, 1), qPrintable(geral().gMsg));
    const bool achado = !linha.isEmpty();
    QCOMPARE(linhas(QStringLiteral("SELECT quebra, Tipo, Mes, Ano, Conta, SaldoFinal, Saldofinalcalc, Diferenca "
                                   "FROM tbSaldoFinal")),
             achado ? QStringList{QStringLiteral("0 1 02 2005 1.1.01 ") + linha} : QStringList{});
    const Geral& g = geral();
    QCOMPARE(g.gRegLidosSaldoFinal[1], 2);
    QCOMPARE(g.gRegCorretosSaldoFinal[1], achado ? 1 : 2);
    QCOMPARE(g.gRegComErroSaldoFinal[1], achado ? 1 : 0);
    QCOMPARE(situacoes(), QStringList{achado ? QStringLiteral("8 2 55 2 1 1 -") : QStringLiteral("8 2 0 2 2 0 -")});
    QCOMPARE(statusDe(estado, 8), achado ? QStringLiteral("55") : QStringLiteral("90"));
    QCOMPARE(statusDe(estado, 9), QStringLiteral("90"));
    QCOMPARE(estado.erro, achado);
}

void TstVerificacoes::saldoMensalGruposDePagina()
{
    Ambiente amb;
    CONFERE(novaDeclaracao());
    for (int i = 1; i <= 82; ++i)
        CONFERE(saldo(9, QStringLiteral("01012005"), QStringLiteral("A.%1").arg(i, 3, 10, QLatin1Char('0')), 100, "D", 0, 0,
                      0, "D"));
    validacao::Estado estado;
    QVERIFY2(validacao::fun_ValidaSaldosMes(estado, 2), qPrintable(geral().gMsg));
    const QStringList grupos = linhas(QStringLiteral("SELECT quebra FROM tbSaldoFinal WHERE Tipo = 2 ORDER BY Conta"));
    QCOMPARE(grupos.size(), 82);
    QCOMPARE(grupos.count(QStringLiteral("0")), 40);
    QCOMPARE(grupos.at(39), QStringLiteral("0"));
    QCOMPARE(grupos.at(40), QStringLiteral("1"));   // the 41st row opens group 1
    QCOMPARE(grupos.at(80), QStringLiteral("1"));
    QCOMPARE(grupos.at(81), QStringLiteral("2"));   // the 82nd opens group 2
    QCOMPARE(statusDe(estado, 9), QStringLiteral("55"));
    QCOMPARE(statusDe(estado, 8), QStringLiteral("90"));
    QCOMPARE(situacoes(), QStringList{QStringLiteral("9 2 55 82 0 82 -")});
}

// An opening D and the same closing C differ by twice the amount: up to
// 922.337.203.685.477,58 that is a finding; beyond the currency's range the
// check stops, and says why.
void TstVerificacoes::saldoMensalNoLimite_data()
{
    QTest::addColumn<qint64>("valor");   // cents, as opening D and closing C
    QTest::addColumn<bool>("estouro");
    QTest::newRow("diferença de 922.337.203.685.477,58") << 46116860184273879LL << false;
    QTest::newRow("um centavo além") << 46116860184273880LL << true;
    QTest::newRow("500.000.000.000.000,00 D e C") << 50000000000000000LL << true;
}

void TstVerificacoes::saldoMensalNoLimite()
{
    QFETCH(qint64, valor);
    QFETCH(bool, estouro);
    Ambiente amb;
    CONFERE(novaDeclaracao());
    CONFERE(saldo(8, QStringLiteral("01022005"), QStringLiteral("1.1.01"), valor, "D", 0, 0, valor, "C"));
    validacao::Estado estado;
    QCOMPARE(validacao::fun_ValidaSaldosMes(estado, 1), !estouro);
    if (estouro) {
        QCOMPARE(geral().gMsg, QStringLiteral("cod.erro 6\r\nmsg. Erro: Estouro de capacidade(fun_ValidaSaldosMes)"));
        QCOMPARE(linhas(QStringLiteral("SELECT count(*) FROM tbSaldoFinal")), QStringList{QStringLiteral("0")});
    } else {
        QCOMPARE(linhas(QStringLiteral("SELECT Diferenca FROM tbSaldoFinal")),
                 QStringList{QString::number(valor * 200)});
        QCOMPARE(statusDe(estado, 8), QStringLiteral("55"));
    }
}

void TstVerificacoes::saldoMensalVazio()
{
    Ambiente amb;
    CONFERE(novaDeclaracao());
    validacao::Estado estado;
    QVERIFY(validacao::fun_ValidaSaldosMes(estado, 1));
    QCOMPARE(situacoes(), QStringList{});
    QCOMPARE(geral().gRegLidosSaldoFinal[1], 0);
    QVERIFY(!estado.erro);
}

// ---- Check 3 --------------------------------------------------------------

void TstVerificacoes::continuidade_data()
{
    // Rows "account month opening closing" (amounts in cents, negative = C);
    // expected tbSaldoInicial rows "month account previous opening
    // difference" and counters "read correct with-error missing".
    QTest::addColumn<QStringList>("historico");
    QTest::addColumn<QStringList>("esperado");
    QTest::addColumn<QString>("contadores");
    QTest::newRow("contínua") << QStringList{"1.1 1 0 10000", "1.1 2 10000 10000", "1.1 3 10000 10000",
                                             "1.1 4 10000 0"}
                              << QStringList{} << "4 4 0 0";
    QTest::newRow("abertura difere") << QStringList{"1.1 1 0 10000", "1.1 2 9000 9000", "1.1 3 9000 9000",
                                                    "1.1 4 9000 0"}
                                     << QStringList{"02 1.1 1000000 900000 -100000"} << "4 3 1 0";
    QTest::newRow("0,99 passa") << QStringList{"1.1 1 0 10000", "1.1 2 9901 0"} << QStringList{} << "2 2 0 0";
    QTest::newRow("lacuna no meio") << QStringList{"1.1 1 0 10000", "1.1 4 10000 0"}
                                    << QStringList{"02 1.1 1000000 0 -1000000", "03 1.1 1000000 0 -1000000"}
                                    << "2 2 0 2";
    QTest::newRow("lacuna com saldo zero") << QStringList{"1.1 1 0 0", "1.1 4 0 0"} << QStringList{} << "2 2 0 0";
    QTest::newRow("falta o fim de uma conta do meio")
        << QStringList{"1.1 1 0 -5000", "1.1 2 -5000 -5000", "1.2 1 0 0", "1.2 2 0 0", "1.2 3 0 0", "1.2 4 0 0"}
        << QStringList{"03 1.1 -500000 0 500000", "04 1.1 -500000 0 500000"} << "6 6 0 2";
    QTest::newRow("falta o fim da última conta")
        << QStringList{"1.1 1 0 0", "1.1 2 0 0", "1.1 3 0 0", "1.1 4 0 0", "1.2 1 0 3000", "1.2 2 3000 3000"}
        << QStringList{"03 1.2 300000 0 -300000", "04 1.2 300000 0 -300000"} << "6 6 0 2";
    QTest::newRow("primeiro mês ausente") << QStringList{"1.1 3 2000 0", "1.1 4 0 0"}
                                          << QStringList{"03 1.1 0 200000 200000"} << "2 1 1 0";
    QTest::newRow("conta que começa depois")
        << QStringList{"1.1 1 0 0", "1.1 2 0 0", "1.1 3 0 0", "1.1 4 0 0", "1.2 3 0 700", "1.2 4 700 0"}
        << QStringList{} << "6 6 0 0";
    QTest::newRow("conta que começa depois com abertura")
        << QStringList{"1.1 1 0 0", "1.1 2 0 0", "1.1 3 0 0", "1.1 4 0 0", "1.2 3 700 0", "1.2 4 0 0"}
        << QStringList{"03 1.2 0 70000 70000"} << "6 5 1 0";
    QTest::newRow("vazia") << QStringList{} << QStringList{} << "0 0 0 0";
}

void TstVerificacoes::continuidade()
{
    QFETCH(QStringList, historico);
    QFETCH(QStringList, esperado);
    QFETCH(QString, contadores);
    Ambiente amb;
    CONFERE(novaDeclaracao());
    for (const QString& h : std::as_const(historico)) {
        const QStringList p = h.split(u' ');
        const qint64 ini = p.at(2).toLongLong(), fin = p.at(3).toLongLong();
        const QString data =
            QStringLiteral("01") + p.at(1).rightJustified(2, u'0') + QStringLiteral("2005");
        CONFERE(saldo(8, data, p.at(0), qAbs(ini), ini < 0 ? "C" : "D", 0, 0, qAbs(fin), fin < 0 ? "C" : "D"));
    }
    validacao::Estado estado;
    QVERIFY2(validacao::fun_validaSaldosPorConta(estado, 1), qPrintable(geral().gMsg));
    QCOMPARE(linhas(QStringLiteral("SELECT Mes, Conta, SaldofinalAnt, SaldoInicial, Diferenca FROM tbSaldoInicial "
                                   "WHERE quebra = 0 AND Tipo = 1 AND Ano = '2005' ORDER BY rowid")),
             esperado);
    const Geral& g = geral();
    QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                 .arg(g.gRegLidosSaldoInicial[1])
                 .arg(g.gRegCorretosSaldoInicial[1])
                 .arg(g.gRegComErroSaldoInicial[1])
                 .arg(g.gRegFaltantesSaldoInicial[1]),
             contadores);
    const bool achado = !esperado.isEmpty();
    QCOMPARE(situacoes(), QStringList{QStringLiteral("8 3 %1 %2").arg(achado ? 54 : 0).arg(contadores)});
    QCOMPARE(statusDe(estado, 8), achado ? QStringLiteral("54") : QStringLiteral("90"));
    QCOMPARE(estado.erro, achado);
}

void TstVerificacoes::continuidadeErroComRotulos()
{
    Ambiente amb;
    CONFERE(novaDeclaracao());
    QVERIFY(geral().gConn->executar(QStringLiteral("DROP TABLE %1").arg(motor::nomeTabelaTipo(8))));
    validacao::Estado estado;
    QVERIFY(!validacao::fun_validaSaldosPorConta(estado, 1));
    const QString& msg = geral().gMsg;
    QVERIFY2(msg.startsWith(QStringLiteral("Código Erro: -2147217865\r\nMensagem Erro: no such table")), qPrintable(msg));
    QVERIFY2(msg.endsWith(QStringLiteral("(fun_validaSaldosPorConta)")) && !msg.endsWith(QStringLiteral(" (fun_validaSaldosPorConta)")),
             qPrintable(msg));
    QCOMPARE(situacoes(), QStringList{});
}

void TstVerificacoes::continuidadeSoNoAuxiliar()
{
    Ambiente amb;
    CONFERE(novaDeclaracao());
    CONFERE(saldo(8, QStringLiteral("01012005"), QStringLiteral("1.1"), 0, "D", 0, 0, 0, "D"));
    CONFERE(saldo(9, QStringLiteral("01012005"), QStringLiteral("A.1"), 0, "D", 0, 0, 100, "D"));
    CONFERE(saldo(9, QStringLiteral("01022005"), QStringLiteral("A.1"), 0, "D", 0, 0, 0, "D"));
    validacao::Estado estado;
    QVERIFY(validacao::fun_validaSaldosPorConta(estado, 2));
    QVERIFY(validacao::fun_validaSaldosPorConta(estado, 1));
    QCOMPARE(situacoes(), (QStringList{QStringLiteral("9 3 54 2 1 1 0"), QStringLiteral("8 3 0 1 1 0 0")}));
    QCOMPARE(statusDe(estado, 9), QStringLiteral("54"));
    QCOMPARE(statusDe(estado, 8), QStringLiteral("90"));
    QVERIFY(estado.erro);
}

// ---- Checks 4 and 5 -------------------------------------------------------

void TstVerificacoes::lancamentosXSaldos_data()
{
    // Entries "month account cents D|C", balance rows "month account debits
    // credits"; expected rows "group D|C month account entries movement
    // difference", the summary codes and the entries file's status.
    QTest::addColumn<QStringList>("lancamentos");
    QTest::addColumn<QStringList>("saldos");
    QTest::addColumn<QStringList>("esperado");
    QTest::addColumn<QStringList>("resumo");
    QTest::addColumn<QString>("status");
    QTest::newRow("confere") << QStringList{"03 1.1 30000 D", "03 1.1 10000 C", "03 1.1 5000 c"}
                             << QStringList{"03 1.1 30000 15000"} << QStringList{} << QStringList{} << "90";
    QTest::newRow("0,50 passa") << QStringList{"03 1.1 30000 D"} << QStringList{"03 1.1 29950 0"} << QStringList{}
                                << QStringList{} << "90";
    QTest::newRow("1,00 é achado") << QStringList{"03 1.1 30000 D"} << QStringList{"03 1.1 29900 0"}
                                   << QStringList{"0 D 03 1.1 3000000 2990000 10000"} << QStringList{"6 4 56"}
                                   << "56";
    QTest::newRow("lançamentos sem saldo") << QStringList{"03 1.1 12000 C"} << QStringList{}
                                           << QStringList{"0 C 03 1.1 1200000 0 1200000"} << QStringList{"6 5 57"}
                                           << "57";
    QTest::newRow("saldo sem lançamentos") << QStringList{} << QStringList{"03 1.1 50000 0"}
                                           << QStringList{"0 D 03 1.1 0 5000000 -5000000"} << QStringList{"6 4 56"}
                                           << "56";
    QTest::newRow("saldo sem lançamentos abaixo de 1,00") << QStringList{} << QStringList{"03 1.1 40 40"}
                                                          << QStringList{} << QStringList{} << "90";
    QTest::newRow("só um indicador lançado")
        << QStringList{"03 1.1 10000 D"} << QStringList{"03 1.1 10000 7000"}
        << QStringList{"0 C 03 1.1 0 700000 -700000"} << QStringList{"6 5 57"} << "57";
    QTest::newRow("ordem fixa e último código")
        << QStringList{"04 1.2 500 C", "03 1.2 100 D", "02 1.3 900 D", "02 1.1 300 C", "02 1.1 200 D"}
        << QStringList{"02 1.1 0 0", "03 1.2 0 0", "05 1.0 100 300"}
        << QStringList{"0 D 02 1.1 20000 0 20000", "0 C 02 1.1 30000 0 30000", "0 D 03 1.2 10000 0 10000",
                       "0 C 04 1.2 50000 0 50000", "0 D 02 1.3 90000 0 90000", "0 D 05 1.0 0 10000 -10000",
                       "0 C 05 1.0 0 30000 -30000"}
        << QStringList{"6 4 56", "6 5 57"} << "57";
    QTest::newRow("brancos finais no código") << QStringList{"03 1.1    30000 D"} << QStringList{"03 1.1 30000 0"}
                                              << QStringList{} << QStringList{} << "90";
}

void TstVerificacoes::lancamentosXSaldos()
{
    QFETCH(QStringList, lancamentos);
    QFETCH(QStringList, saldos);
    QFETCH(QStringList, esperado);
    QFETCH(QStringList, resumo);
    QFETCH(QString, status);
    Ambiente amb;
    CONFERE(novaDeclaracao());
    for (const QString& l : std::as_const(lancamentos)) {
        // "03 1.1    30000 D": the account keeps the blanks before the amount.
        const qsizetype a = l.indexOf(u' ', 3);
        qsizetype v = a;
        while (l.at(v) == u' ')
            ++v;
        const QString conta = l.mid(3, a - 3) + QString(v - a - 1, u' ');
        const QStringList resto = l.mid(v).split(u' ');
        CONFERE(lanc(qPrintable(l.left(2) + QStringLiteral("2005")), qPrintable(conta), resto.at(0).toLongLong(),
                     qPrintable(resto.at(1))));
    }
    for (const QString& s : std::as_const(saldos)) {
        const QStringList p = s.split(u' ');
        CONFERE(saldo(8, QStringLiteral("01") + p.at(0) + QStringLiteral("2005"), p.at(1), 0, "D", p.at(2).toLongLong(),
                      p.at(3).toLongLong(), 0, "D"));
    }
    validacao::Estado estado;
    QVERIFY2(validacao::fun_ValidasaldosXlancamentos(estado), qPrintable(geral().gMsg));
    QCOMPARE(linhas(QStringLiteral("SELECT Quebra, IndDC, Mes, CodConta, TotalLancamentos, TotalCredDeb, Diferenca "
                                   "FROM tbLancamentoXsaldo WHERE Ano = '2005' ORDER BY rowid")),
             esperado);
    QStringList r;
    for (const QString& s : situacoes())
        r << s.left(6);
    QCOMPARE(r, resumo);
    for (const QString& s : situacoes())
        QVERIFY(s.endsWith(QStringLiteral(" 0 0 0 -")));
    QCOMPARE(statusDe(estado, 6), status);
    QCOMPARE(estado.erro, !esperado.isEmpty());
}

void TstVerificacoes::lancamentosXSaldosGruposDePagina()
{
    Ambiente amb;
    CONFERE(novaDeclaracao());
    for (int i = 1; i <= 45; ++i) {
        const QString conta = QStringLiteral("1.%1").arg(i, 3, 10, QLatin1Char('0'));
        CONFERE(lanc("032005", qPrintable(conta), 500, "D"));
        CONFERE(saldo(8, QStringLiteral("01032005"), conta, 0, "D", 0, 0, 0, "D"));
    }
    for (int i = 1; i <= 3; ++i)
        CONFERE(lanc("032005", qPrintable(QStringLiteral("2.%1").arg(i)), 500, "C"));
    validacao::Estado estado;
    QVERIFY2(validacao::fun_ValidasaldosXlancamentos(estado), qPrintable(geral().gMsg));
    QStringList grupos = linhas(QStringLiteral("SELECT Quebra || IndDC FROM tbLancamentoXsaldo ORDER BY rowid"));
    QCOMPARE(grupos.size(), 48);
    QCOMPARE(grupos.mid(0, 40), QStringList(40, QStringLiteral("0D")));
    QCOMPARE(grupos.mid(40, 5), QStringList(5, QStringLiteral("1D")));
    QCOMPARE(grupos.mid(45), QStringList(3, QStringLiteral("0C")));
    QCOMPARE(statusDe(estado, 6), QStringLiteral("57"));
}

QTEST_MAIN(TstVerificacoes)
#include "tst_verificacoes.moc"
