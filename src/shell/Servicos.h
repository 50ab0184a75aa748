#pragma once
// Shared bookkeeping services of the import and validation runs, the CNPJ
// check digits, free disk space and the file type names.
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>

// How a table keeps the period columns of the key: ISO dates (status,
// register, link and tracking rows) or ddmmyyyy text (working layout rows).
enum class PeriodoComo { Iso, Ddmmaaaa };
// The declaration in hand as the tables key it: INarquivo, CNPJ (masked),
// periodoinicial and periodofinal, the values to bind to the condition
// below, in its order.
QVariantList chaveDeclaracao(PeriodoComo periodo = PeriodoComo::Iso);
// "INarquivo = ? AND CNPJ = ? AND periodoinicial = ? AND periodofinal = ?",
// each column qualified by `tabela` when one is given (an alias in a join).
QString condicaoDeclaracao(const QString& tabela = QString());
// " WHERE " and that condition.
QString filtroDeclaracao();

// Every write below runs in a short transaction of its own, or inside the
// caller's when one is open on gConn.

// Records one occurrence of an import error code for the file type and the
// record in hand (detail row and per-code count). On a failure to record the
// count it shows the error, unloads gFormAtivo and returns false: the run
// must stop. A failed detail row is shown and the run goes on (true).
bool Grava_erro(qint16 codigoErro);
// Writes the detail row; false with gMsg set on failure.
bool GravaDetalhe(qint16 codigoErro);
// Reads the count row of a code for gTipoArquivo.
bool Fun_LerQuantidadeErro(bool& achou, qint32& qtd, qint16 codigoErro);
// Sets the status of one file type (tipo an integer) or of every file of the
// declaration (tipo an empty QVariant / empty text); with 100 also ArquivoGerado.
bool fun_GravaImportados(qint16 situacao, const QVariant& tipo, const QString& arquivoGerado);
// Name of the file type in hand (gTipoArquivo) in the instruction's wording.
QString Fun_DescricaoTipoArquivo();
QString descricaoTipoArquivo(qint16 tipo, qint16 in);

// True when both check digits of the 14-digit CNPJ are right.
bool Fun_ValidaCNPJ(const QString& cnpj);
// True when the volume of the folder has at least `bytes` free.
bool Fun_VerificaEspacoDisco(int64_t bytes, const QString& pasta);
// Tests: replaces the free-space measure of Fun_VerificaEspacoDisco;
// nullptr restores espacoLivre().
using MedidorEspaco = std::function<int64_t(const QString& pasta)>;
void definirMedidorEspaco(MedidorEspaco m);
