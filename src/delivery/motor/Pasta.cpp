#include "Pasta.h"

#include "platform/ArquivoDuravel.h"

#include <QFile>
#include <QFileInfo>

namespace entrega {

namespace {

QString nome(const QString& caminho)
{
    return QFileInfo(caminho).fileName();
}

// The first failure of a repair, as a sentence for the user.
class Falha {
public:
    explicit Falha(QString* motivo) : m_motivo(motivo) {}
    bool operator()(const QString& texto)
    {
        if (m_motivo && !m_houve)
            *m_motivo = texto;
        m_houve = true;
        return false;
    }
    bool houve() const { return m_houve; }

private:
    QString* m_motivo;
    bool m_houve = false;
};

bool remover(const QString& c, Falha& falha)
{
    QString razao;
    if (!presente(c) || duravel::remover(c, &razao))
        return true;
    return falha(QStringLiteral("o arquivo %1 não pôde ser removido (%2)").arg(nome(c), razao));
}

bool sincronizar(const QString& pasta, Falha& falha)
{
    QString razao;
    if (duravel::sincronizarPasta(pasta, &razao))
        return true;
    return falha(QStringLiteral("a pasta %1 não pôde ser gravada em disco (%2)").arg(pasta, razao));
}

// The earlier identifier is put back only when every file it lists is
// under its name; otherwise it stays aside (a folder without an identifier
// is visibly incomplete).
bool restaurarIdentificador(const NomesNaPasta& nomes, Falha& falha)
{
    const QString& id = nomes.identificador;
    const QString aparte = id + SufixoAnterior;
    QFile f(aparte);
    if (!f.open(QIODevice::ReadOnly))
        return falha(QStringLiteral("o arquivo %1 não pôde ser lido (%2)").arg(nome(aparte), f.errorString()));
    const QByteArray texto = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return falha(QStringLiteral("o arquivo %1 não pôde ser lido (%2)").arg(nome(aparte), f.errorString()));
    f.close();
    QStringList listados;
    if (!listadosNoIdentificador(nomes, texto, listados))
        return falha(QStringLiteral("o arquivo %1 não é um arquivo identificador desta declaração").arg(nome(aparte)));
    for (const QString& l : std::as_const(listados))
        if (!presente(l))
            return falha(QStringLiteral("o arquivo identificador anterior %1 não voltou ao seu nome porque o arquivo "
                                        "%2, que ele lista, não está na pasta")
                             .arg(nome(id), nome(l)));
    QString razao;
    if (!duravel::renomear(aparte, id, &razao))
        return falha(QStringLiteral("o arquivo %1 não pôde voltar ao nome %2 (%3)").arg(nome(aparte), nome(id), razao));
    return sincronizar(nomes.pasta, falha);
}

} // namespace

bool presente(const QString& caminho)
{
    const QFileInfo fi(caminho);
    return fi.isSymLink() || (fi.exists() && !fi.isDir());
}

bool listadosNoIdentificador(const NomesNaPasta& nomes, const QByteArray& identificador, QStringList& listados)
{
    listados.clear();
    for (const QByteArray& linha : identificador.split('\n')) {
        if (!linha.startsWith("01"))
            continue;
        const QString raiz = nomes.raizDoRegistro.value(linha.mid(4, 5));
        if (raiz.isEmpty())
            return false;
        listados << raiz + QStringLiteral(".fmt") << raiz + QStringLiteral(".txt");
    }
    return true;
}

// Each step leaves a state this function reads right on its next run:
// - new temporaries (".gravando") are never the only copy of anything;
// - an identifier under its name means its set is complete, so what lies
//   aside is superseded;
// - ".pronto" means every earlier file is aside, so every file under a final
//   name is new; it is removed only after those files are gone, and only
//   then (after a folder sync) does any earlier file come back, so a file
//   under a final name without ".pronto" is always an earlier one.
bool recuperarPasta(const NomesNaPasta& nomes, QString* motivo)
{
    Falha falha(motivo);
    const QString& id = nomes.identificador;
    for (const QString& a : nomes.todos())
        remover(a + SufixoGravando, falha);

    if (presente(id)) {
        if (!sincronizar(nomes.pasta, falha))
            return false;
        for (const QString& a : nomes.todos()) {
            remover(a + SufixoPronto, falha);
            remover(a + SufixoAnterior, falha);
        }
        return !falha.houve();
    }

    if (presente(id + SufixoPronto)) {
        for (const QString& a : nomes.arquivos)
            remover(a, falha);
        if (falha.houve() || !sincronizar(nomes.pasta, falha) || !remover(id + SufixoPronto, falha)
            || !sincronizar(nomes.pasta, falha))
            return false;
    }
    for (const QString& a : nomes.arquivos)
        if (presente(a + SufixoPronto))
            remover(a + SufixoPronto, falha);

    for (const QString& a : nomes.arquivos) {
        QString razao;
        if (presente(a + SufixoAnterior) && !duravel::renomear(a + SufixoAnterior, a, &razao))
            falha(QStringLiteral("o arquivo %1 não pôde voltar ao nome %2 (%3)")
                      .arg(nome(a + SufixoAnterior), nome(a), razao));
    }
    if (falha.houve() || !sincronizar(nomes.pasta, falha))
        return false;
    if (presente(id + SufixoAnterior))
        return restaurarIdentificador(nomes, falha);
    return true;
}

} // namespace entrega
