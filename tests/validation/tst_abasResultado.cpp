#include "Ambiente.h"
#include "Controles.h"
#include "Resultados.h"

#include "platform/Banco.h"
#include "platform/Formularios.h"
#include "platform/Impressoras.h"
#include "reports/Relatorio.h"
#include "shell/Geral.h"
#include "shell/Menus.h"
#include "shell/frmAbertura.h"
#include "shell/frmPrincipalValidacao.h"
#include "validation/JanelaResultado.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

using relatorio::Pagina;

class TstAbasResultado : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void gradeEContadores_data();
    void gradeEContadores();
    void tabelaIlegivelDeixaAbaVazia();
    void imprimir_data();
    void imprimir();
    void fecharHabilitaMenusEFechaNavegador();
    void gradeGrandeBuscaAoRolar();
    void falhaDeLeituraAoRolar();
};

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 12, 31);

using Linhas = QList<QStringList>;

// A validated declaration with findings of every kind but the auxiliary
// opening balances, and the counters the run leaves.
bool declaracaoValidada()
{
    if (!criarDeclaracao(86, Cnpj, Inicio, Fim))
        return false;
    const bool ok =
        executar(QStringLiteral("INSERT INTO tbLancamentosAcumulados (quebra, Tipo, CNPJ, periodoinicial, "
                                "periodofinal, TotalCreditos, TotalDebitos, Diferenca) VALUES (0, 1, ?, ?, ?, ?, ?, ?)"),
                 {Cnpj, dataIso(Inicio), dataIso(Fim), reais(1234567.5), reais(1234569.75), reais(2.25)})
        && linhaSaldo(QStringLiteral("tbSaldoFinal"), 0, 1, "03", "1.1.01", -1300, 1300, 2600)
        && linhaSaldo(QStringLiteral("tbSaldoFinal"), 0, 1, "04", "2.1.07", 1000000, 999998.5, -1.5)
        && linhaSaldo(QStringLiteral("tbSaldoFinal"), 0, 2, "05", "9.9", 10, 12, 2)
        && linhaSaldo(QStringLiteral("tbSaldoInicial"), 0, 1, "02", "1.1.01", 150, 0, -150)
        && linhaSaldo(QStringLiteral("tbSaldoInicial"), 0, 1, "06", "3.2", 0, 75.4, 75.4)
        && linhaLancamentoSaldo(0, "D", "03", "1.1.01", 300, 299)
        && linhaLancamentoSaldo(0, "D", "07", "4.4", 0, 500)
        && linhaLancamentoSaldo(0, "C", "08", "5.5", 1234.56, 0);
    Geral& g = geral();
    g.gTotalDebitos = Moeda::deUnidades(reais(1234569.75));
    g.gTotalCreditos = Moeda::deUnidades(reais(1234567.5));
    g.gDiferenca = Moeda::deUnidades(reais(2.25));
    g.gRegLidosSaldoFinal = {0, 120, 30, 0};
    g.gRegCorretosSaldoFinal = {0, 118, 29, 0};
    g.gRegComErroSaldoFinal = {0, 2, 1, 0};
    g.gRegLidosSaldoInicial = {0, 120, 30, 0};
    g.gRegCorretosSaldoInicial = {0, 117, 30, 0};
    g.gRegComErroSaldoInicial = {0, 1, 0, 0};
    g.gRegFaltantesSaldoInicial = {0, 1, 0, 0};
    return ok;
}

const QStringList TitulosSaldoFinal{"Mes", "Ano", "Conta", "Saldo Final", "Saldo Final Calculado", "Diferença"};
const QStringList TitulosSaldoInicial{"Mes", "Ano", "Conta", "Saldo Final Anterior", "Saldo Inicial", "Diferença"};

} // namespace

void TstAbasResultado::cleanup()
{
    relatorio::definirObservadorImpressao(nullptr);
}

void TstAbasResultado::gradeEContadores_data()
{
    QTest::addColumn<QString>("janela");
    QTest::addColumn<QString>("quadro");
    QTest::addColumn<QString>("dados");
    QTest::addColumn<QStringList>("titulos");
    QTest::addColumn<Linhas>("linhas");
    // Labels as "name=text".
    QTest::addColumn<QStringList>("rotulos");
    QTest::addColumn<QString>("fechar");
    QTest::addColumn<QString>("ajuda");
    QTest::addColumn<int>("contexto");

    QTest::newRow("lançamentos") << "frmLancamentogeral" << "Lançamentos Diário Geral" << QString() << QStringList()
                                 << Linhas()
                                 << QStringList{"lblDebitos=Total de Débitos no período  R$: 1.234.569,75",
                                                "lblCreditos=Total de Créditos no período  R$: 1.234.567,50",
                                                "lblTotal=Diferença (Total de Débitos - Total de Créditos)    R$: 2,25"}
                                 << "cmdSair" << "cmdAjuda" << 3104;
    QTest::newRow("saldo final geral")
        << "frmSaldoFinalGeral" << "Saldo Final Diário Geral" << "adosaldoinicial" << TitulosSaldoFinal
        << Linhas{{"03", "2005", "1.1.01", "-1.300,00", "1.300,00", "2.600,00"},
                  {"04", "2005", "2.1.07", "1.000.000,00", "999.998,50", "-1,50"}}
        << QStringList{"lbllidosv=120", "lblcorretosv=118", "lblcomerrov=2"} << "cmdCancelar" << "cmAjuda" << 3105;
    QTest::newRow("saldo final auxiliar")
        << "frmSaldoFinalAuxiliar" << "Saldo Final Diário Auxiliar" << "adosaldoinicial" << TitulosSaldoFinal
        << Linhas{{"05", "2005", "9.9", "10,00", "12,00", "2,00"}}
        << QStringList{"lbllidosv=30", "lblcorretosv=29", "lblcomerrov=1"} << "cmdCancelar" << "cmAjuda" << 3106;
    QTest::newRow("saldo inicial geral")
        << "frmSaldoInicialGeral" << "Saldo Inicial Diário Geral" << "adosaldoinicial" << TitulosSaldoInicial
        << Linhas{{"02", "2005", "1.1.01", "150,00", "0,00", "-150,00"}, {"06", "2005", "3.2", "0,00", "75,40", "75,40"}}
        << QStringList{"lbllidosv=120", "lblcorretosv=117", "lblcomerrov=1", "LblFaltantesGeral=1"} << "cmdCancelar"
        << "cmAjuda" << 3107;
    // The check found nothing: an empty grid beside the counters of the run.
    QTest::newRow("saldo inicial auxiliar, sem divergências")
        << "FrmSaldoInicialAuxiliar" << "Saldo Inicial Diário Auxiliar" << "adosaldoinicial" << TitulosSaldoInicial
        << Linhas() << QStringList{"lbllidosv=30", "lblcorretosv=30", "lblcomerrov=0", "LblFaltantesAux=0"}
        << "cmdCancelar" << "cmAjuda" << 3108;
    QTest::newRow("lançamentos x saldos, débitos")
        << "frmLancamentoSaldoDebito" << QString() << "adolancamentos"
        << QStringList{"Mes", "Ano", "Código da Conta", "Total de Débitos Lançamentos", "Total de Débitos Saldos",
                       "Diferença"}
        << Linhas{{"03", "2005", "1.1.01", "300,00", "299,00", "1,00"}, {"07", "2005", "4.4", "0,00", "500,00", "-500,00"}}
        << QStringList() << "cmdCancelar" << "cmAjuda" << 3109;
    QTest::newRow("lançamentos x saldos, créditos")
        << "frmLancamentoSaldoCredito" << QString() << "adolancamentos"
        << QStringList{"Mes", "Ano", "Código da Conta", "Total de Créditos Lançamentos", "Total de Créditos Saldos",
                       "Diferença"}
        << Linhas{{"08", "2005", "5.5", "1.234,56", "0,00", "1.234,56"}} << QStringList() << "cmdCancelar" << "cmAjuda"
        << 3110;
}

void TstAbasResultado::gradeEContadores()
{
    QFETCH(QString, janela);
    QFETCH(QString, quadro);
    QFETCH(QString, dados);
    QFETCH(QStringList, titulos);
    QFETCH(Linhas, linhas);
    QFETCH(QStringList, rotulos);
    QFETCH(QString, fechar);
    QFETCH(QString, ajuda);
    QFETCH(int, contexto);
    Ambiente amb;
    QVERIFY(declaracaoValidada());

    Formulario* f = Formularios::carregar(janela);
    QVERIFY(f);
    QCOMPARE(amb.dialogos.textos(), QStringList());
    QCOMPARE(QString::fromLatin1(f->metaObject()->className()), janela);
    QStringList textos;
    for (const QLabel* l : f->findChildren<QLabel*>())
        textos << l->text();
    QVERIFY(textos.contains(QStringLiteral("Resultado da Validação")));
    auto* q = f->findChild<QGroupBox*>();
    QCOMPARE(q ? q->title() : QString(), quadro);
    for (const QString& r : rotulos)
        QCOMPARE(texto(f, r.section(u'=', 0, 0)), r.section(u'=', 1));
    QCOMPARE(botao(f, "cmdImprimir")->text(), QStringLiteral("&Imprimir"));
    QCOMPARE(botao(f, fechar.toLatin1().constData())->text(), QStringLiteral("&Fechar"));
    QCOMPARE(botao(f, ajuda.toLatin1().constData())->text(), QStringLiteral("&Ajuda"));

    auto* grade = f->findChild<QTableView*>(QStringLiteral("TDBGrid1"));
    if (titulos.isEmpty()) {
        QVERIFY(!grade);
        // The entry totals can always be printed.
        QVERIFY(botao(f, "cmdImprimir")->isEnabled());
    } else {
        QVERIFY(grade);
        QCOMPARE(grade->model()->objectName(), dados);
        QCOMPARE(titulosDaGrade(grade), titulos);
        QCOMPARE(grade->model()->rowCount(), linhas.size());
        for (int r = 0; r < linhas.size(); ++r) {
            QCOMPARE(linhaDaGrade(grade, r), linhas.at(r));
            for (int c = 3; c < 6; ++c)
                QVERIFY(Qt::Alignment(grade->model()->index(r, c).data(Qt::TextAlignmentRole).toInt())
                            .testFlag(Qt::AlignRight));
        }
        QCOMPARE(botao(f, "cmdImprimir")->isEnabled(), !linhas.isEmpty());
    }

    botao(f, ajuda.toLatin1().constData())->click();
    QCOMPARE(amb.ajudas, QList<int>{contexto});
}

void TstAbasResultado::tabelaIlegivelDeixaAbaVazia()
{
    Ambiente amb;
    QVERIFY(declaracaoValidada());
    QVERIFY(executar(QStringLiteral("DROP TABLE tbSaldoFinal")));
    Formulario* f = Formularios::carregar(QStringLiteral("frmSaldoFinalGeral"));
    QVERIFY(f);
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QVERIFY2(amb.dialogos.ultimo().startsWith(QStringLiteral("cod.erro -2147217865\r\nmsg. Erro: ")),
             qPrintable(amb.dialogos.ultimo()));
    QVERIFY(amb.dialogos.ultimo().contains(QStringLiteral("tbSaldoFinal")));
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
    QCOMPARE(f->findChild<QTableView*>()->model()->rowCount(), 0);
    QVERIFY(!botao(f, "cmdImprimir")->isEnabled());
    // The counters of the run are still shown.
    QCOMPARE(texto(f, QStringLiteral("lbllidosv")), QStringLiteral("120"));
    // Printing from another tab still works.
    amb.dialogos.limpar();
    Formulario* g = Formularios::carregar(QStringLiteral("frmLancamentoSaldoDebito"));
    QCOMPARE(g->findChild<QTableView*>()->model()->rowCount(), 2);
    QCOMPARE(amb.dialogos.textos(), QStringList());
}

void TstAbasResultado::imprimir_data()
{
    QTest::addColumn<QString>("janela");
    QTest::addColumn<QString>("falha");
    QTest::addColumn<QString>("mensagem");
    QTest::addColumn<int>("icone");
    const int critico = int(dlg::Icone::Critico);
    QTest::newRow("impresso") << "frmSaldoFinalGeral" << QString() << QString() << 0;
    QTest::newRow("impresso, totais") << "frmLancamentogeral" << QString() << QString() << 0;
    QTest::newRow("diálogo cancelado") << "frmLancamentoSaldoDebito" << "cancelado" << QString() << 0;
    QTest::newRow("sem impressora, totais")
        << "frmLancamentogeral" << "sem impressora" << "Nenhuma Impressora instalada." << int(dlg::Icone::Nenhum);
    QTest::newRow("sem impressora") << "frmSaldoInicialGeral" << "sem impressora" << "Nenhuma Impressora instalada."
                                    << critico;
    QTest::newRow("sem impressora, créditos") << "frmLancamentoSaldoCredito" << "sem impressora"
                                              << "Impressora não instalada. Verifique suas configurações." << critico;
    // Any other failure shows its text.
    QTest::newRow("arquivo não gravável") << "frmLancamentoSaldoDebito" << "não gravável" << "cod.erro 482" << critico;
}

void TstAbasResultado::imprimir()
{
    QFETCH(QString, janela);
    QFETCH(QString, falha);
    QFETCH(QString, mensagem);
    QFETCH(int, icone);
    Ambiente amb;
    // The PDF printer's file as the user would choose it in the dialog.
    struct Dialogos : dlg::DialogosTeste {
        QString arquivo;
        bool dialogoImpressora(QPrinter& p) override
        {
            if (!arquivo.isEmpty())
                p.setOutputFileName(arquivo);
            return DialogosTeste::dialogoImpressora(p);
        }
    } dialogos;
    QVERIFY(declaracaoValidada());
    impressoras::simular({}, falha == QStringLiteral("sem impressora"));
    dialogos.impressora.enqueue(falha != QStringLiteral("cancelado"));
    if (falha == QStringLiteral("não gravável"))
        dialogos.arquivo = amb.caminhoDados(QStringLiteral("sem/pasta/x.pdf"));
    else
        dialogos.arquivo = amb.caminhoDados(QStringLiteral("relatorio.pdf"));
    QList<Pagina> paginas;
    relatorio::definirObservadorImpressao([&](const QList<Pagina>& p) { paginas = p; });

    Formulario* f = Formularios::carregar(janela);
    QVERIFY(f);
    botao(f, "cmdImprimir")->click();
    if (mensagem.isEmpty()) {
        QCOMPARE(dialogos.textos(), QStringList());
    } else {
        QCOMPARE(dialogos.mensagens.size(), 1);
        QVERIFY2(dialogos.ultimo().startsWith(mensagem), qPrintable(dialogos.ultimo()));
        QCOMPARE(int(dialogos.mensagens.first().icone), icone);
    }
    const bool impresso = falha.isEmpty();
    QCOMPARE(QFileInfo(dialogos.arquivo).isFile(), impresso);
    if (impresso) {
        QVERIFY(!paginas.isEmpty());
        QFile pdf(dialogos.arquivo);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
    }
    QVERIFY(Formularios::obter(janela));
}

void TstAbasResultado::fecharHabilitaMenusEFechaNavegador()
{
    Ambiente amb;
    Formularios::adicionar(new frmAbertura);
    auto* principal = new frmPrincipalValidacao;
    Formularios::adicionar(principal);
    QVERIFY(principal->Form_Load());
    QVERIFY(declaracaoValidada());
    const QString navegador = QStringLiteral("frmVerificacaoPendencias");
    if (Formularios::registrado(navegador))
        QVERIFY(Formularios::carregar(navegador));
    DesabilitaMenus();
    QVERIFY(!principal->item(QStringLiteral("mnuAbrir"))->isEnabled());
    Formulario* f = Formularios::carregar(QStringLiteral("frmSaldoInicialGeral"));
    QVERIFY(f);
    botao(f, "cmdCancelar")->click();
    QVERIFY(principal->item(QStringLiteral("mnuAbrir"))->isEnabled());
    QVERIFY(!Formularios::obter(navegador));
    QVERIFY(!Formularios::obter(QStringLiteral("frmSaldoInicialGeral")));
}

namespace {

// 100,000 credit findings, in page groups of 41.
bool muitosCreditos()
{
    if (!criarDeclaracao(86, Cnpj, Inicio, Fim))
        return false;
    db::Transacao t(*geral().gConn);
    db::Consulta q(*geral().gConn);
    if (!q.preparar(QStringLiteral(
            "INSERT INTO tbLancamentoXsaldo (Quebra, IndDC, CNPJ, periodoinicial, periodofinal, Mes, Ano, CodConta, "
            "TotalLancamentos, TotalCredDeb, Diferenca) VALUES (?, 'C', ?, ?, ?, '01', '2005', ?, 0, 10000, -10000)")))
        return false;
    for (int i = 0; i < 100000; ++i)
        if (!q.executar({i / 41, Cnpj, dataIso(Inicio), dataIso(Fim), QString::number(i)}))
            return false;
    return t.confirmar();
}

// Scrolls to the end of the rows read so far, `vezes` times.
void rolar(QTableView* grade, int vezes)
{
    for (int i = 0; i < vezes && grade->model()->canFetchMore(QModelIndex()); ++i) {
        grade->verticalScrollBar()->setValue(grade->verticalScrollBar()->maximum());
        QCoreApplication::processEvents();
    }
}

} // namespace

// A grid of 100,000 findings opens with the first rows only and reads the
// others as the user scrolls.
void TstAbasResultado::gradeGrandeBuscaAoRolar()
{
    Ambiente amb;
    QVERIFY(muitosCreditos());
    Formulario* f = Formularios::carregar(QStringLiteral("frmLancamentoSaldoCredito"));
    auto* grade = f->findChild<QTableView*>();
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QVERIFY(grade->model()->rowCount() > 0);
    QVERIFY(grade->model()->rowCount() < 1000);
    QVERIFY(botao(f, "cmdImprimir")->isEnabled());
    rolar(grade, 10);
    const int depois = grade->model()->rowCount();
    QVERIFY(depois > 1000);
    QCOMPARE(linhaDaGrade(grade, depois - 1).at(2), QString::number(depois - 1));
    QCOMPARE(amb.dialogos.textos(), QStringList());
    // Unloading closes the grid's own reader: the database can be written at once.
    Formularios::descarregar(f);
    QVERIFY(executar(QStringLiteral("DELETE FROM tbLancamentoXsaldo")));
}

// The file cut short under an open grid: scrolling on says why it stops
// instead of taking the failure for the last row.
void TstAbasResultado::falhaDeLeituraAoRolar()
{
    Ambiente amb;
    QVERIFY(muitosCreditos());
    Formulario* f = Formularios::carregar(QStringLiteral("frmLancamentoSaldoCredito"));
    auto* grade = f->findChild<QTableView*>();
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    const int antes = grade->model()->rowCount();
    QFile banco(caminhoBancoDeclaracao());
    QVERIFY(banco.resize(banco.size() / 2));
    rolar(grade, 1000);
    QCoreApplication::processEvents();
    QVERIFY(grade->model()->rowCount() > antes);
    QVERIFY(grade->model()->rowCount() < 100000);
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QVERIFY2(amb.dialogos.ultimo().startsWith(QStringLiteral("cod.erro ")), qPrintable(amb.dialogos.ultimo()));
    QVERIFY(amb.dialogos.ultimo().endsWith(QStringLiteral("(TDBGrid1_FetchMore)")));
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
}

QTEST_MAIN(TstAbasResultado)
#include "tst_abasResultado.moc"
