#pragma once
// What still stands between the declaration in hand and its delivery.
#include <QStringList>

// The texts for the file types not imported, entry k - 1 for file type k.
extern const QStringList TextosNaoImportado;

// Appends to `pendencias`, reading the declaration database on gConn: the
// files in an unexpected state, "Validação não efetuada", the findings of the
// last validation and the file types not imported, in that order. False with
// gMsg set on a database failure (what was listed up to it stays).
bool Verifica_Situacao(QStringList& pendencias);
