// The fixed-width text driver: columns cut as Schema.ini describes them,
// lines split only at CR LF, the last line without its CR LF.
#include "Conferir.h"
#include "platform/Pastas.h"
#include "platform/TextoFixo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstTextoFixo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linhasEColunas();
    void semSecao();
};

namespace {

void escrever(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

void TstTextoFixo::linhasEColunas()
{
    QTemporaryDir dir;
    CONFERE(escrever(caminhoEm(dir.path(), QStringLiteral("Schema.ini")),
                     "[outro.txt]\r\nColNameHeader = False\r\nFormat = FixedLength\r\nCol1 =  \"X\" Char Width 9\r\n"
                     "[DADOS.TXT]\r\nColNameHeader = False\r\nFormat = FixedLength\r\n"
                     "Col2=  \"Valor\" Char Width 3\r\nCol1 =  \"Conta\"  Char Width 4\r\nCol3=  \"Ind\" Char Width 1\r\n"));
    // A lone LF stays inside its line; the last line has no CR LF.
    CONFERE(escrever(caminhoEm(dir.path(), QStringLiteral("dados.txt")), "ab  012D\r\nc\nd 345c\r\n  e 6\r\nf"));
    textofixo::Leitor l;
    QVERIFY2(l.abrir(dir.path(), QStringLiteral("dados.txt")), qPrintable(l.erro()));
    QCOMPARE(l.esquema().indice(QStringLiteral("valor")), 1);
    QStringList linhas;
    while (l.proxima())
        linhas << QStringLiteral("%1|%2|%3|%4")
                      .arg(l.linha())
                      .arg(QString::fromLatin1(l.valor(0)), QString::fromLatin1(l.valor(1)),
                           QString::fromLatin1(l.valor(2)));
    QVERIFY(l.erro().isEmpty());
    QCOMPARE(linhas, (QStringList{"1|ab|012|D", "2|c\nd|345|c", "3|e|6|", "4|f||"}));
}

void TstTextoFixo::semSecao()
{
    QTemporaryDir dir;
    CONFERE(escrever(caminhoEm(dir.path(), QStringLiteral("Schema.ini")), "[outro.txt]\r\nFormat = FixedLength\r\n"));
    CONFERE(escrever(caminhoEm(dir.path(), QStringLiteral("dados.txt")), "x\r\n"));
    textofixo::Leitor l;
    QVERIFY(!l.abrir(dir.path(), QStringLiteral("dados.txt")));
    QVERIFY(l.erro().contains(QStringLiteral("dados.txt")));
    QVERIFY(!l.abrir(dir.path() + QStringLiteral("/nenhuma"), QStringLiteral("dados.txt")));
}

QTEST_MAIN(TstTextoFixo)
#include "tst_textoFixo.moc"
