// What is delivered is, byte for byte, what was imported, tested and
// validated: a generated declaration imported with tobri-bench import, then
// changes that keep every line's length, the counts and the value totals,
// made to the data folder's copies between the import and the validation
// (the reload refuses) and after the validation (the recording refuses).
// The functions run in order on one declaration: each refused change is
// undone before the next.
#include "platform/Pastas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Bin = QStringLiteral(TOBRI_BIN_DIR);
const QStringList Declaracao{QStringLiteral("--in"),     QStringLiteral("86"),         QStringLiteral("--cnpj"),
                             QStringLiteral("11.222.333/0001-81"), QStringLiteral("--inicio"),
                             QStringLiteral("01/01/2025"), QStringLiteral("--fim"), QStringLiteral("31/12/2025")};
const QString Banco = QStringLiteral("TOBRI86112223330001810101202531122025.MDB");
const QString Tronco = QStringLiteral("11222333000181-TOBRI-");
const QString Periodo = QStringLiteral("-2025010120251231");
const QList<int> Tipos{1, 3, 6, 8};

// Record lengths of the generated files, CR LF included.
int tamanhoRegistro(int tipo)
{
    switch (tipo) {
    case 1: return 117;
    case 3: return 88;
    case 6: return 286;
    default: return 108;
    }
}

QString copiaAceita(int tipo)
{
    return Tronco + QStringLiteral("%1").arg(tipo, 2, 10, QLatin1Char('0')) + Periodo
        + (tipo == 6 ? QStringLiteral(".txt") : QStringLiteral(".imp"));
}

QString layDoTipo(int tipo)
{
    return Tronco + QStringLiteral("%1").arg(tipo, 2, 10, QLatin1Char('0')) + Periodo + QStringLiteral(".lay");
}

struct Saida {
    int codigo = -1;
    QString mensagem;
};

Saida executar(const QString& programa, const QStringList& args)
{
    QProcess p;
    p.start(caminhoEm(Bin, programa), args);
    Saida s;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return s;
    s.codigo = p.exitCode();
    const QList<QByteArray> linhas = p.readAllStandardOutput().trimmed().split('\n');
    s.mensagem = QJsonDocument::fromJson(linhas.last()).object().value(QStringLiteral("mensagem")).toString();
    return s;
}

QByteArray ler(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
}

bool gravar(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QMap<QString, QByteArray> conteudo(const QString& pasta)
{
    QMap<QString, QByteArray> r;
    for (const QString& n : QDir(pasta).entryList(QDir::Files | QDir::NoDotAndDotDot))
        r.insert(n, ler(QDir(pasta).filePath(n)));
    return r;
}

// Another byte of the same kind: D and C swap, a digit or letter steps on.
char outro(char c)
{
    if (c == 'D' || c == 'C')
        return c == 'D' ? 'C' : 'D';
    if (c >= '0' && c <= '9')
        return c == '9' ? '0' : static_cast<char>(c + 1);
    if (c == 'z' || c == 'Z')
        return static_cast<char>(c - 1);
    return static_cast<char>(c + 1);
}

// Adds `centavos` (1 or -1) to a zero-filled amount field.
void somarCentavo(char* campo, int largura, int centavos)
{
    for (int i = largura - 1; i >= 0; --i) {
        if (centavos > 0 && campo[i] != '9') {
            ++campo[i];
            return;
        }
        if (centavos < 0 && campo[i] != '0') {
            --campo[i];
            return;
        }
        campo[i] = centavos > 0 ? '0' : '9';
    }
}

// A change of the same length. `onde` is a byte offset in the file; for
// "trocar registros" and "mais e menos um centavo", the record number (from
// 0) of the first of two neighbouring records (the value field of the
// entries starts at offset 92, 17 digits).
QByteArray alterado(QByteArray bytes, int tipo, const QString& dano, int onde, const QByteArray& texto)
{
    const int t = tamanhoRegistro(tipo);
    if (dano == QLatin1String("byte")) {
        bytes[onde] = outro(bytes[onde]);
    } else if (dano == QLatin1String("texto")) {
        bytes.replace(onde, texto.size(), texto);
    } else if (dano == QLatin1String("trocar registros")) {
        const QByteArray a = bytes.mid(onde * t, t);
        bytes.replace(onde * t, t, bytes.mid((onde + 1) * t, t));
        bytes.replace((onde + 1) * t, t, a);
    } else if (dano == QLatin1String("mais e menos um centavo")) {
        somarCentavo(bytes.data() + onde * t + 92, 17, 1);
        somarCentavo(bytes.data() + (onde + 1) * t + 92, 17, -1);
    }
    return bytes;
}

} // namespace

class TstEntregaConferida : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void recargaRecusaCopiaAlterada_data();
    void recargaRecusaCopiaAlterada();
    void gravacaoDoQueFoiImportado();
    void gravacaoRecusaAlteracao_data();
    void gravacaoRecusaAlteracao();

private:
    QStringList comDados(const QString& comando) const
    {
        return QStringList{comando, QStringLiteral("--data"), m_dados} + Declaracao;
    }
    QStringList gravacao() const
    {
        return comDados(QStringLiteral("gravar")) + QStringList{QStringLiteral("--destino"), m_destino};
    }
    // "tipo:situação" of every status row, read on a connection of its own.
    QString situacoes() const;
    bool executarNoBanco(const QString& sql) const;

    QTemporaryDir m_tmp;
    QString m_gerados, m_dados, m_destino;
};

QString TstEntregaConferida::situacoes() const
{
    QStringList r;
    {
        QSqlDatabase b = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("conferencia"));
        b.setDatabaseName(QDir(m_dados).filePath(Banco));
        if (b.open()) {
            QSqlQuery q(QStringLiteral("SELECT Tipo, Situacao FROM tbImportados ORDER BY Tipo"), b);
            while (q.next())
                r << q.value(0).toString() + u':' + q.value(1).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("conferencia"));
    return r.join(u' ');
}

bool TstEntregaConferida::executarNoBanco(const QString& sql) const
{
    bool ok = false;
    {
        QSqlDatabase b = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("conferencia"));
        b.setDatabaseName(QDir(m_dados).filePath(Banco));
        ok = b.open() && QSqlQuery(b).exec(sql);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("conferencia"));
    return ok;
}

void TstEntregaConferida::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    m_gerados = m_tmp.filePath(QStringLiteral("gerados"));
    m_dados = m_tmp.filePath(QStringLiteral("dados"));
    m_destino = m_tmp.filePath(QStringLiteral("entrega"));
    QVERIFY(QDir().mkpath(m_destino));
    QCOMPARE(executar(QStringLiteral("tobri-gerador"),
                      QStringList{QStringLiteral("--tipos"), QStringLiteral("1,3,6,8"), QStringLiteral("--contas"),
                                  QStringLiteral("30"), QStringLiteral("--lancamentos"), QStringLiteral("200"),
                                  QStringLiteral("--saida"), m_gerados, QStringLiteral("--cnpj"),
                                  QStringLiteral("11.222.333/0001-81")}
                          + Declaracao)
                 .codigo,
             0);
    for (int tipo : Tipos) {
        const Saida s = executar(QStringLiteral("tobri-bench"),
                                 comDados(QStringLiteral("import"))
                                     + QStringList{QStringLiteral("--tipo"), QString::number(tipo),
                                                   QDir(m_gerados).filePath(QStringLiteral("tipo%1.txt").arg(tipo))});
        QVERIFY2(s.codigo == 0, qPrintable(s.mensagem));
    }
    QCOMPARE(situacoes(), QStringLiteral("1:90 3:90 6:90 8:90"));
}

// Imported, not validated yet: the entries copy is changed in place.
void TstEntregaConferida::recargaRecusaCopiaAlterada_data()
{
    QTest::addColumn<QString>("dano");
    QTest::addColumn<int>("onde");
    QTest::addColumn<QByteArray>("texto");
    QTest::newRow("indicador D/C invertido") << "byte" << 3 * 286 + 109 << QByteArray();
    QTest::newRow("dois lançamentos trocados") << "trocar registros" << 0 << QByteArray();
    QTest::newRow("um valor +0,01 e outro -0,01") << "mais e menos um centavo" << 10 << QByteArray();
    QTest::newRow("conta trocada por outra do mesmo tamanho") << "texto" << 7 * 286 + 8 << QByteArray("9.99");
    QTest::newRow("data mudada para 31/02") << "texto" << 5 * 286 << QByteArray("31022025");
}

void TstEntregaConferida::recargaRecusaCopiaAlterada()
{
    QFETCH(QString, dano);
    QFETCH(int, onde);
    QFETCH(QByteArray, texto);
    const QString copia = QDir(m_dados).filePath(copiaAceita(6));
    const QByteArray original = ler(copia);
    const QByteArray mudado = alterado(original, 6, dano, onde, texto);
    QCOMPARE(mudado.size(), original.size());
    QVERIFY(mudado != original);
    QVERIFY(gravar(copia, mudado));

    const Saida s = executar(QStringLiteral("tobri-bench"), comDados(QStringLiteral("validate")));
    QVERIFY(gravar(copia, original));

    QCOMPARE(s.codigo, 1);
    QVERIFY2(s.mensagem.contains(QStringLiteral("A cópia %1 não é a que foi importada: foi alterada depois da "
                                                "importação. Importe o arquivo de lançamentos novamente.")
                                     .arg(copiaAceita(6))),
             qPrintable(s.mensagem));
    // Nothing validated.
    QCOMPARE(situacoes(), QStringLiteral("1:90 3:90 6:90 8:90"));
}

// Validated as imported: the delivered data files are the generated files and
// the .fmt the .lay, byte for byte. The statuses go back to validated, the
// set stays in the folder for the refusals below.
void TstEntregaConferida::gravacaoDoQueFoiImportado()
{
    Saida s = executar(QStringLiteral("tobri-bench"), comDados(QStringLiteral("validate")));
    QVERIFY2(s.codigo == 0, qPrintable(s.mensagem));
    QCOMPARE(situacoes(), QStringLiteral("1:0 3:0 6:0 8:0"));
    s = executar(QStringLiteral("tobri-bench"), gravacao());
    QVERIFY2(s.codigo == 0, qPrintable(s.mensagem));
    QCOMPARE(situacoes(), QStringLiteral("1:100 3:100 6:100 8:100"));

    const QMap<int, QString> abreviacao{{1, QStringLiteral("PLCOG")}, {3, QStringLiteral("CENTD")},
                                        {6, QStringLiteral("LANCG")}, {8, QStringLiteral("SALMG")}};
    for (int tipo : Tipos) {
        const QString nome =
            caminhoEm(m_destino, QStringLiteral("11222333000181-TOBRI-86-") + abreviacao[tipo] + Periodo);
        const QString gerado = QDir(m_gerados).filePath(QStringLiteral("tipo%1.txt").arg(tipo));
        QCOMPARE(ler(nome + QStringLiteral(".txt")), ler(gerado));
        QCOMPARE(ler(nome + QStringLiteral(".fmt")), ler(QDir(m_dados).filePath(layDoTipo(tipo))));
    }
    QCOMPARE(QDir(m_destino).entryList(QDir::Files).size(), 9);
    QVERIFY(executarNoBanco(QStringLiteral("UPDATE tbImportados SET Situacao = 0, ArquivoGerado = ' '")));
}

void TstEntregaConferida::gravacaoRecusaAlteracao_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<bool>("lay");   // the change is in the .lay
    QTest::addColumn<QString>("dano");
    QTest::addColumn<int>("onde");
    QTest::addColumn<QByteArray>("texto");
    QTest::newRow("indicador D/C de um lançamento invertido") << 6 << false << "byte" << 3 * 286 + 109 << QByteArray();
    QTest::newRow("conta de um lançamento trocada por outra do mesmo tamanho")
        << 6 << false << "texto" << 7 * 286 + 8 << QByteArray("9.99");
    QTest::newRow("dois lançamentos trocados") << 6 << false << "trocar registros" << 0 << QByteArray();
    QTest::newRow("data de um lançamento mudada para 31/02")
        << 6 << false << "texto" << 5 * 286 << QByteArray("31022025");
    QTest::newRow("dois valores, +0,01 e -0,01") << 6 << false << "mais e menos um centavo" << 10 << QByteArray();
    QTest::newRow("um dígito dos créditos de um saldo") << 8 << false << "byte" << 3 * 108 + 87 << QByteArray();
    QTest::newRow("descrição de uma conta do plano") << 1 << false << "byte" << 65 << QByteArray();
    QTest::newRow("descrição de um centro de custos") << 3 << false << "byte" << 88 + 40 << QByteArray();
    // Line 1 of a .lay is "RECORD_LENGTH nnn SKIP 0" and CR LF: 26 bytes.
    QTest::newRow("nome de um campo no .lay dos lançamentos") << 6 << true << "byte" << 26 + 53 + 2 + 1 << QByteArray();
    QTest::newRow("largura de um campo no .lay do plano") << 1 << true << "byte" << 26 + 31 << QByteArray();
}

void TstEntregaConferida::gravacaoRecusaAlteracao()
{
    QFETCH(int, tipo);
    QFETCH(bool, lay);
    QFETCH(QString, dano);
    QFETCH(int, onde);
    QFETCH(QByteArray, texto);
    const QString nome = lay ? layDoTipo(tipo) : copiaAceita(tipo);
    const QString caminho = QDir(m_dados).filePath(nome);
    const QByteArray original = ler(caminho);
    const QByteArray mudado = alterado(original, tipo, dano, onde, texto);
    QCOMPARE(mudado.size(), original.size());
    QVERIFY(mudado != original);
    const QMap<QString, QByteArray> anterior = conteudo(m_destino);
    QVERIFY(gravar(caminho, mudado));

    const Saida s = executar(QStringLiteral("tobri-bench"), gravacao());
    QVERIFY(gravar(caminho, original));

    QCOMPARE(s.codigo, 1);
    QCOMPARE(s.mensagem, QStringLiteral("O arquivo %1 não é o que foi importado e validado: foi alterado depois da "
                                        "importação. Importe e valide o arquivo novamente.\r\nGravação não efetuada.")
                             .arg(nome));
    QCOMPARE(conteudo(m_destino), anterior);
    QCOMPARE(situacoes(), QStringLiteral("1:0 3:0 6:0 8:0"));
}

QTEST_MAIN(TstEntregaConferida)
#include "tst_entregaConferida.moc"
