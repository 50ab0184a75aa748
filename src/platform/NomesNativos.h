#pragma once
// File and folder names as the file system holds them: bytes. Qt reads every
// name as UTF-8, so a name written in another encoding (Latin-1 or CP850, as
// archives made on Windows and old media carry them) comes back as another
// name, with U+FFFD in place of its bytes, and opening or creating that
// other name would reach another file. This is the one place that judges a
// name: the program lists such a name so the user sees it, and refuses to
// use it with a message that names it; it is never used under another name.
#include <QByteArray>
#include <QList>
#include <QString>

namespace nomes {

// True when the bytes, read as text, give the same bytes back.
bool representavel(const QByteArray& nativo);

// The name for the user: UTF-8 where it is valid, any other byte as the
// Windows-1252 character it most likely stood for.
QString exibicao(const QByteArray& nativo);

enum class Tipo { Arquivo, Pasta };
// The refusal of a name that cannot be used; names it and says why.
QString textoRecusa(Tipo tipo, const QByteArray& nativo);

// One entry of a folder.
struct Entrada {
    QByteArray nativo;
    QString exibicao;
    // The path to use; empty when the name cannot be used.
    QString caminho;
    // The refusal for a name that cannot be used; empty otherwise.
    QString recusa;
};
enum class Filtro { Pastas, Arquivos };
// The folders (or regular files) of a folder, hidden ones left out, sorted by
// name without regard to case; names that cannot be used are listed too.
QList<Entrada> listar(const QString& pasta, Filtro filtro);

// The current folder; empty, with the refusal in `recusa`, when its name
// cannot be used.
QString pastaAtual(QString* recusa = nullptr);

// The folder of the running executable: false, with the refusal, when its
// name cannot be used.
bool pastaDoProgramaRepresentavel(QString* recusa = nullptr);

// An environment variable that holds a path: false, with the refusal, when
// its bytes cannot be used as a name.
bool variavelRepresentavel(const char* variavel, QString* recusa = nullptr);

} // namespace nomes
