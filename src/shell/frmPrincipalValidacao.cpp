#include "frmPrincipalValidacao.h"

#include "Geral.h"
#include "HelpContexts.h"
#include "IconesBarra.h"
#include "Menus.h"
#include "frmAbertura.h"
#include "platform/CursorEspera.h"
#include "platform/Dialogos.h"
#include "platform/Formularios.h"
#include "platform/Impressoras.h"
#include "platform/Pastas.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QStyle>
#include <QToolBar>

namespace {

QPointer<frmPrincipalValidacao> g_instancia;

const QString MsgSemImpressora = QStringLiteral("Impressora não instalada. Verifique suas configurações.");

} // namespace

frmPrincipalValidacao::frmPrincipalValidacao(QWidget* parent)
    : QMainWindow(parent)
    , m_botoes(15, nullptr)
{
    g_instancia = this;
    setObjectName(QStringLiteral("frmPrincipalValidacao"));
    setWindowTitle(QStringLiteral("Tobri - Arquivos Contábeis"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    MDI = new QMdiArea(this);
    MDI->setObjectName(QStringLiteral("MDI"));
    MDI->setBackground(QColor(0xab, 0xab, 0xab));
    // A work window larger than a shrunken main window must stay reachable
    // (its buttons sit at its bottom right).
    MDI->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MDI->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MDI);
    Formularios::definirAreaMdi(MDI);

    criarMenus();
    criarBarra();
    resize(1000, 700);
}

frmPrincipalValidacao::~frmPrincipalValidacao() = default;

frmPrincipalValidacao* frmPrincipalValidacao::instancia()
{
    return g_instancia.data();
}

QAction* frmPrincipalValidacao::novoItem(QMenu* menu, const QString& nome, const QString& texto,
                                         void (frmPrincipalValidacao::*slot)())
{
    QAction* a = menu->addAction(texto);
    a->setObjectName(nome);
    connect(a, &QAction::triggered, this, slot);
    return a;
}

QAction* frmPrincipalValidacao::novoSeparador(QMenu* menu, const QString& nome)
{
    QAction* a = menu->addSeparator();
    a->setObjectName(nome);
    return a;
}

void frmPrincipalValidacao::criarMenus()
{
    using F = frmPrincipalValidacao;
    mnuArquivo = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    mnuArquivo->setObjectName(QStringLiteral("mnuArquivo"));
    novoItem(mnuArquivo, QStringLiteral("mnuAbrir"), QStringLiteral("&Novo..."), &F::mnuAbrir_Click);
    novoItem(mnuArquivo, QStringLiteral("mnuImportarArquivo"), QStringLiteral("&Abrir..."), &F::mnuImportarArquivo_Click);
    novoItem(mnuArquivo, QStringLiteral("mnuValidacao"), QStringLiteral("Va&lidar..."), &F::mnuValidacao_Click);
    novoItem(mnuArquivo, QStringLiteral("mnuVerifica"), QStringLiteral("Verificar P&endências..."), &F::mnuVerifica_Click);
    novoItem(mnuArquivo, QStringLiteral("mnuGravar"), QStringLiteral("&Gravar Arquivo para entrega à ORV..."),
             &F::mnuGravar_Click);
    novoItem(mnuArquivo, QStringLiteral("mnuVisualiza"), QStringLiteral("Visualizar &Resultado da Importação..."),
             &F::mnuVisualiza_Click);
    novoItem(mnuArquivo, QStringLiteral("mnuVisualizaValidacao"), QStringLiteral("Visualizar Resultado da Validação..."),
             &F::mnuVisualizaValidacao_Click);
    novoSeparador(mnuArquivo, QStringLiteral("mnuSeparador1"));
    novoItem(mnuArquivo, QStringLiteral("mnuExcluirArquivo"), QStringLiteral("E&xcluir..."), &F::mnuExcluirArquivo_Click);
    novoSeparador(mnuArquivo, QStringLiteral("mnuSeparador3"));
    novoItem(mnuArquivo, QStringLiteral("mnuImprimir"), QStringLiteral("Imprimir Relatório &de Acompanhamento..."),
             &F::mnuImprimir_Click);
    novoItem(mnuArquivo, QStringLiteral("mnuConfigurarImpressao"), QStringLiteral("Configurar Im&pressão..."),
             &F::mnuConfigurarImpressao_Click);
    novoSeparador(mnuArquivo, QStringLiteral("mnuSeparador6"));
    novoItem(mnuArquivo, QStringLiteral("mnuSair"), QStringLiteral("&Sair"), &F::mnuSair_Click);

    mnuAjuda = menuBar()->addMenu(QStringLiteral("A&juda"));
    mnuAjuda->setObjectName(QStringLiteral("mnuAjuda"));
    novoItem(mnuAjuda, QStringLiteral("mnuConteudo"), QStringLiteral("&Conteúdo"), &F::mnuConteudo_Click);
    novoSeparador(mnuAjuda, QStringLiteral("mnuSeparador7"));
    novoItem(mnuAjuda, QStringLiteral("mnuInstr_Preenchimento"), QStringLiteral("Instruções de &Preenchimento"),
             &F::mnuInstr_Preenchimento_Click);
    novoSeparador(mnuAjuda, QStringLiteral("mnuSeparador8"));
    novoItem(mnuAjuda, QStringLiteral("mnuSobre"), QStringLiteral("&Sobre o Tobri Contábeis"), &F::mnuSobre_Click);
}

void frmPrincipalValidacao::criarBarra()
{
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    Toolbar1->setIconSize(QSize(24, 24));

    struct Botao {
        int indice;
        const char* chave;
        QString dica;
        QIcon icone;
    };
    auto icone = [](const QString& tema, QStyle::StandardPixmap reserva) {
        return comDesabilitadoVisivel(iconeDoTema(tema, reserva));
    };
    // "Novo" and "Excluir" are drawn here: the themes' ones look disabled
    // when enabled, or alike in both states.
    const Botao botoes[] = {
        {2, "", QStringLiteral("Novo"), iconeNovo()},
        {3, "btAbrir", QStringLiteral("Abrir"), icone(QStringLiteral("document-open"), QStyle::SP_DialogOpenButton)},
        {4, "btVerificar", QStringLiteral("Verificar Pendências"),
         icone(QStringLiteral("edit-find"), QStyle::SP_FileDialogContentsView)},
        {6, "btGravar", QStringLiteral("Gravar Arquivo para entrega à SOV"),
         icone(QStringLiteral("document-save"), QStyle::SP_DialogSaveButton)},
        {8, "tbExcluir", QStringLiteral("Excluir"), iconeExcluir()},
        {10, "btImprimir", QStringLiteral("Imprimir  relatório de acompanhamento"),
         comDesabilitadoVisivel(QIcon::fromTheme(QStringLiteral("document-print"), iconeImpressora()))},
        {12, "btAjuda", QStringLiteral("Ajuda do programa"),
         icone(QStringLiteral("help-contents"), QStyle::SP_DialogHelpButton)},
        {14, "btSair", QStringLiteral("Sair do Programa"),
         icone(QStringLiteral("application-exit"), QStyle::SP_DialogCloseButton)},
    };
    int proximo = 0;
    for (int indice = 1; indice <= 14; ++indice) {
        QAction* a = nullptr;
        if (proximo < int(std::size(botoes)) && botoes[proximo].indice == indice) {
            const Botao& b = botoes[proximo++];
            a = Toolbar1->addAction(b.icone, b.dica);
            a->setObjectName(QLatin1String(b.chave));
            a->setToolTip(b.dica);
        } else {
            a = Toolbar1->addSeparator();
        }
        a->setData(indice);
        m_botoes[indice] = a;
    }
    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction* a) { Toolbar1_ButtonClick(a->data().toInt()); });
}

QAction* frmPrincipalValidacao::item(const QString& nome) const
{
    if (nome.isEmpty())
        return nullptr;
    for (QMenu* menu : {mnuArquivo, mnuAjuda}) {
        for (QAction* a : menu->actions()) {
            if (a->objectName() == nome)
                return a;
        }
    }
    return nullptr;
}

QAction* frmPrincipalValidacao::botao(int indice) const
{
    return indice >= 1 && indice <= 14 ? m_botoes[indice] : nullptr;
}

bool frmPrincipalValidacao::Form_Load()
{
    // Help topics need no setting: they are read by number from help/.
    Geral& g = geral();
    if (!AbreBanco(g.gMsg, false, false, g.gErroAbertura)) {
        dlg::MsgBox(g.gMsg);
        return false;
    }
    Verifica_EmpresariosImportados();
    return true;
}

void frmPrincipalValidacao::Form_Unload()
{
    m_descarregado = true;
    Formularios::descarregarTodos();
    Geral& g = geral();
    if (g.gConn)
        g.gConn->fechar();
}

void frmPrincipalValidacao::closeEvent(QCloseEvent* e)
{
    if (!m_descarregado)
        Form_Unload();
    e->accept();
    encerrarPrograma(0);
}

void frmPrincipalValidacao::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
        MostraAjuda(ajuda::Conteudo);
        return;
    }
    QMainWindow::keyPressEvent(e);
}

void frmPrincipalValidacao::executarComando(const QString& janela, int operacao, bool recalcular)
{
    Fecha_Formularios();
    if (!Verifica_EmpresariosImportados())
        return;
    QPointer<Formulario> f = Formularios::carregar(janela);
    if (!f)
        return;
    if (operacao != 0)
        geral().gOperacao = static_cast<qint16>(operacao);
    Formularios::mostrarModal(f);
    Formularios::descarregar(f.data());
    if (recalcular) {
        Verifica_EmpresariosImportados();
        // A results navigator opened by the chain keeps the File menu locked.
        if (Formularios::obter(QStringLiteral("frmVerificacaoPendencias")))
            DesabilitaMenus();
    }
}

void frmPrincipalValidacao::mnuAbrir_Click()
{
    Fecha_Formularios();
    // The window loads as it is shown, so its Load already sees the operation.
    geral().gOperacao = 1;
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmDadosContribuinte")))
        Formularios::mostrarModal(f);
    Verifica_EmpresariosImportados();
}

void frmPrincipalValidacao::mnuImportarArquivo_Click()
{
    executarComando(QStringLiteral("frmAbrirArquivo"), 2, true);
}

void frmPrincipalValidacao::mnuValidacao_Click()
{
    // The validation chain leaves the items as its results navigator set them.
    executarComando(QStringLiteral("frmValidarArquivo"), 0, false);
}

void frmPrincipalValidacao::mnuVerifica_Click()
{
    executarComando(QStringLiteral("frmVerificar"), 0, true);
}

void frmPrincipalValidacao::mnuGravar_Click()
{
    executarComando(QStringLiteral("frmGravacao"), 0, true);
}

void frmPrincipalValidacao::mnuVisualiza_Click()
{
    executarComando(QStringLiteral("frmVisualiza"), 0, false);
}

void frmPrincipalValidacao::mnuVisualizaValidacao_Click()
{
    executarComando(QStringLiteral("frmVisualizarValidacao"), 0, true);
}

void frmPrincipalValidacao::mnuExcluirArquivo_Click()
{
    executarComando(QStringLiteral("frmExcluirArquivo"), 8, true);
}

void frmPrincipalValidacao::mnuImprimir_Click()
{
    Fecha_Formularios();
    if (!Verifica_EmpresariosImportados())
        return;
    if (!impressoras::haImpressora()) {
        dlg::MsgBox(MsgSemImpressora);
        Verifica_EmpresariosImportados();
        return;
    }
    QPointer<Formulario> f = Formularios::carregar(QStringLiteral("frmAcompanhamento"));
    if (!f)
        return;
    Formularios::mostrarModal(f);
    Formularios::descarregar(f.data());
    Verifica_EmpresariosImportados();
}

void frmPrincipalValidacao::mnuConfigurarImpressao_Click()
{
    CursorEspera espera;
    // Starts from the last set-up; the PDF printer shows the folder the
    // reports' files go to (each report names its file after its title).
    cdlconfigurarImpressao =
        impressoras::criarConfigurada(caminhoEm(impressoras::pastaPdf(), QStringLiteral("Relatório.pdf")));
    // The pointer is back to normal while the user works in the dialog.
    espera.restaurar();
    if (dlg::dialogos().configurarImpressora(*cdlconfigurarImpressao))
        impressoras::guardarConfiguracao(*cdlconfigurarImpressao);
}

void frmPrincipalValidacao::mnuSair_Click()
{
    Geral& g = geral();
    if (g.gConn) {
        g.gConn->fechar();
        g.gConn.reset();
    }
    close();
}

void frmPrincipalValidacao::mnuConteudo_Click()
{
    MostraAjuda(ajuda::Conteudo);
}

void frmPrincipalValidacao::mnuInstr_Preenchimento_Click()
{
    MostraAjuda(ajuda::InstrucoesPreenchimento);
}

void frmPrincipalValidacao::mnuSobre_Click()
{
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmSobre")))
        Formularios::mostrarModal(f);
}

void frmPrincipalValidacao::mnuVincular_Click()
{
    Fecha_Formularios();
    QPointer<Formulario> f = Formularios::carregar(QStringLiteral("frmAbrirVincular"));
    if (!f)
        return;
    if (geral().gTemEmpresarios)
        Formularios::mostrarModal(f);
    Formularios::descarregar(f.data());
}

void frmPrincipalValidacao::Toolbar1_ButtonClick(int indice)
{
    switch (indice) {
    case 2: mnuAbrir_Click(); break;
    case 3: mnuImportarArquivo_Click(); break;
    case 4: mnuVerifica_Click(); break;
    case 6: mnuGravar_Click(); break;
    case 8: mnuExcluirArquivo_Click(); break;
    case 10: mnuImprimir_Click(); break;
    case 12: MostraAjuda(ajuda::Conteudo); break;
    // At once: no window's unload runs.
    case 14: encerrarPrograma(0); break;
    default: break;
    }
}
