// tobri-bench: runs an import without windows, as the Importar button does
// (reset, compaction, record tests, accepted copy, .lay, status row,
// compaction), and prints one JSON line with the counters, the status, the
// elapsed seconds and the peak memory.
//
//   tobri-bench import --data DIR --in 68|86 --cnpj 99.999.999/9999-99
//               --inicio dd/mm/yyyy --fim dd/mm/yyyy --tipo N FILE
//
// The declaration is registered (register + database from the template in
// the executable's folder) when it is not registered yet; the working layout
// of the type is the standard one. Messages go to stderr.
#include "BenchValidar.h"
#include "import/motor/Motor.h"
#include "platform/Dialogos.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrinter>

#include <sys/resource.h>

#include <cstdio>

namespace {

// Prints every message box to stderr and answers OK / No.
class DialogosRegistrados : public dlg::Dialogos {
public:
    int mensagem(const dlg::Mensagem& m) override
    {
        std::fprintf(stderr, "mensagem: %s\n", qPrintable(QString(m.texto).replace(QStringLiteral("\r\n"), QStringLiteral(" | "))));
        return m.botoes == dlg::Botoes::SimNao ? dlg::RespNao : dlg::RespOk;
    }
    QString escolherPasta(const QString&, const QString&) override { return {}; }
    QString escolherArquivo(const QString&, const QString&, const QString&) override { return {}; }
    bool dialogoImpressora(QPrinter&) override { return false; }
};

int uso()
{
    std::fprintf(stderr,
                 "uso: tobri-bench import --data DIR --in 68|86 --cnpj 99.999.999/9999-99 "
                 "--inicio dd/mm/yyyy --fim dd/mm/yyyy --tipo N ARQUIVO\n"
                 "     tobri-bench validate --data DIR --in 68|86 --cnpj 99.999.999/9999-99 "
                 "--inicio dd/mm/yyyy --fim dd/mm/yyyy\n");
    return 2;
}

int falha(const QString& texto)
{
    std::fprintf(stderr, "tobri-bench: %s\n", qPrintable(QString(texto).replace(QStringLiteral("\r\n"), QStringLiteral(" | "))));
    return 1;
}

// Registers the declaration when it is new and opens gConn on its database.
bool abrirDeclaracao(QString& msg)
{
    Geral& g = geral();
    if (!criaRegistroSeAusente(msg))
        return false;
    if (!AbreBanco(msg, false, false, g.gErroAbertura))
        return false;
    const QVariantList chave{g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal)};
    db::Erro e;
    const QVariant n = g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbempresariosImportados WHERE "
                                                       "INarquivo = ? AND CNPJ = ? AND periodoinicial = ? AND periodofinal = ?"),
                                        chave, &e);
    if (!e.ok()) {
        msg = textoErro(e);
        return false;
    }
    const bool nova = n.toInt() == 0 || !QFileInfo::exists(caminhoBancoDeclaracao());
    const QString ins = QStringLiteral("INSERT INTO tbempresariosImportados (INarquivo, CNPJ, periodoinicial, "
                                       "periodofinal, Nome) VALUES (?, ?, ?, ?, ?)");
    const QVariantList linha = chave + QVariantList{QStringLiteral("Empresa de Teste")};
    if (n.toInt() == 0 && !g.gConn->executar(ins, linha, &e)) {
        msg = textoErro(e);
        return false;
    }
    g.gConn->fechar();
    if (!AbreBanco(msg, true, nova, g.gErroAbertura))
        return false;
    if (nova && !g.gConn->executar(ins, linha, &e)) {
        msg = textoErro(e);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 2 && args.at(1) == QLatin1String("validate")) {
        const int r = benchValidar(args);
        return r == 2 ? uso() : r;
    }
    if (args.size() < 2 || args.at(1) != QLatin1String("import"))
        return uso();
    QString dados, cnpj, inicio, fim, arquivo;
    int in = 0, tipo = 0;
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args.at(i);
        auto valor = [&]() { return i + 1 < args.size() ? args.at(++i) : QString(); };
        if (a == QLatin1String("--data"))
            dados = valor();
        else if (a == QLatin1String("--in"))
            in = valor().toInt();
        else if (a == QLatin1String("--cnpj"))
            cnpj = valor();
        else if (a == QLatin1String("--inicio"))
            inicio = valor();
        else if (a == QLatin1String("--fim"))
            fim = valor();
        else if (a == QLatin1String("--tipo"))
            tipo = valor().toInt();
        else if (!a.startsWith(QLatin1String("--")) && arquivo.isEmpty())
            arquivo = a;
        else
            return uso();
    }
    const QDate dInicio = QDate::fromString(inicio, QStringLiteral("dd/MM/yyyy"));
    const QDate dFim = QDate::fromString(fim, QStringLiteral("dd/MM/yyyy"));
    if (dados.isEmpty() || (in != 68 && in != 86) || cnpj.isEmpty() || !dInicio.isValid() || !dFim.isValid()
        || tipo < 1 || tipo > 9 || arquivo.isEmpty())
        return uso();

    DialogosRegistrados dialogos;
    dlg::definirDialogos(&dialogos);
    QDir().mkpath(dados);
    definirPastas(Pastas{QCoreApplication::applicationDirPath(), QDir(dados).absolutePath()});

    Geral& g = geral();
    g.gIN = static_cast<qint16>(in);
    g.gCNPJ = cnpj;
    for (QChar c : cnpj)
        if (c.isDigit())
            g.gCNPJNumeros += c;
    g.gPeriodoInicial = dInicio;
    g.gPeriodoFinal = dFim;
    g.gTipoArquivo = static_cast<qint16>(tipo);
    g.gArquivoOrigem = QFileInfo(arquivo).absoluteFilePath();

    QString msg;
    if (!abrirDeclaracao(msg))
        return falha(msg);
    if (!motor::copiarLeiautePadrao(msg))
        return falha(msg);
    const QVariant soma = g.gConn->escalar(
        QStringLiteral("SELECT sum(Tamanho) FROM TbleiauteDIG WHERE INarquivo = ? AND TipoArquivo = ?"), {in, tipo});
    g.gTamanhoARQ = static_cast<qint16>(soma.toInt());

    QElapsedTimer relogio;
    relogio.start();
    motor::Painel painel;
    const motor::FimImportacao fimRun = motor::executarImportacao(painel);
    const double segundos = static_cast<double>(relogio.nsecsElapsed()) / 1e9;

    QString situacao = QStringLiteral("null");
    if (g.gConn && g.gConn->aberta()) {
        const QVariant s = g.gConn->escalar(
            QStringLiteral("SELECT Situacao FROM tbImportados WHERE INarquivo = ? AND CNPJ = ? AND periodoinicial = ? "
                           "AND periodofinal = ? AND Tipo = ?"),
            {g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal), g.gTipoArquivo});
        if (s.isValid())
            situacao = QString::number(s.toInt());
    }
    struct rusage uso {};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("{\"lidos\": %lld, \"corretos\": %lld, \"erros\": %lld, \"status\": %s, \"segundos\": %.3f, "
                "\"pico_kb\": %ld}\n",
                static_cast<long long>(g.gRegLidos), static_cast<long long>(g.gRegCorretos),
                static_cast<long long>(g.gRegErros), qPrintable(situacao), segundos, uso.ru_maxrss);
    std::fflush(stdout);
    if (g.gConn)
        g.gConn->fechar();
    dlg::definirDialogos(nullptr);
    return fimRun == motor::FimImportacao::Concluida ? 0 : 1;
}
