#include "Pastas.h"

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

Pastas pastasPadrao()
{
    Pastas p;
    p.programa = QCoreApplication::applicationDirPath();
    p.dados = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(p.dados);
    return p;
}

const Pastas& pastas()
{
    if (!definidas()) {
        atual() = pastasPadrao();
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
