// Recording of the delivery set: the precondition, the files written (names
// and bytes), the identifier file, what is left out, and the failures that
// must leave everything as it was.
#include "Ambiente.h"
#include "Conferir.h"
#include "FixtureEntrega.h"
#include "OutraConexao.h"
#include "OutraConexao.h"

#include "delivery/frmConfirmaGravacao.h"
#include "delivery/frmDestinoArquivo.h"
#include "delivery/motor/Acompanhamento.h"
#include "delivery/motor/Gravacao.h"
#include "import/motor/Arquivos.h"
#include "import/motor/Tabelas.h"
#include "platform/ArquivoDuravel.h"
#include "platform/Formularios.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/Servicos.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <optional>

using namespace fixture;

namespace {

// The types 1, 6 and 8 of five records each recorded into `destino`, then
// validated again (status 0), as before a second recording.
void gravadaEValidadaDeNovo(const QString& destino)
{
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    for (int t : {1, 6, 8})
        QVERIFY(importado(t, 0, centavos(5)));
    QVERIFY(QDir().mkpath(destino));
    geral().gDestino = destino;
    QVERIFY2(entrega::gravarEntrega(), qPrintable(geral().gMsg));
    QVERIFY(geral().gConn->executar(QStringLiteral("UPDATE tbImportados SET Situacao = 0, ArquivoGerado = ' '")));
}

} // namespace

class TstGravacao : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void precondicao_data();
    void precondicao();
    void conjuntoGravado_data();
    void conjuntoGravado();
    void copiaAntigaNaoEntregue();
    void falhaNaoMarcaNada_data();
    void falhaNaoMarcaNada();
    void copiaAlteradaRecusada_data();
    void copiaAlteradaRecusada();
    void semDigestoRecusado_data();
    void semDigestoRecusado();
    void pastaDeDadosMovida();
    void segundaGravacaoComMenosTipos();
    void bancoDanificado();
    void commitRecusado();
    void totalArredondadoAoCentavo_data();
    void totalArredondadoAoCentavo();
    void cadeiaDeJanelas();
    void destinoComBrancoNoFim_data();
    void destinoComBrancoNoFim();
    void nomeIlegivel_data();
    void nomeIlegivel();
    void bancoAusente();
    void bancoEmUso();
};

// Statuses as "type:status" pairs; the message expected for recording and
// for the tracking report (which accepts only 100).
void TstGravacao::precondicao_data()
{
    QTest::addColumn<QString>("situacoes");
    QTest::addColumn<QString>("gravacao");
    QTest::addColumn<QString>("acompanhamento");
    const QString geral = entrega::MsgPrecondicaoGeral;
    const QString aux = entrega::MsgPrecondicaoAuxiliar;
    const QString acomp = QStringLiteral("Imprimir Relatório de Acompanhamento após gravação dos arquivos.");
    QTest::newRow("nada importado") << "" << geral << acomp;
    QTest::newRow("geral validado, sem plano auxiliar") << "1:0 6:0 8:0 7:777 9:90" << "" << acomp;
    QTest::newRow("plano auxiliar importado sem validar") << "1:0 2:90 6:0 8:0" << "" << acomp;
    QTest::newRow("plano auxiliar validado, saldos auxiliares ausentes") << "1:0 2:0 6:0 7:0 8:0" << aux << acomp;
    QTest::newRow("saldos geral e auxiliar sem validar: vale o tipo 9")
        << "1:0 2:0 6:0 7:0 8:90 9:90" << aux << acomp;
    QTest::newRow("lançamentos auxiliares e saldos gerais sem validar: vale o tipo 8")
        << "1:0 2:0 6:0 7:90 8:90 9:0" << geral << acomp;
    QTest::newRow("achado da validação bloqueia") << "1:0 6:53 8:0" << geral << acomp;
    QTest::newRow("achado nos saldos auxiliares") << "1:0 2:0 6:0 7:0 8:0 9:55" << aux << acomp;
    QTest::newRow("gravado antes") << "1:100 2:100 6:100 7:100 8:100 9:100" << "" << "";
    QTest::newRow("gravado, auxiliar não") << "1:100 2:90 6:100 8:100" << "" << "";
    QTest::newRow("gravado em parte") << "1:100 6:0 8:100" << "" << acomp;
}

void TstGravacao::precondicao()
{
    QFETCH(QString, situacoes);
    QFETCH(QString, gravacao);
    QFETCH(QString, acompanhamento);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    for (const QString& par : situacoes.split(u' ', Qt::SkipEmptyParts))
        QVERIFY(importado(par.section(u':', 0, 0).toInt(), par.section(u':', 1, 1).toInt(), centavos(1)));
    // A row of another declaration in the same table does not count.
    QVERIFY(geral().gConn->executar(
        QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao) "
                       "VALUES (68, ?, ?, ?, 8, 0)"),
        {Cnpj, dataIso(Inicio), dataIso(Fim)}));

    QString mensagem = QStringLiteral("x");
    QVERIFY(entrega::Verifica_Importados(mensagem));
    QCOMPARE(mensagem, gravacao);
    mensagem = QStringLiteral("x");
    QVERIFY(entrega::Verifica_ImportadosAcompanhamento(mensagem));
    QCOMPARE(mensagem, acompanhamento);
}

// Each case: instruction, statuses, the staging values, and the expected
// abbreviations in the file names and identifier records.
void TstGravacao::conjuntoGravado_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<QString>("situacoes");
    QTest::addColumn<QStringList>("abreviacoes");
    QTest::addColumn<QByteArray>("registros01");

    // 86: type 3 takes the name of row 4 (CENTD) and the identifier CENCD;
    // type t has t records of 1 to t cents: the entries total 0,21, the
    // balances' debits 0,36.
    QTest::newRow("instrução 86") << 86 << "1:0 3:0 6:0 8:100" << QStringList{"PLCOG", "CENTD", "LANCG", "SALMG"}
                                  << QByteArray("0186PLCOG0000000100000000000000000000\r\n"
                                                "0186CENCD0000000300000000000000000000\r\n"
                                                "0186LANCG0000000600000000000000000021\r\n"
                                                "0186SALMG0000000800000000000000000036\r\n");
    // 68: every type; the auxiliary entries' staging row holds their total.
    QTest::newRow("instrução 68") << 68 << "1:0 2:0 3:0 4:0 5:0 6:0 7:0 8:0 9:0"
                                  << QStringList{"PLCOG", "PLCOA", "CENTC", "CENTD", "HISTP", "LANCG", "LANCA",
                                                 "SALMG", "SALMA"}
                                  << QByteArray("0168PLCOG0000000100000000000000000000\r\n"
                                                "0168PLCOA0000000200000000000000000000\r\n"
                                                "0168CENTC0000000300000000000000000000\r\n"
                                                "0168CENTD0000000400000000000000000000\r\n"
                                                "0168HISTP0000000500000000000000000000\r\n"
                                                "0168LANCG0000000600000000000000000021\r\n"
                                                "0168LANCA0000000700000000000000000028\r\n"
                                                "0168SALMG0000000800000000000000000036\r\n"
                                                "0168SALMA0000000900000000000000000045\r\n");
}

void TstGravacao::conjuntoGravado()
{
    QFETCH(int, in);
    QFETCH(QString, situacoes);
    QFETCH(QStringList, abreviacoes);
    QFETCH(QByteArray, registros01);
    Ambiente amb;
    QVERIFY(criarDeclaracao(static_cast<qint16>(in), Cnpj, Inicio, Fim, Nome));
    QList<int> tipos;
    for (const QString& par : situacoes.split(u' ', Qt::SkipEmptyParts)) {
        const int tipo = par.section(u':', 0, 0).toInt();
        tipos << tipo;
        QVERIFY(importado(tipo, par.section(u':', 1, 1).toInt(), centavos(tipo)));  // type t has t records
    }
    const QString destino = amb.caminhoDados(QStringLiteral("Entrega ORV"));
    QVERIFY(QDir().mkpath(destino));
    // An earlier recording in the folder is overwritten without asking.
    const QString prefixo = QStringLiteral("11222333000181-TOBRI-") + QString::number(in);
    const QString identificador = prefixo + QStringLiteral("-00-2025010120251231.txt");
    QVERIFY(gravarArquivo(caminhoEm(destino, identificador), "antigo"));
    geral().gDestino = destino + QStringLiteral("/");

    QStringList gravados;
    QVERIFY2(entrega::gravarConjunto(Nome, &gravados), qPrintable(geral().gMsg));

    QStringList esperados;
    for (const QString& a : abreviacoes)
        esperados << prefixo + u'-' + a + QStringLiteral("-2025010120251231.fmt");
    for (const QString& a : abreviacoes)
        esperados << prefixo + u'-' + a + QStringLiteral("-2025010120251231.txt");
    esperados << identificador;
    QCOMPARE(gravados, esperados);
    QStringList naPasta = esperados;
    naPasta.sort();
    QCOMPARE(arquivosEm(destino), naPasta);

    for (qsizetype i = 0; i < tipos.size(); ++i) {
        const int tipo = tipos.at(i);
        const QString base = caminhoEm(destino, prefixo + u'-' + abreviacoes.at(i) + QStringLiteral("-2025010120251231"));
        QCOMPARE(lerArquivo(base + QStringLiteral(".fmt")), layDoTipo(tipo));
        QCOMPARE(lerArquivo(base + QStringLiteral(".txt")), dadosDoTipo(tipo, centavos(tipo)));
        QCOMPARE(situacao(tipo).toInt(), 100);
        QCOMPARE(arquivoGerado(tipo), base + QStringLiteral(".txt"));
    }

    QByteArray nome = QByteArray("Com\xe9rcio de Pe\xe7" "as S\xe3o Jo\xe3o Ltda");
    QByteArray esperado = "0011222333000181" + nome.leftJustified(60, ' ') + "0101202531122025\r\n";
    esperado += registros01;
    esperado += "99" + QByteArray::number(tipos.size() + 2).rightJustified(8, '0') + versao().toLatin1() + "\r\n";
    QCOMPARE(lerArquivo(caminhoEm(destino, identificador)), esperado);
}

// A type re-imported with errors keeps its earlier clean copy in the data
// folder; it is neither delivered nor listed. Nor is a copy whose row is gone.
void TstGravacao::copiaAntigaNaoEntregue()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, QString(70, u'N')));
    QVERIFY(importado(1, 0, centavos(2)));
    QVERIFY(importado(2, 0, centavos(2)));
    QVERIFY(importado(6, 0, centavos(3)));
    QVERIFY(importado(7, 777, centavos(4)));
    QVERIFY(importado(8, 0, centavos(5)));
    QVERIFY(gravarArquivo(motor::caminhoCopiaAceita(9), dadosDoTipo(9, centavos(3))));
    QVERIFY(gravarArquivo(motor::caminhoLay(9), layDoTipo(9)));
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    QVERIFY(QDir().mkpath(destino));
    geral().gDestino = destino;

    QVERIFY2(entrega::gravarConjunto(QString(70, u'N')), qPrintable(geral().gMsg));

    const QStringList naPasta = arquivosEm(destino);
    QCOMPARE(naPasta.size(), 4 * 2 + 1);
    for (const QString& n : naPasta)
        QVERIFY2(!n.contains(QLatin1String("LANCA")) && !n.contains(QLatin1String("SALMA")), qPrintable(n));
    QCOMPARE(situacao(7).toInt(), 777);
    const QByteArray id = lerArquivo(caminhoEm(destino, QStringLiteral("11222333000181-TOBRI-86-00-2025010120251231.txt")));
    const QList<QByteArray> linhas = id.split('\n');
    QCOMPARE(linhas.size(), 7);  // six lines and the empty rest after the last CR LF
    QCOMPARE(linhas.at(0).size(), 93);  // 92 and the CR: the name cut at 60
    QCOMPARE(linhas.at(0).mid(16, 60), QByteArray(60, 'N'));
    QCOMPARE(linhas.at(1).left(9), QByteArray("0186PLCOG"));
    QCOMPARE(linhas.at(2).left(9), QByteArray("0186PLCOA"));
    QCOMPARE(linhas.at(3).left(9), QByteArray("0186LANCG"));
    QCOMPARE(linhas.at(4).left(9), QByteArray("0186SALMG"));
    QVERIFY(linhas.at(5).startsWith("9900000006"));
}

// The free-space hook, set for one scope.
struct Medidor {
    explicit Medidor(MedidorEspaco m) { definirMedidorEspaco(std::move(m)); }
    ~Medidor() { definirMedidorEspaco(nullptr); }
    Medidor(const Medidor&) = delete;
    Medidor& operator=(const Medidor&) = delete;
};

// A failure leaves the statuses, the earlier files of the folder and the
// folder's other names as they were, with a message saying nothing was done.
void TstGravacao::falhaNaoMarcaNada_data()
{
    QTest::addColumn<QString>("causa");
    QTest::addColumn<QString>("mensagem");
    const QString midia = QStringLiteral("Mídia não acessível.\r\nGravação não efetuada.");
    // A folder in the way of a temporary name: the message names it.
    QTest::newRow("arquivo de dados não pode ser criado") << "bloqueio" << QStringLiteral(
        "O arquivo temporário 11222333000181-TOBRI-86-SALMG-2025010120251231.txt.gravando não pôde ser criado na "
        "pasta %1 (%2). Há na pasta um item com esse nome: remova-o ou renomeie-o e grave novamente.\r\n"
        "Gravação não efetuada.");
    QTest::newRow("pasta inexistente") << "inexistente" << midia;
    QTest::newRow("pasta removida antes do teste de espaço") << "removida" << midia;
    QTest::newRow("espaço para um byte a menos") << "espaco" << QStringLiteral(
        "O dispositivo não possui espaço suficiente.\r\nGravação não efetuada.");
    QTest::newRow("cópia aceita removida") << "copia" << QString();
    // The identifier is put in place last: the files already renamed go back.
    QTest::newRow("identificador não pode ser colocado") << "identificador"
        << QStringLiteral("Erros ocorridos durante a gravação no dispositivo %1 - Gravação não efetuada.");
    QTest::newRow("arquivo de dados não pode ser colocado") << "colocar"
        << QStringLiteral("Erros ocorridos durante a gravação no dispositivo %1 - Gravação não efetuada.");
}

void TstGravacao::falhaNaoMarcaNada()
{
    QFETCH(QString, causa);
    QFETCH(QString, mensagem);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    QVERIFY(importado(1, 0, centavos(2)));
    QVERIFY(importado(6, 0, centavos(3)));
    QVERIFY(importado(8, 100, centavos(4)));
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    QVERIFY(QDir().mkpath(destino));
    const QString prefixo = QStringLiteral("11222333000181-TOBRI-86-");
    const QString antigo = caminhoEm(destino, prefixo + QStringLiteral("LANCG-2025010120251231.txt"));
    const QString identificador = caminhoEm(destino, prefixo + QStringLiteral("00-2025010120251231.txt"));
    QVERIFY(gravarArquivo(antigo, "gravação anterior"));
    geral().gDestino = destino;
    // The whole set: three .fmt, three data files and the identifier.
    const qint64 total = 3 * layDoTipo(1).size() + dadosDoTipo(1, centavos(2)).size()
        + dadosDoTipo(6, centavos(3)).size() + dadosDoTipo(8, centavos(4)).size()
        + entrega::textoIdentificador(Nome, {{}, {}, {}}).size();
    std::optional<Medidor> medidor;
    std::optional<duravel::Observando> observador;
    // A folder that takes a final name just before the file is renamed to it.
    QString ocupado;
    if (causa == QLatin1String("identificador"))
        ocupado = identificador;
    else if (causa == QLatin1String("colocar"))
        ocupado = caminhoEm(destino, prefixo + QStringLiteral("SALMG-2025010120251231.txt"));
    if (causa == QLatin1String("bloqueio")) {
        // The balances' data file comes after the other .fmt and .txt files.
        QVERIFY(QDir(destino).mkdir(prefixo + QStringLiteral("SALMG-2025010120251231.txt.gravando")));
        mensagem = mensagem.arg(destino, duravel::textoErrno(EEXIST));
    } else if (causa == QLatin1String("inexistente")) {
        geral().gDestino = caminhoEm(destino, QStringLiteral("não existe"));
    } else if (causa == QLatin1String("removida")) {
        medidor.emplace([destino](const QString&) {
            QDir(destino).removeRecursively();
            return 0;
        });
    } else if (causa == QLatin1String("espaco")) {
        medidor.emplace([total](const QString&) { return total - 1; });
    } else if (!ocupado.isEmpty()) {
        observador.emplace([ocupado](const duravel::Passo& p) {
            if (p.tipo == QLatin1String("renomear") && p.destino == ocupado)
                QDir(ocupado).mkpath(QStringLiteral("ocupado"));
            return 0;
        });
        mensagem = mensagem.arg(destino.toUpper());
    } else {
        QVERIFY(QFile::remove(motor::caminhoCopiaAceita(8)));
    }
    const QStringList antes = arquivosEm(destino);

    QVERIFY(!entrega::gravarConjunto(Nome));
    medidor.reset();
    observador.reset();

    if (mensagem.isEmpty())
        QVERIFY2(geral().gMsg.endsWith(QStringLiteral("Gravação não efetuada.")), qPrintable(geral().gMsg));
    else
        QCOMPARE(geral().gMsg, mensagem);
    QCOMPARE(situacao(1).toInt(), 0);
    QCOMPARE(situacao(6).toInt(), 0);
    QCOMPARE(situacao(8).toInt(), 100);
    QCOMPARE(arquivoGerado(1), QStringLiteral(" "));
    if (causa == QLatin1String("removida"))
        return;
    if (!ocupado.isEmpty())
        QVERIFY(QDir(ocupado).removeRecursively());
    QCOMPARE(arquivosEm(destino), antes);
    QCOMPARE(lerArquivo(antigo), QByteArray("gravação anterior"));

    // With the cause gone, the exact free space is enough and the set is recorded.
    if (causa == QLatin1String("espaco")) {
        Medidor exato([total](const QString&) { return total; });
        QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(geral().gMsg));
        QCOMPARE(situacao(1).toInt(), 100);
        QCOMPARE(lerArquivo(antigo), dadosDoTipo(6, centavos(3)));
    }
}

// After a clean validation the accepted copy is changed: the recording
// proves each data file from the bytes it writes and refuses, leaving the
// earlier recording and the statuses as they were.
void TstGravacao::copiaAlteradaRecusada_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("dano");
    QTest::addColumn<QString>("detalhe");
    QTest::newRow("dois registros a menos nos lançamentos") << 6 << "menos2" << "tem 3 registros e a importação leu 5";
    QTest::newRow("1.000 bytes acrescentados aos lançamentos")
        << 6 << "mais1000" << "a linha 6 não tem 37 bytes terminados em CR LF";
    QTest::newRow("um dígito de um débito dos saldos")
        << 8 << "digito" << "a soma de ValorDebitos é 0,22 e o total validado é 0,15";
    QTest::newRow("última linha cortada") << 6 << "cortada" << "a linha 5 não tem 37 bytes terminados em CR LF";
    QTest::newRow("CR LF dentro de um registro") << 6 << "quebra" << "a linha 2 não tem 37 bytes terminados em CR LF";
    QTest::newRow("valor com uma letra") << 8 << "letra" << "a linha 3 não tem um valor numérico";
    QTest::newRow("um registro a mais, de valor zero") << 6 << "zero" << "tem 6 registros e a importação leu 5";
    QTest::newRow("plano com um registro a menos") << 1 << "menos1" << "tem 4 registros e a importação leu 5";
    QTest::newRow("leiaute sem o campo do total") << 8 << "leiaute" << "o leiaute não tem o campo ValorDebitos";
}

void TstGravacao::copiaAlteradaRecusada()
{
    QFETCH(int, tipo);
    QFETCH(QString, dano);
    QFETCH(QString, detalhe);
    Ambiente amb;
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    CONFERE(gravadaEValidadaDeNovo(destino));
    const QMap<QString, QByteArray> anterior = conteudo(destino);
    QCOMPARE(anterior.size(), 7);

    const QString copia = motor::caminhoCopiaAceita(static_cast<qint16>(tipo));
    QByteArray bytes = lerArquivo(copia);
    const qsizetype valor2 = TamanhoRegistro + PosicaoValor - 1;  // value of the second record
    if (dano == QLatin1String("menos2"))
        bytes.chop(2 * TamanhoRegistro);
    else if (dano == QLatin1String("menos1"))
        bytes.chop(TamanhoRegistro);
    else if (dano == QLatin1String("mais1000"))
        bytes += QByteArray(1000, 'x');
    else if (dano == QLatin1String("digito"))
        bytes[valor2 + 16] = '9';
    else if (dano == QLatin1String("cortada"))
        bytes.chop(3);
    else if (dano == QLatin1String("quebra"))
        bytes.replace(TamanhoRegistro + 12, 2, "\r\n");
    else if (dano == QLatin1String("letra"))
        bytes[2 * TamanhoRegistro + PosicaoValor + 3] = 'O';
    else if (dano == QLatin1String("zero"))
        bytes += registro(tipo, 6, 0);
    if (dano == QLatin1String("leiaute"))
        QVERIFY(gravarArquivo(motor::caminhoLay(static_cast<qint16>(tipo)), layDoTipo(1)));
    else
        QVERIFY(gravarArquivo(copia, bytes));

    QVERIFY(!entrega::gravarEntrega());

    const QString esperado = QStringLiteral("O arquivo %1 não é o que foi validado: %2. Importe e valide o arquivo "
                                            "novamente.\r\nGravação não efetuada.")
                                 .arg(QFileInfo(copia).fileName(), detalhe);
    QCOMPARE(geral().gMsg, esperado);
    QCOMPARE(conteudo(destino), anterior);
    for (int t : {1, 6, 8}) {
        QCOMPARE(situacao(t).toInt(), 0);
        QCOMPARE(arquivoGerado(t), QStringLiteral(" "));
    }
}

// A status row without the digests of its copy or .lay (imported by an
// earlier version) cannot be proven: refused before anything is written.
void TstGravacao::semDigestoRecusado_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("coluna");
    QTest::newRow("cópia dos lançamentos") << 6 << "DigestoCopia";
    QTest::newRow("leiaute dos saldos") << 8 << "DigestoLay";
}

void TstGravacao::semDigestoRecusado()
{
    QFETCH(int, tipo);
    QFETCH(QString, coluna);
    Ambiente amb;
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    CONFERE(gravadaEValidadaDeNovo(destino));
    QVERIFY(geral().gConn->executar(QStringLiteral("UPDATE tbImportados SET %1 = NULL WHERE Tipo = ?").arg(coluna),
                                    {tipo}));
    const QMap<QString, QByteArray> anterior = conteudo(destino);

    QVERIFY(!entrega::gravarEntrega());

    QCOMPARE(geral().gMsg, QStringLiteral("O arquivo %1 foi importado por uma versão anterior e não pode ser "
                                          "conferido. Importe e valide o arquivo novamente.\r\nGravação não efetuada.")
                               .arg(QFileInfo(motor::caminhoCopiaAceita(static_cast<qint16>(tipo))).fileName()));
    QCOMPARE(conteudo(destino), anterior);
    for (int t : {1, 6, 8})
        QCOMPARE(situacao(t).toInt(), 0);
}

// The data folder was copied elsewhere while the old one still exists: the
// rows still name the old folder's (damaged) copies, yet the copies
// delivered are the data folder's, the ones the validation read.
void TstGravacao::pastaDeDadosMovida()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    const QString velha = amb.caminhoDados(QStringLiteral("pasta antiga"));
    QVERIFY(QDir().mkpath(velha));
    for (int t : {1, 6, 8}) {
        QVERIFY(importado(t, 0, centavos(4)));
        const QString copia = motor::caminhoCopiaAceita(static_cast<qint16>(t));
        const QString naVelha = caminhoEm(velha, QFileInfo(copia).fileName());
        QVERIFY(gravarArquivo(naVelha, dadosDoTipo(t, centavos(2))));
        QVERIFY(geral().gConn->executar(QStringLiteral("UPDATE tbImportados SET NomeArquivo = ? WHERE Tipo = ?"),
                                        {naVelha, t}));
    }
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    QVERIFY(QDir().mkpath(destino));
    geral().gDestino = destino;

    QVERIFY2(entrega::gravarEntrega(), qPrintable(geral().gMsg));

    const QString prefixo = caminhoEm(destino, QStringLiteral("11222333000181-TOBRI-86-"));
    QCOMPARE(lerArquivo(prefixo + QStringLiteral("LANCG-2025010120251231.txt")), dadosDoTipo(6, centavos(4)));
    QCOMPARE(lerArquivo(prefixo + QStringLiteral("SALMG-2025010120251231.txt")), dadosDoTipo(8, centavos(4)));
    QCOMPARE(lerArquivo(prefixo + QStringLiteral("PLCOG-2025010120251231.txt")), dadosDoTipo(1, centavos(4)));
    QVERIFY(geral().gConn->escalar(QStringLiteral("SELECT NomeArquivo FROM tbImportados WHERE Tipo = 6"))
                .toString()
                .startsWith(velha));
}

// Recorded with the auxiliary books, then again without them: the folder
// holds, of this declaration's names, exactly the new set; the files of other
// declarations and the user's own stay.
void TstGravacao::segundaGravacaoComMenosTipos()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    for (int t : {1, 2, 6, 7, 8, 9})
        QVERIFY(importado(t, 0, centavos(3)));
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    QVERIFY(QDir().mkpath(destino));
    geral().gDestino = destino;
    const QStringList outros{QStringLiteral("11222333000181-TOBRI-86-LANCA-2024010120241231.txt"),
                             QStringLiteral("11222333000181-TOBRI-68-LANCA-2025010120251231.txt"),
                             QStringLiteral("11222333000181-TOBRI-86-00-2024010120241231.txt"),
                             QStringLiteral("leia-me.txt")};
    for (const QString& n : outros)
        QVERIFY(gravarArquivo(caminhoEm(destino, n), n.toLatin1()));
    QVERIFY2(entrega::gravarEntrega(), qPrintable(geral().gMsg));
    QCOMPARE(arquivosEm(destino).size(), 6 * 2 + 1 + outros.size());

    for (int t : {2, 7, 9})
        QVERIFY(importado(t, 90, centavos(3)));
    QVERIFY(importado(6, 0, centavos(4, 100)));
    QStringList gravados;
    QVERIFY2(entrega::gravarEntrega(&gravados), qPrintable(geral().gMsg));

    QStringList esperados = gravados + outros;
    esperados.sort();
    QCOMPARE(arquivosEm(destino), esperados);
    QCOMPARE(gravados.size(), 3 * 2 + 1);
    for (const QString& n : outros)
        QCOMPARE(lerArquivo(caminhoEm(destino, n)), n.toLatin1());
    const QByteArray id = lerArquivo(caminhoEm(destino, QStringLiteral("11222333000181-TOBRI-86-00-2025010120251231.txt")));
    QCOMPARE(id.count("\r\n01"), 3);
    QVERIFY(id.contains("0186LANCG0000000400000000000000000410\r\n"));
}

// A damaged index of the declaration database: the damaged-database message
// and nothing recorded.
void TstGravacao::bancoDanificado()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    for (int t : {1, 6, 8})
        QVERIFY(importado(t, 0, centavos(3)));
    Geral& g = geral();
    QVERIFY(g.gConn->executar(QStringLiteral("CREATE TABLE Dano (x TEXT)")));
    QVERIFY(g.gConn->executar(QStringLiteral("CREATE INDEX Dano_x ON Dano (x)")));
    QVERIFY(g.gConn->executar(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500) "
                                             "INSERT INTO Dano (x) SELECT printf('%040d', i) FROM n")));
    const qint64 raiz = g.gConn->escalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'Dano_x'")).toLongLong();
    const qint64 pagina = g.gConn->escalar(QStringLiteral("PRAGMA page_size")).toLongLong();
    QVERIFY(raiz > 1 && pagina > 0);
    const QString banco = g.gConn->caminho();
    g.gConn->fechar();
    {
        QFile f(banco);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.seek((raiz - 1) * pagina));
        QCOMPARE(f.write(QByteArray(16, '\x7f')), qint64(16));
    }
    QVERIFY(g.gConn->abrir(banco));
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    QVERIFY(QDir().mkpath(destino));
    g.gDestino = destino;

    QVERIFY(!entrega::gravarEntrega());

    QCOMPARE(g.gMsg, entrega::MsgBancoCorrompido + QStringLiteral("\r\nGravação não efetuada."));
    QVERIFY(QDir(destino).isEmpty());
    QCOMPARE(situacao(6).toInt(), 0);
}

// Another program holds a read transaction on the database: the statuses'
// commit fails once the new set is in place. The failure is reported, the
// earlier set comes back and nothing is marked.
void TstGravacao::commitRecusado()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    for (int t : {1, 6, 8})
        QVERIFY(importado(t, 0, centavos(3)));
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    QVERIFY(QDir().mkpath(destino));
    Geral& g = geral();
    g.gDestino = destino;
    QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(g.gMsg));
    const QMap<QString, QByteArray> anterior = conteudo(destino);
    QVERIFY(importado(6, 0, centavos(5)));

    {
        const OutraConexao leitor(g.gConn->caminho(), OutraConexao::Trava::Leitura);
        QVERIFY(leitor.ativa());
        QVERIFY(!entrega::gravarConjunto(Nome));
    }

    QCOMPARE(g.gMsg, QStringLiteral("cod.erro 70\r\nmsg. Erro: database is locked (fun_GravaImportados)\r\n"
                                    "Gravação não efetuada."));
    QCOMPARE(conteudo(destino), anterior);
    QCOMPARE(situacao(6).toInt(), 0);
    QCOMPARE(arquivoGerado(6), QStringLiteral(" "));
}

// The identifier states each total in whole cents, rounded half away from
// zero from the exact sum, whatever decimals the value field has.
void TstGravacao::totalArredondadoAoCentavo_data()
{
    QTest::addColumn<int>("decimais");
    QTest::addColumn<QList<qint64>>("valores");
    QTest::addColumn<QByteArray>("total");
    QTest::newRow("3 casas, meio centavo") << 3 << QList<qint64>{1005} << QByteArray("101");
    QTest::newRow("3 casas, abaixo do meio") << 3 << QList<qint64>{1004} << QByteArray("100");
    // Rounding each record would give 0.
    QTest::newRow("3 casas, meio centavo somado") << 3 << QList<qint64>{1, 2, 2} << QByteArray("1");
    QTest::newRow("4 casas, meio centavo") << 4 << QList<qint64>{50} << QByteArray("1");
    QTest::newRow("4 casas, abaixo do meio") << 4 << QList<qint64>{49} << QByteArray("0");
    QTest::newRow("4 casas, grande") << 4 << QList<qint64>{123456789, 999999999999} << QByteArray("10001234568");
}

void TstGravacao::totalArredondadoAoCentavo()
{
    QFETCH(int, decimais);
    QFETCH(QList<qint64>, valores);
    QFETCH(QByteArray, total);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    QVERIFY(importado(1, 0, centavos(1)));
    QVERIFY(importado(6, 0, valores, decimais));
    QVERIFY(importado(8, 0, valores, decimais));
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    QVERIFY(QDir().mkpath(destino));
    geral().gDestino = destino;
    QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(geral().gMsg));
    const QByteArray id = lerArquivo(caminhoEm(destino, QStringLiteral("11222333000181-TOBRI-86-00-2025010120251231.txt")));
    const QByteArray contagem = QByteArray::number(valores.size()).rightJustified(8, '0');
    for (const QByteArray& tipo : {QByteArray("LANCG"), QByteArray("SALMG")}) {
        const QByteArray registro = "0186" + tipo + contagem + total.rightJustified(20, '0') + "\r\n";
        QVERIFY2(id.contains(registro), qPrintable(QString::fromLatin1(id)));
    }
}

// Picker → destination → confirmation, as the user goes through them.
void TstGravacao::cadeiaDeJanelas()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    QVERIFY(importado(1, 0, centavos(2)));
    QVERIFY(importado(6, 90, centavos(3)));
    QVERIFY(importado(8, 0, centavos(4)));
    const QString destino = amb.caminhoDados(QStringLiteral("saída"));
    QVERIFY(QDir(destino).mkpath(QStringLiteral("ORV")));
    QStringList mostradas;
    QString nomeNaConfirmacao;
    Formularios::definirGanchoModal([&](Formulario* f) {
        mostradas << f->objectName();
        if (auto* d = qobject_cast<frmDestinoArquivo*>(f)) {
            QCOMPARE(d->lblCNPJ->text(), QStringLiteral("CNPJ: ") + Cnpj);
            QCOMPARE(d->lblPeriodo->text(), QStringLiteral("Período: 01/01/2025 a 31/12/2025"));
            d->definirPasta(destino);
            // The highlighted subfolder is the one chosen.
            d->driDiretorio->setCurrentItem(d->driDiretorio->findItems(QStringLiteral("ORV"), Qt::MatchExactly).value(0));
            d->cmdOk->click();
        } else if (auto* c = qobject_cast<frmConfirmaGravacao*>(f)) {
            nomeNaConfirmacao = c->lblNomeEmpresarial->text();
            QCOMPARE(c->lblCNPJ->text(), Cnpj);
            QCOMPARE(c->lblTipo->text(), QStringLiteral("01/01/2025 a 31/12/2025"));
            c->cmdGravar->click();
        }
    });

    Formulario* w = Formularios::carregar(QStringLiteral("frmGravacao"));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Gravar Arquivo para Entrega à ORV"));
    auto* grade = w->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
    grade->setCurrentIndex(grade->model()->index(0, 0));
    auto* ok = w->findChild<QPushButton*>(QStringLiteral("cmdOk"));
    // The general entries are not validated: refused, the window stays.
    ok->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{entrega::MsgPrecondicaoGeral});
    QCOMPARE(amb.dialogos.mensagens.last().icone, dlg::Icone::Critico);
    QVERIFY(Formularios::carregado(w));
    QVERIFY(mostradas.isEmpty());

    QVERIFY(fun_GravaImportados(0, 6, QString()));
    amb.dialogos.limpar();
    ok->click();
    QCOMPARE(mostradas, (QStringList{QStringLiteral("frmDestinoArquivo"), QStringLiteral("frmConfirmaGravacao")}));
    QVERIFY(!Formularios::carregado(w));
    QCOMPARE(nomeNaConfirmacao, Nome);
    QCOMPARE(amb.dialogos.textos(), QStringList{entrega::MsgSucesso});
    const QString orv = QDir(destino).filePath(QStringLiteral("ORV"));
    QCOMPARE(geral().gDestino, orv);
    QCOMPARE(arquivosEm(orv).size(), 7);
    QCOMPARE(situacao(6).toInt(), 100);
    QVERIFY(Formularios::obter(QStringLiteral("frmConfirmaGravacao")) == nullptr);
}

// A folder whose name ends in a blank (Linux allows it) is chosen in the
// destination window: the set goes there, never to a sibling without it.
void TstGravacao::destinoComBrancoNoFim_data()
{
    QTest::addColumn<bool>("irma");   // a folder "ORV" beside "ORV "
    QTest::newRow("sozinha") << false;
    QTest::newRow("ao lado de ORV") << true;
}

void TstGravacao::destinoComBrancoNoFim()
{
    QFETCH(bool, irma);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    QVERIFY(importado(1, 0, centavos(2)));
    QVERIFY(importado(6, 0, centavos(3)));
    QVERIFY(importado(8, 0, centavos(4)));
    const QString destino = amb.caminhoDados(QStringLiteral("saída"));
    QVERIFY(QDir(destino).mkpath(QStringLiteral("ORV ")));
    if (irma)
        QVERIFY(QDir(destino).mkpath(QStringLiteral("ORV")));
    Formularios::definirGanchoModal([&](Formulario* f) {
        if (auto* d = qobject_cast<frmDestinoArquivo*>(f)) {
            d->definirPasta(destino);
            d->driDiretorio->setCurrentItem(d->driDiretorio->findItems(QStringLiteral("ORV "), Qt::MatchExactly).value(0));
            d->cmdOk->click();
        } else if (auto* c = qobject_cast<frmConfirmaGravacao*>(f)) {
            c->cmdGravar->click();
        }
    });
    Formularios::mostrarModal(Formularios::carregar(QStringLiteral("frmDestinoArquivo")));

    QCOMPARE(amb.dialogos.textos(), QStringList{entrega::MsgSucesso});
    const QString orv = QDir(destino).filePath(QStringLiteral("ORV "));
    QCOMPARE(geral().gDestino, orv);
    QCOMPARE(arquivosEm(orv).size(), 7);
    QCOMPARE(arquivosEm(QDir(destino).filePath(QStringLiteral("ORV"))), QStringList());
    QCOMPARE(arquivoGerado(6), caminhoEm(orv, QStringLiteral("11222333000181-TOBRI-86-LANCG-2025010120251231.txt")));
    QCOMPARE(situacao(6).toInt(), 100);
}

// The company name cannot be read from the register, or its row is gone:
// the message is shown and Gravar stays disabled, so no identifier goes out
// with a blank name; the engine refuses the same way.
void TstGravacao::nomeIlegivel_data()
{
    QTest::addColumn<bool>("semRegistro");
    QTest::newRow("registro ilegível") << true;
    QTest::newRow("linha da empresa ausente") << false;
}

void TstGravacao::nomeIlegivel()
{
    QFETCH(bool, semRegistro);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    for (int t : {1, 6, 8})
        QVERIFY(importado(t, 0, centavos(2)));
    if (semRegistro) {
        QVERIFY(QFile::remove(caminhoRegistro()));
    } else {
        db::Conexao registro;
        QVERIFY(registro.abrir(caminhoRegistro()));
        QVERIFY(registro.executar(QStringLiteral("DELETE FROM tbempresariosImportados")));
    }
    auto* c = qobject_cast<frmConfirmaGravacao*>(Formularios::carregar(QStringLiteral("frmConfirmaGravacao")));
    QVERIFY(c);
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    if (semRegistro) {
        QVERIFY2(amb.dialogos.ultimo().endsWith(QStringLiteral("(fun_Empresarial)")), qPrintable(amb.dialogos.ultimo()));
    } else {
        QCOMPARE(amb.dialogos.ultimo(), entrega::MsgSemEmpresa);
        QCOMPARE(amb.dialogos.mensagens.last().icone, dlg::Icone::Critico);
    }
    QVERIFY(!c->cmdGravar->isEnabled());
    QVERIFY(c->lblNomeEmpresarial->text().isEmpty());

    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    QVERIFY(QDir().mkpath(destino));
    geral().gDestino = destino;
    QVERIFY(!entrega::gravarEntrega());
    QVERIFY(QDir(destino).isEmpty());
    QCOMPARE(situacao(6).toInt(), 0);
}

// The chosen declaration's database is gone: the message without a full
// stop, the window stays, and the shared connection is back on the register.
void TstGravacao::bancoAusente()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    geral().gConn->fechar();
    QVERIFY(QFile::remove(caminhoBancoDeclaracao()));
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << f->objectName(); });
    Formulario* w = Formularios::carregar(QStringLiteral("frmGravacao"));
    auto* grade = w->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
    grade->setCurrentIndex(grade->model()->index(0, 0));
    w->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    QCOMPARE(amb.dialogos.textos(),
             QStringList{QStringLiteral("Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a "
                                        "opção Excluir do menu Arquivo e exclua o período com problemas e "
                                        "posteriormente crie na opção Novo o mesmo período")});
    QCOMPARE(amb.dialogos.mensagens.last().icone, dlg::Icone::Nenhum);
    QVERIFY(mostradas.isEmpty());
    QVERIFY(Formularios::carregado(w));
    QCOMPARE(geral().gConn->caminho(), caminhoRegistro());
}

// Another program holds the chosen declaration's database: its reason, and
// the recording's end of a refusal; nothing goes further.
void TstGravacao::bancoEmUso()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    for (int t : {1, 6, 8})
        QVERIFY(importado(t, 0, centavos(2)));
    geral().gConn->fechar();
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << f->objectName(); });
    Formulario* w = Formularios::carregar(QStringLiteral("frmGravacao"));
    auto* grade = w->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
    grade->setCurrentIndex(grade->model()->index(0, 0));
    {
        OutraConexao outra(caminhoBancoDeclaracao(), OutraConexao::Trava::Exclusiva);
        QVERIFY(outra.ativa());
        w->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    }
    QCOMPARE(amb.dialogos.textos(),
             QStringList{QStringLiteral("cod.erro 70\r\nmsg. Erro: Erro na abertura do banco de dados do Tobri.\r\n"
                                        "database is locked\r\nGravação não efetuada.")});
    QVERIFY(mostradas.isEmpty());
    QVERIFY(Formularios::carregado(w));
}

QTEST_MAIN(TstGravacao)
#include "tst_gravacao.moc"
