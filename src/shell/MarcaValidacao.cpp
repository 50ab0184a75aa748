#include "MarcaValidacao.h"

namespace marcaValidacao {

bool concluida(db::Conexao& c, bool& sim, db::Erro* erro)
{
    db::Erro e;
    const QVariant linha = c.escalar(QStringLiteral("SELECT 1 FROM ") + Tabela + QStringLiteral(" LIMIT 1"), {}, &e);
    if (erro)
        *erro = e;
    sim = linha.isValid();
    return e.ok();
}

bool marcar(db::Conexao& c, db::Erro* erro)
{
    return desmarcar(c, erro)
        && c.executar(QStringLiteral("INSERT INTO ") + Tabela + QStringLiteral(" (Concluida) VALUES (1)"), {}, erro);
}

bool desmarcar(db::Conexao& c, db::Erro* erro)
{
    return c.executar(QStringLiteral("DELETE FROM ") + Tabela, {}, erro);
}

bool atualizarBanco(db::Conexao& c, db::Erro* erro)
{
    bool existe = false;
    if (!c.tabelaExiste(Tabela, existe, erro))
        return false;
    if (existe)
        return true;
    db::Transacao t(c, erro);
    return t.ativa()
        && c.executar(QStringLiteral("CREATE TABLE ") + Tabela + QStringLiteral(" (Concluida INTEGER)"), {}, erro)
        && c.executar(QStringLiteral("INSERT INTO ") + Tabela
                          + QStringLiteral(" (Concluida) SELECT 1 WHERE EXISTS (SELECT 1 FROM tbSituacaoValidacao) "
                                           "AND EXISTS (SELECT 1 FROM tbImportados WHERE Situacao = 0 "
                                           "OR Situacao BETWEEN 53 AND 57)"),
                      {}, erro)
        && t.confirmar(erro);
}

} // namespace marcaValidacao
