// Balance record tests (types 8 and 9) and their writers.
#include "Consultas.h"
#include "Critica.h"
#include "Gravadores.h"
#include "Leitura.h"
#include "Tabelas.h"

#include "platform/Cp1252.h"

namespace motor {

namespace {

// The four amounts of the record in hand, for the writer.
struct Valores {
    Moeda saldoIni, debitos, creditos, saldoFin;
};

// Amount field n: `codigo` when not digits. An amount that did not convert
// counts as zero for its indicator.
bool testarValor(Contexto& ctx, Registro& r, int n, qint16 codigo, Moeda& valor)
{
    valor = Moeda();
    const QByteArrayView f = ctx.campo(r, n);
    if (!SoNumeros(f))
        return ctx.erro(r, codigo);
    const std::optional<Moeda> v = valorMoeda(f, ctx.leiaute.campo(n)->decimais);
    if (!v)
        return ctx.falhar(textoErroEstouro());
    valor = *v;
    return true;
}

// Indicator field n: `codigo` when neither D nor C (either case, trailing
// blanks ignored), or blank beside a non-zero amount.
bool testarIndicador(Contexto& ctx, Registro& r, int n, qint16 codigo, Moeda valor)
{
    const QByteArrayView f = ctx.campo(r, n);
    if (branco(f))
        return valor.zero() || ctx.erro(r, codigo);
    const QByteArrayView t = semBrancosFinais(f);
    const char c = t.size() == 1 ? maiuscula(t[0]) : '\0';
    return c == 'C' || c == 'D' || ctx.erro(r, codigo);
}

bool testarSaldo(Contexto& ctx, Registro& r, Valores& v)
{
    const Geral& g = ctx.g;
    const QByteArrayView data = ctx.campo(r, 1);
    bool dataValida = false;
    if (branco(data) || data == QByteArrayView("00000000")) {
        if (!ctx.erro(r, 14))
            return false;
    } else if (temNul(data)) {
        Contexto::trocarNulNoCampo(r, data);
        if (!ctx.erro(r, 49))
            return false;
    } else {
        const QDate d = dataDeCampo(data);
        dataValida = d.isValid();
        if (!dataValida) {
            if (!ctx.erro(r, 13))
                return false;
        } else if ((d < g.gPeriodoInicial || d > g.gPeriodoFinal) && !ctx.erro(r, 15)) {
            return false;
        }
    }

    // No duplicate or chart test for a record without a valid date.
    const QByteArrayView conta = ctx.campo(r, 2);
    if (branco(conta)) {
        if (!ctx.erro(r, 16))
            return false;
    } else if (temNul(conta)) {
        Contexto::trocarNulNoCampo(r, conta);
        if (!ctx.erro(r, 49))
            return false;
    } else if (dataValida) {
        // Month and year of the balance date: one balance per account and month.
        bool achou = false;
        if (!Verifica_Importados(ctx, achou, cortar(data, 3, 6), conta))
            return false;
        if (achou) {
            if (!ctx.erro(r, 25))
                return false;
        } else {
            char tipo = ' ';
            if (!Verifica_Integridade(ctx, achou, conta, g.gTipoArquivo == 8, tipo))
                return false;
            if (!achou && !ctx.erro(r, tipo == 'S' ? 18 : 17))
                return false;
        }
    }

    return testarValor(ctx, r, 3, 19, v.saldoIni) && testarIndicador(ctx, r, 4, 20, v.saldoIni)
        && testarValor(ctx, r, 5, 21, v.debitos) && testarValor(ctx, r, 6, 22, v.creditos)
        && testarValor(ctx, r, 7, 23, v.saldoFin) && testarIndicador(ctx, r, 8, 24, v.saldoFin);
}

bool gravarSaldo(Contexto& ctx, Registro& r, const Valores& v)
{
    const auto gravar = ctx.g.gIN == 68 ? fun_Grava68Saldos : fun_Grava86Saldos;
    return gravar(ctx, ctx.campo(r, 1), ctx.campo(r, 2), v.saldoIni, ctx.campo(r, 4), v.debitos, v.creditos,
                  v.saldoFin, ctx.campo(r, 8));
}

// An indicator stored upper-cased. The usual one-letter ASCII field is
// upper-cased in `buf` with no allocation; anything else goes the long way.
Valor indicador(QByteArrayView f, char (&buf)[8])
{
    if (f.size() > qsizetype(sizeof buf))
        return Valor::maiusculo(f);
    for (qsizetype i = 0; i < f.size(); ++i) {
        if (static_cast<unsigned char>(f[i]) >= 0x80)
            return Valor::maiusculo(f);
        buf[i] = maiuscula(f[i]);
    }
    return Valor(QByteArrayView(buf, f.size()));
}

bool gravarSaldos(Contexto& c, const QString& proc, QByteArrayView data, QByteArrayView conta, Moeda saldoIni,
                  QByteArrayView indIni, Moeda debitos, Moeda creditos, Moeda saldoFin, QByteArrayView indFin)
{
    const Geral& g = c.g;
    const int tipo = g.gTipoArquivo;
    if (tipo != 8 && tipo != 9)
        return c.falhar(textoErro(db::ErroGeral, QStringLiteral("Tipo de arquivo sem tabela para gravação."), proc));
    // A row whose key is stored already is skipped, without an error.
    bool gravado = false;
    if (!c.consultas().saldoGravado(data, conta, gravado))
        return false;
    if (gravado)
        return true;
    const InsercoesDeclaracao& s = insercoes(g);
    char ini[8];
    char fin[8];
    if (!c.gravador().inserir(s.sqlSaldos[tipo],
                              {static_cast<qint64>(g.gIN), QByteArrayView(s.textoCnpj), QByteArrayView(s.textoInicio),
                               QByteArrayView(s.textoFim), data, conta, saldoIni, indicador(indIni, ini), debitos,
                               creditos, saldoFin, indicador(indFin, fin)},
                              proc))
        return false;
    return c.consultas().registrarGravado(tipo, data, conta, c.gravador().ultimaLinha());
}

// The chart lookup of a balance is three dependent loads (slot, entry, key
// bytes) and its duplicate count one more: each is asked for a record or
// more before its test, behind the database work of the records between.
void anteciparSaldos(Contexto& ctx, const Registro& r, QByteArrayView adiante)
{
    Consultas& q = ctx.consultas();
    const bool geral = ctx.g.gTipoArquivo == 8;
    for (int k = 0; k < 3; ++k) {
        const QByteArrayView linha = linhaAdiante(adiante, r, k);
        if (linha.isEmpty())
            return;
        const QByteArrayView conta = ctx.campoDaLinha(linha, 2);
        q.anteciparConta(geral, conta, 2 - k);
        if (k == 0)
            q.anteciparGravado(ctx.g.gTipoArquivo, ctx.campoDaLinha(linha, 1), conta);
    }
}

} // namespace

bool fun_validaSaldos(Contexto& ctx)
{
    if (!iniciarTeste(ctx))
        return false;
    OpcoesLeitura op;
    op.mostrarContagem = true;
    Valores v;
    return lerArquivo(ctx, op,
                      TesteArquivo{[&v](Contexto& c, Registro& r) { return testarSaldo(c, r, v); },
                                   [&v](Contexto& c, Registro& r) { return gravarSaldo(c, r, v); },
                                   anteciparSaldos});
}

bool fun_Grava68Saldos(Contexto& c, QByteArrayView data, QByteArrayView conta, Moeda saldoIni, QByteArrayView indIni,
                       Moeda debitos, Moeda creditos, Moeda saldoFin, QByteArrayView indFin)
{
    static const QString proc = QStringLiteral("fun_Grava68Saldos");
    return gravarSaldos(c, proc, data, conta, saldoIni, indIni, debitos, creditos, saldoFin, indFin);
}

bool fun_Grava86Saldos(Contexto& c, QByteArrayView data, QByteArrayView conta, Moeda saldoIni, QByteArrayView indIni,
                       Moeda debitos, Moeda creditos, Moeda saldoFin, QByteArrayView indFin)
{
    static const QString proc = QStringLiteral("fun_Grava86Saldos");
    return gravarSaldos(c, proc, data, conta, saldoIni, indIni, debitos, creditos, saldoFin, indFin);
}

} // namespace motor
