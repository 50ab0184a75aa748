#include "frmConfirmaGravacao.h"

#include "motor/Gravacao.h"

#include "platform/Dialogos.h"
#include "shell/BotoesJanela.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmConfirmaGravacao::frmConfirmaGravacao(QWidget* parent)
    : Formulario(parent)
{
    setObjectName(QStringLiteral("frmConfirmaGravacao"));
    definirContextoAjuda(ajuda::frmConfirmaGravacao);
    setWindowTitle(QStringLiteral("Gravar Arquivos"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto rotulo = [this](const QString& nome, const QString& texto = QString()) { return novoRotulo(this, nome, texto); };
    lblTituloCNPJ = rotulo(QStringLiteral("lblTituloCNPJ"), QStringLiteral("CNPJ:"));
    lblCNPJ = rotulo(QStringLiteral("lblCNPJ"));
    lblTituloAno = rotulo(QStringLiteral("lblTituloAno"), QStringLiteral("Período:"));
    lblTipo = rotulo(QStringLiteral("lblTipo"));
    lblTituloNome = rotulo(QStringLiteral("lblTituloNome"), QStringLiteral("Nome  Empresarial"));
    lblNomeEmpresarial = rotulo(QStringLiteral("lblNomeEmpresarial"));
    ProgBar1 = new QProgressBar(this);
    ProgBar1->setObjectName(QStringLiteral("ProgBar1"));
    ProgBar1->setVisible(false);
    ProgBar1->setTextVisible(false);

    cmdGravar = new QPushButton(QStringLiteral("&Gravar"), this);
    cmdGravar->setObjectName(QStringLiteral("cmdGravar"));
    cmdcancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdcancelar->setObjectName(QStringLiteral("cmdcancelar"));
    cmdAjuda = new QPushButton(QStringLiteral("&Ajuda"), this);
    cmdAjuda->setObjectName(QStringLiteral("cmdAjuda"));
    cmdGravar->setDefault(true);

    auto* campos = new QGridLayout;
    campos->addWidget(lblTituloCNPJ, 0, 0);
    campos->addWidget(lblCNPJ, 0, 1);
    campos->addWidget(lblTituloAno, 1, 0);
    campos->addWidget(lblTipo, 1, 1);
    campos->addWidget(lblTituloNome, 2, 0);
    campos->addWidget(lblNomeEmpresarial, 2, 1);
    campos->setColumnStretch(1, 1);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(cmdGravar);
    botoes->addWidget(cmdcancelar);
    botoes->addWidget(cmdAjuda);

    auto* raiz = new QVBoxLayout(this);
    raiz->addLayout(campos);
    raiz->addWidget(ProgBar1);
    raiz->addStretch(1);
    raiz->addLayout(botoes);
    resize(520, 200);

    connect(cmdGravar, &QPushButton::clicked, this, &frmConfirmaGravacao::cmdGravar_Click);
    connect(cmdcancelar, &QPushButton::clicked, this, &frmConfirmaGravacao::cmdcancelar_Click);
    connect(cmdAjuda, &QPushButton::clicked, this, &Formulario::mostrarAjuda);
}

void frmConfirmaGravacao::Form_Load()
{
    const Geral& g = geral();
    lblCNPJ->setText(g.gCNPJ);
    lblTipo->setText(dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" a ") + dataDdMmAaaa(g.gPeriodoFinal));
    bool achou = false;
    QString nome;
    if (!entrega::fun_Empresarial(achou, nome)) {
        // The identifier file must not go out with a blank name by mistake.
        cmdGravar->setEnabled(false);
        dlg::MsgBox(g.gMsg);
    } else if (!achou) {
        // Nor with 60 blanks in place of the name.
        cmdGravar->setEnabled(false);
        dlg::MsgBox(entrega::MsgSemEmpresa, dlg::Icone::Critico);
    } else {
        lblNomeEmpresarial->setText(nome);
    }
}

void frmConfirmaGravacao::cmdGravar_Click()
{
    if (!cmdGravar->isEnabled())
        return;
    ProgBar1->setMaximum(4);
    ProgBar1->setValue(0);
    ProgBar1->setVisible(true);
    cmdGravar->setEnabled(false);
    cmdcancelar->setEnabled(false);
    const auto passo = [this] { ProgBar1->setValue(std::min(ProgBar1->value() + 1, 3)); };
    const bool ok = entrega::gravarEntrega(nullptr, passo);
    if (ok) {
        ProgBar1->setValue(4);
        dlg::MsgBox(entrega::MsgSucesso, dlg::Icone::Informacao);
    } else {
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
    }
    Formularios::descarregar(this);
}

void frmConfirmaGravacao::cmdcancelar_Click()
{
    Formularios::descarregar(this);
}
