#pragma once
// Base of the declaration pickers ("Abrir", "Excluir Arquivos", ...): the
// register's declarations in a grid above "&Ok", "&Cancelar" and "&Ajuda".
// Each picker connects cmdOk to its own work.
#include "platform/Formularios.h"

class GradeDeclaracoes;
class QPushButton;

class SeletorDeclaracao : public Formulario {
    Q_OBJECT
public:
    void Form_Load() override;

    GradeDeclaracoes* TDBabrir = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdAjuda = nullptr;

public Q_SLOTS:
    void cmdCancelar_Click();

protected:
    SeletorDeclaracao(const QString& titulo, int contextoAjuda, QWidget* parent, const QString& rotulo = QString(),
                      const QString& nomeAjuda = QStringLiteral("cmdAjuda"));
    // Reopens gConn on the register and reloads the grid; false when either
    // fails, after showing gMsg.
    bool recarregaRegistro();
    // Opens the database of the declaration in the grid's current row (false
    // at once when there is none). On a failure shows `naoEncontrado` when
    // the database is missing or damaged, else gMsg followed by `fimDaFalha`;
    // the register is opened again after a missing database, and after any
    // failure when `registroEmQualquerFalha`.
    bool abreDeclaracaoEscolhida(const QString& naoEncontrado, bool registroEmQualquerFalha = false,
                                 const QString& fimDaFalha = QString());
};
