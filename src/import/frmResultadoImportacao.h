#pragma once
// The import result windows: the counts of one imported file, its error
// counts by code, and the preview and print of its records with errors.
// frmResultadoImportacao opens at the end of an import run; its twin
// frmResultadoImportacao2 opens from the import summary ("&Detalhar").
#include "platform/Formularios.h"

class QLabel;
class QPushButton;
class QSqlQueryModel;
class QTableView;

class JanelaResultadoImportacao : public Formulario {
    Q_OBJECT
public:
    void Form_Load() override;
    void Form_Unload() override;

    QTableView* grade() const { return m_grade; }

protected:
    explicit JanelaResultadoImportacao(QWidget* parent = nullptr);
    // "Impressora não instalada..." of the printer test and of the printing handler.
    virtual QString mensagemSemImpressora() const = 0;
    virtual QString mensagemErroImpressora() const = 0;
    virtual void voltar() = 0;

private:
    void visualizarErros();
    void imprimirErros();
    void fechar();
    // Flags the rows of the file type in hand; shows the error and returns false on failure.
    bool marcarTipoArquivo(const QString& procedimento);

    QLabel* m_lblcnpjT;
    QLabel* m_lblperiodo;
    QLabel* m_lbltipo;
    QLabel* m_lblRegLidos;
    QLabel* m_lblRegCorretos;
    QLabel* m_lblRegErros;
    QTableView* m_grade;
    QSqlQueryModel* m_modelo;
    QPushButton* m_cmdAjuda;
    QPushButton* m_cmdImprimir;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdvoltar;
    QPushButton* m_cmdSair;
};

class frmResultadoImportacao : public JanelaResultadoImportacao {
    Q_OBJECT
public:
    explicit frmResultadoImportacao(QWidget* parent = nullptr);

protected:
    QString mensagemSemImpressora() const override;
    QString mensagemErroImpressora() const override;
    void voltar() override;
};
