#include "JanelasValidacao.h"

#include "AbasResultado.h"
#include "frmRelacaoPendencias.h"
#include "frmVerificacaoPendencias.h"
#include "frmVerificar.h"
#include "frmVisualizarValidacao.h"
#include "frmConfirmaValidar.h"
#include "frmValidarArquivo.h"

#include "platform/Formularios.h"

// Validation, its results and pending items.
void registrarJanelasValidacao()
{
    Formularios::registrar(QStringLiteral("frmLancamentogeral"), [] { return new frmLancamentogeral; });
    Formularios::registrar(QStringLiteral("frmSaldoFinalGeral"), [] { return new frmSaldoFinalGeral; });
    Formularios::registrar(QStringLiteral("frmSaldoFinalAuxiliar"), [] { return new frmSaldoFinalAuxiliar; });
    Formularios::registrar(QStringLiteral("frmSaldoInicialGeral"), [] { return new frmSaldoInicialGeral; });
    Formularios::registrar(QStringLiteral("FrmSaldoInicialAuxiliar"), [] { return new FrmSaldoInicialAuxiliar; });
    Formularios::registrar(QStringLiteral("frmLancamentoSaldoDebito"), [] { return new frmLancamentoSaldoDebito; });
    Formularios::registrar(QStringLiteral("frmLancamentoSaldoCredito"), [] { return new frmLancamentoSaldoCredito; });
    Formularios::registrar(QStringLiteral("frmVerificacaoPendencias"), [] { return new frmVerificacaoPendencias; });
    Formularios::registrar(QStringLiteral("frmVerificar"), [] { return new frmVerificar; });
    Formularios::registrar(QStringLiteral("frmRelacaoPendencias"), [] { return new frmRelacaoPendencias; });
    Formularios::registrar(QStringLiteral("frmVisualizarValidacao"), [] { return new frmVisualizarValidacao; });
    Formularios::registrar(QStringLiteral("frmValidarArquivo"), [] { return new frmValidarArquivo; });
    Formularios::registrar(QStringLiteral("frmConfirmaValidar"), [] { return new frmConfirmaValidar; });
}
