#include "Servicos.h"

#include "Geral.h"

#include "platform/CursorEspera.h"
#include "platform/Dialogos.h"
#include "platform/EspacoDisco.h"
#include "platform/Formularios.h"

#include <QApplication>

namespace {

// The shared connection; an unopened one when none was made yet, so the
// statements fail with an error instead of touching a null pointer.
db::Conexao& conexao()
{
    Geral& g = geral();
    if (!g.gConn)
        g.gConn = std::make_unique<db::Conexao>();
    return *g.gConn;
}

// A short transaction of its own, or the caller's when one is already open
// (a run may batch its writes): nesting is not possible on one connection,
// and the caller's transaction is the caller's to end.
class TransacaoCurta {
public:
    TransacaoCurta(db::Conexao& c, db::Erro* e)
        : m_c(c)
        , m_propria(!c.emTransacao())
    {
        m_ativa = m_propria ? m_c.iniciarTransacao(e) : m_c.aberta();
        if (!m_ativa && !m_propria && e)
            *e = db::Erro{db::ErroBanco, db::TextoNaoAberto};
    }
    ~TransacaoCurta()
    {
        if (m_propria && m_ativa)
            m_c.desfazer();
    }
    TransacaoCurta(const TransacaoCurta&) = delete;
    TransacaoCurta& operator=(const TransacaoCurta&) = delete;
    bool ativa() const { return m_ativa; }
    bool confirmar(db::Erro* e)
    {
        if (!m_ativa)
            return false;
        if (!m_propria)
            return true;
        if (!m_c.confirmar(e))
            return false;
        m_ativa = false;
        return true;
    }

private:
    db::Conexao& m_c;
    bool m_propria;
    bool m_ativa = false;
};

MedidorEspaco& medidor()
{
    static MedidorEspaco m;
    return m;
}

} // namespace

QVariantList chaveDeclaracao(PeriodoComo periodo)
{
    const Geral& g = geral();
    if (periodo == PeriodoComo::Ddmmaaaa)
        return {g.gIN, g.gCNPJ, dataDdmmaaaa(g.gPeriodoInicial), dataDdmmaaaa(g.gPeriodoFinal)};
    return {g.gIN, g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal)};
}

QString condicaoDeclaracao(const QString& tabela)
{
    const QString p = tabela.isEmpty() ? QString() : tabela + u'.';
    return QStringLiteral("%1INarquivo = ? AND %1CNPJ = ? AND %1periodoinicial = ? AND %1periodofinal = ?").arg(p);
}

QString filtroDeclaracao()
{
    return QStringLiteral(" WHERE ") + condicaoDeclaracao();
}

bool GravaDetalhe(qint16 codigoErro)
{
    Geral& g = geral();
    db::Erro e;
    TransacaoCurta t(conexao(), &e);
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
    const QVariant v = conexao().escalar(
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
        TransacaoCurta t(conexao(), &e);
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
    sql += filtroDeclaracao();
    p << chaveDeclaracao();
    if (tipo.isValid() && !tipo.toString().isEmpty()) {
        sql += QStringLiteral(" AND Tipo = ?");
        p << tipo.toInt();
    }
    db::Erro e;
    TransacaoCurta t(conexao(), &e);
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
    const int64_t livre = medidor() ? medidor()(pasta) : espacoLivre(pasta);
    return livre >= bytes;
}

void definirMedidorEspaco(MedidorEspaco m)
{
    medidor() = std::move(m);
}
