#include "Digesto.h"

#include <QByteArray>

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
    return QString::fromLatin1(
        QByteArray::fromRawData(reinterpret_cast<const char*>(c.digest), sizeof c.digest).toHex());
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
