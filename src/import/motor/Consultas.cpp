#include "Consultas.h"

#include "Gravadores.h"
#include "Tabelas.h"

#include "platform/Cp1252.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

namespace motor {

namespace {

quint32 hashChave(QByteArrayView chave)
{
    const quint64 h = std::hash<std::string_view>{}(std::string_view(chave.data(), static_cast<size_t>(chave.size())));
    return static_cast<quint32>(h ^ (h >> 32));
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
    db::fimDasLinhas(q, &e);
    return r;
}

} // namespace

void pedirPaginasGrandes(void* inicio, size_t bytes)
{
#ifdef MADV_HUGEPAGE
    madvise(inicio, bytes, MADV_HUGEPAGE);   // only advice: refused, the table works as is
#else
    (void)inicio;
    (void)bytes;
#endif
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

namespace {

// Moves the used slots of an open-addressing table into `lugares` slots (a
// power of 2); a slot's home is its value shifted right by `deslocamento`.
void redistribuirLugares(Lugares& atual, size_t lugares, int deslocamento)
{
    Lugares novos(lugares, 0);
    const size_t mascara = lugares - 1;
    for (const quint64 s : atual) {
        if (s == 0)
            continue;
        size_t i = static_cast<size_t>(s >> deslocamento) & mascara;
        while (novos[i] != 0)
            i = (i + 1) & mascara;
        novos[i] = s;
    }
    atual.swap(novos);
}

} // namespace

void IndiceChaves::antecipar(QByteArrayView chave, int etapa) const
{
    if (m_chaves.empty())
        return;
    const quint32 hash = hashChave(chave);
    const size_t mascara = m_lugares.size() - 1;
    size_t i = hash & mascara;
    if (etapa <= 0) {
        __builtin_prefetch(&m_lugares[i]);
        return;
    }
    // The slots a lookup probes are few and adjacent (the table is at most
    // half full): follow them to the first with the key's hash.
    for (int passos = 0; passos < 8; ++passos, i = (i + 1) & mascara) {
        const quint64 s = m_lugares[i];
        if (s == 0)
            return;
        if (static_cast<quint32>(s >> 32) != hash)
            continue;
        const Chave& c = m_chaves[static_cast<size_t>(s & 0xffffffffu) - 1];
        if (etapa == 1)
            __builtin_prefetch(&c);
        else
            __builtin_prefetch(m_bytes.data() + c.inicio);
        return;
    }
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
    redistribuirLugares(m_lugares, lugares, 32);
}

quint64 ImpressoesChaves::impressao(QByteArrayView chave)
{
    quint64 h = std::hash<std::string_view>{}(std::string_view(chave.data(), static_cast<size_t>(chave.size())));
    // Final mix, so every bit of the key reaches the bits used for the slot.
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h & ~quint64(3);
}

size_t ImpressoesChaves::posicao(quint64 impressao) const
{
    const size_t mascara = m_lugares.size() - 1;
    for (size_t i = static_cast<size_t>(impressao >> 2) & mascara;; i = (i + 1) & mascara) {
        const quint64 s = m_lugares[i];
        if (s == 0 || (s & ~quint64(3)) == impressao)
            return i;
    }
}

void ImpressoesChaves::antecipar(QByteArrayView chave) const
{
    if (m_lugares.empty())
        return;
    const size_t mascara = m_lugares.size() - 1;
    __builtin_prefetch(&m_lugares[static_cast<size_t>(impressao(chave) >> 2) & mascara]);
}

int ImpressoesChaves::contagem(QByteArrayView chave) const
{
    if (m_usados == 0)
        return 0;
    return static_cast<int>(m_lugares[posicao(impressao(chave))] & 3);
}

void ImpressoesChaves::inserir(QByteArrayView chave)
{
    if (4 * (static_cast<size_t>(m_usados) + 1) > 3 * m_lugares.size())
        redistribuir(std::max<size_t>(m_lugares.size() * 2, 1024));
    const quint64 f = impressao(chave);
    quint64& s = m_lugares[posicao(f)];
    if (s == 0) {
        s = f | 1;
        ++m_usados;
    } else if ((s & 3) < 3) {
        ++s;
    }
    m_maior = std::max(m_maior, static_cast<int>(s & 3));
}

void ImpressoesChaves::reservar(qsizetype n)
{
    if (n <= 0)
        return;
    size_t lugares = 1024;
    while (3 * lugares < 4 * static_cast<size_t>(n))
        lugares *= 2;
    if (lugares > m_lugares.size())
        redistribuir(lugares);
}

void ImpressoesChaves::redistribuir(size_t lugares)
{
    redistribuirLugares(m_lugares, lugares, 2);
}

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

void Consultas::anteciparConta(bool geral, QByteArrayView codigo, int etapa) const
{
    const Tabela<Conta>& p = geral ? m_planoGeral : m_planoAux;
    if (p.carregada)
        p.indice.antecipar(semBrancosFinais(codigo), etapa);
}

void Consultas::anteciparGravado(int tipoArquivo, QByteArrayView data, QByteArrayView codigo)
{
    if (tipoArquivo == 8 || tipoArquivo == 9)
        data = cortar(data, 3, 6);
    m_dup.antecipar(montarChave(m_chaveAdiante, data, codigo));
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
        return ctx.falhar(textoErro(db::ErroBanco, QStringLiteral("Banco de dados não está aberto.")));
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

bool Consultas::contarNoBanco(QByteArrayView data, QByteArrayView codigo, qint64& total)
{
    Geral& g = m_c.g;
    const int tipo = g.gTipoArquivo;
    QString coluna, condicaoData;
    switch (tipo) {
    case 1:
    case 2: coluna = QStringLiteral("Codconta"); break;
    case 3: coluna = QStringLiteral("CodCusto"); break;
    case 4: coluna = QStringLiteral("CodDespesa"); break;
    case 5: coluna = QStringLiteral("CodhIstPad"); break;
    case 8:
    case 9: coluna = QStringLiteral("Codconta"); break;
    default: total = 0; return true;
    }
    condicaoData = tipo >= 8 ? QStringLiteral("substr(DataSaldoIni, 3, 6) = ?") : QStringLiteral("Dataatualiz = ?");
    // The balances' dates of that month, day by day, so the primary key
    // (date, account) finds the candidates while the Codconta index is not
    // built yet; only an 8-character date field can be listed so.
    QStringList dias;
    const CampoLeiaute* campoData = m_c.leiaute.campo(1);
    if (tipo >= 8 && campoData && campoData->tamanho == 8 && data.size() == 6) {
        for (int d = 1; d <= 31; ++d)
            dias << QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0')) + texto(data);
        condicaoData += QStringLiteral(" AND DataSaldoIni IN (?") + QStringLiteral(", ?").repeated(30) + u')';
    }
    // Codes compare with trailing blanks ignored; the range lets an index
    // over the code find the candidates.
    const QString k = texto(semBrancosFinais(codigo));
    QSqlQuery q(g.gConn->banco());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 >= ? AND %2 <= ? AND rtrim(%2, ' ') = ? AND %3")
                  .arg(nomeTabelaTipo(tipo), coluna, condicaoData));
    q.addBindValue(k);
    q.addBindValue(k + QString(256, u' '));
    q.addBindValue(k);
    q.addBindValue(texto(data));
    for (const QString& d : std::as_const(dias))
        q.addBindValue(d);
    if (!q.exec())
        return m_c.falhar(textoErro(db::mapearErro(q.lastError())));
    if (!q.next()) {
        db::Erro e;
        return m_c.falhar(textoErro(db::fimDasLinhas(q, &e) ? db::Erro{db::ErroGeral, QStringLiteral("Contagem sem resultado.")} : e));
    }
    total = q.value(0).toLongLong();
    return true;
}

bool Consultas::importadosAlemDe(QByteArrayView data, QByteArrayView codigo, qint64 limite, bool& acima)
{
    acima = false;
    // A file without a repeated fingerprint (the usual clean file) answers
    // every key without a probe.
    if (m_dup.maiorContagem() <= limite || m_dup.contagem(chaveEmUso(data, codigo)) <= limite)
        return true;
    // A real duplicate or a shared fingerprint: the stored rows decide.
    qint64 total = 0;
    if (!contarNoBanco(data, codigo, total))
        return false;
    acima = total > limite;
    return true;
}

void Consultas::reservarGravados(qint64 n)
{
    m_dup.reservar(static_cast<qsizetype>(std::clamp<qint64>(n, 1, qint64(1) << 27)));
}

void Consultas::contarGravado(QByteArrayView data, QByteArrayView codigo)
{
    // Most records of a file are stored: room for as many keys as the file
    // has records, so the table is not copied while it grows.
    if (!m_dup.reservada())
        m_dup.reservar(static_cast<qsizetype>(std::min<qint64>(m_c.maximoBarra, qint64(1) << 27)));
    m_dup.inserir(chaveEmUso(data, codigo));
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
