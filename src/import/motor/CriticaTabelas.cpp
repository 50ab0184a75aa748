// Dispatch of the record tests, and the chart and code-table tests.
#include "Consultas.h"
#include "Critica.h"
#include "Gravadores.h"
#include "Leitura.h"
#include "Tabelas.h"

#include <QSet>

namespace motor {

bool iniciarTeste(Contexto& ctx, bool preparar)
{
    if (!LER_LeiauteDIG(ctx))
        return false;
    ctx.g.gRegLidos = ctx.g.gRegCorretos = ctx.g.gRegErros = 0;
    if (!fun_Criar_Tabela(ctx))
        return false;
    return !preparar || PreparaConsultas(ctx);
}

bool func_validacao(Painel& painel)
{
    Contexto ctx(painel);
    return func_validacao(ctx);
}

namespace {

bool testeDoTipo(Contexto& ctx)
{
    Geral& g = ctx.g;
    ctx.maximoBarra = maximoBarra(tamanhoArquivo(g.gArquivoOrigem), g.gTamanhoARQ);
    ctx.valorBarra = 0;
    ctx.painel.iniciarBarra(ctx.maximoBarra);
    const bool in68 = g.gIN == 68;
    switch (g.gTipoArquivo) {
    case 1:
        return in68 ? fun_validaTabelasCodigo(ctx) : ValidaPlanoContas86(ctx);
    case 2:
    case 3:
    case 4:
    case 5:
        return fun_validaTabelasCodigo(ctx);
    case 6:
    case 7:
        return in68 ? fun_validaLancamentos68(ctx) : fun_validaLancamentos86(ctx);
    case 8:
    case 9:
        return fun_validaSaldos(ctx);
    default:
        ctx.fim = Contexto::Fim::Normal;
        return true;
    }
}

} // namespace

bool func_validacao(Contexto& ctx)
{
    if (testeDoTipo(ctx))
        return criarIndicesAdiados(ctx);
    // The table gets its indexes whatever stopped the test; the stop's own
    // text (or its silence) is what the run reports.
    const QString msg = ctx.g.gMsg;
    criarIndicesAdiados(ctx);
    ctx.g.gMsg = msg;
    return false;
}

namespace {

// The head of a field that must be filled: `vazio` when blank, else 49 when
// it holds a NUL (its NULs become blanks). `seguir` tells whether the field
// goes on to its own tests.
bool testarPreenchido(Contexto& ctx, Registro& r, QByteArrayView f, qint16 vazio, bool& seguir)
{
    seguir = false;
    if (branco(f))
        return ctx.erro(r, vazio);
    if (temNul(f)) {
        Contexto::trocarNulNoCampo(r, f);
        return ctx.erro(r, 49);
    }
    seguir = true;
    return true;
}

// The table code of the record: digits naming the table of the file type
// (leading zeros allowed), 1 for both charts.
bool tabelaAceita(QByteArrayView f, int tabelaEsperada)
{
    if (!SoNumeros(f))
        return false;
    qsizetype zeros = 0;
    while (zeros < f.size() - 1 && f[zeros] == '0')
        ++zeros;
    const QByteArrayView d = f.sliced(zeros);
    const int n = d.size() == 1 ? d[0] - '0' : -1;
    return (n == 1 || n == 3 || n == 4 || n == 5) && n == tabelaEsperada;
}

// Looks the totalizing account up, then records 48 when `propria` (the
// account totals into itself), 10 when it is not on file, 11 when it is there
// with the wrong type.
bool testarTotalizadora(Contexto& ctx, Registro& r, QByteArrayView tot, bool propria)
{
    bool achou = false;
    bool tipoErrado = false;
    if (!Verifica_Totalizadora(ctx, achou, tot, tipoErrado))
        return false;
    if (propria && !ctx.erro(r, 48))
        return false;
    if (!achou)
        return ctx.erro(r, 10);
    return !tipoErrado || ctx.erro(r, 11);
}

// Field tests of fun_validaTabelasCodigo, by codsequ, in layout order.
bool testarTabelaCodigo(Contexto& ctx, Registro& r)
{
    const int tipo = ctx.g.gTipoArquivo;
    const int tabelaEsperada = (tipo == 1 || tipo == 2) ? 1 : tipo;
    const QByteArrayView data = ctx.campoCodsequ(r, 1);
    for (const CampoLeiaute& campo : std::as_const(ctx.leiaute.todos)) {
        QByteArrayView f = cortar(r.linha(), campo.posicao, campo.tamanho);
        bool seguir = false;
        switch (campo.codsequ) {
        case 1:
            if (!Fun_consiste_data(f) && !ctx.erro(r, 27))
                return false;
            break;
        case 2:
            if (!testarPreenchido(ctx, r, f, 3, seguir))
                return false;
            if (seguir && !tabelaAceita(f, tabelaEsperada) && !ctx.erro(r, 4))
                return false;
            break;
        case 3:
        case 4:
            if (!testarPreenchido(ctx, r, f, 5, seguir))
                return false;
            if (seguir && Fun_consiste_data(data)) {
                bool achou = false;
                if (!Verifica_Importados(ctx, achou, data, f))
                    return false;
                if (achou && !ctx.erro(r, 12))
                    return false;
            }
            break;
        case 5:
            if (!testarPreenchido(ctx, r, f, 7, seguir))
                return false;
            if (seguir) {
                const QByteArrayView t = semBrancosFinais(f);
                const char c = t.size() == 1 ? maiuscula(t[0]) : '\0';
                const bool aceito = tipo == 2 ? c == 'A' : (c == 'S' || c == 'A');
                if (!aceito && !ctx.erro(r, 8))
                    return false;
            }
            break;
        case 6: {
            if (temNul(f)) {
                Contexto::trocarNulNoCampo(r, f);
                if (!ctx.erro(r, 49))
                    return false;
            }
            const QByteArrayView t = semBrancosFinais(ctx.campoCodsequ(r, 5));
            const char tipoConta = t.size() == 1 ? maiuscula(t[0]) : '\0';
            if (tipoConta == 'A' && branco(f)) {
                if (!ctx.erro(r, 9))
                    return false;
            } else if (tipoConta == 'A' || (tipoConta == 'S' && !branco(f))) {
                const bool propria = tipoConta == 'A' && igualCodigo(ctx.campoCodsequ(r, 3), f);
                if (!testarTotalizadora(ctx, r, f, propria))
                    return false;
            }
            break;
        }
        case 7:
            // Fields after the description are not tested.
            return testarPreenchido(ctx, r, f, 6, seguir);
        default:
            break;
        }
    }
    return true;
}

bool gravarTabelaCodigo(Contexto& ctx, Registro& r)
{
    const int tipo = ctx.g.gTipoArquivo;
    const QByteArrayView codigo = ctx.campoCodsequ(r, tipo <= 2 ? 3 : 4);
    if (ctx.g.gIN == 68)
        return fun_Grava68TabelasCodigo(ctx, ctx.campoCodsequ(r, 1), ctx.campoCodsequ(r, 2), codigo,
                                        ctx.campoCodsequ(r, 7));
    return fun_Grava86TabelasCodigo(ctx, ctx.campoCodsequ(r, 1), codigo, ctx.campoCodsequ(r, 5),
                                    ctx.campoCodsequ(r, 6), ctx.campoCodsequ(r, 7));
}

} // namespace

bool fun_validaTabelasCodigo(Contexto& ctx)
{
    if (!iniciarTeste(ctx, false))
        return false;
    OpcoesLeitura op;
    op.crLfAntesDoTamanho = true;
    if (!lerArquivo(ctx, op, TesteArquivo{testarTabelaCodigo, gravarTabelaCodigo, {}}))
        return false;
    if (ctx.g.gRegErros > 0)
        return esvaziarTabela(ctx, baseTabela(ctx.g.gTipoArquivo));
    return true;
}

namespace {

// ValidaPlanoContas86 cuts by layout position: 1 update date, 2 account,
// 3 account type, 4 totalizing account, 5 description.
bool primeiraPassagem(Contexto& ctx, Registro& r)
{
    if (temNul(r.linha())) {
        trocarNul(r.dados, r.guardado);
        if (!ctx.erro(r, 49))
            return false;
    }
    const QByteArrayView data = ctx.campo(r, 1);
    if (branco(data) || data == QByteArrayView("00000000")) {
        if (!ctx.erro(r, 2))
            return false;
    } else if (!Fun_consiste_data(data)) {
        if (!ctx.erro(r, 1))
            return false;
    } else {
        // Every record with a valid date is stored, so that a totalizing
        // account defined later in the file is found by the second pass.
        return fun_Grava86TabelasCodigo(ctx, data, ctx.campo(r, 2), ctx.campo(r, 3), ctx.campo(r, 4),
                                        ctx.campo(r, 5));
    }
    return true;
}

bool segundaPassagem(Contexto& ctx, Registro& r, const QSet<qint64>& ruins)
{
    trocarNul(r.dados, r.guardado);
    if (ruins.contains(static_cast<qint64>(ctx.g.gRegLidos)))
        r.bom = false;   // already failed the first pass
    const QByteArrayView data = ctx.campo(r, 1);
    const QByteArrayView conta = ctx.campo(r, 2);
    const QByteArrayView t = semBrancosFinais(ctx.campo(r, 3));
    const char tipo = t.size() == 1 ? maiuscula(t[0]) : (t.isEmpty() ? ' ' : '\0');
    const QByteArrayView tot = ctx.campo(r, 4);
    if (branco(conta)) {
        if (!ctx.erro(r, 5))
            return false;
    } else if (Fun_consiste_data(data)) {
        bool repetida = false;
        if (!haImportadosAlemDe(ctx, repetida, data, conta, 1))
            return false;
        if (repetida && !ctx.erro(r, 12))
            return false;
    }
    if (branco(t)) {
        if (!ctx.erro(r, 7))
            return false;
    } else if (tipo != 'S' && tipo != 'A') {
        if (!ctx.erro(r, 8))
            return false;
    }
    if (tipo == 'A' || (tipo == 'S' && !branco(tot))) {
        if (tipo == 'A' && branco(tot)) {
            if (!ctx.erro(r, 9))
                return false;
        } else if (igualCodigo(tot, conta)) {
            if (!ctx.erro(r, 48))
                return false;
        } else if (!testarTotalizadora(ctx, r, tot, false)) {
            return false;
        }
    }
    if (branco(ctx.campo(r, 5)) && !ctx.erro(r, 6))
        return false;
    if (r.temCrLf && !ctx.erro(r, 49))
        return false;
    return true;
}

// In a chart that is not in code order each record's lookups are cache
// misses: asked for a few records ahead, behind the database work of the
// records between. First pass: the slots its stored code takes.
void anteciparPrimeira(Contexto& ctx, const Registro& r, QByteArrayView adiante)
{
    const QByteArrayView linha = linhaAdiante(adiante, r, 1);
    if (linha.isEmpty())
        return;
    Consultas& q = ctx.consultas();
    q.anteciparGravado(1, ctx.campoDaLinha(linha, 1), ctx.campoDaLinha(linha, 2));
    q.anteciparTotalizadora(ctx.campoDaLinha(linha, 2), 0);
}

// Second pass: the totalizing account's slot, entry and key bytes.
void anteciparSegunda(Contexto& ctx, const Registro& r, QByteArrayView adiante)
{
    for (int k = 0; k < 3; ++k) {
        const QByteArrayView linha = linhaAdiante(adiante, r, k);
        if (linha.isEmpty())
            return;
        ctx.consultas().anteciparTotalizadora(ctx.campoDaLinha(linha, 4), 2 - k);
    }
}

} // namespace

bool ValidaPlanoContas86(Contexto& ctx)
{
    if (!iniciarTeste(ctx) || !ctx.consultas().prepararTotalizadoras())
        return false;
    // Each record is stored once at most: the duplicate counts need room for
    // the file's records, not for the bar's two passes.
    ctx.consultas().reservarGravados(ctx.maximoBarra);
    ctx.maximoBarra *= 2;
    ctx.painel.iniciarBarra(ctx.maximoBarra);

    // First pass: store every record with a valid date. Records that earn a
    // code here stay bad for the file.
    QSet<qint64> ruins;
    OpcoesLeitura op;
    op.testarCrLf = false;
    op.gravarCopia = false;
    const auto marcar = [&ruins](Contexto& c, Registro& r) {
        const bool ok = primeiraPassagem(c, r);
        if (!r.bom)
            ruins.insert(static_cast<qint64>(c.g.gRegLidos));
        return ok;
    };
    if (!lerArquivo(ctx, op, TesteArquivo{marcar, {}, anteciparPrimeira}))
        return false;
    if (ctx.g.gRegErros < LimiteErros) {
        // Second pass: the tests, against the whole chart as stored.
        op.gravarCopia = true;
        const auto testar = [&ruins](Contexto& c, Registro& r) { return segundaPassagem(c, r, ruins); };
        if (!lerArquivo(ctx, op, TesteArquivo{testar, {}, anteciparSegunda}))
            return false;
    }
    if (ctx.g.gRegErros > 0)
        return esvaziarTabela(ctx, TabPlanoGeral);
    return true;
}

} // namespace motor
