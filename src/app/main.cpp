#include "shell/Geral.h"
#include "platform/Dialogos.h"
#include "platform/Pastas.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tobri"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tobri Contábeis"));
    definirPastas(pastasPadrao());

    Geral& g = geral();
    if (!criaRegistroSeAusente(g.gMsg)) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return 1;
    }
    if (!AbreBanco(g.gMsg, false, false, g.gErroAbertura)) {
        dlg::MsgBox(g.gMsg);
        return 1;
    }
    return 0;
}
