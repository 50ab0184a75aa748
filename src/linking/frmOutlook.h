#pragma once
// The linking navigator: a group bar with the tabs "Vinculação de Contas"
// and "Contas Vinculadas", each embedding its window in the child panel.
#include "platform/Formularios.h"

#include <QPointer>

class QLabel;
class QTabBar;
class QVBoxLayout;

class frmOutlook : public Formulario {
    Q_OBJECT
public:
    explicit frmOutlook(QWidget* parent = nullptr);
    void Form_Load() override;
    void Form_Unload() override;

    // Unloads the embedded window and embeds the named one, loading it anew.
    void MostraFilho(const QString& nome);
    Formulario* filho() const { return m_filho.data(); }

    QLabel* lblCnpjPeriodo = nullptr;
    QTabBar* tabOl = nullptr;
    QWidget* elaChild = nullptr;

public Q_SLOTS:
    void tabOl_Click(int indice);

private:
    QPointer<Formulario> m_filho;
    QVBoxLayout* m_layoutFilho = nullptr;
};
