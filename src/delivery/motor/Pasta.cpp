#include "Pasta.h"

#include "platform/ArquivoDuravel.h"

#include <QFileInfo>

namespace entrega {

bool presente(const QString& caminho)
{
    const QFileInfo fi(caminho);
    return fi.isSymLink() || (fi.exists() && !fi.isDir());
}

bool recuperarPasta(const NomesNaPasta& nomes, QString* motivo)
{
    bool ok = true;
    auto remover = [&ok, motivo](const QString& c) {
        if (presente(c) && !duravel::remover(c)) {
            ok = false;
            if (motivo)
                *motivo = QStringLiteral("%1 não pôde ser removido").arg(c);
        }
    };
    const QString& id = nomes.identificador;
    if (!presente(id)) {
        // Ready marker without the identifier: every earlier file was moved
        // aside, so the files under final names are new ones.
        if (presente(id + SufixoPronto))
            for (const QString& a : nomes.arquivos)
                remover(a);
        for (const QString& a : nomes.todos())
            if (presente(a + SufixoAnterior) && !duravel::renomear(a + SufixoAnterior, a, motivo))
                ok = false;
    }
    for (const QString& a : nomes.todos())
        for (const QString& sufixo : {SufixoGravando, SufixoPronto, SufixoAnterior})
            remover(a + sufixo);
    if (!duravel::sincronizarPasta(nomes.pasta, motivo))
        ok = false;
    return ok;
}

} // namespace entrega
