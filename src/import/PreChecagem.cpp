#include "PreChecagem.h"

#include "platform/CursorEspera.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <QFile>
#include <QFileInfo>

namespace prechecagem {

namespace {

QVariantList chaveTipo()
{
    return chaveDeclaracao(PeriodoComo::Ddmmaaaa) << geral().gTipoArquivo;
}

const QString FiltroLeiaute =
    QStringLiteral(" FROM TbleiauteDIG") + filtroDeclaracao() + QStringLiteral(" AND TipoArquivo = ?");

bool conectado(db::Erro& e)
{
    const Geral& g = geral();
    if (g.gConn && g.gConn->aberta())
        return true;
    e = db::Erro{db::ErroBanco, db::TextoNaoAberto};
    return false;
}

} // namespace

bool Tamanho_Registro()
{
    Geral& g = geral();
    const QString proc = QStringLiteral("ERRO_Tamanho_Registro");
    db::Erro e;
    QVariant soma;
    if (conectado(e))
        soma = g.gConn->escalar(QStringLiteral("SELECT sum(tamanho) AS TamanhoARQ") + FiltroLeiaute, chaveTipo(), &e);
    if (!e.ok()) {
        g.gMsg = textoErro(e, proc);
        return false;
    }
    if (soma.isNull()) {
        g.gMsg = textoErro(94, QStringLiteral("Uso inválido de Null"), proc);
        return false;
    }
    const qint64 total = soma.toLongLong();
    if (total <= 0 || total > 32767) {
        g.gMsg = textoErro(6, QStringLiteral("Estouro"), proc);
        return false;
    }
    g.gTamanhoARQ = qint16(total);
    return true;
}

bool Posicao_inicial(qint16& posicao, qint16& tamanho)
{
    CursorEspera espera;
    Geral& g = geral();
    db::Erro e;
    if (conectado(e)) {
        db::Consulta q(*g.gConn);
        if (q.preparar(QStringLiteral("SELECT posicaoinicial, Tamanho") + FiltroLeiaute
                           + QStringLiteral(" AND codsequ = 2"),
                       &e)
            && q.executar(chaveTipo(), &e)) {
            if (q.proximo()) {
                posicao = qint16(q.valor(0).toInt());
                tamanho = qint16(q.valor(1).toInt());
                return true;
            }
            e = q.falhou() ? q.erro() : db::Erro{3021, QStringLiteral("BOF ou EOF é verdadeiro, ou o registro atual foi excluído. "
                                              "A operação solicitada requer um registro atual.")};
        }
    }
    espera.restaurar();
    g.gMsg = textoErro(e);
    return false;
}

bool Tamanho_RegistroTexto(const QString& arquivo, qint64 limite, QByteArray& linha)
{
    Geral& g = geral();
    linha.clear();
    if (g.gIN == 68) {
        qint16 posicao = 0, tamanho = 0;
        if (!Posicao_inicial(posicao, tamanho))
            return false;
    }
    CursorEspera espera;
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly)) {
        espera.restaurar();
        g.gMsg = f.exists() ? textoErro(75, QStringLiteral("Erro de acesso ao caminho/arquivo"))
                            : textoErro(53, QStringLiteral("Arquivo não encontrado"));
        return false;
    }
    // Enough bytes to tell a line of `limite` from a longer one.
    const qint64 quero = qMax<qint64>(0, limite) + 2;
    QByteArray bytes;
    while (bytes.size() < quero) {
        const QByteArray parte = f.read(quero - bytes.size());
        if (parte.isEmpty())
            break;
        bytes += parte;
    }
    if (f.error() != QFileDevice::NoError) {
        espera.restaurar();
        g.gMsg = textoErro(62, QStringLiteral("Entrada após o final do arquivo"));
        return false;
    }
    // A line ends only at CR LF; a lone CR or LF belongs to the line.
    const qsizetype fim = bytes.indexOf("\r\n");
    linha = fim >= 0 ? bytes.left(fim) : bytes;
    return true;
}

Resultado verificar(const QString& arquivo)
{
    Geral& g = geral();
    const QFileInfo info(arquivo);
    if (!info.exists() || !info.isFile() || !info.isReadable())
        return Resultado::Inacessivel;
    const qint64 tamanho = info.size();
    if (tamanho == 0)
        return Resultado::Vazio;
    if (!Tamanho_Registro())
        return Resultado::ErroLeiaute;
    QByteArray linha;
    if (!Tamanho_RegistroTexto(arquivo, g.gTamanhoARQ, linha))
        return Resultado::ErroLeitura;
    if (linha.size() != g.gTamanhoARQ)
        return Resultado::TamanhoInvalido;
    if (tamanho % (qint64(g.gTamanhoARQ) + 2) != 0)
        return Resultado::TamanhoInvalido;
    return Resultado::Aceito;
}

} // namespace prechecagem
