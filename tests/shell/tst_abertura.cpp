#include "Ambiente.h"

#include "platform/Formularios.h"
#include "platform/InstanciaUnica.h"
#include "shell/Geral.h"
#include "shell/frmAbertura.h"
#include "shell/frmPrincipalValidacao.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(ValoresLocale)

namespace {

ValoresLocale brasil()
{
    return ValoresLocale{QStringLiteral("/"), QStringLiteral("dd/MM/yyyy"), QStringLiteral("2"), QStringLiteral(","),
                         QStringLiteral("."), QStringLiteral("3;0"), QStringLiteral("d' de 'MMMM' de 'yyyy")};
}

// The splash as the program starts it: first in the list of loaded windows.
frmAbertura* novaAbertura()
{
    auto* a = new frmAbertura;
    Formularios::adicionar(a);
    return a;
}

} // namespace

class TstAbertura : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void portao_data();
    void portao();
    void locaisReais_data();
    void locaisReais();
    void segundaInstanciaRecusada();
    void principalSoAposOTique();
    void registroIlegivelEncerra();
    void inicioRemoveRascunhos();
};

void TstAbertura::portao_data()
{
    QTest::addColumn<ValoresLocale>("valores");
    QTest::addColumn<QString>("mensagem");  // empty: the gate passes

    auto com = [](auto campo, const QString& valor) {
        ValoresLocale v = brasil();
        v.*campo = valor;
        return v;
    };
    QTest::newRow("pt_BR") << brasil() << QString();
    QTest::newRow("agrupamento 3;0 com data curta maiúscula")
        << com(&ValoresLocale::dataCurta, QStringLiteral("DD/MM/YYYY")) << QString();
    QTest::newRow("agrupamento 3;2;0") << com(&ValoresLocale::agrupamento, QStringLiteral("3;2;0")) << MsgConfigNumero;
    QTest::newRow("agrupamento 0;0") << com(&ValoresLocale::agrupamento, QStringLiteral("0;0")) << MsgConfigNumero;
    QTest::newRow("agrupamento curto") << com(&ValoresLocale::agrupamento, QStringLiteral("3")) << MsgConfigNumero;
    QTest::newRow("milhar vírgula") << com(&ValoresLocale::separadorMilhar, QStringLiteral(",")) << MsgConfigNumero;
    QTest::newRow("três decimais") << com(&ValoresLocale::digitosDecimais, QStringLiteral("3")) << MsgConfigNumero;
    QTest::newRow("valores vazios") << ValoresLocale{} << MsgConfigNumero;
    // A "." decimal fails the number test before the (also failing) date tests.
    QTest::newRow("decimal ponto, datas americanas")
        << ValoresLocale{QStringLiteral("/"), QStringLiteral("M/d/yy"), QStringLiteral("2"), QStringLiteral("."),
                         QStringLiteral(","), QStringLiteral("3;0"), QStringLiteral("MMMM d, yyyy")}
        << MsgConfigNumero;
    QTest::newRow("d/M/yyyy") << com(&ValoresLocale::dataCurta, QStringLiteral("d/M/yyyy")) << MsgConfigDataCurta;
    QTest::newRow("dd/MM/yy") << com(&ValoresLocale::dataCurta, QStringLiteral("dd/MM/yy")) << MsgConfigDataCurta;
    {
        ValoresLocale v = com(&ValoresLocale::dataCurta, QStringLiteral("dd-MM-yyyy"));
        v.separadorData = QStringLiteral("-");
        QTest::newRow("dd-MM-yyyy") << v << MsgConfigDataCurta;
    }
    QTest::newRow("separador de data errado") << com(&ValoresLocale::separadorData, QStringLiteral("-"))
                                              << MsgConfigDataCurta;
    {
        ValoresLocale v = com(&ValoresLocale::dataCurta, QStringLiteral("d/M/yyyy"));
        v.dataLonga = QStringLiteral("MMMM d, yyyy");
        QTest::newRow("datas curta e longa erradas") << v << MsgConfigDataCurta;
    }
    QTest::newRow("longa com dia da semana")
        << com(&ValoresLocale::dataLonga, QStringLiteral("dddd, d' de 'MMMM' de 'yyyy")) << MsgConfigDataLonga;
    QTest::newRow("longa dd'") << com(&ValoresLocale::dataLonga, QStringLiteral("dd' de 'MMMM' de 'yyyy"))
                               << MsgConfigDataLonga;
    QTest::newRow("longa d'") << com(&ValoresLocale::dataLonga, QStringLiteral("d'/'M")) << QString();
}

void TstAbertura::portao()
{
    QFETCH(ValoresLocale, valores);
    QFETCH(QString, mensagem);

    QString obtida = QStringLiteral("não alterada");
    QCOMPARE(testaConfiguracaoRegional(valores, obtida), mensagem.isEmpty());
    QCOMPARE(obtida, mensagem);

    // Through the splash: only the first failure shows, critical, with the
    // default title; nothing else is opened.
    Ambiente amb;
    frmAbertura* a = novaAbertura();
    QCOMPARE(a->Form_Load(valores), mensagem.isEmpty());
    if (mensagem.isEmpty()) {
        QVERIFY(amb.dialogos.mensagens.isEmpty());
        QVERIFY(a->Timer1->isActive());
        QCOMPARE(a->Timer1->interval(), 1000);
    } else {
        QCOMPARE(amb.dialogos.mensagens.size(), 1);
        const dlg::Mensagem& m = amb.dialogos.mensagens.first();
        QCOMPARE(m.texto, mensagem);
        QCOMPARE(m.icone, dlg::Icone::Critico);
        QCOMPARE(m.botoes, dlg::Botoes::Ok);
        QCOMPARE(m.titulo, dlg::TituloPadrao);
        QVERIFY(!a->Timer1->isActive());
    }
    QCOMPARE(Formularios::quantidade(), 1);
    QVERIFY(!frmPrincipalValidacao::instancia());
    QVERIFY(!geral().gConn);
}

void TstAbertura::locaisReais_data()
{
    QTest::addColumn<QString>("local");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("pt_BR") << "pt_BR" << QString();
    QTest::newRow("C") << "C" << MsgConfigNumero;
    QTest::newRow("en_US") << "en_US" << MsgConfigNumero;
    QTest::newRow("pt_PT") << "pt_PT" << MsgConfigNumero;
    QTest::newRow("de_DE") << "de_DE" << MsgConfigDataCurta;
}

void TstAbertura::locaisReais()
{
    QFETCH(QString, local);
    QFETCH(QString, mensagem);
    QString obtida;
    QCOMPARE(testaConfiguracaoRegional(lerValoresLocale(QLocale(local)), obtida), mensagem.isEmpty());
    QCOMPARE(obtida, mensagem);
}

void TstAbertura::segundaInstanciaRecusada()
{
    Ambiente amb;
    {
        InstanciaUnica primeira(amb.dados());
        QVERIFY(primeira.adquirir());
        frmAbertura* a = novaAbertura();
        // Refused before the regional settings are read.
        ValoresLocale errados = brasil();
        errados.separadorDecimal = QStringLiteral(".");
        QVERIFY(!a->Form_Load(errados));
        QCOMPARE(amb.dialogos.mensagens.size(), 1);
        const dlg::Mensagem& m = amb.dialogos.mensagens.first();
        QCOMPARE(m.texto, QStringLiteral("Já existe uma sessão aberta para o aplicativo. "));
        QCOMPARE(m.icone, dlg::Icone::Informacao);
        QCOMPARE(m.titulo, QStringLiteral("Tobri Contábeis."));
        QVERIFY(!a->Timer1->isActive());
        QVERIFY(!geral().gConn);
        Formularios::descarregar(a);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // The running copy still holds its lock.
        QVERIFY(primeira.adquirida());
        InstanciaUnica outra(amb.dados());
        QVERIFY(!outra.adquirir());
    }
    // Once the first copy has ended, a new start passes.
    amb.dialogos.limpar();
    frmAbertura* b = novaAbertura();
    QVERIFY(b->Form_Load(brasil()));
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstAbertura::principalSoAposOTique()
{
    Ambiente amb;
    frmAbertura* a = novaAbertura();
    QVERIFY(a->Form_Load(brasil()));
    a->show();
    QVERIFY(a->Timer1->isActive());
    QCOMPARE(a->Timer1->interval(), 1000);
    QCOMPARE(a->Timer1->timerType(), Qt::PreciseTimer);
    const QRect tela = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(a->pos(), QPoint(tela.x() + (tela.width() - a->width()) / 2, tela.y() + (tela.height() - a->height()) / 2));

    QCoreApplication::processEvents();
    QVERIFY(!frmPrincipalValidacao::instancia());
    QCOMPARE(Formularios::quantidade(), 1);
    QVERIFY(!geral().gConn);

    // The tick, as the timer delivers it.
    QVERIFY(QMetaObject::invokeMethod(a->Timer1, "timeout"));
    frmPrincipalValidacao* p = frmPrincipalValidacao::instancia();
    QVERIFY(p);
    QVERIFY(p->isVisible());
    QCOMPARE(p->windowTitle(), QStringLiteral("Tobri - Arquivos Contábeis"));
    QVERIFY(!a->Timer1->isActive());
    QVERIFY(!a->isVisible());
    const QList<QWidget*> carregados = Formularios::carregados();
    QCOMPARE(carregados.size(), 2);
    QCOMPARE(carregados.at(0), a);
    QCOMPARE(carregados.at(1), p);
    QVERIFY(geral().gConn && geral().gConn->aberta());
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstAbertura::registroIlegivelEncerra()
{
    Ambiente amb;
    QVERIFY(QFile::remove(caminhoRegistro()));
    frmAbertura* a = novaAbertura();
    QVERIFY(a->Form_Load(brasil()));
    a->Timer1_Timer();
    QCOMPARE(amb.dialogos.textos(),
             QStringList{textoErro(db::ErroBanco, TextoErroAbertura + QStringLiteral("\r\nArquivo não encontrado: ")
                                                      + caminhoRegistro())});
    QCOMPARE(amb.dialogos.mensagens.first().icone, dlg::Icone::Nenhum);
    // The main window is not left open, and no register was made by accident.
    QCOMPARE(Formularios::quantidade(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!frmPrincipalValidacao::instancia());
    QVERIFY(!QFile::exists(caminhoRegistro()));
}

void TstAbertura::inicioRemoveRascunhos()
{
    Ambiente amb;
    // What kills left: copies and .lay being written, a compaction, a
    // template copy, a register being created, Schema.ini being written.
    const QStringList rascunhos{QStringLiteral("11222333000181-TOBRI-06-2005010120051231.importando"),
                                QStringLiteral("11222333000181-TOBRI-08-2005010120051231.lay.importando"),
                                QStringLiteral("tobriv1Tmp.mdb"),
                                QStringLiteral("TOBRI86112223330001810101200531122005.MDB.copia"),
                                QStringLiteral("tobriv1.mdb.novo"),
                                QStringLiteral("Schema.ini.gravando")};
    // The user's data, and a database's journal that its next opening needs.
    const QStringList dados{QStringLiteral("11222333000181-TOBRI-06-2005010120051231.txt"),
                            QStringLiteral("11222333000181-TOBRI-06-2005010120051231.lay"),
                            QStringLiteral("TOBRI86112223330001810101200531122005.MDB"),
                            QStringLiteral("TOBRI86112223330001810101200531122005.MDB-journal"),
                            QStringLiteral("tobriv1.mdb")};
    for (const QString& f : rascunhos + dados)
        if (f != QLatin1String("tobriv1.mdb"))
            amb.escreverArquivo(f, "x\r\n");
    frmAbertura* a = novaAbertura();
    QVERIFY(a->Form_Load(brasil()));
    for (const QString& f : rascunhos)
        QVERIFY2(!QFile::exists(amb.caminhoDados(f)), qPrintable(f));
    for (const QString& f : dados)
        QVERIFY2(QFile::exists(amb.caminhoDados(f)), qPrintable(f));
}

QTEST_MAIN(TstAbertura)
#include "tst_abertura.moc"
