#include "Pendencias.h"

#include "platform/CursorEspera.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <array>

const QStringList TextosNaoImportado = {
    QStringLiteral("Plano de Contas Diário Geral não importado"),
    QStringLiteral("Plano de Contas Diário Auxiliar não importado"),
    QStringLiteral("Centro de Custos não importado"),
    QStringLiteral("Centro de Despesas não importado"),
    QStringLiteral("Histórico Padrão não importado"),
    QStringLiteral("Lançamentos Diário Geral não importado"),
    QStringLiteral("Lançamentos Diário Auxiliar não importado"),
    QStringLiteral("Saldos Diário Geral não importado"),
    QStringLiteral("Saldos Diário Auxiliar não importado"),
};

namespace {

bool validado(int situacao)
{
    return situacao >= 53 && situacao <= 57;
}

struct Status {
    int tipo;
    int situacao;
};

bool falha(const db::Erro& e)
{
    cursorPadrao();
    geral().gMsg = textoErro(e, QStringLiteral("Verifica_Situacao"));
    return false;
}

} // namespace

bool Verifica_Situacao(QStringList& pendencias)
{
    Geral& g = geral();
    CursorEspera espera;
    db::Erro e;
    if (!g.gConn || !g.gConn->aberta())
        return falha({db::ErroBanco, db::TextoNaoAberto});

    // 1. Files whose status is not a good one.
    db::Consulta status(*g.gConn);
    if (!status.preparar(QStringLiteral(
            "SELECT I.Tipo, I.Situacao, E.Descricao, T.Descricao "
            "FROM tbImportados AS I, TbDescricaoErro AS E, tbTipoArquivos AS T "
            "WHERE ") + condicaoDeclaracao(QStringLiteral("I")) + QStringLiteral(
            " AND E.CodigoErro = I.Situacao AND T.TipoArquivo = I.Tipo ORDER BY I.Tipo"),
            &e)
        || !status.executar(chaveDeclaracao(), &e))
        return falha(e);
    QList<Status> linhas;
    while (status.proximo()) {
        const int tipo = status.valor(0).toInt();
        const int situacao = status.valor(1).toInt();
        linhas.append({tipo, situacao});
        if (situacao != 0 && situacao != 90 && situacao != 100 && !validado(situacao)) {
            const QString descricao = status.valor(2).toString();
            pendencias << (situacao == 777 ? status.valor(3).toString() + u' ' + descricao : descricao);
        }
    }
    if (status.falhou())
        return falha(status.erro());

    // 2. A validation still to run: the types it needs are all imported and
    // none of them is validated, recorded or imported with errors.
    std::array<bool, 10> presente{};
    for (const Status& s : linhas) {
        const int t = s.tipo;
        if (t == 1 || t == 2 || t == 6 || t == 7 || t == 8 || t == 9) {
            presente[t] = true;
            if (t != 2 && (s.situacao == 777 || s.situacao == 0 || s.situacao == 100 || validado(s.situacao)))
                presente[t] = false;
        }
    }
    bool naoValidado = true;
    for (int t : {1, 6, 8})
        if (!presente[t])
            naoValidado = false;
    for (int t : {7, 9})
        if (!presente[t] && presente[2])
            naoValidado = false;
    if (naoValidado)
        pendencias << QStringLiteral("Validação não efetuada");

    // 3. Findings of the last validation.
    db::Consulta achados(*g.gConn);
    if (!achados.preparar(QStringLiteral(
            "SELECT S.CodigoErro, A.Descricao, E.Descricao "
            "FROM tbSituacaoValidacao AS S, TbDescricaoErro AS E, tbTipoArquivos AS A "
            "WHERE S.CodigoErro <> 0 AND S.CodigoErro = E.CodigoErro AND S.TipoArquivo = A.TipoArquivo "
            "ORDER BY S.TipoArquivo"),
            &e)
        || !achados.executar(&e))
        return falha(e);
    while (achados.proximo()) {
        const int codigo = achados.valor(0).toInt();
        const QString descricao = achados.valor(2).toString();
        pendencias << (codigo == 54 || codigo == 55 ? descricao + QStringLiteral(" - Arquivo ")
                                                          + achados.valor(1).toString()
                                                    : descricao);
    }
    if (achados.falhou())
        return falha(achados.erro());

    // 4. File types not imported: the status rows are in type order, so one
    // pointer walks them beside k.
    std::array<int, 9> tipos{};
    for (int n = 0; n < linhas.size() && n < 9; ++n)
        tipos[n] = linhas[n].tipo;
    const bool temTipo2 = presente[2];
    int p = 0;
    for (int k = 1; k <= 9; ++k) {
        const int entrada = p < 9 ? tipos[p] : 0;
        if (entrada != k) {
            const bool semAuxiliar = (k == 7 || k == 9) && !temTipo2;
            const bool semTabela86 = g.gIN != 68 && (k == 4 || k == 5);
            if (!semAuxiliar && !semTabela86)
                pendencias << TextosNaoImportado[k - 1];
        }
        if (entrada == k || entrada == 0)
            ++p;
    }
    return true;
}
