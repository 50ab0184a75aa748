#include "platform/Grades.h"

#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

// The shared behaviour of the read-only grids: numbers to the right, one
// line per row with the cut text as a tooltip, windows sized to their grid.
class TstGrades : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void alinhamento_data();
    void alinhamento();
    void umaLinhaPorRegistroEDica();
    void janelaMostraAGrade_data();
    void janelaMostraAGrade();
};

namespace {

const QString Longo = QStringLiteral(
    "Data do lançamento fora do período da declaração: o lançamento deve estar entre a data inicial e a final");
const QString Medio = QStringLiteral("Conta do lançamento não encontrada no plano");

// A grid with a code, a description, a count and an amount formatted as text.
QStandardItemModel* modelo(QObject* pai, int linhas, const QString& descricao = QStringLiteral("Curta"))
{
    auto* m = new QStandardItemModel(0, 4, pai);
    m->setHorizontalHeaderLabels({QStringLiteral("Código do Erro"), QStringLiteral("Descrição"),
                                  QStringLiteral("Quantidade de Registros"), QStringLiteral("Valor")});
    for (int r = 0; r < linhas; ++r) {
        auto* codigo = new QStandardItem;
        codigo->setData(qlonglong(31 + r), Qt::DisplayRole);
        auto* qtd = new QStandardItem;
        qtd->setData(1234567.0 * (r + 1), Qt::DisplayRole);
        m->appendRow({codigo, new QStandardItem(descricao), qtd, new QStandardItem(QStringLiteral("1.234,56"))});
    }
    return m;
}

struct Janela {
    QDialog dialogo;
    QTableView* grade = new QTableView(&dialogo);
    Janela()
    {
        auto* l = new QVBoxLayout(&dialogo);
        l->addWidget(new QLabel(QStringLiteral("Resumo"), &dialogo));
        l->addWidget(grade, 1);
        dialogo.resize(300, 200);
    }
};

} // namespace

void TstGrades::alinhamento_data()
{
    QTest::addColumn<int>("coluna");
    QTest::addColumn<bool>("direita");
    QTest::newRow("código inteiro") << 0 << true;
    QTest::newRow("texto") << 1 << false;
    QTest::newRow("número real") << 2 << true;
    QTest::newRow("valor em texto, coluna numérica") << 3 << true;
}

void TstGrades::alinhamento()
{
    QFETCH(int, coluna);
    QFETCH(bool, direita);
    Janela j;
    j.grade->setModel(modelo(j.grade, 2));
    DelegadoGrade* d = prepararGrade(j.grade, {3});
    QStyleOptionViewItem o;
    d->initStyleOption(&o, j.grade->model()->index(0, coluna));
    QCOMPARE(o.displayAlignment.testFlag(Qt::AlignRight), direita);
    QVERIFY(!o.features.testFlag(QStyleOptionViewItem::WrapText));
}

void TstGrades::umaLinhaPorRegistroEDica()
{
    Janela j;
    j.grade->setModel(modelo(j.grade, 3, Longo));
    DelegadoGrade* d = prepararGrade(j.grade);
    j.grade->setColumnWidth(1, 120);
    j.dialogo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&j.dialogo));
    const int umaLinha = j.grade->fontMetrics().height() + 8;
    for (int r = 0; r < 3; ++r)
        QCOMPARE(j.grade->rowHeight(r), umaLinha);
    QVERIFY(!j.grade->wordWrap());
    QCOMPARE(j.grade->editTriggers(), QAbstractItemView::NoEditTriggers);
    // The cut description shows whole as a tooltip; a value that fits has none.
    QCOMPARE(d->dicaDaCelula(j.grade, j.grade->model()->index(0, 1)), Longo);
    QCOMPARE(d->dicaDaCelula(j.grade, j.grade->model()->index(0, 0)), QString());
    j.grade->setColumnWidth(1, j.grade->fontMetrics().horizontalAdvance(Longo) + 40);
    QCOMPARE(d->dicaDaCelula(j.grade, j.grade->model()->index(0, 1)), QString());
}

void TstGrades::janelaMostraAGrade_data()
{
    QTest::addColumn<int>("linhas");
    QTest::addColumn<bool>("cabecalhoDeLinhas");
    QTest::addColumn<QString>("descricao");
    QTest::newRow("nove linhas") << 9 << false << Medio;
    QTest::newRow("uma linha") << 1 << false << Medio;
    QTest::newRow("com cabeçalho de linhas") << 9 << true << Medio;
    QTest::newRow("maior que a tela") << 40 << false << Longo + Longo;
}

void TstGrades::janelaMostraAGrade()
{
    QFETCH(int, linhas);
    QFETCH(bool, cabecalhoDeLinhas);
    QFETCH(QString, descricao);
    Janela j;
    j.grade->setModel(modelo(j.grade, linhas, descricao));
    prepararGrade(j.grade);
    j.grade->verticalHeader()->setVisible(cabecalhoDeLinhas);
    j.grade->horizontalHeader()->setStretchLastSection(true);
    ajustarJanelaAGrade(&j.dialogo, j.grade, linhas);
    j.dialogo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&j.dialogo));
    const QSize tela = j.dialogo.screen()->availableGeometry().size();
    if (descricao == Longo + Longo) {
        // Too much for the screen: as large as it allows, the rest scrolls.
        QVERIFY(j.dialogo.width() <= tela.width() && j.dialogo.height() <= tela.height());
        QVERIFY(j.dialogo.width() > tela.width() * 3 / 4 && j.dialogo.height() > tela.height() * 3 / 4);
        return;
    }
    QVERIFY(!j.grade->horizontalScrollBar()->isVisible());
    QVERIFY(!j.grade->verticalScrollBar()->isVisible());
    const QRect visivel = j.grade->viewport()->rect();
    QVERIFY(visivel.contains(j.grade->visualRect(j.grade->model()->index(linhas - 1, 3))));
    QVERIFY(j.grade->columnWidth(1) > j.grade->fontMetrics().horizontalAdvance(descricao));
    // Never smaller than it was made.
    QVERIFY(j.dialogo.width() >= 300 && j.dialogo.height() >= 200);
    // The last column still takes the room the window gets.
    const int antes = j.grade->columnWidth(3);
    j.dialogo.resize(j.dialogo.width() + 80, j.dialogo.height());
    QTRY_COMPARE(j.grade->columnWidth(3), antes + 80);
}

QTEST_MAIN(TstGrades)
#include "tst_grades.moc"
