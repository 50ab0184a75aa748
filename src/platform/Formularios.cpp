#include "Formularios.h"

#include "Ajuda.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMdiArea>
#include <QIcon>
#include <QMdiSubWindow>
#include <QPixmap>

namespace {
struct Estado {
    QHash<QString, Formularios::Fabrica> fabricas;
    QList<QPointer<QWidget>> lista;
    QPointer<QMdiArea> mdi;
    std::function<void(Formulario*)> gancho;
};

Estado& estado()
{
    static Estado e;
    return e;
}

void limparMortos()
{
    auto& l = estado().lista;
    l.removeIf([](const QPointer<QWidget>& p) { return p.isNull(); });
}

QString nomeDe(const QWidget* w)
{
    return QString::fromLatin1(w->metaObject()->className());
}
} // namespace

Formulario::Formulario(QWidget* parent)
    : QDialog(parent)
{
}

void Formulario::mostrarAjuda()
{
    ajuda::mostrar(m_contexto, this);
}

void Formulario::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F1 && m_contexto != 0) {
        mostrarAjuda();
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        // Esc is the Cancel button; a window without one stays open.
        QAbstractButton* b = e->modifiers() == Qt::NoModifier ? botaoCancelar() : nullptr;
        if (b && b->isVisible() && b->isEnabled())
            b->click();
        else
            e->ignore();
        return;
    }
    QDialog::keyPressEvent(e);
}

void Formulario::definirBotaoCancelar(QAbstractButton* b)
{
    m_cancelar = b;
}

QAbstractButton* Formulario::botaoCancelar() const
{
    if (m_cancelar)
        return m_cancelar;
    return findChild<QAbstractButton*>(QStringLiteral("cmdCancelar"));
}

void Formulario::closeEvent(QCloseEvent* e)
{
    if (!Formularios::carregado(this)) {
        e->accept();
        return;
    }
    if (!Form_QueryUnload()) {
        e->ignore();
        return;
    }
    e->ignore();
    Formularios::descarregar(this);
}

void Formulario::reject()
{
    // The window manager's close goes through closeEvent; nothing else rejects.
    close();
}

void Formularios::registrar(const QString& nome, Fabrica f)
{
    estado().fabricas.insert(nome, std::move(f));
}

bool Formularios::registrado(const QString& nome)
{
    return estado().fabricas.contains(nome);
}

Formulario* Formularios::obter(const QString& nome)
{
    limparMortos();
    for (const auto& p : estado().lista) {
        if (auto* f = qobject_cast<Formulario*>(p.data()); f && nomeDe(f) == nome)
            return f;
    }
    return nullptr;
}

bool Formularios::carregado(const QWidget* w)
{
    for (const auto& p : estado().lista) {
        if (p.data() == w)
            return true;
    }
    return false;
}

Formulario* Formularios::carregar(const QString& nome)
{
    if (Formulario* f = obter(nome))
        return f;
    auto it = estado().fabricas.constFind(nome);
    if (it == estado().fabricas.constEnd())
        return nullptr;
    Formulario* f = (*it)();
    // The base constructor cannot see the final class.
    f->setObjectName(nomeDe(f));
    f->setAttribute(Qt::WA_DeleteOnClose, false);
    estado().lista.append(f);
    QPointer<Formulario> guarda(f);
    f->Form_Load();
    return guarda.data();
}

void Formularios::adicionar(QWidget* w)
{
    if (!carregado(w))
        estado().lista.append(w);
}

void Formularios::descarregar(QWidget* w)
{
    if (!w || !carregado(w))
        return;
    estado().lista.removeIf([w](const QPointer<QWidget>& p) { return p.data() == w; });
    if (auto* f = qobject_cast<Formulario*>(w))
        f->Form_Unload();
    QWidget* alvo = w;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        alvo = sub;
    if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
        d->done(QDialog::Rejected);
    alvo->hide();
    alvo->deleteLater();
}

void Formularios::descarregar(const QString& nome)
{
    descarregar(obter(nome));
}

void Formularios::mostrarModal(Formulario* f)
{
    if (!f || !carregado(f))
        return;
    if (estado().gancho) {
        estado().gancho(f);
        return;
    }
    f->setWindowModality(Qt::ApplicationModal);
    f->exec();
}

void Formularios::mostrarNaoModal(Formulario* f)
{
    if (!f || !carregado(f))
        return;
    if (QMdiArea* area = estado().mdi) {
        if (!qobject_cast<QMdiSubWindow*>(f->parentWidget())) {
            QMdiSubWindow* sub = area->addSubWindow(f);
            sub->setAttribute(Qt::WA_DeleteOnClose, false);
            // Without an icon of its own the frame would show the toolkit's logo.
            QPixmap vazio(16, 16);
            vazio.fill(Qt::transparent);
            sub->setWindowIcon(QIcon(vazio));
        }
        f->parentWidget()->show();
        f->show();
        area->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(f->parentWidget()));
    } else {
        f->show();
    }
}

void Formularios::definirAreaMdi(QMdiArea* area)
{
    estado().mdi = area;
}

QMdiArea* Formularios::areaMdi()
{
    return estado().mdi;
}

QList<QWidget*> Formularios::carregados()
{
    limparMortos();
    QList<QWidget*> r;
    for (const auto& p : estado().lista)
        r << p.data();
    return r;
}

int Formularios::quantidade()
{
    limparMortos();
    return estado().lista.size();
}

void Formularios::fechaFormularios()
{
    limparMortos();
    while (estado().lista.size() > 2)
        descarregar(estado().lista.last().data());
}

void Formularios::descarregarTodos()
{
    limparMortos();
    while (!estado().lista.isEmpty())
        descarregar(estado().lista.last().data());
}

void Formularios::definirGanchoModal(std::function<void(Formulario*)> gancho)
{
    estado().gancho = std::move(gancho);
}

void Formularios::reiniciar()
{
    limparMortos();
    for (const auto& p : estado().lista) {
        if (p)
            p->deleteLater();
    }
    estado().lista.clear();
    estado().gancho = nullptr;
}
