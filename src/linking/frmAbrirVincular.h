#pragma once
// "Vincular": picks a registered declaration whose general chart has been
// imported and opens it in the linking navigator.
#include "shell/SeletorDeclaracao.h"

class frmAbrirVincular : public SeletorDeclaracao {
    Q_OBJECT
public:
    explicit frmAbrirVincular(QWidget* parent = nullptr);
    void Form_Load() override;

    // Whether the declaration database in hand lists an imported general
    // chart (whatever its status); false with gMsg set when it cannot tell.
    static bool Verifica_Importados(bool& existe);

public Q_SLOTS:
    void cmdOk_Click();
};
