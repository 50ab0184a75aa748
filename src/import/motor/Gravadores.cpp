#include "Gravadores.h"

#include "Consultas.h"
#include "Tabelas.h"

#include "platform/Cp1252.h"

#include <QSqlError>

#include <sqlite3.h>

namespace motor {

namespace {

// Records per commit of the batch. Every commit costs a journal and several
// syncs, so it is large; a batch of balance rows is still only ~20 MB to sync.
constexpr qint64 RegistrosPorLote = 100000;

bool soAscii(QByteArrayView b)
{
    unsigned char acc = 0;
    for (char ch : b)
        acc |= static_cast<unsigned char>(ch);
    return acc < 0x80;
}

// Windows-1252 bytes as UTF-8, ASCII copied as is.
void paraUtf8(QByteArrayView b, std::string& out)
{
    out.clear();
    out.reserve(b.size() * 2);
    for (char ch : b) {
        const auto u = static_cast<unsigned char>(ch);
        if (u < 0x80) {
            out.push_back(ch);
        } else {
            out += cp1252::decodificar(QByteArrayView(&ch, 1)).toStdString();
        }
    }
}

} // namespace

db::Erro erroSqlite(sqlite3* h, int rc)
{
    const QString msg = h ? QString::fromUtf8(sqlite3_errmsg(h)) : db::TextoNaoAberto;
    return db::mapearErro(QSqlError(QString(), msg, QSqlError::StatementError, QString::number(rc)));
}

Gravador::~Gravador()
{
    liberar();
}

void Gravador::liberar()
{
    for (sqlite3_stmt* s : std::as_const(m_stmts))
        sqlite3_finalize(s);
    m_stmts.clear();
    m_ultimo = nullptr;
    m_ultimoSql.clear();
}

bool Gravador::inserir(const QString& sql, std::initializer_list<Valor> valores, const QString& procedimento)
{
    Geral& g = m_c.g;
    sqlite3* h = g.gConn ? g.gConn->handle() : nullptr;
    if (!h)
        return m_c.falhar(textoErro(db::ErroBanco, db::TextoNaoAberto, procedimento));
    if (!m_c.abrirLote())
        return m_c.falhar(g.gMsg + QStringLiteral(" (") + procedimento + u')');
    // The same text as the last call (the usual case: one writer per run)
    // skips hashing it.
    sqlite3_stmt* s = nullptr;
    if (m_ultimo && sql.size() == m_ultimoSql.size() && sql.constData() == m_ultimoSql.constData())
        s = m_ultimo;
    else
        s = m_stmts.value(sql, nullptr);
    if (!s) {
        const QByteArray texto = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(h, texto.constData(), static_cast<int>(texto.size()), &s, nullptr);
        if (rc != SQLITE_OK) {
            const db::Erro e = erroSqlite(h, rc);
            sqlite3_finalize(s);
            m_c.confirmarLote();
            return m_c.falhar(textoErro(e, procedimento));
        }
        m_stmts.insert(sql, s);
    }
    if (s != m_ultimo || sql.constData() != m_ultimoSql.constData()) {
        m_ultimo = s;
        m_ultimoSql = sql;
    }
    int i = 1;
    for (const Valor& v : valores) {
        switch (v.tipo) {
        case Valor::Tipo::Nulo:
            sqlite3_bind_null(s, i);
            break;
        case Valor::Tipo::Inteiro:
            sqlite3_bind_int64(s, i, v.inteiro);
            break;
        case Valor::Tipo::Texto: {
            const QByteArray u = v.texto.toUtf8();
            sqlite3_bind_text(s, i, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
            break;
        }
        case Valor::Tipo::Bytes:
            if (soAscii(v.bytes)) {
                if (v.maiusculas) {
                    m_buf.resize(static_cast<size_t>(v.bytes.size()));
                    for (qsizetype k = 0; k < v.bytes.size(); ++k)
                        m_buf[static_cast<size_t>(k)] = maiuscula(v.bytes[k]);
                    sqlite3_bind_text(s, i, m_buf.data(), static_cast<int>(m_buf.size()), SQLITE_TRANSIENT);
                } else {
                    // ASCII is its own UTF-8; the bytes outlive the step
                    // (the bindings are cleared right after it).
                    sqlite3_bind_text(s, i, v.bytes.isNull() ? "" : v.bytes.data(), static_cast<int>(v.bytes.size()),
                                      SQLITE_STATIC);
                }
                break;
            }
            if (v.maiusculas)
                m_buf = cp1252::decodificar(v.bytes).toUpper().toStdString();
            else
                paraUtf8(v.bytes, m_buf);
            sqlite3_bind_text(s, i, m_buf.data(), static_cast<int>(m_buf.size()), SQLITE_TRANSIENT);
            break;
        }
        ++i;
    }
    const int rc = sqlite3_step(s);
    const int estendido = rc == SQLITE_DONE ? SQLITE_OK : sqlite3_extended_errcode(h);
    db::Erro e;
    if (rc != SQLITE_DONE)
        e = erroSqlite(h, estendido);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    if (rc == SQLITE_DONE) {
        m_ultimaLinha = sqlite3_last_insert_rowid(h);
        if (++m_noLote >= RegistrosPorLote) {
            m_noLote = 0;
            if (!m_c.confirmarLote())
                return m_c.falhar(g.gMsg + QStringLiteral(" (") + procedimento + u')');
        }
        return true;
    }
    // Keep what was stored before this row (SQLite may have ended the
    // transaction itself on errors such as a full disk).
    if (sqlite3_get_autocommit(h))
        g.gConn->desfazer();
    m_c.confirmarLote();
    return m_c.falhar(textoErro(e, procedimento));
}

QString colunasDeclaracao()
{
    return QStringLiteral("Inarquivo,cnpj,periodoinicial,periodofinal");
}

namespace {

QString insercao(int tipo, const QString& colunas)
{
    const QString base = baseTabela(tipo);
    const int n = static_cast<int>(colunas.count(u',')) + 1;
    QString marcas = QStringLiteral("?");
    for (int i = 1; i < n; ++i)
        marcas += QStringLiteral(",?");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(nomeTabela(base), colunas, marcas);
}

QString semTabela(const QString& procedimento)
{
    return textoErro(db::ErroGeral, QStringLiteral("Tipo de arquivo sem tabela para gravação."), procedimento);
}


} // namespace

const InsercoesDeclaracao& insercoes(const Geral& g)
{
    static InsercoesDeclaracao s;
    static qint16 in = 0;
    static QString cnpj, cnpjNumeros;
    static QDate inicio, fim;
    if (in != g.gIN || cnpj != g.gCNPJ || cnpjNumeros != g.gCNPJNumeros || inicio != g.gPeriodoInicial
        || fim != g.gPeriodoFinal || s.sql68[1].isEmpty()) {
        in = g.gIN;
        cnpj = g.gCNPJ;
        cnpjNumeros = g.gCNPJNumeros;
        inicio = g.gPeriodoInicial;
        fim = g.gPeriodoFinal;
        s.textoCnpj = cp1252::codificar(g.gCNPJ);
        s.textoInicio = cp1252::codificar(dataDdmmaaaa(g.gPeriodoInicial));
        s.textoFim = cp1252::codificar(dataDdmmaaaa(g.gPeriodoFinal));
        const QString decl = colunasDeclaracao();
        s.sql68[1] = insercao(1, decl + QStringLiteral(",vinculado,DataAtualiz,Codtab,Codconta,DescConta"));
        s.sql68[2] = insercao(2, decl + QStringLiteral(",DataAtualiz,Codtab,Codconta,DescConta"));
        s.sql68[3] = insercao(3, decl + QStringLiteral(",DataAtualiz,Codtab,Codcusto,Desccusto"));
        s.sql68[4] = insercao(4, decl + QStringLiteral(",DataAtualiz,Codtab,CodDespesa,Descdesp"));
        s.sql68[5] = insercao(5, decl + QStringLiteral(",DataAtualiz,Codtab,Codhistpad,Deschistpad"));
        s.sql86[1] = insercao(1, decl + QStringLiteral(",vinculado,DataAtualiz,codconta,tipoConta,CodcontaTot,DescConta"));
        s.sql86[2] = insercao(2, decl + QStringLiteral(",DataAtualiz,codconta,tipoConta,CodcontaTot,DescConta"));
        s.sql86[3] = insercao(3, decl + QStringLiteral(",DataAtualiz,CodCusto,Desccusto"));
        for (int tipo : {8, 9})
            s.sqlSaldos[tipo] = insercao(tipo, decl + QStringLiteral(",datasaldoIni,Codconta,ValorSaldoIni,IndDCSaldoIni,"
                                                                     "ValorDebitos,ValorCreditos,ValorSaldoFin,IndDCSaldoFin"));
    }
    return s;
}

bool fun_Grava68TabelasCodigo(Contexto& c, QByteArrayView data, QByteArrayView codTab, QByteArrayView codigo,
                              QByteArrayView descricao)
{
    static const QString proc = QStringLiteral("fun_Grava68TabelasCodigo");
    const Geral& g = c.g;
    const int tipo = g.gTipoArquivo;
    const InsercoesDeclaracao& s = insercoes(g);
    const QByteArrayView cnpj(s.textoCnpj);
    const QByteArrayView inicio(s.textoInicio);
    const QByteArrayView fim(s.textoFim);
    const qint64 in = g.gIN;
    bool ok = false;
    switch (tipo) {
    case 1:
        ok = c.gravador().inserir(s.sql68[1],
                                  {in, cnpj, inicio, fim, 0, data, codTab, codigo, descricao}, proc);
        break;
    case 2:
    case 3:
    case 4:
    case 5:
        // The auxiliary chart and the code tables have the same columns.
        ok = c.gravador().inserir(s.sql68[tipo],
                                  {in, cnpj, inicio, fim, data, codTab, codigo, descricao}, proc);
        break;
    default:
        return c.falhar(semTabela(proc));
    }
    return ok && c.consultas().registrarGravado(tipo, data, codigo, c.gravador().ultimaLinha());
}

bool fun_Grava86TabelasCodigo(Contexto& c, QByteArrayView data, QByteArrayView codigo, QByteArrayView tipoConta,
                              QByteArrayView totalizadora, QByteArrayView descricao)
{
    static const QString proc = QStringLiteral("fun_Grava86TabelasCodigo");
    const Geral& g = c.g;
    const int tipo = g.gTipoArquivo;
    const InsercoesDeclaracao& s = insercoes(g);
    const QByteArrayView cnpj(s.textoCnpj);
    const QByteArrayView inicio(s.textoInicio);
    const QByteArrayView fim(s.textoFim);
    const qint64 in = g.gIN;
    bool ok = false;
    switch (tipo) {
    case 1:
        ok = c.gravador().inserir(
            s.sql86[1],
            {in, cnpj, inicio, fim, 0, data, codigo, Valor::maiusculo(tipoConta), totalizadora, descricao}, proc);
        break;
    case 2:
        ok = c.gravador().inserir(
            s.sql86[2],
            {in, cnpj, inicio, fim, data, codigo, Valor::maiusculo(tipoConta), totalizadora, descricao}, proc);
        break;
    case 3:
        ok = c.gravador().inserir(s.sql86[3],
                                  {in, cnpj, inicio, fim, data, codigo, descricao}, proc);
        break;
    default:
        return c.falhar(semTabela(proc));
    }
    return ok && c.consultas().registrarGravado(tipo, data, codigo, c.gravador().ultimaLinha(), tipoConta);
}

} // namespace motor
