#include "Ajuda.h"

#include "Pastas.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QHideEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace ajuda {

namespace {

// The help window belongs to the modal window that runs (a window of the
// modal one is not blocked by it and stays above it); with none it stands
// alone. It follows the modal windows as they open and close, so it can be
// read, scrolled and closed at any time.
class JanelaAjuda : public QDialog {
public:
    JanelaAjuda()
        : QDialog(nullptr, Qt::Window)
        , m_navegador(new QTextBrowser(this))
    {
        setObjectName(QStringLiteral("JanelaAjuda"));
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QStringLiteral("Ajuda - Tobri Contábeis"));
        m_navegador->setObjectName(QStringLiteral("navegador"));
        m_navegador->setOpenExternalLinks(true);
        auto* l = new QVBoxLayout(this);
        l->addWidget(m_navegador);
        resize(760, 560);
    }

    QTextBrowser* navegador() const { return m_navegador; }

    // Puts the window under `dono` (nullptr: on its own), keeping its place
    // and whether it is shown.
    void adotar(QWidget* dono)
    {
        if (dono == parentWidget())
            return;
        const bool visivel = isVisible();
        const QRect lugar = geometry();
        if (QWidget* antigo = parentWidget())
            antigo->removeEventFilter(this);
        m_mudando = true;
        setParent(dono, windowFlags() | Qt::Window);
        m_mudando = false;
        if (dono)
            dono->installEventFilter(this);
        if (m_posicionada)
            setGeometry(lugar);
        if (visivel) {
            show();
            // Above the window it now belongs to, which may come up over it
            // when it gets the keyboard.
            raise();
            m_elevarAoAtivar = dono != nullptr;
        }
    }

    void exibir()
    {
        adotar(donoAtual());
        show();
        m_posicionada = true;
        raise();
        activateWindow();
    }

protected:
    bool event(QEvent* e) override
    {
        // A modal window opened after this one: move under it, once the
        // modal window has finished showing itself.
        if (e->type() == QEvent::WindowBlocked && isVisible())
            QTimer::singleShot(0, this, [this] {
                if (QWidget* m = donoAtual())
                    adotar(m);
            });
        return QDialog::event(e);
    }

    bool eventFilter(QObject* o, QEvent* e) override
    {
        // The modal window that holds this one closes: stay open under the
        // next one, or on its own.
        if (o == parentWidget() && e->type() == QEvent::Hide)
            adotar(donoAtual(parentWidget()));
        else if (o == parentWidget() && e->type() == QEvent::WindowActivate && m_elevarAoAtivar) {
            m_elevarAoAtivar = false;
            QTimer::singleShot(0, this, [this] { raise(); });
        }
        return QDialog::eventFilter(o, e);
    }

    void hideEvent(QHideEvent* e) override
    {
        QDialog::hideEvent(e);
        // Closing the help gives the keyboard back to the window it was over.
        if (QWidget* dono = parentWidget(); dono && dono->isVisible() && !m_mudando && !e->spontaneous())
            dono->activateWindow();
    }

private:
    // The modal window in force other than `exceto` (a message box is
    // answered at once and holds no help).
    static QWidget* donoAtual(QWidget* exceto = nullptr)
    {
        QWidget* m = QApplication::activeModalWidget();
        if (!m || m == exceto || !m->isVisible() || qobject_cast<QMessageBox*>(m))
            return nullptr;
        return m;
    }

    QTextBrowser* m_navegador;
    bool m_posicionada = false;
    bool m_mudando = false;
    bool m_elevarAoAtivar = false;
};

std::function<void(int)> visualizador;
QPointer<JanelaAjuda> janela;

} // namespace

QString arquivoDoContexto(int contexto)
{
    return caminhoEm(caminhoEm(pastas().programa, QStringLiteral("help")),
                     QString::number(contexto) + QStringLiteral(".html"));
}

void mostrar(int contexto, QWidget*)
{
    if (visualizador) {
        visualizador(contexto);
        return;
    }
    if (!janela)
        janela = new JanelaAjuda;
    QString arquivo = arquivoDoContexto(contexto);
    if (!QFileInfo::exists(arquivo))
        arquivo = arquivoDoContexto(30);
    janela->navegador()->setSearchPaths({QFileInfo(arquivo).absolutePath()});
    janela->navegador()->setSource(QUrl::fromLocalFile(arquivo));
    janela->exibir();
}

QDialog* janelaAberta()
{
    return janela.data();
}

void definirVisualizador(std::function<void(int)> v)
{
    visualizador = std::move(v);
}

} // namespace ajuda
