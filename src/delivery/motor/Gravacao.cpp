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

QString comNaoEfetuada(const QString& texto)
{
    if (texto.contains(MsgNaoEfetuada))
        return texto;
    return texto + QStringLiteral("\r\n") + MsgNaoEfetuada;
}

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

namespace {

// One recording into gDestino, phase by phase. Each phase returns false with
// gMsg set; once files are written, a failure puts the folder back first.
//
// Invariant, after every step: an identifier under its final name lists
// exactly the files beside it, and nothing of the earlier set is removed
// before the new identifier has its name.
class Gravacao {
public:
    Gravacao(const QString& destino, const std::function<void()>& passo)
        : m_destino(destino), m_passo(passo), m_erroEscrita(textoFalhaEscrita(destino))
    {
    }

    // Folder untouched -> held by this recording; the database's quick check runs.
    bool reservar();
    // Reads the set and its targets; no file is touched.
    bool lerConjunto(const QString& nomeEmpresarial);
    // A stopped recording's leftovers -> the earlier set whole (or the new one,
    // when its identifier had its name), no temporary.
    bool porEmOrdem();
    // Every .lay read and checked against its digest; the space checked.
    bool prepararAlvos();
    // -> every new file flushed as ".gravando", folder synced; earlier set whole.
    bool escreverTemporarios();
    // The quick check's outcome: a damaged or unchecked database records nothing.
    bool conferirBanco();
    // Statuses 100 in a transaction left open.
    bool marcarSituacoes();
    // -> earlier files ".anterior", the new ones under their names, the
    // identifier last, folder synced: the new set whole.
    bool trocarConjuntos();
    // The statuses committed; on a failure the new identifier is withdrawn
    // (synced) and the earlier set put back.
    bool confirmar();
    // -> the earlier files removed: the new set alone.
    void limpar(QStringList* gravados);

private:
    bool falha(const QString& texto);
    bool desfazer(const QString& texto);
    bool retirar(const QString& texto);
    bool acessivel() const;
    bool temporarioNaoCriado(const Alvo& a, const QString& motivo);

    QString m_destino;
    const std::function<void()>& m_passo;
    QString m_erroEscrita;
    std::optional<TravaPasta> m_trava;
    std::optional<db::VerificacaoRapida> m_verificacao;
    std::optional<db::Transacao> m_transacao;
    QList<ArquivoDoConjunto> m_arquivos;
    NomesNaPasta m_nomes;
    QString m_nomeEmpresarial;
    QList<Alvo> m_alvos;   // the .fmt, then the data files, then the identifier
};

bool Gravacao::falha(const QString& texto)
{
    cursorPadrao();
    geral().gMsg = comNaoEfetuada(texto);
    return false;
}

// Until the statuses are committed, a failure puts the folder back as it was.
bool Gravacao::desfazer(const QString& texto)
{
    QString razao;
    if (!recuperarPasta(m_nomes, &razao))
        return falha(texto + QStringLiteral("\r\n") + textoPastaEmDesordem(m_destino, razao));
    return falha(texto);
}

// With the new set whole in the folder: its identifier leaves its name, and
// that reaches the disk before the repair removes any file it lists. When
// either fails, the folder keeps the new set and nothing is marked.
bool Gravacao::retirar(const QString& texto)
{
    const QString& id = m_nomes.identificador;
    QString razao;
    if (!duravel::renomear(id, id + SufixoPronto, &razao))
        return falha(texto + QStringLiteral("\r\n") + MsgIdentificadorNaoRetirado.arg(QFileInfo(id).fileName(), razao));
    if (!duravel::sincronizarPasta(m_destino, &razao))
        return falha(texto + QStringLiteral("\r\n")
                     + textoPastaEmDesordem(m_destino, QStringLiteral("a pasta %1 não pôde ser gravada em disco (%2)")
                                                           .arg(m_destino, razao)));
    return desfazer(texto);
}

bool Gravacao::acessivel() const
{
    const QFileInfo pasta(m_destino);
    return !m_destino.isEmpty() && pasta.isDir() && pasta.isWritable() && pasta.isExecutable();
}

bool Gravacao::reservar()
{
    if (!acessivel())
        return falha(MsgMidia);
    // One recording at a time in a folder, from its repair to its clean-up.
    m_trava.emplace(m_destino);
    if (m_trava->estado() == TravaPasta::Estado::Ocupada)
        return falha(MsgPastaOcupada.arg(m_destino));
    if (m_trava->estado() != TravaPasta::Estado::Obtida)
        return falha(
            QStringLiteral("A pasta %1 não pôde ser reservada para a gravação (%2).").arg(m_destino, m_trava->motivo()));
    Geral& g = geral();
    if (g.gConn && g.gConn->aberta())
        m_verificacao.emplace(g.gConn->caminho());
    return true;
}

bool Gravacao::lerConjunto(const QString& nomeEmpresarial)
{
    Geral& g = geral();
    m_nomeEmpresarial = nomeEmpresarial;
    if (!Fun_Ler_Importados(m_arquivos, m_destino))
        return falha(g.gMsg);
    if (m_arquivos.isEmpty())
        return falha(MsgPrecondicaoGeral);
    if (!nomesNaPasta(m_destino, m_nomes))
        return falha(g.gMsg);
    return true;
}

bool Gravacao::porEmOrdem()
{
    QString motivo;
    if (!recuperarPasta(m_nomes, &motivo))
        return falha(textoPastaEmDesordem(m_destino, motivo));
    return true;
}

bool Gravacao::prepararAlvos()
{
    static const QString proc = QStringLiteral("Fun_Gravar_leiaute");
    QList<Alvo> dados;
    int64_t total = 0;
    for (const ArquivoDoConjunto& a : std::as_const(m_arquivos)) {
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
        m_alvos << fmt;
        dados << txt;
    }
    m_alvos << dados;
    m_alvos << Alvo{m_nomes.identificador, textoIdentificador(m_nomeEmpresarial, m_arquivos), nullptr, {}};
    total += m_alvos.last().bytes.size();
    if (!Fun_VerificaEspacoDisco(total, m_destino))
        return falha(acessivel() ? MsgSemEspaco : MsgMidia);
    return true;
}

// A temporary name taken (a folder in the way, say): the user is told what.
bool Gravacao::temporarioNaoCriado(const Alvo& a, const QString& motivo)
{
    if (!acessivel())
        return desfazer(MsgMidia);
    const QFileInfo temporario(a.destino + SufixoGravando);
    QString texto = MsgTemporarioNaoCriado.arg(temporario.fileName(), m_destino, motivo);
    if (temporario.exists() || temporario.isSymLink())
        texto += u' ' + MsgNomeOcupado;
    return desfazer(texto);
}

bool Gravacao::escreverTemporarios()
{
    static const QString proc = QStringLiteral("Fun_Gravar_leiaute");
    for (const Alvo& a : std::as_const(m_alvos)) {
        QString motivo;
        switch (escrever(a, a.destino + SufixoGravando, motivo)) {
        case FalhaCopia::Nenhuma:
            break;
        case FalhaCopia::Origem:
            return desfazer(textoErro(75, motivo + QStringLiteral(": ") + a.dados->copia, proc));
        case FalhaCopia::Midia:
            return temporarioNaoCriado(a, motivo);
        case FalhaCopia::Escrita:
            return desfazer(m_erroEscrita);
        case FalhaCopia::Prova:
            return desfazer(textoNaoValidado(*a.dados, motivo));
        case FalhaCopia::Alterado:
            return desfazer(textoAlterado(a.dados->copia));
        }
        if (m_passo)
            m_passo();
    }
    if (!duravel::sincronizarPasta(m_destino))
        return desfazer(m_erroEscrita);
    return true;
}

bool Gravacao::conferirBanco()
{
    if (!m_verificacao)
        return desfazer(MsgBancoCorrompido);
    QString texto;
    switch (m_verificacao->resultado(&texto)) {
    case db::VerificacaoRapida::Resultado::Integro:
        return true;
    case db::VerificacaoRapida::Resultado::Danificado:
        return desfazer(MsgBancoCorrompido);
    case db::VerificacaoRapida::Resultado::NaoVerificado:
        break;
    }
    return desfazer(MsgBancoNaoVerificado.arg(texto));
}

bool Gravacao::marcarSituacoes()
{
    Geral& g = geral();
    db::Erro e;
    m_transacao.emplace(*g.gConn, &e);
    if (!m_transacao->ativa())
        return desfazer(textoErro(e, QStringLiteral("fun_GravaImportados")));
    for (const ArquivoDoConjunto& a : std::as_const(m_arquivos))
        if (!fun_GravaImportados(100, a.tipo, a.txt))
            return desfazer(g.gMsg);
    return true;
}

// The earlier identifier leaves its name first, and that reaches the disk
// before any earlier data file moves aside (renames may reach it out of
// order). Then every earlier file of the declaration moves aside; the new
// identifier is marked ready once they all are, the new files take their
// names, and the identifier its own last.
bool Gravacao::trocarConjuntos()
{
    const QString& id = m_nomes.identificador;
    if (presente(id) && (!duravel::renomear(id, id + SufixoAnterior) || !duravel::sincronizarPasta(m_destino)))
        return desfazer(m_erroEscrita);
    for (const QString& n : std::as_const(m_nomes.arquivos))
        if (presente(n) && !duravel::renomear(n, n + SufixoAnterior))
            return desfazer(m_erroEscrita);
    if (!duravel::sincronizarPasta(m_destino) || !duravel::renomear(id + SufixoGravando, id + SufixoPronto)
        || !duravel::sincronizarPasta(m_destino))
        return desfazer(m_erroEscrita);
    for (qsizetype i = 0; i + 1 < m_alvos.size(); ++i)
        if (!duravel::renomear(m_alvos.at(i).destino + SufixoGravando, m_alvos.at(i).destino))
            return desfazer(m_erroEscrita);
    if (!duravel::sincronizarPasta(m_destino) || !duravel::renomear(id + SufixoPronto, id))
        return desfazer(m_erroEscrita);
    if (!duravel::sincronizarPasta(m_destino))
        return retirar(m_erroEscrita);
    return true;
}

bool Gravacao::confirmar()
{
    db::Erro e;
    if (!m_transacao->confirmar(&e))
        return retirar(textoErro(e, QStringLiteral("fun_GravaImportados")));
    return true;
}

// No folder sync after this: it would wait for the freeing of the earlier
// files, and a name left by a power cut is removed by the next recording.
void Gravacao::limpar(QStringList* gravados)
{
    for (const QString& n : m_nomes.todos())
        if (presente(n + SufixoAnterior))
            duravel::remover(n + SufixoAnterior);
    if (gravados)
        for (const Alvo& a : std::as_const(m_alvos))
            *gravados << QFileInfo(a.destino).fileName();
    if (m_passo)
        m_passo();
}

} // namespace

bool gravarConjunto(const QString& nomeEmpresarial, QStringList* gravados, const std::function<void()>& passo)
{
    if (gravados)
        gravados->clear();
    Gravacao gravacao(geral().gDestino, passo);
    if (!gravacao.reservar() || !gravacao.lerConjunto(nomeEmpresarial))
        return false;
    CursorEspera espera;
    if (!gravacao.porEmOrdem() || !gravacao.prepararAlvos() || !gravacao.escreverTemporarios()
        || !gravacao.conferirBanco() || !gravacao.marcarSituacoes() || !gravacao.trocarConjuntos()
        || !gravacao.confirmar())
        return false;
    gravacao.limpar(gravados);
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
