#include "Gravacao.h"

#include "import/motor/Arquivos.h"
#include "import/motor/Tabelas.h"
#include "platform/ArquivoDuravel.h"
#include "platform/Cp1252.h"
#include "platform/CursorEspera.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace entrega {

namespace {

QVariantList chave()
{
    const Geral& g = geral();
    return {g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal)};
}

const QString FiltroDeclaracao =
    QStringLiteral(" WHERE INarquivo = ? AND CNPJ = ? AND periodoinicial = ? AND periodofinal = ?");

bool semConexao(const QString& proc)
{
    Geral& g = geral();
    if (g.gConn && g.gConn->aberta())
        return false;
    g.gMsg = textoErro(db::ErroBanco, TextoErroAbertura, proc);
    return true;
}

QString periodoNome()
{
    const Geral& g = geral();
    return g.gPeriodoInicial.toString(QStringLiteral("yyyyMMdd")) + g.gPeriodoFinal.toString(QStringLiteral("yyyyMMdd"));
}

// Identifier of a file type in the "01" records.
QByteArray identificadorTipo(qint16 tipo, qint16 in)
{
    switch (tipo) {
    case 1: return "PLCOG";
    case 2: return "PLCOA";
    case 3: return in == 68 ? "CENTC" : "CENCD";
    case 4: return "CENTD";
    case 5: return "HISTP";
    case 6: return "LANCG";
    case 7: return "LANCA";
    case 8: return "SALMG";
    case 9: return "SALMA";
    default: return QByteArray(5, ' ');
    }
}

// Whole cents, half away from zero, zero-filled to 20 characters.
QByteArray centavos20(Moeda total)
{
    const int64_t u = total.unidades();
    const int64_t c = (u >= 0 ? u + 50 : u - 50) / 100;
    if (c < 0)
        return "-" + QByteArray::number(-c).rightJustified(19, '0', true);
    return QByteArray::number(c).rightJustified(20, '0', true);
}

// Sum of a money column of a staging table; null (empty table) is 0.
bool lerSoma(Moeda& total, const QString& coluna, const QString& base, const QString& proc)
{
    Geral& g = geral();
    if (semConexao(proc))
        return false;
    CursorEspera espera;
    db::Erro e;
    const QVariant v = g.gConn->escalar(
        QStringLiteral("SELECT sum(%1) AS TotalValor FROM %2").arg(coluna, motor::nomeTabela(base)), {}, &e);
    if (!e.ok()) {
        cursorPadrao();
        g.gMsg = proc == QLatin1String("Fun_Ler_Saldos")
                     ? QStringLiteral("Cód.erro ") + QString::number(e.numero, 'f', 0) + QStringLiteral("\r\nMsg. Erro: ")
                           + e.descricao + QStringLiteral(" (") + proc + u')'
                     : textoErro(e, proc);
        return false;
    }
    total = Moeda::deUnidades(v.isNull() ? 0 : v.toLongLong());
    return true;
}

QString comNaoEfetuada(const QString& texto)
{
    if (texto.contains(MsgNaoEfetuada))
        return texto;
    return texto + QStringLiteral("\r\n") + MsgNaoEfetuada;
}

QString textoFalhaEscrita(const QString& destino)
{
    return QStringLiteral("Erros ocorridos durante a gravação no dispositivo ") + destino.toUpper()
        + QStringLiteral(" - Gravação não efetuada.");
}

// One file of the set: its bytes come from a source file or are given.
struct Alvo {
    QString origem;
    QByteArray bytes;
    QString destino;
    QString temporario;
};

enum class FalhaCopia { Nenhuma, Origem, Midia, Escrita };

FalhaCopia escrever(const Alvo& a, QString& motivo)
{
    QFile saida(a.temporario);
    if (!saida.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        motivo = saida.errorString();
        return FalhaCopia::Midia;
    }
    if (a.origem.isEmpty()) {
        if (saida.write(a.bytes) != a.bytes.size()) {
            motivo = saida.errorString();
            return FalhaCopia::Escrita;
        }
    } else {
        QFile entrada(a.origem);
        if (!entrada.open(QIODevice::ReadOnly)) {
            motivo = entrada.errorString();
            return FalhaCopia::Origem;
        }
        QByteArray bloco(1 << 20, Qt::Uninitialized);
        while (true) {
            const qint64 n = entrada.read(bloco.data(), bloco.size());
            if (n < 0) {
                motivo = entrada.errorString();
                return FalhaCopia::Origem;
            }
            if (n == 0)
                break;
            if (saida.write(bloco.constData(), n) != n) {
                motivo = saida.errorString();
                return FalhaCopia::Escrita;
            }
        }
    }
    saida.close();
    if (saida.error() != QFileDevice::NoError) {
        motivo = saida.errorString();
        return FalhaCopia::Escrita;
    }
    return FalhaCopia::Nenhuma;
}

// A file put in place, with the second name of the file it replaced.
struct Colocado {
    QString destino;
    QString anterior;  // empty: no earlier file, or it could not be kept
    bool existia = false;
};

// Puts the earlier files back (or removes the new ones that had none), last first.
void recolocar(QList<Colocado>& colocados, const QString& pasta)
{
    for (auto it = colocados.crbegin(); it != colocados.crend(); ++it) {
        if (!it->anterior.isEmpty())
            renomearSobre(it->anterior, it->destino);
        else if (!it->existia)
            QFile::remove(it->destino);
    }
    colocados.clear();
    duravel::sincronizarPasta(pasta);
}

} // namespace

QString mensagemPrecondicao(const Marcas& marcas, const QString& msgGeral, const QString& msgAuxiliar)
{
    QString mensagem;
    for (int tipo : {1, 2, 6, 7, 8, 9}) {
        if (marcas[tipo])
            continue;
        if (tipo == 1 || tipo == 6 || tipo == 8)
            mensagem = msgGeral;
        else if ((tipo == 7 || tipo == 9) && marcas[2])
            mensagem = msgAuxiliar;
    }
    return mensagem;
}

bool lerMarcas(const QList<int>& aceitas, Marcas& marcas)
{
    static const QString proc = QStringLiteral("Verifica_Importados");
    Geral& g = geral();
    marcas.fill(false);
    if (semConexao(proc))
        return false;
    CursorEspera espera;
    db::Erro e;
    db::Consulta q(*g.gConn);
    if (q.preparar(QStringLiteral("SELECT Tipo, Situacao FROM tbImportados") + FiltroDeclaracao
                       + QStringLiteral(" AND Tipo IN (1, 2, 6, 7, 8, 9) ORDER BY Tipo"),
                   &e)
        && q.executar(chave(), &e)) {
        while (q.proximo()) {
            const int tipo = q.valor(0).toInt();
            const QVariant s = q.valor(1);
            if (tipo >= 1 && tipo <= 9 && !s.isNull() && aceitas.contains(s.toInt()))
                marcas[tipo] = true;
        }
        if (!q.falhou())
            return true;
        e = q.erro();
    }
    cursorPadrao();
    g.gMsg = textoErro(e, proc);
    return false;
}

bool Verifica_Importados(QString& mensagem)
{
    mensagem.clear();
    Marcas marcas{};
    if (!lerMarcas({0, 100}, marcas))
        return false;
    mensagem = mensagemPrecondicao(marcas, MsgPrecondicaoGeral, MsgPrecondicaoAuxiliar);
    return true;
}

bool fun_Empresarial(bool& achou, QString& nome)
{
    static const QString proc = QStringLiteral("fun_Empresarial");
    Geral& g = geral();
    achou = false;
    nome.clear();
    CursorEspera espera;
    db::Erro e;
    db::Conexao registro;
    if (registro.abrir(caminhoRegistro(), &e)) {
        db::Consulta q(registro);
        if (q.preparar(QStringLiteral("SELECT Nome FROM tbempresariosImportados") + FiltroDeclaracao, &e)
            && q.executar(chave(), &e)) {
            if (q.proximo()) {
                achou = true;
                nome = q.valor(0).toString();
            }
            if (!q.falhou()) {
                registro.fechar();
                return true;
            }
            e = q.erro();
        }
    }
    cursorPadrao();
    g.gMsg = textoErro(e, proc);
    return false;
}

QString versaoIdentificador()
{
    return QStringLiteral("%1").arg(TOBRI_VERSAO_MAIOR, 2, 10, QLatin1Char('0')) + u'.'
        + QString::number(TOBRI_VERSAO_MENOR) + QString::number(TOBRI_VERSAO_REVISAO);
}

QString nomeFormato(const QString& abreviacao)
{
    const Geral& g = geral();
    return g.gCNPJNumeros + QStringLiteral("-TOBRI-") + QString::number(g.gIN) + u'-' + abreviacao + u'-'
        + periodoNome() + QStringLiteral(".fmt");
}

QString nomeEntrega(const QString& abreviacao)
{
    QString n = nomeFormato(abreviacao);
    n.chop(4);
    return n + QStringLiteral(".txt");
}

QString nomeIdentificador()
{
    const Geral& g = geral();
    return g.gCNPJNumeros + QStringLiteral("-TOBRI-") + QString::number(g.gIN) + QStringLiteral("-00-")
        + periodoNome() + QStringLiteral(".txt");
}

bool Fun_Ler_Lancamentos(Moeda& total, qint16 tipo)
{
    return lerSoma(total, QStringLiteral("Valor"), tipo == 6 ? motor::TabLancGeral : motor::TabLancAux,
                   QStringLiteral("Fun_Ler_Lancamentos"));
}

bool Fun_Ler_Saldos(Moeda& total, qint16 tipo)
{
    return lerSoma(total, QStringLiteral("ValorDebitos"), tipo == 8 ? motor::TabSaldosGeral : motor::TabSaldosAux,
                   QStringLiteral("Fun_Ler_Saldos"));
}

bool Fun_Ler_Importados(QList<ArquivoDoConjunto>& arquivos, const QString& destino)
{
    static const QString proc = QStringLiteral("Fun_Ler_Importados");
    Geral& g = geral();
    arquivos.clear();
    if (semConexao(proc))
        return false;
    db::Erro e;
    {
        CursorEspera espera;
        db::Consulta q(*g.gConn);
        if (!q.preparar(QStringLiteral("SELECT Tipo, Situacao, RegLidos, NomeArquivo FROM tbImportados")
                            + FiltroDeclaracao + QStringLiteral(" ORDER BY Tipo"),
                        &e)
            || !q.executar(chave(), &e)) {
            cursorPadrao();
            g.gMsg = textoErro(e, proc);
            return false;
        }
        while (q.proximo()) {
            const QVariant s = q.valor(1);
            const qint16 tipo = static_cast<qint16>(q.valor(0).toInt());
            // Only validated (or already recorded) files are delivered.
            if (s.isNull() || (s.toInt() != 0 && s.toInt() != 100) || tipo < 1 || tipo > 9)
                continue;
            ArquivoDoConjunto a;
            a.tipo = tipo;
            a.regLidos = q.valor(2).toLongLong();
            // The copy its row names; the data folder's copy of the type when
            // that path is gone (the data folder was moved).
            const QString nome = q.valor(3).toString().trimmed();
            a.copia = nome.isEmpty() || !QFileInfo(nome).isFile() ? motor::caminhoCopiaAceita(tipo) : nome;
            a.lay = motor::caminhoLay(tipo);
            arquivos << a;
        }
        if (q.falhou()) {
            cursorPadrao();
            g.gMsg = textoErro(q.erro(), proc);
            return false;
        }
    }
    for (ArquivoDoConjunto& a : arquivos) {
        const qint16 linha = g.gIN == 86 && a.tipo == 3 ? 4 : a.tipo;
        const QVariant abrev = g.gConn->escalar(
            QStringLiteral("SELECT NomeAbrev FROM tbTipoArquivos WHERE TipoArquivo = ?"), {linha}, &e);
        if (!e.ok() || abrev.isNull() || abrev.toString().trimmed().isEmpty()) {
            if (e.ok())
                e = {db::ErroGeral, QStringLiteral("Abreviatura do tipo de arquivo %1 não encontrada.").arg(linha)};
            g.gMsg = textoErro(e, QStringLiteral("Fun_Gravar_leiaute"));
            return false;
        }
        a.abreviacao = abrev.toString().trimmed();
        a.fmt = caminhoEm(destino, nomeFormato(a.abreviacao));
        a.txt = caminhoEm(destino, nomeEntrega(a.abreviacao));
        if (a.tipo == 6 || a.tipo == 7) {
            if (!Fun_Ler_Lancamentos(a.total, a.tipo))
                return false;
        } else if (a.tipo == 8 || a.tipo == 9) {
            if (!Fun_Ler_Saldos(a.total, a.tipo))
                return false;
        }
    }
    return true;
}

QByteArray textoIdentificador(const QString& nomeEmpresarial, const QList<ArquivoDoConjunto>& arquivos)
{
    const Geral& g = geral();
    QByteArray r = "00";
    r += cp1252::codificar(g.gCNPJNumeros).leftJustified(14, ' ', true);
    r += cp1252::codificar(nomeEmpresarial.left(60)).leftJustified(60, ' ', true);
    r += cp1252::codificar(dataDdmmaaaa(g.gPeriodoInicial));
    r += cp1252::codificar(dataDdmmaaaa(g.gPeriodoFinal));
    r += "\r\n";
    for (const ArquivoDoConjunto& a : arquivos) {
        r += "01" + QByteArray::number(g.gIN) + identificadorTipo(a.tipo, g.gIN);
        r += QByteArray::number(a.regLidos).rightJustified(8, '0');
        r += a.tipo >= 6 ? centavos20(a.total) : QByteArray(20, '0');
        r += "\r\n";
    }
    r += "99" + QByteArray::number(arquivos.size() + 2).rightJustified(8, '0');
    r += cp1252::codificar(versaoIdentificador()) + "\r\n";
    return r;
}

bool gravarConjunto(const QString& nomeEmpresarial, QStringList* gravados, const std::function<void()>& passo)
{
    Geral& g = geral();
    if (gravados)
        gravados->clear();
    const QString destino = g.gDestino.trimmed();
    auto falha = [&g](const QString& texto) {
        cursorPadrao();
        g.gMsg = comNaoEfetuada(texto);
        return false;
    };
    const QFileInfo pasta(destino);
    if (destino.isEmpty() || !pasta.isDir() || !pasta.isWritable() || !pasta.isExecutable())
        return falha(MsgMidia);

    QList<ArquivoDoConjunto> arquivos;
    if (!Fun_Ler_Importados(arquivos, destino))
        return falha(g.gMsg);
    if (arquivos.isEmpty())
        return falha(MsgPrecondicaoGeral);

    CursorEspera espera;
    QList<Alvo> alvos;
    int64_t total = 0;
    for (const ArquivoDoConjunto& a : arquivos) {
        for (const QString& origem : {a.lay, a.copia}) {
            const QFileInfo fi(origem);
            if (!fi.isFile())
                return falha(textoErro(53, QStringLiteral("Arquivo não encontrado: %1").arg(origem),
                                       QStringLiteral("Fun_Gravar_leiaute")));
            total += fi.size();
        }
        alvos << Alvo{a.lay, {}, a.fmt, {}};
    }
    for (const ArquivoDoConjunto& a : arquivos)
        alvos << Alvo{a.copia, {}, a.txt, {}};
    const QByteArray identificador = textoIdentificador(nomeEmpresarial, arquivos);
    alvos << Alvo{{}, identificador, caminhoEm(destino, nomeIdentificador()), {}};
    total += identificador.size();
    if (!Fun_VerificaEspacoDisco(total, destino))
        return falha(MsgSemEspaco);

    QStringList temporarios;
    auto desfaz = [&temporarios, &falha](const QString& texto) {
        for (const QString& t : temporarios)
            QFile::remove(t);
        return falha(texto);
    };
    for (Alvo& a : alvos) {
        a.temporario = a.destino + QStringLiteral(".gravando");
        temporarios << a.temporario;
        QString motivo;
        switch (escrever(a, motivo)) {
        case FalhaCopia::Nenhuma:
            break;
        case FalhaCopia::Origem:
            return desfaz(textoErro(75, motivo + QStringLiteral(": ") + a.origem, QStringLiteral("Fun_Gravar_leiaute")));
        case FalhaCopia::Midia:
            return desfaz(MsgMidia);
        case FalhaCopia::Escrita:
            return desfaz(textoFalhaEscrita(destino));
        }
        if (!duravel::sincronizarArquivo(a.temporario))
            return desfaz(textoFalhaEscrita(destino));
        if (passo)
            passo();
    }

    // The statuses change in a transaction that commits only once every
    // file is in place.
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa())
        return desfaz(textoErro(e, QStringLiteral("fun_GravaImportados")));
    for (const ArquivoDoConjunto& a : arquivos)
        if (!fun_GravaImportados(100, a.tipo, a.txt))
            return desfaz(g.gMsg);
    // A file of an earlier recording keeps a second name (a hard link) until
    // the new set is committed, so that a failure puts it back.
    QList<Colocado> colocados;
    auto desfazTudo = [&](const QString& texto) {
        recolocar(colocados, destino);
        return desfaz(texto);
    };
    for (const Alvo& a : alvos) {
        Colocado c{a.destino, {}, QFileInfo::exists(a.destino)};
        if (c.existia) {
            const QString anterior = a.destino + QStringLiteral(".anterior");
            QFile::remove(anterior);
            if (::link(QFile::encodeName(a.destino).constData(), QFile::encodeName(anterior).constData()) == 0)
                c.anterior = anterior;
        }
        if (!renomearSobre(a.temporario, a.destino)) {
            if (!c.anterior.isEmpty())
                QFile::remove(c.anterior);
            return desfazTudo(textoFalhaEscrita(destino));
        }
        colocados << c;
        temporarios.removeOne(a.temporario);
    }
    if (!duravel::sincronizarPasta(destino))
        return desfazTudo(textoFalhaEscrita(destino));
    if (!t.confirmar(&e))
        return desfazTudo(textoErro(e, QStringLiteral("fun_GravaImportados")));
    for (const Colocado& c : colocados)
        if (!c.anterior.isEmpty())
            QFile::remove(c.anterior);
    if (gravados)
        for (const Alvo& a : alvos)
            *gravados << QFileInfo(a.destino).fileName();
    if (passo)
        passo();
    return true;
}

} // namespace entrega
