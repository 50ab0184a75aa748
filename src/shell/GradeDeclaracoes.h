#pragma once
// The declaration pickers' grid: the register's declarations with the
// columns "Instrução Normativa", "CNPJ", "Data Inicial", "Data Final".
#include <QDate>
#include <QTableView>

class QPushButton;
class QStandardItemModel;
class Formulario;

struct ChaveDeclaracao {
    qint16 in = 0;
    QString cnpj;
    QDate inicio;
    QDate fim;
};

class GradeDeclaracoes : public QTableView {
    Q_OBJECT
public:
    explicit GradeDeclaracoes(QWidget* parent = nullptr);
    // Reads the register through gConn (which must be open on it); false with gMsg set on failure.
    // The rows are kept by the grid: gConn may be closed afterwards.
    bool carregar();
    // Empties the grid.
    void limpar();
    int linhas() const;
    // False when no row is current.
    bool linhaAtual(ChaveDeclaracao& chave) const;
    // Copies the current row into the working state (gIN, gCNPJ, gCNPJNumeros,
    // gPeriodoInicial, gPeriodoFinal); false when no row is current.
    bool selecionarAtual();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& indice,
                                                         const QEvent* evento = nullptr) const override;

private:
    QStandardItemModel* m_modelo;
};

// Closes gConn and opens it on the declaration in hand (AbreBanco).
bool abreDeclaracaoEmMaos();
// Closes gConn, opens it on the register (AbreBanco) and reloads the grid at
// the same row; false with gMsg set when either fails (the grid is then empty).
bool abreRegistroNaGrade(GradeDeclaracoes& grade);

// Lays a picker window out: an optional title label (lblTitulo), the grid
// (named "TDBabrir") above the buttons "&Ok", "&Cancelar" and "&Ajuda" (named
// cmdOk, cmdCancelar and nomeAjuda; the last opens the window's help topic).
struct ControlesSeletor {
    GradeDeclaracoes* grade = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;
};
ControlesSeletor montaSeletor(Formulario* janela, const QString& rotulo = QString(),
                              const QString& nomeAjuda = QStringLiteral("cmdAjuda"));
