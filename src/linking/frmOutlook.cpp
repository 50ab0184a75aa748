#include "frmOutlook.h"

#include "shell/Geral.h"
#include "shell/HelpContexts.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabBar>
#include <QVBoxLayout>

frmOutlook::frmOutlook(QWidget* parent)
    : Formulario(parent)
{
    setWindowTitle(QStringLiteral("Vinculação a BELTA"));
    definirContextoAjuda(ajuda::frmOutlook);

    lblCnpjPeriodo = new QLabel(this);
    lblCnpjPeriodo->setObjectName(QStringLiteral("lblCnpjPeriodo"));
    tabOl = new QTabBar(this);
    tabOl->setObjectName(QStringLiteral("tabOl"));
    tabOl->addTab(QStringLiteral("Vinculação de Contas"));
    tabOl->addTab(QStringLiteral("Contas Vinculadas"));
    elaChild = new QFrame(this);
    elaChild->setObjectName(QStringLiteral("elaChild"));
    m_layoutFilho = new QVBoxLayout(elaChild);
    m_layoutFilho->setContentsMargins(0, 0, 0, 0);

    auto* l = new QVBoxLayout(this);
    l->addWidget(lblCnpjPeriodo);
    l->addWidget(tabOl);
    l->addWidget(elaChild, 1);
    resize(980, 600);

    connect(tabOl, &QTabBar::tabBarClicked, this, &frmOutlook::tabOl_Click);
}

void frmOutlook::Form_Load()
{
    const Geral& g = geral();
    lblCnpjPeriodo->setText(QStringLiteral("CNPJ:") + g.gCNPJ + QStringLiteral("   Período: ")
                            + dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" à ") + dataDdMmAaaa(g.gPeriodoFinal));
}

void frmOutlook::Form_Unload()
{
    if (m_filho)
        Formularios::descarregar(m_filho.data());
}

void frmOutlook::tabOl_Click(int indice)
{
    if (indice < 0)
        return;
    const QString legenda = tabOl->tabText(indice);
    if (legenda == u"Vinculação de Contas")
        MostraFilho(QStringLiteral("frmVinculacao"));
    else if (legenda == u"Contas Vinculadas")
        MostraFilho(QStringLiteral("frmContasVinculadas"));
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
