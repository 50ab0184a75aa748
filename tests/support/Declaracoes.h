#pragma once
// Helpers of the import engine's tests: the charts and code tables a
// declaration has imported, source files made from a good record, and what a
// run leaves in the declaration's database.
#include "import/motor/Contexto.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QPair>
#include <QVariant>

class Ambiente;

// Fields of one record that differ from a good record: (layout position, bytes).
using Campos = QList<QPair<int, QByteArray>>;
Q_DECLARE_METATYPE(Campos)

// `antes`, a NUL, then `depois`.
QByteArray comNul(const char* antes, const char* depois = "");
// An amount field of 17 digits, zero-filled on the left.
QByteArray valor17(const char* digitos);

// The staging table of a chart or code table as its import leaves it (made
// by the engine from the standard layout), holding these codes as cut from
// their records (blank-filled) with their account types (86 charts only).
void tabelaImportada(int tipo, const QList<QPair<QByteArray, QByteArray>>& linhas);

// Sets the file type in hand with its standard layout and writes the source
// file `nome`: one record per entry of `registros`, the good record `bom`
// (fields by layout position) changed as the entry says.
void prepararArquivo(Ambiente& amb, int tipo, const QMap<int, QByteArray>& bom, const QList<Campos>& registros,
                     const QString& nome);

// Codes recorded for a record of the file type in hand, in the order written.
QList<int> codigosDoRegistro(int registro);
// After a run of three records, the middle one under test: the outer two
// got no code, the middle one exactly `esperado`, and the counters agree.
void conferirRegistroDoMeio(const QList<int>& esperado);
// Whether gConn's database has the table (a read failure fails the test).
bool temTabela(const QString& tabela);
// Damages the schema's first page of a database file behind its open
// connections (its b-tree page type), moving the change counter so no
// cached copy is used: the next read of the schema fails as malformed.
void danificarEsquema(const QString& caminho);
// Situacao of the file type in tbImportados (null when it has no row).
QVariant situacao(int tipo);

// A panel that raises the cancel flag when record `cancelarEm` is read.
class PainelCancela : public motor::Painel {
public:
    qint64 cancelarEm = 0;
    void registroLido(qint64 n) override
    {
        if (n == cancelarEm)
            cancelar = true;
    }
};
