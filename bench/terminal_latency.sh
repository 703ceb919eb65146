#!/usr/bin/env bash
# Key-to-screen latency of the terminal editor against Vim in one interleaved run: both run in
# their own tmux server (80x24) on copies of the same 1,000,000-line file with search
# highlighting on and "foo" matching on every line; the samples of each key (j, x, dd, u, n,
# typing in insert mode) alternate between the two so that both see the same machine load.
# Prints median and 99th percentile in milliseconds and the ratios (tavik / vim). METHOD
# "screen" (the default) times each key to the last change of the captured screen; "output"
# times it to the last piece of output tmux received, which is finer (see terminal_latency.py).
# RUNS repeats the measurement with the editors started afresh, SAMPLES each time, and pools
# the samples. On a machine with two processors or more, the tmux servers and editors run on the
# last one and the timing script on the others.
# Usage: bench/terminal_latency.sh [SAMPLES] [RAW_FILE] [METHOD] [RUNS]
#        (default 200 samples per key and editor, screen method, 1 run)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/term-release"
count=${1:-200}
raw=${2:-}
method=${3:-screen}
runs=${4:-1}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIK_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target tavik -j2 >/dev/null
tavik="$build/tavik"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The editor keeps its registry in a folder of the run's own, with the welcome dialog off.
XDG_CONFIG_HOME="$work/config" "$tavik" --setting DontShowWelcome2=true
file="$work/big.txt"
# 1,000,000 lines of 75 characters, "foo" on every one.
awk 'BEGIN { for (i = 1; i <= 1000000; i++) printf "%07d foo %s\n", i, "abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz" }' >"$file"

extra=()
[ -n "$raw" ] && extra=(--raw "$raw")
cpus=$(nproc)
[ "$cpus" -ge 2 ] && extra+=(--pin "$((cpus - 1))")
python3 "$root/bench/terminal_latency.py" --file "$file" --count "$count" --runs "$runs" --method "$method" \
  "${extra[@]}" \
  --editor "tavik:env XDG_CONFIG_HOME=$work/config $tavik --no-rc" --editor "vim:vim -u NONE -i NONE -n" >"$work/results.tsv"

printf '%-8s %7s %9s %9s %9s %9s %9s %9s\n' key samples tavik_med tavik_p99 vim_med vim_p99 \
  med_ratio p99_ratio
awk -F'\t' '
  $1 == "tavik" { n[$2] = $3; tm[$2] = $4; tp[$2] = $5; order[++k] = $2 }
  $1 == "vim" { vm[$2] = $4; vp[$2] = $5 }
  END {
    for (i = 1; i <= k; i++) {
      key = order[i]
      r1 = (vm[key] > 0) ? sprintf("%.2f", tm[key] / vm[key]) : "-"
      r2 = (vp[key] > 0) ? sprintf("%.2f", tp[key] / vp[key]) : "-"
      printf "%-8s %7s %9s %9s %9s %9s %9s %9s\n", key, n[key], tm[key], tp[key], vm[key], vp[key], r1, r2
    }
  }' "$work/results.tsv"
