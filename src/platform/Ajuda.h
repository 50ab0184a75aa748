#pragma once
// Help topics: HTML files "help/<context>.html" in the program folder,
// shown in a help window that stays usable while modal windows run.
#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace ajuda {

QString arquivoDoContexto(int contexto);
// Opens the help window at a context number, above the modal window in force.
void mostrar(int contexto, QWidget* origem = nullptr);
// The help window when one is open (shown or hidden), else nullptr.
QDialog* janelaAberta();
// Tests: called instead of opening the window.
void definirVisualizador(std::function<void(int)> v);

} // namespace ajuda
