// Source file choice and the pre-check of the file against the layout.
#include "Ambiente.h"
#include "Nativos.h"

#include "import/PreChecagem.h"
#include "import/frmOrigemArquivo.h"
#include "platform/Formularios.h"
#include "platform/NomesNativos.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/ListasPastas.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TstOrigem : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void prechecagem_data();
    void prechecagem();
    void arquivosGrandes_data();
    void arquivosGrandes();
    void listaPastaEPadrao();
    void okSoDepoisDeEscolherArquivo();
    void okAbreImportacaoComOCaminhoEscolhido();
    void okRecusa_data();
    void okRecusa();
    void pastaRecusadaDeixaAPastaAberta();
    void midiaInacessivel();
    void voltarCancelarEAjuda();
    void tabPassaPelasListasAntesDosBotoes();
};

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");

// A stand-in for the import window, so the chain's next step can be seen.
class JanelaImportacaoTeste : public Formulario {
public:
    JanelaImportacaoTeste() { setObjectName(QStringLiteral("frmImportarArquivo")); }
};

// The class of a window shown modally; the stand-in answers for the import window.
QString nomeJanela(Formulario* f)
{
    if (dynamic_cast<JanelaImportacaoTeste*>(f))
        return QStringLiteral("frmImportarArquivo");
    return QString::fromLatin1(f->metaObject()->className());
}

void declaracao(int in, int tipo)
{
    QVERIFY(criarDeclaracao(qint16(in), Cnpj, QDate(2003, 1, 1), QDate(2003, 12, 31)));
    geral().gTipoArquivo = qint16(tipo);
}

// "codsequ:size,..." as the working layout of (gIN, tipo).
void leiaute(const QString& campos, int tipo = -1)
{
    Geral& g = geral();
    int inicio = 1;
    for (const QString& par : campos.split(u',', Qt::SkipEmptyParts)) {
        const QStringList p = par.split(u':');
        QVERIFY(g.gConn->executar(
            QStringLiteral("INSERT INTO TbleiauteDIG (codsequ, INarquivo, CNPJ, periodoinicial, periodofinal, "
                           "TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo)"
                           " VALUES (?,?,?,?,?,?,?,?,?,?,0,'ASCII')"),
            {p[0].toInt(), g.gIN, g.gCNPJ, dataDdmmaaaa(g.gPeriodoInicial), dataDdmmaaaa(g.gPeriodoFinal),
             tipo < 0 ? g.gTipoArquivo : tipo, QStringLiteral("Campo ") + p[0], QStringLiteral("C") + p[0], inicio,
             p[1].toInt()}));
        inicio += p[1].toInt();
    }
}

QByteArray registro(int n, char c = 'x')
{
    return QByteArray(n, c) + "\r\n";
}

QByteArray registros(int quantos, int n = 100)
{
    QByteArray r;
    for (int i = 0; i < quantos; ++i)
        r += registro(n, char('a' + i % 26));
    return r;
}

QString escrever(const QString& pasta, const QString& nome, const QByteArray& bytes)
{
    QDir().mkpath(pasta);
    const QString c = QDir(pasta).filePath(nome);
    QFile f(c);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return c;
}

// Lines of 100 bytes ending in LF alone; 102 of them fill a multiple of 102 bytes.
QByteArray linhasLF(int quantas)
{
    QByteArray r;
    for (int i = 0; i < quantas; ++i)
        r += QByteArray(100, 'q') + "\n";
    return r;
}

void clicarArquivo(QWidget* w, const QString& nome)
{
    auto* lista = w->findChild<QListWidget*>(QStringLiteral("flArquivo"));
    const QList<QListWidgetItem*> itens = lista->findItems(nome, Qt::MatchExactly);
    QVERIFY(!itens.isEmpty());
    lista->scrollToItem(itens.first());
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualItemRect(itens.first()).center());
}

} // namespace

using prechecagem::Resultado;

void TstOrigem::prechecagem_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<QString>("campos");
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<int>("esperado");
    QTest::addColumn<QString>("erro");  // start of gMsg for the error results

    const QString cem = QStringLiteral("1:8,2:3,3:89");
    QByteArray soltos = QByteArray(100, 'z');
    soltos[10] = '\r';
    soltos[20] = '\n';
    soltos[99] = '\r';
    soltos += "\r\n";

    QTest::newRow("510 bytes passa") << 68 << cem << registros(5) << int(Resultado::Aceito) << "";
    QTest::newRow("509 bytes") << 68 << cem << registros(5).chopped(1) << int(Resultado::TamanhoInvalido) << "";
    QTest::newRow("primeira linha de 99")
        << 68 << cem << registro(99) + registros(3) + registro(101) << int(Resultado::TamanhoInvalido) << "";
    QTest::newRow("primeira linha de 101")
        << 68 << cem << registro(101) + registros(3) + registro(99) << int(Resultado::TamanhoInvalido) << "";
    QTest::newRow("linhas terminadas só em LF")
        << 68 << cem << linhasLF(102) << int(Resultado::TamanhoInvalido) << "";
    QTest::newRow("sem CR LF no fim") << 68 << cem << registros(4) + QByteArray(100, 'f')
                                      << int(Resultado::TamanhoInvalido) << "";
    QTest::newRow("CR e LF soltos ficam no registro") << 68 << cem << soltos + registros(2) << int(Resultado::Aceito)
                                                      << "";
    QTest::newRow("vazio antes do leiaute") << 68 << "" << QByteArray() << int(Resultado::Vazio) << "";
    QTest::newRow("sem leiaute") << 86 << "" << registros(1) << int(Resultado::ErroLeiaute) << "cod.erro ";
    QTest::newRow("68 sem campo 2") << 68 << "1:8,3:92" << registros(2) << int(Resultado::ErroLeitura)
                                    << "cod.erro 3021\r\nmsg. Erro: ";
    QTest::newRow("86 sem campo 2") << 86 << "1:8,3:92" << registros(2) << int(Resultado::Aceito) << "";
}

void TstOrigem::prechecagem()
{
    QFETCH(int, in);
    QFETCH(QString, campos);
    QFETCH(QByteArray, conteudo);
    QFETCH(int, esperado);
    QFETCH(QString, erro);
    Ambiente amb;
    CONFERE(declaracao(in, 1));
    CONFERE(leiaute(campos));
    CONFERE(leiaute(QStringLiteral("1:10,2:10"), 2));  // another type's rows never count
    const QString arquivo = amb.escreverArquivo(QStringLiteral("Origem.txt"), conteudo);

    geral().gMsg.clear();
    QCOMPARE(int(prechecagem::verificar(arquivo)), esperado);
    if (esperado == int(Resultado::Aceito))
        QCOMPARE(geral().gTamanhoARQ, qint16(100));
    if (!erro.isEmpty())
        QVERIFY2(geral().gMsg.startsWith(erro), qPrintable(geral().gMsg));
    if (esperado == int(Resultado::ErroLeiaute))
        QVERIFY(geral().gMsg.endsWith(QStringLiteral(" (ERRO_Tamanho_Registro)")));
    if (esperado == int(Resultado::Vazio))
        QVERIFY(geral().gMsg.isEmpty());
}

void TstOrigem::arquivosGrandes_data()
{
    QTest::addColumn<qint64>("tamanho");
    QTest::addColumn<int>("esperado");
    const qint64 acima2GiB = 102LL * 21053762;  // first multiple of 102 past 2^31
    const qint64 acima4GiB = 102LL * 42107523;  // past 2^32
    QTest::newRow("mais de 2 GiB") << acima2GiB << int(Resultado::Aceito);
    QTest::newRow("mais de 2 GiB, um byte a mais") << acima2GiB + 1 << int(Resultado::TamanhoInvalido);
    QTest::newRow("mais de 4 GiB") << acima4GiB << int(Resultado::Aceito);
}

void TstOrigem::arquivosGrandes()
{
    QFETCH(qint64, tamanho);
    QFETCH(int, esperado);
    Ambiente amb;
    CONFERE(declaracao(68, 6));
    CONFERE(leiaute(QStringLiteral("1:8,2:92")));
    const QString arquivo = amb.escreverArquivo(QStringLiteral("grande.txt"), registro(100));
    {
        QFile f(arquivo);
        QVERIFY(f.resize(tamanho));
    }
    struct stat st {};
    QVERIFY(::stat(QFile::encodeName(arquivo).constData(), &st) == 0);
    if (qint64(st.st_blocks) * 512 > 64LL * 1024 * 1024)
        QSKIP("the file system does not keep sparse files");
    QCOMPARE(int(prechecagem::verificar(arquivo)), esperado);
}

void TstOrigem::listaPastaEPadrao()
{
    Ambiente amb;
    CONFERE(declaracao(68, 1));
    const QString pasta = amb.caminhoDados(QStringLiteral("Fontes"));
    for (const char* n : {"a.txt", "B.TXT", "c.Dec", "d.sov", "e.csv", "f.txt.bak", "g.SOV"})
        escrever(pasta, QString::fromLatin1(n), registros(1));
    QDir(pasta).mkpath(QStringLiteral("Sub Pasta"));
    escrever(QDir(pasta).filePath(QStringLiteral("Sub Pasta")), QStringLiteral("h.txt"), registros(1));
    geral().gDiretorio = pasta;

    auto* w = qobject_cast<frmOrigemArquivo*>(Formularios::carregar(QStringLiteral("frmOrigemArquivo")));
    QVERIFY(w);
    QCOMPARE(w->pasta(), pasta);
    QCOMPARE(w->arquivosListados(),
             (QStringList{QStringLiteral("a.txt"), QStringLiteral("B.TXT"), QStringLiteral("c.Dec"),
                          QStringLiteral("d.sov"), QStringLiteral("g.SOV")}));
    QCOMPARE(w->windowTitle(), QStringLiteral("Localizar Arquivo Plano de Contas Diário Geral"));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblCNPJ"))->text(), QStringLiteral("CNPJ: ") + Cnpj);
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblPeriodo"))->text(),
             QStringLiteral("Período: 01/01/2003 a 31/12/2003"));

    // The folder list goes into a subfolder on activation.
    auto* listaPastas = w->findChild<QListWidget*>(QStringLiteral("driDiretorio"));
    QListWidgetItem* sub = nullptr;
    for (int i = 0; i < listaPastas->count(); ++i)
        if (listaPastas->item(i)->text().trimmed() == u"Sub Pasta")
            sub = listaPastas->item(i);
    QVERIFY(sub);
    Q_EMIT listaPastas->itemActivated(sub);
    QCOMPARE(w->pasta(), QDir(pasta).filePath(QStringLiteral("Sub Pasta")));
    QCOMPARE(w->arquivosListados(), QStringList{QStringLiteral("h.txt")});

    // A last folder that no longer exists falls back to the program folder.
    Formularios::descarregar(w);
    geral().gDiretorio = amb.caminhoDados(QStringLiteral("sumiu"));
    w = qobject_cast<frmOrigemArquivo*>(Formularios::carregar(QStringLiteral("frmOrigemArquivo")));
    QCOMPARE(w->pasta(), QDir(pastas().programa).absolutePath());
}

void TstOrigem::okSoDepoisDeEscolherArquivo()
{
    Ambiente amb;
    CONFERE(declaracao(68, 1));
    const QString pasta = amb.caminhoDados(QStringLiteral("Fontes"));
    escrever(pasta, QStringLiteral("plano.txt"), registros(1));
    QDir(pasta).mkpath(QStringLiteral("outra"));
    geral().gDiretorio = pasta;
    auto* w = qobject_cast<frmOrigemArquivo*>(Formularios::carregar(QStringLiteral("frmOrigemArquivo")));
    auto* ok = w->findChild<QPushButton*>(QStringLiteral("cmdOk"));
    QVERIFY(!ok->isEnabled());
    CONFERE(clicarArquivo(w, QStringLiteral("plano.txt")));
    QVERIFY(ok->isEnabled());
    w->definirPasta(QDir(pasta).filePath(QStringLiteral("outra")));
    QVERIFY(!ok->isEnabled());
}

void TstOrigem::okAbreImportacaoComOCaminhoEscolhido()
{
    Ambiente amb;
    CONFERE(declaracao(86, 1));
    CONFERE(leiaute(QStringLiteral("1:8,3:28,5:1,6:28,7:35")));
    Formularios::registrar(QStringLiteral("frmImportarArquivo"), [] { return new JanelaImportacaoTeste; });
    QStringList mostradas;
    QString nomeNaAbertura;
    Formularios::definirGanchoModal([&](Formulario* f) {
        mostradas << nomeJanela(f);
        nomeNaAbertura = frmOrigemArquivo::NomeArquivoOrigem;
    });
    const QString pasta = amb.caminhoDados(QStringLiteral("Contábil 2003"));
    const QString arquivo = escrever(pasta, QStringLiteral("Plano Geral.TXT"), registros(3));
    geral().gDiretorio = pasta;

    auto* w = qobject_cast<frmOrigemArquivo*>(Formularios::carregar(QStringLiteral("frmOrigemArquivo")));
    CONFERE(clicarArquivo(w, QStringLiteral("Plano Geral.TXT")));
    w->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();

    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmImportarArquivo")});
    QVERIFY(!Formularios::carregado(w));
    const Geral& g = geral();
    QCOMPARE(g.gArquivoOrigem, arquivo);
    QVERIFY(QFile::exists(g.gArquivoOrigem));
    QCOMPARE(nomeNaAbertura, QStringLiteral("Plano Geral.TXT"));
    QCOMPARE(frmOrigemArquivo::NomeArquivoOrigem, QStringLiteral("Plano Geral.TXT"));
    QCOMPARE(g.gDiretorio, pasta);
    QCOMPARE(g.gTamanhoARQ, qint16(100));
}

void TstOrigem::okRecusa_data()
{
    QTest::addColumn<QString>("campos");
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<QString>("mensagem");  // "" for an error text in a critical box
    QTest::newRow("vazio") << "1:8,2:92" << QByteArray() << QStringLiteral("Arquivo vazio.");
    QTest::newRow("tamanho") << "1:8,2:92" << registros(2, 99)
                             << QStringLiteral("Arquivo inválido ou contém registros com tamanho em desacordo com o "
                                               "leiaute informado.");
    QTest::newRow("sem campo 2") << "1:8,3:92" << registros(2) << "";
}

void TstOrigem::okRecusa()
{
    QFETCH(QString, campos);
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, mensagem);
    Ambiente amb;
    CONFERE(declaracao(68, 3));
    CONFERE(leiaute(campos));
    Formularios::registrar(QStringLiteral("frmImportarArquivo"), [] { return new JanelaImportacaoTeste; });
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << nomeJanela(f); });
    const QString pasta = amb.caminhoDados(QStringLiteral("fontes"));
    const QString arquivo = escrever(pasta, QStringLiteral("centros.dec"), conteudo);
    geral().gDiretorio = pasta;

    auto* w = qobject_cast<frmOrigemArquivo*>(Formularios::carregar(QStringLiteral("frmOrigemArquivo")));
    CONFERE(clicarArquivo(w, QStringLiteral("centros.dec")));
    w->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();

    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    if (mensagem.isEmpty()) {
        QCOMPARE(amb.dialogos.mensagens[0].icone, dlg::Icone::Critico);
        QVERIFY(amb.dialogos.ultimo().startsWith(QStringLiteral("cod.erro ")));
    } else {
        QCOMPARE(amb.dialogos.ultimo(), mensagem);
        QCOMPARE(amb.dialogos.mensagens[0].icone, dlg::Icone::Nenhum);
    }
    QVERIFY(mostradas.isEmpty());
    QVERIFY(Formularios::carregado(w));
    // The choice is recorded even when the file is refused.
    QCOMPARE(geral().gArquivoOrigem, arquivo);
    QCOMPARE(frmOrigemArquivo::NomeArquivoOrigem, QStringLiteral("centros.dec"));
}

// A folder whose name cannot be used, opened with a double click after a
// file of the open folder was chosen: refused, and the lists still agree on
// the open folder, from which OK takes the file.
void TstOrigem::pastaRecusadaDeixaAPastaAberta()
{
    Ambiente amb;
    EsvaziaNativo limpeza(QFile::encodeName(amb.dados()));
    CONFERE(declaracao(68, 3));
    CONFERE(leiaute(QStringLiteral("1:8,2:92")));
    Formularios::registrar(QStringLiteral("frmImportarArquivo"), [] { return new JanelaImportacaoTeste; });
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << nomeJanela(f); });
    const QString pasta = amb.caminhoDados(QStringLiteral("fontes"));
    const QString arquivo = escrever(pasta, QStringLiteral("centros.txt"), registros(2));
    const QByteArray nome("Cont\xe1""bil");
    const QByteArray recusada = criarPastaNativa(QFile::encodeName(pasta), nome);
    escreverArquivoNativo(recusada, "outros.txt", registros(2));
    geral().gDiretorio = pasta;

    auto* w = qobject_cast<frmOrigemArquivo*>(Formularios::carregar(QStringLiteral("frmOrigemArquivo")));
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    CONFERE(clicarArquivo(w, QStringLiteral("centros.txt")));
    auto* listaPastas = w->findChild<QListWidget*>(QStringLiteral("driDiretorio"));
    const QList<QListWidgetItem*> itens = listaPastas->findItems(nomes::exibicao(nome), Qt::MatchExactly);
    QCOMPARE(itens.size(), 1);
    listaPastas->scrollToItem(itens.first());
    const QPoint ponto = listaPastas->visualItemRect(itens.first()).center();
    QTest::mouseClick(listaPastas->viewport(), Qt::LeftButton, {}, ponto);
    QCOMPARE(listaPastas->currentItem(), itens.first());
    QTest::mouseDClick(listaPastas->viewport(), Qt::LeftButton, {}, ponto);

    QCOMPARE(amb.dialogos.textos(), QStringList{nomes::textoRecusa(nomes::Tipo::Pasta, recusada)});
    QCOMPARE(w->pasta(), pasta);
    QCOMPARE(listas::caminhoDoItem(listaPastas->currentItem()), pasta);
    QCOMPARE(w->arquivosListados(), QStringList{QStringLiteral("centros.txt")});
    w->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmImportarArquivo")});
    QCOMPARE(geral().gArquivoOrigem, arquivo);
    QCOMPARE(amb.dialogos.textos().size(), 1);
}

void TstOrigem::midiaInacessivel()
{
    Ambiente amb;
    CONFERE(declaracao(68, 1));
    const QString pasta = amb.caminhoDados(QStringLiteral("Fontes"));
    QDir().mkpath(pasta);
    geral().gDiretorio = pasta;
    auto* w = qobject_cast<frmOrigemArquivo*>(Formularios::carregar(QStringLiteral("frmOrigemArquivo")));
    auto* unidades = w->findChild<QComboBox*>(QStringLiteral("DrvDRIVE"));
    QVERIFY(unidades->count() > 0);
    const QString antes = unidades->currentData().toString();
    unidades->addItem(QStringLiteral("/volume/ausente"), QStringLiteral("/volume/ausente"));
    unidades->setCurrentIndex(unidades->count() - 1);
    Q_EMIT unidades->activated(unidades->count() - 1);
    QCOMPARE(amb.dialogos.textos(), QStringList{QStringLiteral("Mídia não acessível.")});
    QCOMPARE(amb.dialogos.mensagens[0].icone, dlg::Icone::Critico);
    QCOMPARE(w->pasta(), pasta);
    QCOMPARE(unidades->currentData().toString(), antes);
}

void TstOrigem::voltarCancelarEAjuda()
{
    Ambiente amb;
    CONFERE(declaracao(68, 1));
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << nomeJanela(f); });
    const QString pasta = amb.caminhoDados(QStringLiteral("Fontes"));
    QDir(pasta).mkpath(QStringLiteral("Ultima"));

    geral().gDiretorio = pasta;
    auto* w = qobject_cast<frmOrigemArquivo*>(Formularios::carregar(QStringLiteral("frmOrigemArquivo")));
    w->findChild<QPushButton*>(QStringLiteral("cmdAjuda"))->click();
    QCOMPARE(amb.ajudas, QList<int>{ajuda::frmOrigemArquivo});
    w->findChild<QPushButton*>(QStringLiteral("Voltar"))->click();
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmLeiaute")});
    QVERIFY(!Formularios::carregado(w));
    Formularios::descarregarTodos();

    mostradas.clear();
    w = qobject_cast<frmOrigemArquivo*>(Formularios::carregar(QStringLiteral("frmOrigemArquivo")));
    const QString ultima = QDir(pasta).filePath(QStringLiteral("Ultima"));
    w->definirPasta(ultima);
    w->findChild<QPushButton*>(QStringLiteral("cmdCancelar"))->click();
    QVERIFY(!Formularios::carregado(w));
    QVERIFY(mostradas.isEmpty());
    QCOMPARE(geral().gDiretorio, ultima);
    // The next visit starts there.
    w = qobject_cast<frmOrigemArquivo*>(Formularios::carregar(QStringLiteral("frmOrigemArquivo")));
    QCOMPARE(w->pasta(), ultima);
}

void TstOrigem::tabPassaPelasListasAntesDosBotoes()
{
    Ambiente amb;
    CONFERE(declaracao(86, 1));
    auto* w = qobject_cast<frmOrigemArquivo*>(Formularios::carregar(QStringLiteral("frmOrigemArquivo")));
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->findChild<QWidget*>(QStringLiteral("DrvDRIVE"))->setFocus();
    QStringList caminho;
    for (int i = 0; i < 4; ++i) {
        caminho << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(caminho, (QStringList{QStringLiteral("DrvDRIVE"), QStringLiteral("driDiretorio"),
                                   QStringLiteral("flArquivo"), QStringLiteral("Voltar")}));
    w->hide();
}

QTEST_MAIN(TstOrigem)
#include "tst_origem.moc"
