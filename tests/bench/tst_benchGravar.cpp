// tobri-bench gravar end to end: a generated declaration imported with
// tobri-bench import, refused before validation, recorded after tobri-bench
// validate; two recordings started together into one folder; every command
// refused while the program holds the data folder.
#include "OutraConexao.h"

#include "platform/Banco.h"
#include "platform/InstanciaUnica.h"
#include "platform/Pastas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Bin = QStringLiteral(TOBRI_BIN_DIR);
const QStringList Declaracao{QStringLiteral("--in"),     QStringLiteral("86"),         QStringLiteral("--cnpj"),
                             QStringLiteral("11.222.333/0001-81"), QStringLiteral("--inicio"),
                             QStringLiteral("01/01/2025"), QStringLiteral("--fim"), QStringLiteral("31/12/2025")};

struct Saida {
    int codigo = -1;
    QJsonObject json;
    QString erros;   // stderr
};

Saida terminar(QProcess& p)
{
    Saida s;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return s;
    s.codigo = p.exitCode();
    const QList<QByteArray> linhas = p.readAllStandardOutput().trimmed().split('\n');
    s.json = QJsonDocument::fromJson(linhas.last()).object();
    s.erros = QString::fromUtf8(p.readAllStandardError());
    return s;
}

Saida executar(const QString& programa, const QStringList& args)
{
    QProcess p;
    p.start(caminhoEm(Bin, programa), args);
    return terminar(p);
}

// Generates the types 1, 3, 6 and 8 of the declaration into `gerados` and
// imports them into the data folder `dados`.
void importar(const QString& gerados, const QString& dados, int lancamentos)
{
    QCOMPARE(executar(QStringLiteral("tobri-gerador"),
                      QStringList{QStringLiteral("--tipos"), QStringLiteral("1,3,6,8"), QStringLiteral("--contas"),
                                  QStringLiteral("30"), QStringLiteral("--lancamentos"), QString::number(lancamentos),
                                  QStringLiteral("--saida"), gerados, QStringLiteral("--cnpj"),
                                  QStringLiteral("11.222.333/0001-81")}
                          + Declaracao)
                 .codigo,
             0);
    for (int tipo : {1, 3, 6, 8}) {
        const Saida s = executar(QStringLiteral("tobri-bench"),
                                 QStringList{QStringLiteral("import"), QStringLiteral("--data"), dados} + Declaracao
                                     + QStringList{QStringLiteral("--tipo"), QString::number(tipo),
                                                   QDir(gerados).filePath(QStringLiteral("tipo%1.txt").arg(tipo))});
        QCOMPARE(s.codigo, 0);
        QCOMPARE(s.json.value(QStringLiteral("status")).toInt(), 90);
    }
}

QStringList comandoGravar(const QString& dados, const QString& destino)
{
    return QStringList{QStringLiteral("gravar"), QStringLiteral("--data"), dados} + Declaracao
        + QStringList{QStringLiteral("--destino"), destino};
}

QByteArray ler(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
}

} // namespace

class TstBenchGravar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gravar();
    void gravacoesSimultaneas();
    void bancoAnteriorEmUso();
    void pastaDeDadosEmUso_data();
    void pastaDeDadosEmUso();
};

void TstBenchGravar::gravar()
{
    QTemporaryDir tmp;
    const QString gerados = tmp.filePath(QStringLiteral("gerados"));
    const QString dados = tmp.filePath(QStringLiteral("dados"));
    const QString destino = tmp.filePath(QStringLiteral("entrega"));
    QVERIFY(QDir().mkpath(destino));
    importar(gerados, dados, 200);
    if (QTest::currentTestFailed())
        return;
    const QStringList gravar =
        QStringList{QStringLiteral("gravar"), QStringLiteral("--data"), dados} + Declaracao
        + QStringList{QStringLiteral("--destino"), destino};

    // Imported, not validated: refused, nothing written.
    Saida s = executar(QStringLiteral("tobri-bench"), gravar);
    QCOMPARE(s.codigo, 1);
    QCOMPARE(s.json.value(QStringLiteral("mensagem")).toString(),
             QStringLiteral("A gravação dos arquivos para entrega à ORV somente é possível após a validação do Plano "
                            "de Contas, Lançamentos e Saldos."));
    QVERIFY(s.json.value(QStringLiteral("arquivos")).toArray().isEmpty());
    QVERIFY(QDir(destino).isEmpty());

    // Validated: the entries are reloaded, so their total is the one the
    // recording proves against the bytes it writes.
    const Saida validada = executar(QStringLiteral("tobri-bench"),
                                    QStringList{QStringLiteral("validate"), QStringLiteral("--data"), dados} + Declaracao);
    QCOMPARE(validada.codigo, 0);
    QCOMPARE(validada.json.value(QStringLiteral("erro")).toBool(true), false);
    s = executar(QStringLiteral("tobri-bench"), gravar);
    QVERIFY2(s.codigo == 0, qPrintable(s.json.value(QStringLiteral("mensagem")).toString()));
    QVERIFY(s.json.value(QStringLiteral("mensagem")).isNull());
    QVERIFY(s.json.contains(QStringLiteral("segundos")));
    QVERIFY(s.json.contains(QStringLiteral("pico_kb")));
    QStringList arquivos;
    for (const QJsonValue& nome : s.json.value(QStringLiteral("arquivos")).toArray())
        arquivos << nome.toString();
    QCOMPARE(arquivos.size(), 9);
    QVERIFY(arquivos.contains(QStringLiteral("11222333000181-TOBRI-86-LANCG-2025010120251231.txt")));
    QVERIFY(arquivos.contains(QStringLiteral("11222333000181-TOBRI-86-00-2025010120251231.txt")));
    for (const QString& a : arquivos)
        QVERIFY2(QFile::exists(QDir(destino).filePath(a)), qPrintable(a));
    // The data files are the generated files byte for byte.
    QFile gerado(QDir(gerados).filePath(QStringLiteral("tipo6.txt")));
    QFile entregue(QDir(destino).filePath(QStringLiteral("11222333000181-TOBRI-86-LANCG-2025010120251231.txt")));
    QVERIFY(gerado.open(QIODevice::ReadOnly) && entregue.open(QIODevice::ReadOnly));
    QCOMPARE(entregue.readAll(), gerado.readAll());

    gerado.close();
    entregue.close();

    // The entries copy loses its last two records after the validation: the
    // recording refuses and the folder keeps the set recorded above.
    const QString copia = QDir(dados).filePath(QStringLiteral("11222333000181-TOBRI-06-2025010120251231.txt"));
    QVERIFY(QFile::resize(copia, QFileInfo(copia).size() - 2 * 286));
    const qint64 antes = QFileInfo(entregue.fileName()).size();
    s = executar(QStringLiteral("tobri-bench"), gravar);
    QCOMPARE(s.codigo, 1);
    const QString mensagem = s.json.value(QStringLiteral("mensagem")).toString();
    QVERIFY2(mensagem.contains(QStringLiteral("tem 198 registros e a importação leu 200"))
                 && mensagem.endsWith(QStringLiteral("Gravação não efetuada.")),
             qPrintable(mensagem));
    QCOMPARE(QFileInfo(entregue.fileName()).size(), antes);
    QCOMPARE(QDir(destino).entryList(QDir::Files).size(), 9);

    QCOMPARE(executar(QStringLiteral("tobri-bench"), {QStringLiteral("gravar"), QStringLiteral("--data")}).codigo, 2);
}

// Two data folders holding the same validated declaration, each recorded
// into one folder at the same moment, again and again: one recording holds
// the folder at a time, the other waits for nothing and is refused with a
// message; the folder always ends with the one whole set.
void TstBenchGravar::gravacoesSimultaneas()
{
    QTemporaryDir tmp;
    const QString gerados = tmp.filePath(QStringLiteral("gerados"));
    const QString dados = tmp.filePath(QStringLiteral("dados"));
    const QString copia = tmp.filePath(QStringLiteral("dados2"));
    const QString destino = tmp.filePath(QStringLiteral("entrega"));
    QVERIFY(QDir().mkpath(destino) && QDir().mkpath(copia));
    importar(gerados, dados, 60000);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(executar(QStringLiteral("tobri-bench"),
                      QStringList{QStringLiteral("validate"), QStringLiteral("--data"), dados} + Declaracao)
                 .codigo,
             0);
    for (const QString& n : QDir(dados).entryList(QDir::Files))
        if (n != QLatin1String("tobri.lock"))
            QVERIFY(QFile::copy(QDir(dados).filePath(n), QDir(copia).filePath(n)));
    QCOMPARE(executar(QStringLiteral("tobri-bench"), comandoGravar(dados, destino)).codigo, 0);
    QMap<QString, QByteArray> conjunto;
    for (const QString& n : QDir(destino).entryList(QDir::Files))
        conjunto.insert(n, ler(QDir(destino).filePath(n)));
    QCOMPARE(conjunto.size(), 9);
    QCOMPARE(conjunto.value(QStringLiteral("11222333000181-TOBRI-86-LANCG-2025010120251231.txt")),
             ler(QDir(gerados).filePath(QStringLiteral("tipo6.txt"))));

    int recusadas = 0;
    for (int vez = 0; vez < 6; ++vez) {
        QProcess a;
        QProcess b;
        a.start(caminhoEm(Bin, QStringLiteral("tobri-bench")), comandoGravar(dados, destino));
        b.start(caminhoEm(Bin, QStringLiteral("tobri-bench")), comandoGravar(copia, destino));
        const Saida sa = terminar(a);
        const Saida sb = terminar(b);
        int gravadas = 0;
        for (const Saida& s : {sa, sb}) {
            if (s.codigo == 0) {
                ++gravadas;
                continue;
            }
            QCOMPARE(s.codigo, 1);
            const QString m = s.json.value(QStringLiteral("mensagem")).toString();
            QVERIFY2(m.startsWith(QStringLiteral("Outra gravação está em andamento na pasta")), qPrintable(m));
            ++recusadas;
        }
        QVERIFY(gravadas >= 1);
        QMap<QString, QByteArray> agora;
        for (const QString& n : QDir(destino).entryList(QDir::Files | QDir::Hidden))
            agora.insert(n, ler(QDir(destino).filePath(n)));
        QVERIFY2(agora == conjunto, qPrintable(QStringList(agora.keys()).join(u' ')));
    }
    qInfo("%d de 12 gravações recusadas por encontrarem a pasta ocupada", recusadas);
}

// A declaration database made before the completed-run mark, while another
// program is writing to it: the upgrade on opening cannot write, and the
// refusal gives the database's reason and ends as the recording's do.
void TstBenchGravar::bancoAnteriorEmUso()
{
    QTemporaryDir tmp;
    const QString dados = tmp.filePath(QStringLiteral("dados"));
    const QString destino = tmp.filePath(QStringLiteral("entrega"));
    QVERIFY(QDir().mkpath(dados) && QDir().mkpath(destino));
    const QString banco = QDir(dados).filePath(QStringLiteral("TOBRI86112223330001810101202531122025.MDB"));
    QVERIFY(QFile::copy(caminhoEm(Bin, QStringLiteral("TOBRI.MDB")), banco));
    {
        db::Conexao c;
        QVERIFY(c.abrir(banco) && c.executar(QStringLiteral("DROP TABLE tbValidacaoConcluida")));
    }
    OutraConexao outra(banco, OutraConexao::Trava::Escrita);
    QVERIFY(outra.ativa());
    const Saida s = executar(QStringLiteral("tobri-bench"), comandoGravar(dados, destino));
    QCOMPARE(s.codigo, 1);
    QCOMPARE(s.json.value(QStringLiteral("mensagem")).toString(),
             QStringLiteral("cod.erro 70\r\nmsg. Erro: Erro na abertura do banco de dados do Tobri.\r\n"
                            "database is locked\r\nGravação não efetuada."));
    QVERIFY(s.json.value(QStringLiteral("arquivos")).toArray().isEmpty());
    QVERIFY(QDir(destino).isEmpty());
}

void TstBenchGravar::pastaDeDadosEmUso_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("import") << QStringList{QStringLiteral("import"), QStringLiteral("--tipo"), QStringLiteral("1"),
                                          QStringLiteral(TOBRI_BIN_DIR "/TOBRI.MDB")};
    QTest::newRow("validate") << QStringList{QStringLiteral("validate")};
    QTest::newRow("gravar") << QStringList{QStringLiteral("gravar"), QStringLiteral("--destino"),
                                          QStringLiteral(TOBRI_BIN_DIR)};
}

// While the program holds a data folder, a command on it is refused and
// writes nothing there.
void TstBenchGravar::pastaDeDadosEmUso()
{
    QFETCH(QStringList, args);
    QTemporaryDir tmp;
    InstanciaUnica programa(tmp.path());
    QVERIFY(programa.adquirir());
    const QStringList antes = QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const Saida s = executar(QStringLiteral("tobri-bench"),
                             QStringList{args.first(), QStringLiteral("--data"), tmp.path()} + Declaracao + args.mid(1));
    QCOMPARE(s.codigo, 1);
    QVERIFY2(s.erros.contains(QStringLiteral("Já existe uma sessão aberta para o aplicativo.")), qPrintable(s.erros));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), antes);
}

QTEST_MAIN(TstBenchGravar)
#include "tst_benchGravar.moc"
