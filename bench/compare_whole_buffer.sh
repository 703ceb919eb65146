#!/usr/bin/env bash
# Whole-buffer work side by side with Vim on the standard 1,000,000-line corpus, whole processes
# in one run, the two editors alternating: loading and writing the text out, a literal search
# that finds nothing, ":g/7$/d", ":v/7$/d" (94% of the lines), ":%s/fox/cat/g", and that
# substitution then "u". Every row but the first is reported net of loading (the load-only run
# of the same editor subtracted). Before timing, each edit's result is checked against Vim's.
# Usage: bench/compare_whole_buffer.sh [RUNS] [TAVIK_BINARY]   (medians of RUNS, default 7)
# ROWS="search g" limits the rows (names as printed; "load" always runs). BEFORE=BINARY runs an
# earlier Tavik build in the same alternation and adds its figures, for before and after.
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

# Wall seconds and CPU seconds (user and system) of one run; the output goes to a file, as
# Vim's ":w" writes one. With two shared cores wall time is noisy: the CPU ratio is steadier.
# CPU time comes from perf (to the millisecond) where it runs, else from time (to 10 ms).
if perf stat -x, -e task-clock -o /dev/null true 2>/dev/null; then
  timed() {
    local start end
    start=$(date +%s.%N)
    perf stat -x, -e task-clock -o "$out/time.txt" "$@" >"$out/run-out.txt" 2>/dev/null </dev/null || true
    end=$(date +%s.%N)
    awk -F, -v a="$start" -v b="$end" '$3 == "task-clock" || $3 ~ /^task-clock/ {
      printf "%.4f %.4f\n", b - a, $1 / 1000 }' "$out/time.txt"
  }
else
  timed() {
    /usr/bin/time -f '%e %U %S' -o "$out/time.txt" "$@" >"$out/run-out.txt" 2>/dev/null </dev/null || true
    awk '{printf "%s %.3f\n", $1, $2 + $3}' "$out/time.txt"
  }
fi
tavik_run() { timed "$tavik_bin" --batch --no-rc ${1:+--keys "$1"} "$file"; }
before_run() { timed "$BEFORE" --batch --no-rc ${1:+--keys "$1"} "$file"; }
vim_run() { timed vim -u NONE -i NONE -n -es -c "$1" -c 'q!' "$file"; }

declare -A t_med v_med t_cpu v_cpu b_med b_cpu
for r in load "${rows[@]}"; do
  t=(); v=(); tc=(); vc=(); b=(); bc=()
  for ((i = 0; i < runs; i++)); do
    if [ -n "${BEFORE:-}" ]; then
      read -r s c < <(before_run "${tavik_keys[$r]}")
      b+=("$s"); bc+=("$c")
    fi
    read -r s c < <(tavik_run "${tavik_keys[$r]}")
    t+=("$s"); tc+=("$c")
    read -r s c < <(vim_run "${vim_cmds[$r]}")
    v+=("$s"); vc+=("$c")
  done
  t_med[$r]=$(median "${t[@]}"); v_med[$r]=$(median "${v[@]}")
  t_cpu[$r]=$(median "${tc[@]}"); v_cpu[$r]=$(median "${vc[@]}")
  if [ -n "${BEFORE:-}" ]; then b_med[$r]=$(median "${b[@]}"); b_cpu[$r]=$(median "${bc[@]}"); fi
done
# Peak memory of loading, against the file's size.
read -r _ load_kb _ < <(measure "$tavik_bin" --batch --no-rc "$file")

size=$(stat -c %s "$file")
echo "file: $file ($(wc -l <"$file") lines, $size bytes); medians of $runs runs, seconds"
echo "load: Vim only loads, Tavik also writes the buffer out; the other rows are net of it"
printf '%-26s | %7s %7s %6s | %7s %7s %6s' workload t_wall v_wall ratio t_cpu v_cpu ratio
[ -n "${BEFORE:-}" ] && printf ' | %8s %6s %8s %6s' before_w ratio before_c ratio
echo
for r in load "${rows[@]}"; do
  tl=0 vl=0 tcl=0 vcl=0
  # Loading is subtracted from the edits; "write" is compared whole.
  case $r in
    load | write) ;;
    *) tl=${t_med[load]} vl=${v_med[load]} tcl=${t_cpu[load]} vcl=${v_cpu[load]} ;;
  esac
  bl=0 bcl=0
  [[ $r != load && $r != write && -n ${BEFORE:-} ]] && bl=${b_med[load]} bcl=${b_cpu[load]}
  awk -v n="${label[$r]}" -v t="${t_med[$r]}" -v v="${v_med[$r]}" -v tl="$tl" -v vl="$vl" \
      -v tc="${t_cpu[$r]}" -v vc="${v_cpu[$r]}" -v tcl="$tcl" -v vcl="$vcl" \
      -v b="${b_med[$r]:-}" -v bc="${b_cpu[$r]:-}" -v bl="$bl" -v bcl="$bcl" 'BEGIN {
    te = t - tl; ve = v - vl; tce = tc - tcl; vce = vc - vcl
    printf "%-26s | %7.3f %7.3f %6.2f | %7.3f %7.3f %6.2f", n, te, ve, (ve > 0 ? te / ve : 0),
      tce, vce, (vce > 0 ? tce / vce : 0)
    if (b != "") {
      be = b - bl; bce = bc - bcl
      printf " | %8.3f %6.2f %8.3f %6.2f", be, (ve > 0 ? be / ve : 0), bce, (vce > 0 ? bce / vce : 0)
    }
    printf "\n"
  }'
done
awk -v kb="$load_kb" -v size="$size" 'BEGIN {
  printf "tavik peak memory, load: %.0f MB (%.2fx the file)\n", kb / 1024, kb * 1024 / size }'
