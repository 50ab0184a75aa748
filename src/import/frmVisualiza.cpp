#include "frmVisualiza.h"

#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/HelpContexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmVisualiza::frmVisualiza(QWidget* parent)
    : Formulario(parent)
    , m_grade(new GradeDeclaracoes(this))
    , m_cmdOk(new QPushButton(QStringLiteral("&Ok"), this))
    , m_cmdCancelar(new QPushButton(QStringLiteral("&Cancelar"), this))
    , m_cmAjuda(new QPushButton(QStringLiteral("&Ajuda"), this))
{
    setWindowTitle(QStringLiteral("Visualizar Resultado da Importação"));
    setObjectName(QStringLiteral("frmVisualiza"));
    definirContextoAjuda(ajuda::frmVisualiza);
    m_grade->setObjectName(QStringLiteral("TDBabrir"));
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    m_cmAjuda->setObjectName(QStringLiteral("cmAjuda"));
    for (QPushButton* b : {m_cmdOk, m_cmdCancelar, m_cmAjuda})
        b->setAutoDefault(false);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(m_cmdOk);
    botoes->addWidget(m_cmdCancelar);
    botoes->addWidget(m_cmAjuda);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(new QLabel(QStringLiteral("Selecionar o CNPJ/Período:"), this));
    janela->addWidget(m_grade, 1);
    janela->addLayout(botoes);
    resize(560, 320);

    connect(m_cmdOk, &QPushButton::clicked, this, &frmVisualiza::ok);
    connect(m_cmdCancelar, &QPushButton::clicked, this, [this] { Formularios::descarregar(this); });
    connect(m_cmAjuda, &QPushButton::clicked, this, &Formulario::mostrarAjuda);
}

void frmVisualiza::Form_Load()
{
    Geral& g = geral();
    if (g.gConn)
        g.gConn->fechar();
    if (!AbreBanco(g.gMsg, false, false, g.gErroAbertura) || !m_grade->carregar())
        dlg::MsgBox(g.gMsg);
}

void frmVisualiza::voltarAoRegistro()
{
    Geral& g = geral();
    const int linha = m_grade->currentIndex().row();
    if (!AbreBanco(g.gMsg, false, false, g.gErroAbertura) || !m_grade->carregar()) {
        dlg::MsgBox(g.gMsg);
        return;
    }
    if (linha >= 0 && linha < m_grade->linhas())
        m_grade->setCurrentIndex(m_grade->model()->index(linha, 0));
}

void frmVisualiza::ok()
{
    Geral& g = geral();
    if (!m_grade->selecionarAtual())
        return;
    if (!abreDeclaracaoEmMaos()) {
        if (g.gErroAbertura == db::ErroBanco)
            dlg::MsgBox(QStringLiteral(
                "Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a opção Excluir do "
                "Menu Arquivo e exclua o período com problemas e posteriormente crie na opcao Novo o mesmo período."));
        else
            dlg::MsgBox(g.gMsg);
        voltarAoRegistro();
        return;
    }
    db::Erro e;
    const QVariant cnpj = g.gConn->escalar(QStringLiteral("SELECT CNPJ FROM tbImportados"), {}, &e);
    if (!e.ok()) {
        dlg::MsgBox(textoErro(e, QStringLiteral("cmdOk_Click")), dlg::Icone::Critico);
        voltarAoRegistro();
        return;
    }
    if (!cnpj.isValid()) {
        dlg::MsgBox(QStringLiteral("Não existem arquivos importados."));
        voltarAoRegistro();
        return;
    }
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmVisualizaResultadoImportacao")))
        Formularios::mostrarModal(f);
}
