#pragma once
// "Informar Dados do Contribuinte": registers a new declaration and starts
// its import chain.
#include "platform/Formularios.h"

#include <QDate>
#include <array>

class QLineEdit;
class QRadioButton;
class QPushButton;
class QWidget;

// The typed entries, as the OK tests read them.
struct EntradasContribuinte {
    QString cnpjDigitos;
    QString nome;
    QString dataInicial;  // the field's text, "__/__/____" when empty
    QString dataFinal;
    int opcao = -1;       // 0 instruction 68, 1 instruction 86, -1 none
};

// The first OK test that fails: its message, its icon and the field that
// takes the focus (0 CNPJ, 1 name, 2 start, 3 end, 4 first option).
struct FalhaEntrada {
    QString mensagem;
    bool informacao = false;
    int campo = -1;
    explicit operator bool() const { return campo >= 0; }
};
FalhaEntrada testaEntradasContribuinte(const EntradasContribuinte& e);

// "dd/mm/yyyy" with every digit typed; an invalid date otherwise.
QDate dataDoTexto(const QString& texto);

class frmDadosContribuinte : public Formulario {
    Q_OBJECT
public:
    explicit frmDadosContribuinte(QWidget* parent = nullptr);
    void Form_Load() override;

    QLineEdit* maskCNPJ = nullptr;
    QLineEdit* txtnomeEmp = nullptr;
    QLineEdit* dateinicial = nullptr;
    QLineEdit* DateFinal = nullptr;
    std::array<QRadioButton*, 2> optADE{};
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;

public Q_SLOTS:
    void cmdOk_Click();
    void cmdCancelar_Click();
    // Enter in the CNPJ field: check digits, then the register's name.
    void maskCNPJ_KeyPress();
    // Leaving the CNPJ field: the register's name, without the check.
    void maskCNPJ_LostFocus();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    EntradasContribuinte entradas() const;
    QString digitosCNPJ() const;
    bool fun_Empresarial(bool& existe);
    bool LER_Cadastrados(const QString& cnpj, bool& achou, QString& nome);
    void buscaNome();
    void InicializaOpcoes();
    bool renomeia(const QString& procedimento);
    void desfazRegistro();
    void voltaAoRegistro();
};
