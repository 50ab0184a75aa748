// The tracking report: the work table's lines per delivered file (layout,
// first and last records) and the printed pages with their cover sheets.
#include "Ambiente.h"

#include "delivery/frmAcompanhamento.h"
#include "delivery/motor/Acompanhamento.h"
#include "platform/Formularios.h"
#include "platform/Impressoras.h"
#include "platform/Pastas.h"
#include "reports/Relatorio.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2025, 1, 1);
const QDate Fim(2025, 12, 31);
const QString Nome = QStringLiteral("Empresa Acompanhada S.A.");
const QByteArray Fmt = "RECORD_LENGTH 24 SKIP 0\r\n"
                       "Texto          ASCII       1  22   PICTURE \"DDMMYYYY\"\r\n";

// Record i of a file: 22 characters, an apostrophe and an accented letter.
QString registro(int tipo, int i)
{
    return QStringLiteral("T%1 d'Ávila nº %2").arg(tipo).arg(i, 5, 10, QLatin1Char('0')).leftJustified(22, u'.');
}

// A recorded file (data and .fmt in `pasta`) with its status row at 100.
QString gravado(const QString& pasta, int tipo, int registros, int comprimento = 22)
{
    const QString base = caminhoEm(pasta, QStringLiteral("11222333000181-TOBRI-86-T%1-2025010120251231").arg(tipo));
    QFile dados(base + QStringLiteral(".txt"));
    if (!dados.open(QIODevice::WriteOnly))
        return {};
    for (int i = 1; i <= registros; ++i)
        dados.write(QString(registro(tipo, i).leftJustified(comprimento, u'.')).toLatin1() + "\r\n");
    dados.close();
    QFile fmt(base + QStringLiteral(".fmt"));
    if (!fmt.open(QIODevice::WriteOnly))
        return {};
    fmt.write(Fmt);
    const Geral& g = geral();
    g.gConn->executar(
        QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao, "
                       "RegLidos, ArquivoGerado) VALUES (?, ?, ?, ?, ?, 100, ?, ?)"),
        {g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal), tipo, registros,
         base + QStringLiteral(".txt")});
    return base + QStringLiteral(".txt");
}

QStringList registros(int tipo, int de, int ate)
{
    QStringList r;
    for (int i = de; i <= ate; ++i)
        r << registro(tipo, i);
    return r;
}

QStringList linhasDoArquivo(int tipo, int total)
{
    QStringList r{entrega::CabecalhoLeiaute,
                  QStringLiteral("Texto          ASCII       1  22   PICTURE \"DDMMYYYY\""), QStringLiteral(" "),
                  entrega::TituloPrimeiros};
    r << registros(tipo, 1, std::min(total, 30));
    if (total > 30)
        r << QStringLiteral(" ") << entrega::TituloUltimos << registros(tipo, std::max(31, total - 29), total);
    return r;
}

int contarLinhas()
{
    return geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM tbAcompanhamento")).toInt();
}

} // namespace

class TstAcompanhamento : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void secoesDoDump_data();
    void secoesDoDump();
    void folhasImpressas();
    void semArquivosGravados();
};

void TstAcompanhamento::secoesDoDump_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("comprimento");
    QTest::addColumn<int>("paginas");
    QTest::newRow("20 registros") << 20 << 22 << 1;
    QTest::newRow("45 registros") << 45 << 22 << 1;
    QTest::newRow("59 registros") << 59 << 22 << 1;
    QTest::newRow("60 registros") << 60 << 22 << 1;
    QTest::newRow("100 registros") << 100 << 22 << 1;
    QTest::newRow("registro de 79") << 3 << 79 << 1;
    QTest::newRow("registro de 80") << 3 << 80 << 2;
    QTest::newRow("registro de 160") << 3 << 160 << 3;
}

void TstAcompanhamento::secoesDoDump()
{
    QFETCH(int, total);
    QFETCH(int, comprimento);
    QFETCH(int, paginas);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    const QString arquivo = gravado(amb.dados(), 6, total, comprimento);
    // Rows left by an earlier run that failed are not printed again.
    QVERIFY(geral().gConn->executar(QStringLiteral("INSERT INTO tbAcompanhamento (tipo, RegistroDump) VALUES (1, 'x')")));

    qint64 linhas = 0;
    QVERIFY2(entrega::preencherAcompanhamento(linhas), qPrintable(geral().gMsg));
    QList<FolhaAcompanhamento> folhas;
    QVERIFY(entrega::lerAcompanhamento(Nome, folhas));
    QCOMPARE(folhas.size(), 1);
    const FolhaAcompanhamento& f = folhas.first();
    QCOMPARE(linhas, f.linhas.size());
    QCOMPARE(f.qtdRegistros, total);
    QCOMPARE(f.qtdPaginas, paginas);
    QCOMPARE(f.tamanho, qint64(total) * (comprimento + 2));
    QCOMPARE(f.nomeArquivo, QFileInfo(arquivo).fileName());
    QCOMPARE(f.descricao, QStringLiteral("Lançamentos Diário Geral"));
    QCOMPARE(f.cnpj, Cnpj);
    if (comprimento == 22)
        QCOMPARE(f.linhas, linhasDoArquivo(6, total));
    else
        QCOMPARE(f.linhas.size(), 4 + total);
}

// Two recorded files (40 and 100 records) and one deleted since: two cover
// sheets, each followed by its lines; the work table is empty afterwards.
void TstAcompanhamento::folhasImpressas()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    const QString pasta = amb.caminhoDados(QStringLiteral("entrega"));
    QVERIFY(QDir().mkpath(pasta));
    gravado(pasta, 1, 40);
    gravado(pasta, 6, 100);
    QVERIFY(QFile::remove(gravado(pasta, 8, 5)));
    QList<relatorio::Pagina> paginas;
    relatorio::definirObservadorImpressao([&](const QList<relatorio::Pagina>& p) { paginas = p; });
    frmAcompanhamento::arquivoPdf = amb.caminhoDados(QStringLiteral("acompanhamento.pdf"));

    Formulario* w = Formularios::carregar(QStringLiteral("frmAcompanhamento"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Imprimir Relatório de Acompanhamento"));
    auto* grade = w->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
    grade->setCurrentIndex(grade->model()->index(0, 0));
    w->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    relatorio::definirObservadorImpressao(nullptr);
    frmAcompanhamento::arquivoPdf.clear();

    QCOMPARE(amb.dialogos.textos(), QStringList());
    QVERIFY(QFileInfo(amb.caminhoDados(QStringLiteral("acompanhamento.pdf"))).size() > 0);
    QVERIFY(Formularios::carregado(w));
    QCOMPARE(contarLinhas(), 0);

    // Pages by file: a cover sheet, then the pages of its lines.
    QList<QStringList> capas;
    QList<QStringList> linhas;
    for (const relatorio::Pagina& p : paginas) {
        const QStringList t = p.textos();
        if (t.contains(QStringLiteral("MEIO FÍSICO DE ENTREGA:"))) {
            capas << t;
            linhas << QStringList();
        } else {
            QVERIFY(!capas.isEmpty());
            linhas.last() << t;
        }
    }
    QCOMPARE(capas.size(), 2);
    QCOMPARE(linhas.at(0), linhasDoArquivo(1, 40));
    QCOMPARE(linhas.at(1), linhasDoArquivo(6, 100));

    const QString hoje = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    const QStringList capa = capas.at(1);
    for (const QString& t :
         {QStringLiteral("CNPJ:"), Cnpj, QStringLiteral("Nome Empresarial:"), Nome, QStringLiteral("Nome do Arquivo:"),
          QStringLiteral("11222333000181-TOBRI-86-T6-2025010120251231.txt"), QStringLiteral("Data da Geração:"), hoje,
          QStringLiteral("Conteúdo do Arquivo (*):"), QStringLiteral("Lançamentos Diário Geral"),
          QStringLiteral("( _ ) Transmissão Direta"),
          QStringLiteral("DUMP DOS 30 ÚLTIMOS REGISTROS ..... : _______    (quantidade de páginas)"),
          QStringLiteral("QUANTIDADE DE REGISTROS ........... : "), QStringLiteral("100"),
          QStringLiteral("TAMANHO DO ARQUIVO (EM BYTES) (**)  : "), QStringLiteral("2400"),
          QStringLiteral("                              ,"), QStringLiteral("Local"),
          QStringLiteral("Responsável técnico pela geração do arquivo:"), QStringLiteral("E-MAIL:"),
          RptAcompanhamento::textoVersao(TOBRI_VERSAO_MAIOR, TOBRI_VERSAO_MENOR, TOBRI_VERSAO_REVISAO)})
        QVERIFY2(capa.contains(t), qPrintable(t));
    QVERIFY(capa.join(u' ').contains(QStringLiteral("informar o tamanho do arquivo resultante da compactação.")));
    QVERIFY(capas.at(0).contains(QStringLiteral("Plano de Contas Diário Geral")));
    QVERIFY(capas.at(0).contains(QStringLiteral("40")));
    QCOMPARE(RptAcompanhamento::textoVersao(1, 0, 8), QStringLiteral("Versão: 1.08"));
}

// Recorded files all deleted: the message, nothing printed. A declaration
// not recorded yet is refused first; without a printer, the message; a
// cancelled printer dialog does nothing.
void TstAcompanhamento::semArquivosGravados()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    const QString pasta = amb.dados();
    const QString a1 = gravado(pasta, 1, 3);
    const QString a6 = gravado(pasta, 6, 3);
    const QString a8 = gravado(pasta, 8, 3);
    QVERIFY(geral().gConn->executar(QStringLiteral("UPDATE tbImportados SET Situacao = 0 WHERE Tipo = 8")));
    bool impresso = false;
    relatorio::definirObservadorImpressao([&](const QList<relatorio::Pagina>&) { impresso = true; });
    frmAcompanhamento::arquivoPdf = amb.caminhoDados(QStringLiteral("acompanhamento.pdf"));

    Formulario* w = Formularios::carregar(QStringLiteral("frmAcompanhamento"));
    auto* grade = w->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
    grade->setCurrentIndex(grade->model()->index(0, 0));
    auto* ok = w->findChild<QPushButton*>(QStringLiteral("cmdOk"));
    ok->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{entrega::MsgAcompanhamento});

    QVERIFY(geral().gConn->executar(QStringLiteral("UPDATE tbImportados SET Situacao = 100")));
    amb.dialogos.limpar();
    impressoras::simular({}, true);
    ok->click();
    impressoras::restaurar();
    QCOMPARE(amb.dialogos.textos(), QStringList{QStringLiteral("Impressora não instalada. Verifique suas configurações.")});

    amb.dialogos.limpar();
    amb.dialogos.impressora.enqueue(false);
    ok->click();
    QVERIFY(amb.dialogos.textos().isEmpty());
    QVERIFY(!impresso);

    for (const QString& a : {a1, a6, a8})
        QVERIFY(QFile::remove(a));
    ok->click();
    relatorio::definirObservadorImpressao(nullptr);
    frmAcompanhamento::arquivoPdf.clear();
    QCOMPARE(amb.dialogos.textos(), QStringList{entrega::MsgSemArquivosGravados});
    QVERIFY(!impresso);
    QVERIFY(Formularios::carregado(w));
}

QTEST_MAIN(TstAcompanhamento)
#include "tst_acompanhamento.moc"
