#include "frmVerificacaoPendencias.h"

#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/Menus.h"
#include "shell/Outlook.h"
#include "shell/BotoesJanela.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Grupo {
    const char* botao;
    const char* abas;       // captions joined by "|"
    const char* primeira;   // window of the first tab
};

const Grupo Grupos[] = {
    {"Lançamentos", "Lançamento Diário Geral", "frmLancamentogeral"},
    {"Saldos",
     "Saldo Final Diário Geral|Saldo Final Diário Auxiliar|Saldo Inicial Diário Geral|Saldo Inicial Diário Auxiliar",
     "frmSaldoFinalGeral"},
    {"Lançamentos x Saldos", "Débitos|Créditos", "frmLancamentoSaldoDebito"},
};

const struct {
    const char* legenda;
    const char* janela;
} Abas[] = {
    {"Lançamento Diário Geral", "frmLancamentogeral"},
    {"Saldo Final Diário Geral", "frmSaldoFinalGeral"},
    {"Saldo Final Diário Auxiliar", "frmSaldoFinalAuxiliar"},
    {"Saldo Inicial Diário Geral", "frmSaldoInicialGeral"},
    {"Saldo Inicial Diário Auxiliar", "FrmSaldoInicialAuxiliar"},
    {"Débitos", "frmLancamentoSaldoDebito"},
    {"Créditos", "frmLancamentoSaldoCredito"},
};

} // namespace

frmVerificacaoPendencias::frmVerificacaoPendencias(QWidget* parent)
    : Formulario(parent)
{
    setWindowTitle(QStringLiteral("Resultado da Validação"));
    definirContextoAjuda(ajuda::frmVerificacaoPendencias);

    LblcnpjPeriodo = new QLabel(this);
    LblcnpjPeriodo->setObjectName(QStringLiteral("LblcnpjPeriodo"));
    QFont negrito = LblcnpjPeriodo->font();
    negrito.setBold(true);
    LblcnpjPeriodo->setFont(negrito);

    elaCanvas = new QWidget(this);
    elaCanvas->setObjectName(QStringLiteral("elaCanvas"));
    elaOutlook = new PainelElastico(elaCanvas);
    elaOutlook->setObjectName(QStringLiteral("elaOutlook"));
    elaOutlook->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("Saldo Inicial Diário Auxiliar")) + 40);
    elaOutlook->setMinimumHeight(300);
    for (int g = 0; g < 3; ++g) {
        auto* botao = novoBotao(nullptr, QStringLiteral("elaOlbtn_%1").arg(g), QString::fromUtf8(Grupos[g].botao));
        connect(botao, &QPushButton::clicked, this, [this, g] { elaOlbtn_Click(g); });
        elaOlbtn << botao;
        auto* faixa = new FaixaAbas;
        faixa->setObjectName(QStringLiteral("tabOl_%1").arg(g));
        faixa->definirLegendas(QString::fromUtf8(Grupos[g].abas));
        connect(faixa, &FaixaAbas::Click, this, [this, g] { tabOl_Click(g); });
        tabOl << faixa;
        // Design sizes: the first group open, the others closed.
        elaOutlook->adicionarLinha(botao, 390, true);
        elaOutlook->adicionarLinha(faixa, g == 0 ? 3000 : 0, g != 0);
    }
    connect(elaOutlook, &PainelElastico::redimensionado, this, [this] { AjustaTabs(tabOl); });

    elaChild = new QWidget(elaCanvas);
    elaChild->setObjectName(QStringLiteral("elaChild"));
    m_layoutFilho = new QVBoxLayout(elaChild);
    m_layoutFilho->setContentsMargins(0, 0, 0, 0);

    auto* canvas = new QHBoxLayout(elaCanvas);
    canvas->setContentsMargins(0, 0, 0, 0);
    canvas->addWidget(elaOutlook);
    canvas->addWidget(elaChild, 1);

    auto* raiz = new QVBoxLayout(this);
    raiz->addWidget(LblcnpjPeriodo);
    raiz->addWidget(elaCanvas, 1);
    resize(980, 620);
}

QString frmVerificacaoPendencias::janelaDaAba(const QString& legenda)
{
    for (const auto& a : Abas) {
        if (legenda == QString::fromUtf8(a.legenda))
            return QString::fromLatin1(a.janela);
    }
    return {};
}

void frmVerificacaoPendencias::Form_Load()
{
    DesabilitaMenus();
    const Geral& g = geral();
    LblcnpjPeriodo->setText(QStringLiteral("CNPJ: ") + g.gCNPJ + QStringLiteral("  Período: ")
                            + dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" a ")
                            + dataDdMmAaaa(g.gPeriodoFinal));
    IniciaOutlook(elaOutlook, 390);
    IniciaTabs(tabOl);
    AjustaTabs(tabOl);
    AbreGrupo(elaOutlook, 0);
    tabOl[0]->setCurrTab(0);
}

void frmVerificacaoPendencias::showEvent(QShowEvent* e)
{
    Formulario::showEvent(e);
    // Inside the main window the frame takes the widget's hint; open at a
    // size that shows a result grid, within the free area.
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (m_dimensionado || !sub || !sub->mdiArea())
        return;
    m_dimensionado = true;
    const QSize livre = sub->mdiArea()->viewport()->size();
    sub->resize(qMin(livre.width(), 1000), qMin(livre.height(), 640));
    sub->move(0, 0);
}

void frmVerificacaoPendencias::Form_Unload()
{
    Formularios::descarregar(m_filho.data());
    // However the navigator closes, the File menu comes back.
    HabilitaMenus();
}

void frmVerificacaoPendencias::elaOlbtn_Click(int indice)
{
    QPointer<frmVerificacaoPendencias> guarda(this);
    AbreGrupo(elaOutlook, indice);
    // The animation lets the event loop run: the window may be gone.
    if (!guarda || !Formularios::carregado(this) || indice < 0 || indice > 2)
        return;
    MostraFilho(QString::fromLatin1(Grupos[indice].primeira));
    if (guarda)
        tabOl[indice]->setCurrTab(0);
}

void frmVerificacaoPendencias::tabOl_Click(int indice)
{
    if (indice < 0 || indice >= tabOl.size())
        return;
    FaixaAbas* faixa = tabOl[indice];
    if (faixa->CurrTab() == -1)
        return;
    const QString janela = janelaDaAba(faixa->legenda(faixa->CurrTab()));
    QPointer<frmVerificacaoPendencias> guarda(this);
    if (!janela.isEmpty())
        MostraFilho(janela);
    if (guarda)
        SelecionaTab(tabOl, indice);
}

void frmVerificacaoPendencias::MostraFilho(const QString& janela)
{
    if (m_filho) {
        Formularios::descarregar(m_filho.data());
        m_filho = nullptr;
    }
    QPointer<frmVerificacaoPendencias> guarda(this);
    Formulario* f = Formularios::carregar(janela);
    // The window's Load may have closed it, or the navigator.
    if (!guarda || !f || !Formularios::carregado(f))
        return;
    f->setParent(elaChild, Qt::Widget);
    m_layoutFilho->addWidget(f);
    f->show();
    m_filho = f;
}
