#include "Consultas.h"

#include "Gravadores.h"
#include "Tabelas.h"

#include "platform/Cp1252.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <algorithm>
#include <functional>

namespace motor {

namespace {

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
    db::fimDasLinhas(q, &e);
    return r;
}

} // namespace

template <typename T>
T& Consultas::Tabela<T>::marcar(QByteArrayView chave, bool* nova)
{
    const qsizetype n = indice.inserir(chave);
    const bool criada = n == static_cast<qsizetype>(valores.size());
    if (criada)
        valores.emplace_back();
    if (nova)
        *nova = criada;
    return valores[static_cast<size_t>(n)];
}

template <typename T>
void Consultas::Tabela<T>::reservar(qint64 n)
{
    n = std::clamp<qint64>(n, 0, qint64(1) << 26);
    indice.reservar(static_cast<qsizetype>(n));
    valores.reserve(static_cast<size_t>(n));
}

template <typename T>
const T* Consultas::Tabela<T>::buscar(QByteArrayView chave) const
{
    const qsizetype n = indice.buscar(chave);
    return n < 0 ? nullptr : &valores[static_cast<size_t>(n)];
}

void Consultas::anteciparConta(bool geral, QByteArrayView codigo, int etapa) const
{
    const Tabela<Conta>& p = geral ? m_planoGeral : m_planoAux;
    if (p.carregada)
        p.indice.antecipar(semBrancosFinais(codigo), etapa);
}

void Consultas::anteciparTotalizadora(QByteArrayView codigo, int etapa) const
{
    if (m_totalizadoras.carregada)
        m_totalizadoras.indice.antecipar(semBrancosFinais(codigo), etapa);
}

bool Consultas::conta(bool geral, QByteArrayView codigo, const Conta*& achada)
{
    achada = nullptr;
    Tabela<Conta>& p = geral ? m_planoGeral : m_planoAux;
    if (!carregarPlano(geral ? TabPlanoGeral : TabPlanoAux, p))
        return false;
    achada = p.buscar(semBrancosFinais(codigo));
    return true;
}

bool Consultas::totalizadora(QByteArrayView codigo, const char*& tipo)
{
    tipo = nullptr;
    if (!carregarTotalizadoras())
        return false;
    tipo = m_totalizadoras.buscar(semBrancosFinais(codigo));
    return true;
}

bool Consultas::codigo(int tipoArquivo, QByteArrayView codigo, bool& achou)
{
    achou = false;
    bool ok = false;
    switch (tipoArquivo) {
    case 3:
        ok = carregarCodigos(TabCentroCusto, QStringLiteral("CodCusto"), m_custo);
        achou = ok && m_custo.buscar(semBrancosFinais(codigo));
        break;
    case 4:
        ok = carregarCodigos(TabCentroDespesa, QStringLiteral("CodDespesa"), m_despesa);
        achou = ok && m_despesa.buscar(semBrancosFinais(codigo));
        break;
    default:
        ok = carregarCodigos(TabHistorico, QStringLiteral("CodhIstPad"), m_hist);
        achou = ok && m_hist.buscar(semBrancosFinais(codigo));
        break;
    }
    return ok;
}

namespace {

// One row of a lookup-table read: the columns as Windows-1252 bytes (the
// codes as the record tests cut them). ASCII text, the usual case, is used
// as the database hands it, without a conversion.
class LinhaTabela {
public:
    explicit LinhaTabela(sqlite3_stmt* s) : m_s(s) {}
    QByteArrayView bytes(int coluna)
    {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_s, coluna));
        const int n = sqlite3_column_bytes(m_s, coluna);
        if (!p || n <= 0)
            return QByteArrayView("", 0);
        unsigned char acc = 0;
        for (int i = 0; i < n; ++i)
            acc |= static_cast<unsigned char>(p[i]);
        if (acc < 0x80)
            return QByteArrayView(p, n);
        QByteArray& b = m_convertidos[coluna & 1];
        b = cp1252::codificar(QString::fromUtf8(p, n));
        return QByteArrayView(b);
    }

private:
    sqlite3_stmt* m_s;
    QByteArray m_convertidos[2];
};

// Runs a read of a whole lookup table; false with the database's text in
// gMsg when it cannot run or a row cannot be read (a damaged page is never
// taken for the end of the table). `linhas` gets a hint of the row count
// before the first row.
bool lerTabela(Contexto& ctx, const QString& sql, const std::function<void(LinhaTabela&)>& linha,
               const QString& tabela = QString(), const std::function<void(qint64)>& linhas = {})
{
    sqlite3* h = ctx.g.gConn ? ctx.g.gConn->handle() : nullptr;
    if (!h)
        return ctx.falhar(textoErro(db::ErroBanco, db::TextoNaoAberto));
    auto preparar = [&](const QString& texto, sqlite3_stmt*& s) {
        const QByteArray u = texto.toUtf8();
        const int rc = sqlite3_prepare_v2(h, u.constData(), static_cast<int>(u.size()), &s, nullptr);
        if (rc != SQLITE_OK) {
            const db::Erro e = erroSqlite(h, sqlite3_extended_errcode(h));
            sqlite3_finalize(s);
            s = nullptr;
            return ctx.falhar(textoErro(e));
        }
        return true;
    };
    if (linhas && !tabela.isEmpty()) {
        // The highest rowid bounds the rows of a table that is only appended to.
        sqlite3_stmt* s = nullptr;
        if (!preparar(QStringLiteral("SELECT max(rowid) FROM %1").arg(tabela), s))
            return false;
        const int rc = sqlite3_step(s);
        const qint64 n = rc == SQLITE_ROW ? sqlite3_column_int64(s, 0) : 0;
        const db::Erro e = rc == SQLITE_ROW || rc == SQLITE_DONE ? db::Erro{} : erroSqlite(h, sqlite3_extended_errcode(h));
        sqlite3_finalize(s);
        if (!e.ok())
            return ctx.falhar(textoErro(e));
        linhas(n);
    }
    sqlite3_stmt* s = nullptr;
    if (!preparar(sql, s))
        return false;
    LinhaTabela l(s);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        linha(l);
    const db::Erro e = rc == SQLITE_DONE ? db::Erro{} : erroSqlite(h, sqlite3_extended_errcode(h));
    sqlite3_finalize(s);
    if (!e.ok())
        return ctx.falhar(textoErro(e));
    return true;
}

// The SELECT of a chart's codes (and account types, when the table has
// them), or the empty text when the table has no code column. False, after
// failing the run, when the table's columns cannot be read.
bool consultaDoPlano(Contexto& ctx, const QString& tabela, const QString& ordem, QString& sql, bool& comTipo)
{
    db::Erro e;
    const QStringList cols = colunas(*ctx.g.gConn, tabela, e);
    if (!e.ok())
        return ctx.falhar(textoErro(e));
    sql.clear();
    comTipo = cols.contains(QLatin1String("tipoconta"));
    if (cols.contains(QLatin1String("codconta")))
        sql = (comTipo ? QStringLiteral("SELECT Codconta, TipoConta FROM %1") : QStringLiteral("SELECT Codconta FROM %1"))
                  .arg(tabela)
              + ordem;
    return true;
}

} // namespace

bool Consultas::carregarPlano(const QString& base, Tabela<Conta>& plano)
{
    if (plano.carregada)
        return true;
    const QString tabela = nomeTabela(base);
    QString sql;
    bool comTipo = false;
    if (!consultaDoPlano(m_c, tabela, QString(), sql, comTipo))
        return false;
    if (!sql.isEmpty()) {
        const bool ok = lerTabela(
            m_c, sql,
            [&](LinhaTabela& l) {
                Conta& c = plano.marcar(semBrancosFinais(l.bytes(0)));
                const QByteArrayView tipo = comTipo ? l.bytes(1) : QByteArrayView();
                if (tipo.size() == 1 && maiuscula(tipo[0]) == 'A')
                    c.analitica = true;
                else
                    c.outra = true;
            },
            tabela, [&](qint64 n) { plano.reservar(n); });
        if (!ok)
            return false;
    }
    plano.carregada = true;
    return true;
}

bool Consultas::prepararTotalizadoras()
{
    if (m_totalizadoras.carregada)
        return true;
    if (!carregarTotalizadoras())
        return false;
    // Most records of the file are stored: room for them all.
    m_totalizadoras.reservar(std::max<qint64>(m_c.maximoBarra, 0));
    return true;
}

bool Consultas::carregarTotalizadoras()
{
    if (m_totalizadoras.carregada)
        return true;
    const QString tabela = nomeTabela(TabPlanoGeral);
    QString sql;
    bool comTipo = false;
    if (!consultaDoPlano(m_c, tabela, QStringLiteral(" ORDER BY rowid"), sql, comTipo))
        return false;
    if (!sql.isEmpty()) {
        const bool ok = lerTabela(
            m_c, sql,
            [&](LinhaTabela& l) {
                bool nova = false;
                char& t = m_totalizadoras.marcar(semBrancosFinais(l.bytes(0)), &nova);
                if (!nova)
                    return;   // the first stored row answers
                // Only "S" and "A" matter: a type of another letter or length
                // (upper-cased or not) is just neither.
                const QByteArrayView tipo = comTipo ? l.bytes(1) : QByteArrayView();
                t = tipo.size() == 1 ? maiuscula(tipo[0]) : '\0';
            },
            tabela, [&](qint64 n) { m_totalizadoras.reservar(n); });
        if (!ok)
            return false;
    }
    m_totalizadoras.carregada = true;
    return true;
}

bool Consultas::carregarCodigos(const QString& base, const QString& coluna, Tabela<char>& tabela)
{
    if (tabela.carregada)
        return true;
    Geral& g = m_c.g;
    const QString nome = nomeTabela(base);
    db::Erro e;
    const QStringList cols = colunas(*g.gConn, nome, e);
    if (!e.ok())
        return m_c.falhar(textoErro(e));
    if (cols.contains(coluna.toLower())) {
        const bool ok = lerTabela(m_c, QStringLiteral("SELECT %1 FROM %2").arg(coluna, nome), [&](LinhaTabela& l) {
            tabela.marcar(semBrancosFinais(l.bytes(0)));
        });
        if (!ok)
            return false;
    }
    tabela.carregada = true;
    return true;
}

Consultas::~Consultas()
{
    sqlite3_finalize(m_juiz);
    sqlite3_finalize(m_juizExato);
}

bool Consultas::registrarGravado(int tipoArquivo, QByteArrayView data, QByteArrayView codigo, qint64 rowid,
                                 QByteArrayView tipoConta)
{
    if (tipoArquivo == 8 || tipoArquivo == 9)
        return contarGravado(cortar(data, 3, 6), codigo, rowid);
    if (tipoArquivo < 1 || tipoArquivo > 5)
        return true;
    if (!contarGravado(data, codigo, rowid))
        return false;
    const QByteArrayView k = semBrancosFinais(codigo);
    const char tipo = tipoConta.size() == 1 ? maiuscula(tipoConta[0]) : '\0';
    auto marcar = [&](Tabela<Conta>& plano) {
        Conta& c = plano.marcar(k);
        if (tipo == 'A')
            c.analitica = true;
        else
            c.outra = true;
    };
    switch (tipoArquivo) {
    case 1:
        if (m_planoGeral.carregada)
            marcar(m_planoGeral);
        if (m_totalizadoras.carregada) {
            bool nova = false;
            char& t = m_totalizadoras.marcar(semBrancosFinais(codigo), &nova);
            if (nova)
                t = tipo;
        }
        break;
    case 2:
        if (m_planoAux.carregada)
            marcar(m_planoAux);
        break;
    case 3:
        if (m_custo.carregada)
            m_custo.marcar(k);
        break;
    case 4:
        if (m_despesa.carregada)
            m_despesa.marcar(k);
        break;
    case 5:
        if (m_hist.carregada)
            m_hist.marcar(k);
        break;
    default:
        break;
    }
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
    const char* tipo = nullptr;
    if (!c.consultas().totalizadora(conta, tipo))
        return false;
    achou = tipo != nullptr;
    if (achou) {
        const char exigido = c.g.gTipoArquivo == 1 ? 'S' : 'A';
        tipoErrado = *tipo != exigido;
    }
    return true;
}

namespace {
bool verificaCodigo(Contexto& c, int tipo, bool& achou, QByteArrayView codigo)
{
    return c.consultas().codigo(tipo, codigo, achou);
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
