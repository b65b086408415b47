#!/usr/bin/env bash
# A second release build of the same commit, from a fresh clone at another
# path, gives archives byte for byte the same as those in CHECKOUT/dist.
# Usage: reproducible_test.sh CHECKOUT
set -u
repo=$(realpath "$1")
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
  echo "the checkout has uncommitted changes, so its archives are not a commit's: commit first"
  exit 1
fi
commit=$(git -C "$repo" rev-parse HEAD)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone -q --no-checkout "$repo" "$work/src" && git -C "$work/src" checkout -q --detach "$commit" || exit 1
if ! (cd "$work/src" && scripts/release) >"$work/release.txt" 2>&1; then
  echo "the second release build failed:"
  tail -n 30 "$work/release.txt"
  exit 1
fi

failed=0
count=0
for again in "$work/src/dist/"*; do
  first=$repo/dist/$(basename "$again")
  count=$((count + 1))
  if ! cmp "$first" "$again"; then
    echo "$(basename "$again") differs between two release builds of $commit"
    failed=1
  fi
done
[ $count -eq 3 ] || { echo "the second release build made $count archives, expected 3"; failed=1; }
[ $failed -eq 0 ] && echo "two release builds of $commit give the same bytes"
exit $failed
