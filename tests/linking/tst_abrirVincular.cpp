// The linking picker: which declarations it opens for linking and what it
// says of the others; the navigator it opens and the windows its tabs embed.
#include "Ambiente.h"

#include "linking/frmAbrirVincular.h"
#include "linking/frmOutlook.h"
#include "platform/Formularios.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/HelpContexts.h"
#include "shell/Outlook.h"
#include "shell/frmAbertura.h"
#include "shell/frmPrincipalValidacao.h"

#include <QFile>
#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

namespace {

using Importados = QList<QPair<int, int>>;

const QString Cnpj = QStringLiteral("11.222.333/0001-81");

// A declaration whose import status rows are the given (type, status).
bool declaracaoCom(const Importados& importados)
{
    if (!criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)))
        return false;
    for (const auto& [tipo, situacao] : importados) {
        if (!geral().gConn->executar(
                QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao) "
                               "VALUES (86, ?, '2005-01-01', '2005-12-31', ?, ?)"),
                {Cnpj, tipo, situacao}))
            return false;
    }
    geral().gConn->fechar();
    return true;
}

frmAbrirVincular* abrirSeletor()
{
    return qobject_cast<frmAbrirVincular*>(Formularios::carregar(QStringLiteral("frmAbrirVincular")));
}

} // namespace

class TstAbrirVincular : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void registroVazio();
    void ok_data();
    void ok();
    void bancoAusente();
    void navegador();
    void pelaJanelaPrincipal();
};

void TstAbrirVincular::registroVazio()
{
    Ambiente amb;
    geral().gTemEmpresarios = true;
    frmAbrirVincular* s = abrirSeletor();
    QVERIFY(s);
    QCOMPARE(s->windowTitle(), QStringLiteral("Vincular"));
    QCOMPARE(s->contextoAjuda(), 8002);
    QCOMPARE(amb.dialogos.textos(), QStringList{"Não existem empresários cadastrados."});
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Informacao);
    QVERIFY(!geral().gTemEmpresarios);
}

void TstAbrirVincular::ok_data()
{
    QTest::addColumn<Importados>("importados");
    QTest::addColumn<bool>("abre");
    QTest::newRow("plano geral sem erros") << Importados{{1, 90}, {8, 90}} << true;
    // A general chart imported with errors is still offered for linking.
    QTest::newRow("plano geral com erros") << Importados{{1, 777}} << true;
    QTest::newRow("só o plano auxiliar") << Importados{{2, 90}} << false;
    QTest::newRow("nada importado") << Importados{} << false;
}

void TstAbrirVincular::ok()
{
    QFETCH(Importados, importados);
    QFETCH(bool, abre);
    Ambiente amb;
    QVERIFY(declaracaoCom(importados));
    reiniciaGeral();
    frmAbrirVincular* s = abrirSeletor();
    QVERIFY(s);
    QVERIFY(geral().gTemEmpresarios);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    s->cmdOk->click();
    const Geral& g = geral();
    QCOMPARE(g.gCNPJ, Cnpj);
    QCOMPARE(g.gCNPJNumeros, QStringLiteral("11222333000181"));
    QCOMPARE(g.gIN, qint16(86));
    QCOMPARE(g.gPeriodoFinal, QDate(2005, 12, 31));
    // gConn stays on the declaration's database either way.
    QCOMPARE(g.gConn->caminho(), caminhoBancoDeclaracao());
    QCOMPARE(Formularios::carregado(s), !abre);
    QCOMPARE(Formularios::obter(QStringLiteral("frmOutlook")) != nullptr, abre);
    if (abre) {
        QVERIFY(amb.dialogos.mensagens.isEmpty());
    } else {
        QCOMPARE(amb.dialogos.textos(), QStringList{"Não existem arquivos Importados."});
        QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
    }
}

void TstAbrirVincular::bancoAusente()
{
    Ambiente amb;
    QVERIFY(declaracaoCom({{1, 90}}));
    QVERIFY(QFile::remove(caminhoBancoDeclaracao()));
    reiniciaGeral();
    frmAbrirVincular* s = abrirSeletor();
    QVERIFY(s);
    s->cmdOk->click();
    QCOMPARE(amb.dialogos.textos(),
             QStringList{"Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a opção "
                         "Excluir e exclua o período com problemas e posteriormente crie na opção Novo o mesmo "
                         "período."});
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Nenhum);
    // Nothing was made in its place; the picker is usable on the register again.
    QVERIFY(!QFile::exists(caminhoBancoDeclaracao()));
    QVERIFY(Formularios::carregado(s));
    QCOMPARE(geral().gConn->caminho(), caminhoRegistro());
    QCOMPARE(s->TDBabrir->linhas(), 1);
}

void TstAbrirVincular::navegador()
{
    Ambiente amb;
    QVERIFY(declaracaoCom({{1, 90}}));
    reiniciaGeral();
    frmAbrirVincular* s = abrirSeletor();
    QVERIFY(s);
    s->cmdOk->click();
    auto* n = Formularios::obter<frmOutlook>();
    QVERIFY(n);
    QVERIFY(QTest::qWaitForWindowExposed(n));
    QCOMPARE(n->lblCnpjPeriodo->text(), QStringLiteral("CNPJ:11.222.333/0001-81   Período: 01/01/2005 à 31/12/2005"));
    // The group is open: its button row fixed at 330 twips, its tabs taking the rest.
    QVERIFY(n->elaOutlook->fixa(0) && !n->elaOutlook->fixa(1));
    QCOMPARE(n->elaOutlook->tamanho(0), 330);
    QCOMPARE(n->tabOl->legendas(), QStringLiteral("Vinculação de Contas|Contas Vinculadas"));
    QCOMPARE(n->tabOl->TabHeight(), n->tabOl->Width() - 10);
    QCOMPARE(n->tabOl->CurrTab(), -1);

    auto clicar = [n](const QPoint& p) { QTest::mouseClick(n->tabOl, Qt::LeftButton, {}, p); };
    const QRect aba0 = n->tabOl->retanguloAba(0);
    const QRect aba1 = n->tabOl->retanguloAba(1);
    const QPoint fora(aba1.center().x(), aba1.bottom() + 20);
    // Nothing is embedded until a tab is clicked; a click beside the tabs chooses none.
    clicar(fora);
    QVERIFY(!n->filho());
    clicar(aba0.center());
    QPointer<Formulario> primeiro = n->filho();
    QVERIFY(primeiro);
    QCOMPARE(primeiro->objectName(), QStringLiteral("frmVinculacao"));
    QVERIFY(n->elaChild->isAncestorOf(primeiro));
    QVERIFY(primeiro->isVisible());
    clicar(aba1.center());
    QVERIFY(!Formularios::carregado(primeiro));
    QCOMPARE(n->filho()->objectName(), QStringLiteral("frmContasVinculadas"));
    QCOMPARE(n->tabOl->CurrTab(), 1);
    // Each click loads its window anew.
    QPointer<Formulario> segundo = n->filho();
    clicar(aba1.center());
    QVERIFY(!Formularios::carregado(segundo));
    QVERIFY(n->filho() && n->filho() != segundo.data());
    // Closing the navigator unloads its child.
    QPointer<Formulario> filho = n->filho();
    Formularios::descarregar(n);
    QVERIFY(!Formularios::carregado(filho));
}

// The main window's command: the picker modally, then the navigator stays
// open inside the main window, whose items stay usable.
void TstAbrirVincular::pelaJanelaPrincipal()
{
    Ambiente amb;
    QVERIFY(declaracaoCom({{1, 90}}));
    reiniciaGeral();
    Formularios::adicionar(new frmAbertura);
    auto* p = new frmPrincipalValidacao;
    Formularios::adicionar(p);
    QVERIFY(p->Form_Load());
    int mostradas = 0;
    Formularios::definirGanchoModal([&](Formulario* f) {
        ++mostradas;
        auto* s = qobject_cast<frmAbrirVincular*>(f);
        QVERIFY(s);
        s->cmdOk->click();
    });
    p->mnuVincular_Click();
    Formularios::definirGanchoModal(nullptr);
    QCOMPARE(mostradas, 1);
    QVERIFY(!Formularios::obter<frmAbrirVincular>());
    auto* n = Formularios::obter<frmOutlook>();
    QVERIFY(n);
    auto* sub = qobject_cast<QMdiSubWindow*>(n->parentWidget());
    QVERIFY(sub && sub->mdiArea() == p->MDI && !sub->isHidden());
    for (const char* item : {"mnuAbrir", "mnuImportarArquivo", "mnuValidacao", "mnuGravar", "mnuSair"})
        QVERIFY2(p->item(QString::fromLatin1(item))->isEnabled(), item);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

QTEST_MAIN(TstAbrirVincular)
#include "tst_abrirVincular.moc"
