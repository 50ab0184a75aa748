#include "frmContasVinculadas.h"

#include "linking/motor/Vinculacao.h"
#include "platform/Grades.h"
#include "platform/CursorEspera.h"
#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"

#include <QHeaderView>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

frmContasVinculadas::frmContasVinculadas(QWidget* parent)
    : Formulario(parent)
    , m_modelo(new QSqlQueryModel(this))
{
    setWindowTitle(QStringLiteral("Contas Vinculadas"));
    definirContextoAjuda(ajuda::frmContasVinculadas);
    TDBcontasVinculadas = new QTableView(this);
    TDBcontasVinculadas->setObjectName(QStringLiteral("TDBcontasVinculadas"));
    TDBcontasVinculadas->setModel(m_modelo);
    prepararGrade(TDBcontasVinculadas);
    TDBcontasVinculadas->verticalHeader()->hide();
    TDBcontasVinculadas->horizontalHeader()->setStretchLastSection(true);
    auto* l = new QVBoxLayout(this);
    l->addWidget(TDBcontasVinculadas);
    resize(900, 480);
}

void frmContasVinculadas::Form_Load()
{
    Geral& g = geral();
    const QStringList titulos{QStringLiteral("Conta Padrão"), QStringLiteral("Descrição Padrão"),
                              QStringLiteral("Conta"), QStringLiteral("Descrição")};
    CursorEspera espera;
    const bool ok = vinculacao::preencher(*m_modelo, vinculacao::vinculosComDescricao(), titulos);
    TDBcontasVinculadas->resizeColumnsToContents();
    if (!ok) {
        espera.restaurar();
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
    }
}

void frmContasVinculadas::Form_Unload()
{
    m_modelo->clear();
}
