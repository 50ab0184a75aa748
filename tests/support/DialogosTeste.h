#pragma once
// Scripted dialogs: records every message and answers from queues.
#include "platform/Dialogos.h"

#include <QList>
#include <QQueue>
#include <functional>

namespace dlg {

class DialogosTeste : public Dialogos {
public:
    DialogosTeste() { definirDialogos(this); }
    ~DialogosTeste() override { definirDialogos(nullptr); }

    QList<Mensagem> mensagens;
    QQueue<int> respostas;         // for message boxes; empty: OK, or No for a question
    QQueue<bool> impressora;       // printer dialog; empty: accepted
    // Called with every message before it is answered (e.g. to act on the screen).
    std::function<void(const Mensagem&)> aoMostrar;
    // Called with the printer of every printer dialog and printer set-up
    // before it is answered (to read it, or change it as a user would).
    std::function<void(QPrinter&)> aoEscolherImpressora;
    int configuracoesImpressora = 0;  // printer set-ups shown

    QStringList textos() const;
    QString ultimo() const { return mensagens.isEmpty() ? QString() : mensagens.last().texto; }
    void limpar() { mensagens.clear(); }

    int mensagem(const Mensagem& m) override;
    bool dialogoImpressora(QPrinter& impressora) override;
    bool configurarImpressora(QPrinter& impressora) override;
};

} // namespace dlg
