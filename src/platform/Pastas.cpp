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

bool pastasPadrao(Pastas& p, QString& recusa)
{
    p.programa = QCoreApplication::applicationDirPath();
    p.dados = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Qt reads both from bytes: the executable's path, and XDG_DATA_HOME or
    // else HOME. A name it could not read would make another folder.
    if (!nomes::pastaDoProgramaRepresentavel(&recusa))
        return false;
    const char* base = qEnvironmentVariableIsEmpty("XDG_DATA_HOME") ? "HOME" : "XDG_DATA_HOME";
    if (!nomes::variavelRepresentavel(base, &recusa))
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
