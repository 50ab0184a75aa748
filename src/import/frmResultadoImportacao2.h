#pragma once
// The import result of one file chosen in the import summary.
#include "frmResultadoImportacao.h"

class frmResultadoImportacao2 : public JanelaResultadoImportacao {
    Q_OBJECT
public:
    explicit frmResultadoImportacao2(QWidget* parent = nullptr);

protected:
    QString mensagemSemImpressora() const override;
    QString mensagemErroImpressora() const override;
    void voltar() override;
};
