#pragma once
// The seven result tabs of the results navigator.
#include "JanelaResultado.h"

class QLabel;

// The entry totals of the general journal.
class frmLancamentogeral : public JanelaResultado {
    Q_OBJECT
public:
    explicit frmLancamentogeral(QWidget* parent = nullptr);
    void Form_Load() override;

protected:
    dlg::Icone iconeSemImpressora() const override { return dlg::Icone::Nenhum; }

private:
    QLabel* m_lblDebitos;
    QLabel* m_lblCreditos;
    QLabel* m_lblTotal;
};

class frmSaldoFinalGeral : public JanelaResultadoGrade {
    Q_OBJECT
public:
    explicit frmSaldoFinalGeral(QWidget* parent = nullptr);
};

class frmSaldoFinalAuxiliar : public JanelaResultadoGrade {
    Q_OBJECT
public:
    explicit frmSaldoFinalAuxiliar(QWidget* parent = nullptr);
};

class frmSaldoInicialGeral : public JanelaResultadoGrade {
    Q_OBJECT
public:
    explicit frmSaldoInicialGeral(QWidget* parent = nullptr);
};

class FrmSaldoInicialAuxiliar : public JanelaResultadoGrade {
    Q_OBJECT
public:
    explicit FrmSaldoInicialAuxiliar(QWidget* parent = nullptr);
};

class frmLancamentoSaldoDebito : public JanelaResultadoGrade {
    Q_OBJECT
public:
    explicit frmLancamentoSaldoDebito(QWidget* parent = nullptr);
};

class frmLancamentoSaldoCredito : public JanelaResultadoGrade {
    Q_OBJECT
public:
    explicit frmLancamentoSaldoCredito(QWidget* parent = nullptr);

protected:
    QString mensagemSemImpressora() const override;
    QString mensagemErroImpressora(int numero) const override;
};
