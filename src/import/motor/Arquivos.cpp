#include "Arquivos.h"

#include "Tabelas.h"

#include "platform/ArquivoDuravel.h"
#include "platform/Cp1252.h"
#include "platform/Pastas.h"

#include <QFile>
#include <QFileInfo>


namespace motor {

QString nomeBaseAceito(qint16 tipo)
{
    const Geral& g = geral();
    return g.gCNPJNumeros + QStringLiteral("-TOBRI-") + QStringLiteral("%1").arg(tipo, 2, 10, QLatin1Char('0'))
        + u'-' + g.gPeriodoInicial.toString(QStringLiteral("yyyyMMdd"))
        + g.gPeriodoFinal.toString(QStringLiteral("yyyyMMdd"));
}

QString nomeBaseAceito()
{
    return nomeBaseAceito(geral().gTipoArquivo);
}

QString caminhoCopiaAceita(qint16 tipo)
{
    const QString ext = tipo == 6 ? QStringLiteral(".txt") : QStringLiteral(".imp");
    return caminhoEm(pastas().dados, nomeBaseAceito(tipo) + ext);
}

QString caminhoLay(qint16 tipo)
{
    return caminhoEm(pastas().dados, nomeBaseAceito(tipo) + QStringLiteral(".lay"));
}

QString caminhoCopiaAceita()
{
    return caminhoCopiaAceita(geral().gTipoArquivo);
}

QString caminhoLay()
{
    return caminhoLay(geral().gTipoArquivo);
}

QString caminhoCopiaTemporaria()
{
    return caminhoEm(pastas().dados, nomeBaseAceito() + SufixoCopiaAceita);
}

namespace {
bool falhaTexto(const QString& detalhe)
{
    geral().gMsg = textoErro(75, detalhe, QStringLiteral("Importar_Texto"));
    return false;
}
} // namespace

bool Importar_Texto(QString& arquivo, Painel* painel)
{
    Geral& g = geral();
    arquivo = caminhoCopiaAceita();
    if (painel) {
        painel->status(QStringLiteral("Finalizando procedimentos. Por favor aguarde..."));
        painel->rende();
    }
    const QString tmp = caminhoCopiaTemporaria();
    bool ok = true;
    QString motivo;
    if (!QFileInfo::exists(tmp)) {
        // No copy was written while reading: copy the source now.
        if (!QFileInfo::exists(g.gArquivoOrigem))
            ok = falhaTexto(QStringLiteral("Arquivo não encontrado: %1").arg(g.gArquivoOrigem));
        else if (!duravel::copiarParaOLugar(g.gArquivoOrigem, tmp, arquivo, &motivo))
            ok = falhaTexto(QStringLiteral("Não foi possível gravar %1: %2").arg(arquivo, motivo));
    } else if (!duravel::colocarNoLugar(tmp, arquivo, &motivo)) {
        // The copy reaches the disk before its name does: a status row never
        // stands over an empty or cut copy.
        QFile::remove(tmp);
        ok = falhaTexto(QStringLiteral("Não foi possível gravar %1: %2").arg(arquivo, motivo));
    }
    if (painel)
        painel->status(QString());
    return ok;
}

namespace {

// Left-aligned, padded with blanks, cut at the width.
QByteArray esquerda(const QByteArray& v, int largura)
{
    return v.left(largura).leftJustified(largura, ' ');
}

// Right-aligned when shorter than the width; else left-aligned and cut.
QByteArray direita(const QByteArray& v, int largura)
{
    const QByteArray t = v.trimmed();
    if (t.size() < largura)
        return t.rightJustified(largura, ' ');
    return t.left(largura);
}

} // namespace

QByteArray textoLeiaute(const Leiaute& l, int tamanhoRegistro)
{
    QByteArray r = "RECORD_LENGTH " + QByteArray::number(tamanhoRegistro + 2) + " SKIP 0\r\n";
    QStringList& lay = geral().gLeiauteLay;
    lay.clear();
    for (const CampoLeiaute& c : l.todos) {
        QByteArray linha;
        const QByteArray nome = c.nomeReduzido.isEmpty() ? QByteArray(" ") : cp1252::codificar(c.nomeReduzido);
        linha += esquerda(nome, 15);
        linha += esquerda(cp1252::codificar(c.tipo), 10);
        linha += direita(QByteArray::number(c.posicao), 3);
        linha += direita(QByteArray::number(c.tamanho), 4);
        linha += c.tipo == QLatin1String("NUMERIC") ? direita(QByteArray::number(c.decimais), 2) : QByteArray("  ");
        linha += c.codsequ == 1 ? QByteArray(" PICTURE \"DDMMYYYY\"") : QByteArray(19, ' ');
        lay << cp1252::decodificar(linha);
        r += linha + "\r\n";
    }
    return r;
}

bool Importar_leiaute()
{
    Geral& g = geral();
    static const QString proc = QStringLiteral("Importar_leiaute");
    Leiaute l;
    QString msg;
    if (!lerLeiaute(l, msg)) {
        g.gMsg = msg + QStringLiteral(" (") + proc + u')';
        return false;
    }
    const QString destino = caminhoLay();
    const QString tmp = destino + SufixoCopiaAceita;
    QFile f(tmp);
    const QByteArray bytes = textoLeiaute(l, g.gTamanhoARQ);
    QString motivo;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() || !f.flush()) {
        motivo = f.errorString();
    } else {
        f.close();
        duravel::colocarNoLugar(tmp, destino, &motivo);
    }
    if (!motivo.isEmpty()) {
        f.close();
        QFile::remove(tmp);
        g.gMsg = textoErro(75, QStringLiteral("Não foi possível gravar %1: %2").arg(destino, motivo), proc);
        return false;
    }
    return true;
}

bool GravaImportados(const QString& arquivo)
{
    Geral& g = geral();
    const qint16 situacao = g.gRegErros == 0 ? 90 : 777;
    const QString nome = arquivo.isEmpty() ? QStringLiteral(" ") : arquivo;
    const qint64 lidos = static_cast<qint64>(g.gRegLidos);
    const qint64 corretos = static_cast<qint64>(g.gRegCorretos);
    const qint64 erros = static_cast<qint64>(g.gRegErros);
    const QVariantList chave{g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal), g.gTipoArquivo};
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    bool ok = t.ativa();
    if (ok) {
        ok = g.gConn->executar(
            QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao, "
                           "RegLidos, RegCorretos, RegErros, NomeArquivo, ArquivoGerado) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ' ')"),
            chave + QVariantList{situacao, lidos, corretos, erros, nome}, &e);
        if (!ok && e.numero == db::ErroBanco)
            ok = g.gConn->executar(
                QStringLiteral("UPDATE tbImportados SET Situacao = ?, RegLidos = ?, RegCorretos = ?, RegErros = ?, "
                               "NomeArquivo = ? WHERE INarquivo = ? AND CNPJ = ? AND periodoinicial = ? "
                               "AND periodofinal = ? AND Tipo = ?"),
                QVariantList{situacao, lidos, corretos, erros, nome} + chave, &e);
    }
    ok = ok && t.confirmar(&e);
    if (!ok) {
        t.desfazer();
        g.gMsg = textoErro(e, QStringLiteral("GravaImportados"));
    }
    return ok;
}

} // namespace motor
