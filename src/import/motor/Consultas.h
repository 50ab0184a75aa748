#pragma once
// Reference lookups of the record tests. Charts and code tables imported
// before the run do not change during it: each is loaded once, on first use,
// into a hash keyed by the code with trailing blanks removed (a table that
// does not exist is empty). The duplicate counts of the file in hand are kept
// in memory, updated only when a writer stores a record, and answer as the
// count queries over the staging table would.
//
// Every lookup returns success; false means the run must stop, with the
// error text in gMsg. The answer comes back in `achou`.
#include "Contexto.h"

#include <QByteArray>
#include <QHash>

namespace motor {

// Duplicate test of the file in hand: rows of its staging table with the same
// date and code. Types 1-5: data = the update date field, codigo = the code.
// Types 8, 9: data = characters 3 to 8 of the record (mmyyyy), codigo = the
// account. achou = at least one row already stored.
bool Verifica_Importados(Contexto& c, bool& achou, QByteArrayView data, QByteArrayView codigo);
// Rows stored with that date and code (ValidaPlanoContas86's second pass,
// where the record itself is stored: above 1 means a duplicate).
bool contaImportados(Contexto& c, qint64& total, QByteArrayView data, QByteArrayView codigo);

// Account lookup. 68, geral: the general chart. Geral false (any instruction):
// the auxiliary chart. 86, geral: the general chart as an analytic ("A")
// account; when not found, tipo = 'S' if the account exists with another type,
// ' ' if it does not exist. tipo is untouched otherwise.
bool Verifica_Integridade(Contexto& c, bool& achou, QByteArrayView conta, bool geral, char& tipo);
// Counterpart lookup: tipo = 'A' first, then as Verifica_Integridade.
bool Verifica_IntegridadeContrapartida(Contexto& c, bool& achou, QByteArrayView conta, bool geral, char& tipo);
// Totalizing account in the general chart (codes compared fully trimmed, the
// first stored row answers). tipoErrado: its type, upper-cased, is not "S"
// (file type 1) or not "A" (any other file type).
bool Verifica_Totalizadora(Contexto& c, bool& achou, QByteArrayView conta, bool& tipoErrado);
// Cost centre, expense centre (68), standard history (68) codes.
bool Verifica_IntegrCusto(Contexto& c, bool& achou, QByteArrayView codigo);
bool Verifica_IntegrDespesa(Contexto& c, bool& achou, QByteArrayView codigo);
bool Verifica_IntegrHist(Contexto& c, bool& achou, QByteArrayView codigo);

// The lookup tables of one run (owned by Contexto; the functions above use it).
class Consultas {
public:
    explicit Consultas(Contexto& c) : m_c(c) {}

    // Called by the writers when a row is stored in a staging table, so later
    // lookups and duplicate counts see it. Codes as cut from the record.
    void registrarGravado(int tipoArquivo, QByteArrayView data, QByteArrayView codigo,
                          QByteArrayView tipoConta = {});

    struct Conta {
        bool analitica = false;   // a row with type "A"
        bool outra = false;       // a row with another type
    };
    // Loads a table on first use; false with gMsg set on a failure other
    // than a missing table.
    bool planoGeral(const QHash<QByteArray, Conta>*& mapa);
    bool planoAux(const QHash<QByteArray, Conta>*& mapa);
    bool totalizadoras(const QHash<QByteArray, char>*& mapa);   // trimmed code -> first row's type
    bool codigos(int tipoArquivo, const QHash<QByteArray, char>*& mapa); // 3, 4, 5
    QHash<QByteArray, qint64>& duplicados() { return m_dup; }

private:
    bool carregarPlano(const QString& base, QHash<QByteArray, Conta>& mapa, bool& carregado);
    bool carregarCodigos(const QString& base, const QString& coluna, QHash<QByteArray, char>& mapa, bool& carregado);
    Contexto& m_c;
    QHash<QByteArray, Conta> m_geral, m_aux;
    QHash<QByteArray, char> m_totalizadoras;
    QHash<QByteArray, char> m_custo, m_despesa, m_hist;
    bool m_temGeral = false, m_temAux = false, m_temTot = false;
    bool m_temCusto = false, m_temDespesa = false, m_temHist = false;
    QHash<QByteArray, qint64> m_dup;   // date \0 code (trailing blanks removed) -> rows stored
};

// Key of the duplicate counts.
QByteArray chaveDuplicado(QByteArrayView data, QByteArrayView codigo);

} // namespace motor
