#pragma once
// The source file, read in large blocks and split only at CR LF, and the
// reading loop that every record test runs.
#include "Contexto.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>

namespace digesto {
class Fluxo;
}

namespace motor {

// Bytes a reader asks of its file at once, by default.
inline constexpr qsizetype BlocoLeitura = 4 << 20;

// Streams a file line by line (lines end at CR LF only; a lone CR or LF stays
// inside the line). Never holds the file whole: a line longer than `maxLinha`
// may keep only its first maxLinha + 1 bytes, with its true length and CR/LF flag.
// Optionally writes every byte read to a copy.
class LeitorLinhas {
public:
    explicit LeitorLinhas(qsizetype maxLinha, qsizetype bloco = BlocoLeitura);
    ~LeitorLinhas();
    // False with an error text when the file cannot be opened.
    bool abrir(const QString& caminho, QString& erro);
    // Bytes are also written to `copia` (opened for writing by the caller); a
    // write failure is kept in erroCopia() and the reading goes on. The bytes
    // written are digested as they go (digestoCopia()).
    void definirCopia(QFile* copia);
    // The next line; false at the end of the file (or on a read error: erro()).
    bool proxima(Registro& r);
    // The unread bytes already in memory (the lines after the last one
    // returned, possibly cut short); valid until the next proxima().
    QByteArrayView adiante() const { return QByteArrayView(m_buf.constData() + m_ini, m_fim - m_ini); }
    QString erro() const { return m_erro; }
    QString erroCopia() const { return m_erroCopia; }
    // Digest of the bytes written to the copy so far.
    QString digestoCopia() const;
    void fechar();

private:
    bool encher();
    QFile m_arquivo;
    QFile* m_copia = nullptr;
    std::unique_ptr<digesto::Fluxo> m_digesto;
    QByteArray m_buf;
    qsizetype m_ini = 0;   // first unread byte in m_buf
    qsizetype m_fim = 0;   // end of valid bytes in m_buf
    qsizetype m_maxLinha;
    qsizetype m_bloco;
    bool m_eof = false;
    QByteArray m_longa;    // head of an overlong line
    QString m_erro;
    QString m_erroCopia;
};

// Size of a file in bytes, 64-bit.
qint64 tamanhoArquivo(const QString& caminho);
// ProgressBar1's maximum: file size / (gTamanhoARQ + 2), rounded.
qint64 maximoBarra(qint64 tamanho, int tamanhoRegistro);

// How a record test varies the shared loop.
struct OpcoesLeitura {
    // Chart tests record code 49 before the length check; the others check
    // the length first.
    bool crLfAntesDoTamanho = false;
    // Record 49 for a CR or LF inside the line (off where a test places
    // that check itself).
    bool testarCrLf = true;
    // Label1 shows the running count of lines (balance and 68 entry tests).
    bool mostrarContagem = false;
    // Write the bytes read to ctx.copiaTemporaria (the pass whose bytes are tested).
    bool gravarCopia = true;
    // Set gRegLidos, gRegCorretos, gRegErros to 0 before reading.
    bool zerarContadores = true;
};

// The record test of one file type, called by the loop for every line of the
// right length (in order): `testar` runs the field tests, recording codes with
// ctx.erro(r, code) (which also marks r bad); `gravar` stores a good record
// after gRegCorretos counted it. Either returns false to stop the run: with
// gMsg set on a failure, or after ctx.erro() returned false.
struct TesteArquivo {
    std::function<bool(Contexto&, Registro&)> testar;
    std::function<bool(Contexto&, Registro&)> gravar;   // may be empty
    // Called before `testar` with the record and the bytes after it, to ask
    // early for what the lookups of the next records will read (may be
    // empty; must not change any state a test reads).
    std::function<void(Contexto&, const Registro&, QByteArrayView)> antecipar;
};

// Line k (0: the next) of `adiante` when every line has the length of the
// record in hand (the layout's); empty when it is not wholly there.
QByteArrayView linhaAdiante(QByteArrayView adiante, const Registro& r, int k);

// The shared reading loop (after LER_LeiauteDIG, fun_Criar_Tabela and
// PreparaConsultas, which the test calls first): opens gArquivoOrigem, and per
// line counts gRegLidos, advances the bar, yields (throttled), polls the
// cancel flag, applies the wrong-length stop (message, ctx.fim =
// TamanhoErrado, the window reopens frmOrigemArquivo), records 49 for a CR or
// LF inside the line, runs the test, counts the record good or bad, stops at
// the 100th bad record. True at the end of the file or at the 100th bad
// record; false otherwise (gMsg empty for cancel, wrong length and a closed
// window). The batch is committed at every exit. ctx.fim tells the ending.
bool lerArquivo(Contexto& ctx, const OpcoesLeitura& op, const TesteArquivo& teste);

// The wrong-length message of the record tests.
inline const QString TextoTamanhoErrado =
    QStringLiteral("Arquivo inválido ou contém registros com tamanho em desacordo com o leiaute.");
// Records with errors after which the reading stops.
inline constexpr int LimiteErros = 100;

} // namespace motor
