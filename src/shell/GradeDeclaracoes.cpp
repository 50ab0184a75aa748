#include "GradeDeclaracoes.h"

#include "Geral.h"

#include "platform/Formularios.h"
#include "platform/Grades.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>

namespace {
// Raw column values beside the displayed text.
constexpr int PapelValor = Qt::UserRole + 1;
} // namespace

GradeDeclaracoes::GradeDeclaracoes(QWidget* parent)
    : QTableView(parent)
    , m_modelo(new QStandardItemModel(0, 4, this))
{
    setModel(m_modelo);
    m_modelo->setHorizontalHeaderLabels({QStringLiteral("Instrução Normativa"), QStringLiteral("CNPJ"),
                                         QStringLiteral("Data Inicial"), QStringLiteral("Data Final")});
    // The instruction is a number (the cells hold display texts).
    prepararGrade(this, {0});
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
}

QItemSelectionModel::SelectionFlags GradeDeclaracoes::selectionCommand(const QModelIndex& indice,
                                                                      const QEvent* evento) const
{
    // OK acts on the current row: it must stay highlighted. A click below the
    // rows or a Ctrl+click would clear the highlight and leave the row current,
    // so Excluir could delete a declaration the user no longer sees chosen.
    if (!indice.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags f = QTableView::selectionCommand(indice, evento);
    if (f & QItemSelectionModel::Deselect)
        return QItemSelectionModel::NoUpdate;
    return f;
}

bool GradeDeclaracoes::carregar()
{
    Geral& g = geral();
    limpar();
    if (!g.gConn || !g.gConn->aberta()) {
        g.gMsg = textoErro(db::ErroBanco, TextoErroAbertura);
        return false;
    }
    // The rows are copied out, so the grid keeps no statement on gConn,
    // which is closed and replaced at every database switch.
    db::Consulta q(*g.gConn);
    db::Erro e;
    if (!q.preparar(QStringLiteral("SELECT DISTINCT INarquivo, CNPJ, periodoinicial, periodofinal "
                                   "FROM tbempresariosImportados ORDER BY CNPJ, periodoinicial, periodofinal, INarquivo"),
                    &e)
        || !q.executar(&e)) {
        g.gMsg = textoErro(e, QStringLiteral("carregar"));
        return false;
    }
    while (q.proximo()) {
        QList<QStandardItem*> linha;
        for (int c = 0; c < 4; ++c) {
            const QVariant v = q.valor(c);
            const QString texto = c >= 2 ? dataDdMmAaaa(dataDeIso(v.toString())) : v.toString();
            auto* item = new QStandardItem(texto);
            item->setData(v, PapelValor);
            linha << item;
        }
        m_modelo->appendRow(linha);
    }
    if (q.falhou()) {
        g.gMsg = textoErro(q.erro(), QStringLiteral("carregar"));
        return false;
    }
    if (m_modelo->rowCount() > 0)
        setCurrentIndex(m_modelo->index(0, 0));
    // The last column keeps stretching to the grid's edge.
    for (int c = 0; c < 3; ++c)
        resizeColumnToContents(c);
    return true;
}

void GradeDeclaracoes::limpar()
{
    m_modelo->removeRows(0, m_modelo->rowCount());
}

int GradeDeclaracoes::linhas() const
{
    return m_modelo->rowCount();
}

bool GradeDeclaracoes::linhaAtual(ChaveDeclaracao& chave) const
{
    const QModelIndex i = currentIndex();
    if (!i.isValid() || i.row() < 0 || i.row() >= m_modelo->rowCount())
        return false;
    const int r = i.row();
    auto valor = [&](int c) { return m_modelo->index(r, c).data(PapelValor); };
    chave.in = static_cast<qint16>(valor(0).toInt());
    chave.cnpj = valor(1).toString();
    chave.inicio = dataDeIso(valor(2).toString());
    chave.fim = dataDeIso(valor(3).toString());
    return true;
}

bool GradeDeclaracoes::selecionarAtual()
{
    ChaveDeclaracao c;
    if (!linhaAtual(c))
        return false;
    Geral& g = geral();
    g.gIN = c.in;
    g.gCNPJ = c.cnpj;
    g.gCNPJNumeros = soDigitos(c.cnpj);
    g.gPeriodoInicial = c.inicio;
    g.gPeriodoFinal = c.fim;
    return true;
}

bool abreDeclaracaoEmMaos()
{
    Geral& g = geral();
    if (g.gConn)
        g.gConn->fechar();
    return AbreBanco(g.gMsg, true, false, g.gErroAbertura);
}

bool abreRegistroNaGrade(GradeDeclaracoes& grade)
{
    Geral& g = geral();
    const int linha = grade.currentIndex().row();
    grade.limpar();
    if (g.gConn)
        g.gConn->fechar();
    if (!AbreBanco(g.gMsg, false, false, g.gErroAbertura) || !grade.carregar())
        return false;
    if (linha > 0 && linha < grade.linhas())
        grade.setCurrentIndex(grade.model()->index(linha, 0));
    return true;
}

ControlesSeletor montaSeletor(Formulario* janela, const QString& rotulo, const QString& nomeAjuda)
{
    ControlesSeletor c;
    c.grade = new GradeDeclaracoes(janela);
    c.grade->setObjectName(QStringLiteral("TDBabrir"));
    auto botao = [janela](const QString& texto, const QString& nome) {
        auto* b = new QPushButton(texto, janela);
        b->setObjectName(nome);
        return b;
    };
    c.cmdOk = botao(QStringLiteral("&Ok"), QStringLiteral("cmdOk"));
    c.cmdCancelar = botao(QStringLiteral("&Cancelar"), QStringLiteral("cmdCancelar"));
    c.cmdAjuda = botao(QStringLiteral("&Ajuda"), nomeAjuda);
    c.cmdOk->setDefault(true);
    QObject::connect(c.cmdAjuda, &QPushButton::clicked, janela, &Formulario::mostrarAjuda);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(c.cmdOk);
    botoes->addWidget(c.cmdCancelar);
    botoes->addWidget(c.cmdAjuda);
    auto* l = new QVBoxLayout(janela);
    if (!rotulo.isEmpty()) {
        auto* titulo = new QLabel(rotulo, janela);
        titulo->setObjectName(QStringLiteral("lblTitulo"));
        l->addWidget(titulo);
    }
    l->addWidget(c.grade, 1);
    l->addLayout(botoes);
    janela->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    janela->resize(560, 320);
    return c;
}
