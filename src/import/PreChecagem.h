#pragma once
// The pre-check of a source file against the working layout of the type in
// hand: record length from the layout, size and first line of the file.
// Sizes are 64-bit; only the first line is ever read.
#include <QByteArray>
#include <QString>

namespace prechecagem {

inline const QString TextoVazio = QStringLiteral("Arquivo vazio.");
inline const QString TextoInvalido =
    QStringLiteral("Arquivo inválido ou contém registros com tamanho em desacordo com o leiaute informado.");
inline const QString TextoMidia = QStringLiteral("Mídia não acessível.");
// The import window's message for a source file that is gone.
inline const QString TextoInexistente = QStringLiteral("Arquivo solicitado inexistente.");

// gTamanhoARQ = sum of the sizes of the working layout; false with gMsg
// ("... (ERRO_Tamanho_Registro)") when there is none.
bool Tamanho_Registro();
// Start and size of layout field 2; false with gMsg when it is missing.
bool Posicao_inicial(qint16& posicao, qint16& tamanho);
// Under instruction 68 first requires field 2; then reads the first line of
// `arquivo` (up to its CR LF), at most `limite` + 2 bytes of it. False with gMsg.
bool Tamanho_RegistroTexto(const QString& arquivo, qint64 limite, QByteArray& linha);

enum class Resultado {
    Aceito,
    Vazio,           // TextoVazio
    Inacessivel,     // TextoMidia
    ErroLeiaute,     // gMsg
    ErroLeitura,     // gMsg
    TamanhoInvalido, // TextoInvalido
};

// The whole pre-check of a source file, in the window's order; sets gTamanhoARQ.
Resultado verificar(const QString& arquivo);

} // namespace prechecagem
