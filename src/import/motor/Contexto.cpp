#include "Contexto.h"

#include "Consultas.h"
#include "Gravadores.h"

#include "platform/Cp1252.h"
#include "shell/Servicos.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>

namespace motor {

void Painel::rende()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

const CampoLeiaute* Leiaute::campo(int n) const
{
    if (n < 1 || n > quantidade())
        return nullptr;
    return &todos[n - 1];
}

const CampoLeiaute* Leiaute::porCodsequ(int codsequ) const
{
    for (int i = 0; i < quantidade(); ++i)
        if (todos[i].codsequ == codsequ)
            return &todos[i];
    return nullptr;
}

int Leiaute::quantidade() const
{
    return static_cast<int>(std::min<qsizetype>(todos.size(), MaxCampos));
}

QByteArrayView cortar(QByteArrayView linha, int posicao, int tamanho)
{
    if (posicao < 1 || tamanho <= 0 || posicao > linha.size())
        return {};
    const qsizetype ini = posicao - 1;
    return linha.sliced(ini, std::min<qsizetype>(tamanho, linha.size() - ini));
}

bool branco(QByteArrayView campo)
{
    for (char ch : campo)
        if (ch != ' ')
            return false;
    return true;
}

bool temNul(QByteArrayView campo)
{
    return !campo.isEmpty() && std::memchr(campo.data(), '\0', campo.size()) != nullptr;
}

void trocarNul(char* dados, qsizetype tamanho)
{
    // Called on every record of some passes: a NUL is rare, so search rather than test each byte.
    char* fim = dados + std::max<qsizetype>(tamanho, 0);
    for (char* p = dados; p < fim;) {
        p = static_cast<char*>(std::memchr(p, '\0', static_cast<size_t>(fim - p)));
        if (!p)
            break;
        *p++ = ' ';
    }
}

QByteArrayView semBrancosFinais(QByteArrayView c)
{
    qsizetype n = c.size();
    while (n > 0 && c[n - 1] == ' ')
        --n;
    return c.first(n);
}

bool igualCodigo(QByteArrayView a, QByteArrayView b)
{
    return semBrancosFinais(a) == semBrancosFinais(b);
}

char maiuscula(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SoNumeros(QByteArrayView texto)
{
    if (texto.isEmpty())
        return false;
    for (char ch : texto)
        if (ch < '0' || ch > '9')
            return false;
    return true;
}

namespace {
int numero(QByteArrayView d)
{
    int v = 0;
    for (char ch : d)
        v = v * 10 + (ch - '0');
    return v;
}
} // namespace

QDate dataDeCampo(QByteArrayView texto)
{
    if (texto.size() != 8 || !SoNumeros(texto))
        return {};
    const int dia = numero(texto.first(2));
    const int mes = numero(texto.sliced(2, 2));
    const int ano = numero(texto.sliced(4, 4));
    if (mes > 12 || ano < 1900)
        return {};
    return QDate(ano, mes, dia);   // invalid for a day the month does not have
}

bool Fun_consiste_data(QByteArrayView texto)
{
    return dataDeCampo(texto).isValid();
}

std::optional<Moeda> valorMoeda(QByteArrayView campo, int decimais)
{
    if (!SoNumeros(campo))
        return std::nullopt;
    if (decimais < 0)
        decimais = 0;
    if (decimais > campo.size())
        decimais = static_cast<int>(campo.size());
    const QByteArrayView inteira = campo.first(campo.size() - decimais);
    const QByteArrayView fracao = campo.sliced(campo.size() - decimais);
    constexpr int64_t limite = INT64_MAX / Moeda::Escala;
    int64_t parteInteira = 0;
    for (char ch : inteira) {
        if (parteInteira > (limite - (ch - '0')) / 10)
            return std::nullopt;
        parteInteira = parteInteira * 10 + (ch - '0');
    }
    // Fraction to 1/10 000, rounding half to even beyond the fourth digit
    // (as the currency conversion does).
    int64_t unidades = 0;
    int i = 0;
    for (; i < 4; ++i)
        unidades = unidades * 10 + (i < fracao.size() ? fracao[i] - '0' : 0);
    if (fracao.size() > 4) {
        const int seguinte = fracao[4] - '0';
        bool resto = false;
        for (qsizetype k = 5; k < fracao.size(); ++k)
            resto = resto || fracao[k] != '0';
        if (seguinte > 5 || (seguinte == 5 && (resto || (unidades % 2) == 1)))
            ++unidades;
    }
    const int64_t total = parteInteira * Moeda::Escala;
    if (total > INT64_MAX - unidades)
        return std::nullopt;
    return Moeda::deUnidades(total + unidades);
}

QString textoErroEstouro(const QString& procedimento)
{
    return textoErro(6, QStringLiteral("Estouro de capacidade"), procedimento);
}

QString texto(QByteArrayView campo)
{
    return cp1252::decodificar(campo);
}

Contexto::Contexto(Painel& p)
    : g(geral())
    , painel(p)
{
}

Contexto::~Contexto()
{
    if (m_gravador)
        m_gravador->liberar();
    if (m_lote)
        confirmarLote();
}

Consultas& Contexto::consultas()
{
    if (!m_consultas)
        m_consultas = std::make_unique<Consultas>(*this);
    return *m_consultas;
}

Gravador& Contexto::gravador()
{
    if (!m_gravador)
        m_gravador = std::make_unique<Gravador>(*this);
    return *m_gravador;
}

QByteArrayView Contexto::campo(const Registro& r, int n) const
{
    const CampoLeiaute* c = leiaute.campo(n);
    return c ? cortar(r.linha(), c->posicao, c->tamanho) : QByteArrayView();
}

QByteArrayView Contexto::campoDaLinha(QByteArrayView linha, int n) const
{
    const CampoLeiaute* c = leiaute.campo(n);
    return c ? cortar(linha, c->posicao, c->tamanho) : QByteArrayView();
}

QByteArrayView Contexto::campoCodsequ(const Registro& r, int codsequ) const
{
    const CampoLeiaute* c = leiaute.porCodsequ(codsequ);
    return c ? cortar(r.linha(), c->posicao, c->tamanho) : QByteArrayView();
}

void Contexto::trocarNulNoCampo(Registro& r, QByteArrayView campo)
{
    if (campo.isEmpty() || campo.data() < r.dados || campo.data() + campo.size() > r.dados + r.guardado)
        return;
    trocarNul(r.dados + (campo.data() - r.dados), campo.size());
}

bool Contexto::erro(Registro& r, qint16 codigo)
{
    r.bom = false;
    // Grava_erro keeps its own short transactions.
    if (!confirmarLote())
        return false;
    if (!Grava_erro(codigo)) {
        m_janelaFechada = true;
        g.gMsg.clear();   // already shown by Grava_erro
        return false;
    }
    return true;
}

bool Contexto::falhar(const QString& msg)
{
    g.gMsg = msg;
    return false;
}

bool Contexto::abrirLote()
{
    if (m_lote)
        return true;
    db::Erro e;
    if (!g.gConn || !g.gConn->iniciarTransacao(&e))
        return falhar(textoErro(e));
    m_lote = true;
    return true;
}

bool Contexto::confirmarLote()
{
    if (!m_lote)
        return true;
    m_lote = false;
    db::Erro e;
    if (!g.gConn || !g.gConn->confirmar(&e)) {
        if (g.gConn)
            g.gConn->desfazer();
        return falhar(textoErro(e));
    }
    return true;
}

} // namespace motor
