// A recording stopped dead at any step of the file layer (as by kill -9 or a
// power cut) into a folder holding an earlier recording: after each stop the
// folder has no identifier or one that lists exactly the files beside it,
// with their counts and totals; putting it back in order gives the earlier
// set (or the new one once its identifier took its name), and the next
// recording completes with no temporary left. The repair itself is stopped
// at each of its own steps, again and again, and never loses a file; a
// restore that cannot be done keeps every file; one recording at a time.
#include "Ambiente.h"
#include "Conferir.h"
#include "FixtureEntrega.h"
#include "OutraConexao.h"

#include "delivery/motor/Gravacao.h"
#include "delivery/motor/Pasta.h"
#include "platform/ArquivoDuravel.h"
#include "platform/TravaPasta.h"

#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <optional>

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

// A folder holding an earlier recording (or none) and a user's file, and the
// set a new recording leaves there: without the auxiliary books, with the
// cost centres, other records and totals.
struct Cenario {
    QString destino;
    QMap<QString, QByteArray> anterior;
    QMap<QString, QByteArray> novo;
    entrega::NomesNaPasta nomes;
    QString idNovo;
};

void montar(const Ambiente& amb, bool comAnterior, Cenario& c)
{
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    for (int t : {1, 2, 6, 7, 8, 9})
        QVERIFY(importado(t, 0, centavos(4)));
    c.destino = amb.caminhoDados(QStringLiteral("destino"));
    const QString outra = amb.caminhoDados(QStringLiteral("outra"));
    QVERIFY(QDir().mkpath(c.destino) && QDir().mkpath(outra));
    geral().gDestino = c.destino;
    if (comAnterior)
        QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(geral().gMsg));
    QVERIFY(gravarArquivo(caminhoEm(c.destino, QStringLiteral("leia-me.txt")), "do usuário"));
    c.anterior = conteudo(c.destino);
    QCOMPARE(c.anterior.size(), comAnterior ? 6 * 2 + 2 : 1);

    for (int t : {2, 7, 9})
        QVERIFY(importado(t, 90, centavos(4)));
    QVERIFY(importado(3, 0, centavos(2)));
    QVERIFY(importado(1, 0, centavos(3, 100)));
    QVERIFY(importado(6, 0, centavos(5, 200)));
    QVERIFY(importado(8, 0, centavos(6, 300)));
    geral().gDestino = outra;
    QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(geral().gMsg));
    c.novo = conteudo(outra);
    QCOMPARE(c.novo.size(), 4 * 2 + 1);
    c.novo.insert(QStringLiteral("leia-me.txt"), "do usuário");
    geral().gDestino = c.destino;
    QVERIFY(entrega::nomesNaPasta(c.destino, c.nomes));
    c.idNovo = QFileInfo(c.nomes.identificador).fileName();
}

// Runs `f` with the file layer stopped dead before its step `k` (counted
// from 0); true when it was stopped.
template <typename F>
bool pararNoPasso(int k, F&& f, QStringList* feitos = nullptr)
{
    int passo = 0;
    duravel::Observando o([&](const duravel::Passo& p) {
        if (passo++ == k)
            throw Morte{};
        if (feitos)
            *feitos << p.tipo + u' ' + QFileInfo(p.caminho).fileName();
        return 0;
    });
    try {
        f();
    } catch (const Morte&) {
        return true;
    }
    return false;
}

// Every file of `antes` is in the folder with its bytes, under its name or
// moved aside; empty when so.
QString nadaPerdido(const QString& pasta, const QMap<QString, QByteArray>& antes)
{
    const QMap<QString, QByteArray> agora = conteudo(pasta);
    for (auto it = antes.cbegin(); it != antes.cend(); ++it)
        if (agora.value(it.key()) != it.value() && agora.value(it.key() + entrega::SufixoAnterior) != it.value())
            return QStringLiteral("%1 perdido").arg(it.key());
    return {};
}

// A power cut keeps what the last folder sync put on disk; of the renames
// and removals after it, any may or may not have reached the disk, in any
// order (as on the FAT file systems of delivery sticks). A file created and
// not yet flushed comes back empty, under whatever name it has. This follows
// a run through the file layer and gives, for a cut before its next step,
// the folder as it was at the last sync and the operations since.
class Disco {
public:
    explicit Disco(const QString& pasta) : m_pasta(pasta), m_base(conteudo(pasta)) {}

    void passo(const duravel::Passo& p)
    {
        const QString de = QFileInfo(p.caminho).fileName();
        if (p.tipo == QLatin1String("pasta")) {
            m_base = conteudo(m_pasta);
            m_baseSemDados = m_semDados;
            m_pendentes.clear();
        } else if (p.tipo == QLatin1String("criar")) {
            m_semDados.insert(de);
        } else if (p.tipo == QLatin1String("arquivo")) {
            m_semDados.remove(de);
            m_baseSemDados.remove(de);
        } else if (p.tipo == QLatin1String("renomear") || p.tipo == QLatin1String("remover")) {
            if (m_semDados.remove(de) && p.tipo == QLatin1String("renomear"))
                m_semDados.insert(QFileInfo(p.destino).fileName());
            m_pendentes << p;
        }
    }

    // The folder as the disk may hold it: the last sync, with each operation
    // since alone, with all but each one, and with all of them.
    QList<QMap<QString, QByteArray>> estados() const
    {
        QList<QMap<QString, QByteArray>> r{aplicar({}), aplicar(todos())};
        for (qsizetype i = 0; i < m_pendentes.size(); ++i) {
            r << aplicar({i});
            QList<qsizetype> outros = todos();
            outros.removeAt(i);
            r << aplicar(outros);
        }
        return r;
    }

private:
    QList<qsizetype> todos() const
    {
        QList<qsizetype> r;
        for (qsizetype i = 0; i < m_pendentes.size(); ++i)
            r << i;
        return r;
    }

    QMap<QString, QByteArray> aplicar(const QList<qsizetype>& quais) const
    {
        QMap<QString, QByteArray> r = m_base;
        for (const QString& n : m_baseSemDados)
            if (r.contains(n))
                r.insert(n, {});
        for (qsizetype i : quais) {
            const duravel::Passo& p = m_pendentes.at(i);
            const QString de = QFileInfo(p.caminho).fileName();
            if (!r.contains(de))
                continue;
            if (p.tipo == QLatin1String("renomear"))
                r.insert(QFileInfo(p.destino).fileName(), r.value(de));
            r.remove(de);
        }
        return r;
    }

    QString m_pasta;
    QMap<QString, QByteArray> m_base;
    QList<duravel::Passo> m_pendentes;
    QSet<QString> m_semDados;       // created, not flushed (by their names now)
    QSet<QString> m_baseSemDados;   // the same at the last sync
};

// A folder's names and bytes as one key.
QByteArray chave(const QMap<QString, QByteArray>& pasta)
{
    QByteArray r;
    for (auto it = pasta.cbegin(); it != pasta.cend(); ++it)
        r += it.key().toUtf8() + '\0' + QByteArray::number(qHash(it.value())) + '\0';
    return r;
}

// Each folder a power cut before step k of `f` may leave: its identifier
// lists the files beside it, and the repair that follows gives the earlier
// set, or the new one when its identifier is in place. False once `f` ran
// to its end without reaching step k. `vistos` holds the folders already
// checked.
template <typename F>
bool cortarEnergia(const Cenario& c, int k, QSet<QByteArray>& vistos, F&& f)
{
    Disco disco(c.destino);
    int passo = 0;
    bool cortou = false;
    {
        duravel::Observando o([&](const duravel::Passo& p) {
            if (passo++ == k)
                throw Morte{};
            disco.passo(p);
            return 0;
        });
        try {
            f();
        } catch (const Morte&) {
            cortou = true;
        }
    }
    if (!cortou)
        return false;
    const QList<QMap<QString, QByteArray>> estados = disco.estados();
    for (qsizetype i = 0; i < estados.size(); ++i) {
        if (vistos.contains(chave(estados.at(i))))
            continue;
        vistos.insert(chave(estados.at(i)));
        const QString ctx = QStringLiteral("corte antes do passo %1, estado %2 (%3)")
                                .arg(k)
                                .arg(i)
                                .arg(QStringList(estados.at(i).keys()).join(u' '));
        if (!repor(c.destino, estados.at(i))) {
            QTest::qFail(qPrintable(ctx), __FILE__, __LINE__);
            return false;
        }
        const QString erro = conferir(c.nomes);
        QString motivo;
        const bool novo = estados.at(i).value(c.idNovo) == c.novo.value(c.idNovo);
        if (!erro.isEmpty() || !entrega::recuperarPasta(c.nomes, &motivo)
            || conteudo(c.destino) != (novo ? c.novo : c.anterior)) {
            QTest::qFail(qPrintable(ctx + u' ' + erro + motivo), __FILE__, __LINE__);
            return false;
        }
    }
    return true;
}

} // namespace

class TstGravacaoInterrompida : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void morteEmCadaPasso_data();
    void morteEmCadaPasso();
    void reparoInterrompido_data();
    void reparoInterrompido();
    void restauracaoImpossivel_data();
    void restauracaoImpossivel();
    void falhaDoSistemaNoReparo_data();
    void falhaDoSistemaNoReparo();
    void umaGravacaoPorVez();
    void quedaDeEnergia_data();
    void quedaDeEnergia();
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
    Cenario c;
    CONFERE(montar(amb, comAnterior, c));
    const QString& destino = c.destino;
    const QMap<QString, QByteArray>& anterior = c.anterior;
    const QMap<QString, QByteArray>& novo = c.novo;
    const entrega::NomesNaPasta& nomes = c.nomes;
    const QString& idNovo = c.idNovo;

    int passos = 0;
    for (int k = 0;; ++k) {
        QVERIFY(repor(destino, anterior));
        QStringList feitos;
        bool ok = false;
        if (!pararNoPasso(k, [&ok] { ok = entrega::gravarConjunto(Nome); }, &feitos)) {
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
        QVERIFY(pararNoPasso(k, [] { entrega::gravarConjunto(Nome); }));
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

void TstGravacaoInterrompida::reparoInterrompido_data()
{
    morteEmCadaPasso_data();
}

// From every state a stopped recording leaves, the repair is stopped before
// each of its own steps, then the next repair before the same step, then one
// runs to its end: after each stop the folder's identifier (if any) lists
// exactly the files beside it, no earlier file is lost until the new
// identifier is in place, and the end is the earlier set or the new one.
void TstGravacaoInterrompida::reparoInterrompido()
{
    QFETCH(bool, comAnterior);
    Ambiente amb;
    Cenario c;
    CONFERE(montar(amb, comAnterior, c));
    int paradas = 0;
    for (int k = 0;; ++k) {
        QVERIFY(repor(c.destino, c.anterior));
        if (!pararNoPasso(k, [] { entrega::gravarConjunto(Nome); }))
            break;
        const QMap<QString, QByteArray> parado = conteudo(c.destino);
        const bool novoNoLugar = parado.value(c.idNovo) == c.novo.value(c.idNovo);
        bool alemDoFim = false;
        for (int j = 0; !alemDoFim; ++j) {
            QVERIFY(repor(c.destino, parado));
            bool parou = true;
            for (int vez = 1; vez <= 2 && parou; ++vez) {
                QString motivo;
                bool ok = false;
                QStringList feitos;
                parou = pararNoPasso(j, [&] { ok = entrega::recuperarPasta(c.nomes, &motivo); }, &feitos);
                const QString ctx = QStringLiteral("gravação parada no passo %1; reparo %2 parado no passo %3 (depois "
                                                   "de: %4)")
                                        .arg(k)
                                        .arg(vez)
                                        .arg(j)
                                        .arg(feitos.join(QStringLiteral(", ")));
                QVERIFY2(parou || ok, qPrintable(ctx + u' ' + motivo));
                const QString erro = conferir(c.nomes);
                QVERIFY2(erro.isEmpty(), qPrintable(ctx + QStringLiteral(": ") + erro));
                const QString perdido = novoNoLugar ? QString() : nadaPerdido(c.destino, c.anterior);
                QVERIFY2(perdido.isEmpty(), qPrintable(ctx + QStringLiteral(": ") + perdido));
                paradas += parou;
                alemDoFim = !parou && vez == 1;
            }
            QString motivo;
            QVERIFY2(entrega::recuperarPasta(c.nomes, &motivo), qPrintable(motivo));
            QVERIFY2(conteudo(c.destino) == (novoNoLugar ? c.novo : c.anterior),
                     qPrintable(QStringLiteral("gravação parada no passo %1, reparo no passo %2").arg(k).arg(j)));
        }
    }
    QVERIFY2(paradas > (comAnterior ? 500 : 100), qPrintable(QString::number(paradas)));
}

void TstGravacaoInterrompida::restauracaoImpossivel_data()
{
    QTest::addColumn<bool>("pastaNoCaminho");
    QTest::newRow("uma pasta no lugar do arquivo") << true;
    QTest::newRow("um arquivo listado que sumiu") << false;
}

// A recording stopped with every earlier file aside and the new files in
// place, then one earlier file that cannot come back: the repair keeps every
// file, leaves the earlier identifier aside, and the recording stops naming
// the file; nothing is marked. Once the cause is gone, recording works.
void TstGravacaoInterrompida::restauracaoImpossivel()
{
    QFETCH(bool, pastaNoCaminho);
    Ambiente amb;
    Cenario c;
    CONFERE(montar(amb, true, c));
    {
        duravel::Observando o([&c](const duravel::Passo& p) {
            if (p.tipo == QLatin1String("renomear") && p.destino == c.nomes.identificador)
                throw Morte{};
            return 0;
        });
        QVERIFY_THROWS_EXCEPTION(Morte, entrega::gravarConjunto(Nome));
    }
    const QString aux = caminhoEm(c.destino, Prefixo + QStringLiteral("PLCOA") + Periodo + QStringLiteral(".txt"));
    const QString idAnterior = c.nomes.identificador + entrega::SufixoAnterior;
    QVERIFY(QFileInfo::exists(aux + entrega::SufixoAnterior) && QFileInfo::exists(idAnterior));
    QVERIFY(QFileInfo::exists(c.nomes.identificador + entrega::SufixoPronto));
    if (pastaNoCaminho)
        QVERIFY(QDir().mkpath(caminhoEm(aux, QStringLiteral("sub"))));
    else
        QVERIFY(QFile::remove(aux + entrega::SufixoAnterior));
    const QString gerado = arquivoGerado(1);

    QVERIFY(!entrega::gravarConjunto(Nome));
    const QString& msg = geral().gMsg;
    QVERIFY2(msg.contains(QFileInfo(aux).fileName()) && msg.endsWith(QStringLiteral("Gravação não efetuada.")),
             qPrintable(msg));
    QCOMPARE(arquivoGerado(1), gerado);
    QVERIFY(!QFileInfo::exists(c.nomes.identificador));
    QCOMPARE(lerArquivo(idAnterior), c.anterior.value(c.idNovo));
    QCOMPARE(QFileInfo::exists(aux + entrega::SufixoAnterior), pastaNoCaminho);
    // Every other earlier file is back, and nothing of the new set is left.
    QMap<QString, QByteArray> esperado = c.anterior;
    esperado.remove(c.idNovo);
    esperado.remove(QFileInfo(aux).fileName());
    esperado.insert(QFileInfo(idAnterior).fileName(), c.anterior.value(c.idNovo));
    if (pastaNoCaminho)
        esperado.insert(QFileInfo(aux).fileName() + entrega::SufixoAnterior, c.anterior.value(QFileInfo(aux).fileName()));
    QCOMPARE(conteudo(c.destino), esperado);

    // The same refusal, again, changes nothing.
    QVERIFY(!entrega::gravarConjunto(Nome));
    QCOMPARE(conteudo(c.destino), esperado);

    if (pastaNoCaminho)
        QVERIFY(QDir(aux).removeRecursively());
    else
        QVERIFY(QFile::remove(idAnterior));
    QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(geral().gMsg));
    QCOMPARE(conteudo(c.destino), c.novo);
}

void TstGravacaoInterrompida::falhaDoSistemaNoReparo_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("sufixo");   // of the step's file; "-" for a final name
    QTest::newRow("remoção de um temporário") << "remover" << ".gravando";
    QTest::newRow("remoção de um arquivo novo") << "remover" << "-";
    QTest::newRow("sincronização da pasta") << "pasta" << "";
    QTest::newRow("remoção do identificador pronto") << "remover" << ".pronto";
    QTest::newRow("volta de um arquivo anterior") << "renomear" << ".anterior";
}

// A recording stopped with the earlier set aside and part of the new one in
// place; the repair then meets an error of the system (an I/O error of the
// medium) at one of its steps. It stops, says which file and why, keeps
// every earlier file and leaves no identifier that lies; once the medium
// answers again, the repair gives the earlier set and the recording works.
void TstGravacaoInterrompida::falhaDoSistemaNoReparo()
{
    QFETCH(QString, tipo);
    QFETCH(QString, sufixo);
    Ambiente amb;
    Cenario c;
    CONFERE(montar(amb, true, c));
    int colocados = 0;
    {
        duravel::Observando o([&](const duravel::Passo& p) {
            if (p.tipo == QLatin1String("renomear") && p.caminho.endsWith(entrega::SufixoGravando)
                && !p.destino.endsWith(entrega::SufixoPronto) && ++colocados == 2)
                throw Morte{};
            return 0;
        });
        QVERIFY_THROWS_EXCEPTION(Morte, entrega::gravarConjunto(Nome));
    }
    QVERIFY(QFileInfo::exists(c.nomes.identificador + entrega::SufixoPronto));
    const QMap<QString, QByteArray> parado = conteudo(c.destino);
    const QString gerado = arquivoGerado(1);

    for (const bool pelaGravacao : {false, true}) {
        QVERIFY(repor(c.destino, parado));
        QString falhou;
        duravel::Observando o([&](const duravel::Passo& p) {
            const QString nome = QFileInfo(p.caminho).fileName();
            const bool doSufixo = sufixo == QLatin1String("-")
                ? nome.endsWith(QLatin1String(".txt")) || nome.endsWith(QLatin1String(".fmt"))
                : p.caminho.endsWith(sufixo);
            if (falhou.isEmpty() && p.tipo == tipo && doSufixo) {
                falhou = tipo == QLatin1String("pasta") ? p.caminho : nome;
                return EIO;
            }
            return 0;
        });
        QString motivo;
        if (pelaGravacao) {
            QVERIFY(!entrega::gravarConjunto(Nome));
            motivo = geral().gMsg;
            QVERIFY2(motivo.endsWith(entrega::MsgNaoEfetuada), qPrintable(motivo));
            QCOMPARE(arquivoGerado(1), gerado);
        } else {
            QVERIFY(!entrega::recuperarPasta(c.nomes, &motivo));
        }
        QVERIFY2(!falhou.isEmpty(), qPrintable(motivo));
        QVERIFY2(motivo.contains(falhou) && motivo.contains(duravel::textoErrno(EIO)), qPrintable(motivo));
        const QString erro = conferir(c.nomes);
        QVERIFY2(erro.isEmpty(), qPrintable(erro));
        const QString perdido = nadaPerdido(c.destino, c.anterior);
        QVERIFY2(perdido.isEmpty(), qPrintable(perdido));
    }
    QString motivo;
    QVERIFY2(entrega::recuperarPasta(c.nomes, &motivo), qPrintable(motivo));
    QCOMPARE(conteudo(c.destino), c.anterior);
    QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(geral().gMsg));
    QCOMPARE(conteudo(c.destino), c.novo);
}

// While another recording holds the folder, a second one is refused before
// it touches anything, even the leftovers of a stopped one.
void TstGravacaoInterrompida::umaGravacaoPorVez()
{
    Ambiente amb;
    Cenario c;
    CONFERE(montar(amb, true, c));
    QVERIFY(pararNoPasso(30, [] { entrega::gravarConjunto(Nome); }));
    const QMap<QString, QByteArray> parado = conteudo(c.destino);
    QVERIFY(parado != c.anterior);
    const QString gerado = arquivoGerado(1);
    {
        const TravaPasta outra(c.destino);
        QVERIFY(outra.estado() == TravaPasta::Estado::Obtida);
        QVERIFY(!entrega::gravarConjunto(Nome));
        QCOMPARE(geral().gMsg, entrega::MsgPastaOcupada.arg(c.destino) + QStringLiteral("\r\n")
                                   + entrega::MsgNaoEfetuada);
        QCOMPARE(conteudo(c.destino), parado);
        QCOMPARE(arquivoGerado(1), gerado);
    }
    QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(geral().gMsg));
    QCOMPARE(conteudo(c.destino), c.novo);
}

void TstGravacaoInterrompida::quedaDeEnergia_data()
{
    QTest::addColumn<bool>("commitFalha");
    QTest::newRow("gravação") << false;
    // Another program reading the database: the commit fails once the new
    // set is in place, and its identifier is withdrawn.
    QTest::newRow("commit recusado") << true;
}

// Power cuts during a recording over an earlier one, and during the repair
// of each state a stopped recording leaves: the folder syncs come where the
// next run relies on an earlier rename or removal being on disk, and every
// file is flushed before its name can reach the disk.
void TstGravacaoInterrompida::quedaDeEnergia()
{
    QFETCH(bool, commitFalha);
    Ambiente amb;
    Cenario c;
    CONFERE(montar(amb, true, c));
    std::optional<OutraConexao> leitor;
    if (commitFalha) {
        QVERIFY(geral().gConn->executar(QStringLiteral("PRAGMA busy_timeout = 0")));
        leitor.emplace(geral().gConn->caminho(), OutraConexao::Trava::Leitura);
        QVERIFY(leitor->ativa());
        QVERIFY(repor(c.destino, c.anterior));
        QVERIFY(!entrega::gravarConjunto(Nome));
        QVERIFY2(geral().gMsg.contains(QStringLiteral("(fun_GravaImportados)")), qPrintable(geral().gMsg));
        QCOMPARE(conteudo(c.destino), c.anterior);
    }
    QSet<QByteArray> vistos;
    for (int k = 0;; ++k) {
        QVERIFY(repor(c.destino, c.anterior));
        if (!cortarEnergia(c, k, vistos, [] { entrega::gravarConjunto(Nome); }))
            break;
    }
    QSet<QByteArray> parados;
    for (int k = 0;; ++k) {
        QVERIFY(repor(c.destino, c.anterior));
        if (!pararNoPasso(k, [] { entrega::gravarConjunto(Nome); }))
            break;
        const QMap<QString, QByteArray> parado = conteudo(c.destino);
        if (parados.contains(chave(parado)))
            continue;
        parados.insert(chave(parado));
        for (int j = 0;; ++j) {
            QVERIFY(repor(c.destino, parado));
            if (!cortarEnergia(c, j, vistos, [&c] { entrega::recuperarPasta(c.nomes); }))
                break;
        }
    }
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY2(vistos.size() > 100, qPrintable(QString::number(vistos.size())));
}

QTEST_MAIN(TstGravacaoInterrompida)
#include "tst_gravacaoInterrompida.moc"
