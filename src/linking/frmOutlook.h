#pragma once
// The linking navigator: a group bar with one group whose tab strip holds
// "Vinculação de Contas" and "Contas Vinculadas"; a click on a tab embeds
// that tab's window, loaded anew, in the child panel.
#include "platform/Formularios.h"

#include <QPointer>

class FaixaAbas;
class PainelElastico;
class QLabel;
class QPushButton;
class QVBoxLayout;

class frmOutlook : public Formulario {
    Q_OBJECT
public:
    explicit frmOutlook(QWidget* parent = nullptr);
    void Form_Load() override;
    void Form_Unload() override;
    QSize sizeHint() const override;

    // Unloads the embedded window and embeds the named one, loading it anew.
    void MostraFilho(const QString& nome);
    Formulario* filho() const { return m_filho.data(); }

    QWidget* elaCanvas = nullptr;
    PainelElastico* elaOutlook = nullptr;
    QPushButton* elaBtn = nullptr;
    FaixaAbas* tabOl = nullptr;
    QWidget* elaChild = nullptr;
    QLabel* lblCnpjPeriodo = nullptr;

public Q_SLOTS:
    // A click on the group button of group `grupo`.
    void elaBtn_Click(int grupo);
    void elaOutlook_Resize();
    // A click on the tab strip number `indice` (the bar has one, 0).
    void tabOl_Click(int indice);

private:
    QPointer<Formulario> m_filho;
    QVBoxLayout* m_layoutFilho = nullptr;
};
