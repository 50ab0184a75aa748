#include "JanelasEntrega.h"

#include "frmAcompanhamento.h"
#include "frmConfirmaGravacao.h"
#include "frmDestinoArquivo.h"
#include "frmGravacao.h"

#include "platform/Formularios.h"

// Recording of the delivery set and the tracking report.
void registrarJanelasEntrega()
{
    Formularios::registrar(QStringLiteral("frmGravacao"), [] { return new frmGravacao; });
    Formularios::registrar(QStringLiteral("frmDestinoArquivo"), [] { return new frmDestinoArquivo; });
    Formularios::registrar(QStringLiteral("frmConfirmaGravacao"), [] { return new frmConfirmaGravacao; });
    Formularios::registrar(QStringLiteral("frmAcompanhamento"), [] { return new frmAcompanhamento; });
}
