#include "frmAbertura.h"

#include "Geral.h"

#include "frmPrincipalValidacao.h"
#include "platform/CursorEspera.h"
#include "platform/Dialogos.h"
#include "platform/Formularios.h"
#include "platform/InstanciaUnica.h"
#include "platform/Pastas.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The splash picture: a stack of ledger sheets with a check mark, drawn so
// that no image file is needed.
class Figura : public QWidget {
public:
    explicit Figura(QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(150, 170);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor tinta(0x1f, 0x4e, 0x79);
        for (int i = 2; i >= 0; --i) {
            const QRectF folha(18 + i * 10, 14 + i * 10, 96, 124);
            p.setPen(QPen(tinta, 1.5));
            p.setBrush(i == 0 ? QColor(Qt::white) : QColor(0xe8, 0xee, 0xf5));
            p.drawRoundedRect(folha, 4, 4);
        }
        // Ruled lines and a column of figures on the top sheet.
        p.setPen(QPen(QColor(0x9a, 0xb3, 0xcc), 1));
        for (int y = 40; y <= 120; y += 12)
            p.drawLine(QPointF(28, y), QPointF(104, y));
        p.setPen(QPen(QColor(0xc0, 0x50, 0x40), 1));
        p.drawLine(QPointF(80, 24), QPointF(80, 130));
        QPainterPath visto;
        visto.moveTo(60, 128);
        visto.lineTo(80, 148);
        visto.lineTo(128, 96);
        p.setPen(QPen(QColor(0x2e, 0x8b, 0x57), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(visto);
    }
};

} // namespace

bool testaConfiguracaoRegional(const ValoresLocale& v, QString& mensagem)
{
    // The grouping text loses its last two characters ("3;0" gives "3");
    // a shorter text leaves nothing, which fails.
    const QString agrupamento = v.agrupamento.size() >= 2 ? v.agrupamento.left(v.agrupamento.size() - 2) : QString();
    if (v.separadorDecimal != QLatin1String(",") || v.separadorMilhar != QLatin1String(".")
        || agrupamento != QLatin1String("3") || v.digitosDecimais != QLatin1String("2")) {
        mensagem = MsgConfigNumero;
        return false;
    }
    if (v.dataCurta.toUpper() != QLatin1String("DD/MM/YYYY") || v.separadorData != QLatin1String("/")) {
        mensagem = MsgConfigDataCurta;
        return false;
    }
    if (v.dataLonga.left(2) != QLatin1String("d'")) {
        mensagem = MsgConfigDataLonga;
        return false;
    }
    mensagem.clear();
    return true;
}

void encerrarPrograma(int codigo)
{
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(codigo);
}

frmAbertura::frmAbertura(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbertura"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* moldura = new QFrame(this);
    moldura->setStyleSheet(QStringLiteral("QFrame#moldura { background: #f4f7fb; border: 2px solid #1f4e79; }"));
    moldura->setObjectName(QStringLiteral("moldura"));

    auto* figura = new Figura(moldura);
    figura->setObjectName(QStringLiteral("imgLogo"));

    auto* lblOrgao = new QLabel(QStringLiteral("Ministério da Lumeira") + QString(8, u' ')
                                    + QStringLiteral("Secretaria da Orvane do Brasil"),
                                moldura);
    lblOrgao->setObjectName(QStringLiteral("lblOrgao"));
    lblOrgao->setWordWrap(true);
    // Narrow enough that the authority goes to a line of its own.
    lblOrgao->setFixedWidth(300);
    QFont fOrgao = lblOrgao->font();
    fOrgao.setPointSize(11);
    fOrgao.setBold(true);
    lblOrgao->setFont(fOrgao);

    auto* lblProduto = new QLabel(QStringLiteral("Tobri Arquivos Contábeis"), moldura);
    lblProduto->setObjectName(QStringLiteral("lblProduto"));
    lblProduto->setWordWrap(true);
    QFont fProduto = lblProduto->font();
    fProduto.setPointSize(19);
    fProduto.setBold(true);
    lblProduto->setFont(fProduto);
    lblProduto->setStyleSheet(QStringLiteral("color: #1f4e79;"));

    auto* textos = new QVBoxLayout;
    textos->addWidget(lblOrgao);
    textos->addStretch();
    textos->addWidget(lblProduto);
    textos->addStretch();

    auto* dentro = new QHBoxLayout(moldura);
    dentro->setContentsMargins(18, 18, 24, 18);
    dentro->setSpacing(20);
    dentro->addWidget(figura, 0, Qt::AlignVCenter);
    dentro->addLayout(textos, 1);

    auto* fora = new QVBoxLayout(this);
    fora->setContentsMargins(0, 0, 0, 0);
    fora->addWidget(moldura);
    setFixedSize(600, 230);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // Never before the full second.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &frmAbertura::Timer1_Timer);
}

frmAbertura::~frmAbertura() = default;

bool frmAbertura::Form_Load()
{
    return Form_Load(lerValoresLocale());
}

bool frmAbertura::Form_Load(const ValoresLocale& valores)
{
    m_instancia = std::make_unique<InstanciaUnica>(pastas().dados);
    if (!m_instancia->adquirir()) {
        cursorPadrao();
        dlg::MsgBox(MsgSessaoAberta, dlg::Icone::Informacao, dlg::Botoes::Ok, TituloSessaoAberta);
        return false;
    }
    // The lock is ours: nothing else writes the scratch files a kill left.
    removeTemporarios();

    // The help topics are read from the program folder's help/ by number;
    // there is no help file to register.

    QString mensagem;
    if (!testaConfiguracaoRegional(valores, mensagem)) {
        dlg::MsgBox(mensagem, dlg::Icone::Critico);
        return false;
    }

    if (QScreen* tela = QGuiApplication::primaryScreen()) {
        const QRect r = tela->geometry();
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }

    Timer1->setInterval(1000);
    Timer1->start();
    return true;
}

void frmAbertura::Timer1_Timer()
{
    Timer1->stop();
    hide();
    auto* principal = new frmPrincipalValidacao;
    Formularios::adicionar(principal);
    if (!principal->Form_Load()) {
        Formularios::descarregar(principal);
        encerrarPrograma(1);
        return;
    }
    principal->show();
}
