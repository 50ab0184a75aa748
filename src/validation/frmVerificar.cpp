#include "frmVerificar.h"

#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/HelpContexts.h"

#include <QPushButton>

frmVerificar::frmVerificar(QWidget* parent)
    : SeletorDeclaracao(QStringLiteral("Verificar Pendências"), ajuda::frmVerificar, parent,
                        QStringLiteral("Selecionar o CNPJ/Período:"), QStringLiteral("cmAjuda"))
{
    connect(cmdOk, &QPushButton::clicked, this, &frmVerificar::cmdOk_Click);
}

void frmVerificar::cmdOk_Click()
{
    if (!abreDeclaracaoEscolhida(
            QStringLiteral("Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a opção "
                           "Excluir do menu Arquivo e exclua o período com problemas e posteriormente crie na opção "
                           "Novo o mesmo período."),
            true))
        return;
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmRelacaoPendencias")))
        Formularios::mostrarModal(f);
}
