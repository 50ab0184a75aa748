#pragma once
// Entry totals per account, entry month-year and indicator: what checks 1,
// 4 and 5 need of the general entries. The reload sums them while it loads
// the entries (one pass over the copy); without a reload the checks sum the
// staging table.
#include "platform/Banco.h"
#include "platform/Moeda.h"

#include <QByteArrayView>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace validacao {

struct GrupoLancamento {
    std::string conta;   // trailing blanks removed (UTF-8, as stored)
    std::string data;    // "mmyyyy"
    Moeda debitos, creditos;
    bool temDebito = false, temCredito = false;
    std::string_view mes() const { return std::string_view(data).substr(0, 2); }
};

class ResumoLancamentos {
public:
    // Adds one entry; every indicator other than D is a credit. False when a
    // sum overflows (the summary is then unusable).
    bool somar(QByteArrayView conta, QByteArrayView data, bool debito, Moeda valor);
    // Sorts the groups by account, then month-year; the summary is ready.
    void concluir();
    bool pronto() const { return m_pronto; }
    void limpar();

    Moeda debitos, creditos;
    std::vector<GrupoLancamento> grupos;

private:
    // Account -> its group of each month "01".."12" (-1: none yet); groups of
    // another year of the same month are searched in `outros`.
    struct PorMes {
        int mes[13];
        std::vector<size_t> outros;
    };
    std::unordered_map<std::string, PorMes> m_indice;
    std::string m_chave;
    PorMes* m_ultima = nullptr;   // groups of the last account seen
    bool m_pronto = false;
};

// Sums the general entries' staging table of the declaration in hand into
// `resumo` (ready afterwards). False with the error (a read failure, or 6
// when a sum overflows).
bool somarLancamentos(ResumoLancamentos& resumo, db::Erro& e);

} // namespace validacao
