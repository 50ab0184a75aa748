#include "Ambiente.h"
#include "Declaracoes.h"
#include "OutraConexao.h"

#include "platform/Pastas.h"
#include "shell/Geral.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TstBanco : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void abreRegistro();
    void abreDeclaracaoComModelo();
    void modeloSobreBancoExistente();
    void bancoFaltandoNaoCriaArquivo();
    void bancoEmUsoDizPorque_data();
    void bancoEmUsoDizPorque();
    void declaracoesDistintas();
    void bancoAnteriorAtualizadoAoAbrir();
    void compactacaoMantemDados();
    void compactacaoSemPaginasLivres();
    void compactacaoRelataFalhaAoReabrir();
    void compactacaoComVacuumFalhando();
    void compactacaoComTransacaoAberta();
    void tabelaExisteNumaPaginaDanificada();
    void textoErro_data();
    void textoErro();
    void modeloTemTodasAsTabelas();
    void leiautesPadrao_data();
    void leiautesPadrao();
};

static const QString Cnpj = QStringLiteral("11.222.333/0001-81");

void TstBanco::abreRegistro()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(QFile::exists(amb.caminhoDados(QStringLiteral("tobriv1.mdb"))));
    QVERIFY(AbreBanco(g.gMsg, false, false, g.gErroAbertura));
    QVERIFY(g.gConn->aberta());
    QCOMPARE(QFileInfo(g.gConn->caminho()).fileName(), QStringLiteral("tobriv1.mdb"));
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbempresariosImportados")).toInt(), 0);
}

void TstBanco::abreDeclaracaoComModelo()
{
    Ambiente amb;
    Geral& g = geral();
    definirDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31));
    QVERIFY(AbreBanco(g.gMsg, true, true, g.gErroAbertura));
    QCOMPARE(QFileInfo(g.gConn->caminho()).fileName(), QStringLiteral("TOBRI861122233300018101012005311220 05.MDB").remove(u' '));
    QVERIFY(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM Tbleiautepadrao")).toInt() > 0);
    // The template itself is untouched.
    db::Conexao modelo;
    QVERIFY(modelo.abrir(caminhoModelo()));
    QCOMPARE(modelo.escalar(QStringLiteral("SELECT count(*) FROM tbImportados")).toInt(), 0);
}

void TstBanco::modeloSobreBancoExistente()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2001, 1, 1), QDate(2001, 6, 30)));
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbempresariosImportados")).toInt(), 1);
    g.gConn->fechar();
    QVERIFY(AbreBanco(g.gMsg, true, true, g.gErroAbertura));
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbempresariosImportados")).toInt(), 0);
    QVERIFY(QDir(amb.dados()).entryList({QStringLiteral("*.copia")}).isEmpty());
}

void TstBanco::bancoFaltandoNaoCriaArquivo()
{
    Ambiente amb;
    Geral& g = geral();
    definirDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31));
    QVERIFY(!AbreBanco(g.gMsg, true, false, g.gErroAbertura));
    QCOMPARE(g.gErroAbertura, -2147467259.0);
    QCOMPARE(g.gMsg, QStringLiteral("cod.erro -2147467259\r\nmsg. Erro: Erro na abertura do banco de dados do Tobri.\r\n"
                                    "Arquivo não encontrado: ")
                         + caminhoBancoDeclaracao());
    QVERIFY(!QFile::exists(caminhoBancoDeclaracao()));
}

// A declaration database another program holds: the message says the
// database's own reason, whether the opening itself could not read it or
// the upgrade of an older database could not write it.
void TstBanco::bancoEmUsoDizPorque_data()
{
    QTest::addColumn<bool>("anterior");   // made before the completed-run mark
    QTest::addColumn<int>("trava");
    QTest::newRow("trava exclusiva") << false << int(OutraConexao::Trava::Exclusiva);
    QTest::newRow("banco anterior, escrita de outro em curso") << true << int(OutraConexao::Trava::Escrita);
}

void TstBanco::bancoEmUsoDizPorque()
{
    QFETCH(bool, anterior);
    QFETCH(int, trava);
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    if (anterior)
        QVERIFY(g.gConn->executar(QStringLiteral("DROP TABLE tbValidacaoConcluida")));
    g.gConn->fechar();
    {
        OutraConexao outra(caminhoBancoDeclaracao(), OutraConexao::Trava(trava));
        QVERIFY(outra.ativa());
        QVERIFY(!AbreBanco(g.gMsg, true, false, g.gErroAbertura));
        QCOMPARE(g.gErroAbertura, 70.0);
        QCOMPARE(g.gMsg, QStringLiteral("cod.erro 70\r\nmsg. Erro: Erro na abertura do banco de dados do Tobri.\r\n"
                                        "database is locked"));
        QVERIFY(!g.gConn->aberta());
    }
    // Free again, it opens (and an older one is brought up to date).
    QVERIFY2(AbreBanco(g.gMsg, true, false, g.gErroAbertura), qPrintable(g.gMsg));
    bool existe = false;
    QVERIFY(g.gConn->tabelaExiste(QStringLiteral("tbValidacaoConcluida"), existe) && existe);
}

void TstBanco::declaracoesDistintas()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2001, 1, 1), QDate(2001, 12, 31)));
    const QString a = caminhoBancoDeclaracao();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2001, 1, 1), QDate(2001, 12, 31)));
    const QString b = caminhoBancoDeclaracao();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2001, 1, 1), QDate(2001, 6, 30)));
    const QString c = caminhoBancoDeclaracao();
    QVERIFY(a != b && b != c && a != c);
    for (const QString& p : {a, b, c})
        QVERIFY(QFile::exists(p));
    g.gConn->fechar();
    QVERIFY(AbreBanco(g.gMsg, false, false, g.gErroAbertura));
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbempresariosImportados")).toInt(), 3);
}

// A declaration database made by an earlier version (tbImportados without
// the digest columns) gets them when it is opened; its rows stay, and
// opening it again changes nothing.
void TstBanco::bancoAnteriorAtualizadoAoAbrir()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    QVERIFY(g.gConn->executarScript(QStringLiteral(
        "DROP TABLE tbImportados;"
        "CREATE TABLE tbImportados (INarquivo INTEGER NOT NULL, CNPJ TEXT NOT NULL, periodoinicial TEXT NOT NULL, "
        "periodofinal TEXT NOT NULL, Tipo INTEGER NOT NULL, Situacao INTEGER, RegLidos INTEGER, RegCorretos INTEGER, "
        "RegErros INTEGER, NomeArquivo TEXT, ArquivoGerado TEXT  -- delivered data file\n);"
        "CREATE UNIQUE INDEX tbImportados_Chave ON tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo);")));
    QVERIFY(g.gConn->executar(QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, "
                                             "Tipo, Situacao) VALUES (86, 'x', '2005-01-01', '2005-12-31', 6, 0)")));
    const QString colunas = QStringLiteral("SELECT group_concat(name, ' ') FROM pragma_table_info('tbImportados')");
    const QString anteriores = g.gConn->escalar(colunas).toString();
    QVERIFY(!anteriores.contains(QStringLiteral("Digesto")));
    for (int vez = 0; vez < 2; ++vez) {
        QVERIFY2(AbreBanco(g.gMsg, true, false, g.gErroAbertura), qPrintable(g.gMsg));
        QCOMPARE(g.gConn->escalar(colunas).toString(), anteriores + QStringLiteral(" DigestoCopia DigestoLay"));
        QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT Situacao || ' ' || ifnull(DigestoCopia, 'nulo') FROM "
                                                 "tbImportados WHERE Tipo = 6"))
                     .toString(),
                 QStringLiteral("0 nulo"));
    }
}

void TstBanco::compactacaoMantemDados()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    QVERIFY(g.gConn->executar(QStringLiteral("CREATE TABLE grande (x TEXT)")));
    for (int i = 0; i < 200; ++i)
        QVERIFY(g.gConn->executar(QStringLiteral("INSERT INTO grande VALUES (?)"), {QString(1000, u'x')}));
    QVERIFY(g.gConn->executar(QStringLiteral("DELETE FROM grande WHERE rowid > 10")));
    const qint64 antes = QFileInfo(caminhoBancoDeclaracao()).size();
    QVERIFY(Fun_CompactaBanco());
    QVERIFY(g.gConn->aberta());
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM grande")).toInt(), 10);
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbempresariosImportados")).toInt(), 1);
    QVERIFY(QFileInfo(caminhoBancoDeclaracao()).size() < antes);
    QVERIFY(!QFile::exists(amb.caminhoDados(QStringLiteral("tobriv1Tmp.mdb"))));
}

void TstBanco::compactacaoSemPaginasLivres()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    QVERIFY(Fun_CompactaBanco()); // the template's free pages go
    QCOMPARE(g.gConn->escalar(QStringLiteral("PRAGMA freelist_count")).toInt(), 0);
    QVERIFY(g.gConn->executar(QStringLiteral("CREATE TABLE t (x TEXT)")));
    QVERIFY(g.gConn->executar(QStringLiteral("INSERT INTO t VALUES ('a')")));
    QVERIFY(Fun_CompactaBanco());
    QVERIFY(g.gConn->aberta());
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT x FROM t")).toString(), QStringLiteral("a"));
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbempresariosImportados")).toInt(), 1);
    QVERIFY(!QFile::exists(amb.caminhoDados(QStringLiteral("tobriv1Tmp.mdb"))));
}

void TstBanco::compactacaoRelataFalhaAoReabrir()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    // The database vanished behind the program's back.
    g.gConn->fechar();
    QVERIFY(QFile::remove(caminhoBancoDeclaracao()));
    QVERIFY(!Fun_CompactaBanco());
    QCOMPARE(g.gErroAbertura, -2147467259.0);
    QVERIFY(!QFile::exists(caminhoBancoDeclaracao()));
    QVERIFY(!QFile::exists(amb.caminhoDados(QStringLiteral("tobriv1Tmp.mdb"))));
}

void TstBanco::compactacaoComVacuumFalhando()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    QVERIFY(g.gConn->executar(QStringLiteral("CREATE TABLE t (x TEXT)")));
    for (int i = 0; i < 50; ++i)
        QVERIFY(g.gConn->executar(QStringLiteral("INSERT INTO t VALUES (?)"), {QString(1000, u'x')}));
    QVERIFY(g.gConn->executar(QStringLiteral("DELETE FROM t WHERE rowid > 1")));
    const qint64 antes = QFileInfo(caminhoBancoDeclaracao()).size();
    // Something in the way of the scratch file: VACUUM INTO cannot write it.
    QVERIFY(QDir(amb.dados()).mkdir(QStringLiteral("tobriv1Tmp.mdb")));
    g.gMsg.clear();
    QVERIFY(!Fun_CompactaBanco());
    QVERIFY2(g.gMsg.startsWith(QStringLiteral("cod.erro ")) && g.gMsg.endsWith(QStringLiteral(" (Fun_CompactaBanco)")),
             qPrintable(g.gMsg));
    QVERIFY(g.gConn->aberta());
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 1);
    QCOMPARE(QFileInfo(caminhoBancoDeclaracao()).size(), antes);
}

void TstBanco::compactacaoComTransacaoAberta()
{
    Ambiente amb;
    Geral& g = geral();
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    QVERIFY(g.gConn->executar(QStringLiteral("CREATE TABLE t (x TEXT)")));
    QVERIFY(g.gConn->iniciarTransacao());
    QVERIFY(g.gConn->executar(QStringLiteral("INSERT INTO t VALUES ('a')")));
    // A caller's fault: reported, nothing rolled back, nothing compacted.
    QVERIFY(!Fun_CompactaBanco());
    QVERIFY2(g.gMsg.contains(QStringLiteral("Transação aberta")) && g.gMsg.endsWith(QStringLiteral(" (Fun_CompactaBanco)")),
             qPrintable(g.gMsg));
    QVERIFY(g.gConn->aberta() && g.gConn->emTransacao());
    QVERIFY(g.gConn->confirmar());
    g.gConn->fechar();
    double erro = 0;
    QVERIFY(AbreBanco(g.gMsg, true, false, erro));
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT x FROM t")).toString(), QStringLiteral("a"));
    QVERIFY(!QFile::exists(amb.caminhoDados(QStringLiteral("tobriv1Tmp.mdb"))));
}

void TstBanco::tabelaExisteNumaPaginaDanificada()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    geral().gConn->fechar();
    db::Conexao c;
    QVERIFY(c.abrir(caminhoBancoDeclaracao()));
    bool existe = true;
    db::Erro e;
    QVERIFY(c.tabelaExiste(QStringLiteral("nenhuma"), existe, &e));
    QVERIFY(!existe && e.ok());
    QVERIFY(c.tabelaExiste(QStringLiteral("TBIMPORTADOS"), existe, &e));
    QVERIFY(existe);
    CONFERE(danificarEsquema(caminhoBancoDeclaracao()));
    existe = true;
    QVERIFY(!c.tabelaExiste(QStringLiteral("tbImportados"), existe, &e));
    QVERIFY(!existe);
    QCOMPARE(e.numero, db::ErroBanco);
    QVERIFY2(e.descricao.contains(QStringLiteral("malformed")), qPrintable(e.descricao));
}

void TstBanco::textoErro_data()
{
    QTest::addColumn<double>("numero");
    QTest::addColumn<QString>("descricao");
    QTest::addColumn<QString>("procedimento");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("com procedimento") << -2147217865.0 << "sem tabela" << "GravaDetalhe"
                                      << "cod.erro -2147217865\r\nmsg. Erro: sem tabela (GravaDetalhe)";
    QTest::newRow("sem procedimento") << 70.0 << "em uso" << ""
                                      << "cod.erro 70\r\nmsg. Erro: em uso";
}

void TstBanco::textoErro()
{
    QFETCH(double, numero);
    QFETCH(QString, descricao);
    QFETCH(QString, procedimento);
    QTEST(::textoErro(numero, descricao, procedimento), "esperado");
}

void TstBanco::modeloTemTodasAsTabelas()
{
    Ambiente amb;
    db::Conexao c;
    QVERIFY(c.abrir(caminhoModelo()));
    const QStringList tabelas{
        "tbempresariosImportados", "tbImportados", "TbleiauteDIG", "Tbleiautepadrao", "tbTipoArquivos",
        "TbDescricaoErro", "TbErrosImportacao", "tbDetalheErros", "tbSituacaoValidacao",
        "tbLancamentosAcumulados", "tbSaldoFinal", "tbSaldoInicial", "tbLancamentoXsaldo",
        "tbContasVinculadas", "TbPlanocontasPadrao", "tbAcompanhamento"};
    for (const QString& t : tabelas) {
        bool existe = false;
        QVERIFY2(c.tabelaExiste(t, existe) && existe, qPrintable(t));
    }
    // Unique keys: the register key and the import status key.
    const QString ins = QStringLiteral(
        "INSERT INTO tbempresariosImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Nome) VALUES (86,'x','2005-01-01','2005-12-31',?)");
    QVERIFY(c.executar(ins, {QStringLiteral("a")}));
    db::Erro e;
    QVERIFY(!c.executar(ins, {QStringLiteral("b")}, &e));
    QCOMPARE(e.numero, db::ErroBanco);
    const QString imp = QStringLiteral(
        "INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao) VALUES (86,'x','2005-01-01','2005-12-31',1,?)");
    QVERIFY(c.executar(imp, {90}));
    QVERIFY(!c.executar(imp, {777}, &e));
    QCOMPARE(e.numero, db::ErroBanco);
    c.desfazer();
    // Every file type has its name and abbreviation; every status its text.
    QCOMPARE(c.escalar(QStringLiteral("SELECT count(*) FROM tbTipoArquivos WHERE length(NomeAbrev) = 5")).toInt(), 9);
    for (int s : {0, 53, 54, 55, 56, 57, 90, 100, 777})
        QVERIFY2(c.escalar(QStringLiteral("SELECT count(*) FROM TbDescricaoErro WHERE CodigoResultadoImportacao = ?"), {s}).toInt() > 0,
                 qPrintable(QString::number(s)));
    QVERIFY(c.escalar(QStringLiteral("SELECT count(*) FROM TbPlanocontasPadrao WHERE length(Codconta) <= 6")).toInt() >= 40);
}

void TstBanco::leiautesPadrao_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QList<int>>("ids");
    const QList<int> cartas68{1, 2, 3, 7}, codigos68{1, 2, 4, 7};
    const QList<int> lanc68{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, lanc86{1, 2, 3, 4, 5, 6, 7, 8, 9};
    const QList<int> saldos{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("68/1") << 68 << 1 << cartas68;
    QTest::newRow("68/2") << 68 << 2 << cartas68;
    QTest::newRow("68/3") << 68 << 3 << codigos68;
    QTest::newRow("68/4") << 68 << 4 << codigos68;
    QTest::newRow("68/5") << 68 << 5 << codigos68;
    QTest::newRow("68/6") << 68 << 6 << lanc68;
    QTest::newRow("68/7") << 68 << 7 << lanc68;
    QTest::newRow("68/8") << 68 << 8 << saldos;
    QTest::newRow("68/9") << 68 << 9 << saldos;
    QTest::newRow("86/1") << 86 << 1 << QList<int>{1, 3, 5, 6, 7};
    QTest::newRow("86/2") << 86 << 2 << QList<int>{1, 3, 5, 6, 7};
    QTest::newRow("86/3") << 86 << 3 << QList<int>{1, 4, 7};
    QTest::newRow("86/6") << 86 << 6 << lanc86;
    QTest::newRow("86/7") << 86 << 7 << lanc86;
    QTest::newRow("86/8") << 86 << 8 << saldos;
    QTest::newRow("86/9") << 86 << 9 << saldos;
}

void TstBanco::leiautesPadrao()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    QFETCH(QList<int>, ids);
    Ambiente amb;
    db::Conexao c;
    QVERIFY(c.abrir(caminhoModelo()));
    db::Consulta q(c);
    QVERIFY(q.preparar(QStringLiteral(
        "SELECT Codsequ, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo, NomeCampo FROM Tbleiautepadrao "
        "WHERE INarquivo = ? AND TipoArquivo = ? ORDER BY Codsequ")));
    QVERIFY(q.executar({in, tipo}));
    QList<int> vistos;
    QSet<QString> curtos;
    int proximo = 1;
    while (q.proximo()) {
        vistos << q.valor(0).toInt();
        const QString curto = q.valor(1).toString();
        QVERIFY(!curto.isEmpty() && curto.size() <= 15);
        QVERIFY2(!curtos.contains(curto), qPrintable(curto));
        curtos.insert(curto);
        QCOMPARE(q.valor(2).toInt(), proximo);  // starts contiguous from 1
        const int tamanho = q.valor(3).toInt();
        QVERIFY(tamanho > 0);
        proximo += tamanho;
        const QString t = q.valor(5).toString();
        QVERIFY(t == QLatin1String("ASCII") || t == QLatin1String("NUMERIC"));
        if (t == QLatin1String("NUMERIC")) {
            QCOMPARE(tamanho, 17);
            QCOMPARE(q.valor(4).toInt(), 2);
        }
        QVERIFY(!q.valor(6).toString().contains(u'\''));
    }
    QCOMPARE(vistos, ids);
    if (tipo == 6)
        for (const char* n : {"CodConta", "Contrapartida", "Valor", "IndDC"})
            QVERIFY2(curtos.contains(QString::fromLatin1(n)), n);
    if (in == 86 && tipo == 6)
        QVERIFY(curtos.contains(QStringLiteral("CodCustoDesp")));
}

QTEST_MAIN(TstBanco)
#include "tst_banco.moc"
