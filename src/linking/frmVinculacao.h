#pragma once
// "Vinculação de Contas": links the company's accounts (general chart, used
// in the entries or balances) to a standard account, and unlinks them.
#include "linking/motor/Vinculacao.h"
#include "platform/Formularios.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;

class frmVinculacao : public Formulario {
    Q_OBJECT
public:
    explicit frmVinculacao(QWidget* parent = nullptr);
    void Form_Load() override;
    void Form_Unload() override;

    QComboBox* cblContaPadrao = nullptr;
    QTableView* TDBPadrao = nullptr;
    QLineEdit* txtContribuinte = nullptr;
    QTableView* TDBContribuinte = nullptr;
    QPushButton* cmdEnvia = nullptr;
    QPushButton* cmdEnviaTodos = nullptr;
    QPushButton* cmdRetorna = nullptr;
    QPushButton* cmdRetornaTodos = nullptr;
    QPushButton* cmdDesfazer = nullptr;

    // Each returns false with gMsg set on failure.
    bool Fun_Carrega_cblContaPadrao();
    bool Fun_Traz_PlanoContasPadrao();
    bool Fun_traz_PlanoContasContribuinte();
    bool Fun_Consiste_digitados();
    bool Fun_Verifica_vinculado(bool& existe);
    // 1: the current offered account; more: every offered account, or the
    // selected ones.
    bool Fun_VinculaContas(qint32 quantidade);
    // 0: every link of the declaration; 1: the current linked account; more:
    // every account of the links list, or the selected ones.
    bool Fun_DesvinculaContas(qint32 quantidade);

public Q_SLOTS:
    void cblContaPadrao_Click();
    void txtContribuinte_Change();
    // Enter in the prefix box.
    void txtContribuinte_KeyPress();
    void TDBContribuinte_SelChange();
    void TDBPadrao_SelChange();
    void cmdEnvia_Click();
    void cmdEnviaTodos_Click();
    void cmdRetorna_Click();
    void cmdRetornaTodos_Click();
    void cmdDesfazer_Click();

private:
    // The bare code of the chosen standard account (empty when none).
    QString contaPadrao() const;
    void desvincularComVerificacao(bool todas);
    // Arrow buttons from whether each list's first row holds an account.
    void ajustaBotoes();
    void desabilitaTudo();
    // Loads the offered accounts again with the prefix of their last load.
    bool recarregaOferecidas();

    QList<vinculacao::Conta> m_padroes;
    QSqlQueryModel* m_oferecidas = nullptr;
    QSqlQueryModel* m_vinculadas = nullptr;
    // The prefix of the last load of the offered accounts.
    QString m_prefixo;
    // Keeps quiet about an empty offered list at the first load with a restored prefix.
    bool m_silencio = false;
};
