#pragma once
// "Localizar Arquivo ...": the third step of an import. The user picks a
// volume, a folder and a source file; OK pre-checks the file against the
// working layout and opens the import window.
#include "platform/Formularios.h"

namespace listas {
class ControlePastas;
}

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

class frmOrigemArquivo : public Formulario {
    Q_OBJECT
public:
    // The chosen file name without folder. Kept for the process, like the
    // window's default instance, so the import window reads it after this
    // window has been unloaded.
    static QString NomeArquivoOrigem;
    // Pattern of the file list (matched without regard to case).
    static const QString Padrao;

    explicit frmOrigemArquivo(QWidget* parent = nullptr);

    void Form_Load() override;
    bool Form_QueryUnload() override;

    // The folder shown by the folder list (driDiretorio's path).
    QString pasta() const;
    // Points the folder list at a folder (its change event).
    void definirPasta(const QString& pasta);
    // Names of the files listed for the current folder.
    QStringList arquivosListados() const;

private Q_SLOTS:
    void flArquivo_Click();
    void cmdOk_Click();
    void Voltar_Click();
    void cmdCancelar_Click();
    void cmdAjuda_Click();

private:
    void listarArquivos();

    QGroupBox* frmOrigem = nullptr;
    QLabel* lblUnidade = nullptr;
    QComboBox* DrvDRIVE = nullptr;
    QLabel* lblPasta = nullptr;
    QListWidget* driDiretorio = nullptr;
    QLabel* lblNome = nullptr;
    QListWidget* flArquivo = nullptr;
    QLabel* lblCNPJ = nullptr;
    QLabel* lblPeriodo = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* Voltar = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;
    listas::ControlePastas* m_pastas = nullptr;
};
