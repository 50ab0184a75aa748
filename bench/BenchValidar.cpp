// tobri-bench validate --data DIR --in 68|86 --cnpj 99.999.999/9999-99
//                      --inicio dd/mm/yyyy --fim dd/mm/yyyy
//
// Validates a registered, imported declaration as the Validar picker and the
// run window do (open, test of the imported files, reset, reload, the five
// checks, statuses, compaction) and prints one JSON line: the refusal or stop
// message (or null), whether a check found a difference, the entry totals,
// the elapsed seconds and the peak memory. Messages go to stderr.
#include "BenchValidar.h"

#include "platform/Dialogos.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "validation/motor/Execucao.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPrinter>

#include <sys/resource.h>

#include <cstdio>

namespace {

QString umaLinha(const QString& t)
{
    return QString(t).replace(QStringLiteral("\r\n"), QStringLiteral(" | "));
}

// Prints every message box to stderr and answers OK / No.
class DialogosSaida : public dlg::Dialogos {
public:
    int mensagem(const dlg::Mensagem& m) override
    {
        std::fprintf(stderr, "mensagem: %s\n", qPrintable(umaLinha(m.texto)));
        return m.botoes == dlg::Botoes::SimNao ? dlg::RespNao : dlg::RespOk;
    }
    QString escolherPasta(const QString&, const QString&) override { return {}; }
    QString escolherArquivo(const QString&, const QString&, const QString&) override { return {}; }
    bool dialogoImpressora(QPrinter&) override { return false; }
};

QString json(const QString& t)
{
    if (t.isNull())
        return QStringLiteral("null");
    QString r = QStringLiteral("\"");
    for (QChar c : t) {
        if (c == u'"' || c == u'\\')
            r += u'\\' + QString(c);
        else if (c == u'\r')
            r += QStringLiteral("\\r");
        else if (c == u'\n')
            r += QStringLiteral("\\n");
        else if (c.unicode() < 0x20)
            r += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            r += c;
    }
    return r + u'"';
}

// Money as a JSON number with a decimal point, exact.
QString numero(Moeda m)
{
    return m.textoDecimal().replace(u',', u'.');
}

} // namespace

int benchValidar(const QStringList& args)
{
    QString dados, cnpj, inicio, fim;
    int in = 0;
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const QString v = i + 1 < args.size() ? args.at(i + 1) : QString();
        ++i;
        if (a == QLatin1String("--data"))
            dados = v;
        else if (a == QLatin1String("--in"))
            in = v.toInt();
        else if (a == QLatin1String("--cnpj"))
            cnpj = v;
        else if (a == QLatin1String("--inicio"))
            inicio = v;
        else if (a == QLatin1String("--fim"))
            fim = v;
        else
            return 2;
    }
    const QDate dInicio = QDate::fromString(inicio, QStringLiteral("dd/MM/yyyy"));
    const QDate dFim = QDate::fromString(fim, QStringLiteral("dd/MM/yyyy"));
    if (dados.isEmpty() || (in != 68 && in != 86) || cnpj.isEmpty() || !dInicio.isValid() || !dFim.isValid())
        return 2;

    DialogosSaida dialogos;
    dlg::definirDialogos(&dialogos);
    definirPastas(Pastas{QCoreApplication::applicationDirPath(), QDir(dados).absolutePath()});
    Geral& g = geral();
    g.gIN = static_cast<qint16>(in);
    g.gCNPJ = cnpj;
    g.gCNPJNumeros = soDigitos(cnpj);
    g.gPeriodoInicial = dInicio;
    g.gPeriodoFinal = dFim;

    QElapsedTimer relogio;
    relogio.start();
    QString mensagem;
    bool parou = false;
    validacao::Estado estado;
    auto parar = [&](const QString& texto) {
        parou = true;
        mensagem = texto.isNull() ? QStringLiteral("") : texto;
        std::fprintf(stderr, "mensagem: %s\n", qPrintable(umaLinha(texto)));
    };
    QString recusa;
    if (!AbreBanco(g.gMsg, true, false, g.gErroAbertura))
        parar(g.gErroAbertura == db::ErroBanco
                  ? QStringLiteral("Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a "
                                   "opção Excluir e exclua o período com problemas e posteriormente crie na opção "
                                   "Novo o mesmo período.")
                  : g.gMsg);
    else if (!validacao::Verifica_Importados(recusa))
        parar(g.gMsg);
    else if (!recusa.isEmpty())
        parar(recusa);
    else if (!validacao::fun_deleta_saldosFinalInicialDetalhe())
        parar(g.gMsg);
    else {
        validacao::Painel painel;
        if (!validacao::executarValidacao(painel, estado))
            parar(g.gMsg);
        else if (!Fun_CompactaBanco())
            parar(g.gMsg);
    }
    const double segundos = static_cast<double>(relogio.nsecsElapsed()) / 1e9;
    struct rusage uso {};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("{\"mensagem\": %s, \"erro\": %s, \"debitos\": %s, \"creditos\": %s, \"segundos\": %.3f, "
                "\"pico_kb\": %ld}\n",
                qPrintable(json(mensagem)), estado.erro ? "true" : "false", qPrintable(numero(g.gTotalDebitos)),
                qPrintable(numero(g.gTotalCreditos)), segundos, uso.ru_maxrss);
    std::fflush(stdout);
    if (g.gConn)
        g.gConn->fechar();
    dlg::definirDialogos(nullptr);
    return parou ? 1 : 0;
}
