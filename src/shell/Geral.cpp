#include "Geral.h"

#include "MarcaValidacao.h"

#include "platform/ArquivoDuravel.h"
#include "platform/CursorEspera.h"
#include "platform/Pastas.h"
#include "platform/Rendimento.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>


Geral& geral()
{
    static Geral g;
    return g;
}

void reiniciaGeral()
{
    Geral& g = geral();
    if (g.gConn)
        g.gConn->fechar();
    g = Geral();
}

QString soDigitos(const QString& texto)
{
    QString d;
    for (QChar c : texto)
        if (c.isDigit())
            d += c;
    return d;
}

QString sufixoDeclaracao(qint16 in, const QString& cnpjNumeros, const QDate& inicio, const QDate& fim)
{
    return QString::number(in) + cnpjNumeros + dataDdmmaaaa(inicio) + dataDdmmaaaa(fim);
}

QString sufixoDeclaracao()
{
    const Geral& g = geral();
    return sufixoDeclaracao(g.gIN, g.gCNPJNumeros, g.gPeriodoInicial, g.gPeriodoFinal);
}

QString caminhoBancoDeclaracao()
{
    return caminhoEm(pastas().dados, QStringLiteral("TOBRI") + sufixoDeclaracao() + QStringLiteral(".MDB"));
}

QString caminhoRegistro()
{
    return caminhoEm(pastas().dados, NomeRegistro);
}

QString caminhoModelo()
{
    return caminhoEm(pastas().programa, NomeModelo);
}

QString textoErro(double numero, const QString& descricao, const QString& procedimento)
{
    QString t = QStringLiteral("cod.erro ") + QString::number(static_cast<qint64>(numero))
        + QStringLiteral("\r\nmsg. Erro: ") + descricao;
    if (!procedimento.isEmpty())
        t += QStringLiteral(" (") + procedimento + u')';
    return t;
}

QString textoErro(const db::Erro& e, const QString& procedimento)
{
    return textoErro(e.numero, e.descricao, procedimento);
}

QString erroJunto(double numero, const QString& descricao, const QString& proc)
{
    return textoErro(numero, descricao) + u'(' + proc + u')';
}

QString dataDdMmAaaa(const QDate& d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

QString dataDdmmaaaa(const QDate& d)
{
    return d.toString(QStringLiteral("ddMMyyyy"));
}

QString dataIso(const QDate& d)
{
    return d.toString(Qt::ISODate);
}

QDate dataDeIso(const QString& s)
{
    return QDate::fromString(s.left(10), Qt::ISODate);
}

namespace {

// Copies a file over another through a temporary file and a rename, so the
// destination is either the old file or the whole copy.
bool copiarSobre(const QString& origem, const QString& destino, QString& erro)
{
    QString motivo;
    if (!duravel::copiarParaOLugar(origem, destino + SufixoCopiaModelo, destino, &motivo)) {
        erro = QStringLiteral("Não foi possível gravar %1: %2").arg(destino, motivo);
        return false;
    }
    return true;
}

// Adds a column to a table that lacks it; nothing when the table is missing
// (the work that needs the table reports that).
bool acrescentarColuna(db::Conexao& c, const QString& tabela, const QString& coluna, const QString& tipo,
                       db::Erro* erro)
{
    bool existe = false;
    if (!c.tabelaExiste(tabela, existe, erro))
        return false;
    if (!existe)
        return true;
    db::Erro e;
    const QVariant n = c.escalar(QStringLiteral("SELECT count(*) FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE"),
                                 {tabela, coluna}, &e);
    if (e.ok() && n.toInt() > 0)
        return true;
    if (e.ok() && c.executar(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(tabela, coluna, tipo), {}, &e))
        return true;
    if (erro)
        *erro = e;
    return false;
}

// The opening's message, then the reason on a line of its own (the
// database's text: "database is locked", a failed upgrade write, ...).
QString textoAbertura(double numero, const QString& motivo)
{
    return textoErro(numero, motivo.isEmpty() ? TextoErroAbertura : TextoErroAbertura + QStringLiteral("\r\n") + motivo);
}

} // namespace

bool atualizarBancoDeclaracao(db::Conexao& c, db::Erro* erro)
{
    const QString importados = QStringLiteral("tbImportados");
    const QString texto = QStringLiteral("TEXT");
    // The digests of the accepted copy and of its .lay; the mark of a
    // completed validation.
    return acrescentarColuna(c, importados, QStringLiteral("DigestoCopia"), texto, erro)
        && acrescentarColuna(c, importados, QStringLiteral("DigestoLay"), texto, erro)
        && marcaValidacao::atualizarBanco(c, erro);
}

bool AbreBanco(QString& msg, bool porDeclaracao, bool copiarModelo, double& errNum)
{
    CursorEspera espera;
    Geral& g = geral();
    const QString caminho = porDeclaracao ? caminhoBancoDeclaracao() : caminhoRegistro();
    if (copiarModelo) {
        QString erro;
        if (!copiarSobre(caminhoModelo(), caminho, erro)) {
            espera.restaurar();
            errNum = db::ErroBanco;
            msg = textoAbertura(errNum, erro);
            return false;
        }
    }
    if (g.gConn)
        g.gConn->fechar();
    g.gConn = std::make_unique<db::Conexao>();
    db::Erro e;
    if (!g.gConn->abrir(caminho, &e) || (porDeclaracao && !atualizarBancoDeclaracao(*g.gConn, &e))) {
        g.gConn->fechar();
        espera.restaurar();
        errNum = e.numero;
        msg = textoAbertura(errNum, e.descricao);
        return false;
    }
    return true;
}

bool Fun_CompactaBanco()
{
    Geral& g = geral();
    const QString proc = QStringLiteral("Fun_CompactaBanco");
    Rendimento().agora();
    // Work left uncommitted by a caller is neither dropped nor compacted
    // away: it stays open for the caller, and the fault is reported.
    if (g.gConn && g.gConn->aberta() && g.gConn->emTransacao()) {
        g.gMsg = textoErro(db::ErroGeral, QStringLiteral("Transação aberta: o banco de dados não foi compactado."), proc);
        return false;
    }
    const QString banco = caminhoBancoDeclaracao();
    const QString tmp = caminhoEm(pastas().dados, NomeTemporario);
    QFile::remove(tmp);
    bool compactado = false;
    QString falha;
    if (g.gConn && g.gConn->aberta()) {
        // A database without free pages would only be copied as it is.
        const QVariant livres = g.gConn->escalar(QStringLiteral("PRAGMA freelist_count"));
        if (!livres.isValid() || livres.toLongLong() > 0) {
            db::Erro e;
            compactado = g.gConn->executar(QStringLiteral("VACUUM INTO ?"), {tmp}, &e);
            if (!compactado)
                falha = textoErro(e, proc);
        }
        g.gConn->fechar();
    }
    if (compactado) {
        // Atomic replace: the database is never missing.
        QString motivo;
        if (!duravel::colocarNoLugar(tmp, banco, &motivo)) {
            falha = textoErro(db::ErroEmUso, QStringLiteral("Não foi possível gravar %1: %2").arg(banco, motivo), proc);
            QFile::remove(tmp);
        }
    } else {
        QFile::remove(tmp);
    }
    // The database is as it was when the compaction failed; the caller shows
    // the reason (a full disk), unless the reopening failed and says more.
    if (!AbreBanco(g.gMsg, true, false, g.gErroAbertura))
        return false;
    if (falha.isEmpty())
        return true;
    g.gMsg = falha;
    return false;
}

bool criaRegistroSeAusente(QString& msg)
{
    Q_INIT_RESOURCE(shell);
    const QString caminho = caminhoRegistro();
    if (QFileInfo::exists(caminho))
        return true;
    QDir().mkpath(pastas().dados);
    QFile f(QStringLiteral(":/tobri/register.sql"));
    if (!f.open(QIODevice::ReadOnly)) {
        msg = textoErro(db::ErroBanco, QStringLiteral("Esquema do cadastro não encontrado."), QStringLiteral("criaRegistroSeAusente"));
        return false;
    }
    const QString sql = QString::fromUtf8(f.readAll());
    const QString tmp = caminho + SufixoRegistroNovo;
    QFile::remove(tmp);
    {
        db::Conexao c;
        db::Erro e;
        if (!c.criar(tmp, &e) || !c.executarScript(sql, &e)) {
            c.fechar();
            QFile::remove(tmp);
            msg = textoErro(e, QStringLiteral("criaRegistroSeAusente"));
            return false;
        }
    }
    QString motivo;
    if (!duravel::colocarNoLugar(tmp, caminho, &motivo)) {
        QFile::remove(tmp);
        msg = textoErro(db::ErroEmUso, QStringLiteral("Não foi possível gravar %1: %2").arg(caminho, motivo),
                        QStringLiteral("criaRegistroSeAusente"));
        return false;
    }
    return true;
}

void removeTemporarios()
{
    // Names only the program itself gives its scratch files.
    const QStringList filtros{QStringLiteral("*") + SufixoCopiaAceita, QStringLiteral("*.mdb") + SufixoCopiaModelo,
                              NomeRegistro + SufixoRegistroNovo, NomeRegistro + SufixoRegistroNovo + QStringLiteral("-journal"),
                              NomeTemporario, NomeTemporario + QStringLiteral("-journal"), NomeSchemaIniNovo};
    QDir pasta(pastas().dados);
    pasta.setNameFilters(filtros);
    pasta.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& nome : pasta.entryList())
        QFile::remove(pasta.filePath(nome));
}
