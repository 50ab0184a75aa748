#pragma once
// The printers: the system's plus a PDF-file printer that is always present.
#include <QString>
#include <QStringList>
#include <memory>

class QPrinter;

namespace impressoras {

inline const QString NomePdf = QStringLiteral("Arquivo PDF");

QStringList lista();
bool haImpressora();
// A printer for a name of the list (the PDF printer writes to arquivoPdf).
std::unique_ptr<QPrinter> criar(const QString& nome, const QString& arquivoPdf = QString());
// The printer to use by default: the system default, else the PDF printer.
QString padrao();

// The printer set-up: what the user chose there (printer, copies, colour,
// two-sided printing, paper, orientation, the folder of the PDF printer's
// files) is what the reports print with until the next set-up.
void guardarConfiguracao(const QPrinter& escolhida);
bool configurada();
// A printer as the set-up left it (else the default printer); the PDF
// printer writes arquivoPdf.
std::unique_ptr<QPrinter> criarConfigurada(const QString& arquivoPdf);
// Applies the set-up's options (not the printer) to a printer.
void aplicarConfiguracao(QPrinter& impressora);
// Folder of the PDF printer's files: the one chosen at set-up, else the
// user's documents folder.
QString pastaPdf();

// Tests: replace the system printers (empty list and no PDF printer when semImpressora).
void simular(const QStringList& sistema, bool semImpressora = false);
// Tests: back to the system's printers, forgetting the set-up.
void restaurar();

} // namespace impressoras
