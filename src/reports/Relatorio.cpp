#include "Relatorio.h"

#include "platform/CursorEspera.h"
#include "platform/Dialogos.h"
#include "platform/Impressoras.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>

namespace relatorio {

namespace {

// Fonts are sized and measured ten times larger than the points they stand
// for, so glyph advances are not rounded at small sizes.
constexpr double Escala = 10.0;
const QMarginsF Margens(42.5, 34.0, 42.5, 34.0);  // 15 mm at the sides, 12 mm top and bottom

std::function<void(const QList<Pagina>&)> ganchoVisualizacao;
std::function<void(const QList<Pagina>&)> observadorImpressao;

QSizeF areaDe(const QPrinter& impressora)
{
    return impressora.pageLayout().paintRect(QPageLayout::Point).size();
}

QString expandir(const QString& texto, int pagina, const QDateTime& momento)
{
    if (!texto.contains(u'%'))
        return texto;
    static const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    QString r = texto;
    r.replace(QStringLiteral("%p"), QString::number(pagina));
    r.replace(QStringLiteral("%D"), brasil.toString(momento.date(), QStringLiteral("d' de 'MMMM' de 'yyyy")));
    r.replace(QStringLiteral("%d"), momento.toString(QStringLiteral("dd/MM/yyyy")));
    r.replace(QStringLiteral("%t"), momento.toString(QStringLiteral("HH:mm:ss")));
    return r;
}

class Paginador {
public:
    Paginador(const Relatorio& r, const QSizeF& area)
        : m_r(r)
        , m_area(area)
        , m_comum(r.cabecalhoComum ? cabecalhoComum(r, area.width()) : Banda())
        , m_limite(area.height() - r.rodapePagina.altura())
    {
    }

    void grupo(const Grupo& g)
    {
        if (m_paginas.isEmpty())
            abrir();
        if (g.novaPagina && !corpoVazio())
            quebrar();
        const double primeira = g.detalhes.isEmpty() ? g.rodape.altura() : g.detalhes.first().altura();
        // A header is not left alone at the foot of a page.
        if (!cabe(g.cabecalho.altura() + primeira) && !corpoVazio())
            quebrar();
        colocar(g.cabecalho);
        for (const Banda& d : g.detalhes) {
            if (!cabe(d.altura()) && !corpoVazio()) {
                quebrar();
                if (g.repetirCabecalho)
                    colocar(g.cabecalho);
            }
            colocar(d);
        }
        if (!g.rodape.vazia()) {
            if (!cabe(g.rodape.altura()) && !corpoVazio())
                quebrar();
            colocar(g.rodape);
        }
    }

    QList<Pagina> concluir()
    {
        if (m_paginas.isEmpty())
            abrir();
        fecharPagina();
        return m_paginas;
    }

private:
    void abrir()
    {
        Pagina p;
        p.numero = static_cast<int>(m_paginas.size()) + 1;
        m_paginas << p;
        m_y = 0;
        colocar(m_comum);
        colocar(m_r.cabecalhoPagina);
        m_topoCorpo = m_y;
    }

    void fecharPagina()
    {
        m_y = m_area.height() - m_r.rodapePagina.altura();
        colocar(m_r.rodapePagina);
    }

    void quebrar()
    {
        fecharPagina();
        abrir();
    }

    bool corpoVazio() const { return m_y <= m_topoCorpo; }
    bool cabe(double altura) const { return m_y + altura <= m_limite + 0.01; }

    void colocar(const Banda& b)
    {
        Pagina& p = m_paginas.last();
        for (Item i : b.itens()) {
            i.ret.translate(0, m_y);
            if (i.marcadores)
                i.texto = expandir(i.texto, p.numero, m_r.momento);
            p.itens << i;
        }
        m_y += b.altura();
    }

    const Relatorio& m_r;
    QSizeF m_area;
    Banda m_comum;
    double m_limite;
    double m_y = 0;
    double m_topoCorpo = 0;
    QList<Pagina> m_paginas;
};

QString arquivoPdfPadrao(const QString& titulo)
{
    QString nome = titulo.trimmed();
    for (QChar& c : nome)
        if (c == u'/' || c == u'\\' || c == u':')
            c = u'-';
    if (nome.isEmpty())
        nome = QStringLiteral("Relatório");
    return caminhoEm(impressoras::pastaPdf(), nome + QStringLiteral(".pdf"));
}

} // namespace

QFont fonteQt(const Fonte& f)
{
    QFont q(f.fixa ? QStringLiteral("Courier New") : QStringLiteral("Arial"));
    q.setStyleHint(f.fixa ? QFont::TypeWriter : QFont::SansSerif);
    q.setFixedPitch(f.fixa);
    q.setPixelSize(static_cast<int>(f.pontos * Escala));
    q.setBold(f.negrito);
    q.setHintingPreference(QFont::PreferNoHinting);
    return q;
}

double alturaLinha(const Fonte& f)
{
    return QFontMetricsF(fonteQt(f)).lineSpacing() / Escala;
}

double larguraTexto(const Fonte& f, const QString& texto)
{
    return QFontMetricsF(fonteQt(f)).horizontalAdvance(texto) / Escala;
}

QStringList quebrarLinhas(const Fonte& f, const QString& texto, double largura)
{
    const QFontMetricsF m(fonteQt(f));
    const double limite = largura * Escala;
    auto cabe = [&](const QString& s) { return m.horizontalAdvance(s) <= limite; };
    QStringList linhas;
    QString atual;
    for (const QString& palavra : texto.split(u' ', Qt::SkipEmptyParts)) {
        const QString tentativa = atual.isEmpty() ? palavra : atual + u' ' + palavra;
        if (cabe(tentativa)) {
            atual = tentativa;
            continue;
        }
        if (!atual.isEmpty())
            linhas << atual;
        atual = palavra;
        // A word longer than a line is cut where it must be.
        while (!cabe(atual) && atual.size() > 1) {
            qsizetype n = atual.size() - 1;
            while (n > 1 && !cabe(atual.left(n)))
                --n;
            linhas << atual.left(n);
            atual = atual.mid(n);
        }
    }
    if (!atual.isEmpty() || linhas.isEmpty())
        linhas << atual;
    return linhas;
}

QStringList Pagina::textos() const
{
    QList<Item> ordem;
    for (const Item& i : itens)
        if (i.tipo == Item::Tipo::Texto)
            ordem << i;
    std::stable_sort(ordem.begin(), ordem.end(), [](const Item& a, const Item& b) {
        if (qAbs(a.ret.top() - b.ret.top()) > 0.5)
            return a.ret.top() < b.ret.top();
        return a.ret.left() < b.ret.left();
    });
    QStringList r;
    for (const Item& i : ordem)
        r << i.texto;
    return r;
}

QList<Item> Pagina::itensCom(const QString& texto) const
{
    QList<Item> r;
    for (const Item& i : itens)
        if (i.tipo == Item::Tipo::Texto && i.texto == texto)
            r << i;
    return r;
}

Banda& Banda::adicionar(Item item)
{
    m_altura = std::max(m_altura, item.ret.bottom());
    m_itens << std::move(item);
    return *this;
}

Banda& Banda::texto(double x, double y, double largura, const QString& texto, Qt::Alignment alinhamento,
                    std::optional<Fonte> fonte)
{
    Item i;
    i.fonte = fonte.value_or(m_fonte);
    i.ret = QRectF(x, y, largura, alturaLinha(i.fonte));
    i.texto = texto;
    i.alinhamento = (alinhamento & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    return adicionar(std::move(i));
}

Banda& Banda::rotulo(double x, double y, double largura, const QString& t, Qt::Alignment alinhamento,
                     std::optional<Fonte> fonte)
{
    texto(x, y, largura, t, alinhamento, fonte);
    m_itens.last().marcadores = true;
    return *this;
}

Banda& Banda::textoQuebrado(double x, double y, double largura, const QString& t, std::optional<Fonte> fonte)
{
    const Fonte f = fonte.value_or(m_fonte);
    const double passo = alturaLinha(f);
    // A little slack: the printer's glyph advances may differ slightly from the screen's.
    const QStringList linhas = quebrarLinhas(f, t, largura * 0.97);
    for (qsizetype n = 0; n < linhas.size(); ++n)
        texto(x, y + passo * static_cast<double>(n), largura, linhas.at(n), Qt::AlignLeft, f);
    return *this;
}

Banda& Banda::linha(double x, double y, double largura)
{
    Item i;
    i.tipo = Item::Tipo::Linha;
    i.ret = QRectF(x, y, largura, 0);
    return adicionar(std::move(i));
}

Banda& Banda::moeda(double x, double y, double largura, Moeda valor, std::optional<Fonte> fonte)
{
    return texto(x, y, largura, valor.textoReais(), Qt::AlignRight, fonte);
}

QSizeF areaA4()
{
    const QPageLayout l(QPageSize(QPageSize::A4), QPageLayout::Portrait, Margens, QPageLayout::Point);
    return l.paintRect(QPageLayout::Point).size();
}

Banda cabecalhoComum(const Relatorio& r, double largura)
{
    const Fonte normal{9, false, false};
    const Fonte forte{10, true, false};
    const Fonte titulo{12, true, false};
    Banda b(normal);
    const double esquerda = largura * 0.65;
    const double direita = largura - esquerda;
    double y = 0;
    b.texto(0, y, esquerda, QStringLiteral("Ministério da Lumeira"), Qt::AlignLeft, forte);
    b.rotulo(esquerda, y, direita, QStringLiteral("%d %t"), Qt::AlignRight);
    y += alturaLinha(forte) + 1;
    b.texto(0, y, esquerda, QStringLiteral("Secretaria da Orvane do Brasil"));
    b.rotulo(esquerda, y, direita, r.rotuloPagina + QStringLiteral(" %p"), Qt::AlignRight);
    y += alturaLinha(normal) + 1;
    b.texto(0, y, esquerda, QStringLiteral("TOBRI  -  Arquivos Contábeis"));
    y += alturaLinha(normal) + 6;
    b.texto(0, y, largura, r.titulo, Qt::AlignHCenter, titulo);
    y += alturaLinha(titulo) + 4;
    b.linha(0, y, largura);
    b.definirAltura(y + 8);
    return b;
}

QList<Pagina> paginar(const Relatorio& r, const QSizeF& area)
{
    Paginador p(r, area);
    for (const Grupo& g : r.grupos)
        p.grupo(g);
    return p.concluir();
}

void configurarPagina(QPrinter& impressora)
{
    impressora.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, Margens, QPageLayout::Point));
}

bool pintar(const QList<Pagina>& paginas, QPrinter& impressora, QString& erro)
{
    QPainter p;
    if (!p.begin(&impressora)) {
        erro = impressora.outputFormat() == QPrinter::PdfFormat
                   ? QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(impressora.outputFileName())
                   : QStringLiteral("Não foi possível imprimir em \"%1\".").arg(impressora.printerName());
        return false;
    }
    const double escala = impressora.resolution() / 72.0 / Escala;
    QPen caneta(Qt::black);
    caneta.setWidthF(0.6 * Escala);
    for (qsizetype n = 0; n < paginas.size(); ++n) {
        if (n > 0 && !impressora.newPage()) {
            erro = QStringLiteral("Não foi possível iniciar a página %1.").arg(n + 1);
            p.end();
            return false;
        }
        p.save();
        p.scale(escala, escala);
        p.setPen(caneta);
        for (const Item& i : paginas.at(n).itens) {
            const QRectF ret(i.ret.x() * Escala, i.ret.y() * Escala, i.ret.width() * Escala,
                             i.ret.height() * Escala);
            if (i.tipo == Item::Tipo::Linha) {
                p.drawLine(ret.topLeft(), ret.topRight());
                continue;
            }
            p.setFont(fonteQt(i.fonte));
            p.drawText(ret, static_cast<int>(i.alinhamento) | Qt::TextSingleLine, i.texto);
        }
        p.restore();
    }
    if (!p.end()) {
        erro = QStringLiteral("A impressão não foi concluída.");
        return false;
    }
    return true;
}

void visualizar(const Relatorio& r, QWidget* pai)
{
    if (ganchoVisualizacao) {
        ganchoVisualizacao(paginar(r));
        return;
    }
    // The preview's print button prints as the printer set-up says.
    std::unique_ptr<QPrinter> impressora = impressoras::criarConfigurada(arquivoPdfPadrao(r.titulo));
    configurarPagina(*impressora);
    impressoras::aplicarConfiguracao(*impressora);
    impressora->setDocName(r.titulo);
    QPrintPreviewDialog d(impressora.get(), pai);
    d.setWindowTitle(r.titulo);
    QObject::connect(&d, &QPrintPreviewDialog::paintRequested, &d, [&r](QPrinter* alvo) {
        QString erro;
        if (!pintar(paginar(r, areaDe(*alvo)), *alvo, erro))
            dlg::MsgBox(textoErro(ErroDeImpressao, erro), dlg::Icone::Critico);
    });
    d.resize(900, 700);
    d.exec();
}

std::unique_ptr<QPrinter> prepararImpressora(const QString& titulo, QString& erro, const QString& arquivoPdf)
{
    if (!impressoras::haImpressora()) {
        erro = textoErro(ErroImpressoraNaoInstalada, QStringLiteral("Nenhuma impressora instalada."));
        return nullptr;
    }
    const QString pdf = arquivoPdf.isEmpty() ? arquivoPdfPadrao(titulo) : arquivoPdf;
    std::unique_ptr<QPrinter> impressora = impressoras::criarConfigurada(pdf);
    configurarPagina(*impressora);
    impressoras::aplicarConfiguracao(*impressora);
    impressora->setDocName(titulo);
    if (!impressora->isValid()) {
        erro = textoErro(ErroInformacaoImpressora,
                         QStringLiteral("Não foi possível obter as informações da impressora \"%1\".")
                             .arg(impressora->printerName()));
        return nullptr;
    }
    return impressora;
}

Resultado imprimirEm(const Relatorio& r, QPrinter& impressora, QString& erro)
{
    CursorEspera espera;
    const QList<Pagina> paginas = paginar(r, areaDe(impressora));
    if (observadorImpressao)
        observadorImpressao(paginas);
    QString motivo;
    if (!pintar(paginas, impressora, motivo)) {
        erro = textoErro(ErroDeImpressao, motivo);
        return Resultado::Erro;
    }
    return Resultado::Impresso;
}

Resultado imprimir(const Relatorio& r, QString& erro, const QString& arquivoPdf)
{
    std::unique_ptr<QPrinter> impressora = prepararImpressora(r.titulo, erro, arquivoPdf);
    if (!impressora)
        return Resultado::ErroImpressora;
    if (!dlg::dialogos().dialogoImpressora(*impressora))
        return Resultado::Cancelado;
    return imprimirEm(r, *impressora, erro);
}

void definirGanchoVisualizacao(std::function<void(const QList<Pagina>&)> gancho)
{
    ganchoVisualizacao = std::move(gancho);
}

void definirObservadorImpressao(std::function<void(const QList<Pagina>&)> observador)
{
    observadorImpressao = std::move(observador);
}

} // namespace relatorio
