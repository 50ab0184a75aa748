#include "Ambiente.h"

#include "platform/Formularios.h"
#include "shell/Geral.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTableView>
#include <QTest>

// Esc in a picker or a work dialog does what its Cancel button does.
class TstEscCancela : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void escAgeComoCancelar_data();
    void escAgeComoCancelar();
    void escSemCancelarNaoFecha();
};

namespace {
const QString Cnpj = QStringLiteral("11.222.333/0001-81");
}

void TstEscCancela::escAgeComoCancelar_data()
{
    QTest::addColumn<QString>("janela");
    QTest::addColumn<QString>("botao");
    QTest::newRow("Abrir") << QStringLiteral("frmAbrirArquivo") << QStringLiteral("cmdCancelar");
    QTest::newRow("Excluir Arquivos") << QStringLiteral("frmExcluirArquivo") << QStringLiteral("cmdCancelar");
    QTest::newRow("Visualizar Resultado da Importação") << QStringLiteral("frmVisualiza")
                                                        << QStringLiteral("cmdCancelar");
    QTest::newRow("Informar Dados do Contribuinte") << QStringLiteral("frmDadosContribuinte")
                                                    << QStringLiteral("cmdCancelar");
    QTest::newRow("Resumo Geral") << QStringLiteral("frmVisualizaResultadoImportacao") << QStringLiteral("cmdOk");
}

void TstEscCancela::escAgeComoCancelar()
{
    QFETCH(QString, janela);
    QFETCH(QString, botao);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2005, 1, 1), QDate(2005, 12, 31)));
    Formulario* f = Formularios::carregar(janela);
    QVERIFY(f);
    QCOMPARE(f->botaoCancelar()->objectName(), botao);
    int cliques = 0;
    connect(f->botaoCancelar(), &QAbstractButton::clicked, this, [&] { ++cliques; });
    f->show();
    QVERIFY(QTest::qWaitForWindowActive(f));
    // From wherever the keyboard is: the grid of a picker, a field of a dialog.
    if (auto* grade = f->findChild<QTableView*>())
        grade->setFocus();
    QWidget* foco = QApplication::focusWidget();
    QVERIFY(foco && f->isAncestorOf(foco));
    QTest::keyClick(foco, Qt::Key_Escape);
    QCOMPARE(cliques, 1);
    QVERIFY(!Formularios::obter(janela));
}

void TstEscCancela::escSemCancelarNaoFecha()
{
    Ambiente amb;
    // A window without a Cancel button stays open.
    Formularios::registrar(QStringLiteral("frmSemCancelar"), [] { return new Formulario; });
    Formulario* f = Formularios::carregar(QStringLiteral("frmSemCancelar"));
    QVERIFY(f);
    QCOMPARE(f->botaoCancelar(), nullptr);
    f->show();
    QVERIFY(QTest::qWaitForWindowActive(f));
    QTest::keyClick(f, Qt::Key_Escape);
    QVERIFY(Formularios::carregado(f));
    QVERIFY(f->isVisible());
    f->hide();
}

QTEST_MAIN(TstEscCancela)
#include "tst_escCancela.moc"
