#pragma once
// Shared by the results tests: the main window as at start-up and stand-ins
// for the seven result tabs, which record their loads and unloads.
#include "platform/Formularios.h"
#include "shell/frmAbertura.h"
#include "shell/frmPrincipalValidacao.h"

#include <QAction>
#include <QStringList>

inline const QStringList JanelasDasAbas = {
    "frmLancamentogeral", "frmSaldoFinalGeral", "frmSaldoFinalAuxiliar", "frmSaldoInicialGeral",
    "FrmSaldoInicialAuxiliar", "frmLancamentoSaldoDebito", "frmLancamentoSaldoCredito",
};

class AbaTeste : public Formulario {
public:
    explicit AbaTeste(const QString& n) : nome(n) {}
    static inline QStringList carregadas;
    static inline QStringList descarregadas;
    QString nome;
    void Form_Load() override { carregadas << nome; }
    void Form_Unload() override { descarregadas << nome; }
};

inline void registrarAbasTeste()
{
    AbaTeste::carregadas.clear();
    AbaTeste::descarregadas.clear();
    for (const QString& n : JanelasDasAbas)
        Formularios::registrar(n, [n] { return new AbaTeste(n); });
}

// The splash and the main window, loaded as at start-up.
inline frmPrincipalValidacao* abrirPrincipal()
{
    Formularios::adicionar(new frmAbertura);
    auto* p = new frmPrincipalValidacao;
    Formularios::adicionar(p);
    if (!p->Form_Load())
        return nullptr;
    return p;
}

// The File menu's items that the navigator locks, with their state as "name=0/1".
inline QStringList estadoArquivo(frmPrincipalValidacao* p)
{
    static const QStringList itens = {
        "mnuAbrir", "mnuImportarArquivo", "mnuValidacao", "mnuVerifica", "mnuGravar", "mnuVisualiza",
        "mnuVisualizaValidacao", "mnuExcluirArquivo", "mnuImprimir", "mnuConfigurarImpressao", "mnuSair",
    };
    QStringList r;
    for (const QString& n : itens)
        r << n + (p->item(n)->isEnabled() ? "=1" : "=0");
    for (int i : {2, 3, 4, 6, 8, 10})
        r << QString::number(i) + (p->botao(i)->isEnabled() ? "=1" : "=0");
    return r;
}

inline QStringList estadoTravado()
{
    return {"mnuAbrir=0", "mnuImportarArquivo=0", "mnuValidacao=0", "mnuVerifica=0", "mnuGravar=0",
            "mnuVisualiza=0", "mnuVisualizaValidacao=0", "mnuExcluirArquivo=0", "mnuImprimir=0",
            "mnuConfigurarImpressao=0", "mnuSair=1", "2=0", "3=0", "4=0", "6=0", "8=0", "10=0"};
}

inline QStringList estadoLivre()
{
    return {"mnuAbrir=1", "mnuImportarArquivo=1", "mnuValidacao=1", "mnuVerifica=1", "mnuGravar=1",
            "mnuVisualiza=1", "mnuVisualizaValidacao=1", "mnuExcluirArquivo=1", "mnuImprimir=1",
            "mnuConfigurarImpressao=1", "mnuSair=1", "2=1", "3=1", "4=1", "6=1", "8=1", "10=1"};
}
