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

// Opens the database of the grid's current row (copied into the working
// state). On a failure shows `msgNaoEncontrado` (missing or corrupt database,
// then back on the register) or gMsg, and returns false.
bool abreDeclaracaoEscolhida(GradeDeclaracoes& grade, const QString& msgNaoEncontrado);
