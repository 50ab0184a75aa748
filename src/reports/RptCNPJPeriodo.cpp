#include "RptCNPJPeriodo.h"

#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <tuple>

using relatorio::Banda;
using relatorio::Fonte;

namespace {

const Fonte Normal{9, false, false};
const Fonte Forte{9, true, false};

bool mesmoGrupo(const LinhaErroImportacao& a, const LinhaErroImportacao& b)
{
    return std::tie(a.cnpj, a.periodoInicial, a.periodoFinal, a.descricaoTipo)
           == std::tie(b.cnpj, b.periodoInicial, b.periodoFinal, b.descricaoTipo);
}

Banda cabecalhoDoGrupo(const LinhaErroImportacao& l, double largura)
{
    Banda b(Normal);
    const double rotulo = 120;
    const double valor = 100;
    const double passo = relatorio::alturaLinha(Normal) + 2;
    double y = 0;
    b.texto(0, y, rotulo, QStringLiteral("CNPJ                     :"));
    b.texto(valor, y, 200, l.cnpj);
    b.rotulo(largura - 40, y, 40, QStringLiteral("%p"), Qt::AlignRight);
    y += passo;
    b.texto(0, y, rotulo, QStringLiteral("Período                 :"));
    b.texto(valor, y, 52, dataDdMmAaaa(l.periodoInicial));
    b.texto(valor + 54, y, 12, QStringLiteral("a"), Qt::AlignHCenter);
    b.texto(valor + 68, y, 52, dataDdMmAaaa(l.periodoFinal));
    y += passo;
    b.texto(0, y, rotulo, QStringLiteral("Arquivo                 :"));
    b.texto(valor, y, largura - valor, l.descricaoTipo);
    y += passo + 6;
    b.texto(0, y, 75, QStringLiteral("Nº do Registro"), Qt::AlignLeft, Forte);
    b.texto(90, y, largura - 90, QStringLiteral("Descrição do erro"), Qt::AlignLeft, Forte);
    y += relatorio::alturaLinha(Forte) + 1;
    b.linha(0, y, largura);
    b.definirAltura(y + 4);
    return b;
}

Banda detalhe(const LinhaErroImportacao& l, double largura)
{
    Banda b(Normal);
    b.texto(0, 0, 60, QString::number(l.nroRegistro), Qt::AlignRight);
    b.textoQuebrado(90, 0, largura - 90, l.descricaoErro);
    b.definirAltura(b.altura() + 2);
    return b;
}

} // namespace

bool RptCNPJPeriodo::marcarTipoArquivo(db::Conexao& c, qint16 tipoArquivo, db::Erro& erro)
{
    {
        db::Transacao t(c, &erro);
        if (!t.ativa() || !c.executar(QStringLiteral("UPDATE tbDetalheErros SET ativo = 0"), {}, &erro)
            || !t.confirmar(&erro))
            return false;
    }
    db::Transacao t(c, &erro);
    return t.ativa()
           && c.executar(QStringLiteral("UPDATE tbDetalheErros SET ativo = 1 WHERE TipoArquivo = ?"),
                         {tipoArquivo}, &erro)
           && t.confirmar(&erro);
}

bool RptCNPJPeriodo::ler(db::Conexao& c, QList<LinhaErroImportacao>& linhas, db::Erro& erro)
{
    linhas.clear();
    db::Consulta q(c);
    // rowid keeps the errors of one record in the order they were found.
    if (!q.preparar(QStringLiteral("SELECT a.Quebra, a.CNPJ, a.periodoinicial, a.periodofinal, a.NroRegistro, "
                                   "b.Descricao, c.Descricao, a.TipoArquivo "
                                   "FROM tbDetalheErros AS a, TbDescricaoErro AS b, tbTipoArquivos AS c "
                                   "WHERE b.CodigoErro = a.CodigoErro AND a.ativo = 1 "
                                   "AND c.TipoArquivo = a.TipoArquivo "
                                   "ORDER BY a.NroRegistro, a.rowid"),
                    &erro)
        || !q.executar(&erro))
        return false;
    while (q.proximo()) {
        LinhaErroImportacao l;
        l.quebra = q.valor(0).toInt();
        l.cnpj = q.valor(1).toString();
        l.periodoInicial = dataDeIso(q.valor(2).toString());
        l.periodoFinal = dataDeIso(q.valor(3).toString());
        l.nroRegistro = q.valor(4).toLongLong();
        l.descricaoErro = q.valor(5).toString();
        // The type's name in the wording of the declaration's instruction.
        l.descricaoTipo = descricaoTipoArquivo(static_cast<qint16>(q.valor(7).toInt()), geral().gIN);
        if (l.descricaoTipo.isEmpty())
            l.descricaoTipo = q.valor(6).toString();
        linhas << l;
    }
    if (q.falhou()) {
        erro = q.erro();
        linhas.clear();
        return false;
    }
    return true;
}

relatorio::Relatorio RptCNPJPeriodo::montar(const QList<LinhaErroImportacao>& linhas)
{
    relatorio::Relatorio r;
    r.titulo = Titulo;
    r.rotuloPagina = QStringLiteral("Página :");
    const double largura = relatorio::larguraUtil();
    // Groups in the order their first record comes; each keeps record order.
    QList<qsizetype> primeiras;  // index of the first row of each group
    for (qsizetype i = 0; i < linhas.size(); ++i) {
        const LinhaErroImportacao& l = linhas.at(i);
        qsizetype g = 0;
        while (g < primeiras.size() && !mesmoGrupo(linhas.at(primeiras.at(g)), l))
            ++g;
        if (g == primeiras.size()) {
            primeiras << i;
            relatorio::Grupo novo;
            novo.cabecalho = cabecalhoDoGrupo(l, largura);
            r.grupos << novo;
        }
        r.grupos[g].detalhes << detalhe(l, largura);
    }
    return r;
}
