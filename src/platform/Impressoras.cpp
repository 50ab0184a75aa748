#include "Impressoras.h"

#include "Pastas.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <optional>

namespace impressoras {

namespace {
std::optional<QStringList> simuladas;
bool nenhuma = false;

struct Configuracao {
    QString nome;
    QString pastaPdf;
    int copias = 1;
    bool agrupar = true;
    QPrinter::ColorMode cor = QPrinter::Color;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    QPageSize pagina;
    QPageLayout::Orientation orientacao = QPageLayout::Portrait;
};
std::optional<Configuracao> configuracao;
} // namespace

QStringList lista()
{
    if (nenhuma)
        return {};
    QStringList r = simuladas ? *simuladas : QPrinterInfo::availablePrinterNames();
    r << NomePdf;
    return r;
}

bool haImpressora()
{
    return !lista().isEmpty();
}

QString padrao()
{
    if (nenhuma)
        return {};
    if (!simuladas) {
        const QString d = QPrinterInfo::defaultPrinterName();
        if (!d.isEmpty())
            return d;
    } else if (!simuladas->isEmpty()) {
        return simuladas->first();
    }
    return NomePdf;
}

std::unique_ptr<QPrinter> criar(const QString& nome, const QString& arquivoPdf)
{
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (nome == NomePdf || nome.isEmpty()) {
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(arquivoPdf);
    } else {
        p->setPrinterName(nome);
    }
    return p;
}

void guardarConfiguracao(const QPrinter& escolhida)
{
    Configuracao c;
    const bool pdf = escolhida.outputFormat() == QPrinter::PdfFormat;
    c.nome = pdf ? NomePdf : escolhida.printerName();
    if (pdf && !escolhida.outputFileName().isEmpty())
        c.pastaPdf = QFileInfo(escolhida.outputFileName()).absolutePath();
    else if (configuracao)
        c.pastaPdf = configuracao->pastaPdf;
    c.copias = escolhida.copyCount();
    c.agrupar = escolhida.collateCopies();
    c.cor = escolhida.colorMode();
    c.duplex = escolhida.duplex();
    c.pagina = escolhida.pageLayout().pageSize();
    c.orientacao = escolhida.pageLayout().orientation();
    configuracao = c;
}

bool configurada()
{
    return configuracao.has_value();
}

QString pastaPdf()
{
    if (configuracao && !configuracao->pastaPdf.isEmpty() && QFileInfo(configuracao->pastaPdf).isDir())
        return configuracao->pastaPdf;
    return pastaDocumentos();
}

void aplicarConfiguracao(QPrinter& impressora)
{
    if (!configuracao)
        return;
    impressora.setCopyCount(configuracao->copias);
    impressora.setCollateCopies(configuracao->agrupar);
    impressora.setColorMode(configuracao->cor);
    impressora.setDuplex(configuracao->duplex);
    if (configuracao->pagina.isValid())
        impressora.setPageSize(configuracao->pagina);
    impressora.setPageOrientation(configuracao->orientacao);
}

std::unique_ptr<QPrinter> criarConfigurada(const QString& arquivoPdf)
{
    // A printer chosen at set-up that has gone since gives way to the default.
    QString nome = padrao();
    if (configuracao && lista().contains(configuracao->nome))
        nome = configuracao->nome;
    auto p = criar(nome, arquivoPdf);
    aplicarConfiguracao(*p);
    return p;
}

void simular(const QStringList& sistema, bool semImpressora)
{
    simuladas = sistema;
    nenhuma = semImpressora;
}

void restaurar()
{
    simuladas.reset();
    nenhuma = false;
    configuracao.reset();
}

} // namespace impressoras
