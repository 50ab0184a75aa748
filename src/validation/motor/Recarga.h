#pragma once
// The general journal entries' reload: the accepted copy is described in
// Schema.ini and loaded into the entries' staging table through the text
// driver.
#include <QByteArray>
#include <QString>

#include "Painel.h"
#include "Resumo.h"

namespace validacao {

// Names in the data folder of the accepted copy of the general entries and
// of its layout description (stem of the accepted copies, type 06).
QString nomeCopiaLancamentos();   // "...-TOBRI-06-yyyymmddyyyymmdd.txt"
QString nomeLayLancamentos();     // "...-TOBRI-06-yyyymmddyyyymmdd.lay"

// The text the reload stops with when the copy, its .lay or the staging
// table is missing.
inline const QString TextoLancamentosNaoImportados = QStringLiteral("Arquivo de lançamentos não importado.");

// Schema.ini text for the copy `nomeTxt` from the bytes of its .lay under
// instruction `in`. False with the error text (naming Fun_Criar_arquivo_ini)
// when a width or decimals of "Valor" is not a number.
bool textoSchemaIni(const QByteArray& lay, const QString& nomeTxt, qint16 in, QByteArray& schema, QString& erro);

// Writes Schema.ini in the data folder for the copy of the declaration in
// hand. False with gMsg set; a missing copy or .lay writes nothing.
bool Fun_Criar_arquivo_ini();
// Empties the general entries' staging table and loads it from the copy, in
// one transaction (the old rows stay when the load fails). False with gMsg.
// The copy must be whole: every line the record length of its .lay and
// ending in CR LF, as many lines as the import read (RegLidos of the type-6
// status row), and its digest the one the import took (DigestoCopia of that
// row); otherwise the load stops naming the line, the two counts, or the
// copy changed since its import.
// Account codes are stored with their trailing blanks removed only.
// With `resumo`, the entries are summed into it as they are loaded.
bool Fun_ImportarLancamento(Painel* painel = nullptr, ResumoLancamentos* resumo = nullptr);

} // namespace validacao
