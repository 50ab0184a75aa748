#include "Moeda.h"

std::optional<Moeda> Moeda::deCentavos(int64_t centavos)
{
    int64_t u = 0;
    if (__builtin_mul_overflow(centavos, int64_t(100), &u))
        return std::nullopt;
    return Moeda(u);
}

std::optional<Moeda> Moeda::deTexto(const QString& texto)
{
    const QString t = texto.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    int i = 0;
    bool neg = false;
    if (t[0] == u'-' || t[0] == u'+') {
        neg = t[0] == u'-';
        ++i;
    }
    int64_t inteiro = 0;
    int digitos = 0;
    for (; i < t.size() && t[i] != u','; ++i) {
        const QChar c = t[i];
        if (c == u'.')
            continue;
        if (!c.isDigit())
            return std::nullopt;
        if (__builtin_mul_overflow(inteiro, int64_t(10), &inteiro)
            || __builtin_add_overflow(inteiro, int64_t(c.digitValue()), &inteiro))
            return std::nullopt;
        ++digitos;
    }
    int64_t frac = 0;
    int casas = 0;
    if (i < t.size()) {
        ++i; // comma
        for (; i < t.size(); ++i) {
            const QChar c = t[i];
            if (!c.isDigit())
                return std::nullopt;
            if (casas < 4) {
                frac = frac * 10 + c.digitValue();
                ++casas;
            }
            ++digitos;
        }
    }
    if (digitos == 0)
        return std::nullopt;
    while (casas < 4) {
        frac *= 10;
        ++casas;
    }
    int64_t u = 0;
    if (__builtin_mul_overflow(inteiro, Escala, &u) || __builtin_add_overflow(u, frac, &u))
        return std::nullopt;
    return Moeda(neg ? -u : u);
}

bool Moeda::somar(Moeda outra)
{
    int64_t r = 0;
    if (__builtin_add_overflow(m_u, outra.m_u, &r))
        return false;
    m_u = r;
    return true;
}

bool Moeda::subtrair(Moeda outra)
{
    int64_t r = 0;
    if (__builtin_sub_overflow(m_u, outra.m_u, &r))
        return false;
    m_u = r;
    return true;
}

namespace {
QString formatar(int64_t u, bool agrupar)
{
    const bool neg = u < 0;
    // Round to cents, half away from zero, without overflow on the extremes.
    uint64_t a = neg ? uint64_t(0) - uint64_t(u) : uint64_t(u);
    uint64_t cent = a / 100 + ((a % 100) >= 50 ? 1 : 0);
    QString inteiro = QString::number(cent / 100);
    if (agrupar) {
        for (int p = inteiro.size() - 3; p > 0; p -= 3)
            inteiro.insert(p, u'.');
    }
    const QString frac = QStringLiteral("%1").arg(cent % 100, 2, 10, QLatin1Char('0'));
    return (neg && cent != 0 ? QStringLiteral("-") : QString()) + inteiro + u',' + frac;
}
} // namespace

QString Moeda::textoDecimal() const
{
    return formatar(m_u, false);
}

QString Moeda::textoAgrupado() const
{
    return formatar(m_u, true);
}

QString Moeda::textoReais() const
{
    const QString t = textoAgrupado();
    if (t.startsWith(u'-'))
        return QStringLiteral("-R$ ") + t.mid(1);
    return QStringLiteral("R$ ") + t;
}
