#include "frmAbrirArquivo.h"

#include "Geral.h"
#include "GradeDeclaracoes.h"
#include "HelpContexts.h"
#include "Servicos.h"

#include "platform/Dialogos.h"

#include <QPushButton>

namespace {

const QString PerguntaRecriar = QStringLiteral(
    "Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Deseja recriar o banco para este "
    "CNPJ/Período, descartando as informações já importadas?");

} // namespace

frmAbrirArquivo::frmAbrirArquivo(QWidget* parent)
    : SeletorDeclaracao(QStringLiteral("Abrir"), ajuda::frmAbrirArquivo, parent)
{
    connect(cmdOk, &QPushButton::clicked, this, &frmAbrirArquivo::cmdOk_Click);
}

void frmAbrirArquivo::segueParaImportacao()
{
    Formularios::descarregar(this);
    if (Formulario* proxima = Formularios::carregar(QStringLiteral("frmContinuaImportacao")))
        Formularios::mostrarModal(proxima);
}

void frmAbrirArquivo::cmdOk_Click()
{
    Geral& g = geral();
    if (!TDBabrir->selecionarAtual())
        return;
    // The name goes into a recreated database, which starts without the declaration's row.
    QString nome;
    if (g.gConn && g.gConn->aberta())
        nome = g.gConn
                   ->escalar(QStringLiteral("SELECT Nome FROM tbempresariosImportados") + filtroDeclaracao(),
                             chaveDeclaracao())
                   .toString();
    if (g.gConn)
        g.gConn->fechar();

    if (AbreBanco(g.gMsg, true, false, g.gErroAbertura)) {
        db::Erro e;
        // The working layout starts empty.
        if (g.gConn->executar(QStringLiteral("DELETE FROM TbleiauteDIG"), {}, &e)) {
            segueParaImportacao();
            return;
        }
        g.gConn->fechar();
        if (e.numero != db::ErroSemTabela) {
            dlg::MsgBox(textoErro(e, QStringLiteral("cmdOk_Click")), dlg::Icone::Critico);
            recarregaRegistro();
            return;
        }
        // A database without the declaration tables is as good as corrupt.
        g.gErroAbertura = db::ErroBanco;
        g.gMsg = textoErro(db::ErroBanco, TextoErroAbertura);
    }

    if (g.gErroAbertura != db::ErroBanco) {
        dlg::MsgBox(g.gMsg);
        recarregaRegistro();
        return;
    }
    if (dlg::MsgBox(PerguntaRecriar, dlg::Icone::Critico, dlg::Botoes::SimNao) != dlg::RespSim) {
        recarregaRegistro();
        return;
    }
    if (!AbreBanco(g.gMsg, true, true, g.gErroAbertura)) {
        dlg::MsgBox(g.gMsg);
        recarregaRegistro();
        return;
    }
    db::Erro e;
    if (!g.gConn->executar(QStringLiteral("INSERT INTO tbempresariosImportados (INarquivo, CNPJ, periodoinicial, "
                                          "periodofinal, Nome) VALUES (?, ?, ?, ?, ?)"),
                           QVariantList(chaveDeclaracao()) << nome, &e)) {
        dlg::MsgBox(textoErro(e, QStringLiteral("cmdOk_Click")), dlg::Icone::Critico);
        recarregaRegistro();
        return;
    }
    segueParaImportacao();
}
