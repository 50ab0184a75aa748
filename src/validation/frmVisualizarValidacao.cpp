#include "frmVisualizarValidacao.h"

#include "ValidacaoGuardada.h"

#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/HelpContexts.h"

#include <QPushButton>

frmVisualizarValidacao::frmVisualizarValidacao(QWidget* parent)
    : SeletorDeclaracao(QStringLiteral("Visualizar Resultado da Validação"), ajuda::frmVisualizarValidacao, parent,
                        QStringLiteral("Selecionar  o CNPJ/Período:"), QStringLiteral("cmAjuda"))
{
    connect(cmdOk, &QPushButton::clicked, this, &frmVisualizarValidacao::cmdOk_Click);
}

void frmVisualizarValidacao::cmdOk_Click()
{
    Geral& g = geral();
    if (!abreDeclaracaoEscolhida(
            QStringLiteral("Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a opção "
                           "excluir e exclua o período com problemas. Crie na opcao novo o mesmo período"),
            true))
        return;
    switch (recarregaValidacao()) {
    case ValidacaoGuardada::NaoValidada:
        dlg::MsgBox(QStringLiteral("Arquivo não validado."), dlg::Icone::Informacao);
        return;
    case ValidacaoGuardada::Falha:
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    case ValidacaoGuardada::Carregada:
        break;
    }
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmVerificacaoPendencias")))
        Formularios::mostrarNaoModal(f);
}
