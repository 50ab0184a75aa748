#pragma once
// Picks the declaration whose import results are shown.
#include "shell/SeletorDeclaracao.h"

class frmVisualiza : public SeletorDeclaracao {
    Q_OBJECT
public:
    explicit frmVisualiza(QWidget* parent = nullptr);

private:
    void ok();
};
