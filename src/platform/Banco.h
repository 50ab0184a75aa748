#pragma once
// Small SQLite access layer: one connection, bound parameters, transactions,
// and error numbers mapped to the ones callers test.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QSqlQueryModel>
#include <QVariantList>

#include <functional>
#include <memory>

struct sqlite3;

namespace db {

// Error numbers whose meaning callers rely on.
inline constexpr double ErroBanco = -2147467259.0;      // file missing/unreadable, unique key conflict
inline constexpr double ErroSemTabela = -2147217865.0;  // no such table
inline constexpr double ErroEmUso = 70.0;               // file in use, permission denied
inline constexpr double ErroGeral = -2147217900.0;      // any other database error

// The text of a statement or transaction asked of a connection that is not open.
inline const QString TextoNaoAberto = QStringLiteral("Banco de dados não está aberto.");

struct Erro {
    double numero = 0;
    QString descricao;
    bool ok() const { return numero == 0; }
};

// Maps a Qt SQL error to the numbers above.
Erro mapearErro(const QSqlError& e);

class Consulta;

class Conexao {
public:
    Conexao();
    ~Conexao();
    Conexao(const Conexao&) = delete;
    Conexao& operator=(const Conexao&) = delete;

    // Opens an existing database file; never creates one.
    bool abrir(const QString& caminho, Erro* erro = nullptr);
    // Creates (or opens) a file; used only where a new database is meant.
    bool criar(const QString& caminho, Erro* erro = nullptr);
    void fechar();
    bool aberta() const;
    QString caminho() const { return m_caminho; }
    QSqlDatabase& banco() { return m_db; }
    QString nome() const { return m_nome; }
    sqlite3* handle() const;

    // Runs one statement with bound parameters.
    bool executar(const QString& sql, const QVariantList& params = {}, Erro* erro = nullptr,
                  int* afetadas = nullptr);
    // Runs several statements (no parameters), e.g. schema text.
    bool executarScript(const QString& sql, Erro* erro = nullptr);
    // First column of the first row, or an invalid QVariant when there is none.
    QVariant escalar(const QString& sql, const QVariantList& params = {}, Erro* erro = nullptr);
    // Whether the table exists. False when the schema could not be read
    // (a damaged page, I/O), with the database's text in `erro`: a read
    // failure is never taken for an absent table.
    bool tabelaExiste(const QString& tabela, bool& existe, Erro* erro = nullptr);

    bool iniciarTransacao(Erro* erro = nullptr);
    bool confirmar(Erro* erro = nullptr);
    bool desfazer();
    bool emTransacao() const { return m_emTransacao; }

private:
    bool abrirInterno(const QString& caminho, bool soExistente, Erro* erro);
    Erro erroDaTransacao() const;
    QSqlDatabase m_db;
    QString m_nome;
    QString m_caminho;
    bool m_emTransacao = false;
};

// A prepared statement bound to a connection; reuse it in loops.
class Consulta {
public:
    explicit Consulta(Conexao& c);
    bool preparar(const QString& sql, Erro* erro = nullptr);
    Consulta& bind(int i, const QVariant& v);
    bool executar(const QVariantList& params, Erro* erro = nullptr);
    bool executar(Erro* erro = nullptr);
    // Next row. False at the end of the rows and on a read failure (a damaged
    // page, I/O): after a false, falhou() tells the two apart and erro() gives
    // the database's text. Never take a failure for "no more rows".
    bool proximo();
    bool falhou() const { return m_falhou; }
    Erro erro() const;
    QVariant valor(int i) const { return m_q.value(i); }
    QVariant valor(const QString& nome) const { return m_q.value(nome); }
    int afetadas() const { return m_q.numRowsAffected(); }
    QSqlQuery& query() { return m_q; }

private:
    QSqlQuery m_q;
    bool m_falhou = false;
};

// Tells the end of a QSqlQuery's rows from a read failure after next()
// returned false; fills `erro` on a failure.
bool fimDasLinhas(const QSqlQuery& q, Erro* erro = nullptr);

// Fills a read-only grid model: runs the prepared query `q` with `params`,
// reads every row and sets the column captions. False with the error on a
// failure (the model keeps its captions).
bool preencherModelo(QSqlQueryModel& modelo, QSqlQuery q, const QVariantList& params, const QStringList& titulos,
                     Erro* erro = nullptr);

// The lazy variant of preencherModelo, for grids that may hold very many
// rows: a read-only model over a connection of its own to a database file,
// fetching rows as the view scrolls. Its own connection keeps the grid out
// of the way of work on gConn (which may be closed and reopened meanwhile).
class ModeloSobDemanda : public QSqlQueryModel {
public:
    explicit ModeloSobDemanda(QObject* parent = nullptr);
    ~ModeloSobDemanda() override;

    // Opens `caminho`, runs `sql` with `params`, fetches the first rows and
    // sets the column captions. False with the error on a failure.
    bool abrir(const QString& caminho, const QString& sql, const QVariantList& params, const QStringList& titulos,
               Erro* erro = nullptr);
    // Drops the rows and closes the connection.
    void fechar();
    // Called once when a later fetch fails (the rows read so far stay).
    void definirAoFalhar(std::function<void(const Erro&)> f) { m_aoFalhar = std::move(f); }

    void fetchMore(const QModelIndex& parent = QModelIndex()) override;

private:
    bool verificarLeitura(Erro* erro);
    std::unique_ptr<Conexao> m_conexao;
    std::function<void(const Erro&)> m_aoFalhar;
    bool m_falhou = false;
};

// Rolls back unless committed.
class Transacao {
public:
    explicit Transacao(Conexao& c, Erro* erro = nullptr);
    ~Transacao();
    bool ativa() const { return m_ativa; }
    bool confirmar(Erro* erro = nullptr);
    void desfazer();

private:
    Conexao& m_c;
    bool m_ativa = false;
};

} // namespace db
