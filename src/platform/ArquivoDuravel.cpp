#include "ArquivoDuravel.h"

#include "Pastas.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace duravel {

namespace {

bool sincronizar(const QString& caminho, int flags, QString* motivo)
{
    const int fd = ::open(QFile::encodeName(caminho).constData(), flags | O_CLOEXEC);
    if (fd < 0) {
        if (motivo)
            *motivo = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    int r;
    do {
        r = ::fsync(fd);
    } while (r != 0 && errno == EINTR);
    const int erro = errno;
    ::close(fd);
    if (r != 0) {
        // Some file systems cannot sync a folder; that is not a failure of the data.
        if ((flags & O_DIRECTORY) && (erro == EINVAL || erro == ENOTSUP))
            return true;
        if (motivo)
            *motivo = QString::fromLocal8Bit(std::strerror(erro));
        return false;
    }
    return true;
}

} // namespace

bool sincronizarArquivo(const QString& caminho, QString* motivo)
{
    return sincronizar(caminho, O_RDONLY, motivo);
}

bool sincronizarPasta(const QString& pasta, QString* motivo)
{
    return sincronizar(pasta, O_RDONLY | O_DIRECTORY, motivo);
}

bool colocarNoLugar(const QString& temporario, const QString& destino, QString* motivo)
{
    if (!sincronizarArquivo(temporario, motivo))
        return false;
    if (!renomearSobre(temporario, destino)) {
        if (motivo)
            *motivo = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return sincronizarPasta(QFileInfo(destino).absolutePath(), motivo);
}

} // namespace duravel
