#pragma once
// Another connection to a database file holding a lock until it goes, as
// another program would: an open read transaction (others may still write,
// but not commit), an uncommitted write (others may read, not write), or an
// exclusive transaction (others may not even read).
#include "platform/Banco.h"

#include <QString>

class OutraConexao {
public:
    enum class Trava { Leitura, Escrita, Exclusiva };
    OutraConexao(const QString& caminho, Trava trava);
    ~OutraConexao();
    OutraConexao(const OutraConexao&) = delete;
    OutraConexao& operator=(const OutraConexao&) = delete;
    // Whether the lock is held (a warning says why not).
    bool ativa() const { return m_ativa; }

private:
    db::Conexao m_c;
    bool m_ativa = false;
};
