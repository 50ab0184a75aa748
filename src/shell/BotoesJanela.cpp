#include "BotoesJanela.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

QLabel* novoRotulo(QWidget* janela, const QString& nome, const QString& texto)
{
    auto* l = new QLabel(texto, janela);
    l->setObjectName(nome);
    return l;
}

QPushButton* novoBotao(QWidget* janela, const QString& nome, const QString& texto)
{
    auto* b = new QPushButton(texto, janela);
    b->setObjectName(nome);
    b->setAutoDefault(false);
    return b;
}

BotoesOkCancelarAjuda criaBotoesOkCancelarAjuda(QWidget* janela)
{
    BotoesOkCancelarAjuda r;
    r.cmdOk = novoBotao(janela, QStringLiteral("cmdOk"), QStringLiteral("&Ok"));
    r.cmdCancelar = novoBotao(janela, QStringLiteral("cmdCancelar"), QStringLiteral("&Cancelar"));
    r.cmdAjuda = novoBotao(janela, QStringLiteral("cmdAjuda"), QStringLiteral("&Ajuda"));
    r.linha = new QHBoxLayout;
    r.linha->addStretch(1);
    r.linha->addWidget(r.cmdOk);
    r.linha->addWidget(r.cmdCancelar);
    r.linha->addWidget(r.cmdAjuda);
    return r;
}
