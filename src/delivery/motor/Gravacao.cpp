#include "Gravacao.h"

#include "Pasta.h"
#include "Prova.h"

#include "import/motor/Arquivos.h"
#include "import/motor/Tabelas.h"
#include "platform/ArquivoDuravel.h"
#include "platform/Cp1252.h"
#include "platform/CursorEspera.h"
#include "platform/Digesto.h"
#include "platform/Pastas.h"
#include "platform/TravaPasta.h"
#include "platform/VerificacaoBanco.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace entrega {

namespace {

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

// One file of the new set: a copy of a data file (proven as it is copied)
// or the given bytes (.fmt, identifier).
struct Alvo {
    QString destino;
    QByteArray bytes;
    const ArquivoDoConjunto* dados = nullptr;
    FormaRegistro forma;
};

enum class FalhaCopia { Nenhuma, Origem, Midia, Escrita, Prova, Alterado };

FalhaCopia escrever(const Alvo& a, const QString& temporario, QString& motivo)
{
    QFile saida;
    if (!duravel::criarNovo(saida, temporario, &motivo))
        return FalhaCopia::Midia;
    if (!a.dados) {
        if (saida.write(a.bytes) != a.bytes.size()) {
            motivo = saida.errorString();
            return FalhaCopia::Escrita;
        }
    } else {
        QFile entrada(a.dados->copia);
        if (!entrada.open(QIODevice::ReadOnly)) {
            motivo = entrada.errorString();
            return FalhaCopia::Origem;
        }
        Prova prova(a.forma);
        digesto::Fluxo copiado;
        QByteArray bloco(1 << 20, Qt::Uninitialized);
        while (prova.inteiro()) {
            const qint64 n = entrada.read(bloco.data(), bloco.size());
            if (n < 0) {
                motivo = entrada.errorString();
                return FalhaCopia::Origem;
            }
            if (n == 0)
                break;
            prova.alimentar(bloco.constData(), n);
            copiado.alimentar(bloco.constData(), n);
            if (saida.write(bloco.constData(), n) != n) {
                motivo = saida.errorString();
                return FalhaCopia::Escrita;
            }
        }
        prova.concluir();
        const QByteArray campo = campoDoTotal(a.dados->tipo);
        if (!prova.inteiro())
            motivo = prova.falha();
        else if (prova.linhas() != a.dados->regLidos)
            motivo = QStringLiteral("tem %1 registros e a importação leu %2").arg(prova.linhas()).arg(a.dados->regLidos);
        else if (!campo.isEmpty() && prova.total() != a.dados->total)
            motivo = QStringLiteral("a soma de %1 é %2 e o total validado é %3")
                         .arg(QString::fromLatin1(campo), prova.total().textoAgrupado(), a.dados->total.textoAgrupado());
        if (!motivo.isEmpty())
            return FalhaCopia::Prova;
        if (copiado.hex() != a.dados->digestoCopia)
            return FalhaCopia::Alterado;
    }
    if (!duravel::sincronizarArquivo(saida, temporario, &motivo))
        return FalhaCopia::Escrita;
    saida.close();
    if (saida.error() != QFileDevice::NoError) {
        motivo = saida.errorString();
        return FalhaCopia::Escrita;
    }
    return FalhaCopia::Nenhuma;
}

// A folder a stopped recording left that could not be put back in order.
QString textoPastaEmDesordem(const QString& destino, const QString& motivo)
{
    return QStringLiteral("A pasta %1 guarda uma gravação interrompida que não pôde ser posta em ordem: %2. Os "
                          "arquivos foram mantidos; o arquivo identificador anterior só volta ao seu nome quando "
                          "todos os arquivos que ele lista estiverem na pasta.")
        .arg(destino, motivo);
}

QString textoNaoValidado(const ArquivoDoConjunto& a, const QString& motivo)
{
    return QStringLiteral("O arquivo %1 não é o que foi validado: %2. Importe e valide o arquivo novamente.")
        .arg(QFileInfo(a.copia).fileName(), motivo);
}

// A copy or .lay whose bytes are not those the import wrote.
QString textoAlterado(const QString& arquivo)
{
    return QStringLiteral("O arquivo %1 não é o que foi importado e validado: foi alterado depois da importação. "
                          "Importe e valide o arquivo novamente.")
        .arg(QFileInfo(arquivo).fileName());
}

// A status row without digests: imported by an earlier version.
QString textoSemDigesto(const ArquivoDoConjunto& a)
{
    return QStringLiteral("O arquivo %1 foi importado por uma versão anterior e não pode ser conferido. "
                          "Importe e valide o arquivo novamente.")
        .arg(QFileInfo(a.copia).fileName());
}

} // namespace

bool nomesNaPasta(const QString& pasta, NomesNaPasta& nomes)
{
    Geral& g = geral();
    nomes = NomesNaPasta{pasta, caminhoEm(pasta, nomeIdentificador()), {}, {}};
    db::Erro e;
    db::Consulta q(*g.gConn);
    if (!q.preparar(QStringLiteral("SELECT TipoArquivo, NomeAbrev FROM tbTipoArquivos"), &e) || !q.executar({}, &e)) {
        g.gMsg = textoErro(e, QStringLiteral("Fun_Gravar_leiaute"));
        return false;
    }
    QHash<int, QString> abreviacoes;
    while (q.proximo()) {
        const QString abrev = q.valor(1).toString().trimmed();
        if (abrev.isEmpty())
            continue;
        abreviacoes.insert(q.valor(0).toInt(), abrev);
        nomes.arquivos << caminhoEm(pasta, nomeFormato(abrev)) << caminhoEm(pasta, nomeEntrega(abrev));
    }
    if (q.falhou()) {
        g.gMsg = textoErro(q.erro(), QStringLiteral("Fun_Gravar_leiaute"));
        return false;
    }
    nomes.arquivos.removeDuplicates();
    for (qint16 tipo = 1; tipo <= 9; ++tipo) {
        const QString abrev = abreviacoes.value(g.gIN == 86 && tipo == 3 ? 4 : tipo);
        if (!abrev.isEmpty()) {
            QString raiz = caminhoEm(pasta, nomeFormato(abrev));
            raiz.chop(4);
            nomes.raizDoRegistro.insert(identificadorTipo(tipo, g.gIN), raiz);
        }
    }
    return true;
}

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
    if (q.preparar(QStringLiteral("SELECT Tipo, Situacao FROM tbImportados") + filtroDeclaracao()
                       + QStringLiteral(" AND Tipo IN (1, 2, 6, 7, 8, 9) ORDER BY Tipo"),
                   &e)
        && q.executar(chaveDeclaracao(), &e)) {
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
        if (q.preparar(QStringLiteral("SELECT Nome FROM tbempresariosImportados") + filtroDeclaracao(), &e)
            && q.executar(chaveDeclaracao(), &e)) {
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
        if (!q.preparar(QStringLiteral("SELECT Tipo, Situacao, RegLidos, DigestoCopia, DigestoLay FROM tbImportados")
                            + filtroDeclaracao() + QStringLiteral(" ORDER BY Tipo"),
                        &e)
            || !q.executar(chaveDeclaracao(), &e)) {
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
            // The data folder's copy, the one the validation read (the row's
            // NomeArquivo may name a folder the data was moved from).
            a.copia = motor::caminhoCopiaAceita(tipo);
            a.lay = motor::caminhoLay(tipo);
            a.digestoCopia = q.valor(3).toString();
            a.digestoLay = q.valor(4).toString();
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
    const QString destino = g.gDestino;
    auto falha = [&g](const QString& texto) {
        cursorPadrao();
        g.gMsg = comNaoEfetuada(texto);
        return false;
    };
    auto acessivel = [&destino] {
        const QFileInfo pasta(destino);
        return !destino.isEmpty() && pasta.isDir() && pasta.isWritable() && pasta.isExecutable();
    };
    if (!acessivel())
        return falha(MsgMidia);
    // One recording at a time in a folder, from its repair to its clean-up.
    const TravaPasta trava(destino);
    if (trava.estado() == TravaPasta::Estado::Ocupada)
        return falha(MsgPastaOcupada.arg(destino));
    if (trava.estado() != TravaPasta::Estado::Obtida)
        return falha(QStringLiteral("A pasta %1 não pôde ser reservada para a gravação (%2).").arg(destino, trava.motivo()));
    std::optional<db::VerificacaoRapida> verificacao;
    if (g.gConn && g.gConn->aberta())
        verificacao.emplace(g.gConn->caminho());

    QList<ArquivoDoConjunto> arquivos;
    if (!Fun_Ler_Importados(arquivos, destino))
        return falha(g.gMsg);
    if (arquivos.isEmpty())
        return falha(MsgPrecondicaoGeral);
    NomesNaPasta nomes;
    if (!nomesNaPasta(destino, nomes))
        return falha(g.gMsg);

    CursorEspera espera;
    // What a recording stopped part way left in the folder is put back first.
    QString motivoPasta;
    if (!recuperarPasta(nomes, &motivoPasta))
        return falha(textoPastaEmDesordem(destino, motivoPasta));

    static const QString proc = QStringLiteral("Fun_Gravar_leiaute");
    QList<Alvo> alvos;
    QList<Alvo> dados;
    int64_t total = 0;
    for (const ArquivoDoConjunto& a : arquivos) {
        QFile lay(a.lay);
        if (!lay.open(QIODevice::ReadOnly))
            return falha(textoErro(53, QStringLiteral("Arquivo não encontrado: %1").arg(a.lay), proc));
        Alvo fmt{a.fmt, lay.readAll(), nullptr, {}};
        if (lay.error() != QFileDevice::NoError)
            return falha(textoErro(75, lay.errorString() + QStringLiteral(": ") + a.lay, proc));
        const QFileInfo copia(a.copia);
        if (!copia.isFile())
            return falha(textoErro(53, QStringLiteral("Arquivo não encontrado: %1").arg(a.copia), proc));
        Alvo txt{a.txt, {}, &a, {}};
        QString erro;
        if (!lerForma(fmt.bytes, campoDoTotal(a.tipo), txt.forma, erro))
            return falha(textoNaoValidado(a, erro));
        if (a.digestoCopia.isEmpty() || a.digestoLay.isEmpty())
            return falha(textoSemDigesto(a));
        if (digesto::de(fmt.bytes) != a.digestoLay)
            return falha(textoAlterado(a.lay));
        total += fmt.bytes.size() + copia.size();
        alvos << fmt;
        dados << txt;
    }
    alvos << dados;
    const Alvo identificador{nomes.identificador, textoIdentificador(nomeEmpresarial, arquivos), nullptr, {}};
    total += identificador.bytes.size();
    if (!Fun_VerificaEspacoDisco(total, destino))
        return falha(acessivel() ? MsgSemEspaco : MsgMidia);

    // Until the statuses are committed, a failure puts the folder back as it was.
    auto desfazer = [&](const QString& texto) {
        QString razao;
        if (!recuperarPasta(nomes, &razao))
            return falha(texto + QStringLiteral("\r\n") + textoPastaEmDesordem(destino, razao));
        return falha(texto);
    };
    const QString erroEscrita = textoFalhaEscrita(destino);
    alvos << identificador;
    for (const Alvo& a : std::as_const(alvos)) {
        const QString temporario = a.destino + SufixoGravando;
        QString motivo;
        switch (escrever(a, temporario, motivo)) {
        case FalhaCopia::Nenhuma:
            break;
        case FalhaCopia::Origem:
            return desfazer(textoErro(75, motivo + QStringLiteral(": ") + a.dados->copia, proc));
        case FalhaCopia::Midia:
            return desfazer(MsgMidia);
        case FalhaCopia::Escrita:
            return desfazer(erroEscrita);
        case FalhaCopia::Prova:
            return desfazer(textoNaoValidado(*a.dados, motivo));
        case FalhaCopia::Alterado:
            return desfazer(textoAlterado(a.dados->copia));
        }
        if (passo)
            passo();
    }
    alvos.removeLast();
    if (!duravel::sincronizarPasta(destino))
        return desfazer(erroEscrita);
    if (!verificacao)
        return desfazer(MsgBancoCorrompido);
    QString textoBanco;
    switch (verificacao->resultado(&textoBanco)) {
    case db::VerificacaoRapida::Resultado::Integro:
        break;
    case db::VerificacaoRapida::Resultado::Danificado:
        return desfazer(MsgBancoCorrompido);
    case db::VerificacaoRapida::Resultado::NaoVerificado:
        return desfazer(MsgBancoNaoVerificado.arg(textoBanco));
    }

    // The statuses change in a transaction committed once the set is in place.
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa())
        return desfazer(textoErro(e, QStringLiteral("fun_GravaImportados")));
    for (const ArquivoDoConjunto& a : arquivos)
        if (!fun_GravaImportados(100, a.tipo, a.txt))
            return desfazer(g.gMsg);

    // The earlier identifier leaves its name first, and that reaches the disk
    // before any earlier data file moves aside (renames may reach it out of
    // order). Then every earlier file of the declaration moves aside; the new
    // identifier is marked ready once they all are, the new files take their
    // names, and the identifier its own last.
    const QString& id = nomes.identificador;
    if (presente(id) && (!duravel::renomear(id, id + SufixoAnterior) || !duravel::sincronizarPasta(destino)))
        return desfazer(erroEscrita);
    for (const QString& n : std::as_const(nomes.arquivos))
        if (presente(n) && !duravel::renomear(n, n + SufixoAnterior))
            return desfazer(erroEscrita);
    if (!duravel::sincronizarPasta(destino) || !duravel::renomear(id + SufixoGravando, id + SufixoPronto)
        || !duravel::sincronizarPasta(destino))
        return desfazer(erroEscrita);
    for (const Alvo& a : std::as_const(alvos))
        if (!duravel::renomear(a.destino + SufixoGravando, a.destino))
            return desfazer(erroEscrita);
    if (!duravel::sincronizarPasta(destino) || !duravel::renomear(id + SufixoPronto, id))
        return desfazer(erroEscrita);
    // Past this point the new set is whole in the folder: a failure withdraws
    // its identifier before the folder is put back; when even that fails,
    // the folder keeps the new set and nothing is marked.
    auto retirar = [&](const QString& texto) {
        QString razao;
        if (!duravel::renomear(id, id + SufixoPronto, &razao))
            return falha(texto + QStringLiteral("\r\n") + MsgIdentificadorNaoRetirado.arg(QFileInfo(id).fileName(), razao));
        return desfazer(texto);
    };
    if (!duravel::sincronizarPasta(destino))
        return retirar(erroEscrita);
    if (!t.confirmar(&e))
        return retirar(textoErro(e, QStringLiteral("fun_GravaImportados")));

    // No folder sync after this: it would wait for the freeing of the earlier
    // files, and a name left by a power cut is removed by the next recording.
    for (const QString& n : nomes.todos())
        if (presente(n + SufixoAnterior))
            duravel::remover(n + SufixoAnterior);
    if (gravados) {
        for (const Alvo& a : std::as_const(alvos))
            *gravados << QFileInfo(a.destino).fileName();
        *gravados << QFileInfo(id).fileName();
    }
    if (passo)
        passo();
    return true;
}

bool gravarEntrega(QStringList* gravados, const std::function<void()>& passo)
{
    Geral& g = geral();
    if (gravados)
        gravados->clear();
    QString mensagem;
    if (!Verifica_Importados(mensagem))
        return false;
    if (!mensagem.isEmpty()) {
        g.gMsg = mensagem;
        return false;
    }
    bool achou = false;
    QString nome;
    if (!fun_Empresarial(achou, nome))
        return false;
    if (!achou) {
        g.gMsg = comNaoEfetuada(MsgSemEmpresa);
        return false;
    }
    return gravarConjunto(nome, gravados, passo);
}

} // namespace entrega
