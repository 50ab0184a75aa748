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

#include <string>
#include <vector>

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

// Byte-string keys numbered 0, 1, 2... in the order they were added; the
// caller keeps the values in a vector by that number. The busiest lookups of
// a run (charts, duplicate counts) go through it: the keys live in one buffer
// (no allocation per key) and each slot keeps the key's hash, so a probe
// reads key bytes only when the hashes match.
class IndiceChaves {
public:
    qsizetype buscar(QByteArrayView chave) const;   // its number, or -1
    qsizetype inserir(QByteArrayView chave);        // its number (a new key gets tamanho())
    qsizetype tamanho() const { return static_cast<qsizetype>(m_chaves.size()); }
    void reservar(qsizetype n);                     // room for n keys (a hint)

private:
    struct Chave {
        qint64 inicio = 0;   // in m_bytes
        qsizetype bytes = 0;
    };
    // Slot of the key, or the free slot where it goes.
    size_t posicao(QByteArrayView chave, quint32 hash) const;
    void redistribuir(size_t lugares);
    std::vector<quint64> m_lugares;   // hash << 32 | number + 1 (0: free); linear probing, a power of 2
    std::vector<Chave> m_chaves;
    std::string m_bytes;
};

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
    // Rows stored with that date and code (the duplicate count of
    // contaImportados), looked up without allocating.
    qint64 importados(QByteArrayView data, QByteArrayView codigo);
    // The account with that code (trailing blanks ignored) in the general or
    // the auxiliary chart, loaded on first use; nullptr when absent. False
    // as planoGeral/planoAux.
    bool conta(bool geral, QByteArrayView codigo, const Conta*& achada);

private:
    struct Plano {
        IndiceChaves indice;
        std::vector<Conta> contas;   // by the key's number in indice
        Conta& marcar(QByteArrayView chave);
    };
    bool carregarPlano(const QString& base, QHash<QByteArray, Conta>& mapa, Plano& plano, bool& carregado);
    bool carregarCodigos(const QString& base, const QString& coluna, QHash<QByteArray, char>& mapa, bool& carregado);
    Contexto& m_c;
    QHash<QByteArray, Conta> m_geral, m_aux;
    QHash<QByteArray, char> m_totalizadoras;
    QHash<QByteArray, char> m_custo, m_despesa, m_hist;
    bool m_temGeral = false, m_temAux = false, m_temTot = false;
    bool m_temCusto = false, m_temDespesa = false, m_temHist = false;
    Plano m_planoGeral, m_planoAux;   // the same accounts as m_geral, m_aux, for the record tests
    // Duplicate counts: key date \0 code (trailing blanks removed) -> rows stored.
    IndiceChaves m_dup;
    std::vector<qint64> m_dupTotais;
    QByteArray m_chave;     // reused key buffer of the duplicate counts
    QByteArrayView chaveEmUso(QByteArrayView data, QByteArrayView codigo);
    void contarGravado(QByteArrayView data, QByteArrayView codigo);
};

// Key of the duplicate counts.
QByteArray chaveDuplicado(QByteArrayView data, QByteArrayView codigo);

} // namespace motor
