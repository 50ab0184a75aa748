#include "frmExcluirArquivo.h"

#include "Geral.h"
#include "GradeDeclaracoes.h"
#include "HelpContexts.h"
#include "Servicos.h"

#include "platform/Dialogos.h"
#include "platform/Pastas.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>

QStringList arquivosDaDeclaracao()
{
    const Geral& g = geral();
    QStringList r{caminhoBancoDeclaracao(), caminhoBancoDeclaracao() + SufixoCopiaModelo};
    const QString periodo = g.gPeriodoInicial.toString(QStringLiteral("yyyyMMdd"))
        + g.gPeriodoFinal.toString(QStringLiteral("yyyyMMdd"));
    for (int t = 1; t <= 9; ++t) {
        const QString tronco = g.gCNPJNumeros + QStringLiteral("-TOBRI-")
            + QStringLiteral("%1").arg(t, 2, 10, QLatin1Char('0')) + u'-' + periodo;
        r << caminhoEm(pastas().dados, tronco + (t == 6 ? QStringLiteral(".txt") : QStringLiteral(".imp")))
          << caminhoEm(pastas().dados, tronco + QStringLiteral(".lay"))
          << caminhoEm(pastas().dados, tronco + SufixoCopiaAceita)
          << caminhoEm(pastas().dados, tronco + QStringLiteral(".lay") + SufixoCopiaAceita);
    }
    return r;
}

frmExcluirArquivo::frmExcluirArquivo(QWidget* parent)
    : SeletorDeclaracao(QStringLiteral("Excluir Arquivos"), ajuda::frmExcluirArquivo, parent)
{
    connect(cmdOk, &QPushButton::clicked, this, &frmExcluirArquivo::cmdOk_Click);
}

void frmExcluirArquivo::cmdOk_Click()
{
    ChaveDeclaracao atual;
    if (!TDBabrir->linhaAtual(atual))
        return;
    if (dlg::MsgBox(QStringLiteral("Deseja excluir o arquivo ?"), dlg::Icone::Nenhum, dlg::Botoes::SimNao)
        != dlg::RespSim)
        return;
    if (exclui() && TDBabrir->linhas() == 0)
        Formularios::descarregar(this);
}

bool frmExcluirArquivo::exclui()
{
    Geral& g = geral();
    TDBabrir->selecionarAtual();
    db::Erro e;
    if (!g.gConn
        || !g.gConn->executar(QStringLiteral("DELETE FROM tbempresariosImportados") + filtroDeclaracao(),
                              chaveDeclaracao(), &e)) {
        // Nothing is deleted while the declaration stays registered.
        if (!g.gConn)
            e = {db::ErroBanco, TextoErroAbertura};
        dlg::MsgBox(textoErro(e, QStringLiteral("cmdOk_Click")), dlg::Icone::Critico);
        return false;
    }
    g.gConn->fechar();

    QStringList falhas;
    for (const QString& f : arquivosDaDeclaracao()) {
        if (QFileInfo::exists(f) && !QFile::remove(f))
            falhas << f;
    }
    if (!falhas.isEmpty())
        dlg::MsgBox(QStringLiteral("Não foi possível excluir os arquivos abaixo. Exclua-os quando não estiverem em "
                                   "uso:\r\n")
                        + falhas.join(QStringLiteral("\r\n")),
                    dlg::Icone::Exclamacao);

    return recarregaRegistro();
}
