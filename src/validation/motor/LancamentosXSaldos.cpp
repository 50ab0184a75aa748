// Checks 4 and 5: the entries of each account and month against the debit
// and credit movements of the general balances. The entries are summed per
// account, month-year and indicator in one scan; the balance rows are read
// in account and month order; both are merged. The finding rows come out in
// a fixed order (account, month, D before C) within each of the three
// passes: account-months on both sides, entries without a balance row,
// balance rows without entries.
#include "Verificacoes.h"

#include "Insercao.h"
#include "Resumo.h"

#include "import/motor/Tabelas.h"
#include "platform/CursorEspera.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <QVector>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace validacao {

using namespace detalhe;

namespace {

struct LinhaBalanco {
    std::string conta, mes, ano;
    Moeda debitos, creditos;
};

struct Achado {
    int quebra = 0;
    bool debito = false;
    QString mes, ano, conta;
    Moeda lancamentos, movimento, diferenca;
};

std::string texto(QByteArrayView v)
{
    return std::string(v.data() ? v.data() : "", static_cast<size_t>(v.size()));
}

QString qtexto(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Account, then month: the order both sides are merged in.
int comparar(std::string_view contaA, std::string_view mesA, std::string_view contaB, std::string_view mesB)
{
    const int c = contaA.compare(contaB);
    return c != 0 ? c : mesA.compare(mesB);
}

class Comparacao {
public:
    explicit Comparacao(Estado& estado)
        : m_estado(estado)
    {
    }
    bool executar();

private:
    bool lerSaldos(std::vector<LinhaBalanco>& saldos);
    // One comparison; a finding is kept for its pass (0, 1 or 2).
    bool comparar(bool debito, std::string_view data, std::string_view conta, Moeda lanc, Moeda mov, int passo);
    bool escrever(const Achado& a);
    bool falha(const QString& texto)
    {
        cursorPadrao();
        geral().gMsg = texto;
        return false;
    }

    Estado& m_estado;
    std::unique_ptr<Insercao> m_ins;
    ChaveUtf8 m_chave;
    QVector<Achado> m_pendentes[3];   // per pass, in order
    int m_linhas[3] = {0, 0, 0};
    int m_quebra[3] = {0, 0, 0};
    bool m_ultimoDebito = false;
    bool m_escreveu = false;
};

bool Comparacao::lerSaldos(std::vector<LinhaBalanco>& saldos)
{
    const QString proc = QStringLiteral("Saldo_DebitosPorConta");
    db::Erro e;
    Varredura q(*geral().gConn);
    if (!q.preparar(QStringLiteral("SELECT rtrim(Codconta), substr(DataSaldoIni, 3, 2), substr(DataSaldoIni, 5, 4), "
                                   "ValorDebitos, ValorCreditos FROM %1 ORDER BY 1, 2, DataSaldoIni")
                        .arg(motor::nomeTabela(motor::TabSaldosGeral)),
                    e))
        return falha(erroJunto(e.numero, e.descricao, proc));
    while (q.proximo(e))
        saldos.push_back(LinhaBalanco{texto(q.texto(0)), texto(q.texto(1)), texto(q.texto(2)),
                                      Moeda::deUnidades(q.inteiro(3)), Moeda::deUnidades(q.inteiro(4))});
    if (q.falhou())
        return falha(erroJunto(e.numero, e.descricao, proc));
    return true;
}

bool Comparacao::comparar(bool debito, std::string_view data, std::string_view conta, Moeda lanc, Moeda mov,
                          int passo)
{
    Moeda dif = lanc;
    if (!dif.subtrair(mov))
        return false;
    if (!ehDiferenca(dif))
        return true;
    (debito ? m_estado.difDebitos : m_estado.difCreditos) = true;
    Achado a;
    // The balances-only pass keeps every row in page group 0.
    if (passo < 2 && ++m_linhas[passo] > 40) {
        ++m_quebra[passo];
        m_linhas[passo] = 0;
    }
    a.quebra = passo < 2 ? m_quebra[passo] : 0;
    a.debito = debito;
    a.mes = qtexto(data.substr(0, 2));
    a.ano = qtexto(data.substr(std::min<size_t>(2, data.size()), 4));
    a.conta = qtexto(conta).trimmed();
    a.lancamentos = lanc;
    a.movimento = mov;
    a.diferenca = dif;
    m_pendentes[passo].append(a);
    return true;
}

bool Comparacao::escrever(const Achado& a)
{
    db::Erro e;
    m_ins->valor(1, a.quebra).valor(2, a.debito ? QStringLiteral("D") : QStringLiteral("C"));
    chaveEm(*m_ins, m_chave);
    m_ins->valor(6, a.mes).valor(7, a.ano).valor(8, a.conta);
    m_ins->valor(9, a.lancamentos.unidades()).valor(10, a.movimento.unidades()).valor(11, a.diferenca.unidades());
    if (!m_ins->executar(e))
        return falha(textoErro(e, QStringLiteral("fun_GravaLancamentosXsaldo")));
    m_estado.erro = true;
    m_ultimoDebito = a.debito;
    m_escreveu = true;
    return true;
}

bool Comparacao::executar()
{
    Geral& g = geral();
    m_estado.difDebitos = m_estado.difCreditos = false;
    m_chave = chaveUtf8();
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa())
        return falha(textoErro(e));
    m_ins = std::make_unique<Insercao>(*g.gConn);
    if (!m_ins->preparar(QStringLiteral("INSERT INTO tbLancamentoXsaldo (Quebra, IndDC, CNPJ, periodoinicial, "
                                        "periodofinal, Mes, Ano, CodConta, TotalLancamentos, TotalCredDeb, Diferenca) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                         e))
        return falha(textoErro(e, QStringLiteral("fun_GravaLancamentosXsaldo")));
    // The summary of the reload, or the staging table summed now.
    if (!m_estado.lancamentos.pronto() && !somarLancamentos(m_estado.lancamentos, e))
        return falha(erroJunto(e.numero, e.descricao, QStringLiteral("Lanc_DebitosPorConta")));
    const std::vector<GrupoLancamento>& lanc = m_estado.lancamentos.grupos;
    std::vector<LinhaBalanco> saldos;
    if (!lerSaldos(saldos))
        return false;

    size_t i = 0, j = 0;
    bool ok = true;
    while (ok && (i < lanc.size() || j < saldos.size())) {
        int ordem = 0;
        if (i == lanc.size())
            ordem = 1;
        else if (j == saldos.size())
            ordem = -1;
        else
            ordem = validacao::comparar(lanc[i].conta, lanc[i].mes(), saldos[j].conta, saldos[j].mes);
        size_t i2 = i, j2 = j;
        if (ordem <= 0)
            while (i2 < lanc.size() && lanc[i2].conta == lanc[i].conta && lanc[i2].mes() == lanc[i].mes())
                ++i2;
        if (ordem >= 0)
            while (j2 < saldos.size() && saldos[j2].conta == saldos[j].conta && saldos[j2].mes == saldos[j].mes)
                ++j2;
        if (ordem == 0) {
            // Each month-year of the entries against each balance row of the
            // month; an indicator without entries is compared as 0.
            for (size_t s = j; ok && s < j2; ++s)
                for (size_t l = i; ok && l < i2; ++l)
                    ok = comparar(true, lanc[l].data, lanc[l].conta, lanc[l].debitos, saldos[s].debitos, 0)
                        && comparar(false, lanc[l].data, lanc[l].conta, lanc[l].creditos, saldos[s].creditos, 0);
        } else if (ordem < 0) {
            for (size_t l = i; ok && l < i2; ++l) {
                if (lanc[l].temDebito)
                    ok = comparar(true, lanc[l].data, lanc[l].conta, lanc[l].debitos, Moeda(), 1);
                if (ok && lanc[l].temCredito)
                    ok = comparar(false, lanc[l].data, lanc[l].conta, lanc[l].creditos, Moeda(), 1);
            }
        } else {
            for (size_t s = j; ok && s < j2; ++s) {
                const std::string data = saldos[s].mes + saldos[s].ano;
                ok = comparar(true, data, saldos[s].conta, Moeda(), saldos[s].debitos, 2)
                    && comparar(false, data, saldos[s].conta, Moeda(), saldos[s].creditos, 2);
            }
        }
        i = i2;
        j = j2;
        // Pass 1 rows go out as found; the other passes follow it.
        for (const Achado& a : std::as_const(m_pendentes[0]))
            if (ok && !escrever(a))
                return false;
        m_pendentes[0].clear();
    }
    if (!ok)
        return falha(erroJunto(6, QStringLiteral("Estouro de capacidade"), QStringLiteral("fun_ValidasaldosXlancamentos")));
    for (int passo = 1; passo < 3; ++passo)
        for (const Achado& a : std::as_const(m_pendentes[passo]))
            if (!escrever(a))
                return false;
    // The entries file ends with the code of the last row written.
    if (m_escreveu)
        m_estado.situacao[6] = m_ultimoDebito ? 56 : 57;
    if ((m_estado.difDebitos && !gravaSituacao(6, 4, 56, 0, 0, 0, -1, e))
        || (m_estado.difCreditos && !gravaSituacao(6, 5, 57, 0, 0, 0, -1, e)) || !t.confirmar(&e))
        return falha(textoErro(e));
    return true;
}

} // namespace

bool fun_ValidasaldosXlancamentos(Estado& estado)
{
    CursorEspera cursor;
    Comparacao c(estado);
    return c.executar();
}

} // namespace validacao
