#pragma once
// "Informar Leiaute do Arquivo ...": the second step of an import. Prepares
// the working layout of the file type in hand and lets the user adjust it.
#include "platform/Formularios.h"

#include <QAbstractItemDelegate>
#include <QPointer>
#include <QTableView>

class ModeloLeiaute;
class QLabel;
class QPushButton;

// The layout grid: writes a row when the user leaves it and keeps the
// layout's key rules (Delete, Shift+Tab, Esc, paste, right button).
class GradeLeiaute : public QTableView {
    Q_OBJECT
public:
    explicit GradeLeiaute(QWidget* parent = nullptr);
    ModeloLeiaute* modelo() const;
    void definirModelo(ModeloLeiaute* m);
    // A cell editor is open.
    bool editando() const;
    // Closes an open editor without keeping what was typed.
    void descartarEdicao();
    // Writes the current row's pending changes, renumbers the starts and
    // comes back to the same row.
    void efetivar();

protected:
    void currentChanged(const QModelIndex& atual, const QModelIndex& anterior) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint dica) override;

private:
    bool gravar(int linha, int* colunaRecusa = nullptr);
    void voltarPara(const QModelIndex& i);
    void aoRecusar(const QModelIndex& i, const QString& texto);
    QPointer<QWidget> m_editor;
    bool m_movendo = false;
    friend class DelegadoLeiaute;
};

class frmLeiaute : public Formulario {
    Q_OBJECT
public:
    explicit frmLeiaute(QWidget* parent = nullptr);

    void Form_Load() override;
    bool Form_QueryUnload() override;

    GradeLeiaute* grade() const { return TDBLeiaute; }
    ModeloLeiaute* modelo() const { return m_modelo; }

    // Keeps the saved working layout of the type or makes the standard copy,
    // then shows it. False with gMsg when the saved layout cannot be read.
    bool Traz_Leiaute();
    // Replaces the working layout by the standard one; false with gMsg.
    bool Traz_LeiautePadrao();

protected:
    void showEvent(QShowEvent* e) override;

private Q_SLOTS:
    void cmdPadrao_Click();
    void cmdOK_Click();
    void cmdVoltar_Click();
    void cmdCancelar_Click();
    void cmdAjuda_Click();

private:
    void mostrarGrade();

    ModeloLeiaute* m_modelo = nullptr;
    GradeLeiaute* TDBLeiaute = nullptr;
    QLabel* lblCNPJ = nullptr;
    QLabel* lblcnpjT = nullptr;
    QLabel* lblPeriodo = nullptr;
    QLabel* lblperiodoT = nullptr;
    QPushButton* cmdPadrao = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdVoltar = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;
    bool m_ativado = false;
};
