#include "Menus.h"

#include "Geral.h"
#include "frmPrincipalValidacao.h"
#include "platform/Ajuda.h"
#include "platform/Banco.h"
#include "platform/Dialogos.h"
#include "platform/Formularios.h"

#include <QAction>

namespace {

// Items and buttons that need a registered declaration.
const char* const ItensDeclaracao[] = {
    "mnuImportarArquivo", "mnuValidacao", "mnuVerifica", "mnuGravar",
    "mnuVisualiza", "mnuVisualizaValidacao", "mnuExcluirArquivo", "mnuImprimir",
};
const int BotoesDeclaracao[] = {3, 4, 6, 8};

// The File menu's items and buttons that the results navigator locks.
const char* const ItensArquivo[] = {
    "mnuAbrir", "mnuImportarArquivo", "mnuValidacao", "mnuVerifica", "mnuGravar",
    "mnuVisualiza", "mnuVisualizaValidacao", "mnuExcluirArquivo", "mnuImprimir", "mnuConfigurarImpressao",
};
const int BotoesArquivo[] = {2, 3, 4, 6, 8, 10};

template <class Itens, class Botoes>
void habilitar(const Itens& itens, const Botoes& botoes, bool habilitado)
{
    frmPrincipalValidacao* p = frmPrincipalValidacao::instancia();
    if (!p)
        return;
    for (const char* nome : itens) {
        if (QAction* a = p->item(QLatin1String(nome)))
            a->setEnabled(habilitado);
    }
    for (int i : botoes) {
        if (QAction* a = p->botao(i))
            a->setEnabled(habilitado);
    }
}

} // namespace

void Fecha_Formularios()
{
    Formularios::fechaFormularios();
}

bool Verifica_EmpresariosImportados()
{
    bool haDeclaracao = false;
    db::Erro erro;
    bool lido = false;
    {
        // A private connection: gConn may be open on a declaration database.
        db::Conexao registro;
        if (registro.abrir(caminhoRegistro(), &erro)) {
            db::Consulta q(registro);
            if (q.preparar(QStringLiteral("select distinct Inarquivo ,cnpj , periodoinicial, periodofinal "
                                          "from tbempresariosimportados"),
                           &erro)
                && q.executar(&erro)) {
                haDeclaracao = q.proximo();
                lido = !q.falhou();
                if (!lido)
                    erro = q.erro();
            }
        }
    }
    habilitar(ItensDeclaracao, BotoesDeclaracao, haDeclaracao);
    if (!lido)
        dlg::MsgBox(textoErro(erro, QStringLiteral("Verifica_EmpresariosImportados")), dlg::Icone::Critico);
    return haDeclaracao;
}

void HabilitaMenus()
{
    habilitar(ItensArquivo, BotoesArquivo, true);
    if (frmPrincipalValidacao* p = frmPrincipalValidacao::instancia()) {
        if (QAction* sair = p->item(QStringLiteral("mnuSair")))
            sair->setEnabled(true);
    }
}

void DesabilitaMenus()
{
    habilitar(ItensArquivo, BotoesArquivo, false);
}

void MostraAjuda(int contexto)
{
    ajuda::mostrar(contexto, frmPrincipalValidacao::instancia());
}
