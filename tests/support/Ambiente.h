#pragma once
// A fresh program folder (template and help of the build) and data folder
// per test, scripted dialogs, and a clean working state.
#include "Conferir.h"
#include "DialogosTeste.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class Ambiente {
public:
    Ambiente();
    ~Ambiente();

    QString programa() const;
    QString dados() const;
    QString caminhoDados(const QString& nome) const;
    // The user's documents folder (where a report's PDF goes by default).
    QString documentos() const;
    QString caminhoDocumentos(const QString& nome) const;
    // Writes a file in the data folder (bytes as given) and returns its path.
    QString escreverArquivo(const QString& nome, const QByteArray& bytes) const;

    dlg::DialogosTeste dialogos;
    // Context numbers opened by the help.
    QList<int> ajudas;
    // Addresses opened with the desktop's handler.
    QStringList enderecos;

private:
    QTemporaryDir m_raiz;
};

// Registers the factories of every window of the program.
void registrarJanelas();

// A declaration set in the working state: instruction, CNPJ, period.
void definirDeclaracao(qint16 in, const QString& cnpj, const QDate& inicio, const QDate& fim);
// Registers the declaration in the register and makes its database from the
// template, leaving gConn open on it.
bool criarDeclaracao(qint16 in, const QString& cnpj, const QDate& inicio, const QDate& fim,
                     const QString& nome = QStringLiteral("Empresa Teste Ltda"));
