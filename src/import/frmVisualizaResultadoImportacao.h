#pragma once
// The import summary of a declaration: every imported file with its status
// text and counts; "&Detalhar" opens the result of the chosen file.
#include "platform/Formularios.h"

class QLabel;
class QPushButton;
class QSqlQueryModel;
class QTableView;

class frmVisualizaResultadoImportacao : public Formulario {
    Q_OBJECT
public:
    explicit frmVisualizaResultadoImportacao(QWidget* parent = nullptr);
    void Form_Load() override;
    void Form_Unload() override;

    QTableView* grade() const { return m_grade; }

private:
    void detalhar();
    void cancelar();
    void posicionar();

    QLabel* m_lblCNPJV;
    QLabel* m_lblPeriodo;
    QTableView* m_grade;
    QSqlQueryModel* m_modelo;
    QPushButton* m_cmddetalhar;
    QPushButton* m_cmdAjuda;
    QPushButton* m_cmdOk;
};
