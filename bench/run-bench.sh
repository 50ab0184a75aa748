#!/usr/bin/env bash
# Import benchmark: generates a declaration with tobri-gerador, imports each
# file type in dependency order with tobri-bench and prints records/s and
# peak memory per type, then the targets:
#   1. general journal entries (type 6), 1,000,000 records against a chart of
#      10,000 analytic accounts, and again with 4,000,000 (memory must stay flat);
#   2. that import's time against a plain cp of the same file into the data folder;
#   3. balances (type 8) of 10,000 accounts x 12 months.
# Then the validation of that declaration (tobri-bench validate: reload,
# the five checks, statuses, compaction) against the type-6 import, and again
# with every balance record in disagreement (VALIDAR=0 skips both runs).
# And, at scale, a general chart of 1,000,000 analytic accounts, 1,200,000
# balances over it (100,000 accounts x 12 months) and 12,000,000 (every
# account), with their peak memory; each in the generator's order (sorted by
# account code) and again with its records shuffled (tobri-gerador
# --embaralhar), as a company's own export may come.
#
# Usage: bench/run-bench.sh [BIN_DIR]        (default /work/main/build/bin)
# Environment: IN (86), CONTAS (10000), LANCAMENTOS (1000000),
#   LANCAMENTOS_GRANDE (4000000; 0 skips that run), SEED (1),
#   ERROS_CADA (0; N > 0 adds a type-6 run with N records of each error code),
#   VALIDAR (1; 0 skips the validation runs),
#   ESCALA_CONTAS (1000000; 0 skips the scale runs), SALDOS_GRANDE (1 runs the
#   12,000,000 balances, 0 skips them), EMBARALHADO (1; 0 skips the shuffled
#   scale runs),
#   TMPDIR (where the temporary folders go; needs about 4 GB for the large
#   entries run and about 8 GB for the 12,000,000 balances).
set -euo pipefail

BIN=${1:-/work/main/build/bin}
IN=${IN:-86}
CONTAS=${CONTAS:-10000}
LANCAMENTOS=${LANCAMENTOS:-1000000}
LANCAMENTOS_GRANDE=${LANCAMENTOS_GRANDE:-4000000}
SEED=${SEED:-1}
ERROS_CADA=${ERROS_CADA:-0}
ESCALA_CONTAS=${ESCALA_CONTAS:-1000000}
SALDOS_GRANDE=${SALDOS_GRANDE:-1}
VALIDAR=${VALIDAR:-1}
EMBARALHADO=${EMBARALHADO:-1}
CNPJ=99.999.999/9999-99
INICIO=01/01/2005
FIM=31/12/2005

GERADOR=$BIN/tobri-gerador
BENCH=$BIN/tobri-bench
for b in "$GERADOR" "$BENCH"; do
  [[ -x $b ]] || { echo "run-bench: $b não encontrado (compile antes ou informe a pasta bin)" >&2; exit 2; }
done
# Types in dependency order, and those the general entries look up.
if [[ $IN == 68 ]]; then TIPOS=(1 2 3 4 5 6 7 8 9); REFS=(1 3 4 5); else TIPOS=(1 2 3 6 7 8 9); REFS=(1 3); fi

TMP=$(mktemp -d "${TMPDIR:-/tmp}/tobri-bench.XXXXXX")
trap 'rm -rf "$TMP"' EXIT
TEMPO_EXT=""
[[ -x /usr/bin/time ]] && TEMPO_EXT=/usr/bin/time

agora() { date +%s.%N; }

# First "key": value of a JSON line whose key matches an extended regex
# (case-insensitive); prints "key<TAB>value".
json_campo() {
  printf '%s\n' "$1" | awk -v re="$2" '{
    s = $0
    while (match(s, /"[^"]*"[ \t]*:[ \t]*("[^"]*"|[-+0-9.eE]+|true|false|null)/)) {
      kv = substr(s, RSTART, RLENGTH); s = substr(s, RSTART + RLENGTH)
      k = kv; sub(/"[ \t]*:.*/, "", k); sub(/^"/, "", k)
      v = kv; sub(/^"[^"]*"[ \t]*:[ \t]*/, "", v); gsub(/"/, "", v)
      if (tolower(k) ~ re) { print k "\t" v; exit }
    }
  }'
}
json_valor() { json_campo "$1" "$2" | cut -f2; }

# Peak memory of the JSON line in MB, by the unit its key names (kB when none).
pico_mb() {
  local kv k v
  kv=$(json_campo "$1" 'pico|peak|mem|rss')
  [[ -z $kv ]] && return 0
  k=${kv%%$'\t'*}; v=${kv#*$'\t'}; k=${k,,}
  case $k in
    *mib*|*mb*) awk -v v="$v" 'BEGIN { printf "%.1f", v }' ;;
    *bytes*|*_b) awk -v v="$v" 'BEGIN { printf "%.1f", v / 1048576 }' ;;
    *) awk -v v="$v" 'BEGIN { printf "%.1f", v / 1024 }' ;;
  esac
}

# importar DATA TIPO ARQUIVO: runs tobri-bench and sets R_LIDOS R_CORRETOS
# R_ERROS R_STATUS R_SEG R_MB (JSON values; wall clock and /usr/bin/time as fallback).
importar() {
  local data=$1 tipo=$2 arq=$3 saida="$TMP/bench.out" rss="$TMP/bench.rss" t0 t1 rc=0
  t0=$(agora)
  if [[ -n $TEMPO_EXT ]]; then
    $TEMPO_EXT -f %M -o "$rss" "$BENCH" import --data "$data" --in "$IN" --cnpj "$CNPJ" \
      --inicio "$INICIO" --fim "$FIM" --tipo "$tipo" "$arq" >"$saida" 2>"$TMP/bench.err" || rc=$?
  else
    "$BENCH" import --data "$data" --in "$IN" --cnpj "$CNPJ" \
      --inicio "$INICIO" --fim "$FIM" --tipo "$tipo" "$arq" >"$saida" 2>"$TMP/bench.err" || rc=$?
  fi
  t1=$(agora)
  local json
  json=$(grep -m1 '^[[:space:]]*{' "$saida" || true)
  R_LIDOS=$(json_valor "$json" 'lidos')
  R_CORRETOS=$(json_valor "$json" 'corretos')
  R_ERROS=$(json_valor "$json" '^(g?reg)?_?erros$|com_?erros|errados')
  R_STATUS=$(json_valor "$json" 'status')
  R_SEG=$(json_valor "$json" 'segundos|seconds|elapsed|tempo|duracao')
  R_MB=$(pico_mb "$json")
  [[ -z $R_SEG ]] && R_SEG=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')
  if [[ -z $R_MB && -s $rss ]]; then R_MB=$(awk '{ v = $1 } END { printf "%.1f", v / 1024 }' "$rss"); fi
  if (( rc != 0 )) || [[ -z $json ]]; then
    echo "  tobri-bench falhou no tipo $tipo (código $rc):" >&2
    sed 's/^/    /' "$TMP/bench.err" "$saida" >&2 || true
    R_STATUS="falhou($rc)"; R_SEG="-"; R_MB="-"
  fi
}

registros() { awk -v t="$2" 'NR > 1 && $1 ~ "tipo" t ".txt$" { print $2 }' "$1"; }
por_segundo() { awk -v n="$1" -v s="$2" 'BEGIN { if (s > 0) printf "%.0f", n / s; else print "-" }'; }

linha_tabela() { # tipo registros
  local aviso=""
  [[ -n $R_LIDOS && $R_LIDOS != "$2" ]] && aviso=" (lidos != gerados)"
  [[ -n $R_ERROS && $R_ERROS != 0 ]] && aviso="$aviso (com erros)"
  printf '%-5s %12s %12s %12s %8s %8s %10s %12s %10s%s\n' "$1" "$2" "${R_LIDOS:--}" "${R_CORRETOS:--}" \
    "${R_ERROS:--}" "${R_STATUS:--}" "$R_SEG" "$(por_segundo "${R_LIDOS:-$2}" "$R_SEG")" "${R_MB:--}" "$aviso"
}

gerar() { # pasta lancamentos [opções...]
  local pasta=$1 lanc=$2; shift 2
  "$GERADOR" --in "$IN" --cnpj "$CNPJ" --inicio "$INICIO" --fim "$FIM" --contas "$CONTAS" \
    --lancamentos "$lanc" --seed "$SEED" --saida "$pasta" "$@" >"$pasta.txt"
}

echo "== Declaração IN $IN, $INICIO a $FIM, $CONTAS contas analíticas, $LANCAMENTOS lançamentos (seed $SEED)"
t0=$(agora); gerar "$TMP/decl" "$LANCAMENTOS"; t1=$(agora)
echo "   gerada em $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.2f", b - a }') s em $TMP/decl"
mkdir -p "$TMP/dados"
printf '%-5s %12s %12s %12s %8s %8s %10s %12s %10s\n' tipo registros lidos corretos erros status segundos "registros/s" "pico MB"
declare -A SEG MB
for t in "${TIPOS[@]}"; do
  n=$(registros "$TMP/decl.txt" "$t")
  importar "$TMP/dados" "$t" "$TMP/decl/tipo$t.txt"
  SEG[$t]=$R_SEG; MB[$t]=${R_MB:--}
  linha_tabela "$t" "$n"
done

echo
echo "== Meta 1: lançamentos do diário geral (tipo 6), IN $IN, plano de $CONTAS contas"
n6=$(registros "$TMP/decl.txt" 6)
echo "   $n6 registros: $(por_segundo "$n6" "${SEG[6]}") registros/s, pico ${MB[6]} MB"

echo
echo "== Meta 2: importação do tipo 6 contra cp do mesmo arquivo para a pasta de dados"
mkdir -p "$TMP/dados/copia"
t0=$(agora); cp "$TMP/decl/tipo6.txt" "$TMP/dados/copia/"; t1=$(agora)
cp_seg=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')
rm -rf "$TMP/dados/copia"
echo "   importação ${SEG[6]} s, cp $cp_seg s, razão $(awk -v a="${SEG[6]}" -v b="$cp_seg" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "-" }')"

echo
n8=$(registros "$TMP/decl.txt" 8)
echo "== Meta 3: saldos do diário geral (tipo 8), $CONTAS contas x 12 meses"
echo "   $n8 registros: $(por_segundo "$n8" "${SEG[8]}") registros/s, pico ${MB[8]} MB"

# validar DATA: runs tobri-bench validate and sets V_MSG V_ERRO V_SEG V_MB.
validar() {
  local data=$1 saida="$TMP/validar.out" rc=0 json
  "$BENCH" validate --data "$data" --in "$IN" --cnpj "$CNPJ" --inicio "$INICIO" --fim "$FIM" \
    >"$saida" 2>"$TMP/validar.err" || rc=$?
  json=$(grep -m1 '^[[:space:]]*{' "$saida" || true)
  V_MSG=$(json_valor "$json" '^mensagem$')
  V_ERRO=$(json_valor "$json" '^erro$')
  V_SEG=$(json_valor "$json" 'segundos')
  V_MB=$(pico_mb "$json")
  if (( rc != 0 )) || [[ -z $json ]]; then
    echo "  tobri-bench validate falhou (código $rc):" >&2
    sed 's/^/    /' "$TMP/validar.err" "$saida" >&2 || true
    V_SEG="-"; V_MB="-"
  fi
}
razao() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 > 0 && a != "-") printf "%.1f", a / b; else print "-" }'; }

if (( VALIDAR > 0 )); then
  echo
  echo "== Meta 4: validação (recarga, cinco verificações, situações, compactação), IN $IN"
  validar "$TMP/dados"
  VAL_SEG=$V_SEG
  echo "   limpa: ${V_SEG} s, pico ${V_MB:--} MB, achados: ${V_ERRO:--}, mensagem: ${V_MSG:--};" \
    "importação do tipo 6: ${SEG[6]} s, razão $(razao "$V_SEG" "${SEG[6]}") (meta ≤ 6, pico < 400 MB)"
  # Every balance record in disagreement: one digit of the opening balance,
  # the debits and the credits changed (checks 2 to 5 find every row).
  awk 'function troca(s, p,   d) { d = substr(s, p, 1); return substr(s, 1, p - 1) ((d + 1) % 10) substr(s, p + 1) }
       { sub(/\r$/, ""); printf "%s\r\n", troca(troca(troca($0, 46), 64), 81) }' \
    "$TMP/decl/tipo8.txt" >"$TMP/tipo8-desacordo.txt"
  importar "$TMP/dados" 8 "$TMP/tipo8-desacordo.txt"
  rm -f "$TMP/tipo8-desacordo.txt"
  validar "$TMP/dados"
  echo "   todos os saldos em desacordo: ${V_SEG} s, pico ${V_MB:--} MB, achados: ${V_ERRO:--};" \
    "razão sobre a limpa $(razao "$V_SEG" "$VAL_SEG") (meta ≤ 2)"
fi

if (( ERROS_CADA > 0 )); then
  echo
  echo "== Registros com erro: tipo 6 com $ERROS_CADA de cada código de erro"
  gerar "$TMP/erros" "$LANCAMENTOS" --tipos 6 --erros-cada "$ERROS_CADA"
  mkdir -p "$TMP/dados-erros"
  for t in "${REFS[@]}"; do
    importar "$TMP/dados-erros" "$t" "$TMP/decl/tipo$t.txt" # the clean chart and tables
  done
  importar "$TMP/dados-erros" 6 "$TMP/erros/tipo6.txt"
  echo "   semeados: $(grep -c '^6;' "$TMP/erros/erros.txt") registros"
  linha_tabela 6 "$(registros "$TMP/erros.txt" 6)"
  rm -rf "$TMP/erros" "$TMP/dados-erros"
fi

if (( LANCAMENTOS_GRANDE > 0 )); then
  echo
  echo "== Meta 1 (memória constante): $LANCAMENTOS_GRANDE lançamentos contra o mesmo plano"
  # Free the disk of the first run; the large file and its accepted copy need room.
  rm -rf "$TMP/dados"
  mkdir -p "$TMP/dados-grande"
  for t in "${REFS[@]}"; do
    importar "$TMP/dados-grande" "$t" "$TMP/decl/tipo$t.txt"
  done
  rm -rf "$TMP/decl"
  gerar "$TMP/grande" "$LANCAMENTOS_GRANDE" --tipos 6
  importar "$TMP/dados-grande" 6 "$TMP/grande/tipo6.txt"
  printf '%-5s %12s %12s %12s %8s %8s %10s %12s %10s\n' tipo registros lidos corretos erros status segundos "registros/s" "pico MB"
  linha_tabela 6 "$LANCAMENTOS_GRANDE"
  echo "   pico com $n6 registros: ${MB[6]} MB; com $LANCAMENTOS_GRANDE: ${R_MB:--} MB" \
    "(razão $(awk -v a="${R_MB:-0}" -v b="${MB[6]}" 'BEGIN { if (b + 0 > 0) printf "%.2f", a / b; else print "-" }'))"
fi

if (( ESCALA_CONTAS > 0 )); then
  echo
  echo "== Escala: plano geral de $ESCALA_CONTAS contas analíticas e saldos sobre ele, IN $IN"
  echo "   (\"emb\": os mesmos registros embaralhados)"
  rm -rf "$TMP/dados" "$TMP/dados-grande" "$TMP/grande" "$TMP/decl"
  SALDOS_CONTAS=$(( ESCALA_CONTAS / 10 ))
  ORDENS=(ordenado)
  (( EMBARALHADO > 0 )) && ORDENS+=(embaralhado)
  declare -A ESC_SEG
  printf '%-5s %12s %12s %12s %8s %8s %10s %12s %10s\n' tipo registros lidos corretos erros status segundos "registros/s" "pico MB"
  for ordem in "${ORDENS[@]}"; do
    opcao=(); rotulo=""
    [[ $ordem == embaralhado ]] && { opcao=(--embaralhar); rotulo=" emb"; }
    # A fresh data folder: the chart's reset would otherwise drop the balances first.
    rm -rf "$TMP/dados-escala"; mkdir -p "$TMP/dados-escala"
    "$GERADOR" --in "$IN" --cnpj "$CNPJ" --inicio "$INICIO" --fim "$FIM" --contas "$ESCALA_CONTAS" --tipos 1,8 \
      --saldos-contas "$SALDOS_CONTAS" --seed "$SEED" --saida "$TMP/escala" "${opcao[@]}" >"$TMP/escala.txt"
    for t in 1 8; do
      importar "$TMP/dados-escala" "$t" "$TMP/escala/tipo$t.txt"
      ESC_SEG[$t$ordem]=$R_SEG
      linha_tabela "$t$rotulo" "$(registros "$TMP/escala.txt" "$t")"
    done
    if (( SALDOS_GRANDE > 0 )); then
      rm -rf "$TMP/escala"
      "$GERADOR" --in "$IN" --cnpj "$CNPJ" --inicio "$INICIO" --fim "$FIM" --contas "$ESCALA_CONTAS" --tipos 8 \
        --seed "$SEED" --saida "$TMP/escala-grande" "${opcao[@]}" >"$TMP/escala-grande.txt"
      importar "$TMP/dados-escala" 8 "$TMP/escala-grande/tipo8.txt"
      ESC_SEG[grande$ordem]=$R_SEG
      linha_tabela "8$rotulo" "$(registros "$TMP/escala-grande.txt" 8)"
      rm -rf "$TMP/escala-grande"
    fi
    rm -rf "$TMP/escala"
  done
  if (( EMBARALHADO > 0 )); then
    razoes="plano $(razao "${ESC_SEG[1embaralhado]}" "${ESC_SEG[1ordenado]}"), saldos $(razao "${ESC_SEG[8embaralhado]}" "${ESC_SEG[8ordenado]}")"
    (( SALDOS_GRANDE > 0 )) && razoes="$razoes, saldos de todas as contas $(razao "${ESC_SEG[grandeembaralhado]}" "${ESC_SEG[grandeordenado]}")"
    echo "   embaralhado / ordenado: $razoes (meta ≤ 1.5)"
  fi
  rm -rf "$TMP/dados-escala"
fi
