#include "ValidacaoGuardada.h"

#include "shell/Geral.h"
#include "shell/MarcaValidacao.h"
#include "shell/Servicos.h"

namespace {

ValidacaoGuardada falha(const db::Erro& e)
{
    geral().gMsg = textoErro(e, QStringLiteral("cmdOk_Click"));
    return ValidacaoGuardada::Falha;
}

Moeda moeda(const QVariant& v)
{
    return Moeda::deUnidades(v.toLongLong());
}

} // namespace

ValidacaoGuardada recarregaValidacao()
{
    Geral& g = geral();
    if (!g.gConn || !g.gConn->aberta())
        return falha({db::ErroBanco, db::TextoNaoAberto});
    db::Conexao& c = *g.gConn;
    db::Erro e;

    const QVariant importado = c.escalar(
        QStringLiteral("SELECT Tipo FROM tbImportados") + filtroDeclaracao(),
        chaveDeclaracao(), &e);
    if (!e.ok())
        return falha(e);
    if (!importado.isValid())
        return ValidacaoGuardada::NaoValidada;
    const QVariant resumo = c.escalar(QStringLiteral("SELECT TipoArquivo FROM tbSituacaoValidacao"), {}, &e);
    if (!e.ok())
        return falha(e);
    if (!resumo.isValid())
        return ValidacaoGuardada::NaoValidada;
    // Rows of a run that stopped part way are no validation.
    bool concluida = false;
    if (!marcaValidacao::concluida(c, concluida, &e))
        return falha(e);
    if (!concluida)
        return ValidacaoGuardada::NaoValidada;

    // Without a totals row the totals are zero, never another declaration's.
    Moeda debitos, creditos, diferenca;
    db::Consulta totais(c);
    if (!totais.preparar(QStringLiteral("SELECT TotalDebitos, TotalCreditos, Diferenca FROM tbLancamentosAcumulados "
                                        "ORDER BY rowid LIMIT 1"),
                         &e)
        || !totais.executar(&e))
        return falha(e);
    if (totais.proximo()) {
        debitos = moeda(totais.valor(0));
        creditos = moeda(totais.valor(1));
        diferenca = moeda(totais.valor(2));
    } else if (totais.falhou()) {
        return falha(totais.erro());
    }

    struct Contadores {
        qint32 lidosFinal = 0, corretosFinal = 0, comErroFinal = 0;
        qint32 lidosInicial = 0, corretosInicial = 0, comErroInicial = 0, faltantesInicial = 0;
    } por[3];
    db::Consulta checagens(c);
    if (!checagens.preparar(QStringLiteral("SELECT TipoArquivo, TipoValidacao, RegLidos, RegCorretos, RegComErro, "
                                           "RegFaltantes FROM tbSituacaoValidacao WHERE TipoValidacao IN (2,3) "
                                           "ORDER BY rowid"),
                            &e)
        || !checagens.executar(&e))
        return falha(e);
    while (checagens.proximo()) {
        const int tipo = checagens.valor(0).toInt();
        if (tipo != 8 && tipo != 9)
            continue;
        Contadores& k = por[tipo == 8 ? 1 : 2];
        if (checagens.valor(1).toInt() == 3) {
            k.lidosInicial = checagens.valor(2).toInt();
            k.corretosInicial = checagens.valor(3).toInt();
            k.comErroInicial = checagens.valor(4).toInt();
            k.faltantesInicial = checagens.valor(5).toInt();
        } else {
            k.lidosFinal = checagens.valor(2).toInt();
            k.corretosFinal = checagens.valor(3).toInt();
            k.comErroFinal = checagens.valor(4).toInt();
        }
    }
    if (checagens.falhou())
        return falha(checagens.erro());

    // Only a complete read changes the working state.
    g.gTotalDebitos = debitos;
    g.gTotalCreditos = creditos;
    g.gDiferenca = diferenca;
    for (int i = 1; i <= 2; ++i) {
        g.gRegLidosSaldoFinal[i] = por[i].lidosFinal;
        g.gRegCorretosSaldoFinal[i] = por[i].corretosFinal;
        g.gRegComErroSaldoFinal[i] = por[i].comErroFinal;
        g.gRegLidosSaldoInicial[i] = por[i].lidosInicial;
        g.gRegCorretosSaldoInicial[i] = por[i].corretosInicial;
        g.gRegComErroSaldoInicial[i] = por[i].comErroInicial;
        g.gRegFaltantesSaldoInicial[i] = por[i].faltantesInicial;
    }
    return ValidacaoGuardada::Carregada;
}
