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

#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

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

// Allocator of the lookup hash tables. A table of several MB is probed at
// random, once or twice per record: on huge pages (where the system offers
// them) a probe costs a cache miss rather than a cache miss and a page walk.
void pedirPaginasGrandes(void* inicio, size_t bytes);
template <typename T>
struct AlocadorTabela {
    using value_type = T;
    static constexpr size_t Grande = size_t(4) << 20;
    static constexpr size_t Alinhamento = size_t(2) << 20;
    AlocadorTabela() = default;
    template <typename U>
    AlocadorTabela(const AlocadorTabela<U>&) {}
    T* allocate(size_t n)
    {
        const size_t bytes = n * sizeof(T);
        if (bytes < Grande)
            return std::allocator<T>().allocate(n);
        const size_t tamanho = (bytes + Alinhamento - 1) & ~(Alinhamento - 1);
        void* p = std::aligned_alloc(Alinhamento, tamanho);
        if (!p)
            throw std::bad_alloc();
        pedirPaginasGrandes(p, tamanho);
        return static_cast<T*>(p);
    }
    void deallocate(T* p, size_t n)
    {
        if (n * sizeof(T) < Grande)
            std::allocator<T>().deallocate(p, n);
        else
            std::free(p);
    }
    template <typename U>
    bool operator==(const AlocadorTabela<U>&) const { return true; }
};
using Lugares = std::vector<quint64, AlocadorTabela<quint64>>;

// Byte-string keys numbered 0, 1, 2... in the order they were added; the
// caller keeps the values in a vector by that number. The busiest exact
// lookups of a run (charts, code tables) go through it: the keys live in one
// buffer (no allocation per key) and each slot keeps the key's hash, so a
// probe reads key bytes only when the hashes match.
class IndiceChaves {
public:
    qsizetype buscar(QByteArrayView chave) const;   // its number, or -1
    qsizetype inserir(QByteArrayView chave);        // its number (a new key gets tamanho())
    qsizetype tamanho() const { return static_cast<qsizetype>(m_chaves.size()); }
    void reservar(qsizetype n);                     // room for n keys (a hint)
    // Asks the processor for what a later buscar() or inserir() of the key
    // reads, one step of its chain of loads per call: 0 the slot, 1 the
    // key's entry, 2 its bytes. Each step reads only what an earlier step
    // (on an earlier record) fetched, so the lookup itself finds it in cache.
    void antecipar(QByteArrayView chave, int etapa) const;

private:
    struct Chave {
        qint64 inicio = 0;   // in m_bytes
        qsizetype bytes = 0;
    };
    // Slot of the key, or the free slot where it goes.
    size_t posicao(QByteArrayView chave, quint32 hash) const;
    void redistribuir(size_t lugares);
    Lugares m_lugares;   // hash << 32 | number + 1 (0: free); linear probing, a power of 2
    std::vector<Chave> m_chaves;
    std::string m_bytes;
};

// The keys stored in the staging table during a run, as 8 bytes each: a
// 62-bit fingerprint of the key and a count of 1 to 3 (3: three or more).
// The count of a fingerprint is the sum over every key that has it, so it is
// never below the true count of a key: a count at or under a limit answers
// "not above the limit" exactly, and only a count above it (a real
// duplicate, or two keys that share a fingerprint) needs the database's index
// to judge.
class ImpressoesChaves {
public:
    int contagem(QByteArrayView chave) const;   // 0 to 3
    void inserir(QByteArrayView chave);
    void reservar(qsizetype n);                 // room for n keys (a hint)
    void antecipar(QByteArrayView chave) const; // fetches the key's slot ahead of use
    qsizetype tamanho() const { return m_usados; }
    bool reservada() const { return !m_lugares.empty(); }
    // The highest count of any fingerprint: no key counts more.
    int maiorContagem() const { return m_maior; }

private:
    static quint64 impressao(QByteArrayView chave);
    size_t posicao(quint64 impressao) const;
    void redistribuir(size_t lugares);
    Lugares m_lugares;   // fingerprint | count (0: free); linear probing, a power of 2
    qsizetype m_usados = 0;
    int m_maior = 0;
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
    // Room for n stored keys in the duplicate counts (by default, as many as
    // the progress bar's maximum, which a test reading its file twice doubles).
    void reservarGravados(qint64 n);

    // Hints for the lookups of a record a few lines ahead (they never change
    // an answer, load nothing and ignore a table not loaded yet): a lookup
    // is a cache miss per load, hidden when asked for early. etapa as
    // IndiceChaves::antecipar.
    void anteciparConta(bool geral, QByteArrayView codigo, int etapa) const;
    // The duplicate count's slot of a key (date and code as registrarGravado gets them).
    void anteciparGravado(int tipoArquivo, QByteArrayView data, QByteArrayView codigo);

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
    // Rows of the staging table of the file in hand with that date and code,
    // counted by the database (the judge of a fingerprint above its limit).
    bool contarNoBanco(QByteArrayView data, QByteArrayView codigo, qint64& total);
    Contexto& m_c;
    Tabela<Conta> m_planoGeral, m_planoAux;
    Tabela<char> m_totalizadoras;
    Tabela<char> m_custo, m_despesa, m_hist;
    // Duplicate counts: key date \0 code (trailing blanks removed).
    ImpressoesChaves m_dup;
    QByteArray m_chave;     // reused key buffer of the duplicate counts
    QByteArray m_chaveAdiante;   // the same for the hints
    QByteArrayView chaveEmUso(QByteArrayView data, QByteArrayView codigo);
    void contarGravado(QByteArrayView data, QByteArrayView codigo);
};

} // namespace motor
