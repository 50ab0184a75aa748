#include "Pastas.h"

#include "NomesNativos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

namespace {
Pastas& atual()
{
    static Pastas p;
    return p;
}
bool& definidas()
{
    static bool d = false;
    return d;
}
QString& documentosDefinida()
{
    static QString d;
    return d;
}
} // namespace

namespace {

// The application data folder. XDG_DATA_HOME counts only as an absolute
// path (the XDG rule): a relative one is ignored, as when it is unset.
QString pastaDeDados(bool& usaXdg)
{
    const QString dados = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    usaXdg = !qEnvironmentVariableIsEmpty("XDG_DATA_HOME");
    if (!usaXdg || qgetenv("XDG_DATA_HOME").startsWith('/'))
        return dados;
    usaXdg = false;
    // The part Qt appends to the base (organization and application names).
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::homePath() + QStringLiteral("/.local/share") + dados.mid(base.size());
}

} // namespace

bool pastasPadrao(Pastas& p, QString& recusa)
{
    p.programa = QCoreApplication::applicationDirPath();
    bool usaXdg = false;
    p.dados = pastaDeDados(usaXdg);
    // Qt reads both from bytes: the executable's path, and XDG_DATA_HOME or
    // else HOME. A name it could not read would make another folder.
    if (!nomes::pastaDoProgramaRepresentavel(&recusa))
        return false;
    if (!nomes::variavelRepresentavel(usaXdg ? "XDG_DATA_HOME" : "HOME", &recusa))
        return false;
    QDir().mkpath(p.dados);
    return true;
}

const Pastas& pastas()
{
    if (!definidas()) {
        // The program refuses a folder it cannot name before it gets here.
        QString recusa;
        pastasPadrao(atual(), recusa);
        definidas() = true;
    }
    return atual();
}

void definirPastas(const Pastas& p)
{
    atual() = p;
    definidas() = true;
}

QString pastaDocumentos()
{
    if (!documentosDefinida().isEmpty())
        return documentosDefinida();
    const QString d = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!d.isEmpty() && QFileInfo(d).isDir())
        return d;
    return QDir::homePath();
}

void definirPastaDocumentos(const QString& pasta)
{
    documentosDefinida() = pasta;
}

bool renomearSobre(const QString& origem, const QString& destino)
{
    return std::rename(QFile::encodeName(origem).constData(), QFile::encodeName(destino).constData()) == 0;
}

QString caminhoEm(const QString& pasta, const QString& arquivo)
{
    if (pasta.isEmpty())
        return arquivo;
    if (pasta.endsWith(u'/'))
        return pasta + arquivo;
    return pasta + u'/' + arquivo;
}
