#include "Ambiente.h"

#include "platform/EspacoDisco.h"
#include "platform/Formularios.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <QScopeGuard>
#include <QTest>

#include <limits>

class TstServicos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void validaCNPJ_data();
    void validaCNPJ();
    void espacoDisco_data();
    void espacoDisco();
    void espacoDiscoReal();
    void quebrasDeDetalhe();
    void quebraContinuaEmOutraImportacao();
    void nroRegistro_data();
    void nroRegistro();
    void contagemPorCodigo();
    void detalheQueFalhaSegueSemContagem();
    void contagemQueFalhaEncerraImportacao();
    void gravaDentroDaTransacaoDoChamador();
    void gravaImportados_data();
    void gravaImportados();
    void descricaoTipoArquivo_data();
    void descricaoTipoArquivo();
};

static const QString Cnpj = QStringLiteral("11.222.333/0001-81");

namespace {

// A declaration of instruction 86 for 2005 with gConn open on its database.
void declaracao()
{
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
}

QList<int> quebras()
{
    QList<int> r;
    db::Consulta q(*geral().gConn);
    q.preparar(QStringLiteral("SELECT Quebra FROM tbDetalheErros ORDER BY rowid"));
    q.executar();
    while (q.proximo())
        r << q.valor(0).toInt();
    return r;
}

int contagem(int tipo, int codigo)
{
    return geral()
        .gConn
        ->escalar(QStringLiteral("SELECT QuantidadeReg FROM TbErrosImportacao WHERE tipoarquivo = ? AND CodigoErro = ?"),
                  {tipo, codigo})
        .toInt();
}

} // namespace

void TstServicos::validaCNPJ_data()
{
    QTest::addColumn<QString>("cnpj");
    QTest::addColumn<bool>("valido");
    QTest::newRow("válido 11222333000181") << "11222333000181" << true;
    QTest::newRow("válido 11444777000161") << "11444777000161" << true;
    QTest::newRow("válido 12345678000195") << "12345678000195" << true;
    QTest::newRow("válido 00000000000191") << "00000000000191" << true;
    // Both check digits compute as 10 and are written as 0.
    QTest::newRow("primeiro dígito 10 vira 0") << "43583761835201" << true;
    QTest::newRow("primeiro dígito 10 escrito como 10") << "43583761835210" << false;
    QTest::newRow("segundo dígito 10 vira 0") << "59684855379350" << true;
    QTest::newRow("segundo dígito errado") << "11222333000182" << false;
    QTest::newRow("primeiro dígito errado") << "11222333000191" << false;
    QTest::newRow("catorze zeros") << "00000000000000" << false;
    QTest::newRow("com máscara") << "11.222.333/0001-81" << false;
    QTest::newRow("letra") << "1122233300018a" << false;
    QTest::newRow("brancos") << "11222333 00181" << false;
    QTest::newRow("vazio") << "" << false;
    QTest::newRow("quinze dígitos") << "112223330001810" << false;
}

void TstServicos::validaCNPJ()
{
    QFETCH(QString, cnpj);
    QFETCH(bool, valido);
    QCOMPARE(Fun_ValidaCNPJ(cnpj), valido);
}

void TstServicos::espacoDisco_data()
{
    QTest::addColumn<qint64>("livre");
    QTest::addColumn<qint64>("pedido");
    QTest::addColumn<bool>("cabe");
    QTest::newRow("exatamente igual") << qint64(1000) << qint64(1000) << true;
    QTest::newRow("um byte a menos") << qint64(999) << qint64(1000) << false;
    QTest::newRow("acima de 4 GB") << qint64(5'000'000'000) << qint64(4'500'000'000) << true;
    QTest::newRow("acima de 4 GB, falta") << qint64(4'294'967'296) << qint64(4'294'967'297) << false;
    QTest::newRow("desconhecido") << qint64(0) << qint64(1) << false;
}

void TstServicos::espacoDisco()
{
    QFETCH(qint64, livre);
    QFETCH(qint64, pedido);
    QFETCH(bool, cabe);
    QString pasta;
    definirMedidorEspaco([&](const QString& p) {
        pasta = p;
        return livre;
    });
    const auto restaura = qScopeGuard([] { definirMedidorEspaco(nullptr); });
    QCOMPARE(Fun_VerificaEspacoDisco(pedido, QStringLiteral("/destino")), cabe);
    QCOMPARE(pasta, QStringLiteral("/destino"));
}

void TstServicos::espacoDiscoReal()
{
    Ambiente amb;
    QVERIFY(espacoLivre(amb.dados()) > 0);
    QVERIFY(Fun_VerificaEspacoDisco(1, amb.dados()));
    QVERIFY(!Fun_VerificaEspacoDisco(std::numeric_limits<int64_t>::max(), amb.dados()));
}

void TstServicos::quebrasDeDetalhe()
{
    Ambiente amb;
    CONFERE(declaracao());
    Geral& g = geral();
    g.gTipoArquivo = 1;
    for (int i = 1; i <= 78; ++i) {
        g.gRegLidos = i;
        QVERIFY(Grava_erro(3));
    }
    const QList<int> q = quebras();
    QCOMPARE(q.size(), 78);
    QCOMPARE(q.count(0), 38);
    QCOMPARE(q.at(37), 0);
    QCOMPARE(q.at(38), 1);   // the 39th error
    QCOMPARE(q.at(76), 1);
    QCOMPARE(q.at(77), 2);   // the 78th error
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstServicos::quebraContinuaEmOutraImportacao()
{
    Ambiente amb;
    CONFERE(declaracao());
    Geral& g = geral();
    g.gTipoArquivo = 1;
    for (int i = 1; i <= 40; ++i) {
        g.gRegLidos = i;
        QVERIFY(Grava_erro(3));
    }
    // Another file, and then another declaration, in the same run of the program.
    g.gTipoArquivo = 8;
    g.gRegLidos = 1;
    QVERIFY(Grava_erro(40));
    QCOMPARE(quebras().last(), 1);
    QCOMPARE(g.gLinhasQuebra, qint16(2));
    g.gConn->fechar();
    QVERIFY(criarDeclaracao(68, QStringLiteral("11.444.777/0001-61"), QDate(2001, 1, 1), QDate(2001, 12, 31)));
    g.gTipoArquivo = 6;
    for (int i = 1; i <= 37; ++i) {
        g.gRegLidos = i;
        QVERIFY(Grava_erro(20));
    }
    const QList<int> q = quebras();
    QCOMPARE(q.size(), 37);
    QCOMPARE(q.first(), 1);   // continues where the first declaration stopped
    QCOMPARE(q.count(1), 36);
    QCOMPARE(q.last(), 2);
}

void TstServicos::nroRegistro_data()
{
    QTest::addColumn<double>("registro");
    QTest::newRow("7") << 7.0;
    QTest::newRow("1234") << 1234.0;
    QTest::newRow("1") << 1.0;
}

void TstServicos::nroRegistro()
{
    QFETCH(double, registro);
    Ambiente amb;
    CONFERE(declaracao());
    Geral& g = geral();
    g.gTipoArquivo = 6;
    g.gRegLidos = registro;
    QVERIFY(GravaDetalhe(12));
    db::Consulta q(*g.gConn);
    QVERIFY(q.preparar(QStringLiteral("SELECT NroRegistro, INarquivo, TipoArquivo, CNPJ, periodoinicial, "
                                      "periodofinal, CodigoErro, ativo FROM tbDetalheErros")));
    QVERIFY(q.executar());
    QVERIFY(q.proximo());
    QCOMPARE(q.valor(0).toLongLong(), static_cast<qint64>(registro));
    QCOMPARE(q.valor(1).toInt(), 86);
    QCOMPARE(q.valor(2).toInt(), 6);
    QCOMPARE(q.valor(3).toString(), Cnpj);
    QCOMPARE(q.valor(4).toString(), QStringLiteral("2005-01-01"));
    QCOMPARE(q.valor(5).toString(), QStringLiteral("2005-12-31"));
    QCOMPARE(q.valor(6).toInt(), 12);
    QCOMPARE(q.valor(7).toInt(), 0);
}

void TstServicos::contagemPorCodigo()
{
    Ambiente amb;
    CONFERE(declaracao());
    Geral& g = geral();
    g.gTipoArquivo = 1;
    bool achou = true;
    qint32 qtd = -1;
    QVERIFY(Fun_LerQuantidadeErro(achou, qtd, 5));
    QVERIFY(!achou);

    QVERIFY(Grava_erro(5));
    QCOMPARE(contagem(1, 5), 1);
    QVERIFY(Grava_erro(5));
    QVERIFY(Grava_erro(5));
    QCOMPARE(contagem(1, 5), 3);
    QVERIFY(Fun_LerQuantidadeErro(achou, qtd, 5));
    QVERIFY(achou);
    QCOMPARE(qtd, 3);
    // Another code and another file type count apart.
    QVERIFY(Grava_erro(7));
    g.gTipoArquivo = 2;
    QVERIFY(Grava_erro(5));
    QCOMPARE(contagem(1, 5), 3);
    QCOMPARE(contagem(1, 7), 1);
    QCOMPARE(contagem(2, 5), 1);
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM TbErrosImportacao")).toInt(), 3);
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbDetalheErros")).toInt(), 5);
    db::Consulta q(*g.gConn);
    QVERIFY(q.preparar(QStringLiteral("SELECT CNPJ, periodoinicial, periodofinal FROM TbErrosImportacao")));
    QVERIFY(q.executar());
    QVERIFY(q.proximo());
    QCOMPARE(q.valor(0).toString(), Cnpj);
    QCOMPARE(q.valor(1).toString(), QStringLiteral("01012005"));
    QCOMPARE(q.valor(2).toString(), QStringLiteral("31122005"));
}

void TstServicos::detalheQueFalhaSegueSemContagem()
{
    Ambiente amb;
    CONFERE(declaracao());
    Geral& g = geral();
    g.gTipoArquivo = 1;
    QVERIFY(g.gConn->executar(QStringLiteral("DROP TABLE tbDetalheErros")));
    QVERIFY(Grava_erro(5));   // the import goes on
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
    QVERIFY(amb.dialogos.ultimo().startsWith(QStringLiteral("cod.erro -2147217865\r\nmsg. Erro: ")));
    QVERIFY(amb.dialogos.ultimo().endsWith(QStringLiteral(" (GravaDetalhe)")));
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM TbErrosImportacao")).toInt(), 0);
}

void TstServicos::contagemQueFalhaEncerraImportacao()
{
    Ambiente amb;
    CONFERE(declaracao());
    Geral& g = geral();
    g.gTipoArquivo = 1;
    auto* importacao = new Formulario;
    Formularios::adicionar(importacao);
    importacao->show();
    g.gFormAtivo = importacao;
    QVERIFY(g.gConn->executar(QStringLiteral("DROP TABLE TbErrosImportacao")));
    QVERIFY(!Grava_erro(5));
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
    // The reader's text, without a procedure name.
    QVERIFY(amb.dialogos.ultimo().startsWith(QStringLiteral("cod.erro -2147217865\r\nmsg. Erro: ")));
    QVERIFY(!amb.dialogos.ultimo().endsWith(u')'));
    QVERIFY(!Formularios::carregado(importacao));
    QVERIFY(!g.gConn->emTransacao());
    // The detail row was written before the count failed.
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbDetalheErros")).toInt(), 1);
}

void TstServicos::gravaDentroDaTransacaoDoChamador()
{
    Ambiente amb;
    CONFERE(declaracao());
    Geral& g = geral();
    g.gTipoArquivo = 3;
    QVERIFY(g.gConn->iniciarTransacao());
    QVERIFY(Grava_erro(9));
    QVERIFY(Grava_erro(9));
    QVERIFY(g.gConn->emTransacao());
    QVERIFY(g.gConn->confirmar());
    QCOMPARE(contagem(3, 9), 2);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstServicos::gravaImportados_data()
{
    QTest::addColumn<int>("situacao");
    QTest::addColumn<QVariant>("tipo");
    QTest::addColumn<QString>("gerado");
    // Expected status and ArquivoGerado of types 1, 6 and 8 of the declaration.
    QTest::addColumn<QList<int>>("situacoes");
    QTest::addColumn<QStringList>("gerados");
    QTest::newRow("um tipo") << 53 << QVariant(6) << QString() << QList<int>{90, 53, 90}
                             << QStringList{" ", " ", " "};
    QTest::newRow("todos, texto vazio") << 0 << QVariant(QString()) << QString() << QList<int>{0, 0, 0}
                                        << QStringList{" ", " ", " "};
    QTest::newRow("todos, sem valor") << 0 << QVariant() << QString() << QList<int>{0, 0, 0}
                                      << QStringList{" ", " ", " "};
    QTest::newRow("gravado, 100") << 100 << QVariant(8) << QStringLiteral("/mnt/entrega/arq'1.txt")
                                  << QList<int>{90, 90, 100}
                                  << QStringList{" ", " ", "/mnt/entrega/arq'1.txt"};
    QTest::newRow("outro status não grava o nome") << 55 << QVariant(8) << QStringLiteral("/x.txt")
                                                   << QList<int>{90, 90, 55} << QStringList{" ", " ", " "};
}

void TstServicos::gravaImportados()
{
    QFETCH(int, situacao);
    QFETCH(QVariant, tipo);
    QFETCH(QString, gerado);
    QFETCH(QList<int>, situacoes);
    QFETCH(QStringList, gerados);
    Ambiente amb;
    CONFERE(declaracao());
    Geral& g = geral();
    const QString ins = QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, "
                                       "Tipo, Situacao, NomeArquivo, ArquivoGerado) VALUES (?,?,?,?,?,90,' ',' ')");
    for (int t : {1, 6, 8})
        QVERIFY(g.gConn->executar(ins, {86, Cnpj, QStringLiteral("2005-01-01"), QStringLiteral("2005-12-31"), t}));
    // A row of another period stays as it is.
    QVERIFY(g.gConn->executar(ins, {86, Cnpj, QStringLiteral("2004-01-01"), QStringLiteral("2004-12-31"), 6}));

    QVERIFY(fun_GravaImportados(static_cast<qint16>(situacao), tipo, gerado));
    const QList<int> tipos{1, 6, 8};
    for (int i = 0; i < tipos.size(); ++i) {
        const QVariantList k{QStringLiteral("2005-01-01"), tipos.at(i)};
        QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT Situacao FROM tbImportados WHERE periodoinicial = ? AND Tipo = ?"), k)
                     .toInt(),
                 situacoes.at(i));
        QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT ArquivoGerado FROM tbImportados WHERE periodoinicial = ? AND Tipo = ?"), k)
                     .toString(),
                 gerados.at(i));
    }
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT Situacao FROM tbImportados WHERE periodoinicial = '2004-01-01'")).toInt(),
             90);
}

void TstServicos::descricaoTipoArquivo_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("in68");
    QTest::addColumn<QString>("in86");
    QTest::newRow("0") << 0 << QString() << QString();
    QTest::newRow("1") << 1 << "Plano de Contas Diário Geral" << "Plano de Contas Diário Geral";
    QTest::newRow("2") << 2 << "Plano de Contas Diário Auxiliar" << "Plano de Contas Diário Auxiliar";
    QTest::newRow("3") << 3 << "Centro de Custos" << "Centro de Custos/Despesas";
    QTest::newRow("4") << 4 << "Centro de Despesas" << QString();
    QTest::newRow("5") << 5 << "Histórico Padrão" << "Histórico Padrão";
    QTest::newRow("6") << 6 << "Lançamentos Diário Geral" << "Lançamentos Diário Geral";
    QTest::newRow("7") << 7 << "Lançamentos Diário Auxiliar" << "Lançamentos Diário Auxiliar";
    QTest::newRow("8") << 8 << "Saldos Diário Geral" << "Saldos Diário Geral";
    QTest::newRow("9") << 9 << "Saldos Diário Auxiliar" << "Saldos Diário Auxiliar";
    QTest::newRow("10") << 10 << QString() << QString();
}

void TstServicos::descricaoTipoArquivo()
{
    QFETCH(int, tipo);
    QFETCH(QString, in68);
    QFETCH(QString, in86);
    Geral& g = geral();
    g.gTipoArquivo = static_cast<qint16>(tipo);
    g.gIN = 68;
    QCOMPARE(Fun_DescricaoTipoArquivo(), in68);
    g.gIN = 86;
    QCOMPARE(Fun_DescricaoTipoArquivo(), in86);
    QCOMPARE(::descricaoTipoArquivo(static_cast<qint16>(tipo), 68), in68);
    reiniciaGeral();
}

QTEST_MAIN(TstServicos)
#include "tst_servicos.moc"
