// Checks 4 and 5: the entries of each account and month against the debit
// and credit movements of the general balances. Both sides are read once,
// ordered by account and month, and merged; the finding rows come out in a
// fixed order (account, month, D before C) within each of the three passes:
// account-months on both sides, entries without a balance row, balance rows
// without entries.
#include "Verificacoes.h"

#include "Insercao.h"

#include "import/motor/Tabelas.h"
#include "platform/CursorEspera.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

#include <QVector>

#include <memory>

namespace validacao {

using namespace detalhe;

namespace {

// Entry totals of one account, entry month-year and indicator.
struct GrupoLancamento {
    QString dataLanc;   // "mmyyyy"
    bool debito = false;
    Moeda total;
};

struct LinhaBalanco {
    QString ano;
    Moeda debitos;
    Moeda creditos;
};

// One account-month of one side.
struct Bloco {
    QString conta;
    QString mes;
    QVector<GrupoLancamento> lancamentos;
    QVector<LinhaBalanco> saldos;
};

struct Achado {
    int quebra = 0;
    bool debito = false;
    QString mes, ano, conta;
    Moeda lancamentos, movimento, diferenca;
};

// Reads consecutive rows with the same account and month into a block.
class Lado {
public:
    Lado(db::Consulta& q, bool lancamentos)
        : m_q(q)
        , m_lancamentos(lancamentos)
    {
    }
    // Starts reading; false on a read failure.
    bool iniciar() { return avancarLinha(); }
    bool fim() const { return !m_temLinha; }
    bool falhou() const { return m_q.falhou(); }
    const QString& conta() const { return m_conta; }
    const QString& mes() const { return m_mes; }
    bool proximoBloco(Bloco& b)
    {
        b = Bloco{m_conta, m_mes, {}, {}};
        while (m_temLinha && m_conta == b.conta && m_mes == b.mes) {
            if (m_lancamentos)
                b.lancamentos.append({m_q.valor(1).toString(), m_q.valor(2).toString() == QLatin1String("D"),
                                      Moeda::deUnidades(m_q.valor(3).toLongLong())});
            else
                b.saldos.append({m_q.valor(2).toString(), Moeda::deUnidades(m_q.valor(3).toLongLong()),
                                 Moeda::deUnidades(m_q.valor(4).toLongLong())});
            if (!avancarLinha())
                return false;
        }
        return true;
    }

private:
    bool avancarLinha()
    {
        m_temLinha = m_q.proximo();
        if (!m_temLinha)
            return !m_q.falhou();
        m_conta = m_q.valor(0).toString();
        m_mes = m_lancamentos ? m_q.valor(1).toString().left(2) : m_q.valor(1).toString();
        return true;
    }
    db::Consulta& m_q;
    bool m_lancamentos;
    bool m_temLinha = false;
    QString m_conta, m_mes;
};

class Comparacao {
public:
    explicit Comparacao(Estado& estado)
        : m_estado(estado)
    {
    }
    bool executar();

private:
    // One comparison; a finding is written (pass 1) or kept (passes 2, 3).
    bool comparar(bool debito, const QString& dataLanc, const QString& conta, Moeda lanc, Moeda mov, int passo);
    bool escrever(const Achado& a);
    bool falha(const QString& texto)
    {
        cursorPadrao();
        geral().gMsg = texto;
        return false;
    }

    Estado& m_estado;
    std::unique_ptr<Insercao> m_ins;
    QVariantList m_chave;
    QVector<Achado> m_pendentes[3];   // per pass, in order
    int m_linhas[3] = {0, 0, 0};
    int m_quebra[3] = {0, 0, 0};
    bool m_ultimoDebito = false;
    bool m_escreveu = false;
};

bool Comparacao::comparar(bool debito, const QString& dataLanc, const QString& conta, Moeda lanc, Moeda mov,
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
    a.mes = dataLanc.left(2);
    a.ano = dataLanc.mid(2, 4);
    a.conta = conta.trimmed();
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
    m_chave = chaveResultado();
    db::Erro e;
    auto erroDe = [&](const db::Erro& x, const QString& proc) {
        return falha(erroJunto(x.numero, x.descricao, proc));
    };
    const QString lancProc = QStringLiteral("Lanc_DebitosPorConta");
    const QString saldoProc = QStringLiteral("Saldo_DebitosPorConta");
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa())
        return falha(textoErro(e));
    m_ins = std::make_unique<Insercao>(*g.gConn);
    if (!m_ins->preparar(QStringLiteral("INSERT INTO tbLancamentoXsaldo (Quebra, IndDC, CNPJ, periodoinicial, "
                                        "periodofinal, Mes, Ano, CodConta, TotalLancamentos, TotalCredDeb, Diferenca) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                         e))
        return falha(textoErro(e, QStringLiteral("fun_GravaLancamentosXsaldo")));
    // Entry totals per account, month-year and indicator (not D counts as C).
    db::Consulta ql(*g.gConn);
    if (!ql.preparar(QStringLiteral("SELECT rtrim(Codconta), DataLanc, "
                                    "CASE WHEN upper(IndDc) = 'D' THEN 'D' ELSE 'C' END, sum(Valor) "
                                    "FROM %1 GROUP BY 1, 2, 3 ORDER BY 1, 2, 3")
                         .arg(motor::nomeTabela(motor::TabLancGeral)),
                     &e)
        || !ql.executar(&e))
        return erroDe(e, lancProc);
    db::Consulta qs(*g.gConn);
    if (!qs.preparar(QStringLiteral("SELECT rtrim(Codconta), substr(DataSaldoIni, 3, 2), substr(DataSaldoIni, 5, 4), "
                                    "ValorDebitos, ValorCreditos FROM %1 ORDER BY 1, 2, DataSaldoIni")
                         .arg(motor::nomeTabela(motor::TabSaldosGeral)),
                     &e)
        || !qs.executar(&e))
        return erroDe(e, saldoProc);

    Lado lanc(ql, true), saldo(qs, false);
    if (!lanc.iniciar())
        return erroDe(ql.erro(), lancProc);
    if (!saldo.iniciar())
        return erroDe(qs.erro(), saldoProc);
    Bloco bl, bs;
    while (!lanc.fim() || !saldo.fim()) {
        int ordem = 0;
        if (lanc.fim())
            ordem = 1;
        else if (saldo.fim())
            ordem = -1;
        else {
            ordem = QString::compare(lanc.conta(), saldo.conta());
            if (ordem == 0)
                ordem = QString::compare(lanc.mes(), saldo.mes());
        }
        if (ordem <= 0 && !lanc.proximoBloco(bl))
            return erroDe(ql.erro(), lancProc);
        if (ordem >= 0 && !saldo.proximoBloco(bs))
            return erroDe(qs.erro(), saldoProc);
        bool ok = true;
        if (ordem == 0) {
            for (const LinhaBalanco& s : std::as_const(bs.saldos)) {
                // Each month-year of the entries against the balance row.
                for (qsizetype i = 0; ok && i < bl.lancamentos.size();) {
                    const QString& data = bl.lancamentos.at(i).dataLanc;
                    Moeda deb, cred;
                    for (; i < bl.lancamentos.size() && bl.lancamentos.at(i).dataLanc == data; ++i)
                        (bl.lancamentos.at(i).debito ? deb : cred) = bl.lancamentos.at(i).total;
                    ok = comparar(true, data, bl.conta, deb, s.debitos, 0)
                        && comparar(false, data, bl.conta, cred, s.creditos, 0);
                }
            }
        } else if (ordem < 0) {
            for (qsizetype i = 0; ok && i < bl.lancamentos.size();) {
                const QString& data = bl.lancamentos.at(i).dataLanc;
                const GrupoLancamento* deb = nullptr;
                const GrupoLancamento* cred = nullptr;
                for (; i < bl.lancamentos.size() && bl.lancamentos.at(i).dataLanc == data; ++i)
                    (bl.lancamentos.at(i).debito ? deb : cred) = &bl.lancamentos.at(i);
                if (deb)
                    ok = comparar(true, data, bl.conta, deb->total, Moeda(), 1);
                if (ok && cred)
                    ok = comparar(false, data, bl.conta, cred->total, Moeda(), 1);
            }
        } else {
            for (const LinhaBalanco& s : std::as_const(bs.saldos)) {
                const QString data = bs.mes + s.ano;
                ok = ok && comparar(true, data, bs.conta, Moeda(), s.debitos, 2)
                    && comparar(false, data, bs.conta, Moeda(), s.creditos, 2);
            }
        }
        if (!ok)
            return falha(erroJunto(6, QStringLiteral("Estouro de capacidade"), QStringLiteral("fun_ValidasaldosXlancamentos")));
        // Pass 1 rows go out as found; the other passes follow it.
        for (const Achado& a : std::as_const(m_pendentes[0]))
            if (!escrever(a))
                return false;
        m_pendentes[0].clear();
    }
    for (int passo = 1; passo < 3; ++passo)
        for (const Achado& a : std::as_const(m_pendentes[passo]))
            if (!escrever(a))
                return false;
    // The entries file ends with the code of the last row written.
    if (m_escreveu && !fun_GravaImportados(m_ultimoDebito ? 56 : 57, 6, QString()))
        return falha(g.gMsg);
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
