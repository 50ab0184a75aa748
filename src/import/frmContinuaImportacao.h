#pragma once
// "Selecionar Arquivo a Importar": the first step of an import. Offers the
// file types of the declaration's instruction, marks the ones imported
// without errors, applies the import-order rules and hands over to the
// layout editor.
#include "platform/Formularios.h"

#include <QList>
#include <QVariant>
#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmContinuaImportacao : public Formulario {
    Q_OBJECT
public:
    struct Importado {
        qint16 tipo = 0;
        QVariant situacao;  // null when the row has none
    };

    explicit frmContinuaImportacao(QWidget* parent = nullptr);

    void Form_Load() override;
    bool Form_QueryUnload() override;

    // Status rows of the declaration in hand: of one type (tipo a number), or
    // of every type whose status is not 777 (tipo null or empty text).
    // False with gMsg set when the rows cannot be read.
    static bool Verifica_Importados(const QVariant& tipo, bool& achou, QList<Importado>* linhas = nullptr);
    // The statuses that count as imported without errors.
    static bool VerificaSituacaoImportado(qint16 situacao);

    enum class Sobrepor { Nao, Perguntar, Falhou };
    // Whether the chosen type was imported and must be confirmed (question
    // text in gMsg). Falhou: the status rows could not be read (gMsg, shown).
    Sobrepor Ja_importado();

private Q_SLOTS:
    void cmdOk_Click();
    void cmdCancelar_Click();
    void cmdAjuda_Click();

private:
    bool selecionado(int i) const;
    void mostrarMarca(int tipo);

    QGroupBox* frmIN68 = nullptr;
    QGroupBox* FrmIN86 = nullptr;
    std::array<QRadioButton*, 9> optTipoarquivo68{};
    std::array<QRadioButton*, 9> OptTipoArquivo86{};
    std::array<QLabel*, 16> Image1{};
    QLabel* lblTitulo1 = nullptr;
    QLabel* imgCheck = nullptr;
    QLabel* lblTitulo2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblCnpj1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* LblPeriodo = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;
};
