#pragma once
// "Relação de Pendências": the pending items of the declaration in hand,
// listed once at load.
#include "platform/Formularios.h"

class QLabel;
class QListWidget;
class QPushButton;

class frmRelacaoPendencias : public Formulario {
    Q_OBJECT
public:
    explicit frmRelacaoPendencias(QWidget* parent = nullptr);
    void Form_Load() override;

    // Fills Pendencias; false with gMsg set on a failure.
    bool Verifica_Situacao();

    QLabel* lblcnpjt = nullptr;
    QLabel* lblperiodo = nullptr;
    QListWidget* Pendencias = nullptr;
    // The texts for file types not imported, item k - 1 for type k (not shown).
    QListWidget* lstPendencias = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdAjuda = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
