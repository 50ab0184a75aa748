#pragma once
// "Abrir": picks a registered declaration, opens its database (offering to
// recreate it when missing or corrupt) and starts its import chain.
#include "platform/Formularios.h"

class GradeDeclaracoes;
class QPushButton;

class frmAbrirArquivo : public Formulario {
    Q_OBJECT
public:
    explicit frmAbrirArquivo(QWidget* parent = nullptr);
    void Form_Load() override;

    GradeDeclaracoes* TDBabrir = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;

public Q_SLOTS:
    void cmdOk_Click();
    void cmdCancelar_Click();

private:
    void voltaAoRegistro();
    void segueParaImportacao();
};
