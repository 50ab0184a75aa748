#include "ArquivoDuravel.h"

#include "Digesto.h"
#include "Pastas.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <type_traits>
#include <utility>
#include <unistd.h>

namespace duravel {

namespace {

Observador& observador()
{
    static Observador o;
    return o;
}

// The observer's answer to a step: 0 or the errno value it fails with.
int notificar(const QString& tipo, const QString& caminho, const QString& destino = QString())
{
    return observador() ? observador()(Passo{tipo, caminho, destino}) : 0;
}

// A failed step: errno and `motivo` as the system set them.
bool recusado(int erro, QString* motivo)
{
    errno = erro;
    if (motivo)
        *motivo = textoErrno(erro);
    return false;
}

// The system call of a step, or the failure the observer answered in its
// place (then handled as the system's own).
template <typename F>
auto chamar(int simulado, F&& f)
{
    using R = decltype(f());
    if (simulado) {
        errno = simulado;
        if constexpr (std::is_same_v<R, bool>)
            return false;
        else
            return R(-1);
    }
    return f();
}

bool sincronizarDescritor(int fd, bool pasta, QString* motivo, int simulado)
{
    int r;
    do {
        r = chamar(simulado, [fd] { return ::fsync(fd); });
    } while (r != 0 && errno == EINTR);
    if (r == 0)
        return true;
    // Some file systems cannot sync a folder; that is not a failure of the data.
    if (pasta && (errno == EINVAL || errno == ENOTSUP))
        return true;
    return recusado(errno, motivo);
}

bool sincronizar(const QString& caminho, int flags, QString* motivo, int simulado)
{
    const int fd = ::open(QFile::encodeName(caminho).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return recusado(errno, motivo);
    const bool ok = sincronizarDescritor(fd, flags & O_DIRECTORY, motivo, simulado);
    const int erro = errno;
    ::close(fd);
    errno = erro;
    return ok;
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
    const int simulado = notificar(QStringLiteral("renomear"), origem, destino);
    return chamar(simulado, [&] { return renomearSobre(origem, destino); }) || recusado(errno, motivo);
}

bool remover(const QString& caminho, QString* motivo)
{
    const int simulado = notificar(QStringLiteral("remover"), caminho);
    const QByteArray c = QFile::encodeName(caminho);
    return chamar(simulado, [&c] { return ::unlink(c.constData()); }) == 0 || errno == ENOENT
        || recusado(errno, motivo);
}

bool criarNovo(QFile& arquivo, const QString& caminho, QString* motivo)
{
    const int simulado = notificar(QStringLiteral("criar"), caminho);
    const int fd = chamar(simulado, [&caminho] {
        return ::open(QFile::encodeName(caminho).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0666);
    });
    if (fd < 0)
        return recusado(errno, motivo);
    arquivo.setFileName(caminho);
    if (!arquivo.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (motivo)
            *motivo = arquivo.errorString();
        return false;
    }
    return true;
}

bool criarTemporario(QFile& arquivo, const QString& caminho, QString* motivo)
{
    return remover(caminho, motivo) && criarNovo(arquivo, caminho, motivo);
}

bool sincronizarArquivo(const QString& caminho, QString* motivo)
{
    const int simulado = notificar(QStringLiteral("arquivo"), caminho);
    return sincronizar(caminho, O_RDONLY, motivo, simulado);
}

bool sincronizarArquivo(QFile& aberto, const QString& caminho, QString* motivo)
{
    if (!aberto.flush()) {
        if (motivo)
            *motivo = aberto.errorString();
        return false;
    }
    const int simulado = notificar(QStringLiteral("arquivo"), caminho);
    return sincronizarDescritor(aberto.handle(), false, motivo, simulado);
}

bool sincronizarPasta(const QString& pasta, QString* motivo)
{
    const int simulado = notificar(QStringLiteral("pasta"), pasta);
    return sincronizar(pasta, O_RDONLY | O_DIRECTORY, motivo, simulado);
}

namespace {

// Renames a flushed temporary file over `destino` and syncs the folder.
bool renomearNoLugar(const QString& temporario, const QString& destino, QString* motivo)
{
    return renomear(temporario, destino, motivo) && sincronizarPasta(QFileInfo(destino).absolutePath(), motivo);
}

// Flushes and closes the temporary file `temporario` written through
// `saida`, then puts it in place; on a failure it is removed.
bool fecharNoLugar(QFile& saida, const QString& temporario, const QString& destino, QString* motivo)
{
    bool ok = sincronizarArquivo(saida, temporario, motivo);
    saida.close();
    if (ok && saida.error() != QFileDevice::NoError) {
        if (motivo)
            *motivo = saida.errorString();
        ok = false;
    }
    if (ok && renomearNoLugar(temporario, destino, motivo))
        return true;
    QFile::remove(temporario);
    return false;
}

} // namespace

bool colocarNoLugar(const QString& temporario, const QString& destino, QString* motivo)
{
    return sincronizarArquivo(temporario, motivo) && renomearNoLugar(temporario, destino, motivo);
}

bool gravarNoLugar(const QByteArray& bytes, const QString& temporario, const QString& destino, QString* motivo)
{
    QFile saida;
    if (!criarTemporario(saida, temporario, motivo))
        return false;
    if (saida.write(bytes) != bytes.size()) {
        if (motivo)
            *motivo = saida.errorString();
        saida.close();
        QFile::remove(temporario);
        return false;
    }
    return fecharNoLugar(saida, temporario, destino, motivo);
}

bool copiarParaOLugar(const QString& origem, const QString& temporario, const QString& destino, QString* motivo,
                      digesto::Fluxo* digesto)
{
    QFile entrada(origem);
    if (!entrada.open(QIODevice::ReadOnly)) {
        if (motivo)
            *motivo = entrada.errorString();
        return false;
    }
    QFile saida;
    if (!criarTemporario(saida, temporario, motivo))
        return false;
    auto falhar = [&](const QString& texto) {
        if (motivo)
            *motivo = texto;
        saida.close();
        QFile::remove(temporario);
        return false;
    };
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
    return fecharNoLugar(saida, temporario, destino, motivo);
}

} // namespace duravel
