// File type choice: check marks, import-order rules and overwrite questions.
#include "Ambiente.h"

#include "import/frmContinuaImportacao.h"
#include "platform/Formularios.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TstEscolhaTipo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void regras_data();
    void regras();
    void marcasEFlags_data();
    void marcasEFlags();
    void falhaAoCarregarAbreSemMarcas();
    void falhaNaConsultaDeSobreposicaoPara();
    void cancelarDescarregaDadosContribuinte();
    void ajuda();
};

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2004, 1, 1);
const QDate Fim(2004, 12, 31);

// "t:s,t:s": status rows of the declaration in hand.
void gravarImportados(const QString& lista)
{
    Geral& g = geral();
    for (const QString& par : lista.split(u',', Qt::SkipEmptyParts)) {
        const QStringList p = par.split(u':');
        QVERIFY(g.gConn->executar(
            QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao)"
                           " VALUES (?,?,?,?,?,?)"),
            {g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal), p[0].toInt(), p[1].toInt()}));
    }
}

// Messages as "icon/buttons:text": C critical, I information, S question without icon, IS information question.
QStringList resumo(const QList<dlg::Mensagem>& ms)
{
    QStringList r;
    for (const dlg::Mensagem& m : ms) {
        QString k;
        if (m.icone == dlg::Icone::Critico)
            k = QStringLiteral("C");
        else if (m.icone == dlg::Icone::Informacao)
            k = QStringLiteral("I");
        if (m.botoes == dlg::Botoes::SimNao)
            k += QStringLiteral("S");
        r << k + u':' + m.texto;
    }
    return r;
}

QRadioButton* opcao(QWidget* w, qint16 in, int tipo)
{
    const QString nome = in == 68 ? QStringLiteral("optTipoarquivo68_%1") : QStringLiteral("OptTipoArquivo86_%1");
    return w->findChild<QRadioButton*>(nome.arg(tipo - 1));
}

const QString LancGeral = QStringLiteral(
    "C:O arquivo de Lançamentos Diário Geral não pode ser importado antes do arquivo de Plano de Contas Diário Geral.");
const QString Tabelas = QStringLiteral("S:Não foram importadas todas as tabelas de código. Deseja continuar ?");
const QString SobreporTabela = QStringLiteral(
    "IS:Arquivo já importado sem erros. Nova importação implicará na exclusão dos arquivos vinculados. Deseja "
    "sobrepor?");
const QString SobreporMovimento = QStringLiteral("IS:Arquivo já importado. Deseja sobrepor?");

// The class of a window shown modally.
QString nomeJanela(Formulario* f)
{
    return QString::fromLatin1(f->metaObject()->className());
}

} // namespace

void TstEscolhaTipo::regras_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<QString>("importados");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QList<int>>("respostas");
    QTest::addColumn<QStringList>("mensagens");
    QTest::addColumn<QString>("proxima");
    QTest::addColumn<int>("respostaExiste");

    const QList<int> nada;
    const QList<int> sim{dlg::RespSim};
    const QList<int> nao{dlg::RespNao};
    const QString leiaute = QStringLiteral("frmLeiaute");

    QTest::newRow("nenhuma opção") << 68 << "" << 0 << nada
                                   << QStringList{QStringLiteral("I:Selecione uma das opções.")} << "" << 0;
    QTest::newRow("68 plano geral novo") << 68 << "" << 1 << nada << QStringList{} << leiaute << 0;
    QTest::newRow("68 auxiliar antes do geral") << 68 << "" << 2 << nada << QStringList{} << leiaute << 0;
    QTest::newRow("86 auxiliar antes do geral")
        << 86 << "" << 2 << nada
        << QStringList{QStringLiteral("C:O arquivo Plano de Contas Diário Auxiliar não pode ser importado antes do "
                                      "Plano de Contas Diário Geral.")}
        << "" << 0;
    QTest::newRow("86 auxiliar depois do geral") << 86 << "1:0" << 2 << nada << QStringList{} << leiaute << 0;
    QTest::newRow("68 código de tabela novo") << 68 << "" << 4 << nada << QStringList{} << leiaute << 0;
    QTest::newRow("lançamentos sem plano") << 68 << "3:0,4:0,5:0" << 6 << nada << QStringList{LancGeral} << "" << 0;
    QTest::newRow("68 lançamentos sem tabelas, não") << 68 << "1:0" << 6 << nao << QStringList{Tabelas} << "" << 0;
    QTest::newRow("68 lançamentos faltando uma tabela, sim")
        << 68 << "1:0,3:0,4:90" << 6 << sim << QStringList{Tabelas} << leiaute << 0;
    QTest::newRow("68 lançamentos com as três tabelas")
        << 68 << "1:0,3:90,4:100,5:53" << 6 << nada << QStringList{} << leiaute << 0;
    QTest::newRow("68 tabela com erros não conta")
        << 68 << "1:0,3:0,4:0,5:777" << 6 << nao << QStringList{Tabelas} << "" << 0;
    QTest::newRow("86 lançamentos com plano e centros") << 86 << "1:0,3:0" << 6 << nada << QStringList{} << leiaute << 0;
    QTest::newRow("86 lançamentos sem centros") << 86 << "1:0" << 6 << nao << QStringList{Tabelas} << "" << 0;
    QTest::newRow("lançamentos auxiliar sem plano auxiliar")
        << 68 << "1:0,3:0,4:0,5:0" << 7 << nada
        << QStringList{QStringLiteral("C:O arquivo de Lançamentos Diário Auxiliar não pode ser importado antes do "
                                      "arquivo de Plano de Contas Diário Auxiliar.")}
        << "" << 0;
    QTest::newRow("86 lançamentos auxiliar com plano auxiliar, sem centros, sim")
        << 86 << "2:0" << 7 << sim << QStringList{Tabelas} << leiaute << 0;
    QTest::newRow("saldos geral sem plano")
        << 86 << "2:0" << 8 << nada
        << QStringList{QStringLiteral("C:O arquivo de Saldos Diário Geral não pode ser importado antes do arquivo de "
                                      "Plano de Contas Diário Geral.")}
        << "" << 0;
    QTest::newRow("saldos sem pergunta de tabelas") << 68 << "1:0" << 8 << nada << QStringList{} << leiaute << 0;
    QTest::newRow("saldos auxiliar sem plano auxiliar")
        << 86 << "1:0" << 9 << nada
        << QStringList{QStringLiteral("C:O arquivo de Saldos Diário Auxiliar não pode ser importado antes do arquivo "
                                      "de Plano de Contas Diário auxiliar.")}
        << "" << 0;
    QTest::newRow("plano 777 não libera lançamentos") << 68 << "1:777" << 6 << nada << QStringList{LancGeral} << "" << 0;
    QTest::newRow("86 plano 777 não libera o auxiliar")
        << 86 << "1:777" << 2 << nada
        << QStringList{QStringLiteral("C:O arquivo Plano de Contas Diário Auxiliar não pode ser importado antes do "
                                      "Plano de Contas Diário Geral.")}
        << "" << 0;
    QTest::newRow("plano 777 reescolhido sem pergunta")
        << 68 << "1:777" << 1 << nada << QStringList{} << leiaute << int(dlg::RespSim);
    QTest::newRow("plano importado, sobrepor não") << 68 << "1:90" << 1 << nao << QStringList{SobreporTabela} << ""
                                                   << int(dlg::RespNao);
    QTest::newRow("plano importado, sobrepor sim") << 86 << "1:0" << 1 << sim << QStringList{SobreporTabela}
                                                   << leiaute << int(dlg::RespSim);
    QTest::newRow("saldos importados, sobrepor sim") << 68 << "1:0,8:100" << 8 << sim
                                                     << QStringList{SobreporMovimento} << leiaute << int(dlg::RespSim);
    QTest::newRow("sobreposição antes das regras")
        << 68 << "1:777,6:0" << 6 << sim << QStringList{SobreporMovimento, LancGeral} << "" << int(dlg::RespSim);
    QTest::newRow("lançamentos com erros, sem pergunta")
        << 68 << "1:0,3:0,4:0,5:0,6:777" << 6 << nada << QStringList{} << leiaute << int(dlg::RespSim);
    QTest::newRow("situação fora das listas, sem pergunta")
        << 68 << "1:0,3:0,4:0,5:0,6:12" << 6 << nada << QStringList{} << leiaute << 0;
}

void TstEscolhaTipo::regras()
{
    QFETCH(int, in);
    QFETCH(QString, importados);
    QFETCH(int, tipo);
    QFETCH(QList<int>, respostas);
    QFETCH(QStringList, mensagens);
    QFETCH(QString, proxima);
    QFETCH(int, respostaExiste);

    Ambiente amb;
    QVERIFY(criarDeclaracao(qint16(in), Cnpj, Inicio, Fim));
    CONFERE(gravarImportados(importados));
    Geral& g = geral();
    g.gOperacao = 2;
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << nomeJanela(f); });

    Formulario* w = Formularios::carregar(QStringLiteral("frmContinuaImportacao"));
    QVERIFY(w);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    if (tipo > 0) {
        QRadioButton* o = opcao(w, qint16(in), tipo);
        QVERIFY(o && o->isEnabled());
        o->setChecked(true);
    }
    for (int r : respostas)
        amb.dialogos.respostas.enqueue(r);
    w->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();

    QCOMPARE(resumo(amb.dialogos.mensagens), mensagens);
    for (const dlg::Mensagem& m : amb.dialogos.mensagens)
        QCOMPARE(m.titulo, dlg::TituloPadrao);
    QVERIFY(amb.dialogos.respostas.isEmpty());
    QCOMPARE(g.gRespostaExiste, qint16(respostaExiste));
    if (proxima.isEmpty()) {
        QVERIFY(mostradas.isEmpty());
        QVERIFY(Formularios::carregado(w));
    } else {
        QCOMPARE(mostradas, QStringList{proxima});
        QCOMPARE(g.gTipoArquivo, qint16(tipo));
        QVERIFY(!Formularios::carregado(w));
    }
    if (tipo == 0)
        QCOMPARE(g.gTipoArquivo, qint16(0));
}

void TstEscolhaTipo::marcasEFlags_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<QString>("importados");
    QTest::addColumn<QList<int>>("marcas");   // visible Image1 members
    QTest::addColumn<QString>("flags");       // gFlagTipo1..9, "-" for empty

    QTest::newRow("68") << 68 << "1:0,2:777,3:53,4:90,6:57,7:20,9:100" << QList<int>{0, 2, 3, 5, 8} << "S-SS-SS-S";
    QTest::newRow("86") << 86 << "1:100,2:56,3:777,6:54,7:0,8:55,9:12" << QList<int>{9, 10, 12, 13, 14}
                        << "SS---SSSS";
    QTest::newRow("nenhum") << 86 << "" << QList<int>{} << "---------";
}

void TstEscolhaTipo::marcasEFlags()
{
    QFETCH(int, in);
    QFETCH(QString, importados);
    QFETCH(QList<int>, marcas);
    QFETCH(QString, flags);

    Ambiente amb;
    QVERIFY(criarDeclaracao(qint16(in), Cnpj, Inicio, Fim));
    CONFERE(gravarImportados(importados));
    // Another declaration's rows do not count.
    QVERIFY(geral().gConn->executar(
        QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao)"
                       " VALUES (?,?,?,?,5,0)"),
        {in, Cnpj, dataIso(QDate(2003, 1, 1)), dataIso(Fim)}));
    Geral& g = geral();
    for (int t = 1; t <= 9; ++t)
        g.gFlagTipo[t] = QStringLiteral("N");

    Formulario* w = Formularios::carregar(QStringLiteral("frmContinuaImportacao"));
    QVERIFY(w);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QList<int> visiveis;
    for (int i = 0; i < 16; ++i)
        if (!w->findChild<QLabel*>(QStringLiteral("Image1_%1").arg(i))->isHidden())
            visiveis << i;
    QCOMPARE(visiveis, marcas);
    QString f;
    for (int t = 1; t <= 9; ++t)
        f += g.gFlagTipo[t].isEmpty() ? QStringLiteral("-") : g.gFlagTipo[t];
    QCOMPARE(f, flags);

    QCOMPARE(w->windowTitle(), QStringLiteral("Selecionar Arquivo a Importar"));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblCnpj1"))->text(), Cnpj);
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("LblPeriodo"))->text(), QStringLiteral("01/01/2004 a 31/12/2004"));
    QCOMPARE(w->findChild<QWidget*>(QStringLiteral("frmIN68"))->isEnabled(), in == 68);
    QCOMPARE(w->findChild<QWidget*>(QStringLiteral("FrmIN86"))->isEnabled(), in != 68);
    // Types 4 and 5 do not exist under instruction 86.
    QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("OptTipoArquivo86_3"))->isHidden());
    QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("OptTipoArquivo86_4"))->isHidden());
}

void TstEscolhaTipo::falhaAoCarregarAbreSemMarcas()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, Inicio, Fim));
    CONFERE(gravarImportados(QStringLiteral("1:0")));
    QVERIFY(geral().gConn->executar(QStringLiteral("DROP TABLE tbImportados")));

    Formulario* w = Formularios::carregar(QStringLiteral("frmContinuaImportacao"));
    QVERIFY(w);
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QCOMPARE(amb.dialogos.mensagens[0].icone, dlg::Icone::Critico);
    QVERIFY(amb.dialogos.ultimo().startsWith(QStringLiteral("cod.erro -2147217865\r\nmsg. Erro: ")));
    QVERIFY(amb.dialogos.ultimo().endsWith(QStringLiteral(" (Verifica_Importados)")));
    QVERIFY(w->findChild<QLabel*>(QStringLiteral("Image1_0"))->isHidden());
    QVERIFY(geral().gFlagTipo[1].isEmpty());
}

void TstEscolhaTipo::falhaNaConsultaDeSobreposicaoPara()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, Inicio, Fim));
    CONFERE(gravarImportados(QStringLiteral("1:0")));
    geral().gOperacao = 1;
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << nomeJanela(f); });
    Formulario* w = Formularios::carregar(QStringLiteral("frmContinuaImportacao"));
    QVERIFY(w);
    opcao(w, 68, 1)->setChecked(true);
    QVERIFY(geral().gConn->executar(QStringLiteral("DROP TABLE tbImportados")));

    w->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    // The error is shown and the choice stops: no overwrite without a question.
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QCOMPARE(amb.dialogos.mensagens[0].icone, dlg::Icone::Critico);
    QVERIFY(amb.dialogos.ultimo().endsWith(QStringLiteral(" (Verifica_Importados)")));
    QVERIFY(mostradas.isEmpty());
    QVERIFY(Formularios::carregado(w));
}

void TstEscolhaTipo::cancelarDescarregaDadosContribuinte()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    Formulario* dados = Formularios::carregar(QStringLiteral("frmDadosContribuinte"));
    Formulario* w = Formularios::carregar(QStringLiteral("frmContinuaImportacao"));
    QVERIFY(w);
    w->findChild<QPushButton*>(QStringLiteral("cmdCancelar"))->click();
    QVERIFY(!Formularios::carregado(w));
    QVERIFY(!Formularios::obter(QStringLiteral("frmDadosContribuinte")));
    if (dados)
        QVERIFY(!Formularios::carregado(dados));
}

void TstEscolhaTipo::ajuda()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, Inicio, Fim));
    Formulario* w = Formularios::carregar(QStringLiteral("frmContinuaImportacao"));
    QVERIFY(w);
    w->findChild<QPushButton*>(QStringLiteral("cmdAjuda"))->click();
    QTest::keyClick(w, Qt::Key_F1);
    QCOMPARE(amb.ajudas, (QList<int>{ajuda::frmContinuaImportacao, ajuda::frmContinuaImportacao}));
}

QTEST_MAIN(TstEscolhaTipo)
#include "tst_escolhaTipo.moc"
