#pragma once
// A small banded report writer. A report is a list of groups (header band,
// detail bands, footer band) under the common page header of the printed
// reports. It is laid out into pages of positioned text items (what tests
// read) and painted with QPainter onto a QPrinter or into a preview.
//
// Units are points (1/72 inch), measured from the top-left corner of the
// printable area (inside the margins).
#include "platform/Moeda.h"

#include <QDateTime>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QFont;
class QPrinter;
class QWidget;

namespace relatorio {

struct Fonte {
    int pontos = 9;
    bool negrito = false;
    bool fixa = false;  // fixed pitch (the dumps of the tracking report)
    bool operator==(const Fonte&) const = default;
};

// The font to paint a Fonte with, sized for the writer's internal scale.
QFont fonteQt(const Fonte& f);
double alturaLinha(const Fonte& f);
double larguraTexto(const Fonte& f, const QString& texto);
// Splits a text into lines no wider than `largura` (breaks at blanks, or
// inside a word longer than a line).
QStringList quebrarLinhas(const Fonte& f, const QString& texto, double largura);

struct Item {
    enum class Tipo { Texto, Linha };
    Tipo tipo = Tipo::Texto;
    QRectF ret;  // a rule line runs along the top edge of its rect
    QString texto;
    Fonte fonte;
    Qt::Alignment alinhamento = Qt::AlignLeft | Qt::AlignVCenter;
    // Labels expand %p (page), %d (date), %t (time), %D (long date); data
    // values are printed as they are.
    bool marcadores = false;
};

struct Pagina {
    int numero = 0;
    QList<Item> itens;
    // The text items, top to bottom and left to right.
    QStringList textos() const;
    // Text items whose text equals `texto`.
    QList<Item> itensCom(const QString& texto) const;
};

// A strip of the page with a height and the items placed in it (y from the
// band's top).
class Banda {
public:
    explicit Banda(Fonte padrao = {}) : m_fonte(padrao) {}

    double altura() const { return m_altura; }
    // Grows or shrinks the band (items keep their places).
    void definirAltura(double a) { m_altura = a; }
    bool vazia() const { return m_itens.isEmpty() && m_altura <= 0; }
    const QList<Item>& itens() const { return m_itens; }
    const Fonte& fonte() const { return m_fonte; }

    // A data value on one line at (x, y), `largura` wide; the band grows to hold it.
    Banda& texto(double x, double y, double largura, const QString& texto,
                 Qt::Alignment alinhamento = Qt::AlignLeft, std::optional<Fonte> fonte = {});
    // A label: like texto(), with %p %d %t %D expanded when laid out.
    Banda& rotulo(double x, double y, double largura, const QString& texto,
                  Qt::Alignment alinhamento = Qt::AlignLeft, std::optional<Fonte> fonte = {});
    // A data value broken into as many lines as it needs, one item per line.
    Banda& textoQuebrado(double x, double y, double largura, const QString& texto,
                         std::optional<Fonte> fonte = {});
    // A horizontal rule line.
    Banda& linha(double x, double y, double largura);
    // Money as "R$ #.##0,00", right-aligned.
    Banda& moeda(double x, double y, double largura, Moeda valor, std::optional<Fonte> fonte = {});

private:
    Banda& adicionar(Item item);
    Fonte m_fonte;
    double m_altura = 0;
    QList<Item> m_itens;
};

struct Grupo {
    Banda cabecalho;
    QList<Banda> detalhes;
    Banda rodape;
    // Starts the group on a new page (one cover sheet per file, say).
    bool novaPagina = false;
    // Prints the header again at the top of every page the group goes on to.
    bool repetirCabecalho = true;
};

struct Relatorio {
    QString titulo;
    // The common page header ("Ministério da Lumeira" ... title, date and
    // time, page number); off for reports whose page header is empty.
    bool cabecalhoComum = true;
    QString rotuloPagina = QStringLiteral("Página:");
    // Further page header content below the common header, and the page footer.
    Banda cabecalhoPagina;
    Banda rodapePagina;
    QList<Grupo> grupos;
    // The print date and time the labels show.
    QDateTime momento = QDateTime::currentDateTime();
};

// Width and height of the printable area of an A4 portrait page in the
// writer's margins.
QSizeF areaA4();
// Width of the printable area, for laying bands out.
inline double larguraUtil() { return areaA4().width(); }

// The common page header band of the printed reports.
Banda cabecalhoComum(const Relatorio& r, double largura = larguraUtil());

// Lays the report out in pages of the given printable size.
QList<Pagina> paginar(const Relatorio& r, const QSizeF& area = areaA4());

// A4 portrait with the writer's margins.
void configurarPagina(QPrinter& impressora);
// Paints pages laid out for the printer; false with the reason in `erro`.
bool pintar(const QList<Pagina>& paginas, QPrinter& impressora, QString& erro);

// Shows the report in a modal preview window (laid out for its printer).
void visualizar(const Relatorio& r, QWidget* pai = nullptr);

enum class Resultado {
    Impresso,
    Cancelado,        // the printer dialog was cancelled
    ErroImpressora,   // no printer, or the printer cannot be used
    Erro,             // any other failure; the text is in `erro`
};

// Shows the printer dialog (starting from the printer set-up's choice) and
// prints every page with no further dialog. The PDF printer writes
// `arquivoPdf` (default: the title + ".pdf" in the user's documents folder,
// or in the folder chosen at the printer set-up). `erro` gets a "cod.erro"
// text on ErroImpressora and Erro.
Resultado imprimir(const Relatorio& r, QString& erro, const QString& arquivoPdf = QString());
// The printer imprimir() uses, before its dialog: the printer set-up's choice
// (the PDF printer writes `arquivoPdf`, default as imprimir() says).
// nullptr with a "cod.erro" text in `erro` when there is no usable printer.
std::unique_ptr<QPrinter> prepararImpressora(const QString& titulo, QString& erro,
                                             const QString& arquivoPdf = QString());
// Prints every page on a printer already chosen, with no dialog.
Resultado imprimirEm(const Relatorio& r, QPrinter& impressora, QString& erro);

// Numbers of the printing errors (as the printed reports' handlers know them).
inline constexpr int ErroImpressoraNaoInstalada = 8555;
inline constexpr int ErroInformacaoImpressora = 484;
inline constexpr int ErroDeImpressao = 482;

// Tests: called with the laid-out pages instead of showing the preview.
void definirGanchoVisualizacao(std::function<void(const QList<Pagina>&)> gancho);
// Tests: called with the laid-out pages of every print, before painting.
void definirObservadorImpressao(std::function<void(const QList<Pagina>&)> observador);

} // namespace relatorio
