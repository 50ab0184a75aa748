#include "Ambiente.h"

#include "platform/Ajuda.h"
#include "platform/Formularios.h"
#include "shell/HelpContexts.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>

// The help window opened from a work window that runs modally, as a user
// meets it: F1, read, close, go on.
class TstAjuda : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        if (QDialog* h = ajuda::janelaAberta())
            delete h;
    }
    void f1NaJanelaModal();
    void ajudaAbertaAntesDaJanelaModal();
    void ajudaSegueParaAProximaJanelaDaCadeia();
};

namespace {

// What the check inside the modal loop saw.
struct Visto {
    bool exposta = false;
    bool visivel = false;
    bool habilitada = false;
    bool acima = false;
    QString topico;
    bool fechouComEsc = false;
    bool modalAtivaDepois = false;
    QString digitadoDepois;
};

// Runs `passo` once the modal window is on screen, then closes it.
void rodarModal(Formulario* f, std::function<void()> passo)
{
    QTimer::singleShot(0, f, [f, passo] {
        if (QTest::qWaitForWindowExposed(f))
            passo();
        Formularios::descarregar(f);
    });
    Formularios::mostrarModal(f);
}

bool acimaDe(QDialog* h, QWidget* janela)
{
    return h->parentWidget() == janela && h->windowHandle() && janela->windowHandle()
           && h->windowHandle()->transientParent() == janela->windowHandle();
}

} // namespace

void TstAjuda::f1NaJanelaModal()
{
    Ambiente amb;
    ajuda::definirVisualizador(nullptr);
    Formulario* f = Formularios::carregar(QStringLiteral("frmDadosContribuinte"));
    QVERIFY(f);
    Visto v;
    rodarModal(f, [&] {
        auto* nome = f->findChild<QLineEdit*>(QStringLiteral("txtnomeEmp"));
        f->activateWindow();
        if (!QTest::qWaitForWindowActive(f))
            return;
        QTest::keyClick(f->windowHandle(), Qt::Key_F1);
        // The help window deletes itself on close.
        const QPointer<QDialog> h = ajuda::janelaAberta();
        if (!h)
            return;
        v.exposta = QTest::qWaitForWindowExposed(h);
        v.visivel = h->isVisible();
        v.habilitada = h->isEnabled();
        v.acima = acimaDe(h, f);
        if (auto* nav = h->findChild<QTextBrowser*>())
            v.topico = nav->source().fileName();
        // Keys reach the help window only when the modal window does not block it.
        QTest::keyClick(h->windowHandle(), Qt::Key_Escape);
        v.fechouComEsc = !h || !h->isVisible();
        v.modalAtivaDepois = QTest::qWaitForWindowActive(f) && QApplication::activeModalWidget() == f;
        if (nome) {
            nome->setFocus();
            for (char c : {'A', 'c', 'm', 'e'})
                QTest::keyClick(f->windowHandle(), c);
            v.digitadoDepois = nome->text();
        }
    });
    QVERIFY(v.exposta);
    QVERIFY(v.visivel);
    QVERIFY(v.habilitada);
    QVERIFY(v.acima);
    QCOMPARE(v.topico, QStringLiteral("%1.html").arg(ajuda::frmDadosContribuinte));
    QVERIFY(v.fechouComEsc);
    QVERIFY(v.modalAtivaDepois);
    QCOMPARE(v.digitadoDepois, QStringLiteral("Acme"));
}

void TstAjuda::ajudaAbertaAntesDaJanelaModal()
{
    Ambiente amb;
    ajuda::definirVisualizador(nullptr);
    ajuda::mostrar(ajuda::Conteudo);
    // The help window deletes itself on close.
    const QPointer<QDialog> h = ajuda::janelaAberta();
    QVERIFY(h);
    QVERIFY(QTest::qWaitForWindowExposed(h));
    QCOMPARE(h->parentWidget(), nullptr);
    Formulario* f = Formularios::carregar(QStringLiteral("frmDadosContribuinte"));
    QVERIFY(f);
    Visto v;
    rodarModal(f, [&] {
        // Moves above the modal window instead of being blocked behind it.
        if (!QTest::qWaitFor([&] { return h && acimaDe(h, f) && h->isVisible(); }))
            return;
        v.acima = true;
        v.visivel = QTest::qWaitForWindowExposed(h);
        QTest::keyClick(h->windowHandle(), Qt::Key_Escape);
        v.fechouComEsc = !h || !h->isVisible();
    });
    QVERIFY(v.acima);
    QVERIFY(v.visivel);
    QVERIFY(v.fechouComEsc);
}

void TstAjuda::ajudaSegueParaAProximaJanelaDaCadeia()
{
    Ambiente amb;
    ajuda::definirVisualizador(nullptr);
    Formulario* primeira = Formularios::carregar(QStringLiteral("frmDadosContribuinte"));
    QVERIFY(primeira);
    QPointer<QDialog> h;
    bool segundaComAjuda = false;
    rodarModal(primeira, [&] {
        primeira->mostrarAjuda();
        h = ajuda::janelaAberta();
        if (!h || !acimaDe(h, primeira))
            return;
        // A chain: the window unloads itself and opens the next one modally.
        Formularios::descarregar(primeira);
        Formulario* segunda = Formularios::carregar(QStringLiteral("frmSobre"));
        if (!segunda)
            return;
        rodarModal(segunda, [&] {
            segundaComAjuda = QTest::qWaitFor([&] { return h && acimaDe(h, segunda) && h->isVisible(); });
        });
    });
    QVERIFY(segundaComAjuda);
    // Still there, on its own, once the chain is over.
    QVERIFY(h);
    QTRY_VERIFY(h->isVisible());
    QCOMPARE(h->parentWidget(), nullptr);
}

QTEST_MAIN(TstAjuda)
#include "tst_ajuda.moc"
