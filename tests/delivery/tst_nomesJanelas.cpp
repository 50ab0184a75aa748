// Names that are not UTF-8 in the windows that choose a source file and a
// destination folder: listed as they most likely read, refused with a
// message that names them, never opened or created under another name.
#include "Ambiente.h"
#include "Nativos.h"

#include "delivery/frmDestinoArquivo.h"
#include "import/PreChecagem.h"
#include "import/frmOrigemArquivo.h"
#include "import/motor/Tabelas.h"
#include "platform/Formularios.h"
#include "platform/NomesNativos.h"
#include "platform/Pastas.h"
#include "shell/Geral.h"
#include "shell/ListasPastas.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <unistd.h>

namespace {

const QString Cnpj = QStringLiteral("11.222.333/0001-81");

// A stand-in for the window that follows, so that its opening can be seen.
class Seguinte : public Formulario {
public:
    explicit Seguinte(const QString& nome) : janela(nome) { setObjectName(nome); }
    const QString janela;
};

// Gives the source window's chosen name back at scope exit.
class NomeOrigem {
public:
    explicit NomeOrigem(const QString& nome) : m_antes(frmOrigemArquivo::NomeArquivoOrigem)
    {
        frmOrigemArquivo::NomeArquivoOrigem = nome;
    }
    ~NomeOrigem() { frmOrigemArquivo::NomeArquivoOrigem = m_antes; }
    NomeOrigem(const NomeOrigem&) = delete;
    NomeOrigem& operator=(const NomeOrigem&) = delete;

private:
    QString m_antes;
};

QListWidgetItem* itemDe(QListWidget* lista, const QString& texto)
{
    const QList<QListWidgetItem*> itens = lista->findItems(texto, Qt::MatchExactly);
    return itens.size() == 1 ? itens.first() : nullptr;
}

bool temNomeTrocado(const QStringList& arvore)
{
    for (const QString& e : arvore)
        if (e.contains(QStringLiteral("\\xef\\xbf\\xbd")))
            return true;
    return false;
}

} // namespace

class TstNomesJanelas : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void escolha_data();
    void escolha();
    void destinoForaDaPastaAtualIlegivel();
    void unidade_data();
    void unidade();
};

void TstNomesJanelas::escolha_data()
{
    QTest::addColumn<QString>("janela");   // frmOrigemArquivo or frmDestinoArquivo
    QTest::addColumn<bool>("pasta");       // a folder (else a source file)
    QTest::addColumn<QByteArray>("nome");
    QTest::addColumn<bool>("usavel");
    const QString origem = QStringLiteral("frmOrigemArquivo");
    const QString destino = QStringLiteral("frmDestinoArquivo");
    QTest::newRow("arquivo em Latin-1") << origem << false << QByteArray("Lan\xe7""amentos.txt") << false;
    QTest::newRow("arquivo em CP850") << origem << false << QByteArray("Lan\x87""amentos.txt") << false;
    QTest::newRow("arquivo em UTF-8") << origem << false << QByteArray("Lan\xc3\xa7""amentos.txt") << true;
    QTest::newRow("pasta de origem em Latin-1") << origem << true << QByteArray("Cont\xe1""bil 2003") << false;
    QTest::newRow("pasta de origem em UTF-8") << origem << true << QByteArray("Cont\xc3\xa1""bil 2003") << true;
    QTest::newRow("pasta de destino em Latin-1") << destino << true << QByteArray("Entrega\xe0") << false;
    QTest::newRow("pasta de destino em CP850") << destino << true << QByteArray("Entrega\x85") << false;
    QTest::newRow("pasta de destino em UTF-8") << destino << true << QByteArray("Entrega\xc3\xa0") << true;
}

void TstNomesJanelas::escolha()
{
    QFETCH(QString, janela);
    QFETCH(bool, pasta);
    QFETCH(QByteArray, nome);
    QFETCH(bool, usavel);
    Ambiente amb;
    EsvaziaNativo limpeza(QFile::encodeName(amb.dados()));
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2003, 1, 1), QDate(2003, 12, 31)));
    Geral& g = geral();
    g.gTipoArquivo = 1;
    QString msg;
    QVERIFY2(motor::copiarLeiautePadrao(msg), qPrintable(msg));
    QVERIFY(prechecagem::Tamanho_Registro());
    const QByteArray registros = (QByteArray(g.gTamanhoARQ, 'x') + "\r\n").repeated(2);

    const QString fontes = amb.caminhoDados(QStringLiteral("fontes"));
    QVERIFY(QDir().mkpath(fontes));
    const QByteArray raiz = QFile::encodeName(fontes);
    const QByteArray caminho = pasta ? criarPastaNativa(raiz, nome) : escreverArquivoNativo(raiz, nome, registros);
    if (pasta)
        escreverArquivoNativo(caminho, "dentro.txt", registros);
    const QStringList antes = arvoreNativa(raiz);
    const QString exibido = nomes::exibicao(nome);
    const QString recusa = nomes::textoRecusa(pasta ? nomes::Tipo::Pasta : nomes::Tipo::Arquivo, caminho);

    const QString seguinte =
        janela == u"frmOrigemArquivo" ? QStringLiteral("frmImportarArquivo") : QStringLiteral("frmConfirmaGravacao");
    Formularios::registrar(seguinte, [seguinte] { return new Seguinte(seguinte); });
    QStringList mostradas;
    Formularios::definirGanchoModal([&](Formulario* f) {
        auto* s = dynamic_cast<Seguinte*>(f);
        mostradas << (s ? s->janela : QString::fromLatin1(f->metaObject()->className()));
    });
    const NomeOrigem nomeAnterior(QStringLiteral("anterior.txt"));
    g.gDiretorio = fontes;

    Formulario* w = Formularios::carregar(janela);
    QVERIFY(w);
    auto* origem = qobject_cast<frmOrigemArquivo*>(w);
    auto* destino = qobject_cast<frmDestinoArquivo*>(w);
    if (destino)
        destino->definirPasta(fontes);
    auto* lista = w->findChild<QListWidget*>(pasta ? QStringLiteral("driDiretorio") : QStringLiteral("flArquivo"));
    QListWidgetItem* item = itemDe(lista, exibido);
    QVERIFY2(item, qPrintable(exibido));
    QCOMPARE(item->font().italic(), !usavel);
    QCOMPARE(item->toolTip(), usavel ? QString() : recusa);
    const auto pastaAberta = [&] { return origem ? origem->pasta() : destino->pasta(); };

    if (pasta && origem) {
        Q_EMIT lista->itemActivated(item);
        QCOMPARE(origem->pasta(), usavel ? QDir(fontes).filePath(exibido) : fontes);
        if (usavel)
            QCOMPARE(origem->arquivosListados(), QStringList{QStringLiteral("dentro.txt")});
    } else {
        if (destino) {
            // Opening the folder in the list (highlighted, then activated) is refused alike.
            lista->setCurrentItem(item);
            Q_EMIT lista->itemActivated(item);
            QCOMPARE(destino->pasta(), usavel ? QDir(fontes).filePath(exibido) : fontes);
            if (usavel)
                destino->definirPasta(fontes);
            item = itemDe(lista, exibido);
            QVERIFY(item);
            if (!usavel) {
                QCOMPARE(amb.dialogos.textos(), QStringList{recusa});
                amb.dialogos.limpar();
                // The open folder is highlighted again.
                QCOMPARE(listas::caminhoDoItem(lista->currentItem()), fontes);
            }
        }
        lista->setCurrentItem(item);
        w->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
        QCOMPARE(mostradas, usavel ? QStringList{seguinte} : QStringList());
        QCOMPARE(Formularios::carregado(w), !usavel);
        const QString escolhido = QDir(fontes).filePath(exibido);
        if (origem) {
            QCOMPARE(g.gArquivoOrigem, usavel ? escolhido : QString());
            QCOMPARE(frmOrigemArquivo::NomeArquivoOrigem, usavel ? exibido : QStringLiteral("anterior.txt"));
        } else {
            QCOMPARE(g.gDestino, usavel ? escolhido : QString());
        }
    }
    if (usavel) {
        QVERIFY(amb.dialogos.textos().isEmpty());
    } else {
        QCOMPARE(amb.dialogos.textos(), QStringList{recusa});
        QCOMPARE(amb.dialogos.mensagens.last().icone, dlg::Icone::Critico);
        QVERIFY2(recusa.contains(QStringLiteral("\"") + fontes + u'/' + exibido + u'"'), qPrintable(recusa));
        QCOMPARE(pastaAberta(), fontes);
    }
    // Nothing was made under another name.
    QCOMPARE(arvoreNativa(raiz), antes);
    QVERIFY(!temNomeTrocado(arvoreNativa(QFile::encodeName(amb.dados()))));
}

// Started from a folder whose name cannot be used, the destination window
// opens on the program folder.
void TstNomesJanelas::destinoForaDaPastaAtualIlegivel()
{
    Ambiente amb;
    EsvaziaNativo limpeza(QFile::encodeName(amb.dados()));
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2003, 1, 1), QDate(2003, 12, 31)));
    const QByteArray ilegivel = criarPastaNativa(QFile::encodeName(amb.dados()), "inicio\xe7");
    PastaAtual atual(ilegivel);
    QVERIFY(atual.ok());
    auto* w = qobject_cast<frmDestinoArquivo*>(Formularios::carregar(QStringLiteral("frmDestinoArquivo")));
    QVERIFY(w);
    QCOMPARE(w->pasta(), QDir(pastas().programa).absolutePath());
    QVERIFY(amb.dialogos.textos().isEmpty());
}

// A volume whose mount point lost its name in the reading is refused by
// name; one that is only missing is still a medium that cannot be read.
void TstNomesJanelas::unidade_data()
{
    QTest::addColumn<QString>("janela");
    QTest::addColumn<QString>("raiz");
    QTest::addColumn<bool>("nomeIlegivel");
    for (const QString& j : {QStringLiteral("frmOrigemArquivo"), QStringLiteral("frmDestinoArquivo")}) {
        QTest::addRow("%s, nome ilegível", qPrintable(j)) << j << QStringLiteral("/media/PEN\uFFFD") << true;
        QTest::addRow("%s, ausente", qPrintable(j)) << j << QStringLiteral("/volume/ausente") << false;
    }
}

void TstNomesJanelas::unidade()
{
    QFETCH(QString, janela);
    QFETCH(QString, raiz);
    QFETCH(bool, nomeIlegivel);
    Ambiente amb;
    QVERIFY(criarDeclaracao(86, Cnpj, QDate(2003, 1, 1), QDate(2003, 12, 31)));
    geral().gTipoArquivo = 1;
    geral().gDiretorio = amb.dados();
    Formulario* w = Formularios::carregar(janela);
    QVERIFY(w);
    auto* unidades = w->findChild<QComboBox*>(QStringLiteral("DrvDRIVE"));
    const QString antes = unidades->currentData().toString();
    unidades->addItem(raiz, raiz);
    unidades->setCurrentIndex(unidades->count() - 1);
    Q_EMIT unidades->activated(unidades->count() - 1);
    const QString esperada = nomeIlegivel ? nomes::textoRecusa(nomes::Tipo::Pasta, QFile::encodeName(raiz))
                                          : QStringLiteral("Mídia não acessível.");
    QCOMPARE(amb.dialogos.textos(), QStringList{esperada});
    QCOMPARE(amb.dialogos.mensagens.last().icone, dlg::Icone::Critico);
    QCOMPARE(unidades->currentData().toString(), antes);
    // A folder that really holds U+FFFD in its name is no lost name.
    const QString literal = amb.caminhoDados(QStringLiteral("PEN\uFFFD"));
    QVERIFY(QDir().mkpath(literal));
    QCOMPARE(listas::recusaDaUnidade(literal), QString());
}

QTEST_MAIN(TstNomesJanelas)
#include "tst_nomesJanelas.moc"
