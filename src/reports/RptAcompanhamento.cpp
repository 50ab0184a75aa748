#include "RptAcompanhamento.h"

using relatorio::Banda;
using relatorio::Fonte;

namespace {

const Fonte Normal{9, false, true};
const Fonte Forte{9, true, true};
const Fonte Dump{10, false, true};

// The cover sheet fills a page of its own; the lines start on the next one.
Banda folhaDeRosto(const FolhaAcompanhamento& f, const QString& versao, const QSizeF& area)
{
    Banda b(Normal);
    const double largura = area.width();
    const double passo = relatorio::alturaLinha(Normal) + 3;
    const double coluna = relatorio::larguraTexto(Normal, QStringLiteral("Conteúdo do Arquivo (*): "));
    double y = 0;
    auto par = [&](const QString& rotulo, const QString& valor, bool marcadores = false) {
        b.texto(0, y, coluna, rotulo, Qt::AlignLeft, Forte);
        if (marcadores)
            b.rotulo(coluna, y, largura - coluna, valor);
        else
            b.texto(coluna, y, largura - coluna, valor);
        y += passo;
    };
    auto linha = [&](const QString& texto, double x = 0, std::optional<Fonte> fonte = {}) {
        b.texto(x, y, largura - x, texto, Qt::AlignLeft, fonte);
        y += passo;
    };
    par(QStringLiteral("CNPJ:"), f.cnpj);
    par(QStringLiteral("Nome Empresarial:"), f.nome);
    par(QStringLiteral("Nome do Arquivo:"), f.nomeArquivo);
    par(QStringLiteral("Data da Geração:"), QStringLiteral("%d"), true);
    par(QStringLiteral("Conteúdo do Arquivo (*):"), f.descricao);
    y += passo;

    linha(QStringLiteral("MEIO FÍSICO DE ENTREGA:"), 0, Forte);
    for (const char* m : {"( _ ) CD", "( _ ) Disquete", "( _ ) Conexão em rede local (LAN)",
                          "( _ ) Transmissão Direta",
                          "( _ ) ______________________ (outro meio físico aceito pela autoridade requisitante)"})
        linha(QString::fromUtf8(m), 20);
    y += passo;

    const auto contagem = [&](const QString& rotulo, const QString& valor = QString()) {
        const double w = relatorio::larguraTexto(Normal, rotulo);
        b.texto(0, y, w + 2, rotulo);
        if (!valor.isEmpty())
            b.texto(w, y, largura - w, valor);
        y += passo;
    };
    contagem(QStringLiteral("DUMP DOS 30 PRIMEIROS REGISTROS ... : _______    (quantidade de páginas)"));
    contagem(QStringLiteral("DUMP DOS 30 ÚLTIMOS REGISTROS ..... : _______    (quantidade de páginas)"));
    contagem(QStringLiteral("DESCRIÇÃO DETALHADA DO ARQUIVO .... : _______    (quantidade de páginas)"));
    contagem(QStringLiteral("QUANTIDADE DE VOLUMES ............. : ____"));
    contagem(QStringLiteral("QUANTIDADE DE REGISTROS ........... : "), QString::number(f.qtdRegistros));
    contagem(QStringLiteral("TAMANHO DO ARQUIVO (EM BYTES) (**)  : "), QString::number(f.tamanho));
    contagem(QStringLiteral("OUTROS PARÂMETROS (***) ........... :"));
    y += passo * 2;

    const QString virgula = QStringLiteral("                              ,");
    const double wv = relatorio::larguraTexto(Normal, virgula + u' ');
    b.rotulo(0, y, wv, virgula);
    b.rotulo(wv, y, largura - wv, QStringLiteral("%D"));
    y += passo;
    b.linha(0, y, wv + 150);
    linha(QStringLiteral("Local"), wv / 2);
    y += passo;

    for (const char* titulo :
         {"Contribuinte/responsável ou preposto:", "Responsável técnico pela geração do arquivo:"}) {
        linha(QString::fromUtf8(titulo), 0, Forte);
        for (const char* campo : {"NOME:", "ASSINATURA:", "CPF:", "TELEFONE:", "FAX:", "E-MAIL:"})
            linha(QString::fromLatin1(campo), 20);
        y += passo;
    }

    // A footnote too wide for the page goes on under its text, past the
    // marker. Fixed pitch: counted in characters of about 0.6 em.
    const auto colunas = static_cast<qsizetype>(largura / (Normal.pontos * 0.61));
    const auto nota = [&](const QString& marcador, const QString& texto) {
        QString resto = marcador + texto;
        while (resto.size() > colunas) {
            qsizetype corte = resto.lastIndexOf(u' ', colunas);
            if (corte <= marcador.size())
                corte = colunas;
            linha(resto.left(corte));
            resto = QString(marcador.size(), u' ') + resto.mid(corte).trimmed();
        }
        linha(resto);
    };
    b.linha(0, y, largura);
    y += 4;
    nota(QStringLiteral("(*)   "),
         QStringLiteral("Denominação de acordo com o item 4 ou descrição sucinta do conteúdo do arquivo."));
    nota(QStringLiteral("(**)  "),
         QStringLiteral("Se compactado, informar o tamanho do arquivo resultante da compactação."));
    nota(QStringLiteral("(***) "), QStringLiteral("Parâmetros técnicos necessários à leitura do arquivo, quando "
                                                  "entregue em outros meios físicos."));
    y += passo;
    b.texto(0, y, largura, versao, Qt::AlignRight);
    b.definirAltura(std::max(y + passo, area.height()));
    return b;
}

// One dump line, cut into pieces of LarguraLinha characters.
Banda detalhe(const QString& texto)
{
    Banda b(Dump);
    const double altura = relatorio::alturaLinha(Dump);
    const double largura = relatorio::larguraTexto(Dump, QString(RptAcompanhamento::LarguraLinha + 1, u'0'));
    double y = 0;
    qsizetype i = 0;
    do {
        b.texto(0, y, largura, texto.mid(i, RptAcompanhamento::LarguraLinha));
        y += altura;
        i += RptAcompanhamento::LarguraLinha;
    } while (i < texto.size());
    b.definirAltura(y);
    return b;
}

} // namespace

QString RptAcompanhamento::textoVersao(int maior, int menor, int revisao)
{
    return QStringLiteral("Versão: ") + QString::number(maior) + u'.' + QString::number(menor)
        + QString::number(revisao);
}

relatorio::Relatorio RptAcompanhamento::montar(const QList<FolhaAcompanhamento>& folhas, const QString& versao)
{
    relatorio::Relatorio r;
    r.titulo = Titulo;
    r.cabecalhoComum = false;
    const QSizeF area = relatorio::areaA4();
    for (const FolhaAcompanhamento& f : folhas) {
        relatorio::Grupo g;
        g.novaPagina = true;
        g.repetirCabecalho = false;
        g.cabecalho = folhaDeRosto(f, versao, area);
        for (const QString& l : f.linhas)
            g.detalhes << detalhe(l);
        r.grupos << g;
    }
    return r;
}
