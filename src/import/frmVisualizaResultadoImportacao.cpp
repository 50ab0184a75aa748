#include "frmVisualizaResultadoImportacao.h"

#include "platform/Dialogos.h"
#include "platform/Grades.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/Menus.h"
#include "shell/Servicos.h"
#include "shell/BotoesJanela.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The three counts are right-aligned; a type is named in the wording of the
// declaration's instruction (the reference table has one name per type).
class ModeloResumo : public QSqlQueryModel {
public:
    using QSqlQueryModel::QSqlQueryModel;
    qint16 in = 0;
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (role == Qt::TextAlignmentRole && i.column() >= 3)
            return QVariant(static_cast<int>(Qt::AlignRight | Qt::AlignVCenter));
        if (role == Qt::DisplayRole && i.column() == 1) {
            const QString nome =
                descricaoTipoArquivo(static_cast<qint16>(QSqlQueryModel::data(index(i.row(), 0)).toInt()), in);
            if (!nome.isEmpty())
                return nome;
        }
        return QSqlQueryModel::data(i, role);
    }
};

int twipsEmPixels(int twips, const QWidget* w)
{
    return twips * w->logicalDpiX() / 1440;
}

} // namespace

frmVisualizaResultadoImportacao::frmVisualizaResultadoImportacao(QWidget* parent)
    : Formulario(parent)
    , m_lblCNPJV(new QLabel(this))
    , m_lblPeriodo(new QLabel(this))
    , m_grade(new QTableView(this))
    , m_modelo(new ModeloResumo(this))
    , m_cmddetalhar(novoBotao(this, QStringLiteral("cmddetalhar"), QStringLiteral("&Detalhar")))
    , m_cmdAjuda(novoBotao(this, QStringLiteral("cmdAjuda"), QStringLiteral("&Ajuda")))
    , m_cmdOk(novoBotao(this, QStringLiteral("cmdOk"), QStringLiteral("&Cancelar")))
{
    setWindowTitle(QStringLiteral("Resultado da Importação - Resumo Geral"));
    setObjectName(QStringLiteral("frmVisualizaResultadoImportacao"));
    definirContextoAjuda(ajuda::frmVisualizaResultadoImportacao);
    m_lblCNPJV->setObjectName(QStringLiteral("lblCNPJV"));
    m_lblPeriodo->setObjectName(QStringLiteral("lblPeriodo"));
    m_grade->setObjectName(QStringLiteral("TDBResultadoImportacao"));

    m_grade->setModel(m_modelo);
    prepararGrade(m_grade, {3, 4, 5});
    m_grade->verticalHeader()->hide();
    definirBotaoCancelar(m_cmdOk);

    auto* declaracao = new QGridLayout;
    declaracao->addWidget(new QLabel(QStringLiteral("CNPJ"), this), 0, 0);
    declaracao->addWidget(m_lblCNPJV, 0, 1);
    declaracao->addWidget(new QLabel(QStringLiteral("Período"), this), 1, 0);
    declaracao->addWidget(m_lblPeriodo, 1, 1);
    declaracao->setColumnStretch(1, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(m_cmdAjuda);
    botoes->addStretch();
    botoes->addWidget(m_cmddetalhar);
    botoes->addWidget(m_cmdOk);
    auto* janela = new QVBoxLayout(this);
    janela->addLayout(declaracao);
    janela->addWidget(m_grade, 1);
    janela->addLayout(botoes);
    resize(760, 360);

    connect(m_cmddetalhar, &QPushButton::clicked, this, &frmVisualizaResultadoImportacao::detalhar);
    connect(m_cmdAjuda, &QPushButton::clicked, this, &Formulario::mostrarAjuda);
    connect(m_cmdOk, &QPushButton::clicked, this, &frmVisualizaResultadoImportacao::cancelar);
}

void frmVisualizaResultadoImportacao::posicionar()
{
    const QList<QWidget*> janelas = Formularios::carregados();
    if (janelas.size() < 2 || !janelas.at(1) || janelas.at(1) == this)
        return;
    // Left of the main window's centre and a little below it.
    const QRect principal = janelas.at(1)->geometry();
    QPoint lugar(principal.x() + (principal.width() - width()) / 2 - twipsEmPixels(700, this),
                 principal.y() + (principal.height() - height()) / 2 + twipsEmPixels(300, this));
    // Never partly off the screen.
    if (const QScreen* tela = janelas.at(1)->screen()) {
        const QRect livre = tela->availableGeometry();
        lugar.setX(qBound(livre.left(), lugar.x(), qMax(livre.left(), livre.right() - width())));
        lugar.setY(qBound(livre.top(), lugar.y(), qMax(livre.top(), livre.bottom() - height())));
    }
    move(lugar);
}

void frmVisualizaResultadoImportacao::Form_Load()
{
    Geral& g = geral();
    static_cast<ModeloResumo*>(m_modelo)->in = g.gIN;
    m_lblCNPJV->setText(g.gCNPJ);
    m_lblPeriodo->setText(dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" a ") + dataDdMmAaaa(g.gPeriodoFinal));

    const QStringList titulos{QStringLiteral("I.tipo"),          QStringLiteral("Tipo Arquivo"),
                              QStringLiteral("Situação"),        QStringLiteral("Registros Lidos"),
                              QStringLiteral("Registros Corretos"), QStringLiteral("Registros com Erro")};
    if (g.gConn && g.gConn->aberta()) {
        QSqlQuery q(g.gConn->banco());
        q.prepare(QStringLiteral(
            "SELECT I.Tipo, T.Descricao, E.Descricao, I.RegLidos, I.RegCorretos, I.RegErros "
            "FROM tbImportados AS I, tbTipoArquivos AS T, TbDescricaoErro AS D, TbDescricaoErro AS E "
            "WHERE ") + condicaoDeclaracao(QStringLiteral("I")) + QStringLiteral(
            " AND T.TipoArquivo = I.Tipo AND D.CodigoErro = I.Situacao "
            "AND E.CodigoErro = D.CodigoResultadoImportacao "
            "ORDER BY I.Tipo"));
        db::Erro e;
        if (!db::preencherModelo(*m_modelo, std::move(q),
                                 chaveDeclaracao(), titulos, &e))
            dlg::MsgBox(textoErro(e, QStringLiteral("Form_Load")), dlg::Icone::Critico);
    }
    if (m_modelo->rowCount() > 0)
        m_grade->setCurrentIndex(m_modelo->index(0, 0));
    // At most nine files: the window shows them all, every column whole.
    ajustarJanelaAGrade(this, m_grade, m_modelo->rowCount());
    posicionar();
}

void frmVisualizaResultadoImportacao::Form_Unload()
{
    m_modelo->clear();
}

void frmVisualizaResultadoImportacao::detalhar()
{
    const QModelIndex atual = m_grade->currentIndex();
    if (!atual.isValid())
        return;
    const int r = atual.row();
    auto valor = [&](int coluna) { return m_modelo->QSqlQueryModel::data(m_modelo->index(r, coluna)); };
    Geral& g = geral();
    g.gTipoArquivo = static_cast<qint16>(valor(0).toInt());
    g.gRegLidos = valor(3).toDouble();
    g.gRegCorretos = valor(4).toDouble();
    g.gRegErros = valor(5).toDouble();
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmResultadoImportacao2")))
        Formularios::mostrarModal(f);
}

void frmVisualizaResultadoImportacao::cancelar()
{
    HabilitaMenus();
    Formularios::descarregar(this);
}
