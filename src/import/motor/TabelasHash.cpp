#include "TabelasHash.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

namespace motor {

namespace {

quint32 hashChave(QByteArrayView chave)
{
    const quint64 h = std::hash<std::string_view>{}(std::string_view(chave.data(), static_cast<size_t>(chave.size())));
    return static_cast<quint32>(h ^ (h >> 32));
}

} // namespace

void pedirPaginasGrandes(void* inicio, size_t bytes)
{
#ifdef MADV_HUGEPAGE
    madvise(inicio, bytes, MADV_HUGEPAGE);   // only advice: refused, the table works as is
#else
    (void)inicio;
    (void)bytes;
#endif
}

size_t IndiceChaves::posicao(QByteArrayView chave, quint32 hash) const
{
    const size_t mascara = m_lugares.size() - 1;
    for (size_t i = hash & mascara;; i = (i + 1) & mascara) {
        const quint64 s = m_lugares[i];
        if (s == 0)
            return i;
        if (static_cast<quint32>(s >> 32) != hash)
            continue;
        const Chave& c = m_chaves[static_cast<size_t>(s & 0xffffffffu) - 1];
        if (c.bytes == chave.size()
            && (chave.isEmpty() || std::memcmp(m_bytes.data() + c.inicio, chave.data(), static_cast<size_t>(c.bytes)) == 0))
            return i;
    }
}

qsizetype IndiceChaves::buscar(QByteArrayView chave) const
{
    if (m_chaves.empty())
        return -1;
    const quint64 s = m_lugares[posicao(chave, hashChave(chave))];
    return s == 0 ? -1 : static_cast<qsizetype>(s & 0xffffffffu) - 1;
}

qsizetype IndiceChaves::inserir(QByteArrayView chave)
{
    if (2 * (m_chaves.size() + 1) > m_lugares.size())
        redistribuir(std::max<size_t>(m_lugares.size() * 2, 1024));
    const quint32 h = hashChave(chave);
    quint64& s = m_lugares[posicao(chave, h)];
    if (s != 0)
        return static_cast<qsizetype>(s & 0xffffffffu) - 1;
    m_chaves.push_back(Chave{static_cast<qint64>(m_bytes.size()), chave.size()});
    m_bytes.append(chave.data(), static_cast<size_t>(chave.size()));
    s = (static_cast<quint64>(h) << 32) | static_cast<quint64>(m_chaves.size());
    return static_cast<qsizetype>(m_chaves.size()) - 1;
}

namespace {

// Moves the used slots of an open-addressing table into `lugares` slots (a
// power of 2); a slot's home is its value shifted right by `deslocamento`.
void redistribuirLugares(Lugares& atual, size_t lugares, int deslocamento)
{
    Lugares novos(lugares, 0);
    const size_t mascara = lugares - 1;
    for (const quint64 s : atual) {
        if (s == 0)
            continue;
        size_t i = static_cast<size_t>(s >> deslocamento) & mascara;
        while (novos[i] != 0)
            i = (i + 1) & mascara;
        novos[i] = s;
    }
    atual.swap(novos);
}

} // namespace

void IndiceChaves::antecipar(QByteArrayView chave, int etapa) const
{
    if (m_chaves.empty())
        return;
    const quint32 hash = hashChave(chave);
    const size_t mascara = m_lugares.size() - 1;
    size_t i = hash & mascara;
    if (etapa <= 0) {
        __builtin_prefetch(&m_lugares[i]);
        return;
    }
    // The slots a lookup probes are few and adjacent (the table is at most
    // half full): follow them to the first with the key's hash.
    for (int passos = 0; passos < 8; ++passos, i = (i + 1) & mascara) {
        const quint64 s = m_lugares[i];
        if (s == 0)
            return;
        if (static_cast<quint32>(s >> 32) != hash)
            continue;
        const Chave& c = m_chaves[static_cast<size_t>(s & 0xffffffffu) - 1];
        if (etapa == 1)
            __builtin_prefetch(&c);
        else
            __builtin_prefetch(m_bytes.data() + c.inicio);
        return;
    }
}

void IndiceChaves::reservar(qsizetype n)
{
    if (n <= 0)
        return;
    m_chaves.reserve(static_cast<size_t>(n));
    // Generous: a large block is only address space until its pages are used.
    m_bytes.reserve(static_cast<size_t>(n) * 32);
    size_t lugares = 1024;
    while (lugares < 2 * static_cast<size_t>(n))
        lugares *= 2;
    if (lugares > m_lugares.size())
        redistribuir(lugares);
}

void IndiceChaves::redistribuir(size_t lugares)
{
    redistribuirLugares(m_lugares, lugares, 32);
}

quint64 ImpressoesChaves::impressaoPadrao(QByteArrayView chave)
{
    quint64 h = std::hash<std::string_view>{}(std::string_view(chave.data(), static_cast<size_t>(chave.size())));
    // Final mix, so every bit of the key reaches the high bits kept.
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

ImpressoesChaves::Funcao ImpressoesChaves::s_impressao = &ImpressoesChaves::impressaoPadrao;

ImpressoesChaves::Funcao ImpressoesChaves::definirImpressao(Funcao f)
{
    const Funcao antes = s_impressao;
    s_impressao = f ? f : &ImpressoesChaves::impressaoPadrao;
    return antes;
}

void ImpressoesChaves::antecipar(QByteArrayView chave) const
{
    if (m_partes.empty())
        return;
    const quint64 f = s_impressao(chave);
    for (const Parte& p : m_partes)
        __builtin_prefetch(&p.lugares[static_cast<size_t>(f) & (p.lugares.size() - 1)]);
}

void ImpressoesChaves::novaParte(size_t lugares)
{
    Parte p;
    p.lugares.assign(lugares, 0);
    m_partes.push_back(std::move(p));
}

bool ImpressoesChaves::inserir(QByteArrayView chave, qint64 rowid)
{
    if (rowid <= 0 || rowid > 0xffffffffLL)
        return false;
    if (m_partes.empty() || 4 * (m_partes.back().usados + 1) > 3 * m_partes.back().lugares.size())
        novaParte(m_partes.empty() ? 1024 : m_partes.back().lugares.size() * 2);
    const quint64 f = s_impressao(chave);
    const quint64 alta = f >> 32;
    int iguais = 1;
    for (Parte& p : m_partes) {
        const size_t mascara = p.lugares.size() - 1;
        size_t i = static_cast<size_t>(f) & mascara;
        for (; p.lugares[i] != 0; i = (i + 1) & mascara)
            if ((p.lugares[i] >> 32) == alta)
                ++iguais;
        if (&p == &m_partes.back()) {
            p.lugares[i] = (alta << 32) | static_cast<quint64>(rowid);
            ++p.usados;
        }
    }
    ++m_usados;
    m_maior = std::max(m_maior, iguais);
    return true;
}

void ImpressoesChaves::reservar(qsizetype n)
{
    if (n <= 0)
        return;
    size_t lugares = 1024;
    while (3 * lugares < 4 * static_cast<size_t>(n))
        lugares *= 2;
    if (m_partes.empty() || 3 * m_partes.back().lugares.size() < 4 * (m_partes.back().usados + static_cast<size_t>(n)))
        novaParte(lugares);
}

} // namespace motor
