#include "frmRelacaoPendencias.h"

#include "Pendencias.h"

#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/BotoesJanela.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmRelacaoPendencias::frmRelacaoPendencias(QWidget* parent)
    : Formulario(parent)
{
    setWindowTitle(QStringLiteral("Relação de Pendências"));
    definirContextoAjuda(ajuda::frmRelacaoPendencias);

    auto* dados = new QGridLayout;
    auto* titulo = [this](const QString& t) {
        auto* l = new QLabel(t, this);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    }(QStringLiteral("CNPJ"));
    lblcnpjt = new QLabel(this);
    lblcnpjt->setObjectName(QStringLiteral("lblcnpjt"));
    auto* tituloPeriodo = new QLabel(QStringLiteral("Período"), this);
    tituloPeriodo->setFont(titulo->font());
    lblperiodo = new QLabel(this);
    lblperiodo->setObjectName(QStringLiteral("lblperiodo"));
    dados->addWidget(titulo, 0, 0);
    dados->addWidget(lblcnpjt, 0, 1);
    dados->addWidget(tituloPeriodo, 1, 0);
    dados->addWidget(lblperiodo, 1, 1);
    dados->setColumnStretch(1, 1);

    Pendencias = new QListWidget(this);
    Pendencias->setObjectName(QStringLiteral("Pendencias"));
    Pendencias->setWordWrap(true);
    lstPendencias = new QListWidget(this);
    lstPendencias->setObjectName(QStringLiteral("lstPendencias"));
    lstPendencias->addItems(TextosNaoImportado);
    lstPendencias->hide();

    cmdOk = new QPushButton(QStringLiteral("&Fechar"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdAjuda = novoBotao(this, QStringLiteral("cmdAjuda"), QStringLiteral("&Ajuda"));
    connect(cmdOk, &QPushButton::clicked, this, [this] { Formularios::descarregar(this); });
    connect(cmdAjuda, &QPushButton::clicked, this, &Formulario::mostrarAjuda);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(cmdOk);
    botoes->addWidget(cmdAjuda);

    auto* raiz = new QVBoxLayout(this);
    raiz->addLayout(dados);
    raiz->addWidget(Pendencias, 1);
    raiz->addLayout(botoes);
    resize(720, 420);
}

void frmRelacaoPendencias::Form_Load()
{
    const Geral& g = geral();
    lblcnpjt->setText(g.gCNPJ);
    lblperiodo->setText(dataDdMmAaaa(g.gPeriodoInicial) + QStringLiteral(" a ") + dataDdMmAaaa(g.gPeriodoFinal));
    if (!Verifica_Situacao())
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
}

bool frmRelacaoPendencias::Verifica_Situacao()
{
    QStringList linhas;
    const bool ok = ::Verifica_Situacao(linhas);
    Pendencias->clear();
    Pendencias->addItems(linhas);
    return ok;
}

void frmRelacaoPendencias::keyPressEvent(QKeyEvent* e)
{
    // Esc acts as "&Fechar".
    if (e->key() == Qt::Key_Escape) {
        Formularios::descarregar(this);
        return;
    }
    Formulario::keyPressEvent(e);
}
