#include "DialogosTeste.h"

namespace dlg {

QStringList DialogosTeste::textos() const
{
    QStringList r;
    for (const auto& m : mensagens)
        r << m.texto;
    return r;
}

int DialogosTeste::mensagem(const Mensagem& m)
{
    mensagens << m;
    if (aoMostrar)
        aoMostrar(m);
    if (!respostas.isEmpty())
        return respostas.dequeue();
    return m.botoes == Botoes::SimNao ? RespNao : RespOk;
}

QString DialogosTeste::escolherPasta(const QString&, const QString&)
{
    return pastas.isEmpty() ? QString() : pastas.dequeue();
}

QString DialogosTeste::escolherArquivo(const QString&, const QString&, const QString&)
{
    return arquivos.isEmpty() ? QString() : arquivos.dequeue();
}

bool DialogosTeste::dialogoImpressora(QPrinter& p)
{
    if (aoEscolherImpressora)
        aoEscolherImpressora(p);
    return impressora.isEmpty() ? true : impressora.dequeue();
}

bool DialogosTeste::configurarImpressora(QPrinter& p)
{
    ++configuracoesImpressora;
    return dialogoImpressora(p);
}

} // namespace dlg
