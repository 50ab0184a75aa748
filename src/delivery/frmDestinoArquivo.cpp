#include "frmDestinoArquivo.h"

#include "motor/Gravacao.h"

#include "platform/Dialogos.h"
#include "platform/NomesNativos.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/ListasPastas.h"
#include "shell/BotoesJanela.h"
#include "shell/ControlePastas.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

frmDestinoArquivo::frmDestinoArquivo(QWidget* parent)
    : Formulario(parent)
{
    setObjectName(QStringLiteral("frmDestinoArquivo"));
    definirContextoAjuda(ajuda::frmDestinoArquivo);
    setWindowTitle(QStringLiteral("Informar Destino do Arquivo"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const listas::ControlesPasta c =
        listas::criarControlesPasta(this, QStringLiteral("frmDestino"), QStringLiteral("Destino"),
                                    QStringLiteral("Unidade de Destino:"), QStringLiteral("Pasta de Destino:"));
    frmDestino = c.moldura;
    lblUnidade = c.lblUnidade;
    DrvDRIVE = c.DrvDRIVE;
    lblPasta = c.lblPasta;
    driDiretorio = c.driDiretorio;

    auto* grade = new QGridLayout(frmDestino);
    grade->addWidget(lblPasta, 0, 0);
    grade->addWidget(driDiretorio, 1, 0);
    grade->addWidget(lblUnidade, 2, 0);
    grade->addWidget(DrvDRIVE, 3, 0);

    lblCNPJ = new QLabel(this);
    lblCNPJ->setObjectName(QStringLiteral("lblCNPJ"));
    lblPeriodo = new QLabel(this);
    lblPeriodo->setObjectName(QStringLiteral("lblPeriodo"));

    const BotoesOkCancelarAjuda botoes = criaBotoesOkCancelarAjuda(this);
    cmdOk = botoes.cmdOk;
    cmdCancelar = botoes.cmdCancelar;
    cmdAjuda = botoes.cmdAjuda;

    auto* raiz = new QVBoxLayout(this);
    raiz->addWidget(lblCNPJ);
    raiz->addWidget(lblPeriodo);
    raiz->addWidget(frmDestino, 1);
    raiz->addLayout(botoes.linha);
    resize(480, 420);

    m_pastas = new listas::ControlePastas(this, DrvDRIVE, driDiretorio, entrega::MsgMidia);
    connect(cmdOk, &QPushButton::clicked, this, &frmDestinoArquivo::cmdOk_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmDestinoArquivo::cmdCancelar_Click);
    connect(cmdAjuda, &QPushButton::clicked, this, &Formulario::mostrarAjuda);
}

void frmDestinoArquivo::Form_Load()
{
    const Geral& g = geral();
    listas::preencherUnidades(DrvDRIVE);
    // The program's volume, at the folder the program was started from when
    // it is on that volume (a volume's current folder).
    const QString programa = QDir(pastas().programa).absolutePath();
    // A current folder whose name cannot be used is not offered.
    const QString atual = nomes::pastaAtual();
    const bool mesmoVolume = !atual.isEmpty() && QStorageInfo(atual).rootPath() == QStorageInfo(programa).rootPath();
    definirPasta(mesmoVolume ? atual : programa);
    lblCNPJ->setText(QStringLiteral("CNPJ: ") + g.gCNPJ);
    lblPeriodo->setText(QStringLiteral("Período: ") + dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" a ")
                        + dataDdMmAaaa(g.gPeriodoFinal));
}

bool frmDestinoArquivo::Form_QueryUnload()
{
    cmdCancelar_Click();
    return false;
}

QString frmDestinoArquivo::pasta() const
{
    return m_pastas->pasta();
}

void frmDestinoArquivo::definirPasta(const QString& pasta)
{
    m_pastas->definirPasta(pasta);
}

void frmDestinoArquivo::cmdOk_Click()
{
    // A folder whose name cannot be used is refused here: under the name Qt
    // reads it would be another folder.
    if (listas::mostrarRecusa(driDiretorio->currentItem()))
        return;
    // The highlighted folder, else the open one.
    const QString escolhida = listas::caminhoDoItem(driDiretorio->currentItem());
    geral().gDestino = escolhida.isEmpty() ? pasta() : escolhida;
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmConfirmaGravacao")))
        Formularios::mostrarModal(f);
}

void frmDestinoArquivo::cmdCancelar_Click()
{
    listas::selecionarUnidadeDe(DrvDRIVE, pastas().programa);
    Formularios::descarregar(this);
}
