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
