#include "Ajuda.h"

#include "Pastas.h"

#include <QDialog>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ajuda {

namespace {
std::function<void(int)> visualizador;
QPointer<QDialog> janela;
QPointer<QTextBrowser> navegador;
} // namespace

QString arquivoDoContexto(int contexto)
{
    return caminhoEm(caminhoEm(pastas().programa, QStringLiteral("help")),
                     QString::number(contexto) + QStringLiteral(".html"));
}

void mostrar(int contexto, QWidget*)
{
    if (visualizador) {
        visualizador(contexto);
        return;
    }
    if (!janela) {
        janela = new QDialog(nullptr, Qt::Window);
        janela->setAttribute(Qt::WA_DeleteOnClose);
        janela->setWindowTitle(QStringLiteral("Ajuda - Tobri Contábeis"));
        auto* l = new QVBoxLayout(janela);
        navegador = new QTextBrowser(janela);
        navegador->setOpenExternalLinks(true);
        l->addWidget(navegador);
        janela->resize(760, 560);
    }
    QString arquivo = arquivoDoContexto(contexto);
    if (!QFileInfo::exists(arquivo))
        arquivo = arquivoDoContexto(30);
    navegador->setSearchPaths({QFileInfo(arquivo).absolutePath()});
    navegador->setSource(QUrl::fromLocalFile(arquivo));
    janela->show();
    janela->raise();
    janela->activateWindow();
}

void definirVisualizador(std::function<void(int)> v)
{
    visualizador = std::move(v);
}

} // namespace ajuda
