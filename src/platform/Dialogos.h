#pragma once
// Message boxes and the printer dialog, behind an
// interface so tests can answer them.
#include <QString>
#include <QStringList>

class QWidget;
class QPrinter;

namespace dlg {

enum class Icone { Nenhum, Informacao, Critico, Exclamacao, Pergunta };
enum class Botoes { Ok, SimNao, OkCancelar };

// Answers, with the numbers the system tests.
inline constexpr int RespOk = 1;
inline constexpr int RespCancelar = 2;
inline constexpr int RespSim = 6;
inline constexpr int RespNao = 7;

inline const QString TituloPadrao = QStringLiteral("Tobri Contábeis");

struct Mensagem {
    QString texto;
    Icone icone = Icone::Nenhum;
    Botoes botoes = Botoes::Ok;
    QString titulo;
};

class Dialogos {
public:
    virtual ~Dialogos() = default;
    virtual int mensagem(const Mensagem& m) = 0;
    // The printer dialog; false when cancelled.
    virtual bool dialogoImpressora(QPrinter& impressora) = 0;
    // The printer set-up ("Configurar Impressão"): choose the printer and its
    // options without printing; false when cancelled.
    virtual bool configurarImpressora(QPrinter& impressora) { return dialogoImpressora(impressora); }
};

// The dialogs in force (the Qt ones unless replaced).
Dialogos& dialogos();
// Replaces the dialogs; nullptr restores the Qt ones. Not owned.
void definirDialogos(Dialogos* d);

// Shortcut for a message box with the default title when none is given.
int MsgBox(const QString& texto, Icone icone = Icone::Nenhum, Botoes botoes = Botoes::Ok,
           const QString& titulo = QString());

class DialogosQt : public Dialogos {
public:
    int mensagem(const Mensagem& m) override;
    bool dialogoImpressora(QPrinter& impressora) override;
    bool configurarImpressora(QPrinter& impressora) override;
};

} // namespace dlg
