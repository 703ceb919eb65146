#!/usr/bin/env bash
# Installs the build folder given as $1 into a new temporary prefix and builds what an embedder
# builds from there alone: the example host and the pattern example through the CMake package,
# the pattern example again through pkg-config, a program on the host editor's library, and one
# file including every installed header.
# Each program runs and its output is checked. $2 is the compiler to use (the build's own).
#   Usage: tests/install/check-embed.sh BUILD_DIR CXX_COMPILER
set -euo pipefail
build=$1
cxx=$2
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
fail() { echo "FAIL: $*" >&2; exit 1; }
cmake --install "$build" --prefix "$prefix" >/dev/null

# The installed headers reach each other inside the include folder only.
include_dir="$prefix/include"
[ -f "$include_dir/tavik/engine.h" ] || fail "tavik/engine.h not installed"
while IFS= read -r header; do
  while IFS= read -r target; do
    [ -f "$include_dir/$target" ] || fail "${header#"$include_dir"/} includes $target, not installed"
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$header")
done < <(find "$include_dir" -name '*.h')

# Every installed header compiles on its own terms, all in one file.
find "$include_dir" -name '*.h' -printf '#include "%P"\n' | sort >"$work/all_headers.cpp"
"$cxx" -std=c++20 -fsyntax-only -I"$include_dir" "$work/all_headers.cpp" ||
  fail "the installed headers do not compile together"

# The examples, configured and built against the prefix only.
for example in embed regex; do
  cmake -S "$source_dir/examples/$example" -B "$work/$example" -G Ninja \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" >"$work/$example.log" 2>&1 &&
    cmake --build "$work/$example" >>"$work/$example.log" 2>&1 ||
    { cat "$work/$example.log" >&2; fail "the $example example does not build"; }
done

# Our host editor, through its own target: a buffer edited.
mkdir -p "$work/platform_src"
cat >"$work/platform_src/CMakeLists.txt" <<'END'
cmake_minimum_required(VERSION 3.20)
project(platform_check LANGUAGES CXX)
find_package(Tavik CONFIG REQUIRED)
add_executable(platform_check main.cpp)
target_link_libraries(platform_check PRIVATE Tavik::platform)
END
cat >"$work/platform_src/main.cpp" <<'END'
#include <tavik/platform/text_buffer.h>
int main() {
  tavik::platform::TextBuffer buffer(u"one\ntwo");
  buffer.Insert({1, 0}, u"2 ");
  return buffer.Text() == u"one\n2 two" ? 0 : 1;
}
END
cmake -S "$work/platform_src" -B "$work/platform" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_PREFIX_PATH="$prefix" >"$work/platform.log" 2>&1 &&
  cmake --build "$work/platform" >>"$work/platform.log" 2>&1 ||
  { cat "$work/platform.log" >&2; fail "a program on Tavik::platform does not build"; }
"$work/platform/platform_check" || fail "the host editor's buffer gave the wrong text"

# Keys from standard input: a word deleted and the deletion undone, a substitution, a line
# deleted and put back below, an insertion with a count.
out=$(printf '%s\n' 'dw' 'u' ':s/a/o/g<CR>' 'jddp' '3Ax<Esc>' |
  "$work/embed/embed" 'alpha beta' 'gamma' 'delta' 2>"$work/embed.err")
expected=$'olpho beto\ndelta\ngammaxxx'
[ "$out" = "$expected" ] || fail "the embed example printed:
$out
expected:
$expected
stderr: $(cat "$work/embed.err")"
# A redo after an undo, and an ex command that fails leaves its message on the status line.
out=$(printf '%s\n' 'xxuu<C-r>' ':nosuchcommand<CR>' | "$work/embed/embed" 'abc' 2>"$work/embed.err")
[ "$out" = "bc" ] || fail "undo and redo gave: $out"
grep -q 'Unknown command' "$work/embed.err" ||
  fail "no error for an unknown command: $(cat "$work/embed.err")"

# Text and keys beyond ASCII pass through the example's UTF-8 conversions both ways.
out=$(printf '%s\n' 'x' 'A€<Esc>' | "$work/embed/embed" 'é😀a' 2>/dev/null)
[ "$out" = '😀a€' ] || fail "the example's text beyond ASCII came out as: $out"

expected=$'1:2: oo\n2:5: OO\n3:1: Oo'
for program in "$work/regex/regex" "$work/regex_pc"; do
  if [ "$program" = "$work/regex_pc" ]; then
    pc_dir=$(dirname "$(find "$prefix" -name tavik.pc)")
    flags=$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs tavik) ||
      fail "pkg-config does not know tavik"
    # shellcheck disable=SC2086
    "$cxx" -std=c++20 "$source_dir/examples/regex/main.cpp" $flags -o "$program" ||
      fail "the regex example does not build with pkg-config's flags"
  fi
  out=$(printf 'foo\nbar OOps\nOo\n' | "$program" -i 'o\+')
  [ "$out" = "$expected" ] || fail "$(basename "$program") printed: $out"
  set +e
  "$program" 'a\(' </dev/null 2>"$work/regex.err"
  status=$?
  set -e
  [ "$status" -eq 2 ] && grep -q 'invalid pattern' "$work/regex.err" ||
    fail "an unclosed group exited $status: $(cat "$work/regex.err")"
done
echo "built and ran the examples against $prefix"
