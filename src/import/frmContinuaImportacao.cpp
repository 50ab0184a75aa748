#include "frmContinuaImportacao.h"

#include "platform/CursorEspera.h"
#include "platform/Dialogos.h"
#include "shell/BotoesJanela.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/Servicos.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char* const Legendas68[9] = {
    "Plano de Contas Diário Geral", "Plano de Contas Diário Auxiliar", "Centro de Custos",
    "Centro de Despesas", "Histórico Padrão", "Lançamentos Diário Geral",
    "Lançamentos Diário Auxiliar", "Saldos Diário Geral", "Saldos Diário Auxiliar",
};
// Members 3 and 4 (types 4 and 5) do not exist under instruction 86.
const char* const Legendas86[9] = {
    "Plano de Contas Diário Geral", "Plano de Contas Diário Auxiliar", "Centro de Custos/Despesas",
    "", "", "Lançamentos Diário Geral", "Lançamentos Diário Auxiliar", "Saldos Diário Geral",
    "Saldos Diário Auxiliar",
};
// Check-mark member beside each instruction-86 option (by option member).
constexpr int Marca86[9] = {9, 10, 11, -1, -1, 12, 13, 14, 15};

QPixmap marcaVerificacao()
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QPen caneta(QColor(0, 128, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    g.setPen(caneta);
    QPainterPath traco;
    traco.moveTo(2.5, 8.5);
    traco.lineTo(6.5, 12.5);
    traco.lineTo(13.5, 3.5);
    g.drawPath(traco);
    return p;
}

QLabel* novaMarca(QWidget* pai, const QString& nome)
{
    auto* l = new QLabel(pai);
    l->setObjectName(nome);
    l->setPixmap(marcaVerificacao());
    l->setFixedSize(16, 16);
    return l;
}

} // namespace

frmContinuaImportacao::frmContinuaImportacao(QWidget* parent)
    : Formulario(parent)
{
    setObjectName(QStringLiteral("frmContinuaImportacao"));
    setWindowTitle(QStringLiteral("Selecionar Arquivo a Importar"));
    definirContextoAjuda(ajuda::frmContinuaImportacao);

    frmIN68 = new QGroupBox(QStringLiteral("Portaria Talsa 13/1995"), this);
    frmIN68->setObjectName(QStringLiteral("frmIN68"));
    FrmIN86 = new QGroupBox(QStringLiteral("ADE Talsa 15/2001"), this);
    FrmIN86->setObjectName(QStringLiteral("FrmIN86"));

    for (int i = 0; i < 16; ++i) {
        QWidget* pai = i < 9 ? static_cast<QWidget*>(frmIN68) : static_cast<QWidget*>(FrmIN86);
        Image1[i] = novaMarca(pai, QStringLiteral("Image1_%1").arg(i));
        Image1[i]->setVisible(false);
    }

    auto* grade68 = new QGridLayout(frmIN68);
    for (int i = 0; i < 9; ++i) {
        optTipoarquivo68[i] = new QRadioButton(QString::fromUtf8(Legendas68[i]), frmIN68);
        optTipoarquivo68[i]->setObjectName(QStringLiteral("optTipoarquivo68_%1").arg(i));
        grade68->addWidget(Image1[i], i, 0);
        grade68->addWidget(optTipoarquivo68[i], i, 1);
    }
    grade68->setColumnStretch(1, 1);

    auto* grade86 = new QGridLayout(FrmIN86);
    int linha = 0;
    for (int i = 0; i < 9; ++i) {
        if (Marca86[i] < 0) {
            // Outside the frames, without caption: never part of the choice.
            OptTipoArquivo86[i] = new QRadioButton(this);
            OptTipoArquivo86[i]->setObjectName(QStringLiteral("OptTipoArquivo86_%1").arg(i));
            OptTipoArquivo86[i]->setVisible(false);
            OptTipoArquivo86[i]->setEnabled(false);
            continue;
        }
        OptTipoArquivo86[i] = new QRadioButton(QString::fromUtf8(Legendas86[i]), FrmIN86);
        OptTipoArquivo86[i]->setObjectName(QStringLiteral("OptTipoArquivo86_%1").arg(i));
        grade86->addWidget(Image1[Marca86[i]], linha, 0);
        grade86->addWidget(OptTipoArquivo86[i], linha, 1);
        ++linha;
    }
    grade86->setColumnStretch(1, 1);
    grade86->setRowStretch(linha, 1);

    lblTitulo1 = new QLabel(QStringLiteral("Os arquivos com "), this);
    lblTitulo1->setObjectName(QStringLiteral("lblTitulo1"));
    imgCheck = novaMarca(this, QStringLiteral("imgCheck"));
    lblTitulo2 = new QLabel(QStringLiteral("já foram importados com sucesso."), this);
    lblTitulo2->setObjectName(QStringLiteral("lblTitulo2"));

    Label1 = new QLabel(QStringLiteral("CNPJ:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    lblCnpj1 = new QLabel(this);
    lblCnpj1->setObjectName(QStringLiteral("lblCnpj1"));
    Label2 = new QLabel(QStringLiteral("Período: "), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    LblPeriodo = new QLabel(this);
    LblPeriodo->setObjectName(QStringLiteral("LblPeriodo"));

    const BotoesOkCancelarAjuda botoes = criaBotoesOkCancelarAjuda(this);
    cmdOk = botoes.cmdOk;
    cmdCancelar = botoes.cmdCancelar;
    cmdAjuda = botoes.cmdAjuda;

    auto* cabecalho = new QGridLayout;
    cabecalho->addWidget(Label1, 0, 0);
    cabecalho->addWidget(lblCnpj1, 0, 1);
    cabecalho->addWidget(Label2, 1, 0);
    cabecalho->addWidget(LblPeriodo, 1, 1);
    cabecalho->setColumnStretch(1, 1);

    auto* frames = new QHBoxLayout;
    frames->addWidget(frmIN68);
    frames->addWidget(FrmIN86);

    auto* legenda = new QHBoxLayout;
    legenda->setSpacing(0);
    legenda->addWidget(lblTitulo1);
    legenda->addWidget(imgCheck);
    legenda->addSpacing(4);
    legenda->addWidget(lblTitulo2);
    legenda->addStretch(1);

    auto* raiz = new QVBoxLayout(this);
    raiz->addLayout(cabecalho);
    raiz->addLayout(frames);
    raiz->addLayout(legenda);
    raiz->addLayout(botoes.linha);

    connect(cmdOk, &QPushButton::clicked, this, &frmContinuaImportacao::cmdOk_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmContinuaImportacao::cmdCancelar_Click);
    connect(cmdAjuda, &QPushButton::clicked, this, &frmContinuaImportacao::cmdAjuda_Click);
}

void frmContinuaImportacao::Form_Load()
{
    Geral& g = geral();
    const bool in68 = g.gIN == 68;
    for (QRadioButton* o : optTipoarquivo68)
        o->setEnabled(in68);
    frmIN68->setEnabled(in68);
    for (int i = 0; i < 9; ++i)
        OptTipoArquivo86[i]->setEnabled(!in68 && Marca86[i] >= 0);
    FrmIN86->setEnabled(!in68);

    for (int t = 1; t <= 9; ++t)
        g.gFlagTipo[t].clear();

    lblCnpj1->setText(g.gCNPJ);
    LblPeriodo->setText(dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" a ") + dataDdMmAaaa(g.gPeriodoFinal));

    bool achou = false;
    QList<Importado> linhas;
    if (!Verifica_Importados(QVariant(), achou, &linhas)) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    for (const Importado& r : linhas) {
        g.gSituacao = r.situacao.isNull() ? qint16(-1) : qint16(r.situacao.toInt());
        if (r.tipo < 1 || r.tipo > 9)
            continue;
        g.gFlagTipo[r.tipo] = QStringLiteral("S");
        if (VerificaSituacaoImportado(g.gSituacao))
            mostrarMarca(r.tipo);
    }
}

bool frmContinuaImportacao::Form_QueryUnload()
{
    // Closing the window ends the chain as Cancelar does.
    cmdCancelar_Click();
    return false;
}

void frmContinuaImportacao::mostrarMarca(int tipo)
{
    int membro = tipo - 1;
    if (geral().gIN != 68 && Marca86[tipo - 1] >= 0)
        membro = Marca86[tipo - 1];
    Image1[membro]->setVisible(true);
}

bool frmContinuaImportacao::Verifica_Importados(const QVariant& tipo, bool& achou, QList<Importado>* linhas)
{
    CursorEspera espera;
    Geral& g = geral();
    achou = false;
    if (linhas)
        linhas->clear();
    QString sql = QStringLiteral(
        "SELECT INARQUIVO, CNPJ, PERIODOINICIAL, PERIODOFINAL, TIPO, SITUACAO FROM TBimportados")
        + filtroDeclaracao();
    QVariantList params = chaveDeclaracao();
    const bool umTipo = !tipo.isNull() && !(tipo.typeId() == QMetaType::QString && tipo.toString().isEmpty());
    if (umTipo) {
        sql += QStringLiteral(" AND tipo = ?");
        params << tipo.toInt();
    } else {
        sql += QStringLiteral(" AND situacao <> 777");
    }
    db::Erro erro;
    if (!g.gConn || !g.gConn->aberta()) {
        erro = db::Erro{db::ErroBanco, db::TextoNaoAberto};
    } else {
        db::Consulta q(*g.gConn);
        if (q.preparar(sql, &erro) && q.executar(params, &erro)) {
            while (q.proximo()) {
                achou = true;
                if (!linhas)
                    break;
                linhas->append(Importado{qint16(q.valor(4).toInt()), q.valor(5)});
            }
            if (!q.falhou())
                return true;
            erro = q.erro();
        }
    }
    espera.restaurar();
    g.gMsg = textoErro(erro, QStringLiteral("Verifica_Importados"));
    return false;
}

bool frmContinuaImportacao::VerificaSituacaoImportado(qint16 situacao)
{
    switch (situacao) {
    case 0: case 53: case 54: case 55: case 56: case 57: case 90: case 100:
        return true;
    default:
        return false;
    }
}

bool frmContinuaImportacao::selecionado(int i) const
{
    return optTipoarquivo68[i]->isChecked() || OptTipoArquivo86[i]->isChecked();
}

frmContinuaImportacao::Sobrepor frmContinuaImportacao::Ja_importado()
{
    Geral& g = geral();
    int escolhido = -1;
    Importado linha;
    for (int i = 0; i < 9; ++i) {
        if (!selecionado(i))
            continue;
        bool achou = false;
        QList<Importado> linhas;
        if (!Verifica_Importados(i + 1, achou, &linhas)) {
            dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
            return Sobrepor::Falhou;
        }
        if (achou) {
            escolhido = i;
            linha = linhas.first();
            break;
        }
        g.gTipoArquivo = qint16(i + 1);
    }
    if (escolhido < 0)
        return Sobrepor::Nao;

    Sobrepor r = Sobrepor::Nao;
    g.gSituacao = linha.situacao.isNull() ? qint16(-1) : qint16(linha.situacao.toInt());
    const bool tabela = linha.tipo >= 1 && linha.tipo <= 5;
    const bool movimento = linha.tipo >= 6 && linha.tipo <= 9;
    if (tabela || movimento) {
        if (VerificaSituacaoImportado(g.gSituacao)) {
            g.gMsg = tabela ? QStringLiteral("Arquivo já importado sem erros. Nova importação implicará na exclusão "
                                             "dos arquivos vinculados. Deseja sobrepor?")
                            : QStringLiteral("Arquivo já importado. Deseja sobrepor?");
            r = Sobrepor::Perguntar;
        } else if (!linha.situacao.isNull() && g.gSituacao == 777) {
            g.gRespostaExiste = dlg::RespSim;
        }
    }
    g.gTipoArquivo = qint16(escolhido + 1);
    return r;
}

void frmContinuaImportacao::cmdOk_Click()
{
    Geral& g = geral();
    g.gTipoArquivo = 0;

    if (g.gOperacao == 1 || g.gOperacao == 2) {
        g.gRespostaExiste = 0;
        switch (Ja_importado()) {
        case Sobrepor::Falhou:
            return;
        case Sobrepor::Perguntar:
            g.gRespostaExiste = qint16(dlg::MsgBox(g.gMsg, dlg::Icone::Informacao, dlg::Botoes::SimNao));
            if (g.gRespostaExiste != dlg::RespSim)
                return;
            break;
        case Sobrepor::Nao:
            break;
        }
    }

    const auto recusa = [](const char* texto) {
        dlg::MsgBox(QString::fromUtf8(texto), dlg::Icone::Critico);
    };
    const auto tabelasDeCodigo = [&g]() {
        const bool faltam = g.gIN == 68
            ? (g.gFlagTipo[3] != u"S" || g.gFlagTipo[4] != u"S" || g.gFlagTipo[5] != u"S")
            : g.gFlagTipo[3] != u"S";
        if (!faltam)
            return true;
        return dlg::MsgBox(QStringLiteral("Não foram importadas todas as tabelas de código. Deseja continuar ?"),
                           dlg::Icone::Nenhum, dlg::Botoes::SimNao)
            == dlg::RespSim;
    };

    if (selecionado(0))
        g.gTipoArquivo = 1;
    if (selecionado(1)) {
        if (g.gIN == 86 && g.gFlagTipo[1] != u"S") {
            recusa("O arquivo Plano de Contas Diário Auxiliar não pode ser importado antes do Plano de Contas "
                   "Diário Geral.");
            return;
        }
        g.gTipoArquivo = 2;
    }
    if (selecionado(2))
        g.gTipoArquivo = 3;
    if (optTipoarquivo68[3]->isChecked())
        g.gTipoArquivo = 4;
    if (optTipoarquivo68[4]->isChecked())
        g.gTipoArquivo = 5;
    if (selecionado(5)) {
        if (g.gFlagTipo[1] != u"S") {
            recusa("O arquivo de Lançamentos Diário Geral não pode ser importado antes do arquivo de Plano de "
                   "Contas Diário Geral.");
            return;
        }
        if (!tabelasDeCodigo())
            return;
        g.gTipoArquivo = 6;
    }
    if (selecionado(6)) {
        if (g.gFlagTipo[2] != u"S") {
            recusa("O arquivo de Lançamentos Diário Auxiliar não pode ser importado antes do arquivo de Plano de "
                   "Contas Diário Auxiliar.");
            return;
        }
        if (!tabelasDeCodigo())
            return;
        g.gTipoArquivo = 7;
    }
    if (selecionado(7)) {
        if (g.gFlagTipo[1] != u"S") {
            recusa("O arquivo de Saldos Diário Geral não pode ser importado antes do arquivo de Plano de Contas "
                   "Diário Geral.");
            return;
        }
        g.gTipoArquivo = 8;
    }
    if (selecionado(8)) {
        if (g.gFlagTipo[2] != u"S") {
            recusa("O arquivo de Saldos Diário Auxiliar não pode ser importado antes do arquivo de Plano de Contas "
                   "Diário auxiliar.");
            return;
        }
        g.gTipoArquivo = 9;
    }

    if (g.gTipoArquivo == 0) {
        dlg::MsgBox(QStringLiteral("Selecione uma das opções."), dlg::Icone::Informacao);
        return;
    }
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmLeiaute")))
        Formularios::mostrarModal(f);
}

void frmContinuaImportacao::cmdCancelar_Click()
{
    Formularios::descarregar(this);
    // The new-declaration window only hid itself while the chain ran.
    Formularios::descarregar(QStringLiteral("frmDadosContribuinte"));
}

void frmContinuaImportacao::cmdAjuda_Click()
{
    mostrarAjuda();
}
