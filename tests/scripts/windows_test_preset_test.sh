#!/usr/bin/env bash
# scripts/windows-test-preset on hosts of each kind, made with fake probes:
# an i386 loader that answers or fails, Wine's loaders present or not.
# Each row: i386 loader (runs, fails, none), wine32 (yes/no), wine64
# (yes/no), then the preset it must print, or "fail".
cd "$(dirname "$0")/../.." || exit 1
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\nexit 0\n' >"$fake/runs"
printf '#!/bin/sh\necho "Exec format error" >&2; exit 126\n' >"$fake/fails"
printf '#!/bin/sh\nexit 0\n' >"$fake/wine"
chmod +x "$fake"/*

failed=0
while read -r i386 wine32 wine64 expected; do
  export GM_I386_LOADER=$fake/$i386
  export GM_WINE32=$fake/$([ "$wine32" = yes ] && echo wine || echo missing)
  export GM_WINE64=$fake/$([ "$wine64" = yes ] && echo wine || echo missing)
  got=$(scripts/windows-test-preset 2>"$fake/said") && status=0 || status=$?
  said=$(cat "$fake/said")
  if [ "$expected" = fail ]; then
    [ $status -eq 1 ] && [ -z "$got" ] && [[ $said == *"none can run"* ]] ||
      { echo "i386 $i386, wine32 $wine32, wine64 $wine64: expected a failure, got '$got' ($status): $said"; failed=1; }
  else
    [ $status -eq 0 ] && [ "$got" = "$expected" ] && [[ $said == "windows tests: $expected "* ]] &&
      [ "$(wc -l <"$fake/said")" -eq 1 ] ||
      { echo "i386 $i386, wine32 $wine32, wine64 $wine64: expected $expected, got '$got' ($status): $said"; failed=1; }
  fi
done <<'ROWS'
runs  yes yes windows-x86
runs  yes no  windows-x86
fails yes yes windows-x64
none  no  yes windows-x64
runs  no  yes windows-x64
fails yes no  fail
none  no  no  fail
ROWS

# The loader a build runs under follows its word size, whatever the host.
[ "$(GM_WINE64=/x/wine64 scripts/windows-test-preset --loader win64)" = /x/wine64 ] &&
  [ "$(GM_WINE32=/x/wine scripts/windows-test-preset --loader win32)" = /x/wine ] ||
  { echo "--loader does not name the build's loader"; failed=1; }
[ $failed -eq 0 ] && echo "every kind of host gets its preset, and one that runs neither fails"
exit $failed
