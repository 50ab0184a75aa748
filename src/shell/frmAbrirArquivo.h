#pragma once
// "Abrir": picks a registered declaration, opens its database (offering to
// recreate it when missing or corrupt) and starts its import chain.
#include "SeletorDeclaracao.h"

class frmAbrirArquivo : public SeletorDeclaracao {
    Q_OBJECT
public:
    explicit frmAbrirArquivo(QWidget* parent = nullptr);

public Q_SLOTS:
    void cmdOk_Click();

private:
    void segueParaImportacao();
};
