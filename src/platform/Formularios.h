#pragma once
// The application's list of loaded windows, in load order, with one default
// instance per window class. Windows are created by name through factories
// registered by each library, so a window can open the next one in a chain
// without knowing its class.
#include <QDialog>
#include <QList>
#include <QPointer>
#include <functional>

class QAbstractButton;
class QMdiArea;

// Base of the work windows: load and unload events, F1 help.
class Formulario : public QDialog {
    Q_OBJECT
public:
    explicit Formulario(QWidget* parent = nullptr);
    // Runs once when the registry loads the window.
    virtual void Form_Load() {}
    // Asked when the user closes the window; false keeps it open.
    virtual bool Form_QueryUnload() { return true; }
    // Runs when the window is unloaded.
    virtual void Form_Unload() {}
    int contextoAjuda() const { return m_contexto; }
    void definirContextoAjuda(int c) { m_contexto = c; }
    // Opens the window's help topic (what the "&Ajuda" buttons do).
    void mostrarAjuda();
    // The button Esc clicks. Unless a window names one, it is its child
    // named "cmdCancelar"; without either, Esc does nothing.
    void definirBotaoCancelar(QAbstractButton* b);
    QAbstractButton* botaoCancelar() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    int m_contexto = 0;
    QPointer<QAbstractButton> m_cancelar;
};

class Formularios {
public:
    using Fabrica = std::function<Formulario*()>;

    static void registrar(const QString& nome, Fabrica f);
    static bool registrado(const QString& nome);

    // The default instance, created and loaded when not loaded yet;
    // nullptr when no window of that name exists.
    static Formulario* carregar(const QString& nome);
    template <class T> static T* carregar() { return qobject_cast<T*>(carregar(QString::fromLatin1(T::staticMetaObject.className()))); }
    // The loaded default instance, or nullptr.
    static Formulario* obter(const QString& nome);
    template <class T> static T* obter() { return qobject_cast<T*>(obter(QString::fromLatin1(T::staticMetaObject.className()))); }
    static bool carregado(const QWidget* w);

    // Adds a window that is not made by a factory (splash, main window).
    static void adicionar(QWidget* w);
    // Unloads a window: its Unload event, hidden, removed and deleted later.
    static void descarregar(QWidget* w);
    static void descarregar(const QString& nome);

    // Shows a window modally (through the test hook when one is set);
    // returns when it is hidden or unloaded. Does nothing for a window
    // that is no longer loaded.
    static void mostrarModal(Formulario* f);
    // Shows a window modeless inside the main window's MDI area.
    static void mostrarNaoModal(Formulario* f);
    static void definirAreaMdi(QMdiArea* area);
    static QMdiArea* areaMdi();

    static QList<QWidget*> carregados();
    static int quantidade();
    // Unloads from the last down to the third (keeps splash and main window).
    static void fechaFormularios();
    // Unloads every window, from the last to the first.
    static void descarregarTodos();

    // Tests: called instead of the modal event loop.
    static void definirGanchoModal(std::function<void(Formulario*)> gancho);
    // Tests: forget every loaded window and factory-made instance.
    static void reiniciar();
};
