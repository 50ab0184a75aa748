#include "JanelasVinculacao.h"

#include "platform/Formularios.h"
#include "frmAbrirVincular.h"
#include "frmContasVinculadas.h"
#include "frmOutlook.h"
#include "frmVinculacao.h"

// Linking the company's accounts to the standard chart.
void registrarJanelasVinculacao()
{
    Formularios::registrar(QStringLiteral("frmAbrirVincular"), [] { return new frmAbrirVincular; });
    Formularios::registrar(QStringLiteral("frmOutlook"), [] { return new frmOutlook; });
    Formularios::registrar(QStringLiteral("frmVinculacao"), [] { return new frmVinculacao; });
    Formularios::registrar(QStringLiteral("frmContasVinculadas"), [] { return new frmContasVinculadas; });
}
