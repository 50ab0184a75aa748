#pragma once
// The declaration pickers' grid: the register's declarations with the
// columns "Instrução Normativa", "CNPJ", "Data Inicial", "Data Final".
#include <QDate>
#include <QTableView>

class QSqlQueryModel;

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
    bool carregar();
    int linhas() const;
    // False when no row is current.
    bool linhaAtual(ChaveDeclaracao& chave) const;
    // Copies the current row into the working state (gIN, gCNPJ, gCNPJNumeros,
    // gPeriodoInicial, gPeriodoFinal); false when no row is current.
    bool selecionarAtual();

private:
    QSqlQueryModel* m_modelo;
};

// Closes gConn and opens it on the declaration in hand (AbreBanco).
bool abreDeclaracaoEmMaos();
