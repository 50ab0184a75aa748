#include "JanelasShell.h"

#include "platform/Formularios.h"
#include "frmSobre.h"
#include "frmDadosContribuinte.h"
#include "frmAbrirArquivo.h"
#include "frmExcluirArquivo.h"

// Each window of this library registers its factory here.
void registrarJanelasShell()
{
    Formularios::registrar(QStringLiteral("frmSobre"), [] { return new frmSobre; });
    Formularios::registrar(QStringLiteral("frmDadosContribuinte"), [] { return new frmDadosContribuinte; });
    Formularios::registrar(QStringLiteral("frmAbrirArquivo"), [] { return new frmAbrirArquivo; });
    Formularios::registrar(QStringLiteral("frmExcluirArquivo"), [] { return new frmExcluirArquivo; });
}
