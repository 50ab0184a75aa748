#include "IconesBarra.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int Lado = 32;

QPixmap tela()
{
    QPixmap pm(Lado, Lado);
    pm.fill(Qt::transparent);
    return pm;
}

// Grey and at a third of its opacity: unmistakably off next to the others.
QPixmap esmaecida(const QPixmap& origem)
{
    QImage img = origem.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* linha = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = linha[x];
            const int cinza = 110 + qGray(p) * 120 / 255;
            linha[x] = qRgba(cinza, cinza, cinza, qAlpha(p) / 3);
        }
    }
    return QPixmap::fromImage(img);
}

} // namespace

QIcon iconeNovo()
{
    QPixmap pm = tela();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath folha;
    folha.moveTo(6, 2);
    folha.lineTo(19, 2);
    folha.lineTo(26, 9);
    folha.lineTo(26, 30);
    folha.lineTo(6, 30);
    folha.closeSubpath();
    p.setPen(QPen(QColor(0x2b, 0x57, 0x97), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(folha);
    p.setBrush(QColor(0xc8, 0xd8, 0xf0));
    p.drawPolygon(QPolygonF({QPointF(19, 2), QPointF(19, 9), QPointF(26, 9)}));
    p.setPen(QPen(QColor(0x9a, 0xb0, 0xd0), 1));
    for (int y = 14; y <= 24; y += 5)
        p.drawLine(QPointF(10, y), QPointF(18, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2e, 0xa0, 0x3c));
    p.drawEllipse(QPointF(23, 23), 8, 8);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(19, 21.75, 8, 2.5));
    p.drawRect(QRectF(21.75, 19, 2.5, 8));
    p.end();
    return comDesabilitadoVisivel(QIcon(pm));
}

QIcon iconeExcluir()
{
    QPixmap pm = tela();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x8e, 0x10, 0x10), 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 7), QPointF(25, 25));
    p.drawLine(QPointF(25, 7), QPointF(7, 25));
    p.setPen(QPen(QColor(0xe0, 0x2a, 0x2a), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 7), QPointF(25, 25));
    p.drawLine(QPointF(25, 7), QPointF(7, 25));
    p.end();
    return comDesabilitadoVisivel(QIcon(pm));
}

QIcon iconeImpressora()
{
    QPixmap pm = tela();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10));                  // paper in
    p.setBrush(QColor(0x8a, 0x93, 0x9c));
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 3, 3);   // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 19, 14, 10));                 // paper out
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
    p.drawLine(QPointF(11, 23), QPointF(21, 23));
    p.drawLine(QPointF(11, 26), QPointF(19, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0xb3, 0x4a));
    p.drawEllipse(QPointF(25, 15), 1.6, 1.6);
    p.end();
    return QIcon(pm);
}

QIcon iconeDoTema(const QString& tema, QStyle::StandardPixmap reserva)
{
    QIcon i = QIcon::fromTheme(tema);
    return i.isNull() ? QApplication::style()->standardIcon(reserva) : i;
}

QIcon comDesabilitadoVisivel(const QIcon& icone)
{
    QIcon r;
    for (int lado : {16, 22, 24, 32, 48}) {
        const QPixmap normal = icone.pixmap(QSize(lado, lado), QIcon::Normal, QIcon::Off);
        if (normal.isNull())
            continue;
        r.addPixmap(normal, QIcon::Normal, QIcon::Off);
        r.addPixmap(normal, QIcon::Active, QIcon::Off);
        r.addPixmap(esmaecida(normal), QIcon::Disabled, QIcon::Off);
    }
    return r;
}
