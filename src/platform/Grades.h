#pragma once
// What every read-only grid of the program does: numbers right-aligned, one
// line per row (a cut text ends in "..." and shows whole as a tooltip), and
// a window opened large enough to show the grid it holds.
#include <QList>
#include <QSize>
#include <QStyledItemDelegate>

class QTableView;
class QWidget;

// Paints a grid's cells on one line: values held as numbers, and the
// columns named numeric, are right-aligned; a text that does not fit is
// elided and its whole text is the cell's tooltip.
class DelegadoGrade : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit DelegadoGrade(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}
    void definirColunasNumericas(const QList<int>& colunas) { m_numericas = colunas; }
    bool helpEvent(QHelpEvent* e, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
    // The text a cell shows whole as a tooltip when it is cut; empty when it fits.
    QString dicaDaCelula(const QAbstractItemView* view, const QModelIndex& index) const;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QList<int> m_numericas;
};

// Makes a grid read-only, row-selecting, one line per row, with the
// delegate above (columns given here are right-aligned whatever their
// values hold, e.g. amounts already formatted as text). Returns the delegate.
DelegadoGrade* prepararGrade(QTableView* grade, const QList<int>& colunasNumericas = {});

// Size of the grid that shows every column (as wide as its contents or
// caption) and `linhas` rows without scroll bars.
QSize tamanhoDaGrade(QTableView* grade, int linhas);

// Fits the columns to their contents and captions, then grows the window
// (never shrinks it) so its grid shows every column and `linhas` rows,
// within the screen's free area. The grid keeps taking the room the window
// gets when it is resized.
void ajustarJanelaAGrade(QWidget* janela, QTableView* grade, int linhas);
