#include "frmGravacao.h"

#include "motor/Gravacao.h"

#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/HelpContexts.h"

#include <QPushButton>

frmGravacao::frmGravacao(QWidget* parent)
    : SeletorDeclaracao(QStringLiteral("Gravar Arquivo para Entrega à ORV"), ajuda::frmGravacao, parent,
                        QStringLiteral("Selecionar o CNPJ/Período:"), QStringLiteral("cmAjuda"))
{
    setObjectName(QStringLiteral("frmGravacao"));
    connect(cmdOk, &QPushButton::clicked, this, &frmGravacao::cmdOk_Click);
}

void frmGravacao::cmdOk_Click()
{
    // A database that cannot be opened (held by another program, an upgrade
    // that cannot write) refuses as the recording's other refusals do.
    if (!abreDeclaracaoEscolhida(entrega::MsgBancoCorrompido, false, QStringLiteral("\r\n") + entrega::MsgNaoEfetuada))
        return;
    QString mensagem;
    if (!entrega::Verifica_Importados(mensagem)) {
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
        return;
    }
    if (!mensagem.isEmpty()) {
        dlg::MsgBox(mensagem, dlg::Icone::Critico);
        return;
    }
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmDestinoArquivo")))
        Formularios::mostrarModal(f);
}
