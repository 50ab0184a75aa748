#include "TravaPasta.h"

#include "ArquivoDuravel.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int travar(int fd)
{
    int r;
    do {
        r = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (r != 0 && errno == EINTR);
    return r == 0 ? 0 : errno;
}

} // namespace

TravaPasta::TravaPasta(const QString& pasta)
{
    m_fd = ::open(QFile::encodeName(pasta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        m_motivo = duravel::textoErrno(errno);
        return;
    }
    int erro = travar(m_fd);
    if (erro == ENOLCK || erro == EBADF || erro == EINVAL || erro == EOPNOTSUPP) {
        // The folder's file system keeps no locks on folders (some network
        // shares): lock a file named after the folder's device and inode.
        struct stat st {};
        if (::fstat(m_fd, &st) != 0) {
            erro = errno;
        } else {
            ::close(m_fd);
            const QString nome = QStringLiteral("tobri-pasta-%1-%2.trava")
                                     .arg(static_cast<qulonglong>(st.st_dev))
                                     .arg(static_cast<qulonglong>(st.st_ino));
            const QByteArray caminho = QFile::encodeName(QDir(QDir::tempPath()).filePath(nome));
            m_fd = ::open(caminho.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
            erro = m_fd < 0 ? errno : travar(m_fd);
        }
    }
    if (erro == 0) {
        m_estado = Estado::Obtida;
        return;
    }
    m_estado = erro == EWOULDBLOCK ? Estado::Ocupada : Estado::Falhou;
    m_motivo = duravel::textoErrno(erro);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

TravaPasta::~TravaPasta()
{
    if (m_fd >= 0)
        ::close(m_fd);
}
