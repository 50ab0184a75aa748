#include "Nativos.h"

#include <QtGlobal>

#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The entries of a folder but "." and ".."; none when it cannot be read.
QList<QByteArray> entradas(const QByteArray& pasta)
{
    QList<QByteArray> nomes;
    DIR* d = ::opendir(pasta.constData());
    if (!d)
        return nomes;
    while (const dirent* e = ::readdir(d)) {
        const QByteArray n(e->d_name);
        if (n != "." && n != "..")
            nomes << n;
    }
    ::closedir(d);
    return nomes;
}

// A folder itself, not a link to one.
bool ehPasta(const QByteArray& caminho)
{
    struct stat st {};
    return ::lstat(caminho.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

void percorrer(const QByteArray& raiz, const QByteArray& relativo, QStringList& r)
{
    for (const QByteArray& n : entradas(relativo.isEmpty() ? raiz : raiz + '/' + relativo)) {
        const QByteArray rel = relativo.isEmpty() ? n : relativo + '/' + n;
        const bool pasta = ehPasta(raiz + '/' + rel);
        r << mostrarNativo(rel) + (pasta ? QStringLiteral("/") : QString());
        if (pasta)
            percorrer(raiz, rel, r);
    }
}

} // namespace

QByteArray criarPastaNativa(const QByteArray& pasta, const QByteArray& nome)
{
    const QByteArray c = pasta + '/' + nome;
    ::mkdir(c.constData(), 0755);
    return c;
}

QByteArray escreverArquivoNativo(const QByteArray& pasta, const QByteArray& nome, const QByteArray& bytes)
{
    const QByteArray c = pasta + '/' + nome;
    const int fd = ::open(c.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        qsizetype feito = 0;
        while (feito < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.constData() + feito, size_t(bytes.size() - feito));
            if (n <= 0)
                break;
            feito += n;
        }
        ::close(fd);
    }
    return c;
}

QStringList arvoreNativa(const QByteArray& pasta)
{
    QStringList r;
    percorrer(pasta, QByteArray(), r);
    r.sort();
    return r;
}

QString mostrarNativo(const QByteArray& nome)
{
    QString r;
    for (const char c : nome) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F)
            r += QChar(b);
        else
            r += QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
    }
    return r;
}

void esvaziarNativo(const QByteArray& pasta)
{
    for (const QByteArray& n : entradas(pasta)) {
        const QByteArray c = pasta + '/' + n;
        if (ehPasta(c)) {
            esvaziarNativo(c);
            ::rmdir(c.constData());
        } else {
            ::unlink(c.constData());
        }
    }
}

PastaAtual::PastaAtual(const QByteArray& pasta)
{
    char* c = ::getcwd(nullptr, 0);
    if (c)
        m_antes = c;
    std::free(c);
    m_ok = !m_antes.isEmpty() && ::chdir(pasta.constData()) == 0;
}

PastaAtual::~PastaAtual()
{
    if (m_ok && ::chdir(m_antes.constData()) != 0)
        qWarning("the current folder could not be restored");
}
