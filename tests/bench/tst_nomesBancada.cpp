// tobri-bench given names that are not UTF-8 (the bytes a script passes):
// an input file, a data folder, a destination folder, or a relative name
// under a current folder whose own name is not. Each is imported or refused
// with a message naming it; no folder is made other than the one named.
#include "Nativos.h"

#include "platform/NomesNativos.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString Bancada = QStringLiteral(TOBRI_BIN_DIR "/tobri-bench");
const QString Gerador = QStringLiteral(TOBRI_BIN_DIR "/tobri-gerador");
const QString Cnpj = QStringLiteral("11.222.333/0001-81");

// The bytes as a printf format (octal escapes), so that sh passes them on
// as they are: QProcess can only pass UTF-8.
QString formato(const QByteArray& nativo)
{
    QString r;
    for (const char c : nativo) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 || c == '\\' || c == '%' || c == '\'')
            r += QStringLiteral("\\%1").arg(b, 3, 8, QLatin1Char('0'));
        else
            r += QChar(b);
    }
    return r;
}

struct Saida {
    int codigo = -1;
    QString erros;
};

} // namespace

class TstNomesBancada : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void nomes_data();
    void nomes();
    void programaEmPastaIlegivel();

private:
    QTemporaryDir m_tmp;
    QByteArray m_plano;
};

void TstNomesBancada::initTestCase()
{
    QVERIFY(QFile::exists(Bancada));
    QVERIFY(m_tmp.isValid());
    const QString fontes = m_tmp.filePath(QStringLiteral("fontes"));
    QProcess p;
    p.start(Gerador, {QStringLiteral("--in"), QStringLiteral("86"), QStringLiteral("--cnpj"), Cnpj,
                      QStringLiteral("--inicio"), QStringLiteral("01/01/2005"), QStringLiteral("--fim"),
                      QStringLiteral("31/12/2005"), QStringLiteral("--contas"), QStringLiteral("20"),
                      QStringLiteral("--tipos"), QStringLiteral("1"), QStringLiteral("--saida"), fontes});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QFile f(QDir(fontes).filePath(QStringLiteral("tipo1.txt")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    m_plano = f.readAll();
    QVERIFY(!m_plano.isEmpty());
}

void TstNomesBancada::nomes_data()
{
    // Names are relative to the row's sandbox; the command runs in `atual`.
    QTest::addColumn<QByteArray>("comando");   // import or gravar
    QTest::addColumn<QByteArray>("atual");     // made beforehand
    QTest::addColumn<QByteArray>("arquivo");   // input file, made beforehand
    QTest::addColumn<QByteArray>("dados");     // --data
    QTest::addColumn<bool>("dadosExiste");     // made beforehand
    QTest::addColumn<QByteArray>("destino");   // --destino, made beforehand
    QTest::addColumn<bool>("absolutos");       // names passed as absolute paths
    QTest::addColumn<QByteArray>("recusado");  // the name the refusal names; empty: imported

    QTest::newRow("arquivo em Latin-1") << QByteArray("import") << QByteArray(".") << QByteArray("Lan\xe7""amentos.txt")
                                        << QByteArray("dados") << false << QByteArray() << true
                                        << QByteArray("Lan\xe7""amentos.txt");
    QTest::newRow("arquivo em CP850") << QByteArray("import") << QByteArray(".") << QByteArray("Lan\x87""amentos.txt")
                                      << QByteArray("dados") << false << QByteArray() << true
                                      << QByteArray("Lan\x87""amentos.txt");
    QTest::newRow("arquivo em UTF-8") << QByteArray("import") << QByteArray(".") << QByteArray("Lan\xc3\xa7""amentos.txt")
                                      << QByteArray("dados") << false << QByteArray() << true << QByteArray();
    QTest::newRow("dados em Latin-1") << QByteArray("import") << QByteArray(".") << QByteArray("plano.txt")
                                      << QByteArray("Contabilidade Jos\xe9") << false << QByteArray() << true
                                      << QByteArray("Contabilidade Jos\xe9");
    QTest::newRow("dados em Latin-1, já existente")
        << QByteArray("import") << QByteArray(".") << QByteArray("plano.txt") << QByteArray("Contabilidade Jos\xe9")
        << true << QByteArray() << true << QByteArray("Contabilidade Jos\xe9");
    QTest::newRow("dados em UTF-8") << QByteArray("import") << QByteArray(".") << QByteArray("plano.txt")
                                    << QByteArray("Contabilidade Jos\xc3\xa9") << false << QByteArray() << true
                                    << QByteArray();
    QTest::newRow("destino em Latin-1") << QByteArray("gravar") << QByteArray(".") << QByteArray()
                                        << QByteArray("dados") << false << QByteArray("Entrega \xc0 ORV") << true
                                        << QByteArray("Entrega \xc0 ORV");
    QTest::newRow("relativos sob pasta atual em Latin-1")
        << QByteArray("import") << QByteArray("In\xed""cio") << QByteArray("In\xed""cio/plano.txt") << QByteArray("dados")
        << false << QByteArray() << false << QByteArray("In\xed""cio");
    QTest::newRow("absolutos sob pasta atual em Latin-1")
        << QByteArray("import") << QByteArray("In\xed""cio") << QByteArray("plano.txt") << QByteArray("dados") << false
        << QByteArray() << true << QByteArray();
}

void TstNomesBancada::nomes()
{
    QFETCH(QByteArray, comando);
    QFETCH(QByteArray, atual);
    QFETCH(QByteArray, arquivo);
    QFETCH(QByteArray, dados);
    QFETCH(bool, dadosExiste);
    QFETCH(QByteArray, destino);
    QFETCH(bool, absolutos);
    QFETCH(QByteArray, recusado);

    QTemporaryDir caixa;
    const QByteArray raiz = QFile::encodeName(caixa.path());
    EsvaziaNativo limpeza(raiz);
    if (atual != ".")
        criarPastaNativa(raiz, atual);
    if (!arquivo.isEmpty())
        escreverArquivoNativo(raiz, arquivo, m_plano);
    if (dadosExiste)
        criarPastaNativa(raiz, dados);
    if (!destino.isEmpty())
        criarPastaNativa(raiz, destino);
    const QStringList antes = arvoreNativa(raiz);

    // Relative names are given from the current folder.
    const QByteArray base = atual == "." ? QByteArray() : atual + '/';
    auto nome = [&](const QByteArray& n) {
        if (absolutos)
            return raiz + '/' + n;
        return n.startsWith(base) ? n.mid(base.size()) : QByteArray("../") + n;
    };
    // sh gives each name its bytes back with printf (QProcess passes UTF-8 only).
    auto nativo = [](const QByteArray& n) { return QStringLiteral("\"$(printf '%1')\"").arg(formato(n)); };
    QStringList partes{QString::fromLatin1(comando), QStringLiteral("--data"), nativo(nome(dados)),
                       QStringLiteral("--in"), QStringLiteral("86"), QStringLiteral("--cnpj"), Cnpj,
                       QStringLiteral("--inicio"), QStringLiteral("01/01/2005"), QStringLiteral("--fim"),
                       QStringLiteral("31/12/2005")};
    if (comando == "import")
        partes << QStringLiteral("--tipo") << QStringLiteral("1") << nativo(nome(arquivo));
    else
        partes << QStringLiteral("--destino") << nativo(nome(destino));
    const QString script = QStringLiteral("cd %1 || exit 9; exec '%2' ").arg(nativo(raiz + '/' + atual), Bancada)
                           + partes.join(u' ');
    const QStringList args{QStringLiteral("-c"), script};

    QProcess p;
    p.start(QStringLiteral("/bin/sh"), args);
    QVERIFY(p.waitForFinished(120000));
    Saida s;
    s.codigo = p.exitCode();
    s.erros = QString::fromUtf8(p.readAllStandardError());

    const QStringList depois = arvoreNativa(raiz);
    QStringList novas;
    for (const QString& e : depois)
        if (!antes.contains(e))
            novas << e;
    if (!recusado.isEmpty()) {
        QVERIFY2(s.codigo == 1, qPrintable(s.erros));
        const nomes::Tipo tipo =
            recusado == arquivo ? nomes::Tipo::Arquivo : nomes::Tipo::Pasta;
        const QString texto = nomes::textoRecusa(tipo, raiz + '/' + recusado);
        QVERIFY2(s.erros.contains(QStringLiteral("tobri-bench: ") + texto), qPrintable(s.erros));
        QCOMPARE(novas, QStringList());
    } else {
        QVERIFY2(s.codigo == 0, qPrintable(s.erros));
        // Everything new lies in the data folder named.
        const QString pastaDados = mostrarNativo(dados) + u'/';
        QVERIFY(!novas.isEmpty());
        for (const QString& e : novas)
            QVERIFY2(e.startsWith(pastaDados), qPrintable(e));
        QVERIFY(depois.contains(pastaDados + QStringLiteral("TOBRI86112223330001810101200531122005.MDB")));
    }
}

// Run from a folder whose name cannot be used, the driver refuses before it
// makes the data folder it was given.
void TstNomesBancada::programaEmPastaIlegivel()
{
    QTemporaryDir caixa;
    const QByteArray raiz = QFile::encodeName(caixa.path());
    EsvaziaNativo limpeza(raiz);
    const QByteArray programa = criarPastaNativa(raiz, "Programas\xe7");
    QFile f(Bancada);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray exe = escreverArquivoNativo(programa, "tobri-bench", f.readAll());
    QVERIFY(::chmod(exe.constData(), 0755) == 0);
    const QStringList antes = arvoreNativa(raiz);

    QProcess p;
    p.start(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("exec \"$(printf '%1')\" import --data '%2' --in 86 --cnpj %3 --inicio 01/01/2005 "
                            "--fim 31/12/2005 --tipo 1 /dev/null")
                 .arg(formato(exe), caixa.filePath(QStringLiteral("dados")), Cnpj)});
    QVERIFY(p.waitForFinished(60000));
    const QString erros = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitCode(), 1);
    QVERIFY2(erros.contains(QStringLiteral("tobri-bench: ") + nomes::textoRecusa(nomes::Tipo::Pasta, programa)),
             qPrintable(erros));
    QCOMPARE(arvoreNativa(raiz), antes);
}

QTEST_MAIN(TstNomesBancada)
#include "tst_nomesBancada.moc"
