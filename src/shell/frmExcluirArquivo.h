#pragma once
// "Excluir Arquivos": deletes a registered declaration with its database and
// the accepted copies and layout descriptions its imports left.
#include "SeletorDeclaracao.h"

#include <QStringList>

// The files of the declaration in hand in the data folder: its database,
// then per file type 1..9 the accepted copy and its layout description.
QStringList arquivosDaDeclaracao();

class frmExcluirArquivo : public SeletorDeclaracao {
    Q_OBJECT
public:
    explicit frmExcluirArquivo(QWidget* parent = nullptr);

public Q_SLOTS:
    void cmdOk_Click();

private:
    // False when the register could not be reloaded.
    bool exclui();
};
