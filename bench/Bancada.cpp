#include "Bancada.h"

#include "platform/Banco.h"
#include "platform/NomesNativos.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"
#include "shell/frmAbertura.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <sys/resource.h>

#include <cstdio>

namespace bancada {

namespace {
QString umaLinha(QString texto)
{
    return texto.replace(QStringLiteral("\r\n"), QStringLiteral(" | "));
}
} // namespace

bool Declaracao::completa() const
{
    return !dados.isEmpty() && (in == 68 || in == 86) && !cnpj.isEmpty() && inicio.isValid() && fim.isValid();
}

bool lerOpcaoComum(const QStringList& args, int& i, Declaracao& d)
{
    const QString& a = args.at(i);
    auto valor = [&]() { return i + 1 < args.size() ? args.at(++i) : QString(); };
    auto data = [](const QString& s) { return QDate::fromString(s, QStringLiteral("dd/MM/yyyy")); };
    if (a == QLatin1String("--data"))
        d.dados = valor();
    else if (a == QLatin1String("--in"))
        d.in = valor().toInt();
    else if (a == QLatin1String("--cnpj"))
        d.cnpj = valor();
    else if (a == QLatin1String("--inicio"))
        d.inicio = data(valor());
    else if (a == QLatin1String("--fim"))
        d.fim = data(valor());
    else
        return false;
    return true;
}

bool nomesUtilizaveis(int argc, char** argv, QString& recusa)
{
    if (!nomes::pastaDoProgramaRepresentavel(&recusa))
        return false;
    const QList<QByteArray> comValor{"--data", "--destino", "--in", "--cnpj", "--inicio", "--fim", "--tipo"};
    for (int i = 2; i < argc; ++i) {
        const QByteArray a(argv[i]);
        const QByteArray anterior(argv[i - 1]);
        const bool pasta = anterior == "--data" || anterior == "--destino";
        const bool arquivo = !pasta && !a.startsWith("--") && !comValor.contains(anterior);
        if (!pasta && !arquivo)
            continue;
        if (!nomes::representavel(a)) {
            recusa = nomes::textoRecusa(pasta ? nomes::Tipo::Pasta : nomes::Tipo::Arquivo, a);
            return false;
        }
        QString daAtual;
        if (!a.startsWith('/') && nomes::pastaAtual(&daAtual).isEmpty() && !daAtual.isEmpty()) {
            recusa = daAtual;
            return false;
        }
    }
    return true;
}

int DialogosRegistrados::mensagem(const dlg::Mensagem& m)
{
    std::fprintf(stderr, "mensagem: %s\n", qPrintable(umaLinha(m.texto)));
    return m.botoes == dlg::Botoes::SimNao ? dlg::RespNao : dlg::RespOk;
}

Sessao::Sessao(const Declaracao& d)
{
    dlg::definirDialogos(&m_dialogos);
    QDir().mkpath(d.dados);
    definirPastas(Pastas{QCoreApplication::applicationDirPath(), QDir(d.dados).absolutePath()});
    m_instancia = std::make_unique<InstanciaUnica>(pastas().dados);
    m_instancia->adquirir();
    Geral& g = geral();
    g.gIN = static_cast<qint16>(d.in);
    g.gCNPJ = d.cnpj;
    g.gCNPJNumeros = soDigitos(d.cnpj);
    g.gPeriodoInicial = d.inicio;
    g.gPeriodoFinal = d.fim;
}

QString Sessao::recusa() const
{
    return m_instancia->adquirida() ? QString() : MsgSessaoAberta.trimmed();
}

Sessao::~Sessao()
{
    Geral& g = geral();
    if (g.gConn)
        g.gConn->fechar();
    g.gConn.reset();
    dlg::definirDialogos(nullptr);
}

bool abrirDeclaracao(QString& msg)
{
    Geral& g = geral();
    if (!criaRegistroSeAusente(msg))
        return false;
    if (!AbreBanco(msg, false, false, g.gErroAbertura))
        return false;
    const QVariantList chave = chaveDeclaracao();
    const QString ins = QStringLiteral("INSERT INTO tbempresariosImportados (INarquivo, CNPJ, periodoinicial, "
                                       "periodofinal, Nome) VALUES (?, ?, ?, ?, ?)");
    const QVariantList linha = chave + QVariantList{QStringLiteral("Empresa de Teste")};
    db::Erro e;
    const QVariant n = g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbempresariosImportados") + filtroDeclaracao(),
                                        chave, &e);
    if (!e.ok() || (n.toInt() == 0 && !g.gConn->executar(ins, linha, &e))) {
        msg = textoErro(e);
        return false;
    }
    g.gConn->fechar();
    // Only a missing database is made from the template: one that exists
    // holds the other types' imports.
    const bool nova = !QFileInfo::exists(caminhoBancoDeclaracao());
    if (!AbreBanco(msg, true, nova, g.gErroAbertura))
        return false;
    if (nova && !g.gConn->executar(ins, linha, &e)) {
        msg = textoErro(e);
        return false;
    }
    return true;
}

int falha(const QString& texto)
{
    std::fprintf(stderr, "tobri-bench: %s\n", qPrintable(umaLinha(texto)));
    return 1;
}

QString situacaoJson()
{
    const Geral& g = geral();
    db::Conexao c;
    if (!QFileInfo(caminhoBancoDeclaracao()).isFile() || !c.abrir(caminhoBancoDeclaracao()))
        return QStringLiteral("null");
    const QVariant s = c.escalar(
        QStringLiteral("SELECT Situacao FROM tbImportados") + filtroDeclaracao() + QStringLiteral(" AND Tipo = ?"),
        chaveDeclaracao() << g.gTipoArquivo);
    return s.isValid() && !s.isNull() ? QString::number(s.toInt()) : QStringLiteral("null");
}

long picoKb()
{
    struct rusage uso {};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

} // namespace bancada
