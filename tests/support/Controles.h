#pragma once
// Reading a window's controls in the window tests.
#include <QString>
#include <QStringList>

class QPushButton;
class QTableView;
class QWidget;

// The text of the label named `nome`, or "<sem nome>" when there is none.
QString texto(const QWidget* w, const QString& nome);
// The button named `nome` (nullptr when there is none).
QPushButton* botao(const QWidget* w, const char* nome);
// The texts of row `r` of a grid, and its column captions.
QStringList linhaDaGrade(const QTableView* g, int r);
QStringList titulosDaGrade(const QTableView* g);
