#!/usr/bin/env bash
# Whole-buffer work side by side with Vim on the standard 1,000,000-line corpus, whole processes
# in one run, the two editors alternating: loading and writing the text out, a literal search
# that finds nothing, ":g/7$/d", ":v/7$/d" (94% of the lines), ":%s/fox/cat/g", and that
# substitution then "u". Every row but the first is reported net of loading (the load-only run
# of the same editor subtracted). Before timing, each edit's result is checked against Vim's.
# Usage: bench/compare_whole_buffer.sh [RUNS] [TAVIK_BINARY]   (medians of RUNS, default 7)
# ROWS="search g" limits the rows (names as printed; "load" always runs).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/compare_lib.sh"
runs=${1:-7}
tavik_bin=$(tavik_binary "${2:-}")
file=$(corpus_1m)
out=$(mktemp -d "$compare_work/whole.XXXXXX")
trap 'rm -rf "$out"' EXIT

rows=(write search g v s s_u)
[ -n "${ROWS:-}" ] && read -r -a rows <<<"$ROWS"
declare -A tavik_keys=(
  [load]=""
  [write]=""
  [search]="/lazy dig<CR>"
  [g]=":g/7\$/d<CR>"
  [v]=":v/7\$/d<CR>"
  [s]=":%s/fox/cat/g<CR>"
  [s_u]=":%s/fox/cat/g<CR>u"
)
declare -A vim_cmds=(
  [load]="silent echo"
  [write]="silent w! $out/vim-write.txt"
  [search]="exe \"normal! gg/lazy dig\\r\""
  [g]="silent g/7\$/d"
  [v]="silent v/7\$/d"
  [s]="silent %s/fox/cat/g"
  [s_u]="silent %s/fox/cat/g|silent undo"
)
declare -A label=(
  [load]="load (no write)"
  [write]="load + write out"
  [search]="literal search, no match"
  [g]=":g/7\$/d"
  [v]=":v/7\$/d"
  [s]=":%s/fox/cat/g"
  [s_u]=":%s then u"
)

# The texts must agree before the times mean anything.
for r in "${rows[@]}"; do
  case $r in write | search) continue ;; esac
  "$tavik_bin" --batch --no-rc --keys "${tavik_keys[$r]}" "$file" >"$out/tavik.txt"
  vim -u NONE -i NONE -n -es -c "${vim_cmds[$r]}" -c "w! $out/vim.txt" -c 'q!' "$file"
  cmp -s "$out/tavik.txt" "$out/vim.txt" || { echo "$r: the texts differ" >&2; exit 1; }
done

tavik_run() {  # keys; the buffer goes to a file, as Vim's ":w" does
  "$tavik_bin" --batch --no-rc ${1:+--keys "$1"} "$file" >"$out/tavik-out.txt"
}
vim_run() {
  vim -u NONE -i NONE -n -es -c "$1" -c 'q!' "$file"
}

declare -A t_med v_med t_mem
for r in load "${rows[@]}"; do
  t=(); v=(); m=()
  for ((i = 0; i < runs; i++)); do
    t+=("$(seconds tavik_run "${tavik_keys[$r]}")")
    v+=("$(seconds vim_run "${vim_cmds[$r]}")")
  done
  t_med[$r]=$(median "${t[@]}"); v_med[$r]=$(median "${v[@]}")
done
# Peak memory of loading, against the file's size.
read -r _ load_kb _ < <(measure "$tavik_bin" --batch --no-rc "$file")

size=$(stat -c %s "$file")
echo "file: $file ($(wc -l <"$file") lines, $size bytes); medians of $runs runs, seconds"
printf '%-26s %9s %9s %8s\n' workload tavik vim ratio
for r in load "${rows[@]}"; do
  tl=0 vl=0
  # Loading is subtracted from the edits; "write" is compared whole.
  case $r in load | write) ;; *) tl=${t_med[load]} vl=${v_med[load]} ;; esac
  awk -v n="${label[$r]}" -v t="${t_med[$r]}" -v v="${v_med[$r]}" -v tl="$tl" -v vl="$vl" 'BEGIN {
    te = t - tl; ve = v - vl
    printf "%-26s %9.3f %9.3f %8.2f\n", n, te, ve, (ve > 0 ? te / ve : 0)
  }'
done
awk -v kb="$load_kb" -v size="$size" 'BEGIN {
  printf "tavik peak memory, load: %.0f MB (%.2fx the file)\n", kb / 1024, kb * 1024 / size }'
