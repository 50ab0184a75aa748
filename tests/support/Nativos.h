#pragma once
// Files and folders made and read by the bytes of their names, for names
// that are not UTF-8 (Qt cannot make or see those).
#include <QByteArray>
#include <QString>
#include <QStringList>

// Makes a folder `nome` (bytes) in `pasta`; its bytes path.
QByteArray criarPastaNativa(const QByteArray& pasta, const QByteArray& nome);
// Writes a file `nome` (bytes) in `pasta`; its bytes path.
QByteArray escreverArquivoNativo(const QByteArray& pasta, const QByteArray& nome, const QByteArray& bytes);
// Every entry under `pasta`, as paths relative to it (bytes shown as
// \xHH where they are not ASCII), folders ending in '/', sorted.
QStringList arvoreNativa(const QByteArray& pasta);
// A byte path as arvoreNativa shows it.
QString mostrarNativo(const QByteArray& nome);

// Removes what is under `pasta` by the bytes of the names, so that a
// QTemporaryDir holding names that are not UTF-8 can go.
void esvaziarNativo(const QByteArray& pasta);

// Empties a folder that way when it goes out of scope (declare it after the
// QTemporaryDir or Ambiente that owns the folder).
class EsvaziaNativo {
public:
    explicit EsvaziaNativo(const QByteArray& pasta) : m_pasta(pasta) {}
    ~EsvaziaNativo() { esvaziarNativo(m_pasta); }
    EsvaziaNativo(const EsvaziaNativo&) = delete;
    EsvaziaNativo& operator=(const EsvaziaNativo&) = delete;

private:
    QByteArray m_pasta;
};

// Changes the current folder (bytes) for its lifetime.
class PastaAtual {
public:
    explicit PastaAtual(const QByteArray& pasta);
    ~PastaAtual();
    PastaAtual(const PastaAtual&) = delete;
    PastaAtual& operator=(const PastaAtual&) = delete;
    bool ok() const { return m_ok; }

private:
    QByteArray m_antes;
    bool m_ok = false;
};
