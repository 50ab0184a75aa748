#include "NomesNativos.h"

#include "Cp1252.h"
#include "Pastas.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nomes {

namespace {

bool continuacao(unsigned char b, unsigned char de = 0x80, unsigned char ate = 0xBF)
{
    return b >= de && b <= ate;
}

// Length of the valid UTF-8 sequence at s[i], 0 when there is none.
qsizetype sequenciaUtf8(const QByteArray& s, qsizetype i)
{
    auto byte = [&s](qsizetype k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0; };
    const unsigned char b = byte(i);
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return continuacao(byte(i + 1)) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        const unsigned char de = b == 0xE0 ? 0xA0 : 0x80;
        const unsigned char ate = b == 0xED ? 0x9F : 0xBF;
        return continuacao(byte(i + 1), de, ate) && continuacao(byte(i + 2)) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        const unsigned char de = b == 0xF0 ? 0x90 : 0x80;
        const unsigned char ate = b == 0xF4 ? 0x8F : 0xBF;
        return continuacao(byte(i + 1), de, ate) && continuacao(byte(i + 2)) && continuacao(byte(i + 3)) ? 4 : 0;
    }
    return 0;
}

QString textoDeEntrada(const QString& pasta, const QByteArray& nativo, bool ehPasta)
{
    return textoRecusa(ehPasta ? Tipo::Pasta : Tipo::Arquivo,
                       QFile::encodeName(pasta.endsWith(u'/') ? pasta : pasta + u'/') + nativo);
}

} // namespace

bool representavel(const QByteArray& nativo)
{
    return QFile::encodeName(QFile::decodeName(nativo)) == nativo;
}

QString exibicao(const QByteArray& nativo)
{
    QString r;
    qsizetype i = 0;
    while (i < nativo.size()) {
        const qsizetype n = sequenciaUtf8(nativo, i);
        if (n > 0) {
            r += QString::fromUtf8(nativo.mid(i, n));
            i += n;
            continue;
        }
        const QString c = cp1252::decodificar(nativo.mid(i, 1));
        const char16_t u = c.at(0).unicode();
        r += (u >= 0x80 && u <= 0x9F) ? QChar(QChar::ReplacementCharacter) : c.at(0);
        ++i;
    }
    return r;
}

QString textoRecusa(Tipo tipo, const QByteArray& nativo)
{
    const QString nome = exibicao(nativo);
    if (tipo == Tipo::Pasta)
        return QStringLiteral("O nome da pasta \"%1\" não pode ser usado: não está codificado em UTF-8 "
                              "(foi gravado em outra codificação). Renomeie a pasta e tente novamente.")
            .arg(nome);
    return QStringLiteral("O nome do arquivo \"%1\" não pode ser usado: não está codificado em UTF-8 "
                          "(foi gravado em outra codificação). Renomeie o arquivo e tente novamente.")
        .arg(nome);
}

QList<Entrada> listar(const QString& pasta, Filtro filtro)
{
    QList<Entrada> r;
    DIR* d = ::opendir(QFile::encodeName(pasta).constData());
    if (!d)
        return r;
    const int fd = ::dirfd(d);
    while (const dirent* e = ::readdir(d)) {
        const QByteArray nativo(e->d_name);
        if (nativo.startsWith('.'))
            continue;
        struct stat st {};
        if (::fstatat(fd, e->d_name, &st, 0) != 0)
            continue;
        const bool ehPasta = S_ISDIR(st.st_mode);
        if (filtro == Filtro::Pastas ? !ehPasta : !S_ISREG(st.st_mode))
            continue;
        Entrada en;
        en.nativo = nativo;
        if (representavel(nativo)) {
            en.exibicao = QFile::decodeName(nativo);
            en.caminho = caminhoEm(pasta, en.exibicao);
        } else {
            en.exibicao = exibicao(nativo);
            en.recusa = textoDeEntrada(pasta, nativo, ehPasta);
        }
        r << en;
    }
    ::closedir(d);
    std::sort(r.begin(), r.end(), [](const Entrada& a, const Entrada& b) {
        // The order of QDir::Name | QDir::IgnoreCase.
        const int c = a.exibicao.toLower().compare(b.exibicao.toLower());
        return c != 0 ? c < 0 : a.nativo < b.nativo;
    });
    return r;
}

QString pastaAtual(QString* recusa)
{
    char* c = ::getcwd(nullptr, 0);
    if (!c)
        return QString();
    const QByteArray nativo(c);
    std::free(c);
    if (representavel(nativo))
        return QFile::decodeName(nativo);
    if (recusa)
        *recusa = textoRecusa(Tipo::Pasta, nativo);
    return QString();
}

bool pastaDoProgramaRepresentavel(QString* recusa)
{
    char alvo[4096];
    const ssize_t n = ::readlink("/proc/self/exe", alvo, sizeof alvo);
    if (n <= 0 || size_t(n) >= sizeof alvo)
        return true;
    QByteArray pasta(alvo, qsizetype(n));
    pasta.truncate(qMax<qsizetype>(1, pasta.lastIndexOf('/')));
    if (representavel(pasta))
        return true;
    if (recusa)
        *recusa = textoRecusa(Tipo::Pasta, pasta);
    return false;
}

bool variavelRepresentavel(const char* variavel, QString* recusa)
{
    const QByteArray nativo = qgetenv(variavel);
    if (representavel(nativo))
        return true;
    if (recusa)
        *recusa = textoRecusa(Tipo::Pasta, nativo);
    return false;
}

} // namespace nomes
