#include "frmVisualiza.h"

#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/HelpContexts.h"

#include <QPushButton>

frmVisualiza::frmVisualiza(QWidget* parent)
    : SeletorDeclaracao(QStringLiteral("Visualizar Resultado da Importação"), ajuda::frmVisualiza, parent,
                        QStringLiteral("Selecionar o CNPJ/Período:"), QStringLiteral("cmAjuda"))
{
    connect(cmdOk, &QPushButton::clicked, this, &frmVisualiza::ok);
}

void frmVisualiza::ok()
{
    Geral& g = geral();
    if (!abreDeclaracaoEscolhida(
            QStringLiteral("Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a opção "
                           "Excluir do Menu Arquivo e exclua o período com problemas e posteriormente crie na opcao "
                           "Novo o mesmo período."),
            true))
        return;
    db::Erro e;
    const QVariant cnpj = g.gConn->escalar(QStringLiteral("SELECT CNPJ FROM tbImportados"), {}, &e);
    if (!e.ok()) {
        dlg::MsgBox(textoErro(e, QStringLiteral("cmdOk_Click")), dlg::Icone::Critico);
        recarregaRegistro();
        return;
    }
    if (!cnpj.isValid()) {
        dlg::MsgBox(QStringLiteral("Não existem arquivos importados."));
        recarregaRegistro();
        return;
    }
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmVisualizaResultadoImportacao")))
        Formularios::mostrarModal(f);
}
