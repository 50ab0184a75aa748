// The import run: the window frmImportarArquivo, the status row, the
// accepted copy and the transitions to the next windows.
#include "Ambiente.h"

#include "import/frmImportarArquivo.h"
#include "import/frmOrigemArquivo.h"
#include "import/motor/Motor.h"
#include "platform/Digesto.h"
#include "platform/Formularios.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TstImportar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void situacaoECopia_data();
    void situacaoECopia();
    void copiaDeVariosBlocos();
    void duasVezesSeguidas();
    void nomesDosArquivos();
    void janelaAoCarregar();
    void arquivoInexistente();
    void importarAbreResultado();
    void tamanhoErradoVoltaAOrigem();
    void cancelarDuranteAExecucao();
    void fecharDuranteAExecucao();
    void errosDoTipoSoSaemNaExecucao();
    void falhaAoGravarErroParaTudo();
    void compactacaoFalhaSemParar();
};

namespace {

const QString Cnpj = QStringLiteral("99.999.999/9999-99");

// A cost-centre record of instruction 68 (date, table, code, description).
QByteArray custo(const QByteArray& tabela, const QByteArray& codigo, const QByteArray& descricao)
{
    return QByteArray("01012005") + tabela.leftJustified(3, ' ') + codigo.leftJustified(28, ' ')
        + descricao.leftJustified(50, ' ') + "\r\n";
}

const QByteArray Limpo = custo("003", "C1", "Centro um") + custo("003", "C2", "Centro dois");
const QByteArray ComErro = custo("003", "C1", "Centro um") + custo("002", "C2", "Centro dois");

void preparar(Ambiente& amb, const QByteArray& bytes)
{
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    Geral& g = geral();
    g.gTipoArquivo = 3;
    QString msg;
    QVERIFY(motor::copiarLeiautePadrao(msg));
    g.gTamanhoARQ = 89;
    g.gArquivoOrigem = amb.escreverArquivo(QStringLiteral("Centros.txt"), bytes);
    frmOrigemArquivo::NomeArquivoOrigem = QStringLiteral("Centros.txt");
}

QVariantList linhaSituacao()
{
    QSqlQuery q(geral().gConn->banco());
    q.exec(QStringLiteral("SELECT Situacao, RegLidos, RegCorretos, RegErros, NomeArquivo, ArquivoGerado, "
                          "periodoinicial FROM tbImportados WHERE Tipo = 3"));
    QVariantList r;
    if (q.next())
        for (int i = 0; i < 7; ++i)
            r << q.value(i);
    if (q.next())
        r << QStringLiteral("duplicada");
    return r;
}

frmImportarArquivo* abrirJanela()
{
    return qobject_cast<frmImportarArquivo*>(Formularios::carregar(QStringLiteral("frmImportarArquivo")));
}

QPushButton* botao(QWidget* w, const char* nome)
{
    return w->findChild<QPushButton*>(QLatin1String(nome));
}

} // namespace

void TstImportar::situacaoECopia_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("situacao");
    QTest::addColumn<bool>("copia");
    QTest::newRow("limpo") << Limpo << 90 << true;
    QTest::newRow("com erros") << ComErro << 777 << false;
}

void TstImportar::situacaoECopia()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, situacao);
    QFETCH(bool, copia);
    Ambiente amb;
    CONFERE(preparar(amb, bytes));
    motor::Painel painel;
    QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Concluida);
    const QString caminho = amb.caminhoDados(QStringLiteral("99999999999999-TOBRI-03-2005010120051231.imp"));
    const QVariantList esperado{situacao, 2, copia ? 2 : 1, copia ? 0 : 1, copia ? caminho : QStringLiteral(" "),
                                QStringLiteral(" "), QStringLiteral("2005-01-01")};
    QCOMPARE(linhaSituacao(), esperado);
    QCOMPARE(QFile::exists(caminho), copia);
    QCOMPARE(QFile::exists(motor::caminhoLay()), copia);
    QVERIFY(!QFile::exists(motor::caminhoCopiaTemporaria()));
    if (copia) {
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes);
    }
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstImportar::copiaDeVariosBlocos()
{
    // Several of the reader's blocks of 91-byte records: records straddle
    // the blocks' ends.
    Ambiente amb;
    QByteArray bytes;
    qint64 registros = 0;
    while (bytes.size() < 3 * motor::BlocoLeitura + motor::BlocoLeitura / 2) {
        const QByteArray n = QByteArray::number(++registros);
        bytes += custo("003", "C" + n, "Centro " + n);
    }
    CONFERE(preparar(amb, bytes));
    motor::Painel painel;
    QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Concluida);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QSqlQuery q(geral().gConn->banco());
    QVERIFY(q.exec(QStringLiteral("SELECT Situacao, RegLidos, DigestoCopia FROM tbImportados WHERE Tipo = 3")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 90);
    QCOMPARE(q.value(1).toLongLong(), registros);
    // The digest kept is that of the whole file, as the copy holds it.
    QCOMPARE(q.value(2).toString(), digesto::de(bytes));
    QFile f(motor::caminhoCopiaAceita());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll() == bytes);
}

void TstImportar::duasVezesSeguidas()
{
    Ambiente amb;
    CONFERE(preparar(amb, ComErro));
    motor::Painel painel;
    QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Concluida);
    QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Concluida);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QCOMPARE(linhaSituacao().size(), 7);
    // The second run's error rows replace the first run's.
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM tbDetalheErros")).toInt(), 1);
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT QuantidadeReg FROM TbErrosImportacao")).toInt(), 1);
}

void TstImportar::nomesDosArquivos()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    geral().gTipoArquivo = 6;
    QCOMPARE(motor::caminhoCopiaAceita(), amb.caminhoDados(QStringLiteral("99999999999999-TOBRI-06-2005010120051231.txt")));
    geral().gTipoArquivo = 9;
    QCOMPARE(motor::caminhoCopiaAceita(), amb.caminhoDados(QStringLiteral("99999999999999-TOBRI-09-2005010120051231.imp")));
    QCOMPARE(motor::caminhoLay(), amb.caminhoDados(QStringLiteral("99999999999999-TOBRI-09-2005010120051231.lay")));
}

void TstImportar::janelaAoCarregar()
{
    Ambiente amb;
    CONFERE(preparar(amb, Limpo));
    frmImportarArquivo* w = abrirJanela();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Importar Arquivo Centro de Custos"));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblCNPJ"))->text(), Cnpj);
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblperiodo"))->text(), QStringLiteral("01/01/2005 a 31/12/2005"));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("LblNomeArquivo"))->text(), QStringLiteral("Arquivo: Centros.txt"));
    QCOMPARE(geral().gFormAtivo.data(), static_cast<QWidget*>(w));
    QVERIFY(botao(w, "cmdOk")->isEnabled());
    QVERIFY(!botao(w, "cmdCancelar")->isEnabled());
    QCOMPARE(botao(w, "cmdOk")->text(), QStringLiteral("&Importar"));
    botao(w, "cmdAjuda")->click();
    QCOMPARE(amb.ajudas, QList<int>{ajuda::frmImportarArquivo});
}

void TstImportar::arquivoInexistente()
{
    Ambiente amb;
    CONFERE(preparar(amb, Limpo));
    frmImportarArquivo* w = abrirJanela();
    QFile::remove(geral().gArquivoOrigem);
    botao(w, "cmdOk")->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{QStringLiteral("Arquivo solicitado inexistente.")});
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Nenhum);
    QVERIFY(botao(w, "cmdOk")->isEnabled());
    QVERIFY(!botao(w, "cmdCancelar")->isEnabled());
    QVERIFY(linhaSituacao().isEmpty());
}

void TstImportar::importarAbreResultado()
{
    Ambiente amb;
    CONFERE(preparar(amb, Limpo));
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << QString::fromLatin1(f->metaObject()->className()); });
    frmImportarArquivo* w = abrirJanela();
    QPointer<frmImportarArquivo> guarda(w);
    botao(w, "cmdOk")->click();
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmResultadoImportacao")});
    QVERIFY(!Formularios::carregado(guarda.data()));
    QCOMPARE(linhaSituacao().value(0).toInt(), 90);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstImportar::tamanhoErradoVoltaAOrigem()
{
    Ambiente amb;
    CONFERE(preparar(amb, Limpo + custo("003", "C3", "Centro").chopped(3) + "\r\n"));
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << QString::fromLatin1(f->metaObject()->className()); });
    frmImportarArquivo* w = abrirJanela();
    QPointer<frmImportarArquivo> guarda(w);
    botao(w, "cmdOk")->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{motor::TextoTamanhoErrado});
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmOrigemArquivo")});
    QVERIFY(!Formularios::carregado(guarda.data()));
    QVERIFY(linhaSituacao().isEmpty());
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM tbDetalheErros")).toInt(), 0);
}

void TstImportar::cancelarDuranteAExecucao()
{
    Ambiente amb;
    CONFERE(preparar(amb, Limpo));
    frmImportarArquivo* w = abrirJanela();
    // Pressed while the first compaction lets the event loop run.
    QTimer::singleShot(0, w, [w] { botao(w, "cmdCancelar")->click(); });
    botao(w, "cmdOk")->click();
    QVERIFY(Formularios::carregado(w));
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QVERIFY(linhaSituacao().isEmpty());
    QVERIFY(botao(w, "cmdOk")->isEnabled());
    QVERIFY(botao(w, "cmdVoltar")->isEnabled());
    QVERIFY(!botao(w, "cmdCancelar")->isEnabled());
    QCOMPARE(w->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value(), 0);
    QVERIFY(!QFile::exists(motor::caminhoCopiaTemporaria()));

    // The next Importar runs in full.
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << QString::fromLatin1(f->metaObject()->className()); });
    botao(w, "cmdOk")->click();
    QCOMPARE(linhaSituacao().value(0).toInt(), 90);
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmResultadoImportacao")});
}

void TstImportar::fecharDuranteAExecucao()
{
    Ambiente amb;
    CONFERE(preparar(amb, Limpo));
    frmImportarArquivo* w = abrirJanela();
    QPointer<frmImportarArquivo> guarda(w);
    w->show();
    QTimer::singleShot(0, w, [w] { w->close(); });
    botao(w, "cmdOk")->click();
    QVERIFY(!Formularios::carregado(guarda.data()));
    QVERIFY(linhaSituacao().isEmpty());
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstImportar::errosDoTipoSoSaemNaExecucao()
{
    Ambiente amb;
    CONFERE(preparar(amb, ComErro));
    motor::Painel painel;
    QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Concluida);
    const QString conta = QStringLiteral("SELECT count(*) FROM tbDetalheErros WHERE TipoArquivo = 3");
    QCOMPARE(geral().gConn->escalar(conta).toInt(), 1);
    // Loading the window keeps the last run's error list.
    abrirJanela();
    QCOMPARE(geral().gConn->escalar(conta).toInt(), 1);
    amb.escreverArquivo(QStringLiteral("Centros.txt"), Limpo);
    Formularios::definirGanchoModal([](Formulario*) {});
    botao(Formularios::obter(QStringLiteral("frmImportarArquivo")), "cmdOk")->click();
    QCOMPARE(geral().gConn->escalar(conta).toInt(), 0);
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM TbErrosImportacao")).toInt(), 0);
}

void TstImportar::falhaAoGravarErroParaTudo()
{
    Ambiente amb;
    CONFERE(preparar(amb, custo("002", "C1", "Um") + custo("002", "C2", "Dois") + custo("002", "C3", "Tres")));
    QVERIFY(geral().gConn->executar(QStringLiteral(
        "CREATE TRIGGER falha BEFORE INSERT ON TbErrosImportacao BEGIN SELECT RAISE(ABORT, 'sem espaço'); END")));
    frmImportarArquivo* w = abrirJanela();
    QPointer<frmImportarArquivo> guarda(w);
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << QString::fromLatin1(f->metaObject()->className()); });
    botao(w, "cmdOk")->click();
    // Grava_erro showed its text and closed the window; nothing ran after it.
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QVERIFY(amb.dialogos.ultimo().endsWith(QStringLiteral("(Grava_erro)")));
    QVERIFY(!Formularios::carregado(guarda.data()));
    QVERIFY(mostradas.isEmpty());
    QCOMPARE(geral().gRegLidos, 1.0);
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM tbDetalheErros")).toInt(), 1);
    QVERIFY(linhaSituacao().isEmpty());
}

void TstImportar::compactacaoFalhaSemParar()
{
    Ambiente amb;
    CONFERE(preparar(amb, Limpo));
    // Free pages, so that there is something to compact.
    Geral& g = geral();
    QVERIFY(g.gConn->executar(QStringLiteral("CREATE TABLE t (x TEXT)")));
    for (int i = 0; i < 50; ++i)
        QVERIFY(g.gConn->executar(QStringLiteral("INSERT INTO t VALUES (?)"), {QString(1000, u'x')}));
    QVERIFY(g.gConn->executar(QStringLiteral("DROP TABLE t")));
    // Something in the scratch file's place: no compaction can write it.
    QVERIFY(QDir(amb.dados()).mkdir(QStringLiteral("tobriv1Tmp.mdb")));
    motor::Painel painel;
    QCOMPARE(motor::executarImportacao(painel), motor::FimImportacao::Concluida);
    QCOMPARE(linhaSituacao().value(0).toInt(), 90);
    QVERIFY(QFile::exists(amb.caminhoDados(QStringLiteral("99999999999999-TOBRI-03-2005010120051231.imp"))));
    // A failed compaction says why, and the database stays in use.
    QVERIFY(!amb.dialogos.mensagens.isEmpty());
    for (const auto& m : amb.dialogos.mensagens)
        QVERIFY2(m.texto.endsWith(QStringLiteral("(Fun_CompactaBanco)")), qPrintable(m.texto));
    QVERIFY(g.gConn && g.gConn->aberta());
}

QTEST_MAIN(TstImportar)
#include "tst_importar.moc"
