#include "Consultas.h"

#include "Tabelas.h"

#include "platform/Cp1252.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

namespace motor {

namespace {

QByteArray chaveCodigo(QByteArrayView codigo)
{
    return semBrancosFinais(codigo).toByteArray();
}

// A key over the caller's bytes, for lookups only (never stored in a hash:
// it does not own them).
QByteArray chaveEmprestada(QByteArrayView b)
{
    return b.isEmpty() ? QByteArray() : QByteArray::fromRawData(b.data(), b.size());
}

quint32 hashChave(QByteArrayView chave)
{
    const quint64 h = std::hash<std::string_view>{}(std::string_view(chave.data(), static_cast<size_t>(chave.size())));
    return static_cast<quint32>(h ^ (h >> 32));
}

QByteArray bytesDe(const QVariant& v)
{
    return cp1252::codificar(v.toString());
}

// Columns of a table, lower-cased; empty when the table does not exist.
QStringList colunas(db::Conexao& c, const QString& tabela, db::Erro& e)
{
    QStringList r;
    QSqlQuery q(c.banco());
    if (!q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(tabela))) {
        e = db::mapearErro(q.lastError());
        return r;
    }
    while (q.next())
        r << q.value(1).toString().toLower();
    return r;
}

} // namespace

QByteArray chaveDuplicado(QByteArrayView data, QByteArrayView codigo)
{
    QByteArray k;
    k.reserve(data.size() + codigo.size() + 1);
    k.append(data.data(), data.size());
    k.append('\0');
    const QByteArrayView c = semBrancosFinais(codigo);
    k.append(c.data(), c.size());
    return k;
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
    std::vector<quint64> novos(lugares, 0);
    const size_t mascara = lugares - 1;
    for (const quint64 s : m_lugares) {
        if (s == 0)
            continue;
        size_t i = static_cast<quint32>(s >> 32) & mascara;
        while (novos[i] != 0)
            i = (i + 1) & mascara;
        novos[i] = s;
    }
    m_lugares.swap(novos);
}

Consultas::Conta& Consultas::Plano::marcar(QByteArrayView chave)
{
    const qsizetype n = indice.inserir(chave);
    if (n == static_cast<qsizetype>(contas.size()))
        contas.emplace_back();
    return contas[static_cast<size_t>(n)];
}

QByteArrayView Consultas::chaveEmUso(QByteArrayView data, QByteArrayView codigo)
{
    const QByteArrayView c = semBrancosFinais(codigo);
    m_chave.resize(data.size() + 1 + c.size());
    char* p = m_chave.data();
    if (!data.isEmpty())
        std::memcpy(p, data.data(), static_cast<size_t>(data.size()));
    p[data.size()] = '\0';
    if (!c.isEmpty())
        std::memcpy(p + data.size() + 1, c.data(), static_cast<size_t>(c.size()));
    return QByteArrayView(m_chave);
}

qint64 Consultas::importados(QByteArrayView data, QByteArrayView codigo)
{
    const qsizetype n = m_dup.buscar(chaveEmUso(data, codigo));
    return n < 0 ? 0 : m_dupTotais[static_cast<size_t>(n)];
}

bool Consultas::conta(bool geral, QByteArrayView codigo, const Conta*& achada)
{
    achada = nullptr;
    const QHash<QByteArray, Conta>* mapa = nullptr;
    if (geral ? !planoGeral(mapa) : !planoAux(mapa))
        return false;
    const Plano& p = geral ? m_planoGeral : m_planoAux;
    const qsizetype n = p.indice.buscar(semBrancosFinais(codigo));
    if (n >= 0)
        achada = &p.contas[static_cast<size_t>(n)];
    return true;
}

bool Consultas::carregarPlano(const QString& base, QHash<QByteArray, Conta>& mapa, Plano& plano, bool& carregado)
{
    if (carregado)
        return true;
    Geral& g = m_c.g;
    const QString tabela = nomeTabela(base);
    db::Erro e;
    const QStringList cols = colunas(*g.gConn, tabela, e);
    if (!e.ok())
        return m_c.falhar(textoErro(e));
    if (!cols.isEmpty() && cols.contains(QLatin1String("codconta"))) {
        const bool comTipo = cols.contains(QLatin1String("tipoconta"));
        QSqlQuery q(g.gConn->banco());
        q.setForwardOnly(true);
        const QString sql = comTipo ? QStringLiteral("SELECT Codconta, TipoConta FROM %1").arg(tabela)
                                    : QStringLiteral("SELECT Codconta FROM %1").arg(tabela);
        if (!q.exec(sql))
            return m_c.falhar(textoErro(db::mapearErro(q.lastError())));
        while (q.next()) {
            const QByteArray k = chaveCodigo(bytesDe(q.value(0)));
            Conta& c = mapa[k];
            Conta& d = plano.marcar(k);
            const QString tipo = comTipo ? q.value(1).toString().toUpper() : QString();
            if (tipo == QLatin1String("A"))
                c.analitica = d.analitica = true;
            else
                c.outra = d.outra = true;
        }
    }
    carregado = true;
    return true;
}

bool Consultas::carregarCodigos(const QString& base, const QString& coluna, QHash<QByteArray, char>& mapa,
                                bool& carregado)
{
    if (carregado)
        return true;
    Geral& g = m_c.g;
    const QString tabela = nomeTabela(base);
    db::Erro e;
    const QStringList cols = colunas(*g.gConn, tabela, e);
    if (!e.ok())
        return m_c.falhar(textoErro(e));
    if (cols.contains(coluna.toLower())) {
        QSqlQuery q(g.gConn->banco());
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT %1 FROM %2").arg(coluna, tabela)))
            return m_c.falhar(textoErro(db::mapearErro(q.lastError())));
        while (q.next())
            mapa.insert(chaveCodigo(bytesDe(q.value(0))), 1);
    }
    carregado = true;
    return true;
}

bool Consultas::planoGeral(const QHash<QByteArray, Conta>*& mapa)
{
    mapa = &m_geral;
    return carregarPlano(TabPlanoGeral, m_geral, m_planoGeral, m_temGeral);
}

bool Consultas::planoAux(const QHash<QByteArray, Conta>*& mapa)
{
    mapa = &m_aux;
    return carregarPlano(TabPlanoAux, m_aux, m_planoAux, m_temAux);
}

bool Consultas::totalizadoras(const QHash<QByteArray, char>*& mapa)
{
    mapa = &m_totalizadoras;
    if (m_temTot)
        return true;
    Geral& g = m_c.g;
    const QString tabela = nomeTabela(TabPlanoGeral);
    db::Erro e;
    const QStringList cols = colunas(*g.gConn, tabela, e);
    if (!e.ok())
        return m_c.falhar(textoErro(e));
    if (cols.contains(QLatin1String("codconta"))) {
        const bool comTipo = cols.contains(QLatin1String("tipoconta"));
        QSqlQuery q(g.gConn->banco());
        q.setForwardOnly(true);
        const QString sql = comTipo ? QStringLiteral("SELECT Codconta, TipoConta FROM %1 ORDER BY rowid").arg(tabela)
                                    : QStringLiteral("SELECT Codconta FROM %1 ORDER BY rowid").arg(tabela);
        if (!q.exec(sql))
            return m_c.falhar(textoErro(db::mapearErro(q.lastError())));
        while (q.next()) {
            const QByteArray k = aparado(bytesDe(q.value(0))).toByteArray();
            if (m_totalizadoras.contains(k))
                continue;   // the first stored row answers
            const QString tipo = comTipo ? q.value(1).toString().toUpper() : QString();
            m_totalizadoras.insert(k, tipo.size() == 1 ? tipo.at(0).toLatin1() : '\0');
        }
    }
    m_temTot = true;
    return true;
}

bool Consultas::codigos(int tipoArquivo, const QHash<QByteArray, char>*& mapa)
{
    switch (tipoArquivo) {
    case 3:
        mapa = &m_custo;
        return carregarCodigos(TabCentroCusto, QStringLiteral("CodCusto"), m_custo, m_temCusto);
    case 4:
        mapa = &m_despesa;
        return carregarCodigos(TabCentroDespesa, QStringLiteral("CodDespesa"), m_despesa, m_temDespesa);
    default:
        mapa = &m_hist;
        return carregarCodigos(TabHistorico, QStringLiteral("CodhIstPad"), m_hist, m_temHist);
    }
}

void Consultas::contarGravado(QByteArrayView data, QByteArrayView codigo)
{
    // Most records of a file are stored: room for about as many keys as the
    // file has records (bounded, a hint only).
    if (m_dup.tamanho() == 0)
        m_dup.reservar(static_cast<qsizetype>(std::min<qint64>(m_c.maximoBarra, qint64(1) << 20)));
    const qsizetype n = m_dup.inserir(chaveEmUso(data, codigo));
    if (n == static_cast<qsizetype>(m_dupTotais.size()))
        m_dupTotais.push_back(0);
    m_dupTotais[static_cast<size_t>(n)] += 1;
}

void Consultas::registrarGravado(int tipoArquivo, QByteArrayView data, QByteArrayView codigo,
                                 QByteArrayView tipoConta)
{
    if (tipoArquivo == 8 || tipoArquivo == 9) {
        contarGravado(cortar(data, 3, 6), codigo);
        return;
    }
    if (tipoArquivo < 1 || tipoArquivo > 5)
        return;
    contarGravado(data, codigo);
    const QByteArray k = chaveCodigo(codigo);
    const char tipo = tipoConta.size() == 1 ? maiuscula(tipoConta[0]) : '\0';
    auto marcar = [&](QHash<QByteArray, Conta>& mapa, Plano& plano) {
        Conta& c = mapa[k];
        Conta& d = plano.marcar(k);
        if (tipo == 'A')
            c.analitica = d.analitica = true;
        else
            c.outra = d.outra = true;
    };
    switch (tipoArquivo) {
    case 1:
        if (m_temGeral)
            marcar(m_geral, m_planoGeral);
        if (m_temTot) {
            const QByteArray t = aparado(codigo).toByteArray();
            if (!m_totalizadoras.contains(t))
                m_totalizadoras.insert(t, tipo);
        }
        break;
    case 2:
        if (m_temAux)
            marcar(m_aux, m_planoAux);
        break;
    case 3:
        if (m_temCusto)
            m_custo.insert(k, 1);
        break;
    case 4:
        if (m_temDespesa)
            m_despesa.insert(k, 1);
        break;
    case 5:
        if (m_temHist)
            m_hist.insert(k, 1);
        break;
    default:
        break;
    }
}

bool Verifica_Importados(Contexto& c, bool& achou, QByteArrayView data, QByteArrayView codigo)
{
    qint64 total = 0;
    if (!contaImportados(c, total, data, codigo))
        return false;
    achou = total > 0;
    return true;
}

bool contaImportados(Contexto& c, qint64& total, QByteArrayView data, QByteArrayView codigo)
{
    total = 0;
    const int tipo = c.g.gTipoArquivo;
    if (tipo == 6 || tipo == 7 || tipo < 1 || tipo > 9)
        return true;
    total = c.consultas().importados(data, codigo);
    return true;
}

bool Verifica_Integridade(Contexto& c, bool& achou, QByteArrayView conta, bool geral, char& tipo)
{
    achou = false;
    const Consultas::Conta* it = nullptr;
    if (!c.consultas().conta(geral, conta, it))
        return false;
    const bool existe = it != nullptr;
    if (c.g.gIN == 86 && geral) {
        achou = existe && it->analitica;
        if (!achou)
            tipo = existe ? 'S' : ' ';
    } else {
        achou = existe;
    }
    return true;
}

bool Verifica_IntegridadeContrapartida(Contexto& c, bool& achou, QByteArrayView conta, bool geral, char& tipo)
{
    tipo = 'A';
    return Verifica_Integridade(c, achou, conta, geral, tipo);
}

bool Verifica_Totalizadora(Contexto& c, bool& achou, QByteArrayView conta, bool& tipoErrado)
{
    const QHash<QByteArray, char>* mapa = nullptr;
    if (!c.consultas().totalizadoras(mapa))
        return false;
    const auto it = mapa->constFind(chaveEmprestada(aparado(conta)));
    achou = it != mapa->constEnd();
    if (achou) {
        const char exigido = c.g.gTipoArquivo == 1 ? 'S' : 'A';
        tipoErrado = *it != exigido;
    }
    return true;
}

namespace {
bool verificaCodigo(Contexto& c, int tipo, bool& achou, QByteArrayView codigo)
{
    const QHash<QByteArray, char>* mapa = nullptr;
    achou = false;
    if (!c.consultas().codigos(tipo, mapa))
        return false;
    achou = mapa->contains(chaveEmprestada(semBrancosFinais(codigo)));
    return true;
}
} // namespace

bool Verifica_IntegrCusto(Contexto& c, bool& achou, QByteArrayView codigo)
{
    return verificaCodigo(c, 3, achou, codigo);
}

bool Verifica_IntegrDespesa(Contexto& c, bool& achou, QByteArrayView codigo)
{
    return verificaCodigo(c, 4, achou, codigo);
}

bool Verifica_IntegrHist(Contexto& c, bool& achou, QByteArrayView codigo)
{
    return verificaCodigo(c, 5, achou, codigo);
}

} // namespace motor
