#include "Leitura.h"

#include "platform/ArquivoDuravel.h"
#include "platform/Dialogos.h"
#include "platform/Digesto.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <cmath>
#include <cstring>

namespace motor {

namespace {
bool temCrOuLf(const char* p, qsizetype n)
{
    return n > 0 && (std::memchr(p, '\r', n) || std::memchr(p, '\n', n));
}
} // namespace

LeitorLinhas::LeitorLinhas(qsizetype maxLinha, qsizetype bloco)
    : m_maxLinha(std::max<qsizetype>(maxLinha, 0))
    , m_bloco(std::max<qsizetype>(bloco, 4096))
{
}

LeitorLinhas::~LeitorLinhas()
{
    fechar();
}

void LeitorLinhas::definirCopia(QFile* copia)
{
    m_copia = copia;
    m_digesto = copia ? std::make_unique<digesto::Fluxo>() : nullptr;
}

QString LeitorLinhas::digestoCopia() const
{
    return m_digesto ? m_digesto->hex() : QString();
}

bool LeitorLinhas::abrir(const QString& caminho, QString& erro)
{
    fechar();
    m_arquivo.setFileName(caminho);
    if (!m_arquivo.open(QIODevice::ReadOnly)) {
        erro = m_arquivo.errorString();
        return false;
    }
    m_buf.resize(m_bloco + m_maxLinha + 2);
    m_ini = m_fim = 0;
    m_eof = false;
    m_erro.clear();
    m_erroCopia.clear();
    if (m_copia)
        m_digesto = std::make_unique<digesto::Fluxo>();
    return true;
}

void LeitorLinhas::fechar()
{
    if (m_arquivo.isOpen())
        m_arquivo.close();
    m_buf.clear();
    m_longa.clear();
    m_ini = m_fim = 0;
}

// Moves the unread bytes to the front and reads more after them.
bool LeitorLinhas::encher()
{
    if (m_eof)
        return false;
    char* b = m_buf.data();
    const qsizetype pendente = m_fim - m_ini;
    if (m_ini > 0 && pendente > 0)
        std::memmove(b, b + m_ini, pendente);
    m_ini = 0;
    m_fim = pendente;
    const qint64 n = m_arquivo.read(b + m_fim, m_buf.size() - m_fim);
    if (n < 0) {
        m_erro = m_arquivo.errorString();
        m_eof = true;
        return false;
    }
    if (n == 0) {
        m_eof = true;
        return false;
    }
    if (m_copia && m_erroCopia.isEmpty()) {
        if (m_copia->write(b + m_fim, n) != n)
            m_erroCopia = m_copia->errorString();
        else
            m_digesto->alimentar(b + m_fim, n);
    }
    m_fim += n;
    return true;
}

bool LeitorLinhas::proxima(Registro& r)
{
    bool longa = false;        // the head went to m_longa, the rest is being skipped
    qint64 descartados = 0;    // bytes of this line already passed over
    bool crlf = false;
    qsizetype busca = m_ini;
    for (;;) {
        char* b = m_buf.data();
        // The first CR LF from the start of the line ends it.
        qsizetype fimLinha = -1;
        while (busca < m_fim) {
            const void* p = std::memchr(b + busca, '\n', m_fim - busca);
            if (!p)
                break;
            const qsizetype i = static_cast<const char*>(p) - b;
            if (i > m_ini && b[i - 1] == '\r') {
                fimLinha = i - 1;
                break;
            }
            busca = i + 1;
        }
        const bool fimArquivo = fimLinha < 0 && m_eof;
        if (fimLinha >= 0 || fimArquivo) {
            const qsizetype ate = fimLinha >= 0 ? fimLinha : m_fim;
            if (fimArquivo && !longa && ate == m_ini)
                return false;
            const qsizetype n = ate - m_ini;
            if (!longa) {
                r.dados = b + m_ini;
                r.tamanho = n;
                r.guardado = n;
                r.temCrLf = temCrOuLf(b + m_ini, n);
            } else {
                r.dados = m_longa.data();
                r.tamanho = descartados + n;
                r.guardado = m_longa.size();
                r.temCrLf = crlf || temCrOuLf(b + m_ini, n);
            }
            m_ini = fimLinha >= 0 ? fimLinha + 2 : m_fim;
            return true;
        }
        // The line goes on past the bytes in hand.
        const qsizetype pendente = m_fim - m_ini;
        if (!longa && pendente > m_maxLinha + 1) {
            // Too long for any layout: keep its head, skip the rest while
            // noting a CR or LF in it. The last byte stays (it may be the CR of
            // the line's end).
            longa = true;
            m_longa = QByteArray(b + m_ini, m_maxLinha + 1);
        }
        if (longa && pendente > 1) {
            crlf = crlf || temCrOuLf(b + m_ini, pendente - 1);
            descartados += pendente - 1;
            m_ini = m_fim - 1;
        }
        const qsizetype jaVisto = m_fim - m_ini;
        if (!encher()) {
            if (!m_erro.isEmpty())
                return false;
        }
        busca = m_ini + std::max<qsizetype>(jaVisto - 1, 0);
    }
}

qint64 tamanhoArquivo(const QString& caminho)
{
    return QFileInfo(caminho).size();
}

QByteArrayView linhaAdiante(QByteArrayView adiante, const Registro& r, int k)
{
    const qsizetype passo = r.tamanho + 2;
    const qsizetype ini = passo * k;
    if (r.tamanho <= 0 || ini + passo > adiante.size())
        return {};
    return adiante.sliced(ini, r.tamanho);
}

qint64 maximoBarra(qint64 tamanho, int tamanhoRegistro)
{
    const double d = static_cast<double>(tamanhoRegistro) + 2.0;
    return static_cast<qint64>(std::llround(static_cast<double>(tamanho) / d));
}

namespace {

// Ends the loop: commits the batch, closes the copy, shows the last progress.
class Saida {
public:
    Saida(Contexto& c, LeitorLinhas& l, QFile& copia) : m_c(c), m_l(l), m_copia(copia) {}
    bool operator()(bool resultado, Contexto::Fim fim)
    {
        m_c.fim = fim;
        if (!m_c.confirmarLote()) {
            resultado = false;
            m_c.fim = Contexto::Fim::Falha;
        }
        if (m_copia.isOpen()) {
            if (!m_copia.flush() && m_c.erroCopia.isEmpty())
                m_c.erroCopia = m_copia.errorString();
            m_copia.close();
            m_c.digestoCopia = m_l.digestoCopia();
        }
        if (m_c.erroCopia.isEmpty())
            m_c.erroCopia = m_l.erroCopia();
        m_l.fechar();
        if (fim != Contexto::Fim::Cancelado)   // Cancelar has set the bar back to 0
            m_c.painel.valorBarra(m_c.valorBarra);
        return resultado;
    }

private:
    Contexto& m_c;
    LeitorLinhas& m_l;
    QFile& m_copia;
};

} // namespace

bool lerArquivo(Contexto& ctx, const OpcoesLeitura& op, const TesteArquivo& teste)
{
    using Fim = Contexto::Fim;
    Geral& g = ctx.g;
    if (op.zerarContadores)
        g.gRegLidos = g.gRegCorretos = g.gRegErros = 0;
    const qsizetype tamanhoRegistro = std::max<qsizetype>(g.gTamanhoARQ, 0);
    LeitorLinhas leitor(tamanhoRegistro);
    QFile copia;
    Saida sair(ctx, leitor, copia);
    QString erro;
    if (!leitor.abrir(g.gArquivoOrigem, erro)) {
        ctx.falhar(textoErro(53, erro));
        return sair(false, Fim::Falha);
    }
    if (op.gravarCopia && !ctx.copiaTemporaria.isEmpty()) {
        QString motivo;
        if (duravel::criarTemporario(copia, ctx.copiaTemporaria, &motivo))
            leitor.definirCopia(&copia);
        else
            ctx.erroCopia = motivo;
    }
    QElapsedTimer relogio;
    relogio.start();
    Registro r;
    auto parouNoTeste = [&]() {
        return sair(false, ctx.janelaFechada() ? Fim::JanelaFechada : Fim::Falha);
    };
    while (leitor.proxima(r)) {
        g.gRegLidos += 1;
        if (ctx.valorBarra < ctx.maximoBarra)
            ++ctx.valorBarra;
        r.bom = true;
        if (relogio.elapsed() >= 50) {
            ctx.painel.valorBarra(ctx.valorBarra);
            if (op.mostrarContagem)
                ctx.painel.status(QString::number(static_cast<qint64>(g.gRegLidos)));
            ctx.painel.rende();
            relogio.restart();
        }
        ctx.painel.registroLido(static_cast<qint64>(g.gRegLidos));
        if (ctx.painel.cancelar) {
            ctx.painel.cancelar = false;
            return sair(false, Fim::Cancelado);
        }
        if (op.testarCrLf && op.crLfAntesDoTamanho && r.temCrLf && !ctx.erro(r, 49))
            return parouNoTeste();
        if (r.tamanho != tamanhoRegistro) {
            sair(false, Fim::TamanhoErrado);
            dlg::MsgBox(TextoTamanhoErrado);
            ctx.painel.cancelar = false;
            return false;
        }
        if (op.testarCrLf && !op.crLfAntesDoTamanho && r.temCrLf && !ctx.erro(r, 49))
            return parouNoTeste();
        if (teste.antecipar)
            teste.antecipar(ctx, r, leitor.adiante());
        if (teste.testar && !teste.testar(ctx, r))
            return parouNoTeste();
        if (!r.bom) {
            g.gRegErros += 1;
            if (g.gRegErros >= LimiteErros)
                return sair(true, Fim::Limite);
        } else {
            g.gRegCorretos += 1;
            if (teste.gravar && !teste.gravar(ctx, r))
                return parouNoTeste();
        }
        if (ctx.painel.cancelar) {
            ctx.painel.cancelar = false;
            return sair(false, Fim::Cancelado);
        }
    }
    if (!leitor.erro().isEmpty()) {
        ctx.falhar(textoErro(57, leitor.erro()));
        return sair(false, Fim::Falha);
    }
    return sair(true, Fim::Normal);
}

} // namespace motor
