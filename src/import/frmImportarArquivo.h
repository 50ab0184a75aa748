#pragma once
// "Importar Arquivo ...": runs the import of the chosen source file (the
// engine in motor/) and hands over to the result window.
#include "motor/Contexto.h"
#include "platform/Formularios.h"

class QLabel;
class QProgressBar;
class QPushButton;

class frmImportarArquivo : public Formulario, public motor::Painel {
    Q_OBJECT
public:
    explicit frmImportarArquivo(QWidget* parent = nullptr);

    void Form_Load() override;
    bool Form_QueryUnload() override;

    // Painel: what the run shows.
    void iniciarBarra(qint64 maximo) override;
    void valorBarra(qint64 valor) override;
    void status(const QString& texto) override;

public Q_SLOTS:
    void cmdOk_Click();
    void cmdCancelar_Click();
    void cmdVoltar_Click();
    void cmdAjuda_Click();

private:
    QLabel* lblTitulo1 = nullptr;
    QLabel* lblCNPJ = nullptr;
    QLabel* lblTitulo2 = nullptr;
    QLabel* lblperiodo = nullptr;
    QLabel* LblNomeArquivo = nullptr;
    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdVoltar = nullptr;
    QPushButton* cmdAjuda = nullptr;
    bool m_executando = false;
    bool m_fecharAoTerminar = false;   // closed during a run: unload when it stops
    double m_escala = 1.0;             // bar units per record when the count exceeds int
};
