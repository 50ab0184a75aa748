#include "ArquivoDuravel.h"

#include "Digesto.h"
#include "Pastas.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <utility>
#include <unistd.h>

namespace duravel {

namespace {

Observador& observador()
{
    static Observador o;
    return o;
}

void notificar(const QString& tipo, const QString& caminho, const QString& destino = QString())
{
    if (observador())
        observador()(Passo{tipo, caminho, destino});
}

bool sincronizar(const QString& caminho, int flags, QString* motivo)
{
    const int fd = ::open(QFile::encodeName(caminho).constData(), flags | O_CLOEXEC);
    if (fd < 0) {
        if (motivo)
            *motivo = textoErrno(errno);
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
            *motivo = textoErrno(erro);
        return false;
    }
    return true;
}

} // namespace

QString textoErrno(int erro)
{
    return QString::fromLocal8Bit(std::strerror(erro));
}

void observar(Observador o)
{
    observador() = std::move(o);
}

Observando::Observando(Observador o)
    : m_anterior(std::exchange(observador(), std::move(o)))
{
}

Observando::~Observando()
{
    observador() = std::move(m_anterior);
}

bool renomear(const QString& origem, const QString& destino, QString* motivo)
{
    notificar(QStringLiteral("renomear"), origem, destino);
    if (renomearSobre(origem, destino))
        return true;
    if (motivo)
        *motivo = textoErrno(errno);
    return false;
}

bool remover(const QString& caminho, QString* motivo)
{
    notificar(QStringLiteral("remover"), caminho);
    const QByteArray c = QFile::encodeName(caminho);
    if (::unlink(c.constData()) == 0 || errno == ENOENT)
        return true;
    if (motivo)
        *motivo = textoErrno(errno);
    return false;
}

bool criarNovo(QFile& arquivo, const QString& caminho, QString* motivo)
{
    notificar(QStringLiteral("criar"), caminho);
    const int fd = ::open(QFile::encodeName(caminho).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (motivo)
            *motivo = textoErrno(errno);
        return false;
    }
    arquivo.setFileName(caminho);
    if (!arquivo.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        if (motivo)
            *motivo = arquivo.errorString();
        return false;
    }
    return true;
}

bool sincronizarArquivo(const QString& caminho, QString* motivo)
{
    notificar(QStringLiteral("arquivo"), caminho);
    return sincronizar(caminho, O_RDONLY, motivo);
}

bool sincronizarPasta(const QString& pasta, QString* motivo)
{
    notificar(QStringLiteral("pasta"), pasta);
    return sincronizar(pasta, O_RDONLY | O_DIRECTORY, motivo);
}

bool colocarNoLugar(const QString& temporario, const QString& destino, QString* motivo)
{
    if (!sincronizarArquivo(temporario, motivo))
        return false;
    notificar(QStringLiteral("renomear"), temporario, destino);
    if (!renomearSobre(temporario, destino)) {
        if (motivo)
            *motivo = textoErrno(errno);
        return false;
    }
    return sincronizarPasta(QFileInfo(destino).absolutePath(), motivo);
}

bool copiarParaOLugar(const QString& origem, const QString& temporario, const QString& destino, QString* motivo,
                      digesto::Fluxo* digesto)
{
    QFile entrada(origem);
    QFile saida(temporario);
    auto falhar = [&](const QString& texto) {
        if (motivo)
            *motivo = texto;
        saida.close();
        QFile::remove(temporario);
        return false;
    };
    if (!entrada.open(QIODevice::ReadOnly))
        return falhar(entrada.errorString());
    if (!saida.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return falhar(saida.errorString());
    QByteArray bloco(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = entrada.read(bloco.data(), bloco.size());
        if (n < 0)
            return falhar(entrada.errorString());
        if (n == 0)
            break;
        if (saida.write(bloco.constData(), n) != n)
            return falhar(saida.errorString());
        if (digesto)
            digesto->alimentar(bloco.constData(), n);
    }
    if (!saida.flush())
        return falhar(saida.errorString());
    saida.close();
    QString razao;
    if (!colocarNoLugar(temporario, destino, &razao))
        return falhar(razao);
    return true;
}

} // namespace duravel
