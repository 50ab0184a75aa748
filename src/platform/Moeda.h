#pragma once
// Exact money value in units of 1/10 000, overflow-checked.
#include <QString>

#include <cstdint>
#include <optional>

class Moeda {
public:
    static constexpr int64_t Escala = 10000;

    constexpr Moeda() = default;
    static constexpr Moeda deUnidades(int64_t unidades) { return Moeda(unidades); }
    static std::optional<Moeda> deCentavos(int64_t centavos);
    // Parses "1234,56", "-1.234,56", "1234" (decimal comma, optional grouping dots).
    static std::optional<Moeda> deTexto(const QString& texto);

    constexpr int64_t unidades() const { return m_u; }
    int64_t centavos() const { return m_u / 100; }
    constexpr bool zero() const { return m_u == 0; }
    // The magnitude; the most negative value, which has no positive
    // counterpart, gives the greatest value (still above any amount it is
    // compared with).
    constexpr Moeda abs() const
    {
        if (m_u >= 0)
            return *this;
        return Moeda(m_u == INT64_MIN ? INT64_MAX : -m_u);
    }

    // Checked arithmetic: false on overflow, leaving the value unchanged.
    bool somar(Moeda outra);
    bool subtrair(Moeda outra);

    friend constexpr bool operator==(Moeda a, Moeda b) { return a.m_u == b.m_u; }
    friend constexpr auto operator<=>(Moeda a, Moeda b) { return a.m_u <=> b.m_u; }

    // "1234,56": decimal comma, no grouping, two decimals (rounded half away from zero).
    QString textoDecimal() const;
    // "1.234,56"
    QString textoAgrupado() const;
    // "R$ 1.234,56"; a negative value as accountants write it, "-R$ 1.234,56".
    QString textoReais() const;

private:
    explicit constexpr Moeda(int64_t u) : m_u(u) {}
    int64_t m_u = 0;
};
