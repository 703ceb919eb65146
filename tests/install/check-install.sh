#!/usr/bin/env bash
# Installs the build folder given as $1 into a new temporary prefix and checks what a user gets:
# the program runs from there, and its manual page and sample startup file are in place.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
# Nothing of the user's: settings and state live in the prefix too.
export XDG_CONFIG_HOME="$prefix/config" XDG_STATE_HOME="$prefix/state" XDG_DATA_HOME="$prefix/data"
export HOME="$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "FAIL: $*" >&2; exit 1; }
version=$("$prefix/bin/tavik" --version) || fail "tavik --version failed"
[[ $version == Tavik\ * ]] || fail "unexpected version text: $version"
"$prefix/bin/tavik" --help | grep -q -- '--batch' || fail "--help lacks --batch"
set +e
"$prefix/bin/tavik" --no-such-option >/dev/null 2>"$prefix/err"
status=$?
set -e
[ "$status" -eq 2 ] || fail "an unknown option exited $status, not 2"
grep -q '^usage: tavik' "$prefix/err" || fail "no usage on stderr for an unknown option"
[ -s "$prefix/share/man/man1/tavik.1" ] || fail "manual page missing"
grep -q '^\.SH FILES' "$prefix/share/man/man1/tavik.1" || fail "manual page has no FILES section"
sample="$prefix/share/doc/tavik/tavikrc.sample"
[ -s "$sample" ] || fail "sample startup file missing"
# The sample runs without an error line.
out=$(printf 'abc\n' >"$prefix/in.txt" &&
  "$prefix/bin/tavik" --batch --rc "$sample" --keys 'Yp' "$prefix/in.txt" 2>&1)
[ "$out" = "aabcbc" ] || fail "the sample startup file gave: $out"
echo "installed and ran from $prefix"
