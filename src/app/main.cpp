#include "delivery/JanelasEntrega.h"
#include "import/JanelasImportacao.h"
#include "linking/JanelasVinculacao.h"
#include "platform/Dialogos.h"
#include "platform/Formularios.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "shell/JanelasShell.h"
#include "shell/frmAbertura.h"
#include "validation/JanelasValidacao.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

// Frees what is left without running any window's unload (the toolbar's
// exit ends the program that way).
void liberarJanelas()
{
    QList<QPointer<QWidget>> restantes;
    for (QWidget* w : Formularios::carregados())
        restantes << w;
    for (auto it = restantes.crbegin(); it != restantes.crend(); ++it)
        delete it->data();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The data folder is ~/.local/share/tobri.
    QApplication::setApplicationName(QStringLiteral("tobri"));
    // The program ends when its main window is closed or by the toolbar's
    // exit, never because a message box was the last window open.
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own dialogs (printer, file) in Portuguese.
    QTranslator traducaoQt;
    if (traducaoQt.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traducaoQt);
    // A data folder whose name cannot be used is refused before anything
    // is written in it (the single-instance lock is the first thing).
    Pastas padrao;
    QString recusa;
    if (!pastasPadrao(padrao, recusa)) {
        dlg::MsgBox(recusa, dlg::Icone::Critico);
        return 1;
    }
    definirPastas(padrao);

    registrarJanelasShell();
    registrarJanelasImportacao();
    registrarJanelasValidacao();
    registrarJanelasEntrega();
    registrarJanelasVinculacao();

    auto* abertura = new frmAbertura;
    Formularios::adicionar(abertura);
    QPointer<frmAbertura> guarda(abertura);
    if (!abertura->Form_Load()) {
        delete abertura;
        return 1;
    }

    Geral& g = geral();
    if (!criaRegistroSeAusente(g.gMsg)) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        delete abertura;
        return 1;
    }

    abertura->show();
    const int codigo = QApplication::exec();

    if (g.gConn)
        g.gConn->fechar();
    liberarJanelas();
    delete guarda.data();
    return codigo;
}
