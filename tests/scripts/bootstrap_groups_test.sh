#!/usr/bin/env bash
# A viewer's machine gets only what the show needs: ./run installs the group
# "show", which holds no Windows, fuzzing, web or test toolchain and no
# foreign architecture; ./test adds "tests"; every group lists packages.
# Nothing is installed.
cd "$(dirname "$0")/../.." || exit 1
failed=0
grep -qx 'scripts/bootstrap show' run || { echo "./run does not install exactly the group show"; failed=1; }
grep -qx 'scripts/bootstrap show tests' test || { echo "./test does not install show and tests"; failed=1; }
show=$(scripts/bootstrap --list show) || exit 1
for tool in mingw wine :i386 clang glslang spirv emscripten chromium gtest xvfb tesseract; do
  ! grep -q -- "$tool" <<<"$show" || { echo "the show group holds $(grep -- "$tool" <<<"$show")"; failed=1; }
done
for group in show tests windows fuzz release web; do
  [ -n "$(scripts/bootstrap --list "$group")" ] || { echo "the group $group lists nothing"; failed=1; }
done
[ $failed -eq 0 ] && echo "the show group: $(echo $show)"
exit $failed
