#!/usr/bin/env bash
# Key-to-screen latency of the terminal editor against Vim, side by side in the same tmux set-up
# (80x24, a 1,000,000-line file, search highlighting on): j, x, dd, u, and n and typing in
# insert mode once the engine has them. Prints median and 99th percentile in milliseconds and
# the ratio of the medians (tavik / vim).
# Usage: bench/terminal_latency.sh [SAMPLES]   (default 100 per key)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/term-release"
count=${1:-100}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIK_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target tavik >/dev/null
tavik="$build/tavik"
work=$(mktemp -d)
cleanup() {
  tmux -L "tavik-lat-$$" kill-server 2>/dev/null || true
  tmux -L "vim-lat-$$" kill-server 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
file="$work/big.txt"
# 1,000,000 lines of 75 characters, "foo" on every one.
awk 'BEGIN { for (i = 1; i <= 1000000; i++) printf "%07d foo %s\n", i, "abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz" }' >"$file"

# Keys the engine has now, asked of batch mode.
probe() { printf '%s\n' "$2" >"$work/probe.txt"; [ "$("$tavik" --batch --keys "$1" "$work/probe.txt" 2>/dev/null)" = "$3" ]; }
tavik_flags=()
probe '/b<CR>x' 'abc' 'ac' && tavik_flags+=(--search)
probe 'iX<Esc>' 'abc' 'Xabc' && tavik_flags+=(--insert)

run() {  # label, socket, command, flags...
  local label=$1 socket=$2 command=$3
  shift 3
  cp "$file" "$work/$label.txt"
  python3 "$root/bench/terminal_latency.py" "$socket" "${command} $work/$label.txt" --count "$count" "$@" |
    sed "s/^/$label\t/"
}

{
  run tavik "tavik-lat-$$" "$tavik" "${tavik_flags[@]}"
  run vim "vim-lat-$$" "vim -u NONE -i NONE -n" --search --insert
} >"$work/results.tsv"

printf '%-14s %8s %8s %8s %8s %8s %8s\n' key tavik_med tavik_p99 vim_med vim_p99 med_ratio p99_ratio
awk -F'\t' '
  $1 == "tavik" { tm[$2] = $4; tp[$2] = $5; order[++n] = $2 }
  $1 == "vim" { vm[$2] = $4; vp[$2] = $5; if (!($2 in tm)) order[++n] = $2 }
  END {
    for (i = 1; i <= n; i++) {
      k = order[i]
      t1 = (k in tm) ? tm[k] : "-"; t2 = (k in tp) ? tp[k] : "-"
      r1 = (k in tm && vm[k] > 0) ? sprintf("%.2f", tm[k] / vm[k]) : "-"
      r2 = (k in tp && vp[k] > 0) ? sprintf("%.2f", tp[k] / vp[k]) : "-"
      printf "%-14s %8s %8s %8s %8s %8s %8s\n", k, t1, t2, vm[k], vp[k], r1, r2
    }
  }' "$work/results.tsv"
