#pragma once
// "Verificar Pendências": picks the declaration whose pending items are listed.
#include "shell/SeletorDeclaracao.h"

class frmVerificar : public SeletorDeclaracao {
    Q_OBJECT
public:
    explicit frmVerificar(QWidget* parent = nullptr);

public Q_SLOTS:
    void cmdOk_Click();
};
