#include "frmSobre.h"

#include "platform/Endereco.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

QString textoVersao(int maior, int menor, int revisao)
{
    return QStringLiteral("Versão ") + QString::number(maior) + u'.' + QString::number(menor)
        + QString::number(revisao);
}

namespace {

QLabel* rotulo(QWidget* pai, const QString& nome, const QString& texto, int pontos = 0, bool negrito = false)
{
    auto* l = new QLabel(texto, pai);
    l->setObjectName(nome);
    l->setAlignment(Qt::AlignCenter);
    if (pontos > 0 || negrito) {
        QFont f = l->font();
        if (pontos > 0)
            f.setPointSize(pontos);
        f.setBold(negrito);
        l->setFont(f);
    }
    return l;
}

} // namespace

frmSobre::frmSobre(QWidget* parent)
    : Formulario(parent)
{
    setWindowTitle(QStringLiteral("Sobre o Tobri Arquivos Contábeis"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* lblProduto = rotulo(this, QStringLiteral("lblProduto"), QStringLiteral("Tobri Arquivos Contábeis"), 16, true);
    auto* lblDescricao = rotulo(this, QStringLiteral("lblDescricao"),
                                QStringLiteral("Programa para validação e entrega dos Arquivos Contábeis"));
    auto* lblMinisterio = rotulo(this, QStringLiteral("lblMinisterio"), QStringLiteral("MINISTÉRIO DA LUMEIRA"), 0, true);
    auto* lblSecretaria =
        rotulo(this, QStringLiteral("lblSecretaria"), QStringLiteral("SECRETARIA DA ORVANE DO BRASIL"), 0, true);

    for (int i : {0, 2}) {
        QLabel* l = rotulo(this, QStringLiteral("lblFrame_%1").arg(i), QString());
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumHeight(26);
        l->installEventFilter(this);
        lblFrame.insert(i, l);
    }
    lblFrame[0]->setText(EnderecoOrvane);
    lblFrame[0]->setStyleSheet(QStringLiteral("color: #0645ad;"));

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &frmSobre::cmdOk_Click);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(cmdOk);
    botoes->addStretch();

    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(24, 18, 24, 18);
    l->setSpacing(8);
    l->addWidget(lblProduto);
    l->addWidget(lblDescricao);
    l->addSpacing(10);
    l->addWidget(lblMinisterio);
    l->addWidget(lblSecretaria);
    l->addSpacing(10);
    l->addWidget(lblFrame[0]);
    l->addWidget(lblFrame[2]);
    l->addSpacing(6);
    l->addLayout(botoes);
    setFixedSize(sizeHint().expandedTo(QSize(460, 0)));
}

void frmSobre::Form_Load()
{
    lblFrame[2]->setText(textoVersao(TOBRI_VERSAO_MAIOR, TOBRI_VERSAO_MENOR, TOBRI_VERSAO_REVISAO));
}

void frmSobre::cmdOk_Click()
{
    Formularios::descarregar(this);
}

void frmSobre::lblFrame_Click(int)
{
    abrirEndereco(EnderecoOrvane);
    QCoreApplication::processEvents();
}

void frmSobre::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        Formularios::descarregar(this);
        return;
    default:
        Formulario::keyPressEvent(e);
    }
}

bool frmSobre::eventFilter(QObject* o, QEvent* e)
{
    const int indice = lblFrame.key(qobject_cast<QLabel*>(o), -1);
    if (indice >= 0) {
        if (e->type() == QEvent::MouseButtonPress && indice == 0) {
            lblFrame[0]->setCursor(Qt::PointingHandCursor);
        } else if (e->type() == QEvent::MouseButtonRelease) {
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() == Qt::LeftButton && lblFrame[indice]->rect().contains(m->position().toPoint()))
                lblFrame_Click(indice);
        }
    }
    return Formulario::eventFilter(o, e);
}
