#!/usr/bin/env bash
# A viewer's machine gets only what the show needs: ./run installs the
# group "show", which holds no Windows, sanitizer, fuzzing or web toolchain,
# no foreign architecture and no test tool. ./test adds "tests"; every
# group lists packages. Nothing is installed.
set -u
cd "$(dirname "$0")/../.."
failed=0
grep -qx 'scripts/bootstrap show' run || { echo "./run does not install exactly the group show"; failed=1; }
grep -qx 'scripts/bootstrap show tests' test || { echo "./test does not install show and tests"; failed=1; }
show=$(scripts/bootstrap --list show) || exit 1
for toolchain in mingw wine :i386 clang compiler-rt glslang spirv emscripten chromium gtest xvfb tesseract; do
  if grep -q -- "$toolchain" <<<"$show"; then echo "the show group holds $toolchain: $(grep -- "$toolchain" <<<"$show" | tr '\n' ' ')"; failed=1; fi
done
for group in show tests windows fuzz release web; do
  [ -n "$(scripts/bootstrap --list "$group")" ] || { echo "the group $group lists nothing"; failed=1; }
done
scripts/bootstrap --list no-such-group >/dev/null 2>&1 && { echo "an unknown group was accepted"; failed=1; }
[ $failed -eq 0 ] && echo "the show group holds $(wc -l <<<"$show") packages, no toolchain beyond building the show"
exit $failed
