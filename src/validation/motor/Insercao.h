#pragma once
// Statements stepped straight on the SQLite handle: one prepared INSERT of
// finding rows, reused for every row of a check inside the check's
// transaction (a check may write one row per balance row), and the scan of
// the entries (Varredura).
#include "platform/Banco.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct sqlite3_stmt;

namespace validacao {

class Insercao {
public:
    explicit Insercao(db::Conexao& c)
        : m_c(c)
    {
    }
    ~Insercao();
    Insercao(const Insercao&) = delete;
    Insercao& operator=(const Insercao&) = delete;

    bool preparar(const QString& sql, db::Erro& e);
    // Values by 1-based position, then executar().
    Insercao& valor(int i, qint64 v);
    Insercao& valor(int i, const QString& v);
    // UTF-8 bytes that stay alive until executar().
    Insercao& texto(int i, QByteArrayView utf8);
    bool executar(db::Erro& e);

private:
    db::Erro erro() const;
    db::Conexao& m_c;
    sqlite3_stmt* m_s = nullptr;
};

// A read-only query stepped straight on the SQLite handle, for the scans
// that read every entry.
class Varredura {
public:
    explicit Varredura(db::Conexao& c)
        : m_c(c)
    {
    }
    ~Varredura();
    Varredura(const Varredura&) = delete;
    Varredura& operator=(const Varredura&) = delete;

    bool preparar(const QString& sql, db::Erro& e);
    // The next row; false at the end and on a read failure (falhou(), e set).
    bool proximo(db::Erro& e);
    bool falhou() const { return m_falhou; }
    // Column i (0-based) of the row in hand: its UTF-8 text (valid until the
    // next step) or its integer.
    QByteArrayView texto(int i) const;
    qint64 inteiro(int i) const;

private:
    db::Conexao& m_c;
    sqlite3_stmt* m_s = nullptr;
    bool m_falhou = false;
};

// The database's last error on a connection.
db::Erro erroDoBanco(db::Conexao& c);

} // namespace validacao
