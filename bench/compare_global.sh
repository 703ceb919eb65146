#!/usr/bin/env bash
# ":g/PATTERN/d" side by side with Vim on the 1,000,000-line standard corpus, in one run:
# deleting about 6% of the lines (":g/k b/d"), about 94% (":g/^[^t]/d") and the complement of
# the first (":v/k b/d"). Each case runs RUNS times, alternating the two editors; medians of wall
# time and peak memory are reported, and the edit time with the load-only time subtracted.
# Before timing, every case's result is checked against grep.
# Usage: bench/compare_global.sh [RUNS]     (TAVIK_BIN overrides the Release binary)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-5}
work=${TMPDIR:-/tmp}/tavik-bench
mkdir -p "$work"
file="$work/corpus-1m.txt"
[ -f "$file" ] || python3 /work/shared/bench/corpus.py "$file" 1000000
if [ -z "${TAVIK_BIN:-}" ]; then
  "$root/tavik" --help >/dev/null 2>&1 || true  # builds the Release binary on first use
  TAVIK_BIN="$root/build/release/tavik"
fi

measure() {  # prints "seconds kilobytes"
  /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" >/dev/null 2>/dev/null </dev/null || true
  cat "$work/time.txt"
}
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

cases=(load g_6pct g_94pct v_94pct)
declare -A command=(
  [load]=""
  [g_6pct]='g/k b/d'
  [g_94pct]='g/^[^t]/d'
  [v_94pct]='v/k b/d'
)
declare -A kept=(  # grep arguments that print the lines each case keeps
  [g_6pct]='-v|k b'
  [g_94pct]='-v|^[^t]'
  [v_94pct]='|k b'
)

for case in "${cases[@]:1}"; do
  IFS='|' read -r flag pattern <<<"${kept[$case]}"
  if ! cmp -s <("$TAVIK_BIN" --batch --no-rc --keys ":${command[$case]}<CR>" "$file" 2>/dev/null) \
              <(grep $flag -- "$pattern" "$file"); then
    echo "tavik's result of :${command[$case]} differs from grep" >&2
    exit 1
  fi
done

declare -A t_time t_mem v_time v_mem
for case in "${cases[@]}"; do
  tt=(); tm=(); vt=(); vm=()
  for ((i = 0; i < runs; i++)); do
    if [ -n "${command[$case]}" ]; then
      read -r s k < <(measure "$TAVIK_BIN" --batch --no-rc --keys ":${command[$case]}<CR>" "$file")
    else
      read -r s k < <(measure "$TAVIK_BIN" --batch --no-rc "$file")
    fi
    tt+=("$s"); tm+=("$k")
    read -r s k < <(measure vim -u NONE -i NONE -n -es -c "silent ${command[$case]:-echo}" \
                      -c 'q!' "$file")
    vt+=("$s"); vm+=("$k")
  done
  t_time[$case]=$(median "${tt[@]}"); t_mem[$case]=$(median "${tm[@]}")
  v_time[$case]=$(median "${vt[@]}"); v_mem[$case]=$(median "${vm[@]}")
done

echo "file: $file, $(wc -l < "$file") lines; $runs runs each, medians"
printf '%-8s %9s %9s %8s %11s %11s %8s %9s %9s\n' case tavik_s vim_s ratio tavik_edit vim_edit \
  ratio tavik_MB vim_MB
for case in "${cases[@]}"; do
  awk -v c="$case" -v tt="${t_time[$case]}" -v vt="${v_time[$case]}" \
      -v tl="${t_time[load]}" -v vl="${v_time[load]}" \
      -v tm="${t_mem[$case]}" -v vm="${v_mem[$case]}" 'BEGIN {
    te = tt - tl; ve = vt - vl
    printf "%-8s %9.2f %9.2f %8.2f %11.2f %11.2f %8s %9.0f %9.0f\n", c, tt, vt,
      (vt > 0 ? tt / vt : 0), te, ve, (c == "load" ? "-" : sprintf("%.2f", ve > 0 ? te / ve : 0)),
      tm / 1024, vm / 1024
  }'
done
