#pragma once
// "Gravar Arquivos": the declaration in hand with its company name; Gravar
// writes the delivery set into gDestino.
#include "platform/Formularios.h"

class QLabel;
class QProgressBar;
class QPushButton;

class frmConfirmaGravacao : public Formulario {
    Q_OBJECT
public:
    explicit frmConfirmaGravacao(QWidget* parent = nullptr);

    void Form_Load() override;

    QLabel* lblTituloCNPJ = nullptr;
    QLabel* lblCNPJ = nullptr;
    QLabel* lblTituloAno = nullptr;
    QLabel* lblTipo = nullptr;
    QLabel* lblTituloNome = nullptr;
    QLabel* lblNomeEmpresarial = nullptr;
    QProgressBar* ProgBar1 = nullptr;
    QPushButton* cmdGravar = nullptr;
    QPushButton* cmdcancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;

public Q_SLOTS:
    void cmdGravar_Click();
    void cmdcancelar_Click();
};
