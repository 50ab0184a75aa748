#pragma once
// The accepted copy, its layout description (.lay) and the import status row.
#include "Contexto.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
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

// Digests (digesto::Fluxo) of the accepted copy and of its .lay, taken in
// the pass that writes each; kept with the status row (DigestoCopia,
// DigestoLay of tbImportados). Empty: unknown.
struct DigestosAceitos {
    QString copia;
    QString lay;
};

// Puts the accepted copy in place: renames the temporary copy written while
// reading (or copies gArquivoOrigem when there is none) over the accepted
// name; Label1 shows "Finalizando procedimentos. Por favor aguarde..."
// meanwhile. `arquivo` gets the copy's path. False with gMsg "... (Importar_Texto)".
// With `digestos`, its `copia` is the digest of the temporary copy (empty:
// unknown, so the source is copied again) and becomes that of the copy put
// in place.
bool Importar_Texto(QString& arquivo, Painel* painel = nullptr, DigestosAceitos* digestos = nullptr);
// Writes the .lay of the working layout (gTamanhoARQ + 2 as the record
// length); with `digestos`, sets its `lay`. False with gMsg "... (Importar_leiaute)".
bool Importar_leiaute(DigestosAceitos* digestos = nullptr);
// The bytes of the .lay (Windows-1252, CR LF).
QByteArray textoLeiaute(const Leiaute& l, int tamanhoRegistro);

// A field line of a .lay.
struct CampoLay {
    QByteArray nome;   // short name, blanks trimmed
    int posicao = 0;   // 1-based
    int largura = 0;
    int decimais = 0;
    // Its numbers read and the field inside the record.
    bool legivel = false;
};
// What a .lay describes.
struct DescricaoLay {
    int tamanhoRegistro = 0;   // RECORD_LENGTH: CR LF included
    QList<CampoLay> campos;    // in the .lay's order
    // The first field named `nome`; nullptr with `erro` set when there is
    // none or it is not legivel.
    const CampoLay* campo(QByteArrayView nome, QString& erro) const;
};
// Reads the bytes of a .lay. False with `erro` set when they are empty or
// their first line does not give the record length.
bool lerLay(QByteArrayView bytes, DescricaoLay& lay, QString& erro);
// Inserts the status row of gTipoArquivo (the run's reset removed the old
// one): 90 / 777, the three counters, the copy's path or " " and the digests
// (null when empty). False with gMsg "... (GravaImportados)".
bool GravaImportados(const QString& arquivo, const DigestosAceitos& digestos);

} // namespace motor
