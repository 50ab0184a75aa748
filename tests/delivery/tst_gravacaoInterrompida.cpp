// A recording stopped dead at any step of the file layer (as by kill -9 or a
// power cut) into a folder holding an earlier recording: after each stop the
// folder has no identifier or one that lists exactly the files beside it,
// with their counts and totals; putting it back in order gives the earlier
// set (or the new one once its identifier took its name), and the next
// recording completes with no temporary left.
#include "Ambiente.h"
#include "FixtureEntrega.h"

#include "delivery/motor/Gravacao.h"
#include "delivery/motor/Pasta.h"
#include "platform/ArquivoDuravel.h"

#include <QFileInfo>

using namespace fixture;

namespace {

struct Morte {};

const QString Prefixo = QStringLiteral("11222333000181-TOBRI-86-");
const QString Periodo = QStringLiteral("-2025010120251231");

// What is wrong with the folder's identifier against the files beside it;
// empty when there is no identifier or it matches.
QString conferir(const entrega::NomesNaPasta& nomes)
{
    if (!QFileInfo::exists(nomes.identificador))
        return {};
    const QList<QByteArray> linhas = lerArquivo(nomes.identificador).split('\n');
    if (linhas.size() < 3 || !linhas.last().isEmpty())
        return QStringLiteral("identificador incompleto");
    QStringList listados;
    qsizetype registros = 0;
    for (QByteArray l : linhas) {
        l.chop(1);
        if (!l.startsWith("01"))
            continue;
        ++registros;
        // The abbreviations are the record identifiers, but for the cost
        // centres under 86, which take the name of row 4.
        const QByteArray abrev = l.mid(4, 5) == "CENCD" ? QByteArray("CENTD") : l.mid(4, 5);
        const QString base = caminhoEm(nomes.pasta, Prefixo + QString::fromLatin1(abrev) + Periodo);
        listados << base + QStringLiteral(".fmt") << base + QStringLiteral(".txt");
        const QByteArray dados = lerArquivo(base + QStringLiteral(".txt"));
        if (dados.size() % TamanhoRegistro != 0)
            return QStringLiteral("%1 não é um conjunto de registros").arg(base);
        qint64 soma = 0;
        for (qsizetype p = 0; p < dados.size(); p += TamanhoRegistro)
            soma += dados.mid(p + PosicaoValor - 1, 17).toLongLong();
        if (l.mid(9, 8).toLongLong() != dados.size() / TamanhoRegistro)
            return QStringLiteral("contagem de %1 difere").arg(base);
        const bool comTotal = l.mid(4, 4) == "LANC" || l.mid(4, 4) == "SALM";
        if (l.mid(17, 20).toLongLong() != (comTotal ? soma : 0))
            return QStringLiteral("total de %1 difere").arg(base);
        if (lerArquivo(base + QStringLiteral(".fmt")) == "<ausente>")
            return QStringLiteral("%1.fmt ausente").arg(base);
    }
    if (linhas.at(linhas.size() - 2).left(10) != "99" + QByteArray::number(registros + 2).rightJustified(8, '0'))
        return QStringLiteral("trailer difere");
    QStringList presentes;
    for (const QString& n : nomes.arquivos)
        if (QFileInfo::exists(n))
            presentes << n;
    listados.sort();
    presentes.sort();
    if (presentes != listados)
        return QStringLiteral("arquivos da declaração na pasta: %1; listados: %2")
            .arg(presentes.join(u' '), listados.join(u' '));
    return {};
}

} // namespace

class TstGravacaoInterrompida : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void morteEmCadaPasso_data();
    void morteEmCadaPasso();
};

void TstGravacaoInterrompida::morteEmCadaPasso_data()
{
    QTest::addColumn<bool>("comAnterior");
    QTest::newRow("sobre uma gravação anterior") << true;
    QTest::newRow("primeira gravação na pasta") << false;
}

void TstGravacaoInterrompida::morteEmCadaPasso()
{
    QFETCH(bool, comAnterior);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    for (int t : {1, 2, 6, 7, 8, 9})
        QVERIFY(importado(t, 0, centavos(4)));
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    const QString outra = amb.caminhoDados(QStringLiteral("outra"));
    QVERIFY(QDir().mkpath(destino) && QDir().mkpath(outra));
    geral().gDestino = destino;
    if (comAnterior)
        QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(geral().gMsg));
    QVERIFY(gravarArquivo(caminhoEm(destino, QStringLiteral("leia-me.txt")), "do usuário"));
    const QMap<QString, QByteArray> anterior = conteudo(destino);
    QCOMPARE(anterior.size(), comAnterior ? 6 * 2 + 2 : 1);

    // The new set: without the auxiliary books, with the cost centres, other
    // records and totals.
    for (int t : {2, 7, 9})
        QVERIFY(importado(t, 90, centavos(4)));
    QVERIFY(importado(3, 0, centavos(2)));
    QVERIFY(importado(1, 0, centavos(3, 100)));
    QVERIFY(importado(6, 0, centavos(5, 200)));
    QVERIFY(importado(8, 0, centavos(6, 300)));
    geral().gDestino = outra;
    QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(geral().gMsg));
    QMap<QString, QByteArray> novo = conteudo(outra);
    QCOMPARE(novo.size(), 4 * 2 + 1);
    novo.insert(QStringLiteral("leia-me.txt"), "do usuário");
    geral().gDestino = destino;
    entrega::NomesNaPasta nomes;
    QVERIFY(entrega::nomesNaPasta(destino, nomes));
    const QString idNovo = QFileInfo(nomes.identificador).fileName();

    int passos = 0;
    for (int k = 0;; ++k) {
        QVERIFY(repor(destino, anterior));
        int passo = 0;
        QStringList feitos;
        bool morreu = false;
        bool ok = false;
        {
            duravel::Observando o([&](const duravel::Passo& p) {
                if (passo++ == k)
                    throw Morte{};
                feitos << p.tipo + u' ' + QFileInfo(p.caminho).fileName();
            });
            try {
                ok = entrega::gravarConjunto(Nome);
            } catch (const Morte&) {
                morreu = true;
            }
        }
        if (!morreu) {
            QVERIFY2(ok, qPrintable(geral().gMsg));
            QCOMPARE(conteudo(destino), novo);
            passos = k;
            break;
        }
        const QString ctx = QStringLiteral("parado antes do passo %1 (depois de: %2)").arg(k).arg(feitos.join(QStringLiteral(", ")));
        const QString erro = conferir(nomes);
        QVERIFY2(erro.isEmpty(), qPrintable(ctx + QStringLiteral(": ") + erro));

        // Put back in order: the earlier set, unless the new identifier had
        // already taken its name.
        const bool novoNoLugar = lerArquivo(nomes.identificador) == novo.value(idNovo);
        QVERIFY2(entrega::recuperarPasta(nomes), qPrintable(ctx));
        QVERIFY2(conteudo(destino) == (novoNoLugar ? novo : anterior), qPrintable(ctx));

        // A stopped recording, then the next one: it completes, no temporary left.
        QVERIFY(repor(destino, anterior));
        passo = 0;
        {
            duravel::Observando o([&](const duravel::Passo&) {
                if (passo++ == k)
                    throw Morte{};
            });
            QVERIFY_THROWS_EXCEPTION(Morte, entrega::gravarConjunto(Nome));
        }
        QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(ctx + u' ' + geral().gMsg));
        QVERIFY2(conteudo(destino) == novo, qPrintable(ctx));
        QStringList naPasta = arquivosEm(destino);
        naPasta.sort();
        QCOMPARE(naPasta, QStringList(novo.keys()));
    }
    // Flushes, renames, removals and folder syncs of the recording.
    QVERIFY2(passos > (comAnterior ? 30 : 15), qPrintable(QString::number(passos)));
    for (int t : {1, 3, 6, 8})
        QCOMPARE(situacao(t).toInt(), 100);
    QCOMPARE(situacao(7).toInt(), 90);
}

QTEST_MAIN(TstGravacaoInterrompida)
#include "tst_gravacaoInterrompida.moc"
