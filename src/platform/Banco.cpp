#include "Banco.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QUrl>

#include <sqlite3.h>

namespace db {

namespace {
QAtomicInt contador;

Erro erroDe(double numero, const QString& texto)
{
    return Erro{numero, texto};
}

void definir(Erro* destino, const Erro& e)
{
    if (destino)
        *destino = e;
}
} // namespace

namespace {

Erro mapearCodigo(int codigo, const QString& texto)
{
    const int primario = codigo & 0xff;
    if (texto.contains(QLatin1String("no such table"), Qt::CaseInsensitive))
        return erroDe(ErroSemTabela, texto);
    if (primario == SQLITE_CONSTRAINT || texto.contains(QLatin1String("UNIQUE constraint"), Qt::CaseInsensitive))
        return erroDe(ErroBanco, texto);
    if (primario == SQLITE_CANTOPEN || primario == SQLITE_NOTADB || primario == SQLITE_CORRUPT)
        return erroDe(ErroBanco, texto);
    if (primario == SQLITE_BUSY || primario == SQLITE_LOCKED || primario == SQLITE_PERM
        || primario == SQLITE_READONLY)
        return erroDe(ErroEmUso, texto);
    return erroDe(ErroGeral, texto.isEmpty() ? QStringLiteral("Erro de banco de dados.") : texto);
}

} // namespace

Erro mapearErro(const QSqlError& e)
{
    return mapearCodigo(e.nativeErrorCode().toInt(), e.databaseText().isEmpty() ? e.text() : e.databaseText());
}

// A failed BEGIN or COMMIT: the driver reports it without SQLite's code
// (a busy database must still read as a file in use), so it is taken from
// the connection.
Erro Conexao::erroDaTransacao() const
{
    const QSqlError e = m_db.lastError();
    sqlite3* h = handle();
    if (!e.nativeErrorCode().isEmpty() || !h)
        return mapearErro(e);
    return mapearCodigo(sqlite3_extended_errcode(h), e.databaseText().isEmpty() ? e.text() : e.databaseText());
}

Conexao::Conexao()
    : m_nome(QStringLiteral("tobri_%1").arg(contador.fetchAndAddRelaxed(1)))
{
}

Conexao::~Conexao()
{
    fechar();
}

bool Conexao::abrir(const QString& caminho, Erro* erro)
{
    return abrirInterno(caminho, true, erro);
}

bool Conexao::criar(const QString& caminho, Erro* erro)
{
    return abrirInterno(caminho, false, erro);
}

bool Conexao::abrirInterno(const QString& caminho, bool soExistente, Erro* erro)
{
    fechar();
    QFileInfo fi(caminho);
    if (soExistente && !fi.isFile()) {
        definir(erro, erroDe(ErroBanco, QStringLiteral("Arquivo não encontrado: %1").arg(caminho)));
        return false;
    }
    // SQLite takes an empty file for an empty database; an existing
    // database is never empty, so it is damaged (a run would only fail
    // later with "no such table").
    if (soExistente && fi.size() == 0) {
        definir(erro, erroDe(ErroBanco, QStringLiteral("file is not a database")));
        return false;
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
    // A URI with mode=rw refuses to create a missing file.
    QUrl url = QUrl::fromLocalFile(fi.absoluteFilePath());
    url.setQuery(soExistente ? QStringLiteral("mode=rw") : QStringLiteral("mode=rwc"));
    m_db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    if (!m_db.open()) {
        Erro e = mapearErro(m_db.lastError());
        if (e.numero == ErroGeral)
            e.numero = ErroBanco;
        definir(erro, e);
        fechar();
        return false;
    }
    m_caminho = fi.absoluteFilePath();
    // Touch the schema so a file that is not a database fails here.
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        Erro e = mapearErro(q.lastError());
        e.numero = e.numero == ErroEmUso ? ErroEmUso : ErroBanco;
        definir(erro, e);
        q = QSqlQuery();
        fechar();
        return false;
    }
    q.finish();
    executar(QStringLiteral("PRAGMA foreign_keys=OFF"));
    return true;
}

void Conexao::fechar()
{
    if (!m_db.isValid())
        return;
    if (m_db.isOpen()) {
        if (m_emTransacao)
            m_db.rollback();
        m_db.close();
    }
    m_emTransacao = false;
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_nome);
    m_caminho.clear();
}

bool Conexao::aberta() const
{
    return m_db.isValid() && m_db.isOpen();
}

sqlite3* Conexao::handle() const
{
    if (!aberta())
        return nullptr;
    QVariant v = m_db.driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3* const*>(v.constData());
    return nullptr;
}

bool Conexao::executar(const QString& sql, const QVariantList& params, Erro* erro, int* afetadas)
{
    if (!aberta()) {
        definir(erro, erroDe(ErroBanco, TextoNaoAberto));
        return false;
    }
    QSqlQuery q(m_db);
    if (!q.prepare(sql)) {
        definir(erro, mapearErro(q.lastError()));
        return false;
    }
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params.at(i));
    if (!q.exec()) {
        definir(erro, mapearErro(q.lastError()));
        return false;
    }
    if (afetadas)
        *afetadas = q.numRowsAffected();
    return true;
}

bool Conexao::executarScript(const QString& sql, Erro* erro)
{
    sqlite3* h = handle();
    if (!h) {
        definir(erro, erroDe(ErroBanco, TextoNaoAberto));
        return false;
    }
    char* msg = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_exec(h, utf8.constData(), nullptr, nullptr, &msg);
    if (rc != SQLITE_OK) {
        QSqlError e(QString(), QString::fromUtf8(msg ? msg : "erro"), QSqlError::StatementError,
                    QString::number(rc));
        sqlite3_free(msg);
        definir(erro, mapearErro(e));
        return false;
    }
    return true;
}

QVariant Conexao::escalar(const QString& sql, const QVariantList& params, Erro* erro)
{
    if (!aberta()) {
        definir(erro, erroDe(ErroBanco, TextoNaoAberto));
        return {};
    }
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        definir(erro, mapearErro(q.lastError()));
        return {};
    }
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params.at(i));
    if (!q.exec()) {
        definir(erro, mapearErro(q.lastError()));
        return {};
    }
    if (q.next())
        return q.value(0);
    fimDasLinhas(q, erro);
    return {};
}

bool Conexao::tabelaExiste(const QString& tabela, bool& existe, Erro* erro)
{
    existe = false;
    Erro e;
    const QVariant v = escalar(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"),
        {tabela}, &e);
    if (!e.ok() || !v.isValid()) {
        definir(erro, e.ok() ? erroDe(ErroGeral, QStringLiteral("Erro de banco de dados.")) : e);
        return false;
    }
    existe = v.toInt() > 0;
    return true;
}

bool Conexao::iniciarTransacao(Erro* erro)
{
    if (!aberta()) {
        definir(erro, erroDe(ErroBanco, TextoNaoAberto));
        return false;
    }
    if (!m_db.transaction()) {
        definir(erro, erroDaTransacao());
        return false;
    }
    m_emTransacao = true;
    return true;
}

bool Conexao::confirmar(Erro* erro)
{
    if (!m_emTransacao)
        return true;
    if (!m_db.commit()) {
        definir(erro, erroDaTransacao());
        return false;
    }
    m_emTransacao = false;
    return true;
}

bool Conexao::desfazer()
{
    if (!m_emTransacao)
        return true;
    m_emTransacao = false;
    return m_db.rollback();
}

Consulta::Consulta(Conexao& c)
    : m_q(c.banco())
{
    m_q.setForwardOnly(true);
}

bool Consulta::preparar(const QString& sql, Erro* erro)
{
    if (!m_q.prepare(sql)) {
        definir(erro, mapearErro(m_q.lastError()));
        return false;
    }
    return true;
}

Consulta& Consulta::bind(int i, const QVariant& v)
{
    m_q.bindValue(i, v);
    return *this;
}

bool Consulta::executar(const QVariantList& params, Erro* erro)
{
    for (int i = 0; i < params.size(); ++i)
        m_q.bindValue(i, params.at(i));
    return executar(erro);
}

bool Consulta::executar(Erro* erro)
{
    if (!m_q.exec()) {
        definir(erro, mapearErro(m_q.lastError()));
        return false;
    }
    return true;
}

bool Consulta::proximo()
{
    if (m_q.next()) {
        m_falhou = false;
        return true;
    }
    m_falhou = m_q.lastError().isValid() && m_q.lastError().type() != QSqlError::NoError;
    return false;
}

Erro Consulta::erro() const
{
    return m_falhou ? mapearErro(m_q.lastError()) : Erro{};
}

bool fimDasLinhas(const QSqlQuery& q, Erro* erro)
{
    const QSqlError e = q.lastError();
    if (e.isValid() && e.type() != QSqlError::NoError) {
        definir(erro, mapearErro(e));
        return false;
    }
    return true;
}

bool preencherModelo(QSqlQueryModel& modelo, QSqlQuery q, const QVariantList& params, const QStringList& titulos,
                     Erro* erro)
{
    bool ok = true;
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params.at(i));
    if (q.exec()) {
        modelo.setQuery(std::move(q));
        while (modelo.canFetchMore())
            modelo.fetchMore();
        // A read failure ends the fetching as the last row would; the
        // query's own error tells them apart.
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
        const QSqlError falha = modelo.query(Qt::Disambiguated).lastError();
#else
        const QSqlError falha = modelo.query().lastError();
#endif
        if (falha.isValid()) {
            definir(erro, mapearErro(falha));
            ok = false;
        }
    } else {
        definir(erro, mapearErro(q.lastError()));
        ok = false;
    }
    for (int i = 0; i < titulos.size(); ++i)
        modelo.setHeaderData(i, Qt::Horizontal, titulos.at(i));
    return ok;
}

ModeloSobDemanda::ModeloSobDemanda(QObject* parent)
    : QSqlQueryModel(parent)
{
}

ModeloSobDemanda::~ModeloSobDemanda()
{
    fechar();
}

bool ModeloSobDemanda::abrir(const QString& caminho, const QString& sql, const QVariantList& params,
                             const QStringList& titulos, Erro* erro)
{
    fechar();
    auto conexao = std::make_unique<Conexao>();
    bool ok = conexao->abrir(caminho, erro);
    if (ok) {
        QSqlQuery q(conexao->banco());
        ok = q.prepare(sql);
        for (int i = 0; ok && i < params.size(); ++i)
            q.bindValue(i, params.at(i));
        ok = ok && q.exec();
        if (ok) {
            m_conexao = std::move(conexao);
            setQuery(std::move(q));
            ok = verificarLeitura(erro);
        } else {
            definir(erro, mapearErro(q.lastError()));
        }
    }
    if (!ok) {
        fechar();
        return false;
    }
    for (int i = 0; i < titulos.size(); ++i)
        setHeaderData(i, Qt::Horizontal, titulos.at(i));
    return true;
}

void ModeloSobDemanda::fechar()
{
    // The statement is finalized before its connection goes (clear() would
    // keep a result of the connection's driver).
    setQuery(QSqlQuery());
    if (m_conexao)
        m_conexao->fechar();
    m_conexao.reset();
    m_falhou = false;
}

void ModeloSobDemanda::fetchMore(const QModelIndex& parent)
{
    QSqlQueryModel::fetchMore(parent);
    Erro e;
    if (!verificarLeitura(&e) && m_aoFalhar)
        m_aoFalhar(e);
}

bool ModeloSobDemanda::verificarLeitura(Erro* erro)
{
    // A failure is told once; the model then holds the rows read before it.
    if (m_falhou)
        return true;
    const QSqlError e = lastError().isValid() && lastError().type() != QSqlError::NoError ? lastError()
                                                                                           : query().lastError();
    if (!e.isValid() || e.type() == QSqlError::NoError)
        return true;
    m_falhou = true;
    definir(erro, mapearErro(e));
    return false;
}

Transacao::Transacao(Conexao& c, Erro* erro)
    : m_c(c)
{
    m_ativa = m_c.iniciarTransacao(erro);
}

Transacao::~Transacao()
{
    if (m_ativa)
        m_c.desfazer();
}

bool Transacao::confirmar(Erro* erro)
{
    if (!m_ativa)
        return false;
    const bool ok = m_c.confirmar(erro);
    if (ok)
        m_ativa = false;
    return ok;
}

void Transacao::desfazer()
{
    if (m_ativa) {
        m_c.desfazer();
        m_ativa = false;
    }
}

} // namespace db
