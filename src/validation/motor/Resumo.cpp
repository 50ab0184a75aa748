#include "Resumo.h"

#include "Insercao.h"

#include "import/motor/Tabelas.h"
#include "shell/Geral.h"

#include <algorithm>

namespace validacao {

bool ResumoLancamentos::somar(QByteArrayView conta, QByteArrayView data, bool debito, Moeda valor)
{
    while (!conta.isEmpty() && conta.back() == ' ')
        conta.chop(1);
    const std::string_view c(conta.data() ? conta.data() : "", static_cast<size_t>(conta.size()));
    if (!m_ultima || c != m_chave) {
        m_chave.assign(c);
        auto it = m_indice.find(m_chave);
        if (it == m_indice.end()) {
            PorMes novo;
            std::fill(std::begin(novo.mes), std::end(novo.mes), -1);
            it = m_indice.emplace(m_chave, std::move(novo)).first;
        }
        m_ultima = &it->second;
    }
    const std::string_view d(data.data() ? data.data() : "", static_cast<size_t>(data.size()));
    int mes = 0;
    if (d.size() >= 2 && d[0] >= '0' && d[0] <= '1' && d[1] >= '0' && d[1] <= '9')
        mes = (d[0] - '0') * 10 + (d[1] - '0');
    if (mes > 12)
        mes = 0;
    GrupoLancamento* g = nullptr;
    int& slot = m_ultima->mes[mes];
    if (mes > 0 && slot >= 0 && grupos[static_cast<size_t>(slot)].data == d) {
        g = &grupos[static_cast<size_t>(slot)];
    } else {
        for (size_t i : m_ultima->outros)
            if (grupos[i].data == d) {
                g = &grupos[i];
                break;
            }
    }
    if (!g) {
        if (mes > 0 && slot < 0)
            slot = static_cast<int>(grupos.size());
        else
            m_ultima->outros.push_back(grupos.size());
        grupos.push_back(GrupoLancamento{std::string(c), std::string(d), {}, {}, false, false});
        g = &grupos.back();
    }
    (debito ? g->temDebito : g->temCredito) = true;
    return (debito ? g->debitos : g->creditos).somar(valor) && (debito ? debitos : creditos).somar(valor);
}

void ResumoLancamentos::concluir()
{
    m_indice = {};
    m_ultima = nullptr;
    std::sort(grupos.begin(), grupos.end(), [](const GrupoLancamento& a, const GrupoLancamento& b) {
        const int c = a.conta.compare(b.conta);
        return c != 0 ? c < 0 : a.data < b.data;
    });
    m_pronto = true;
}

void ResumoLancamentos::limpar()
{
    *this = ResumoLancamentos{};
}

bool somarLancamentos(ResumoLancamentos& resumo, db::Erro& e)
{
    resumo.limpar();
    Varredura q(*geral().gConn);
    if (!q.preparar(QStringLiteral("SELECT Codconta, DataLanc, upper(IndDc) = 'D', Valor FROM %1")
                        .arg(motor::nomeTabela(motor::TabLancGeral)),
                    e))
        return false;
    while (q.proximo(e)) {
        if (!resumo.somar(q.texto(0), q.texto(1), q.inteiro(2) == 1, Moeda::deUnidades(q.inteiro(3)))) {
            e = db::Erro{6, QStringLiteral("Estouro de capacidade")};
            resumo.limpar();
            return false;
        }
    }
    if (q.falhou())
        return false;
    resumo.concluir();
    return true;
}

} // namespace validacao
