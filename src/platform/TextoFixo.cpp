#include "TextoFixo.h"

#include "Cp1252.h"
#include "Digesto.h"
#include "Pastas.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace textofixo {

namespace {

constexpr qsizetype Bloco = 1 << 20;

QByteArrayView semBrancosFinais(QByteArrayView v)
{
    qsizetype f = v.size();
    while (f > 0 && v[f - 1] == ' ')
        --f;
    return v.first(f);
}

QByteArrayView aparar(QByteArrayView v)
{
    qsizetype i = 0, f = v.size();
    while (i < f && v[i] == ' ')
        ++i;
    while (f > i && v[f - 1] == ' ')
        --f;
    return v.sliced(i, f - i);
}

bool falhar(QString* motivo, const QString& texto)
{
    if (motivo)
        *motivo = texto;
    return false;
}

} // namespace

int Esquema::indice(const QString& nome) const
{
    for (int i = 0; i < colunas.size(); ++i)
        if (colunas.at(i).nome.compare(nome, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool lerEsquema(const QString& pasta, const QString& arquivo, Esquema& esquema, QString* motivo)
{
    esquema = Esquema{};
    esquema.arquivo = arquivo;
    QFile ini(caminhoEm(pasta, QStringLiteral("Schema.ini")));
    if (!ini.open(QIODevice::ReadOnly))
        return falhar(motivo, QStringLiteral("Não foi possível ler %1: %2").arg(ini.fileName(), ini.errorString()));
    // ColN = "name" Type Width W (blanks around '=' and quotes optional).
    static const QRegularExpression coluna(
        QStringLiteral(R"re(^Col(\d+)\s*=\s*(?:"([^"]*)"|(\S+))\s+(\S+)(?:\s+Width\s+(\S*))?\s*$)re"),
        QRegularExpression::CaseInsensitiveOption);
    bool naSecao = false, achou = false;
    const QList<QByteArray> linhas = ini.readAll().split('\n');
    for (QByteArray bruta : linhas) {
        if (bruta.endsWith('\r'))
            bruta.chop(1);
        const QString l = cp1252::decodificar(bruta).trimmed();
        if (l.startsWith(u'[')) {
            naSecao = l.endsWith(u']') && l.mid(1, l.size() - 2).compare(arquivo, Qt::CaseInsensitive) == 0;
            achou = achou || naSecao;
            continue;
        }
        if (!naSecao || l.isEmpty())
            continue;
        const qsizetype igual = l.indexOf(u'=');
        const QString chave = l.left(igual).trimmed();
        const QString valor = l.mid(igual + 1).trimmed();
        if (chave.compare(QLatin1String("ColNameHeader"), Qt::CaseInsensitive) == 0) {
            esquema.cabecalho = valor.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
        } else if (chave.compare(QLatin1String("Format"), Qt::CaseInsensitive) == 0) {
            esquema.larguraFixa = valor.compare(QLatin1String("FixedLength"), Qt::CaseInsensitive) == 0;
        } else if (chave.startsWith(QLatin1String("Col"), Qt::CaseInsensitive)) {
            const QRegularExpressionMatch m = coluna.match(l);
            bool ok = m.hasMatch();
            Coluna c;
            if (ok) {
                c.numero = m.captured(1).toInt();
                c.nome = m.captured(2).isNull() ? m.captured(3) : m.captured(2);
                c.largura = m.captured(5).toInt(&ok);
                ok = ok && c.largura >= 0;
            }
            if (!ok)
                return falhar(motivo, QStringLiteral("Descrição de coluna inválida em Schema.ini: %1").arg(l));
            esquema.colunas.append(c);
        }
    }
    if (!achou)
        return falhar(motivo, QStringLiteral("Schema.ini não descreve o arquivo %1.").arg(arquivo));
    std::sort(esquema.colunas.begin(), esquema.colunas.end(),
              [](const Coluna& a, const Coluna& b) { return a.numero < b.numero; });
    if (!esquema.larguraFixa)
        return falhar(motivo, QStringLiteral("Schema.ini não descreve %1 como de largura fixa.").arg(arquivo));
    return true;
}

bool Leitor::abrir(const QString& pasta, const QString& arquivo)
{
    m_erro.clear();
    if (!lerEsquema(pasta, arquivo, m_esquema, &m_erro))
        return false;
    m_inicio.clear();
    int pos = 0;
    for (const Coluna& c : std::as_const(m_esquema.colunas)) {
        m_inicio.append(pos);
        pos += c.largura;
    }
    m_arquivo.setFileName(caminhoEm(pasta, arquivo));
    if (!m_arquivo.open(QIODevice::ReadOnly)) {
        m_erro = QStringLiteral("Não foi possível ler %1: %2").arg(m_arquivo.fileName(), m_arquivo.errorString());
        return false;
    }
    m_buf.resize(Bloco);
    m_ini = m_fim = 0;
    m_eof = false;
    m_linha = 0;
    m_crLf = m_longa = false;
    // A header line names the columns; the data starts after it.
    if (m_esquema.cabecalho && proxima())
        m_linha = 0;
    return m_erro.isEmpty();
}

bool Leitor::encher()
{
    if (m_eof)
        return false;
    if (m_ini > 0) {
        std::memmove(m_buf.data(), m_buf.constData() + m_ini, static_cast<size_t>(m_fim - m_ini));
        m_fim -= m_ini;
        m_ini = 0;
    }
    if (m_fim == m_buf.size())
        m_buf.resize(m_buf.size() * 2);   // a line longer than the buffer
    const qint64 n = m_arquivo.read(m_buf.data() + m_fim, m_buf.size() - m_fim);
    if (n < 0) {
        m_erro = QStringLiteral("Erro de leitura em %1: %2").arg(m_arquivo.fileName(), m_arquivo.errorString());
        m_eof = true;
        return false;
    }
    if (n == 0) {
        m_eof = true;
        return false;
    }
    if (m_digesto)
        m_digesto->alimentar(m_buf.constData() + m_fim, n);
    m_fim += n;
    return true;
}

bool Leitor::proxima()
{
    if (m_longa)
        return false;
    qsizetype busca = m_ini;
    for (;;) {
        // memchr for the CR: the fastest search the C library has.
        const char* ini = m_buf.constData();
        const char* cr = nullptr;
        for (const char* p = ini + busca; p < ini + m_fim;) {
            p = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(ini + m_fim - p)));
            if (!p || p + 1 >= ini + m_fim)
                break;
            if (p[1] == '\n') {
                cr = p;
                break;
            }
            ++p;
        }
        if (cr) {
            const qsizetype fimLinha = cr - ini;
            m_atual = QByteArrayView(m_buf.constData() + m_ini, fimLinha - m_ini);
            m_ini = fimLinha + 2;
            ++m_linha;
            m_crLf = true;
            return true;
        }
        if (m_limite > 0 && m_fim - m_ini > m_limite + 1) {
            // Longer than any row may be: its head is enough to tell.
            m_atual = QByteArrayView(m_buf.constData() + m_ini, m_limite + 1);
            ++m_linha;
            m_crLf = false;
            m_longa = true;
            return true;
        }
        // Look again from the last byte kept (it may be the CR of a CR LF).
        const qsizetype jaVisto = std::max<qsizetype>(m_fim - m_ini - 1, 0);
        if (!encher())
            break;
        busca = m_ini + jaVisto;
    }
    if (!m_erro.isEmpty() || m_ini >= m_fim)
        return false;
    // The last line without its CR LF.
    m_atual = QByteArrayView(m_buf.constData() + m_ini, m_fim - m_ini);
    m_ini = m_fim;
    ++m_linha;
    m_crLf = false;
    return true;
}

QByteArrayView Leitor::coluna(int i) const
{
    if (i < 0 || i >= m_inicio.size())
        return {};
    const qsizetype ini = m_inicio.at(i);
    if (ini >= m_atual.size())
        return {};
    const qsizetype n = std::min<qsizetype>(m_esquema.colunas.at(i).largura, m_atual.size() - ini);
    return m_atual.sliced(ini, n);
}

QByteArrayView Leitor::valor(int i) const
{
    return aparar(coluna(i));
}

QByteArrayView Leitor::valorSemBrancosFinais(int i) const
{
    return semBrancosFinais(coluna(i));
}

} // namespace textofixo
