#pragma once
// Recording of the delivery set of the declaration in hand, without widgets:
// the precondition, the company name, the layout descriptions (.fmt), the
// data files (.txt) and the identifier file, written into gDestino.
#include "Pasta.h"

#include "platform/Moeda.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace entrega {

inline const QString MsgPrecondicaoGeral = QStringLiteral(
    "A gravação dos arquivos para entrega à ORV somente é possível após a validação do Plano de Contas, "
    "Lançamentos e Saldos.");
inline const QString MsgPrecondicaoAuxiliar = QStringLiteral(
    "A gravação dos arquivos para entrega à ORV somente é possível após a validação do Plano de Contas Diário "
    "Auxiliar, Lançamentos Diário Auxiliar, Saldos Diário Auxiliar.");
inline const QString MsgSemEspaco = QStringLiteral("O dispositivo não possui espaço suficiente.");
inline const QString MsgMidia = QStringLiteral("Mídia não acessível.");
inline const QString MsgNaoEfetuada = QStringLiteral("Gravação não efetuada.");
inline const QString MsgSucesso = QStringLiteral("Gravação efetuada com sucesso.");
inline const QString MsgSemEmpresa = QStringLiteral("Não existem arquivos importados.");
inline const QString MsgPastaOcupada = QStringLiteral(
    "Outra gravação está em andamento na pasta %1. Aguarde o seu término e grave novamente.");
inline const QString MsgBancoNaoVerificado = QStringLiteral(
    "O banco de dados da declaração não pôde ser verificado antes da gravação: %1");
inline const QString MsgIdentificadorNaoRetirado = QStringLiteral(
    "O arquivo identificador %1 não pôde ser retirado (%2): a pasta guarda o novo conjunto completo, mas os arquivos "
    "não foram marcados como gravados. Grave novamente.");
inline const QString MsgTemporarioNaoCriado = QStringLiteral(
    "O arquivo temporário %1 não pôde ser criado na pasta %2 (%3).");
inline const QString MsgNomeOcupado = QStringLiteral(
    "Há na pasta um item com esse nome: remova-o ou renomeie-o e grave novamente.");
inline const QString MsgBancoCorrompido = QStringLiteral(
    "Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a opção Excluir do menu "
    "Arquivo e exclua o período com problemas e posteriormente crie na opção Novo o mesmo período");

// A refusal of the recording: the text, ending in "Gravação não efetuada.".
QString comNaoEfetuada(const QString& texto);

// Flags of the file types 1, 2, 6, 7, 8, 9 (index = type).
using Marcas = std::array<bool, 10>;

// The walk over the types 1, 2, 6, 7, 8, 9: the message of the last failing
// type (types 7 and 9 count only when type 2 is set), or the empty text.
QString mensagemPrecondicao(const Marcas& marcas, const QString& msgGeral, const QString& msgAuxiliar);

// Reads the status rows of the declaration in hand and sets the flag of each
// type whose status is one of `aceitas`. False with gMsg "... (Verifica_Importados)".
bool lerMarcas(const QList<int>& aceitas, Marcas& marcas);

// The recording precondition: true when the rows could be read, with the
// refusal message or the empty text in `mensagem`.
bool Verifica_Importados(QString& mensagem);

// Reads the company name of the declaration in hand from the register,
// through a connection of its own. False with gMsg "... (fun_Empresarial)".
bool fun_Empresarial(bool& achou, QString& nome);

// The project version as the identifier and the tracking report write it:
// major "00", ".", minor and revision as plain numbers (1.0.8 gives 01.08).
QString versaoIdentificador();

// One file type of the delivery set.
struct ArquivoDoConjunto {
    qint16 tipo = 0;
    qint64 regLidos = 0;
    QString copia;       // accepted copy in the data folder
    QString lay;         // its layout description
    QString abreviacao;  // NomeAbrev of the type
    QString fmt;         // targets in the destination folder
    QString txt;
    Moeda total;         // value total of the types 6 to 9
    QString digestoCopia; // digests the import took of the copy and the .lay
    QString digestoLay;   // (empty: imported by an earlier version)
};

// The delivery set of the declaration in hand: the types whose status row is
// 0 or 100, in ascending order, with the data folder's accepted copies (the
// ones the validation read). False with gMsg set.
bool Fun_Ler_Importados(QList<ArquivoDoConjunto>& arquivos, const QString& destino);
// Value totals; an empty table gives 0. False with gMsg set.
bool Fun_Ler_Lancamentos(Moeda& total, qint16 tipo);
bool Fun_Ler_Saldos(Moeda& total, qint16 tipo);

// Target names in a destination folder.
QString nomeFormato(const QString& abreviacao);
QString nomeEntrega(const QString& abreviacao);
QString nomeIdentificador();

// Every final name of the declaration in hand in `pasta`, from all the
// abbreviations of tbTipoArquivos. False with gMsg set.
bool nomesNaPasta(const QString& pasta, NomesNaPasta& nomes);

// The identifier file's bytes (Windows-1252, CR LF) for the company name and
// the set.
QByteArray textoIdentificador(const QString& nomeEmpresarial, const QList<ArquivoDoConjunto>& arquivos);

// Records the whole set into gDestino. A recording that was stopped part
// way in that folder is put back in order first (Pasta.h). Every file is
// written under a temporary name and flushed, while SQLite's quick check
// reads the declaration database (a damaged one records nothing); each data file is proven while
// it is copied to be whole (every line the record length of its .lay, ending
// in CR LF), as many lines as RegLidos and, for the types 6 to 9, of the
// value total the identifier states, and each data file and .lay is refused
// unless its digest is the one the import took (a status row without
// digests is refused too). Then the earlier set leaves its names,
// the new one takes them (the identifier last) and the statuses of the
// delivered types become 100 with their ArquivoGerado, in one transaction;
// the earlier files are removed after that. On a failure nothing is marked,
// the folder is as it was and gMsg ends in "Gravação não efetuada.".
// `gravados` gets the names written (no folder); `passo` is called as the
// work advances (for a progress bar).
bool gravarConjunto(const QString& nomeEmpresarial, QStringList* gravados = nullptr,
                    const std::function<void()>& passo = {});

// The recording as Gravar runs it, for the windows and tobri-bench alike:
// the precondition again, the company name (a missing register row
// refuses), then gravarConjunto.
// False with gMsg (the refusal or failure text).
bool gravarEntrega(QStringList* gravados = nullptr, const std::function<void()>& passo = {});

} // namespace entrega
