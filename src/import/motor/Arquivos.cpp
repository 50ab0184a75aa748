#include "Arquivos.h"

#include "Tabelas.h"

#include "platform/ArquivoDuravel.h"
#include "platform/Cp1252.h"
#include "platform/Digesto.h"
#include "platform/Pastas.h"
#include "shell/Servicos.h"

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

bool Importar_Texto(QString& arquivo, Painel* painel, DigestosAceitos* digestos)
{
    Geral& g = geral();
    arquivo = caminhoCopiaAceita();
    if (painel) {
        painel->status(QStringLiteral("Finalizando procedimentos. Por favor aguarde..."));
        painel->rende();
    }
    const QString tmp = caminhoCopiaTemporaria();
    // A copy whose digest was not taken as it was written is not kept.
    if (digestos && digestos->copia.isEmpty())
        QFile::remove(tmp);
    bool ok = true;
    QString motivo;
    if (!QFileInfo::exists(tmp)) {
        // No copy was written while reading: copy the source now.
        digesto::Fluxo d;
        if (!QFileInfo::exists(g.gArquivoOrigem))
            ok = falhaTexto(QStringLiteral("Arquivo não encontrado: %1").arg(g.gArquivoOrigem));
        else if (!duravel::copiarParaOLugar(g.gArquivoOrigem, tmp, arquivo, &motivo, &d))
            ok = falhaTexto(QStringLiteral("Não foi possível gravar %1: %2").arg(arquivo, motivo));
        else if (digestos)
            digestos->copia = d.hex();
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

// The columns of a .lay's field line: short name, type, position, width,
// decimals, then the date's picture.
constexpr qsizetype LarguraNome = 15;
constexpr qsizetype LarguraTipo = 10;
constexpr qsizetype LarguraPosicao = 3;
constexpr qsizetype LarguraTamanho = 4;
constexpr qsizetype LarguraDecimais = 2;
constexpr qsizetype InicioPosicao = LarguraNome + LarguraTipo;
constexpr qsizetype InicioTamanho = InicioPosicao + LarguraPosicao;
constexpr qsizetype InicioDecimais = InicioTamanho + LarguraTamanho;

// Left-aligned, padded with blanks, cut at the width.
QByteArray esquerda(const QByteArray& v, qsizetype largura)
{
    return v.left(largura).leftJustified(largura, ' ');
}

// Right-aligned when shorter than the width; else left-aligned and cut.
QByteArray direita(const QByteArray& v, qsizetype largura)
{
    const QByteArray t = v.trimmed();
    if (t.size() < largura)
        return t.rightJustified(largura, ' ');
    return t.left(largura);
}

QByteArrayView coluna(QByteArrayView linha, qsizetype inicio, qsizetype largura)
{
    if (inicio >= linha.size())
        return {};
    return linha.sliced(inicio, std::min(largura, linha.size() - inicio));
}

bool numero(QByteArrayView texto, int& n)
{
    bool ok = false;
    n = texto.trimmed().toByteArray().toInt(&ok);
    return ok;
}

CampoLay campoDaLinha(QByteArrayView linha, int tamanhoRegistro)
{
    CampoLay c;
    c.nome = coluna(linha, 0, LarguraNome).trimmed().toByteArray();
    const QByteArrayView dec = coluna(linha, InicioDecimais, LarguraDecimais).trimmed();
    c.legivel = numero(coluna(linha, InicioPosicao, LarguraPosicao), c.posicao)
        && numero(coluna(linha, InicioTamanho, LarguraTamanho), c.largura) && (dec.isEmpty() || numero(dec, c.decimais))
        && c.posicao >= 1 && c.largura >= 1 && c.decimais >= 0 && c.posicao - 1 + c.largura <= tamanhoRegistro - 2;
    return c;
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
        linha += esquerda(nome, LarguraNome);
        linha += esquerda(cp1252::codificar(c.tipo), LarguraTipo);
        linha += direita(QByteArray::number(c.posicao), LarguraPosicao);
        linha += direita(QByteArray::number(c.tamanho), LarguraTamanho);
        linha += c.tipo == QLatin1String("NUMERIC") ? direita(QByteArray::number(c.decimais), LarguraDecimais)
                                                    : QByteArray(LarguraDecimais, ' ');
        linha += c.codsequ == 1 ? QByteArray(" PICTURE \"DDMMYYYY\"") : QByteArray(19, ' ');
        lay << cp1252::decodificar(linha);
        r += linha + "\r\n";
    }
    return r;
}

bool lerLay(QByteArrayView bytes, DescricaoLay& lay, QString& erro)
{
    lay = DescricaoLay{};
    if (bytes.isEmpty()) {
        erro = QStringLiteral("o leiaute está vazio");
        return false;
    }
    bool primeira = true;
    while (!bytes.isEmpty()) {
        const qsizetype fim = bytes.indexOf('\n');
        QByteArrayView linha = fim < 0 ? bytes : bytes.first(fim);
        bytes = fim < 0 ? QByteArrayView() : bytes.sliced(fim + 1);
        if (linha.endsWith('\r'))
            linha.chop(1);
        if (!primeira) {
            lay.campos << campoDaLinha(linha, lay.tamanhoRegistro);
            continue;
        }
        primeira = false;
        const QList<QByteArray> partes = linha.toByteArray().simplified().split(' ');
        int n = 0;
        if (partes.size() < 2 || partes.at(0) != "RECORD_LENGTH" || !numero(partes.at(1), n) || n < 3) {
            erro = QStringLiteral("o leiaute não informa o tamanho do registro");
            return false;
        }
        lay.tamanhoRegistro = n;
    }
    return true;
}

const CampoLay* DescricaoLay::campo(QByteArrayView nome, QString& erro) const
{
    for (const CampoLay& c : campos) {
        if (c.nome != nome)
            continue;
        if (c.legivel)
            return &c;
        erro = QStringLiteral("o campo %1 do leiaute está fora do registro").arg(QString::fromLatin1(nome));
        return nullptr;
    }
    erro = QStringLiteral("o leiaute não tem o campo %1").arg(QString::fromLatin1(nome));
    return nullptr;
}

bool Importar_leiaute(DigestosAceitos* digestos)
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
    const QByteArray bytes = textoLeiaute(l, g.gTamanhoARQ);
    QString motivo;
    if (!duravel::gravarNoLugar(bytes, destino + SufixoCopiaAceita, destino, &motivo)) {
        g.gMsg = textoErro(75, QStringLiteral("Não foi possível gravar %1: %2").arg(destino, motivo), proc);
        return false;
    }
    if (digestos)
        digestos->lay = digesto::de(bytes);
    return true;
}

bool GravaImportados(const QString& arquivo, const DigestosAceitos& digestos)
{
    Geral& g = geral();
    const qint16 situacao = g.gRegErros == 0 ? 90 : 777;
    const QString nome = arquivo.isEmpty() ? QStringLiteral(" ") : arquivo;
    const qint64 lidos = static_cast<qint64>(g.gRegLidos);
    const qint64 corretos = static_cast<qint64>(g.gRegCorretos);
    const qint64 erros = static_cast<qint64>(g.gRegErros);
    const QVariantList chave = chaveDeclaracao() << g.gTipoArquivo;
    auto ouNulo = [](const QString& d) { return d.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(d); };
    const QVariantList valores{situacao, lidos, corretos, erros, nome, ouNulo(digestos.copia), ouNulo(digestos.lay)};
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    bool ok = t.ativa();
    if (ok) {
        ok = g.gConn->executar(
            QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao, "
                           "RegLidos, RegCorretos, RegErros, NomeArquivo, DigestoCopia, DigestoLay, ArquivoGerado) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ' ')"),
            chave + valores, &e);
    }
    ok = ok && t.confirmar(&e);
    if (!ok) {
        t.desfazer();
        g.gMsg = textoErro(e, QStringLiteral("GravaImportados"));
    }
    return ok;
}

} // namespace motor
