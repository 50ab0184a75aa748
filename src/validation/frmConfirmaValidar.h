#pragma once
// "Validar Arquivos": runs the validation of the declaration in hand (the
// checks in motor/), then opens the results navigator and compacts the
// database.
#include "motor/Painel.h"
#include "platform/Formularios.h"
#include "platform/Rendimento.h"

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

class frmConfirmaValidar : public Formulario, public validacao::Painel {
    Q_OBJECT
public:
    explicit frmConfirmaValidar(QWidget* parent = nullptr);

    void Form_Load() override;
    bool Form_QueryUnload() override;

    // Painel
    void titulo(const QString& texto) override;
    void preparando(bool visivel) override;
    void iniciarBarra(int maximo) override;
    void avancarBarra(int n) override;
    void rende() override;

public Q_SLOTS:
    void cmdOk_Click();
    void cmdCancelar_Click();

private:
    QLabel* lblTitulo1 = nullptr;
    QLabel* lblCNPJ = nullptr;
    QLabel* lblTitulo2 = nullptr;
    QLabel* lbltipo = nullptr;
    QLabel* lblprepara = nullptr;
    QFrame* Frame1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;
    Rendimento m_rendimento;
    bool m_executando = false;
};
