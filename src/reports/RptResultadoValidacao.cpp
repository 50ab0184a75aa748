#include "RptResultadoValidacao.h"

#include "shell/Geral.h"

#include <QHash>

#include <algorithm>

using relatorio::Banda;
using relatorio::Fonte;

namespace {

const Fonte Normal{9, false, false};
const Fonte Forte{9, true, false};

enum class Forma { Totais, SaldoFinal, SaldoInicial, LancamentosSaldos };

struct Definicao {
    QString nome;
    QString titulo;
    QString documento;
    Forma forma;
    // Tipo of the balance tables (1 general, 2 auxiliary) or IndDC of the
    // entries against balances.
    QVariant filtro;
    QStringList cabecalhos;
};

Forma formaDe(RelatorioValidacao r)
{
    switch (r) {
    case RelatorioValidacao::RptLancamentosAcumulado:
        return Forma::Totais;
    case RelatorioValidacao::RptsaldoFinalGeral:
    case RelatorioValidacao::rptSaldoFinalAuxliar:
        return Forma::SaldoFinal;
    case RelatorioValidacao::RptsaldoInicialGeral:
    case RelatorioValidacao::RptSaldoInicialAuxiliar:
        return Forma::SaldoInicial;
    case RelatorioValidacao::rptLancSaldosDebito:
    case RelatorioValidacao::rptLancSaldosCredito:
        break;
    }
    return Forma::LancamentosSaldos;
}

Definicao definicao(RelatorioValidacao r)
{
    const QStringList saldoFinal{QStringLiteral("Mês"),         QStringLiteral("Ano"),
                                 QStringLiteral("Conta"),       QStringLiteral("Saldo Final"),
                                 QStringLiteral("Saldo Final Calculado"), QStringLiteral("Diferença")};
    const QStringList saldoInicial{QStringLiteral("Mês"),       QStringLiteral("Ano"),
                                   QStringLiteral("Conta"),     QStringLiteral("Diferença"),
                                   QStringLiteral("Saldo Final Anterior"), QStringLiteral("Saldo Inicial")};
    auto lancamentos = [](const QString& natureza) {
        return QStringList{QStringLiteral("Mês"), QStringLiteral("Ano"), QStringLiteral("Conta"),
                           QStringLiteral("Total de %1  Lançamentos").arg(natureza),
                           QStringLiteral("Total de %1 Saldos").arg(natureza), QStringLiteral("Diferença")};
    };
    const Forma forma = formaDe(r);
    switch (r) {
    case RelatorioValidacao::RptLancamentosAcumulado:
        return {QStringLiteral("RptLancamentosAcumulado"),
                QStringLiteral("Resultado  da Validação Lançamento Diário Geral"),
                QStringLiteral("Relação de validação de Acumulados de débitos e Créditos"), forma, 1,
                {QStringLiteral("Total Débitos"), QStringLiteral("Total Créditos"), QStringLiteral("Diferença")}};
    case RelatorioValidacao::RptsaldoFinalGeral:
        return {QStringLiteral("RptsaldoFinalGeral"), QStringLiteral("Resultado  da Validação do Saldo Final Geral"),
                QStringLiteral("Relação dos Saldos Finais"), forma, 1, saldoFinal};
    case RelatorioValidacao::rptSaldoFinalAuxliar:
        return {QStringLiteral("rptSaldoFinalAuxliar"),
                QStringLiteral("Resultado  da Validação do Saldo Final Auxiliar"),
                QStringLiteral("Relação de Saldos Finais Auxiliar"), forma, 2, saldoFinal};
    case RelatorioValidacao::RptsaldoInicialGeral:
        return {QStringLiteral("RptsaldoInicialGeral"),
                QStringLiteral("Resultado  da Validação do Saldo Inicial Geral"),
                QStringLiteral("Relação do Saldo Inicial Geral"), forma, 1, saldoInicial};
    case RelatorioValidacao::RptSaldoInicialAuxiliar:
        return {QStringLiteral("RptSaldoInicialAuxiliar"),
                QStringLiteral("Resultado  da Validação do Saldo Inicial Auxiliar"),
                QStringLiteral("Relação do Saldo Inicial Auxiliar"), forma, 2, saldoInicial};
    case RelatorioValidacao::rptLancSaldosDebito:
        return {QStringLiteral("rptLancSaldosDebito"),
                QStringLiteral("Resultado da Validação LançamentosXSaldos - Débitos"),
                QStringLiteral("Relação do lançamentos e Saldos Débito"), forma, QStringLiteral("D"),
                lancamentos(QStringLiteral("Débitos"))};
    case RelatorioValidacao::rptLancSaldosCredito:
        break;
    }
    return {QStringLiteral("rptLancSaldosCredito"),
            QStringLiteral("Resultado da Validação LançamentosXSaldos - Créditos"),
            QStringLiteral("Relação do lançamentos e Saldos Crédito"), forma, QStringLiteral("C"),
            lancamentos(QStringLiteral("Créditos"))};
}

// The rows of the report's table: page group, CNPJ, period, month, year,
// account and the three amounts in print order. rowid keeps the order in
// which the validation wrote them.
QString consulta(Forma f)
{
    switch (f) {
    case Forma::Totais:
        return QStringLiteral("SELECT quebra, CNPJ, periodoinicial, periodofinal, '', '', '', "
                              "TotalDebitos, TotalCreditos, Diferenca "
                              "FROM tbLancamentosAcumulados WHERE Tipo = ? ORDER BY rowid");
    case Forma::SaldoFinal:
        return QStringLiteral("SELECT quebra, CNPJ, periodoinicial, periodofinal, Mes, Ano, Conta, "
                              "SaldoFinal, Saldofinalcalc, Diferenca "
                              "FROM tbSaldoFinal WHERE Tipo = ? ORDER BY rowid");
    case Forma::SaldoInicial:
        return QStringLiteral("SELECT quebra, CNPJ, periodoinicial, periodofinal, Mes, Ano, Conta, "
                              "Diferenca, SaldofinalAnt, SaldoInicial "
                              "FROM tbSaldoInicial WHERE Tipo = ? ORDER BY rowid");
    case Forma::LancamentosSaldos:
        break;
    }
    return QStringLiteral("SELECT Quebra, CNPJ, periodoinicial, periodofinal, Mes, Ano, CodConta, "
                          "TotalLancamentos, TotalCredDeb, Diferenca "
                          "FROM tbLancamentoXsaldo WHERE IndDC = ? ORDER BY rowid");
}

QString chaveDoGrupo(const LinhaResultadoValidacao& l)
{
    return QStringLiteral("%1|%2|%3|%4").arg(l.quebra).arg(l.cnpj, dataIso(l.periodoInicial), dataIso(l.periodoFinal));
}

// Left edge and width of each detail column.
struct Coluna {
    double x;
    double largura;
};

QList<Coluna> colunas(Forma f, double largura)
{
    if (f == Forma::Totais) {
        const double w = largura / 3;
        return {{0, w - 10}, {w, w - 10}, {2 * w, w - 10}};
    }
    const double valor = (largura - 214) / 3;
    return {{0, 26}, {30, 34}, {70, 140}, {214, valor - 6}, {214 + valor, valor - 6}, {214 + 2 * valor, valor - 6}};
}

// Text columns are left-aligned; amounts to the right.
bool ehValor(Forma f, qsizetype coluna)
{
    return f == Forma::Totais || coluna >= 3;
}

Banda cabecalhoDoGrupo(const Definicao& d, const LinhaResultadoValidacao& l, double largura)
{
    Banda b(Normal);
    const double rotulo = 60;
    const double passo = relatorio::alturaLinha(Normal) + 2;
    // Some room between one group's last line and the next group.
    double y = 6;
    b.texto(0, y, rotulo, QStringLiteral("CNPJ     :"));
    b.texto(rotulo, y, 200, l.cnpj);
    if (d.forma != Forma::Totais)
        b.texto(largura - 60, y, 60, QString::number(l.quebra), Qt::AlignRight);
    y += passo;
    b.texto(0, y, rotulo, QStringLiteral("Período :"));
    b.texto(rotulo, y, 52, dataDdMmAaaa(l.periodoInicial));
    b.texto(rotulo + 54, y, 12, QStringLiteral("a"), Qt::AlignHCenter);
    b.texto(rotulo + 68, y, 52, dataDdMmAaaa(l.periodoFinal));
    y += passo + 6;
    // Long headings go on two lines, each aligned as its column.
    const QList<Coluna> cols = colunas(d.forma, largura);
    double baixo = y;
    for (qsizetype c = 0; c < cols.size(); ++c) {
        const QStringList linhas = relatorio::quebrarLinhas(Forte, d.cabecalhos.at(c), cols.at(c).largura);
        const Qt::Alignment a = ehValor(d.forma, c) ? Qt::AlignRight : Qt::AlignLeft;
        double yl = y;
        for (const QString& t : linhas) {
            b.texto(cols.at(c).x, yl, cols.at(c).largura, t, a, Forte);
            yl += relatorio::alturaLinha(Forte);
        }
        baixo = std::max(baixo, yl);
    }
    y = baixo + 1;
    b.linha(0, y, largura);
    b.definirAltura(y + 4);
    return b;
}

Banda detalhe(const Definicao& d, const LinhaResultadoValidacao& l, double largura)
{
    Banda b(Normal);
    const QList<Coluna> cols = colunas(d.forma, largura);
    qsizetype c = 0;
    if (d.forma != Forma::Totais) {
        b.texto(cols.at(0).x, 0, cols.at(0).largura, l.mes);
        b.texto(cols.at(1).x, 0, cols.at(1).largura, l.ano);
        b.texto(cols.at(2).x, 0, cols.at(2).largura, l.conta);
        c = 3;
    }
    for (const Moeda& v : l.valores) {
        b.moeda(cols.at(c).x, 0, cols.at(c).largura, v);
        ++c;
    }
    b.definirAltura(b.altura() + 2);
    return b;
}

} // namespace

QString RptResultadoValidacao::nome(RelatorioValidacao r)
{
    return definicao(r).nome;
}

QString RptResultadoValidacao::titulo(RelatorioValidacao r)
{
    return definicao(r).titulo;
}

QString RptResultadoValidacao::documento(RelatorioValidacao r)
{
    return definicao(r).documento;
}

QStringList RptResultadoValidacao::cabecalhos(RelatorioValidacao r)
{
    return definicao(r).cabecalhos;
}

bool RptResultadoValidacao::ler(RelatorioValidacao r, db::Conexao& c, QList<LinhaResultadoValidacao>& linhas,
                                db::Erro& erro)
{
    linhas.clear();
    const Definicao d = definicao(r);
    db::Consulta q(c);
    if (!q.preparar(consulta(d.forma), &erro) || !q.executar({d.filtro}, &erro))
        return false;
    while (q.proximo()) {
        LinhaResultadoValidacao l;
        l.quebra = q.valor(0).toInt();
        l.cnpj = q.valor(1).toString();
        l.periodoInicial = dataDeIso(q.valor(2).toString());
        l.periodoFinal = dataDeIso(q.valor(3).toString());
        l.mes = q.valor(4).toString();
        l.ano = q.valor(5).toString();
        l.conta = q.valor(6).toString();
        for (int v = 0; v < 3; ++v)
            l.valores[v] = Moeda::deUnidades(q.valor(7 + v).toLongLong());
        linhas << l;
    }
    if (q.falhou()) {
        erro = q.erro();
        return false;
    }
    return true;
}

relatorio::Relatorio RptResultadoValidacao::montar(RelatorioValidacao r, const QList<LinhaResultadoValidacao>& linhas)
{
    const Definicao d = definicao(r);
    relatorio::Relatorio rel;
    rel.titulo = d.titulo;
    const double largura = relatorio::larguraUtil();
    QHash<QString, qsizetype> grupos;  // group key -> index in rel.grupos
    for (const LinhaResultadoValidacao& l : linhas) {
        const QString chave = chaveDoGrupo(l);
        auto it = grupos.constFind(chave);
        if (it == grupos.constEnd()) {
            relatorio::Grupo novo;
            novo.cabecalho = cabecalhoDoGrupo(d, l, largura);
            rel.grupos << novo;
            it = grupos.insert(chave, rel.grupos.size() - 1);
        }
        rel.grupos[*it].detalhes << detalhe(d, l, largura);
    }
    return rel;
}
