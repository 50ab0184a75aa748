#pragma once
// Reference lookups of the record tests. Charts and code tables imported
// before the run do not change during it: each is loaded once, on first use,
// into a hash keyed by the code with trailing blanks removed (a table that
// does not exist is empty). The duplicate counts of the file in hand are kept
// in memory as fingerprints of the rows the writers stored, and answer as the
// count queries over the staging table would: a row that shares a key's
// fingerprint is read by its rowid to judge, so the test reads no index of
// the staging table (they are built after the load). The duplicate test is
// in Duplicatas.cpp.
//
// Every lookup returns success; false means the run must stop, with the
// error text in gMsg. The answer comes back in `achou`.
#include "Contexto.h"
#include "TabelasHash.h"

#include <QByteArray>

struct sqlite3_stmt;


namespace motor {

// Duplicate test of the file in hand: rows of its staging table with the same
// date and code. Types 1-5: data = the update date field, codigo = the code.
// Types 8, 9: data = characters 3 to 8 of the record (mmyyyy), codigo = the
// account. achou = at least one row already stored.
bool Verifica_Importados(Contexto& c, bool& achou, QByteArrayView data, QByteArrayView codigo);
// Whether more than `limite` rows are stored with that date and code
// (ValidaPlanoContas86's second pass, where the record itself is stored:
// more than 1 means a duplicate).
bool haImportadosAlemDe(Contexto& c, bool& acima, QByteArrayView data, QByteArrayView codigo, qint64 limite);

// Account lookup. 68, geral: the general chart. Geral false (any instruction):
// the auxiliary chart. 86, geral: the general chart as an analytic ("A")
// account; when not found, tipo = 'S' if the account exists with another type,
// ' ' if it does not exist. tipo is untouched otherwise.
bool Verifica_Integridade(Contexto& c, bool& achou, QByteArrayView conta, bool geral, char& tipo);
// Counterpart lookup: tipo = 'A' first, then as Verifica_Integridade.
bool Verifica_IntegridadeContrapartida(Contexto& c, bool& achou, QByteArrayView conta, bool geral, char& tipo);
// Totalizing account in the general chart (codes compared with trailing
// blanks ignored, as every lookup; the first stored row answers). tipoErrado: its type, upper-cased, is not "S"
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
    ~Consultas();
    Consultas(const Consultas&) = delete;
    Consultas& operator=(const Consultas&) = delete;

    // Called by the writers when a row is stored in a staging table, so later
    // lookups and duplicate counts see it. Codes as cut from the record;
    // rowid: the stored row's. False (gMsg set) when the row cannot be kept.
    bool registrarGravado(int tipoArquivo, QByteArrayView data, QByteArrayView codigo, qint64 rowid,
                          QByteArrayView tipoConta = {});

    struct Conta {
        bool analitica = false;   // a row with type "A"
        bool outra = false;       // a row with another type
    };
    // The account with that code (trailing blanks ignored) in the general or
    // the auxiliary chart, loaded on first use; nullptr when absent. False
    // with gMsg set when the chart cannot be read (a missing table is empty).
    bool conta(bool geral, QByteArrayView codigo, const Conta*& achada);
    // The first stored row's type (upper-cased, '\0' when not one character)
    // of a totalizing account of the general chart, trailing blanks ignored;
    // nullptr when absent. False as conta().
    bool totalizadora(QByteArrayView codigo, const char*& tipo);
    // Loads the totalizing accounts now. Loaded before a chart's rows are
    // stored (the table is empty then), they follow every stored row, so the
    // whole chart is not read back for the tests that follow.
    bool prepararTotalizadoras();
    // Whether the code (trailing blanks ignored) is in the code table of file
    // type 3, 4 or 5. False as conta().
    bool codigo(int tipoArquivo, QByteArrayView codigo, bool& achou);
    // Whether more than `limite` rows of the staging table of the file in
    // hand have that date and code. False as conta().
    bool importadosAlemDe(QByteArrayView data, QByteArrayView codigo, qint64 limite, bool& acima);
    // Whether a balance row with this date and account (the balances' key,
    // compared exactly) is stored already: the writers skip it, as the key,
    // built after the load, would refuse it. False as conta().
    bool saldoGravado(QByteArrayView data, QByteArrayView conta, bool& gravado);
    // Room for n stored rows in the duplicate counts (by default, as many as
    // the progress bar's maximum, which a test reading its file twice doubles).
    void reservarGravados(qint64 n);

    // Hints for the lookups of a record a few lines ahead (they never change
    // an answer, load nothing and ignore a table not loaded yet): a lookup
    // is a cache miss per load, hidden when asked for early. etapa as
    // IndiceChaves::antecipar.
    void anteciparConta(bool geral, QByteArrayView codigo, int etapa) const;
    // The duplicate count's slot of a key (date and code as registrarGravado gets them).
    void anteciparGravado(int tipoArquivo, QByteArrayView data, QByteArrayView codigo);
    // A totalizing account's lookup (or, etapa 0, the slot its code takes
    // when its row is stored).
    void anteciparTotalizadora(QByteArrayView codigo, int etapa) const;

private:
    // Keys with a value each, numbered by an IndiceChaves.
    template <typename T>
    struct Tabela {
        IndiceChaves indice;
        std::vector<T> valores;
        bool carregada = false;
        T& marcar(QByteArrayView chave, bool* nova = nullptr);
        void reservar(qint64 n);   // room for about n keys (a hint)
        const T* buscar(QByteArrayView chave) const;
    };
    bool carregarPlano(const QString& base, Tabela<Conta>& plano);
    bool carregarTotalizadoras();
    bool carregarCodigos(const QString& base, const QString& coluna, Tabela<char>& tabela);
    // Whether the stored row `rowid` of the staging table of the file in hand
    // has that date and code (the judge of a shared fingerprint): as the
    // duplicate test compares them, or (exata) as the balances' unique key.
    bool mesmaChave(qint64 rowid, QByteArrayView data, QByteArrayView codigo, bool exata, bool& mesma);
    Contexto& m_c;
    Tabela<Conta> m_planoGeral, m_planoAux;
    Tabela<char> m_totalizadoras;
    Tabela<char> m_custo, m_despesa, m_hist;
    // Duplicate counts: key date \0 code (trailing blanks removed).
    ImpressoesChaves m_dup;
    sqlite3_stmt* m_juiz = nullptr;        // the statements of mesmaChave
    sqlite3_stmt* m_juizExato = nullptr;
    QByteArray m_chave;     // reused key buffer of the duplicate counts
    QByteArray m_chaveAdiante;   // the same for the hints
    QByteArrayView chaveEmUso(QByteArrayView data, QByteArrayView codigo);
    bool contarGravado(QByteArrayView data, QByteArrayView codigo, qint64 rowid);
};

} // namespace motor
