#include "JanelasValidacao.h"

#include "frmRelacaoPendencias.h"
#include "frmVerificacaoPendencias.h"
#include "frmVerificar.h"
#include "frmVisualizarValidacao.h"

#include "platform/Formularios.h"

// Validation, its results and pending items.
void registrarJanelasValidacao()
{
    Formularios::registrar(QStringLiteral("frmVerificacaoPendencias"), [] { return new frmVerificacaoPendencias; });
    Formularios::registrar(QStringLiteral("frmVerificar"), [] { return new frmVerificar; });
    Formularios::registrar(QStringLiteral("frmRelacaoPendencias"), [] { return new frmRelacaoPendencias; });
    Formularios::registrar(QStringLiteral("frmVisualizarValidacao"), [] { return new frmVisualizarValidacao; });
}
