#include "Ambiente.h"
#include "Controles.h"
#include "Resultados.h"

#include "import/frmResultadoImportacao.h"
#include "import/frmVisualiza.h"
#include "import/frmVisualizaResultadoImportacao.h"
#include "platform/Formularios.h"
#include "platform/Impressoras.h"
#include "reports/Relatorio.h"
#include "reports/RptCNPJPeriodo.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QHeaderView>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <random>

using relatorio::Pagina;

class TstResultadoImportacao : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void visualizarListaSoOTipoDoArquivo_data();
    void visualizarListaSoOTipoDoArquivo();
    void importacaoLimpaNaoImprime();
    void falhasDeImpressao_data();
    void falhasDeImpressao();
    void resumoListaSituacoesEDetalha();
    void detalharSemLinhaNaoFazNada();
    void seletorRecusa_data();
    void seletorRecusa();
    void seletorAbreResumo();
    void resumoMostraNoveArquivosInteiros();
    void tipoNomeadoPelaInstrucao();
};

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 12, 31);

QStringList mostradas;

// Records the windows shown modally instead of running their loops (after
// the Ambiente, which clears the hook).
void gancho()
{
    mostradas.clear();
    Formularios::definirGanchoModal(
        [](Formulario* f) { mostradas << QString::fromLatin1(f->metaObject()->className()); });
}

// An imported file: its status row and its error counts.
bool importado(qint16 tipo, qint16 situacao, int lidos, int corretos, int erros)
{
    return executar(QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, "
                                   "Situacao, RegLidos, RegCorretos, RegErros, NomeArquivo, ArquivoGerado) "
                                   "VALUES (86, ?, ?, ?, ?, ?, ?, ?, ?, ' ', ' ')"),
                    {Cnpj, dataIso(Inicio), dataIso(Fim), tipo, situacao, lidos, corretos, erros});
}

bool contagem(qint16 tipo, qint16 codigo, int quantidade)
{
    return executar(QStringLiteral("INSERT INTO TbErrosImportacao (CNPJ, periodoinicial, periodofinal, TipoArquivo, "
                                   "CodigoErro, QuantidadeReg) VALUES (?, '01012005', '31122005', ?, ?, ?)"),
                    {Cnpj, tipo, codigo, quantidade});
}

bool detalhe(qint16 tipo, qint64 registro, qint16 codigo, int ativo)
{
    return executar(QStringLiteral("INSERT INTO tbDetalheErros (Quebra, INarquivo, TipoArquivo, CNPJ, periodoinicial, "
                                   "periodofinal, NroRegistro, CodigoErro, ativo) VALUES (0, 86, ?, ?, ?, ?, ?, ?, ?)"),
                    {tipo, Cnpj, dataIso(Inicio), dataIso(Fim), registro, codigo, ativo});
}

// Two files with errors: the general journal entries (type 6, enough records
// for several pages, stored out of order and flagged as if printed before) and
// the general chart (type 1).
bool doisArquivosComErros()
{
    if (!criarDeclaracao(86, Cnpj, Inicio, Fim) || !importado(6, 777, 500, 410, 90) || !importado(1, 777, 10, 7, 3))
        return false;
    QList<int> registros;
    for (int r = 1; r <= 90; ++r)
        registros << r * 5;
    std::shuffle(registros.begin(), registros.end(), std::mt19937(7));
    for (int r : registros)
        if (!detalhe(6, r, r % 2 ? 31 : 33, 1))
            return false;
    // One record with two errors keeps the order in which they were found.
    if (!detalhe(6, 250, 36, 1))
        return false;
    for (int r : {2, 4, 9})
        if (!detalhe(1, r, 9, 0))
            return false;
    return contagem(6, 33, 45) && contagem(6, 31, 45) && contagem(6, 36, 1) && contagem(1, 9, 3);
}

void definirArquivo(qint16 tipo, int lidos, int corretos, int erros)
{
    Geral& g = geral();
    g.gTipoArquivo = tipo;
    g.gRegLidos = lidos;
    g.gRegCorretos = corretos;
    g.gRegErros = erros;
}

QList<int> ativos(qint16 tipo)
{
    QList<int> r;
    QSqlQuery q(geral().gConn->banco());
    q.prepare(QStringLiteral("SELECT DISTINCT ativo FROM tbDetalheErros WHERE TipoArquivo = ?"));
    q.addBindValue(tipo);
    q.exec();
    while (q.next())
        r << q.value(0).toInt();
    return r;
}

} // namespace

void TstResultadoImportacao::cleanup()
{
    Formularios::definirGanchoModal(nullptr);
    relatorio::definirGanchoVisualizacao(nullptr);
    relatorio::definirObservadorImpressao(nullptr);
}

void TstResultadoImportacao::visualizarListaSoOTipoDoArquivo_data()
{
    QTest::addColumn<QString>("janela");
    QTest::addColumn<QString>("acao");
    QTest::newRow("visualizar") << QStringLiteral("frmResultadoImportacao") << QStringLiteral("cmdOK");
    QTest::newRow("imprimir") << QStringLiteral("frmResultadoImportacao") << QStringLiteral("cmdImprimir");
    QTest::newRow("visualizar, gêmea") << QStringLiteral("frmResultadoImportacao2") << QStringLiteral("cmdOK");
}

void TstResultadoImportacao::visualizarListaSoOTipoDoArquivo()
{
    QFETCH(QString, janela);
    QFETCH(QString, acao);
    Ambiente amb;
    gancho();
    impressoras::simular({});
    QVERIFY(doisArquivosComErros());
    // Type 1 was the last one shown: its rows are the flagged ones.
    QVERIFY(executar(QStringLiteral("UPDATE tbDetalheErros SET ativo = (TipoArquivo = 1)")));
    definirArquivo(6, 500, 410, 90);

    QList<Pagina> paginas;
    relatorio::definirGanchoVisualizacao([&](const QList<Pagina>& p) { paginas = p; });
    relatorio::definirObservadorImpressao([&](const QList<Pagina>& p) { paginas = p; });
    Formulario* f = Formularios::carregar(janela);
    QVERIFY(f);
    Formularios::mostrarModal(f);
    QCOMPARE(mostradas, QStringList{janela});
    QCOMPARE(texto(f, "lbltipo"), QStringLiteral("Lançamentos Diário Geral"));
    botao(f, acao.toLatin1().constData())->click();
    QCOMPARE(amb.dialogos.textos(), QStringList());

    QCOMPARE(ativos(6), QList<int>{1});
    QCOMPARE(ativos(1), QList<int>{0});
    QVERIFY(paginas.size() >= 2);
    QList<int> registros;
    for (const Pagina& p : paginas) {
        const QStringList t = p.textos();
        QCOMPARE(t.mid(0, 6), (QStringList{QStringLiteral("Ministério da Lumeira"), t.at(1),
                                           QStringLiteral("Secretaria da Orvane do Brasil"),
                                           QStringLiteral("Página : %1").arg(p.numero),
                                           QStringLiteral("TOBRI  -  Arquivos Contábeis"),
                                           QStringLiteral("Resultado da Importação")}));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$")).match(t.at(1)).hasMatch());
        // The group header on every page.
        QCOMPARE(t.mid(6, 11),
                 (QStringList{QStringLiteral("CNPJ                     :"), Cnpj, QString::number(p.numero),
                              QStringLiteral("Período                 :"), QStringLiteral("01/01/2005"),
                              QStringLiteral("a"), QStringLiteral("31/12/2005"),
                              QStringLiteral("Arquivo                 :"), QStringLiteral("Lançamentos Diário Geral"),
                              QStringLiteral("Nº do Registro"), QStringLiteral("Descrição do erro")}));
        for (qsizetype i = 17; i < t.size(); i += 2) {
            const int r = t.at(i).toInt();
            registros << r;
            const QString esperado = r == 250 && registros.count(250) == 2
                                         ? QStringLiteral("Indicador de débito/crédito do lançamento inválido: deve ser D ou C")
                                         : r % 2 ? QStringLiteral("Conta do lançamento não encontrada no plano de contas")
                                                 : QStringLiteral("Valor do lançamento inválido: deve conter somente dígitos");
            QCOMPARE(t.at(i + 1), esperado);
        }
    }
    QList<int> esperados;
    for (int r = 1; r <= 90; ++r) {
        esperados << r * 5;
        if (r == 50)
            esperados << 250;
    }
    QCOMPARE(registros, esperados);

    if (acao == QStringLiteral("cmdImprimir")) {
        QFile pdf(amb.caminhoDocumentos(QStringLiteral("Resultado da Importação.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }
    // "&Voltar" of the import's own result goes on to the next file type.
    if (janela == QStringLiteral("frmResultadoImportacao")) {
        botao(f, "cmdvoltar")->click();
        QVERIFY(!Formularios::obter(janela));
        QCOMPARE(mostradas.last(), QStringLiteral("frmContinuaImportacao"));
    }
}

void TstResultadoImportacao::importacaoLimpaNaoImprime()
{
    Ambiente amb;
    gancho();
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    QVERIFY(importado(8, 90, 1234567, 1234567, 0));
    definirArquivo(8, 1234567, 1234567, 0);
    Formulario* f = Formularios::carregar(QStringLiteral("frmResultadoImportacao"));
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), QStringLiteral("Resultado da Importação - Resumo dos Erros do Arquivo"));
    QCOMPARE(texto(f, "lblcnpjT"), Cnpj);
    QCOMPARE(texto(f, "lblperiodo"), QStringLiteral("01/01/2005 a 31/12/2005"));
    QCOMPARE(texto(f, "lbltipo"), QStringLiteral("Saldos Diário Geral"));
    QCOMPARE(texto(f, "lblRegLidos"), QStringLiteral("Quantidade de Registros Lidos          : 1234567"));
    QCOMPARE(texto(f, "lblRegCorretos"), QStringLiteral("Quantidade de Registros Corretos     : 1234567"));
    QCOMPARE(texto(f, "lblRegErros"), QStringLiteral("Quantidade de Registros Com Erros  : 0"));
    auto* grade = f->findChild<QTableView*>(QStringLiteral("TDBGrid1"));
    QCOMPARE(grade->model()->rowCount(), 0);
    QCOMPARE(titulosDaGrade(grade), (QStringList{QStringLiteral("Código do Erro"), QStringLiteral("Descrição"),
                                                  QStringLiteral("Quantidade de Registros")}));
    QVERIFY(!botao(f, "cmdOK")->isEnabled());
    QVERIFY(!botao(f, "cmdImprimir")->isEnabled());
    QVERIFY(botao(f, "cmdvoltar")->isEnabled());
    QCOMPARE(botao(f, "cmdImprimir")->text(), QStringLiteral("  &Imprimir Erros"));
    botao(f, "cmdAjuda")->click();
    QCOMPARE(amb.ajudas, QList<int>{2105});
    botao(f, "cmdSair")->click();
    QVERIFY(!Formularios::obter(QStringLiteral("frmResultadoImportacao")));
}

void TstResultadoImportacao::falhasDeImpressao_data()
{
    QTest::addColumn<QString>("janela");
    QTest::addColumn<QString>("falha");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("sem impressora")
        << QStringLiteral("frmResultadoImportacao") << QStringLiteral("sem impressora")
        << QStringLiteral("Impressora não instalada. Verifique as Configurações de Impressora.");
    QTest::newRow("sem impressora, gêmea")
        << QStringLiteral("frmResultadoImportacao2") << QStringLiteral("sem impressora")
        << QStringLiteral("Impressora não instalada. Verifique suas configurações.");
    QTest::newRow("diálogo cancelado") << QStringLiteral("frmResultadoImportacao") << QStringLiteral("cancelado")
                                       << QString();
    QTest::newRow("arquivo não gravável") << QStringLiteral("frmResultadoImportacao2")
                                          << QStringLiteral("não gravável") << QStringLiteral("cod.erro 482");
}

void TstResultadoImportacao::falhasDeImpressao()
{
    QFETCH(QString, janela);
    QFETCH(QString, falha);
    QFETCH(QString, mensagem);
    Ambiente amb;
    gancho();
    QVERIFY(doisArquivosComErros());
    definirArquivo(1, 10, 7, 3);
    impressoras::simular({}, falha == QStringLiteral("sem impressora"));
    amb.dialogos.impressora.enqueue(falha != QStringLiteral("cancelado"));
    const QString pdf = amb.caminhoDocumentos(QStringLiteral("Resultado da Importação.pdf"));
    if (falha == QStringLiteral("não gravável"))
        QDir().mkpath(pdf);
    Formulario* f = Formularios::carregar(janela);
    botao(f, "cmdImprimir")->click();
    if (mensagem.isEmpty()) {
        QCOMPARE(amb.dialogos.textos(), QStringList());
    } else {
        QCOMPARE(amb.dialogos.mensagens.size(), 1);
        QVERIFY2(amb.dialogos.ultimo().startsWith(mensagem), qPrintable(amb.dialogos.ultimo()));
        QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
    }
    QVERIFY(!QFileInfo(pdf).isFile());
    QVERIFY(Formularios::obter(janela));
}

void TstResultadoImportacao::resumoListaSituacoesEDetalha()
{
    Ambiente amb;
    gancho();
    QVERIFY(doisArquivosComErros());
    QVERIFY(executar(QStringLiteral("UPDATE tbImportados SET Situacao = 0, RegErros = 0, RegCorretos = 10 "
                                    "WHERE Tipo = 1")));
    QVERIFY(importado(8, 90, 24, 24, 0));
    // A status with no text is not listed.
    QVERIFY(importado(9, 12345, 5, 5, 0));
    // Another declaration in the same database is not listed.
    QVERIFY(executar(QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, "
                                    "Situacao) VALUES (68, ?, ?, ?, 2, 90)"),
                     {Cnpj, dataIso(Inicio), dataIso(Fim)}));
    Formulario* f = Formularios::carregar(QStringLiteral("frmVisualizaResultadoImportacao"));
    QVERIFY(f);
    QCOMPARE(texto(f, "lblCNPJV"), Cnpj);
    QCOMPARE(texto(f, "lblPeriodo"), QStringLiteral("01/01/2005 a 31/12/2005"));
    auto* grade = f->findChild<QTableView*>(QStringLiteral("TDBResultadoImportacao"));
    QCOMPARE(titulosDaGrade(grade),
             (QStringList{QStringLiteral("I.tipo"), QStringLiteral("Tipo Arquivo"), QStringLiteral("Situação"),
                          QStringLiteral("Registros Lidos"), QStringLiteral("Registros Corretos"),
                          QStringLiteral("Registros com Erro")}));
    QCOMPARE(grade->model()->rowCount(), 3);
    QCOMPARE(linhaDaGrade(grade, 0), (QStringList{QStringLiteral("1"), QStringLiteral("Plano de Contas Diário Geral"),
                                                   QStringLiteral("Validado sem divergências"), QStringLiteral("10"),
                                                   QStringLiteral("10"), QStringLiteral("0")}));
    QCOMPARE(linhaDaGrade(grade, 1), (QStringList{QStringLiteral("6"), QStringLiteral("Lançamentos Diário Geral"),
                                                   QStringLiteral("importado com erros"), QStringLiteral("500"),
                                                   QStringLiteral("410"), QStringLiteral("90")}));
    QCOMPARE(linhaDaGrade(grade, 2).at(2), QStringLiteral("Importado sem erros"));
    QVERIFY(Qt::Alignment(grade->model()->index(0, 4).data(Qt::TextAlignmentRole).toInt()).testFlag(Qt::AlignRight));

    // "&Detalhar" opens the result of the current file in the twin.
    grade->setCurrentIndex(grade->model()->index(1, 2));
    botao(f, "cmddetalhar")->click();
    QVERIFY(!Formularios::obter(QStringLiteral("frmVisualizaResultadoImportacao")));
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmResultadoImportacao2")});
    Formulario* gemea = Formularios::obter(QStringLiteral("frmResultadoImportacao2"));
    QVERIFY(gemea);
    QCOMPARE(geral().gTipoArquivo, qint16(6));
    QCOMPARE(texto(gemea, "lblRegLidos"), QStringLiteral("Quantidade de Registros Lidos          : 500"));
    QCOMPARE(texto(gemea, "lblRegErros"), QStringLiteral("Quantidade de Registros Com Erros  : 90"));
    auto* erros = gemea->findChild<QTableView*>(QStringLiteral("TDBGrid1"));
    QCOMPARE(erros->model()->rowCount(), 3);
    QCOMPARE(linhaDaGrade(erros, 0), (QStringList{QStringLiteral("31"),
                                                   QStringLiteral("Conta do lançamento não encontrada no plano de contas"),
                                                   QStringLiteral("45")}));
    QCOMPARE(linhaDaGrade(erros, 1).first(), QStringLiteral("33"));
    QCOMPARE(linhaDaGrade(erros, 2).first(), QStringLiteral("36"));
    QVERIFY(botao(gemea, "cmdOK")->isEnabled());

    // "&Voltar" goes back to the summary.
    botao(gemea, "cmdvoltar")->click();
    QVERIFY(!Formularios::obter(QStringLiteral("frmResultadoImportacao2")));
    QCOMPARE(mostradas.last(), QStringLiteral("frmVisualizaResultadoImportacao"));
    QVERIFY(Formularios::obter(QStringLiteral("frmVisualizaResultadoImportacao")));
}

void TstResultadoImportacao::detalharSemLinhaNaoFazNada()
{
    Ambiente amb;
    gancho();
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    Formulario* f = Formularios::carregar(QStringLiteral("frmVisualizaResultadoImportacao"));
    QCOMPARE(f->findChild<QTableView*>()->model()->rowCount(), 0);
    botao(f, "cmddetalhar")->click();
    QVERIFY(mostradas.isEmpty());
    QVERIFY(Formularios::obter(QStringLiteral("frmVisualizaResultadoImportacao")));
    botao(f, "cmdOk")->click();
    QVERIFY(!Formularios::obter(QStringLiteral("frmVisualizaResultadoImportacao")));
}

void TstResultadoImportacao::seletorRecusa_data()
{
    QTest::addColumn<bool>("semBanco");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("sem importados") << false << QStringLiteral("Não existem arquivos importados.");
    QTest::newRow("banco ausente")
        << true
        << QStringLiteral("Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a opção "
                          "Excluir do Menu Arquivo e exclua o período com problemas e posteriormente crie na opcao "
                          "Novo o mesmo período.");
}

void TstResultadoImportacao::seletorRecusa()
{
    QFETCH(bool, semBanco);
    QFETCH(QString, mensagem);
    Ambiente amb;
    gancho();
    QVERIFY(criarDeclaracao(68, QStringLiteral("00.888.777/0001-00"), QDate(2004, 1, 1), QDate(2004, 6, 30)));
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    if (semBanco) {
        geral().gConn->fechar();
        QVERIFY(QFile::remove(caminhoBancoDeclaracao()));
    }
    Formulario* f = Formularios::carregar(QStringLiteral("frmVisualiza"));
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), QStringLiteral("Visualizar Resultado da Importação"));
    auto* grade = f->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
    QCOMPARE(grade->linhas(), 2);
    // The other declaration comes first.
    grade->setCurrentIndex(grade->model()->index(1, 0));
    ChaveDeclaracao escolhida;
    QVERIFY(grade->linhaAtual(escolhida));
    QCOMPARE(escolhida.cnpj, Cnpj);

    botao(f, "cmdOk")->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{mensagem});
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Nenhum);
    QVERIFY(mostradas.isEmpty());
    QVERIFY(Formularios::obter(QStringLiteral("frmVisualiza")));
    QCOMPARE(QFileInfo(geral().gConn->caminho()).fileName(), QStringLiteral("tobriv1.mdb"));
    QVERIFY(!semBanco || !QFile::exists(caminhoBancoDeclaracao()));
    // The picker still lists the register at the same row.
    QVERIFY(grade->linhaAtual(escolhida));
    QCOMPARE(escolhida.cnpj, Cnpj);
    QCOMPARE(escolhida.inicio, Inicio);
}

void TstResultadoImportacao::seletorAbreResumo()
{
    Ambiente amb;
    gancho();
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    QVERIFY(importado(6, 777, 500, 410, 90));
    geral().gConn->fechar();
    definirDeclaracao(0, QString(), QDate(), QDate());
    Formulario* f = Formularios::carregar(QStringLiteral("frmVisualiza"));
    // Nothing happens without a current row.
    f->findChild<QTableView*>()->setCurrentIndex(QModelIndex());
    botao(f, "cmdOk")->click();
    QVERIFY(mostradas.isEmpty());
    QVERIFY(amb.dialogos.mensagens.isEmpty());

    f->findChild<QTableView*>()->setCurrentIndex(f->findChild<QTableView*>()->model()->index(0, 0));
    botao(f, "cmdOk")->click();
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QVERIFY(!Formularios::obter(QStringLiteral("frmVisualiza")));
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmVisualizaResultadoImportacao")});
    Geral& g = geral();
    QCOMPARE(g.gIN, qint16(86));
    QCOMPARE(g.gCNPJ, Cnpj);
    QCOMPARE(g.gCNPJNumeros, QStringLiteral("11222333000181"));
    QCOMPARE(g.gPeriodoFinal, Fim);
    QCOMPARE(g.gConn->caminho(), caminhoBancoDeclaracao());
    auto* resumo = Formularios::obter(QStringLiteral("frmVisualizaResultadoImportacao"));
    QCOMPARE(resumo->findChild<QTableView*>()->model()->rowCount(), 1);
}

void TstResultadoImportacao::resumoMostraNoveArquivosInteiros()
{
    Ambiente amb;
    gancho();
    QVERIFY(criarDeclaracao(68, Cnpj, Inicio, Fim));
    // Nine files, large counts and the longest status text.
    for (int tipo = 1; tipo <= 9; ++tipo)
        QVERIFY(executar(QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, "
                                        "Situacao, RegLidos, RegCorretos, RegErros, NomeArquivo, ArquivoGerado) "
                                        "VALUES (68, ?, ?, ?, ?, 777, 123456789, 123456689, 100, ' ', ' ')"),
                         {Cnpj, dataIso(Inicio), dataIso(Fim), tipo}));
    Formulario* f = Formularios::carregar(QStringLiteral("frmVisualizaResultadoImportacao"));
    QVERIFY(f);
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    auto* grade = f->findChild<QTableView*>(QStringLiteral("TDBResultadoImportacao"));
    QCOMPARE(grade->model()->rowCount(), 9);
    QVERIFY(!grade->horizontalScrollBar()->isVisible());
    QVERIFY(!grade->verticalScrollBar()->isVisible());
    const QRect visivel = grade->viewport()->rect();
    for (int c = 0; c < 6; ++c) {
        // Every column whole, no caption or value cut.
        const int fim = grade->columnViewportPosition(c) + grade->columnWidth(c);
        QVERIFY2(fim <= visivel.width(), qPrintable(grade->model()->headerData(c, Qt::Horizontal).toString()));
        const QString titulo = grade->model()->headerData(c, Qt::Horizontal).toString();
        QVERIFY(grade->columnWidth(c) >= grade->horizontalHeader()->fontMetrics().horizontalAdvance(titulo));
        for (int r = 0; r < 9; ++r) {
            const QString valor = grade->model()->index(r, c).data().toString();
            QVERIFY(grade->columnWidth(c) > grade->fontMetrics().horizontalAdvance(valor));
        }
    }
    QVERIFY(visivel.contains(grade->visualRect(grade->model()->index(8, 5))));
    // The counts are right-aligned.
    QVERIFY(Qt::Alignment(grade->model()->index(0, 3).data(Qt::TextAlignmentRole).toInt()).testFlag(Qt::AlignRight));
    // The user may still resize the window: the grid takes the room.
    const int antes = grade->width();
    f->resize(f->width() + 100, f->height());
    QTRY_COMPARE(grade->width(), antes + 100);
    f->hide();
}

void TstResultadoImportacao::tipoNomeadoPelaInstrucao()
{
    Ambiente amb;
    gancho();
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    QVERIFY(importado(3, 777, 4, 3, 1));
    QVERIFY(detalhe(3, 2, 9, 1));
    // The summary grid and the printed error report call type 3 as every window does.
    Formulario* f = Formularios::carregar(QStringLiteral("frmVisualizaResultadoImportacao"));
    auto* grade = f->findChild<QTableView*>(QStringLiteral("TDBResultadoImportacao"));
    QCOMPARE(grade->model()->rowCount(), 1);
    QCOMPARE(grade->model()->index(0, 1).data().toString(), QStringLiteral("Centro de Custos/Despesas"));
    QList<LinhaErroImportacao> linhas;
    db::Erro e;
    QVERIFY(RptCNPJPeriodo::ler(*geral().gConn, linhas, e));
    QCOMPARE(linhas.size(), 1);
    QCOMPARE(linhas.first().descricaoTipo, QStringLiteral("Centro de Custos/Despesas"));
}

QTEST_MAIN(TstResultadoImportacao)
#include "tst_resultadoImportacao.moc"
