#pragma once
// The process-wide working state and the shared database procedures.
#include "platform/Banco.h"
#include "platform/Moeda.h"

#include <QDate>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>

struct Geral {
    // Declaration in hand.
    QString gCNPJ;          // "99.999.999/9999-99"
    QString gCNPJNumeros;   // 14 digits
    QDate gPeriodoInicial;
    QDate gPeriodoFinal;
    QString gNome;
    qint16 gIN = 0;         // 68 or 86

    // Operation and import flow.
    qint16 gOperacao = 0;   // 1 new, 2 open, 8 delete
    std::array<QString, 10> gFlagTipo;  // gFlagTipo[1..9]: "S" imported without errors
    qint16 gTipoArquivo = 0;
    qint16 gSituacao = 0;
    qint16 gRespostaExiste = 0;
    QString gArquivoOrigem;
    QString gDiretorio;
    qint16 gTamanhoARQ = 0;
    double gRegLidos = 0;
    double gRegCorretos = 0;
    double gRegErros = 0;
    qint32 gQuebra = 0;
    qint16 gLinhasQuebra = 0;
    QPointer<QWidget> gFormAtivo;
    Moeda gTotalLancamentosAux;
    QStringList gLeiauteLay;
    QString gDestino;
    QString gPrefixoConta;
    bool gTemEmpresarios = false;

    // Validation results shown by the result tabs.
    Moeda gTotalDebitos, gTotalCreditos, gDiferenca;
    Moeda gTotalDebitosAux, gTotalCreditosAux, gDiferencaAux;
    std::array<qint32, 4> gRegLidosSaldoFinal{};
    std::array<qint32, 4> gRegCorretosSaldoFinal{};
    std::array<qint32, 4> gRegComErroSaldoFinal{};
    std::array<qint32, 4> gRegLidosSaldoInicial{};
    std::array<qint32, 4> gRegCorretosSaldoInicial{};
    std::array<qint32, 4> gRegComErroSaldoInicial{};
    std::array<qint32, 4> gRegFaltantesSaldoInicial{};

    // Database and error fields.
    std::unique_ptr<db::Conexao> gConn;
    QString gMsg;
    double gErroAbertura = 0;
};

// The one working state of the process.
Geral& geral();
// Back to the start state (closes gConn); tests call it between cases.
void reiniciaGeral();

// File names.
inline const QString NomeRegistro = QStringLiteral("tobriv1.mdb");
inline const QString NomeModelo = QStringLiteral("TOBRI.MDB");
inline const QString NomeTemporario = QStringLiteral("tobriv1Tmp.mdb");
// Scratch files in the data folder, each beside the file it becomes: the
// accepted copy and the .lay while they are written, the template copy, the
// register being created, Schema.ini being written. A kill leaves them
// behind; removeTemporarios and the declaration deletion remove them.
inline const QString SufixoCopiaAceita = QStringLiteral(".importando");
inline const QString SufixoCopiaModelo = QStringLiteral(".copia");
inline const QString SufixoRegistroNovo = QStringLiteral(".novo");
inline const QString NomeSchemaIni = QStringLiteral("Schema.ini");
inline const QString NomeSchemaIniNovo = QStringLiteral("Schema.ini.gravando");

// The digits of a text (a masked CNPJ gives its 14 digits).
QString soDigitos(const QString& texto);

// Instruction, CNPJ digits, start and end as ddmmyyyy.
QString sufixoDeclaracao();
QString sufixoDeclaracao(qint16 in, const QString& cnpjNumeros, const QDate& inicio, const QDate& fim);
// "TOBRI" + suffix + ".MDB" in the data folder.
QString caminhoBancoDeclaracao();
QString caminhoRegistro();
QString caminhoModelo();

// "cod.erro N\r\nmsg. Erro: text (procedure)"; no parenthesis when the
// procedure is empty.
QString textoErro(double numero, const QString& descricao, const QString& procedimento = QString());
QString textoErro(const db::Erro& e, const QString& procedimento = QString());
// The same with no blank before the parenthesis, as some procedures write it:
// "cod.erro N\r\nmsg. Erro: text(procedure)".
QString erroJunto(double numero, const QString& descricao, const QString& proc);
inline const QString TextoErroAbertura = QStringLiteral("Erro na abertura do banco de dados do Tobri.");
// What most pickers say when the chosen declaration's database is missing or damaged.
inline const QString TextoBancoNaoEncontrado = QStringLiteral(
    "Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a opção Excluir e "
    "exclua o período com problemas e posteriormente crie na opção Novo o mesmo período.");

// Dates as the system writes them.
QString dataDdMmAaaa(const QDate& d);   // "dd/mm/yyyy"
QString dataDdmmaaaa(const QDate& d);   // "ddmmyyyy"
QString dataIso(const QDate& d);        // "yyyy-mm-dd", as date columns store them
QDate dataDeIso(const QString& s);

// Opens gConn on the register (porDeclaracao false) or on the database of the
// declaration in hand, first copying the template over it when copiarModelo.
// On a failure `msg` is textoErro(errNum, TextoErroAbertura) with the reason
// (the database's text, or why the copy failed) on a line after it.
bool AbreBanco(QString& msg, bool porDeclaracao, bool copiarModelo, double& errNum);
// Brings a declaration database made by an earlier version up to the
// current schema (AbreBanco runs it on every declaration it opens); each
// step is idempotent. False with the database's error.
bool atualizarBancoDeclaracao(db::Conexao& c, db::Erro* erro = nullptr);
// Compacts the declaration database in hand and reopens gConn on it. False
// with gMsg set when the compaction failed (VACUUM INTO or the rename: the
// database is left as it was and gConn open on it again), when the database
// could not be reopened, or when gConn was in a transaction (a caller's
// fault: nothing is rolled back nor compacted, gConn stays as it was).
bool Fun_CompactaBanco();
// Creates an empty register when none exists.
bool criaRegistroSeAusente(QString& msg);
// Removes the program's own scratch files from the data folder (what a
// killed import, compaction or copy left). Only while the single-instance
// lock is held, so nothing else is writing them.
void removeTemporarios();
