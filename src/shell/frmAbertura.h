#pragma once
// The splash window and the start-up gate: one running copy, and regional
// settings with the Brazilian number and date conventions.
#include "platform/ValoresLocale.h"

#include <QString>
#include <QWidget>
#include <memory>

class QLabel;
class QTimer;
class InstanciaUnica;

// Start-up messages.
inline const QString MsgSessaoAberta = QStringLiteral("Já existe uma sessão aberta para o aplicativo. ");
inline const QString TituloSessaoAberta = QStringLiteral("Tobri Contábeis.");
inline const QString MsgConfigNumero = QStringLiteral(
    "Para o sistema funcionar corretamente, alterar em Configurações Regionais/Opções Regionais do Painel de "
    "Controle, na guia Número, o símbolo decimal para ',', o número de digítos decimais para 2, o símbolo de "
    "agrupamento de dígitos para '.' e o numero de dígitos para 3.");
inline const QString MsgConfigDataCurta = QStringLiteral(
    "Para o sistema funcionar corretamente, alterar em Configurações Regionais/Opções Regionais do Painel de "
    "Controle, na guia Data, o símbolo separador para '/' e o formato da Data para 'dd/MM/aaaa'.");
inline const QString MsgConfigDataLonga = QStringLiteral(
    "Para o sistema funcionar corretamente, alterar em Configurações Regionais/Opções Regionais do Painel de "
    "Controle, na guia Data, a data por extenso para 'd de MMMM de aaaa'.");

// The regional-settings tests in their order (number, short date, long
// date). True when all pass; otherwise false with the message of the first
// test that failed.
bool testaConfiguracaoRegional(const ValoresLocale& v, QString& mensagem);

class frmAbertura : public QWidget {
    Q_OBJECT
public:
    explicit frmAbertura(QWidget* parent = nullptr);
    ~frmAbertura() override;

    // The start-up gate; false when the program must end (its message has
    // been shown). On success the splash is centred and Timer1 runs.
    bool Form_Load();
    bool Form_Load(const ValoresLocale& valores);

    QTimer* Timer1 = nullptr;

public Q_SLOTS:
    // First and only tick: the splash hides (it stays loaded) and the main
    // window opens.
    void Timer1_Timer();

private:
    std::unique_ptr<InstanciaUnica> m_instancia;
};

// Ends the running event loop with a code; does nothing when no loop runs
// (tests drive the windows without one).
void encerrarPrograma(int codigo);
