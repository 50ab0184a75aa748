#include "Ambiente.h"
#include "Resultados.h"

#include "platform/Formularios.h"
#include "shell/Geral.h"
#include "shell/GradeDeclaracoes.h"
#include "validation/Pendencias.h"
#include "validation/frmRelacaoPendencias.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");
const QDate Inicio(2005, 1, 1);
const QDate Fim(2005, 12, 31);

const QString Erros = QStringLiteral("importado com erros");
const QString T53 = QStringLiteral(
    "Validado com divergência: total dos débitos diferente do total dos créditos dos lançamentos");
const QString T54 = QStringLiteral(
    "Validado com divergência: saldo inicial diferente do saldo final do mês anterior ou mês sem saldo");
const QString T55 = QStringLiteral(
    "Validado com divergência: saldo final diferente do saldo inicial mais débitos menos créditos do mês");
const QString T57 = QStringLiteral(
    "Validado com divergência: créditos dos lançamentos diferentes dos créditos dos saldos");
const QString NaoValidado = QStringLiteral("Validação não efetuada");

QString nao(int tipo)
{
    return TextosNaoImportado[tipo - 1];
}

// "tipo:situacao ..." as status rows of the declaration in hand.
bool importados(const QString& lista)
{
    const Geral& g = geral();
    for (const QString& par : lista.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList p = par.split(u':');
        if (!executar(QStringLiteral("INSERT INTO tbImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Tipo, "
                                     "Situacao) VALUES (?,?,?,?,?,?)"),
                      {g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal), p[0].toInt(),
                       p[1].toInt()}))
            return false;
    }
    return true;
}

// "tipoArquivo:tipoValidacao:codigo ..." as validation summary rows.
bool resumo(const QString& lista)
{
    for (const QString& trio : lista.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList p = trio.split(u':');
        if (!executar(QStringLiteral("INSERT INTO tbSituacaoValidacao (TipoArquivo, TipoValidacao, CodigoErro, "
                                     "RegLidos, RegCorretos, RegComErro) VALUES (?,?,?,0,0,0)"),
                      {p[0].toInt(), p[1].toInt(), p[2].toInt()}))
            return false;
    }
    return true;
}

QStringList itens(const QListWidget* l)
{
    QStringList r;
    for (int i = 0; i < l->count(); ++i)
        r << l->item(i)->text();
    return r;
}

QPushButton* botao(QWidget* w, const char* nome)
{
    return w->findChild<QPushButton*>(QString::fromLatin1(nome));
}

// What the list window showed when it was shown modally.
struct Lista {
    QString cnpj, periodo;
    QStringList pendencias, ocultos;
    bool ocultoVisivel = true;
};

void registrarLista(Lista& vista, QStringList& mostradas)
{
    Formularios::definirGanchoModal([&](Formulario* f) {
        mostradas << QString::fromLatin1(f->metaObject()->className());
        if (auto* r = qobject_cast<frmRelacaoPendencias*>(f)) {
            vista.cnpj = r->lblcnpjt->text();
            vista.periodo = r->lblperiodo->text();
            vista.pendencias = itens(r->Pendencias);
            vista.ocultos = itens(r->lstPendencias);
            vista.ocultoVisivel = r->lstPendencias->isVisibleTo(r);
        }
    });
}

} // namespace

class TstPendencias : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { Formularios::definirGanchoModal(nullptr); }
    void lista_data();
    void lista();
    void seletorMostraLista();
    void falhaMostraOQueFoiListado();
    void seletorSemBanco();
};

void TstPendencias::lista_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<QString>("importados");
    QTest::addColumn<QString>("resumo");
    QTest::addColumn<QStringList>("esperado");

    QTest::newRow("every kind, in order")
        << 68 << "1:90 2:777 3:90 6:90 7:90 8:90 9:90" << "9:3:54 8:2:55 8:3:0 6:1:53"
        << QStringList{"Plano de Contas Diário Auxiliar " + Erros, NaoValidado, T53,
                       T55 + " - Arquivo Saldos Diário Geral", T54 + " - Arquivo Saldos Diário Auxiliar", nao(4),
                       nao(5)};
    QTest::newRow("general files clean, 68")
        << 68 << "1:90 6:90 8:90" << "" << QStringList{NaoValidado, nao(2), nao(3), nao(4), nao(5)};
    QTest::newRow("general files clean, 86")
        << 86 << "1:90 6:90 8:90" << "" << QStringList{NaoValidado, nao(2), nao(3)};
    QTest::newRow("general chart with errors")
        << 68 << "1:777" << ""
        << QStringList{"Plano de Contas Diário Geral " + Erros, nao(2), nao(3), nao(4), nao(5), nao(6), nao(8)};
    QTest::newRow("validated with findings")
        << 86 << "1:0 3:0 6:57 8:55" << "8:3:0 8:2:55 6:5:57"
        << QStringList{T57, T55 + " - Arquivo Saldos Diário Geral", nao(2)};
    QTest::newRow("validated clean") << 86 << "1:0 2:0 3:0 6:0 7:0 8:0 9:0" << "8:2:0 8:3:0 9:2:0 9:3:0"
                                     << QStringList{};
    QTest::newRow("recorded") << 86 << "1:100 3:100 6:100 8:100" << "" << QStringList{nao(2)};
    QTest::newRow("auxiliary chart, its files missing")
        << 86 << "1:90 2:90 3:90 6:90 8:90" << "" << QStringList{nao(7), nao(9)};
    QTest::newRow("only entries and balances") << 86 << "6:90 8:90" << "" << QStringList{nao(1), nao(2), nao(3)};
    QTest::newRow("status without a text") << 86 << "1:999 3:90 6:90 8:90" << "" << QStringList{nao(1), nao(2)};
}

void TstPendencias::lista()
{
    QFETCH(int, in);
    QFETCH(QString, importados);
    QFETCH(QString, resumo);
    QFETCH(QStringList, esperado);
    Ambiente amb;
    QVERIFY(criarDeclaracao(static_cast<qint16>(in), Cnpj, Inicio, Fim));
    QVERIFY(::importados(importados));
    QVERIFY(::resumo(resumo));
    QStringList pendencias;
    QVERIFY(Verifica_Situacao(pendencias));
    QCOMPARE(pendencias, esperado);
}

void TstPendencias::seletorMostraLista()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    QVERIFY(importados("1:90 6:55 8:90"));
    QVERIFY(resumo("6:4:56"));
    QVERIFY(criarDeclaracao(68, QStringLiteral("00.888.777/0001-00"), QDate(2004, 1, 1), QDate(2004, 6, 30)));
    geral().gConn->fechar();
    definirDeclaracao(0, QString(), QDate(), QDate());
    Lista vista;
    QStringList mostradas;
    registrarLista(vista, mostradas);

    Formulario* f = Formularios::carregar(QStringLiteral("frmVerificar"));
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), QStringLiteral("Verificar Pendências"));
    QCOMPARE(f->findChild<QLabel*>(QStringLiteral("lblTitulo"))->text(), QStringLiteral("Selecionar o CNPJ/Período:"));
    QVERIFY(botao(f, "cmAjuda"));
    auto* grade = f->findChild<GradeDeclaracoes*>(QStringLiteral("TDBabrir"));
    QCOMPARE(grade->linhas(), 2);

    // Nothing happens without a current row.
    grade->setCurrentIndex(QModelIndex());
    botao(f, "cmdOk")->click();
    QVERIFY(mostradas.isEmpty());
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QVERIFY(Formularios::carregado(f));

    ChaveDeclaracao chave;
    for (int linha = 0; linha < grade->linhas(); ++linha) {
        grade->setCurrentIndex(grade->model()->index(linha, 0));
        if (grade->linhaAtual(chave) && chave.cnpj == Cnpj)
            break;
    }
    botao(f, "cmdOk")->click();
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QVERIFY(!Formularios::carregado(f));
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmRelacaoPendencias")});
    QCOMPARE(vista.cnpj, Cnpj);
    QCOMPARE(vista.periodo, QStringLiteral("01/01/2005 a 31/12/2005"));
    const QString t56 = QStringLiteral("Validado com divergência: débitos dos lançamentos diferentes dos débitos dos saldos");
    QCOMPARE(vista.pendencias, QStringList({t56, nao(2), nao(3)}));
    QCOMPARE(vista.ocultos, TextosNaoImportado);
    QVERIFY(!vista.ocultoVisivel);
    // gConn stays on the chosen declaration.
    QCOMPARE(geral().gConn->caminho(), caminhoBancoDeclaracao());
    QCOMPARE(geral().gIN, qint16(86));
}

void TstPendencias::falhaMostraOQueFoiListado()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, Inicio, Fim));
    QVERIFY(importados("1:777"));
    QVERIFY(executar(QStringLiteral("DROP TABLE tbSituacaoValidacao")));
    Formulario* f = Formularios::carregar(QStringLiteral("frmRelacaoPendencias"));
    QVERIFY(f);
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QCOMPARE(amb.dialogos.mensagens[0].icone, dlg::Icone::Critico);
    QVERIFY(amb.dialogos.ultimo().startsWith(QStringLiteral("cod.erro ")));
    QVERIFY(amb.dialogos.ultimo().endsWith(QStringLiteral(" (Verifica_Situacao)")));
    QCOMPARE(itens(f->findChild<QListWidget*>(QStringLiteral("Pendencias"))),
             QStringList{"Plano de Contas Diário Geral " + Erros});
    QVERIFY(QApplication::overrideCursor() == nullptr);
    botao(f, "cmdOk")->click();
    QVERIFY(!Formularios::carregado(f));
}

void TstPendencias::seletorSemBanco()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, Inicio, Fim));
    geral().gConn->fechar();
    QVERIFY(QFile::remove(caminhoBancoDeclaracao()));
    Lista vista;
    QStringList mostradas;
    registrarLista(vista, mostradas);
    Formulario* f = Formularios::carregar(QStringLiteral("frmVerificar"));
    botao(f, "cmdOk")->click();
    QCOMPARE(amb.dialogos.textos(),
             QStringList{"Banco de dados referente ao CNPJ/Período não encontrado ou corrompido. Acesse a opção "
                         "Excluir do menu Arquivo e exclua o período com problemas e posteriormente crie na opção "
                         "Novo o mesmo período."});
    QVERIFY(mostradas.isEmpty());
    QVERIFY(Formularios::carregado(f));
    QCOMPARE(QFileInfo(geral().gConn->caminho()).fileName(), QStringLiteral("tobriv1.mdb"));
    QVERIFY(!QFile::exists(caminhoBancoDeclaracao()));
}

QTEST_MAIN(TstPendencias)
#include "tst_pendencias.moc"
