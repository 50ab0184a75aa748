#include "frmVinculacao.h"

#include "platform/Grades.h"
#include "platform/CursorEspera.h"
#include "platform/Dialogos.h"
#include "shell/BotoesJanela.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QTableView* novaGrade(QWidget* pai, const QString& nome, QSqlQueryModel* modelo)
{
    auto* g = new QTableView(pai);
    g->setObjectName(nome);
    g->setModel(modelo);
    prepararGrade(g);
    g->setSelectionMode(QAbstractItemView::ExtendedSelection);
    g->verticalHeader()->hide();
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

// Rows chosen beyond the current one: a single selected row is just the
// current row, so only two or more count as a selection.
QList<int> selecionadas(const QTableView* grade)
{
    QList<int> linhas;
    for (const QModelIndex& i : grade->selectionModel()->selectedRows())
        linhas << i.row();
    if (linhas.size() < 2)
        return {};
    std::sort(linhas.begin(), linhas.end());
    return linhas;
}

QString celula(const QSqlQueryModel* m, int linha, int coluna)
{
    return m->data(m->index(linha, coluna)).toString();
}

bool primeiraPreenchida(const QSqlQueryModel* m)
{
    return m->rowCount() > 0 && !celula(m, 0, 0).isEmpty();
}

bool carregaModelo(QSqlQueryModel& modelo, QTableView& grade, const vinculacao::Leitura& l,
                   const QStringList& titulos)
{
    const bool ok = vinculacao::preencher(modelo, l, titulos);
    if (modelo.rowCount() > 0)
        grade.setCurrentIndex(modelo.index(0, 0));
    grade.resizeColumnToContents(0);
    // An empty list still shows room for the codes.
    grade.setColumnWidth(0, std::max(grade.columnWidth(0), grade.fontMetrics().horizontalAdvance(u'0') * 14));
    return ok;
}

const QStringList TitulosConta{QStringLiteral("Conta"), QStringLiteral("Descrição")};

} // namespace

frmVinculacao::frmVinculacao(QWidget* parent)
    : Formulario(parent)
    , m_oferecidas(new QSqlQueryModel(this))
    , m_vinculadas(new QSqlQueryModel(this))
{
    setWindowTitle(QStringLiteral("Vinculação de Contas"));
    definirContextoAjuda(ajuda::frmVinculacao);

    auto* fraContribuinte = new QGroupBox(QStringLiteral("Plano de Contas do Contribuinte"), this);
    auto* lblTitulo1 = new QLabel(QStringLiteral("Contas iniciadas com:"), fraContribuinte);
    lblTitulo1->setObjectName(QStringLiteral("lblTitulo1"));
    txtContribuinte = new QLineEdit(fraContribuinte);
    txtContribuinte->setObjectName(QStringLiteral("txtContribuinte"));
    lblTitulo1->setBuddy(txtContribuinte);
    TDBContribuinte = novaGrade(fraContribuinte, QStringLiteral("TDBContribuinte"), m_oferecidas);
    auto* prefixo = new QHBoxLayout;
    prefixo->addWidget(lblTitulo1);
    prefixo->addWidget(txtContribuinte, 1);
    auto* lc = new QVBoxLayout(fraContribuinte);
    lc->addLayout(prefixo);
    lc->addWidget(TDBContribuinte, 1);

    auto* fraPadrao = new QGroupBox(QStringLiteral("Plano de Contas Padrão"), this);
    auto* lblTitulo2 = new QLabel(QStringLiteral("Conta:"), fraPadrao);
    lblTitulo2->setObjectName(QStringLiteral("lblTitulo2"));
    cblContaPadrao = new QComboBox(fraPadrao);
    cblContaPadrao->setObjectName(QStringLiteral("cblContaPadrao"));
    cblContaPadrao->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    cblContaPadrao->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cblContaPadrao->setMinimumContentsLength(30);
    lblTitulo2->setBuddy(cblContaPadrao);
    TDBPadrao = novaGrade(fraPadrao, QStringLiteral("TDBPadrao"), m_vinculadas);
    auto* conta = new QHBoxLayout;
    conta->addWidget(lblTitulo2);
    conta->addWidget(cblContaPadrao, 1);
    auto* lp = new QVBoxLayout(fraPadrao);
    lp->addLayout(conta);
    lp->addWidget(TDBPadrao, 1);

    auto botao = [this](const QString& texto, const QString& nome) {
        auto* b = novoBotao(this, nome, texto);
        b->setEnabled(false);
        return b;
    };
    cmdEnvia = botao(QStringLiteral(">"), QStringLiteral("cmdEnvia"));
    cmdEnviaTodos = botao(QStringLiteral(">>"), QStringLiteral("cmdEnviaTodos"));
    cmdRetorna = botao(QStringLiteral("<"), QStringLiteral("cmdRetorna"));
    cmdRetornaTodos = botao(QStringLiteral("<<"), QStringLiteral("cmdRetornaTodos"));
    cmdDesfazer = botao(QString(), QStringLiteral("cmdDesfazer"));
    cmdDesfazer->setEnabled(true);
    cmdDesfazer->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    cmdDesfazer->setToolTip(QStringLiteral("Desfazer"));
    auto* setas = new QVBoxLayout;
    setas->addStretch(1);
    for (QPushButton* b : {cmdEnvia, cmdEnviaTodos, cmdRetorna, cmdRetornaTodos})
        setas->addWidget(b);
    setas->addSpacing(16);
    setas->addWidget(cmdDesfazer);
    setas->addStretch(1);

    auto* l = new QHBoxLayout(this);
    l->addWidget(fraContribuinte, 1);
    l->addLayout(setas);
    l->addWidget(fraPadrao, 1);
    resize(900, 480);

    connect(cblContaPadrao, &QComboBox::activated, this, &frmVinculacao::cblContaPadrao_Click);
    connect(txtContribuinte, &QLineEdit::textChanged, this, &frmVinculacao::txtContribuinte_Change);
    connect(txtContribuinte, &QLineEdit::returnPressed, this, &frmVinculacao::txtContribuinte_KeyPress);
    connect(TDBContribuinte->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmVinculacao::TDBContribuinte_SelChange);
    connect(TDBPadrao->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmVinculacao::TDBPadrao_SelChange);
    connect(cmdEnvia, &QPushButton::clicked, this, &frmVinculacao::cmdEnvia_Click);
    connect(cmdEnviaTodos, &QPushButton::clicked, this, &frmVinculacao::cmdEnviaTodos_Click);
    connect(cmdRetorna, &QPushButton::clicked, this, &frmVinculacao::cmdRetorna_Click);
    connect(cmdRetornaTodos, &QPushButton::clicked, this, &frmVinculacao::cmdRetornaTodos_Click);
    connect(cmdDesfazer, &QPushButton::clicked, this, &frmVinculacao::cmdDesfazer_Click);
}

void frmVinculacao::Form_Load()
{
    Geral& g = geral();
    if (!Fun_Carrega_cblContaPadrao()) {
        // Nothing can be linked without a standard account to link to.
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        desabilitaTudo();
        return;
    }
    if (m_padroes.isEmpty()) {
        dlg::MsgBox(QStringLiteral("Não existem contas no Plano de Contas Padrão."), dlg::Icone::Critico);
        desabilitaTudo();
        return;
    }
    cblContaPadrao->setCurrentIndex(0);
    cblContaPadrao_Click();
    m_silencio = false;
    txtContribuinte->setText(g.gPrefixoConta);
    if (!txtContribuinte->text().isEmpty())
        m_silencio = true;
    txtContribuinte_KeyPress();
}

void frmVinculacao::Form_Unload()
{
    m_oferecidas->clear();
    m_vinculadas->clear();
}

void frmVinculacao::desabilitaTudo()
{
    for (QWidget* w : std::initializer_list<QWidget*>{cblContaPadrao, TDBPadrao, txtContribuinte, TDBContribuinte,
                                                      cmdEnvia, cmdEnviaTodos, cmdRetorna, cmdRetornaTodos,
                                                      cmdDesfazer})
        w->setEnabled(false);
}

QString frmVinculacao::contaPadrao() const
{
    const int i = cblContaPadrao->currentIndex();
    return i >= 0 && i < m_padroes.size() ? m_padroes.at(i).codigo : QString();
}

bool frmVinculacao::Fun_Carrega_cblContaPadrao()
{
    CursorEspera espera;
    cblContaPadrao->clear();
    if (!vinculacao::lerPlanoPadrao(m_padroes))
        return false;
    for (const vinculacao::Conta& c : std::as_const(m_padroes))
        cblContaPadrao->addItem(vinculacao::entradaCombo(c));
    return true;
}

bool frmVinculacao::Fun_Traz_PlanoContasPadrao()
{
    CursorEspera espera;
    return carregaModelo(*m_vinculadas, *TDBPadrao, vinculacao::contasVinculadas(contaPadrao()), TitulosConta);
}

bool frmVinculacao::Fun_traz_PlanoContasContribuinte()
{
    m_prefixo = txtContribuinte->text();
    return recarregaOferecidas();
}

bool frmVinculacao::recarregaOferecidas()
{
    CursorEspera espera;
    return carregaModelo(*m_oferecidas, *TDBContribuinte, vinculacao::contasOferecidas(m_prefixo), TitulosConta);
}

bool frmVinculacao::Fun_Consiste_digitados()
{
    if (cblContaPadrao->currentIndex() < 0) {
        dlg::MsgBox(QStringLiteral("Selecione conta padrão"));
        return false;
    }
    return true;
}

bool frmVinculacao::Fun_Verifica_vinculado(bool& existe)
{
    CursorEspera espera;
    return vinculacao::existeVinculo(contaPadrao(), existe);
}

void frmVinculacao::ajustaBotoes()
{
    const bool oferta = primeiraPreenchida(m_oferecidas);
    const bool vinculos = primeiraPreenchida(m_vinculadas);
    cmdEnvia->setEnabled(oferta);
    cmdEnviaTodos->setEnabled(oferta);
    cmdRetorna->setEnabled(vinculos);
    cmdRetornaTodos->setEnabled(vinculos);
}

bool frmVinculacao::Fun_VinculaContas(qint32 quantidade)
{
    QList<vinculacao::Conta> contas;
    auto conta = [this](int linha) {
        return vinculacao::Conta{celula(m_oferecidas, linha, 0), celula(m_oferecidas, linha, 1)};
    };
    const QList<int> marcadas = selecionadas(TDBContribuinte);
    if (!marcadas.isEmpty()) {
        for (int r : marcadas)
            contas << conta(r);
    } else if (quantidade == 1) {
        const int r = TDBContribuinte->currentIndex().row();
        if (r >= 0 && r < m_oferecidas->rowCount())
            contas << conta(r);
    } else {
        for (int r = 0; r < m_oferecidas->rowCount(); ++r)
            contas << conta(r);
    }
    {
        CursorEspera espera;
        if (!vinculacao::vincular(contaPadrao(), contas))
            return false;
    }
    // Linked accounts leave the offered list.
    const bool oferta = recarregaOferecidas();
    const bool vinculos = Fun_Traz_PlanoContasPadrao();
    ajustaBotoes();
    return oferta && vinculos;
}

bool frmVinculacao::Fun_DesvinculaContas(qint32 quantidade)
{
    bool ok = false;
    {
        CursorEspera espera;
        const QString padrao = contaPadrao();
        const QList<int> marcadas = selecionadas(TDBPadrao);
        if (quantidade == 0) {
            ok = vinculacao::desfazerTodas();
        } else if (quantidade == 1) {
            const int r = TDBPadrao->currentIndex().row();
            QStringList contas;
            if (r >= 0 && r < m_vinculadas->rowCount())
                contas << celula(m_vinculadas, r, 0);
            ok = vinculacao::desvincular(padrao, contas);
        } else if (!marcadas.isEmpty()) {
            QStringList contas;
            for (int r : marcadas)
                contas << celula(m_vinculadas, r, 0);
            ok = vinculacao::desvincular(padrao, contas);
        } else {
            ok = vinculacao::desvincularPadrao(padrao);
        }
    }
    if (!ok)
        return false;
    const bool vinculos = Fun_Traz_PlanoContasPadrao();
    const bool oferta = recarregaOferecidas();
    ajustaBotoes();
    return vinculos && oferta;
}

void frmVinculacao::cblContaPadrao_Click()
{
    if (!Fun_Traz_PlanoContasPadrao()) {
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
        return;
    }
    const bool prefixo = !txtContribuinte->text().isEmpty();
    if (prefixo && primeiraPreenchida(m_oferecidas)) {
        cmdEnvia->setEnabled(true);
        cmdEnviaTodos->setEnabled(true);
    }
    if (prefixo && primeiraPreenchida(m_vinculadas)) {
        cmdRetorna->setEnabled(true);
        cmdRetornaTodos->setEnabled(true);
    }
}

void frmVinculacao::txtContribuinte_Change()
{
    if (!txtContribuinte->text().isEmpty())
        return;
    m_oferecidas->clear();
    for (QPushButton* b : {cmdEnvia, cmdEnviaTodos, cmdRetorna, cmdRetornaTodos})
        b->setEnabled(false);
}

void frmVinculacao::txtContribuinte_KeyPress()
{
    Geral& g = geral();
    g.gPrefixoConta = txtContribuinte->text();
    if (!g.gPrefixoConta.trimmed().isEmpty() && !Fun_Consiste_digitados())
        return;
    if (!Fun_traz_PlanoContasContribuinte()) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    if (!m_silencio && m_oferecidas->rowCount() == 0) {
        dlg::MsgBox(QStringLiteral("Não existe contas para este Contribuinte"), dlg::Icone::Informacao);
        txtContribuinte->setFocus();
    }
    m_silencio = false;
    if (!Fun_Traz_PlanoContasPadrao()) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    if (primeiraPreenchida(m_oferecidas)) {
        cmdEnvia->setEnabled(true);
        cmdEnviaTodos->setEnabled(true);
    }
    if (primeiraPreenchida(m_vinculadas)) {
        cmdRetorna->setEnabled(true);
        cmdRetornaTodos->setEnabled(true);
    }
}

void frmVinculacao::TDBContribuinte_SelChange()
{
    const bool varias = !selecionadas(TDBContribuinte).isEmpty();
    cmdEnvia->setEnabled(!varias && primeiraPreenchida(m_oferecidas));
    cmdEnviaTodos->setEnabled(varias || primeiraPreenchida(m_oferecidas));
}

void frmVinculacao::TDBPadrao_SelChange()
{
    const bool varias = !selecionadas(TDBPadrao).isEmpty();
    cmdRetorna->setEnabled(!varias && primeiraPreenchida(m_vinculadas));
    cmdRetornaTodos->setEnabled(varias || primeiraPreenchida(m_vinculadas));
}

void frmVinculacao::cmdEnvia_Click()
{
    if (!Fun_VinculaContas(1))
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
}

void frmVinculacao::cmdEnviaTodos_Click()
{
    if (!Fun_VinculaContas(static_cast<qint32>(m_oferecidas->rowCount())))
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
}

void frmVinculacao::desvincularComVerificacao(bool todas)
{
    Geral& g = geral();
    bool existe = false;
    if (!Fun_Verifica_vinculado(existe)) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    if (!existe) {
        dlg::MsgBox(QStringLiteral("Não existe contas vinculadas com esta conta padrão"), dlg::Icone::Critico);
        return;
    }
    if (!Fun_DesvinculaContas(todas ? static_cast<qint32>(std::max(2, m_vinculadas->rowCount())) : 1))
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
}

void frmVinculacao::cmdRetorna_Click()
{
    desvincularComVerificacao(false);
}

void frmVinculacao::cmdRetornaTodos_Click()
{
    desvincularComVerificacao(true);
}

void frmVinculacao::cmdDesfazer_Click()
{
    if (dlg::MsgBox(QStringLiteral("Desfaz todas as vinculações?"), dlg::Icone::Informacao, dlg::Botoes::OkCancelar)
        != dlg::RespOk)
        return;
    if (!Fun_DesvinculaContas(0))
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
}
