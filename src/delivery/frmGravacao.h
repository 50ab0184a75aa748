#pragma once
// "Gravar Arquivo para Entrega à ORV": the declaration to record; OK opens its
// database, tests that its files were validated and opens the destination window.
#include "shell/SeletorDeclaracao.h"

class frmGravacao : public SeletorDeclaracao {
    Q_OBJECT
public:
    explicit frmGravacao(QWidget* parent = nullptr);

public Q_SLOTS:
    void cmdOk_Click();
};

