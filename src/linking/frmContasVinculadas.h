#pragma once
// "Contas Vinculadas": the links of the declaration in hand, read only.
#include "platform/Formularios.h"

class QSqlQueryModel;
class QTableView;

class frmContasVinculadas : public Formulario {
    Q_OBJECT
public:
    explicit frmContasVinculadas(QWidget* parent = nullptr);
    void Form_Load() override;
    void Form_Unload() override;

    QTableView* TDBcontasVinculadas = nullptr;

private:
    QSqlQueryModel* m_modelo = nullptr;
};
