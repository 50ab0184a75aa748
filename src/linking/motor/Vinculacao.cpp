#include "Vinculacao.h"

#include "import/motor/Tabelas.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace vinculacao {

namespace {

// Leading and trailing blanks off (descriptions, the prefix typed).
QString aparar(const QString& s)
{
    qsizetype i = 0;
    qsizetype f = s.size();
    while (i < f && s.at(i) == u' ')
        ++i;
    while (f > i && s.at(f - 1) == u' ')
        --f;
    return s.mid(i, f - i);
}

QString semBrancosFinais(const QString& s)
{
    qsizetype f = s.size();
    while (f > 0 && s.at(f - 1) == u' ')
        --f;
    return s.left(f);
}

// "cod.erro N\r\nmsg. Erro: text(procedure)": these procedures name
// themselves right after the description.
QString erroDe(const db::Erro& e, const QString& procedimento)
{
    return textoErro(e) + u'(' + procedimento + u')';
}

QString planoGeral()
{
    return motor::nomeTabela(motor::TabPlanoGeral);
}

// A chart code equal to the bound code, trailing blanks ignored on both
// sides; the range lets the codconta index find it (every such code sorts
// from the bare code up to, but not including, the code followed by "!").
QString codigoIgual(const QString& coluna)
{
    return QStringLiteral("%1 >= ? AND %1 < ? AND rtrim(%1) = ?").arg(coluna);
}

QVariantList valoresCodigo(const QString& codigo)
{
    const QString c = semBrancosFinais(codigo);
    return {c, c + u'!', c};
}

bool semConexao(QString& msg)
{
    const Geral& g = geral();
    if (g.gConn && g.gConn->aberta())
        return false;
    msg = textoErro(db::ErroBanco, TextoErroAbertura);
    return true;
}

// LIKE pattern of a literal prefix: its wildcards match themselves.
QString padraoPrefixo(const QString& prefixo)
{
    QString p;
    p.reserve(prefixo.size() + 1);
    for (const QChar c : prefixo) {
        if (c == u'\\' || c == u'%' || c == u'_')
            p += u'\\';
        p += c;
    }
    return p + u'%';
}

} // namespace

QString entradaCombo(const Conta& padrao)
{
    return padrao.codigo.leftJustified(LarguraCodigoPadrao, u' ') + padrao.descricao;
}

bool lerPlanoPadrao(QList<Conta>& contas)
{
    Geral& g = geral();
    const QString proc = QStringLiteral("Fun_Carrega_cblplanoPadrao");
    contas.clear();
    if (semConexao(g.gMsg))
        return false;
    db::Consulta q(*g.gConn);
    db::Erro e;
    if (!q.preparar(QStringLiteral("SELECT Codconta, descricao FROM TbPlanocontasPadrao ORDER BY rowid"), &e)
        || !q.executar(&e)) {
        g.gMsg = erroDe(e, proc);
        return false;
    }
    while (q.proximo()) {
        Conta c{q.valor(0).toString(), q.valor(1).toString()};
        if (c.codigo.size() > LarguraCodigoPadrao) {
            contas.clear();
            g.gMsg = textoErro(5, QStringLiteral("Código de conta padrão com mais de %1 caracteres: %2")
                                      .arg(LarguraCodigoPadrao)
                                      .arg(c.codigo))
                + u'(' + proc + u')';
            return false;
        }
        contas << c;
    }
    if (q.falhou()) {
        contas.clear();
        g.gMsg = erroDe(q.erro(), proc);
        return false;
    }
    return true;
}

Leitura contasOferecidas(const QString& prefixo)
{
    const QString p = aparar(prefixo);
    const QString plano = planoGeral();
    const QString filtro = p.isEmpty() ? QString() : QStringLiteral(" AND CodConta LIKE ? ESCAPE '\\'");
    auto parte = [&](const QString& usadas) {
        return QStringLiteral("SELECT CodConta, DescConta FROM %1 WHERE rtrim(CodConta) IN "
                              "(SELECT rtrim(Codconta) FROM %2)%3 AND Vinculado = 0")
            .arg(plano, motor::nomeTabela(usadas), filtro);
    };
    Leitura l;
    l.sql = parte(motor::TabLancGeral) + QStringLiteral(" UNION ") + parte(motor::TabSaldosGeral)
        + QStringLiteral(" ORDER BY CodConta");
    if (!p.isEmpty())
        l.valores = {padraoPrefixo(p), padraoPrefixo(p)};
    return l;
}

Leitura contasVinculadas(const QString& padrao)
{
    Leitura l;
    l.sql = QStringLiteral("SELECT ContaContrib, descricaoContrib FROM tbContasVinculadas") + filtroDeclaracao()
        + QStringLiteral(" AND rtrim(Contapadrao) = ? ORDER BY ContaContrib");
    l.valores = chaveDeclaracao() << semBrancosFinais(padrao);
    return l;
}

Leitura vinculosComDescricao()
{
    Leitura l;
    l.sql = QStringLiteral("SELECT V.Contapadrao, P.descricao, V.ContaContrib, V.descricaoContrib "
                           "FROM tbContasVinculadas AS V, TbPlanocontasPadrao AS P "
                           "WHERE rtrim(P.Codconta) = rtrim(V.Contapadrao) AND ")
        + condicaoDeclaracao(QStringLiteral("V")) + QStringLiteral(" ORDER BY V.Contapadrao, V.ContaContrib");
    l.valores = chaveDeclaracao();
    return l;
}

bool preencher(QSqlQueryModel& modelo, const Leitura& l, const QStringList& titulos)
{
    Geral& g = geral();
    modelo.clear();
    db::Erro e;
    bool ok = false;
    if (semConexao(g.gMsg)) {
        e = {db::ErroBanco, TextoErroAbertura};
    } else {
        QSqlQuery q(g.gConn->banco());
        ok = q.prepare(l.sql);
        if (!ok)
            e = db::mapearErro(q.lastError());
        else
            ok = db::preencherModelo(modelo, std::move(q), l.valores, titulos, &e);
    }
    if (!ok) {
        // Nothing rather than part of the rows.
        modelo.clear();
        g.gMsg = textoErro(e);
    }
    for (int c = 0; c < titulos.size(); ++c)
        modelo.setHeaderData(c, Qt::Horizontal, titulos.at(c));
    return ok;
}

bool existeVinculo(const QString& padrao, bool& existe)
{
    Geral& g = geral();
    existe = false;
    if (semConexao(g.gMsg))
        return false;
    db::Erro e;
    const QVariant total = g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbContasVinculadas") + filtroDeclaracao()
                                                + QStringLiteral(" AND rtrim(Contapadrao) = ?"),
                                            chaveDeclaracao() << semBrancosFinais(padrao), &e);
    if (!e.ok()) {
        g.gMsg = erroDe(e, QStringLiteral("Fun_Verifica_vinculado"));
        return false;
    }
    existe = total.toLongLong() != 0;
    return true;
}

bool vincular(const QString& padrao, const QList<Conta>& contas)
{
    Geral& g = geral();
    const QString proc = QStringLiteral("Fun_VinculaContas");
    if (semConexao(g.gMsg))
        return false;
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa()) {
        g.gMsg = erroDe(e, proc);
        return false;
    }
    db::Consulta insere(*g.gConn);
    db::Consulta marca(*g.gConn);
    const bool preparado =
        insere.preparar(QStringLiteral("INSERT INTO tbContasVinculadas (INarquivo, CNPJ, periodoinicial, periodofinal, "
                                       "Contapadrao, ContaContrib, descricaoContrib) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                        &e)
        && marca.preparar(QStringLiteral("UPDATE %1 SET Vinculado = 1 WHERE %2").arg(planoGeral(), codigoIgual(QStringLiteral("CodConta"))),
                          &e);
    bool ok = preparado;
    const QVariantList decl = chaveDeclaracao();
    // Codes as every comparison takes them: trailing blanks off, leading
    // ones kept (a right-aligned chart code must find its link again).
    const QString chave = semBrancosFinais(padrao);
    for (qsizetype i = 0; ok && i < contas.size(); ++i) {
        const Conta& c = contas.at(i);
        ok = insere.executar(QVariantList(decl) << chave << semBrancosFinais(c.codigo) << aparar(c.descricao), &e)
            && marca.executar(valoresCodigo(c.codigo), &e);
    }
    if (!ok) {
        g.gMsg = erroDe(e, preparado ? QStringLiteral("Fun_Grava_Vinculadas") : proc);
        return false;
    }
    if (!t.confirmar(&e)) {
        g.gMsg = erroDe(e, proc);
        return false;
    }
    return true;
}

namespace {

// Runs `passos` in one transaction; false with gMsg naming Fun_DesvinculaContas.
template <class F> bool emTransacao(F passos)
{
    Geral& g = geral();
    const QString proc = QStringLiteral("Fun_DesvinculaContas");
    if (semConexao(g.gMsg))
        return false;
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa() || !passos(e) || !t.confirmar(&e)) {
        g.gMsg = erroDe(e, proc);
        return false;
    }
    return true;
}

} // namespace

bool desvincular(const QString& padrao, const QStringList& contas)
{
    return emTransacao([&](db::Erro& e) {
        Geral& g = geral();
        db::Consulta limpa(*g.gConn);
        db::Consulta apaga(*g.gConn);
        if (!limpa.preparar(QStringLiteral("UPDATE %1 SET Vinculado = 0 WHERE %2")
                                .arg(planoGeral(), codigoIgual(QStringLiteral("CodConta"))),
                            &e)
            || !apaga.preparar(QStringLiteral("DELETE FROM tbContasVinculadas") + filtroDeclaracao()
                                   + QStringLiteral(" AND rtrim(Contapadrao) = ? AND rtrim(ContaContrib) = ?"),
                               &e))
            return false;
        const QVariantList decl = QVariantList(chaveDeclaracao()) << semBrancosFinais(padrao);
        for (const QString& conta : contas) {
            if (!limpa.executar(valoresCodigo(conta), &e)
                || !apaga.executar(QVariantList(decl) << semBrancosFinais(conta), &e))
                return false;
        }
        return true;
    });
}

bool desvincularPadrao(const QString& padrao)
{
    return emTransacao([&](db::Erro& e) {
        Geral& g = geral();
        const QVariantList valores = chaveDeclaracao() << semBrancosFinais(padrao);
        const QString dosVinculos = filtroDeclaracao() + QStringLiteral(" AND rtrim(Contapadrao) = ?");
        return g.gConn->executar(QStringLiteral("UPDATE %1 SET Vinculado = 0 WHERE rtrim(CodConta) IN "
                                                "(SELECT rtrim(ContaContrib) FROM tbContasVinculadas%2)")
                                     .arg(planoGeral(), dosVinculos),
                                 valores, &e)
            && g.gConn->executar(QStringLiteral("DELETE FROM tbContasVinculadas") + dosVinculos, valores, &e);
    });
}

bool desfazerTodas()
{
    return emTransacao([](db::Erro& e) {
        Geral& g = geral();
        return g.gConn->executar(QStringLiteral("UPDATE %1 SET Vinculado = 0").arg(planoGeral()), {}, &e)
            && g.gConn->executar(QStringLiteral("DELETE FROM tbContasVinculadas") + filtroDeclaracao(), chaveDeclaracao(), &e);
    });
}

} // namespace vinculacao
