#include "Ambiente.h"

#include "platform/Impressoras.h"
#include "platform/Pastas.h"
#include "reports/Relatorio.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace relatorio;

class TstRelatorio : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void paginasComCabecalhoComum();
    void grupoEmNovaPaginaSemRepetirCabecalho();
    void textoQuebradoCabeNaLargura();
    void imprimir_data();
    void imprimir();
    void pdfPadraoNosDocumentos();
    void pastaDocumentos_data();
    void pastaDocumentos();
};

namespace {

const QDateTime Momento(QDate(2024, 3, 5), QTime(14, 7, 9));

Relatorio exemplo(int grupos, int linhas)
{
    Relatorio r;
    r.titulo = QStringLiteral("Relatório de Teste");
    r.momento = Momento;
    for (int g = 0; g < grupos; ++g) {
        Grupo grupo;
        grupo.cabecalho.texto(0, 0, 200, QStringLiteral("Grupo %1").arg(g + 1));
        grupo.cabecalho.rotulo(300, 0, 100, QStringLiteral("pág. %p"), Qt::AlignRight);
        for (int i = 1; i <= linhas; ++i) {
            Banda d;
            d.texto(0, 0, 60, QString::number(i), Qt::AlignRight);
            d.texto(80, 0, 200, QStringLiteral("%p literal"));
            d.moeda(300, 0, 120, Moeda::deUnidades(12345678 * i));
            grupo.detalhes << d;
        }
        r.grupos << grupo;
    }
    return r;
}

// Every text item lies inside the printable area and no two overlap.
void verificarDisposicao(const Pagina& p, const QSizeF& area)
{
    const QList<Item>& itens = p.itens;
    for (qsizetype a = 0; a < itens.size(); ++a) {
        const QRectF ra = itens.at(a).ret;
        QVERIFY2(ra.left() >= 0 && ra.right() <= area.width() + 0.01 && ra.top() >= 0
                     && ra.bottom() <= area.height() + 0.01,
                 qPrintable(itens.at(a).texto));
        if (itens.at(a).tipo != Item::Tipo::Texto)
            continue;
        for (qsizetype b = a + 1; b < itens.size(); ++b)
            if (itens.at(b).tipo == Item::Tipo::Texto)
                QVERIFY2(!ra.intersects(itens.at(b).ret),
                         qPrintable(itens.at(a).texto + QStringLiteral(" / ") + itens.at(b).texto));
    }
}

} // namespace

void TstRelatorio::cleanup()
{
    definirObservadorImpressao(nullptr);
}

void TstRelatorio::paginasComCabecalhoComum()
{
    const QList<Pagina> paginas = paginar(exemplo(1, 150));
    QVERIFY(paginas.size() >= 3);
    int proximo = 1;
    for (qsizetype n = 0; n < paginas.size(); ++n) {
        const Pagina& p = paginas.at(n);
        CONFERE(verificarDisposicao(p, areaA4()));
        const QStringList t = p.textos();
        QCOMPARE(p.numero, static_cast<int>(n) + 1);
        QCOMPARE(t.mid(0, 6), (QStringList{QStringLiteral("Ministério da Lumeira"), QStringLiteral("05/03/2024 14:07:09"),
                                           QStringLiteral("Secretaria da Orvane do Brasil"),
                                           QStringLiteral("Página: %1").arg(p.numero),
                                           QStringLiteral("TOBRI  -  Arquivos Contábeis"),
                                           QStringLiteral("Relatório de Teste")}));
        // The group header opens every page the group goes on to.
        QCOMPARE(t.at(6), QStringLiteral("Grupo 1"));
        QCOMPARE(t.at(7), QStringLiteral("pág. %1").arg(p.numero));
        // Details follow in order, none lost or repeated; data is never expanded.
        for (qsizetype i = 8; i < t.size(); i += 3) {
            QCOMPARE(t.at(i), QString::number(proximo));
            QCOMPARE(t.at(i + 1), QStringLiteral("%p literal"));
            // 1.234,5678 reais a line, rounded to cents, in the Brazilian notation.
            const qint64 centavos = (12345678LL * proximo + 50) / 100;
            QCOMPARE(t.at(i + 2), QStringLiteral("R$ ")
                                      + QLocale(QLocale::Portuguese, QLocale::Brazil).toString(centavos / 100.0, 'f', 2));
            ++proximo;
        }
    }
    QCOMPARE(proximo, 151);
    QCOMPARE(Moeda::deUnidades(12345678LL * 100).textoReais(), QStringLiteral("R$ 123.456,78"));
}

void TstRelatorio::grupoEmNovaPaginaSemRepetirCabecalho()
{
    Relatorio r = exemplo(3, 2);
    r.cabecalhoComum = false;
    const Fonte fixa{9, false, true};
    for (Grupo& g : r.grupos) {
        g.novaPagina = true;
        g.repetirCabecalho = false;
        for (int i = 0; i < 80; ++i) {
            Banda d(fixa);
            d.texto(0, 0, 400, QStringLiteral("linha %1 do dump").arg(i));
            g.detalhes << d;
        }
    }
    const QList<Pagina> paginas = paginar(r);
    QStringList inicios;
    int cabecalhos = 0;
    for (const Pagina& p : paginas) {
        CONFERE(verificarDisposicao(p, areaA4()));
        QVERIFY(p.itensCom(QStringLiteral("Ministério da Lumeira")).isEmpty());
        inicios << p.textos().first();
        for (const QString& t : p.textos())
            cabecalhos += t.startsWith(QStringLiteral("Grupo ")) ? 1 : 0;
    }
    // Each group starts a page of its own and its header is printed once.
    QCOMPARE(cabecalhos, 3);
    QVERIFY(paginas.size() >= 6);
    QCOMPARE(inicios.count(QStringLiteral("Grupo 1")), 1);
    QCOMPARE(inicios.count(QStringLiteral("Grupo 2")), 1);
    QCOMPARE(inicios.count(QStringLiteral("Grupo 3")), 1);
    QCOMPARE(paginas.last().itensCom(QStringLiteral("linha 79 do dump")).first().fonte, fixa);
}

void TstRelatorio::textoQuebradoCabeNaLargura()
{
    const QString longo = QStringLiteral(
        "Tipo da conta inválido: deve ser S (sintética) ou A (analítica); no Plano de Contas Diário Auxiliar, "
        "somente A, e uma PalavraMuitoLongaQueNaoCabeEmLinhaNenhumaDestaLarguraEstreitaDeVerdade fim");
    Banda b;
    b.textoQuebrado(90, 0, 150, longo);
    QVERIFY(b.itens().size() > 3);
    QStringList partes;
    double y = -1;
    for (const Item& i : b.itens()) {
        QVERIFY(larguraTexto(i.fonte, i.texto) <= 150);
        QVERIFY(i.ret.top() > y);
        y = i.ret.top();
        partes << i.texto;
    }
    QCOMPARE(b.altura(), b.itens().last().ret.bottom());
    QString junto = partes.join(QString());
    QString esperado = longo;
    QCOMPARE(junto.remove(u' '), esperado.remove(u' '));
}

void TstRelatorio::imprimir_data()
{
    QTest::addColumn<bool>("aceita");
    QTest::addColumn<bool>("destinoBloqueado");
    QTest::addColumn<int>("resultado");
    QTest::newRow("impresso") << true << false << int(Resultado::Impresso);
    QTest::newRow("dialogo cancelado") << false << false << int(Resultado::Cancelado);
    QTest::newRow("arquivo não gravável") << true << true << int(Resultado::Erro);
}

void TstRelatorio::imprimir()
{
    QFETCH(bool, aceita);
    QFETCH(bool, destinoBloqueado);
    QFETCH(int, resultado);
    Ambiente amb;
    impressoras::simular({});
    amb.dialogos.impressora.enqueue(aceita);
    const QString pdf = amb.caminhoDados(QStringLiteral("saida.pdf"));
    if (destinoBloqueado)
        QDir().mkpath(pdf);
    QList<Pagina> observadas;
    definirObservadorImpressao([&](const QList<Pagina>& p) { observadas = p; });
    QString erro;
    QCOMPARE(int(relatorio::imprimir(exemplo(1, 150), erro, pdf)), resultado);
    switch (Resultado(resultado)) {
    case Resultado::Impresso: {
        QVERIFY(erro.isEmpty());
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
        // Every page reached the printer: numbered from 1 on, the details from
        // the first to the last.
        QVERIFY(observadas.size() >= 3);
        for (qsizetype n = 0; n < observadas.size(); ++n)
            QCOMPARE(observadas.at(n).numero, static_cast<int>(n) + 1);
        QCOMPARE(observadas.first().textos().value(8), QStringLiteral("1"));
        QCOMPARE(observadas.last().textos().value(observadas.last().textos().size() - 3), QStringLiteral("150"));
        break;
    }
    case Resultado::Cancelado:
        QVERIFY(erro.isEmpty());
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(observadas.isEmpty());
        break;
    default:
        QVERIFY2(erro.startsWith(QStringLiteral("cod.erro 482\r\nmsg. Erro: ")), qPrintable(erro));
        QVERIFY(erro.contains(pdf));
        break;
    }
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstRelatorio::pdfPadraoNosDocumentos()
{
    Ambiente amb;
    impressoras::simular({});
    QString oferecido;
    amb.dialogos.aoEscolherImpressora = [&](QPrinter& p) { oferecido = p.outputFileName(); };
    QString erro;
    QCOMPARE(int(relatorio::imprimir(exemplo(1, 3), erro)), int(Resultado::Impresso));
    // Named after the report, where the user keeps documents; nothing in the data folder.
    const QString esperado = amb.caminhoDocumentos(QStringLiteral("Relatório de Teste.pdf"));
    QCOMPARE(oferecido, esperado);
    QFile f(esperado);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
    QVERIFY(QDir(amb.dados()).entryList({QStringLiteral("*.pdf")}, QDir::Files).isEmpty());
}

void TstRelatorio::pastaDocumentos_data()
{
    QTest::addColumn<bool>("temDocumentos");
    QTest::newRow("com a pasta de documentos") << true;
    QTest::newRow("sem ela: a pasta pessoal") << false;
}

void TstRelatorio::pastaDocumentos()
{
    QFETCH(bool, temDocumentos);
    QTemporaryDir casa;
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(casa.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(casa.filePath(QStringLiteral(".config"))));
    if (temDocumentos)
        QDir(casa.path()).mkpath(QStringLiteral("Documents"));
    definirPastaDocumentos(QString());
    const QString pasta = ::pastaDocumentos();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    QCOMPARE(pasta, temDocumentos ? casa.filePath(QStringLiteral("Documents")) : casa.path());
}

QTEST_MAIN(TstRelatorio)
#include "tst_relatorio.moc"
