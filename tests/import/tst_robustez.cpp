// The import against what goes wrong below it: a damaged page of the
// declaration database stops the run with the database's own text, every
// file put in place by a rename reaches the disk before its name, a failed
// step of that placement fails the run, and no temporary name of the data
// folder is written through a link planted at it.
#include "Ambiente.h"
#include "Declaracoes.h"

#include "import/motor/Motor.h"
#include "platform/ArquivoDuravel.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "validation/motor/Recarga.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <utility>

class TstRobustez : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void paginaDanificadaParaOsSaldos();
    void copiaNoDiscoAntesDoNome_data();
    void copiaNoDiscoAntesDoNome();
    void falhaAoColocarNoLugar_data();
    void falhaAoColocarNoLugar();
    void temporarioNaoSegueLink_data();
    void temporarioNaoSegueLink();
};

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 12, 31);

QMap<int, QByteArray> saldoBom()
{
    return {{1, "01032005"},      {2, "1.1.0001"},      {3, valor17("10000")}, {4, "D"},
            {5, valor17("5000")}, {6, valor17("2000")}, {7, valor17("13000")}, {8, "D"}};
}

// Overwrites a middle leaf page of every b-tree of `tabela` (the table and
// its indexes) in the closed database file, as a bad sector would.
void danificar(const QString& banco, const QString& tabela)
{
    QList<qint64> paginas;
    qint64 tamanhoPagina = 0;
    {
        db::Conexao c;
        QVERIFY(c.abrir(banco));
        tamanhoPagina = c.escalar(QStringLiteral("PRAGMA page_size")).toLongLong();
        QSqlQuery nomes(c.banco());
        QVERIFY(nomes.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE tbl_name = ?")));
        nomes.addBindValue(tabela);
        QVERIFY(nomes.exec());
        QStringList arvores;
        while (nomes.next())
            arvores << nomes.value(0).toString();
        QVERIFY(db::fimDasLinhas(nomes));
        QVERIFY(arvores.size() >= 2);
        for (const QString& a : std::as_const(arvores)) {
            QSqlQuery q(c.banco());
            q.prepare(QStringLiteral("SELECT pageno FROM dbstat WHERE name = ? AND pagetype = 'leaf' ORDER BY path"));
            q.addBindValue(a);
            QVERIFY(q.exec());
            QList<qint64> folhas;
            while (q.next())
                folhas << q.value(0).toLongLong();
            QVERIFY(db::fimDasLinhas(q));
            QVERIFY2(folhas.size() >= 3, qPrintable(a));
            paginas << folhas.at(folhas.size() / 2);
        }
    }
    QFile f(banco);
    QVERIFY(f.open(QIODevice::ReadWrite));
    for (qint64 p : std::as_const(paginas)) {
        QVERIFY(f.seek((p - 1) * tamanhoPagina));
        f.write(QByteArray(int(tamanhoPagina), '\xA5'));
    }
}

QByteArray conteudo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(ausente)");
}

// A declaration with its chart and a one-record balances file in hand.
void saldosProntos(Ambiente& amb)
{
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    CONFERE(tabelaImportada(1, {{"1", "S"}, {"1.1", "S"}, {"1.1.0001", "A"}}));
    CONFERE(prepararArquivo(amb, 8, saldoBom(), {Campos{}}, QStringLiteral("saldos.txt")));
}

// Plants a link at `nome` when the reading starts (after the run has
// cleared its scratch names).
class PainelPlantaLink : public motor::Painel {
public:
    QString nome, alvo;
    void iniciarBarra(qint64) override
    {
        if (!nome.isEmpty())
            QVERIFY(QFile::link(alvo, std::exchange(nome, QString())));
    }
};

} // namespace

void TstRobustez::paginaDanificadaParaOsSaldos()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    QList<QPair<QByteArray, QByteArray>> contas{{"1", "S"}, {"1.1", "S"}};
    for (int i = 1; i <= 4000; ++i)
        contas.append({QByteArray("1.1.") + QByteArray::number(i).rightJustified(4, '0'), "A"});
    CONFERE(tabelaImportada(1, contas));
    QList<Campos> registros;
    for (int i = 1; i <= 3; ++i)
        registros.append(Campos{{2, QByteArray("1.1.") + QByteArray::number(i * 1000).rightJustified(4, '0')}});
    CONFERE(prepararArquivo(amb, 8, saldoBom(), registros, QStringLiteral("saldos.txt")));
    const QString banco = g.gConn->caminho();
    const QString plano = motor::nomeTabelaTipo(1);
    g.gConn->fechar();
    CONFERE(danificar(banco, plano));
    QVERIFY(AbreBanco(g.gMsg, true, false, g.gErroAbertura));

    motor::Painel painel;
    QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Parada);
    // The run stops on the database's text; no good account fails as "not in
    // the chart", and the type has no status row.
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
    QVERIFY2(amb.dialogos.ultimo().contains(QStringLiteral("malformed")), qPrintable(amb.dialogos.ultimo()));
    QVERIFY(codigosDoRegistro(1).isEmpty());
    QVERIFY(situacao(8).isNull());
    QVERIFY(!QFile::exists(motor::caminhoCopiaAceita()));
}

void TstRobustez::copiaNoDiscoAntesDoNome_data()
{
    QTest::addColumn<bool>("copiaNaLeitura");   // false: the copy is made from the source at the end
    QTest::newRow("copia gravada na leitura") << true;
    QTest::newRow("copia feita da origem") << false;
}

void TstRobustez::copiaNoDiscoAntesDoNome()
{
    QFETCH(bool, copiaNaLeitura);
    Ambiente amb;
    Geral& g = geral();
    QList<duravel::Passo> passos;
    duravel::observar([&passos](const duravel::Passo& p) {
        passos << p;
        return 0;
    });
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));   // the template copy
    CONFERE(tabelaImportada(1, {{"1", "S"}, {"1.1", "S"}, {"1.1.0001", "A"}}));
    // Free pages, so the import's compaction replaces the database.
    QVERIFY(g.gConn->executar(QStringLiteral("CREATE TABLE sobra AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                             "SELECT i + 1 FROM n WHERE i < 5000) SELECT i, hex(randomblob(50)) FROM n")));
    QVERIFY(g.gConn->executar(QStringLiteral("DROP TABLE sobra")));
    CONFERE(prepararArquivo(amb, 8, saldoBom(), {Campos{}}, QStringLiteral("saldos.txt")));
    motor::Painel painel;
    bool ok = false;
    QString copia;
    if (copiaNaLeitura) {
        ok = motor::executarImportacao(painel) == motor::FimImportacao::Concluida;
        copia = motor::caminhoCopiaAceita();
    } else {
        ok = motor::Importar_Texto(copia) && motor::Importar_leiaute();
    }
    duravel::observar({});
    QVERIFY2(ok, qPrintable(g.gMsg));

    // Each name reached the disk only after its data: a flush of the
    // temporary file, the rename, then the folder.
    QStringList colocados;
    for (qsizetype i = 0; i < passos.size(); ++i) {
        if (passos.at(i).tipo != QLatin1String("renomear"))
            continue;
        QVERIFY(i >= 1 && i + 1 < passos.size());
        QCOMPARE(passos.at(i - 1).tipo, QStringLiteral("arquivo"));
        QCOMPARE(passos.at(i - 1).caminho, passos.at(i).caminho);
        QCOMPARE(passos.at(i + 1).tipo, QStringLiteral("pasta"));
        QCOMPARE(QFileInfo(passos.at(i + 1).caminho).absoluteFilePath(),
                 QFileInfo(passos.at(i).destino).absolutePath());
        colocados << QFileInfo(passos.at(i).destino).fileName();
    }
    QVERIFY2(colocados.contains(QFileInfo(copia).fileName()), qPrintable(colocados.join(u' ')));
    QVERIFY(colocados.contains(QFileInfo(motor::caminhoLay()).fileName()));
    // The template copy, and the compaction when the import ran.
    const qsizetype vezes = colocados.count(QFileInfo(caminhoBancoDeclaracao()).fileName());
    QVERIFY2(vezes >= (copiaNaLeitura ? 2 : 1), qPrintable(QString::number(vezes)));
    if (copiaNaLeitura) {   // the balances' Codconta index, built after the load
        const QString tabela = motor::nomeTabelaTipo(8);
        QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ?"),
                                  {tabela + QStringLiteral("_Codconta")}).toInt(), 1);
    }
    QFile f(copia);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QFile origem(g.gArquivoOrigem);
    QVERIFY(origem.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), origem.readAll());
}

void TstRobustez::falhaAoColocarNoLugar_data()
{
    QTest::addColumn<QString>("arquivo");   // "copia": the accepted copy; "lay": its .lay
    QTest::addColumn<QString>("passo");
    for (const char* arquivo : {"copia", "lay"})
        for (const char* passo : {"arquivo", "renomear", "pasta"})
            QTest::addRow("%s, %s", arquivo, passo) << QString::fromLatin1(arquivo) << QString::fromLatin1(passo);
}

void TstRobustez::falhaAoColocarNoLugar()
{
    QFETCH(QString, arquivo);
    QFETCH(QString, passo);
    Ambiente amb;
    CONFERE(saldosProntos(amb));
    const bool copia = arquivo == QLatin1String("copia");
    const QString destino = copia ? motor::caminhoCopiaAceita() : motor::caminhoLay();
    const QString temporario = copia ? motor::caminhoCopiaTemporaria() : destino + SufixoCopiaAceita;
    bool falhou = false;
    QString renomeado;
    {
        // The step of that file answers EIO, once.
        duravel::Observando o([&](const duravel::Passo& p) {
            bool este = false;
            if (p.tipo == passo && !falhou) {
                if (passo == QLatin1String("arquivo"))
                    este = p.caminho == temporario;
                else if (passo == QLatin1String("renomear"))
                    este = p.destino == destino;
                else
                    este = renomeado == destino;
            }
            if (p.tipo == QLatin1String("renomear"))
                renomeado = p.destino;
            falhou = falhou || este;
            return este ? EIO : 0;
        });
        motor::Painel painel;
        QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Parada);
    }
    QVERIFY(falhou);
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    const QString msg = amb.dialogos.ultimo();
    QVERIFY2(msg.startsWith(QStringLiteral("cod.erro 75\r\nmsg. Erro: Não foi possível gravar ") + destino + u':')
                 && msg.contains(duravel::textoErrno(EIO))
                 && msg.endsWith(copia ? QStringLiteral("(Importar_Texto)") : QStringLiteral("(Importar_leiaute)")),
             qPrintable(msg));
    // No status row stands for the file; no temporary is left. A name
    // renamed into place before its folder's sync failed stays there.
    QVERIFY(situacao(8).isNull());
    QVERIFY(!QFileInfo::exists(motor::caminhoCopiaTemporaria()));
    QVERIFY(!QFileInfo::exists(motor::caminhoLay() + SufixoCopiaAceita));
    QCOMPARE(QFileInfo::exists(destino), passo == QLatin1String("pasta"));
    if (copia)
        QVERIFY(!QFileInfo::exists(motor::caminhoLay()));
}

void TstRobustez::temporarioNaoSegueLink_data()
{
    QTest::addColumn<QString>("temporario");
    QTest::newRow("cópia aceita gravada na leitura") << "copia";
    QTest::newRow(".lay da cópia aceita") << "lay";
    QTest::newRow("Schema.ini da recarga") << "schema";
    QTest::newRow("cópia do modelo") << "modelo";
}

void TstRobustez::temporarioNaoSegueLink()
{
    QFETCH(QString, temporario);
    Ambiente amb;
    Geral& g = geral();
    QTemporaryDir fora;
    const QString alvo = fora.filePath(QStringLiteral("alheio.txt"));
    const QByteArray alheio = "arquivo de outra pasta\r\n";
    {
        QFile f(alvo);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(alheio) == alheio.size());
    }
    QString link;     // the temporary name
    QString pronto;   // the file put in place under its final name
    QByteArray esperado;
    if (temporario == QLatin1String("modelo")) {
        definirDeclaracao(86, Cnpj, Inicio, Fim);
        link = caminhoBancoDeclaracao() + SufixoCopiaModelo;
        QVERIFY(QFile::link(alvo, link));
        QVERIFY2(criarDeclaracao(86, Cnpj, Inicio, Fim), qPrintable(g.gMsg));
        pronto = caminhoBancoDeclaracao();
        QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbempresariosImportados")).toInt(), 1);
        QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbImportados")).toInt(), 0);
    } else if (temporario == QLatin1String("schema")) {
        QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
        g.gTipoArquivo = 6;
        QString msg;
        motor::Leiaute l;
        QVERIFY2(motor::copiarLeiautePadrao(msg) && motor::lerLeiaute(l, msg), qPrintable(msg));
        int tamanho = 0;
        for (const motor::CampoLeiaute& c : std::as_const(l.todos))
            tamanho = std::max(tamanho, c.posicao + c.tamanho - 1);
        const QByteArray lay = motor::textoLeiaute(l, tamanho);
        amb.escreverArquivo(validacao::nomeLayLancamentos(), lay);
        amb.escreverArquivo(validacao::nomeCopiaLancamentos(), QByteArray());
        pronto = amb.caminhoDados(QStringLiteral("Schema.ini"));
        link = pronto + QStringLiteral(".gravando");
        QVERIFY(QFile::link(alvo, link));
        QVERIFY2(validacao::Fun_Criar_arquivo_ini(), qPrintable(g.gMsg));
        QVERIFY(validacao::textoSchemaIni(lay, validacao::nomeCopiaLancamentos(), 86, esperado, msg));
        QCOMPARE(conteudo(pronto), esperado);
    } else {
        CONFERE(saldosProntos(amb));
        const bool copia = temporario == QLatin1String("copia");
        PainelPlantaLink painel;
        painel.alvo = alvo;
        if (copia) {
            link = painel.nome = motor::caminhoCopiaTemporaria();
            pronto = motor::caminhoCopiaAceita();
            esperado = conteudo(g.gArquivoOrigem);
        } else {
            pronto = motor::caminhoLay();
            link = pronto + SufixoCopiaAceita;
            QVERIFY(QFile::link(alvo, link));
            motor::Leiaute l;
            QString msg;
            QVERIFY2(motor::lerLeiaute(l, msg), qPrintable(msg));
            esperado = motor::textoLeiaute(l, g.gTamanhoARQ);
        }
        QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Concluida);
        QVERIFY(painel.nome.isEmpty());   // the link was planted
        QCOMPARE(situacao(8).toInt(), 90);
        QCOMPARE(conteudo(pronto), esperado);
        QVERIFY(amb.dialogos.mensagens.isEmpty());
    }
    // The file outside is untouched; the name holds a file of its own.
    QCOMPARE(conteudo(alvo), alheio);
    QVERIFY(!QFileInfo(link).isSymLink() && !QFileInfo::exists(link));
    QVERIFY(QFileInfo(pronto).isFile() && !QFileInfo(pronto).isSymLink());
}

QTEST_MAIN(TstRobustez)
#include "tst_robustez.moc"
