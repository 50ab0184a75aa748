#include "Acompanhamento.h"

#include "Gravacao.h"

#include "platform/Cp1252.h"
#include "platform/CursorEspera.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace entrega {

namespace {

const QString Proc = QStringLiteral("Fun_GerarRelatorio");

// Reads a file line by line, lines split only at CR LF.
class LeitorLinhas {
public:
    explicit LeitorLinhas(const QString& caminho) : m_f(caminho) {}
    bool abrir() { return m_f.open(QIODevice::ReadOnly); }
    QString erro() const { return m_erro; }
    // False at the end of the file or on a read failure (erro() not empty).
    bool proxima(QByteArray& linha)
    {
        while (true) {
            const qsizetype fim = m_buf.indexOf("\r\n", m_pos);
            if (fim >= 0) {
                linha = m_buf.mid(m_pos, fim - m_pos);
                m_pos = fim + 2;
                return true;
            }
            if (m_eof) {
                if (m_pos >= m_buf.size())
                    return false;
                linha = m_buf.mid(m_pos);
                m_pos = m_buf.size();
                return true;
            }
            m_buf.remove(0, m_pos);
            m_pos = 0;
            const QByteArray bloco = m_f.read(1 << 20);
            if (bloco.isEmpty()) {
                if (m_f.error() != QFileDevice::NoError) {
                    m_erro = m_f.errorString();
                    return false;
                }
                m_eof = true;
            }
            m_buf += bloco;
        }
    }

private:
    QFile m_f;
    QByteArray m_buf;
    qsizetype m_pos = 0;
    bool m_eof = false;
    QString m_erro;
};

// Inserts the lines of one file, the declaration key and the file's values
// repeated on each.
class Gravador {
public:
    Gravador(db::Conexao& c, db::Erro& e) : m_q(c), m_e(e) {}
    bool preparar()
    {
        return m_q.preparar(QStringLiteral("INSERT INTO tbAcompanhamento (INarquivo, CNPJ, periodoinicial, "
                                           "periodofinal, tipo, NomeArquivo, QtdPaginas, RegistroDump, QtdVolumes, "
                                           "QtdRegistros, Tamanho) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                            &m_e);
    }
    void arquivo(int tipo, const QString& nome, qint32 paginas, qint32 registros, qint64 tamanho)
    {
        m_valores = chaveDeclaracao();
        m_valores << tipo << nome << paginas << QString() << 0 << registros << tamanho;
    }
    bool linha(const QString& texto)
    {
        m_valores[7] = texto;
        ++m_linhas;
        return m_q.executar(m_valores, &m_e);
    }
    qint64 linhas() const { return m_linhas; }

private:
    db::Consulta m_q;
    db::Erro& m_e;
    QVariantList m_valores;
    qint64 m_linhas = 0;
};

bool falhaLeitura(const QString& caminho, const QString& motivo)
{
    geral().gMsg = textoErro(75, motivo + QStringLiteral(": ") + caminho, Proc);
    return false;
}

// GravaLeiaute: the .fmt beside the delivered file, its first line replaced by the heading.
bool gravarLeiaute(Gravador& g, const QString& entregue, bool& erroBanco)
{
    const QString fmt = entregue.left(entregue.size() - 4) + QStringLiteral(".fmt");
    if (!QFileInfo(fmt).isFile())
        return true;
    LeitorLinhas l(fmt);
    if (!l.abrir())
        return falhaLeitura(fmt, QFile(fmt).errorString());
    QByteArray linha;
    bool primeira = true;
    while (l.proxima(linha)) {
        if (!g.linha(primeira ? CabecalhoLeiaute : cp1252::decodificar(linha))) {
            erroBanco = true;
            return false;
        }
        primeira = false;
    }
    if (!l.erro().isEmpty())
        return falhaLeitura(fmt, l.erro());
    return true;
}

bool gravarArquivo(Gravador& g, int tipo, const QString& caminho, bool& erroBanco)
{
    LeitorLinhas l(caminho);
    if (!l.abrir())
        return falhaLeitura(caminho, QFile(caminho).errorString());
    const qint64 tamanho = QFileInfo(caminho).size();
    QByteArray linha;
    if (!l.proxima(linha) && !l.erro().isEmpty())
        return falhaLeitura(caminho, l.erro());
    const qint64 comprimento = linha.size();
    const qint64 registros = std::llround(static_cast<double>(tamanho) / static_cast<double>(comprimento + 2));
    const qint64 ultimos = std::max<qint64>(registros - 29, 31);
    g.arquivo(tipo, QFileInfo(caminho).fileName(), static_cast<qint32>(comprimento / 80 + 1),
              static_cast<qint32>(registros), tamanho);
    if (!gravarLeiaute(g, caminho, erroBanco))
        return false;
    auto inserir = [&](const QString& t) {
        if (g.linha(t))
            return true;
        erroBanco = true;
        return false;
    };
    if (!inserir(QStringLiteral(" ")) || !inserir(TituloPrimeiros))
        return false;
    for (qint64 i = 1; i <= registros; ++i) {
        if (i == ultimos && (!inserir(QStringLiteral(" ")) || !inserir(TituloUltimos)))
            return false;
        if ((i <= 30 || i >= ultimos) && !inserir(cp1252::decodificar(linha)))
            return false;
        if (i < registros && !l.proxima(linha)) {
            if (!l.erro().isEmpty())
                return falhaLeitura(caminho, l.erro());
            break;
        }
    }
    return true;
}

} // namespace

bool Verifica_ImportadosAcompanhamento(QString& mensagem)
{
    mensagem.clear();
    Marcas marcas{};
    if (!lerMarcas({100}, marcas))
        return false;
    mensagem = mensagemPrecondicao(marcas, MsgAcompanhamento, MsgAcompanhamento);
    return true;
}

bool preencherAcompanhamento(qint64& linhas)
{
    Geral& g = geral();
    linhas = 0;
    if (!g.gConn || !g.gConn->aberta()) {
        g.gMsg = textoErro(db::ErroBanco, TextoErroAbertura, Proc);
        return false;
    }
    CursorEspera espera;
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    bool erroBanco = !t.ativa() || !g.gConn->executar(QStringLiteral("DELETE FROM tbAcompanhamento"), {}, &e);
    // Traz_ArquivoGerado
    QList<QPair<int, QString>> gerados;
    if (!erroBanco) {
        db::Consulta q(*g.gConn);
        if (q.preparar(QStringLiteral("SELECT tipo, ArquivoGerado FROM tbImportados") + filtroDeclaracao()
                           + QStringLiteral(" AND Situacao = 100 ORDER BY tipo"),
                       &e)
            && q.executar(chaveDeclaracao(), &e)) {
            while (q.proximo())
                gerados << qMakePair(q.valor(0).toInt(), q.valor(1).toString().trimmed());
            if (q.falhou()) {
                e = q.erro();
                erroBanco = true;
            }
        } else {
            erroBanco = true;
        }
    }
    Gravador gravador(*g.gConn, e);
    if (!erroBanco && !gravador.preparar())
        erroBanco = true;
    bool ok = !erroBanco;
    for (const auto& [tipo, caminho] : gerados) {
        if (!ok)
            break;
        // A delivered file removed since is left out.
        if (caminho.isEmpty() || !QFileInfo(caminho).isFile())
            continue;
        ok = gravarArquivo(gravador, tipo, caminho, erroBanco);
    }
    if (ok && !t.confirmar(&e)) {
        ok = false;
        erroBanco = true;
    }
    if (!ok) {
        t.desfazer();
        cursorPadrao();
        if (erroBanco)
            g.gMsg = textoErro(e, Proc);
        return false;
    }
    linhas = gravador.linhas();
    return true;
}

bool lerAcompanhamento(const QString& nome, QList<FolhaAcompanhamento>& folhas)
{
    Geral& g = geral();
    folhas.clear();
    db::Erro e;
    db::Consulta q(*g.gConn);
    if (q.preparar(QStringLiteral("SELECT a.tipo, a.CNPJ, t.Descricao, a.NomeArquivo, a.QtdPaginas, a.QtdVolumes, "
                                  "a.QtdRegistros, a.Tamanho, a.RegistroDump FROM tbAcompanhamento AS a "
                                  "LEFT JOIN tbTipoArquivos AS t ON t.TipoArquivo = a.tipo "
                                  "ORDER BY a.tipo, a.codsequ"),
                   &e)
        && q.executar(&e)) {
        while (q.proximo()) {
            const qint16 tipo = static_cast<qint16>(q.valor(0).toInt());
            if (folhas.isEmpty() || folhas.last().tipo != tipo) {
                FolhaAcompanhamento f;
                f.tipo = tipo;
                f.cnpj = q.valor(1).toString();
                f.nome = nome;
                f.descricao = q.valor(2).toString();
                f.nomeArquivo = q.valor(3).toString();
                f.qtdPaginas = q.valor(4).toInt();
                f.qtdVolumes = q.valor(5).toInt();
                f.qtdRegistros = q.valor(6).toInt();
                f.tamanho = q.valor(7).toLongLong();
                folhas << f;
            }
            folhas.last().linhas << q.valor(8).toString();
        }
        if (!q.falhou())
            return true;
        e = q.erro();
    }
    g.gMsg = textoErro(e, Proc);
    return false;
}

bool esvaziarAcompanhamento()
{
    Geral& g = geral();
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    if (t.ativa() && g.gConn->executar(QStringLiteral("DELETE FROM tbAcompanhamento"), {}, &e) && t.confirmar(&e))
        return true;
    g.gMsg = textoErro(e, Proc);
    return false;
}

} // namespace entrega
