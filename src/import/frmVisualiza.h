#pragma once
// Picks the declaration whose import results are shown.
#include "platform/Formularios.h"

class GradeDeclaracoes;
class QPushButton;

class frmVisualiza : public Formulario {
    Q_OBJECT
public:
    explicit frmVisualiza(QWidget* parent = nullptr);
    void Form_Load() override;

    GradeDeclaracoes* grade() const { return m_grade; }

private:
    void ok();
    // Back on the register, the grid read again at the same row.
    void voltarAoRegistro();

    GradeDeclaracoes* m_grade;
    QPushButton* m_cmdOk;
    QPushButton* m_cmdCancelar;
    QPushButton* m_cmAjuda;
};
