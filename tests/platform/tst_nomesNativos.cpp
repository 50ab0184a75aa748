// Names that are not UTF-8: how one is judged and shown, how a folder's
// entries are listed, and the data folder the program starts with.
#include "Conferir.h"
#include "Nativos.h"

#include "platform/NomesNativos.h"
#include "platform/Pastas.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <optional>

#include <unistd.h>

namespace {

// Sets or unsets an environment variable for its lifetime.
class Variavel {
public:
    Variavel(const char* nome, const std::optional<QByteArray>& valor)
        : m_nome(nome)
    {
        if (qEnvironmentVariableIsSet(nome))
            m_antes = qgetenv(nome);
        if (valor)
            qputenv(nome, *valor);
        else
            qunsetenv(nome);
    }
    ~Variavel()
    {
        if (m_antes)
            qputenv(m_nome, *m_antes);
        else
            qunsetenv(m_nome);
    }
    Variavel(const Variavel&) = delete;
    Variavel& operator=(const Variavel&) = delete;

private:
    const char* m_nome;
    std::optional<QByteArray> m_antes;
};

} // namespace

class TstNomesNativos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void julgaEExibe_data();
    void julgaEExibe();
    void listaComOsBytes();
    void pastaDeDados_data();
    void pastaDeDados();
};

void TstNomesNativos::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("tobri"));
}

void TstNomesNativos::julgaEExibe_data()
{
    QTest::addColumn<QByteArray>("nativo");
    QTest::addColumn<bool>("representavel");
    QTest::addColumn<QString>("exibicao");
    QTest::newRow("ASCII") << QByteArray("Plano.txt") << true << QStringLiteral("Plano.txt");
    QTest::newRow("UTF-8") << QByteArray("Lan\xc3\xa7""amentos.txt") << true << QStringLiteral("Lançamentos.txt");
    QTest::newRow("UTF-8 de 4 bytes") << QByteArray("a\xf0\x9f\x98\x80") << true << QStringLiteral("a\U0001F600");
    QTest::newRow("U+FFFD gravado") << QByteArray("a\xef\xbf\xbd") << true << QStringLiteral("a\uFFFD");
    QTest::newRow("Latin-1") << QByteArray("Lan\xe7""amentos.txt") << false << QStringLiteral("Lançamentos.txt");
    QTest::newRow("CP850") << QByteArray("Lan\x87""amentos.txt") << false << QStringLiteral("Lan‡amentos.txt");
    QTest::newRow("Latin-1 no fim") << QByteArray("Balan\xe7") << false << QStringLiteral("Balanç");
    QTest::newRow("UTF-8 e Latin-1") << QByteArray("S\xc3\xa3o Jo\xe3o") << false << QStringLiteral("São João");
    QTest::newRow("continuação solta") << QByteArray("a\x80") << false << QStringLiteral("a€");
    QTest::newRow("byte sem caractere") << QByteArray("a\x81") << false << QStringLiteral("a\uFFFD");
    QTest::newRow("forma longa") << QByteArray("a\xc0\xaf") << false << QStringLiteral("aÀ¯");
    QTest::newRow("surrogate") << QByteArray("a\xed\xa0\x80") << false << QStringLiteral("aí\u00a0€");
    QTest::newRow("acima de U+10FFFF") << QByteArray("a\xf4\x90\x80\x80") << false << QStringLiteral("aô\uFFFD€€");
}

void TstNomesNativos::julgaEExibe()
{
    QFETCH(QByteArray, nativo);
    QFETCH(bool, representavel);
    QFETCH(QString, exibicao);
    QCOMPARE(nomes::representavel(nativo), representavel);
    QCOMPARE(nomes::exibicao(nativo), exibicao);
    const QString recusa = nomes::textoRecusa(nomes::Tipo::Arquivo, nativo);
    QVERIFY2(recusa.startsWith(QStringLiteral("O nome do arquivo \"") + exibicao + u'"'), qPrintable(recusa));
    QVERIFY(recusa.contains(QStringLiteral("UTF-8")));
    QVERIFY(nomes::textoRecusa(nomes::Tipo::Pasta, nativo).startsWith(QStringLiteral("O nome da pasta \"")));
}

// Every entry is listed by its bytes: usable ones with their path, the others
// with their refusal and no path; hidden entries are left out.
void TstNomesNativos::listaComOsBytes()
{
    QTemporaryDir tmp;
    const QByteArray raiz = QFile::encodeName(tmp.path());
    EsvaziaNativo limpeza(raiz);
    escreverArquivoNativo(raiz, "b.txt", "x");
    escreverArquivoNativo(raiz, "A.txt", "x");
    escreverArquivoNativo(raiz, "Lan\xe7""amentos.txt", "x");
    escreverArquivoNativo(raiz, "Lan\xc3\xa7""amentos.txt", "x");
    escreverArquivoNativo(raiz, ".oculto", "x");
    criarPastaNativa(raiz, "Cont\xe1""bil");
    criarPastaNativa(raiz, "contas");
    criarPastaNativa(raiz, ".oculta");
    QVERIFY(QFile::link(tmp.filePath(QStringLiteral("contas")), tmp.filePath(QStringLiteral("atalho"))));

    struct Esperada {
        QString exibicao;
        bool usavel;
    };
    auto conferir = [&](nomes::Filtro filtro, const QList<Esperada>& esperadas, nomes::Tipo tipo) {
        const QList<nomes::Entrada> lista = nomes::listar(tmp.path(), filtro);
        QStringList obtidas, queria;
        for (const nomes::Entrada& e : lista)
            obtidas << e.exibicao;
        for (const Esperada& e : esperadas)
            queria << e.exibicao;
        QCOMPARE(obtidas, queria);
        for (int i = 0; i < lista.size(); ++i) {
            const nomes::Entrada& e = lista[i];
            if (esperadas[i].usavel) {
                QCOMPARE(e.caminho, tmp.filePath(e.exibicao));
                QVERIFY(e.recusa.isEmpty());
            } else {
                QVERIFY(e.caminho.isEmpty());
                QCOMPARE(e.recusa, nomes::textoRecusa(tipo, raiz + '/' + e.nativo));
                QVERIFY(e.recusa.contains(tmp.path() + u'/' + e.exibicao));
            }
        }
    };
    CONFERE(conferir(nomes::Filtro::Arquivos,
                     {{QStringLiteral("A.txt"), true},
                      {QStringLiteral("b.txt"), true},
                      {QStringLiteral("Lançamentos.txt"), true},
                      {QStringLiteral("Lançamentos.txt"), false}},
                     nomes::Tipo::Arquivo));
    CONFERE(conferir(nomes::Filtro::Pastas,
                     {{QStringLiteral("atalho"), true}, {QStringLiteral("contas"), true},
                      {QStringLiteral("Contábil"), false}},
                     nomes::Tipo::Pasta));
    QVERIFY(nomes::listar(tmp.filePath(QStringLiteral("ausente")), nomes::Filtro::Arquivos).isEmpty());
}

// The data folder comes from XDG_DATA_HOME when it is an absolute path,
// else from HOME: a name there that is not UTF-8 is refused with a message
// naming it, and nothing is created. A relative XDG_DATA_HOME is ignored,
// whatever the current folder.
void TstNomesNativos::pastaDeDados_data()
{
    QTest::addColumn<QByteArray>("home");          // under the sandbox
    QTest::addColumn<QByteArray>("xdg");           // under the sandbox; empty: unset
    QTest::addColumn<bool>("relativo");            // XDG_DATA_HOME as given, from the sandbox as current folder
    QTest::addColumn<QString>("recusa");           // name in the refusal; empty: accepted
    QTest::addColumn<QStringList>("criadas");      // what is created beside the folders made here
    const QStringList emCasa{QStringLiteral("jose/.local/"), QStringLiteral("jose/.local/share/"),
                             QStringLiteral("jose/.local/share/tobri/")};
    QTest::newRow("HOME em Latin-1") << QByteArray("jos\xe9") << QByteArray() << false << QStringLiteral("/josé\"")
                                     << QStringList();
    QTest::newRow("HOME em CP850") << QByteArray("Jo\x84o") << QByteArray() << false << QStringLiteral("/Jo„o\"")
                                   << QStringList();
    QTest::newRow("XDG_DATA_HOME em Latin-1") << QByteArray("jose") << QByteArray("dados\xe7") << false
                                              << QStringLiteral("/dadosç\"") << QStringList();
    QTest::newRow("HOME em Latin-1, XDG_DATA_HOME em UTF-8")
        << QByteArray("jos\xe9") << QByteArray("dados\xc3\xa7") << false << QString()
        << QStringList{QStringLiteral("dados\\xc3\\xa7/tobri/")};
    QTest::newRow("HOME em UTF-8") << QByteArray("jos\xc3\xa9") << QByteArray() << false << QString()
                                   << QStringList{QStringLiteral("jos\\xc3\\xa9/.local/"),
                                                  QStringLiteral("jos\\xc3\\xa9/.local/share/"),
                                                  QStringLiteral("jos\\xc3\\xa9/.local/share/tobri/")};
    QTest::newRow("XDG_DATA_HOME relativo") << QByteArray("jose") << QByteArray("dados") << true << QString()
                                            << emCasa;
    QTest::newRow("XDG_DATA_HOME relativo em Latin-1")
        << QByteArray("jose") << QByteArray("dados\xe7") << true << QString() << emCasa;
    QTest::newRow("HOME em Latin-1, XDG_DATA_HOME relativo")
        << QByteArray("jos\xe9") << QByteArray("dados") << true << QStringLiteral("/josé\"") << QStringList();
}

void TstNomesNativos::pastaDeDados()
{
    QFETCH(QByteArray, home);
    QFETCH(QByteArray, xdg);
    QFETCH(bool, relativo);
    QFETCH(QString, recusa);
    QFETCH(QStringList, criadas);
    QTemporaryDir tmp;
    const QByteArray raiz = QFile::encodeName(tmp.path());
    EsvaziaNativo limpeza(raiz);
    const QByteArray casa = criarPastaNativa(raiz, home);
    std::optional<QByteArray> dadosXdg;
    if (relativo)
        dadosXdg = xdg;
    else if (!xdg.isEmpty())
        dadosXdg = criarPastaNativa(raiz, xdg);
    const QStringList antes = arvoreNativa(raiz);
    Variavel varHome("HOME", casa);
    Variavel varXdg("XDG_DATA_HOME", dadosXdg);
    PastaAtual atual(raiz);
    QVERIFY(atual.ok());

    Pastas p;
    QString texto;
    const bool aceita = pastasPadrao(p, texto);
    QCOMPARE(aceita, recusa.isEmpty());
    if (!aceita) {
        QVERIFY2(texto.startsWith(QStringLiteral("O nome da pasta \"") + tmp.path()), qPrintable(texto));
        QVERIFY2(texto.contains(recusa), qPrintable(texto));
    } else {
        QVERIFY(QFileInfo(p.dados).isDir());
        QVERIFY2(QDir::isAbsolutePath(p.dados), qPrintable(p.dados));
    }
    QStringList depois = antes + criadas;
    depois.sort();
    QCOMPARE(arvoreNativa(raiz), depois);
}

QTEST_MAIN(TstNomesNativos)
#include "tst_nomesNativos.moc"
