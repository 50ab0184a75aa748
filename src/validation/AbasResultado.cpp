#include "AbasResultado.h"

#include "shell/Geral.h"
#include "shell/HelpContexts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

// rowid keeps the order in which the validation wrote the rows.
const QString SqlSaldoFinal = QStringLiteral(
    "SELECT Mes, Ano, Conta, SaldoFinal, Saldofinalcalc, Diferenca FROM tbSaldoFinal WHERE Tipo = ? ORDER BY rowid");
const QString SqlSaldoInicial = QStringLiteral("SELECT Mes, Ano, Conta, SaldofinalAnt, SaldoInicial, Diferenca "
                                               "FROM tbSaldoInicial WHERE Tipo = ? ORDER BY rowid");
const QString SqlLancamentosSaldos = QStringLiteral("SELECT Mes, Ano, CodConta, TotalLancamentos, TotalCredDeb, Diferenca "
                                                    "FROM tbLancamentoXsaldo WHERE IndDC = ? ORDER BY rowid");

QStringList titulosSaldoFinal()
{
    return {QStringLiteral("Mes"),         QStringLiteral("Ano"),
            QStringLiteral("Conta"),       QStringLiteral("Saldo Final"),
            QStringLiteral("Saldo Final Calculado"), QStringLiteral("Diferença")};
}

QStringList titulosSaldoInicial()
{
    return {QStringLiteral("Mes"),         QStringLiteral("Ano"),
            QStringLiteral("Conta"),       QStringLiteral("Saldo Final Anterior"),
            QStringLiteral("Saldo Inicial"), QStringLiteral("Diferença")};
}

QStringList titulosLancamentosSaldos(const QString& natureza)
{
    return {QStringLiteral("Mes"),
            QStringLiteral("Ano"),
            QStringLiteral("Código da Conta"),
            QStringLiteral("Total de %1 Lançamentos").arg(natureza),
            QStringLiteral("Total de %1 Saldos").arg(natureza),
            QStringLiteral("Diferença")};
}

JanelaResultadoGrade::Contadores contadoresSaldoFinal()
{
    const Geral& g = geral();
    return {&g.gRegLidosSaldoFinal, &g.gRegCorretosSaldoFinal, &g.gRegComErroSaldoFinal, nullptr, QString()};
}

JanelaResultadoGrade::Contadores contadoresSaldoInicial(const QString& nomeFaltantes)
{
    const Geral& g = geral();
    return {&g.gRegLidosSaldoInicial, &g.gRegCorretosSaldoInicial, &g.gRegComErroSaldoInicial,
            &g.gRegFaltantesSaldoInicial, nomeFaltantes};
}

QLabel* rotulo(const QString& nome, QWidget* pai)
{
    auto* l = new QLabel(pai);
    l->setObjectName(nome);
    return l;
}

} // namespace

frmLancamentogeral::frmLancamentogeral(QWidget* parent)
    : JanelaResultado(RelatorioValidacao::RptLancamentosAcumulado, QStringLiteral("Lançamentos Diário Geral"),
                      QStringLiteral("cmdSair"), QStringLiteral("cmdAjuda"), parent)
    , m_lblDebitos(rotulo(QStringLiteral("lblDebitos"), this))
    , m_lblCreditos(rotulo(QStringLiteral("lblCreditos"), this))
    , m_lblTotal(rotulo(QStringLiteral("lblTotal"), this))
{
    definirContextoAjuda(ajuda::frmLancamentogeral);
    conteudo()->addSpacing(12);
    conteudo()->addWidget(m_lblDebitos);
    conteudo()->addWidget(m_lblCreditos);
    conteudo()->addSpacing(12);
    conteudo()->addWidget(m_lblTotal);
    conteudo()->addStretch();
}

void frmLancamentogeral::Form_Load()
{
    const Geral& g = geral();
    m_lblDebitos->setText(QStringLiteral("Total de Débitos no período  R$: ") + g.gTotalDebitos.textoAgrupado());
    m_lblCreditos->setText(QStringLiteral("Total de Créditos no período  R$: ") + g.gTotalCreditos.textoAgrupado());
    m_lblTotal->setText(QStringLiteral("Diferença (Total de Débitos - Total de Créditos)    R$: ")
                        + g.gDiferenca.textoAgrupado());
}

frmSaldoFinalGeral::frmSaldoFinalGeral(QWidget* parent)
    : JanelaResultadoGrade(RelatorioValidacao::RptsaldoFinalGeral, QStringLiteral("Saldo Final Diário Geral"),
                           QStringLiteral("adosaldoinicial"), SqlSaldoFinal, 1, titulosSaldoFinal(), 1,
                           contadoresSaldoFinal(), parent)
{
    definirContextoAjuda(ajuda::frmSaldoFinalGeral);
}

frmSaldoFinalAuxiliar::frmSaldoFinalAuxiliar(QWidget* parent)
    : JanelaResultadoGrade(RelatorioValidacao::rptSaldoFinalAuxliar, QStringLiteral("Saldo Final Diário Auxiliar"),
                           QStringLiteral("adosaldoinicial"), SqlSaldoFinal, 2, titulosSaldoFinal(), 2,
                           contadoresSaldoFinal(), parent)
{
    definirContextoAjuda(ajuda::frmSaldoFinalAuxiliar);
}

frmSaldoInicialGeral::frmSaldoInicialGeral(QWidget* parent)
    : JanelaResultadoGrade(RelatorioValidacao::RptsaldoInicialGeral, QStringLiteral("Saldo Inicial Diário Geral"),
                           QStringLiteral("adosaldoinicial"), SqlSaldoInicial, 1, titulosSaldoInicial(), 1,
                           contadoresSaldoInicial(QStringLiteral("LblFaltantesGeral")), parent)
{
    definirContextoAjuda(ajuda::frmSaldoInicialGeral);
}

FrmSaldoInicialAuxiliar::FrmSaldoInicialAuxiliar(QWidget* parent)
    : JanelaResultadoGrade(RelatorioValidacao::RptSaldoInicialAuxiliar,
                           QStringLiteral("Saldo Inicial Diário Auxiliar"), QStringLiteral("adosaldoinicial"),
                           SqlSaldoInicial, 2, titulosSaldoInicial(), 2,
                           contadoresSaldoInicial(QStringLiteral("LblFaltantesAux")), parent)
{
    definirContextoAjuda(ajuda::FrmSaldoInicialAuxiliar);
}

frmLancamentoSaldoDebito::frmLancamentoSaldoDebito(QWidget* parent)
    : JanelaResultadoGrade(RelatorioValidacao::rptLancSaldosDebito, QString(), QStringLiteral("adolancamentos"),
                           SqlLancamentosSaldos, QStringLiteral("D"), titulosLancamentosSaldos(QStringLiteral("Débitos")),
                           0, std::nullopt, parent)
{
    definirContextoAjuda(ajuda::frmLancamentoSaldoDebito);
}

frmLancamentoSaldoCredito::frmLancamentoSaldoCredito(QWidget* parent)
    : JanelaResultadoGrade(RelatorioValidacao::rptLancSaldosCredito, QString(), QStringLiteral("adolancamentos"),
                           SqlLancamentosSaldos, QStringLiteral("C"),
                           titulosLancamentosSaldos(QStringLiteral("Créditos")), 0, std::nullopt, parent)
{
    definirContextoAjuda(ajuda::frmLancamentoSaldoCredito);
}

QString frmLancamentoSaldoCredito::mensagemSemImpressora() const
{
    return QStringLiteral("Impressora não instalada. Verifique suas configurações.");
}

QString frmLancamentoSaldoCredito::mensagemErroImpressora(int) const
{
    return QStringLiteral("Impressora não instalada. Verifique suas configurações.");
}
