#include "JanelasValidacao.h"

#include "frmVerificacaoPendencias.h"

#include "platform/Formularios.h"

// Validation, its results and pending items.
void registrarJanelasValidacao()
{
    Formularios::registrar(QStringLiteral("frmVerificacaoPendencias"), [] { return new frmVerificacaoPendencias; });
}
