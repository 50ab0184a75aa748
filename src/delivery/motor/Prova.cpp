#include "Prova.h"

#include "import/motor/Arquivos.h"
#include "import/motor/Contexto.h"

#include <cstring>

namespace entrega {

std::optional<Moeda> Prova::valorCurto(QByteArrayView campo) const
{
    uint64_t n = 0;
    for (char c : campo) {
        const unsigned d = static_cast<unsigned char>(c) - unsigned('0');
        if (d > 9)
            return std::nullopt;
        n = n * 10 + d;
    }
    if (n > static_cast<uint64_t>(INT64_MAX) / static_cast<uint64_t>(m_escala))
        return motor::valorMoeda(campo, m_forma.decimais);  // its overflow rule
    return Moeda::deUnidades(static_cast<int64_t>(n) * m_escala);
}

QByteArray campoDoTotal(qint16 tipo)
{
    if (tipo == 6 || tipo == 7)
        return "Valor";
    if (tipo == 8 || tipo == 9)
        return "ValorDebitos";
    return {};
}

bool lerForma(QByteArrayView lay, QByteArrayView campo, FormaRegistro& forma, QString& erro)
{
    forma = FormaRegistro{};
    motor::DescricaoLay d;
    if (!motor::lerLay(lay, d, erro))
        return false;
    forma.tamanho = d.tamanhoRegistro;
    if (campo.isEmpty())
        return true;
    const motor::CampoLay* c = d.campo(campo, erro);
    if (!c)
        return false;
    forma.posicao = c->posicao;
    forma.largura = c->largura;
    forma.decimais = c->decimais;
    return true;
}

Prova::Prova(const FormaRegistro& forma)
    : m_forma(forma)
{
    m_resto.reserve(m_forma.tamanho);
    // Up to 18 digits and 4 decimals the value is a plain integer times a scale.
    if (m_forma.largura > 0 && m_forma.largura <= 18 && m_forma.decimais <= 4 && m_forma.decimais < m_forma.largura) {
        m_escala = 1;
        for (int i = m_forma.decimais; i < 4; ++i)
            m_escala *= 10;
    }
}

void Prova::falhar(const QString& texto)
{
    if (m_falha.isEmpty())
        m_falha = texto;
}

void Prova::registro(const char* r)
{
    const qsizetype n = m_forma.tamanho;
    ++m_linhas;
    bool fim = r[n - 2] == '\r' && r[n - 1] == '\n';
    // A CR LF inside the record would make it two short lines.
    for (const char* p = r; fim;) {
        const void* lf = std::memchr(p, '\n', static_cast<size_t>(r + n - 1 - p));
        if (!lf)
            break;
        const char* q = static_cast<const char*>(lf);
        if (q > r && q[-1] == '\r')
            fim = false;
        p = q + 1;
    }
    if (!fim) {
        falhar(QStringLiteral("a linha %1 não tem %2 bytes terminados em CR LF").arg(m_linhas).arg(n));
        return;
    }
    if (m_forma.posicao == 0)
        return;
    const QByteArrayView campo(r + m_forma.posicao - 1, m_forma.largura);
    const std::optional<Moeda> v = m_escala > 0 ? valorCurto(campo) : motor::valorMoeda(campo, m_forma.decimais);
    if (!v)
        falhar(QStringLiteral("a linha %1 não tem um valor numérico").arg(m_linhas));
    else if (!m_total.somar(*v))
        falhar(QStringLiteral("a soma dos valores excede o limite na linha %1").arg(m_linhas));
}

void Prova::alimentar(const char* dados, qsizetype n)
{
    const qsizetype t = m_forma.tamanho;
    if (!inteiro() || t <= 0)
        return;
    if (!m_resto.isEmpty()) {
        const qsizetype falta = std::min(t - m_resto.size(), n);
        m_resto.append(dados, falta);
        dados += falta;
        n -= falta;
        if (m_resto.size() < t)
            return;
        registro(m_resto.constData());
        m_resto.clear();
    }
    while (n >= t && inteiro()) {
        registro(dados);
        dados += t;
        n -= t;
    }
    if (inteiro() && n > 0)
        m_resto.append(dados, n);
}

void Prova::concluir()
{
    if (inteiro() && !m_resto.isEmpty())
        falhar(QStringLiteral("a linha %1 não tem %2 bytes terminados em CR LF").arg(m_linhas + 1).arg(m_forma.tamanho));
    m_resto.clear();
}

} // namespace entrega
