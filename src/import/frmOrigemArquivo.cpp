#include "frmOrigemArquivo.h"

#include "PreChecagem.h"
#include "platform/Dialogos.h"
#include "platform/NomesNativos.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/ListasPastas.h"
#include "shell/Servicos.h"
#include "shell/BotoesJanela.h"
#include "shell/ControlePastas.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

QString frmOrigemArquivo::NomeArquivoOrigem;
const QString frmOrigemArquivo::Padrao = QStringLiteral("*.txt;*.dec;*.sov");

namespace {

bool confere(const QString& nome)
{
    static const QList<QRegularExpression> padroes = [] {
        QList<QRegularExpression> r;
        for (const QString& p : frmOrigemArquivo::Padrao.split(u';', Qt::SkipEmptyParts))
            r << QRegularExpression::fromWildcard(p, Qt::CaseInsensitive);
        return r;
    }();
    for (const QRegularExpression& p : padroes)
        if (p.match(nome).hasMatch())
            return true;
    return false;
}

} // namespace

frmOrigemArquivo::frmOrigemArquivo(QWidget* parent)
    : Formulario(parent)
{
    setObjectName(QStringLiteral("frmOrigemArquivo"));
    definirContextoAjuda(ajuda::frmOrigemArquivo);
    setWindowTitle(QStringLiteral("Localizar Arquivo "));

    const listas::ControlesPasta c =
        listas::criarControlesPasta(this, QStringLiteral("frmOrigem"), QStringLiteral("Origem"),
                                    QStringLiteral("Unidade de Origem:"), QStringLiteral("Pasta de Origem:"));
    frmOrigem = c.moldura;
    lblUnidade = c.lblUnidade;
    DrvDRIVE = c.DrvDRIVE;
    lblPasta = c.lblPasta;
    driDiretorio = c.driDiretorio;
    lblNome = new QLabel(QStringLiteral("Nome do Arquivo:"), frmOrigem);
    lblNome->setObjectName(QStringLiteral("lblNome"));
    flArquivo = new QListWidget(frmOrigem);
    flArquivo->setObjectName(QStringLiteral("flArquivo"));
    lblNome->setBuddy(flArquivo);

    auto* grade = new QGridLayout(frmOrigem);
    grade->addWidget(lblNome, 0, 0);
    grade->addWidget(flArquivo, 1, 0, 3, 1);
    grade->addWidget(lblPasta, 0, 1);
    grade->addWidget(driDiretorio, 1, 1);
    grade->addWidget(lblUnidade, 2, 1);
    grade->addWidget(DrvDRIVE, 3, 1);
    grade->setColumnStretch(0, 1);
    grade->setColumnStretch(1, 1);

    lblCNPJ = new QLabel(this);
    lblCNPJ->setObjectName(QStringLiteral("lblCNPJ"));
    lblPeriodo = new QLabel(this);
    lblPeriodo->setObjectName(QStringLiteral("lblPeriodo"));

    cmdOk = novoBotao(this, QStringLiteral("cmdOk"), QStringLiteral("&Ok"));
    Voltar = novoBotao(this, QStringLiteral("Voltar"), QStringLiteral("&Voltar"));
    cmdCancelar = novoBotao(this, QStringLiteral("cmdCancelar"), QStringLiteral("&Cancelar"));
    cmdAjuda = novoBotao(this, QStringLiteral("cmdAjuda"), QStringLiteral("&Ajuda"));

    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(cmdOk);
    botoes->addWidget(Voltar);
    botoes->addWidget(cmdCancelar);
    botoes->addWidget(cmdAjuda);

    auto* raiz = new QVBoxLayout(this);
    raiz->addWidget(lblCNPJ);
    raiz->addWidget(lblPeriodo);
    raiz->addWidget(frmOrigem, 1);
    raiz->addLayout(botoes);
    resize(640, 400);
    // The lists first, in the order a choice is made, then the buttons.
    setTabOrder(DrvDRIVE, driDiretorio);
    setTabOrder(driDiretorio, flArquivo);
    setTabOrder(flArquivo, cmdOk);
    setTabOrder(cmdOk, Voltar);
    setTabOrder(Voltar, cmdCancelar);
    setTabOrder(cmdCancelar, cmdAjuda);

    // A folder opened disables OK and lists its files.
    m_pastas = new listas::ControlePastas(this, DrvDRIVE, driDiretorio, prechecagem::TextoMidia, [this] {
        cmdOk->setEnabled(false);
        listarArquivos();
    });
    connect(flArquivo, &QListWidget::itemSelectionChanged, this, &frmOrigemArquivo::flArquivo_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmOrigemArquivo::cmdOk_Click);
    connect(Voltar, &QPushButton::clicked, this, &frmOrigemArquivo::Voltar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmOrigemArquivo::cmdCancelar_Click);
    connect(cmdAjuda, &QPushButton::clicked, this, &frmOrigemArquivo::cmdAjuda_Click);
}

void frmOrigemArquivo::Form_Load()
{
    Geral& g = geral();
    listas::preencherUnidades(DrvDRIVE);
    // A last folder that is gone or unreadable falls back to the program folder.
    const QFileInfo ultima(g.gDiretorio);
    const bool usaUltima = !g.gDiretorio.isEmpty() && ultima.isDir() && ultima.isReadable();
    definirPasta(usaUltima ? g.gDiretorio : pastas().programa);
    setWindowTitle(QStringLiteral("Localizar Arquivo ") + Fun_DescricaoTipoArquivo());
    lblCNPJ->setText(QStringLiteral("CNPJ: ") + g.gCNPJ);
    lblPeriodo->setText(QStringLiteral("Período: ") + dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" a ")
                        + dataDdMmAaaa(g.gPeriodoFinal));
    cmdOk->setEnabled(false);
}

bool frmOrigemArquivo::Form_QueryUnload()
{
    cmdCancelar_Click();
    return false;
}

QString frmOrigemArquivo::pasta() const
{
    return m_pastas->pasta();
}

void frmOrigemArquivo::definirPasta(const QString& pasta)
{
    m_pastas->definirPasta(pasta);
}

void frmOrigemArquivo::listarArquivos()
{
    flArquivo->clear();
    for (const nomes::Entrada& e : nomes::listar(pasta(), nomes::Filtro::Arquivos)) {
        if (!confere(e.exibicao))
            continue;
        auto* item = new QListWidgetItem(e.exibicao, flArquivo);
        listas::marcarRecusa(item, e.recusa);
    }
}

QStringList frmOrigemArquivo::arquivosListados() const
{
    QStringList r;
    for (int i = 0; i < flArquivo->count(); ++i)
        r << flArquivo->item(i)->text();
    return r;
}

void frmOrigemArquivo::flArquivo_Click()
{
    cmdOk->setEnabled(!flArquivo->selectedItems().isEmpty());
}

void frmOrigemArquivo::cmdOk_Click()
{
    QListWidgetItem* item = flArquivo->currentItem();
    if (!item || !cmdOk->isEnabled())
        return;
    // A name that cannot be used is refused before it is taken as the choice.
    if (listas::mostrarRecusa(item))
        return;
    Geral& g = geral();
    const QString nome = item->text();
    // The path as chosen: file names are case-sensitive here.
    g.gArquivoOrigem = QDir(pasta()).filePath(nome);
    NomeArquivoOrigem = nome;
    g.gDiretorio = pasta();

    switch (prechecagem::verificar(g.gArquivoOrigem)) {
    case prechecagem::Resultado::Inacessivel:
        listas::selecionarUnidadeDe(DrvDRIVE, pasta());
        dlg::MsgBox(prechecagem::TextoMidia, dlg::Icone::Critico);
        return;
    case prechecagem::Resultado::Vazio:
        dlg::MsgBox(prechecagem::TextoVazio);
        return;
    case prechecagem::Resultado::ErroLeiaute:
    case prechecagem::Resultado::ErroLeitura:
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    case prechecagem::Resultado::TamanhoInvalido:
        dlg::MsgBox(prechecagem::TextoInvalido);
        return;
    case prechecagem::Resultado::Aceito:
        break;
    }
    listas::selecionarUnidadeDe(DrvDRIVE, pastas().programa);
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmImportarArquivo")))
        Formularios::mostrarModal(f);
}

void frmOrigemArquivo::Voltar_Click()
{
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmLeiaute")))
        Formularios::mostrarModal(f);
}

void frmOrigemArquivo::cmdCancelar_Click()
{
    listas::selecionarUnidadeDe(DrvDRIVE, pastas().programa);
    geral().gDiretorio = pasta();
    Formularios::descarregar(this);
}

void frmOrigemArquivo::cmdAjuda_Click()
{
    mostrarAjuda();
}
