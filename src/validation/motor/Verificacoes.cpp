#include "Verificacoes.h"

#include "Insercao.h"

#include "import/motor/Tabelas.h"
#include "platform/CursorEspera.h"
#include "shell/Geral.h"
#include "shell/Servicos.h"

namespace validacao {

using namespace detalhe;

namespace {

const Moeda UmReal = Moeda::deCentavos(100).value_or(Moeda());

Moeda moeda(const QVariant& v)
{
    return Moeda::deUnidades(v.toLongLong());
}

// The balance with its sign: credit balances are negative.
bool comSinal(Moeda valor, const QString& indicador, Moeda& r)
{
    r = Moeda();
    if (indicador.trimmed().toUpper() == QLatin1String("C"))
        return r.subtrair(valor);
    r = valor;
    return true;
}

db::Erro erroEstouro()
{
    return db::Erro{6, QStringLiteral("Estouro de capacidade")};
}

QString mes2(int mes)
{
    return QStringLiteral("%1").arg(mes, 2, 10, QLatin1Char('0'));
}

QString tabelaSaldos(qint16 tipo)
{
    return motor::nomeTabela(tipo == 1 ? motor::TabSaldosGeral : motor::TabSaldosAux);
}

} // namespace

bool ehDiferenca(Moeda diferenca)
{
    return diferenca.abs() >= UmReal;
}

namespace detalhe {

QVariantList chaveResultado()
{
    const Geral& g = geral();
    return {g.gCNPJ, dataIso(g.gPeriodoInicial), dataIso(g.gPeriodoFinal)};
}

ChaveUtf8 chaveUtf8()
{
    const Geral& g = geral();
    return {g.gCNPJ.toUtf8(), dataIso(g.gPeriodoInicial).toUtf8(), dataIso(g.gPeriodoFinal).toUtf8()};
}

void chaveEm(Insercao& ins, const ChaveUtf8& chave)
{
    ins.texto(3, chave.cnpj).texto(4, chave.inicio).texto(5, chave.fim);
}

bool gravaSituacao(int tipoArquivo, int tipoValidacao, int codigo, qint32 lidos, qint32 corretos, qint32 comErro,
                   qint32 faltantes, db::Erro& e)
{
    return geral().gConn->executar(
        QStringLiteral("INSERT INTO tbSituacaoValidacao (TipoArquivo, TipoValidacao, CodigoErro, RegLidos, "
                       "RegCorretos, RegComErro, RegFaltantes) VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {tipoArquivo, tipoValidacao, codigo, lidos, corretos, comErro,
         faltantes < 0 ? QVariant(QMetaType(QMetaType::Int)) : QVariant(faltantes)},
        &e);
}

} // namespace detalhe

// ---- Check 1 ------------------------------------------------------------

bool fun_validaLancamentos(Estado& estado, qint16 tipo)
{
    Geral& g = geral();
    CursorEspera cursor;
    db::Erro e;
    auto falha = [&](const QString& texto) {
        cursorPadrao();
        g.gMsg = texto;
        return false;
    };
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa())
        return falha(erroJunto(e.numero, e.descricao, QStringLiteral("fun_validaLancamentos")));
    // Every indicator other than D counts as a credit.
    if (!estado.lancamentos.pronto() && !somarLancamentos(estado.lancamentos, e))
        return falha(erroJunto(e.numero, e.descricao, QStringLiteral("fun_validaLancamentos")));
    const Moeda debitos = estado.lancamentos.debitos;
    const Moeda creditos = estado.lancamentos.creditos;
    Moeda diferenca = debitos;
    if (!diferenca.subtrair(creditos))
        return falha(erroJunto(6, erroEstouro().descricao, QStringLiteral("fun_validaLancamentos")));
    g.gTotalDebitos = debitos;
    g.gTotalCreditos = creditos;
    g.gDiferenca = diferenca;

    // fun_Gravar_DebCredAcumulado
    if (!g.gConn->executar(QStringLiteral("INSERT INTO tbLancamentosAcumulados (quebra, Tipo, CNPJ, periodoinicial, "
                                          "periodofinal, TotalCreditos, TotalDebitos, Diferenca) "
                                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                           QVariantList{0, tipo} + chaveResultado()
                               + QVariantList{qint64(creditos.unidades()), qint64(debitos.unidades()), qint64(diferenca.unidades())},
                           &e))
        return falha(textoErro(e, QStringLiteral("Fun_Gravar_DebCredAcumulado")));

    if (ehDiferenca(diferenca)) {
        estado.erro = true;
        estado.situacao[6] = 53;
        if (!gravaSituacao(6, 1, 53, 0, 0, 0, -1, e))
            return falha(textoErro(e, QStringLiteral("fun_validaLancamentos")));
    }
    if (!t.confirmar(&e))
        return falha(erroJunto(e.numero, e.descricao, QStringLiteral("fun_validaLancamentos")));
    return true;
}

// ---- Check 2 ------------------------------------------------------------

bool fun_ValidaSaldosMes(Estado& estado, qint16 tipo)
{
    Geral& g = geral();
    const int j = tipo == 1 ? 1 : 2;
    qint32& lidos = g.gRegLidosSaldoFinal[j];
    qint32& corretos = g.gRegCorretosSaldoFinal[j];
    qint32& comErro = g.gRegComErroSaldoFinal[j];
    lidos = corretos = comErro = 0;
    CursorEspera cursor;
    db::Erro e;
    const QString proc = QStringLiteral("fun_ValidaSaldosMes");
    auto falha = [&](const QString& texto) {
        cursorPadrao();
        g.gMsg = texto;
        return false;
    };
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa())
        return falha(erroJunto(e.numero, e.descricao, proc));
    db::Consulta q(*g.gConn);
    if (!q.preparar(QStringLiteral("SELECT Codconta, DataSaldoIni, ValorSaldoIni, ValorSaldoFin, IndDCSaldoIni, "
                                   "ValorDebitos, ValorCreditos, IndDCSaldoFin FROM %1 ORDER BY DataSaldoIni, Codconta")
                        .arg(tabelaSaldos(tipo)),
                    &e)
        || !q.executar(&e))
        return falha(erroJunto(e.numero, e.descricao, proc));
    Insercao ins(*g.gConn);
    if (!ins.preparar(QStringLiteral("INSERT INTO tbSaldoFinal (quebra, Tipo, CNPJ, periodoinicial, periodofinal, Mes, "
                                     "Ano, Conta, SaldoFinal, Saldofinalcalc, Diferenca) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                      e))
        return falha(textoErro(e, QStringLiteral("fun_GravaSaldos")));
    const ChaveUtf8 chave = chaveUtf8();
    int quebra = 0, linhasGrupo = 0;
    bool achou = false;
    while (q.proximo()) {
        achou = true;
        ++lidos;
        Moeda informado, abertura, calculado, diferenca;
        // A balance indicator other than C (blank included) is a debit. The
        // month's movement is taken first (debits minus credits), then the
        // signed opening is added: balances near the limit still fit.
        calculado = moeda(q.valor(5));
        bool ok = comSinal(moeda(q.valor(3)), q.valor(7).toString(), informado)
            && comSinal(moeda(q.valor(2)), q.valor(4).toString(), abertura) && calculado.subtrair(moeda(q.valor(6)))
            && calculado.somar(abertura);
        diferenca = calculado;
        ok = ok && diferenca.subtrair(informado);
        if (!ok)
            return falha(erroJunto(6, erroEstouro().descricao, proc));
        if (!ehDiferenca(diferenca)) {
            ++corretos;
            continue;
        }
        ++comErro;
        // The first page group holds 40 rows, every later one 41.
        if (++linhasGrupo > 40) {
            ++quebra;
            linhasGrupo = 0;
        }
        const QString data = q.valor(1).toString();
        ins.valor(1, quebra).valor(2, tipo);
        chaveEm(ins, chave);
        ins.valor(6, data.mid(2, 2)).valor(7, data.mid(4, 4)).valor(8, q.valor(0).toString().trimmed());
        ins.valor(9, informado.unidades()).valor(10, calculado.unidades()).valor(11, diferenca.unidades());
        if (!ins.executar(e))
            return falha(textoErro(e, QStringLiteral("fun_GravaSaldos")));
    }
    if (q.falhou())
        return falha(erroJunto(q.erro().numero, q.erro().descricao, proc));
    if (!achou) {
        t.desfazer();
        return true;
    }
    const int codigo = comErro > 0 ? 55 : 0;
    if (codigo != 0) {
        estado.erro = true;
        estado.situacao[tipo == 1 ? 8 : 9] = 55;
    }
    if (!gravaSituacao(tipo == 1 ? 8 : 9, 2, codigo, lidos, corretos, comErro, -1, e)
        || !t.confirmar(&e))
        return falha(erroJunto(e.numero, e.descricao, proc));
    return true;
}

// ---- Check 3 ------------------------------------------------------------

namespace {

// Check 3 names itself with labels of its own: "Código Erro: N\r\nMensagem
// Erro: text(fun_validaSaldosPorConta)".
QString erroPorConta(double numero, const QString& descricao)
{
    return QStringLiteral("Código Erro: ") + QString::number(static_cast<qint64>(numero))
        + QStringLiteral("\r\nMensagem Erro: ") + descricao + QStringLiteral("(fun_validaSaldosPorConta)");
}

// One balance row as check 3 reads it.
struct LinhaSaldo {
    QString chave;     // the code, trailing blanks removed: accounts compare so
    QString conta;     // trimmed, as the finding rows show it
    int mes = 0;
    QString ano;
    Moeda abertura;    // signed
    Moeda fechamento;  // signed
};

class Continuidade {
public:
    Continuidade(Estado& estado, qint16 tipo)
        : m_estado(estado)
        , m_tipo(tipo)
        , m_ins(*geral().gConn)
    {
    }

    bool executar();

private:
    bool ler(db::Consulta& q, LinhaSaldo& l);
    bool diferenca(const LinhaSaldo& l, Moeda anterior);   // fun_Saldosdiferenca
    bool falta(int mes, const QString& ano, const QString& conta, Moeda anterior);
    bool cauda(const QString& conta, int mes, const QString& ano, Moeda anterior);
    bool grava(int mes, const QString& ano, const QString& conta, Moeda anterior, Moeda inicial, Moeda dif);
    bool falha(const QString& texto)
    {
        cursorPadrao();
        geral().gMsg = texto;
        return false;
    }

    Estado& m_estado;
    qint16 m_tipo;
    Insercao m_ins;
    ChaveUtf8 m_chave;
    int m_primeiro = 0;
    int m_ultimo = 0;
    qint32 m_lidos = 0, m_corretos = 0, m_comErro = 0, m_faltantes = 0;
};

bool Continuidade::ler(db::Consulta& q, LinhaSaldo& l)
{
    const QString data = q.valor(1).toString();
    const QString codigo = q.valor(0).toString();
    qsizetype fim = codigo.size();
    while (fim > 0 && codigo.at(fim - 1) == u' ')
        --fim;
    l.chave = codigo.left(fim);
    l.conta = codigo.trimmed();
    l.mes = data.mid(2, 2).toInt();
    l.ano = data.mid(4, 4);
    if (!comSinal(moeda(q.valor(2)), q.valor(3).toString(), l.abertura)
        || !comSinal(moeda(q.valor(4)), q.valor(5).toString(), l.fechamento))
        return falha(erroPorConta(6, erroEstouro().descricao));
    return true;
}

bool Continuidade::grava(int mes, const QString& ano, const QString& conta, Moeda anterior, Moeda inicial, Moeda dif)
{
    db::Erro e;
    m_ins.valor(1, 0).valor(2, m_tipo);
    chaveEm(m_ins, m_chave);
    m_ins.valor(6, mes2(mes)).valor(7, ano).valor(8, conta);
    m_ins.valor(9, anterior.unidades()).valor(10, inicial.unidades()).valor(11, dif.unidades());
    if (!m_ins.executar(e))
        return falha(textoErro(e, QStringLiteral("fun_GravaSaldoInicial")));
    m_estado.erroConta = true;
    return true;
}

bool Continuidade::diferenca(const LinhaSaldo& l, Moeda anterior)
{
    Moeda dif = l.abertura;
    if (!dif.subtrair(anterior))
        return falha(erroJunto(6, erroEstouro().descricao, QStringLiteral("fun_Saldosdiferenca")));
    if (!ehDiferenca(dif)) {
        ++m_corretos;
        return true;
    }
    ++m_comErro;
    return grava(l.mes, l.ano, l.conta, anterior, l.abertura, dif);
}

bool Continuidade::falta(int mes, const QString& ano, const QString& conta, Moeda anterior)
{
    Moeda dif;
    if (!dif.subtrair(anterior))
        return falha(erroPorConta(6, erroEstouro().descricao));
    ++m_faltantes;
    return grava(mes, ano, conta, anterior, Moeda(), dif);
}

// The months after the last row of an account up to the end of the period,
// each carrying the account's last closing balance.
bool Continuidade::cauda(const QString& conta, int mes, const QString& ano, Moeda anterior)
{
    if (anterior.zero() || mes > m_ultimo)
        return true;
    for (int m = mes + 1; m <= m_ultimo; ++m)
        if (m != m_primeiro && !falta(m, ano, conta, anterior))
            return false;
    return true;
}

bool Continuidade::executar()
{
    Geral& g = geral();
    const int j = m_tipo == 1 ? 1 : 2;
    g.gRegLidosSaldoInicial[j] = g.gRegCorretosSaldoInicial[j] = g.gRegComErroSaldoInicial[j] =
        g.gRegFaltantesSaldoInicial[j] = 0;
    m_estado.erroConta = false;
    m_chave = chaveUtf8();
    m_primeiro = g.gPeriodoInicial.month();
    m_ultimo = g.gPeriodoFinal.month();
    db::Erro e;
    db::Transacao t(*g.gConn, &e);
    if (!t.ativa())
        return falha(erroPorConta(e.numero, e.descricao));
    if (!m_ins.preparar(QStringLiteral("INSERT INTO tbSaldoInicial (quebra, Tipo, CNPJ, periodoinicial, periodofinal, "
                                       "Mes, Ano, Conta, SaldofinalAnt, SaldoInicial, Diferenca) "
                                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                        e))
        return falha(textoErro(e, QStringLiteral("fun_GravaSaldoInicial")));
    db::Consulta q(*g.gConn);
    if (!q.preparar(QStringLiteral("SELECT Codconta, DataSaldoIni, ValorSaldoIni, IndDCSaldoIni, ValorSaldoFin, "
                                   "IndDCSaldoFin FROM %1 "
                                   "ORDER BY rtrim(Codconta), substr(DataSaldoIni, 3, 2), substr(DataSaldoIni, 5, 4)")
                        .arg(tabelaSaldos(m_tipo)),
                    &e)
        || !q.executar(&e))
        return falha(erroPorConta(e.numero, e.descricao));

    LinhaSaldo l;
    if (q.proximo()) {
        if (!ler(q, l))
            return false;
        QString chave = l.chave, conta = l.conta, ano = l.ano;
        int mes = l.mes;
        Moeda anterior;
        bool ha = true;
        if (l.mes == m_primeiro) {
            ++m_lidos;
            ++m_corretos;
            anterior = l.fechamento;
            if (!q.proximo())
                ha = false;
            else if (!ler(q, l))
                return false;
        }
        // Otherwise the first row is compared with 0 as a continuation.
        while (ha) {
            ++m_lidos;
            if (l.chave == chave) {
                while (mes < l.mes) {
                    ++mes;
                    if (mes < l.mes && !anterior.zero() && !falta(mes, ano, conta, anterior))
                        return false;
                }
                if (mes == l.mes) {
                    if (!diferenca(l, anterior))
                        return false;
                    anterior = l.fechamento;
                }
            } else {
                if (!cauda(conta, mes, ano, anterior))
                    return false;
                if (l.mes > m_primeiro) {
                    if (!diferenca(l, Moeda()))
                        return false;
                    anterior = l.fechamento;
                } else {
                    ++m_corretos;
                    if (l.mes == m_primeiro)
                        anterior = l.fechamento;
                }
                chave = l.chave;
                conta = l.conta;
            }
            mes = l.mes;
            ano = l.ano;
            if (!q.proximo())
                break;
            if (!ler(q, l))
                return false;
        }
        // The last account's tail, as every other account's.
        if (!q.falhou() && !cauda(conta, mes, ano, anterior))
            return false;
    }
    if (q.falhou())
        return falha(erroPorConta(q.erro().numero, q.erro().descricao));

    g.gRegLidosSaldoInicial[j] = m_lidos;
    g.gRegCorretosSaldoInicial[j] = m_corretos;
    g.gRegComErroSaldoInicial[j] = m_comErro;
    g.gRegFaltantesSaldoInicial[j] = m_faltantes;
    int codigo = 0;
    if (m_estado.erroConta) {
        m_estado.erro = true;
        codigo = 54;
        m_estado.situacao[m_tipo == 1 ? 8 : 9] = 54;
    }
    if (!gravaSituacao(m_tipo == 1 ? 8 : 9, 3, codigo, m_lidos, m_corretos, m_comErro, m_faltantes, e)
        || !t.confirmar(&e))
        return falha(erroPorConta(e.numero, e.descricao));
    return true;
}

} // namespace

bool fun_validaSaldosPorConta(Estado& estado, qint16 tipo)
{
    CursorEspera cursor;
    Continuidade c(estado, tipo);
    return c.executar();
}

} // namespace validacao
