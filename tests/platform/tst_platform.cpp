#include "Ambiente.h"

#include "platform/Banco.h"
#include "platform/Cp1252.h"
#include "platform/Formularios.h"
#include "platform/InstanciaUnica.h"
#include "platform/Moeda.h"
#include "platform/Pastas.h"
#include "platform/ValoresLocale.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTest>

class TstPlatform : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void valoresLocale_data();
    void valoresLocale();
    void dataLonga_data();
    void dataLonga();
    void moedaTexto_data();
    void moedaTexto();
    void moedaEstouro();
    void cp1252IdaEVolta();
    void errosDoBanco();
    void abrirNaoCriaArquivo();
    void modeloDeGradeFalhaNaLeitura();
    void fechaFormulariosMantemOsDoisPrimeiros();
    void instanciaUnica();
    void caminhos();
};

void TstPlatform::valoresLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("milhar");
    QTest::addColumn<QString>("agrupamento");
    QTest::addColumn<QString>("digitos");
    QTest::addColumn<QString>("curta");
    QTest::addColumn<QString>("separador");
    QTest::addColumn<QString>("longa2");
    QTest::newRow("pt_BR") << "pt_BR" << "," << "." << "3;0" << "2" << "DD/MM/YYYY" << "/" << "d'";
    QTest::newRow("en_US") << "en_US" << "." << "," << "3;0" << "2" << "M/D/YY" << "/" << "MM";
    QTest::newRow("C") << "C" << "." << "," << "0;0" << "2" << "D MMM YYYY" << " " << "d ";
}

void TstPlatform::valoresLocale()
{
    QFETCH(QString, locale);
    const ValoresLocale v = lerValoresLocale(QLocale(locale));
    QTEST(v.separadorDecimal, "decimal");
    QTEST(v.separadorMilhar, "milhar");
    QTEST(v.agrupamento, "agrupamento");
    QTEST(v.digitosDecimais, "digitos");
    QTEST(v.dataCurta.toUpper(), "curta");
    QTEST(v.separadorData, "separador");
    QTEST(v.dataLonga.left(2), "longa2");
}

void TstPlatform::dataLonga_data()
{
    QTest::addColumn<QString>("qt");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("pt_BR") << "dddd, d 'de' MMMM 'de' yyyy" << "d' de 'MMMM' de 'yyyy";
    QTest::newRow("sem dia") << "d 'de' MMMM 'de' yyyy" << "d' de 'MMMM' de 'yyyy";
    QTest::newRow("en_US") << "dddd, MMMM d, yyyy" << "MMMM d, yyyy";
}

void TstPlatform::dataLonga()
{
    QFETCH(QString, qt);
    QTEST(dataLongaSemDiaSemana(qt), "esperado");
}

void TstPlatform::moedaTexto_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("valido");
    QTest::addColumn<qint64>("unidades");
    QTest::addColumn<QString>("agrupado");
    QTest::addColumn<QString>("reais");   // as the printed reports show it
    QTest::newRow("simples") << "1234,56" << true << qint64(12345600) << "1.234,56" << "R$ 1.234,56";
    QTest::newRow("grupos") << "-1.234.567,8" << true << qint64(-12345678000) << "-1.234.567,80"
                            << "-R$ 1.234.567,80";
    QTest::newRow("negativo grande") << "-90.000.000,00" << true << qint64(-900000000000) << "-90.000.000,00"
                                     << "-R$ 90.000.000,00";
    QTest::newRow("negativo abaixo de meio centavo") << "-0,0049" << true << qint64(-49) << "0,00" << "R$ 0,00";
    QTest::newRow("inteiro") << "7" << true << qint64(70000) << "7,00" << "R$ 7,00";
    QTest::newRow("zero") << "0,00" << true << qint64(0) << "0,00" << "R$ 0,00";
    QTest::newRow("letra") << "12a" << false << qint64(0) << "" << "";
    QTest::newRow("vazio") << "" << false << qint64(0) << "" << "";
    QTest::newRow("so sinal") << "-" << false << qint64(0) << "" << "";
}

void TstPlatform::moedaTexto()
{
    QFETCH(QString, texto);
    QFETCH(bool, valido);
    const auto m = Moeda::deTexto(texto);
    QCOMPARE(m.has_value(), valido);
    if (valido) {
        QTEST(qint64(m->unidades()), "unidades");
        QTEST(m->textoAgrupado(), "agrupado");
        QTEST(m->textoReais(), "reais");
    }
}

void TstPlatform::moedaEstouro()
{
    QVERIFY(!Moeda::deTexto(QStringLiteral("99999999999999999999")).has_value());
    Moeda a = Moeda::deUnidades(INT64_MAX - 1);
    QVERIFY(!a.somar(Moeda::deUnidades(10)));
    QCOMPARE(a.unidades(), INT64_MAX - 1);
    QCOMPARE(Moeda::deUnidades(12345).textoReais(), QStringLiteral("R$ 1,23"));
    QCOMPARE(Moeda::deUnidades(-5).textoDecimal(), QStringLiteral("0,00"));
    // The most negative value has no positive counterpart: its magnitude is
    // the greatest value, still a difference of 1,00 or more.
    QCOMPARE(Moeda::deUnidades(INT64_MIN).abs(), Moeda::deUnidades(INT64_MAX));
    QCOMPARE(Moeda::deUnidades(INT64_MIN + 1).abs(), Moeda::deUnidades(INT64_MAX));
    QCOMPARE(Moeda::deUnidades(-10000).abs(), Moeda::deUnidades(10000));
    QCOMPARE(Moeda::deUnidades(INT64_MIN).textoReais(), QStringLiteral("-R$ 922.337.203.685.477,58"));
}

void TstPlatform::cp1252IdaEVolta()
{
    QByteArray todos;
    for (int i = 0; i < 256; ++i)
        todos.append(char(i));
    const QString s = cp1252::decodificar(todos);
    QCOMPARE(s.size(), 256);
    QCOMPARE(s.at(0x80), QChar(0x20AC));
    QCOMPARE(s.at(0xE7), QChar(u'ç'));
    QCOMPARE(cp1252::codificar(s), todos);
    QCOMPARE(cp1252::codificar(QStringLiteral("Lançamento €")), QByteArray("Lan\xe7" "amento \x80"));
}

void TstPlatform::errosDoBanco()
{
    Ambiente amb;
    db::Conexao c;
    QVERIFY(c.criar(amb.caminhoDados(QStringLiteral("t.db"))));
    QVERIFY(c.executar(QStringLiteral("CREATE TABLE t (a INTEGER, b TEXT)")));
    QVERIFY(c.executar(QStringLiteral("CREATE UNIQUE INDEX t_chave ON t (a)")));
    QVERIFY(c.executar(QStringLiteral("INSERT INTO t VALUES (?, ?)"), {1, QStringLiteral("it's")}));
    db::Erro e;
    QVERIFY(!c.executar(QStringLiteral("INSERT INTO t VALUES (?, ?)"), {1, QStringLiteral("x")}, &e));
    QCOMPARE(e.numero, db::ErroBanco);
    QVERIFY(!c.executar(QStringLiteral("SELECT * FROM nada"), {}, &e));
    QCOMPARE(e.numero, db::ErroSemTabela);
    QCOMPARE(c.escalar(QStringLiteral("SELECT b FROM t WHERE a = ?"), {1}).toString(), QStringLiteral("it's"));
    {
        db::Transacao t(c);
        QVERIFY(c.executar(QStringLiteral("INSERT INTO t VALUES (2, 'y')")));
    } // not committed: rolled back
    QCOMPARE(c.escalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 1);
}

void TstPlatform::abrirNaoCriaArquivo()
{
    Ambiente amb;
    db::Conexao c;
    db::Erro e;
    const QString faltando = amb.caminhoDados(QStringLiteral("faltando.mdb"));
    QVERIFY(!c.abrir(faltando, &e));
    QCOMPARE(e.numero, db::ErroBanco);
    QVERIFY(!QFile::exists(faltando));
    const QString lixo = amb.escreverArquivo(QStringLiteral("lixo.mdb"), QByteArray(4096, 'x'));
    QVERIFY(!c.abrir(lixo, &e));
    QCOMPARE(e.numero, db::ErroBanco);
}

// A statement that fails on its fourth row (an overflow raised while
// stepping) must not fill a grid with three rows as if they were all.
void TstPlatform::modeloDeGradeFalhaNaLeitura()
{
    Ambiente amb;
    db::Conexao c;
    QVERIFY(c.criar(amb.caminhoDados(QStringLiteral("grade.mdb"))));
    QVERIFY(c.executarScript(QStringLiteral(
        "CREATE TABLE t (x INTEGER); INSERT INTO t VALUES (1), (2), (3), (4), (5);")));
    auto consulta = [&](const QString& sql) {
        QSqlQuery q(c.banco());
        q.prepare(sql);
        return q;
    };
    QSqlQueryModel m;
    db::Erro e;
    QVERIFY(db::preencherModelo(m, consulta(QStringLiteral("SELECT x FROM t WHERE x <> ?")), {3}, {"x"}, &e));
    QCOMPARE(m.rowCount(), 4);
    QVERIFY(!db::preencherModelo(
        m, consulta(QStringLiteral("SELECT CASE WHEN x = ? THEN abs(-9223372036854775807 - 1) ELSE x END FROM t")), {4},
        {"x"}, &e));
    QVERIFY(!e.ok());
}

class JanelaA : public Formulario {
    Q_OBJECT
};
class JanelaB : public Formulario {
    Q_OBJECT
public:
    int descarregada = 0;
    void Form_Unload() override { ++descarregada; }
};

void TstPlatform::fechaFormulariosMantemOsDoisPrimeiros()
{
    Ambiente amb;
    QWidget splash, principal;
    Formularios::adicionar(&splash);
    Formularios::adicionar(&principal);
    Formularios::registrar(QStringLiteral("JanelaA"), [] { return new JanelaA; });
    Formularios::registrar(QStringLiteral("JanelaB"), [] { return new JanelaB; });
    auto* a = Formularios::carregar<JanelaA>();
    QVERIFY(a);
    QCOMPARE(Formularios::carregar<JanelaA>(), a); // one default instance
    auto* b = Formularios::carregar<JanelaB>();
    QCOMPARE(Formularios::quantidade(), 4);
    int descargas = 0;
    QObject::connect(b, &QObject::destroyed, [&] { ++descargas; });
    Formularios::fechaFormularios();
    QCOMPARE(Formularios::carregados(), (QList<QWidget*>{&splash, &principal}));
    QVERIFY(!Formularios::carregar(QStringLiteral("Inexistente")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(descargas, 1);
    Formularios::reiniciar();
}

void TstPlatform::instanciaUnica()
{
    Ambiente amb;
    InstanciaUnica primeira(amb.dados());
    QVERIFY(primeira.adquirir());
    InstanciaUnica segunda(amb.dados());
    QVERIFY(!segunda.adquirir());
    // A lock left by a process that no longer runs is taken over.
    Ambiente outro;
    QFile trava(caminhoEm(outro.dados(), QStringLiteral("tobri.lock")));
    QVERIFY(trava.open(QIODevice::WriteOnly));
    trava.write("999999\ntobri\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    trava.close();
    InstanciaUnica terceira(outro.dados());
    QVERIFY(terceira.adquirir());
}

void TstPlatform::caminhos()
{
    QCOMPARE(caminhoEm(QStringLiteral("/"), QStringLiteral("a.mdb")), QStringLiteral("/a.mdb"));
    QCOMPARE(caminhoEm(QStringLiteral("/x/"), QStringLiteral("a.mdb")), QStringLiteral("/x/a.mdb"));
    QCOMPARE(caminhoEm(QStringLiteral("/x"), QStringLiteral("a.mdb")), QStringLiteral("/x/a.mdb"));
}

QTEST_MAIN(TstPlatform)
#include "tst_platform.moc"
