#pragma once
// What every tobri-bench command shares: the options naming the declaration,
// the run's environment (scripted dialogs, folders, working state) with its
// orderly close, the declaration's registration and opening, and the JSON
// figures (status row, peak memory).
#include "platform/Dialogos.h"
#include "platform/InstanciaUnica.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;

namespace bancada {

// The options every command takes: --data DIR --in 68|86
// --cnpj 99.999.999/9999-99 --inicio dd/mm/yyyy --fim dd/mm/yyyy.
struct Declaracao {
    QString dados;
    int in = 0;
    QString cnpj;
    QDate inicio, fim;
    bool completa() const;   // every option given and valid
};
// Reads args[i] (and its value) when it is one of the common options,
// advancing i; false when it is not one of them.
bool lerOpcaoComum(const QStringList& args, int& i, Declaracao& d);

// The program folder and the names among the arguments (the values of
// --data and --destino, the file of import), judged on the bytes the system
// gave: false with a message naming the first that cannot be used, or the
// current folder when a relative name needs it and its own cannot be used.
bool nomesUtilizaveis(int argc, char** argv, QString& recusa);

// Prints every message box on stderr ("mensagem: ...") and answers OK / No.
class DialogosRegistrados : public dlg::Dialogos {
public:
    int mensagem(const dlg::Mensagem& m) override;
    bool dialogoImpressora(QPrinter&) override { return false; }
};

// The environment of one command, for the lifetime of the object: the
// dialogs above, the folders (program folder = the executable's, data folder
// = d.dados, created) and the declaration in the working state. Its
// destructor closes gConn and gives the dialogs back, on every exit of the
// command, so nothing of the database outlives QApplication. It takes the
// data folder's single-instance lock, as the program does at start, so a
// command and the program never work on one data folder at once. Create it
// after QApplication and keep it in main's scope.
class Sessao {
public:
    explicit Sessao(const Declaracao& d);
    ~Sessao();
    Sessao(const Sessao&) = delete;
    Sessao& operator=(const Sessao&) = delete;

    // The refusal when another copy holds the data folder; else empty.
    QString recusa() const;

private:
    DialogosRegistrados m_dialogos;
    std::unique_ptr<InstanciaUnica> m_instancia;
};

// Registers the declaration when the register lacks its row, makes its
// database from the template only when there is none (an existing database
// and its data are kept), and leaves gConn open on it. False with msg.
bool abrirDeclaracao(QString& msg);

// Prints "tobri-bench: texto" on stderr; returns 1.
int falha(const QString& texto);
// The status (Situacao) of the file type in hand as its row stands in the
// declaration database, read on a connection of its own (gConn may be closed
// after a stop): "null" when there is no row or it cannot be read.
QString situacaoJson();
// The process's peak resident size in kB.
long picoKb();

} // namespace bancada
