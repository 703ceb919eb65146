#!/usr/bin/env bash
# CPU time per key of the terminal editor against Vim, as `perf stat` counts it for the editor's
# process alone: each editor runs in its own tmux server (80x24) on a copy of a 1,000,000-line
# file with search highlighting on, and gets the same keys (j, x, dd, u, n, typing in insert
# mode) ROUNDS times over, the editors taking turns. Prints the median milliseconds per key.
# Needs perf and the permission to attach to a process.
# Usage: bench/terminal_cpu.sh [KEYS_PER_ROUND] [ROUNDS]   (default 500 and 3)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/compare_lib.sh"
root=$compare_root
build="$root/build/term-release"
count=${1:-500}
rounds=${2:-3}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIK_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target tavik -j2 >/dev/null
work=$(mktemp -d)
trap 'tmux -L "cpu$$" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
awk 'BEGIN { for (i = 1; i <= 1000000; i++) printf "%07d foo %s\n", i, "abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz" }' >"$work/big.txt"

# The editor keeps its registry in a folder of the run's own, with the welcome dialog off.
XDG_CONFIG_HOME="$work/config" "$build/tavik" --setting DontShowWelcome2=true

# One measurement: milliseconds of CPU per key for the editor command and the key.
per_key() {
  local command=$1 key=$2 sock="cpu$$" t
  cp "$work/big.txt" "$work/copy.txt"
  tmux -L "$sock" -f /dev/null new-session -d -s main -x 80 -y 24 "$command $work/copy.txt"
  send() { tmux -L "$sock" send-keys -t main "$@"; }
  sleep 2
  send -l ':set hlsearch'; send Enter; send -l '/foo'; send Enter; send -l gg
  case $key in
    insert) send -l i ;;
    x) send -l 0 ;;
    u) for ((t = 0; t < count; t++)); do send -l dd; sleep 0.002; done ;;
  esac
  sleep 1
  local pid
  pid=$(tmux -L "$sock" list-panes -t main -F '#{pane_pid}')
  perf stat -p "$pid" -e task-clock -o "$work/stat" &
  local stat_pid=$!
  sleep 0.3
  for ((t = 1; t <= count; t++)); do
    local k=$key
    [ "$key" = insert ] && k=a
    # A line holds 75 characters: x goes on to the next line every 50 deletions.
    [ "$key" = x ] && [ $((t % 50)) = 0 ] && send -l j
    send -l "$k"
    sleep 0.002
  done
  sleep 0.5
  kill -INT "$stat_pid"
  wait "$stat_pid" 2>/dev/null || true
  tmux -L "$sock" kill-server
  awk -v n="$count" '/task-clock/ { printf "%.3f\n", $1 / n }' "$work/stat"
}

printf '%-8s %12s %12s %7s\n' key tavik_ms vim_ms ratio
for key in j x dd u n insert; do
  : >"$work/tavik.txt"
  : >"$work/vim.txt"
  for ((r = 0; r < rounds; r++)); do
    per_key "env XDG_CONFIG_HOME=$work/config $build/tavik --no-rc" "$key" >>"$work/tavik.txt"
    per_key "vim -u NONE -i NONE -n" "$key" >>"$work/vim.txt"
  done
  mapfile -t tavik_ms <"$work/tavik.txt"
  mapfile -t vim_ms <"$work/vim.txt"
  a=$(median "${tavik_ms[@]}")
  b=$(median "${vim_ms[@]}")
  awk -v k="$key" -v a="$a" -v b="$b" 'BEGIN { printf "%-8s %12s %12s %7.2f\n", k, a, b, a / b }'
done
