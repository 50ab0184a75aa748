#pragma once
// The text driver: reads a fixed-width text file as the Schema.ini in its
// folder describes it (section named after the file, columns Col1..ColN with
// their widths, cut one after another from the first byte of the line).
// Lines end at CR LF only; the file is streamed, never held whole.
#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QVector>

namespace digesto {
class Fluxo;
}

namespace textofixo {

struct Coluna {
    int numero = 0;    // N of ColN
    QString nome;
    int largura = 0;   // bytes
};

struct Esquema {
    QString arquivo;
    bool cabecalho = false;     // ColNameHeader
    bool larguraFixa = false;   // Format = FixedLength
    QVector<Coluna> colunas;    // in ColN order
    // Index of a column by name (case-insensitive), -1 when absent.
    int indice(const QString& nome) const;
};

// Reads the section of `arquivo` from `pasta`/Schema.ini. False with the
// reason when the file or the section is missing or a column line is bad.
bool lerEsquema(const QString& pasta, const QString& arquivo, Esquema& esquema, QString* motivo = nullptr);

class Leitor {
public:
    Leitor() = default;
    Leitor(const Leitor&) = delete;
    Leitor& operator=(const Leitor&) = delete;

    // Reads the description and opens `pasta`/`arquivo`. False with erro().
    bool abrir(const QString& pasta, const QString& arquivo);
    const Esquema& esquema() const { return m_esquema; }
    // The next row; false at the end of the file or on a read error (erro()
    // not empty then).
    bool proxima();
    // Column i of the row in hand with blanks trimmed on both sides; empty
    // when the line ends before the column.
    QByteArrayView valor(int i) const;
    // Column i with its trailing blanks removed only: codes keep their
    // leading blanks (right-aligned codes).
    QByteArrayView valorSemBrancosFinais(int i) const;
    // The row in hand as read, without its CR LF.
    QByteArrayView linhaAtual() const { return m_atual; }
    // Whether the row in hand ended in CR LF (the last line may not).
    bool terminouEmCrLf() const { return m_crLf; }
    // Lines longer than `bytes` are not held whole: the row comes back with
    // its first bytes and longa() set, and reading stops there. 0: no limit.
    void limitarLinha(qsizetype bytes) { m_limite = bytes; }
    bool longa() const { return m_longa; }
    // Every byte read from the file is also fed to `d` (nullptr: none).
    void digerir(digesto::Fluxo* d) { m_digesto = d; }
    // 1-based number of the row in hand.
    qint64 linha() const { return m_linha; }
    QString erro() const { return m_erro; }

private:
    bool encher();
    // Column i of the row in hand as it stands; empty past the line's end.
    QByteArrayView coluna(int i) const;
    Esquema m_esquema;
    QVector<int> m_inicio;   // byte offset of each column in the line
    QFile m_arquivo;
    QByteArray m_buf;
    qsizetype m_ini = 0;
    qsizetype m_fim = 0;
    bool m_eof = false;
    QByteArrayView m_atual;
    qint64 m_linha = 0;
    qsizetype m_limite = 0;
    bool m_crLf = false;
    bool m_longa = false;
    digesto::Fluxo* m_digesto = nullptr;
    QString m_erro;
};

} // namespace textofixo
