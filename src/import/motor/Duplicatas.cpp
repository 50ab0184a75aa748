// The duplicate test of the file in hand: the fingerprints of the rows
// stored during the run, and the stored rows read by rowid to judge a shared
// fingerprint (Consultas' members for the duplicate counts).
#include "Consultas.h"

#include "Gravadores.h"
#include "Tabelas.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace motor {

namespace {

// The duplicate-count key: date \0 code without its trailing blanks.
QByteArrayView montarChave(QByteArray& buf, QByteArrayView data, QByteArrayView codigo)
{
    const QByteArrayView c = semBrancosFinais(codigo);
    buf.resize(data.size() + 1 + c.size());
    char* p = buf.data();
    if (!data.isEmpty())
        std::memcpy(p, data.data(), static_cast<size_t>(data.size()));
    p[data.size()] = '\0';
    if (!c.isEmpty())
        std::memcpy(p + data.size() + 1, c.data(), static_cast<size_t>(c.size()));
    return QByteArrayView(buf);
}

} // namespace

QByteArrayView Consultas::chaveEmUso(QByteArrayView data, QByteArrayView codigo)
{
    return montarChave(m_chave, data, codigo);
}

void Consultas::anteciparGravado(int tipoArquivo, QByteArrayView data, QByteArrayView codigo)
{
    if (tipoArquivo == 8 || tipoArquivo == 9)
        data = cortar(data, 3, 6);
    m_dup.antecipar(montarChave(m_chaveAdiante, data, codigo));
}

bool Consultas::mesmaChave(qint64 rowid, QByteArrayView data, QByteArrayView codigo, bool exata, bool& mesma)
{
    mesma = false;
    Geral& g = m_c.g;
    const int tipo = g.gTipoArquivo;
    sqlite3* h = g.gConn ? g.gConn->handle() : nullptr;
    if (!h)
        return m_c.falhar(textoErro(db::ErroBanco, db::TextoNaoAberto));
    sqlite3_stmt*& s = exata ? m_juizExato : m_juiz;
    if (!s) {
        QString coluna;
        switch (tipo) {
        case 1:
        case 2:
        case 8:
        case 9: coluna = QStringLiteral("Codconta"); break;
        case 3: coluna = QStringLiteral("CodCusto"); break;
        case 4: coluna = QStringLiteral("CodDespesa"); break;
        case 5: coluna = QStringLiteral("CodhIstPad"); break;
        default: return true;
        }
        QString condicao;
        if (exata)   // the balances' unique key
            condicao = QStringLiteral("DataSaldoIni = ?2 AND Codconta = ?3");
        else   // the duplicate test: codes compare with trailing blanks ignored
            condicao = (tipo >= 8 ? QStringLiteral("substr(DataSaldoIni, 3, 6) = ?2") : QStringLiteral("Dataatualiz = ?2"))
                + QStringLiteral(" AND rtrim(%1, ' ') = ?3").arg(coluna);
        const QByteArray sql =
            QStringLiteral("SELECT 1 FROM %1 WHERE rowid = ?1 AND %2").arg(nomeTabelaTipo(tipo), condicao).toUtf8();
        if (sqlite3_prepare_v2(h, sql.constData(), static_cast<int>(sql.size()), &s, nullptr) != SQLITE_OK) {
            const db::Erro e = erroSqlite(h, sqlite3_extended_errcode(h));
            sqlite3_finalize(s);
            s = nullptr;
            return m_c.falhar(textoErro(e));
        }
    }
    const QByteArray d = texto(data).toUtf8();
    const QByteArray k = texto(exata ? codigo : semBrancosFinais(codigo)).toUtf8();
    sqlite3_bind_int64(s, 1, rowid);
    sqlite3_bind_text(s, 2, d.constData(), static_cast<int>(d.size()), SQLITE_STATIC);
    sqlite3_bind_text(s, 3, k.constData(), static_cast<int>(k.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(s);
    const db::Erro e = rc == SQLITE_ROW || rc == SQLITE_DONE ? db::Erro{} : erroSqlite(h, sqlite3_extended_errcode(h));
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    if (!e.ok())
        return m_c.falhar(textoErro(e));
    mesma = rc == SQLITE_ROW;
    return true;
}

bool Consultas::saldoGravado(QByteArrayView data, QByteArrayView conta, bool& gravado)
{
    gravado = false;
    // A row with the same key has the same month and account: it is among
    // the rows the duplicate test's fingerprints hold.
    bool ok = true;
    m_dup.candidatas(chaveEmUso(cortar(data, 3, 6), conta), [&](qint64 rowid) {
        ok = mesmaChave(rowid, data, conta, true, gravado);
        return ok && !gravado;
    });
    return ok;
}

bool Consultas::importadosAlemDe(QByteArrayView data, QByteArrayView codigo, qint64 limite, bool& acima)
{
    acima = false;
    // A file without a repeated fingerprint (the usual clean file) answers
    // every key without a probe.
    if (m_dup.maiorRepeticao() <= limite)
        return true;
    // The rows that share the key's fingerprint decide, each read by its rowid.
    qint64 iguais = 0;
    bool ok = true;
    m_dup.candidatas(chaveEmUso(data, codigo), [&](qint64 rowid) {
        bool mesma = false;
        ok = mesmaChave(rowid, data, codigo, false, mesma);
        if (ok && mesma)
            ++iguais;
        return ok && iguais <= limite;
    });
    if (!ok)
        return false;
    acima = iguais > limite;
    return true;
}

void Consultas::reservarGravados(qint64 n)
{
    m_dup.reservar(static_cast<qsizetype>(std::clamp<qint64>(n, 1, qint64(1) << 27)));
}

bool Consultas::contarGravado(QByteArrayView data, QByteArrayView codigo, qint64 rowid)
{
    // Most records of a file are stored: room for as many keys as the file
    // has records, so the table is not copied while it grows.
    if (!m_dup.reservada())
        m_dup.reservar(static_cast<qsizetype>(std::min<qint64>(m_c.maximoBarra, qint64(1) << 27)));
    if (!m_dup.inserir(chaveEmUso(data, codigo), rowid))
        return m_c.falhar(textoErroEstouro());
    return true;
}

bool Verifica_Importados(Contexto& c, bool& achou, QByteArrayView data, QByteArrayView codigo)
{
    return haImportadosAlemDe(c, achou, data, codigo, 0);
}

bool haImportadosAlemDe(Contexto& c, bool& acima, QByteArrayView data, QByteArrayView codigo, qint64 limite)
{
    acima = false;
    const int tipo = c.g.gTipoArquivo;
    if (tipo == 6 || tipo == 7 || tipo < 1 || tipo > 9)
        return true;
    return c.consultas().importadosAlemDe(data, codigo, limite, acima);
}

} // namespace motor
