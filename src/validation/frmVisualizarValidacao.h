#pragma once
// "Visualizar Resultado da Validação": reopens the stored results of a
// declaration's last validation in the results navigator.
#include "shell/SeletorDeclaracao.h"

class frmVisualizarValidacao : public SeletorDeclaracao {
    Q_OBJECT
public:
    explicit frmVisualizarValidacao(QWidget* parent = nullptr);

public Q_SLOTS:
    void cmdOk_Click();
};
