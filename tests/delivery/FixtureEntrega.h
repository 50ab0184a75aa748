#pragma once
// Imported files of a small declaration, as the import and the validation
// leave them: accepted copy and .lay in the data folder, the status row and
// the staging table whose total the identifier states.
#include "import/motor/Arquivos.h"
#include "import/motor/Tabelas.h"
#include "platform/Digesto.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>

namespace fixture {

inline const QString Cnpj = QStringLiteral("11.222.333/0001-81");
inline const QDate Inicio(2025, 1, 1);
inline const QDate Fim(2025, 12, 31);
inline const QString Nome = QStringLiteral("Comércio de Peças São João Ltda");

inline QByteArray lerArquivo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
}

inline bool gravarArquivo(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A record: a date, a 10-character code and a 17-digit amount with two
// decimals (the value field of the entries and balances): 35 characters.
inline QByteArray registro(int tipo, int i, qint64 centavos)
{
    return "01012025" + ("T" + QByteArray::number(tipo) + "R" + QByteArray::number(i)).leftJustified(10, ' ', true)
        + QByteArray::number(centavos).rightJustified(17, '0') + "\r\n";
}
inline constexpr int TamanhoRegistro = 37;     // with CR LF
inline constexpr int PosicaoValor = 19;        // 1-based

inline QByteArray dadosDoTipo(int tipo, const QList<qint64>& centavos)
{
    QByteArray r;
    for (qsizetype i = 0; i < centavos.size(); ++i)
        r += registro(tipo, static_cast<int>(i + 1), centavos.at(i));
    return r;
}

inline QByteArray linhaLay(const char* nome, const char* tipo, int posicao, int tamanho, const char* decimais,
                           bool data = false)
{
    return QByteArray(nome).leftJustified(15, ' ', true) + QByteArray(tipo).leftJustified(10, ' ', true)
        + QByteArray::number(posicao).rightJustified(3) + QByteArray::number(tamanho).rightJustified(4)
        + QByteArray(decimais).rightJustified(2) + (data ? QByteArray(" PICTURE \"DDMMYYYY\"") : QByteArray(19, ' '))
        + "\r\n";
}

// Short name of the amount: the one the identifier sums for the types 6 to 9.
inline QByteArray layDoTipo(int tipo, int decimais = 2)
{
    const char* valor = tipo == 6 || tipo == 7 ? "Valor" : tipo >= 8 ? "ValorDebitos" : "Quantia";
    return "RECORD_LENGTH " + QByteArray::number(TamanhoRegistro) + " SKIP 0\r\n"
        + linhaLay("DataLanc", "ASCII", 1, 8, "", true) + linhaLay("CodConta", "ASCII", 9, 10, "")
        + linhaLay(valor, "NUMERIC", PosicaoValor, 17, QByteArray::number(decimais).constData());
}

// The staging table of a type with a value total, and its column.
inline QString tabelaDoTotal(int tipo)
{
    switch (tipo) {
    case 6: return motor::nomeTabela(motor::TabLancGeral);
    case 7: return motor::nomeTabela(motor::TabLancAux);
    case 8: return motor::nomeTabela(motor::TabSaldosGeral);
    case 9: return motor::nomeTabela(motor::TabSaldosAux);
    default: return {};
    }
}

// An imported (and, at status 0, validated) file with one record per value
// (in cents, or in units of the value field's `decimais`, up to 4): copy,
// .lay, status row (with the digests the import takes) and staging rows (the
// auxiliary entries keep one row with their sum). Imported again, it
// replaces all of them.
inline bool importado(int tipo, int situacao, const QList<qint64>& centavos, int decimais = 2)
{
    Geral& g = geral();
    const QString copia = motor::caminhoCopiaAceita(static_cast<qint16>(tipo));
    const QByteArray dados = dadosDoTipo(tipo, centavos);
    const QByteArray lay = layDoTipo(tipo, decimais);
    if (!gravarArquivo(copia, dados) || !gravarArquivo(motor::caminhoLay(static_cast<qint16>(tipo)), lay))
        return false;
    if (!g.gConn->executar(
            QStringLiteral("INSERT OR REPLACE INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, "
                           "Situacao, RegLidos, RegCorretos, RegErros, NomeArquivo, ArquivoGerado, DigestoCopia, "
                           "DigestoLay) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ' ', ?, ?)"),
            {g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal), tipo, situacao, centavos.size(),
             centavos.size(), copia, digesto::de(dados), digesto::de(lay)}))
        return false;
    const QString tabela = tabelaDoTotal(tipo);
    if (tabela.isEmpty())
        return true;
    const QString coluna = tipo >= 8 ? QStringLiteral("ValorDebitos") : QStringLiteral("Valor");
    if (!g.gConn->executar(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2 INTEGER)").arg(tabela, coluna))
        || !g.gConn->executar(QStringLiteral("DELETE FROM %1").arg(tabela)))
        return false;
    QList<qint64> linhas = centavos;
    if (tipo == 7) {
        qint64 soma = 0;
        for (qint64 c : centavos)
            soma += c;
        linhas = {soma};
    }
    for (qint64 c : linhas)
        if (!g.gConn->executar(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(tabela, coluna),
                               {c * (decimais == 2 ? 100 : decimais == 3 ? 10 : 1)}))
            return false;
    return true;
}

// n records of 1, 2, ..., n cents.
inline QList<qint64> centavos(int n, qint64 base = 0)
{
    QList<qint64> r;
    for (int i = 1; i <= n; ++i)
        r << base + i;
    return r;
}

inline QVariant situacao(int tipo)
{
    return geral().gConn->escalar(QStringLiteral("SELECT Situacao FROM tbImportados WHERE Tipo = ?"), {tipo});
}

inline QString arquivoGerado(int tipo)
{
    return geral().gConn->escalar(QStringLiteral("SELECT ArquivoGerado FROM tbImportados WHERE Tipo = ?"), {tipo})
        .toString();
}

inline QStringList arquivosEm(const QString& pasta)
{
    return QDir(pasta).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// Every file of a folder with its bytes.
inline QMap<QString, QByteArray> conteudo(const QString& pasta)
{
    QMap<QString, QByteArray> r;
    for (const QString& n : QDir(pasta).entryList(QDir::Files | QDir::NoDotAndDotDot))
        r.insert(n, lerArquivo(caminhoEm(pasta, n)));
    return r;
}

inline bool repor(const QString& pasta, const QMap<QString, QByteArray>& arquivos)
{
    for (const QString& n : QDir(pasta).entryList(QDir::Files | QDir::NoDotAndDotDot))
        if (!QFile::remove(caminhoEm(pasta, n)))
            return false;
    for (auto it = arquivos.cbegin(); it != arquivos.cend(); ++it)
        if (!gravarArquivo(caminhoEm(pasta, it.key()), it.value()))
            return false;
    return true;
}

inline QString versao()
{
    return QStringLiteral("%1.%2%3")
        .arg(TOBRI_VERSAO_MAIOR, 2, 10, QLatin1Char('0'))
        .arg(TOBRI_VERSAO_MENOR)
        .arg(TOBRI_VERSAO_REVISAO);
}

} // namespace fixture
