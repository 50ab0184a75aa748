#include "JanelasValidacao.h"

#include "frmConfirmaValidar.h"
#include "frmValidarArquivo.h"

#include "platform/Formularios.h"

// Validation, its results and pending items.
void registrarJanelasValidacao()
{
    Formularios::registrar(QStringLiteral("frmValidarArquivo"), [] { return new frmValidarArquivo; });
    Formularios::registrar(QStringLiteral("frmConfirmaValidar"), [] { return new frmConfirmaValidar; });
}
