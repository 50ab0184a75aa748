#include "GradeDeclaracoes.h"

#include "Geral.h"

#include <QHeaderView>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace {
class ModeloDeclaracoes : public QSqlQueryModel {
public:
    using QSqlQueryModel::QSqlQueryModel;
    QVariant data(const QModelIndex& i, int role) const override
    {
        QVariant v = QSqlQueryModel::data(i, role);
        if (role == Qt::DisplayRole && (i.column() == 2 || i.column() == 3))
            return dataDdMmAaaa(dataDeIso(v.toString()));
        return v;
    }
};
} // namespace

GradeDeclaracoes::GradeDeclaracoes(QWidget* parent)
    : QTableView(parent)
    , m_modelo(new ModeloDeclaracoes(this))
{
    setModel(m_modelo);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
}

bool GradeDeclaracoes::carregar()
{
    Geral& g = geral();
    if (!g.gConn || !g.gConn->aberta()) {
        g.gMsg = textoErro(db::ErroBanco, TextoErroAbertura);
        return false;
    }
    QSqlQuery q(g.gConn->banco());
    if (!q.exec(QStringLiteral("SELECT DISTINCT INarquivo, CNPJ, periodoinicial, periodofinal "
                               "FROM tbempresariosImportados ORDER BY CNPJ, periodoinicial, periodofinal, INarquivo"))) {
        g.gMsg = textoErro(db::mapearErro(q.lastError()), QStringLiteral("carregar"));
        return false;
    }
    m_modelo->setQuery(std::move(q));
    while (m_modelo->canFetchMore())
        m_modelo->fetchMore();
    const QStringList titulos{QStringLiteral("Instrução Normativa"), QStringLiteral("CNPJ"),
                              QStringLiteral("Data Inicial"), QStringLiteral("Data Final")};
    for (int i = 0; i < titulos.size(); ++i)
        m_modelo->setHeaderData(i, Qt::Horizontal, titulos.at(i));
    if (m_modelo->rowCount() > 0)
        setCurrentIndex(m_modelo->index(0, 0));
    resizeColumnsToContents();
    return true;
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
    chave.in = static_cast<qint16>(m_modelo->QSqlQueryModel::data(m_modelo->index(r, 0)).toInt());
    chave.cnpj = m_modelo->QSqlQueryModel::data(m_modelo->index(r, 1)).toString();
    chave.inicio = dataDeIso(m_modelo->QSqlQueryModel::data(m_modelo->index(r, 2)).toString());
    chave.fim = dataDeIso(m_modelo->QSqlQueryModel::data(m_modelo->index(r, 3)).toString());
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
    g.gCNPJNumeros.clear();
    for (QChar ch : c.cnpj)
        if (ch.isDigit())
            g.gCNPJNumeros += ch;
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
