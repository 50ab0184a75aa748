// tobri-bench: runs an import without windows, as the Importar button does
// (the source-file pre-check, then reset, compaction, record tests, accepted
// copy, .lay, status row, compaction), and prints one JSON line with the
// counters, the status, the elapsed seconds and the peak memory.
//
//   tobri-bench import --data DIR --in 68|86 --cnpj 99.999.999/9999-99
//               --inicio dd/mm/yyyy --fim dd/mm/yyyy --tipo N FILE
//   tobri-bench validate (see BenchValidar.cpp)
//   tobri-bench gravar (see BenchGravar.cpp)
//
// The declaration is registered when the register lacks it; its database is
// made from the template in the executable's folder only when it does not
// exist. The working layout of the type is the standard one. Messages go to
// stderr. Exit 0 when the run completed, 1 when it was refused or stopped,
// 2 on wrong usage.
#include "Bancada.h"
#include "BenchGravar.h"
#include "BenchValidar.h"

#include "import/PreChecagem.h"
#include "import/motor/Motor.h"
#include "shell/Geral.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace {

int uso()
{
    std::fprintf(stderr,
                 "uso: tobri-bench import --data DIR --in 68|86 --cnpj 99.999.999/9999-99 "
                 "--inicio dd/mm/yyyy --fim dd/mm/yyyy --tipo N ARQUIVO\n"
                 "     tobri-bench validate --data DIR --in 68|86 --cnpj 99.999.999/9999-99 "
                 "--inicio dd/mm/yyyy --fim dd/mm/yyyy\n"
                 "     tobri-bench gravar --data DIR --in 68|86 --cnpj 99.999.999/9999-99 "
                 "--inicio dd/mm/yyyy --fim dd/mm/yyyy --destino DIR\n");
    return 2;
}

// The source-file window's pre-check; false after printing its message. A
// path that does not exist is what the import window says of a file gone.
bool preChecar(const QString& arquivo)
{
    using prechecagem::Resultado;
    if (!QFileInfo::exists(arquivo)) {
        dlg::MsgBox(prechecagem::TextoInexistente);
        return false;
    }
    switch (prechecagem::verificar(arquivo)) {
    case Resultado::Aceito:
        return true;
    case Resultado::Vazio:
        dlg::MsgBox(prechecagem::TextoVazio);
        return false;
    case Resultado::Inacessivel:
        dlg::MsgBox(prechecagem::TextoMidia, dlg::Icone::Critico);
        return false;
    case Resultado::TamanhoInvalido:
        dlg::MsgBox(prechecagem::TextoInvalido);
        return false;
    case Resultado::ErroLeiaute:
    case Resultado::ErroLeitura:
        dlg::MsgBox(geral().gMsg, dlg::Icone::Critico);
        return false;
    }
    return false;
}

void imprimirJson(double segundos)
{
    const Geral& g = geral();
    // The seconds are written with a point whatever the locale (printf follows LC_NUMERIC).
    std::printf("{\"lidos\": %lld, \"corretos\": %lld, \"erros\": %lld, \"status\": %s, \"segundos\": %s, "
                "\"pico_kb\": %ld}\n",
                static_cast<long long>(g.gRegLidos), static_cast<long long>(g.gRegCorretos),
                static_cast<long long>(g.gRegErros), qPrintable(bancada::situacaoJson()),
                QByteArray::number(segundos, 'f', 3).constData(), bancada::picoKb());
    std::fflush(stdout);
}

int comandoImport(const QStringList& args)
{
    bancada::Declaracao d;
    QString arquivo;
    int tipo = 0;
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (bancada::lerOpcaoComum(args, i, d))
            continue;
        if (a == QLatin1String("--tipo") && i + 1 < args.size())
            tipo = args.at(++i).toInt();
        else if (!a.startsWith(QLatin1String("--")) && arquivo.isEmpty())
            arquivo = a;
        else
            return uso();
    }
    if (!d.completa() || tipo < 1 || tipo > 9 || arquivo.isEmpty())
        return uso();

    bancada::Sessao sessao(d);
    Geral& g = geral();
    g.gTipoArquivo = static_cast<qint16>(tipo);
    g.gArquivoOrigem = QFileInfo(arquivo).absoluteFilePath();

    QString msg = sessao.recusa();
    if (!msg.isEmpty() || !bancada::abrirDeclaracao(msg) || !motor::copiarLeiautePadrao(msg)) {
        bancada::falha(msg);
        imprimirJson(0);
        return 1;
    }
    if (!preChecar(g.gArquivoOrigem)) {
        imprimirJson(0);
        return 1;
    }

    QElapsedTimer relogio;
    relogio.start();
    motor::Painel painel;
    const motor::FimImportacao fim = motor::executarImportacao(painel);
    imprimirJson(static_cast<double>(relogio.nsecsElapsed()) / 1e9);
    return fim == motor::FimImportacao::Concluida ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString recusa;
    if (!bancada::nomesUtilizaveis(argc, argv, recusa))
        return bancada::falha(recusa);
    const QStringList args = app.arguments();
    const QString comando = args.size() >= 2 ? args.at(1) : QString();
    if (comando == QLatin1String("import"))
        return comandoImport(args);
    if (comando == QLatin1String("validate")) {
        const int r = benchValidar(args);
        return r == 2 ? uso() : r;
    }
    if (comando == QLatin1String("gravar")) {
        const int r = benchGravar(args);
        return r == 2 ? uso() : r;
    }
    return uso();
}
