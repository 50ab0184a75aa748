#include "JanelaResultado.h"

#include "platform/Grades.h"
#include "platform/Banco.h"
#include "platform/Impressoras.h"
#include "shell/Geral.h"
#include "shell/Menus.h"
#include "shell/BotoesJanela.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The number of a "cod.erro N ..." text.
int numeroDoErro(const QString& texto)
{
    const QString primeira = texto.section(u'\r', 0, 0);
    return primeira.section(u' ', 1, 1).toInt();
}

// The last three columns are amounts in 1/10000: grouped digits and two
// decimals, right-aligned.
class ModeloResultado : public db::ModeloSobDemanda {
public:
    using db::ModeloSobDemanda::ModeloSobDemanda;
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (i.column() < 3)
            return db::ModeloSobDemanda::data(i, role);
        if (role == Qt::TextAlignmentRole)
            return QVariant(static_cast<int>(Qt::AlignRight | Qt::AlignVCenter));
        const QVariant v = db::ModeloSobDemanda::data(i, role);
        if (role != Qt::DisplayRole || v.isNull())
            return v;
        return Moeda::deUnidades(v.toLongLong()).textoAgrupado();
    }
};

} // namespace

JanelaResultado::JanelaResultado(RelatorioValidacao relatorio, const QString& quadro, const QString& nomeFechar,
                                 const QString& nomeAjuda, QWidget* parent)
    : Formulario(parent)
    , m_relatorio(relatorio)
    , m_conteudo(new QVBoxLayout)
    , m_cmdImprimir(novoBotao(this, QStringLiteral("cmdImprimir"), QStringLiteral("&Imprimir")))
    , m_cmdFechar(novoBotao(this, nomeFechar, QStringLiteral("&Fechar")))
    , m_cmdAjuda(novoBotao(this, nomeAjuda, QStringLiteral("&Ajuda")))
{
    setWindowTitle(quadro.isEmpty() ? RptResultadoValidacao::titulo(relatorio) : quadro);
    auto* titulo = new QLabel(QStringLiteral("Resultado da Validação"), this);
    QFont f = titulo->font();
    f.setBold(true);
    titulo->setFont(f);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(m_cmdImprimir);
    botoes->addWidget(m_cmdFechar);
    botoes->addWidget(m_cmdAjuda);

    auto* janela = new QVBoxLayout(this);
    janela->addWidget(titulo);
    if (quadro.isEmpty()) {
        janela->addLayout(m_conteudo, 1);
    } else {
        auto* q = new QGroupBox(quadro, this);
        q->setLayout(m_conteudo);
        janela->addWidget(q, 1);
    }
    janela->addLayout(botoes);
    resize(860, 500);

    connect(m_cmdImprimir, &QPushButton::clicked, this, &JanelaResultado::imprimir);
    connect(m_cmdFechar, &QPushButton::clicked, this, &JanelaResultado::fechar);
    connect(m_cmdAjuda, &QPushButton::clicked, this, &Formulario::mostrarAjuda);
}

QString JanelaResultado::mensagemSemImpressora() const
{
    return QStringLiteral("Nenhuma Impressora instalada.");
}

QString JanelaResultado::mensagemErroImpressora(int numero) const
{
    if (numero == relatorio::ErroInformacaoImpressora)
        return QStringLiteral("Problema em conseguir informacão da impressora certifique-se que ela está "
                              "configurada corretamente.");
    return QStringLiteral("Verifique a instalação da sua impressora.");
}

void JanelaResultado::imprimir()
{
    const QString proc = QStringLiteral("cmdImprimir_Click");
    if (!impressoras::haImpressora()) {
        dlg::MsgBox(mensagemSemImpressora(), iconeSemImpressora());
        return;
    }
    Geral& g = geral();
    if (!g.gConn || !g.gConn->aberta()) {
        dlg::MsgBox(textoErro(db::ErroBanco, TextoErroAbertura, proc), dlg::Icone::Critico);
        return;
    }
    QList<LinhaResultadoValidacao> linhas;
    db::Erro e;
    if (!RptResultadoValidacao::ler(m_relatorio, *g.gConn, linhas, e)) {
        dlg::MsgBox(textoErro(e, proc), dlg::Icone::Critico);
        return;
    }
    QString erro;
    switch (relatorio::imprimir(RptResultadoValidacao::montar(m_relatorio, linhas), erro)) {
    case relatorio::Resultado::Impresso:
    case relatorio::Resultado::Cancelado:
        break;
    case relatorio::Resultado::ErroImpressora:
        dlg::MsgBox(mensagemErroImpressora(numeroDoErro(erro)), dlg::Icone::Critico);
        break;
    case relatorio::Resultado::Erro:
        dlg::MsgBox(erro, dlg::Icone::Critico);
        break;
    }
}

void JanelaResultado::fechar()
{
    HabilitaMenus();
    // The navigator unloads the tab it holds; a tab shown on its own goes too.
    Formularios::descarregar(QStringLiteral("frmVerificacaoPendencias"));
    Formularios::descarregar(this);
}

JanelaResultadoGrade::JanelaResultadoGrade(RelatorioValidacao relatorio, const QString& quadro,
                                           const QString& nomeDados, const QString& sql, const QVariant& filtro,
                                           const QStringList& titulos, int diario,
                                           const std::optional<Contadores>& contadores, QWidget* parent)
    : JanelaResultado(relatorio, quadro, QStringLiteral("cmdCancelar"), QStringLiteral("cmAjuda"), parent)
    , m_sql(sql)
    , m_filtro(filtro)
    , m_titulos(titulos)
    , m_diario(diario)
    , m_contadores(contadores)
    , m_grade(new QTableView(this))
    , m_modelo(new ModeloResultado(this))
{
    m_modelo->setObjectName(nomeDados);
    m_grade->setObjectName(QStringLiteral("TDBGrid1"));
    m_grade->setModel(m_modelo);
    // Every row is one line: the view need not measure rows as they arrive.
    prepararGrade(m_grade);
    m_grade->verticalHeader()->hide();
    m_grade->horizontalHeader()->setStretchLastSection(true);
    conteudo()->addWidget(m_grade, 1);

    // Said after the view's fetch has returned, not from inside it.
    m_modelo->definirAoFalhar([this](const db::Erro& e) {
        QMetaObject::invokeMethod(
            this, [e] { dlg::MsgBox(textoErro(e, QStringLiteral("TDBGrid1_FetchMore")), dlg::Icone::Critico); },
            Qt::QueuedConnection);
    });

    if (!m_contadores)
        return;
    auto valor = [this](const QString& nome) {
        auto* l = new QLabel(this);
        l->setObjectName(nome);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(80);
        return l;
    };
    m_lbllidosv = valor(QStringLiteral("lbllidosv"));
    m_lblcorretosv = valor(QStringLiteral("lblcorretosv"));
    m_lblcomerrov = valor(QStringLiteral("lblcomerrov"));
    auto* contagens = new QGridLayout;
    contagens->addWidget(new QLabel(QStringLiteral("Registros lidos       :"), this), 0, 0);
    contagens->addWidget(m_lbllidosv, 0, 1);
    contagens->addWidget(new QLabel(QStringLiteral("Registros corretos  :"), this), 1, 0);
    contagens->addWidget(m_lblcorretosv, 1, 1);
    contagens->addWidget(new QLabel(QStringLiteral("Registros com erro :"), this), 2, 0);
    contagens->addWidget(m_lblcomerrov, 2, 1);
    if (m_contadores->faltantes) {
        m_lblFaltantes = valor(m_contadores->nomeFaltantes);
        contagens->addWidget(new QLabel(QStringLiteral("Registros faltantes :"), this), 3, 0);
        contagens->addWidget(m_lblFaltantes, 3, 1);
    }
    contagens->setColumnStretch(2, 1);
    conteudo()->addLayout(contagens);
}

void JanelaResultadoGrade::Form_Load()
{
    Geral& g = geral();
    if (m_contadores) {
        const auto i = static_cast<std::size_t>(m_diario);
        m_lbllidosv->setText(QString::number(m_contadores->lidos->at(i)));
        m_lblcorretosv->setText(QString::number(m_contadores->corretos->at(i)));
        m_lblcomerrov->setText(QString::number(m_contadores->comErro->at(i)));
        if (m_lblFaltantes)
            m_lblFaltantes->setText(QString::number(m_contadores->faltantes->at(i)));
    }

    // A tab whose table cannot be read says why and stays empty.
    db::Erro e;
    if (!g.gConn || !g.gConn->aberta())
        e = db::Erro{db::ErroBanco, TextoErroAbertura};
    else
        m_modelo->abrir(g.gConn->caminho(), m_sql, {m_filtro}, m_titulos, &e);
    if (!e.ok()) {
        m_modelo->fechar();
        dlg::MsgBox(textoErro(e, QStringLiteral("Form_Load")), dlg::Icone::Critico);
    }
    for (int c = 0; c < 2; ++c)
        m_grade->resizeColumnToContents(c);
    // Only the first rows are read yet: the account column keeps room for longer codes.
    m_grade->resizeColumnToContents(2);
    m_grade->setColumnWidth(2, std::max(m_grade->columnWidth(2), 140));
    for (int c = 3; c < m_titulos.size(); ++c)
        m_grade->setColumnWidth(c, std::max(m_grade->horizontalHeader()->sectionSizeHint(c), 130));

    // Nothing to print when the check found nothing.
    cmdImprimir()->setEnabled(m_modelo->rowCount() > 0);
}

void JanelaResultadoGrade::Form_Unload()
{
    // No reader is left open on the declaration database.
    m_modelo->fechar();
}
