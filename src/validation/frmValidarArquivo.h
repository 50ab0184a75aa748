#pragma once
// "Validar": picks the declaration to validate, tests that its files were
// imported, empties the earlier results and opens the run window.
#include "shell/SeletorDeclaracao.h"

class frmValidarArquivo : public SeletorDeclaracao {
    Q_OBJECT
public:
    explicit frmValidarArquivo(QWidget* parent = nullptr);

public Q_SLOTS:
    void cmdOk_Click();
};
