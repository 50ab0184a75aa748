#pragma once
// Help topics: HTML files "help/<context>.html" in the program folder,
// shown in a help window.
#include <QString>
#include <functional>

class QWidget;

namespace ajuda {

QString arquivoDoContexto(int contexto);
// Opens the help window at a context number.
void mostrar(int contexto, QWidget* origem = nullptr);
// Tests: called instead of opening the window.
void definirVisualizador(std::function<void(int)> v);

} // namespace ajuda
