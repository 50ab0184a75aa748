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
    void brancosEFinsDeLinha();
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

void TstTextoFixo::brancosEFinsDeLinha()
{
    QTemporaryDir dir;
    CONFERE(escrever(caminhoEm(dir.path(), QStringLiteral("Schema.ini")),
                     "[d.txt]\r\nColNameHeader = False\r\nFormat = FixedLength\r\n"
                     "Col1 =  \"Conta\" Char Width 6\r\nCol2 =  \"Ind\" Char Width 1\r\n"));
    // A right-aligned code, a long line, and a long last line without its
    // CR LF (more than the limit buffered and no CR LF in sight).
    CONFERE(escrever(caminhoEm(dir.path(), QStringLiteral("d.txt")),
                     "  1.1 D\r\n1.2   C\r\n" + QByteArray(40, 'x') + "\r\n" + QByteArray(40, 'y')));
    textofixo::Leitor l;
    l.limitarLinha(7);
    QVERIFY2(l.abrir(dir.path(), QStringLiteral("d.txt")), qPrintable(l.erro()));
    QStringList linhas;
    while (l.proxima())
        linhas << QStringLiteral("%1|%2|%3|%4|%5|%6")
                      .arg(l.linha())
                      .arg(QString::fromLatin1(l.valorSemBrancosFinais(0)), QString::fromLatin1(l.valor(0)))
                      .arg(l.linhaAtual().size())
                      .arg(l.terminouEmCrLf())
                      .arg(l.longa());
    QVERIFY(l.erro().isEmpty());
    // The line without an end in sight comes back with its first bytes only.
    QCOMPARE(linhas, (QStringList{"1|  1.1|1.1|7|1|0", "2|1.2|1.2|7|1|0", "3|xxxxxx|xxxxxx|40|1|0",
                                  "4|yyyyyy|yyyyyy|8|0|1"}));

    textofixo::Leitor semLimite;
    QVERIFY(semLimite.abrir(dir.path(), QStringLiteral("d.txt")));
    while (semLimite.proxima())
        linhas << QStringLiteral("%1|%2|%3").arg(semLimite.linha()).arg(semLimite.linhaAtual().size()).arg(semLimite.terminouEmCrLf());
    QCOMPARE(linhas.mid(4), (QStringList{"1|7|1", "2|7|1", "3|40|1", "4|40|0"}));
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
