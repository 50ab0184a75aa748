#include "Ambiente.h"

#include "platform/Formularios.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/frmAbertura.h"
#include "shell/frmAbrirArquivo.h"
#include "shell/frmDadosContribuinte.h"
#include "shell/frmExcluirArquivo.h"
#include "shell/frmPrincipalValidacao.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QString CnpjDigitos = QStringLiteral("11222333000181");
const QString Cnpj2 = QStringLiteral("11.444.777/0001-61");
const QString ErroAbertura = QStringLiteral("cod.erro -2147467259\r\nmsg. Erro: Erro na abertura do banco de dados do Tobri.");
const QString Proxima = QStringLiteral("frmContinuaImportacao");

// A window's class name; the stand-in below carries the name it stands for.
QString nomeJanela(const QObject* f)
{
    const QVariant substituta = f->property("substitui");
    return substituta.isValid() ? substituta.toString() : QString::fromLatin1(f->metaObject()->className());
}

// Stands in for the next window of the chain and records every window shown
// modally, with the database gConn was on at that moment.
struct Cadeia {
    QStringList modais;
    QStringList bancos;
    Cadeia()
    {
        Formularios::registrar(Proxima, [] {
            auto* f = new Formulario;
            f->setProperty("substitui", Proxima);
            return f;
        });
        Formularios::definirGanchoModal([this](Formulario* f) {
            modais << nomeJanela(f);
            const Geral& g = geral();
            bancos << (g.gConn && g.gConn->aberta() ? QFileInfo(g.gConn->caminho()).fileName() : QString());
        });
    }
    ~Cadeia() { Formularios::definirGanchoModal(nullptr); }
};

frmDadosContribuinte* abreNova()
{
    auto* w = qobject_cast<frmDadosContribuinte*>(Formularios::carregar(QStringLiteral("frmDadosContribuinte")));
    if (w)
        w->show();
    return w;
}

// Types the entries; opcao -1 leaves both options unchosen.
void preenche(frmDadosContribuinte* w, const QString& cnpj, const QString& nome, const QString& inicio,
              const QString& fim, int opcao)
{
    w->maskCNPJ->setText(cnpj);
    w->txtnomeEmp->setText(nome);
    w->dateinicial->setText(inicio);
    w->DateFinal->setText(fim);
    if (opcao >= 0)
        w->optADE[opcao]->setChecked(true);
}

int contaRegistro(const QString& filtro = QString(), const QVariantList& p = {})
{
    db::Conexao c;
    if (!c.abrir(caminhoRegistro()))
        return -1;
    return c.escalar(QStringLiteral("SELECT count(*) FROM tbempresariosImportados") + filtro, p).toInt();
}

QString nomeEm(const QString& banco, qint16 in, const QString& cnpj, const QString& inicio)
{
    db::Conexao c;
    if (!c.abrir(banco))
        return QStringLiteral("<sem banco>");
    const QVariant v = c.escalar(
        QStringLiteral("SELECT Nome FROM tbempresariosImportados WHERE INarquivo = ? AND CNPJ = ? AND periodoinicial = ?"),
        {in, cnpj, inicio});
    return v.isValid() ? v.toString() : QStringLiteral("<sem linha>");
}

QString arquivoBanco(qint16 in, const QString& digitos, const QString& inicio, const QString& fim)
{
    return caminhoEm(pastas().dados, QStringLiteral("TOBRI%1%2%3%4.MDB").arg(in).arg(digitos, inicio, fim));
}

QString nomeConexao()
{
    const Geral& g = geral();
    return g.gConn && g.gConn->aberta() ? QFileInfo(g.gConn->caminho()).fileName() : QString();
}

// The accepted copies and layout descriptions of a declaration of the CNPJ
// 11.222.333/0001-81 with a period in yyyymmdd.
QStringList copias(const QString& periodo)
{
    QStringList r;
    for (int t = 1; t <= 9; ++t) {
        const QString tronco = CnpjDigitos + QStringLiteral("-TOBRI-0%1-").arg(t) + periodo;
        r << tronco + (t == 6 ? QStringLiteral(".txt") : QStringLiteral(".imp")) << tronco + QStringLiteral(".lay");
    }
    return r;
}

// What a killed import (copy and .lay being written) or template copy leaves
// beside a declaration's files.
QStringList rascunhos(const QString& periodo, const QString& banco)
{
    QStringList r{QFileInfo(banco).fileName() + QStringLiteral(".copia")};
    for (int t : {1, 6}) {
        const QString tronco = CnpjDigitos + QStringLiteral("-TOBRI-0%1-").arg(t) + periodo;
        r << tronco + QStringLiteral(".importando") << tronco + QStringLiteral(".lay.importando");
    }
    return r;
}

} // namespace

class TstDeclaracoes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The program runs only under the Brazilian conventions (start-up gate).
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }
    void cleanup() { Formularios::definirGanchoModal(nullptr); }

    // New declaration.
    void novaTela();
    void testesDoOk_data();
    void testesDoOk();
    void novaDeclaracao_data();
    void novaDeclaracao();
    void mesmaChavePerguntaSobrepor();
    void mesmaChaveNaoSobrepoe();
    void outraInstrucaoRecusada();
    void bancoNaoCriadoDesfazRegistro();
    void enterNoCNPJ_data();
    void enterNoCNPJ();
    void sairDoCNPJBuscaNome();
    void cancelarDescarrega();
    void novoPeloMenuHabilitaItens();

    // Open.
    void abrir();
    void abrirOutraLinha();
    void abrirBancoDefeituoso_data();
    void abrirBancoDefeituoso();
    void abrirSemRecriar();
    void okSemLinhaNaoFazNada_data();
    void okSemLinhaNaoFazNada();

    // Delete.
    void excluir();
    void linhaEscolhidaFicaRealcada();
    void excluirNao();
    void excluirRelataArquivosPresos();
    void excluirUltimaPeloMenu();
};

void TstDeclaracoes::novaTela()
{
    Ambiente amb;
    frmDadosContribuinte* w = abreNova();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Informar Dados do Contribuinte"));
    QCOMPARE(w->maskCNPJ->displayText(), QStringLiteral("__.___.___/____-__"));
    QCOMPARE(w->dateinicial->displayText(), QStringLiteral("__/__/____"));
    QCOMPARE(w->DateFinal->displayText(), QStringLiteral("__/__/____"));
    QCOMPARE(w->optADE[0]->text(), QStringLiteral("Portaria Talsa 13/1995 (IN SOV 68/95)"));
    QCOMPARE(w->optADE[1]->text(), QStringLiteral("ADE Talsa 15/2001(IN SOV 86/01)"));
    QCOMPARE(w->cmdCancelar->text(), QStringLiteral("&Cancelar"));
    QCOMPARE(w->cmdAjuda->text(), QStringLiteral("&Ajuda"));
    QCOMPARE(w->focusWidget(), w->maskCNPJ);
    QCOMPARE(nomeConexao(), QStringLiteral("tobriv1.mdb"));
    // The options wait for a date.
    QVERIFY(!w->optADE[0]->isEnabled());
    QVERIFY(!w->optADE[1]->isEnabled());
    QTest::keyClicks(w->DateFinal, QStringLiteral("3"));
    QVERIFY(w->optADE[0]->isEnabled());
    QVERIFY(w->optADE[1]->isEnabled());
    // Typed digits fill the mask.
    w->maskCNPJ->clear();
    w->maskCNPJ->setCursorPosition(0);
    QTest::keyClicks(w->maskCNPJ, CnpjDigitos);
    QCOMPARE(w->maskCNPJ->text(), Cnpj);
    w->cmdAjuda->click();
    QCOMPARE(amb.ajudas, QList<int>{1101});
}

void TstDeclaracoes::testesDoOk_data()
{
    QTest::addColumn<QString>("cnpj");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("inicio");
    QTest::addColumn<QString>("fim");
    QTest::addColumn<int>("opcao");
    QTest::addColumn<QString>("mensagem");
    QTest::addColumn<bool>("informacao");
    QTest::addColumn<QString>("foco");

    const QString n = QStringLiteral("Empresa Teste Ltda");
    const QString a = QStringLiteral("01012005"), b = QStringLiteral("31122005");
    QTest::newRow("1 CNPJ vazio, e tudo mais") << "" << "" << "" << "" << -1 << "CNPJ não preenchido." << false << "maskCNPJ";
    QTest::newRow("2 CNPJ curto") << "1122233300018" << n << a << b << 1 << "CNPJ inválido." << false << "maskCNPJ";
    QTest::newRow("3 dígito errado") << "11222333000182" << "" << a << b << 1 << "CNPJ inválido." << false << "maskCNPJ";
    QTest::newRow("3 catorze zeros") << "00000000000000" << n << a << b << 1 << "CNPJ inválido." << false << "maskCNPJ";
    QTest::newRow("4 nome vazio") << CnpjDigitos << "" << "" << b << 1 << "Nome empresarial não preenchido." << false << "txtnomeEmp";
    QTest::newRow("4 nome em branco") << CnpjDigitos << "   " << a << b << 1 << "Nome empresarial não preenchido." << false << "txtnomeEmp";
    QTest::newRow("5 nome de dois") << CnpjDigitos << "AB" << "" << b << 1 << "Nome empresarial inválido." << false << "txtnomeEmp";
    QTest::newRow("5 nome numérico") << CnpjDigitos << "12345" << a << b << 1 << "Nome empresarial inválido." << false << "txtnomeEmp";
    QTest::newRow("5 nome decimal") << CnpjDigitos << "1.234,50" << a << b << 1 << "Nome empresarial inválido." << false << "txtnomeEmp";
    QTest::newRow("6 início vazio") << CnpjDigitos << n << "" << "" << 1 << "Data inicial inválida ou ausente." << false << "dateinicial";
    QTest::newRow("6 início incompleto") << CnpjDigitos << n << "010120" << b << 1 << "Data inicial inválida ou ausente." << false << "dateinicial";
    QTest::newRow("6 início inexistente") << CnpjDigitos << n << "31022005" << b << 1 << "Data inicial inválida ou ausente." << false << "dateinicial";
    QTest::newRow("7 fim vazio") << CnpjDigitos << n << a << "" << 1 << "Data final inválida ou ausente." << false << "DateFinal";
    QTest::newRow("7 fim inexistente") << CnpjDigitos << n << a << "32122005" << 1 << "Data final inválida ou ausente." << false << "DateFinal";
    QTest::newRow("8 anos diferentes") << CnpjDigitos << n << "01122004" << "31012005" << 1 << "Ano final diferente do ano inicial." << false << "DateFinal";
    QTest::newRow("8 anos diferentes antes da ordem") << CnpjDigitos << n << "01122005" << "31012004" << 1 << "Ano final diferente do ano inicial." << false << "DateFinal";
    QTest::newRow("9 final menor") << CnpjDigitos << n << "01062005" << "31052005" << -1 << "Data final menor que Data inicial." << true << "DateFinal";
    QTest::newRow("10 sem instrução") << CnpjDigitos << n << a << b << -1 << "Selecione a Instrução Normativa." << false << "optADE_0";
    QTest::newRow("11 IN 68 em 2002") << CnpjDigitos << n << "01012002" << "31122002" << 0 << "Instrução Normativa não permitida para este exercício." << false << "optADE_0";
}

void TstDeclaracoes::testesDoOk()
{
    QFETCH(QString, cnpj);
    QFETCH(QString, nome);
    QFETCH(QString, inicio);
    QFETCH(QString, fim);
    QFETCH(int, opcao);
    QFETCH(QString, mensagem);
    QFETCH(bool, informacao);
    QFETCH(QString, foco);
    Ambiente amb;
    Cadeia cadeia;
    frmDadosContribuinte* w = abreNova();
    preenche(w, cnpj, nome, inicio, fim, opcao);
    w->cmdCancelar->setFocus();
    w->cmdOk->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{mensagem});
    QCOMPARE(amb.dialogos.mensagens.first().icone, informacao ? dlg::Icone::Informacao : dlg::Icone::Critico);
    QCOMPARE(amb.dialogos.mensagens.first().botoes, dlg::Botoes::Ok);
    QVERIFY(w->focusWidget());
    QCOMPARE(w->focusWidget()->objectName(), foco);
    QVERIFY(w->isVisible());
    QVERIFY(cadeia.modais.isEmpty());
    QCOMPARE(contaRegistro(), 0);
}

void TstDeclaracoes::novaDeclaracao_data()
{
    QTest::addColumn<int>("opcao");
    QTest::addColumn<QString>("inicio");
    QTest::addColumn<QString>("fim");
    QTest::addColumn<QString>("nome");
    QTest::newRow("IN 86, ano inteiro") << 1 << "01012005" << "31122005" << "Empresa Teste Ltda";
    QTest::newRow("IN 68 em 2001") << 0 << "01012001" << "30062001" << "Comércio Ávila Ltda";
    QTest::newRow("apóstrofo no nome") << 1 << "01012005" << "31122005" << "D'Ávila & Filhos Ltda";
}

void TstDeclaracoes::novaDeclaracao()
{
    QFETCH(int, opcao);
    QFETCH(QString, inicio);
    QFETCH(QString, fim);
    QFETCH(QString, nome);
    Ambiente amb;
    Cadeia cadeia;
    Geral& g = geral();
    g.gOperacao = 1;
    frmDadosContribuinte* w = abreNova();
    preenche(w, CnpjDigitos, nome, inicio, fim, opcao);
    w->cmdOk->click();
    QCOMPARE(amb.dialogos.textos(), QStringList());

    const qint16 in = opcao == 0 ? 68 : 86;
    const QDate di = QDate::fromString(inicio, QStringLiteral("ddMMyyyy"));
    const QDate df = QDate::fromString(fim, QStringLiteral("ddMMyyyy"));
    QCOMPARE(g.gIN, in);
    QCOMPARE(g.gCNPJ, Cnpj);
    QCOMPARE(g.gCNPJNumeros, CnpjDigitos);
    QCOMPARE(g.gPeriodoInicial, di);
    QCOMPARE(g.gPeriodoFinal, df);
    QCOMPARE(g.gNome, nome);
    for (int t = 1; t <= 9; ++t)
        QCOMPARE(g.gFlagTipo[t], QStringLiteral("N"));

    // Registered, with its own database made from the template holding the same row.
    QCOMPARE(contaRegistro(), 1);
    QCOMPARE(nomeEm(caminhoRegistro(), in, Cnpj, dataIso(di)), nome);
    const QString banco = arquivoBanco(in, CnpjDigitos, inicio, fim);
    QVERIFY(QFile::exists(banco));
    QCOMPARE(nomeEm(banco, in, Cnpj, dataIso(di)), nome);
    QCOMPARE(caminhoBancoDeclaracao(), banco);
    QVERIFY(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM Tbleiautepadrao")).toInt() > 0);

    // Hidden, still loaded, and the chain goes on with gConn on the declaration.
    QVERIFY(w->isHidden());
    QVERIFY(Formularios::carregado(w));
    QCOMPARE(cadeia.modais, QStringList{Proxima});
    QCOMPARE(cadeia.bancos, QStringList{QFileInfo(banco).fileName()});
}

void TstDeclaracoes::mesmaChavePerguntaSobrepor()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31), QStringLiteral("Nome Antigo")));
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2004, 1, 1), QDate(2004, 12, 31), QStringLiteral("Nome Antigo")));
    const QString banco2005 = arquivoBanco(86, CnpjDigitos, "01012005", "31122005");
    {
        db::Conexao c;
        QVERIFY(c.abrir(banco2005));
        QVERIFY(c.executar(QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, "
                                          "Tipo, Situacao) VALUES (86, ?, '2005-01-01', '2005-12-31', 1, 90)"),
                           {Cnpj}));
    }
    g.gConn->fechar();
    Cadeia cadeia;
    frmDadosContribuinte* w = abreNova();
    preenche(w, CnpjDigitos, QStringLiteral("Nome Novo"), "01012005", "31122005", 1);
    amb.dialogos.respostas << dlg::RespSim;
    w->cmdOk->click();

    QCOMPARE(amb.dialogos.textos(), QStringList{QStringLiteral("Arquivo já existe. Deseja sobrepor? ")});
    QCOMPARE(amb.dialogos.mensagens.first().botoes, dlg::Botoes::SimNao);
    QCOMPARE(g.gRespostaExiste, qint16(6));
    QCOMPARE(contaRegistro(), 2);
    // Only this declaration is renamed, in the register and in its database.
    QCOMPARE(nomeEm(caminhoRegistro(), 86, Cnpj, "2005-01-01"), QStringLiteral("Nome Novo"));
    QCOMPARE(nomeEm(caminhoRegistro(), 86, Cnpj, "2004-01-01"), QStringLiteral("Nome Antigo"));
    QCOMPARE(nomeEm(banco2005, 86, Cnpj, "2005-01-01"), QStringLiteral("Nome Novo"));
    // The imported data stays.
    QCOMPARE(QFileInfo(g.gConn->caminho()).fileName(), QFileInfo(banco2005).fileName());
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbImportados")).toInt(), 1);
    QCOMPARE(cadeia.modais, QStringList{Proxima});
    QVERIFY(w->isHidden());
}

void TstDeclaracoes::mesmaChaveNaoSobrepoe()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31), QStringLiteral("Nome Antigo")));
    g.gConn->fechar();
    Cadeia cadeia;
    frmDadosContribuinte* w = abreNova();
    preenche(w, CnpjDigitos, QStringLiteral("Nome Novo"), "01012005", "31122005", 1);
    amb.dialogos.respostas << dlg::RespNao;
    w->cmdOk->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{QStringLiteral("Arquivo já existe. Deseja sobrepor? ")});
    QCOMPARE(nomeEm(caminhoRegistro(), 86, Cnpj, "2005-01-01"), QStringLiteral("Nome Antigo"));
    QVERIFY(cadeia.modais.isEmpty());
    QVERIFY(w->isVisible());
    QCOMPARE(nomeConexao(), QStringLiteral("tobriv1.mdb"));
}

void TstDeclaracoes::outraInstrucaoRecusada()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2001, 1, 1), QDate(2001, 12, 31)));
    g.gConn->fechar();
    Cadeia cadeia;
    frmDadosContribuinte* w = abreNova();
    preenche(w, CnpjDigitos, QStringLiteral("Empresa Teste Ltda"), "01012001", "31122001", 1);
    w->cmdOk->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{QStringLiteral("Este período já está cadastrado para este CNPJ")});
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Nenhum);
    QCOMPARE(contaRegistro(), 1);
    QVERIFY(!QFile::exists(arquivoBanco(86, CnpjDigitos, "01012001", "31122001")));
    QVERIFY(cadeia.modais.isEmpty());
}

void TstDeclaracoes::bancoNaoCriadoDesfazRegistro()
{
    Ambiente amb;
    const QString modelo = caminhoEm(amb.programa(), QStringLiteral("TOBRI.MDB"));
    const QString guardado = modelo + QStringLiteral(".guardado");
    QVERIFY(QFile::rename(modelo, guardado));
    Cadeia cadeia;
    frmDadosContribuinte* w = abreNova();
    preenche(w, CnpjDigitos, QStringLiteral("Empresa Teste Ltda"), "01012005", "31122005", 1);
    w->cmdOk->click();
    // The reason follows: the template could not be copied.
    QCOMPARE(amb.dialogos.textos(),
             QStringList{ErroAbertura + QStringLiteral("\r\nNão foi possível gravar ")
                         + arquivoBanco(86, CnpjDigitos, "01012005", "31122005")
                         + QStringLiteral(": No such file or directory")});
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Nenhum);
    QCOMPARE(contaRegistro(), 0);
    QVERIFY(cadeia.modais.isEmpty());
    QVERIFY(w->isVisible());
    QCOMPARE(nomeConexao(), QStringLiteral("tobriv1.mdb"));

    // With the template back, the same OK goes through.
    QVERIFY(QFile::rename(guardado, modelo));
    amb.dialogos.limpar();
    w->cmdOk->click();
    QCOMPARE(amb.dialogos.textos(), QStringList());
    QCOMPARE(contaRegistro(), 1);
    QCOMPARE(cadeia.modais, QStringList{Proxima});
}

void TstDeclaracoes::enterNoCNPJ_data()
{
    QTest::addColumn<QString>("digitos");
    QTest::addColumn<QStringList>("mensagens");
    QTest::addColumn<QString>("nome");
    QTest::newRow("vazio") << QString() << QStringList{"CNPJ não preenchido."} << QString();
    QTest::newRow("incompleto") << "112223" << QStringList{"CNPJ inválido"} << QString();
    QTest::newRow("dígito errado") << "11222333000182" << QStringList{"CNPJ inválido"} << QString();
    QTest::newRow("cadastrado") << CnpjDigitos << QStringList() << "Empresa Cadastrada";
    QTest::newRow("não cadastrado") << "11444777000161" << QStringList() << QString();
}

void TstDeclaracoes::enterNoCNPJ()
{
    QFETCH(QString, digitos);
    QFETCH(QStringList, mensagens);
    QFETCH(QString, nome);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31), QStringLiteral("Empresa Cadastrada")));
    geral().gConn->fechar();
    Cadeia cadeia;
    frmDadosContribuinte* w = abreNova();
    w->dateinicial->setText(QStringLiteral("01012006"));
    w->DateFinal->setText(QStringLiteral("31122006"));
    w->optADE[1]->setChecked(true);
    w->maskCNPJ->setCursorPosition(0);
    QTest::keyClicks(w->maskCNPJ, digitos);
    QTest::keyClick(w->maskCNPJ, Qt::Key_Return);
    QCOMPARE(amb.dialogos.textos(), mensagens);
    for (const auto& m : amb.dialogos.mensagens)
        QCOMPARE(m.icone, dlg::Icone::Critico);
    QCOMPARE(w->txtnomeEmp->text(), nome);
    QCOMPARE(geral().gRespostaExiste, qint16(nome.isEmpty() ? 0 : 6));
    // Enter does not press OK.
    QVERIFY(cadeia.modais.isEmpty());
    QCOMPARE(contaRegistro(), 1);
}

void TstDeclaracoes::sairDoCNPJBuscaNome()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31), QStringLiteral("Empresa Cadastrada")));
    geral().gConn->fechar();
    frmDadosContribuinte* w = abreNova();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->maskCNPJ->setFocus();
    w->maskCNPJ->setCursorPosition(0);
    QTest::keyClicks(w->maskCNPJ, QStringLiteral("11222333000182"));
    QTest::keyClick(w->maskCNPJ, Qt::Key_Tab);
    // Leaving asks nothing of the check digits and finds nothing for this CNPJ.
    QCOMPARE(w->txtnomeEmp->text(), QString());
    w->maskCNPJ->setFocus();
    QTest::keyClick(w->maskCNPJ, Qt::Key_Backspace);
    QTest::keyClicks(w->maskCNPJ, QStringLiteral("1"));
    QCOMPARE(w->maskCNPJ->text(), Cnpj);
    QTest::keyClick(w->maskCNPJ, Qt::Key_Tab);
    QCOMPARE(w->txtnomeEmp->text(), QStringLiteral("Empresa Cadastrada"));
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstDeclaracoes::cancelarDescarrega()
{
    Ambiente amb;
    frmDadosContribuinte* w = abreNova();
    w->cmdCancelar->click();
    QVERIFY(!Formularios::carregado(w));
    QCOMPARE(contaRegistro(), 0);
}

void TstDeclaracoes::novoPeloMenuHabilitaItens()
{
    Ambiente amb;
    Formularios::adicionar(new frmAbertura);
    auto* p = new frmPrincipalValidacao;
    Formularios::adicionar(p);
    QVERIFY(p->Form_Load());
    QVERIFY(!p->item(QStringLiteral("mnuImportarArquivo"))->isEnabled());
    Cadeia cadeia;
    Formularios::definirGanchoModal([&](Formulario* f) {
        cadeia.modais << nomeJanela(f);
        if (auto* w = qobject_cast<frmDadosContribuinte*>(f)) {
            QCOMPARE(geral().gOperacao, qint16(1));
            preenche(w, CnpjDigitos, QStringLiteral("Empresa Teste Ltda"), "01012005", "31122005", 1);
            w->cmdOk->click();
        }
    });
    p->mnuAbrir_Click();
    QCOMPARE(cadeia.modais, (QStringList{QStringLiteral("frmDadosContribuinte"), Proxima}));
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QVERIFY(p->item(QStringLiteral("mnuImportarArquivo"))->isEnabled());
    QVERIFY(p->item(QStringLiteral("mnuExcluirArquivo"))->isEnabled());
}

void TstDeclaracoes::abrir()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    QVERIFY(g.gConn->executar(QStringLiteral("INSERT INTO TbleiauteDIG (codsequ, TipoArquivo, NomeCampo) VALUES (1, 1, 'x')")));
    g.gConn->fechar();
    reiniciaGeral();
    Cadeia cadeia;
    auto* w = qobject_cast<frmAbrirArquivo*>(Formularios::carregar(QStringLiteral("frmAbrirArquivo")));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Abrir"));
    QCOMPARE(nomeConexao(), QStringLiteral("tobriv1.mdb"));
    QCOMPARE(w->TDBabrir->linhas(), 1);
    QCOMPARE(w->TDBabrir->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Instrução Normativa"));
    QCOMPARE(w->TDBabrir->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Data Final"));
    QCOMPARE(w->TDBabrir->model()->index(0, 2).data().toString(), QStringLiteral("01/01/2005"));
    w->cmdOk->click();
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QCOMPARE(g.gIN, qint16(86));
    QCOMPARE(g.gCNPJ, Cnpj);
    QCOMPARE(g.gCNPJNumeros, CnpjDigitos);
    QCOMPARE(g.gPeriodoInicial, QDate(2005, 1, 1));
    QCOMPARE(g.gPeriodoFinal, QDate(2005, 12, 31));
    QCOMPARE(nomeConexao(), QFileInfo(caminhoBancoDeclaracao()).fileName());
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM TbleiauteDIG")).toInt(), 0);
    QVERIFY(!Formularios::carregado(w));
    QCOMPARE(cadeia.modais, QStringList{Proxima});
}

void TstDeclaracoes::abrirOutraLinha()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    QVERIFY(criarDeclaracao(68, Cnpj2, QDate(2001, 1, 1), QDate(2001, 6, 30)));
    g.gConn->fechar();
    Cadeia cadeia;
    auto* w = qobject_cast<frmAbrirArquivo*>(Formularios::carregar(QStringLiteral("frmAbrirArquivo")));
    QCOMPARE(w->TDBabrir->linhas(), 2);
    // Rows by CNPJ: the second is 11.444.777/0001-61.
    w->TDBabrir->setCurrentIndex(w->TDBabrir->model()->index(1, 1));
    w->cmdOk->click();
    QCOMPARE(g.gIN, qint16(68));
    QCOMPARE(g.gCNPJ, Cnpj2);
    QCOMPARE(g.gPeriodoFinal, QDate(2001, 6, 30));
    QCOMPARE(nomeConexao(), QStringLiteral("TOBRI68114447770001610101200130062001.MDB"));
    QCOMPARE(cadeia.modais, QStringList{Proxima});
}

void TstDeclaracoes::abrirBancoDefeituoso_data()
{
    QTest::addColumn<QByteArray>("conteudo");  // "-": no file
    QTest::newRow("ausente") << QByteArray("-");
    QTest::newRow("corrompido") << QByteArray("isto não é um banco de dados").repeated(40);
    QTest::newRow("vazio") << QByteArray();
}

void TstDeclaracoes::abrirBancoDefeituoso()
{
    QFETCH(QByteArray, conteudo);
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31), QStringLiteral("D'Ávila Ltda")));
    const QString banco = caminhoBancoDeclaracao();
    g.gConn->fechar();
    QVERIFY(QFile::remove(banco));
    if (conteudo != "-") {
        QFile f(banco);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
    }
    Cadeia cadeia;
    auto* w = qobject_cast<frmAbrirArquivo*>(Formularios::carregar(QStringLiteral("frmAbrirArquivo")));
    amb.dialogos.respostas << dlg::RespSim;
    w->cmdOk->click();
    QCOMPARE(amb.dialogos.textos(),
             QStringList{QStringLiteral("Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Deseja "
                                        "recriar o banco para este CNPJ/Período, descartando as informações já "
                                        "importadas?")});
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
    QCOMPARE(amb.dialogos.mensagens.first().botoes, dlg::Botoes::SimNao);
    // A fresh database from the template, with the declaration's row.
    QCOMPARE(nomeConexao(), QFileInfo(banco).fileName());
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbImportados")).toInt(), 0);
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM TbleiauteDIG")).toInt(), 0);
    QVERIFY(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM Tbleiautepadrao")).toInt() > 0);
    QCOMPARE(nomeEm(banco, 86, Cnpj, "2005-01-01"), QStringLiteral("D'Ávila Ltda"));
    QVERIFY(!Formularios::carregado(w));
    QCOMPARE(cadeia.modais, QStringList{Proxima});
}

void TstDeclaracoes::abrirSemRecriar()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    const QString banco = caminhoBancoDeclaracao();
    g.gConn->fechar();
    QVERIFY(QFile::remove(banco));
    Cadeia cadeia;
    auto* w = qobject_cast<frmAbrirArquivo*>(Formularios::carregar(QStringLiteral("frmAbrirArquivo")));
    amb.dialogos.respostas << dlg::RespNao;
    w->cmdOk->click();
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QVERIFY(Formularios::carregado(w));
    QCOMPARE(w->TDBabrir->linhas(), 1);
    QCOMPARE(nomeConexao(), QStringLiteral("tobriv1.mdb"));
    QVERIFY(!QFile::exists(banco));
    QVERIFY(cadeia.modais.isEmpty());
    // The picker still works: this time, recreate.
    amb.dialogos.respostas << dlg::RespSim;
    w->cmdOk->click();
    QVERIFY(QFile::exists(banco));
    QCOMPARE(cadeia.modais, QStringList{Proxima});
}

void TstDeclaracoes::okSemLinhaNaoFazNada_data()
{
    QTest::addColumn<QString>("janela");
    QTest::newRow("abrir") << "frmAbrirArquivo";
    QTest::newRow("excluir") << "frmExcluirArquivo";
}

void TstDeclaracoes::okSemLinhaNaoFazNada()
{
    QFETCH(QString, janela);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    const QString banco = caminhoBancoDeclaracao();
    geral().gConn->fechar();
    Cadeia cadeia;
    Formulario* w = Formularios::carregar(janela);
    auto* grade = w->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
    QVERIFY(grade);
    grade->setCurrentIndex(QModelIndex());
    amb.dialogos.respostas << dlg::RespSim;
    w->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QVERIFY(Formularios::carregado(w));
    QVERIFY(cadeia.modais.isEmpty());
    QCOMPARE(nomeConexao(), QStringLiteral("tobriv1.mdb"));
    QCOMPARE(contaRegistro(), 1);
    QVERIFY(QFile::exists(banco));
}

// The row OK acts on stays highlighted whatever the mouse does on the grid.
void TstDeclaracoes::linhaEscolhidaFicaRealcada()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2004, 1, 1), QDate(2004, 12, 31)));
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    geral().gConn->fechar();
    auto* w = qobject_cast<frmExcluirArquivo*>(Formularios::carregar(QStringLiteral("frmExcluirArquivo")));
    QVERIFY(w);
    w->resize(600, 400);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    GradeDeclaracoes* grade = w->TDBabrir;
    QWidget* area = grade->viewport();
    const QRect linha1 = grade->visualRect(grade->model()->index(1, 1));
    QTest::mouseClick(area, Qt::LeftButton, {}, linha1.center());
    auto realcadas = [grade] { return grade->selectionModel()->selectedRows(); };
    QCOMPARE(realcadas().size(), 1);
    QCOMPARE(realcadas().at(0).row(), 1);

    // A click below the last row, then Ctrl+click on the chosen row.
    const QPoint vazio(linha1.center().x(), area->height() - 5);
    QVERIFY(!grade->indexAt(vazio).isValid());
    QTest::mouseClick(area, Qt::LeftButton, {}, vazio);
    QCOMPARE(realcadas().size(), 1);
    QCOMPARE(realcadas().at(0).row(), 1);
    QTest::mouseClick(area, Qt::LeftButton, Qt::ControlModifier, linha1.center());
    QCOMPARE(realcadas().size(), 1);
    QCOMPARE(realcadas().at(0).row(), 1);
    QCOMPARE(grade->currentIndex().row(), 1);
    Formularios::descarregar(w);
}

void TstDeclaracoes::excluir()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2004, 1, 1), QDate(2004, 12, 31)));
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    g.gConn->fechar();
    const QStringList de2005 = copias(QStringLiteral("2005010120051231"));
    const QStringList de2004 = copias(QStringLiteral("2004010120041231"));
    for (const QString& f : de2005 + de2004)
        amb.escreverArquivo(f, "x\r\n");
    const QString outro = amb.escreverArquivo(QStringLiteral("11222333000181-TOBRI-01-2005010120051231.bak"), "x");
    const QString banco2004 = arquivoBanco(86, CnpjDigitos, "01012004", "31122004");
    const QString banco2005 = arquivoBanco(86, CnpjDigitos, "01012005", "31122005");
    const QStringList rascunhos2005 = rascunhos(QStringLiteral("2005010120051231"), banco2005);
    const QStringList rascunhos2004 = rascunhos(QStringLiteral("2004010120041231"), banco2004);
    for (const QString& f : rascunhos2005 + rascunhos2004)
        amb.escreverArquivo(f, "x\r\n");

    auto* w = qobject_cast<frmExcluirArquivo*>(Formularios::carregar(QStringLiteral("frmExcluirArquivo")));
    QCOMPARE(w->windowTitle(), QStringLiteral("Excluir Arquivos"));
    QCOMPARE(w->TDBabrir->linhas(), 2);
    w->TDBabrir->setCurrentIndex(w->TDBabrir->model()->index(1, 0));   // 2005
    amb.dialogos.respostas << dlg::RespSim;
    w->cmdOk->click();

    QCOMPARE(amb.dialogos.textos(), QStringList{QStringLiteral("Deseja excluir o arquivo ?")});
    QCOMPARE(amb.dialogos.mensagens.first().botoes, dlg::Botoes::SimNao);
    QVERIFY(!QFile::exists(banco2005));
    for (const QString& f : de2005 + rascunhos2005)
        QVERIFY2(!QFile::exists(amb.caminhoDados(f)), qPrintable(f));
    // The other period of the same company and unrelated files stay.
    QVERIFY(QFile::exists(banco2004));
    for (const QString& f : de2004 + rascunhos2004)
        QVERIFY2(QFile::exists(amb.caminhoDados(f)), qPrintable(f));
    QVERIFY(QFile::exists(outro));
    QCOMPARE(contaRegistro(), 1);
    QCOMPARE(contaRegistro(QStringLiteral(" WHERE periodoinicial = '2004-01-01'")), 1);
    QVERIFY(Formularios::carregado(w));
    QCOMPARE(w->TDBabrir->linhas(), 1);
    QCOMPARE(nomeConexao(), QStringLiteral("tobriv1.mdb"));

    // The last one: the window closes.
    amb.dialogos.respostas << dlg::RespSim;
    w->cmdOk->click();
    QCOMPARE(contaRegistro(), 0);
    QVERIFY(!QFile::exists(banco2004));
    QCOMPARE(QDir(amb.dados()).entryList(QDir::Files),
             (QStringList{QFileInfo(outro).fileName(), QStringLiteral("tobriv1.mdb")}));
    QVERIFY(!Formularios::carregado(w));
}

void TstDeclaracoes::excluirNao()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    const QString banco = caminhoBancoDeclaracao();
    geral().gConn->fechar();
    const QStringList arquivos = copias(QStringLiteral("2005010120051231"));
    for (const QString& f : arquivos)
        amb.escreverArquivo(f, "x\r\n");
    auto* w = qobject_cast<frmExcluirArquivo*>(Formularios::carregar(QStringLiteral("frmExcluirArquivo")));
    amb.dialogos.respostas << dlg::RespNao;
    w->cmdOk->click();
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QVERIFY(QFile::exists(banco));
    for (const QString& f : arquivos)
        QVERIFY(QFile::exists(amb.caminhoDados(f)));
    QCOMPARE(contaRegistro(), 1);
    QVERIFY(Formularios::carregado(w));
}

void TstDeclaracoes::excluirRelataArquivosPresos()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    geral().gConn->fechar();
    const QStringList arquivos = copias(QStringLiteral("2005010120051231"));
    for (const QString& f : arquivos)
        amb.escreverArquivo(f, "x\r\n");
    // Two names that cannot be removed as files.
    const QString preso1 = amb.caminhoDados(arquivos.at(1));
    const QString preso2 = amb.caminhoDados(arquivos.at(10));
    for (const QString& p : {preso1, preso2}) {
        QVERIFY(QFile::remove(p));
        QVERIFY(QDir().mkpath(p + QStringLiteral("/dentro")));
    }
    auto* w = qobject_cast<frmExcluirArquivo*>(Formularios::carregar(QStringLiteral("frmExcluirArquivo")));
    amb.dialogos.respostas << dlg::RespSim;
    w->cmdOk->click();
    QCOMPARE(amb.dialogos.mensagens.size(), 2);
    const dlg::Mensagem& m = amb.dialogos.mensagens.at(1);
    QCOMPARE(m.icone, dlg::Icone::Exclamacao);
    QVERIFY(m.texto.contains(preso1));
    QVERIFY(m.texto.contains(preso2));
    QCOMPARE(m.texto.count(QStringLiteral("-TOBRI-")), 2);
    // Everything else went.
    for (const QString& f : arquivos) {
        const QString c = amb.caminhoDados(f);
        if (c != preso1 && c != preso2)
            QVERIFY2(!QFile::exists(c), qPrintable(f));
    }
    QCOMPARE(contaRegistro(), 0);
    QVERIFY(!Formularios::carregado(w));
}

void TstDeclaracoes::excluirUltimaPeloMenu()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    geral().gConn->fechar();
    Formularios::adicionar(new frmAbertura);
    auto* p = new frmPrincipalValidacao;
    Formularios::adicionar(p);
    QVERIFY(p->Form_Load());
    QVERIFY(p->item(QStringLiteral("mnuImportarArquivo"))->isEnabled());
    QStringList modais;
    Formularios::definirGanchoModal([&](Formulario* f) {
        modais << nomeJanela(f);
        if (auto* w = qobject_cast<frmExcluirArquivo*>(f)) {
            QCOMPARE(geral().gOperacao, qint16(8));
            amb.dialogos.respostas << dlg::RespSim;
            w->cmdOk->click();
            QVERIFY(!Formularios::carregado(w));
        }
    });
    p->mnuExcluirArquivo_Click();
    QCOMPARE(modais, QStringList{QStringLiteral("frmExcluirArquivo")});
    QCOMPARE(contaRegistro(), 0);
    for (const char* n : {"mnuImportarArquivo", "mnuValidacao", "mnuExcluirArquivo", "mnuGravar"})
        QVERIFY2(!p->item(QString::fromLatin1(n))->isEnabled(), n);
    QVERIFY(!p->botao(3)->isEnabled());
    QVERIFY(!p->botao(8)->isEnabled());
    QVERIFY(p->item(QStringLiteral("mnuAbrir"))->isEnabled());
}

QTEST_MAIN(TstDeclaracoes)
#include "tst_declaracoes.moc"
