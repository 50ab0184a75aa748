// Journal-entry record tests: the codes of every field test in their order,
// the lookups into the charts and code tables imported before, and the
// auxiliary journal's total row.
#include "Ambiente.h"
#include "Declaracoes.h"

#include "import/motor/Motor.h"
#include "shell/Geral.h"

#include <QSqlQuery>
#include <QTest>

using Registros = QList<Campos>;
Q_DECLARE_METATYPE(Registros)

class TstLancamentos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codigos_data();
    void codigos();
    void totalAuxiliar_data();
    void totalAuxiliar();
    void linhaDoTotalAoFim_data();
    void linhaDoTotalAoFim();
    void diarioGeralNaoGuardaLancamentos_data();
    void diarioGeralNaoGuardaLancamentos();
};

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 12, 31);

// A good entry of the standard layout, by layout position.
QMap<int, QByteArray> registroBom(int in, int tipo)
{
    const QByteArray conta = tipo == 6 ? "1.1.01" : "A.01";
    if (in == 68)
        return {{1, "15062005"}, {2, conta}, {3, valor17("10000")}, {4, "D"}, {6, "000000000001"},
                {10, "Pagamento de fornecedor"}};
    return {{1, "15062005"}, {2, conta}, {5, valor17("10000")}, {6, "D"}, {7, "000000000001"},
            {9, "Pagamento de fornecedor"}};
}

// A declaration with its charts and code tables imported.
void novaDeclaracao(int in)
{
    QVERIFY(criarDeclaracao(qint16(in), Cnpj, Inicio, Fim));
    if (in == 86) {
        CONFERE(tabelaImportada(1, {{"1", "S"}, {"1.1", "S"}, {"1.1.01", "A"}, {"1.1.02", "a"}}));
        CONFERE(tabelaImportada(2, {{"A.01", "A"}}));
        CONFERE(tabelaImportada(3, {{"CC01", ""}}));
    } else {
        CONFERE(tabelaImportada(1, {{"1.1.01", ""}, {"1.1.02", ""}}));
        CONFERE(tabelaImportada(2, {{"A.01", ""}}));
        CONFERE(tabelaImportada(3, {{"CC01", ""}}));
        CONFERE(tabelaImportada(4, {{"DP01", ""}}));
        CONFERE(tabelaImportada(5, {{"H01", ""}, {"  H02", ""}}));
    }
}

// Sets the entries file in hand: the standard layout and a source file of
// good records changed as given.
void preparar(Ambiente& amb, int tipo, const Registros& registros)
{
    CONFERE(prepararArquivo(amb, tipo, registroBom(geral().gIN, tipo), registros, QStringLiteral("lancamentos.txt")));
}

// Values of the entries' staging table (-1: no table; -2 ends the list when
// the read failed, so a failure never looks like "no rows").
QList<qint64> valores(int tipo)
{
    QList<qint64> r;
    const QString t = motor::nomeTabelaTipo(tipo);
    if (!temTabela(t))
        return {-1};
    QSqlQuery q(geral().gConn->banco());
    if (!q.exec(QStringLiteral("SELECT Valor FROM %1").arg(t)))
        return {-2};
    while (q.next())
        r << q.value(0).toLongLong();
    if (!db::fimDasLinhas(q))
        r << -2;
    return r;
}

} // namespace

void TstLancamentos::codigos_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<Campos>("campos");
    QTest::addColumn<QList<int>>("esperado");

    // Instruction 86: 1 date, 2 account, 3 cost centre, 4 counterpart, 5 value, 6 D/C, 9 history.
    QTest::newRow("86 geral bom") << 86 << 6 << Campos{} << QList<int>{};
    QTest::newRow("86 auxiliar bom") << 86 << 7 << Campos{} << QList<int>{};
    QTest::newRow("86 data em branco") << 86 << 6 << Campos{{1, ""}} << QList<int>{26};
    QTest::newRow("86 data zerada") << 86 << 6 << Campos{{1, "00000000"}} << QList<int>{26};
    QTest::newRow("86 data inexistente") << 86 << 6 << Campos{{1, "29022005"}} << QList<int>{27};
    QTest::newRow("86 primeiro dia") << 86 << 6 << Campos{{1, "01012005"}} << QList<int>{};
    QTest::newRow("86 ultimo dia") << 86 << 6 << Campos{{1, "31122005"}} << QList<int>{};
    QTest::newRow("86 dia antes") << 86 << 6 << Campos{{1, "31122004"}} << QList<int>{28};
    QTest::newRow("86 dia depois") << 86 << 7 << Campos{{1, "01012006"}} << QList<int>{28};
    QTest::newRow("86 conta em branco") << 86 << 6 << Campos{{2, ""}} << QList<int>{30};
    QTest::newRow("86 conta com NUL") << 86 << 6 << Campos{{2, comNul("1.1.01")}} << QList<int>{49};
    QTest::newRow("86 conta ausente") << 86 << 6 << Campos{{2, "9.9"}} << QList<int>{31};
    QTest::newRow("86 conta sintetica") << 86 << 6 << Campos{{2, "1.1"}} << QList<int>{32};
    QTest::newRow("86 conta analitica minuscula") << 86 << 6 << Campos{{2, "1.1.02"}} << QList<int>{};
    QTest::newRow("86 auxiliar conta do geral") << 86 << 7 << Campos{{2, "1.1.01"}} << QList<int>{31};
    QTest::newRow("86 auxiliar conta sintetica do geral") << 86 << 7 << Campos{{2, "1.1"}} << QList<int>{31};
    QTest::newRow("86 centro de custo") << 86 << 6 << Campos{{3, "CC01"}} << QList<int>{};
    QTest::newRow("86 centro de custo ausente") << 86 << 6 << Campos{{3, "CC02"}} << QList<int>{41};
    QTest::newRow("86 centro de custo com NUL") << 86 << 6 << Campos{{3, comNul("CC01")}} << QList<int>{49};
    QTest::newRow("86 contrapartida") << 86 << 6 << Campos{{4, "1.1.02"}} << QList<int>{};
    QTest::newRow("86 contrapartida ausente") << 86 << 6 << Campos{{4, "9.9"}} << QList<int>{37};
    QTest::newRow("86 contrapartida sintetica") << 86 << 6 << Campos{{4, "1.1"}} << QList<int>{38};
    QTest::newRow("86 contrapartida com NUL") << 86 << 6 << Campos{{4, comNul("1.1", "02")}} << QList<int>{49};
    QTest::newRow("86 auxiliar contrapartida auxiliar") << 86 << 7 << Campos{{4, "A.01"}} << QList<int>{};
    QTest::newRow("86 auxiliar contrapartida do geral") << 86 << 7 << Campos{{4, "1.1.02"}} << QList<int>{};
    QTest::newRow("86 auxiliar contrapartida sintetica") << 86 << 7 << Campos{{4, "1.1"}} << QList<int>{38};
    QTest::newRow("86 auxiliar contrapartida ausente") << 86 << 7 << Campos{{4, "9.9"}} << QList<int>{37};
    QTest::newRow("86 valor em branco") << 86 << 6 << Campos{{5, ""}} << QList<int>{34};
    QTest::newRow("86 valor zerado") << 86 << 6 << Campos{{5, valor17("0")}} << QList<int>{34};
    QTest::newRow("86 valor com branco") << 86 << 6 << Campos{{5, "00000000000 10000"}} << QList<int>{33};
    QTest::newRow("86 valor com sinal") << 86 << 6 << Campos{{5, "-0000000000010000"}} << QList<int>{33};
    QTest::newRow("86 valor com virgula") << 86 << 7 << Campos{{5, "00000000000100,00"}} << QList<int>{33};
    QTest::newRow("86 valor de um centavo") << 86 << 6 << Campos{{5, valor17("1")}} << QList<int>{};
    QTest::newRow("86 indicador em branco") << 86 << 6 << Campos{{6, ""}} << QList<int>{35};
    QTest::newRow("86 indicador X") << 86 << 6 << Campos{{6, "X"}} << QList<int>{36};
    QTest::newRow("86 indicador d") << 86 << 6 << Campos{{6, "d"}} << QList<int>{};
    QTest::newRow("86 indicador c") << 86 << 7 << Campos{{6, "c"}} << QList<int>{};
    QTest::newRow("86 historico em branco") << 86 << 6 << Campos{{9, ""}} << QList<int>{44};
    QTest::newRow("86 historico com NUL") << 86 << 6 << Campos{{9, comNul("Pagamento", " de")}} << QList<int>{44};
    QTest::newRow("86 CR no historico") << 86 << 6 << Campos{{9, "Paga\rmento"}} << QList<int>{49};
    QTest::newRow("86 LF na conta") << 86 << 6 << Campos{{2, "1.1.01\n"}} << QList<int>{49, 31};
    QTest::newRow("86 tudo errado em ordem")
        << 86 << 6 << Campos{{1, ""}, {2, ""}, {3, "CC02"}, {4, "9.9"}, {5, ""}, {6, ""}, {9, ""}}
        << QList<int>{26, 30, 41, 37, 34, 35, 44};
    QTest::newRow("86 ordem com sintetica")
        << 86 << 6 << Campos{{1, "32012005"}, {2, "1"}, {4, "1"}, {5, "1x"}, {6, "Z"}}
        << QList<int>{27, 32, 38, 33, 36};

    // Instruction 68: 1 date, 2 account, 3 value, 4 D/C, 5 counterpart, 7 cost
    // centre, 8 expense centre, 9 history code, 10 history text.
    QTest::newRow("68 geral bom") << 68 << 6 << Campos{} << QList<int>{};
    QTest::newRow("68 auxiliar bom") << 68 << 7 << Campos{} << QList<int>{};
    QTest::newRow("68 conta fora do plano") << 68 << 6 << Campos{{2, "9.9"}} << QList<int>{};
    QTest::newRow("68 conta em branco") << 68 << 6 << Campos{{2, ""}} << QList<int>{30};
    QTest::newRow("68 conta com NUL") << 68 << 6 << Campos{{2, comNul("1.1.01")}} << QList<int>{49};
    QTest::newRow("68 dia depois") << 68 << 6 << Campos{{1, "01012006"}} << QList<int>{28};
    QTest::newRow("68 valor com letra") << 68 << 6 << Campos{{3, "0000000000001000A"}} << QList<int>{33};
    QTest::newRow("68 valor zerado") << 68 << 7 << Campos{{3, valor17("0")}} << QList<int>{34};
    QTest::newRow("68 indicador c") << 68 << 6 << Campos{{4, "c"}} << QList<int>{};
    QTest::newRow("68 indicador em branco") << 68 << 6 << Campos{{4, ""}} << QList<int>{35};
    QTest::newRow("68 indicador Z") << 68 << 6 << Campos{{4, "Z"}} << QList<int>{36};
    QTest::newRow("68 contrapartida") << 68 << 6 << Campos{{5, "1.1.02"}} << QList<int>{};
    QTest::newRow("68 contrapartida ausente") << 68 << 6 << Campos{{5, "9.9"}} << QList<int>{37};
    QTest::newRow("68 contrapartida com NUL") << 68 << 6 << Campos{{5, comNul("1.1.02")}} << QList<int>{49};
    QTest::newRow("68 auxiliar contrapartida do geral") << 68 << 7 << Campos{{5, "1.1.02"}} << QList<int>{};
    QTest::newRow("68 auxiliar contrapartida ausente") << 68 << 7 << Campos{{5, "9.9"}} << QList<int>{37};
    QTest::newRow("68 centro de custo") << 68 << 6 << Campos{{7, "CC01"}} << QList<int>{};
    QTest::newRow("68 centro de custo ausente") << 68 << 6 << Campos{{7, "CC02"}} << QList<int>{39};
    QTest::newRow("68 centro de custo com NUL") << 68 << 6 << Campos{{7, comNul("CC01")}} << QList<int>{49};
    QTest::newRow("68 centro de despesa") << 68 << 6 << Campos{{8, "DP01"}} << QList<int>{};
    QTest::newRow("68 centro de despesa ausente") << 68 << 6 << Campos{{8, "DP02"}} << QList<int>{40};
    QTest::newRow("68 historico padrao sem texto") << 68 << 6 << Campos{{9, "H01"}, {10, ""}} << QList<int>{};
    // Codes keep their leading blanks on both sides, trailing ones are ignored.
    QTest::newRow("68 historico padrao alinhado à direita") << 68 << 6 << Campos{{9, "  H02"}, {10, ""}} << QList<int>{};
    QTest::newRow("68 historico padrao com brancos no fim") << 68 << 6 << Campos{{9, "H01   "}, {10, ""}} << QList<int>{};
    QTest::newRow("68 historico padrao com brancos à esquerda") << 68 << 6 << Campos{{9, "  H01"}} << QList<int>{42};
    QTest::newRow("68 historico padrao ausente") << 68 << 6 << Campos{{9, "H02"}} << QList<int>{42};
    QTest::newRow("68 sem historico") << 68 << 6 << Campos{{10, ""}} << QList<int>{43};
    QTest::newRow("68 tudo errado em ordem")
        << 68 << 6
        << Campos{{1, "32132005"}, {2, ""}, {3, "12a"}, {4, "Z"}, {5, "9.9"}, {7, "CC02"}, {8, "DP02"}, {9, "H02"}}
        << QList<int>{27, 30, 33, 36, 37, 39, 40, 42};
    QTest::newRow("68 brancos em ordem") << 68 << 7 << Campos{{1, ""}, {3, ""}, {4, ""}, {10, ""}}
                                         << QList<int>{26, 34, 35, 43};
}

void TstLancamentos::codigos()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    QFETCH(Campos, campos);
    QFETCH(QList<int>, esperado);
    Ambiente amb;
    CONFERE(novaDeclaracao(in));
    // A good record around the one under test shows its codes stay its own.
    CONFERE(preparar(amb, tipo, {Campos{}, campos, Campos{}}));
    motor::Painel painel;
    QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Concluida);
    CONFERE(conferirRegistroDoMeio(esperado));
    QCOMPARE(situacao(tipo).toInt(), esperado.isEmpty() ? 90 : 777);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstLancamentos::totalAuxiliar_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<Registros>("registros");
    QTest::addColumn<qint64>("total");   // 1/10 000

    const Registros tres{{{3, valor17("100")}}, {{3, valor17("250")}}, {{3, valor17("25")}}};
    Registros tres86;
    for (const Campos& c : tres)
        tres86 << Campos{{5, c.first().second}};
    QTest::newRow("68 1,00 + 2,50 + 0,25") << 68 << tres << qint64(37500);
    QTest::newRow("86 1,00 + 2,50 + 0,25") << 86 << tres86 << qint64(37500);
    QTest::newRow("86 doze zeros e 12345") << 86 << Registros{{{5, "000000000000" "12345"}}} << qint64(1234500);
}

void TstLancamentos::totalAuxiliar()
{
    QFETCH(int, in);
    QFETCH(Registros, registros);
    QFETCH(qint64, total);
    Ambiente amb;
    CONFERE(novaDeclaracao(in));
    CONFERE(preparar(amb, 7, registros));
    motor::Painel painel;
    QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Concluida);
    QCOMPARE(valores(7), QList<qint64>{total});
    QCOMPARE(geral().gTotalLancamentosAux.unidades(), total);
    QCOMPARE(situacao(7).toInt(), 90);
}

void TstLancamentos::linhaDoTotalAoFim_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<Registros>("registros");
    QTest::addColumn<int>("cancelarEm");
    QTest::addColumn<QList<qint64>>("linhas");   // the total row, when written
    QTest::addColumn<double>("erros");
    QTest::addColumn<QString>("mensagem");

    // Bad records count with the values that converted: 1,00 + 2,00 + 0,50.
    const Registros comErros{{{5, valor17("100")}},
                             {{5, valor17("200")}, {2, ""}},
                             {{5, "12x"}},
                             {{5, valor17("50")}, {6, "X"}}};
    QTest::newRow("com erros") << 86 << comErros << 0 << QList<qint64>{35000} << 3.0 << QString();
    Registros cento;
    for (int i = 0; i < 101; ++i)
        cento << Campos{{2, ""}, {3, valor17("100")}};
    QTest::newRow("parada no centesimo erro") << 68 << cento << 0 << QList<qint64>{1000000} << 100.0 << QString();
    const Registros bons{{}, {}, {}, {}};
    QTest::newRow("cancelado") << 86 << bons << 3 << QList<qint64>{} << 0.0 << QString();
    const Registros estouro{{}, {{5, "99999999999999999"}}, {}};
    QTest::newRow("falha") << 86 << estouro << 0 << QList<qint64>{} << 0.0
                           << QStringLiteral("cod.erro 6\r\nmsg. Erro: Estouro de capacidade(fun_validaLancamentos86)");
}

void TstLancamentos::linhaDoTotalAoFim()
{
    QFETCH(int, in);
    QFETCH(Registros, registros);
    QFETCH(int, cancelarEm);
    QFETCH(QList<qint64>, linhas);
    QFETCH(double, erros);
    QFETCH(QString, mensagem);
    Ambiente amb;
    CONFERE(novaDeclaracao(in));
    CONFERE(preparar(amb, 7, registros));
    PainelCancela painel;
    painel.cancelarEm = cancelarEm;
    bool cancelado = false;
    const motor::FimImportacao fim = motor::executarImportacao(painel, &cancelado);
    const bool parou = cancelarEm || !mensagem.isEmpty();
    QCOMPARE(fim, parou ? motor::FimImportacao::Parada : motor::FimImportacao::Concluida);
    QCOMPARE(cancelado, cancelarEm != 0);
    QCOMPARE(valores(7), linhas);
    QCOMPARE(geral().gRegErros, erros);
    if (erros == 100.0)
        QCOMPARE(geral().gRegLidos, 100.0);
    QCOMPARE(amb.dialogos.textos(), mensagem.isEmpty() ? QStringList{} : QStringList{mensagem});
    QCOMPARE(situacao(7), parou ? QVariant() : QVariant(777));
}

void TstLancamentos::diarioGeralNaoGuardaLancamentos_data()
{
    QTest::addColumn<int>("in");
    QTest::newRow("68") << 68;
    QTest::newRow("86") << 86;
}

void TstLancamentos::diarioGeralNaoGuardaLancamentos()
{
    QFETCH(int, in);
    Ambiente amb;
    CONFERE(novaDeclaracao(in));
    CONFERE(preparar(amb, 6, {Campos{}, Campos{{1, "31122005"}}}));
    motor::Painel painel;
    QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Concluida);
    QCOMPARE(geral().gRegCorretos, 2.0);
    QCOMPARE(valores(6), QList<qint64>{});
    QCOMPARE(geral().gTotalLancamentosAux.unidades(), qint64(0));
    QCOMPARE(situacao(6).toInt(), 90);
}

QTEST_MAIN(TstLancamentos)
#include "tst_lancamentos.moc"
