// The import engine: record tests of charts and code tables, the reading
// loop's stops, the reset cascade and the layout description.
#include "Ambiente.h"
#include "Declaracoes.h"

#include "import/motor/Motor.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"

#include <QFile>
#include <QSet>
#include <QSqlQuery>
#include <QTest>

class TstMotor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codigos_data();
    void codigos();
    void tresFalhasContamUmaVez();
    void limiteDeCemParaALeitura();
    void linhaCurtaParaSemCodigo();
    void tabelaDeTrabalhoAoFim_data();
    void tabelaDeTrabalhoAoFim();
    void planoGeral86EmDuasPassagens();
    void cascataDoReinicio_data();
    void cascataDoReinicio();
    void leiauteComCampoAcrescentado_data();
    void leiauteComCampoAcrescentado();
    void auxiliares_data();
    void auxiliares();
    void consultaSemTabelaNaoAcha();
    void leitorDeLinhas_data();
    void leitorDeLinhas();
    void tabelaQueJaExisteParaOTeste();
    void indiceQueFalhaAposACarga();
};

namespace {

const QString Cnpj = QStringLiteral("99.999.999/9999-99");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 12, 31);

using Registros = QList<QByteArray>;

// Field widths of the standard layouts used here.
QList<int> larguras(int in, int tipo)
{
    if (in == 68)
        return {8, 3, 28, 50};          // charts and code tables: date, table, code, description
    if (tipo == 3)
        return {8, 28, 50};             // 86 cost centres: date, code, description
    return {8, 28, 1, 28, 50};          // 86 charts: date, account, type, totalizing, description
}

// A record of the standard layout: fields joined by '|', each padded to its width.
QByteArray registro(int in, int tipo, const QByteArray& campos)
{
    const QList<QByteArray> partes = campos.split('|');
    const QList<int> w = larguras(in, tipo);
    QByteArray r;
    for (int i = 0; i < w.size(); ++i)
        r += partes.value(i).leftJustified(w[i], ' ', true);
    return r;
}

QByteArray arquivo(int in, int tipo, const Registros& regs)
{
    QByteArray b;
    for (const QByteArray& r : regs)
        b += registro(in, tipo, r) + "\r\n";
    return b;
}

void novaDeclaracao(int in)
{
    QVERIFY(criarDeclaracao(qint16(in), Cnpj, Inicio, Fim));
}

// Sets the type in hand with its standard layout and the source file.
void preparar(Ambiente& amb, int tipo, const QByteArray& bytes, const QString& nome = QStringLiteral("origem.txt"))
{
    Geral& g = geral();
    g.gTipoArquivo = qint16(tipo);
    QString msg;
    QVERIFY2(motor::copiarLeiautePadrao(msg), qPrintable(msg));
    g.gTamanhoARQ = qint16(g.gConn->escalar(QStringLiteral("SELECT sum(Tamanho) FROM TbleiauteDIG")).toInt());
    g.gArquivoOrigem = amb.escreverArquivo(nome, bytes);
}

// The whole run of the Import button.
motor::FimImportacao importar(Ambiente& amb, int tipo, const QByteArray& bytes, motor::Painel* painel = nullptr)
{
    preparar(amb, tipo, bytes);
    // The set-up failed (and said so): an end no caller here expects.
    if (QTest::currentTestFailed())
        return motor::FimImportacao::JanelaFechada;
    motor::Painel padrao;
    return motor::executarImportacao(painel ? *painel : padrao);
}

// "record:code" of the detail rows of a type, in the order written.
QStringList detalhes(int tipo)
{
    QStringList r;
    QSqlQuery q(geral().gConn->banco());
    q.prepare(QStringLiteral("SELECT NroRegistro, CodigoErro FROM tbDetalheErros WHERE TipoArquivo = ? ORDER BY rowid"));
    q.addBindValue(tipo);
    q.exec();
    while (q.next())
        r << QStringLiteral("%1:%2").arg(q.value(0).toInt()).arg(q.value(1).toInt());
    return r;
}

int linhas(const QString& base)
{
    const QString t = motor::nomeTabela(base);
    if (!temTabela(t))
        return -1;
    return geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM %1").arg(t)).toInt();
}

// A general chart under 86 that the auxiliary chart refers to: "1" totalizing, "1.1" analytic.
const Registros PlanoGeral86{"01012005|1|S||Ativo", "01012005|1.1|A|1|Caixa"};

} // namespace

void TstMotor::codigos_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<Registros>("registros");
    QTest::addColumn<QStringList>("esperado");

    // Instruction 68: charts and code tables share one test.
    QTest::newRow("68 custo bom") << 68 << 3 << Registros{"01012005|003|C1|Centro"} << QStringList{};
    QTest::newRow("68 tabela de outro tipo") << 68 << 3 << Registros{"01012005|002|C1|Centro"} << QStringList{"1:4"};
    QTest::newRow("68 tabela de plano em custo") << 68 << 3 << Registros{"01012005|001|C1|Centro"} << QStringList{"1:4"};
    QTest::newRow("68 tabela em branco") << 68 << 3 << Registros{"01012005|   |C1|Centro"} << QStringList{"1:3"};
    QTest::newRow("68 tabela com sinal") << 68 << 3 << Registros{"01012005|+03|C1|Centro"} << QStringList{"1:4"};
    QTest::newRow("68 data zerada") << 68 << 4 << Registros{"00000000|004|D1|Despesa"} << QStringList{"1:27"};
    QTest::newRow("68 data inexistente") << 68 << 5 << Registros{"29022005|005|H1|Historico"} << QStringList{"1:27"};
    QTest::newRow("68 codigo e descricao em branco") << 68 << 5 << Registros{"01012005|005||"}
                                                     << QStringList{"1:5", "1:6"};
    QTest::newRow("68 repetido") << 68 << 1 << Registros{"01012005|001|1.1|Caixa", "01012005|001|1.1  |Caixa"}
                                 << QStringList{"2:12"};
    QTest::newRow("68 mesmo codigo outra data") << 68 << 1
                                                << Registros{"01012005|001|1.1|Caixa", "02012005|001|1.1|Caixa"}
                                                << QStringList{};
    QTest::newRow("68 NUL no codigo") << 68 << 2 << Registros{QByteArray("01012005|001|1") + '\0' + "2|Conta"}
                                      << QStringList{"1:49"};
    QTest::newRow("68 LF dentro da linha") << 68 << 3 << Registros{"01012005|003|C1|Cen\ntro"} << QStringList{"1:49"};
    QTest::newRow("68 CR com outra falha") << 68 << 3 << Registros{"01012005|009|C1|Cen\rtro"}
                                           << QStringList{"1:49", "1:4"};

    // Instruction 86, auxiliary chart against the general chart imported before.
    QTest::newRow("86 aux bom") << 86 << 2 << Registros{"01012005|2.1|A|1.1|Conta"} << QStringList{};
    QTest::newRow("86 aux totalizadora sintetica") << 86 << 2 << Registros{"01012005|2.2|A|1|Conta"}
                                                   << QStringList{"1:11"};
    QTest::newRow("86 aux totalizadora ausente") << 86 << 2 << Registros{"01012005|2.3|A|9|Conta"}
                                                 << QStringList{"1:10"};
    QTest::newRow("86 aux analitica sem totalizadora") << 86 << 2 << Registros{"01012005|2.4|a||Conta"}
                                                       << QStringList{"1:9"};
    QTest::newRow("86 aux sintetica") << 86 << 2 << Registros{"01012005|2.5|S||Conta"} << QStringList{"1:8"};
    QTest::newRow("86 aux tipo em branco") << 86 << 2 << Registros{"01012005|2.6| ||Conta"} << QStringList{"1:7"};
    QTest::newRow("86 aux totalizadora ela mesma") << 86 << 2 << Registros{"01012005|2.7|A|2.7|Conta"}
                                                   << QStringList{"1:48", "1:10"};
    QTest::newRow("86 aux tipo e totalizadora com NUL") << 86 << 2
                                                        << Registros{QByteArray("01012005|2.8|A|1.") + '\0' + "|Conta"}
                                                        << QStringList{"1:49", "1:10"};
    QTest::newRow("86 custo bom") << 86 << 3 << Registros{"01012005|C1|Centro"} << QStringList{};
    QTest::newRow("86 custo repetido") << 86 << 3 << Registros{"01012005|C1|Centro", "01012005|C1|Outro"}
                                       << QStringList{"2:12"};

    // Instruction 86, general chart: store first, test afterwards.
    QTest::newRow("86 geral data em branco") << 86 << 1 << Registros{"|1|S||Ativo"} << QStringList{"1:2"};
    QTest::newRow("86 geral data zerada") << 86 << 1 << Registros{"00000000|1|S||Ativo"} << QStringList{"1:2"};
    QTest::newRow("86 geral data invalida") << 86 << 1 << Registros{"31022005|1|S||Ativo"} << QStringList{"1:1"};
    QTest::newRow("86 geral tipo invalido") << 86 << 1 << Registros{"01012005|5|X||Conta"} << QStringList{"1:8"};
    QTest::newRow("86 geral sintetica de si mesma") << 86 << 1 << Registros{"01012005|6|S|6|Conta"}
                                                    << QStringList{"1:48"};
    QTest::newRow("86 geral totalizadora analitica")
        << 86 << 1 << Registros{"01012005|1|S||Ativo", "01012005|1.1|A|1|Caixa", "01012005|1.2|A|1.1|Banco"}
        << QStringList{"3:11"};
    QTest::newRow("86 geral sem totalizadora") << 86 << 1 << Registros{"01012005|8|A||Conta"} << QStringList{"1:9"};
    QTest::newRow("86 geral totalizadora ausente") << 86 << 1 << Registros{"01012005|9|A|99|Conta"}
                                                   << QStringList{"1:10"};
    QTest::newRow("86 geral conta e descricao em branco") << 86 << 1 << Registros{"01012005||S||"}
                                                          << QStringList{"1:5", "1:6"};
    QTest::newRow("86 geral LF dentro da linha") << 86 << 1 << Registros{"01012005|1|S||At\nivo"}
                                                 << QStringList{"1:49"};
    QTest::newRow("86 geral NUL na primeira passagem") << 86 << 1 << Registros{QByteArray("01012005|1|S||At") + '\0'}
                                                       << QStringList{"1:49"};
}

void TstMotor::codigos()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    QFETCH(Registros, registros);
    QFETCH(QStringList, esperado);
    Ambiente amb;
    CONFERE(novaDeclaracao(in));
    if (in == 86 && tipo == 2)
        QCOMPARE(importar(amb, 1, arquivo(86, 1, PlanoGeral86)), motor::FimImportacao::Concluida);
    QCOMPARE(importar(amb, tipo, arquivo(in, tipo, registros)), motor::FimImportacao::Concluida);
    QCOMPARE(detalhes(tipo), esperado);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QCOMPARE(situacao(tipo).toInt(), esperado.isEmpty() ? 90 : 777);
}

void TstMotor::tresFalhasContamUmaVez()
{
    Ambiente amb;
    CONFERE(novaDeclaracao(68));
    const Registros regs{"01012005|003|C1|Centro", "01012005|   ||", "01012005|003|C3|Centro"};
    QCOMPARE(importar(amb, 3, arquivo(68, 3, regs)), motor::FimImportacao::Concluida);
    QCOMPARE(detalhes(3), (QStringList{"2:3", "2:5", "2:6"}));
    const Geral& g = geral();
    QCOMPARE(g.gRegLidos, 3.0);
    QCOMPARE(g.gRegCorretos, 2.0);
    QCOMPARE(g.gRegErros, 1.0);
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT QuantidadeReg FROM TbErrosImportacao WHERE CodigoErro = 5")).toInt(),
             1);
}

void TstMotor::limiteDeCemParaALeitura()
{
    Ambiente amb;
    CONFERE(novaDeclaracao(68));
    Registros regs;
    for (int i = 1; i <= 105; ++i)
        regs << (i % 2 ? QByteArray("01012005|002|C") + QByteArray::number(i) + "|Centro"
                       : QByteArray("01012005|003|C") + QByteArray::number(i) + "|Centro");
    // The 100th bad record is record 198 of 210.
    regs += regs;
    for (int i = 0; i < regs.size(); ++i)
        regs[i].replace("|C", "|K" + QByteArray::number(i) + "-");
    QCOMPARE(importar(amb, 3, arquivo(68, 3, regs)), motor::FimImportacao::Concluida);
    const Geral& g = geral();
    QCOMPARE(g.gRegErros, 100.0);
    QCOMPARE(g.gRegLidos, 198.0);
    QCOMPARE(g.gRegCorretos, 98.0);
    QCOMPARE(detalhes(3).size(), 100);
    QCOMPARE(detalhes(3).last(), QStringLiteral("198:4"));
    QCOMPARE(linhas(motor::TabCentroCusto), 0);
    QCOMPARE(situacao(3).toInt(), 777);
}

void TstMotor::linhaCurtaParaSemCodigo()
{
    Ambiente amb;
    CONFERE(novaDeclaracao(68));
    QByteArray bytes = arquivo(68, 3, {"01012005|003|C1|Centro"});
    bytes += registro(68, 3, "01012005|009|C2|Centro").chopped(1) + "\r\n";
    bytes += arquivo(68, 3, {"01012005|003|C3|Centro"});
    QCOMPARE(importar(amb, 3, bytes), motor::FimImportacao::TamanhoErrado);
    QCOMPARE(amb.dialogos.textos(), QStringList{motor::TextoTamanhoErrado});
    QVERIFY(detalhes(3).isEmpty());
    QCOMPARE(geral().gRegLidos, 2.0);
    QVERIFY(geral().gMsg.isEmpty());
    QVERIFY(!situacao(3).isValid());
    QCOMPARE(linhas(motor::TabCentroCusto), 1);
    QVERIFY(!QFile::exists(motor::caminhoCopiaAceita()));
    QVERIFY(!QFile::exists(motor::caminhoCopiaTemporaria()));
}

void TstMotor::tabelaDeTrabalhoAoFim_data()
{
    QTest::addColumn<Registros>("registros");
    QTest::addColumn<int>("cancelarEm");
    QTest::addColumn<int>("linhasFicam");
    QTest::addColumn<QVariant>("situacaoFica");

    Registros bons;
    for (int i = 1; i <= 6; ++i)
        bons << QByteArray("01012005|003|C") + QByteArray::number(i) + "|Centro";
    Registros comErro = bons;
    comErro[4] = "01012005|003|C5|";
    Registros cem;
    for (int i = 1; i <= 120; ++i)
        cem << QByteArray("01012005|004|C") + QByteArray::number(i) + "|Centro";
    cem.prepend("01012005|003|B|Bom");
    QTest::newRow("fim limpo") << bons << 0 << 6 << QVariant(90);
    QTest::newRow("com erros") << comErro << 0 << 0 << QVariant(777);
    QTest::newRow("cem com erros") << cem << 0 << 0 << QVariant(777);
    QTest::newRow("cancelado no quarto") << bons << 4 << 3 << QVariant();
}

void TstMotor::tabelaDeTrabalhoAoFim()
{
    QFETCH(Registros, registros);
    QFETCH(int, cancelarEm);
    QFETCH(int, linhasFicam);
    QFETCH(QVariant, situacaoFica);
    Ambiente amb;
    CONFERE(novaDeclaracao(68));
    PainelCancela painel;
    painel.cancelarEm = cancelarEm;
    bool cancelado = false;
    CONFERE(preparar(amb, 3, arquivo(68, 3, registros)));
    const motor::FimImportacao fim = motor::executarImportacao(painel, &cancelado);
    QCOMPARE(fim, cancelarEm ? motor::FimImportacao::Parada : motor::FimImportacao::Concluida);
    QCOMPARE(cancelado, cancelarEm != 0);
    QVERIFY(!painel.cancelar);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QCOMPARE(linhas(motor::TabCentroCusto), linhasFicam);
    QCOMPARE(situacao(3), situacaoFica);
    QVERIFY(!QFile::exists(motor::caminhoCopiaTemporaria()));
    QCOMPARE(QFile::exists(motor::caminhoCopiaAceita()), situacaoFica == QVariant(90));
}

void TstMotor::planoGeral86EmDuasPassagens()
{
    Ambiente amb;
    CONFERE(novaDeclaracao(86));
    // The totalizing account "1" is defined after the account that needs it.
    const QByteArray limpo = arquivo(86, 1, {"01012005|1.1|A|1|Caixa", "01012005|1|S||Ativo"});
    QCOMPARE(importar(amb, 1, limpo), motor::FimImportacao::Concluida);
    QVERIFY(detalhes(1).isEmpty());
    QCOMPARE(situacao(1).toInt(), 90);
    QCOMPARE(linhas(motor::TabPlanoGeral), 2);
    QCOMPARE(geral().gRegLidos, 2.0);
    QCOMPARE(geral().gRegCorretos, 2.0);
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT group_concat(TipoConta || Vinculado, ',') FROM %1")
                                         .arg(motor::nomeTabela(motor::TabPlanoGeral))).toString(),
             QStringLiteral("A0,S0"));

    // Both records of a repeated account get 12.
    QFile f(QStringLiteral(TOBRI_FIXTURES_DIR "/importacao/plano86_repetido.txt"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(importar(amb, 1, f.readAll()), motor::FimImportacao::Concluida);
    QCOMPARE(detalhes(1), (QStringList{"2:12", "3:12"}));
    QCOMPARE(geral().gRegErros, 2.0);
    QCOMPARE(linhas(motor::TabPlanoGeral), 0);

    // A bad update date alone (first pass) makes the file bad.
    const QByteArray dataRuim = arquivo(86, 1, {"01012005|1|S||Ativo", "31022005|1.1|A|1|Caixa"});
    QCOMPARE(importar(amb, 1, dataRuim), motor::FimImportacao::Concluida);
    QCOMPARE(detalhes(1), QStringList{"2:1"});
    QCOMPARE(geral().gRegErros, 1.0);
    QCOMPARE(geral().gRegCorretos, 1.0);
    QCOMPARE(situacao(1).toInt(), 777);
    QCOMPARE(linhas(motor::TabPlanoGeral), 0);
}

void TstMotor::cascataDoReinicio_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QList<int>>("tabelasFicam");   // staging tables (by type) left
    QTest::addColumn<QList<int>>("linhasFicam");    // status rows (by type) left

    QTest::newRow("68 plano geral") << 68 << 1 << QList<int>{2, 3, 4, 5, 7, 9} << QList<int>{2, 3, 4, 5, 7, 9};
    QTest::newRow("86 plano geral") << 86 << 1 << QList<int>{3, 4, 5} << QList<int>{3, 4, 5};
    QTest::newRow("plano auxiliar") << 68 << 2 << QList<int>{1, 3, 4, 5, 6, 8} << QList<int>{1, 3, 4, 5, 6, 8};
    QTest::newRow("custos") << 68 << 3 << QList<int>{1, 2, 4, 5, 8, 9} << QList<int>{1, 2, 4, 5, 8, 9};
    QTest::newRow("despesas") << 68 << 4 << QList<int>{1, 2, 3, 5, 8, 9} << QList<int>{1, 2, 3, 5, 8, 9};
    QTest::newRow("historico") << 68 << 5 << QList<int>{1, 2, 3, 4, 8, 9} << QList<int>{1, 2, 3, 4, 8, 9};
    QTest::newRow("lancamentos geral") << 86 << 6 << QList<int>{1, 2, 3, 4, 5, 7, 8, 9}
                                       << QList<int>{1, 2, 3, 4, 5, 7, 8, 9};
    QTest::newRow("lancamentos aux") << 68 << 7 << QList<int>{1, 2, 3, 4, 5, 6, 8, 9}
                                     << QList<int>{1, 2, 3, 4, 5, 6, 8, 9};
    QTest::newRow("saldos geral") << 68 << 8 << QList<int>{1, 2, 3, 4, 5, 6, 7, 9} << QList<int>{1, 2, 3, 4, 5, 6, 7, 9};
    QTest::newRow("saldos aux") << 86 << 9 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8} << QList<int>{1, 2, 3, 4, 5, 6, 7, 8};
}

void TstMotor::cascataDoReinicio()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    QFETCH(QList<int>, tabelasFicam);
    QFETCH(QList<int>, linhasFicam);
    Ambiente amb;
    CONFERE(novaDeclaracao(in));
    Geral& g = geral();
    const QVariantList chave{g.gIN, g.gCNPJ, dataIso(Inicio), dataIso(Fim)};
    // Every staging table and status row present; statuses of every kind.
    const int situacoes[] = {0, 90, 777, 100, 53, 57, 90, 55, 0};
    for (int t = 1; t <= 9; ++t) {
        QVERIFY(g.gConn->executar(QStringLiteral("CREATE TABLE %1 (x)").arg(motor::nomeTabelaTipo(t))));
        QVERIFY(g.gConn->executar(QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, "
                                                 "periodofinal, Tipo, Situacao) VALUES (?, ?, ?, ?, ?, ?)"),
                                  chave + QVariantList{t, situacoes[t - 1]}));
    }
    QVERIFY(g.gConn->executar(QStringLiteral("INSERT INTO tbContasVinculadas (INarquivo, CNPJ, periodoinicial, "
                                             "periodofinal, Contapadrao) VALUES (?, ?, ?, ?, '1')"),
                              chave));
    QVERIFY(g.gConn->executar(QStringLiteral("INSERT INTO tbSituacaoValidacao (TipoArquivo) VALUES (6)")));
    g.gTipoArquivo = qint16(tipo);
    QVERIFY2(motor::fun_Delete_IMPORTADO(), qPrintable(g.gMsg));

    QList<int> tabelas;
    QList<int> linhasTipo;
    for (int t = 1; t <= 9; ++t) {
        if (temTabela(motor::nomeTabelaTipo(t)))
            tabelas << t;
        const QVariant s = situacao(t);
        if (s.isValid()) {
            linhasTipo << t;
            const int antes = situacoes[t - 1];
            const bool volta90 = antes == 0 || antes == 100 || (antes >= 53 && antes <= 57);
            QCOMPARE(s.toInt(), volta90 ? 90 : antes);
        }
    }
    QCOMPARE(tabelas, tabelasFicam);
    QCOMPARE(linhasTipo, linhasFicam);
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbContasVinculadas")).toInt(), 0);
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbSituacaoValidacao")).toInt(), 0);

    // A first import of the type finds nothing to drop and still succeeds.
    QVERIFY2(motor::fun_Delete_IMPORTADO(), qPrintable(g.gMsg));
}

void TstMotor::leiauteComCampoAcrescentado_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("custos com campo acrescentado") << 68 << 3 << QStringLiteral("custos_extra.lay");
    QTest::newRow("saldos numericos") << 86 << 8 << QStringLiteral("saldos.lay");
}

void TstMotor::leiauteComCampoAcrescentado()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    QFETCH(QString, esperado);
    Ambiente amb;
    CONFERE(novaDeclaracao(in));
    Geral& g = geral();
    g.gTipoArquivo = qint16(tipo);
    QString msg;
    QVERIFY(motor::copiarLeiautePadrao(msg));
    if (tipo == 3) {
        // Appended by the layout editor: next id, name cut to 15, ASCII.
        QVERIFY(g.gConn->executar(
            QStringLiteral("INSERT INTO TbleiauteDIG (codsequ, INarquivo, TipoArquivo, NomeCampo, NomeReduzido, "
                           "PosicaoInicial, Tamanho, Decimais, tipo) VALUES (8, ?, 3, 'Código do Usuário Final', "
                           "'Código do Usuá', 90, 12, 0, 'ASCII')"),
            {in}));
    }
    g.gTamanhoARQ = qint16(g.gConn->escalar(QStringLiteral("SELECT sum(Tamanho) FROM TbleiauteDIG")).toInt());
    QVERIFY2(motor::Importar_leiaute(), qPrintable(g.gMsg));
    QFile lay(motor::caminhoLay());
    QVERIFY(lay.open(QIODevice::ReadOnly));
    QFile fixture(QStringLiteral(TOBRI_FIXTURES_DIR "/importacao/") + esperado);
    QVERIFY(fixture.open(QIODevice::ReadOnly));
    QCOMPARE(lay.readAll(), fixture.readAll());
    QVERIFY(QFileInfo(motor::caminhoLay()).fileName().startsWith(
        QStringLiteral("99999999999999-TOBRI-0%1-2005010120051231").arg(tipo)));
}

void TstMotor::auxiliares_data()
{
    QTest::addColumn<QByteArray>("texto");
    QTest::addColumn<bool>("data");
    QTest::addColumn<bool>("digitos");
    QTest::newRow("29/02/2008") << QByteArray("29022008") << true << true;
    QTest::newRow("29/02/2009") << QByteArray("29022009") << false << true;
    QTest::newRow("mes 13") << QByteArray("01132008") << false << true;
    QTest::newRow("1899") << QByteArray("31121899") << false << true;
    QTest::newRow("zeros") << QByteArray("00000000") << false << true;
    QTest::newRow("brancos") << QByteArray("        ") << false << false;
    QTest::newRow("branco a frente") << QByteArray(" 1012008") << false << false;
    QTest::newRow("vazio") << QByteArray() << false << false;
    QTest::newRow("virgula") << QByteArray("12,5") << false << false;
    QTest::newRow("sinal") << QByteArray("-125") << false << false;
    QTest::newRow("expoente") << QByteArray("1E5") << false << false;
    QTest::newRow("zeros a esquerda") << QByteArray("0007") << false << true;
}

void TstMotor::auxiliares()
{
    QFETCH(QByteArray, texto);
    QFETCH(bool, data);
    QFETCH(bool, digitos);
    QCOMPARE(motor::Fun_consiste_data(texto), data);
    QCOMPARE(motor::SoNumeros(texto), digitos);
    // Amounts: the last decimals digits are the fraction.
    QCOMPARE(motor::valorMoeda("00000000000012345", 2)->unidades(), 1234500);
    QVERIFY(!motor::valorMoeda("99999999999999999", 0).has_value());
    QVERIFY(!motor::valorMoeda("12 45", 2).has_value());
    // Every NUL becomes a blank, at either end and in a run; the length given bounds it.
    QByteArray nul("\0A\0\0B\0\0", 7);
    motor::trocarNul(nul.data(), 6);
    QCOMPARE(nul, QByteArray(" A  B \0", 7));
}

void TstMotor::consultaSemTabelaNaoAcha()
{
    Ambiente amb;
    CONFERE(novaDeclaracao(86));
    // No general chart imported: the totalizing account is simply not found.
    QCOMPARE(importar(amb, 2, arquivo(86, 2, {"01012005|2.1|A|1.1|Conta"})), motor::FimImportacao::Concluida);
    QCOMPARE(detalhes(2), QStringList{"1:10"});
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstMotor::tabelaQueJaExisteParaOTeste()
{
    Ambiente amb;
    CONFERE(novaDeclaracao(68));
    CONFERE(preparar(amb, 3, arquivo(68, 3, {"01012005|003|C1|Centro"})));
    Geral& g = geral();
    QVERIFY(g.gConn->executar(QStringLiteral("CREATE TABLE %1 (x)").arg(motor::nomeTabela(motor::TabCentroCusto))));
    motor::Painel painel;
    motor::Contexto ctx(painel);
    QVERIFY(!motor::func_validacao(ctx));
    QVERIFY2(g.gMsg.startsWith(QStringLiteral("cod.erro ")) && g.gMsg.endsWith(QStringLiteral(" (fun_Criar_Tabela)")),
             qPrintable(g.gMsg));
    QCOMPARE(g.gRegLidos, 0.0);
    // Nothing of the failed creation remains.
    QCOMPARE(g.gConn->escalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = ?"),
                              {motor::nomeTabela(motor::TabCentroCusto)}).toInt(),
             0);
}

void TstMotor::indiceQueFalhaAposACarga()
{
    Ambiente amb;
    CONFERE(novaDeclaracao(68));
    CONFERE(preparar(amb, 8, QByteArray()));
    Geral& g = geral();
    motor::Painel painel;
    motor::Contexto ctx(painel);
    QVERIFY2(motor::LER_LeiauteDIG(ctx) && motor::fun_Criar_Tabela(ctx), qPrintable(g.gMsg));
    // Two rows with one key, which the balances' unique index refuses.
    const QString linha = QStringLiteral("INSERT INTO %1 (DataSaldoIni, Codconta) VALUES ('01012005', '1.1')")
                              .arg(motor::nomeTabela(motor::TabSaldosGeral));
    QVERIFY(g.gConn->executar(linha) && g.gConn->executar(linha));
    QVERIFY(!motor::criarIndicesAdiados(ctx));
    QVERIFY2(g.gMsg.startsWith(QStringLiteral("cod.erro ")) && g.gMsg.endsWith(QStringLiteral(" (func_validacao)")),
             qPrintable(g.gMsg));
}

void TstMotor::leitorDeLinhas_data()
{
    QTest::addColumn<int>("semente");
    QTest::addColumn<int>("maxLinha");
    for (int s = 1; s <= 6; ++s)
        QTest::newRow(qPrintable(QStringLiteral("semente %1").arg(s))) << s << (s % 2 ? 100 : 7);
    // Lines of 17: the first read (4096 + 102 bytes) ends between a CR and its LF.
    QTest::newRow("CR LF entre blocos") << 0 << 100;
}

void TstMotor::leitorDeLinhas()
{
    QFETCH(int, semente);
    QFETCH(int, maxLinha);
    // Lines of every length around the record length and the block size, with
    // lone CRs and LFs inside, CR LF split across blocks, a last line without CR LF.
    quint32 x = quint32(semente) * 2654435761u;
    auto aleatorio = [&x](quint32 n) {
        x = x * 1664525u + 1013904223u;
        return (x >> 8) % n;
    };
    QList<QByteArray> linhas;
    QByteArray bytes;
    while (bytes.size() < 40000) {
        QByteArray l;
        const quint32 n = semente == 0 ? 17
            : aleatorio(8) == 0       ? aleatorio(9000)
                                      : aleatorio(quint32(maxLinha) * 2 + 2);
        for (quint32 i = 0; i < n; ++i) {
            const quint32 k = semente == 0 ? 2 + i : aleatorio(40);
            const char c = k == 0 ? '\r' : k == 1 ? '\n' : char('a' + k % 26);
            if (!(c == '\n' && l.endsWith('\r')))   // CR LF would end the line
                l += c;
        }
        if (l.endsWith('\r'))
            l.chop(1);
        linhas << l;
        bytes += l + "\r\n";
    }
    linhas << QByteArray("fim sem quebra");
    bytes += linhas.last();

    Ambiente amb;
    const QString caminho = amb.escreverArquivo(QStringLiteral("linhas.txt"), bytes);
    QFile copia(amb.caminhoDados(QStringLiteral("copia.txt")));
    QVERIFY(copia.open(QIODevice::WriteOnly));
    motor::LeitorLinhas leitor(maxLinha, 4096);
    leitor.definirCopia(&copia);
    QString erro;
    QVERIFY(leitor.abrir(caminho, erro));
    motor::Registro r;
    int i = 0;
    while (leitor.proxima(r)) {
        QVERIFY(i < linhas.size());
        const QByteArray& esperada = linhas[i];
        QCOMPARE(r.tamanho, esperada.size());
        QCOMPARE(r.temCrLf, esperada.contains('\r') || esperada.contains('\n'));
        // An overlong line keeps at least its head.
        const QByteArray guardada(r.linha().data(), r.linha().size());
        QVERIFY(guardada.size() >= std::min<qsizetype>(esperada.size(), maxLinha + 1));
        QCOMPARE(guardada, esperada.left(guardada.size()));
        ++i;
    }
    QCOMPARE(i, linhas.size());
    copia.close();
    QVERIFY(copia.open(QIODevice::ReadOnly));
    QCOMPARE(copia.readAll(), bytes);
}

QTEST_MAIN(TstMotor)
#include "tst_motor.moc"
