#include "ModeloLeiaute.h"

#include "platform/Banco.h"
#include "platform/CursorEspera.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <QRegularExpression>

namespace {

const QString TextoInvalido = QStringLiteral("Tamanho do campo inválido.");
const QString TextoInferior = QStringLiteral("Tamanho do campo inferior ao permitido.");

bool falha(const db::Erro& e)
{
    geral().gMsg = textoErro(e);
    return false;
}

db::Erro semConexao()
{
    return db::Erro{db::ErroBanco, db::TextoNaoAberto};
}

bool conectado()
{
    const Geral& g = geral();
    return g.gConn && g.gConn->aberta();
}

// Key of the declaration and type in hand, in the order the queries bind it.
QVariantList chaveTipo()
{
    return chaveDeclaracao(PeriodoComo::Ddmmaaaa) << geral().gTipoArquivo;
}

const QString FiltroTipo = filtroDeclaracao() + QStringLiteral(" AND TipoArquivo = ?");

} // namespace

namespace leiaute {

bool LER_LeiauteDIG(bool& achou)
{
    achou = false;
    if (!conectado())
        return falha(semConexao());
    db::Erro e;
    db::Consulta q(*geral().gConn);
    if (!q.preparar(QStringLiteral("SELECT codsequ FROM TbleiauteDIG") + FiltroTipo
                        + QStringLiteral(" ORDER BY codsequ"), &e)
        || !q.executar(chaveTipo(), &e))
        return falha(e);
    achou = q.proximo();
    if (q.falhou())
        return falha(q.erro());
    return true;
}

bool LER_LeiautePadrao(const QString& codsequ, qint16& tamanho, QList<CampoPadrao>* campos)
{
    CursorEspera espera;
    if (campos)
        campos->clear();
    if (!conectado())
        return falha(semConexao());
    const Geral& g = geral();
    QString sql = QStringLiteral(
        "SELECT Codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, Posicaoinicial, Tamanho, Decimais, tipo"
        " FROM Tbleiautepadrao WHERE INarquivo = ? AND TipoArquivo = ?");
    QVariantList params{g.gIN, g.gTipoArquivo};
    if (!codsequ.isEmpty()) {
        sql += QStringLiteral(" AND codsequ = ?");
        params << codsequ.toInt();
    }
    sql += QStringLiteral(" ORDER BY codsequ");
    db::Erro e;
    db::Consulta q(*g.gConn);
    if (!q.preparar(sql, &e) || !q.executar(params, &e)) {
        espera.restaurar();
        return falha(e);
    }
    bool primeira = true;
    while (q.proximo()) {
        CampoPadrao c;
        c.codsequ = q.valor(0).toInt();
        c.inArquivo = qint16(q.valor(1).toInt());
        c.tipoArquivo = qint16(q.valor(2).toInt());
        c.nomeCampo = q.valor(3).toString();
        c.nomeReduzido = q.valor(4).toString();
        c.posicaoInicial = q.valor(5).toInt();
        c.tamanho = q.valor(6).toInt();
        c.decimais = q.valor(7).toInt();
        c.tipo = q.valor(8).toString();
        if (primeira)
            tamanho = qint16(c.tamanho);
        primeira = false;
        if (campos)
            campos->append(c);
    }
    if (q.falhou()) {
        espera.restaurar();
        return falha(q.erro());
    }
    return true;
}

bool CarregaTabela(QList<CampoPadrao>& campos)
{
    qint16 tamanho = 0;
    return LER_LeiautePadrao(QString(), tamanho, &campos);
}

bool copiaPadrao()
{
    CursorEspera espera;
    if (!conectado())
        return falha(semConexao());
    Geral& g = geral();
    db::Erro e;
    // The delete runs inside the transaction: a failed copy keeps the old layout.
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa() || !g.gConn->executar(QStringLiteral("DELETE FROM TbleiauteDIG"), {}, &e)) {
        espera.restaurar();
        return falha(e);
    }
    QList<CampoPadrao> campos;
    qint16 tamanho = 0;
    if (!LER_LeiautePadrao(QString(), tamanho, &campos))
        return false;
    db::Consulta ins(*g.gConn);
    if (!ins.preparar(QStringLiteral(
                          "INSERT INTO TbleiauteDIG (codsequ, INarquivo, CNPJ, periodoinicial, periodofinal, "
                          "TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo)"
                          " VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"),
                      &e)) {
        espera.restaurar();
        return falha(e);
    }
    const QString inicio = dataDdmmaaaa(g.gPeriodoInicial);
    const QString fim = dataDdmmaaaa(g.gPeriodoFinal);
    for (const CampoPadrao& c : campos) {
        if (!ins.executar({c.codsequ, c.inArquivo, g.gCNPJ, inicio, fim, c.tipoArquivo, c.nomeCampo,
                           c.nomeReduzido, c.posicaoInicial, c.tamanho, c.decimais, c.tipo},
                          &e)) {
            espera.restaurar();
            return falha(e);
        }
    }
    if (!t.confirmar(&e)) {
        espera.restaurar();
        return falha(e);
    }
    return true;
}

} // namespace leiaute

ModeloLeiaute::ModeloLeiaute(QObject* parent)
    : QAbstractTableModel(parent)
{
    m_linhas.append(Entrada{});
}

void ModeloLeiaute::definirPadrao(const QList<leiaute::CampoPadrao>& campos)
{
    m_padrao = campos;
    m_ultimoPadrao = campos.isEmpty() ? 0 : campos.last().codsequ;
}

bool ModeloLeiaute::carregar()
{
    beginResetModel();
    m_linhas.clear();
    m_linhas.append(Entrada{});
    bool ok = conectado();
    db::Erro e = ok ? db::Erro{} : semConexao();
    if (ok) {
        db::Consulta q(*geral().gConn);
        ok = q.preparar(QStringLiteral("SELECT rowid, codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, "
                                       "PosicaoInicial, Tamanho, Decimais, tipo, CNPJ, periodoinicial, periodofinal"
                                       " FROM TbleiauteDIG")
                            + FiltroTipo + QStringLiteral(" ORDER BY codsequ"),
                        &e)
            && q.executar(chaveTipo(), &e);
        if (ok) {
            QList<Entrada> lidas;
            while (q.proximo()) {
                Linha l;
                l.rowid = q.valor(0).toLongLong();
                l.codsequ = q.valor(1);
                l.inArquivo = q.valor(2);
                l.tipoArquivo = q.valor(3);
                l.nomeCampo = q.valor(4).toString();
                l.nomeReduzido = q.valor(5).toString();
                l.posicaoInicial = q.valor(6);
                l.inicio = l.posicaoInicial;
                l.tamanho = q.valor(7);
                l.decimais = q.valor(8);
                l.tipo = q.valor(9).toString();
                l.cnpj = q.valor(10).toString();
                l.periodoInicial = q.valor(11).toString();
                l.periodoFinal = q.valor(12).toString();
                lidas.append(Entrada{l, std::nullopt});
            }
            if (q.falhou()) {
                ok = false;
                e = q.erro();
            } else {
                lidas.append(Entrada{});
                m_linhas = lidas;
            }
        }
    }
    endResetModel();
    return ok || falha(e);
}

int ModeloLeiaute::rowCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : int(m_linhas.size());
}

int ModeloLeiaute::columnCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : NumColunas;
}

QVariant ModeloLeiaute::valor(const Linha& l, int coluna) const
{
    switch (coluna) {
    case ColCodsequ: return l.codsequ;
    case ColInArquivo: return l.inArquivo;
    case ColTipoarquivo: return l.tipoArquivo;
    case ColNomeCampo: return l.nomeCampo;
    case ColInicio: return l.inicio;
    case ColNomeReduzido: return l.nomeReduzido;
    case ColPosicaoInicial: return l.posicaoInicial;
    case ColTamanho: return l.tamanho;
    case ColDecimais: return l.decimais;
    case ColTipo: return l.tipo;
    case ColCnpj: return l.cnpj;
    case ColPeriodoInicial: return l.periodoInicial;
    case ColPeriodoFinal: return l.periodoFinal;
    default: return {};
    }
}

QVariant ModeloLeiaute::data(const QModelIndex& i, int papel) const
{
    if (!i.isValid() || i.row() >= m_linhas.size())
        return {};
    const Linha& l = m_linhas.at(i.row()).atual();
    switch (papel) {
    case Qt::DisplayRole: {
        const QVariant v = valor(l, i.column());
        return v.isNull() ? QVariant() : QVariant(v.toString());
    }
    case Qt::EditRole: {
        // Plain text editors, so any typed text reaches the size rules.
        const QVariant v = valor(l, i.column());
        return v.isNull() ? QString() : v.toString();
    }
    case Qt::TextAlignmentRole:
        switch (i.column()) {
        case ColCodsequ: case ColInArquivo: case ColTipoarquivo: case ColInicio:
        case ColPosicaoInicial: case ColTamanho: case ColDecimais:
            return int(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    default:
        return {};
    }
}

QVariant ModeloLeiaute::headerData(int secao, Qt::Orientation o, int papel) const
{
    if (o != Qt::Horizontal || papel != Qt::DisplayRole)
        return QAbstractTableModel::headerData(secao, o, papel);
    static const char* const Titulos[NumColunas] = {
        "Codsequ", "InArquivo", "Tipoarquivo", "Nome do Campo", "Início", "NomeReduzido",
        "Posição Inicial", "Tamanho", "Decimais", "Tipo", "cnpj", "periodoinicial", "periodofinal",
    };
    if (secao < 0 || secao >= NumColunas)
        return {};
    return QString::fromUtf8(Titulos[secao]);
}

Qt::ItemFlags ModeloLeiaute::flags(const QModelIndex& i) const
{
    if (!i.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (i.column() == ColTamanho || (i.column() == ColNomeCampo && !linhaPadrao(i.row())))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ModeloLeiaute::linhaNova(int linha) const
{
    return linha == m_linhas.size() - 1;
}

bool ModeloLeiaute::linhaPadrao(int linha) const
{
    if (linha < 0 || linha >= m_linhas.size() || linhaNova(linha))
        return false;
    const QVariant& c = m_linhas.at(linha).gravada.codsequ;
    return !c.isNull() && c.toInt() <= m_ultimoPadrao;
}

bool ModeloLeiaute::pendente(int linha) const
{
    return linha >= 0 && linha < m_linhas.size() && m_linhas.at(linha).edicao.has_value();
}

bool ModeloLeiaute::temPendencia() const
{
    for (const Entrada& e : m_linhas)
        if (e.edicao)
            return true;
    return false;
}

void ModeloLeiaute::descartar(int linha)
{
    if (!pendente(linha))
        return;
    m_linhas[linha].edicao.reset();
    Q_EMIT dataChanged(index(linha, 0), index(linha, NumColunas - 1));
}

void ModeloLeiaute::descartarTudo()
{
    for (int r = 0; r < m_linhas.size(); ++r)
        descartar(r);
}

qint32 ModeloLeiaute::maiorCodsequ() const
{
    qint32 maior = 0;
    for (const Entrada& e : m_linhas)
        if (!e.gravada.codsequ.isNull())
            maior = qMax(maior, e.gravada.codsequ.toInt());
    return maior;
}

qint64 ModeloLeiaute::comprimentoRegistro() const
{
    qint64 soma = 0;
    for (const Entrada& e : m_linhas)
        soma += e.gravada.tamanho.toLongLong();
    return soma;
}

bool ModeloLeiaute::recusar(const QModelIndex& i, const QString& texto)
{
    Q_EMIT recusado(i, texto);
    return false;
}

ModeloLeiaute::Linha& ModeloLeiaute::editar(int linha)
{
    Entrada& e = m_linhas[linha];
    if (!e.edicao)
        e.edicao = e.gravada;
    return *e.edicao;
}

QVariant ModeloLeiaute::inicioDaNova() const
{
    if (m_linhas.size() < 2)
        return 1;
    const Linha& ultima = m_linhas.at(m_linhas.size() - 2).gravada;
    return ultima.posicaoInicial.toInt() + ultima.tamanho.toInt();
}

bool ModeloLeiaute::inicioAlemDoLimite(int linha, qint32 tamanho) const
{
    qint64 inicio = 1;
    for (int k = 0; k < m_linhas.size(); ++k) {
        const Entrada& e = m_linhas.at(k);
        if (linhaNova(k) && k != linha && !e.edicao)
            break;
        if (k >= linha && inicio > leiaute::InicioMaximo)
            return true;
        inicio += k == linha ? tamanho : e.atual().tamanho.toLongLong();
    }
    return false;
}

bool ModeloLeiaute::setData(const QModelIndex& i, const QVariant& v, int papel)
{
    if (!i.isValid() || papel != Qt::EditRole || !(flags(i) & Qt::ItemIsEditable))
        return false;
    const int r = i.row();
    if (i.column() == ColNomeCampo) {
        Linha& l = editar(r);
        if (linhaNova(r) && l.inicio.isNull())
            l.inicio = inicioDaNova();
        l.nomeCampo = v.toString();
    } else {
        const QString texto = v.toString().trimmed();
        if (texto.isEmpty())
            return recusar(i, QString());
        static const QRegularExpression soDigitos(QStringLiteral("^[0-9]+$"));
        bool ok = soDigitos.match(texto).hasMatch();
        const qint64 tamanho = ok ? texto.toLongLong(&ok) : 0;
        if (!ok || tamanho <= 0 || tamanho > leiaute::TamanhoMaximo)
            return recusar(i, TextoInvalido);
        const QString nome = m_linhas.at(r).atual().nomeCampo;
        for (const leiaute::CampoPadrao& c : m_padrao) {
            if (nome == c.nomeCampo && c.tamanho > tamanho)
                return recusar(i, TextoInferior);
        }
        if (inicioAlemDoLimite(r, qint32(tamanho)))
            return recusar(i, TextoInvalido);
        Linha& l = editar(r);
        if (linhaNova(r) && l.inicio.isNull())
            l.inicio = inicioDaNova();
        l.tamanho = qint32(tamanho);
    }
    Q_EMIT dataChanged(index(r, 0), index(r, NumColunas - 1));
    return true;
}

// Writes contiguous starts for the stored rows (inside the caller's
// transaction); `inicios` receives the start of every stored row.
bool ModeloLeiaute::renumerar(QList<qint32>& inicios)
{
    inicios.clear();
    db::Erro e;
    db::Consulta upd(*geral().gConn);
    if (!upd.preparar(QStringLiteral("UPDATE TbleiauteDIG SET PosicaoInicial = ? WHERE rowid = ?"), &e))
        return falha(e);
    qint32 inicio = 1;
    for (int k = 0; k < m_linhas.size(); ++k) {
        const Linha& l = m_linhas.at(k).gravada;
        if (l.rowid == 0)
            continue;
        inicios.append(inicio);
        if (l.posicaoInicial.isNull() || l.posicaoInicial.toInt() != inicio) {
            if (!upd.executar({inicio, l.rowid}, &e))
                return falha(e);
        }
        inicio += l.tamanho.toInt();
    }
    return true;
}

void ModeloLeiaute::aplicarInicios(const QList<qint32>& inicios)
{
    int j = 0;
    for (int k = 0; k < m_linhas.size(); ++k) {
        Linha& l = m_linhas[k].gravada;
        if (l.rowid == 0 || j >= inicios.size())
            continue;
        l.posicaoInicial = inicios.at(j);
        l.inicio = inicios.at(j);
        if (m_linhas[k].edicao) {
            m_linhas[k].edicao->posicaoInicial = inicios.at(j);
            m_linhas[k].edicao->inicio = inicios.at(j);
        }
        ++j;
    }
    if (!m_linhas.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_linhas.size()) - 1, NumColunas - 1));
}

bool ModeloLeiaute::RecalculaPosicoes()
{
    if (!conectado())
        return falha(semConexao());
    db::Erro e;
    db::Transacao t(*geral().gConn, &e);
    if (!t.ativa())
        return falha(e);
    QList<qint32> inicios;
    if (!renumerar(inicios))
        return false;
    if (!t.confirmar(&e))
        return falha(e);
    aplicarInicios(inicios);
    return true;
}

ModeloLeiaute::Gravacao ModeloLeiaute::gravarLinha(int linha, Recusa* recusa)
{
    if (!pendente(linha))
        return Gravacao::Gravada;
    Linha w = *m_linhas.at(linha).edicao;
    const auto recusada = [&](const QString& texto, int coluna) {
            if (recusa)
            *recusa = Recusa{texto, coluna};
        return Gravacao::Recusada;
    };
    if (w.tamanho.isNull())
        return recusada(QStringLiteral("Tamanho do campo não preenchido."), ColTamanho);
    if (w.nomeCampo.trimmed().isEmpty())
        return recusada(QStringLiteral("Nome do campo não preenchido."), ColNomeCampo);
    if (!conectado()) {
        falha(semConexao());
        return Gravacao::Falhou;
    }

    Geral& g = geral();
    const bool nova = w.rowid == 0;
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa()) {
        falha(e);
        return Gravacao::Falhou;
    }
    if (nova) {
        w.codsequ = maiorCodsequ() + 1;
        w.inArquivo = g.gIN;
        w.tipoArquivo = g.gTipoArquivo;
        w.nomeReduzido = w.nomeCampo.left(15);
        if (w.inicio.isNull())
            w.inicio = inicioDaNova();
        w.posicaoInicial = w.inicio;
        w.decimais = 0;
        w.tipo = QStringLiteral("ASCII");
        w.cnpj = g.gCNPJ;
        w.periodoInicial = dataDdmmaaaa(g.gPeriodoInicial);
        w.periodoFinal = dataDdmmaaaa(g.gPeriodoFinal);
        db::Consulta ins(*g.gConn);
        if (!ins.preparar(QStringLiteral(
                              "INSERT INTO TbleiauteDIG (codsequ, INarquivo, CNPJ, periodoinicial, periodofinal, "
                              "TipoArquivo, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo)"
                              " VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"),
                          &e)
            || !ins.executar({w.codsequ, w.inArquivo, w.cnpj, w.periodoInicial, w.periodoFinal, w.tipoArquivo,
                              w.nomeCampo, w.nomeReduzido, w.posicaoInicial, w.tamanho, w.decimais, w.tipo},
                             &e)) {
            falha(e);
            return Gravacao::Falhou;
        }
        w.rowid = ins.query().lastInsertId().toLongLong();
    } else if (!g.gConn->executar(QStringLiteral("UPDATE TbleiauteDIG SET NomeCampo = ?, Tamanho = ? WHERE rowid = ?"),
                                  {w.nomeCampo, w.tamanho, w.rowid}, &e)) {
        falha(e);
        return Gravacao::Falhou;
    }

    // Renumber with the row as written; the model changes only after the commit.
    const Entrada antes = m_linhas.at(linha);
    m_linhas[linha] = Entrada{w, std::nullopt};
    QList<qint32> inicios;
    if (!renumerar(inicios) || !t.confirmar(&e)) {
        if (!e.ok())
            falha(e);
        m_linhas[linha] = antes;
        return Gravacao::Falhou;
    }
    if (nova) {
        const int n = int(m_linhas.size());
        beginInsertRows(QModelIndex(), n, n);
        m_linhas.append(Entrada{});
        endInsertRows();
    }
    aplicarInicios(inicios);
    return Gravacao::Gravada;
}

ModeloLeiaute::Exclusao ModeloLeiaute::excluirLinha(int linha)
{
    if (linha < 0 || linha >= m_linhas.size())
        return Exclusao::Ignorada;
    if (linhaNova(linha)) {
        descartar(linha);
        return Exclusao::Ignorada;
    }
    if (linhaPadrao(linha))
        return Exclusao::Ignorada;
    if (!conectado()) {
        falha(semConexao());
        return Exclusao::Falhou;
    }
    db::Erro e;
    db::Transacao t(*geral().gConn, &e);
    if (!t.ativa()
        || !geral().gConn->executar(QStringLiteral("DELETE FROM TbleiauteDIG WHERE rowid = ?"),
                                    {m_linhas.at(linha).gravada.rowid}, &e)) {
        falha(e);
        return Exclusao::Falhou;
    }
    const Entrada removida = m_linhas.at(linha);
    m_linhas.removeAt(linha);
    QList<qint32> inicios;
    const bool ok = renumerar(inicios) && t.confirmar(&e);
    m_linhas.insert(linha, removida);
    if (!ok) {
        if (!e.ok())
            falha(e);
        return Exclusao::Falhou;
    }
    beginRemoveRows(QModelIndex(), linha, linha);
    m_linhas.removeAt(linha);
    endRemoveRows();
    aplicarInicios(inicios);
    return Exclusao::Excluida;
}
