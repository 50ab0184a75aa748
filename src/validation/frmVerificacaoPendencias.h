#pragma once
// The results navigator: a group bar with the three groups of the validation
// results and a panel in which one result tab is embedded at a time. Open
// modeless inside the main window; the File menu stays locked while it is.
#include "platform/Formularios.h"

#include <QList>
#include <QPointer>

class FaixaAbas;
class PainelElastico;
class QLabel;
class QPushButton;
class QVBoxLayout;

class frmVerificacaoPendencias : public Formulario {
    Q_OBJECT
public:
    explicit frmVerificacaoPendencias(QWidget* parent = nullptr);
    void Form_Load() override;
    void Form_Unload() override;

    // Embeds the named window in the child panel, unloading the one shown
    // before: every call loads the window afresh.
    void MostraFilho(const QString& janela);
    Formulario* filho() const { return m_filho.data(); }

    QLabel* LblcnpjPeriodo = nullptr;
    QWidget* elaCanvas = nullptr;
    PainelElastico* elaOutlook = nullptr;
    QList<QPushButton*> elaOlbtn;
    QList<FaixaAbas*> tabOl;
    QWidget* elaChild = nullptr;

    // The window of each tab caption ("" when none).
    static QString janelaDaAba(const QString& legenda);

public Q_SLOTS:
    void elaOlbtn_Click(int indice);
    void tabOl_Click(int indice);

private:
    QVBoxLayout* m_layoutFilho = nullptr;
    QPointer<Formulario> m_filho;
    bool m_dimensionado = false;

protected:
    void showEvent(QShowEvent* e) override;
};
