#include "Endereco.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
std::function<void(const QString&)> abridor;
}

void abrirEndereco(const QString& endereco)
{
    if (abridor) {
        abridor(endereco);
        return;
    }
    QDesktopServices::openUrl(QUrl(endereco));
}

void definirAbridorEndereco(std::function<void(const QString&)> f)
{
    abridor = std::move(f);
}
