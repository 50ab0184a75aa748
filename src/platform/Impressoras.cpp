#include "Impressoras.h"

#include <QPrinter>
#include <QPrinterInfo>

#include <optional>

namespace impressoras {

namespace {
std::optional<QStringList> simuladas;
bool nenhuma = false;
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

void simular(const QStringList& sistema, bool semImpressora)
{
    simuladas = sistema;
    nenhuma = semImpressora;
}

void restaurar()
{
    simuladas.reset();
    nenhuma = false;
}

} // namespace impressoras
