#pragma once
// "Excluir Arquivos": deletes a registered declaration with its database and
// the accepted copies and layout descriptions its imports left.
#include "platform/Formularios.h"

#include <QStringList>

class GradeDeclaracoes;
class QPushButton;

// The files of the declaration in hand in the data folder: its database,
// then per file type 1..9 the accepted copy and its layout description.
QStringList arquivosDaDeclaracao();

class frmExcluirArquivo : public Formulario {
    Q_OBJECT
public:
    explicit frmExcluirArquivo(QWidget* parent = nullptr);
    void Form_Load() override;

    GradeDeclaracoes* TDBabrir = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;

public Q_SLOTS:
    void cmdOk_Click();
    void cmdCancelar_Click();

private:
    // False when the register could not be reloaded.
    bool exclui();
};
