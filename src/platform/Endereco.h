#pragma once
#include <QString>
#include <functional>

// Opens an address with the desktop's handler.
void abrirEndereco(const QString& endereco);
// Tests: called instead of the desktop.
void definirAbridorEndereco(std::function<void(const QString&)> f);
