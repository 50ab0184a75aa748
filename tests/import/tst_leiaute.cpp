// Record layout editor: standard copy, kept layout, grid rules and buttons.
#include "Ambiente.h"

#include "import/ModeloLeiaute.h"
#include "import/frmLeiaute.h"
#include "platform/Formularios.h"
#include "shell/Geral.h"
#include "shell/HelpContexts.h"
#include "shell/Servicos.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class TstLeiaute : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copiaPadrao_data();
    void copiaPadrao();
    void leiauteMantidoSoParaOMesmoTipo();
    void tamanho_data();
    void tamanho();
    void campoAcrescentado();
    void excluirFechaOIntervalo();
    void linhaIncompleta();
    void colarGravaERenumera();
    void escDescartaLinhaNova();
    void botaoPadrao();
    void copiaPadraoComFalhaDesfaz();
    void okPerguntaPelaEdicaoPendente();
    void voltarECancelar();
};

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");

struct Campo {
    int codsequ = 0;
    QString nome;
    QString reduzido;
    int inicio = 0;
    int tamanho = 0;
    int decimais = 0;
    QString tipo;
};

QList<Campo> lerCampos(const QString& sql, const QVariantList& params = {})
{
    QList<Campo> r;
    db::Consulta q(*geral().gConn);
    if (!q.preparar(sql) || !q.executar(params))
        return r;
    while (q.proximo())
        r << Campo{q.valor(0).toInt(), q.valor(1).toString(), q.valor(2).toString(), q.valor(3).toInt(),
                   q.valor(4).toInt(), q.valor(5).toInt(), q.valor(6).toString()};
    return r;
}

QList<Campo> padrao(int in, int tipo)
{
    return lerCampos(QStringLiteral("SELECT Codsequ, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo"
                                    " FROM Tbleiautepadrao WHERE INarquivo = ? AND TipoArquivo = ? ORDER BY Codsequ"),
                     {in, tipo});
}

QList<Campo> trabalho()
{
    return lerCampos(QStringLiteral("SELECT codsequ, NomeCampo, NomeReduzido, PosicaoInicial, Tamanho, Decimais, tipo"
                                    " FROM TbleiauteDIG ORDER BY codsequ"));
}

QList<int> inicios(const QList<Campo>& cs)
{
    QList<int> r;
    for (const Campo& c : cs)
        r << c.inicio;
    return r;
}

QList<int> tamanhos(const QList<Campo>& cs)
{
    QList<int> r;
    for (const Campo& c : cs)
        r << c.tamanho;
    return r;
}

// Starts 1, 1 + size1, ... for the given sizes.
QList<int> contiguos(const QList<int>& ts)
{
    QList<int> r;
    int s = 1;
    for (int t : ts) {
        r << s;
        s += t;
    }
    return r;
}

frmLeiaute* abrir(int tipo)
{
    geral().gTipoArquivo = qint16(tipo);
    return qobject_cast<frmLeiaute*>(Formularios::carregar(QStringLiteral("frmLeiaute")));
}

QModelIndex celula(frmLeiaute* w, int linha, int coluna)
{
    return w->modelo()->index(linha, coluna);
}

// Types a value into a cell through the model the grid edits.
bool digitar(frmLeiaute* w, int linha, int coluna, const QString& texto)
{
    return w->modelo()->setData(celula(w, linha, coluna), texto);
}

// Leaves the current row by moving to another one, as a user would.
void irPara(frmLeiaute* w, int linha, int coluna = ModeloLeiaute::ColNomeCampo)
{
    w->grade()->setCurrentIndex(celula(w, linha, coluna));
}

// The class of a window shown modally.
QString nomeJanela(Formulario* f)
{
    return QString::fromLatin1(f->metaObject()->className());
}

} // namespace

void TstLeiaute::copiaPadrao_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("tipo");
    QTest::newRow("68 plano geral") << 68 << 1;
    QTest::newRow("68 lançamentos") << 68 << 6;
    QTest::newRow("68 saldos auxiliar") << 68 << 9;
    QTest::newRow("86 plano geral") << 86 << 1;
    QTest::newRow("86 centros") << 86 << 3;
}

void TstLeiaute::copiaPadrao()
{
    QFETCH(int, in);
    QFETCH(int, tipo);
    Ambiente amb;
    QVERIFY(criarDeclaracao(qint16(in), Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    frmLeiaute* w = abrir(tipo);
    QVERIFY(w);
    QVERIFY(amb.dialogos.mensagens.isEmpty());

    const QList<Campo> p = padrao(in, tipo);
    QVERIFY(!p.isEmpty());
    const QList<Campo> t = trabalho();
    QCOMPARE(t.size(), p.size());
    for (int i = 0; i < p.size(); ++i) {
        QCOMPARE(t[i].codsequ, p[i].codsequ);
        QCOMPARE(t[i].nome, p[i].nome);
        QCOMPARE(t[i].reduzido, p[i].reduzido);
        QCOMPARE(t[i].tamanho, p[i].tamanho);
        QCOMPARE(t[i].decimais, p[i].decimais);
        QCOMPARE(t[i].tipo, p[i].tipo);
    }
    QCOMPARE(inicios(t), contiguos(tamanhos(p)));
    // The rows carry the declaration's key.
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM TbleiauteDIG WHERE INarquivo = ? AND "
                                                   "TipoArquivo = ? AND CNPJ = ? AND periodoinicial = '01012002' AND "
                                                   "periodofinal = '31122002'"),
                                    {in, tipo, Cnpj})
                 .toInt(),
             p.size());

    // The grid shows the same rows, then the empty row for a new field.
    ModeloLeiaute* m = w->modelo();
    QCOMPARE(m->rowCount(), p.size() + 1);
    for (int i = 0; i < p.size(); ++i) {
        QCOMPARE(m->data(m->index(i, ModeloLeiaute::ColNomeCampo)).toString(), p[i].nome);
        QCOMPARE(m->data(m->index(i, ModeloLeiaute::ColInicio)).toInt(), inicios(t)[i]);
        QVERIFY(m->linhaPadrao(i));
    }
    QCOMPARE(m->headerData(ModeloLeiaute::ColNomeCampo, Qt::Horizontal).toString(), QStringLiteral("Nome do Campo"));
    QCOMPARE(m->headerData(ModeloLeiaute::ColInicio, Qt::Horizontal).toString(), QStringLiteral("Início"));
    QCOMPARE(m->headerData(ModeloLeiaute::ColPosicaoInicial, Qt::Horizontal).toString(),
             QStringLiteral("Posição Inicial"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Informar Leiaute do Arquivo ") + descricaoTipoArquivo(qint16(tipo), qint16(in)));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblcnpjT"))->text(), Cnpj);
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblperiodoT"))->text(), QStringLiteral("01/01/2002 a 31/12/2002"));
    QCOMPARE(w->findChild<QPushButton*>(QStringLiteral("cmdPadrao"))->text(),
             QStringLiteral("  Retorna Leiaute Padrão Portaria/ADE  "));
}

void TstLeiaute::leiauteMantidoSoParaOMesmoTipo()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << nomeJanela(f); });

    frmLeiaute* w = abrir(1);
    QVERIFY(w);
    // "Código da Conta" (row 2) grows from 28 to 30; leaving the row writes it.
    irPara(w, 2, ModeloLeiaute::ColTamanho);
    QVERIFY(digitar(w, 2, ModeloLeiaute::ColTamanho, QStringLiteral("30")));
    QCOMPARE(trabalho()[2].tamanho, 28);
    irPara(w, 0);
    QCOMPARE(tamanhos(trabalho()), (QList<int>{8, 3, 30, 50}));
    QCOMPARE(inicios(trabalho()), (QList<int>{1, 9, 12, 42}));
    QCOMPARE(w->modelo()->data(celula(w, 3, ModeloLeiaute::ColInicio)).toInt(), 42);

    w->findChild<QPushButton*>(QStringLiteral("cmdVoltar"))->click();
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmContinuaImportacao")});
    QVERIFY(!Formularios::carregado(w));

    // Same type again: the user's layout is kept.
    w = abrir(1);
    QCOMPARE(tamanhos(trabalho()), (QList<int>{8, 3, 30, 50}));
    QCOMPARE(w->modelo()->data(celula(w, 2, ModeloLeiaute::ColTamanho)).toInt(), 30);
    Formularios::descarregar(w);

    // Another type replaces it; coming back gives the standard layout again.
    w = abrir(2);
    QCOMPARE(tamanhos(trabalho()), tamanhos(padrao(68, 2)));
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM TbleiauteDIG WHERE TipoArquivo <> 2")).toInt(), 0);
    Formularios::descarregar(w);
    w = abrir(1);
    QCOMPARE(tamanhos(trabalho()), (QList<int>{8, 3, 28, 50}));
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstLeiaute::tamanho_data()
{
    QTest::addColumn<int>("linha");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("recusa");  // "ok" when accepted

    const QString ok = QStringLiteral("ok");
    const QString invalido = QStringLiteral("Tamanho do campo inválido.");
    const QString inferior = QStringLiteral("Tamanho do campo inferior ao permitido.");
    // Instruction 68 journal entries: row 1 "Código da Conta" (28), row 9 "Histórico" (150, last).
    QTest::newRow("igual ao padrão") << 1 << "28" << ok;
    QTest::newRow("maior") << 1 << "40" << ok;
    QTest::newRow("com brancos") << 1 << " 29 " << ok;
    QTest::newRow("abaixo do padrão") << 1 << "27" << inferior;
    QTest::newRow("zero") << 1 << "0" << invalido;
    QTest::newRow("vazio, sem mensagem") << 1 << "" << "";
    QTest::newRow("texto") << 1 << "abc" << invalido;
    QTest::newRow("negativo") << 1 << "-30" << invalido;
    QTest::newRow("fração") << 1 << "30,5" << invalido;
    QTest::newRow("acima de 9999") << 9 << "10000" << invalido;
    QTest::newRow("9999 no último campo") << 9 << "9999" << ok;
    QTest::newRow("campos seguintes até a coluna 999") << 0 << "700" << ok;
    QTest::newRow("campo seguinte além da coluna 999") << 0 << "830" << invalido;
    QTest::newRow("9999 no meio") << 1 << "9999" << invalido;
}

void TstLeiaute::tamanho()
{
    QFETCH(int, linha);
    QFETCH(QString, valor);
    QFETCH(QString, recusa);
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    frmLeiaute* w = abrir(6);
    QVERIFY(w);
    const int antes = w->modelo()->data(celula(w, linha, ModeloLeiaute::ColTamanho)).toInt();

    const bool aceito = digitar(w, linha, ModeloLeiaute::ColTamanho, valor);
    QCOMPARE(aceito, recusa == u"ok");
    if (aceito) {
        QVERIFY(amb.dialogos.mensagens.isEmpty());
        QCOMPARE(w->modelo()->data(celula(w, linha, ModeloLeiaute::ColTamanho)).toInt(), valor.trimmed().toInt());
        return;
    }
    QCOMPARE(w->modelo()->data(celula(w, linha, ModeloLeiaute::ColTamanho)).toInt(), antes);
    QVERIFY(!w->modelo()->pendente(linha));
    if (recusa.isEmpty()) {
        QVERIFY(amb.dialogos.mensagens.isEmpty());
    } else {
        QCOMPARE(amb.dialogos.textos(), QStringList{recusa});
        QCOMPARE(amb.dialogos.mensagens[0].icone, dlg::Icone::Nenhum);
        QCOMPARE(amb.dialogos.mensagens[0].titulo, dlg::TituloPadrao);
    }
}

void TstLeiaute::campoAcrescentado()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    frmLeiaute* w = abrir(1);
    ModeloLeiaute* m = w->modelo();
    QCOMPARE(m->rowCount(), 5);
    // Standard names are locked, sizes are not; the new row's name is free.
    QVERIFY(!(m->flags(celula(w, 1, ModeloLeiaute::ColNomeCampo)) & Qt::ItemIsEditable));
    QVERIFY(m->flags(celula(w, 1, ModeloLeiaute::ColTamanho)) & Qt::ItemIsEditable);
    QVERIFY(!(m->flags(celula(w, 1, ModeloLeiaute::ColInicio)) & Qt::ItemIsEditable));
    QVERIFY(m->flags(celula(w, 4, ModeloLeiaute::ColNomeCampo)) & Qt::ItemIsEditable);

    irPara(w, 4);
    const QString longo = QStringLiteral("Código Adicional do Cliente");
    QVERIFY(digitar(w, 4, ModeloLeiaute::ColNomeCampo, longo));
    QCOMPARE(m->data(celula(w, 4, ModeloLeiaute::ColInicio)).toInt(), 90);
    QVERIFY(digitar(w, 4, ModeloLeiaute::ColTamanho, QStringLiteral("1")));
    irPara(w, 0);
    QVERIFY(amb.dialogos.mensagens.isEmpty());

    QList<Campo> t = trabalho();
    QCOMPARE(t.size(), 5);
    QCOMPARE(t[4].codsequ, 8);
    QCOMPARE(t[4].nome, longo);
    QCOMPARE(t[4].reduzido, longo.left(15));
    QCOMPARE(t[4].inicio, 90);
    QCOMPARE(t[4].tamanho, 1);
    QCOMPARE(t[4].decimais, 0);
    QCOMPARE(t[4].tipo, QStringLiteral("ASCII"));
    QCOMPARE(geral().gConn->escalar(QStringLiteral("SELECT count(*) FROM TbleiauteDIG WHERE codsequ = 8 AND "
                                                   "INarquivo = 68 AND TipoArquivo = 1 AND CNPJ = ? AND "
                                                   "periodoinicial = '01012002' AND periodofinal = '31122002'"),
                                    {Cnpj})
                 .toInt(),
             1);
    QCOMPARE(m->rowCount(), 6);
    QVERIFY(!m->linhaPadrao(4));
    // The appended row's name stays editable.
    QVERIFY(m->flags(celula(w, 4, ModeloLeiaute::ColNomeCampo)) & Qt::ItemIsEditable);

    irPara(w, 5);
    QVERIFY(digitar(w, 5, ModeloLeiaute::ColNomeCampo, QStringLiteral("Filial")));
    QVERIFY(digitar(w, 5, ModeloLeiaute::ColTamanho, QStringLiteral("4")));
    irPara(w, 1);
    t = trabalho();
    QCOMPARE(t.size(), 6);
    QCOMPARE(t[5].codsequ, 9);
    QCOMPARE(t[5].reduzido, QStringLiteral("Filial"));
    QCOMPARE(t[5].inicio, 91);
    QCOMPARE(m->comprimentoRegistro(), 94);
}

void TstLeiaute::excluirFechaOIntervalo()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    frmLeiaute* w = abrir(3);  // 8 + 28 + 50
    ModeloLeiaute* m = w->modelo();
    for (const auto& [nome, tam] : {std::pair{"Extra Um", "5"}, std::pair{"Extra Dois", "7"}}) {
        const int nova = m->rowCount() - 1;
        irPara(w, nova);
        QVERIFY(digitar(w, nova, ModeloLeiaute::ColNomeCampo, QString::fromUtf8(nome)));
        QVERIFY(digitar(w, nova, ModeloLeiaute::ColTamanho, QString::fromUtf8(tam)));
        irPara(w, 0);
    }
    QCOMPARE(inicios(trabalho()), (QList<int>{1, 9, 37, 87, 92}));

    // Delete on a standard row does nothing.
    irPara(w, 1);
    QTest::keyClick(w->grade(), Qt::Key_Delete);
    QCOMPARE(trabalho().size(), 5);
    QCOMPARE(m->rowCount(), 6);

    // On an appended row it removes it and closes the gap.
    irPara(w, 3);
    QTest::keyClick(w->grade(), Qt::Key_Delete);
    const QList<Campo> t = trabalho();
    QCOMPARE(t.size(), 4);
    QCOMPARE(t[3].nome, QStringLiteral("Extra Dois"));
    QCOMPARE(inicios(t), (QList<int>{1, 9, 37, 87}));
    QCOMPARE(m->rowCount(), 5);
    QCOMPARE(m->data(celula(w, 3, ModeloLeiaute::ColInicio)).toInt(), 87);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstLeiaute::linhaIncompleta()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    frmLeiaute* w = abrir(3);
    GradeLeiaute* g = w->grade();

    irPara(w, 4);
    QVERIFY(digitar(w, 4, ModeloLeiaute::ColNomeCampo, QStringLiteral("Sem Tamanho")));
    irPara(w, 0);
    QCOMPARE(amb.dialogos.textos(), QStringList{QStringLiteral("Tamanho do campo não preenchido.")});
    QCOMPARE(g->currentIndex().row(), 4);
    QCOMPARE(g->currentIndex().column(), int(ModeloLeiaute::ColTamanho));
    QCOMPARE(trabalho().size(), 4);

    amb.dialogos.limpar();
    QVERIFY(digitar(w, 4, ModeloLeiaute::ColNomeCampo, QStringLiteral("   ")));
    QVERIFY(digitar(w, 4, ModeloLeiaute::ColTamanho, QStringLiteral("3")));
    irPara(w, 1);
    QCOMPARE(amb.dialogos.textos(), QStringList{QStringLiteral("Nome do campo não preenchido.")});
    QCOMPARE(g->currentIndex().row(), 4);
    QCOMPARE(g->currentIndex().column(), int(ModeloLeiaute::ColNomeCampo));
    QCOMPARE(trabalho().size(), 4);
}

void TstLeiaute::colarGravaERenumera()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    frmLeiaute* w = abrir(8);
    QApplication::clipboard()->setText(QStringLiteral("30\r\n"));
    irPara(w, 1, ModeloLeiaute::ColTamanho);
    QTest::keyClick(w->grade(), Qt::Key_V, Qt::ControlModifier);
    const QList<Campo> t = trabalho();
    QCOMPARE(t[1].tamanho, 30);
    QCOMPARE(inicios(t), (QList<int>{1, 9, 39, 56, 57, 74, 91, 108}));
    QCOMPARE(w->grade()->currentIndex().row(), 1);
    QCOMPARE(w->grade()->currentIndex().column(), int(ModeloLeiaute::ColNomeCampo));
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstLeiaute::escDescartaLinhaNova()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    frmLeiaute* w = abrir(1);
    irPara(w, 4, ModeloLeiaute::ColTamanho);
    QVERIFY(digitar(w, 4, ModeloLeiaute::ColTamanho, QStringLiteral("9")));
    QTest::keyClick(w->grade(), Qt::Key_Escape);
    QVERIFY(!w->modelo()->temPendencia());
    QCOMPARE(w->grade()->currentIndex().column(), int(ModeloLeiaute::ColNomeCampo));
    irPara(w, 0);
    QCOMPARE(trabalho().size(), 4);
    QVERIFY(amb.dialogos.mensagens.isEmpty());
}

void TstLeiaute::botaoPadrao()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    frmLeiaute* w = abrir(1);
    irPara(w, 3, ModeloLeiaute::ColTamanho);
    QVERIFY(digitar(w, 3, ModeloLeiaute::ColTamanho, QStringLiteral("60")));
    irPara(w, 4);
    QVERIFY(digitar(w, 4, ModeloLeiaute::ColNomeCampo, QStringLiteral("Extra")));
    QVERIFY(digitar(w, 4, ModeloLeiaute::ColTamanho, QStringLiteral("2")));
    irPara(w, 0);
    QCOMPARE(trabalho().size(), 5);

    w->findChild<QPushButton*>(QStringLiteral("cmdPadrao"))->click();
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QCOMPARE(tamanhos(trabalho()), tamanhos(padrao(68, 1)));
    QCOMPARE(inicios(trabalho()), (QList<int>{1, 9, 12, 40}));
    QCOMPARE(w->modelo()->rowCount(), 5);
    QCOMPARE(w->modelo()->ultimoCodsequPadrao(), 7);
}

void TstLeiaute::copiaPadraoComFalhaDesfaz()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    frmLeiaute* w = abrir(1);
    irPara(w, 2, ModeloLeiaute::ColTamanho);
    QVERIFY(digitar(w, 2, ModeloLeiaute::ColTamanho, QStringLiteral("35")));
    irPara(w, 0);
    QCOMPARE(tamanhos(trabalho()), (QList<int>{8, 3, 35, 50}));
    QVERIFY(geral().gConn->executar(QStringLiteral(
        "CREATE TRIGGER falha_copia BEFORE INSERT ON TbleiauteDIG WHEN NEW.codsequ = 3 "
        "BEGIN SELECT RAISE(ABORT, 'disco cheio'); END")));

    w->findChild<QPushButton*>(QStringLiteral("cmdPadrao"))->click();
    QCOMPARE(amb.dialogos.mensagens.size(), 1);
    QCOMPARE(amb.dialogos.mensagens[0].icone, dlg::Icone::Critico);
    QVERIFY(amb.dialogos.ultimo().startsWith(QStringLiteral("cod.erro ")));
    QVERIFY(amb.dialogos.ultimo().contains(QStringLiteral("disco cheio")));
    // Nothing was lost: the user's layout is still there and shown.
    QCOMPARE(tamanhos(trabalho()), (QList<int>{8, 3, 35, 50}));
    QCOMPARE(w->modelo()->data(celula(w, 2, ModeloLeiaute::ColTamanho)).toInt(), 35);
    QVERIFY(!geral().gConn->emTransacao());
}

void TstLeiaute::okPerguntaPelaEdicaoPendente()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(68, Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << nomeJanela(f); });
    frmLeiaute* w = abrir(1);
    QPushButton* ok = w->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    const QString pergunta = QStringLiteral("Deseja desprezar as atualizações do leiaute ainda não efetivadas ?");

    irPara(w, 2, ModeloLeiaute::ColTamanho);
    QVERIFY(digitar(w, 2, ModeloLeiaute::ColTamanho, QStringLiteral("31")));
    amb.dialogos.respostas.enqueue(dlg::RespNao);
    ok->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{pergunta});
    QCOMPARE(amb.dialogos.mensagens[0].botoes, dlg::Botoes::SimNao);
    QCOMPARE(amb.dialogos.mensagens[0].icone, dlg::Icone::Nenhum);
    QVERIFY(mostradas.isEmpty());
    QVERIFY(Formularios::carregado(w));
    QVERIFY(w->modelo()->pendente(2));

    amb.dialogos.limpar();
    amb.dialogos.respostas.enqueue(dlg::RespSim);
    ok->click();
    QCOMPARE(amb.dialogos.textos(), QStringList{pergunta});
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmOrigemArquivo")});
    QVERIFY(!Formularios::carregado(w));
    QCOMPARE(tamanhos(trabalho()), (QList<int>{8, 3, 28, 50}));
}

void TstLeiaute::voltarECancelar()
{
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2002, 1, 1), QDate(2002, 12, 31)));
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) { mostradas << nomeJanela(f); });

    frmLeiaute* w = abrir(6);
    w->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    QVERIFY(amb.dialogos.mensagens.isEmpty());
    QCOMPARE(mostradas, QStringList{QStringLiteral("frmOrigemArquivo")});
    Formularios::descarregarTodos();

    mostradas.clear();
    w = abrir(6);
    w->findChild<QPushButton*>(QStringLiteral("cmdCancelar"))->click();
    QVERIFY(!Formularios::carregado(w));
    QVERIFY(mostradas.isEmpty());

    w = abrir(6);
    w->findChild<QPushButton*>(QStringLiteral("cmdAjuda"))->click();
    QCOMPARE(amb.ajudas, QList<int>{ajuda::frmLeiaute});
}

QTEST_MAIN(TstLeiaute)
#include "tst_leiaute.moc"
