#include "Servicos.h"

#include "Geral.h"

#include "platform/Dialogos.h"
#include "platform/EspacoDisco.h"
#include "platform/Formularios.h"

#include <QApplication>

namespace {

// Period columns of the detail and status rows.
QVariantList chaveDeclaracao()
{
    const Geral& g = geral();
    return {g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal)};
}

void cursorPadrao()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace

bool GravaDetalhe(qint16 codigoErro)
{
    Geral& g = geral();
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    if (t.ativa()) {
        ++g.gLinhasQuebra;
        if (g.gLinhasQuebra > 38) {
            ++g.gQuebra;
            g.gLinhasQuebra = 0;
        }
        QVariantList p{g.gQuebra};
        p << chaveDeclaracao();
        p.insert(2, g.gTipoArquivo);
        p << static_cast<qint64>(g.gRegLidos) << codigoErro;
        if (g.gConn->executar(QStringLiteral("INSERT INTO tbDetalheErros (Quebra, INarquivo, TipoArquivo, CNPJ, "
                                             "periodoinicial, periodofinal, NroRegistro, CodigoErro) "
                                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                              p, &e)
            && t.confirmar(&e))
            return true;
    }
    cursorPadrao();
    g.gMsg = textoErro(e, QStringLiteral("GravaDetalhe"));
    return false;
}

bool Fun_LerQuantidadeErro(bool& achou, qint32& qtd, qint16 codigoErro)
{
    Geral& g = geral();
    db::Erro e;
    const QVariant v = g.gConn->escalar(
        QStringLiteral("SELECT QuantidadeReg FROM TbErrosImportacao WHERE CodigoErro = ? AND tipoarquivo = ?"),
        {codigoErro, g.gTipoArquivo}, &e);
    if (!e.ok()) {
        cursorPadrao();
        g.gMsg = textoErro(e);
        return false;
    }
    achou = v.isValid();
    qtd = achou ? v.toInt() : 0;
    return true;
}

bool Grava_erro(qint16 codigoErro)
{
    Geral& g = geral();
    if (!GravaDetalhe(codigoErro)) {
        dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
        return true;
    }
    bool achou = false;
    qint32 qtd = 0;
    db::Erro e;
    bool ok = Fun_LerQuantidadeErro(achou, qtd, codigoErro);
    if (ok) {
        db::Transacao t(*g.gConn, &e);
        ok = t.ativa();
        if (ok && achou)
            ok = g.gConn->executar(
                QStringLiteral("UPDATE TbErrosImportacao SET QuantidadeReg = ? WHERE CodigoErro = ? AND tipoarquivo = ?"),
                {qtd + 1, codigoErro, g.gTipoArquivo}, &e);
        else if (ok)
            ok = g.gConn->executar(
                QStringLiteral("INSERT INTO TbErrosImportacao (CNPJ, periodoinicial, periodofinal, tipoarquivo, "
                               "CodigoErro, QuantidadeReg) VALUES (?, ?, ?, ?, ?, 1)"),
                {g.gCNPJ, dataDdmmaaaa(g.gPeriodoInicial), dataDdmmaaaa(g.gPeriodoFinal), g.gTipoArquivo,
                 codigoErro},
                &e);
        ok = ok && t.confirmar(&e);
        if (!ok)
            g.gMsg = textoErro(e, QStringLiteral("Grava_erro"));
    }
    if (ok)
        return true;
    cursorPadrao();
    dlg::MsgBox(g.gMsg, dlg::Icone::Critico);
    if (g.gFormAtivo)
        Formularios::descarregar(g.gFormAtivo.data());
    return false;
}

bool fun_GravaImportados(qint16 situacao, const QVariant& tipo, const QString& arquivoGerado)
{
    Geral& g = geral();
    QString sql = QStringLiteral("UPDATE tbImportados SET Situacao = ?");
    QVariantList p{situacao};
    if (situacao == 100) {
        sql += QStringLiteral(", ArquivoGerado = ?");
        p << arquivoGerado;
    }
    sql += QStringLiteral(" WHERE INarquivo = ? AND CNPJ = ? AND periodoinicial = ? AND periodofinal = ?");
    p << chaveDeclaracao();
    if (tipo.isValid() && !tipo.toString().isEmpty()) {
        sql += QStringLiteral(" AND Tipo = ?");
        p << tipo.toInt();
    }
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    if (t.ativa() && g.gConn->executar(sql, p, &e) && t.confirmar(&e))
        return true;
    cursorPadrao();
    g.gMsg = textoErro(e, QStringLiteral("fun_GravaImportados"));
    return false;
}

QString descricaoTipoArquivo(qint16 tipo, qint16 in)
{
    switch (tipo) {
    case 1: return QStringLiteral("Plano de Contas Diário Geral");
    case 2: return QStringLiteral("Plano de Contas Diário Auxiliar");
    case 3: return in == 86 ? QStringLiteral("Centro de Custos/Despesas") : QStringLiteral("Centro de Custos");
    case 4: return in == 86 ? QString() : QStringLiteral("Centro de Despesas");
    case 5: return QStringLiteral("Histórico Padrão");
    case 6: return QStringLiteral("Lançamentos Diário Geral");
    case 7: return QStringLiteral("Lançamentos Diário Auxiliar");
    case 8: return QStringLiteral("Saldos Diário Geral");
    case 9: return QStringLiteral("Saldos Diário Auxiliar");
    default: return QString();
    }
}

QString Fun_DescricaoTipoArquivo()
{
    return descricaoTipoArquivo(geral().gTipoArquivo, geral().gIN);
}

bool Fun_ValidaCNPJ(const QString& cnpj)
{
    if (cnpj.trimmed() == QLatin1String("00000000000000") || cnpj.size() != 14)
        return false;
    for (QChar c : cnpj)
        if (c < u'0' || c > u'9')
            return false;
    static const char* pesos1 = "543298765432";
    static const char* pesos2 = "654329876543";
    int soma1 = 0, soma2 = 0;
    for (int i = 0; i < 12; ++i) {
        const int d = cnpj[i].digitValue();
        soma1 += d * (pesos1[i] - '0');
        soma2 += d * (pesos2[i] - '0');
    }
    int d1 = (soma1 * 10) % 11;
    if (d1 == 10)
        d1 = 0;
    soma2 += 2 * d1;
    int d2 = (soma2 * 10) % 11;
    if (d2 == 10)
        d2 = 0;
    return cnpj[12].digitValue() == d1 && cnpj[13].digitValue() == d2;
}

bool Fun_VerificaEspacoDisco(int64_t bytes, const QString& pasta)
{
    return espacoLivre(pasta) >= bytes;
}
