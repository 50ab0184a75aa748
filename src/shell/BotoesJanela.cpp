#include "BotoesJanela.h"

#include <QHBoxLayout>
#include <QPushButton>

BotoesOkCancelarAjuda criaBotoesOkCancelarAjuda(QWidget* janela)
{
    auto botao = [janela](const QString& texto, const QString& nome) {
        auto* b = new QPushButton(texto, janela);
        b->setObjectName(nome);
        b->setAutoDefault(false);
        return b;
    };
    BotoesOkCancelarAjuda r;
    r.cmdOk = botao(QStringLiteral("&Ok"), QStringLiteral("cmdOk"));
    r.cmdCancelar = botao(QStringLiteral("&Cancelar"), QStringLiteral("cmdCancelar"));
    r.cmdAjuda = botao(QStringLiteral("&Ajuda"), QStringLiteral("cmdAjuda"));
    r.linha = new QHBoxLayout;
    r.linha->addStretch(1);
    r.linha->addWidget(r.cmdOk);
    r.linha->addWidget(r.cmdCancelar);
    r.linha->addWidget(r.cmdAjuda);
    return r;
}
