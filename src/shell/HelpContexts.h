#pragma once
// Help context numbers: each topic is the file help/<context>.html.
// Work windows pass their constant to definirContextoAjuda(); F1 and the
// "&Ajuda" button then open that topic.
#include <array>

namespace ajuda {

// Tópicos gerais
inline constexpr int Conteudo                        = 30; // página de conteúdo (menu Ajuda, botão de ajuda da barra)
inline constexpr int InstrucoesPreenchimento         = 1; // preparação dos arquivos e leiautes padrão (menu Ajuda)

// 1xxx: declarações
inline constexpr int frmDadosContribuinte            = 1101; // Informar Dados do Contribuinte (nova declaração)
inline constexpr int frmAbrirArquivo                 = 1102; // Abrir (declaração para importação)
inline constexpr int frmExcluirArquivo               = 1103; // Excluir Arquivos (declaração)

// 2xxx: importação
inline constexpr int frmContinuaImportacao           = 2101; // Selecionar Arquivo a Importar
inline constexpr int frmLeiaute                      = 2102; // Informar Leiaute do Arquivo
inline constexpr int frmOrigemArquivo                = 2103; // Localizar Arquivo (arquivo de origem)
inline constexpr int frmImportarArquivo              = 2104; // Importar Arquivo
inline constexpr int frmResultadoImportacao          = 2105; // Resultado da Importação, ao fim da importação
inline constexpr int frmResultadoImportacao2         = 2106; // Resultado da Importação, aberto por Detalhar
inline constexpr int frmVisualiza                    = 2107; // Visualizar Resultado da Importação (escolha da declaração)
inline constexpr int frmVisualizaResultadoImportacao = 2108; // Resultado da Importação - Resumo Geral

// 3xxx: validação, resultados e pendências
inline constexpr int frmValidarArquivo               = 3101; // Validar (escolha da declaração)
inline constexpr int frmConfirmaValidar              = 3102; // Validar Arquivos (execução da validação)
inline constexpr int frmVerificacaoPendencias        = 3103; // navegador de resultados da validação
inline constexpr int frmLancamentogeral              = 3104; // aba Lançamento Diário Geral
inline constexpr int frmSaldoFinalGeral              = 3105; // aba Saldo Final Diário Geral
inline constexpr int frmSaldoFinalAuxiliar           = 3106; // aba Saldo Final Diário Auxiliar
inline constexpr int frmSaldoInicialGeral            = 3107; // aba Saldo Inicial Diário Geral
inline constexpr int FrmSaldoInicialAuxiliar         = 3108; // aba Saldo Inicial Diário Auxiliar
inline constexpr int frmLancamentoSaldoDebito        = 3109; // aba Lançamentos x Saldos - Débitos
inline constexpr int frmLancamentoSaldoCredito       = 3110; // aba Lançamentos x Saldos - Créditos
inline constexpr int frmVerificar                    = 3111; // Verificar Pendências (escolha da declaração)
inline constexpr int frmRelacaoPendencias            = 3112; // Relação de Pendências
inline constexpr int frmVisualizarValidacao          = 3113; // Visualizar Resultado da Validação

// 4xxx: gravação para entrega e relatório de acompanhamento
inline constexpr int frmGravacao                     = 4101; // Gravar Arquivo para Entrega à ORV (escolha da declaração)
inline constexpr int frmDestinoArquivo               = 4102; // Informar Destino do Arquivo
inline constexpr int frmConfirmaGravacao             = 4103; // Gravar Arquivos (gravação do conjunto de entrega)
inline constexpr int frmAcompanhamento               = 4104; // Imprimir Relatório de Acompanhamento

// 8xxx: vinculação de contas (8002 é o número já conhecido da janela Vincular)
inline constexpr int frmAbrirVincular                = 8002; // Vincular (escolha da declaração); número fixo
inline constexpr int frmOutlook                      = 8003; // navegador da vinculação de contas
inline constexpr int frmVinculacao                   = 8004; // aba Vinculação de Contas
inline constexpr int frmContasVinculadas             = 8005; // aba Contas Vinculadas

// Every context that must have a topic file.
inline constexpr std::array<int, 34> todosOsContextos = {
    Conteudo, InstrucoesPreenchimento, frmDadosContribuinte, frmAbrirArquivo, frmExcluirArquivo,
    frmContinuaImportacao, frmLeiaute, frmOrigemArquivo, frmImportarArquivo,
    frmResultadoImportacao, frmResultadoImportacao2, frmVisualiza,
    frmVisualizaResultadoImportacao, frmValidarArquivo, frmConfirmaValidar,
    frmVerificacaoPendencias, frmLancamentogeral, frmSaldoFinalGeral, frmSaldoFinalAuxiliar,
    frmSaldoInicialGeral, FrmSaldoInicialAuxiliar, frmLancamentoSaldoDebito,
    frmLancamentoSaldoCredito, frmVerificar, frmRelacaoPendencias, frmVisualizarValidacao,
    frmGravacao, frmDestinoArquivo, frmConfirmaGravacao, frmAcompanhamento, frmAbrirVincular,
    frmOutlook, frmVinculacao, frmContasVinculadas,
};

} // namespace ajuda
