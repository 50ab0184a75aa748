#include "Tabelas.h"

#include "Gravadores.h"

#include "shell/Servicos.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <algorithm>

namespace motor {

QString baseTabela(int tipoArquivo)
{
    switch (tipoArquivo) {
    case 1: return TabPlanoGeral;
    case 2: return TabPlanoAux;
    case 3: return TabCentroCusto;
    case 4: return TabCentroDespesa;
    case 5: return TabHistorico;
    case 6: return TabLancGeral;
    case 7: return TabLancAux;
    case 8: return TabSaldosGeral;
    case 9: return TabSaldosAux;
    default: return QString();
    }
}

QString nomeTabela(const QString& base)
{
    return base + sufixoDeclaracao();
}

QString nomeTabelaTipo(int tipoArquivo)
{
    return nomeTabela(baseTabela(tipoArquivo));
}

bool lerLeiaute(Leiaute& l, QString& msg)
{
    const Geral& g = geral();
    l.todos.clear();
    if (!g.gConn || !g.gConn->aberta()) {
        msg = textoErro(db::ErroBanco, db::TextoNaoAberto);
        return false;
    }
    QSqlQuery q(g.gConn->banco());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT codsequ, PosicaoInicial, Tamanho, Decimais, tipo, NomeCampo, NomeReduzido "
                             "FROM TbleiauteDIG WHERE INarquivo = ? AND TipoArquivo = ? ORDER BY codsequ"));
    q.addBindValue(g.gIN);
    q.addBindValue(g.gTipoArquivo);
    if (!q.exec()) {
        msg = textoErro(db::mapearErro(q.lastError()));
        return false;
    }
    while (q.next()) {
        CampoLeiaute c;
        c.codsequ = q.value(0).toInt();
        c.posicao = q.value(1).toInt();
        c.tamanho = q.value(2).toInt();
        c.decimais = q.value(3).toInt();
        c.tipo = q.value(4).toString();
        c.nomeCampo = q.value(5).toString();
        c.nomeReduzido = q.value(6).toString();
        l.todos.append(c);
    }
    db::Erro e;
    if (!db::fimDasLinhas(q, &e)) {
        l.todos.clear();
        msg = textoErro(e);
        return false;
    }
    return true;
}

bool LER_LeiauteDIG(Contexto& ctx)
{
    QString msg;
    if (!lerLeiaute(ctx.leiaute, msg))
        return ctx.falhar(msg);
    ctx.sufixo = sufixoDeclaracao();
    return true;
}

namespace {

struct Coluna {
    int codsequ;
    const char* nome;
    const char* tipo;   // "TEXT" or "INTEGER" (currency, 1/10 000)
};

// Columns fed by layout fields, per file type; limit = highest codsequ read.
QVector<Coluna> colunasDoTipo(int tipo, int& limite)
{
    switch (tipo) {
    case 1:
    case 2:
        limite = 7;
        return {{1, "Dataatualiz", "TEXT"}, {2, "Codtab", "TEXT"}, {3, "CodConta", "TEXT"},
                {5, "TipoConta", "TEXT"},   {6, "Codcontatot", "TEXT"}, {7, "DescConta", "TEXT"}};
    case 3:
        limite = 7;
        return {{1, "Dataatualiz", "TEXT"}, {2, "Codtab", "TEXT"}, {4, "CodCusto", "TEXT"}, {7, "DescCusto", "TEXT"}};
    case 4:
        limite = 7;
        return {{1, "Dataatualiz", "TEXT"}, {2, "Codtab", "TEXT"}, {4, "CodDespesa", "TEXT"}, {7, "DescDesp", "TEXT"}};
    case 5:
        limite = 7;
        return {{1, "Dataatualiz", "TEXT"}, {2, "Codtab", "TEXT"}, {4, "CodhIstPad", "TEXT"},
                {7, "DescHistPad", "TEXT"}};
    case 6:
    case 7:
        limite = 12;
        return {{1, "Datalanc", "TEXT"}, {2, "Codconta", "TEXT"}, {3, "Valor", "INTEGER"}, {4, "Inddc", "TEXT"}};
    case 8:
    case 9:
        limite = 8;
        return {{1, "DataSaldoIni", "TEXT"},   {2, "Codconta", "TEXT"},      {3, "ValorSaldoIni", "INTEGER"},
                {4, "IndDCSaldoIni", "TEXT"},  {5, "ValorDebitos", "INTEGER"}, {6, "ValorCreditos", "INTEGER"},
                {7, "ValorSaldoFin", "INTEGER"}, {8, "IndDCSaldoFin", "TEXT"}};
    default:
        limite = 0;
        return {};
    }
}

struct Indice {
    QString nome;     // as given
    QString colunas;
    bool unico = false;
};

// The indexes of a staging table, in creation order. The balances' key
// (date, account) is a unique index: SQLite keeps a primary key that is not
// the rowid as just such an index, and this one can be built after the load.
QVector<Indice> indicesDoTipo(int tipo, int in)
{
    switch (tipo) {
    case 1:
    case 2: {
        QVector<Indice> r{{QStringLiteral("codconta"), QStringLiteral("Codconta")}};
        if (in == 86)
            r.append({QStringLiteral("codcontatipo"), QStringLiteral("Codconta,tipoconta")});
        r.append({QStringLiteral("codcontadata"), QStringLiteral("Codconta,Dataatualiz")});
        return r;
    }
    case 3: return {{QStringLiteral("Codcusto"), QStringLiteral("Codcusto")}};
    case 4: return {{QStringLiteral("CodDespesa"), QStringLiteral("CodDespesa")}};
    case 5: return {{QStringLiteral("CodhIstPad"), QStringLiteral("CodhIstPad")}};
    case 6:
    case 7: return {{QStringLiteral("Codconta"), QStringLiteral("Codconta")}};
    case 8:
    case 9:
        return {{QStringLiteral("Minhachave"), QStringLiteral("DataSaldoIni,Codconta"), true},
                {QStringLiteral("Codconta"), QStringLiteral("Codconta")}};
    default: return {};
    }
}

// The indexes of the charts, the code tables and the balances are not read
// while their file loads (the lookups and the duplicate test work from
// memory and from rowids), and filling them row by row costs more than the
// rest of the load when the file is not in key order: they are built once
// the rows are in (criarIndicesAdiados), by one sort each. The entries'
// tables are filled elsewhere and keep theirs from the start.
bool indiceAdiado(int tipo)
{
    return (tipo >= 1 && tipo <= 5) || tipo == 8 || tipo == 9;
}

QString criacaoIndice(const QString& tabela, const Indice& i, bool seNaoExiste)
{
    return QStringLiteral("CREATE %1INDEX %2%3_%4 ON %3 (%5)")
        .arg(i.unico ? QStringLiteral("UNIQUE ") : QString(),
             seNaoExiste ? QStringLiteral("IF NOT EXISTS ") : QString(), tabela, i.nome, i.colunas);
}

} // namespace

bool criarIndicesAdiados(Contexto& ctx)
{
    if (!ctx.indicesPendentes)
        return true;
    const int tipo = ctx.g.gTipoArquivo;
    if (!ctx.confirmarLote())
        return false;
    ctx.indicesPendentes = false;
    const QString tabela = nomeTabelaTipo(tipo);
    db::Conexao& conn = *ctx.g.gConn;
    // Each build is one sort of the whole table: SQLite's sorter may share
    // it among worker threads.
    const int ajudantes = std::clamp(QThread::idealThreadCount() - 1, 0, 4);
    conn.executar(QStringLiteral("PRAGMA threads = %1").arg(ajudantes));
    db::Erro e;
    bool ok = true;
    for (const Indice& i : indicesDoTipo(tipo, ctx.g.gIN))
        ok = ok && conn.executar(criacaoIndice(tabela, i, true), {}, &e);
    conn.executar(QStringLiteral("PRAGMA threads = 0"));
    return ok || ctx.falhar(textoErro(e, QStringLiteral("func_validacao")));
}

bool fun_Criar_Tabela(Contexto& ctx)
{
    Geral& g = ctx.g;
    static const QString proc = QStringLiteral("fun_Criar_Tabela");
    const int tipo = g.gTipoArquivo;
    int limite = 0;
    const QVector<Coluna> colunas = colunasDoTipo(tipo, limite);
    if (colunas.isEmpty())
        return true;   // no staging table for this type
    const QString tabela = nomeTabelaTipo(tipo);
    QStringList defs;
    if (tipo != 6 && tipo != 7)
        defs << QStringLiteral("Inarquivo INTEGER") << QStringLiteral("cnpj TEXT")
             << QStringLiteral("periodoinicial TEXT") << QStringLiteral("periodofinal TEXT");
    for (const CampoLeiaute& campo : std::as_const(ctx.leiaute.todos)) {
        if (campo.codsequ > limite)
            break;
        for (const Coluna& c : colunas)
            if (c.codsequ == campo.codsequ)
                defs << QStringLiteral("%1 %2").arg(QLatin1String(c.nome), QLatin1String(c.tipo));
    }
    if (tipo == 1)
        defs << QStringLiteral("Vinculado INTEGER");
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    bool ok = t.ativa()
        && g.gConn->executar(QStringLiteral("CREATE TABLE %1 (%2)").arg(tabela, defs.join(QStringLiteral(", "))), {},
                             &e);
    if (!indiceAdiado(tipo))
        for (const Indice& i : indicesDoTipo(tipo, g.gIN))
            ok = ok && g.gConn->executar(criacaoIndice(tabela, i, false), {}, &e);
    ok = ok && t.confirmar(&e);
    if (!ok) {
        t.desfazer();
        return ctx.falhar(textoErro(e, proc));
    }
    ctx.indicesPendentes = indiceAdiado(tipo);
    return true;
}

bool PreparaConsultas(Contexto& ctx)
{
    if (!ctx.g.gConn || !ctx.g.gConn->aberta())
        return ctx.falhar(textoErro(db::ErroBanco, db::TextoNaoAberto));
    return true;
}

bool esvaziarTabela(Contexto& ctx, const QString& base)
{
    if (!ctx.confirmarLote())
        return false;
    db::Erro e;
    if (!ctx.g.gConn->executar(QStringLiteral("DELETE FROM %1").arg(nomeTabela(base)), {}, &e))
        return ctx.falhar(textoErro(e));
    return true;
}

namespace {

// Staging tables dropped, then the dependent status rows deleted, per type.
struct Cascata {
    QStringList antes;        // drops before the status rows
    QList<int> tipos;         // status rows of the dependent types
    QStringList depois;       // drops after them
};

Cascata cascata(int tipo, int in)
{
    switch (tipo) {
    case 1:
        if (in == 86)
            return {{TabPlanoGeral, TabPlanoAux, TabLancAux, TabSaldosAux}, {2, 6, 7, 8, 9}, {TabLancGeral, TabSaldosGeral}};
        return {{TabPlanoGeral}, {6, 8}, {TabLancGeral, TabSaldosGeral}};
    case 2: return {{TabPlanoAux, TabLancAux, TabSaldosAux}, {7, 9}, {}};
    case 3: return {{TabCentroCusto, TabLancGeral, TabLancAux}, {6, 7}, {}};
    case 4: return {{TabCentroDespesa, TabLancGeral, TabLancAux}, {6, 7}, {}};
    case 5: return {{TabHistorico, TabLancGeral, TabLancAux}, {6, 7}, {}};
    case 6: return {{TabLancGeral}, {}, {}};
    case 7: return {{TabLancAux}, {}, {}};
    case 8: return {{TabSaldosGeral}, {}, {}};
    case 9: return {{TabSaldosAux}, {}, {}};
    default: return {};
    }
}

} // namespace

bool fun_Delete_IMPORTADO()
{
    Geral& g = geral();
    db::Erro e;
    // A fresh connection, so no statement or lock of the last run is left.
    const QString caminho = g.gConn ? g.gConn->caminho() : QString();
    if (!g.gConn)
        g.gConn = std::make_unique<db::Conexao>();
    if (!g.gConn->abrir(caminho.isEmpty() ? caminhoBancoDeclaracao() : caminho, &e)) {
        g.gMsg = textoErro(e);
        return false;
    }
    db::Transacao t(*g.gConn, &e);
    bool ok = t.ativa() && g.gConn->executar(QStringLiteral("DELETE FROM TbSituacaoValidacao"), {}, &e);
    auto largar = [&](const QStringList& bases) {
        for (const QString& base : bases) {
            if (!ok)
                return;
            db::Erro ed;
            if (!g.gConn->executar(QStringLiteral("DROP TABLE %1").arg(nomeTabela(base)), {}, &ed)
                && ed.numero != db::ErroSemTabela) {
                e = ed;
                ok = false;
            }
        }
    };
    const Cascata c = cascata(g.gTipoArquivo, g.gIN);
    largar(c.antes);
    if (ok && !c.tipos.isEmpty()) {
        QStringList alternativas;
        QVariantList p = chaveDeclaracao();
        for (int tipo : c.tipos) {
            alternativas << QStringLiteral("Tipo = ?");
            p << tipo;
        }
        ok = g.gConn->executar(QStringLiteral("DELETE FROM tbImportados") + filtroDeclaracao() + QStringLiteral(" AND (")
                                   + alternativas.join(QStringLiteral(" OR ")) + u')',
                               p, &e);
    }
    largar(c.depois);
    ok = ok
        && g.gConn->executar(QStringLiteral("UPDATE tbImportados SET Situacao = 90") + filtroDeclaracao()
                                 + QStringLiteral(" AND ((Situacao = 0 OR Situacao = 100) OR (Situacao >= 53 AND Situacao <= 57))"),
                             chaveDeclaracao(), &e);
    ok = ok
        && g.gConn->executar(QStringLiteral("DELETE FROM tbImportados") + filtroDeclaracao() + QStringLiteral(" AND Tipo = ?"),
                             chaveDeclaracao() << g.gTipoArquivo, &e);
    ok = ok && g.gConn->executar(QStringLiteral("DELETE FROM tbContasVinculadas") + filtroDeclaracao(), chaveDeclaracao(), &e);
    ok = ok && t.confirmar(&e);
    if (!ok) {
        t.desfazer();
        g.gMsg = textoErro(e);
        return false;
    }
    return true;
}

namespace {
bool apagarErrosDoTipo(const QString& tabela, const QString& proc)
{
    Geral& g = geral();
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    if (t.ativa()
        && g.gConn->executar(QStringLiteral("DELETE FROM %1 WHERE TipoArquivo = ?").arg(tabela), {g.gTipoArquivo}, &e)
        && t.confirmar(&e))
        return true;
    t.desfazer();
    g.gMsg = textoErro(e, proc);
    return false;
}
} // namespace

bool fun_Deleta_Detalhe()
{
    return apagarErrosDoTipo(QStringLiteral("tbDetalheErros"), QStringLiteral("fun_Deleta_Detalhe"));
}

bool fun_Deleta_errosIMP()
{
    return apagarErrosDoTipo(QStringLiteral("TbErrosImportacao"), QStringLiteral("fun_Deleta_errosIMP"));
}

bool copiarLeiautePadrao(QString& msg)
{
    Geral& g = geral();
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    bool ok = t.ativa() && g.gConn->executar(QStringLiteral("DELETE FROM TbleiauteDIG"), {}, &e);
    ok = ok
        && g.gConn->executar(
            QStringLiteral("INSERT INTO TbleiauteDIG (codsequ, INarquivo, CNPJ, periodoinicial, periodofinal, "
                           "TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo) "
                           "SELECT Codsequ, INarquivo, ?, ?, ?, TipoArquivo, NomeCampo, NomeReduzido, "
                           "PosicaoInicial, Tamanho, Decimais, tipo FROM Tbleiautepadrao "
                           "WHERE INarquivo = ? AND TipoArquivo = ? ORDER BY Codsequ"),
            {g.gCNPJ, dataDdmmaaaa(g.gPeriodoInicial), dataDdmmaaaa(g.gPeriodoFinal), g.gIN, g.gTipoArquivo}, &e);
    ok = ok && t.confirmar(&e);
    if (!ok) {
        t.desfazer();
        msg = textoErro(e);
    }
    return ok;
}

} // namespace motor
