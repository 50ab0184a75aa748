#pragma once
// The hash tables of the import's lookups: exact byte-string keys
// (IndiceChaves) and the fingerprints of the rows stored during a run
// (ImpressoesChaves), on an allocator that asks for huge pages.
#include <QByteArrayView>
#include <QtGlobal>

#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace motor {

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

// The rows stored in the staging table during a run, 8 bytes each: the high
// 32 bits of a 64-bit fingerprint of the row's key and the row's rowid, in a
// slot placed by the fingerprint's low bits (so the two together tell keys
// apart by more than 32 bits). Every stored row keeps its slot, so the rows
// whose key shares a key's fingerprint lie among the few slots its probe
// visits; each such row, read by its rowid, judges whether its key is the
// same. A shared fingerprint is thus never taken for a repeat, and a repeat
// is never missed. A table is never rehashed (the low bits are not kept):
// when it fills, a new one takes the rows that follow, and a probe visits
// each (one, when the table was reserved for the file).
class ImpressoesChaves {
public:
    using Funcao = quint64 (*)(QByteArrayView);
    // Calls `linha(rowid)` for every stored row whose fingerprint is the
    // key's, until it returns false.
    template <typename F>
    void candidatas(QByteArrayView chave, F&& linha) const;
    // False when the rowid does not fit in 32 bits (nothing stored).
    bool inserir(QByteArrayView chave, qint64 rowid);
    void reservar(qsizetype n);                 // room for n more rows (a hint)
    void antecipar(QByteArrayView chave) const; // fetches the key's slot ahead of use
    qsizetype tamanho() const { return m_usados; }
    bool reservada() const { return !m_partes.empty(); }
    // The most stored rows that share one fingerprint: no key has more rows.
    int maiorRepeticao() const { return m_maior; }

    // The fingerprint of every table; a test may make it weak so that keys
    // share fingerprints. Returns the function it replaces.
    static Funcao definirImpressao(Funcao f);

private:
    struct Parte {
        Lugares lugares;   // fingerprint's high 32 bits << 32 | rowid (0: free); linear probing, a power of 2
        size_t usados = 0;
    };
    static quint64 impressaoPadrao(QByteArrayView chave);
    static Funcao s_impressao;
    void novaParte(size_t lugares);
    std::vector<Parte> m_partes;
    qsizetype m_usados = 0;
    int m_maior = 0;
};

template <typename F>
void ImpressoesChaves::candidatas(QByteArrayView chave, F&& linha) const
{
    if (m_usados == 0)
        return;
    const quint64 f = s_impressao(chave);
    const quint64 alta = f >> 32;
    for (const Parte& p : m_partes) {
        const size_t mascara = p.lugares.size() - 1;
        for (size_t i = static_cast<size_t>(f) & mascara;; i = (i + 1) & mascara) {
            const quint64 s = p.lugares[i];
            if (s == 0)
                break;
            if ((s >> 32) == alta && !linha(static_cast<qint64>(s & 0xffffffffu)))
                return;
        }
    }
}

} // namespace motor
