#include "Execucao.h"

#include "Recarga.h"

#include "platform/CursorEspera.h"
#include "shell/Geral.h"
#include "shell/MarcaValidacao.h"
#include "shell/Servicos.h"

#include <array>

namespace validacao {

bool Verifica_Importados(QString& mensagem)
{
    Geral& g = geral();
    CursorEspera cursor;
    mensagem.clear();
    db::Erro e;
    auto falha = [&](const db::Erro& x) {
        cursorPadrao();
        g.gMsg = textoErro(x, QStringLiteral("Verifica_Importados"));
        return false;
    };
    if (!g.gConn || !g.gConn->aberta())
        return falha(db::Erro{db::ErroBanco, db::TextoNaoAberto});
    db::Consulta q(*g.gConn);
    if (!q.preparar(QStringLiteral("SELECT Tipo, Situacao FROM tbImportados") + filtroDeclaracao()
                        + QStringLiteral(" ORDER BY Tipo"),
                    &e)
        || !q.executar(chaveDeclaracao(), &e))
        return falha(e);
    std::array<bool, 10> presente{};
    while (q.proximo()) {
        const int tipo = q.valor(0).toInt();
        if (tipo == 1 || tipo == 2 || (tipo >= 6 && tipo <= 9))
            presente[static_cast<size_t>(tipo)] = true;
        // Errors in the auxiliary chart or a code table block nothing.
        if (q.valor(1).toInt() == 777 && (tipo == 1 || (tipo >= 6 && tipo <= 9)))
            mensagem = TextoImportadosComErro;
    }
    if (q.falhou())
        return falha(q.erro());
    // Each test replaces the message of the one before.
    for (int tipo : {1, 2, 6, 7, 8, 9}) {
        if (presente[static_cast<size_t>(tipo)])
            continue;
        if (tipo == 1 || tipo == 6 || tipo == 8)
            mensagem = TextoFaltamGerais;
        else if ((tipo == 7 || tipo == 9) && presente[2])
            mensagem = TextoFaltamAuxiliares;
    }
    return true;
}

bool fun_deleta_saldosFinalInicialDetalhe()
{
    Geral& g = geral();
    db::Erro e;
    auto falha = [&]() {
        cursorPadrao();
        g.gMsg = textoErro(e, QStringLiteral("fun_deleta_saldosFinalInicialDetalhe"));
        return false;
    };
    if (!g.gConn || !g.gConn->aberta()) {
        e = db::Erro{db::ErroBanco, db::TextoNaoAberto};
        return falha();
    }
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa())
        return falha();
    for (const char* tabela : {"tbDetalheErros", "tbsaldofinal", "tbsaldoinicial", "tbLancamentoXsaldo",
                               "tbLancamentosAcumulados", "tbSituacaoValidacao"})
        if (!g.gConn->executar(QStringLiteral("DELETE FROM ") + QLatin1String(tabela), {}, &e))
            return falha();
    // The results are gone, so are the statuses they explained and the mark
    // of a completed run: until one completes, nothing reads as validated.
    if (!g.gConn->executar(QStringLiteral("UPDATE tbImportados SET Situacao = 90") + filtroDeclaracao()
                               + QStringLiteral(" AND (Situacao = 0 OR Situacao BETWEEN 53 AND 57)"),
                           chaveDeclaracao(), &e)
        || !marcaValidacao::desmarcar(*g.gConn, &e))
        return falha();
    if (!t.confirmar(&e))
        return falha();
    return true;
}

namespace {

// The statuses of a completed run, in one transaction with the mark of a
// completed run: each finding's code on its file, or, without findings, 0 on
// every file of the declaration except those imported with errors (a code
// table with errors stays 777).
bool gravarSituacoes(const Estado& estado)
{
    Geral& g = geral();
    db::Erro e;
    bool ok = false;
    {
        db::Transacao t(*g.gConn, &e);
        ok = t.ativa();
        if (ok && !estado.erro)
            ok = g.gConn->executar(QStringLiteral("UPDATE tbImportados SET Situacao = 0") + filtroDeclaracao()
                                       + QStringLiteral(" AND Situacao <> 777"),
                                   chaveDeclaracao(), &e);
        for (int tipo = 1; ok && estado.erro && tipo <= 9; ++tipo) {
            const qint16 codigo = estado.situacao[static_cast<size_t>(tipo)];
            if (codigo != 0)
                ok = g.gConn->executar(QStringLiteral("UPDATE tbImportados SET Situacao = ?") + filtroDeclaracao()
                                           + QStringLiteral(" AND Tipo = ?"),
                                       QVariantList{codigo} + chaveDeclaracao() + QVariantList{tipo}, &e);
        }
        ok = ok && marcaValidacao::marcar(*g.gConn, &e) && t.confirmar(&e);
    }
    if (ok)
        return true;
    cursorPadrao();
    g.gMsg = textoErro(e, QStringLiteral("fun_GravaImportados"));
    return false;
}

// Whether the auxiliary balances were imported without errors.
bool auxiliarImportado(bool& aux)
{
    Geral& g = geral();
    db::Erro e;
    const QVariant n = g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbImportados") + filtroDeclaracao()
                                            + QStringLiteral(" AND Tipo = 9 AND Situacao IN (0, 53, 54, 55, 56, 57, 90, 100)"),
                                        chaveDeclaracao(), &e);
    if (!e.ok()) {
        cursorPadrao();
        g.gMsg = textoErro(e, QStringLiteral("cmdOk_Click"));
        return false;
    }
    aux = n.toInt() > 0;
    return true;
}

} // namespace

bool executarValidacao(Painel& painel, Estado& estado)
{
    Geral& g = geral();
    estado = Estado{};
    // Results of an earlier run (also one that stopped) never mix with these.
    if (!fun_deleta_saldosFinalInicialDetalhe())
        return false;
    for (size_t i : {size_t(1), size_t(2)})
        g.gRegLidosSaldoFinal[i] = g.gRegCorretosSaldoFinal[i] = g.gRegComErroSaldoFinal[i] =
            g.gRegLidosSaldoInicial[i] = g.gRegCorretosSaldoInicial[i] = g.gRegComErroSaldoInicial[i] = 0;

    CursorEspera cursor;
    painel.titulo(TituloLancamentos);
    painel.preparando(true);
    painel.rende();
    if (!Fun_Criar_arquivo_ini() || !Fun_ImportarLancamento(&painel, &estado.lancamentos))
        return false;
    painel.iniciarBarra(7);
    painel.preparando(false);

    if (!fun_validaLancamentos(estado, 1))
        return false;
    painel.avancarBarra(1);

    painel.titulo(TituloSaldosGeral);
    if (!fun_ValidaSaldosMes(estado, 1))
        return false;
    painel.avancarBarra(1);

    painel.titulo(TituloSaldosAux);
    bool aux = false;
    if (!auxiliarImportado(aux))
        return false;
    if (aux && !fun_ValidaSaldosMes(estado, 2))
        return false;

    painel.titulo(TituloContaGeral);
    if (!fun_validaSaldosPorConta(estado, 1))
        return false;
    painel.avancarBarra(1);

    painel.titulo(TituloContaAux);
    if (aux && !fun_validaSaldosPorConta(estado, 2))
        return false;
    painel.avancarBarra(1);

    painel.titulo(TituloLancXSaldos);
    if (!fun_ValidasaldosXlancamentos(estado))
        return false;
    painel.avancarBarra(2);

    if (!gravarSituacoes(estado))
        return false;
    painel.avancarBarra(1);
    return true;
}

} // namespace validacao
