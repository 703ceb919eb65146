#!/usr/bin/env bash
# ":%s/PATTERN/REPLACEMENT/g" over the standard 1,000,000-line corpus, then "u", side by side with
# Vim (vim -u NONE -i NONE -n -es) in one run. Two substitutions change every line: one match per
# line with a group (the line number at the end of each line), and every "e" of the text (about
# four matches per line). Each case runs RUNS times, the two editors alternating; medians of wall
# time, CPU time (user and system) and peak memory are reported, and the time of the operation
# alone: loading subtracted from the substitution, the substitution from the undo.
# Before timing, the substituted and the undone texts of both editors are compared byte for byte.
# Usage: bench/compare_substitute.sh [RUNS] [TAVIK_BINARY]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/compare_lib.sh"
runs=${1:-5}
tavik_bin=$(tavik_binary "${2:-}")
file=$(corpus_1m)
out=$(mktemp -d "${TMPDIR:-/tmp}/tavik-substitute.XXXXXX")
trap 'rm -rf "$out"' EXIT

# Case name, then the ex command for Vim and the key notation for Tavik (a backslash doubled).
cases=(num e)
declare -A vim_cmd=(
  [num]='%s/ \(\d\+\)$/ <\1>/g'
  [e]='%s/e/E/g'
)
keys_of() { printf ':%s<CR>' "$(printf '%s' "$1" | sed 's/\\/\\\\/g')"; }

# The texts must agree before their times mean anything.
for c in "${cases[@]}"; do
  "$tavik_bin" --batch --no-rc --keys "$(keys_of "${vim_cmd[$c]}")" "$file" >"$out/tavik.txt"
  vim -u NONE -i NONE -n -es -c "silent ${vim_cmd[$c]}" -c "w! $out/vim.txt" -c 'q!' "$file"
  cmp -s "$out/tavik.txt" "$out/vim.txt" || { echo "$c: the substituted texts differ" >&2; exit 1; }
  "$tavik_bin" --batch --no-rc --keys "$(keys_of "${vim_cmd[$c]}")u" "$file" >"$out/tavik.txt"
  cmp -s "$out/tavik.txt" "$file" || { echo "$c: undo does not restore the file" >&2; exit 1; }
done

declare -A t_s t_m t_c v_s v_m v_c
run_case() {  # name, tavik keys, vim commands...
  local name=$1 keys=$2
  shift 2
  local ts=() tm=() tc=() vs=() vm=() vc=() s k c
  for ((i = 0; i < runs; i++)); do
    read -r s k c < <(measure "$tavik_bin" --batch --no-rc --keys "$keys" "$file")
    ts+=("$s"); tm+=("$k"); tc+=("$c")
    read -r s k c < <(measure vim -u NONE -i NONE -n -es "$@" -c 'q!' "$file")
    vs+=("$s"); vm+=("$k"); vc+=("$c")
  done
  t_s[$name]=$(median "${ts[@]}"); t_m[$name]=$(median "${tm[@]}"); t_c[$name]=$(median "${tc[@]}")
  v_s[$name]=$(median "${vs[@]}"); v_m[$name]=$(median "${vm[@]}"); v_c[$name]=$(median "${vc[@]}")
}

run_case load "" -c 'silent echo'
names=(load)
for c in "${cases[@]}"; do
  run_case "$c" "$(keys_of "${vim_cmd[$c]}")" -c "silent ${vim_cmd[$c]}"
  run_case "$c+u" "$(keys_of "${vim_cmd[$c]}")u" -c "silent ${vim_cmd[$c]}" -c 'silent undo'
  names+=("$c" "$c+u")
done

echo "file: $file ($(wc -l <"$file") lines), $runs runs each, medians"
for c in "${cases[@]}"; do echo "  $c: :${vim_cmd[$c]}"; done
printf '%-6s | %7s %7s %7s %7s %6s | %7s %7s %7s %7s %6s | %8s %8s\n' case \
  t_wall v_wall t_op v_op ratio t_cpu v_cpu t_op v_op ratio t_MB v_MB
for n in "${names[@]}"; do
  # The operation alone: the substitution minus loading, the undo minus the substitution.
  tb=0 vb=0 tcb=0 vcb=0
  if [ "$n" != load ]; then
    base=load
    [[ $n == *+u ]] && base=${n%+u}
    tb=${t_s[$base]} vb=${v_s[$base]} tcb=${t_c[$base]} vcb=${v_c[$base]}
  fi
  awk -v n="$n" -v ts="${t_s[$n]}" -v vs="${v_s[$n]}" -v tb="$tb" -v vb="$vb" \
      -v tc="${t_c[$n]}" -v vc="${v_c[$n]}" -v tcb="$tcb" -v vcb="$vcb" \
      -v tm="${t_m[$n]}" -v vm="${v_m[$n]}" 'BEGIN {
    to = ts - tb; vo = vs - vb; tco = tc - tcb; vco = vc - vcb
    printf "%-6s | %7.2f %7.2f %7.2f %7.2f %6.2f | %7.2f %7.2f %7.2f %7.2f %6.2f | %8.0f %8.0f\n",
           n, ts, vs, to, vo, (vo > 0 ? to / vo : 0), tc, vc, tco, vco, (vco > 0 ? tco / vco : 0),
           tm / 1024, vm / 1024
  }'
done
