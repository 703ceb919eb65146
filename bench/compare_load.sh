#!/usr/bin/env bash
# Loads a 1,000,000-line, ~100 MB file with `tavik --batch` (no keys) and with Vim in Ex mode,
# side by side in one run, and reports median wall time and peak memory of each and their ratio.
# Usage: bench/compare_load.sh [RUNS]        (default 5 runs each, alternating)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/compare_lib.sh"
runs=${1:-5}
work=$compare_work
file="$work/corpus-100mb.txt"
if [ ! -f "$file" ]; then
  # Two standard corpus lines per line: 1,000,000 lines of about 106 bytes.
  python3 /work/shared/bench/corpus.py "$work/corpus-2m.txt" 2000000
  paste -d' ' - - < "$work/corpus-2m.txt" > "$file"
  rm -f "$work/corpus-2m.txt"
fi
tavik_bin=$(tavik_binary)
size=$(stat -c %s "$file")
lines=$(wc -l < "$file")
echo "file: $file, $lines lines, $size bytes"

t_times=(); t_mem=(); v_times=(); v_mem=()
for ((i = 0; i < runs; i++)); do
  read -r s k _ < <(measure "$tavik_bin" --batch --no-rc "$file")
  t_times+=("$s"); t_mem+=("$k")
  read -r s k _ < <(measure vim -u NONE -i NONE -n -es -c 'q!' "$file")
  v_times+=("$s"); v_mem+=("$k")
done

tt=$(median "${t_times[@]}"); vt=$(median "${v_times[@]}")
tm=$(median "${t_mem[@]}"); vm=$(median "${v_mem[@]}")
awk -v tt="$tt" -v vt="$vt" -v tm="$tm" -v vm="$vm" -v size="$size" 'BEGIN {
  printf "tavik --batch: median %.3f s, peak %.0f MB (%.2fx file size)\n", tt, tm/1024, tm*1024/size
  printf "vim -es:       median %.3f s, peak %.0f MB (%.2fx file size)\n", vt, vm/1024, vm*1024/size
  printf "time ratio tavik/vim: %.2f\n", (vt > 0 ? tt/vt : 0)
}'
