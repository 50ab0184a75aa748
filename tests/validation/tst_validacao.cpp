// The validation run end to end: Schema.ini and the reload through the text
// driver, the picker's refusals, and runs over imported declarations (the
// captions, the statuses after a clean run and after findings, a second run,
// runs that did not complete).
#include "Ambiente.h"
#include "Controles.h"
#include "Declaracoes.h"
#include "OutraConexao.h"

#include "import/motor/Motor.h"
#include "platform/Digesto.h"
#include "platform/Formularios.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "validation/ValidacaoGuardada.h"
#include "validation/motor/Execucao.h"
#include "validation/motor/Recarga.h"
#include "validation/Pendencias.h"
#include "delivery/motor/Gravacao.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

#include <csignal>
#include <functional>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

class TstValidacao : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void schemaIni_data();
    void schemaIni();
    void recargaDeLeiauteAlterado();
    void recargaSemArquivos_data();
    void recargaSemArquivos();
    void recargaComEsquemaIlegivel();
    void seletorRecusa_data();
    void seletorRecusa();
    void execucao_data();
    void execucao();
    void execucaoParada();
    void codigosAlinhados_data();
    void codigosAlinhados();
    void recargaDanificada_data();
    void recargaDanificada();
    void validacaoIncompleta_data();
    void validacaoIncompleta();
    void janelasDoMenuAoFim();
};

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 3, 31);

QStringList mostradas;

void gancho()
{
    mostradas.clear();
    Formularios::definirGanchoModal(
        [](Formulario* f) { mostradas << QString::fromLatin1(f->metaObject()->className()); });
}

// The menu's window run on the first declaration, the database closed as
// the menu leaves it: `run` is the confirmation it shows modally.
void abrirConfirmacao(Formulario*& run)
{
    geral().gConn->fechar();
    gancho();
    Formulario* f = Formularios::carregar(QStringLiteral("frmValidarArquivo"));
    QVERIFY(f);
    auto* grade = f->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
    grade->setCurrentIndex(grade->model()->index(0, 0));
    botao(f, "cmdOk")->click();
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmConfirmaValidar")});
    run = Formularios::obter(QStringLiteral("frmConfirmaValidar"));
    QVERIFY(run);
}

// The .lay of the general entries' working layout, as the import writes it.
QByteArray layDoLeiaute(const motor::Leiaute& l)
{
    int tamanho = 0;
    for (const motor::CampoLeiaute& c : l.todos)
        tamanho = std::max(tamanho, c.posicao + c.tamanho - 1);
    return motor::textoLeiaute(l, tamanho);
}

motor::Leiaute leiautePadrao()
{
    Geral& g = geral();
    g.gTipoArquivo = 6;
    QString msg;
    motor::Leiaute l;
    if (!motor::copiarLeiautePadrao(msg) || !motor::lerLeiaute(l, msg))
        qWarning() << msg;
    return l;
}

QByteArray lerArquivo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(ausente)");
}

void importado(int tipo, int situacao)
{
    QVERIFY(geral().gConn->executar(
        QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao) "
                       "VALUES (?, ?, ?, ?, ?, ?)"),
        {geral().gIN, Cnpj, dataIso(Inicio), dataIso(Fim), tipo, situacao}));
}

QStringList linhas(const QString& sql)
{
    QStringList r;
    QSqlQuery q(geral().gConn->banco());
    q.exec(sql);
    while (q.next())
        r << q.value(0).toString();
    return r;
}

// Records what the run shows.
class PainelRegistro : public validacao::Painel {
public:
    QStringList titulos;
    int barra = 0, maximo = 0;
    void titulo(const QString& t) override { titulos << t; }
    void iniciarBarra(int m) override
    {
        maximo = m;
        barra = 0;
    }
    void avancarBarra(int n) override { barra += n; }
};

// An instruction-68 declaration (Jan to Mar 2005) with its charts and code
// tables and the general entries and balances imported through the engine.
// Entries: (account, amount in cents, D/C) on 15/03/2005; balances: (account,
// debits, credits, closing) for March, opening 0.
// With `direita`, every account code is written right-aligned in its field
// (leading blanks), in the chart, the entries and the balances alike.
QByteArray codigo(const QByteArray& c, bool direita)
{
    return direita ? c.rightJustified(28) : c;
}

void declaracaoImportada(Ambiente& amb, const QList<std::tuple<QByteArray, int, QByteArray>>& lancamentos,
                         const QList<std::tuple<QByteArray, int, int, int>>& saldos, bool direita = false)
{
    QVERIFY(criarDeclaracao(68, Cnpj, Inicio, Fim));
    CONFERE(tabelaImportada(1, {{codigo("1.1.01", direita), ""}, {codigo("1.1.02", direita), ""}, {codigo("1.1.03", direita), ""}}));
    CONFERE(tabelaImportada(3, {{"CC01", ""}}));
    CONFERE(tabelaImportada(4, {{"DP01", ""}}));
    CONFERE(tabelaImportada(5, {{"H01", ""}}));
    CONFERE(importado(1, 90));
    CONFERE(importado(5, 777));   // a code table imported with errors
    QList<Campos> regs;
    for (const auto& [conta, valor, dc] : lancamentos)
        regs << Campos{{2, codigo(conta, direita)}, {3, valor17(QByteArray::number(valor).constData())}, {4, dc}};
    CONFERE(prepararArquivo(amb, 6,
                            {{1, "15032005"}, {2, codigo("1.1.01", direita)}, {3, valor17("0")}, {4, "D"},
                             {6, "000000000001"}, {10, "Pagamento"}},
                            regs, QStringLiteral("lancamentos.txt")));
    motor::Painel painel;
    QCOMPARE(int(motor::executarImportacao(painel)), int(motor::FimImportacao::Concluida));
    QCOMPARE(situacao(6).toInt(), 90);
    regs.clear();
    for (const auto& [conta, deb, cred, fin] : saldos)
        regs << Campos{{2, codigo(conta, direita)},
                       {5, valor17(QByteArray::number(deb).constData())},
                       {6, valor17(QByteArray::number(cred).constData())},
                       {7, valor17(QByteArray::number(qAbs(fin)).constData())},
                       {8, fin < 0 ? "C" : "D"}};
    CONFERE(prepararArquivo(amb, 8,
                            {{1, "01032005"}, {2, codigo("1.1.01", direita)}, {3, valor17("0")}, {4, "D"},
                             {5, valor17("0")}, {6, valor17("0")}, {7, valor17("0")}, {8, "D"}},
                            regs, QStringLiteral("saldos.txt")));
    QCOMPARE(int(motor::executarImportacao(painel)), int(motor::FimImportacao::Concluida));
    QCOMPARE(situacao(8).toInt(), 90);
}

// Entries "account cents D/C" and balances "account debits credits closing"
// (cents; a negative closing is a credit balance) as declaracaoImportada takes them.
QList<std::tuple<QByteArray, int, QByteArray>> lancamentosDe(const QStringList& l)
{
    QList<std::tuple<QByteArray, int, QByteArray>> r;
    for (const QString& x : l) {
        const QStringList p = x.split(u' ');
        r << std::make_tuple(p.at(0).toLatin1(), p.at(1).toInt(), p.at(2).toLatin1());
    }
    return r;
}

QList<std::tuple<QByteArray, int, int, int>> saldosDe(const QStringList& l)
{
    QList<std::tuple<QByteArray, int, int, int>> r;
    for (const QString& x : l) {
        const QStringList p = x.split(u' ');
        r << std::make_tuple(p.at(0).toLatin1(), p.at(1).toInt(), p.at(2).toInt(), p.at(3).toInt());
    }
    return r;
}

// Calls `antesDasSituacoes` once every check has run and committed, before
// the statuses are written.
class PainelAntesDasSituacoes : public PainelRegistro {
public:
    std::function<void()> antesDasSituacoes;
    void avancarBarra(int n) override
    {
        PainelRegistro::avancarBarra(n);
        if (barra == maximo - 1 && antesDasSituacoes)
            antesDasSituacoes();
    }
};

// Stops a run dead (SIGKILL) as it reaches check 3.
class PainelMorte : public validacao::Painel {
public:
    void titulo(const QString& t) override
    {
        if (t == validacao::TituloContaGeral)
            ::kill(::getpid(), SIGKILL);
    }
};

// A validation run of the declaration in hand in a child process killed
// after check 2, so the database is left as a kill leaves it; gConn is
// open on it again afterwards.
void validacaoMorta()
{
    Geral& g = geral();
    g.gConn->fechar();
    const pid_t filho = ::fork();
    QVERIFY(filho >= 0);
    if (filho == 0) {
        PainelMorte painel;
        validacao::Estado estado;
        if (AbreBanco(g.gMsg, true, false, g.gErroAbertura))
            validacao::executarValidacao(painel, estado);
        ::_exit(3);
    }
    int status = 0;
    QCOMPARE(::waitpid(filho, &status, 0), filho);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, qPrintable(QString::number(status)));
    QVERIFY2(AbreBanco(g.gMsg, true, false, g.gErroAbertura), qPrintable(g.gMsg));
}

// Every finding row of the last run, then the statuses.
QStringList resultados()
{
    QStringList r;
    r << linhas(QStringLiteral("SELECT 'SF ' || Tipo || ' ' || Mes || ' ' || Conta || ' ' || SaldoFinal || ' ' || "
                               "Saldofinalcalc || ' ' || Diferenca FROM tbSaldoFinal ORDER BY rowid"));
    r << linhas(QStringLiteral("SELECT 'SI ' || Tipo || ' ' || Mes || ' ' || Conta || ' ' || SaldofinalAnt || ' ' || "
                               "SaldoInicial || ' ' || Diferenca FROM tbSaldoInicial ORDER BY rowid"));
    r << linhas(QStringLiteral("SELECT 'LS ' || IndDC || ' ' || Mes || ' ' || CodConta || ' ' || TotalLancamentos || "
                               "' ' || TotalCredDeb || ' ' || Diferenca FROM tbLancamentoXsaldo ORDER BY rowid"));
    r << linhas(QStringLiteral("SELECT 'SV ' || TipoArquivo || ' ' || TipoValidacao || ' ' || CodigoErro || ' ' || "
                               "RegLidos || ' ' || RegCorretos || ' ' || RegComErro FROM tbSituacaoValidacao "
                               "ORDER BY rowid"));
    r << linhas(QStringLiteral("SELECT 'ST ' || Tipo || ' ' || Situacao FROM tbImportados ORDER BY Tipo"));
    return r;
}

} // namespace

void TstValidacao::schemaIni_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<QByteArray>("esperado");
    const QByteArray cabeca = "[11222333000181-TOBRI-06-2005010120050331.txt]\r\n"
                              "ColNameHeader = False\r\n"
                              "Format = FixedLength\r\n"
                              "Col1 =  \"DiaDataLanc\"  Char Width 2\r\n"
                              "Col2 =  \"DataLanc\" Char Width 6\r\n"
                              "Col3 =  \"CodConta\" Char Width 28\r\n";
    QTest::newRow("68") << 68
                        << cabeca + "Col4=  \"ValorInt\" Char Width 15\r\n"
                                    "Col5=  \"ValorDec\" Char Width 2\r\n"
                                    "Col6=  \"IndDc\" Char Width 1\r\n";
    QTest::newRow("86") << 86
                        << cabeca + "Col4 =  \"CodCusto\" Char Width 28\r\n"
                                    "Col5 =  \"Contrapartida\" Char Width 28\r\n"
                                    "Col6=  \"ValorInt\" Char Width 15\r\n"
                                    "Col7=  \"ValorDec\" Char Width 2\r\n"
                                    "Col8=  \"IndDc\" Char Width 1\r\n";
}

void TstValidacao::schemaIni()
{
    QFETCH(int, in);
    QFETCH(QByteArray, esperado);
    Ambiente amb;
    QVERIFY(criarDeclaracao(qint16(in), Cnpj, Inicio, Fim));
    amb.escreverArquivo(validacao::nomeLayLancamentos(), layDoLeiaute(leiautePadrao()));
    amb.escreverArquivo(validacao::nomeCopiaLancamentos(), QByteArray());
    QVERIFY2(validacao::Fun_Criar_arquivo_ini(), qPrintable(geral().gMsg));
    QCOMPARE(lerArquivo(amb.caminhoDados(QStringLiteral("Schema.ini"))), esperado);
}

void TstValidacao::recargaDeLeiauteAlterado()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    motor::Leiaute l = leiautePadrao();
    // The account field enlarged to 30 and a field appended after the last.
    for (motor::CampoLeiaute& c : l.todos) {
        if (c.codsequ == 2)
            c.tamanho = 30;
        else if (c.codsequ > 2)
            c.posicao += 2;
    }
    motor::CampoLeiaute extra = l.todos.last();
    extra.codsequ = 10;
    extra.posicao = extra.posicao + extra.tamanho;
    extra.tamanho = 5;
    extra.nomeReduzido = QStringLiteral("Extra");
    l.todos.append(extra);
    const QByteArray lay = layDoLeiaute(l);
    amb.escreverArquivo(validacao::nomeLayLancamentos(), lay);
    // date, account (30), cost centre (28), counterpart (28), value (17, 2), D/C, ...
    auto registro = [](const char* data, const char* conta, const char* valor, const char* dc) {
        return QByteArray(data) + QByteArray(conta).leftJustified(30) + QByteArray("CC01").leftJustified(28)
            + QByteArray(28, ' ') + valor17(valor) + dc + QByteArray(12 + 12 + 150, ' ') + "XXXXX\r\n";
    };
    const QByteArray copia = registro("15032005", "1.1.01.00000000000000000000099", "12345", "d")
        + registro("01022005", "2.1", "1", "C") + registro("31012005", "3", "92233720368547757", "D");
    amb.escreverArquivo(validacao::nomeCopiaLancamentos(), copia);
    geral().gTipoArquivo = 6;
    motor::Painel p;
    {
        motor::Contexto ctx(p);
        QVERIFY(motor::LER_LeiauteDIG(ctx) && motor::fun_Criar_Tabela(ctx));
    }
    QVERIFY(geral().gConn->executar(
        QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao, RegLidos, "
                       "DigestoCopia, DigestoLay) VALUES (86, ?, ?, ?, 6, 90, 3, ?, ?)"),
        {Cnpj, dataIso(Inicio), dataIso(Fim), digesto::de(copia), digesto::de(lay)}));
    const QStringList esperado{
        QStringLiteral("032005|1.1.01.00000000000000000000099|1234500|D"),
        QStringLiteral("022005|2.1|100|C"),
        QStringLiteral("012005|3|9223372036854775700|D"),
    };
    const QString sql = QStringLiteral("SELECT DataLanc || '|' || CodConta || '|' || Valor || '|' || IndDc FROM %1 "
                                       "ORDER BY rowid")
                            .arg(motor::nomeTabelaTipo(6));
    // Twice: the second load replaces the first.
    for (int vez = 0; vez < 2; ++vez) {
        QVERIFY2(validacao::Fun_Criar_arquivo_ini() && validacao::Fun_ImportarLancamento(), qPrintable(geral().gMsg));
        QCOMPARE(linhas(sql), esperado);
    }
    QVERIFY(lerArquivo(amb.caminhoDados(QStringLiteral("Schema.ini")))
                .contains("Col3 =  \"CodConta\" Char Width 30\r\nCol4 =  \"CodCusto\" Char Width 28\r\n"));
    QVERIFY(!lerArquivo(amb.caminhoDados(QStringLiteral("Schema.ini"))).contains("Extra"));
    // The index the table was created with is back after the load.
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND "
                                                   "tbl_name = ?"),
                                    {motor::nomeTabelaTipo(6)})
                 .toInt(),
             1);
}

void TstValidacao::recargaSemArquivos_data()
{
    QTest::addColumn<bool>("txt");
    QTest::addColumn<bool>("lay");
    QTest::addColumn<bool>("tabela");
    QTest::newRow("sem cópia") << false << true << true;
    QTest::newRow("sem .lay") << true << false << true;
    QTest::newRow("sem tabela") << true << true << false;
}

void TstValidacao::recargaSemArquivos()
{
    QFETCH(bool, txt);
    QFETCH(bool, lay);
    QFETCH(bool, tabela);
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, Inicio, Fim));
    const motor::Leiaute l = leiautePadrao();
    if (lay)
        amb.escreverArquivo(validacao::nomeLayLancamentos(), layDoLeiaute(l));
    if (txt)
        amb.escreverArquivo(validacao::nomeCopiaLancamentos(), QByteArray());
    if (tabela) {
        motor::Painel p;
        motor::Contexto ctx(p);
        QVERIFY(motor::LER_LeiauteDIG(ctx) && motor::fun_Criar_Tabela(ctx));
    }
    const bool ok = validacao::Fun_Criar_arquivo_ini() && validacao::Fun_ImportarLancamento();
    QVERIFY(!ok);
    QCOMPARE(geral().gMsg, validacao::TextoLancamentosNaoImportados);
    QCOMPARE(QFile::exists(amb.caminhoDados(validacao::nomeLayLancamentos())), lay);
    QCOMPARE(QFile::exists(amb.caminhoDados(QStringLiteral("Schema.ini"))), txt && lay);
}

void TstValidacao::recargaComEsquemaIlegivel()
{
    Ambiente amb;
    CONFERE(declaracaoImportada(amb, {{"1.1.01", 10000, "D"}, {"1.1.02", 10000, "C"}}, {{"1.1.01", 10000, 0, 10000}}));
    CONFERE(danificarEsquema(caminhoBancoDeclaracao()));
    // Not "not imported": the database's own text.
    QVERIFY(validacao::Fun_Criar_arquivo_ini());
    QVERIFY(!validacao::Fun_ImportarLancamento());
    QVERIFY2(geral().gMsg.startsWith(QStringLiteral("cod.erro -2147467259\r\nmsg. Erro: "))
                 && geral().gMsg.contains(QStringLiteral("malformed"))
                 && geral().gMsg.endsWith(QStringLiteral("(Fun_ImportarLancamento)")),
             qPrintable(geral().gMsg));
}

void TstValidacao::seletorRecusa_data()
{
    QTest::addColumn<QList<int>>("tipos");      // file types imported
    QTest::addColumn<QList<int>>("comErros");   // of those, imported with errors (777)
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("gerais sem auxiliar") << QList<int>{1, 6, 8} << QList<int>{} << QString();
    QTest::newRow("erros no auxiliar e códigos") << QList<int>{1, 2, 3, 5, 6, 7, 8, 9} << QList<int>{2, 3, 5}
                                                 << QString();
    QTest::newRow("lançamentos auxiliares com erros") << QList<int>{1, 6, 7, 8} << QList<int>{7}
                                                      << validacao::TextoImportadosComErro;
    QTest::newRow("falta saldos, lançamentos com erros") << QList<int>{1, 6} << QList<int>{6}
                                                         << validacao::TextoFaltamGerais;
    QTest::newRow("falta saldos auxiliares e gerais") << QList<int>{1, 2, 6, 7} << QList<int>{}
                                                      << validacao::TextoFaltamAuxiliares;
}

void TstValidacao::seletorRecusa()
{
    QFETCH(QList<int>, tipos);
    QFETCH(QList<int>, comErros);
    QFETCH(QString, mensagem);
    Ambiente amb;
    gancho();
    QVERIFY(criarDeclaracao(68, Cnpj, Inicio, Fim));
    for (int t : tipos)
        CONFERE(importado(t, comErros.contains(t) ? 777 : 90));
    QVERIFY(geral().gConn->executar(QStringLiteral("INSERT INTO tbSaldoFinal (quebra, Conta) VALUES (0, 'x')")));
    QVERIFY(geral().gConn->executar(QStringLiteral("INSERT INTO TbErrosImportacao (tipoarquivo, CodigoErro, "
                                                   "QuantidadeReg) VALUES (5, 3, 1)")));
    geral().gConn->fechar();
    Formulario* f = Formularios::carregar(QStringLiteral("frmValidarArquivo"));
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), QStringLiteral("Validar"));
    auto* grade = f->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
    grade->setCurrentIndex(grade->model()->index(0, 0));
    botao(f, "cmdOk")->click();
    if (mensagem.isEmpty()) {
        QCOMPARE(amb.dialogos.textos(), QStringList{});
        QCOMPARE(mostradas, QStringList{QStringLiteral("frmConfirmaValidar")});
        QVERIFY(!Formularios::obter(QStringLiteral("frmValidarArquivo")));
        QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM tbSaldoFinal")).toInt(), 0);
    } else {
        QCOMPARE(amb.dialogos.textos(), QStringList{mensagem});
        QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Critico);
        QVERIFY(mostradas.isEmpty());
        QVERIFY(Formularios::obter(QStringLiteral("frmValidarArquivo")));
        // Nothing emptied after a refusal.
        QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM tbSaldoFinal")).toInt(), 1);
    }
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM TbErrosImportacao")).toInt(), 1);
}

void TstValidacao::execucao_data()
{
    QTest::addColumn<int>("fechamento");   // closing balance of 1.1.01 in cents
    QTest::addColumn<QStringList>("situacoes");
    QTest::addColumn<QStringList>("status");   // per type 1, 5, 6, 8
    QTest::newRow("limpa") << 10000 << QStringList{"8 2 0 2 2 0", "8 3 0 2 2 0"}
                           << QStringList{"1 0", "5 777", "6 0", "8 0"};
    QTest::newRow("com achado") << 9000 << QStringList{"8 2 55 2 1 1", "8 3 0 2 2 0"}
                                << QStringList{"1 90", "5 777", "6 90", "8 55"};
}

void TstValidacao::execucao()
{
    QFETCH(int, fechamento);
    QFETCH(QStringList, situacoes);
    QFETCH(QStringList, status);
    Ambiente amb;
    CONFERE(declaracaoImportada(amb, {{"1.1.01", 10000, "D"}, {"1.1.02", 10000, "C"}},
                                {{"1.1.01", 10000, 0, fechamento}, {"1.1.02", 0, 10000, -10000}}));
    // Results of an earlier run never stay.
    QVERIFY(geral().gConn->executar(QStringLiteral("INSERT INTO tbSaldoFinal (quebra, Conta) VALUES (0, 'x')")));
    for (int vez = 0; vez < 2; ++vez) {
        PainelRegistro painel;
        validacao::Estado estado;
        QVERIFY2(validacao::executarValidacao(painel, estado), qPrintable(geral().gMsg));
        QCOMPARE(painel.titulos,
                 (QStringList{validacao::TituloLancamentos, validacao::TituloSaldosGeral, validacao::TituloSaldosAux,
                              validacao::TituloContaGeral, validacao::TituloContaAux, validacao::TituloLancXSaldos}));
        QCOMPARE(painel.maximo, 7);
        QCOMPARE(painel.barra, 7);
        QCOMPARE(linhas(QStringLiteral("SELECT TipoArquivo || ' ' || TipoValidacao || ' ' || CodigoErro || ' ' || "
                                       "RegLidos || ' ' || RegCorretos || ' ' || RegComErro FROM tbSituacaoValidacao "
                                       "ORDER BY rowid")),
                 situacoes);
        QCOMPARE(linhas(QStringLiteral("SELECT Tipo || ' ' || Situacao FROM tbImportados ORDER BY Tipo")), status);
        QCOMPARE(linhas(QStringLiteral("SELECT count(*) FROM tbSaldoFinal")),
                 QStringList{fechamento == 10000 ? QStringLiteral("0") : QStringLiteral("1")});
        QCOMPARE(linhas(QStringLiteral("SELECT TotalDebitos || ' ' || TotalCreditos FROM tbLancamentosAcumulados")),
                 QStringList{QStringLiteral("1000000 1000000")});
    }
}

void TstValidacao::execucaoParada()
{
    Ambiente amb;
    CONFERE(declaracaoImportada(amb, {{"1.1.01", 10000, "D"}, {"1.1.02", 10000, "C"}}, {{"1.1.01", 10000, 0, 10000}}));
    QVERIFY(geral().gConn->executar(QStringLiteral("DROP TABLE %1").arg(motor::nomeTabelaTipo(8))));
    PainelRegistro painel;
    validacao::Estado estado;
    QVERIFY(!validacao::executarValidacao(painel, estado));
    QVERIFY2(geral().gMsg.startsWith(QStringLiteral("cod.erro -2147217865\r\nmsg. Erro: ")), qPrintable(geral().gMsg));
    QVERIFY(geral().gMsg.endsWith(QStringLiteral("(fun_ValidaSaldosMes)")));
    QCOMPARE(painel.titulos.last(), validacao::TituloSaldosGeral);
    // Check 1 committed before the stop; no status became "validated".
    QCOMPARE(linhas(QStringLiteral("SELECT count(*) FROM tbLancamentosAcumulados")), QStringList{QStringLiteral("1")});
    QCOMPARE(linhas(QStringLiteral("SELECT Tipo || ' ' || Situacao FROM tbImportados ORDER BY Tipo")),
             (QStringList{"1 90", "5 777", "6 90", "8 90"}));
}

void TstValidacao::codigosAlinhados_data()
{
    QTest::addColumn<QStringList>("lancamentos");
    QTest::addColumn<QStringList>("saldos");
    QTest::addColumn<QStringList>("esperado");   // resultados() of the left-aligned copy
    QTest::newRow("limpa") << QStringList{"1.1.01 10000 D", "1.1.02 10000 C"}
                           << QStringList{"1.1.01 10000 0 10000", "1.1.02 0 10000 -10000"}
                           << QStringList{"SV 8 2 0 2 2 0", "SV 8 3 0 2 2 0", "ST 1 0", "ST 5 777", "ST 6 0",
                                          "ST 8 0"};
    // Check 2 and 4 on 1.1.01, entries without a balance (1.1.02), a
    // balance without entries (1.1.03).
    QTest::newRow("com achados") << QStringList{"1.1.01 10000 D", "1.1.02 10000 C"}
                                 << QStringList{"1.1.01 9000 0 10000", "1.1.03 500 0 500"}
                                 << QStringList{"SF 1 03 1.1.01 1000000 900000 -100000",
                                                "LS D 03 1.1.01 1000000 900000 100000",
                                                "LS C 03 1.1.02 1000000 0 1000000",
                                                "LS D 03 1.1.03 0 50000 -50000",
                                                "SV 8 2 55 2 1 1",
                                                "SV 8 3 0 2 2 0",
                                                "SV 6 4 56 0 0 0",
                                                "SV 6 5 57 0 0 0",
                                                "ST 1 90",
                                                "ST 5 777",
                                                "ST 6 56",
                                                "ST 8 55"};
}

void TstValidacao::codigosAlinhados()
{
    QFETCH(QStringList, lancamentos);
    QFETCH(QStringList, saldos);
    QFETCH(QStringList, esperado);
    // The same declaration with its codes left-aligned, then right-aligned
    // in all three files: the same findings.
    for (const bool direita : {false, true}) {
        Ambiente amb;
        CONFERE(declaracaoImportada(amb, lancamentosDe(lancamentos), saldosDe(saldos), direita));
        PainelRegistro painel;
        validacao::Estado estado;
        QVERIFY2(validacao::executarValidacao(painel, estado), qPrintable(geral().gMsg));
        QCOMPARE(resultados(), esperado);
        // The entries reloaded keep the codes as their file wrote them.
        QCOMPARE(linhas(QStringLiteral("SELECT DISTINCT CodConta FROM %1 ORDER BY 1").arg(motor::nomeTabelaTipo(6))),
                 (QStringList{QString::fromLatin1(codigo("1.1.01", direita)),
                              QString::fromLatin1(codigo("1.1.02", direita))}));
    }
}

void TstValidacao::recargaDanificada_data()
{
    QTest::addColumn<QString>("dano");
    QTest::addColumn<QString>("trecho");   // of the message
    QTest::addColumn<int>("registros");    // of the copy
    QTest::newRow("última linha curta") << "curta" << "na linha 3 de" << 3;
    QTest::newRow("sem CR LF no fim") << "semCrLf" << "na linha 3 de" << 3;
    QTest::newRow("registros removidos") << "removidos" << "tem 1 registros; a importação leu 3." << 3;
    QTest::newRow("linha longa inserida") << "longa" << "na linha 2 de" << 3;
    QTest::newRow("linha curta no meio") << "meio" << "na linha 2 de" << 3;
    QTest::newRow("cópia vazia") << "vazia" << "tem 0 registros; a importação leu 3." << 3;
    QTest::newRow("dois registros trocados") << "trocados"
                                             << "não é a que foi importada: foi alterada depois da importação. "
                                                "Importe o arquivo de lançamentos novamente." << 3;
    QTest::newRow("nome de campo trocado no .lay")
        << "lay" << "msg. Erro: A descrição 11222333000181-TOBRI-06-2005010120050331.lay não é a que foi importada" << 3;
    QTest::newRow("importada por uma versão anterior")
        << "semDigesto" << "foi importada por uma versão anterior e não pode ser conferida. Importe o arquivo de "
                           "lançamentos novamente." << 3;
    // Several of the text driver's 1 MiB blocks; one blank of a history
    // text past the first block becomes a letter.
    QTest::newRow("byte trocado após o primeiro bloco")
        << "alemDoBloco" << "não é a que foi importada: foi alterada depois da importação." << 9000;
}

void TstValidacao::recargaDanificada()
{
    QFETCH(QString, dano);
    QFETCH(QString, trecho);
    QFETCH(int, registros);
    Ambiente amb;
    QList<std::tuple<QByteArray, int, QByteArray>> lancamentos{{"1.1.01", 10000, "D"}};
    while (lancamentos.size() < registros)
        lancamentos.append({"1.1.02", 5000, "C"});
    CONFERE(declaracaoImportada(amb, lancamentos, {{"1.1.01", 10000, 0, 10000}, {"1.1.02", 0, 10000, -10000}}));
    // The copy as imported reloads.
    QVERIFY2(validacao::Fun_Criar_arquivo_ini() && validacao::Fun_ImportarLancamento(), qPrintable(geral().gMsg));
    const QString copia = amb.caminhoDados(validacao::nomeCopiaLancamentos());
    QByteArray bytes = lerArquivo(copia);
    const qsizetype registro = bytes.size() / registros;   // with its CR LF
    QCOMPARE(registro * registros, bytes.size());
    if (dano == QLatin1String("curta"))
        bytes.chop(2 + 20);
    else if (dano == QLatin1String("semCrLf"))
        bytes.chop(2);
    else if (dano == QLatin1String("removidos"))
        bytes.chop(2 * registro);
    else if (dano == QLatin1String("longa"))
        bytes.insert(registro, QByteArray(1 << 20, '8') + "\r\n");
    else if (dano == QLatin1String("meio"))
        bytes.remove(registro + 10, 5);
    else if (dano == QLatin1String("trocados"))
        bytes = bytes.mid(registro, registro) + bytes.first(registro) + bytes.sliced(2 * registro);
    else if (dano == QLatin1String("lay")) {
        const QString lay = amb.caminhoDados(validacao::nomeLayLancamentos());
        QByteArray descricao = lerArquivo(lay);
        QVERIFY(descricao.contains("NumLanc"));
        amb.escreverArquivo(validacao::nomeLayLancamentos(), descricao.replace("NumLanc", "NumLanX"));
    } else if (dano == QLatin1String("semDigesto")) {
        QVERIFY(geral().gConn->executar(QStringLiteral("UPDATE tbImportados SET DigestoCopia = NULL WHERE Tipo = 6")));
    } else if (dano == QLatin1String("alemDoBloco")) {
        QVERIFY(bytes.size() > 2 << 20);
        const qsizetype i = ((1 << 20) / registro + 2) * registro - 3;   // last byte of a history text
        QCOMPARE(bytes.at(i), ' ');
        bytes[i] = 'x';
    } else
        bytes.clear();
    amb.escreverArquivo(validacao::nomeCopiaLancamentos(), bytes);
    PainelRegistro painel;
    validacao::Estado estado;
    QVERIFY(!validacao::executarValidacao(painel, estado));
    const QString& msg = geral().gMsg;
    QVERIFY2(msg.startsWith(QStringLiteral("cod.erro 75\r\nmsg. Erro: ")) && msg.contains(trecho)
                 && msg.endsWith(QStringLiteral("(Fun_ImportarLancamento)")),
             qPrintable(msg));
    // Stopped before check 1: nothing summed, nothing validated.
    QCOMPARE(linhas(QStringLiteral("SELECT count(*) FROM tbLancamentosAcumulados")), QStringList{QStringLiteral("0")});
    QCOMPARE(linhas(QStringLiteral("SELECT Tipo || ' ' || Situacao FROM tbImportados ORDER BY Tipo")),
             (QStringList{"1 90", "5 777", "6 90", "8 90"}));
}

void TstValidacao::validacaoIncompleta_data()
{
    QTest::addColumn<QString>("fim");
    QTest::newRow("seletor e Cancelar") << "cancelada";
    QTest::newRow("parada após a verificação 2") << "parada";
    QTest::newRow("processo morto após a verificação 2") << "morta";
    QTest::newRow("situações recusadas pelo banco") << "situacoes";
    QTest::newRow("confirmação impedida por outro leitor") << "leitor";
}

void TstValidacao::validacaoIncompleta()
{
    QFETCH(QString, fim);
    Ambiente amb;
    // Check 2 finds a difference on 1.1.01.
    CONFERE(declaracaoImportada(amb, {{"1.1.01", 10000, "D"}, {"1.1.02", 10000, "C"}},
                                {{"1.1.01", 10000, 0, 9000}, {"1.1.02", 0, 10000, -10000}}));
    {
        PainelRegistro painel;
        validacao::Estado estado;
        QVERIFY2(validacao::executarValidacao(painel, estado), qPrintable(geral().gMsg));
        QCOMPARE(situacao(8).toInt(), 55);
        QCOMPARE(recarregaValidacao(), ValidacaoGuardada::Carregada);
    }
    if (fim == u"morta") {
        CONFERE(validacaoMorta());
        // Check 2's finding was committed before the kill.
        QCOMPARE(linhas(QStringLiteral("SELECT count(*) FROM tbSaldoFinal")), QStringList{QStringLiteral("1")});
    } else if (fim == u"cancelada") {
        Formulario* run = nullptr;
        CONFERE(abrirConfirmacao(run));
        botao(run, "cmdCancelar")->click();
        QVERIFY(!Formularios::obter(QStringLiteral("frmConfirmaValidar")));
        QCOMPARE(linhas(QStringLiteral("SELECT count(*) FROM tbSaldoFinal")), QStringList{QStringLiteral("0")});
    } else if (fim == u"situacoes" || fim == u"leitor") {
        // Every check ran; then the statuses' update is refused, or another
        // connection's open read keeps their commit from taking place.
        std::optional<OutraConexao> leitor;
        PainelAntesDasSituacoes painel;
        painel.antesDasSituacoes = [&] {
            if (fim == u"leitor")
                leitor.emplace(caminhoBancoDeclaracao(), OutraConexao::Trava::Leitura);
            else
                QVERIFY(geral().gConn->executar(QStringLiteral(
                    "CREATE TRIGGER falhaSituacoes BEFORE UPDATE ON tbImportados "
                    "BEGIN SELECT RAISE(ABORT, 'falha simulada'); END")));
        };
        validacao::Estado estado;
        QVERIFY(!validacao::executarValidacao(painel, estado));
        QVERIFY(!leitor || leitor->ativa());
        leitor.reset();
        QCOMPARE(painel.barra, painel.maximo - 1);
        const QString& msg = geral().gMsg;
        // A busy database is a file in use (70).
        if (fim == u"leitor")
            QCOMPARE(msg, QStringLiteral("cod.erro 70\r\nmsg. Erro: database is locked (fun_GravaImportados)"));
        else
            QVERIFY2(msg.startsWith(QStringLiteral("cod.erro "))
                         && msg.endsWith(QStringLiteral("\r\nmsg. Erro: falha simulada (fun_GravaImportados)")),
                     qPrintable(msg));
        QCOMPARE(linhas(QStringLiteral("SELECT count(*) FROM tbSaldoFinal")), QStringList{QStringLiteral("1")});
    } else {
        QVERIFY(geral().gConn->executar(QStringLiteral(
            "CREATE TRIGGER falhaVerificacao3 BEFORE INSERT ON tbSituacaoValidacao WHEN NEW.TipoValidacao = 3 "
            "BEGIN SELECT RAISE(ABORT, 'falha simulada'); END")));
        PainelRegistro painel;
        validacao::Estado estado;
        QVERIFY(!validacao::executarValidacao(painel, estado));
        const QString& msg = geral().gMsg;
        QVERIFY2(msg.startsWith(QStringLiteral("Código Erro: ")) && msg.contains(QStringLiteral("\r\nMensagem Erro: "))
                     && msg.endsWith(QStringLiteral("falha simulada(fun_validaSaldosPorConta)")),
                 qPrintable(msg));
        // Check 2's finding stays; its status does not.
        QCOMPARE(linhas(QStringLiteral("SELECT count(*) FROM tbSaldoFinal")), QStringList{QStringLiteral("1")});
    }
    QCOMPARE(linhas(QStringLiteral("SELECT Tipo || ' ' || Situacao FROM tbImportados ORDER BY Tipo")),
             (QStringList{"1 90", "5 777", "6 90", "8 90"}));
    QStringList pendencias;
    QVERIFY2(Verifica_Situacao(pendencias), qPrintable(geral().gMsg));
    QVERIFY2(pendencias.contains(QStringLiteral("Validação não efetuada")), qPrintable(pendencias.join(u'|')));
    QString recusa;
    QVERIFY2(entrega::Verifica_Importados(recusa), qPrintable(geral().gMsg));
    QCOMPARE(recusa, entrega::MsgPrecondicaoGeral);
    // "Visualizar Resultado da Validação..." does not take the rows left for a validation.
    amb.dialogos.limpar();
    geral().gConn->fechar();
    Formulario* vista = Formularios::carregar(QStringLiteral("frmVisualizarValidacao"));
    QVERIFY(vista);
    auto* grade = vista->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
    grade->setCurrentIndex(grade->model()->index(0, 0));
    botao(vista, "cmdOk")->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{QStringLiteral("Arquivo não validado.")});
    QVERIFY(!Formularios::obter(QStringLiteral("frmVerificacaoPendencias")));
}

void TstValidacao::janelasDoMenuAoFim()
{
    Ambiente amb;
    CONFERE(declaracaoImportada(amb, {{"1.1.01", 10000, "D"}, {"1.1.02", 10000, "C"}},
                                {{"1.1.01", 10000, 0, 10000}, {"1.1.02", 0, 10000, -10000}}));
    Formulario* run = nullptr;
    CONFERE(abrirConfirmacao(run));
    QCOMPARE(run->windowTitle(), QStringLiteral("Validar Arquivos"));
    QCOMPARE(run->findChild<QLabel*>(QStringLiteral("lblCNPJ"))->text(), Cnpj);
    QCOMPARE(run->findChild<QLabel*>(QStringLiteral("lbltipo"))->text(), QStringLiteral("01/01/2005 a 31/03/2005"));
    botao(run, "cmdOk")->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{});
    QVERIFY(!Formularios::obter(QStringLiteral("frmConfirmaValidar")));
    // Compacted and open again on the declaration.
    QVERIFY(geral().gConn && geral().gConn->aberta());
    QCOMPARE(situacao(6).toInt(), 0);
    QCOMPARE(situacao(5).toInt(), 777);
}

QTEST_MAIN(TstValidacao)
#include "tst_validacao.moc"
