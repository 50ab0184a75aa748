#include "AbasTeste.h"
#include "Ambiente.h"

#include "shell/Geral.h"
#include "shell/Menus.h"
#include "shell/Outlook.h"
#include "validation/frmVerificacaoPendencias.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");

// The main window with one declaration and the navigator open over it.
struct Cena {
    Ambiente amb;
    frmPrincipalValidacao* principal = nullptr;
    QPointer<frmVerificacaoPendencias> nav;

    bool abrir()
    {
        registrarAbasTeste();
        if (!criarDeclaracao(68, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)))
            return false;
        principal = abrirPrincipal();
        if (!principal)
            return false;
        principal->resize(1200, 850);
        principal->show();
        nav = Formularios::carregar<frmVerificacaoPendencias>();
        if (!nav)
            return false;
        Formularios::mostrarNaoModal(nav);
        return QTest::qWaitForWindowExposed(nav);
    }
    // The window embedded now, by its name.
    QString filho() const
    {
        auto* a = dynamic_cast<AbaTeste*>(nav->filho());
        return a ? a->nome : QString();
    }
    QList<int> atuais() const
    {
        QList<int> r;
        for (FaixaAbas* t : nav->tabOl)
            r << t->CurrTab();
        return r;
    }
    void clicarAba(int faixa, int aba)
    {
        FaixaAbas* t = nav->tabOl[faixa];
        QTest::mouseClick(t, Qt::LeftButton, {}, t->retanguloAba(aba).center());
    }
};

} // namespace

class TstNavegador : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void carga();
    void grupos_data();
    void grupos();
    void abas_data();
    void abas();
    void abaMostradaRecarrega();
    void grupoDuranteAAnimacao();
    void faixaSemAbaAtualNadaMuda();
    void fecharHabilitaMenus_data();
    void fecharHabilitaMenus();
};

void TstNavegador::carga()
{
    Cena c;
    QVERIFY(c.abrir());
    QCOMPARE(estadoArquivo(c.principal), estadoTravado());
    QCOMPARE(c.nav->LblcnpjPeriodo->text(),
             QStringLiteral("CNPJ: 11.222.333/0001-81  Período: 01/01/2005 a 31/12/2005"));
    QStringList botoes, abas;
    for (int g = 0; g < 3; ++g) {
        botoes << c.nav->elaOlbtn[g]->text();
        abas << c.nav->tabOl[g]->legendas();
    }
    QCOMPARE(botoes, QStringList({"Lançamentos", "Saldos", "Lançamentos x Saldos"}));
    QCOMPARE(abas, QStringList({"Lançamento Diário Geral",
                                "Saldo Final Diário Geral|Saldo Final Diário Auxiliar|Saldo Inicial Diário "
                                "Geral|Saldo Inicial Diário Auxiliar",
                                "Débitos|Créditos"}));
    // Group 0 open with its first tab selected; nothing embedded yet.
    PainelElastico* bar = c.nav->elaOutlook;
    for (int linha = 0; linha < 6; ++linha)
        QCOMPARE(bar->fixa(linha), linha != 1);
    QCOMPARE(bar->tamanho(0), 390);
    QCOMPARE(bar->tamanho(3), 0);
    QCOMPARE(bar->tamanho(5), 0);
    QCOMPARE(c.atuais(), QList<int>({0, -1, -1}));
    QCOMPARE(c.nav->filho(), nullptr);
    QVERIFY(AbaTeste::carregadas.isEmpty());
    // The strips follow the bar's width.
    QCOMPARE(c.nav->tabOl[0]->TabHeight(), c.nav->tabOl[0]->Width() - 10);
}

void TstNavegador::grupos_data()
{
    QTest::addColumn<int>("grupo");
    QTest::addColumn<QString>("janela");
    QTest::newRow("Lançamentos") << 0 << "frmLancamentogeral";
    QTest::newRow("Saldos") << 1 << "frmSaldoFinalGeral";
    QTest::newRow("Lançamentos x Saldos") << 2 << "frmLancamentoSaldoDebito";
}

void TstNavegador::grupos()
{
    QFETCH(int, grupo);
    QFETCH(QString, janela);
    Cena c;
    QVERIFY(c.abrir());
    c.nav->elaOlbtn[grupo]->click();
    QCOMPARE(c.filho(), janela);
    QVERIFY(c.nav->filho()->isVisible());
    QCOMPARE(c.nav->filho()->parentWidget(), c.nav->elaChild);
    QCOMPARE(c.nav->tabOl[grupo]->CurrTab(), 0);
    for (int linha = 0; linha < 6; ++linha)
        QCOMPARE(c.nav->elaOutlook->fixa(linha), linha != 2 * grupo + 1);
    QVERIFY(c.nav->tabOl[grupo]->isVisible());
}

void TstNavegador::abas_data()
{
    QTest::addColumn<int>("faixa");
    QTest::addColumn<int>("aba");
    QTest::addColumn<QString>("janela");
    QTest::newRow("Lançamento Diário Geral") << 0 << 0 << "frmLancamentogeral";
    QTest::newRow("Saldo Final Diário Geral") << 1 << 0 << "frmSaldoFinalGeral";
    QTest::newRow("Saldo Final Diário Auxiliar") << 1 << 1 << "frmSaldoFinalAuxiliar";
    QTest::newRow("Saldo Inicial Diário Geral") << 1 << 2 << "frmSaldoInicialGeral";
    QTest::newRow("Saldo Inicial Diário Auxiliar") << 1 << 3 << "FrmSaldoInicialAuxiliar";
    QTest::newRow("Débitos") << 2 << 0 << "frmLancamentoSaldoDebito";
    QTest::newRow("Créditos") << 2 << 1 << "frmLancamentoSaldoCredito";
}

void TstNavegador::abas()
{
    QFETCH(int, faixa);
    QFETCH(int, aba);
    QFETCH(QString, janela);
    Cena c;
    QVERIFY(c.abrir());
    // A window of another group is shown first; the other strips hold a selection.
    const int outro = faixa == 2 ? 0 : 2;
    c.nav->elaOlbtn[outro]->click();
    c.nav->elaOlbtn[faixa]->click();
    AbaTeste::carregadas.clear();
    AbaTeste::descarregadas.clear();

    c.clicarAba(faixa, aba);
    QCOMPARE(c.filho(), janela);
    QCOMPARE(AbaTeste::carregadas, QStringList{janela});
    QCOMPARE(AbaTeste::descarregadas, QStringList{JanelasDasAbas[faixa == 0 ? 0 : faixa == 1 ? 1 : 5]});
    QList<int> esperado{-1, -1, -1};
    esperado[faixa] = aba;
    QCOMPARE(c.atuais(), esperado);
}

void TstNavegador::abaMostradaRecarrega()
{
    Cena c;
    QVERIFY(c.abrir());
    c.nav->elaOlbtn[1]->click();
    QPointer<Formulario> primeiro = c.nav->filho();
    c.clicarAba(1, 0);
    QCOMPARE(c.filho(), QStringLiteral("frmSaldoFinalGeral"));
    QVERIFY(c.nav->filho() != primeiro.data());
    QVERIFY(!Formularios::carregado(primeiro));
    QCOMPARE(AbaTeste::carregadas, QStringList({"frmSaldoFinalGeral", "frmSaldoFinalGeral"}));
    QCOMPARE(AbaTeste::descarregadas, QStringList({"frmSaldoFinalGeral"}));
}

void TstNavegador::grupoDuranteAAnimacao()
{
    Cena c;
    QVERIFY(c.abrir());
    QVERIFY(c.nav->elaOutlook->tamanho(1) > 150);
    // A click on "Lançamentos x Saldos" while "Saldos" opens: its opening is
    // dropped, its embedding still runs, and "Saldos" then embeds its own.
    QMetaObject::invokeMethod(
        this, [&] { c.nav->elaOlbtn[2]->click(); }, Qt::QueuedConnection);
    c.nav->elaOlbtn[1]->click();
    QCOMPARE(AbaTeste::carregadas, QStringList({"frmLancamentoSaldoDebito", "frmSaldoFinalGeral"}));
    QCOMPARE(AbaTeste::descarregadas, QStringList{"frmLancamentoSaldoDebito"});
    QCOMPARE(c.filho(), QStringLiteral("frmSaldoFinalGeral"));
    for (int linha = 0; linha < 6; ++linha)
        QCOMPARE(c.nav->elaOutlook->fixa(linha), linha != 3);
}

void TstNavegador::faixaSemAbaAtualNadaMuda()
{
    Cena c;
    QVERIFY(c.abrir());
    c.nav->elaOlbtn[1]->click();
    c.clicarAba(1, 2);
    Formulario* antes = c.nav->filho();
    c.nav->tabOl[0]->setCurrTab(-1);
    c.nav->tabOl[2]->setCurrTab(1);
    Q_EMIT c.nav->tabOl[0]->Click();
    QCOMPARE(c.nav->filho(), antes);
    QCOMPARE(c.atuais(), QList<int>({-1, 2, 1}));
}

void TstNavegador::fecharHabilitaMenus_data()
{
    QTest::addColumn<QString>("como");
    QTest::newRow("close box") << "caixa";
    QTest::newRow("a tab's Fechar") << "aba";
    QTest::newRow("the next menu action") << "menu";
}

void TstNavegador::fecharHabilitaMenus()
{
    QFETCH(QString, como);
    Cena c;
    QVERIFY(c.abrir());
    c.nav->elaOlbtn[1]->click();
    QPointer<Formulario> aba = c.nav->filho();
    QVERIFY(aba);
    QCOMPARE(estadoArquivo(c.principal), estadoTravado());

    if (como == "caixa") {
        auto* sub = qobject_cast<QMdiSubWindow*>(c.nav->parentWidget());
        QVERIFY(sub);
        sub->close();
    } else if (como == "aba") {
        // What a result tab's "&Fechar" does.
        HabilitaMenus();
        Formularios::descarregar(QStringLiteral("frmVerificacaoPendencias"));
    } else {
        Fecha_Formularios();
    }
    QVERIFY(!Formularios::carregado(c.nav));
    QVERIFY(!Formularios::carregado(aba));
    QCOMPARE(AbaTeste::descarregadas, QStringList{"frmSaldoFinalGeral"});
    QCOMPARE(estadoArquivo(c.principal), estadoLivre());
}

QTEST_MAIN(TstNavegador)
#include "tst_navegador.moc"
