#include "Insercao.h"

#include <QSqlError>

#include <sqlite3.h>

namespace validacao {

Insercao::~Insercao()
{
    sqlite3_finalize(m_s);
}

db::Erro Insercao::erro() const
{
    return erroDoBanco(m_c);
}

db::Erro erroDoBanco(db::Conexao& c)
{
    sqlite3* h = c.handle();
    if (!h)
        return db::Erro{db::ErroBanco, db::TextoNaoAberto};
    return db::mapearErro(QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(h)), QSqlError::StatementError,
                                    QString::number(sqlite3_extended_errcode(h))));
}

bool Insercao::preparar(const QString& sql, db::Erro& e)
{
    sqlite3_finalize(m_s);
    m_s = nullptr;
    sqlite3* h = m_c.handle();
    if (!h || sqlite3_prepare_v2(h, sql.toUtf8().constData(), -1, &m_s, nullptr) != SQLITE_OK) {
        e = erro();
        return false;
    }
    return true;
}

Insercao& Insercao::valor(int i, qint64 v)
{
    sqlite3_bind_int64(m_s, i, v);
    return *this;
}

Insercao& Insercao::valor(int i, const QString& v)
{
    const QByteArray u = v.toUtf8();
    sqlite3_bind_text(m_s, i, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
    return *this;
}

Insercao& Insercao::texto(int i, QByteArrayView utf8)
{
    sqlite3_bind_text(m_s, i, utf8.data() ? utf8.data() : "", static_cast<int>(utf8.size()), SQLITE_STATIC);
    return *this;
}

bool Insercao::executar(db::Erro& e)
{
    const int rc = sqlite3_step(m_s);
    sqlite3_reset(m_s);
    sqlite3_clear_bindings(m_s);
    if (rc == SQLITE_DONE)
        return true;
    e = erro();
    return false;
}

Varredura::~Varredura()
{
    sqlite3_finalize(m_s);
}

bool Varredura::preparar(const QString& sql, db::Erro& e)
{
    sqlite3_finalize(m_s);
    m_s = nullptr;
    m_falhou = false;
    sqlite3* h = m_c.handle();
    if (!h || sqlite3_prepare_v2(h, sql.toUtf8().constData(), -1, &m_s, nullptr) != SQLITE_OK) {
        e = erroDoBanco(m_c);
        m_falhou = true;
        return false;
    }
    return true;
}

bool Varredura::proximo(db::Erro& e)
{
    const int rc = sqlite3_step(m_s);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE) {
        e = erroDoBanco(m_c);
        m_falhou = true;
    }
    return false;
}

QByteArrayView Varredura::texto(int i) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_s, i));
    return p ? QByteArrayView(p, sqlite3_column_bytes(m_s, i)) : QByteArrayView();
}

qint64 Varredura::inteiro(int i) const
{
    return sqlite3_column_int64(m_s, i);
}

} // namespace validacao
