// The duplicate tests (code 12 of the charts, 25 of the balances) over files
// in shuffled order, with true repeats among near misses (another date, a
// leading blank), once with the real fingerprints and once with a weak one
// that makes most keys share a fingerprint: the codes are those of the rules,
// record by record, and the tables get their indexes after the load.
#include "Ambiente.h"

#include "import/motor/Motor.h"
#include "shell/Geral.h"

#include <QRandomGenerator>
#include <QSet>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>

class TstRepetidos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void planoEmbaralhado_data();
    void planoEmbaralhado();
    void saldosEmbaralhados_data();
    void saldosEmbaralhados();
};

namespace {

const QString Cnpj = QStringLiteral("99.999.999/9999-99");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 12, 31);

// Four fingerprints in all: nearly every probe meets rows of other keys.
quint64 impressaoFraca(QByteArrayView chave)
{
    unsigned soma = 0;
    for (char c : chave)
        soma += static_cast<unsigned char>(c);
    return quint64(soma % 4) * 0x9E3779B97F4A7C15ull;
}

QByteArray campo(const QByteArray& texto, int largura)
{
    return texto.leftJustified(largura, ' ', true);
}

// A chart record of the standard layout.
QByteArray conta(int in, const QByteArray& data, const QByteArray& codigo, char tipo = 'A',
                 const QByteArray& totalizadora = "1", const QByteArray& descricao = "Conta")
{
    if (in == 68)
        return campo(data, 8) + "001" + campo(codigo, 28) + campo(descricao, 50);
    return campo(data, 8) + campo(codigo, 28) + tipo + campo(tipo == 'S' ? QByteArray() : totalizadora, 28)
        + campo(descricao, 50);
}

QByteArray saldo(const QByteArray& data, const QByteArray& codigo)
{
    const QByteArray zero(17, '0');
    return campo(data, 8) + campo(codigo, 28) + zero + 'D' + zero + zero + zero + 'D';
}

QByteArray arquivo(const QList<QByteArray>& registros)
{
    QByteArray b;
    for (const QByteArray& r : registros)
        b += r + "\r\n";
    return b;
}

void embaralhar(QList<QByteArray>& registros, quint32 semente)
{
    QRandomGenerator gerador(semente);
    for (qsizetype i = registros.size() - 1; i > 0; --i)
        registros.swapItemsAt(i, gerador.bounded(i + 1));
}

// Imports the file as the Import button does.
motor::FimImportacao importar(Ambiente& amb, int tipo, const QByteArray& bytes)
{
    Geral& g = geral();
    g.gTipoArquivo = qint16(tipo);
    QString msg;
    if (!motor::copiarLeiautePadrao(msg))
        qWarning() << msg;
    g.gTamanhoARQ = qint16(g.gConn->escalar(QStringLiteral("SELECT sum(Tamanho) FROM TbleiauteDIG")).toInt());
    g.gArquivoOrigem = amb.escreverArquivo(QStringLiteral("origem%1.txt").arg(tipo), bytes);
    motor::Painel painel;
    return motor::executarImportacao(painel);
}

// "record:code" of the detail rows of a type, in the order written.
QStringList detalhes(int tipo)
{
    QStringList r;
    QSqlQuery q(geral().gConn->banco());
    q.prepare(QStringLiteral("SELECT NroRegistro, CodigoErro FROM tbDetalheErros WHERE TipoArquivo = ? ORDER BY rowid"));
    q.addBindValue(tipo);
    if (!q.exec())
        return {QStringLiteral("consulta falhou")};
    while (q.next())
        r << QStringLiteral("%1:%2").arg(q.value(0).toInt()).arg(q.value(1).toInt());
    return r;
}

// Index names of a table and whether each is unique, sorted.
QStringList indices(const QString& tabela)
{
    QStringList r;
    QSqlQuery q(geral().gConn->banco());
    if (!q.exec(QStringLiteral("PRAGMA index_list(\"%1\")").arg(tabela)))
        return {QStringLiteral("consulta falhou")};
    while (q.next())
        r << q.value(1).toString() + (q.value(2).toInt() ? QStringLiteral(" única") : QString());
    std::sort(r.begin(), r.end());
    return r;
}

// The key of a duplicate test: the date part and the code without its
// trailing blanks (leading blanks count).
QByteArray chave(const QByteArray& data, const QByteArray& codigo)
{
    QByteArray c = codigo;
    while (c.endsWith(' '))
        c.chop(1);
    return data + '\0' + c;
}

// Both instructions, each with the real fingerprint and with the weak one.
void linhasInstrucaoEImpressao()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<bool>("fraca");
    for (int in : {68, 86}) {
        QTest::addRow("IN %d", in) << in << false;
        QTest::addRow("IN %d, impressão fraca", in) << in << true;
    }
}

// The fingerprint of a test, given back when it ends, whatever its checks did.
class ImpressaoEscolhida {
public:
    explicit ImpressaoEscolhida(bool fraca)
        : m_antes(motor::ImpressoesChaves::definirImpressao(fraca ? impressaoFraca : nullptr))
    {
    }
    ~ImpressaoEscolhida() { motor::ImpressoesChaves::definirImpressao(m_antes); }
    ImpressaoEscolhida(const ImpressaoEscolhida&) = delete;
    ImpressaoEscolhida& operator=(const ImpressaoEscolhida&) = delete;

private:
    decltype(motor::ImpressoesChaves::definirImpressao(nullptr)) m_antes;
};

} // namespace

void TstRepetidos::planoEmbaralhado_data()
{
    linhasInstrucaoEImpressao();
}

// Instruction 68 tests a chart record against the rows stored before it (the
// later of two records gets 12); instruction 86 stores the whole chart first,
// so both get it.
void TstRepetidos::planoEmbaralhado()
{
    QFETCH(int, in);
    QFETCH(bool, fraca);
    const ImpressaoEscolhida impressao(fraca);
    Ambiente amb;
    QVERIFY(criarDeclaracao(qint16(in), Cnpj, Inicio, Fim));

    QList<QByteArray> regs{conta(in, "01012005", "1", 'S')};
    for (int i = 1; i <= 300; ++i)
        regs << conta(in, "01012005", "1." + QByteArray::number(i).rightJustified(3, '0'));
    for (int i : {3, 50, 51, 120, 299})
        regs << conta(in, "01012005", "1." + QByteArray::number(i).rightJustified(3, '0'), 'A', "1", "Repetida");
    regs << conta(in, "01012005", "1.050", 'A', "1", "Outra vez");   // a third record of one account
    regs << conta(in, "02012005", "1.007");                          // another date: not a repeat
    regs << conta(in, "01012005", " 1.008");                         // a leading blank: another code
    embaralhar(regs, 23);

    const int largura = 28;   // the account field of both layouts
    const int posCodigo = in == 68 ? 11 : 8;
    QMap<QByteArray, int> vezes;
    for (const QByteArray& r : std::as_const(regs))
        ++vezes[chave(r.left(8), r.mid(posCodigo, largura))];
    QStringList esperado;
    QSet<QByteArray> vistas;
    for (int n = 1; n <= regs.size(); ++n) {
        const QByteArray k = chave(regs[n - 1].left(8), regs[n - 1].mid(posCodigo, largura));
        if (in == 86 ? vezes[k] > 1 : vistas.contains(k))
            esperado << QStringLiteral("%1:12").arg(n);
        vistas.insert(k);
    }
    QCOMPARE(esperado.size(), in == 86 ? 11 : 6);

    QCOMPARE(importar(amb, 1, arquivo(regs)), motor::FimImportacao::Concluida);
    QCOMPARE(detalhes(1), esperado);
    QCOMPARE(geral().gRegErros, double(esperado.size()));
    const QString tabela = motor::nomeTabela(motor::TabPlanoGeral);
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM %1").arg(tabela)).toInt(), 0);
    QStringList esperados{tabela + QStringLiteral("_codconta"), tabela + QStringLiteral("_codcontadata")};
    if (in == 86)
        esperados << tabela + QStringLiteral("_codcontatipo");
    std::sort(esperados.begin(), esperados.end());
    QCOMPARE(indices(tabela), esperados);

    // Without the repeats the same shuffled chart is clean and stays stored.
    QList<QByteArray> limpo;
    QSet<QByteArray> unicas;
    for (const QByteArray& r : std::as_const(regs))
        if (!unicas.contains(chave(r.left(8), r.mid(posCodigo, largura)))) {
            unicas.insert(chave(r.left(8), r.mid(posCodigo, largura)));
            limpo << r;
        }
    QCOMPARE(importar(amb, 1, arquivo(limpo)), motor::FimImportacao::Concluida);
    QCOMPARE(detalhes(1), QStringList{});
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM %1").arg(tabela)).toInt(),
             int(limpo.size()));
    QCOMPARE(indices(tabela), esperados);
}

void TstRepetidos::saldosEmbaralhados_data()
{
    linhasInstrucaoEImpressao();
}

// A balance repeats an account's month, whatever its day: the later record
// gets 25 and is not stored; the balances' key is a unique index after the load.
void TstRepetidos::saldosEmbaralhados()
{
    QFETCH(int, in);
    QFETCH(bool, fraca);
    const ImpressaoEscolhida impressao(fraca);
    Ambiente amb;
    QVERIFY(criarDeclaracao(qint16(in), Cnpj, Inicio, Fim));
    QList<QByteArray> plano{conta(in, "01012005", "1", 'S')};
    QList<QByteArray> contas;
    for (int i = 1; i <= 120; ++i) {
        contas << "1." + QByteArray::number(i).rightJustified(3, '0');
        plano << conta(in, "01012005", contas.last());
    }
    QCOMPARE(importar(amb, 1, arquivo(plano)), motor::FimImportacao::Concluida);
    QCOMPARE(detalhes(1), QStringList{});

    QList<QByteArray> regs;
    for (const QByteArray& c : std::as_const(contas))
        for (const char* mes : {"01", "02", "03"})
            regs << saldo(QByteArray("01") + mes + "2005", c);
    for (int i : {0, 17, 18, 64, 119})
        regs << saldo("15022005", contas[i]);   // another day of a month already there
    regs << saldo("01022005", contas[17]);      // the very same key again
    regs << saldo("01042005", contas[64]);      // another month: not a repeat
    embaralhar(regs, 41);

    QStringList esperado;
    QSet<QByteArray> vistas;
    for (int n = 1; n <= regs.size(); ++n) {
        const QByteArray k = chave(regs[n - 1].mid(2, 6), regs[n - 1].mid(8, 28));
        if (vistas.contains(k))
            esperado << QStringLiteral("%1:25").arg(n);
        vistas.insert(k);
    }
    QCOMPARE(esperado.size(), 6);

    QCOMPARE(importar(amb, 8, arquivo(regs)), motor::FimImportacao::Concluida);
    QCOMPARE(detalhes(8), esperado);
    const QString tabela = motor::nomeTabela(motor::TabSaldosGeral);
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM %1").arg(tabela)).toInt(),
             int(regs.size() - esperado.size()));
    QCOMPARE(indices(tabela), (QStringList{tabela + QStringLiteral("_Codconta"),
                                           tabela + QStringLiteral("_Minhachave única")}));
    // The key still refuses a second row of a stored date and account.
    db::Erro e;
    QVERIFY(!geral().gConn->executar(
        QStringLiteral("INSERT INTO %1 (DataSaldoIni, Codconta) SELECT DataSaldoIni, Codconta FROM %1 LIMIT 1")
            .arg(tabela),
        {}, &e));
    QCOMPARE(e.numero, db::ErroBanco);
}

QTEST_MAIN(TstRepetidos)
#include "tst_repetidos.moc"
