// tobri-bench gravar: records the delivery set of a declaration as the
// recording windows do (precondition, company name, Gravar), and prints one
// JSON line: "mensagem" (null on success, else the refusal or failure text),
// "arquivos" (the names written), "segundos" and "pico_kb".
//
//   tobri-bench gravar --data DIR --in 68|86 --cnpj 99.999.999/9999-99
//               --inicio dd/mm/yyyy --fim dd/mm/yyyy --destino DIR
#include "BenchGravar.h"

#include "delivery/motor/Gravacao.h"
#include "platform/Dialogos.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/resource.h>

#include <cstdio>

namespace {

int usoGravar()
{
    std::fprintf(stderr, "uso: tobri-bench gravar --data DIR --in 68|86 --cnpj 99.999.999/9999-99 "
                         "--inicio dd/mm/yyyy --fim dd/mm/yyyy --destino DIR\n");
    return 2;
}

// Every message box goes to stderr; questions are answered No.
class DialogosGravar : public dlg::Dialogos {
public:
    int mensagem(const dlg::Mensagem& m) override
    {
        std::fprintf(stderr, "mensagem: %s\n",
                     qPrintable(QString(m.texto).replace(QStringLiteral("\r\n"), QStringLiteral(" | "))));
        return m.botoes == dlg::Botoes::SimNao ? dlg::RespNao : dlg::RespOk;
    }
    QString escolherPasta(const QString&, const QString&) override { return {}; }
    QString escolherArquivo(const QString&, const QString&, const QString&) override { return {}; }
    bool dialogoImpressora(QPrinter&) override { return false; }
};

// The recording as the windows run it; the empty text on success.
QString gravar(QStringList& arquivos)
{
    Geral& g = geral();
    if (!AbreBanco(g.gMsg, true, false, g.gErroAbertura))
        return g.gMsg;
    QString mensagem;
    if (!entrega::Verifica_Importados(mensagem))
        return g.gMsg;
    if (!mensagem.isEmpty())
        return mensagem;
    bool achou = false;
    QString nome;
    if (!entrega::fun_Empresarial(achou, nome))
        return g.gMsg;
    if (!achou)
        std::fprintf(stderr, "mensagem: %s\n", qPrintable(entrega::MsgSemEmpresa));
    if (!entrega::gravarConjunto(nome, &arquivos))
        return g.gMsg;
    return QString();
}

} // namespace

int benchGravar(const QStringList& args)
{
    QString dados, cnpj, inicio, fim, destino;
    int in = 0;
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (i + 1 >= args.size())
            return usoGravar();
        const QString v = args.at(++i);
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
        else if (a == QLatin1String("--destino"))
            destino = v;
        else
            return usoGravar();
    }
    const QDate dInicio = QDate::fromString(inicio, QStringLiteral("dd/MM/yyyy"));
    const QDate dFim = QDate::fromString(fim, QStringLiteral("dd/MM/yyyy"));
    if (dados.isEmpty() || (in != 68 && in != 86) || cnpj.isEmpty() || !dInicio.isValid() || !dFim.isValid()
        || destino.isEmpty())
        return usoGravar();

    DialogosGravar dialogos;
    dlg::definirDialogos(&dialogos);
    definirPastas(Pastas{QCoreApplication::applicationDirPath(), QDir(dados).absolutePath()});
    Geral& g = geral();
    g.gIN = static_cast<qint16>(in);
    g.gCNPJ = cnpj;
    g.gCNPJNumeros = soDigitos(cnpj);
    g.gPeriodoInicial = dInicio;
    g.gPeriodoFinal = dFim;
    g.gDestino = QDir(destino).absolutePath();

    QElapsedTimer relogio;
    relogio.start();
    QStringList arquivos;
    const QString mensagem = gravar(arquivos);
    const double segundos = static_cast<double>(relogio.nsecsElapsed()) / 1e9;
    struct rusage uso {};
    getrusage(RUSAGE_SELF, &uso);

    QJsonObject o;
    o.insert(QStringLiteral("mensagem"), mensagem.isEmpty() ? QJsonValue() : QJsonValue(mensagem));
    o.insert(QStringLiteral("arquivos"), QJsonArray::fromStringList(arquivos));
    o.insert(QStringLiteral("segundos"), qRound64(segundos * 1000) / 1000.0);
    o.insert(QStringLiteral("pico_kb"), static_cast<qint64>(uso.ru_maxrss));
    std::printf("%s\n", QJsonDocument(o).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
    if (!mensagem.isEmpty())
        std::fprintf(stderr, "tobri-bench: %s\n",
                     qPrintable(QString(mensagem).replace(QStringLiteral("\r\n"), QStringLiteral(" | "))));
    if (g.gConn)
        g.gConn->fechar();
    dlg::definirDialogos(nullptr);
    return mensagem.isEmpty() ? 0 : 1;
}
