#include "OutraConexao.h"

#include <QDebug>

OutraConexao::OutraConexao(const QString& caminho, Trava trava)
{
    db::Erro e;
    const char* inicio = trava == Trava::Leitura ? "BEGIN" : trava == Trava::Escrita ? "BEGIN IMMEDIATE" : "BEGIN EXCLUSIVE";
    m_ativa = m_c.abrir(caminho, &e) && m_c.executar(QString::fromLatin1(inicio), {}, &e);
    // A deferred transaction takes its read lock at its first read and keeps it.
    if (m_ativa && trava == Trava::Leitura)
        m_ativa = m_c.escalar(QStringLiteral("SELECT count(*) FROM sqlite_master"), {}, &e).isValid();
    if (!m_ativa)
        qWarning() << "OutraConexao:" << caminho << e.descricao;
}

OutraConexao::~OutraConexao()
{
    if (m_ativa)
        m_c.executar(QStringLiteral("ROLLBACK"));
    m_c.fechar();
}
