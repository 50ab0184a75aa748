#pragma once
// Recording of the delivery set of the declaration in hand, without widgets:
// the precondition, the company name, the layout descriptions (.fmt), the
// data files (.txt) and the identifier file, written into gDestino.
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
    QString copia;       // accepted copy (data folder)
    QString lay;         // its layout description
    QString abreviacao;  // NomeAbrev of the type
    QString fmt;         // targets in the destination folder
    QString txt;
    Moeda total;         // value total of the types 6 to 9
};

// The delivery set of the declaration in hand: the types whose status row is
// 0 or 100, in ascending order. False with gMsg set.
bool Fun_Ler_Importados(QList<ArquivoDoConjunto>& arquivos, const QString& destino);
// Value totals; an empty table gives 0. False with gMsg set.
bool Fun_Ler_Lancamentos(Moeda& total, qint16 tipo);
bool Fun_Ler_Saldos(Moeda& total, qint16 tipo);

// Target names in a destination folder.
QString nomeFormato(const QString& abreviacao);
QString nomeEntrega(const QString& abreviacao);
QString nomeIdentificador();

// The identifier file's bytes (Windows-1252, CR LF) for the company name and
// the set.
QByteArray textoIdentificador(const QString& nomeEmpresarial, const QList<ArquivoDoConjunto>& arquivos);

// Records the whole set into gDestino: the free space for all of it is tested
// first; every file is written under a temporary name, flushed, and renamed
// into place once all were written; then the statuses of the delivered types
// become 100 with their ArquivoGerado, in one transaction. On a failure
// nothing is marked, the temporary files are removed and gMsg says the
// recording was not done. `gravados` gets the names written (no folder);
// `passo` is called as the work advances (for a progress bar).
bool gravarConjunto(const QString& nomeEmpresarial, QStringList* gravados = nullptr,
                    const std::function<void()>& passo = {});

} // namespace entrega
