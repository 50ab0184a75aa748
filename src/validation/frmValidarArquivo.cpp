#include "frmValidarArquivo.h"

#include "motor/Execucao.h"

#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/HelpContexts.h"

#include <QPushButton>

frmValidarArquivo::frmValidarArquivo(QWidget* parent)
    : SeletorDeclaracao(QStringLiteral("Validar"), ajuda::frmValidarArquivo, parent,
                        QStringLiteral("Selecionar  o CNPJ/Período:"), QStringLiteral("cmAjuda"))
{
    connect(cmdOk, &QPushButton::clicked, this, &frmValidarArquivo::cmdOk_Click);
}

void frmValidarArquivo::cmdOk_Click()
{
    Geral& g = geral();
    if (!abreDeclaracaoEscolhida(TextoBancoNaoEncontrado))
        return;
    QString mensagem;
    if (!validacao::Verifica_Importados(mensagem)) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    if (!mensagem.isEmpty()) {
        dlg::MsgBox(mensagem, dlg::Icone::Critico);
        return;
    }
    if (!validacao::fun_deleta_saldosFinalInicialDetalhe()) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    Formularios::descarregar(this);
    if (Formulario* f = Formularios::carregar(QStringLiteral("frmConfirmaValidar")))
        Formularios::mostrarModal(f);
}
