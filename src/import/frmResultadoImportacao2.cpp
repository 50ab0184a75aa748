#include "frmResultadoImportacao2.h"

#include "shell/HelpContexts.h"

frmResultadoImportacao2::frmResultadoImportacao2(QWidget* parent)
    : JanelaResultadoImportacao(parent)
{
    setObjectName(QStringLiteral("frmResultadoImportacao2"));
    definirContextoAjuda(ajuda::frmResultadoImportacao2);
}

QString frmResultadoImportacao2::mensagemSemImpressora() const
{
    return QStringLiteral("Impressora não instalada. Verifique suas configurações.");
}

QString frmResultadoImportacao2::mensagemErroImpressora() const
{
    return mensagemSemImpressora();
}

void frmResultadoImportacao2::voltar()
{
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmVisualizaResultadoImportacao")))
        Formularios::mostrarModal(f);
}
