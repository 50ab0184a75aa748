#include "frmOutlook.h"

#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/Outlook.h"
#include "shell/BotoesJanela.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmOutlook::frmOutlook(QWidget* parent)
    : Formulario(parent)
{
    setWindowTitle(QStringLiteral("Vinculação a BELTA"));
    definirContextoAjuda(ajuda::frmOutlook);

    elaCanvas = new QFrame(this);
    elaCanvas->setObjectName(QStringLiteral("elaCanvas"));
    elaOutlook = new PainelElastico(elaCanvas);
    elaOutlook->setObjectName(QStringLiteral("elaOutlook"));
    elaOutlook->setFixedWidth(190);
    elaBtn = novoBotao(nullptr, QStringLiteral("elaBtn"), QStringLiteral("Vinculação a BELTA"));
    tabOl = new FaixaAbas;
    tabOl->setObjectName(QStringLiteral("tabOl"));
    tabOl->definirLegendas(QStringLiteral("Vinculação de Contas|Contas Vinculadas"));
    elaOutlook->adicionarLinha(elaBtn, 330, true);
    elaOutlook->adicionarLinha(tabOl, 0, false);

    lblCnpjPeriodo = new QLabel(elaCanvas);
    lblCnpjPeriodo->setObjectName(QStringLiteral("lblCnpjPeriodo"));
    elaChild = new QFrame(elaCanvas);
    elaChild->setObjectName(QStringLiteral("elaChild"));
    m_layoutFilho = new QVBoxLayout(elaChild);
    m_layoutFilho->setContentsMargins(0, 0, 0, 0);

    auto* direita = new QVBoxLayout;
    direita->addWidget(lblCnpjPeriodo);
    direita->addWidget(elaChild, 1);
    auto* canvas = new QHBoxLayout(elaCanvas);
    canvas->addWidget(elaOutlook);
    canvas->addLayout(direita, 1);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(elaCanvas);

    connect(elaBtn, &QPushButton::clicked, this, [this] { elaBtn_Click(0); });
    connect(elaOutlook, &PainelElastico::redimensionado, this, &frmOutlook::elaOutlook_Resize);
    connect(tabOl, &FaixaAbas::Click, this, [this] { tabOl_Click(0); });
}

QSize frmOutlook::sizeHint() const
{
    return {980, 600};
}

void frmOutlook::Form_Load()
{
    const Geral& g = geral();
    lblCnpjPeriodo->setText(QStringLiteral("CNPJ:") + g.gCNPJ + QStringLiteral("   Período: ")
                            + dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" à ") + dataDdMmAaaa(g.gPeriodoFinal));
    IniciaOutlook(elaOutlook, 330);
    IniciaTabs({tabOl});
    AjustaTabs({tabOl});
    AbreGrupo(elaOutlook, 0);
}

void frmOutlook::Form_Unload()
{
    if (m_filho)
        Formularios::descarregar(m_filho.data());
}

void frmOutlook::elaBtn_Click(int grupo)
{
    AbreGrupo(elaOutlook, grupo);
}

void frmOutlook::elaOutlook_Resize()
{
    AjustaTabs({tabOl});
}

void frmOutlook::tabOl_Click(int indice)
{
    if (indice != 0)
        return;
    const int aba = tabOl->CurrTab();
    if (aba == -1)
        return;
    const QString legenda = tabOl->legenda(aba);
    if (legenda == u"Vinculação de Contas")
        MostraFilho(QStringLiteral("frmVinculacao"));
    else if (legenda == u"Contas Vinculadas")
        MostraFilho(QStringLiteral("frmContasVinculadas"));
    SelecionaTab({tabOl}, indice);
}

void frmOutlook::MostraFilho(const QString& nome)
{
    if (m_filho)
        Formularios::descarregar(m_filho.data());
    m_filho = nullptr;
    Formulario* f = Formularios::carregar(nome);
    if (!f)
        return;
    f->setParent(elaChild, Qt::Widget);
    m_layoutFilho->addWidget(f);
    f->setVisible(true);
    m_filho = f;
}
