#pragma once
// The work of the account linking, without widgets: the standard chart, the
// offered and linked accounts of the declaration in hand, and the link and
// unlink writes that keep tbContasVinculadas and the general chart's
// Vinculado flag in step. All on gConn, which must be open on the
// declaration database. Failures leave the last-error text in gMsg.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QSqlQueryModel;

namespace vinculacao {

struct Conta {
    QString codigo;
    QString descricao;
};

// A statement with its bound values, for a grid's model.
struct Leitura {
    QString sql;
    QVariantList valores;
};

// Standard codes are lined up in a column of this width.
inline constexpr int LarguraCodigoPadrao = 6;

// The combo entry: the code, blanks up to six characters, the description.
QString entradaCombo(const Conta& padrao);
// The rows of TbPlanocontasPadrao in table order. False (gMsg naming
// Fun_Carrega_cblplanoPadrao) when it cannot be read or a code is longer
// than six characters.
bool lerPlanoPadrao(QList<Conta>& contas);

// Company accounts of the general chart used in the general entries or
// balances and not linked, each once, in code order; only those starting
// with `prefixo` (taken literally) when its trimmed text is not empty.
// Columns codconta, descconta.
Leitura contasOferecidas(const QString& prefixo);
// The links of the declaration to the standard account `padrao`
// (columns contacontrib, descricaocontrib).
Leitura contasVinculadas(const QString& padrao);
// Every link of the declaration with both descriptions (columns
// ContaPadrao, descricao, contaContrib, descricaoContrib).
Leitura vinculosComDescricao();

// Fills a grid's model with every row of `l` under these column captions;
// false with gMsg set (no procedure name) and the model empty on failure.
bool preencher(QSqlQueryModel& modelo, const Leitura& l, const QStringList& titulos);

// Whether the standard account has links (Fun_Verifica_vinculado).
bool existeVinculo(const QString& padrao, bool& existe);
// Links the accounts to `padrao` in one transaction (Fun_VinculaContas with
// Fun_Grava_Vinculadas); nothing changes when it fails.
bool vincular(const QString& padrao, const QList<Conta>& contas);
// Unlinks the given accounts from `padrao`, in one transaction.
bool desvincular(const QString& padrao, const QStringList& contas);
// Unlinks every account linked to `padrao`, in one transaction.
bool desvincularPadrao(const QString& padrao);
// Undoes every link of the declaration: every flag back to 0.
bool desfazerTodas();

} // namespace vinculacao
