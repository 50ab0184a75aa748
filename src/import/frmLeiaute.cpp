#include "frmLeiaute.h"

#include "ModeloLeiaute.h"
#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/Servicos.h"
#include "shell/BotoesJanela.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

// Plain text editors, remembered so an open edit can be dropped.
class DelegadoLeiaute : public QStyledItemDelegate {
public:
    explicit DelegadoLeiaute(GradeLeiaute* grade)
        : QStyledItemDelegate(grade), m_grade(grade)
    {
    }
    QWidget* createEditor(QWidget* pai, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* e = new QLineEdit(pai);
        e->setFrame(false);
        m_grade->m_editor = e;
        return e;
    }

private:
    GradeLeiaute* m_grade;
};

GradeLeiaute::GradeLeiaute(QWidget* parent)
    : QTableView(parent)
{
    setItemDelegate(new DelegadoLeiaute(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

ModeloLeiaute* GradeLeiaute::modelo() const
{
    return qobject_cast<ModeloLeiaute*>(model());
}

void GradeLeiaute::definirModelo(ModeloLeiaute* m)
{
    setModel(m);
    connect(m, &ModeloLeiaute::recusado, this, &GradeLeiaute::aoRecusar);
}

bool GradeLeiaute::editando() const
{
    return state() == QAbstractItemView::EditingState && m_editor;
}

void GradeLeiaute::descartarEdicao()
{
    if (m_editor)
        closeEditor(m_editor, QAbstractItemDelegate::RevertModelCache);
}

void GradeLeiaute::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint dica)
{
    // Shift+Tab does not move back through the grid.
    if (dica == QAbstractItemDelegate::EditPreviousItem)
        dica = QAbstractItemDelegate::NoHint;
    if (editor == m_editor)
        m_editor = nullptr;
    QTableView::closeEditor(editor, dica);
}

void GradeLeiaute::voltarPara(const QModelIndex& i)
{
    if (!i.isValid())
        return;
    m_movendo = true;
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    m_movendo = false;
}

void GradeLeiaute::aoRecusar(const QModelIndex& i, const QString& texto)
{
    if (!texto.isEmpty())
        dlg::MsgBox(texto);
    // The refused cell stays in edit.
    const QPersistentModelIndex p(i);
    QTimer::singleShot(0, this, [this, p] {
        if (!p.isValid())
            return;
        voltarPara(p);
        if (model()->flags(p) & Qt::ItemIsEditable)
            edit(p);
    });
}

bool GradeLeiaute::gravar(int linha, int* colunaRecusa)
{
    ModeloLeiaute::Recusa r;
    switch (modelo()->gravarLinha(linha, &r)) {
    case ModeloLeiaute::Gravacao::Gravada:
        return true;
    case ModeloLeiaute::Gravacao::Recusada:
        dlg::MsgBox(r.texto);
        if (colunaRecusa && r.coluna >= 0)
            *colunaRecusa = r.coluna;
        return false;
    case ModeloLeiaute::Gravacao::Falhou:
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
        return false;
    }
    return false;
}

void GradeLeiaute::currentChanged(const QModelIndex& atual, const QModelIndex& anterior)
{
    QTableView::currentChanged(atual, anterior);
    if (m_movendo || !anterior.isValid() || !atual.isValid() || atual.row() == anterior.row())
        return;
    if (!modelo() || !modelo()->pendente(anterior.row()))
        return;
    int coluna = anterior.column();
    if (!gravar(anterior.row(), &coluna))
        voltarPara(modelo()->index(anterior.row(), coluna));
}

void GradeLeiaute::efetivar()
{
    ModeloLeiaute* m = modelo();
    const int linha = currentIndex().row();
    if (!m || linha < 0)
        return;
    if (m_editor) {
        QWidget* e = m_editor;
        commitData(e);
        closeEditor(e, QAbstractItemDelegate::NoHint);
    }
    if (m->pendente(linha)) {
        int coluna = currentIndex().column();
        if (!gravar(linha, &coluna)) {
            voltarPara(m->index(linha, coluna));
            return;
        }
    } else if (!m->RecalculaPosicoes()) {
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
    }
    voltarPara(m->index(linha, ModeloLeiaute::ColNomeCampo));
}

void GradeLeiaute::keyPressEvent(QKeyEvent* e)
{
    ModeloLeiaute* m = modelo();
    const QModelIndex atual = currentIndex();
    if (!m || state() == QAbstractItemView::EditingState) {
        QTableView::keyPressEvent(e);
        return;
    }
    if (e->matches(QKeySequence::Paste)) {
        e->accept();
        if (atual.isValid() && (m->flags(atual) & Qt::ItemIsEditable)) {
            const QString texto = QApplication::clipboard()->text().section(u'\n', 0, 0).remove(u'\r');
            if (!m->setData(atual, texto))
                return;
        }
        efetivar();
        return;
    }
    switch (e->key()) {
    case Qt::Key_Delete:
        e->accept();
        // Standard rows cannot be deleted.
        if (atual.isValid() && !m->linhaPadrao(atual.row())
            && m->excluirLinha(atual.row()) == ModeloLeiaute::Exclusao::Falhou)
            dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
        return;
    case Qt::Key_Backtab:
        e->accept();
        return;
    case Qt::Key_Escape:
        e->accept();
        if (atual.isValid()) {
            m->descartar(atual.row());
            if (m->linhaNova(atual.row()))
                voltarPara(m->index(atual.row(), ModeloLeiaute::ColNomeCampo));
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Never reaches the window's buttons.
        e->accept();
        if (atual.isValid() && (m->flags(atual) & Qt::ItemIsEditable))
            edit(atual);
        return;
    default:
        break;
    }
    QTableView::keyPressEvent(e);
}

void GradeLeiaute::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::RightButton) {
        e->accept();
        efetivar();
        return;
    }
    QTableView::mousePressEvent(e);
}

frmLeiaute::frmLeiaute(QWidget* parent)
    : Formulario(parent)
{
    setObjectName(QStringLiteral("frmLeiaute"));
    definirContextoAjuda(ajuda::frmLeiaute);
    setWindowTitle(QStringLiteral("Informar Leiaute do Arquivo "));

    lblCNPJ = new QLabel(QStringLiteral("CNPJ: "), this);
    lblCNPJ->setObjectName(QStringLiteral("lblCNPJ"));
    lblcnpjT = new QLabel(this);
    lblcnpjT->setObjectName(QStringLiteral("lblcnpjT"));
    lblPeriodo = new QLabel(QStringLiteral("Período:"), this);
    lblPeriodo->setObjectName(QStringLiteral("lblPeriodo"));
    lblperiodoT = new QLabel(this);
    lblperiodoT->setObjectName(QStringLiteral("lblperiodoT"));

    m_modelo = new ModeloLeiaute(this);
    TDBLeiaute = new GradeLeiaute(this);
    TDBLeiaute->setObjectName(QStringLiteral("TDBLeiaute"));
    TDBLeiaute->definirModelo(m_modelo);
    // Columns that repeat the declaration and type, or the start shown as "Início".
    for (int c : {ModeloLeiaute::ColInArquivo, ModeloLeiaute::ColTipoarquivo, ModeloLeiaute::ColPosicaoInicial,
                  ModeloLeiaute::ColCnpj, ModeloLeiaute::ColPeriodoInicial, ModeloLeiaute::ColPeriodoFinal})
        TDBLeiaute->setColumnHidden(c, true);
    TDBLeiaute->setColumnWidth(ModeloLeiaute::ColCodsequ, 70);
    TDBLeiaute->setColumnWidth(ModeloLeiaute::ColNomeCampo, 280);
    TDBLeiaute->setColumnWidth(ModeloLeiaute::ColInicio, 60);
    TDBLeiaute->setColumnWidth(ModeloLeiaute::ColNomeReduzido, 130);
    TDBLeiaute->setColumnWidth(ModeloLeiaute::ColTamanho, 70);
    TDBLeiaute->setColumnWidth(ModeloLeiaute::ColDecimais, 70);
    TDBLeiaute->horizontalHeader()->setStretchLastSection(true);

    cmdPadrao = novoBotao(this, QStringLiteral("cmdPadrao"), QStringLiteral("  Retorna Leiaute Padrão Portaria/ADE  "));
    cmdOK = novoBotao(this, QStringLiteral("cmdOK"), QStringLiteral("&Ok"));
    cmdVoltar = novoBotao(this, QStringLiteral("cmdVoltar"), QStringLiteral("&Voltar"));
    cmdCancelar = novoBotao(this, QStringLiteral("cmdCancelar"), QStringLiteral("&Cancelar"));
    cmdAjuda = novoBotao(this, QStringLiteral("cmdAjuda"), QStringLiteral("&Ajuda"));

    auto* cabecalho = new QGridLayout;
    cabecalho->addWidget(lblCNPJ, 0, 0);
    cabecalho->addWidget(lblcnpjT, 0, 1);
    cabecalho->addWidget(lblPeriodo, 1, 0);
    cabecalho->addWidget(lblperiodoT, 1, 1);
    cabecalho->setColumnStretch(1, 1);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(cmdPadrao);
    botoes->addStretch(1);
    botoes->addWidget(cmdOK);
    botoes->addWidget(cmdVoltar);
    botoes->addWidget(cmdCancelar);
    botoes->addWidget(cmdAjuda);

    auto* raiz = new QVBoxLayout(this);
    raiz->addLayout(cabecalho);
    raiz->addWidget(TDBLeiaute, 1);
    raiz->addLayout(botoes);
    resize(860, 420);

    connect(cmdPadrao, &QPushButton::clicked, this, &frmLeiaute::cmdPadrao_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmLeiaute::cmdOK_Click);
    connect(cmdVoltar, &QPushButton::clicked, this, &frmLeiaute::cmdVoltar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmLeiaute::cmdCancelar_Click);
    connect(cmdAjuda, &QPushButton::clicked, this, &frmLeiaute::cmdAjuda_Click);
}

void frmLeiaute::Form_Load()
{
    Geral& g = geral();
    QList<leiaute::CampoPadrao> campos;
    if (!leiaute::CarregaTabela(campos))
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
    m_modelo->definirPadrao(campos);
    setWindowTitle(QStringLiteral("Informar Leiaute do Arquivo ") + Fun_DescricaoTipoArquivo());
    lblcnpjT->setText(g.gCNPJ);
    lblperiodoT->setText(dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" a ") + dataDdMmAaaa(g.gPeriodoFinal));
    if (!Traz_Leiaute()) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    const int ultima = m_modelo->rowCount() - 2;
    if (ultima >= 0)
        TDBLeiaute->setCurrentIndex(m_modelo->index(ultima, ModeloLeiaute::ColCodsequ));
}

void frmLeiaute::showEvent(QShowEvent* e)
{
    Formulario::showEvent(e);
    if (m_ativado)
        return;
    m_ativado = true;
    const int linha = qMax(0, TDBLeiaute->currentIndex().row());
    TDBLeiaute->setCurrentIndex(m_modelo->index(linha, ModeloLeiaute::ColNomeCampo));
    cmdOK->setFocus();
}

bool frmLeiaute::Form_QueryUnload()
{
    cmdCancelar_Click();
    return false;
}

void frmLeiaute::mostrarGrade()
{
    if (!m_modelo->carregar())
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
}

bool frmLeiaute::Traz_Leiaute()
{
    bool achou = false;
    if (!leiaute::LER_LeiauteDIG(achou))
        return false;
    const bool ok = achou || leiaute::copiaPadrao();
    const QString msg = geral().gMsg;
    mostrarGrade();
    geral().gMsg = msg;
    return ok;
}

bool frmLeiaute::Traz_LeiautePadrao()
{
    const bool ok = leiaute::copiaPadrao();
    const QString msg = geral().gMsg;
    mostrarGrade();
    geral().gMsg = msg;
    return ok;
}

void frmLeiaute::cmdPadrao_Click()
{
    TDBLeiaute->descartarEdicao();
    if (!Traz_LeiautePadrao()) {
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
        return;
    }
    const int ultima = m_modelo->rowCount() - 2;
    if (ultima >= 0)
        TDBLeiaute->setCurrentIndex(m_modelo->index(ultima, ModeloLeiaute::ColNomeCampo));
    m_modelo->definirUltimoCodsequPadrao(m_modelo->maiorCodsequ());
}

void frmLeiaute::cmdOK_Click()
{
    if (TDBLeiaute->editando() || m_modelo->temPendencia()) {
        if (dlg::MsgBox(QStringLiteral("Deseja desprezar as atualizações do leiaute ainda não efetivadas ?"),
                        dlg::Icone::Nenhum, dlg::Botoes::SimNao)
            != dlg::RespSim) {
            TDBLeiaute->setFocus();
            return;
        }
        TDBLeiaute->descartarEdicao();
        m_modelo->descartarTudo();
    }
    const int linha = TDBLeiaute->currentIndex().row();
    if (linha >= 0) {
        const auto vazio = [this, linha](int coluna) {
            return m_modelo->data(m_modelo->index(linha, coluna)).toString().isEmpty();
        };
        const bool nome = vazio(ModeloLeiaute::ColNomeCampo);
        const bool tamanho = vazio(ModeloLeiaute::ColTamanho);
        const bool posicao = vazio(ModeloLeiaute::ColPosicaoInicial);
        if ((nome || tamanho) && !(nome && tamanho && posicao)) {
            dlg::MsgBox(QStringLiteral("Nome ou tamanho do campo não preenchidos."), dlg::Icone::Critico);
            m_modelo->descartar(linha);
            return;
        }
    }
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmOrigemArquivo")))
        Formularios::mostrarModal(f);
}

void frmLeiaute::cmdVoltar_Click()
{
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmContinuaImportacao")))
        Formularios::mostrarModal(f);
}

void frmLeiaute::cmdCancelar_Click()
{
    Formularios::descarregar(this);
}

void frmLeiaute::cmdAjuda_Click()
{
    mostrarAjuda();
}
