#include "frmAbrirVincular.h"

#include "platform/CursorEspera.h"
#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/HelpContexts.h"

#include <QPushButton>

frmAbrirVincular::frmAbrirVincular(QWidget* parent)
    : SeletorDeclaracao(QStringLiteral("Vincular"), ajuda::frmAbrirVincular, parent, QString(),
                        QStringLiteral("cmAjuda"))
{
    connect(cmdOk, &QPushButton::clicked, this, &frmAbrirVincular::cmdOk_Click);
}

void frmAbrirVincular::Form_Load()
{
    Geral& g = geral();
    // A register that cannot be opened leaves gTemEmpresarios as it was.
    if (!recarregaRegistro())
        return;
    if (TDBabrir->linhas() == 0) {
        dlg::MsgBox(QStringLiteral("Não existem empresários cadastrados."), dlg::Icone::Informacao);
        g.gTemEmpresarios = false;
    } else {
        g.gTemEmpresarios = true;
    }
}

bool frmAbrirVincular::Verifica_Importados(bool& existe)
{
    Geral& g = geral();
    existe = false;
    CursorEspera espera;
    db::Erro e;
    if (!g.gConn || !g.gConn->aberta()) {
        e = {db::ErroBanco, TextoErroAbertura};
    } else {
        const QVariant total = g.gConn->escalar(
            QStringLiteral("SELECT count(*) AS total FROM tbImportados WHERE INarquivo = ? AND Tipo = 1"), {g.gIN}, &e);
        existe = e.ok() && total.toLongLong() > 0;
    }
    if (!e.ok()) {
        g.gMsg = textoErro(e, QStringLiteral("Verifica_Importados"));
        return false;
    }
    return true;
}

void frmAbrirVincular::cmdOk_Click()
{
    Geral& g = geral();
    if (!abreDeclaracaoEscolhida(TextoBancoNaoEncontrado))
        return;
    bool existe = false;
    if (!Verifica_Importados(existe)) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
    } else if (!existe) {
        dlg::MsgBox(QStringLiteral("Não existem arquivos Importados."), dlg::Icone::Critico);
    } else {
        Formularios::descarregar(this);
        if (Formulario* f = Formularios::carregar(QStringLiteral("frmOutlook")))
            Formularios::mostrarNaoModal(f);
    }
}
