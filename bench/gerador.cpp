// tobri-gerador: writes a large, realistic declaration (charts, code tables,
// journal entries, monthly balances) in the standard fixed-width layouts, so
// the import can be measured on millions of records. Output is deterministic
// for a seed: every file has its own random stream, so a file is the same
// whichever other files are asked for.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using u64 = std::uint64_t;
using i64 = std::int64_t;

[[noreturn]] void falhar(const std::string& texto)
{
    std::fprintf(stderr, "tobri-gerador: %s\n", texto.c_str());
    std::exit(2);
}

// splitmix64: the same numbers on every platform and library.
struct Rng {
    u64 s;
    Rng(u64 semente, u64 fluxo) : s(semente * 0x9E3779B97F4A7C15ull + (fluxo + 1) * 0xD1B54A32D192ED03ull) {}
    u64 proximo()
    {
        u64 z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    u64 abaixo(u64 n) { return n ? proximo() % n : 0; }
    bool chance(unsigned pct) { return abaixo(100) < pct; }
};

// UTF-8 source text to Windows-1252 (only Latin-1 letters are used here).
std::string cp1252(std::string_view s)
{
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0xC2 && c <= 0xC3 && i + 1 < s.size()) {
            r += static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F));
            ++i;
        } else {
            r += static_cast<char>(c);
        }
    }
    return r;
}

std::string zeros(u64 v, int largura)
{
    std::string s = std::to_string(v);
    if (static_cast<int>(s.size()) < largura)
        s.insert(0, static_cast<size_t>(largura) - s.size(), '0');
    return s;
}

int digitos(u64 v)
{
    int n = 1;
    while (v >= 10) { v /= 10; ++n; }
    return n;
}

// ---- dates (days since 1970-01-01, proleptic Gregorian)
i64 diasDeData(int a, int m, int d)
{
    a -= m <= 2;
    const i64 era = (a >= 0 ? a : a - 399) / 400;
    const unsigned ae = static_cast<unsigned>(a - era * 400);
    const unsigned dda = (153u * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned dde = ae * 365 + ae / 4 - ae / 100 + dda;
    return era * 146097 + static_cast<i64>(dde) - 719468;
}

void dataDeDias(i64 z, int& a, int& m, int& d)
{
    z += 719468;
    const i64 era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned dde = static_cast<unsigned>(z - era * 146097);
    const unsigned ae = (dde - dde / 1460 + dde / 36524 - dde / 146096) / 365;
    const unsigned dda = dde - (365 * ae + ae / 4 - ae / 100);
    const unsigned mp = (5 * dda + 2) / 153;
    d = static_cast<int>(dda - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    a = static_cast<int>(static_cast<i64>(ae) + era * 400 + (m <= 2));
}

std::string ddmmaaaa(i64 dias)
{
    int a, m, d;
    dataDeDias(dias, a, m, d);
    return zeros(static_cast<u64>(d), 2) + zeros(static_cast<u64>(m), 2) + zeros(static_cast<u64>(a), 4);
}

bool lerData(const std::string& s, i64& dias)
{
    if (s.size() != 10 || s[2] != '/' || s[5] != '/')
        return false;
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (s[static_cast<size_t>(i)] < '0' || s[static_cast<size_t>(i)] > '9')
            return false;
    const int d = std::atoi(s.substr(0, 2).c_str()), m = std::atoi(s.substr(3, 2).c_str());
    const int a = std::atoi(s.substr(6, 4).c_str());
    if (m < 1 || m > 12 || d < 1 || a < 1900)
        return false;
    dias = diasDeData(a, m, d);
    int a2, m2, d2;
    dataDeDias(dias, a2, m2, d2);
    return a2 == a && m2 == m && d2 == d;
}

// ---- standard layouts (positions 1-based, widths in bytes)
struct Campo {
    int pos = 0, tam = 0;
};

struct Leiaute {
    int tamanho = 0;
    Campo data, tabela, codigo, tipoConta, totalizadora, descricao;                          // charts, tables
    Campo conta, valor, indDC, contrapartida, numLanc, custo, despesa, histPad, historico, arquivamento; // entries
    Campo saldoIni, indIni, debitos, creditos, saldoFin, indFin;                             // balances
};

Leiaute leiaute(int in, int tipo)
{
    Leiaute l;
    if (tipo <= 5 && in == 68) {
        l.tamanho = 89;
        l.data = {1, 8}; l.tabela = {9, 3}; l.codigo = {12, 28}; l.descricao = {40, 50};
    } else if (tipo <= 2) {
        l.tamanho = 115;
        l.data = {1, 8}; l.codigo = {9, 28}; l.tipoConta = {37, 1}; l.totalizadora = {38, 28}; l.descricao = {66, 50};
    } else if (tipo == 3) {
        l.tamanho = 86;
        l.data = {1, 8}; l.codigo = {9, 28}; l.descricao = {37, 50};
    } else if (tipo <= 7 && in == 68) {
        l.tamanho = 328;
        l.data = {1, 8}; l.conta = {9, 28}; l.valor = {37, 17}; l.indDC = {54, 1}; l.contrapartida = {55, 28};
        l.numLanc = {83, 12}; l.custo = {95, 28}; l.despesa = {123, 28}; l.histPad = {151, 28}; l.historico = {179, 150};
    } else if (tipo <= 7) {
        l.tamanho = 284;
        l.data = {1, 8}; l.conta = {9, 28}; l.custo = {37, 28}; l.contrapartida = {65, 28}; l.valor = {93, 17};
        l.indDC = {110, 1}; l.numLanc = {111, 12}; l.arquivamento = {123, 12}; l.historico = {135, 150};
    } else {
        l.tamanho = 106;
        l.data = {1, 8}; l.conta = {9, 28}; l.saldoIni = {37, 17}; l.indIni = {54, 1}; l.debitos = {55, 17};
        l.creditos = {72, 17}; l.saldoFin = {89, 17}; l.indFin = {106, 1};
    }
    return l;
}

// Error codes each record test can raise for a file type.
std::vector<int> codigosPossiveis(int in, int tipo)
{
    if (tipo <= 5 && in == 68) return {3, 4, 5, 6, 12, 27, 49};
    if (tipo == 1) return {1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 48, 49};
    if (tipo == 2) return {5, 6, 7, 8, 9, 10, 11, 12, 27, 48, 49};
    if (tipo == 3) return {5, 6, 12, 27, 49};
    if (tipo <= 7 && in == 68) return {26, 27, 28, 30, 33, 34, 35, 36, 37, 39, 40, 42, 43, 49};
    if (tipo == 6) return {26, 27, 28, 30, 31, 32, 33, 34, 35, 36, 37, 38, 41, 44, 49};
    if (tipo == 7) return {26, 27, 28, 30, 31, 33, 34, 35, 36, 37, 38, 41, 44, 49};
    if (tipo == 8 && in == 86) return {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 49};
    return {13, 14, 15, 16, 17, 19, 20, 21, 22, 23, 24, 25, 49};
}

// One fixed-width record, blank-filled.
struct Registro {
    std::string b;
    void limpar(int tamanho) { b.assign(static_cast<size_t>(tamanho), ' '); }
    char* em(Campo c) { return b.data() + c.pos - 1; }
    void texto(Campo c, std::string_view s)
    {
        std::memset(em(c), ' ', static_cast<size_t>(c.tam));
        std::memcpy(em(c), s.data(), std::min(s.size(), static_cast<size_t>(c.tam)));
    }
    void numero(Campo c, u64 v)
    {
        char* p = em(c) + c.tam;
        for (int i = 0; i < c.tam; ++i) { *--p = static_cast<char>('0' + v % 10); v /= 10; }
        if (v) falhar("valor grande demais para o campo");
    }
    void encher(Campo c, char ch) { std::memset(em(c), ch, static_cast<size_t>(c.tam)); }
};

struct Mutacao {
    u64 registro; // 0-based record index in its file
    int codigo;
};

// The order of a shuffled file of n records: position j holds record
// ordem[j] of the file as generated. The same for a seed, type and count.
std::vector<std::uint32_t> permutacao(u64 semente, int tipo, u64 n)
{
    if (n > 0xffffffffull) falhar("arquivo grande demais para embaralhar");
    std::vector<std::uint32_t> ordem(static_cast<size_t>(n));
    for (u64 i = 0; i < n; ++i) ordem[static_cast<size_t>(i)] = static_cast<std::uint32_t>(i);
    Rng rng(semente, 100 + static_cast<u64>(tipo));
    for (u64 i = n; i > 1; --i)
        std::swap(ordem[static_cast<size_t>(i - 1)], ordem[static_cast<size_t>(rng.abaixo(i))]);
    return ordem;
}

// Buffered writer of one file; applies the seeded errors as records pass.
// Shuffled (embaralhar), the records are written in generated order and then
// rewritten in the order of permutacao().
class Arquivo {
public:
    Arquivo(const std::string& caminho, std::vector<Mutacao> erros, bool embaralhar = false, u64 semente = 0,
            int tipo = 0)
        : m_caminho(caminho), m_erros(std::move(erros)), m_embaralhar(embaralhar), m_semente(semente), m_tipo(tipo)
    {
        m_f = std::fopen(caminho.c_str(), "wb");
        if (!m_f) falhar("não foi possível criar " + caminho + ": " + std::strerror(errno));
        m_buf.reserve(1 << 20);
    }
    ~Arquivo() { fechar(); }
    u64 registros() const { return m_n; }
    // Next record gets the error code returned (0: none).
    int erroDoProximo() const { return m_prox < m_erros.size() && m_erros[m_prox].registro == m_n ? m_erros[m_prox].codigo : 0; }
    void gravar(const Registro& r)
    {
        if (erroDoProximo()) ++m_prox;
        m_tamanho = r.b.size() + 2;
        m_buf.append(r.b);
        m_buf.append("\r\n");
        ++m_n;
        if (m_buf.size() >= (1u << 20) - 400) descarregar();
    }
    void fechar()
    {
        if (!m_f) return;
        descarregar();
        if (std::fclose(m_f) != 0) falhar("erro ao fechar " + m_caminho);
        m_f = nullptr;
        if (m_embaralhar && m_n > 1) embaralhar();
    }

private:
    void embaralhar()
    {
        const std::string gerado = m_caminho + ".gerado";
        if (std::rename(m_caminho.c_str(), gerado.c_str()) != 0) falhar("erro ao renomear " + m_caminho);
        const int fd = ::open(gerado.c_str(), O_RDONLY);
        if (fd < 0) falhar("erro ao abrir " + gerado);
        const size_t bytes = static_cast<size_t>(m_n) * m_tamanho;
        void* mapa = ::mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE, fd, 0);
        ::close(fd);
        if (mapa == MAP_FAILED) falhar("erro ao ler " + gerado);
        const char* base = static_cast<const char*>(mapa);
        m_f = std::fopen(m_caminho.c_str(), "wb");
        if (!m_f) falhar("não foi possível criar " + m_caminho + ": " + std::strerror(errno));
        for (const std::uint32_t i : permutacao(m_semente, m_tipo, m_n)) {
            m_buf.append(base + static_cast<size_t>(i) * m_tamanho, m_tamanho);
            if (m_buf.size() >= (1u << 20) - 400) descarregar();
        }
        descarregar();
        ::munmap(mapa, bytes);
        if (std::fclose(m_f) != 0) falhar("erro ao fechar " + m_caminho);
        m_f = nullptr;
        std::remove(gerado.c_str());
    }

    void descarregar()
    {
        if (!m_buf.empty() && std::fwrite(m_buf.data(), 1, m_buf.size(), m_f) != m_buf.size())
            falhar("erro ao gravar " + m_caminho + ": " + std::strerror(errno));
        m_buf.clear();
    }
    std::string m_caminho;
    std::vector<Mutacao> m_erros;
    size_t m_prox = 0;
    FILE* m_f = nullptr;
    std::string m_buf;
    u64 m_n = 0;
    size_t m_tamanho = 0;   // bytes per record, CR LF included
    bool m_embaralhar;
    u64 m_semente;
    int m_tipo;
};

// A code no chart or table holds (roots start at 1).
constexpr std::string_view Inexistente = "0.000.INEXISTENTE";

struct Conta {
    std::string codigo, descricao;
    int pai = -1;        // index in the chart
    bool analitica = false;
};

struct Opcoes {
    int in = 0;
    std::string cnpj = "99.999.999/9999-99";
    i64 inicio = 0, fim = -1;
    u64 contas = 1000, contasAux = 0, lancamentos = 10000, lancamentosAux = 0, centros = 20, semente = 1;
    bool contasAuxDadas = false, lancAuxDados = false;
    bool embaralhar = false;   // records in a shuffled order instead of the generated one
    std::string saida;
    std::vector<int> tipos;
    std::vector<std::string> erros;
    u64 errosCada = 0;
    u64 saldosContas = 0;   // accounts with balances (0: every analytic account)
};

struct Declaracao {
    Opcoes o;
    std::vector<Conta> plano;           // general chart in file order
    std::vector<int> analiticas;        // indexes of analytic accounts, chart order
    std::vector<Conta> aux;             // auxiliary chart
    std::vector<std::string> custos, despesas, historicos; // codes
    std::vector<std::string> descCustos, descDespesas, descHistoricos;
    std::vector<std::string> diaTexto;  // ddmmyyyy per day of the period
    std::vector<int> mesDoDia;          // month index per day
    std::vector<std::string> aberturaMes; // date of each month's opening balance
    std::string vespera;                // the day before the period
    std::map<int, std::vector<Mutacao>> erros; // per file type, sorted
};

const char* const NomesRaiz[] = {"ATIVO", "PASSIVO", "PATRIMÔNIO LÍQUIDO", "RECEITAS", "CUSTOS E DESPESAS"};
const std::vector<std::vector<const char*>> NomesGrupo = {
    {"Ativo Circulante", "Ativo Não Circulante", "Realizável a Longo Prazo", "Investimentos", "Imobilizado", "Intangível"},
    {"Passivo Circulante", "Passivo Não Circulante", "Obrigações Trabalhistas", "Obrigações Tributárias"},
    {"Capital Social", "Reservas de Lucros", "Lucros ou Prejuízos Acumulados", "Ajustes de Avaliação Patrimonial"},
    {"Receita Bruta de Vendas", "Receitas Financeiras", "Outras Receitas Operacionais", "Deduções da Receita"},
    {"Custo das Mercadorias Vendidas", "Despesas Administrativas", "Despesas com Pessoal", "Despesas Financeiras"}};
const char* const NomesSubgrupo[] = {"Disponibilidades", "Contas a Receber", "Estoques", "Tributos a Recuperar",
    "Despesas Antecipadas", "Fornecedores", "Empréstimos e Financiamentos", "Provisões", "Salários e Encargos",
    "Serviços Contratados", "Ocupação", "Veículos", "Comunicação"};
const char* const NomesAnalitica[] = {"Caixa Geral", "Banco Conta Movimento", "Clientes a Receber", "Fornecedores Nacionais",
    "Adiantamento a Funcionários", "ICMS a Recuperar", "Depreciação Acumulada", "Salários a Pagar", "FGTS a Recolher",
    "Receita de Vendas de Mercadorias", "Energia Elétrica", "Aluguéis", "Telefone e Internet", "Material de Escritório",
    "Serviços de Terceiros", "Juros Passivos", "Comissões sobre Vendas", "Manutenção e Reparos", "Fretes e Carretos",
    "Seguros", "Propaganda e Publicidade", "Férias a Pagar", "13º Salário a Pagar", "Aplicações Financeiras"};
const char* const NomesAux[] = {"Cliente", "Fornecedor", "Filial", "Projeto", "Contrato", "Funcionário"};
const char* const NomesCusto[] = {"Administração", "Produção", "Vendas", "Logística", "Manutenção",
    "Tecnologia da Informação", "Recursos Humanos", "Financeiro", "Compras", "Qualidade"};
const char* const NomesHistorico[] = {"Pagamento a fornecedor", "Recebimento de cliente", "Depósito bancário",
    "Transferência entre contas", "Pagamento de salários", "Provisão de férias", "Apropriação de juros",
    "Venda de mercadorias", "Compra de mercadorias", "Tarifas bancárias", "Depreciação do período",
    "Recolhimento de tributos"};
// Two unsigned arguments each (document, complement).
const char* const ModelosHistorico[] = {"Pagamento da NF nº %06u a fornecedor, conforme documento %u",
    "Recebimento de cliente ref. duplicata %06u/%u", "Transferência entre contas - lote %06u, remessa %u",
    "Provisão de férias e 13º salário - ref. %06u, folha %u", "Venda de mercadorias conforme NF nº %06u, série %u",
    "Depreciação do período - bem patrimonial nº %06u, grupo %u",
    "Tarifas bancárias do extrato nº %06u, agência %u", "Apropriação de juros s/ empréstimo contrato %06u-%u"};

template <size_t N>
std::string nome(const char* const (&lista)[N], u64 i)
{
    return cp1252(lista[i % N]);
}

// Chart: five roots, groups, subgroups and the analytic accounts under them,
// written parent first. `contas` is the number of analytic accounts.
void montarPlano(Declaracao& d)
{
    const u64 L = d.o.contas;
    const u64 s3 = std::max((L + 24) / 25, std::min<u64>(L, 5)), s2 = std::max((s3 + 4) / 5, std::min<u64>(s3, 5));
    const u64 s1 = std::min<u64>(5, s2);
    const int w2 = std::max(2, digitos((s2 + s1 - 1) / s1)), w3 = std::max(3, digitos((s3 + s2 - 1) / s2));
    const int w4 = std::max(4, digitos((L + s3 - 1) / s3));
    for (u64 r = 0; r < s1; ++r) {
        const int ir = static_cast<int>(d.plano.size());
        d.plano.push_back({std::to_string(r + 1), cp1252(NomesRaiz[r]), -1, false});
        for (u64 j = r; j < s2; j += s1) {
            const int ij = static_cast<int>(d.plano.size());
            const auto& grupos = NomesGrupo[r];
            std::string dg = cp1252(grupos[(j / s1) % grupos.size()]);
            if (j / s1 >= grupos.size()) dg += " " + std::to_string(j / s1 + 1);
            d.plano.push_back({d.plano[static_cast<size_t>(ir)].codigo + "." + zeros(j / s1 + 1, w2), dg, ir, false});
            for (u64 k = j; k < s3; k += s2) {
                const int ik = static_cast<int>(d.plano.size());
                std::string cod = d.plano[static_cast<size_t>(ij)].codigo + "." + zeros(k / s2 + 1, w3);
                d.plano.push_back({cod, nome(NomesSubgrupo, k) + " " + cod, ij, false});
                for (u64 i = k; i < L; i += s3) {
                    const u64 n = d.analiticas.size();
                    d.analiticas.push_back(static_cast<int>(d.plano.size()));
                    d.plano.push_back({cod + "." + zeros(i / s3 + 1, w4), nome(NomesAnalitica, n) + " " + zeros(n + 1, 6), ik, true});
                }
            }
        }
    }
    // Auxiliary accounts hang under analytic accounts spread over the chart.
    const u64 K = d.o.contasAux;
    for (u64 i = 0; i < K; ++i) {
        const u64 t = K <= L ? i * L / K : i % L, seq = K <= L ? 1 : i / L + 1;
        const int pai = d.analiticas[t];
        d.aux.push_back({d.plano[static_cast<size_t>(pai)].codigo + "." + zeros(seq, 3),
                         nome(NomesAux, i) + " " + zeros(i + 1, 6), pai, true});
    }
    for (const auto* v : {&d.plano, &d.aux})
        for (const Conta& c : *v)
            if (c.codigo.size() >= 28) falhar("plano grande demais para códigos de 28 posições");
    for (u64 i = 0; i < d.o.centros; ++i) {
        d.custos.push_back("CC" + zeros(i + 1, 4));
        d.descCustos.push_back("Centro de Custos " + nome(NomesCusto, i) + " " + zeros(i + 1, 4));
        d.despesas.push_back("CD" + zeros(i + 1, 4));
        d.descDespesas.push_back("Centro de Despesas " + nome(NomesCusto, i + 3) + " " + zeros(i + 1, 4));
    }
    const u64 H = std::max<u64>(12, d.o.centros);
    for (u64 i = 0; i < H; ++i) {
        d.historicos.push_back(zeros(i + 1, 3));
        d.descHistoricos.push_back(nome(NomesHistorico, i));
    }
}

void montarCalendario(Declaracao& d)
{
    int a0, m0, d0;
    dataDeDias(d.o.inicio, a0, m0, d0);
    int mesAnterior = -1, ultimo = -1;
    for (i64 dia = d.o.inicio; dia <= d.o.fim; ++dia) {
        int a, m, dd;
        dataDeDias(dia, a, m, dd);
        const int mes = (a - a0) * 12 + (m - m0);
        if (mes != mesAnterior) {
            d.aberturaMes.push_back(ddmmaaaa(dia)); // first day of the month, or the period start
            ultimo = static_cast<int>(d.aberturaMes.size()) - 1;
            mesAnterior = mes;
        }
        d.diaTexto.push_back(ddmmaaaa(dia));
        d.mesDoDia.push_back(ultimo);
    }
    d.vespera = ddmmaaaa(d.o.inicio - 1);
}

// ---- error seeding
u64 registrosDoTipo(const Declaracao& d, int tipo)
{
    const u64 meses = d.aberturaMes.size();
    switch (tipo) {
    case 1: return d.plano.size();
    case 2: return d.aux.size();
    case 3: case 4: return d.custos.size();
    case 5: return d.historicos.size();
    case 6: return d.o.lancamentos;
    case 7: return d.o.lancamentosAux;
    case 8: return (d.o.saldosContas ? std::min<u64>(d.o.saldosContas, d.analiticas.size()) : d.analiticas.size()) * meses;
    default: return (d.o.saldosContas ? std::min<u64>(d.o.saldosContas, d.aux.size()) : d.aux.size()) * meses;
    }
}

// Records an error can be seeded in without touching anything else: chart
// errors go to analytic accounts (no children lose their totalizing account),
// duplicates copy the record before them.
bool elegivel(const Declaracao& d, int tipo, int codigo, u64 r)
{
    if (tipo == 1) {
        if (!d.plano[r].analitica) return false;
        return codigo != 12 || (r > 0 && d.plano[r - 1].analitica);
    }
    if (tipo <= 5) return codigo != 12 || r > 0;
    if (tipo == 8) return codigo != 25 || r % d.analiticas.size() != 0;
    if (tipo == 9) return codigo != 25 || r % d.aux.size() != 0;
    return true;
}

constexpr u64 Nenhum = ~u64{0};

// The record a duplicate copies; it must stay good, or it is never stored and
// the copy raises nothing.
u64 modeloDoErro(const Declaracao& d, int tipo, int codigo, u64 r)
{
    if (codigo == 12) return r - 1;
    if (codigo == 25) return r - r % (tipo == 8 ? d.analiticas.size() : d.aux.size());
    return Nenhum;
}

void sortearErros(Declaracao& d)
{
    std::map<int, std::map<int, u64>> pedidos; // tipo -> codigo -> quantidade
    auto podeLevantar = [&](int tipo, int codigo) {
        auto c = codigosPossiveis(d.o.in, tipo);
        return std::find(c.begin(), c.end(), codigo) != c.end();
    };
    for (const std::string& e : d.o.erros) {
        int tipo = 0, codigo = 0;
        unsigned long long qtd = 0;
        int usados = 0;
        if (std::sscanf(e.c_str(), "%d/%d:%llu%n", &tipo, &codigo, &qtd, &usados) == 3 && usados == static_cast<int>(e.size())) {
            if (std::find(d.o.tipos.begin(), d.o.tipos.end(), tipo) == d.o.tipos.end() || !podeLevantar(tipo, codigo))
                falhar("o tipo " + std::to_string(tipo) + " não é gerado ou não levanta o erro " + std::to_string(codigo));
            pedidos[tipo][codigo] += qtd;
        } else if (std::sscanf(e.c_str(), "%d:%llu%n", &codigo, &qtd, &usados) == 2 && usados == static_cast<int>(e.size())) {
            bool algum = false;
            for (int t : d.o.tipos)
                if (podeLevantar(t, codigo)) { pedidos[t][codigo] += qtd; algum = true; }
            if (!algum) falhar("nenhum tipo gerado levanta o erro " + std::to_string(codigo));
        } else {
            falhar("erro mal formado: " + e + " (use CODIGO:QTD ou TIPO/CODIGO:QTD)");
        }
    }
    if (d.o.errosCada)
        for (int t : d.o.tipos)
            for (int c : codigosPossiveis(d.o.in, t)) pedidos[t][c] += d.o.errosCada;

    for (auto& [tipo, porCodigo] : pedidos) {
        const u64 n = registrosDoTipo(d, tipo);
        Rng rng(d.o.semente, 100 + static_cast<u64>(tipo));
        std::unordered_set<u64> usados;
        std::vector<Mutacao> lista;
        for (auto& [codigo, qtd] : porCodigo) {
            u64 falta = qtd, tentativas = 0;
            auto tomar = [&](u64 r) {
                const u64 m = modeloDoErro(d, tipo, codigo, r);
                if (!elegivel(d, tipo, codigo, r) || usados.count(r) || (m != Nenhum && usados.count(m))) return;
                usados.insert(r);
                if (m != Nenhum) usados.insert(m); // kept good
                lista.push_back({r, codigo});
                --falta;
            };
            while (falta && n && ++tentativas <= 64 * (qtd + 16)) tomar(rng.abaixo(n));
            if (falta) { // dense request: go through the remaining records in random order
                std::vector<u64> livres;
                for (u64 r = 0; r < n; ++r)
                    if (elegivel(d, tipo, codigo, r) && !usados.count(r)) livres.push_back(r);
                for (u64 i = 0; i < livres.size() && falta; ++i) {
                    std::swap(livres[i], livres[i + rng.abaixo(livres.size() - i)]);
                    tomar(livres[i]);
                }
                if (falta)
                    falhar("o tipo " + std::to_string(tipo) + " não tem registros para " + std::to_string(qtd) +
                           " erros " + std::to_string(codigo));
            }
        }
        std::sort(lista.begin(), lista.end(), [](const Mutacao& a, const Mutacao& b) { return a.registro < b.registro; });
        d.erros[tipo] = std::move(lista);
    }
}

std::string caminho(const Declaracao& d, int tipo)
{
    return d.o.saida + "/tipo" + std::to_string(tipo) + ".txt";
}

// Invalid-date text for a record dated ddmmyyyy: day 32.
std::string diaInvalido(const char* data)
{
    return "32" + std::string(data + 2, 6);
}

// ---- charts and code tables (types 1 to 5)
void gerarTabela(const Declaracao& d, int tipo)
{
    const Leiaute l = leiaute(d.o.in, tipo);
    Arquivo arq(caminho(d, tipo), d.erros.count(tipo) ? d.erros.at(tipo) : std::vector<Mutacao>{}, d.o.embaralhar,
                d.o.semente, tipo);
    const std::string& data = d.diaTexto.front();
    const std::string tabela = zeros(tipo <= 2 ? 1 : static_cast<u64>(tipo), 3);
    const std::vector<Conta>* contas = tipo == 1 ? &d.plano : tipo == 2 ? &d.aux : nullptr;
    const std::vector<std::string>* codigos = tipo == 3 ? &d.custos : tipo == 4 ? &d.despesas : &d.historicos;
    const std::vector<std::string>* descricoes = tipo == 3 ? &d.descCustos : tipo == 4 ? &d.descDespesas : &d.descHistoricos;
    const u64 n = registrosDoTipo(d, tipo);
    // A second analytic account, for a totalizing account of the wrong type.
    const std::string& outraA = d.plano[static_cast<size_t>(d.analiticas.size() > 1 ? d.analiticas[1] : d.analiticas[0])].codigo;
    Registro r;
    std::string anterior;
    for (u64 i = 0; i < n; ++i) {
        r.limpar(l.tamanho);
        r.texto(l.data, data);
        if (l.tabela.tam) r.texto(l.tabela, tabela);
        std::string codigo, tot, desc, tipoConta;
        if (contas) {
            const Conta& c = (*contas)[i];
            codigo = c.codigo;
            desc = c.descricao;
            tipoConta = c.analitica ? "A" : "S";
            if (c.pai >= 0) tot = d.plano[static_cast<size_t>(c.pai)].codigo;
        } else {
            codigo = (*codigos)[i];
            desc = (*descricoes)[i];
        }
        r.texto(l.codigo, codigo);
        r.texto(l.descricao, desc);
        if (l.tipoConta.tam) {
            r.texto(l.tipoConta, tipoConta);
            r.texto(l.totalizadora, tot);
        }
        switch (arq.erroDoProximo()) {
        case 1: case 27: r.texto(l.data, diaInvalido(data.c_str())); break;
        case 2: r.texto(l.data, "00000000"); break;
        case 3: r.texto(l.tabela, ""); break;
        case 4: r.texto(l.tabela, "002"); break;
        case 5: r.texto(l.codigo, ""); break;
        case 6: r.texto(l.descricao, ""); break;
        case 7: r.texto(l.tipoConta, ""); break;
        case 8: r.texto(l.tipoConta, tipo == 1 ? "X" : "S"); break;
        case 9: r.texto(l.totalizadora, ""); break;
        case 10: r.texto(l.totalizadora, Inexistente); break;
        case 11: r.texto(l.totalizadora, tipo == 1 ? (outraA == codigo ? d.plano[static_cast<size_t>(d.analiticas[0])].codigo : outraA)
                                                  : d.plano.front().codigo); break;
        case 12: r.texto(l.codigo, anterior); break;
        case 48: r.texto(l.totalizadora, codigo); break;
        case 49: r.em(l.codigo)[l.codigo.tam - 1] = '\0'; break;
        default: break;
        }
        anterior = codigo;
        arq.gravar(r);
    }
}

// ---- journal entries and balances (types 6+8 on the general chart, 7+9 on the auxiliary one)
struct Familia {
    int tipoLanc, tipoSaldo;
    std::vector<const std::string*> contas; // accounts that carry entries
    u64 registros;
};

void gerarLancamentos(const Declaracao& d, const Familia& f, bool gravarLanc, bool gravarSaldos)
{
    const bool in68 = d.o.in == 68;
    const u64 K = f.contas.size(), M = f.registros, D = d.diaTexto.size(), meses = d.aberturaMes.size();
    const Leiaute ll = leiaute(d.o.in, f.tipoLanc), ls = leiaute(d.o.in, f.tipoSaldo);
    std::unique_ptr<Arquivo> lanc, saldos;
    auto errosDe = [&](int t) { return d.erros.count(t) ? d.erros.at(t) : std::vector<Mutacao>{}; };
    if (gravarLanc)
        lanc = std::make_unique<Arquivo>(caminho(d, f.tipoLanc), errosDe(f.tipoLanc), d.o.embaralhar, d.o.semente,
                                         f.tipoLanc);
    if (gravarSaldos)
        saldos = std::make_unique<Arquivo>(caminho(d, f.tipoSaldo), errosDe(f.tipoSaldo), d.o.embaralhar,
                                           d.o.semente, f.tipoSaldo);

    std::vector<i64> saldo(K, 0), deb(K, 0), cred(K, 0);
    { // opening balances of the period, summing to zero
        Rng rng(d.o.semente, static_cast<u64>(f.tipoSaldo));
        i64 soma = 0;
        for (u64 a = 0; a + 1 < K; ++a) {
            if (!rng.chance(50)) continue;
            const i64 v = static_cast<i64>(100 + rng.abaixo(100000000));
            saldo[a] = rng.chance(50) ? v : -v;
            soma += saldo[a];
        }
        saldo[K - 1] = -soma;
    }
    Registro r;
    const std::string& primeira = *f.contas[0];
    const std::string& sintetica = d.plano.front().codigo;
    auto fecharMes = [&](u64 m) {
        for (u64 a = 0; a < K; ++a) {
            const i64 ini = saldo[a], fim = ini + deb[a] - cred[a];
            saldo[a] = fim;
            // With --saldos-contas N, N accounts spread evenly over the chart.
            const u64 N = d.o.saldosContas;
            const bool comSaldo = N == 0 || N >= K || (a + 1) * N / K != a * N / K;
            if (saldos && comSaldo) {
                r.limpar(ls.tamanho);
                r.texto(ls.data, d.aberturaMes[m]);
                r.texto(ls.conta, *f.contas[a]);
                r.numero(ls.saldoIni, static_cast<u64>(ini < 0 ? -ini : ini));
                r.texto(ls.indIni, ini < 0 ? "C" : "D");
                r.numero(ls.debitos, static_cast<u64>(deb[a]));
                r.numero(ls.creditos, static_cast<u64>(cred[a]));
                r.numero(ls.saldoFin, static_cast<u64>(fim < 0 ? -fim : fim));
                r.texto(ls.indFin, fim < 0 ? "C" : "D");
                switch (saldos->erroDoProximo()) {
                case 13: r.texto(ls.data, diaInvalido(d.aberturaMes[m].c_str())); break;
                case 14: r.texto(ls.data, "00000000"); break;
                case 15: r.texto(ls.data, d.vespera); break;
                case 16: r.texto(ls.conta, ""); break;
                case 17: r.texto(ls.conta, Inexistente); break;
                case 18: r.texto(ls.conta, sintetica); break;
                case 19: r.em(ls.saldoIni)[0] = 'X'; break;
                case 20: r.texto(ls.indIni, "X"); break;
                case 21: r.em(ls.debitos)[0] = 'X'; break;
                case 22: r.em(ls.creditos)[0] = 'X'; break;
                case 23: r.em(ls.saldoFin)[0] = 'X'; break;
                case 24: r.texto(ls.indFin, "X"); break;
                case 25: r.texto(ls.conta, primeira); break;
                case 49: r.em(ls.conta)[ls.conta.tam - 1] = '\0'; break;
                default: break;
                }
                saldos->gravar(r);
            }
            deb[a] = cred[a] = 0;
        }
    };

    Rng rng(d.o.semente, static_cast<u64>(f.tipoLanc));
    const u64 quentes = std::max<u64>(1, K / 100); // a few accounts (cash, banks) take many entries
    auto sortearConta = [&]() { return rng.chance(30) ? rng.abaixo(quentes) * (K / quentes) : rng.abaixo(K); };
    std::vector<std::string> modelos;
    for (const char* m : ModelosHistorico) modelos.push_back(cp1252(m));
    std::vector<char> histBuf(200);
    u64 feitos = 0, numero = 0, mes = 0;
    u64 contasGrupo[4];
    i64 valores[4];
    while (feitos < M) {
        u64 g = 2;
        const u64 sorteio = rng.abaixo(100);
        if (sorteio >= 95) g = 4; else if (sorteio >= 80) g = 3;
        const u64 resto = M - feitos; // never 1: no entry has a single record
        if (resto <= 4) g = resto;
        else if (resto - g == 1) g = 3;
        const u64 nDeb = g == 2 ? 1 : g == 3 ? 1 + rng.abaixo(2) : 1 + rng.abaixo(3);
        const u64 dia = feitos * D / M;
        while (static_cast<u64>(d.mesDoDia[dia]) > mes) fecharMes(mes++);
        ++numero;
        for (u64 k = 0; k < g; ++k) {
            u64 c = sortearConta();
            auto repetida = [&](u64 x) { return std::find(contasGrupo, contasGrupo + k, x) != contasGrupo + k; };
            for (int tent = 0; tent < 8 && repetida(c); ++tent) c = sortearConta();
            contasGrupo[k] = c;
        }
        // Total of the entry, 1,00 to 9.999.999,99, split over each side.
        const u64 base = [&] { u64 b = 100; for (u64 e = rng.abaixo(6); e; --e) b *= 10; return b; }();
        const i64 total = static_cast<i64>(base + rng.abaixo(9 * base));
        auto repartir = [&](u64 de, u64 n) {
            i64 falta = total;
            for (u64 k = 0; k + 1 < n; ++k) {
                const i64 media = falta / static_cast<i64>(n - k);
                i64 v = media / 2 + static_cast<i64>(rng.abaixo(static_cast<u64>(media) + 1));
                v = std::clamp<i64>(v, 1, falta - static_cast<i64>(n - k - 1));
                valores[de + k] = v;
                falta -= v;
            }
            valores[de + n - 1] = falta;
        };
        repartir(0, nDeb);
        repartir(nDeb, g - nDeb);
        const bool comCusto = rng.chance(35), comDespesa = rng.chance(25), comHistPad = rng.chance(70);
        const bool comTexto = !comHistPad || rng.chance(50);
        const u64 custo = rng.abaixo(d.custos.size()), despesa = rng.abaixo(d.despesas.size());
        const u64 hist = rng.abaixo(d.historicos.size()), modelo = rng.abaixo(std::size(ModelosHistorico));
        const unsigned doc = static_cast<unsigned>(1 + rng.abaixo(999999)), compl_ = static_cast<unsigned>(1 + rng.abaixo(999));
        for (u64 k = 0; k < g; ++k) {
            const bool debito = k < nDeb;
            const u64 a = contasGrupo[k];
            (debito ? deb : cred)[a] += valores[k];
            if (!lanc) continue;
            const std::string& conta = *f.contas[a];
            const std::string& contra = *f.contas[contasGrupo[debito ? nDeb : 0]];
            r.limpar(ll.tamanho);
            r.texto(ll.data, d.diaTexto[dia]);
            r.texto(ll.conta, conta);
            r.numero(ll.valor, static_cast<u64>(valores[k]));
            r.texto(ll.indDC, debito ? "D" : "C");
            r.texto(ll.contrapartida, contra);
            r.numero(ll.numLanc, numero);
            if (comCusto) r.texto(ll.custo, d.custos[custo]);
            const int n = std::snprintf(histBuf.data(), histBuf.size(), modelos[modelo].c_str(), doc, compl_);
            const std::string_view texto(histBuf.data(), static_cast<size_t>(std::max(0, n)));
            if (in68) {
                if (comDespesa) r.texto(ll.despesa, d.despesas[despesa]);
                if (comHistPad) r.texto(ll.histPad, d.historicos[hist]);
                if (comTexto) r.texto(ll.historico, texto);
            } else {
                r.numero(ll.arquivamento, numero / 5 + 1);
                r.texto(ll.historico, texto);
            }
            switch (lanc->erroDoProximo()) {
            case 26: r.texto(ll.data, "00000000"); break;
            case 27: r.texto(ll.data, diaInvalido(d.diaTexto[dia].c_str())); break;
            case 28: r.texto(ll.data, d.vespera); break;
            case 30: r.texto(ll.conta, ""); break;
            case 31: r.texto(ll.conta, Inexistente); break;
            case 32: r.texto(ll.conta, sintetica); break;
            case 33: r.em(ll.valor)[0] = 'X'; break;
            case 34: r.encher(ll.valor, '0'); break;
            case 35: r.texto(ll.indDC, ""); break;
            case 36: r.texto(ll.indDC, "X"); break;
            case 37: r.texto(ll.contrapartida, Inexistente); break;
            case 38: r.texto(ll.contrapartida, sintetica); break;
            case 39: case 41: r.texto(ll.custo, Inexistente); break;
            case 40: r.texto(ll.despesa, Inexistente); break;
            case 42: r.texto(ll.histPad, Inexistente); break;
            case 43: r.texto(ll.histPad, ""); r.texto(ll.historico, ""); break;
            case 44: r.texto(ll.historico, ""); break;
            case 49: r.em(ll.conta)[ll.conta.tam - 1] = '\0'; break;
            default: break;
            }
            lanc->gravar(r);
        }
        feitos += g;
    }
    while (mes < meses) fecharMes(mes++);
}

const char* const Uso =
    "uso: tobri-gerador --in 68|86 --inicio dd/mm/aaaa --fim dd/mm/aaaa --saida PASTA\n"
    "       [--cnpj CNPJ] [--contas N] [--contas-aux N] [--centros N]\n"
    "       [--lancamentos M] [--lancamentos-aux M] [--tipos 1,6,8] [--seed S]\n"
    "       [--erros COD:QTD,TIPO/COD:QTD,...] [--erros-cada N] [--saldos-contas N]\n"
    "       [--embaralhar]\n"
    "Escreve PASTA/tipoN.txt (leiautes padrão, Windows-1252, CR LF) e, com erros,\n"
    "PASTA/erros.txt (tipo;registro;codigo). --contas é o número de contas analíticas\n"
    "(o plano acrescenta os níveis sintéticos); --lancamentos é o número de registros;\n"
    "--saldos-contas limita os saldos a N contas analíticas espalhadas pelo plano;\n"
    "--embaralhar grava os registros de cada arquivo em ordem aleatória (a mesma\n"
    "para a mesma semente), e erros.txt dá a posição de cada um no arquivo gravado.\n"
    "Observações: o erro 12 no plano geral da IN 86 marca também o registro repetido;\n"
    "o erro 48 no plano auxiliar traz também o 10; um erro num plano ou tabela esvazia\n"
    "a tabela importada e os arquivos seguintes passam a errar por falta de referências;\n"
    "embaralhado, um registro repetido (12, 25) pode vir antes do seu original, que\n"
    "então leva o erro em seu lugar.\n";

u64 numeroOpcao(const std::string& nomeOpcao, const char* v)
{
    char* fim = nullptr;
    errno = 0;
    const unsigned long long n = std::strtoull(v, &fim, 10);
    if (!*v || *fim || errno || *v == '-') falhar("valor inválido para " + nomeOpcao + ": " + v);
    return n;
}

Opcoes lerOpcoes(int argc, char** argv)
{
    Opcoes o;
    auto separar = [](const std::string& s) {
        std::vector<std::string> partes;
        size_t i = 0;
        while (i <= s.size()) {
            const size_t j = std::min(s.find(',', i), s.size());
            if (j > i) partes.push_back(s.substr(i, j - i));
            i = j + 1;
        }
        return partes;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help") { std::fputs(Uso, stdout); std::exit(0); }
        if (a == "--embaralhar") { o.embaralhar = true; continue; }
        if (i + 1 >= argc) falhar("falta o valor de " + a + "\n" + Uso);
        const char* v = argv[++i];
        if (a == "--in") o.in = static_cast<int>(numeroOpcao(a, v));
        else if (a == "--cnpj") o.cnpj = v;
        else if (a == "--inicio") { if (!lerData(v, o.inicio)) falhar(std::string("data inválida: ") + v); }
        else if (a == "--fim") { if (!lerData(v, o.fim)) falhar(std::string("data inválida: ") + v); }
        else if (a == "--contas") o.contas = numeroOpcao(a, v);
        else if (a == "--contas-aux") { o.contasAux = numeroOpcao(a, v); o.contasAuxDadas = true; }
        else if (a == "--centros") o.centros = numeroOpcao(a, v);
        else if (a == "--lancamentos") o.lancamentos = numeroOpcao(a, v);
        else if (a == "--lancamentos-aux") { o.lancamentosAux = numeroOpcao(a, v); o.lancAuxDados = true; }
        else if (a == "--seed") o.semente = numeroOpcao(a, v);
        else if (a == "--saida") o.saida = v;
        else if (a == "--erros-cada") o.errosCada = numeroOpcao(a, v);
        else if (a == "--saldos-contas") o.saldosContas = numeroOpcao(a, v);
        else if (a == "--erros") { for (auto& e : separar(v)) o.erros.push_back(e); }
        else if (a == "--tipos") { for (auto& t : separar(v)) o.tipos.push_back(static_cast<int>(numeroOpcao(a, t.c_str()))); }
        else falhar("opção desconhecida: " + a + "\n" + Uso);
    }
    if (o.in != 68 && o.in != 86) falhar(std::string("--in deve ser 68 ou 86\n") + Uso);
    if (o.saida.empty()) falhar(std::string("falta --saida\n") + Uso);
    if (o.fim < o.inicio) falhar("período inválido (faltam --inicio e --fim, ou o fim vem antes do início)");
    if (o.contas < 2) falhar("--contas deve ser ao menos 2");
    if (o.centros < 1) falhar("--centros deve ser ao menos 1");
    if (!o.contasAuxDadas) o.contasAux = std::max<u64>(2, o.contas / 10);
    if (o.contasAux < 2) falhar("--contas-aux deve ser ao menos 2");
    if (!o.lancAuxDados) o.lancamentosAux = o.lancamentos / 10 == 1 ? 2 : o.lancamentos / 10;
    if (o.lancamentos == 1 || o.lancamentosAux == 1) falhar("um lançamento precisa de ao menos 2 registros");
    const std::vector<int> validos = o.in == 68 ? std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9} : std::vector<int>{1, 2, 3, 6, 7, 8, 9};
    if (o.tipos.empty()) o.tipos = validos;
    for (int t : o.tipos)
        if (std::find(validos.begin(), validos.end(), t) == validos.end())
            falhar("tipo " + std::to_string(t) + " não existe na IN " + std::to_string(o.in));
    std::sort(o.tipos.begin(), o.tipos.end());
    o.tipos.erase(std::unique(o.tipos.begin(), o.tipos.end()), o.tipos.end());
    return o;
}

} // namespace

int main(int argc, char** argv)
{
    Declaracao d;
    d.o = lerOpcoes(argc, argv);
    std::error_code ec;
    std::filesystem::create_directories(d.o.saida, ec);
    if (ec) falhar("não foi possível criar " + d.o.saida + ": " + ec.message());
    montarCalendario(d);
    montarPlano(d);
    sortearErros(d);
    auto quer = [&](int t) { return std::find(d.o.tipos.begin(), d.o.tipos.end(), t) != d.o.tipos.end(); };

    for (int t = 1; t <= 5; ++t)
        if (quer(t)) gerarTabela(d, t);
    Familia geral{6, 8, {}, d.o.lancamentos}, auxiliar{7, 9, {}, d.o.lancamentosAux};
    for (int a : d.analiticas) geral.contas.push_back(&d.plano[static_cast<size_t>(a)].codigo);
    for (const Conta& c : d.aux) auxiliar.contas.push_back(&c.codigo);
    for (const Familia* f : {&geral, &auxiliar})
        if (quer(f->tipoLanc) || quer(f->tipoSaldo)) gerarLancamentos(d, *f, quer(f->tipoLanc), quer(f->tipoSaldo));

    if (!d.erros.empty()) {
        FILE* m = std::fopen((d.o.saida + "/erros.txt").c_str(), "wb");
        if (!m) falhar("não foi possível criar erros.txt");
        std::fputs("tipo;registro;codigo\r\n", m);
        for (const auto& [tipo, lista] : d.erros) {
            std::vector<Mutacao> gravados = lista;
            if (d.o.embaralhar) {
                // Where each record went in the shuffled file.
                const std::vector<std::uint32_t> ordem = permutacao(d.o.semente, tipo, registrosDoTipo(d, tipo));
                std::vector<std::uint32_t> posicao(ordem.size());
                for (size_t j = 0; j < ordem.size(); ++j) posicao[ordem[j]] = static_cast<std::uint32_t>(j);
                for (Mutacao& e : gravados)
                    if (e.registro < posicao.size()) e.registro = posicao[static_cast<size_t>(e.registro)];
                std::sort(gravados.begin(), gravados.end(),
                          [](const Mutacao& a, const Mutacao& b) { return a.registro < b.registro; });
            }
            for (const Mutacao& e : gravados)
                std::fprintf(m, "%d;%llu;%d\r\n", tipo, static_cast<unsigned long long>(e.registro + 1), e.codigo);
        }
        if (std::fclose(m) != 0) falhar("erro ao gravar erros.txt");
    }
    std::printf("IN %d, CNPJ %s, %s a %s, seed %llu\n", d.o.in, d.o.cnpj.c_str(), d.diaTexto.front().c_str(),
                d.diaTexto.back().c_str(), static_cast<unsigned long long>(d.o.semente));
    for (int t : d.o.tipos)
        std::printf("%s\t%llu registros de %d bytes\t%zu erros semeados\n", caminho(d, t).c_str(),
                    static_cast<unsigned long long>(registrosDoTipo(d, t)), leiaute(d.o.in, t).tamanho,
                    d.erros.count(t) ? d.erros.at(t).size() : size_t{0});
    return 0;
}
