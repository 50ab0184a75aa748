#include "shell/Outlook.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

// A bar of three groups: button rows 0, 2, 4 and content rows 1, 3, 5 of the
// given sizes (twips); the first content row is the elastic one.
PainelElastico* novaBarra(int conteudo3, int conteudo5)
{
    auto* bar = new PainelElastico;
    bar->resize(200, 400);
    const int tamanhos[] = {0, conteudo3, conteudo5};
    for (int g = 0; g < 3; ++g) {
        bar->adicionarLinha(new QLabel(QStringLiteral("grupo %1").arg(g)), 390, true);
        bar->adicionarLinha(new FaixaAbas, tamanhos[g], g != 0);
    }
    return bar;
}

} // namespace

class TstOutlook : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void iniciaOutlookFixaAsLinhasDeBotao();
    void elasticaTomaAAlturaLivre();
    void abreGrupoFechaAsOutras_data();
    void abreGrupoFechaAsOutras();
    void cliqueDuranteAAnimacaoEDescartado();
    void barraFechadaDuranteAAnimacao();
    void abas();
    void cliqueNaFaixa();
};

void TstOutlook::iniciaOutlookFixaAsLinhasDeBotao()
{
    PainelElastico bar;
    for (int g = 0; g < 3; ++g) {
        bar.adicionarLinha(nullptr, 100, false);
        bar.adicionarLinha(nullptr, 700, g == 1);
    }
    IniciaOutlook(&bar, 390);
    for (int linha = 0; linha < 6; linha += 2) {
        QVERIFY(bar.fixa(linha));
        QCOMPARE(bar.tamanho(linha), 390);
    }
    // Content rows are left as they were.
    QVERIFY(!bar.fixa(1));
    QVERIFY(bar.fixa(3));
    QCOMPARE(bar.tamanho(3), 700);
}

void TstOutlook::elasticaTomaAAlturaLivre()
{
    std::unique_ptr<PainelElastico> bar(novaBarra(0, 0));
    bar->resize(200, 400);
    bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
    const int botao = twipsParaPixels(390, bar.get());
    QCOMPARE(bar->conteudo(1)->height(), 400 - 3 * botao);
    QCOMPARE(bar->conteudo(2)->y(), 400 - 2 * botao);
    QVERIFY(!bar->conteudo(3)->isVisible());

    // The freed height goes to the open group's row.
    AbreGrupo(bar.get(), 1);
    QCOMPARE(bar->conteudo(3)->height(), 400 - 3 * botao);
    QCOMPARE(bar->conteudo(1)->height(), 0);
    QVERIFY(!bar->conteudo(1)->isVisible());
    QCOMPARE(bar->tamanho(3), pixelsParaTwips(400 - 3 * botao, bar.get()));
}

void TstOutlook::abreGrupoFechaAsOutras_data()
{
    QTest::addColumn<int>("grupo");
    QTest::addColumn<int>("conteudo3");
    QTest::addColumn<int>("conteudo5");
    QTest::addColumn<QList<int>>("tamanhos3");   // sizes row 3 is given, pass by pass
    QTest::addColumn<int>("passos");

    QTest::newRow("200 closes in two passes") << 0 << 200 << 0 << QList<int>{50, 0} << 2;
    QTest::newRow("open group again: one pass") << 0 << 0 << 0 << QList<int>{} << 1;
    QTest::newRow("the longest row sets the passes") << 0 << 150 << 400 << QList<int>{0} << 3;
    QTest::newRow("a row of 150 takes one pass") << 0 << 150 << 0 << QList<int>{0} << 1;
}

void TstOutlook::abreGrupoFechaAsOutras()
{
    QFETCH(int, grupo);
    QFETCH(int, conteudo3);
    QFETCH(int, conteudo5);
    QFETCH(QList<int>, tamanhos3);
    QFETCH(int, passos);

    std::unique_ptr<PainelElastico> bar(novaBarra(conteudo3, conteudo5));
    QList<int> vistos;
    connect(bar.get(), &PainelElastico::tamanhoAlterado, this, [&](int linha, int twips) {
        if (linha == 3)
            vistos << twips;
    });
    QCOMPARE(AbreGrupo(bar.get(), grupo), passos);
    QCOMPARE(vistos, tamanhos3);
    for (int linha = 0; linha < 6; ++linha)
        QCOMPARE(bar->fixa(linha), linha != 2 * grupo + 1);
    QCOMPARE(bar->tamanho(3), 0);
    QCOMPARE(bar->tamanho(5), 0);
}

void TstOutlook::cliqueDuranteAAnimacaoEDescartado()
{
    std::unique_ptr<PainelElastico> bar(novaBarra(600, 0));
    int resultadoDoClique = -1;
    // Arrives during the first event-loop turn of the animation.
    QMetaObject::invokeMethod(
        this, [&] { resultadoDoClique = AbreGrupo(bar.get(), 2); }, Qt::QueuedConnection);
    QCOMPARE(AbreGrupo(bar.get(), 0), 4);
    QCOMPARE(resultadoDoClique, 0);
    QVERIFY(!bar->fixa(1));
    QVERIFY(bar->fixa(5));

    // Once the animation is over, a click opens its group: the row that
    // was open closes from the height it had.
    const int aberta = bar->tamanho(1);
    QVERIFY(aberta > 150);
    QCOMPARE(AbreGrupo(bar.get(), 2), (aberta + 149) / 150);
    QVERIFY(bar->fixa(1));
    QVERIFY(!bar->fixa(5));
}

void TstOutlook::barraFechadaDuranteAAnimacao()
{
    PainelElastico* bar = novaBarra(3000, 0);
    QMetaObject::invokeMethod(this, [&] { delete bar; }, Qt::QueuedConnection);
    QCOMPARE(AbreGrupo(bar, 0), 1);
    // The flag is clear again.
    std::unique_ptr<PainelElastico> outra(novaBarra(0, 0));
    QCOMPARE(AbreGrupo(outra.get(), 0), 1);
}

void TstOutlook::abas()
{
    FaixaAbas a, b, c;
    const QList<FaixaAbas*> tabs{&a, &b, &c};
    for (FaixaAbas* t : tabs) {
        t->definirLegendas(QStringLiteral("Um|Dois|Três"));
        t->setCurrTab(2);
        t->setFirstTab(1);
    }
    QCOMPARE(a.quantidade(), 3);
    QCOMPARE(a.legenda(2), QStringLiteral("Três"));
    QCOMPARE(a.legendas(), QStringLiteral("Um|Dois|Três"));

    IniciaTabs(tabs);
    for (FaixaAbas* t : tabs) {
        QCOMPARE(t->CurrTab(), -1);
        QCOMPARE(t->FirstTab(), 0);
    }

    a.setWidth(500);
    b.setWidth(1500);
    AjustaTabs(tabs);
    QCOMPARE(a.TabHeight(), 490);
    QCOMPARE(b.TabHeight(), 1490);

    for (FaixaAbas* t : tabs)
        t->setCurrTab(1);
    SelecionaTab(tabs, 1);
    QCOMPARE(a.CurrTab(), -1);
    QCOMPARE(b.CurrTab(), 1);
    QCOMPARE(c.CurrTab(), -1);
}

void TstOutlook::cliqueNaFaixa()
{
    FaixaAbas faixa;
    faixa.definirLegendas(QStringLiteral("Um|Dois"));
    faixa.resize(150, 300);
    faixa.show();
    QVERIFY(QTest::qWaitForWindowExposed(&faixa));
    QSignalSpy cliques(&faixa, &FaixaAbas::Click);

    // Setting the tab in code raises no Click.
    faixa.setCurrTab(0);
    QCOMPARE(cliques.count(), 0);

    QTest::mouseClick(&faixa, Qt::LeftButton, {}, faixa.retanguloAba(1).center());
    QCOMPARE(faixa.CurrTab(), 1);
    QCOMPARE(cliques.count(), 1);

    // Beside the tabs: no Click, the selection kept.
    QTest::mouseClick(&faixa, Qt::LeftButton, {}, QPoint(75, 295));
    QCOMPARE(faixa.CurrTab(), 1);
    QCOMPARE(cliques.count(), 1);

    QTest::keyClick(&faixa, Qt::Key_Up);
    QCOMPARE(faixa.CurrTab(), 0);
    QCOMPARE(cliques.count(), 2);
    // Past the first tab nothing happens.
    QTest::keyClick(&faixa, Qt::Key_Up);
    QCOMPARE(faixa.CurrTab(), 0);
    QCOMPARE(cliques.count(), 2);
}

QTEST_MAIN(TstOutlook)
#include "tst_outlook.moc"
