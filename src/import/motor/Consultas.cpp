#include "Consultas.h"

#include "Tabelas.h"

#include "platform/Cp1252.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace motor {

namespace {

QByteArray chaveCodigo(QByteArrayView codigo)
{
    return semBrancosFinais(codigo).toByteArray();
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

bool Consultas::carregarPlano(const QString& base, QHash<QByteArray, Conta>& mapa, bool& carregado)
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
            Conta& c = mapa[chaveCodigo(bytesDe(q.value(0)))];
            const QString tipo = comTipo ? q.value(1).toString().toUpper() : QString();
            if (tipo == QLatin1String("A"))
                c.analitica = true;
            else
                c.outra = true;
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
    return carregarPlano(TabPlanoGeral, m_geral, m_temGeral);
}

bool Consultas::planoAux(const QHash<QByteArray, Conta>*& mapa)
{
    mapa = &m_aux;
    return carregarPlano(TabPlanoAux, m_aux, m_temAux);
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

void Consultas::registrarGravado(int tipoArquivo, QByteArrayView data, QByteArrayView codigo,
                                 QByteArrayView tipoConta)
{
    if (tipoArquivo == 8 || tipoArquivo == 9) {
        m_dup[chaveDuplicado(cortar(data, 3, 6), codigo)] += 1;
        return;
    }
    if (tipoArquivo < 1 || tipoArquivo > 5)
        return;
    m_dup[chaveDuplicado(data, codigo)] += 1;
    const QByteArray k = chaveCodigo(codigo);
    const char tipo = tipoConta.size() == 1 ? maiuscula(tipoConta[0]) : '\0';
    auto marcar = [&](QHash<QByteArray, Conta>& mapa) {
        Conta& c = mapa[k];
        if (tipo == 'A')
            c.analitica = true;
        else
            c.outra = true;
    };
    switch (tipoArquivo) {
    case 1:
        if (m_temGeral)
            marcar(m_geral);
        if (m_temTot) {
            const QByteArray t = aparado(codigo).toByteArray();
            if (!m_totalizadoras.contains(t))
                m_totalizadoras.insert(t, tipo);
        }
        break;
    case 2:
        if (m_temAux)
            marcar(m_aux);
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
    total = c.consultas().duplicados().value(chaveDuplicado(data, codigo), 0);
    return true;
}

bool Verifica_Integridade(Contexto& c, bool& achou, QByteArrayView conta, bool geral, char& tipo)
{
    achou = false;
    const QHash<QByteArray, Consultas::Conta>* mapa = nullptr;
    const bool usaGeral = geral;
    if (usaGeral ? !c.consultas().planoGeral(mapa) : !c.consultas().planoAux(mapa))
        return false;
    const auto it = mapa->constFind(chaveCodigo(conta));
    const bool existe = it != mapa->constEnd();
    if (c.g.gIN == 86 && usaGeral) {
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
    const auto it = mapa->constFind(aparado(conta).toByteArray());
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
    achou = mapa->contains(chaveCodigo(codigo));
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
