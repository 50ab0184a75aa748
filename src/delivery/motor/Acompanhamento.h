#pragma once
// The tracking report's data, without widgets: its precondition, the work
// table tbAcompanhamento (layout lines and record dumps of every delivered
// file) and the sheets read back from it.
#include "reports/RptAcompanhamento.h"

#include <QList>
#include <QString>

namespace entrega {

inline const QString MsgAcompanhamento =
    QStringLiteral("Imprimir Relatório de Acompanhamento após gravação dos arquivos.");
inline const QString MsgSemArquivosGravados = QStringLiteral("Não foram encontrados arquivos gravados.");
inline const QString CabecalhoLeiaute = QStringLiteral("Nome do Campo  Tipo      Pos Tam Decimais/Formato");
inline const QString TituloPrimeiros = QStringLiteral("Dump dos primeiros registros");
inline const QString TituloUltimos = QStringLiteral("Dump dos 30 últimos registros");

// The report's precondition: types 1, 6, 8 (and 7, 9 when 2 is) recorded (100).
bool Verifica_ImportadosAcompanhamento(QString& mensagem);

// Empties tbAcompanhamento and fills it from the files recorded (status 100)
// that still exist, in one transaction; `linhas` gets the rows written. A file
// that cannot be read stops the work. False with gMsg "... (Fun_GerarRelatorio)".
bool preencherAcompanhamento(qint64& linhas);
// The sheets of the work table, one per file type in type order; the company
// name is given (it lives in the register).
bool lerAcompanhamento(const QString& nome, QList<FolhaAcompanhamento>& folhas);
// Empties the work table after printing.
bool esvaziarAcompanhamento();

} // namespace entrega
