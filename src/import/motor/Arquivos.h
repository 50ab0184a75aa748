#pragma once
// The accepted copy, its layout description (.lay) and the import status row.
#include "Contexto.h"

#include <QByteArray>
#include <QString>

namespace motor {

// gCNPJNumeros-TOBRI-tt-yyyymmddyyyymmdd, of the file type in hand or of `tipo`.
QString nomeBaseAceito();
QString nomeBaseAceito(qint16 tipo);
// Full path of the accepted copy (".txt" for type 6, else ".imp") and of the
// .lay, in the data folder.
QString caminhoCopiaAceita();
QString caminhoLay();
QString caminhoCopiaAceita(qint16 tipo);
QString caminhoLay(qint16 tipo);
// Where the reading loop writes the copy while it reads.
QString caminhoCopiaTemporaria();

// Puts the accepted copy in place: renames the temporary copy written while
// reading (or copies gArquivoOrigem when there is none) over the accepted
// name; Label1 shows "Finalizando procedimentos. Por favor aguarde..."
// meanwhile. `arquivo` gets the copy's path. False with gMsg "... (Importar_Texto)".
bool Importar_Texto(QString& arquivo, Painel* painel = nullptr);
// Writes the .lay of the working layout (gTamanhoARQ + 2 as the record
// length). False with gMsg "... (Importar_leiaute)".
bool Importar_leiaute();
// The bytes of the .lay (Windows-1252, CR LF).
QByteArray textoLeiaute(const Leiaute& l, int tamanhoRegistro);
// Inserts (or updates) the status row of gTipoArquivo: 90 / 777, the three
// counters, the copy's path or " ". False with gMsg "... (GravaImportados)".
bool GravaImportados(const QString& arquivo);

} // namespace motor
