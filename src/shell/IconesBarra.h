#pragma once
// Icons of the main window's toolbar. Each has a disabled look that is
// plainly faded, whatever the desktop's theme gives.
#include <QIcon>
#include <QString>
#include <QStyle>

// A blank page with a green plus ("Novo").
QIcon iconeNovo();
// A red cross ("Excluir").
QIcon iconeExcluir();
// A printer, for desktops whose theme has none.
QIcon iconeImpressora();
// The theme's icon, else the style's.
QIcon iconeDoTema(const QString& tema, QStyle::StandardPixmap reserva);
// The icon with a disabled state drawn faded and grey, at the toolbar's sizes.
QIcon comDesabilitadoVisivel(const QIcon& icone);
