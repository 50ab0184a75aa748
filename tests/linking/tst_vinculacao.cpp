// Linking and unlinking company accounts through the linking window, over a
// small standard chart and a declaration whose general chart, entries and
// balances are staged; and the links view.
#include "Ambiente.h"

#include "import/motor/Motor.h"
#include "linking/frmContasVinculadas.h"
#include "linking/frmVinculacao.h"
#include "linking/motor/Vinculacao.h"
#include "platform/Formularios.h"
#include "shell/Geral.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTest>

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");

// Company chart: code, description, where the code is used (L entries, S balances).
struct ContaTeste {
    const char* codigo;
    const char* descricao;
    const char* uso;
};
const ContaTeste Plano[] = {
    {"1.01", "Caixa d'Água", "L"},
    {"1.02", "Bancos", "LS"},
    {"1.03", "Clientes", "S"},
    {"1%2", "Percentual", "L"},
    {"1_3", "Sublinhado", "L"},
    {"123", "Sem separador", "S"},
    {"9.99", "Sem movimento", ""},
};

QVariant escalar(const QString& sql, const QVariantList& p = {})
{
    return geral().gConn->escalar(sql, p);
}

QString planoGeral()
{
    return motor::nomeTabelaTipo(1);
}

// Accounts with their flag, "code=flag", in code order.
QStringList marcas()
{
    QStringList r;
    QSqlQuery q(geral().gConn->banco());
    q.exec(QStringLiteral("SELECT rtrim(CodConta), Vinculado FROM %1 ORDER BY CodConta").arg(planoGeral()));
    while (q.next())
        r << q.value(0).toString() + u'=' + q.value(1).toString();
    return r;
}

// The link rows, "standard|company|description", in that order.
QStringList vinculos()
{
    QStringList r;
    QSqlQuery q(geral().gConn->banco());
    q.exec(QStringLiteral("SELECT Contapadrao, ContaContrib, descricaoContrib, INarquivo, CNPJ, periodoinicial, "
                          "periodofinal FROM tbContasVinculadas ORDER BY Contapadrao, ContaContrib"));
    while (q.next()) {
        r << QStringLiteral("%1|%2|%3").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
        if (q.value(3).toInt() != 86 || q.value(4).toString() != Cnpj || q.value(5).toString() != "2005-01-01"
            || q.value(6).toString() != "2005-12-31")
            r << QStringLiteral("wrong declaration");
    }
    return r;
}

QStringList coluna(const QTableView* grade, int c = 0)
{
    QStringList r;
    for (int i = 0; i < grade->model()->rowCount(); ++i)
        r << grade->model()->index(i, c).data().toString().trimmed();
    return r;
}

void criarTabela(int tipo)
{
    geral().gTipoArquivo = qint16(tipo);
    QString msg;
    QVERIFY2(motor::copiarLeiautePadrao(msg), qPrintable(msg));
    motor::Painel painel;
    motor::Contexto ctx(painel);
    QVERIFY2(motor::LER_LeiauteDIG(ctx) && motor::fun_Criar_Tabela(ctx), qPrintable(geral().gMsg));
    QVERIFY2(motor::criarIndicesAdiados(ctx), qPrintable(geral().gMsg));   // as the end of an import
}

// A declaration (instruction 86) with its general chart, entries and
// balances staged as an import leaves them (codes and descriptions
// blank-filled), and a standard chart of three accounts.
void prepararDeclaracao()
{
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    for (int tipo : {1, 6, 8})
        CONFERE(criarTabela(tipo));
    for (const ContaTeste& c : Plano) {
        QVERIFY(geral().gConn->executar(
            QStringLiteral("INSERT INTO %1 (Dataatualiz, CodConta, TipoConta, DescConta, Vinculado) "
                           "VALUES ('01012005', ?, 'A', ?, 0)")
                .arg(planoGeral()),
            {QString::fromUtf8(c.codigo).leftJustified(28), QString::fromUtf8(c.descricao).leftJustified(50)}));
        // The entries hold bare codes, the balances blank-filled ones.
        if (strchr(c.uso, 'L'))
            for (int vez = 0; vez < 2; ++vez)
                QVERIFY(geral().gConn->executar(
                    QStringLiteral("INSERT INTO %1 (Datalanc, Codconta, Valor, Inddc) VALUES ('012005', ?, 100, 'D')")
                        .arg(motor::nomeTabelaTipo(6)),
                    {QString::fromUtf8(c.codigo)}));
        if (strchr(c.uso, 'S'))
            QVERIFY(geral().gConn->executar(
                QStringLiteral("INSERT INTO %1 (DataSaldoIni, Codconta) VALUES ('01012005', ?)")
                    .arg(motor::nomeTabelaTipo(8)),
                {QString::fromUtf8(c.codigo).leftJustified(28)}));
    }
    QVERIFY(geral().gConn->executar(QStringLiteral("DELETE FROM TbPlanocontasPadrao")));
    QVERIFY(geral().gConn->executar(QStringLiteral("INSERT INTO TbPlanocontasPadrao (Codconta, descricao) VALUES "
                                                   "('1.1', 'Ativo Circulante'), ('1.1.01', 'Caixa'), "
                                                   "('2', 'PASSIVO')")));
}

frmVinculacao* abrirJanela()
{
    return qobject_cast<frmVinculacao*>(Formularios::carregar(QStringLiteral("frmVinculacao")));
}

void escolherPadrao(frmVinculacao* j, int indice)
{
    j->cblContaPadrao->setCurrentIndex(indice);
    j->cblContaPadrao_Click();
}

void digitarPrefixo(frmVinculacao* j, const QString& prefixo)
{
    j->txtContribuinte->clear();
    QTest::keyClicks(j->txtContribuinte, prefixo);
    QTest::keyClick(j->txtContribuinte, Qt::Key_Return);
}

void selecionar(QTableView* grade, const QList<int>& linhas)
{
    grade->clearSelection();
    for (int r : linhas)
        grade->selectionModel()->select(grade->model()->index(r, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace

class TstVinculacao : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void vincularEDesvincular();
    void desfazerTodas();
    void falhaNoMeioNaoDeixaNada();
    void filtroPorPrefixo_data();
    void filtroPorPrefixo();
    void prefixoRestaurado();
    void planoPadraoInutilizavel_data();
    void planoPadraoInutilizavel();
    void semSaldosImportados();
    void contasVinculadas();
    void codigoAlinhadoADireita();
};

void TstVinculacao::vincularEDesvincular()
{
    Ambiente amb;
    CONFERE(prepararDeclaracao());
    frmVinculacao* j = abrirJanela();
    QVERIFY(j);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    // Codes line up in a six-character column.
    QCOMPARE(j->cblContaPadrao->count(), 3);
    QCOMPARE(j->cblContaPadrao->itemText(0), QStringLiteral("1.1   Ativo Circulante"));
    QCOMPARE(j->cblContaPadrao->itemText(1), QStringLiteral("1.1.01Caixa"));
    QCOMPARE(j->cblContaPadrao->currentIndex(), 0);
    // Accounts used in entries or balances, each once, in code order.
    const QStringList todas{"1%2", "1.01", "1.02", "1.03", "123", "1_3"};
    QCOMPARE(coluna(j->TDBContribuinte), todas);
    QVERIFY(j->cmdEnvia->isEnabled() && j->cmdEnviaTodos->isEnabled());
    QVERIFY(!j->cmdRetorna->isEnabled() && !j->cmdRetornaTodos->isEnabled());

    // ">" links the current account; the description keeps its apostrophe.
    escolherPadrao(j, 1);
    j->TDBContribuinte->setCurrentIndex(j->TDBContribuinte->model()->index(1, 0));
    j->cmdEnvia->click();
    QVERIFY2(amb.dialogos.mensagens.isEmpty(), qPrintable(amb.dialogos.ultimo()));
    QCOMPARE(vinculos(), QStringList{"1.1.01|1.01|Caixa d'Água"});
    QCOMPARE(marcas(), QStringList({"1%2=0", "1.01=1", "1.02=0", "1.03=0", "123=0", "1_3=0", "9.99=0"}));
    QCOMPARE(coluna(j->TDBContribuinte), QStringList({"1%2", "1.02", "1.03", "123", "1_3"}));
    QCOMPARE(coluna(j->TDBPadrao), QStringList{"1.01"});
    QVERIFY(j->cmdRetorna->isEnabled());

    // ">>" with two rows selected links those two only; ">" is off meanwhile.
    selecionar(j->TDBContribuinte, {1, 3});
    QVERIFY(!j->cmdEnvia->isEnabled());
    QVERIFY(j->cmdEnviaTodos->isEnabled());
    j->cmdEnviaTodos->click();
    QCOMPARE(vinculos(), QStringList({"1.1.01|1.01|Caixa d'Água", "1.1.01|1.02|Bancos", "1.1.01|123|Sem separador"}));
    QCOMPARE(coluna(j->TDBContribuinte), QStringList({"1%2", "1.03", "1_3"}));
    QCOMPARE(coluna(j->TDBPadrao), QStringList({"1.01", "1.02", "123"}));

    // ">>" without a selection links every offered account, to another standard account.
    escolherPadrao(j, 2);
    QCOMPARE(coluna(j->TDBPadrao), QStringList{});
    j->TDBContribuinte->clearSelection();
    j->cmdEnviaTodos->click();
    QCOMPARE(coluna(j->TDBContribuinte), QStringList{});
    QCOMPARE(coluna(j->TDBPadrao), QStringList({"1%2", "1.03", "1_3"}));
    QVERIFY(!j->cmdEnvia->isEnabled() && !j->cmdEnviaTodos->isEnabled());
    QCOMPARE(marcas(), QStringList({"1%2=1", "1.01=1", "1.02=1", "1.03=1", "123=1", "1_3=1", "9.99=0"}));

    // "<" on a standard account without links changes nothing.
    escolherPadrao(j, 0);
    j->cmdRetorna->click();
    QCOMPARE(amb.dialogos.ultimo(), QStringLiteral("Não existe contas vinculadas com esta conta padrão"));
    QCOMPARE(amb.dialogos.mensagens.last().icone, dlg::Icone::Critico);
    QCOMPARE(vinculos().size(), 6);
    amb.dialogos.limpar();

    // "<" unlinks the current account, which is offered again.
    escolherPadrao(j, 1);
    j->TDBPadrao->setCurrentIndex(j->TDBPadrao->model()->index(1, 0));
    j->cmdRetorna->click();
    QCOMPARE(coluna(j->TDBPadrao), QStringList({"1.01", "123"}));
    QCOMPARE(coluna(j->TDBContribuinte), QStringList{"1.02"});
    QCOMPARE(escalar(QStringLiteral("SELECT Vinculado FROM %1 WHERE CodConta LIKE '1.02%'").arg(planoGeral())).toInt(),
             0);

    // "<<" unlinks every account of the chosen standard account, the others stay.
    j->cmdRetornaTodos->click();
    QVERIFY2(amb.dialogos.mensagens.isEmpty(), qPrintable(amb.dialogos.ultimo()));
    QCOMPARE(coluna(j->TDBPadrao), QStringList{});
    QCOMPARE(vinculos(), QStringList({"2|1%2|Percentual", "2|1.03|Clientes", "2|1_3|Sublinhado"}));
    QCOMPARE(marcas(), QStringList({"1%2=1", "1.01=0", "1.02=0", "1.03=1", "123=0", "1_3=1", "9.99=0"}));

    // "<<" with two selected rows unlinks those two only.
    escolherPadrao(j, 2);
    selecionar(j->TDBPadrao, {0, 2});
    QVERIFY(!j->cmdRetorna->isEnabled());
    j->cmdRetornaTodos->click();
    QCOMPARE(vinculos(), QStringList{"2|1.03|Clientes"});
    QCOMPARE(marcas(), QStringList({"1%2=0", "1.01=0", "1.02=0", "1.03=1", "123=0", "1_3=0", "9.99=0"}));
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstVinculacao::desfazerTodas()
{
    Ambiente amb;
    CONFERE(prepararDeclaracao());
    frmVinculacao* j = abrirJanela();
    QVERIFY(j);
    j->cmdEnviaTodos->click();
    QCOMPARE(vinculos().size(), 6);

    amb.dialogos.respostas.enqueue(dlg::RespCancelar);
    j->cmdDesfazer->click();
    QCOMPARE(amb.dialogos.ultimo(), QStringLiteral("Desfaz todas as vinculações?"));
    QCOMPARE(amb.dialogos.mensagens.last().botoes, dlg::Botoes::OkCancelar);
    QCOMPARE(amb.dialogos.mensagens.last().icone, dlg::Icone::Informacao);
    QCOMPARE(vinculos().size(), 6);

    amb.dialogos.respostas.enqueue(dlg::RespOk);
    j->cmdDesfazer->click();
    QCOMPARE(vinculos(), QStringList{});
    QCOMPARE(marcas(), QStringList({"1%2=0", "1.01=0", "1.02=0", "1.03=0", "123=0", "1_3=0", "9.99=0"}));
    QCOMPARE(coluna(j->TDBContribuinte), QStringList({"1%2", "1.01", "1.02", "1.03", "123", "1_3"}));
    QCOMPARE(amb.dialogos.mensagens.size(), 2);
}

void TstVinculacao::falhaNoMeioNaoDeixaNada()
{
    Ambiente amb;
    CONFERE(prepararDeclaracao());
    QVERIFY(geral().gConn->executar(QStringLiteral(
        "CREATE TRIGGER recusa BEFORE INSERT ON tbContasVinculadas WHEN NEW.ContaContrib = '1.03' "
        "BEGIN SELECT RAISE(ABORT, 'recusada'); END")));
    frmVinculacao* j = abrirJanela();
    QVERIFY(j);
    j->cmdEnviaTodos->click();
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
    QVERIFY2(amb.dialogos.ultimo().startsWith(QStringLiteral("cod.erro ")), qPrintable(amb.dialogos.ultimo()));
    QVERIFY2(amb.dialogos.ultimo().endsWith(QStringLiteral("(Fun_Grava_Vinculadas)")), qPrintable(amb.dialogos.ultimo()));
    QCOMPARE(vinculos(), QStringList{});
    QCOMPARE(marcas(), QStringList({"1%2=0", "1.01=0", "1.02=0", "1.03=0", "123=0", "1_3=0", "9.99=0"}));
    QCOMPARE(coluna(j->TDBContribuinte).size(), 6);
}

void TstVinculacao::filtroPorPrefixo_data()
{
    QTest::addColumn<QString>("prefixo");
    QTest::addColumn<QStringList>("oferecidas");
    QTest::newRow("ponto") << "1." << QStringList({"1.01", "1.02", "1.03"});
    QTest::newRow("por cento literal") << "1%" << QStringList{"1%2"};
    QTest::newRow("sublinhado literal") << "1_" << QStringList{"1_3"};
    QTest::newRow("brancos em volta") << "  12 " << QStringList{"123"};
    QTest::newRow("vazio") << "" << QStringList({"1%2", "1.01", "1.02", "1.03", "123", "1_3"});
    QTest::newRow("nenhuma") << "7" << QStringList{};
}

void TstVinculacao::filtroPorPrefixo()
{
    QFETCH(QString, prefixo);
    QFETCH(QStringList, oferecidas);
    Ambiente amb;
    CONFERE(prepararDeclaracao());
    frmVinculacao* j = abrirJanela();
    QVERIFY(j);
    digitarPrefixo(j, prefixo);
    QCOMPARE(coluna(j->TDBContribuinte), oferecidas);
    QCOMPARE(geral().gPrefixoConta, prefixo);
    if (oferecidas.isEmpty())
        QCOMPARE(amb.dialogos.textos(), QStringList{"Não existe contas para este Contribuinte"});
    else
        QVERIFY2(amb.dialogos.mensagens.isEmpty(), qPrintable(amb.dialogos.ultimo()));
}

// The prefix survives the window; an empty list at the load that restores it
// is not announced, at the next Enter it is.
void TstVinculacao::prefixoRestaurado()
{
    Ambiente amb;
    CONFERE(prepararDeclaracao());
    geral().gPrefixoConta = QStringLiteral("7");
    frmVinculacao* j = abrirJanela();
    QVERIFY(j);
    QCOMPARE(j->txtContribuinte->text(), QStringLiteral("7"));
    QCOMPARE(coluna(j->TDBContribuinte), QStringList{});
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QTest::keyClick(j->txtContribuinte, Qt::Key_Return);
    QCOMPARE(amb.dialogos.textos(), QStringList{"Não existe contas para este Contribuinte"});

    // Emptying the box clears the offered list and turns the arrows off.
    digitarPrefixo(j, QStringLiteral("1"));
    QVERIFY(j->cmdEnvia->isEnabled());
    j->txtContribuinte->clear();
    QCOMPARE(j->TDBContribuinte->model()->rowCount(), 0);
    QVERIFY(!j->cmdEnvia->isEnabled() && !j->cmdEnviaTodos->isEnabled());
}

void TstVinculacao::planoPadraoInutilizavel_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("vazio") << "DELETE FROM TbPlanocontasPadrao"
                           << "Não existem contas no Plano de Contas Padrão.";
    QTest::newRow("ilegível") << "DROP TABLE TbPlanocontasPadrao" << "(Fun_Carrega_cblplanoPadrao)";
    QTest::newRow("código longo") << "INSERT INTO TbPlanocontasPadrao VALUES ('1.1.011', 'Longa')"
                                  << "(Fun_Carrega_cblplanoPadrao)";
}

void TstVinculacao::planoPadraoInutilizavel()
{
    QFETCH(QString, sql);
    QFETCH(QString, mensagem);
    Ambiente amb;
    CONFERE(prepararDeclaracao());
    QVERIFY(geral().gConn->executar(sql));
    frmVinculacao* j = abrirJanela();
    QVERIFY(j);
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QVERIFY2(amb.dialogos.ultimo().endsWith(mensagem), qPrintable(amb.dialogos.ultimo()));
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
    for (QWidget* w : std::initializer_list<QWidget*>{j->cblContaPadrao, j->txtContribuinte, j->TDBContribuinte,
                                                      j->TDBPadrao, j->cmdEnvia, j->cmdEnviaTodos, j->cmdRetorna,
                                                      j->cmdRetornaTodos, j->cmdDesfazer})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
}

// A chart imported without its balances: the offered list cannot be made,
// its error is shown and the list stays empty.
void TstVinculacao::semSaldosImportados()
{
    Ambiente amb;
    CONFERE(prepararDeclaracao());
    QVERIFY(geral().gConn->executar(QStringLiteral("DROP TABLE %1").arg(motor::nomeTabelaTipo(8))));
    frmVinculacao* j = abrirJanela();
    QVERIFY(j);
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
    QVERIFY2(amb.dialogos.ultimo().startsWith(QStringLiteral("cod.erro -2147217865\r\nmsg. Erro: ")),
             qPrintable(amb.dialogos.ultimo()));
    QCOMPARE(j->TDBContribuinte->model()->rowCount(), 0);
    QVERIFY(!j->cmdEnvia->isEnabled() && !j->cmdEnviaTodos->isEnabled());
}

void TstVinculacao::contasVinculadas()
{
    Ambiente amb;
    CONFERE(prepararDeclaracao());
    frmVinculacao* j = abrirJanela();
    QVERIFY(j);
    escolherPadrao(j, 1);
    selecionar(j->TDBContribuinte, {0, 1});
    j->cmdEnviaTodos->click();
    escolherPadrao(j, 2);
    j->TDBContribuinte->setCurrentIndex(j->TDBContribuinte->model()->index(0, 0));
    j->cmdEnvia->click();
    Formularios::descarregar(j);

    auto* v = qobject_cast<frmContasVinculadas*>(Formularios::carregar(QStringLiteral("frmContasVinculadas")));
    QVERIFY(v);
    QVERIFY2(amb.dialogos.mensagens.isEmpty(), qPrintable(amb.dialogos.ultimo()));
    const QAbstractItemModel* m = v->TDBcontasVinculadas->model();
    QStringList titulos;
    for (int c = 0; c < m->columnCount(); ++c)
        titulos << m->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titulos, QStringList({"Conta Padrão", "Descrição Padrão", "Conta", "Descrição"}));
    QStringList linhas;
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList l;
        for (int c = 0; c < m->columnCount(); ++c)
            l << m->index(r, c).data().toString();
        linhas << l.join(u'|');
    }
    QCOMPARE(linhas, QStringList({"1.1.01|Caixa|1%2|Percentual", "1.1.01|Caixa|1.01|Caixa d'Água",
                                  "2|PASSIVO|1.02|Bancos"}));
}

void TstVinculacao::codigoAlinhadoADireita()
{
    Ambiente amb;
    CONFERE(prepararDeclaracao());
    // A code written right-aligned in the chart, the entries and the balances.
    const QString conta = QStringLiteral("7.01").rightJustified(28);
    QVERIFY(geral().gConn->executar(QStringLiteral("INSERT INTO %1 (Dataatualiz, CodConta, TipoConta, DescConta, "
                                                   "Vinculado) VALUES ('01012005', ?, 'A', 'Direita', 0)")
                                        .arg(planoGeral()),
                                    {conta}));
    QVERIFY(geral().gConn->executar(
        QStringLiteral("INSERT INTO %1 (Datalanc, Codconta, Valor, Inddc) VALUES ('012005', ?, 100, 'D')")
            .arg(motor::nomeTabelaTipo(6)),
        {QStringLiteral("7.01").rightJustified(28)}));
    QSqlQueryModel oferecidas;
    QVERIFY(vinculacao::preencher(oferecidas, vinculacao::contasOferecidas(QString()), {}));
    QStringList codigos;
    for (int i = 0; i < oferecidas.rowCount(); ++i)
        codigos << oferecidas.index(i, 0).data().toString();
    QVERIFY2(codigos.contains(conta), qPrintable(codigos.join(u'|')));
    QVERIFY2(vinculacao::vincular(QStringLiteral("1.1"), {vinculacao::Conta{conta, QStringLiteral("Direita")}}),
             qPrintable(geral().gMsg));
    QVERIFY(marcas().contains(QStringLiteral("7.01=1").rightJustified(30)));
    // The link keeps the code as the chart has it, so unlinking finds the chart row.
    QVERIFY2(vinculacao::desvincularPadrao(QStringLiteral("1.1")), qPrintable(geral().gMsg));
    QCOMPARE(vinculos(), QStringList{});
    QVERIFY(marcas().contains(QStringLiteral("7.01=0").rightJustified(30)));
}

QTEST_MAIN(TstVinculacao)
#include "tst_vinculacao.moc"
