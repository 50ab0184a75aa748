#include "AbasTeste.h"
#include "Ambiente.h"
#include "Resultados.h"

#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "shell/MarcaValidacao.h"
#include "validation/ValidacaoGuardada.h"
#include "validation/frmVerificacaoPendencias.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 12, 31);

bool importado(int tipo, int situacao)
{
    const Geral& g = geral();
    return executar(QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, "
                                   "Situacao) VALUES (?,?,?,?,?,?)"),
                    {g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal), tipo, situacao});
}

bool resumo(int tipoArquivo, int tipoValidacao, int codigo, int lidos, int corretos, int comErro,
            const QVariant& faltantes = QVariant())
{
    return executar(QStringLiteral("INSERT INTO tbSituacaoValidacao (TipoArquivo, TipoValidacao, CodigoErro, RegLidos, "
                                   "RegCorretos, RegComErro, RegFaltantes) VALUES (?,?,?,?,?,?,?)"),
                    {tipoArquivo, tipoValidacao, codigo, lidos, corretos, comErro, faltantes});
}

bool totais(qint64 debitos, qint64 creditos)
{
    const Geral& g = geral();
    return executar(QStringLiteral("INSERT INTO tbLancamentosAcumulados (quebra, Tipo, CNPJ, periodoinicial, "
                                   "periodofinal, TotalCreditos, TotalDebitos, Diferenca) VALUES (0,1,?,?,?,?,?,?)"),
                    {g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal), creditos, debitos,
                     debitos - creditos});
}

// A validated declaration: findings on the general balances, the auxiliary
// balances clean, and a finding on the entries.
bool validada()
{
    return criarDeclaracao(86, Cnpj, Inicio, Fim) && importado(1, 0) && importado(6, 53) && importado(8, 55)
        && importado(9, 0) && resumo(6, 1, 53, 0, 0, 0) && resumo(8, 2, 55, 120, 100, 20)
        && resumo(8, 3, 54, 110, 90, 20, 3) && resumo(9, 2, 0, 60, 60, 0) && resumo(9, 3, 0, 55, 55, 0, 0)
        && totais(1234567890, 1234467890) && marcaValidacao::marcar(*geral().gConn);
}

// The seven counters at an index, in the order of the working state.
QList<qint32> contadores(int i)
{
    const Geral& g = geral();
    return {g.gRegLidosSaldoFinal[i],   g.gRegCorretosSaldoFinal[i],   g.gRegComErroSaldoFinal[i],
            g.gRegLidosSaldoInicial[i], g.gRegCorretosSaldoInicial[i], g.gRegComErroSaldoInicial[i],
            g.gRegFaltantesSaldoInicial[i]};
}

// Counters and totals left by an earlier run in the working state.
void sujarEstado()
{
    Geral& g = geral();
    for (int i = 0; i < 4; ++i) {
        for (auto* a : {&g.gRegLidosSaldoFinal, &g.gRegCorretosSaldoFinal, &g.gRegComErroSaldoFinal,
                        &g.gRegLidosSaldoInicial, &g.gRegCorretosSaldoInicial, &g.gRegComErroSaldoInicial,
                        &g.gRegFaltantesSaldoInicial})
            (*a)[i] = 99;
    }
    g.gTotalDebitos = Moeda::deUnidades(777);
    g.gTotalCreditos = Moeda::deUnidades(555);
    g.gDiferenca = Moeda::deUnidades(222);
}

QPushButton* botao(QWidget* w, const char* nome)
{
    return w->findChild<QPushButton*>(QString::fromLatin1(nome));
}

} // namespace

class TstValidacaoGuardada : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { Formularios::definirGanchoModal(nullptr); }
    void recarregaTotaisEContadores();
    void semLinhaDeTotaisZera();
    void naoValidada_data();
    void naoValidada();
    void bancoAnterior_data();
    void bancoAnterior();
    void comandoAbreNavegador();
    void comandoNaoValidado();
    void bancoAusente();
};

void TstValidacaoGuardada::recarregaTotaisEContadores()
{
    Ambiente amb;
    QVERIFY(validada());
    // Rows the reload skips (another type, other checks) or overwrites (a later row).
    QVERIFY(resumo(6, 4, 56, 7, 7, 7, 7));
    QVERIFY(resumo(7, 2, 0, 7, 7, 7, 7));
    QVERIFY(resumo(9, 2, 55, 61, 58, 3));
    sujarEstado();

    QCOMPARE(recarregaValidacao(), ValidacaoGuardada::Carregada);
    const Geral& g = geral();
    QCOMPARE(g.gTotalDebitos, Moeda::deUnidades(1234567890));
    QCOMPARE(g.gTotalCreditos, Moeda::deUnidades(1234467890));
    QCOMPARE(g.gDiferenca, Moeda::deUnidades(100000));
    QCOMPARE(contadores(1), QList<qint32>({120, 100, 20, 110, 90, 20, 3}));
    QCOMPARE(contadores(2), QList<qint32>({61, 58, 3, 55, 55, 0, 0}));
    // Indices 0 and 3 are not the journals': untouched.
    QCOMPARE(contadores(0), QList<qint32>(7, 99));
    QCOMPARE(contadores(3), QList<qint32>(7, 99));
}

void TstValidacaoGuardada::semLinhaDeTotaisZera()
{
    Ambiente amb;
    // A run without the auxiliary balances and without a totals row.
    QVERIFY(criarDeclaracao(68, Cnpj, Inicio, Fim));
    QVERIFY(importado(1, 0) && importado(6, 0) && importado(8, 0));
    QVERIFY(resumo(8, 2, 0, 12, 12, 0) && resumo(8, 3, 0, 11, 11, 0, 0));
    QVERIFY(marcaValidacao::marcar(*geral().gConn));
    sujarEstado();

    QCOMPARE(recarregaValidacao(), ValidacaoGuardada::Carregada);
    const Geral& g = geral();
    QCOMPARE(g.gTotalDebitos, Moeda());
    QCOMPARE(g.gTotalCreditos, Moeda());
    QCOMPARE(g.gDiferenca, Moeda());
    QCOMPARE(contadores(1), QList<qint32>({12, 12, 0, 11, 11, 0, 0}));
    QCOMPARE(contadores(2), QList<qint32>(7, 0));
}

void TstValidacaoGuardada::naoValidada_data()
{
    QTest::addColumn<bool>("comArquivos");
    QTest::addColumn<bool>("comResultados");   // summary rows of a run that did not complete
    QTest::newRow("no file imported") << false << false;
    QTest::newRow("imported, not validated") << true << false;
    QTest::newRow("run stopped after check 2") << true << true;
}

void TstValidacaoGuardada::naoValidada()
{
    QFETCH(bool, comArquivos);
    QFETCH(bool, comResultados);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    if (comArquivos)
        QVERIFY(importado(1, 90) && importado(6, 90) && importado(8, 90) && totais(100, 100));
    if (comResultados)
        QVERIFY(resumo(6, 1, 53, 0, 0, 0) && resumo(8, 2, 55, 120, 100, 20));
    sujarEstado();
    QCOMPARE(recarregaValidacao(), ValidacaoGuardada::NaoValidada);
    // The working state is left as it was.
    QCOMPARE(contadores(1), QList<qint32>(7, 99));
    QCOMPARE(geral().gTotalDebitos, Moeda::deUnidades(777));
}

// A declaration database made before the mark of a completed run: opening
// it adds the mark, set only when the statuses prove that the last run
// completed (100 survives a run stopped midway, so it proves nothing).
void TstValidacaoGuardada::bancoAnterior_data()
{
    QTest::addColumn<QList<int>>("situacoes");   // of types 1, 6, 8
    QTest::addColumn<QString>("resultados");     // "": none; "todos": a whole run's; "2": up to check 2
    QTest::addColumn<int>("esperado");
    const int carregada = int(ValidacaoGuardada::Carregada);
    const int naoValidada = int(ValidacaoGuardada::NaoValidada);
    QTest::newRow("concluída sem achados") << QList<int>{0, 0, 0} << "todos" << carregada;
    QTest::newRow("concluída com achados") << QList<int>{90, 53, 55} << "todos" << carregada;
    QTest::newRow("gravada, concluída com achado") << QList<int>{100, 100, 55} << "todos" << carregada;
    QTest::newRow("gravada") << QList<int>{100, 100, 100} << "todos" << naoValidada;
    QTest::newRow("a run stopped after check 2 on a recorded declaration")
        << QList<int>{100, 100, 100} << "2" << naoValidada;
    QTest::newRow("parada no meio") << QList<int>{90, 90, 90} << "todos" << naoValidada;
    QTest::newRow("sem resultados") << QList<int>{0, 0, 0} << "" << naoValidada;
}

void TstValidacaoGuardada::bancoAnterior()
{
    QFETCH(QList<int>, situacoes);
    QFETCH(QString, resultados);
    QFETCH(int, esperado);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    QVERIFY(importado(1, situacoes[0]) && importado(6, situacoes[1]) && importado(8, situacoes[2]));
    if (resultados == u"todos")
        QVERIFY(resumo(8, 2, 0, 12, 12, 0) && resumo(8, 3, 0, 11, 11, 0, 0) && totais(100, 100));
    else if (resultados == u"2")
        // Check 1's totals, check 2's finding and summary; nothing of checks 3 to 5.
        QVERIFY(totais(100, 100) && resumo(8, 2, 55, 12, 11, 1)
                && executar(QStringLiteral("INSERT INTO tbSaldoFinal (quebra, Conta) VALUES (0, '1.1.01')")));
    QVERIFY(executar(QStringLiteral("DROP TABLE tbValidacaoConcluida")));
    Geral& g = geral();
    g.gConn->fechar();
    QVERIFY2(AbreBanco(g.gMsg, true, false, g.gErroAbertura), qPrintable(g.gMsg));
    QCOMPARE(int(recarregaValidacao()), esperado);
    // Only the first opening reads the statuses: the mark (or its absence)
    // then stays, whatever later openings find.
    QVERIFY(executar(QStringLiteral("DELETE FROM tbSituacaoValidacao")));
    QCOMPARE(recarregaValidacao(), ValidacaoGuardada::NaoValidada);
    g.gConn->fechar();
    QVERIFY2(AbreBanco(g.gMsg, true, false, g.gErroAbertura), qPrintable(g.gMsg));
    QVERIFY(resumo(8, 2, 0, 12, 12, 0));
    QCOMPARE(int(recarregaValidacao()), esperado);
}

void TstValidacaoGuardada::comandoAbreNavegador()
{
    Ambiente amb;
    registrarAbasTeste();
    QVERIFY(criarDeclaracao(68, QStringLiteral("00.888.777/0001-00"), QDate(2004, 1, 1), QDate(2004, 6, 30)));
    QVERIFY(validada());
    geral().gConn->fechar();
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) {
        mostradas << QString::fromLatin1(f->metaObject()->className());
        QCOMPARE(f->windowTitle(), QStringLiteral("Visualizar Resultado da Validação"));
        QCOMPARE(f->findChild<QLabel*>(QStringLiteral("lblTitulo"))->text(),
                 QStringLiteral("Selecionar  o CNPJ/Período:"));
        auto* grade = f->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
        // Nothing happens without a current row.
        grade->setCurrentIndex(QModelIndex());
        botao(f, "cmdOk")->click();
        QVERIFY(Formularios::carregado(f));
        ChaveDeclaracao chave;
        for (int linha = 0; linha < grade->linhas(); ++linha) {
            grade->setCurrentIndex(grade->model()->index(linha, 0));
            if (grade->linhaAtual(chave) && chave.cnpj == Cnpj)
                break;
        }
        botao(f, "cmdOk")->click();
    });
    p->item(QStringLiteral("mnuVisualizaValidacao"))->trigger();

    QCOMPARE(mostradas, QStringList{QStringLiteral("frmVisualizarValidacao")});
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QVERIFY(!Formularios::obter(QStringLiteral("frmVisualizarValidacao")));
    auto* nav = Formularios::obter<frmVerificacaoPendencias>();
    QVERIFY(nav);
    QCOMPARE(nav->LblcnpjPeriodo->text(), QStringLiteral("CNPJ: 11.222.333/0001-81  Período: 01/01/2005 a 31/12/2005"));
    QCOMPARE(contadores(1), QList<qint32>({120, 100, 20, 110, 90, 20, 3}));
    QCOMPARE(geral().gConn->caminho(), caminhoBancoDeclaracao());
    // The navigator keeps the File menu locked after the command returns.
    QCOMPARE(estadoArquivo(p), estadoTravado());
}

void TstValidacaoGuardada::comandoNaoValidado()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    QVERIFY(importado(1, 90));
    geral().gConn->fechar();
    frmPrincipalValidacao* p = abrirPrincipal();
    QVERIFY(p);
    bool ficou = false;
    Formularios::definirGanchoModal([&](Formulario* f) {
        botao(f, "cmdOk")->click();
        ficou = Formularios::carregado(f);
    });
    p->item(QStringLiteral("mnuVisualizaValidacao"))->trigger();
    QCOMPARE(amb.dialogos.textos(), QStringList{QStringLiteral("Arquivo não validado.")});
    QCOMPARE(amb.dialogos.mensagens[0].icone, dlg::Icone::Informacao);
    QVERIFY(ficou);
    QVERIFY(!Formularios::obter(QStringLiteral("frmVerificacaoPendencias")));
    QCOMPARE(estadoArquivo(p), estadoLivre());
}

void TstValidacaoGuardada::bancoAusente()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    geral().gConn->fechar();
    QVERIFY(QFile::remove(caminhoBancoDeclaracao()));
    Formulario* f = Formularios::carregar(QStringLiteral("frmVisualizarValidacao"));
    QVERIFY(f);
    botao(f, "cmdOk")->click();
    QCOMPARE(amb.dialogos.textos(),
             QStringList{"Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a opção "
                         "excluir e exclua o período com problemas. Crie na opcao novo o mesmo período"});
    QVERIFY(Formularios::carregado(f));
    QVERIFY(!Formularios::obter(QStringLiteral("frmVerificacaoPendencias")));
    QCOMPARE(QFileInfo(geral().gConn->caminho()).fileName(), QStringLiteral("tobriv1.mdb"));
}

QTEST_MAIN(TstValidacaoGuardada)
#include "tst_validacaoGuardada.moc"
