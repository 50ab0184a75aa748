// Journal-entry record tests (types 6 and 7). No entry is stored per record:
// the general journal is reloaded later from its accepted copy, and of the
// auxiliary journal only the sum of its values is kept.
#include "Consultas.h"
#include "Critica.h"
#include "Leitura.h"
#include "Tabelas.h"

namespace motor {

namespace {

const QString Proc86 = QStringLiteral("fun_validaLancamentos86");

// The run-time error text of the test; the instruction-86 test names itself
// right after the description.
QString textoFalha(const Contexto& ctx, const QString& texto)
{
    return ctx.g.gIN == 68 ? texto : texto + u'(' + Proc86 + u')';
}

// A "D" or "C", either case, trailing blanks ignored.
bool indicadorDC(QByteArrayView f)
{
    const QByteArrayView t = semBrancosFinais(f);
    if (t.size() != 1)
        return false;
    const char c = maiuscula(t[0]);
    return c == 'C' || c == 'D';
}

bool soZeros(QByteArrayView f)
{
    for (char ch : f)
        if (ch != '0')
            return false;
    return true;
}

// Field 1: 26 blank or zeros, 27 not a date, 28 outside the period (both
// ends inside).
bool testarData(Contexto& ctx, Registro& r)
{
    const QByteArrayView f = ctx.campo(r, 1);
    if (branco(f) || f == QByteArrayView("00000000"))
        return ctx.erro(r, 26);
    const QDate d = dataDeCampo(f);
    if (!d.isValid())
        return ctx.erro(r, 27);
    if (d < ctx.g.gPeriodoInicial || d > ctx.g.gPeriodoFinal)
        return ctx.erro(r, 28);
    return true;
}

// Value field n: 34 blank, 33 not digits, 34 zero; otherwise converted and,
// for an auxiliary journal, added to the total whether or not the record
// turns out good.
bool testarValor(Contexto& ctx, Registro& r, int n)
{
    const QByteArrayView f = ctx.campo(r, n);
    if (branco(f))
        return ctx.erro(r, 34);
    if (!SoNumeros(f))
        return ctx.erro(r, 33);
    if (soZeros(f))
        return ctx.erro(r, 34);
    const std::optional<Moeda> v = valorMoeda(f, ctx.leiaute.campo(n)->decimais);
    if (!v || (ctx.g.gTipoArquivo == 7 && !ctx.g.gTotalLancamentosAux.somar(*v)))
        return ctx.falhar(textoFalha(ctx, textoErroEstouro()));
    return true;
}

// Indicator field n: 35 blank, 36 anything but D or C.
bool testarIndicador(Contexto& ctx, Registro& r, int n)
{
    const QByteArrayView f = ctx.campo(r, n);
    if (branco(f))
        return ctx.erro(r, 35);
    if (!indicadorDC(f))
        return ctx.erro(r, 36);
    return true;
}

// A field that holds a NUL: 49, and its NULs become blanks. `tinha` tells.
bool testarNul(Contexto& ctx, Registro& r, QByteArrayView f, bool& tinha)
{
    tinha = temNul(f);
    if (!tinha)
        return true;
    Contexto::trocarNulNoCampo(r, f);
    return ctx.erro(r, 49);
}

// Counterpart: the general journal's in the general chart; the auxiliary
// journal's in the auxiliary chart, then in the general one. tipo ends 'S'
// when the general chart holds it only with another type (86).
bool buscarContrapartida(Contexto& ctx, QByteArrayView conta, bool& achou, char& tipo)
{
    if (ctx.g.gTipoArquivo == 7) {
        if (!Verifica_IntegridadeContrapartida(ctx, achou, conta, false, tipo))
            return false;
        if (achou)
            return true;
    }
    return Verifica_IntegridadeContrapartida(ctx, achou, conta, true, tipo);
}

// Counterpart field n, tested only when filled: 49 for a NUL, else
// `naoAchou` when no chart holds it, `outroTipo` when the general chart holds
// it but not as analytic (86).
bool testarContrapartida(Contexto& ctx, Registro& r, int n, qint16 naoAchou, qint16 outroTipo)
{
    const QByteArrayView f = ctx.campo(r, n);
    if (branco(f))
        return true;
    bool nul = false;
    if (!testarNul(ctx, r, f, nul))
        return false;
    if (nul)
        return true;
    bool achou = false;
    char tipo = 'A';
    if (!buscarContrapartida(ctx, f, achou, tipo))
        return false;
    if (!achou)
        return ctx.erro(r, tipo == 'S' ? outroTipo : naoAchou);
    return true;
}

using Busca = bool (*)(Contexto&, bool&, QByteArrayView);

// A code that must be on file: `naoAchou` when the lookup does not find it.
bool exigirCadastro(Contexto& ctx, Registro& r, Busca busca, QByteArrayView f, qint16 naoAchou)
{
    bool achou = false;
    if (!busca(ctx, achou, f))
        return false;
    return achou || ctx.erro(r, naoAchou);
}

// The entry's account: 30 blank, 49 for a NUL. `conferir` tells whether it
// goes on to be looked up.
bool testarConta(Contexto& ctx, Registro& r, QByteArrayView conta, bool& conferir)
{
    conferir = false;
    if (branco(conta))
        return ctx.erro(r, 30);
    bool nul = false;
    if (!testarNul(ctx, r, conta, nul))
        return false;
    conferir = !nul;
    return true;
}

// Cost centre field n, tested only when filled: 49 for a NUL, else
// `naoAchou` when it is not on file.
bool testarCusto(Contexto& ctx, Registro& r, int n, qint16 naoAchou)
{
    const QByteArrayView f = ctx.campo(r, n);
    if (branco(f))
        return true;
    bool nul = false;
    if (!testarNul(ctx, r, f, nul))
        return false;
    return nul || exigirCadastro(ctx, r, Verifica_IntegrCusto, f, naoAchou);
}

bool testar68(Contexto& ctx, Registro& r)
{
    if (!testarData(ctx, r))
        return false;

    // The entry's own account is not looked up under this instruction.
    bool conferir = false;
    if (!testarConta(ctx, r, ctx.campo(r, 2), conferir))
        return false;

    if (!testarValor(ctx, r, 3) || !testarIndicador(ctx, r, 4))
        return false;
    if (!testarContrapartida(ctx, r, 5, 37, 37) || !testarCusto(ctx, r, 7, 39))
        return false;

    const QByteArrayView despesa = ctx.campo(r, 8);
    if (!branco(despesa) && !exigirCadastro(ctx, r, Verifica_IntegrDespesa, despesa, 40))
        return false;

    // Looked up as every code: leading blanks kept, trailing ones ignored.
    const QByteArrayView historico = semBrancosFinais(ctx.campo(r, 9));
    if (!historico.isEmpty() && !exigirCadastro(ctx, r, Verifica_IntegrHist, historico, 42))
        return false;
    if (historico.isEmpty() && branco(ctx.campo(r, 10)) && !ctx.erro(r, 43))
        return false;
    return true;
}

bool testar86(Contexto& ctx, Registro& r)
{
    if (!testarData(ctx, r))
        return false;

    // General journal: an analytic account of the general chart; auxiliary
    // journal: an account of the auxiliary chart.
    const QByteArrayView conta = ctx.campo(r, 2);
    bool conferir = false;
    if (!testarConta(ctx, r, conta, conferir))
        return false;
    if (conferir) {
        bool achou = false;
        char tipo = ' ';
        if (!Verifica_Integridade(ctx, achou, conta, ctx.g.gTipoArquivo == 6, tipo))
            return false;
        if (!achou && !ctx.erro(r, tipo == 'S' ? 32 : 31))
            return false;
    }

    if (!testarCusto(ctx, r, 3, 41) || !testarContrapartida(ctx, r, 4, 37, 38))
        return false;
    if (!testarValor(ctx, r, 5) || !testarIndicador(ctx, r, 6))
        return false;

    const QByteArrayView historico = ctx.campo(r, 9);
    if ((branco(historico) || temNul(historico)) && !ctx.erro(r, 44))
        return false;
    return true;
}

// The auxiliary journal's single row: the sum of the values read. Written
// only after a normal end or the stop at 100 records with errors.
bool gravarTotalAuxiliar(Contexto& ctx)
{
    Geral& g = ctx.g;
    const QString tabela = nomeTabela(TabLancAux);
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    const bool ok = t.ativa() && g.gConn->executar(QStringLiteral("DELETE FROM %1").arg(tabela), {}, &e)
        && g.gConn->executar(QStringLiteral("INSERT INTO %1 (Valor) VALUES (?)").arg(tabela),
                             {static_cast<qlonglong>(g.gTotalLancamentosAux.unidades())}, &e)
        && t.confirmar(&e);
    if (ok)
        return true;
    t.desfazer();
    ctx.fim = Contexto::Fim::Falha;
    return ctx.falhar(textoFalha(ctx, textoErro(e)));
}

bool validarLancamentos(Contexto& ctx, bool in68)
{
    ctx.g.gTotalLancamentosAux = Moeda();
    if (!iniciarTeste(ctx))
        return false;
    OpcoesLeitura op;
    op.mostrarContagem = in68;
    if (!lerArquivo(ctx, op, TesteArquivo{in68 ? testar68 : testar86, {}, {}}))
        return false;
    return ctx.g.gTipoArquivo != 7 || gravarTotalAuxiliar(ctx);
}

} // namespace

bool fun_validaLancamentos68(Contexto& ctx)
{
    return validarLancamentos(ctx, true);
}

bool fun_validaLancamentos86(Contexto& ctx)
{
    return validarLancamentos(ctx, false);
}

} // namespace motor
