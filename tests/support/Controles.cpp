#include "Controles.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

QString texto(const QWidget* w, const QString& nome)
{
    auto* l = w->findChild<QLabel*>(nome);
    return l ? l->text() : QStringLiteral("<sem %1>").arg(nome);
}

QPushButton* botao(const QWidget* w, const char* nome)
{
    return w->findChild<QPushButton*>(QString::fromLatin1(nome));
}

QStringList linhaDaGrade(const QTableView* g, int r)
{
    QStringList l;
    for (int c = 0; c < g->model()->columnCount(); ++c)
        l << g->model()->index(r, c).data().toString();
    return l;
}

QStringList titulosDaGrade(const QTableView* g)
{
    QStringList l;
    for (int c = 0; c < g->model()->columnCount(); ++c)
        l << g->model()->headerData(c, Qt::Horizontal).toString();
    return l;
}
