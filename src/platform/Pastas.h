#pragma once
// The program folder (read-only program files) and the data folder (all
// that the program writes). Both can be replaced, e.g. by tests.
#include <QString>

struct Pastas {
    QString programa;
    QString dados;
};

// The folders in force; the defaults are the executable's folder and the
// per-user application data folder.
const Pastas& pastas();
void definirPastas(const Pastas& p);
Pastas pastasPadrao();

// Joins a folder and a file name with exactly one separator.
QString caminhoEm(const QString& pasta, const QString& arquivo);

// Renames a file over another in one step: the destination is either the
// old file or the new one, never missing.
bool renomearSobre(const QString& origem, const QString& destino);
