#include "frmAcompanhamento.h"

#include "frmGravacao.h"
#include "motor/Acompanhamento.h"
#include "motor/Gravacao.h"

#include "platform/CursorEspera.h"
#include "platform/Dialogos.h"
#include "platform/Impressoras.h"
#include "reports/RptAcompanhamento.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/HelpContexts.h"

#include <QPrinter>
#include <QPushButton>

QString frmAcompanhamento::arquivoPdf;

namespace {

const QString MsgSemImpressora = QStringLiteral("Impressora não instalada. Verifique suas configurações.");

} // namespace

frmAcompanhamento::frmAcompanhamento(QWidget* parent)
    : SeletorDeclaracao(QStringLiteral("Imprimir Relatório de Acompanhamento"), ajuda::frmAcompanhamento, parent,
                        QStringLiteral("Selecionar o CNPJ/Período:"), QStringLiteral("cmAjuda"))
{
    setObjectName(QStringLiteral("frmAcompanhamento"));
    connect(cmdOk, &QPushButton::clicked, this, &frmAcompanhamento::cmdOk_Click);
}

void frmAcompanhamento::cmdOk_Click()
{
    Geral& g = geral();
    if (!abreDeclaracaoEscolhida(TextoBancoNaoEncontrado))
        return;
    QString mensagem;
    if (!entrega::Verifica_ImportadosAcompanhamento(mensagem)) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    if (!mensagem.isEmpty()) {
        dlg::MsgBox(mensagem, dlg::Icone::Critico);
        return;
    }

    if (!impressoras::haImpressora()) {
        dlg::MsgBox(MsgSemImpressora, dlg::Icone::Critico);
        return;
    }
    QString erro;
    std::unique_ptr<QPrinter> impressora =
        relatorio::prepararImpressora(RptAcompanhamento::Titulo, erro, arquivoPdf);
    if (!impressora) {
        dlg::MsgBox(erro, dlg::Icone::Critico);
        return;
    }
    if (!dlg::dialogos().dialogoImpressora(*impressora))
        return;

    // Fun_GerarRelatorio
    bool achou = false;
    QString nome;
    if (!entrega::fun_Empresarial(achou, nome)) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    qint64 linhas = 0;
    if (!entrega::preencherAcompanhamento(linhas)) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    if (linhas == 0) {
        dlg::MsgBox(entrega::MsgSemArquivosGravados);
        return;
    }
    QList<FolhaAcompanhamento> folhas;
    if (!entrega::lerAcompanhamento(nome, folhas)) {
        entrega::esvaziarAcompanhamento();
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return;
    }
    const relatorio::Relatorio r = RptAcompanhamento::montar(
        folhas, RptAcompanhamento::textoVersao(TOBRI_VERSAO_MAIOR, TOBRI_VERSAO_MENOR, TOBRI_VERSAO_REVISAO));
    setEnabled(false);
    const relatorio::Resultado res = relatorio::imprimirEm(r, *impressora, erro);
    setEnabled(true);
    cursorPadrao();
    const bool esvaziado = entrega::esvaziarAcompanhamento();
    if (res != relatorio::Resultado::Impresso)
        dlg::MsgBox(erro, dlg::Icone::Critico);
    else if (!esvaziado)
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
}
