// tobri-bench validate --data DIR --in 68|86 --cnpj 99.999.999/9999-99
//                      --inicio dd/mm/yyyy --fim dd/mm/yyyy
//
// Validates a registered, imported declaration as the Validar picker and the
// run window do (open, test of the imported files, reset, reload, the five
// checks, statuses, compaction) and prints one JSON line: the refusal or stop
// message (or null), whether a check found a difference, the entry totals,
// the elapsed seconds and the peak memory. Messages go to stderr.
#include "BenchValidar.h"

#include "Bancada.h"

#include "platform/Dialogos.h"
#include "shell/Geral.h"
#include "validation/motor/Execucao.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

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
    bancada::Declaracao d;
    for (int i = 2; i < args.size(); ++i)
        if (!bancada::lerOpcaoComum(args, i, d))
            return 2;
    if (!d.completa())
        return 2;

    bancada::Sessao sessao(d);
    Geral& g = geral();

    QElapsedTimer relogio;
    relogio.start();
    QString mensagem;
    bool parou = false;
    validacao::Estado estado;
    auto parar = [&](const QString& texto) {
        parou = true;
        mensagem = texto.isNull() ? QStringLiteral("") : texto;
        dlg::MsgBox(texto);
    };
    QString recusa;
    if (!sessao.recusa().isEmpty())
        parar(sessao.recusa());
    else if (!AbreBanco(g.gMsg, true, false, g.gErroAbertura))
        parar(g.gErroAbertura == db::ErroBanco ? TextoBancoNaoEncontrado : g.gMsg);
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
    std::printf("{\"mensagem\": %s, \"erro\": %s, \"debitos\": %s, \"creditos\": %s, \"segundos\": %s, "
                "\"pico_kb\": %ld}\n",
                qPrintable(json(mensagem)), estado.erro ? "true" : "false", qPrintable(numero(g.gTotalDebitos)),
                qPrintable(numero(g.gTotalCreditos)), QByteArray::number(segundos, 'f', 3).constData(),
                bancada::picoKb());
    std::fflush(stdout);
    return parou ? 1 : 0;
}
