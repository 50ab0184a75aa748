#include "Recarga.h"

#include "Insercao.h"
#include "Painel.h"

#include "import/motor/Arquivos.h"
#include "import/motor/Contexto.h"
#include "import/motor/Tabelas.h"
#include "platform/ArquivoDuravel.h"
#include "platform/Cp1252.h"
#include "platform/CursorEspera.h"
#include "platform/Digesto.h"
#include "platform/Pastas.h"
#include "platform/TextoFixo.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <QFile>
#include <QFileInfo>

#include <string>

namespace validacao {

namespace {

const QString ProcIni = QStringLiteral("Fun_Criar_arquivo_ini");
const QString ProcImportar = QStringLiteral("Fun_ImportarLancamento");

QString nomeBase()
{
    const Geral& g = geral();
    return g.gCNPJNumeros + QStringLiteral("-TOBRI-06-") + g.gPeriodoInicial.toString(QStringLiteral("yyyyMMdd"))
        + g.gPeriodoFinal.toString(QStringLiteral("yyyyMMdd"));
}

QByteArrayView trecho(QByteArrayView linha, int posicao, int tamanho)
{
    if (posicao - 1 >= linha.size())
        return {};
    return linha.sliced(posicao - 1, std::min<qsizetype>(tamanho, linha.size() - (posicao - 1)));
}

QByteArray aparado(QByteArrayView v)
{
    return v.toByteArray().trimmed();
}

bool inteiro(const QByteArray& t, int& n)
{
    bool ok = false;
    n = t.toInt(&ok);
    return ok;
}

// The record length without CR LF that the .lay gives (0 when it gives
// none) and the digest of the bytes read.
int tamanhoDoLay(const QString& caminho, QString& digestoLido)
{
    QFile f(caminho);
    motor::DescricaoLay lay;
    QString erro;
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = f.readAll();
    digestoLido = digesto::de(bytes);
    return motor::lerLay(bytes, lay, erro) ? lay.tamanhoRegistro - 2 : 0;
}

} // namespace

QString nomeCopiaLancamentos()
{
    return nomeBase() + QStringLiteral(".txt");
}

QString nomeLayLancamentos()
{
    return nomeBase() + QStringLiteral(".lay");
}

bool textoSchemaIni(const QByteArray& lay, const QString& nomeTxt, qint16 in, QByteArray& schema, QString& erro)
{
    const bool in68 = in == 68;
    QByteArray s;
    auto linha = [&s](const QByteArray& l) { s += l + "\r\n"; };
    auto coluna = [&linha](const char* prefixo, const char* nome, const char* sufixo, const QByteArray& largura) {
        linha(QByteArray(prefixo) + '"' + nome + '"' + sufixo + largura);
    };
    linha('[' + cp1252::codificar(nomeTxt) + ']');
    linha("ColNameHeader = False");
    linha("Format = FixedLength");
    linha("Col1 =  \"DiaDataLanc\"  Char Width 2");
    linha("Col2 =  \"DataLanc\" Char Width 6");
    for (QByteArray l : lay.split('\n')) {
        if (l.endsWith('\r'))
            l.chop(1);
        const QByteArray nome = aparado(trecho(l, 1, 15));
        const QByteArray largura = aparado(trecho(l, 29, 4));
        const QByteArray decimais = aparado(trecho(l, 33, 2));
        if (nome == "CodConta") {
            coluna("Col3 =  ", "CodConta", " Char Width ", largura);
        } else if (nome == "CodCustoDesp") {
            if (!in68)
                coluna("Col4 =  ", "CodCusto", " Char Width ", largura);
        } else if (nome == "Contrapartida") {
            if (!in68)
                coluna("Col5 =  ", "Contrapartida", " Char Width ", largura);
        } else if (nome == "Valor") {
            int w = 0, d = 0;
            if (!inteiro(largura, w) || !inteiro(decimais, d)) {
                erro = erroJunto(13, QStringLiteral("Tipos incompatíveis"), ProcIni);
                return false;
            }
            coluna(in68 ? "Col4=  " : "Col6=  ", "ValorInt", " Char Width ", QByteArray::number(w - d));
            coluna(in68 ? "Col5=  " : "Col7=  ", "ValorDec", " Char Width ", decimais);
        } else if (nome == "IndDC") {
            coluna(in68 ? "Col6=  " : "Col8=  ", "IndDc", " Char Width ", largura);
        }
    }
    schema = s;
    return true;
}

bool Fun_Criar_arquivo_ini()
{
    Geral& g = geral();
    const QString pasta = pastas().dados;
    const QString txt = caminhoEm(pasta, nomeCopiaLancamentos());
    const QString lay = caminhoEm(pasta, nomeLayLancamentos());
    if (!QFileInfo::exists(txt) || !QFileInfo::exists(lay)) {
        cursorPadrao();
        g.gMsg = TextoLancamentosNaoImportados;
        return false;
    }
    QFile fLay(lay);
    if (!fLay.open(QIODevice::ReadOnly)) {
        cursorPadrao();
        g.gMsg = erroJunto(75, fLay.errorString(), ProcIni);
        return false;
    }
    QByteArray schema;
    QString erro;
    if (!textoSchemaIni(fLay.readAll(), nomeCopiaLancamentos(), g.gIN, schema, erro)) {
        cursorPadrao();
        g.gMsg = erro;
        return false;
    }
    const QString destino = caminhoEm(pasta, NomeSchemaIni);
    QString motivo;
    if (!duravel::gravarNoLugar(schema, caminhoEm(pasta, NomeSchemaIniNovo), destino, &motivo)) {
        cursorPadrao();
        g.gMsg = erroJunto(75, motivo, ProcIni);
        return false;
    }
    return true;
}

bool Fun_ImportarLancamento(Painel* painel, ResumoLancamentos* resumo)
{
    Geral& g = geral();
    auto falha = [&](const db::Erro& e) {
        cursorPadrao();
        g.gMsg = e.numero == db::ErroSemTabela ? TextoLancamentosNaoImportados
                                               : erroJunto(e.numero, e.descricao, ProcImportar);
        return false;
    };
    auto falhaTexto = [&](double numero, const QString& texto) { return falha(db::Erro{numero, texto}); };

    const QString pasta = pastas().dados;
    if (!QFileInfo::exists(caminhoEm(pasta, nomeCopiaLancamentos())))
        return falhaTexto(db::ErroSemTabela, QString());
    if (!g.gConn || !g.gConn->aberta())
        return falhaTexto(db::ErroBanco, db::TextoNaoAberto);
    const QString tabela = motor::nomeTabela(motor::TabLancGeral);
    bool existe = false;
    db::Erro e;
    if (!g.gConn->tabelaExiste(tabela, existe, &e))
        return falha(e);
    if (!existe)
        return falhaTexto(db::ErroSemTabela, QString());

    // What the copy must be: records of the .lay's length, each ending in
    // CR LF, as many as the import read.
    QString digestoLay;
    const int tamanho = tamanhoDoLay(caminhoEm(pasta, nomeLayLancamentos()), digestoLay);
    if (tamanho <= 0)
        return falhaTexto(75, QStringLiteral("A descrição %1 não informa o tamanho do registro.").arg(nomeLayLancamentos()));
    qint64 esperados = 0;
    QString digestoImportado;
    QString digestoLayImportado;
    {
        db::Consulta q(*g.gConn);
        if (!q.preparar(QStringLiteral("SELECT RegLidos, DigestoCopia, DigestoLay FROM tbImportados") + filtroDeclaracao()
                            + QStringLiteral(" AND Tipo = 6"),
                        &e)
            || !q.executar(chaveDeclaracao(), &e))
            return falha(e);
        if (!q.proximo())
            return q.falhou() ? falha(q.erro()) : falhaTexto(db::ErroSemTabela, QString());
        esperados = q.valor(0).toLongLong();
        digestoImportado = q.valor(1).toString();
        digestoLayImportado = q.valor(2).toString();
    }
    // The copy and its .lay (which says how the copy is read) must be, byte
    // for byte, the ones the import wrote.
    if (digestoImportado.isEmpty() || digestoLayImportado.isEmpty())
        return falhaTexto(75, QStringLiteral("A cópia %1 foi importada por uma versão anterior e não pode ser "
                                             "conferida. Importe o arquivo de lançamentos novamente.")
                                  .arg(nomeCopiaLancamentos()));
    if (digestoLay != digestoLayImportado)
        return falhaTexto(75, QStringLiteral("A descrição %1 não é a que foi importada: foi alterada depois da "
                                             "importação. Importe o arquivo de lançamentos novamente.")
                                  .arg(nomeLayLancamentos()));

    digesto::Fluxo lido;
    textofixo::Leitor leitor;
    leitor.limitarLinha(tamanho);
    leitor.digerir(&lido);
    if (!leitor.abrir(pasta, nomeCopiaLancamentos()))
        return falhaTexto(75, leitor.erro());
    const textofixo::Esquema& esq = leitor.esquema();
    const int cData = esq.indice(QStringLiteral("DataLanc"));
    const int cConta = esq.indice(QStringLiteral("CodConta"));
    const int cInt = esq.indice(QStringLiteral("ValorInt"));
    const int cDec = esq.indice(QStringLiteral("ValorDec"));
    const int cInd = esq.indice(QStringLiteral("IndDc"));
    if (cData < 0 || cConta < 0 || cInt < 0 || cDec < 0 || cInd < 0)
        return falhaTexto(-2147217904, QStringLiteral("Parâmetros insuficientes. Eram esperados 1."));

    db::Transacao t(*g.gConn, &e);
    if (!t.ativa())
        return falha(e);
    if (!g.gConn->executar(QStringLiteral("DELETE FROM %1").arg(tabela), {}, &e))
        return falha(e);
    // The table's indexes are built again after the load: filling them row by
    // row in key order costs several times the load itself.
    QStringList indices;
    {
        db::Consulta q(*g.gConn);
        if (!q.preparar(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? "
                                       "AND sql IS NOT NULL"),
                        &e)
            || !q.executar({tabela}, &e))
            return falha(e);
        QStringList nomes;
        while (q.proximo()) {
            nomes << q.valor(0).toString();
            indices << q.valor(1).toString();
        }
        if (q.falhou())
            return falha(q.erro());
        for (const QString& n : std::as_const(nomes))
            if (!g.gConn->executar(QStringLiteral("DROP INDEX \"%1\"").arg(n), {}, &e))
                return falha(e);
    }

    Insercao ins(*g.gConn);
    if (!ins.preparar(QStringLiteral("INSERT INTO %1 (DataLanc, CodConta, Valor, IndDc) VALUES (?, ?, ?, ?)")
                          .arg(tabela),
                      e))
        return falha(e);
    if (resumo)
        resumo->limpar();
    bool somando = resumo != nullptr;
    QByteArray utf8, indicador;
    char indicador1 = 0;
    char digitos[64];
    while (leitor.proxima()) {
        if (leitor.linhaAtual().size() != tamanho || !leitor.terminouEmCrLf())
            return falhaTexto(75, QStringLiteral("Registro com tamanho errado na linha %1 de %2: %3 bytes%4; o "
                                                 "registro tem %5 bytes e termina em CR LF.")
                                      .arg(leitor.linha())
                                      .arg(nomeCopiaLancamentos())
                                      .arg(leitor.longa() ? QStringLiteral("mais de %1").arg(tamanho)
                                                          : QString::number(leitor.linhaAtual().size()))
                                      .arg(leitor.terminouEmCrLf() ? QString() : QStringLiteral(" sem CR LF"))
                                      .arg(tamanho));
        const QByteArrayView data = leitor.valor(cData);
        // Codes keep their leading blanks, as the charts and balances do.
        const QByteArrayView conta = leitor.valorSemBrancosFinais(cConta);
        const QByteArrayView vInt = leitor.valor(cInt);
        const QByteArrayView vDec = leitor.valor(cDec);
        const QByteArrayView vInd = leitor.valor(cInd);
        // Value = integer part "," decimal part, converted exactly.
        std::optional<Moeda> valor;
        if (vInt.size() + vDec.size() <= qsizetype(sizeof digitos) && (vInt.size() + vDec.size()) > 0) {
            std::memcpy(digitos, vInt.data(), static_cast<size_t>(vInt.size()));
            std::memcpy(digitos + vInt.size(), vDec.data(), static_cast<size_t>(vDec.size()));
            valor = motor::valorMoeda(QByteArrayView(digitos, vInt.size() + vDec.size()), static_cast<int>(vDec.size()));
        }
        if (!valor)
            return falhaTexto(13, QStringLiteral("Tipos incompatíveis: valor \"%1,%2\" na linha %3 de %4")
                                      .arg(QString::fromLatin1(vInt), QString::fromLatin1(vDec))
                                      .arg(leitor.linha())
                                      .arg(nomeCopiaLancamentos()));
        ins.texto(1, data);
        bool ascii = true;
        for (char c : conta)
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (ascii) {
            ins.texto(2, conta);
        } else {
            utf8 = cp1252::decodificar(conta).toUtf8();
            ins.texto(2, utf8);
        }
        ins.valor(3, valor->unidades());
        // The indicator is kept upper-cased, so "d" and "D" count together.
        if (vInd.size() == 1) {
            indicador1 = motor::maiuscula(vInd[0]);
            ins.texto(4, QByteArrayView(&indicador1, 1));
        } else {
            indicador = vInd.toByteArray().toUpper();
            ins.texto(4, indicador);
        }
        if (!ins.executar(e))
            return falha(e);
        // A sum that overflows leaves the summing to the checks, which report it.
        if (somando)
            somando = resumo->somar(ascii ? conta : QByteArrayView(utf8), data,
                                    vInd.size() == 1 ? indicador1 == 'D' : indicador == "D", *valor);
        if (painel && (leitor.linha() & 0xFFF) == 0)
            painel->rende();
    }
    if (!leitor.erro().isEmpty())
        return falhaTexto(75, leitor.erro());
    if (leitor.linha() != esperados)
        return falhaTexto(75, QStringLiteral("A cópia %1 tem %2 registros; a importação leu %3.")
                                  .arg(nomeCopiaLancamentos())
                                  .arg(leitor.linha())
                                  .arg(esperados));
    if (lido.hex() != digestoImportado)
        return falhaTexto(75, QStringLiteral("A cópia %1 não é a que foi importada: foi alterada depois da "
                                             "importação. Importe o arquivo de lançamentos novamente.")
                                  .arg(nomeCopiaLancamentos()));
    for (const QString& def : std::as_const(indices))
        if (!g.gConn->executar(def, {}, &e))
            return falha(e);
    if (!t.confirmar(&e))
        return falha(e);
    if (somando)
        resumo->concluir();
    else if (resumo)
        resumo->limpar();
    return true;
}

} // namespace validacao
