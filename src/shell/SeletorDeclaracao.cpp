#include "SeletorDeclaracao.h"

#include "Geral.h"
#include "GradeDeclaracoes.h"

#include "platform/Dialogos.h"
#include "platform/Grades.h"

#include <QPushButton>

SeletorDeclaracao::SeletorDeclaracao(const QString& titulo, int contextoAjuda, QWidget* parent,
                                     const QString& rotulo, const QString& nomeAjuda)
    : Formulario(parent)
{
    setWindowTitle(titulo);
    definirContextoAjuda(contextoAjuda);
    const ControlesSeletor c = montaSeletor(this, rotulo, nomeAjuda);
    TDBabrir = c.grade;
    cmdOk = c.cmdOk;
    cmdCancelar = c.cmdCancelar;
    cmdAjuda = c.cmdAjuda;
    connect(cmdCancelar, &QPushButton::clicked, this, &SeletorDeclaracao::cmdCancelar_Click);
}

void SeletorDeclaracao::Form_Load()
{
    recarregaRegistro();
    // Every column whole and a few rows in view; more rows scroll.
    ajustarJanelaAGrade(this, TDBabrir, qMin(TDBabrir->linhas(), 8));
}

bool SeletorDeclaracao::recarregaRegistro()
{
    if (abreRegistroNaGrade(*TDBabrir))
        return true;
    dlg::MsgBox(geral().gMsg);
    return false;
}

bool SeletorDeclaracao::abreDeclaracaoEscolhida(const QString& naoEncontrado, bool registroEmQualquerFalha,
                                                const QString& fimDaFalha)
{
    Geral& g = geral();
    if (!TDBabrir->selecionarAtual())
        return false;
    if (abreDeclaracaoEmMaos())
        return true;
    const bool naoExiste = g.gErroAbertura == db::ErroBanco;
    dlg::MsgBox(naoExiste ? naoEncontrado : g.gMsg + fimDaFalha);
    if (naoExiste || registroEmQualquerFalha)
        recarregaRegistro();
    return false;
}

void SeletorDeclaracao::cmdCancelar_Click()
{
    Formularios::descarregar(this);
}
