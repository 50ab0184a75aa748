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

// Tests: replace the system printers (empty list and no PDF printer when semImpressora).
void simular(const QStringList& sistema, bool semImpressora = false);
void restaurar();

} // namespace impressoras
