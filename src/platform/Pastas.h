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
// The defaults, the data folder created. False, with a message naming the
// folder and nothing created, when a folder's name cannot be used.
bool pastasPadrao(Pastas& p, QString& recusa);

// The user's documents folder (the home folder when there is none), where
// the files the user asks for land by default (the PDF of a report, say).
QString pastaDocumentos();
// Tests: replaces the documents folder; an empty text restores the user's.
void definirPastaDocumentos(const QString& pasta);

// Joins a folder and a file name with exactly one separator.
QString caminhoEm(const QString& pasta, const QString& arquivo);

// Renames a file over another in one step: the destination is either the
// old file or the new one, never missing.
bool renomearSobre(const QString& origem, const QString& destino);
