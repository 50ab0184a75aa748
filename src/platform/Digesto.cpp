#include "Digesto.h"

#define XXH_STATIC_LINKING_ONLY   // the state's size, to allocate it as any object
#include <xxhash.h>

namespace digesto {

Fluxo::Fluxo()
    : m_estado(new XXH3_state_t())
{
    XXH3_128bits_reset(m_estado);
}

Fluxo::~Fluxo()
{
    delete m_estado;
}

void Fluxo::alimentar(const char* dados, qsizetype n)
{
    if (n > 0)
        XXH3_128bits_update(m_estado, dados, static_cast<size_t>(n));
}

namespace {
QString emHex(XXH128_hash_t h)
{
    XXH128_canonical_t c;
    XXH128_canonicalFromHash(&c, h);
    static const char digitos[] = "0123456789abcdef";
    QString r(2 * static_cast<qsizetype>(sizeof c.digest), Qt::Uninitialized);
    for (size_t i = 0; i < sizeof c.digest; ++i) {
        r[2 * static_cast<qsizetype>(i)] = QLatin1Char(digitos[c.digest[i] >> 4]);
        r[2 * static_cast<qsizetype>(i) + 1] = QLatin1Char(digitos[c.digest[i] & 0xF]);
    }
    return r;
}
} // namespace

QString Fluxo::hex() const
{
    return emHex(XXH3_128bits_digest(m_estado));
}

QString de(QByteArrayView bytes)
{
    return emHex(XXH3_128bits(bytes.data(), static_cast<size_t>(bytes.size())));
}

} // namespace digesto
