// tobri-bench gravar: records the delivery set of a declaration as the
// recording windows do (precondition, company name, Gravar), and prints one
// JSON line: "mensagem" (null on success, else the refusal or failure text),
// "arquivos" (the names written), "segundos" and "pico_kb".
//
//   tobri-bench gravar --data DIR --in 68|86 --cnpj 99.999.999/9999-99
//               --inicio dd/mm/yyyy --fim dd/mm/yyyy --destino DIR
#include "BenchGravar.h"

#include "Bancada.h"

#include "delivery/motor/Gravacao.h"
#include "shell/Geral.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

// The declaration opened as the picker opens it, then the recording as
// Gravar runs it; the empty text on success.
QString gravar(QStringList& arquivos)
{
    Geral& g = geral();
    // Refused as the recording's other refusals are.
    if (!AbreBanco(g.gMsg, true, false, g.gErroAbertura))
        return entrega::comNaoEfetuada(g.gMsg);
    if (!entrega::gravarEntrega(&arquivos))
        return g.gMsg;
    return QString();
}

} // namespace

int benchGravar(const QStringList& args)
{
    bancada::Declaracao d;
    QString destino;
    for (int i = 2; i < args.size(); ++i) {
        if (bancada::lerOpcaoComum(args, i, d))
            continue;
        if (args.at(i) == QLatin1String("--destino") && i + 1 < args.size())
            destino = args.at(++i);
        else
            return 2;
    }
    if (!d.completa() || destino.isEmpty())
        return 2;

    bancada::Sessao sessao(d);
    geral().gDestino = QDir(destino).absolutePath();

    QElapsedTimer relogio;
    relogio.start();
    QStringList arquivos;
    const QString mensagem = sessao.recusa().isEmpty() ? gravar(arquivos) : sessao.recusa();
    const double segundos = static_cast<double>(relogio.nsecsElapsed()) / 1e9;

    QJsonObject o;
    o.insert(QStringLiteral("mensagem"), mensagem.isEmpty() ? QJsonValue() : QJsonValue(mensagem));
    o.insert(QStringLiteral("arquivos"), QJsonArray::fromStringList(arquivos));
    o.insert(QStringLiteral("segundos"), qRound64(segundos * 1000) / 1000.0);
    o.insert(QStringLiteral("pico_kb"), static_cast<qint64>(bancada::picoKb()));
    std::printf("%s\n", QJsonDocument(o).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
    if (!mensagem.isEmpty())
        bancada::falha(QString(mensagem).replace(QStringLiteral("\r\n"), QStringLiteral(" | ")));
    return mensagem.isEmpty() ? 0 : 1;
}
