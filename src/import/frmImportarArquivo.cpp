#include "frmImportarArquivo.h"

#include "PreChecagem.h"
#include "frmOrigemArquivo.h"
#include "motor/Execucao.h"
#include "platform/Dialogos.h"
#include "shell/BotoesJanela.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/Servicos.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <climits>

frmImportarArquivo::frmImportarArquivo(QWidget* parent)
    : Formulario(parent)
{
    setObjectName(QStringLiteral("frmImportarArquivo"));
    definirContextoAjuda(ajuda::frmImportarArquivo);
    setWindowTitle(QStringLiteral("Importar Arquivo XXX"));

    auto rotulo = [this](const char* nome, const QString& texto) { return novoRotulo(this, QLatin1String(nome), texto); };
    auto botao = [this](const char* nome, const QString& texto) { return novoBotao(this, QLatin1String(nome), texto); };
    lblTitulo1 = rotulo("lblTitulo1", QStringLiteral("CNPJ:"));
    lblCNPJ = rotulo("lblCNPJ", QString());
    lblTitulo2 = rotulo("lblTitulo2", QStringLiteral("Período:"));
    lblperiodo = rotulo("lblperiodo", QString());
    LblNomeArquivo = rotulo("LblNomeArquivo", QStringLiteral("Arquivo: "));
    Label1 = rotulo("Label1", QString());
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(false);   // shown when a run sizes it
    cmdOk = botao("cmdOk", QStringLiteral("&Importar"));
    cmdCancelar = botao("cmdCancelar", QStringLiteral("&Cancelar"));
    cmdVoltar = botao("cmdVoltar", QStringLiteral("&Voltar"));
    cmdAjuda = botao("cmdAjuda", QStringLiteral("&Ajuda"));

    auto* grade = new QGridLayout;
    grade->addWidget(lblTitulo1, 0, 0);
    grade->addWidget(lblCNPJ, 0, 1);
    grade->addWidget(lblTitulo2, 1, 0);
    grade->addWidget(lblperiodo, 1, 1);
    grade->setColumnStretch(1, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    for (QPushButton* b : {cmdOk, cmdCancelar, cmdVoltar, cmdAjuda})
        botoes->addWidget(b);
    auto* raiz = new QVBoxLayout(this);
    raiz->addLayout(grade);
    raiz->addWidget(LblNomeArquivo);
    raiz->addWidget(Label1);
    raiz->addWidget(ProgressBar1);
    raiz->addLayout(botoes);
    resize(480, 200);

    connect(cmdOk, &QPushButton::clicked, this, &frmImportarArquivo::cmdOk_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmImportarArquivo::cmdCancelar_Click);
    connect(cmdVoltar, &QPushButton::clicked, this, &frmImportarArquivo::cmdVoltar_Click);
    connect(cmdAjuda, &QPushButton::clicked, this, &frmImportarArquivo::cmdAjuda_Click);
}

void frmImportarArquivo::Form_Load()
{
    Geral& g = geral();
    setWindowTitle(QStringLiteral("Importar Arquivo ") + Fun_DescricaoTipoArquivo());
    lblCNPJ->setText(g.gCNPJ);
    lblperiodo->setText(dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" a ") + dataDdMmAaaa(g.gPeriodoFinal));
    QString nome = frmOrigemArquivo::NomeArquivoOrigem;
    if (nome.isEmpty())
        nome = QFileInfo(g.gArquivoOrigem).fileName();
    LblNomeArquivo->setText(QStringLiteral("Arquivo: ") + nome);
    g.gFormAtivo = this;
    // The type's error rows are emptied by the run itself, after its reset.
    cancelar = false;
    cmdCancelar->setEnabled(false);
}

bool frmImportarArquivo::Form_QueryUnload()
{
    if (!m_executando)
        return true;
    // Closing during a run acts as Cancelar; the window goes when the run stops.
    m_fecharAoTerminar = true;
    if (cmdCancelar->isEnabled())
        cmdCancelar_Click();
    else
        cancelar = true;
    return false;
}

void frmImportarArquivo::iniciarBarra(qint64 maximo)
{
    m_escala = maximo > INT_MAX ? static_cast<double>(INT_MAX) / static_cast<double>(maximo) : 1.0;
    ProgressBar1->setMaximum(static_cast<int>(static_cast<double>(maximo) * m_escala));
    ProgressBar1->setVisible(true);
    ProgressBar1->setValue(0);
}

void frmImportarArquivo::valorBarra(qint64 valor)
{
    ProgressBar1->setValue(static_cast<int>(static_cast<double>(valor) * m_escala));
}

void frmImportarArquivo::status(const QString& texto)
{
    Label1->setText(texto);
}

void frmImportarArquivo::cmdOk_Click()
{
    Geral& g = geral();
    if (!QFileInfo(g.gArquivoOrigem).isFile()) {
        dlg::MsgBox(prechecagem::TextoInexistente);
        return;
    }
    cmdOk->setEnabled(false);
    cmdVoltar->setEnabled(false);
    cmdAjuda->setEnabled(false);
    cmdCancelar->setEnabled(true);
    setCursor(Qt::WaitCursor);
    // A Cancelar pressed after an earlier stop must not cancel this run.
    cancelar = false;
    m_executando = true;
    QPointer<frmImportarArquivo> eu(this);
    const motor::FimImportacao fim = motor::executarImportacao(*this);
    if (!eu)
        return;
    m_executando = false;
    switch (fim) {
    case motor::FimImportacao::Concluida:
        Formularios::descarregar(this);
        if (Formulario* f = Formularios::carregar(QStringLiteral("frmResultadoImportacao")))
            Formularios::mostrarModal(f);
        if (eu)
            unsetCursor();
        return;
    case motor::FimImportacao::TamanhoErrado:
        Formularios::descarregar(this);
        cancelar = false;
        if (Formulario* f = Formularios::carregar(QStringLiteral("frmOrigemArquivo")))
            Formularios::mostrarModal(f);
        return;
    case motor::FimImportacao::JanelaFechada:
        return;
    case motor::FimImportacao::Parada:
        break;
    }
    if (m_fecharAoTerminar)
        Formularios::descarregar(this);
}

void frmImportarArquivo::cmdCancelar_Click()
{
    cancelar = true;
    cmdOk->setEnabled(true);
    cmdVoltar->setEnabled(true);
    cmdAjuda->setEnabled(true);
    cmdCancelar->setEnabled(false);
    ProgressBar1->setValue(0);
    unsetCursor();
    if (m_fecharAoTerminar && !m_executando)
        Formularios::descarregar(this);
}

void frmImportarArquivo::cmdVoltar_Click()
{
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmOrigemArquivo")))
        Formularios::mostrarModal(f);
}

void frmImportarArquivo::cmdAjuda_Click()
{
    mostrarAjuda();
}
