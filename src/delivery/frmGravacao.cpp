#include "frmGravacao.h"

#include "motor/Gravacao.h"

#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/HelpContexts.h"

#include <QPushButton>

namespace {

const QString MsgNaoEncontrado = QStringLiteral(
    "Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a opção Excluir do menu "
    "Arquivo e exclua o período com problemas e posteriormente crie na opção Novo o mesmo período");

} // namespace

frmGravacao::frmGravacao(QWidget* parent)
    : SeletorDeclaracao(QStringLiteral("Gravar Arquivo para Entrega à ORV"), ajuda::frmGravacao, parent,
                        QStringLiteral("Selecionar o CNPJ/Período:"), QStringLiteral("cmAjuda"))
{
    setObjectName(QStringLiteral("frmGravacao"));
    connect(cmdOk, &QPushButton::clicked, this, &frmGravacao::cmdOk_Click);
}

void frmGravacao::cmdOk_Click()
{
    if (!abreDeclaracaoEscolhida(MsgNaoEncontrado))
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
