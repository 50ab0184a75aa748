#include "Outlook.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QStyleOptionButton>
#include <QStylePainter>

int twipsParaPixels(int twips, const QWidget* w)
{
    return twips * w->logicalDpiY() / 1440;
}

int pixelsParaTwips(int pixels, const QWidget* w)
{
    const int dpi = w->logicalDpiY();
    return dpi > 0 ? pixels * 1440 / dpi : 0;
}

// PainelElastico ------------------------------------------------------------

PainelElastico::PainelElastico(QWidget* parent)
    : QWidget(parent)
{
}

int PainelElastico::adicionarLinha(QWidget* conteudo, int tamanhoTwips, bool fixa)
{
    if (conteudo)
        conteudo->setParent(this);
    m_linhas.append({conteudo, qMax(0, tamanhoTwips), fixa});
    reorganizar();
    return linhas() - 1;
}

QWidget* PainelElastico::conteudo(int linha) const
{
    return linha >= 0 && linha < linhas() ? m_linhas[linha].conteudo : nullptr;
}

int PainelElastico::tamanho(int linha) const
{
    return linha >= 0 && linha < linhas() ? m_linhas[linha].tamanho : 0;
}

void PainelElastico::definirTamanho(int linha, int twips)
{
    if (linha < 0 || linha >= linhas())
        return;
    twips = qMax(0, twips);
    if (m_linhas[linha].tamanho == twips)
        return;
    m_linhas[linha].tamanho = twips;
    reorganizar();
    Q_EMIT tamanhoAlterado(linha, twips);
}

bool PainelElastico::fixa(int linha) const
{
    return linha >= 0 && linha < linhas() && m_linhas[linha].fixa;
}

void PainelElastico::definirFixa(int linha, bool fixa)
{
    if (linha < 0 || linha >= linhas() || m_linhas[linha].fixa == fixa)
        return;
    m_linhas[linha].fixa = fixa;
    reorganizar();
}

void PainelElastico::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    reorganizar();
    Q_EMIT redimensionado();
}

void PainelElastico::reorganizar()
{
    int ocupado = 0;
    int elasticas = 0;
    for (const Linha& l : m_linhas) {
        if (l.fixa)
            ocupado += twipsParaPixels(l.tamanho, this);
        else
            ++elasticas;
    }
    int livre = qMax(0, height() - ocupado);
    int y = 0;
    for (Linha& l : m_linhas) {
        int h;
        if (l.fixa) {
            h = twipsParaPixels(l.tamanho, this);
        } else {
            // The last elastic row takes what rounding leaves.
            h = elasticas > 1 ? livre / elasticas : livre;
            livre -= h;
            --elasticas;
            l.tamanho = pixelsParaTwips(h, this);
        }
        if (l.conteudo) {
            l.conteudo->setGeometry(0, y, width(), h);
            // A closed row keeps its widgets out of reach of the keyboard.
            l.conteudo->setVisible(h > 0);
        }
        y += h;
    }
}

// FaixaAbas -----------------------------------------------------------------

FaixaAbas::FaixaAbas(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void FaixaAbas::definirLegendas(const QString& legendas)
{
    m_legendas = legendas.isEmpty() ? QStringList() : legendas.split(QLatin1Char('|'));
    if (m_atual >= quantidade())
        m_atual = -1;
    updateGeometry();
    update();
}

QString FaixaAbas::legenda(int aba) const
{
    return aba >= 0 && aba < quantidade() ? m_legendas[aba] : QString();
}

void FaixaAbas::setCurrTab(int aba)
{
    m_atual = aba >= 0 && aba < quantidade() ? aba : -1;
    update();
}

void FaixaAbas::setFirstTab(int aba)
{
    m_primeira = qBound(0, aba, qMax(0, quantidade() - 1));
    update();
}

void FaixaAbas::setTabHeight(int twips)
{
    m_alturaAba = twips;
    update();
}

void FaixaAbas::setWidth(int twips)
{
    m_largura = twips;
    resize(twipsParaPixels(twips, this), height());
}

int FaixaAbas::Width() const
{
    // The width set in twips while the strip still has it; pixels round it.
    if (m_largura > 0 && twipsParaPixels(m_largura, this) == width())
        return m_largura;
    return pixelsParaTwips(width(), this);
}

int FaixaAbas::alturaLinhaPx() const
{
    return fontMetrics().height() * 2 + 4;
}

QRect FaixaAbas::retanguloAba(int aba) const
{
    if (aba < m_primeira || aba >= quantidade())
        return {};
    const int largura = m_alturaAba > 0 ? qMin(width(), twipsParaPixels(m_alturaAba, this)) : width();
    const int h = alturaLinhaPx();
    return QRect((width() - largura) / 2, 2 + (aba - m_primeira) * (h + 2), largura, h);
}

int FaixaAbas::abaEm(const QPoint& p) const
{
    for (int i = m_primeira; i < quantidade(); ++i) {
        if (retanguloAba(i).contains(p))
            return i;
    }
    return -1;
}

QSize FaixaAbas::sizeHint() const
{
    const int n = qMax(1, quantidade() - m_primeira);
    int largura = 0;
    for (const QString& s : m_legendas)
        largura = qMax(largura, fontMetrics().horizontalAdvance(s));
    return {largura + 24, 4 + n * (alturaLinhaPx() + 2)};
}

void FaixaAbas::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    for (int i = m_primeira; i < quantidade(); ++i) {
        QStyleOptionButton op;
        op.initFrom(this);
        op.rect = retanguloAba(i);
        op.text = m_legendas[i];
        op.state &= ~QStyle::State_HasFocus;
        if (i == m_atual) {
            op.state |= QStyle::State_On | QStyle::State_Sunken;
            if (hasFocus())
                op.state |= QStyle::State_HasFocus;
        } else {
            op.state |= QStyle::State_Raised;
        }
        p.drawControl(QStyle::CE_PushButton, op);
    }
}

void FaixaAbas::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    // A press beside the tabs is no click: it would reload the shown window.
    const int aba = abaEm(e->position().toPoint());
    if (aba < 0)
        return;
    setCurrTab(aba);
    Q_EMIT Click();
}

void FaixaAbas::keyPressEvent(QKeyEvent* e)
{
    int aba = m_atual;
    switch (e->key()) {
    case Qt::Key_Up:
        aba = aba < 0 ? quantidade() - 1 : aba - 1;
        break;
    case Qt::Key_Down:
        aba = aba + 1;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (aba < 0)
            aba = 0;
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    if (aba < 0 || aba >= quantidade())
        return;
    setCurrTab(aba);
    Q_EMIT Click();
}

// Procedures ----------------------------------------------------------------

namespace {
// Set while an opening runs; one per process.
bool abrindoGrupo = false;
} // namespace

void IniciaOutlook(PainelElastico* bar, int alturaBotao)
{
    for (int linha = 0; linha < bar->linhas(); linha += 2) {
        bar->definirFixa(linha, true);
        bar->definirTamanho(linha, alturaBotao);
    }
}

void IniciaTabs(const QList<FaixaAbas*>& tabs)
{
    for (FaixaAbas* t : tabs) {
        t->setCurrTab(-1);
        t->setFirstTab(0);
    }
}

void AjustaTabs(const QList<FaixaAbas*>& tabs)
{
    for (FaixaAbas* t : tabs)
        t->setTabHeight(t->Width() - 10);
}

void SelecionaTab(const QList<FaixaAbas*>& tabs, int indice)
{
    for (int i = 0; i < tabs.size(); ++i) {
        if (i != indice)
            tabs[i]->setCurrTab(-1);
    }
}

int AbreGrupo(PainelElastico* bar, int grupo)
{
    if (abrindoGrupo || !bar)
        return 0;
    abrindoGrupo = true;
    struct Libera {
        ~Libera() { abrindoGrupo = false; }
    } libera;

    const int alvo = 2 * grupo + 1;
    for (int linha = 0; linha < bar->linhas(); ++linha)
        bar->definirFixa(linha, linha != alvo);

    // The window may be closed while the event loop runs.
    QPointer<PainelElastico> guarda(bar);
    int passos = 0;
    bool ultimo;
    do {
        ultimo = true;
        for (int linha = 1; linha < bar->linhas(); linha += 2) {
            if (linha == alvo)
                continue;
            const int novo = qMax(0, bar->tamanho(linha) - 150);
            bar->definirTamanho(linha, novo);
            if (novo > 0)
                ultimo = false;
        }
        ++passos;
        QCoreApplication::processEvents();
    } while (!ultimo && guarda);
    return passos;
}
