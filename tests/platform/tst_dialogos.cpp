#include "platform/Dialogos.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The Qt dialogs as a user sees them.
class TstDialogos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void caixaCurtaMostraOTitulo_data();
    void caixaCurtaMostraOTitulo();
    void configurarImpressaoNaoImprime();
};

namespace {

// Runs `ver` on the modal dialog once it is shown, then closes it.
template <class T> void aoAbrir(std::function<void(T*)> ver)
{
    QTimer::singleShot(0, [ver] {
        T* d = nullptr;
        const bool aberto = QTest::qWaitFor([&] {
            d = qobject_cast<T*>(QApplication::activeModalWidget());
            return d && d->isVisible();
        });
        if (!aberto)
            return;
        ver(d);
        d->reject();
    });
}

} // namespace

void TstDialogos::caixaCurtaMostraOTitulo_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("titulo");
    QTest::newRow("título padrão") << QStringLiteral("Arquivo vazio.") << QString();
    QTest::newRow("título próprio") << QStringLiteral("Ok") << QStringLiteral("Tobri Contábeis - Resultado da Importação");
}

void TstDialogos::caixaCurtaMostraOTitulo()
{
    QFETCH(QString, texto);
    QFETCH(QString, titulo);
    dlg::DialogosQt qt;
    int largura = 0;
    QString visto;
    aoAbrir<QMessageBox>([&](QMessageBox* m) {
        largura = m->width();
        visto = m->windowTitle();
    });
    qt.mensagem(dlg::Mensagem{texto, dlg::Icone::Nenhum, dlg::Botoes::Ok, titulo});
    const QString esperado = titulo.isEmpty() ? dlg::TituloPadrao : titulo;
    QCOMPARE(visto, esperado);
    QFont negrito = QApplication::font();
    negrito.setBold(true);
    // Room for the title and the title bar's buttons.
    QVERIFY2(largura >= QFontMetrics(negrito).horizontalAdvance(esperado) + 100, qPrintable(QString::number(largura)));
}

void TstDialogos::configurarImpressaoNaoImprime()
{
    dlg::DialogosQt qt;
    QPrinter p;
    p.setOutputFormat(QPrinter::PdfFormat);
    QString titulo, botao;
    aoAbrir<QPrintDialog>([&](QPrintDialog* d) {
        titulo = d->windowTitle();
        if (auto* caixa = d->findChild<QDialogButtonBox*>())
            botao = caixa->button(QDialogButtonBox::Ok)->text();
    });
    QVERIFY(!qt.configurarImpressora(p));
    QCOMPARE(titulo, QStringLiteral("Configurar Impressão"));
    QCOMPARE(botao, QStringLiteral("OK"));
}

QTEST_MAIN(TstDialogos)
#include "tst_dialogos.moc"
