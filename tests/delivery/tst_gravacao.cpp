// Recording of the delivery set: the precondition, the files written (names
// and bytes), the identifier file, what is left out, and the failures that
// must leave everything as it was.
#include "Ambiente.h"

#include "delivery/frmConfirmaGravacao.h"
#include "delivery/frmDestinoArquivo.h"
#include "delivery/motor/Acompanhamento.h"
#include "delivery/motor/Gravacao.h"
#include "import/motor/Arquivos.h"
#include "import/motor/Tabelas.h"
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

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2025, 1, 1);
const QDate Fim(2025, 12, 31);
const QString Nome = QStringLiteral("Comércio de Peças São João Ltda");

QByteArray lerArquivo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
}

void gravarArquivo(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray dadosDoTipo(int tipo, int registros)
{
    QByteArray r;
    for (int i = 1; i <= registros; ++i)
        r += "T" + QByteArray::number(tipo) + " registro " + QByteArray::number(i).rightJustified(4, '0') + "\r\n";
    return r;
}

QByteArray layDoTipo(int tipo)
{
    return "RECORD_LENGTH 19 SKIP 0\r\nCampo" + QByteArray::number(tipo)
           + "         ASCII       1  17   PICTURE \"DDMMYYYY\"\r\n";
}

// An imported file: its accepted copy and .lay in the data folder and its status row.
void importado(int tipo, int situacao, int registros)
{
    Geral& g = geral();
    const QString copia = motor::caminhoCopiaAceita(static_cast<qint16>(tipo));
    CONFERE(gravarArquivo(copia, dadosDoTipo(tipo, registros)));
    CONFERE(gravarArquivo(motor::caminhoLay(static_cast<qint16>(tipo)), layDoTipo(tipo)));
    QVERIFY(g.gConn->executar(
        QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, Situacao, "
                       "RegLidos, RegCorretos, RegErros, NomeArquivo, ArquivoGerado) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ' ')"),
        {g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal), tipo, situacao, registros, registros,
         copia}));
}

// A staging table holding the given money values (units of 1/10 000).
void valores(const QString& base, const QString& coluna, const QList<qint64>& unidades)
{
    const QString tabela = motor::nomeTabela(base);
    QVERIFY(geral().gConn->executar(QStringLiteral("CREATE TABLE %1 (%2 INTEGER)").arg(tabela, coluna)));
    for (qint64 u : unidades)
        QVERIFY(geral().gConn->executar(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(tabela, coluna), {u}));
}

QVariant situacao(int tipo)
{
    return geral().gConn->escalar(QStringLiteral("SELECT Situacao FROM tbImportados WHERE Tipo = ?"), {tipo});
}

QString arquivoGerado(int tipo)
{
    return geral().gConn->escalar(QStringLiteral("SELECT ArquivoGerado FROM tbImportados WHERE Tipo = ?"), {tipo})
        .toString();
}

QString versao()
{
    return QStringLiteral("%1.%2%3")
        .arg(TOBRI_VERSAO_MAIOR, 2, 10, QLatin1Char('0'))
        .arg(TOBRI_VERSAO_MENOR)
        .arg(TOBRI_VERSAO_REVISAO);
}

QStringList arquivosEm(const QString& pasta)
{
    return QDir(pasta).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
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
    void cadeiaDeJanelas();
    void nomeIlegivel();
    void bancoAusente();
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
        CONFERE(importado(par.section(u':', 0, 0).toInt(), par.section(u':', 1, 1).toInt(), 1));
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
    // the entries total 1234.56 + 0.44, the balances' debits 10.00 + 0.01.
    QTest::newRow("instrução 86") << 86 << "1:0 3:0 6:0 8:100" << QStringList{"PLCOG", "CENTD", "LANCG", "SALMG"}
                                  << QByteArray("0186PLCOG0000000100000000000000000000\r\n"
                                                "0186CENCD0000000300000000000000000000\r\n"
                                                "0186LANCG0000000600000000000000123500\r\n"
                                                "0186SALMG0000000800000000000000001001\r\n");
    // 68: every type; the auxiliary entries' staging row holds their total,
    // the auxiliary balances table is empty (zeros, not the previous total).
    QTest::newRow("instrução 68") << 68 << "1:0 2:0 3:0 4:0 5:0 6:0 7:0 8:0 9:0"
                                  << QStringList{"PLCOG", "PLCOA", "CENTC", "CENTD", "HISTP", "LANCG", "LANCA",
                                                 "SALMG", "SALMA"}
                                  << QByteArray("0168PLCOG0000000100000000000000000000\r\n"
                                                "0168PLCOA0000000200000000000000000000\r\n"
                                                "0168CENTC0000000300000000000000000000\r\n"
                                                "0168CENTD0000000400000000000000000000\r\n"
                                                "0168HISTP0000000500000000000000000000\r\n"
                                                "0168LANCG0000000600000000000000123500\r\n"
                                                "0168LANCA0000000700000000000000000700\r\n"
                                                "0168SALMG0000000800000000000000001001\r\n"
                                                "0168SALMA0000000900000000000000000000\r\n");
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
        CONFERE(importado(tipo, par.section(u':', 1, 1).toInt(), tipo));  // type t has t records
    }
    CONFERE(valores(motor::TabLancGeral, QStringLiteral("Valor"), {12345600, 4400}));
    CONFERE(valores(motor::TabSaldosGeral, QStringLiteral("ValorDebitos"), {100000, 100}));
    CONFERE(valores(motor::TabLancAux, QStringLiteral("Valor"), {70000}));
    CONFERE(valores(motor::TabSaldosAux, QStringLiteral("ValorDebitos"), {}));
    const QString destino = amb.caminhoDados(QStringLiteral("Entrega ORV"));
    QVERIFY(QDir().mkpath(destino));
    // An earlier recording in the folder is overwritten without asking.
    const QString prefixo = QStringLiteral("11222333000181-TOBRI-") + QString::number(in);
    const QString identificador = prefixo + QStringLiteral("-00-2025010120251231.txt");
    CONFERE(gravarArquivo(caminhoEm(destino, identificador), "antigo"));
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
        QCOMPARE(lerArquivo(base + QStringLiteral(".txt")), dadosDoTipo(tipo, tipo));
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
    CONFERE(importado(1, 0, 2));
    CONFERE(importado(2, 0, 2));
    CONFERE(importado(6, 0, 3));
    CONFERE(importado(7, 777, 4));
    CONFERE(importado(8, 0, 5));
    CONFERE(gravarArquivo(motor::caminhoCopiaAceita(9), dadosDoTipo(9, 3)));
    CONFERE(gravarArquivo(motor::caminhoLay(9), layDoTipo(9)));
    CONFERE(valores(motor::TabLancGeral, QStringLiteral("Valor"), {}));
    CONFERE(valores(motor::TabSaldosGeral, QStringLiteral("ValorDebitos"), {}));
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    QVERIFY(QDir().mkpath(destino));
    geral().gDestino = QStringLiteral("  ") + destino + QStringLiteral("  ");

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

// A failure leaves the statuses, the earlier files of the folder and the
// folder's other names as they were, with a message saying nothing was done.
void TstGravacao::falhaNaoMarcaNada_data()
{
    QTest::addColumn<QString>("causa");
    QTest::addColumn<QString>("mensagem");
    const QString falhaEscrita = QStringLiteral("Mídia não acessível.\r\nGravação não efetuada.");
    QTest::newRow("arquivo de dados não pode ser criado") << "bloqueio" << falhaEscrita;
    QTest::newRow("pasta inexistente") << "inexistente" << falhaEscrita;
    QTest::newRow("espaço para um byte a menos") << "espaco" << QStringLiteral(
        "O dispositivo não possui espaço suficiente.\r\nGravação não efetuada.");
    QTest::newRow("cópia aceita removida") << "copia" << QString();
    // The identifier is put in place last: the files already renamed go back.
    QTest::newRow("identificador não pode ser colocado") << "identificador" << QString();
}

void TstGravacao::falhaNaoMarcaNada()
{
    QFETCH(QString, causa);
    QFETCH(QString, mensagem);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    CONFERE(importado(1, 0, 2));
    CONFERE(importado(6, 0, 3));
    CONFERE(importado(8, 100, 4));
    CONFERE(valores(motor::TabLancGeral, QStringLiteral("Valor"), {}));
    CONFERE(valores(motor::TabSaldosGeral, QStringLiteral("ValorDebitos"), {}));
    const QString destino = amb.caminhoDados(QStringLiteral("destino"));
    QVERIFY(QDir().mkpath(destino));
    const QString prefixo = QStringLiteral("11222333000181-TOBRI-86-");
    const QString antigo = caminhoEm(destino, prefixo + QStringLiteral("LANCG-2025010120251231.txt"));
    CONFERE(gravarArquivo(antigo, "gravação anterior"));
    geral().gDestino = destino;
    // The whole set: three .fmt, three data files and the identifier.
    const qint64 total = 3 * layDoTipo(1).size() + dadosDoTipo(1, 2).size() + dadosDoTipo(6, 3).size()
        + dadosDoTipo(8, 4).size() + entrega::textoIdentificador(Nome, {{}, {}, {}}).size();
    if (causa == QLatin1String("bloqueio")) {
        // The balances' data file comes after the other .fmt and .txt files.
        QVERIFY(QDir(destino).mkdir(prefixo + QStringLiteral("SALMG-2025010120251231.txt.gravando")));
    } else if (causa == QLatin1String("inexistente")) {
        geral().gDestino = caminhoEm(destino, QStringLiteral("não existe"));
    } else if (causa == QLatin1String("espaco")) {
        definirMedidorEspaco([total](const QString&) { return total - 1; });
    } else if (causa == QLatin1String("identificador")) {
        const QString pasta = caminhoEm(destino, prefixo + QStringLiteral("00-2025010120251231.txt"));
        QVERIFY(QDir(pasta).mkpath(QStringLiteral("ocupado")));
    } else {
        QVERIFY(QFile::remove(motor::caminhoCopiaAceita(8)));
    }
    const QStringList antes = arquivosEm(destino);

    QVERIFY(!entrega::gravarConjunto(Nome));
    definirMedidorEspaco(nullptr);

    if (mensagem.isEmpty())
        QVERIFY2(geral().gMsg.endsWith(QStringLiteral("Gravação não efetuada.")), qPrintable(geral().gMsg));
    else
        QCOMPARE(geral().gMsg, mensagem);
    QCOMPARE(situacao(1).toInt(), 0);
    QCOMPARE(situacao(6).toInt(), 0);
    QCOMPARE(situacao(8).toInt(), 100);
    QCOMPARE(arquivoGerado(1), QStringLiteral(" "));
    QCOMPARE(arquivosEm(destino), antes);
    QCOMPARE(lerArquivo(antigo), QByteArray("gravação anterior"));

    // With the cause gone, the exact free space is enough and the set is recorded.
    if (causa == QLatin1String("espaco")) {
        definirMedidorEspaco([total](const QString&) { return total; });
        QVERIFY2(entrega::gravarConjunto(Nome), qPrintable(geral().gMsg));
        definirMedidorEspaco(nullptr);
        QCOMPARE(situacao(1).toInt(), 100);
        QCOMPARE(lerArquivo(antigo), dadosDoTipo(6, 3));
    }
}

// Picker → destination → confirmation, as the user goes through them.
void TstGravacao::cadeiaDeJanelas()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    CONFERE(importado(1, 0, 2));
    CONFERE(importado(6, 90, 3));
    CONFERE(importado(8, 0, 4));
    CONFERE(valores(motor::TabLancGeral, QStringLiteral("Valor"), {}));
    CONFERE(valores(motor::TabSaldosGeral, QStringLiteral("ValorDebitos"), {}));
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

// The company name cannot be read from the register: the error is shown and
// Gravar stays disabled, so no identifier goes out with a blank name.
void TstGravacao::nomeIlegivel()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim, Nome));
    QVERIFY(QFile::remove(caminhoRegistro()));
    auto* c = qobject_cast<frmConfirmaGravacao*>(Formularios::carregar(QStringLiteral("frmConfirmaGravacao")));
    QVERIFY(c);
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QVERIFY2(amb.dialogos.ultimo().endsWith(QStringLiteral("(fun_Empresarial)")), qPrintable(amb.dialogos.ultimo()));
    QVERIFY(!c->cmdGravar->isEnabled());
    QVERIFY(c->lblNomeEmpresarial->text().isEmpty());
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

QTEST_MAIN(TstGravacao)
#include "tst_gravacao.moc"
