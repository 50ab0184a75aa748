#include "frmConfirmaValidar.h"

#include "motor/Execucao.h"

#include "platform/CursorEspera.h"
#include "platform/Dialogos.h"
#include "shell/BotoesJanela.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmConfirmaValidar::frmConfirmaValidar(QWidget* parent)
    : Formulario(parent)
{
    definirContextoAjuda(ajuda::frmConfirmaValidar);
    setWindowTitle(QStringLiteral("Validar Arquivos"));
    auto rotulo = [this](const char* nome, const QString& texto) { return novoRotulo(this, QLatin1String(nome), texto); };
    auto botao = [this](const char* nome, const QString& texto) { return novoBotao(this, QLatin1String(nome), texto); };
    lblTitulo1 = rotulo("lblTitulo1", QStringLiteral("CNPJ:"));
    lblCNPJ = rotulo("lblCNPJ", QString());
    lblTitulo2 = rotulo("lblTitulo2", QStringLiteral("Período:"));
    lbltipo = rotulo("lbltipo", QString());
    lblprepara = rotulo("lblprepara", QStringLiteral("Aguarde preparando arquivos ......"));
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    ProgressBar1 = new QProgressBar(Frame1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 7);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(false);
    auto* quadro = new QVBoxLayout(Frame1);
    quadro->addWidget(lblprepara);
    quadro->addWidget(ProgressBar1);
    cmdOk = botao("cmdOk", QStringLiteral("&Ok"));
    cmdCancelar = botao("cmdCancelar", QStringLiteral("&Cancelar"));
    cmdAjuda = botao("cmdAjuda", QStringLiteral("&Ajuda"));

    auto* grade = new QGridLayout;
    grade->addWidget(lblTitulo1, 0, 0);
    grade->addWidget(lblCNPJ, 0, 1);
    grade->addWidget(lblTitulo2, 1, 0);
    grade->addWidget(lbltipo, 1, 1);
    grade->setColumnStretch(1, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    for (QPushButton* b : {cmdOk, cmdCancelar, cmdAjuda})
        botoes->addWidget(b);
    auto* raiz = new QVBoxLayout(this);
    raiz->addLayout(grade);
    raiz->addWidget(Frame1);
    raiz->addLayout(botoes);
    resize(480, 200);

    connect(cmdOk, &QPushButton::clicked, this, &frmConfirmaValidar::cmdOk_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmConfirmaValidar::cmdCancelar_Click);
    connect(cmdAjuda, &QPushButton::clicked, this, &Formulario::mostrarAjuda);
}

void frmConfirmaValidar::Form_Load()
{
    Geral& g = geral();
    lblCNPJ->setText(g.gCNPJ);
    lbltipo->setText(dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" a ") + dataDdMmAaaa(g.gPeriodoFinal));
    g.gFormAtivo = this;
    lblprepara->setVisible(false);
}

bool frmConfirmaValidar::Form_QueryUnload()
{
    // The run has no cancel: the window stays until it ends.
    return !m_executando;
}

void frmConfirmaValidar::titulo(const QString& texto)
{
    setWindowTitle(texto);
}

void frmConfirmaValidar::preparando(bool visivel)
{
    lblprepara->setVisible(visivel);
}

void frmConfirmaValidar::iniciarBarra(int maximo)
{
    ProgressBar1->setRange(0, maximo);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(true);
}

void frmConfirmaValidar::avancarBarra(int n)
{
    ProgressBar1->setValue(std::min(ProgressBar1->value() + n, ProgressBar1->maximum()));
    // Each finished step is painted before the next one starts.
    m_rendimento.agora();
}

void frmConfirmaValidar::rende()
{
    m_rendimento.talvez();
}

void frmConfirmaValidar::cmdOk_Click()
{
    if (m_executando)
        return;
    Geral& g = geral();
    m_executando = true;
    for (QPushButton* b : {cmdOk, cmdCancelar, cmdAjuda})
        b->setEnabled(false);
    validacao::Estado estado;
    g.gMsg.clear();
    const bool ok = validacao::executarValidacao(*this, estado);
    m_executando = false;
    for (QPushButton* b : {cmdOk, cmdCancelar, cmdAjuda})
        b->setEnabled(true);
    cursorPadrao();
    if (!ok) {
        lblprepara->setVisible(false);
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    // The window goes before the navigator opens; nothing of it is used after.
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmVerificacaoPendencias")))
        Formularios::mostrarNaoModal(f);
    Rendimento().agora();
    CursorEspera cursor;
    if (!Fun_CompactaBanco()) {
        cursor.restaurar();
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
    }
}

void frmConfirmaValidar::cmdCancelar_Click()
{
    Formularios::descarregar(this);
}
