#pragma once
// "Imprimir Relatório de Acompanhamento": the declaration whose recorded
// files get the tracking report; OK tests that they were recorded, asks for
// the printer, fills the work table and prints.
#include "shell/SeletorDeclaracao.h"

class frmAcompanhamento : public SeletorDeclaracao {
    Q_OBJECT
public:
    explicit frmAcompanhamento(QWidget* parent = nullptr);

    // Where the PDF printer writes (tests); empty: the report's default.
    static QString arquivoPdf;

public Q_SLOTS:
    void cmdOk_Click();
};
