#pragma once
// The delivery set of one declaration in a destination folder. The
// identifier file is the set's manifest: a recording writes every new file
// under a temporary name (".gravando"), moves the earlier identifier and then
// the earlier files of the declaration aside (".anterior"), marks the new
// identifier ready (".pronto"), renames the new files into place and the
// identifier last, and only then removes what it moved aside. So a folder
// whose identifier exists holds exactly the set it lists, at every step.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace entrega {

inline const QString SufixoGravando = QStringLiteral(".gravando");
inline const QString SufixoPronto = QStringLiteral(".pronto");
inline const QString SufixoAnterior = QStringLiteral(".anterior");

// Paths of the declaration in hand in a folder: its identifier and the .fmt
// and .txt of every file type (recorded or not).
struct NomesNaPasta {
    QString pasta;
    QString identificador;
    QStringList arquivos;
    // The path without extension of the .fmt/.txt pair of each record
    // identifier of the "01" records ("PLCOG", "LANCG", ...).
    QHash<QByteArray, QString> raizDoRegistro;

    // Every final name, the identifier last.
    QStringList todos() const { return arquivos + QStringList{identificador}; }
};

// A file (or link) holds the name; a folder of that name is never moved or
// removed by a recording.
bool presente(const QString& caminho);

// The files an identifier file lists (.fmt and .txt of each "01" record).
// False when a record names no file type of the declaration.
bool listadosNoIdentificador(const NomesNaPasta& nomes, const QByteArray& identificador, QStringList& listados);

// Puts back in order what a recording stopped part way (killed, or failed
// in this process) left in the folder, and is itself safe to stop at any of
// its steps: run again, it goes on from where it stopped. When the recording
// stopped before its identifier took its final name, the earlier set comes
// back, the earlier identifier last and only once every file it lists is
// back; a file moved aside is removed only when it is back under its name or
// when the new identifier is in place. Every other temporary name of the
// declaration is removed. False with what failed in `motivo` (a sentence
// naming the file and the system's reason); then every file is kept and an
// earlier identifier not yet back stays aside.
bool recuperarPasta(const NomesNaPasta& nomes, QString* motivo = nullptr);

} // namespace entrega
