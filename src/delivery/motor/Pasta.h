#pragma once
// The delivery set of one declaration in a destination folder. The
// identifier file is the set's manifest: a recording writes every new file
// under a temporary name (".gravando"), moves the earlier identifier and then
// the earlier files of the declaration aside (".anterior"), marks the new
// identifier ready (".pronto"), renames the new files into place and the
// identifier last, and only then removes what it moved aside. So a folder
// whose identifier exists holds exactly the set it lists, at every step.
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

    // Every final name, the identifier last.
    QStringList todos() const { return arquivos + QStringList{identificador}; }
};

// A file (or link) holds the name; a folder of that name is never moved or
// removed by a recording.
bool presente(const QString& caminho);

// Puts back in order what a recording stopped part way (killed, or failed
// in this process) left in the folder: when it stopped before its identifier
// took its final name, the earlier set comes back; every temporary name of
// the declaration is removed. False with the system's reason when a file
// could not be renamed or removed.
bool recuperarPasta(const NomesNaPasta& nomes, QString* motivo = nullptr);

} // namespace entrega
