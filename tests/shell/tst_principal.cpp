#include "Ambiente.h"

#include "platform/Formularios.h"
#include "platform/Impressoras.h"
#include "platform/Pastas.h"
#include "reports/Relatorio.h"
#include "shell/Geral.h"
#include "shell/Menus.h"
#include "shell/frmAbertura.h"
#include "shell/frmPrincipalValidacao.h"
#include "shell/frmSobre.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");

// Items and buttons that need a registered declaration.
const QStringList ItensDeclaracao = {
    "mnuImportarArquivo", "mnuValidacao", "mnuVerifica", "mnuGravar",
    "mnuVisualiza", "mnuVisualizaValidacao", "mnuExcluirArquivo", "mnuImprimir",
};
const QList<int> BotoesDeclaracao = {3, 4, 6, 8};
// Items and buttons that DesabilitaMenus locks.
const QStringList ItensArquivo = ItensDeclaracao + QStringList{"mnuAbrir", "mnuConfigurarImpressao"};
const QList<int> BotoesArquivo = {2, 3, 4, 6, 8, 10};

const QStringList TodosOsItens = {
    "mnuAbrir", "mnuImportarArquivo", "mnuValidacao", "mnuVerifica", "mnuGravar", "mnuVisualiza",
    "mnuVisualizaValidacao", "mnuExcluirArquivo", "mnuImprimir", "mnuConfigurarImpressao", "mnuSair",
    "mnuConteudo", "mnuInstr_Preenchimento", "mnuSobre",
};
const QList<int> TodosOsBotoes = {2, 3, 4, 6, 8, 10, 12, 14};

// A stand-in work window: counts its loads and unloads and remembers the
// operation code it saw.
class JanelaTeste : public Formulario {
public:
    static inline int descarregadas = 0;
    // The last one made (factories outlive the test that registers them,
    // so they must not hold on to its locals).
    static inline QPointer<JanelaTeste> ultima;
    JanelaTeste() { ultima = this; }
    qint16 operacaoNaCarga = -1;
    void Form_Load() override { operacaoNaCarga = geral().gOperacao; }
    void Form_Unload() override { ++descarregadas; }
};

void registrarTeste(const QString& nome, std::function<void(JanelaTeste*)> aoCarregar = {})
{
    Formularios::registrar(nome, [aoCarregar] {
        auto* j = new JanelaTeste;
        if (aoCarregar)
            aoCarregar(j);
        return j;
    });
}

// A stand-in window registered under `nome` and loaded.
Formulario* carregarTeste(const QString& nome)
{
    registrarTeste(nome);
    return Formularios::carregar(nome);
}

// The splash and the main window, loaded as at start-up.
frmPrincipalValidacao* abrirPrincipal()
{
    Formularios::adicionar(new frmAbertura);
    auto* p = new frmPrincipalValidacao;
    Formularios::adicionar(p);
    if (!p->Form_Load())
        return nullptr;
    return p;
}

bool criarUmaDeclaracao()
{
    return criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31));
}

// Enabled state of every item and button, as "name=0/1".
QStringList estado(frmPrincipalValidacao* p)
{
    QStringList r;
    for (const QString& n : TodosOsItens)
        r << n + (p->item(n)->isEnabled() ? "=1" : "=0");
    for (int i : TodosOsBotoes)
        r << QString::number(i) + (p->botao(i)->isEnabled() ? "=1" : "=0");
    return r;
}

QStringList estadoEsperado(const QStringList& itensDesligados, const QList<int>& botoesDesligados)
{
    QStringList r;
    for (const QString& n : TodosOsItens)
        r << n + (itensDesligados.contains(n) ? "=0" : "=1");
    for (int i : TodosOsBotoes)
        r << QString::number(i) + (botoesDesligados.contains(i) ? "=0" : "=1");
    return r;
}

// What the register test leaves: every item on with a declaration, the
// declaration's items off without one.
QStringList estadoDoRegistro(bool comDeclaracao)
{
    return comDeclaracao ? estadoEsperado({}, {}) : estadoEsperado(ItensDeclaracao, BotoesDeclaracao);
}

} // namespace

class TstPrincipal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { JanelaTeste::descarregadas = 0; }
    void janelasCarregadasRegistradas();
    void cleanup() { Formularios::definirGanchoModal(nullptr); }
    void menusEBarra();
    void estadoConformeRegistro_data();
    void estadoConformeRegistro();
    void novoHabilitaItens();
    void desabilitaEHabilitaMenus();
    void fechaFormulariosMantemAberturaEPrincipal();
    void janelaMaiorQueAreaAlcancavel();
    void comandos_data();
    void comandos();
    void comandoNaoAbre_data();
    void comandoNaoAbre();
    void imprimirSemImpressora();
    void configurarImpressaoNaoFechaJanelas();
    void iconesDesabilitadosSeDistinguem();
    void configurarImpressaoValeParaORelatorio();
    void vincular_data();
    void vincular();
    void sair_data();
    void sair();
    void ajuda();
    void sobre_data();
    void sobre();
};

void TstPrincipal::menusEBarra()
{
    Ambiente amb;
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    QCOMPARE(p->windowTitle(), QStringLiteral("Tobri - Arquivos Contábeis"));
    QCOMPARE(Formularios::areaMdi(), p->MDI);

    auto listar = [](QMenu* m) {
        QStringList r;
        for (QAction* a : m->actions())
            r << a->objectName() + u'|' + (a->isSeparator() ? QStringLiteral("-") : a->text());
        return r;
    };
    QCOMPARE(p->mnuArquivo->title(), QStringLiteral("&Arquivo"));
    QCOMPARE(listar(p->mnuArquivo), QStringList({
        "mnuAbrir|&Novo...",
        "mnuImportarArquivo|&Abrir...",
        "mnuValidacao|Va&lidar...",
        "mnuVerifica|Verificar P&endências...",
        "mnuGravar|&Gravar Arquivo para entrega à ORV...",
        "mnuVisualiza|Visualizar &Resultado da Importação...",
        "mnuVisualizaValidacao|Visualizar Resultado da Validação...",
        "mnuSeparador1|-",
        "mnuExcluirArquivo|E&xcluir...",
        "mnuSeparador3|-",
        "mnuImprimir|Imprimir Relatório &de Acompanhamento...",
        "mnuConfigurarImpressao|Configurar Im&pressão...",
        "mnuSeparador6|-",
        "mnuSair|&Sair",
    }));
    QCOMPARE(p->mnuAjuda->title(), QStringLiteral("A&juda"));
    QCOMPARE(listar(p->mnuAjuda), QStringList({
        "mnuConteudo|&Conteúdo",
        "mnuSeparador7|-",
        "mnuInstr_Preenchimento|Instruções de &Preenchimento",
        "mnuSeparador8|-",
        "mnuSobre|&Sobre o Tobri Contábeis",
    }));

    QStringList barra;
    for (int i = 1; i <= 14; ++i) {
        QAction* a = p->botao(i);
        QCOMPARE(p->Toolbar1->actions().at(i - 1), a);
        barra << QString::number(i) + u'|'
                + (a->isSeparator() ? QStringLiteral("-") : a->objectName() + u'|' + a->toolTip());
        if (!a->isSeparator())
            QVERIFY(!a->icon().isNull());
    }
    QCOMPARE(barra, QStringList({
        "1|-", "2||Novo", "3|btAbrir|Abrir", "4|btVerificar|Verificar Pendências", "5|-",
        "6|btGravar|Gravar Arquivo para entrega à SOV", "7|-", "8|tbExcluir|Excluir", "9|-",
        "10|btImprimir|Imprimir  relatório de acompanhamento", "11|-", "12|btAjuda|Ajuda do programa", "13|-",
        "14|btSair|Sair do Programa",
    }));
    // The linking command has no item or button.
    QVERIFY(!p->findChild<QAction*>(QStringLiteral("mnuVincular")));
}

void TstPrincipal::estadoConformeRegistro_data()
{
    QTest::addColumn<bool>("comDeclaracao");
    QTest::newRow("cadastro vazio") << false;
    QTest::newRow("uma declaração") << true;
}

void TstPrincipal::estadoConformeRegistro()
{
    QFETCH(bool, comDeclaracao);
    Ambiente amb;
    if (comDeclaracao)
        QVERIFY(criarUmaDeclaracao());
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    // Load leaves gConn on the register.
    QCOMPARE(geral().gConn->caminho(), caminhoRegistro());
    QCOMPARE(estado(p), estadoDoRegistro(comDeclaracao));
    QCOMPARE(Verifica_EmpresariosImportados(), comDeclaracao);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstPrincipal::novoHabilitaItens()
{
    Ambiente amb;
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    registrarTeste(QStringLiteral("frmDadosContribuinte"));
    qint16 operacaoAoMostrar = 0;
    Formularios::definirGanchoModal([&](Formulario* f) {
        operacaoAoMostrar = geral().gOperacao;
        // The window registers the first declaration and only hides itself.
        QVERIFY(criarUmaDeclaracao());
        f->hide();
    });
    p->item(QStringLiteral("mnuAbrir"))->trigger();
    QPointer<JanelaTeste> novo = JanelaTeste::ultima;
    QVERIFY(novo);
    QCOMPARE(novo->operacaoNaCarga, qint16(1));
    QCOMPARE(operacaoAoMostrar, qint16(1));
    QVERIFY(Formularios::carregado(novo));
    QCOMPARE(estado(p), estadoEsperado({}, {}));
}

void TstPrincipal::desabilitaEHabilitaMenus()
{
    Ambiente amb;
    QVERIFY(criarUmaDeclaracao());
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    DesabilitaMenus();
    QCOMPARE(estado(p), estadoEsperado(ItensArquivo, BotoesArquivo));
    // Separators are not touched.
    QVERIFY(p->item(QStringLiteral("mnuSeparador1"))->isEnabled());
    HabilitaMenus();
    QCOMPARE(estado(p), estadoEsperado({}, {}));
    p->item(QStringLiteral("mnuSair"))->setEnabled(false);
    HabilitaMenus();
    QVERIFY(p->item(QStringLiteral("mnuSair"))->isEnabled());
}

void TstPrincipal::fechaFormulariosMantemAberturaEPrincipal()
{
    Ambiente amb;
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    QVERIFY(carregarTeste(QStringLiteral("frmA")));
    QVERIFY(carregarTeste(QStringLiteral("frmB")));
    QCOMPARE(Formularios::quantidade(), 4);
    Fecha_Formularios();
    QCOMPARE(JanelaTeste::descarregadas, 2);
    const QList<QWidget*> restam = Formularios::carregados();
    QCOMPARE(restam.size(), 2);
    QVERIFY(qobject_cast<frmAbertura*>(restam.at(0)));
    QCOMPARE(restam.at(1), p);
    Fecha_Formularios();
    QCOMPARE(Formularios::quantidade(), 2);
}

// A shrunken main window keeps a larger work window within reach: the
// work area scrolls to its far corner instead of cutting it off.
void TstPrincipal::janelaMaiorQueAreaAlcancavel()
{
    Ambiente amb;
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    p->show();
    Formulario* f = carregarTeste(QStringLiteral("frmGrande"));
    QVERIFY(f);
    Formularios::mostrarNaoModal(f);
    f->parentWidget()->resize(900, 600);
    p->resize(500, 350);
    QTRY_VERIFY(p->MDI->horizontalScrollBar()->isVisible());
    QTRY_VERIFY(p->MDI->verticalScrollBar()->isVisible());
    QVERIFY(p->MDI->horizontalScrollBar()->maximum() > 0);
    QVERIFY(p->MDI->verticalScrollBar()->maximum() > 0);
    Fecha_Formularios();
}

void TstPrincipal::comandos_data()
{
    QTest::addColumn<QString>("comando");  // slot name, or the toolbar index
    QTest::addColumn<QString>("janela");
    QTest::addColumn<int>("operacao");     // 0: the command sets none
    QTest::addColumn<bool>("recalcula");

    QTest::newRow("Abrir") << "mnuImportarArquivo_Click" << "frmAbrirArquivo" << 2 << true;
    QTest::newRow("Validar") << "mnuValidacao_Click" << "frmValidarArquivo" << 0 << false;
    QTest::newRow("Verificar") << "mnuVerifica_Click" << "frmVerificar" << 0 << true;
    QTest::newRow("Gravar") << "mnuGravar_Click" << "frmGravacao" << 0 << true;
    QTest::newRow("Visualizar importação") << "mnuVisualiza_Click" << "frmVisualiza" << 0 << false;
    QTest::newRow("Visualizar validação") << "mnuVisualizaValidacao_Click" << "frmVisualizarValidacao" << 0 << true;
    QTest::newRow("Excluir") << "mnuExcluirArquivo_Click" << "frmExcluirArquivo" << 8 << true;
    QTest::newRow("Imprimir") << "mnuImprimir_Click" << "frmAcompanhamento" << 0 << true;
    QTest::newRow("botão 3") << "3" << "frmAbrirArquivo" << 2 << true;
    QTest::newRow("botão 4") << "4" << "frmVerificar" << 0 << true;
    QTest::newRow("botão 6") << "6" << "frmGravacao" << 0 << true;
    QTest::newRow("botão 8") << "8" << "frmExcluirArquivo" << 8 << true;
    QTest::newRow("botão 10") << "10" << "frmAcompanhamento" << 0 << true;
}

void TstPrincipal::comandos()
{
    QFETCH(QString, comando);
    QFETCH(QString, janela);
    QFETCH(int, operacao);
    QFETCH(bool, recalcula);

    Ambiente amb;
    QVERIFY(criarUmaDeclaracao());
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    QPointer<Formulario> outra = carregarTeste(QStringLiteral("frmOutra"));
    registrarTeste(janela);
    QPointer<JanelaTeste> trabalho;
    geral().gOperacao = 99;

    int mostradas = 0;
    qint16 operacaoAoMostrar = 0;
    Formularios::definirGanchoModal([&](Formulario* f) {
        ++mostradas;
        trabalho = JanelaTeste::ultima;
        QCOMPARE(f, trabalho.data());
        // The other windows were closed first.
        QVERIFY(!Formularios::carregado(outra));
        operacaoAoMostrar = geral().gOperacao;
        // As a chain that ends in the results navigator does.
        DesabilitaMenus();
    });

    bool numero = false;
    const int indice = comando.toInt(&numero);
    if (numero)
        p->botao(indice)->trigger();
    else
        QVERIFY(QMetaObject::invokeMethod(p, comando.toLatin1().constData()));

    QCOMPARE(mostradas, 1);
    QVERIFY(trabalho);
    // The operation is set after the load and before the show.
    QCOMPARE(trabalho->operacaoNaCarga, qint16(99));
    QCOMPARE(operacaoAoMostrar, qint16(operacao == 0 ? 99 : operacao));
    QVERIFY(!Formularios::carregado(trabalho));
    QCOMPARE(JanelaTeste::descarregadas, 2);
    // The register test enables the declaration's items again; "&Novo..."
    // and printer setup wait for HabilitaMenus.
    QCOMPARE(estado(p), recalcula ? estadoEsperado({"mnuAbrir", "mnuConfigurarImpressao"}, {2, 10})
                                  : estadoEsperado(ItensArquivo, BotoesArquivo));
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstPrincipal::comandoNaoAbre_data()
{
    QTest::addColumn<QString>("comando");
    QTest::addColumn<QString>("janela");
    QTest::addColumn<bool>("comDeclaracao");
    QTest::newRow("Abrir, cadastro vazio") << "mnuImportarArquivo_Click" << "frmAbrirArquivo" << false;
    QTest::newRow("Excluir, cadastro vazio") << "mnuExcluirArquivo_Click" << "frmExcluirArquivo" << false;
    QTest::newRow("Imprimir, cadastro vazio") << "mnuImprimir_Click" << "frmAcompanhamento" << false;
}

void TstPrincipal::comandoNaoAbre()
{
    QFETCH(QString, comando);
    QFETCH(QString, janela);
    QFETCH(bool, comDeclaracao);

    Ambiente amb;
    if (comDeclaracao)
        QVERIFY(criarUmaDeclaracao());
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    if (!janela.isEmpty())
        registrarTeste(janela);
    QVERIFY(carregarTeste(QStringLiteral("frmOutra")));
    // Every item on, so the register test shows in the state.
    HabilitaMenus();
    int mostradas = 0;
    Formularios::definirGanchoModal([&](Formulario*) { ++mostradas; });

    QVERIFY(QMetaObject::invokeMethod(p, comando.toLatin1().constData()));

    QCOMPARE(mostradas, 0);
    QCOMPARE(Formularios::quantidade(), 2);
    QCOMPARE(JanelaTeste::descarregadas, 1);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QCOMPARE(estado(p), estadoDoRegistro(comDeclaracao));
}

// A window name no factory answers to would make its command do nothing:
// every name the code loads a window by is registered. The names are read
// from the sources, at the calls that load a window directly or through the
// helpers that pass a name on.
void TstPrincipal::janelasCarregadasRegistradas()
{
    Ambiente amb;
    const QRegularExpression chamada(
        QStringLiteral(R"re((?:Formularios::carregar|executarComando|MostraFilho)\(QStringLiteral\("(\w+)"\))re"));
    // The results navigator's table of tab captions and their windows.
    const QRegularExpression aba(QStringLiteral(R"re(\{"[^"]+", "([Ff]rm\w+)"\})re"));
    const QRegularExpression repasse(QStringLiteral(R"re(Formularios::carregar\((\w+)\))re"));
    QStringList nomes;
    QStringList repasses;
    QDirIterator it(QStringLiteral(TOBRI_SOURCE_DIR "/src"), {QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
        const QString texto = QString::fromUtf8(f.readAll());
        for (const QRegularExpression* r : {&chamada, &aba})
            for (const QRegularExpressionMatch& m : r->globalMatch(texto))
                nomes << m.captured(1);
        for (const QRegularExpressionMatch& m : repasse.globalMatch(texto))
            repasses << QFileInfo(f.fileName()).fileName() + u':' + m.captured(1);
    }
    nomes.removeDuplicates();
    QVERIFY2(nomes.size() >= 30, qPrintable(nomes.join(u' ')));
    for (const QString& n : std::as_const(nomes))
        QVERIFY2(Formularios::registrado(n), qPrintable(n));
    // Every call by a name held in a variable is one of the helpers above.
    repasses.sort();
    QCOMPARE(repasses, (QStringList{QStringLiteral("frmOutlook.cpp:nome"),
                                    QStringLiteral("frmPrincipalValidacao.cpp:janela"),
                                    QStringLiteral("frmVerificacaoPendencias.cpp:janela")}));
}

void TstPrincipal::imprimirSemImpressora()
{
    Ambiente amb;
    QVERIFY(criarUmaDeclaracao());
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    impressoras::simular({}, true);
    registrarTeste(QStringLiteral("frmAcompanhamento"));
    int mostradas = 0;
    Formularios::definirGanchoModal([&](Formulario*) { ++mostradas; });
    p->botao(10)->trigger();
    QCOMPARE(mostradas, 0);
    QCOMPARE(Formularios::quantidade(), 2);
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    const dlg::Mensagem& m = amb.dialogos.mensagens.first();
    QCOMPARE(m.texto, QStringLiteral("Impressora não instalada. Verifique suas configurações."));
    QCOMPARE(m.icone, dlg::Icone::Nenhum);
    QCOMPARE(m.titulo, dlg::TituloPadrao);
    QCOMPARE(estado(p), estadoEsperado({}, {}));
}

void TstPrincipal::configurarImpressaoNaoFechaJanelas()
{
    Ambiente amb;
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    QVERIFY(carregarTeste(QStringLiteral("frmOutra")));
    amb.dialogos.impressora.enqueue(false);
    p->item(QStringLiteral("mnuConfigurarImpressao"))->trigger();
    QVERIFY(amb.dialogos.impressora.isEmpty());
    QCOMPARE(Formularios::quantidade(), 3);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TstPrincipal::iconesDesabilitadosSeDistinguem()
{
    Ambiente amb;
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    // Mean opacity and colourfulness of an icon's pixels at the toolbar's size.
    auto medir = [](const QIcon& i, QIcon::Mode modo, double& opacidade, double& cor) {
        const QImage img = i.pixmap(QSize(24, 24), modo).toImage().convertToFormat(QImage::Format_ARGB32);
        opacidade = cor = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                opacidade += c.alphaF();
                cor += c.alphaF() * c.hsvSaturationF();
            }
    };
    for (int indice : TodosOsBotoes) {
        const QIcon icone = p->botao(indice)->icon();
        double opNormal = 0, corNormal = 0, opDesab = 0, corDesab = 0;
        medir(icone, QIcon::Normal, opNormal, corNormal);
        medir(icone, QIcon::Disabled, opDesab, corDesab);
        QVERIFY2(opNormal > 0, qPrintable(QString::number(indice)));
        // Disabled is plainly fainter than enabled.
        QVERIFY2(opDesab < opNormal * 0.5, qPrintable(QString::number(indice)));
        // "Novo" and "Excluir" are in colour while enabled, grey when not.
        if (indice == 2 || indice == 8) {
            QVERIFY2(corNormal > opNormal * 0.2, qPrintable(QString::number(indice)));
            QCOMPARE(corDesab, 0.0);
        }
    }
}

void TstPrincipal::configurarImpressaoValeParaORelatorio()
{
    Ambiente amb;
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    impressoras::simular({});
    const QString outra = caminhoEm(amb.dados(), QStringLiteral("relatorios"));
    QVERIFY(QDir().mkpath(outra));
    // The set-up offers the PDF printer in the documents folder; the user
    // picks another folder, two copies and landscape.
    QString oferecido;
    amb.dialogos.aoEscolherImpressora = [&](QPrinter& i) {
        oferecido = i.outputFileName();
        i.setOutputFileName(caminhoEm(outra, QStringLiteral("qualquer.pdf")));
        i.setCopyCount(2);
        i.setPageOrientation(QPageLayout::Landscape);
    };
    p->item(QStringLiteral("mnuConfigurarImpressao"))->trigger();
    QCOMPARE(amb.dialogos.configuracoesImpressora, 1);
    QCOMPARE(QFileInfo(oferecido).absolutePath(), amb.documentos());

    // The next report starts from those choices, under its own title.
    QString arquivo;
    int copias = 0;
    QPageLayout::Orientation orientacao = QPageLayout::Portrait;
    amb.dialogos.aoEscolherImpressora = [&](QPrinter& i) {
        arquivo = i.outputFileName();
        copias = i.copyCount();
        orientacao = i.pageLayout().orientation();
    };
    relatorio::Relatorio r;
    r.titulo = QStringLiteral("Resultado da Importação");
    QString erro;
    QCOMPARE(int(relatorio::imprimir(r, erro)), int(relatorio::Resultado::Impresso));
    QCOMPARE(arquivo, caminhoEm(outra, QStringLiteral("Resultado da Importação.pdf")));
    QCOMPARE(copias, 2);
    QCOMPARE(orientacao, QPageLayout::Landscape);
    QVERIFY(QFile::exists(arquivo));

    // A cancelled set-up changes nothing.
    amb.dialogos.aoEscolherImpressora = [](QPrinter& i) { i.setCopyCount(5); };
    amb.dialogos.impressora.enqueue(false);
    p->item(QStringLiteral("mnuConfigurarImpressao"))->trigger();
    amb.dialogos.aoEscolherImpressora = [&](QPrinter& i) { copias = i.copyCount(); };
    QCOMPARE(int(relatorio::imprimir(r, erro)), int(relatorio::Resultado::Impresso));
    QCOMPARE(copias, 2);
}

void TstPrincipal::vincular_data()
{
    QTest::addColumn<bool>("temEmpresarios");
    QTest::newRow("com declarações") << true;
    QTest::newRow("sem declarações") << false;
}

void TstPrincipal::vincular()
{
    QFETCH(bool, temEmpresarios);
    Ambiente amb;
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    QVERIFY(carregarTeste(QStringLiteral("frmOutra")));
    // The picker's Load tells whether it found a declaration.
    registrarTeste(QStringLiteral("frmAbrirVincular"),
                   [temEmpresarios](JanelaTeste*) { geral().gTemEmpresarios = temEmpresarios; });
    DesabilitaMenus();
    int mostradas = 0;
    Formularios::definirGanchoModal([&](Formulario*) { ++mostradas; });
    p->mnuVincular_Click();
    QCOMPARE(mostradas, temEmpresarios ? 1 : 0);
    QCOMPARE(Formularios::quantidade(), 2);
    QCOMPARE(JanelaTeste::descarregadas, 2);
    // No state recomputation.
    QCOMPARE(estado(p), estadoEsperado(ItensArquivo, BotoesArquivo));
}

void TstPrincipal::sair_data()
{
    QTest::addColumn<bool>("peloMenu");
    QTest::newRow("menu Sair") << true;
    QTest::newRow("fechar a janela") << false;
}

void TstPrincipal::sair()
{
    QFETCH(bool, peloMenu);
    Ambiente amb;
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    QVERIFY(carregarTeste(QStringLiteral("frmA")));
    QVERIFY(carregarTeste(QStringLiteral("frmB")));
    QVERIFY(geral().gConn && geral().gConn->aberta());
    if (peloMenu)
        p->item(QStringLiteral("mnuSair"))->trigger();
    else
        p->close();
    QCOMPARE(JanelaTeste::descarregadas, 2);
    QCOMPARE(Formularios::quantidade(), 0);
    QVERIFY(!geral().gConn || !geral().gConn->aberta());
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstPrincipal::ajuda()
{
    Ambiente amb;
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    QTest::keyClick(p, Qt::Key_F1);
    p->item(QStringLiteral("mnuConteudo"))->trigger();
    p->item(QStringLiteral("mnuInstr_Preenchimento"))->trigger();
    p->botao(12)->trigger();
    QCOMPARE(amb.ajudas, QList<int>({30, 30, 1, 30}));
}

void TstPrincipal::sobre_data()
{
    QTest::addColumn<int>("tecla");  // 0: the OK button
    QTest::newRow("OK") << 0;
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Enter do teclado numérico") << int(Qt::Key_Enter);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void TstPrincipal::sobre()
{
    QFETCH(int, tecla);
    Ambiente amb;
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    QVERIFY(carregarTeste(QStringLiteral("frmOutra")));
    QCOMPARE(textoVersao(1, 0, 8), QStringLiteral("Versão 1.08"));

    QPointer<frmSobre> visto;
    Formularios::definirGanchoModal([&](Formulario* f) {
        visto = qobject_cast<frmSobre*>(f);
        QVERIFY(visto);
        QCOMPARE(visto->windowTitle(), QStringLiteral("Sobre o Tobri Arquivos Contábeis"));
        QCOMPARE(visto->lblFrame.value(2)->text(),
                 textoVersao(TOBRI_VERSAO_MAIOR, TOBRI_VERSAO_MENOR, TOBRI_VERSAO_REVISAO));
        QCOMPARE(visto->lblFrame.value(0)->text(), QStringLiteral("https://www.orvane.gov.example/"));
        QStringList textos;
        for (QLabel* l : visto->findChildren<QLabel*>())
            textos << l->text();
        for (const char* t : {"Tobri Arquivos Contábeis", "Programa para validação e entrega dos Arquivos Contábeis",
                              "MINISTÉRIO DA LUMEIRA", "SECRETARIA DA ORVANE DO BRASIL"})
            QVERIFY2(textos.contains(QString::fromUtf8(t)), t);
        QTest::mouseClick(visto->lblFrame.value(0), Qt::LeftButton);
        QCOMPARE(visto->lblFrame.value(0)->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(visto->lblFrame.value(2), Qt::LeftButton);
        QCOMPARE(amb.enderecos, QStringList(2, QStringLiteral("https://www.orvane.gov.example/")));
        QVERIFY(Formularios::carregado(visto));
        if (tecla == 0)
            visto->cmdOk->click();
        else
            QTest::keyClick(visto, Qt::Key(tecla));
    });
    p->item(QStringLiteral("mnuSobre"))->trigger();
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(visto);
    QVERIFY(!Formularios::carregado(visto));
    // The About box closes no other window.
    QCOMPARE(Formularios::quantidade(), 3);
    QCOMPARE(JanelaTeste::descarregadas, 0);
}

QTEST_MAIN(TstPrincipal)
#include "tst_principal.moc"
