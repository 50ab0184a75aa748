// The proof of a data file taken while it is copied: record length, CR LF
// endings, the line count and the exact value total, whatever the block
// sizes the bytes come in; and the record shape read from a .lay.
#include "delivery/motor/Prova.h"

#include <QTest>

namespace {

// 21-byte records: a 17-digit amount with two decimals, two free bytes, CR LF.
const entrega::FormaRegistro Forma{21, 1, 17, 2};

QByteArray reg(qint64 centavos, const QByteArray& livre = "ab")
{
    return QByteArray::number(centavos).rightJustified(17, '0') + livre + "\r\n";
}

QByteArray linhaLay(const char* nome, int posicao, int tamanho)
{
    return QByteArray(nome).leftJustified(15, ' ') + QByteArray("NUMERIC").leftJustified(10, ' ')
        + QByteArray::number(posicao).rightJustified(3) + QByteArray::number(tamanho).rightJustified(4) + " 2"
        + QByteArray(19, ' ') + "\r\n";
}

} // namespace

class TstProva : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void prova_data();
    void prova();
    void forma_data();
    void forma();
};

void TstProva::prova_data()
{
    QTest::addColumn<QByteArray>("dados");
    QTest::addColumn<QString>("falha");
    QTest::addColumn<qint64>("linhas");
    QTest::addColumn<qint64>("centavos");
    QTest::newRow("inteiro") << reg(123) + reg(200) << QString() << qint64(2) << qint64(323);
    QTest::newRow("vazio") << QByteArray() << QString() << qint64(0) << qint64(0);
    QTest::newRow("LF sozinho dentro do registro é dado")
        << reg(5) + QByteArray("00000000000000002\nb\r\n") << QString() << qint64(2) << qint64(7);
    QTest::newRow("última linha sem CR LF") << reg(1) + reg(2).chopped(2)
                                            << "a linha 2 não tem 21 bytes terminados em CR LF" << qint64(1) << qint64(1);
    QTest::newRow("bytes a mais no fim") << reg(1) + "xyz" << "a linha 2 não tem 21 bytes terminados em CR LF"
                                         << qint64(1) << qint64(1);
    QTest::newRow("CR LF dentro de um registro") << reg(1) + reg(2, "\r\n") + reg(3)
                                                 << "a linha 2 não tem 21 bytes terminados em CR LF" << qint64(2)
                                                 << qint64(1);
    QTest::newRow("linha terminada só em LF")
        << reg(1) + QByteArray::number(2).rightJustified(17, '0') + "abx\n" << "a linha 2 não tem 21 bytes terminados em CR LF"
                                          << qint64(2) << qint64(1);
    QTest::newRow("valor com letra") << reg(1) + QByteArray("0000000000000000xab\r\n")
                                     << "a linha 2 não tem um valor numérico" << qint64(2) << qint64(1);
    QTest::newRow("soma além do limite da moeda")
        << reg(50000000000000000) + reg(50000000000000000)
        << "a soma dos valores excede o limite na linha 2" << qint64(2) << qint64(50000000000000000);
}

void TstProva::prova()
{
    QFETCH(QByteArray, dados);
    QFETCH(QString, falha);
    QFETCH(qint64, linhas);
    QFETCH(qint64, centavos);
    for (qsizetype bloco : {qsizetype(1), qsizetype(5), qsizetype(21), qsizetype(22), qsizetype(4096)}) {
        entrega::Prova p(Forma);
        for (qsizetype i = 0; i < dados.size(); i += bloco)
            p.alimentar(dados.constData() + i, std::min(bloco, dados.size() - i));
        p.concluir();
        const QByteArray ctx = "bloco " + QByteArray::number(bloco);
        QVERIFY2(p.falha() == falha, ctx + ": " + p.falha().toUtf8());
        QVERIFY2(p.inteiro() == falha.isEmpty(), ctx);
        QVERIFY2(p.linhas() == linhas, ctx + ": " + QByteArray::number(p.linhas()));
        QVERIFY2(p.total().unidades() == centavos * 100, ctx);
    }
}

void TstProva::forma_data()
{
    QTest::addColumn<QByteArray>("lay");
    QTest::addColumn<QByteArray>("campo");
    QTest::addColumn<QString>("erro");
    QTest::addColumn<int>("tamanho");
    QTest::addColumn<int>("posicao");
    const QByteArray inicio = "RECORD_LENGTH 38 SKIP 0\r\n" + linhaLay("DataLanc", 1, 8);
    QTest::newRow("campo do total") << inicio + linhaLay("Valor", 9, 17) + linhaLay("IndDC", 26, 1) << QByteArray("Valor")
                                    << QString() << 38 << 9;
    QTest::newRow("tipo sem total") << inicio << QByteArray() << QString() << 38 << 0;
    QTest::newRow("campo ausente") << inicio << QByteArray("ValorDebitos")
                                   << "o leiaute não tem o campo ValorDebitos" << 0 << 0;
    QTest::newRow("campo além do registro") << inicio + linhaLay("Valor", 30, 17) << QByteArray("Valor")
                                            << "o campo Valor do leiaute está fora do registro" << 0 << 0;
    QTest::newRow("sem o tamanho do registro") << linhaLay("Valor", 1, 17) << QByteArray("Valor")
                                               << "o leiaute não informa o tamanho do registro" << 0 << 0;
    QTest::newRow("vazio") << QByteArray() << QByteArray() << "o leiaute está vazio" << 0 << 0;
    QTest::newRow("registro sem bytes além do CR LF") << "RECORD_LENGTH 2 SKIP 0\r\n" + linhaLay("Valor", 1, 17)
                                                      << QByteArray("Valor")
                                                      << "o leiaute não informa o tamanho do registro" << 0 << 0;
    QByteArray posicaoIlegivel = linhaLay("Valor", 9, 17);
    posicaoIlegivel[27] = 'x';
    QTest::newRow("posição ilegível") << inicio + posicaoIlegivel << QByteArray("Valor")
                                      << "o campo Valor do leiaute está fora do registro" << 0 << 0;
    QTest::newRow("o primeiro de dois campos do nome") << inicio + linhaLay("Valor", 9, 17) + linhaLay("Valor", 30, 17)
                                                       << QByteArray("Valor") << QString() << 38 << 9;
    QTest::newRow("o primeiro de dois campos do nome, fora") << inicio + linhaLay("Valor", 30, 17) + linhaLay("Valor", 9, 17)
                                                             << QByteArray("Valor")
                                                             << "o campo Valor do leiaute está fora do registro" << 0 << 0;
    QTest::newRow("linhas em LF, a última sem fim") << "RECORD_LENGTH 38 SKIP 0\n" + linhaLay("Valor", 9, 17).chopped(2)
                                                    << QByteArray("Valor") << QString() << 38 << 9;
}

void TstProva::forma()
{
    QFETCH(QByteArray, lay);
    QFETCH(QByteArray, campo);
    QFETCH(QString, erro);
    QFETCH(int, tamanho);
    QFETCH(int, posicao);
    entrega::FormaRegistro f;
    QString e;
    QCOMPARE(entrega::lerForma(lay, campo, f, e), erro.isEmpty());
    QCOMPARE(e, erro);
    if (erro.isEmpty()) {
        QCOMPARE(f.tamanho, qsizetype(tamanho));
        QCOMPARE(f.posicao, posicao);
        QCOMPARE(f.largura, posicao ? 17 : 0);
        QCOMPARE(f.decimais, posicao ? 2 : 0);
    }
}

QTEST_MAIN(TstProva)
#include "tst_prova.moc"
