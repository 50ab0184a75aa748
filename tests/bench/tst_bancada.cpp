// tobri-bench as a user's script drives it: the source-file pre-check, an
// existing declaration database kept when the register lacks its row, and an
// orderly exit when the set-up fails with the database open.
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Bancada = QStringLiteral(TOBRI_BIN_DIR "/tobri-bench");
const QString Gerador = QStringLiteral(TOBRI_BIN_DIR "/tobri-gerador");
const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QString Banco = QStringLiteral("TOBRI86112223330001810101200531122005.MDB");
const QString Copia1 = QStringLiteral("11222333000181-TOBRI-01-2005010120051231.imp");

struct Saida {
    int codigo = -1;
    bool normal = false;
    QString json;
    QString erros;
    QString status() const
    {
        const auto m = QRegularExpression(QStringLiteral("\"status\": ([0-9a-z]+)")).match(json);
        return m.hasMatch() ? m.captured(1) : QString();
    }
};

} // namespace

class TstBancada : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void recusaOQueAJanelaRecusa_data();
    void recusaOQueAJanelaRecusa();
    void mantemOBancoSemALinhaDoCadastro();
    void bancoVazioEncerraEmOrdem();
    void linhaJsonIndependeDoLocale_data();
    void linhaJsonIndependeDoLocale();

private:
    Saida executar(const QStringList& args);
    Saida importar(int tipo, const QString& arquivo);
    QVariant situacaoNoBanco(int tipo);
    QTemporaryDir m_tmp;
    QString m_fontes, m_dados;
};

void TstBancada::initTestCase()
{
    QVERIFY(QFile::exists(Bancada));
    QVERIFY(m_tmp.isValid());
    m_fontes = m_tmp.filePath(QStringLiteral("fontes"));
    QProcess p;
    p.start(Gerador, {QStringLiteral("--in"), QStringLiteral("86"), QStringLiteral("--cnpj"), Cnpj,
                      QStringLiteral("--inicio"), QStringLiteral("01/01/2005"), QStringLiteral("--fim"),
                      QStringLiteral("31/12/2005"), QStringLiteral("--contas"), QStringLiteral("20"),
                      QStringLiteral("--tipos"), QStringLiteral("1,3"), QStringLiteral("--saida"), m_fontes});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
}

void TstBancada::init()
{
    static int n = 0;
    m_dados = m_tmp.filePath(QStringLiteral("dados%1").arg(++n));
}

Saida TstBancada::importar(int tipo, const QString& arquivo)
{
    return executar({QStringLiteral("import"), QStringLiteral("--data"), m_dados, QStringLiteral("--in"),
                     QStringLiteral("86"), QStringLiteral("--cnpj"), Cnpj, QStringLiteral("--inicio"),
                     QStringLiteral("01/01/2005"), QStringLiteral("--fim"), QStringLiteral("31/12/2005"),
                     QStringLiteral("--tipo"), QString::number(tipo), arquivo});
}

Saida TstBancada::executar(const QStringList& args)
{
    QProcess p;
    p.start(Bancada, args);
    Saida s;
    if (!p.waitForFinished(60000))
        return s;
    s.normal = p.exitStatus() == QProcess::NormalExit;
    s.codigo = p.exitCode();
    s.json = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    s.erros = QString::fromUtf8(p.readAllStandardError());
    return s;
}

QVariant TstBancada::situacaoNoBanco(int tipo)
{
    QVariant r;
    {
        QSqlDatabase b = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("conferencia"));
        b.setDatabaseName(QDir(m_dados).filePath(Banco));
        if (b.open()) {
            QSqlQuery q(b);
            q.prepare(QStringLiteral("SELECT Situacao FROM tbImportados WHERE Tipo = ?"));
            q.addBindValue(tipo);
            if (q.exec() && q.next())
                r = q.value(0);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("conferencia"));
    return r;
}

void TstBancada::recusaOQueAJanelaRecusa_data()
{
    QTest::addColumn<QByteArray>("conteudo");   // empty: /dev/zero; "ausente": no file
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("arquivo vazio") << QByteArray("vazio") << QStringLiteral("Arquivo vazio.");
    QTest::newRow("sem CR LF no fim") << QByteArray("corte") << QStringLiteral("Arquivo inválido");
    QTest::newRow("dispositivo") << QByteArray() << QStringLiteral("Mídia não acessível.");
    QTest::newRow("arquivo inexistente") << QByteArray("ausente") << QStringLiteral("Arquivo solicitado inexistente.");
}

void TstBancada::recusaOQueAJanelaRecusa()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, mensagem);
    const QString plano = QDir(m_fontes).filePath(QStringLiteral("tipo1.txt"));
    const Saida limpo = importar(1, plano);
    QCOMPARE(limpo.codigo, 0);
    QCOMPARE(limpo.status(), QStringLiteral("90"));
    const QString copia = QDir(m_dados).filePath(Copia1);
    QFile f(copia);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray aceito = f.readAll();
    f.close();

    QString fonte = QStringLiteral("/dev/zero");
    if (!conteudo.isEmpty())
        fonte = m_tmp.filePath(QString::fromLatin1(conteudo) + QStringLiteral(".txt"));
    if (!conteudo.isEmpty() && conteudo != "ausente") {
        QFile g(fonte);
        QVERIFY(g.open(QIODevice::WriteOnly));
        if (conteudo == "corte")
            g.write(aceito.left(aceito.size() - 2));
    }
    const Saida s = importar(1, fonte);
    QVERIFY(s.normal);
    QCOMPARE(s.codigo, 1);
    QVERIFY2(s.erros.contains(mensagem), qPrintable(s.erros));
    // Nothing ran: the earlier import stands, and the JSON says so.
    QCOMPARE(s.status(), QStringLiteral("90"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), aceito);
}

void TstBancada::mantemOBancoSemALinhaDoCadastro()
{
    QCOMPARE(importar(1, QDir(m_fontes).filePath(QStringLiteral("tipo1.txt"))).codigo, 0);
    QVERIFY(QFile::remove(QDir(m_dados).filePath(QStringLiteral("tobriv1.mdb"))));
    const Saida s = importar(3, QDir(m_fontes).filePath(QStringLiteral("tipo3.txt")));
    QCOMPARE(s.codigo, 0);
    QCOMPARE(s.status(), QStringLiteral("90"));
    QCOMPARE(situacaoNoBanco(1).toInt(), 90);   // the chart imported before is still there
    QCOMPARE(situacaoNoBanco(3).toInt(), 90);
}

void TstBancada::bancoVazioEncerraEmOrdem()
{
    QVERIFY(QDir().mkpath(m_dados));
    QFile vazio(QDir(m_dados).filePath(Banco));
    QVERIFY(vazio.open(QIODevice::WriteOnly));
    vazio.close();
    const Saida s = importar(1, QDir(m_fontes).filePath(QStringLiteral("tipo1.txt")));
    QVERIFY2(s.normal, "the driver crashed");
    QCOMPARE(s.codigo, 1);
    QVERIFY2(s.erros.contains(QStringLiteral("tobri-bench: cod.erro -2147467259 | msg. Erro: Erro na abertura do banco "
                                             "de dados do Tobri. | file is not a database\n")),
             qPrintable(s.erros));
    QCOMPARE(s.status(), QStringLiteral("null"));
    QCOMPARE(QFileInfo(vazio).size(), qint64(0));   // not replaced by the template behind the user's back
}

// The line a script reads parses as JSON under the users' locale (the suite
// runs under pt_BR.UTF-8, whose decimal separator is a comma).
void TstBancada::linhaJsonIndependeDoLocale_data()
{
    QTest::addColumn<QString>("comando");
    QTest::addColumn<QStringList>("chaves");
    QTest::newRow("import") << QStringLiteral("import")
                            << QStringList{QStringLiteral("lidos"), QStringLiteral("status"),
                                           QStringLiteral("segundos"), QStringLiteral("pico_kb")};
    QTest::newRow("validate") << QStringLiteral("validate")
                              << QStringList{QStringLiteral("mensagem"), QStringLiteral("debitos"),
                                             QStringLiteral("segundos"), QStringLiteral("pico_kb")};
}

void TstBancada::linhaJsonIndependeDoLocale()
{
    QFETCH(QString, comando);
    QFETCH(QStringList, chaves);
    QCOMPARE(importar(1, QDir(m_fontes).filePath(QStringLiteral("tipo1.txt"))).codigo, 0);
    QStringList args{comando,
                     QStringLiteral("--data"),
                     m_dados,
                     QStringLiteral("--in"),
                     QStringLiteral("86"),
                     QStringLiteral("--cnpj"),
                     Cnpj,
                     QStringLiteral("--inicio"),
                     QStringLiteral("01/01/2005"),
                     QStringLiteral("--fim"),
                     QStringLiteral("31/12/2005")};
    if (comando == QLatin1String("import"))
        args << QStringLiteral("--tipo") << QStringLiteral("3") << QDir(m_fontes).filePath(QStringLiteral("tipo3.txt"));
    const Saida s = executar(args);
    QVERIFY2(s.normal, "the driver crashed");
    QJsonParseError erro;
    const QJsonDocument doc = QJsonDocument::fromJson(s.json.toUtf8(), &erro);
    QVERIFY2(erro.error == QJsonParseError::NoError, qPrintable(s.json));
    QVERIFY(doc.isObject());
    for (const QString& c : chaves)
        QVERIFY2(doc.object().contains(c), qPrintable(c));
    QVERIFY(doc.object().value(QStringLiteral("segundos")).isDouble());
}

QTEST_GUILESS_MAIN(TstBancada)
#include "tst_bancada.moc"
