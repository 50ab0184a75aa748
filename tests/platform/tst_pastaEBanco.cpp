// The folder lock that keeps two recordings apart, and the database check
// that tells a damaged database from one that could not be checked.
#include "platform/Banco.h"
#include "platform/TravaPasta.h"
#include "platform/VerificacaoBanco.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using Resultado = db::VerificacaoRapida::Resultado;
Q_DECLARE_METATYPE(Resultado)

class TstPastaEBanco : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void travaExclusiva();
    void verificacao_data();
    void verificacao();
};

void TstPastaEBanco::travaExclusiva()
{
    QTemporaryDir tmp;
    const QString pasta = tmp.filePath(QStringLiteral("entrega"));
    QVERIFY(QDir().mkpath(pasta));
    {
        const TravaPasta primeira(pasta);
        QVERIFY(primeira.estado() == TravaPasta::Estado::Obtida);
        const TravaPasta segunda(pasta);
        QVERIFY(segunda.estado() == TravaPasta::Estado::Ocupada);
        QVERIFY(!segunda.motivo().isEmpty());
        // Nothing is written into the folder.
        QVERIFY(QDir(pasta).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    }
    QVERIFY(TravaPasta(pasta).estado() == TravaPasta::Estado::Obtida);
    const TravaPasta ausente(tmp.filePath(QStringLiteral("nao-existe")));
    QVERIFY(ausente.estado() == TravaPasta::Estado::Falhou);
    QVERIFY(!ausente.motivo().isEmpty());
}

void TstPastaEBanco::verificacao_data()
{
    QTest::addColumn<QString>("estado");
    QTest::addColumn<Resultado>("esperado");
    QTest::addColumn<QString>("texto");
    QTest::newRow("íntegro") << "integro" << Resultado::Integro << "";
    QTest::newRow("índice danificado") << "indice" << Resultado::Danificado << "";
    QTest::newRow("não é um banco") << "texto" << Resultado::Danificado << "not a database";
    QTest::newRow("ausente") << "ausente" << Resultado::NaoVerificado << "unable to open";
    QTest::newRow("ocupado por outra conexão") << "ocupado" << Resultado::NaoVerificado << "locked";
    // Interrupted before its statement could start, on a database whose
    // whole check takes far longer than that.
    QTest::newRow("interrompida ao começar") << "interrompida" << Resultado::NaoVerificado << "interrupted";
}

void TstPastaEBanco::verificacao()
{
    QFETCH(QString, estado);
    QFETCH(Resultado, esperado);
    QFETCH(QString, texto);
    QTemporaryDir tmp;
    const QString banco = tmp.filePath(QStringLiteral("banco.mdb"));
    db::Conexao c;
    if (estado == QLatin1String("texto")) {
        QFile f(banco);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    } else if (estado != QLatin1String("ausente")) {
        QVERIFY(c.criar(banco));
        QVERIFY(c.executar(QStringLiteral("CREATE TABLE Dano (x TEXT)")));
        QVERIFY(c.executar(QStringLiteral("CREATE INDEX Dano_x ON Dano (x)")));
        QVERIFY(c.executar(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                                          "500) INSERT INTO Dano (x) SELECT printf('%040d', i) FROM n")));
        if (estado == QLatin1String("indice")) {
            const qint64 raiz =
                c.escalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'Dano_x'")).toLongLong();
            const qint64 pagina = c.escalar(QStringLiteral("PRAGMA page_size")).toLongLong();
            c.fechar();
            QFile f(banco);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.seek((raiz - 1) * pagina));
            QCOMPARE(f.write(QByteArray(16, '\x7f')), qint64(16));
        } else if (estado == QLatin1String("ocupado")) {
            QVERIFY(c.executar(QStringLiteral("BEGIN EXCLUSIVE")));
        } else if (estado == QLatin1String("interrompida")) {
            QVERIFY(c.executar(QStringLiteral("CREATE TABLE Volume (x TEXT, y TEXT)")));
            QVERIFY(c.executar(QStringLiteral("CREATE INDEX Volume_x ON Volume (x)")));
            QVERIFY(c.executar(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                                              "200000) INSERT INTO Volume SELECT printf('%040d', i), "
                                              "hex(randomblob(60)) FROM n")));
            c.fechar();
            QVERIFY(QFileInfo(banco).size() > (qint64(40) << 20));
        }
    }
    QString obtido;
    db::VerificacaoRapida v(banco);
    if (estado == QLatin1String("interrompida"))
        v.interromper();
    QCOMPARE(v.resultado(&obtido), esperado);
    QVERIFY2(obtido.contains(texto), qPrintable(obtido));
    if (esperado != Resultado::Integro)
        QVERIFY(!obtido.isEmpty());
    // The check reads only: the file is never created.
    QCOMPARE(QFile::exists(banco), estado != QLatin1String("ausente"));
}

QTEST_GUILESS_MAIN(TstPastaEBanco)
#include "tst_pastaEBanco.moc"
