#include "frmDadosContribuinte.h"

#include "BotoesJanela.h"
#include "Geral.h"
#include "platform/CursorEspera.h"
#include "HelpContexts.h"
#include "Servicos.h"

#include "platform/Dialogos.h"

#include <QApplication>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString MascaraCNPJ = QStringLiteral("99.999.999/9999-99;_");
const QString MascaraData = QStringLiteral("99/99/9999;_");

const QString SqlInsere = QStringLiteral(
    "INSERT INTO tbempresariosImportados (INarquivo, CNPJ, periodoinicial, periodofinal, Nome) VALUES (?, ?, ?, ?, ?)");
// What the name test calls numeric: a number in the user's notation or in
// the plain one.
bool ehNumerico(const QString& s)
{
    const QString t = s.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    QLocale().toDouble(t, &ok);
    if (!ok)
        QLocale::c().toDouble(t, &ok);
    return ok;
}

} // namespace

QDate dataDoTexto(const QString& texto)
{
    if (texto.contains(u'_') || texto.size() != 10)
        return {};
    return QDate::fromString(texto, QStringLiteral("dd/MM/yyyy"));
}

FalhaEntrada testaEntradasContribuinte(const EntradasContribuinte& e)
{
    if (e.cnpjDigitos.isEmpty())
        return {QStringLiteral("CNPJ não preenchido."), false, 0};
    if (e.cnpjDigitos.size() < 14)
        return {QStringLiteral("CNPJ inválido."), false, 0};
    if (!Fun_ValidaCNPJ(e.cnpjDigitos))
        return {QStringLiteral("CNPJ inválido."), false, 0};
    const QString nome = e.nome.trimmed();
    if (nome.isEmpty())
        return {QStringLiteral("Nome empresarial não preenchido."), false, 1};
    if (nome.size() < 3 || ehNumerico(nome))
        return {QStringLiteral("Nome empresarial inválido."), false, 1};
    const QDate inicio = dataDoTexto(e.dataInicial);
    if (!inicio.isValid())
        return {QStringLiteral("Data inicial inválida ou ausente."), false, 2};
    const QDate fim = dataDoTexto(e.dataFinal);
    if (!fim.isValid())
        return {QStringLiteral("Data final inválida ou ausente."), false, 3};
    if (inicio.year() != fim.year())
        return {QStringLiteral("Ano final diferente do ano inicial."), false, 3};
    if (fim < inicio)
        return {QStringLiteral("Data final menor que Data inicial."), true, 3};
    if (e.opcao < 0)
        return {QStringLiteral("Selecione a Instrução Normativa."), false, 4};
    if (e.opcao == 0 && fim.year() > 2001)
        return {QStringLiteral("Instrução Normativa não permitida para este exercício."), false, 4};
    return {};
}

frmDadosContribuinte::frmDadosContribuinte(QWidget* parent)
    : Formulario(parent)
{
    setWindowTitle(QStringLiteral("Informar Dados do Contribuinte"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    definirContextoAjuda(ajuda::frmDadosContribuinte);

    auto campo = [this](const QString& nome, const QString& mascara) {
        auto* c = new QLineEdit(this);
        c->setObjectName(nome);
        c->setInputMask(mascara);
        return c;
    };
    maskCNPJ = campo(QStringLiteral("maskCNPJ"), MascaraCNPJ);
    maskCNPJ->installEventFilter(this);
    txtnomeEmp = new QLineEdit(this);
    txtnomeEmp->setObjectName(QStringLiteral("txtnomeEmp"));
    dateinicial = campo(QStringLiteral("dateinicial"), MascaraData);
    DateFinal = campo(QStringLiteral("DateFinal"), MascaraData);
    // Wide enough for every digit plus a spare one (digits outgrow the blanks).
    auto largura = [](QLineEdit* c, const QString& modelo) {
        c->setFixedWidth(c->fontMetrics().horizontalAdvance(modelo) + 2 * c->fontMetrics().averageCharWidth() + 12);
    };
    largura(maskCNPJ, QStringLiteral("00.000.000/0000-00"));
    largura(dateinicial, QStringLiteral("00/00/0000"));
    largura(DateFinal, QStringLiteral("00/00/0000"));

    auto* quadro = new QGroupBox(this);
    quadro->setObjectName(QStringLiteral("fraInstrucao"));
    optADE[0] = new QRadioButton(QStringLiteral("Portaria Talsa 13/1995 (IN SOV 68/95)"), quadro);
    optADE[1] = new QRadioButton(QStringLiteral("ADE Talsa 15/2001(IN SOV 86/01)"), quadro);
    auto* lq = new QVBoxLayout(quadro);
    for (int i = 0; i < 2; ++i) {
        optADE[i]->setObjectName(QStringLiteral("optADE_%1").arg(i));
        optADE[i]->setEnabled(false);
        lq->addWidget(optADE[i]);
    }

    // Enter belongs to the CNPJ field (its lookup), so no button takes it.
    const BotoesOkCancelarAjuda botoes = criaBotoesOkCancelarAjuda(this);
    cmdOk = botoes.cmdOk;
    cmdCancelar = botoes.cmdCancelar;
    cmdAjuda = botoes.cmdAjuda;

    auto* datas = new QHBoxLayout;
    datas->addWidget(dateinicial);
    datas->addSpacing(16);
    datas->addWidget(new QLabel(QStringLiteral("Data Final"), this));
    datas->addWidget(DateFinal);
    datas->addStretch();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("CNPJ"), maskCNPJ);
    form->addRow(QStringLiteral("Nome Empresarial"), txtnomeEmp);
    form->addRow(QStringLiteral("Data Inicial"), datas);

    auto* l = new QVBoxLayout(this);
    l->addLayout(form);
    l->addWidget(quadro);
    l->addLayout(botoes.linha);
    setMinimumWidth(480);

    setTabOrder(maskCNPJ, txtnomeEmp);
    setTabOrder(txtnomeEmp, dateinicial);
    setTabOrder(dateinicial, DateFinal);
    setTabOrder(DateFinal, optADE[0]);
    setTabOrder(optADE[0], optADE[1]);
    setTabOrder(optADE[1], cmdOk);
    setTabOrder(cmdOk, cmdCancelar);
    setTabOrder(cmdCancelar, cmdAjuda);

    auto habilita = [this] {
        optADE[0]->setEnabled(true);
        optADE[1]->setEnabled(true);
    };
    connect(dateinicial, &QLineEdit::textChanged, this, habilita);
    connect(DateFinal, &QLineEdit::textChanged, this, habilita);
    connect(cmdOk, &QPushButton::clicked, this, &frmDadosContribuinte::cmdOk_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmDadosContribuinte::cmdCancelar_Click);
    connect(cmdAjuda, &QPushButton::clicked, this, &Formulario::mostrarAjuda);
}

void frmDadosContribuinte::Form_Load()
{
    voltaAoRegistro();
}

void frmDadosContribuinte::showEvent(QShowEvent* e)
{
    Formulario::showEvent(e);
    maskCNPJ->setFocus();
}

bool frmDadosContribuinte::eventFilter(QObject* o, QEvent* e)
{
    if (o == maskCNPJ) {
        if (e->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(e)->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                maskCNPJ_KeyPress();
                return true;
            }
        } else if (e->type() == QEvent::FocusOut) {
            // Only moving to another control leaves the field; a message box
            // or another application taking the focus does not.
            const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
            if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason)
                maskCNPJ_LostFocus();
        }
    }
    return Formulario::eventFilter(o, e);
}

QString frmDadosContribuinte::digitosCNPJ() const
{
    return soDigitos(maskCNPJ->text());
}

EntradasContribuinte frmDadosContribuinte::entradas() const
{
    EntradasContribuinte e;
    e.cnpjDigitos = digitosCNPJ();
    e.nome = txtnomeEmp->text();
    e.dataInicial = dateinicial->displayText();
    e.dataFinal = DateFinal->displayText();
    e.opcao = optADE[0]->isChecked() ? 0 : optADE[1]->isChecked() ? 1 : -1;
    return e;
}

void frmDadosContribuinte::maskCNPJ_KeyPress()
{
    const QString digitos = digitosCNPJ();
    if (digitos.isEmpty()) {
        dlg::MsgBox(QStringLiteral("CNPJ não preenchido."), dlg::Icone::Critico);
        maskCNPJ->setFocus();
        return;
    }
    if (!Fun_ValidaCNPJ(digitos)) {
        dlg::MsgBox(QStringLiteral("CNPJ inválido"), dlg::Icone::Critico);
        maskCNPJ->setFocus();
        return;
    }
    buscaNome();
}

void frmDadosContribuinte::maskCNPJ_LostFocus()
{
    // Only a whole CNPJ can be registered; a partial one finds nothing.
    if (digitosCNPJ().size() == 14)
        buscaNome();
}

void frmDadosContribuinte::buscaNome()
{
    Geral& g = geral();
    bool achou = false;
    QString nome;
    if (!LER_Cadastrados(maskCNPJ->text().trimmed(), achou, nome)) {
        dlg::MsgBox(g.gMsg);
        return;
    }
    if (achou) {
        g.gRespostaExiste = 6;
        txtnomeEmp->setText(nome);
    }
}

bool frmDadosContribuinte::LER_Cadastrados(const QString& cnpj, bool& achou, QString& nome)
{
    Geral& g = geral();
    achou = false;
    db::Erro e;
    if (g.gConn) {
        db::Consulta q(*g.gConn);
        if (q.preparar(QStringLiteral("SELECT Nome FROM tbempresariosImportados WHERE CNPJ = ?"), &e)
            && q.executar({cnpj}, &e)) {
            if (q.proximo()) {
                achou = true;
                nome = q.valor(0).toString();
            }
            if (!q.falhou())
                return true;
            e = q.erro();
        }
    } else {
        e = {db::ErroBanco, TextoErroAbertura};
    }
    cursorPadrao();
    g.gMsg = textoErro(e, QStringLiteral("LER_Cadastrados"));
    return false;
}

void frmDadosContribuinte::InicializaOpcoes()
{
    Geral& g = geral();
    for (int t = 1; t <= 9; ++t)
        g.gFlagTipo[t] = QStringLiteral("N");
    g.gCNPJ = maskCNPJ->text().trimmed();
    g.gCNPJNumeros = digitosCNPJ();
    g.gPeriodoInicial = dataDoTexto(dateinicial->displayText());
    g.gPeriodoFinal = dataDoTexto(DateFinal->displayText());
    g.gNome = txtnomeEmp->text().trimmed();
}

bool frmDadosContribuinte::fun_Empresarial(bool& existe)
{
    Geral& g = geral();
    existe = false;
    db::Erro e;
    if (g.gConn) {
        db::Transacao t(*g.gConn, &e);
        if (t.ativa()) {
            bool ok = g.gConn->executar(SqlInsere, QVariantList(chaveDeclaracao()) << g.gNome, &e);
            if (!ok && e.numero == db::ErroBanco) {
                // A key conflict: the declaration is registered already.
                db::Erro e2;
                existe = g.gConn->escalar(QStringLiteral("SELECT count(*) FROM tbempresariosImportados") + filtroDeclaracao(),
                                          chaveDeclaracao(), &e2)
                             .toInt()
                    > 0;
                ok = existe;
            }
            if (ok && t.confirmar(&e))
                return true;
        }
    } else {
        e = {db::ErroBanco, TextoErroAbertura};
    }
    cursorPadrao();
    g.gMsg = textoErro(e, QStringLiteral("fun_Empresarial"));
    return false;
}

// Gives the declaration the name typed, in the database gConn is on; a
// database without the declaration's row gets it.
bool frmDadosContribuinte::renomeia(const QString& procedimento)
{
    Geral& g = geral();
    db::Erro e;
    int afetadas = 0;
    if (g.gConn->executar(QStringLiteral("UPDATE tbempresariosImportados SET Nome = ?") + filtroDeclaracao(),
                          QVariantList{g.gNome} << chaveDeclaracao(), &e, &afetadas)
        && (afetadas > 0 || g.gConn->executar(SqlInsere, QVariantList(chaveDeclaracao()) << g.gNome, &e)))
        return true;
    g.gMsg = textoErro(e, procedimento);
    return false;
}

void frmDadosContribuinte::voltaAoRegistro()
{
    Geral& g = geral();
    if (g.gConn)
        g.gConn->fechar();
    if (!AbreBanco(g.gMsg, false, false, g.gErroAbertura))
        dlg::MsgBox(g.gMsg);
}

// Removes the register row this OK inserted (its database could not be made).
void frmDadosContribuinte::desfazRegistro()
{
    Geral& g = geral();
    voltaAoRegistro();
    db::Erro e;
    if (g.gConn && g.gConn->aberta()
        && !g.gConn->executar(QStringLiteral("DELETE FROM tbempresariosImportados") + filtroDeclaracao(), chaveDeclaracao(), &e))
        dlg::MsgBox(textoErro(e, QStringLiteral("cmdOk_Click")), dlg::Icone::Critico);
}

void frmDadosContribuinte::cmdOk_Click()
{
    Geral& g = geral();
    if (const FalhaEntrada f = testaEntradasContribuinte(entradas())) {
        dlg::MsgBox(f.mensagem, f.informacao ? dlg::Icone::Informacao : dlg::Icone::Critico);
        QWidget* campos[] = {maskCNPJ, txtnomeEmp, dateinicial, DateFinal, optADE[0]};
        campos[f.campo]->setFocus();
        return;
    }
    g.gIN = optADE[0]->isChecked() ? 68 : 86;
    InicializaOpcoes();

    if (!g.gConn || !g.gConn->aberta()) {
        // A failed Load: try the register once more before refusing.
        voltaAoRegistro();
        if (!g.gConn || !g.gConn->aberta())
            return;
    }

    // The same CNPJ and period under the other instruction.
    db::Erro e;
    const QVariant outra = g.gConn->escalar(
        QStringLiteral("SELECT count(*) FROM tbempresariosImportados "
                       "WHERE CNPJ = ? AND periodoinicial = ? AND periodofinal = ? AND INarquivo <> ?"),
        {g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal), g.gIN}, &e);
    if (!e.ok()) {
        dlg::MsgBox(textoErro(e, QStringLiteral("cmdOk_Click")));
        return;
    }
    if (outra.toInt() > 0) {
        dlg::MsgBox(QStringLiteral("Este período já está cadastrado para este CNPJ"));
        return;
    }

    bool existe = false;
    if (!fun_Empresarial(existe)) {
        dlg::MsgBox(g.gMsg);
        return;
    }

    if (existe) {
        if (dlg::MsgBox(QStringLiteral("Arquivo já existe. Deseja sobrepor? "), dlg::Icone::Nenhum,
                        dlg::Botoes::SimNao)
            != dlg::RespSim)
            return;
        g.gRespostaExiste = 6;
        if (!renomeia(QStringLiteral("cmdOk_Click"))) {
            dlg::MsgBox(g.gMsg);
            return;
        }
        g.gConn->fechar();
        if (!AbreBanco(g.gMsg, true, false, g.gErroAbertura)) {
            dlg::MsgBox(g.gMsg);
            voltaAoRegistro();
            return;
        }
        // Reports read the name from the declaration's own database.
        if (!renomeia(QStringLiteral("cmdOk_Click"))) {
            dlg::MsgBox(g.gMsg);
            voltaAoRegistro();
            return;
        }
    } else {
        g.gConn->fechar();
        if (!AbreBanco(g.gMsg, true, true, g.gErroAbertura)) {
            dlg::MsgBox(g.gMsg);
            desfazRegistro();
            return;
        }
        bool existeNoBanco = false;
        if (!fun_Empresarial(existeNoBanco)) {
            const QString msg = g.gMsg;
            g.gConn->fechar();
            // The copy was made just now: nothing of the user's is in it.
            QFile::remove(caminhoBancoDeclaracao());
            dlg::MsgBox(msg);
            desfazRegistro();
            return;
        }
    }

    hide();
    if (Formulario* proxima = Formularios::carregar(QStringLiteral("frmContinuaImportacao")))
        Formularios::mostrarModal(proxima);
}

void frmDadosContribuinte::cmdCancelar_Click()
{
    Formularios::descarregar(this);
}
