#include "JanelasImportacao.h"

#include "platform/Formularios.h"
#include "frmContinuaImportacao.h"
#include "frmImportarArquivo.h"
#include "frmLeiaute.h"
#include "frmOrigemArquivo.h"
#include "frmResultadoImportacao.h"
#include "frmResultadoImportacao2.h"
#include "frmVisualiza.h"
#include "frmVisualizaResultadoImportacao.h"

// Each window of this library registers its factory here.
void registrarJanelasImportacao()
{
    Formularios::registrar(QStringLiteral("frmContinuaImportacao"), [] { return new frmContinuaImportacao; });
    Formularios::registrar(QStringLiteral("frmLeiaute"), [] { return new frmLeiaute; });
    Formularios::registrar(QStringLiteral("frmImportarArquivo"), [] { return new frmImportarArquivo; });
    Formularios::registrar(QStringLiteral("frmOrigemArquivo"), [] { return new frmOrigemArquivo; });
    Formularios::registrar(QStringLiteral("frmResultadoImportacao"), [] { return new frmResultadoImportacao; });
    Formularios::registrar(QStringLiteral("frmResultadoImportacao2"), [] { return new frmResultadoImportacao2; });
    Formularios::registrar(QStringLiteral("frmVisualiza"), [] { return new frmVisualiza; });
    Formularios::registrar(QStringLiteral("frmVisualizaResultadoImportacao"),
                           [] { return new frmVisualizaResultadoImportacao; });
}
