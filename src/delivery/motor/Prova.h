#pragma once
// Proof that a data file is the one validated, taken from the bytes as they
// are copied: every line is the record length of its .lay and ends in CR LF,
// the lines are counted and the value field is summed exactly.
#include "platform/Moeda.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace entrega {

// The record of a data file as its .lay describes it.
struct FormaRegistro {
    qsizetype tamanho = 0;   // record length, CR LF included
    int posicao = 0;         // value field (1-based); 0 when the type has none
    int largura = 0;
    int decimais = 0;
};

// Short name of the field whose total the identifier states: "Valor" for
// the journal entries (types 6, 7), "ValorDebitos" for the balances (8, 9),
// empty for the other types.
QByteArray campoDoTotal(qint16 tipo);

// Reads the record length (line 1) and, when `campo` is not empty, the
// position, width and decimals of that field. False with `erro` set when the
// .lay does not describe them.
bool lerForma(QByteArrayView lay, QByteArrayView campo, FormaRegistro& forma, QString& erro);

// Follows a file's bytes block by block. After the first fault it only
// counts bytes.
class Prova {
public:
    explicit Prova(const FormaRegistro& forma);
    void alimentar(const char* dados, qsizetype n);
    // The end of the file: a line left incomplete is a fault.
    void concluir();

    bool inteiro() const { return m_falha.isEmpty(); }
    // What is wrong ("a linha 12 não tem ..."); empty while whole.
    QString falha() const { return m_falha; }
    qint64 linhas() const { return m_linhas; }
    Moeda total() const { return m_total; }

private:
    void registro(const char* r);
    void falhar(const QString& texto);
    std::optional<Moeda> valorCurto(QByteArrayView campo) const;

    FormaRegistro m_forma;
    int64_t m_escala = 0;   // > 0: the value field is read by valorCurto
    QByteArray m_resto;     // head of a record cut by the block's end
    qint64 m_linhas = 0;
    Moeda m_total;
    QString m_falha;
};

} // namespace entrega
