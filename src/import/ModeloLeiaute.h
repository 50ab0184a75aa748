#pragma once
// The working record layout of the file type in hand (TbleiauteDIG): the
// reads and the standard copy behind the layout editor, and the editable
// grid model that keeps the layout's rules and writes it row by row.
#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

namespace leiaute {

// One row of Tbleiautepadrao.
struct CampoPadrao {
    qint32 codsequ = 0;
    qint16 inArquivo = 0;
    qint16 tipoArquivo = 0;
    QString nomeCampo;
    QString nomeReduzido;
    qint32 posicaoInicial = 0;
    qint32 tamanho = 0;
    qint32 decimais = 0;
    QString tipo;
};

// Largest size a field may take, and the last column a field may start at
// (the layout description keeps starts in 3 digits and sizes in 4).
inline constexpr qint32 TamanhoMaximo = 9999;
inline constexpr qint32 InicioMaximo = 999;

// Each returns false with the error text in gMsg ("cod.erro N\r\nmsg. Erro: ...").

// Whether the declaration in hand has a working layout of gTipoArquivo.
bool LER_LeiauteDIG(bool& achou);
// Standard rows of (gIN, gTipoArquivo) in Codsequ order; only the row of one
// id when codsequ is not empty (tamanho then holds its size).
bool LER_LeiautePadrao(const QString& codsequ, qint16& tamanho, QList<CampoPadrao>* campos = nullptr);
// The standard fields of the type, as the editor's rules need them.
bool CarregaTabela(QList<CampoPadrao>& campos);
// Replaces the whole working table by the standard layout of the type, in one
// transaction: a failure leaves the table as it was.
bool copiaPadrao();

} // namespace leiaute

class ModeloLeiaute : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Coluna {
        ColCodsequ, ColInArquivo, ColTipoarquivo, ColNomeCampo, ColInicio, ColNomeReduzido,
        ColPosicaoInicial, ColTamanho, ColDecimais, ColTipo, ColCnpj, ColPeriodoInicial,
        ColPeriodoFinal, NumColunas
    };

    struct Recusa {
        QString texto;   // empty: refused without a message
        int coluna = -1; // cell to go back to
    };
    enum class Gravacao { Gravada, Recusada, Falhou };
    enum class Exclusao { Ignorada, Excluida, Falhou };

    explicit ModeloLeiaute(QObject* parent = nullptr);

    // The standard fields of the type (CarregaTabela); the last of them marks
    // the standard rows.
    void definirPadrao(const QList<leiaute::CampoPadrao>& campos);
    qint32 ultimoCodsequPadrao() const { return m_ultimoPadrao; }
    void definirUltimoCodsequPadrao(qint32 c) { m_ultimoPadrao = c; }

    // Reads the working layout of the declaration and type in hand; false
    // with gMsg set on failure (the grid is then empty).
    bool carregar();

    int rowCount(const QModelIndex& pai = QModelIndex()) const override;
    int columnCount(const QModelIndex& pai = QModelIndex()) const override;
    QVariant data(const QModelIndex& i, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation o, int papel = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& i) const override;
    // Cell rules: a refused value returns false, with its message in the
    // signal recusado().
    bool setData(const QModelIndex& i, const QVariant& valor, int papel = Qt::EditRole) override;

    // The last row is the empty row where a field is appended.
    bool linhaNova(int linha) const;
    bool linhaPadrao(int linha) const;
    bool pendente(int linha) const;
    bool temPendencia() const;
    void descartar(int linha);
    void descartarTudo();
    qint32 maiorCodsequ() const;
    qint64 comprimentoRegistro() const;

    // Row rules and the write of a row left by the user, followed by the
    // renumbering of the starts; Falhou leaves gMsg.
    Gravacao gravarLinha(int linha, Recusa* recusa = nullptr);
    // Removes an appended row and closes the gap; standard rows are kept.
    Exclusao excluirLinha(int linha);
    // Starts contiguous from 1 in codsequ order; false with gMsg.
    bool RecalculaPosicoes();

Q_SIGNALS:
    void recusado(const QModelIndex& indice, const QString& texto);

private:
    struct Linha {
        qint64 rowid = 0;  // 0 until stored
        QVariant codsequ, inArquivo, tipoArquivo;
        QString nomeCampo, nomeReduzido;
        QVariant inicio, posicaoInicial, tamanho, decimais;
        QString tipo, cnpj, periodoInicial, periodoFinal;
    };
    struct Entrada {
        Linha gravada;
        std::optional<Linha> edicao;
        const Linha& atual() const { return edicao ? *edicao : gravada; }
    };

    bool recusar(const QModelIndex& i, const QString& texto);
    Linha& editar(int linha);
    QVariant inicioDaNova() const;
    bool inicioAlemDoLimite(int linha, qint32 tamanho) const;
    bool renumerar(QList<qint32>& inicios);
    void aplicarInicios(const QList<qint32>& inicios);
    QVariant valor(const Linha& l, int coluna) const;

    QList<Entrada> m_linhas;  // stored rows, then the new row
    QList<leiaute::CampoPadrao> m_padrao;
    qint32 m_ultimoPadrao = 0;
};
