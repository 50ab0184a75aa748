#pragma once
// The main window: the frame in which every work window opens, with the
// File and Help menus and the toolbar that start the work chains.
#include <QMainWindow>
#include <QString>
#include <QVector>
#include <memory>

class QAction;
class QMdiArea;
class QMenu;
class QPrinter;
class QToolBar;

class frmPrincipalValidacao : public QMainWindow {
    Q_OBJECT
public:
    explicit frmPrincipalValidacao(QWidget* parent = nullptr);
    ~frmPrincipalValidacao() override;

    // The main window while it exists, else nullptr.
    static frmPrincipalValidacao* instancia();

    // Opens the register database and sets the items' state; false (after
    // the error message) when the program must end.
    bool Form_Load();
    // Unloads every window, last to first, and closes gConn.
    void Form_Unload();

    // A menu item by its name (mnuAbrir, ...), or nullptr.
    QAction* item(const QString& nome) const;
    // A toolbar button by its index 1..14, or nullptr.
    QAction* botao(int indice) const;

    QMdiArea* MDI = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QMenu* mnuArquivo = nullptr;
    QMenu* mnuAjuda = nullptr;

public Q_SLOTS:
    void mnuAbrir_Click();
    void mnuImportarArquivo_Click();
    void mnuValidacao_Click();
    void mnuVerifica_Click();
    void mnuGravar_Click();
    void mnuVisualiza_Click();
    void mnuVisualizaValidacao_Click();
    void mnuExcluirArquivo_Click();
    void mnuImprimir_Click();
    void mnuConfigurarImpressao_Click();
    void mnuSair_Click();
    void mnuConteudo_Click();
    void mnuInstr_Preenchimento_Click();
    void mnuSobre_Click();
    // Opens the account-linking picker; bound to no menu item or button.
    void mnuVincular_Click();
    void Toolbar1_ButtonClick(int indice);

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QAction* novoItem(QMenu* menu, const QString& nome, const QString& texto, void (frmPrincipalValidacao::*slot)());
    QAction* novoSeparador(QMenu* menu, const QString& nome);
    void criarMenus();
    void criarBarra();
    // Close the secondary windows, test the register, show the work window
    // modally and unload it, then recompute the items' state.
    void executarComando(const QString& janela, int operacao, bool recalcular);

    QVector<QAction*> m_botoes;  // index 1..14
    std::unique_ptr<QPrinter> cdlconfigurarImpressao;
    bool m_descarregado = false;
};
