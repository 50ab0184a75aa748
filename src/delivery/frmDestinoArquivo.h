#pragma once
// "Informar Destino do Arquivo": the volume and folder that receive the
// delivery set; OK keeps the folder in gDestino and opens the confirmation.
#include "platform/Formularios.h"

namespace listas {
class ControlePastas;
}

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

class frmDestinoArquivo : public Formulario {
    Q_OBJECT
public:
    explicit frmDestinoArquivo(QWidget* parent = nullptr);

    void Form_Load() override;
    bool Form_QueryUnload() override;

    // The open folder of the folder list.
    QString pasta() const;
    // Opens a folder in the folder list (its change event).
    void definirPasta(const QString& pasta);

    QGroupBox* frmDestino = nullptr;
    QLabel* lblUnidade = nullptr;
    QComboBox* DrvDRIVE = nullptr;
    QLabel* lblPasta = nullptr;
    QListWidget* driDiretorio = nullptr;
    QLabel* lblCNPJ = nullptr;
    QLabel* lblPeriodo = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;

public Q_SLOTS:
    void cmdOk_Click();
    void cmdCancelar_Click();

private:
    listas::ControlePastas* m_pastas = nullptr;
};
