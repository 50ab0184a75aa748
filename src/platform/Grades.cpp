#include "Grades.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QToolTip>

namespace {

bool ehNumero(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace

void DelegadoGrade::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->features &= ~QStyleOptionViewItem::WrapText;
    option->textElideMode = Qt::ElideRight;
    // A model that sets its own alignment keeps it.
    if (index.data(Qt::TextAlignmentRole).isValid())
        return;
    if (m_numericas.contains(index.column()) || ehNumero(index.data(Qt::DisplayRole)))
        option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
}

QString DelegadoGrade::dicaDaCelula(const QAbstractItemView* view, const QModelIndex& index) const
{
    if (!view || !index.isValid())
        return {};
    QStyleOptionViewItem opcao;
    opcao.initFrom(view->viewport());
    opcao.rect = view->visualRect(index);
    initStyleOption(&opcao, index);
    if (opcao.text.isEmpty())
        return {};
    // The room the style leaves for the text inside the cell.
    const QStyle* estilo = view->style();
    const QRect texto = estilo->subElementRect(QStyle::SE_ItemViewItemText, &opcao, view);
    const int margem = estilo->pixelMetric(QStyle::PM_FocusFrameHMargin, &opcao, view) + 1;
    const int precisa = opcao.fontMetrics.horizontalAdvance(opcao.text) + 2 * margem;
    return precisa > texto.width() ? opcao.text : QString();
}

bool DelegadoGrade::helpEvent(QHelpEvent* e, QAbstractItemView* view, const QStyleOptionViewItem& option,
                              const QModelIndex& index)
{
    if (!e || !view || e->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(e, view, option, index);
    // A tooltip of the model's own wins.
    if (index.data(Qt::ToolTipRole).isValid())
        return QStyledItemDelegate::helpEvent(e, view, option, index);
    const QString dica = dicaDaCelula(view, index);
    if (dica.isEmpty()) {
        QToolTip::hideText();
        e->ignore();
        return false;
    }
    QToolTip::showText(e->globalPos(), dica, view->viewport(), view->visualRect(index));
    return true;
}

DelegadoGrade* prepararGrade(QTableView* grade, const QList<int>& colunasNumericas)
{
    auto* d = qobject_cast<DelegadoGrade*>(grade->itemDelegate());
    if (!d) {
        d = new DelegadoGrade(grade);
        grade->setItemDelegate(d);
    }
    d->definirColunasNumericas(colunasNumericas);
    grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    grade->setSelectionMode(QAbstractItemView::SingleSelection);
    grade->setWordWrap(false);
    grade->setTextElideMode(Qt::ElideRight);
    QHeaderView* linhas = grade->verticalHeader();
    linhas->setSectionResizeMode(QHeaderView::Fixed);
    linhas->setDefaultSectionSize(grade->fontMetrics().height() + 8);
    return d;
}

QSize tamanhoDaGrade(QTableView* grade, int linhas)
{
    const QHeaderView* colunas = grade->horizontalHeader();
    const QHeaderView* vertical = grade->verticalHeader();
    int largura = 2 * grade->frameWidth();
    if (!vertical->isHidden())
        largura += vertical->sizeHint().width();
    const int nColunas = grade->model() ? grade->model()->columnCount() : 0;
    for (int c = 0; c < nColunas; ++c)
        if (!grade->isColumnHidden(c))
            largura += colunas->sectionSize(c);
    int altura = 2 * grade->frameWidth();
    if (!colunas->isHidden())
        altura += colunas->sizeHint().height();
    const int nLinhas = grade->model() ? grade->model()->rowCount() : 0;
    for (int r = 0; r < linhas; ++r)
        altura += r < nLinhas ? grade->rowHeight(r) : vertical->defaultSectionSize();
    return {largura, altura};
}

void ajustarJanelaAGrade(QWidget* janela, QTableView* grade, int linhas)
{
    QHeaderView* colunas = grade->horizontalHeader();
    // A stretched last column would hide how wide the contents are.
    const bool esticava = colunas->stretchLastSection();
    colunas->setStretchLastSection(false);
    grade->resizeColumnsToContents();
    const QSize precisa = tamanhoDaGrade(grade, linhas);
    colunas->setStretchLastSection(esticava);

    // The layout works out the window around a grid of that size.
    const QSize minimoAntes = grade->minimumSize();
    grade->setMinimumSize(precisa);
    if (QLayout* l = janela->layout())
        l->activate();
    QSize alvo = janela->sizeHint().expandedTo(janela->minimumSizeHint()).expandedTo(janela->size());
    grade->setMinimumSize(minimoAntes);
    if (QLayout* l = janela->layout())
        l->activate();

    const QScreen* tela = janela->screen() ? janela->screen() : QGuiApplication::primaryScreen();
    if (tela) {
        // The frame the window manager adds is not part of the size.
        const QSize livre = tela->availableGeometry().size() - QSize(16, 48);
        alvo = alvo.boundedTo(livre);
    }
    janela->resize(alvo);
}
