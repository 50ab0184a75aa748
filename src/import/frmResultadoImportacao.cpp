#include "frmResultadoImportacao.h"

#include "platform/Dialogos.h"
#include "platform/Grades.h"
#include "platform/Impressoras.h"
#include "reports/RptCNPJPeriodo.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/Menus.h"
#include "shell/Servicos.h"
#include "shell/BotoesJanela.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QLabel* rotulo(const QString& nome, QWidget* pai)
{
    auto* l = new QLabel(pai);
    l->setObjectName(nome);
    return l;
}

QString digitos(double n)
{
    return QString::number(static_cast<qint64>(n));
}

} // namespace

JanelaResultadoImportacao::JanelaResultadoImportacao(QWidget* parent)
    : Formulario(parent)
    , m_lblcnpjT(rotulo(QStringLiteral("lblcnpjT"), this))
    , m_lblperiodo(rotulo(QStringLiteral("lblperiodo"), this))
    , m_lbltipo(rotulo(QStringLiteral("lbltipo"), this))
    , m_lblRegLidos(rotulo(QStringLiteral("lblRegLidos"), this))
    , m_lblRegCorretos(rotulo(QStringLiteral("lblRegCorretos"), this))
    , m_lblRegErros(rotulo(QStringLiteral("lblRegErros"), this))
    , m_grade(new QTableView(this))
    , m_modelo(new QSqlQueryModel(this))
    , m_cmdAjuda(novoBotao(this, QStringLiteral("cmdAjuda"), QStringLiteral("&Ajuda")))
    , m_cmdImprimir(novoBotao(this, QStringLiteral("cmdImprimir"), QStringLiteral("  &Imprimir Erros")))
    , m_cmdOK(novoBotao(this, QStringLiteral("cmdOK"), QStringLiteral("Vis&ualizar Erros")))
    , m_cmdvoltar(novoBotao(this, QStringLiteral("cmdvoltar"), QStringLiteral("&Voltar")))
    , m_cmdSair(novoBotao(this, QStringLiteral("cmdSair"), QStringLiteral("&Fechar")))
{
    setWindowTitle(QStringLiteral("Resultado da Importação - Resumo dos Erros do Arquivo"));

    auto* declaracao = new QGridLayout;
    declaracao->addWidget(new QLabel(QStringLiteral("CNPJ"), this), 0, 0);
    declaracao->addWidget(m_lblcnpjT, 0, 1);
    declaracao->addWidget(new QLabel(QStringLiteral("Período"), this), 1, 0);
    declaracao->addWidget(m_lblperiodo, 1, 1);
    declaracao->addWidget(new QLabel(QStringLiteral("Arquivo"), this), 2, 0);
    declaracao->addWidget(m_lbltipo, 2, 1);
    declaracao->setColumnStretch(1, 1);

    auto* quadro = new QGroupBox(QStringLiteral("Resultado da Importação"), this);
    auto* contagens = new QVBoxLayout(quadro);
    contagens->addWidget(m_lblRegLidos);
    contagens->addWidget(m_lblRegCorretos);
    contagens->addWidget(m_lblRegErros);

    m_grade->setObjectName(QStringLiteral("TDBGrid1"));
    m_grade->setModel(m_modelo);
    // Long error texts stay on one line; the whole text is the tooltip.
    prepararGrade(m_grade);
    m_grade->verticalHeader()->hide();
    m_grade->horizontalHeader()->setStretchLastSection(true);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(m_cmdAjuda);
    botoes->addStretch();
    botoes->addWidget(m_cmdImprimir);
    botoes->addWidget(m_cmdOK);
    botoes->addWidget(m_cmdvoltar);
    botoes->addWidget(m_cmdSair);

    auto* janela = new QVBoxLayout(this);
    janela->addLayout(declaracao);
    janela->addWidget(quadro);
    janela->addWidget(new QLabel(QStringLiteral("Resumo dos erros"), this));
    janela->addWidget(m_grade, 1);
    janela->addLayout(botoes);
    resize(640, 460);

    definirBotaoCancelar(m_cmdSair);
    connect(m_cmdAjuda, &QPushButton::clicked, this, &Formulario::mostrarAjuda);
    connect(m_cmdOK, &QPushButton::clicked, this, &JanelaResultadoImportacao::visualizarErros);
    connect(m_cmdImprimir, &QPushButton::clicked, this, &JanelaResultadoImportacao::imprimirErros);
    connect(m_cmdvoltar, &QPushButton::clicked, this, [this] { voltar(); });
    connect(m_cmdSair, &QPushButton::clicked, this, &JanelaResultadoImportacao::fechar);
}

void JanelaResultadoImportacao::Form_Load()
{
    Geral& g = geral();
    m_cmdvoltar->setEnabled(true);
    m_lblcnpjT->setText(g.gCNPJ);
    m_lblperiodo->setText(dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" a ") + dataDdMmAaaa(g.gPeriodoFinal));
    m_lbltipo->setText(Fun_DescricaoTipoArquivo());
    m_lblRegLidos->setText(QStringLiteral("Quantidade de Registros Lidos          : ") + digitos(g.gRegLidos));
    m_lblRegCorretos->setText(QStringLiteral("Quantidade de Registros Corretos     : ") + digitos(g.gRegCorretos));
    m_lblRegErros->setText(QStringLiteral("Quantidade de Registros Com Erros  : ") + digitos(g.gRegErros));

    if (g.gConn && g.gConn->aberta()) {
        QSqlQuery q(g.gConn->banco());
        q.prepare(QStringLiteral("SELECT A.CodigoErro, B.Descricao, A.QuantidadeReg "
                                 "FROM TbErrosImportacao A, TbDescricaoErro B "
                                 "WHERE B.CodigoErro = A.CodigoErro AND A.TipoArquivo = ? "
                                 "ORDER BY A.CodigoErro"));
        const QStringList titulos{QStringLiteral("Código do Erro"), QStringLiteral("Descrição"),
                                  QStringLiteral("Quantidade de Registros")};
        db::Erro e;
        if (!db::preencherModelo(*m_modelo, std::move(q), {g.gTipoArquivo}, titulos, &e))
            dlg::MsgBox(textoErro(e, QStringLiteral("Form_Load")), dlg::Icone::Critico);
    }
    m_grade->resizeColumnToContents(0);
    // The description takes the room; the count keeps its width.
    m_grade->horizontalHeader()->setStretchLastSection(false);
    m_grade->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_grade->resizeColumnToContents(2);

    if (g.gRegErros == 0) {
        m_cmdOK->setEnabled(false);
        m_cmdImprimir->setEnabled(false);
    }
}

void JanelaResultadoImportacao::Form_Unload()
{
    // No query is left on a connection that the next step closes.
    m_modelo->clear();
}

bool JanelaResultadoImportacao::marcarTipoArquivo(const QString& procedimento)
{
    Geral& g = geral();
    db::Erro e;
    if (!g.gConn || !g.gConn->aberta()) {
        dlg::MsgBox(textoErro(db::ErroBanco, TextoErroAbertura), dlg::Icone::Critico);
        return false;
    }
    if (RptCNPJPeriodo::marcarTipoArquivo(*g.gConn, g.gTipoArquivo, e))
        return true;
    dlg::MsgBox(textoErro(e, procedimento), dlg::Icone::Critico);
    return false;
}

void JanelaResultadoImportacao::visualizarErros()
{
    const QString proc = QStringLiteral("cmdOK_Click");
    if (!marcarTipoArquivo(proc))
        return;
    QList<LinhaErroImportacao> linhas;
    db::Erro e;
    if (!RptCNPJPeriodo::ler(*geral().gConn, linhas, e)) {
        dlg::MsgBox(textoErro(e, proc), dlg::Icone::Critico);
        return;
    }
    relatorio::visualizar(RptCNPJPeriodo::montar(linhas), this);
}

void JanelaResultadoImportacao::imprimirErros()
{
    const QString proc = QStringLiteral("cmdImprimir_Click");
    if (!impressoras::haImpressora()) {
        dlg::MsgBox(mensagemSemImpressora(), dlg::Icone::Critico);
        return;
    }
    if (!marcarTipoArquivo(proc))
        return;
    QList<LinhaErroImportacao> linhas;
    db::Erro e;
    if (!RptCNPJPeriodo::ler(*geral().gConn, linhas, e)) {
        dlg::MsgBox(textoErro(e, proc), dlg::Icone::Critico);
        return;
    }
    QString erro;
    switch (relatorio::imprimir(RptCNPJPeriodo::montar(linhas), erro)) {
    case relatorio::Resultado::Impresso:
    case relatorio::Resultado::Cancelado:
        break;
    case relatorio::Resultado::ErroImpressora:
        dlg::MsgBox(mensagemErroImpressora(), dlg::Icone::Critico);
        break;
    case relatorio::Resultado::Erro:
        dlg::MsgBox(erro, dlg::Icone::Critico);
        break;
    }
}

void JanelaResultadoImportacao::fechar()
{
    Formularios::descarregar(this);
}

frmResultadoImportacao::frmResultadoImportacao(QWidget* parent)
    : JanelaResultadoImportacao(parent)
{
    setObjectName(QStringLiteral("frmResultadoImportacao"));
    definirContextoAjuda(ajuda::frmResultadoImportacao);
}

QString frmResultadoImportacao::mensagemSemImpressora() const
{
    return QStringLiteral("Impressora não instalada. Verifique as Configurações de Impressora.");
}

QString frmResultadoImportacao::mensagemErroImpressora() const
{
    return QStringLiteral("Impressora não instalada. Verifique as Configurações de Impressora");
}

void frmResultadoImportacao::voltar()
{
    Formularios::descarregar(this);
    HabilitaMenus();
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmContinuaImportacao")))
        Formularios::mostrarModal(f);
}
