#pragma once
// The state of one import run, shared by the reading loop, the record tests,
// the lookups and the writers. Widget-free: the window (or the bench) sees
// the run only through Painel.
#include "platform/Moeda.h"
#include "shell/Geral.h"

#include <QByteArrayView>
#include <QElapsedTimer>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

namespace motor {

// What the run shows while it works. The window maps it onto ProgressBar1
// and Label1; the default does nothing (bench, tests).
class Painel {
public:
    virtual ~Painel() = default;
    // ProgressBar1: maximum set, bar visible, value 0.
    virtual void iniciarBarra(qint64 maximo) { (void)maximo; }
    // ProgressBar1 value (never above the maximum).
    virtual void valorBarra(qint64 valor) { (void)valor; }
    // Label1, the status line.
    virtual void status(const QString& texto) { (void)texto; }
    // Lets the event loop run (the run calls it at most every ~50 ms).
    virtual void rende();
    // Called for every record read, after it is counted (gRegLidos = numero)
    // and before the cancel flag is polled; does nothing by default.
    virtual void registroLido(qint64 numero) { (void)numero; }

    // The import cancel flag: set by Cancelar (or by closing the window),
    // polled by the reading loop at record boundaries, cleared when seen.
    bool cancelar = false;
};

// One field of the working layout (a row of TbleiauteDIG).
struct CampoLeiaute {
    int codsequ = 0;
    int posicao = 0;     // PosicaoInicial, 1-based byte column
    int tamanho = 0;     // bytes
    int decimais = 0;
    QString tipo;        // "ASCII", "NUMERIC"
    QString nomeCampo;
    QString nomeReduzido;
};

// The working layout of the file type in hand, in codsequ order.
struct Leiaute {
    static constexpr int MaxCampos = 12;
    QVector<CampoLeiaute> todos;   // every row (the .lay lists them all)
    // n-th field, n = 1..12 (the record tests read at most 12); nullptr when absent.
    const CampoLeiaute* campo(int n) const;
    // The field with this codsequ among the first 12; nullptr when absent.
    const CampoLeiaute* porCodsequ(int codsequ) const;
    int quantidade() const;        // fields the tests read (at most 12)
};

// Bytes [posicao, posicao + tamanho) of a line, 1-based, clipped to the line
// like Mid$; empty when the start lies beyond the line.
QByteArrayView cortar(QByteArrayView linha, int posicao, int tamanho);

// One line of the source file in hand (without its CR LF). The bytes belong
// to the reader and may be changed in place (NULs replaced by blanks): the
// accepted copy was written before the tests saw them.
struct Registro {
    char* dados = nullptr;
    qsizetype tamanho = 0;      // length of the line as read (an overlong line keeps only its head)
    qsizetype guardado = 0;     // bytes held in dados (= tamanho unless the line is overlong)
    bool temCrLf = false;       // a lone CR or LF inside the line
    bool bom = true;            // no code recorded for this record yet

    QByteArrayView linha() const { return QByteArrayView(dados, guardado); }
};

// Text helpers with the system's meaning (blank = the ASCII space only, as Trim).
bool branco(QByteArrayView campo);                 // nothing left after trimming blanks
bool temNul(QByteArrayView campo);
void trocarNul(char* dados, qsizetype tamanho);    // every NUL becomes a blank
QByteArrayView semBrancosFinais(QByteArrayView c); // trailing blanks removed (codes compare so)
bool igualCodigo(QByteArrayView a, QByteArrayView b); // equal ignoring trailing blanks
char maiuscula(char c);                             // ASCII upper case (D/C, account types)

// A non-empty run of the digits 0 to 9 (no sign, separator, blank or anything else).
bool SoNumeros(QByteArrayView texto);
// An 8-digit ddmmyyyy text that is a real calendar date with a year of 1900 or later.
bool Fun_consiste_data(QByteArrayView texto);
// The date of a valid ddmmyyyy field (invalid QDate otherwise).
QDate dataDeCampo(QByteArrayView texto);
// Amount field of unsigned digits whose last `decimais` digits are the
// fraction, as a currency value. nullopt when the field is not SoNumeros or
// the value does not fit the currency type (then textoErroEstouro()).
std::optional<Moeda> valorMoeda(QByteArrayView campo, int decimais);
QString textoErroEstouro(const QString& procedimento = QString());

// Decodes field bytes (Windows-1252) into the text stored in the database.
QString texto(QByteArrayView campo);

class Consultas;     // lookups (Consultas.h)
class Gravador;      // good-record writers (Gravadores.h)
class LeitorLinhas;  // source file reader (Leitura.h)

// One run of the record tests of one file. Created by func_validacao and
// handed to the record test of the type.
class Contexto {
public:
    explicit Contexto(Painel& painel);
    ~Contexto();   // commits the open batch, releases statements
    Contexto(const Contexto&) = delete;
    Contexto& operator=(const Contexto&) = delete;

    Geral& g;                // the working state (gIN, gTipoArquivo, counters, gMsg, gConn...)
    Painel& painel;
    Leiaute leiaute;         // loaded by LER_LeiauteDIG
    QString sufixo;          // declaration suffix of the staging tables
    QString copiaTemporaria; // where the reading loop writes the accepted copy (empty: none)
    QString erroCopia;       // last-error text when writing the copy failed
    QString digestoCopia;    // digest of the bytes written to the copy

    Consultas& consultas();
    Gravador& gravador();

    // Records one code for the record in hand (gRegLidos) through Grava_erro
    // and marks the record bad. False when Grava_erro failed and closed the
    // import window: the test must return false at once (janelaFechada()).
    bool erro(Registro& r, qint16 codigo);
    bool janelaFechada() const { return m_janelaFechada; }

    // The n-th field of the layout (n = 1..12) cut from the record, or the
    // field with this codsequ; empty when the layout has no such field.
    QByteArrayView campo(const Registro& r, int n) const;
    QByteArrayView campoCodsequ(const Registro& r, int codsequ) const;
    // Field n of a line not yet read as a record (the lines ahead).
    QByteArrayView campoDaLinha(QByteArrayView linha, int n) const;
    // Replaces the NULs of a field cut from r (a view into r.dados) by blanks.
    static void trocarNulNoCampo(Registro& r, QByteArrayView campo);

    // Sets gMsg and returns false, for "stop the run with this text".
    bool falhar(const QString& msg);

    // The batch transaction of the writers: many good records per commit.
    // Opened on demand by the writers; committed before every error row and
    // at every exit of the loop. False (gMsg set) when the commit failed.
    bool abrirLote();
    bool confirmarLote();

    // fun_Criar_Tabela left indexes of the staging table to be built after
    // the load (criarIndicesAdiados, at every end of the record test).
    bool indicesPendentes = false;

    // How the reading ended (for the window and the tests).
    enum class Fim { Nenhum, Normal, Limite, Cancelado, Falha, TamanhoErrado, JanelaFechada };
    Fim fim = Fim::Nenhum;

    // Progress bar bookkeeping of the loop.
    qint64 maximoBarra = 0;
    qint64 valorBarra = 0;

private:
    std::unique_ptr<Consultas> m_consultas;
    std::unique_ptr<Gravador> m_gravador;
    bool m_janelaFechada = false;
    bool m_lote = false;
};

} // namespace motor
