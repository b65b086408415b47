# Checks shared by the archive tests; sourced. Each check prints what is
# wrong and sets failed=1.
failed=0
fail() {
  echo "$*"
  failed=1
}

# expect_layout DIR NAME FILE...: DIR holds exactly the folder NAME, which
# holds exactly the FILEs.
expect_layout() {
  local dir=$1 name=$2
  shift 2
  local top inside wanted
  top=$(ls -A "$dir")
  [ "$top" = "$name" ] || fail "the archive's top level is '$top', expected the one folder $name"
  inside=$(ls -A "$dir/$name" | sort)
  wanted=$(printf '%s\n' "$@" | sort)
  [ "$inside" = "$wanted" ] || fail "the folder holds: $(echo $inside); expected: $(echo $wanted)"
}

# expect_version OUTPUT PROGRAM VERSION COMMIT: what `PROGRAM --version` said.
expect_version() {
  local said=${1//$'\r'/}
  [ "$said" = "$2 $3 ($4)" ] || fail "$2 --version said '$said', expected '$2 $3 ($4)'"
}

# expect_same_names WHAT LISTED ACTUAL: two lists of names, one a line, are
# the same set (letter case aside, as Windows compares DLL names).
expect_same_names() {
  local listed actual
  listed=$(tr 'A-Z' 'a-z' <<<"$2" | sort -u)
  actual=$(tr 'A-Z' 'a-z' <<<"$3" | sort -u)
  [ "$listed" = "$actual" ] ||
    fail "$1: the info file lists $(echo $listed); the programs need $(echo $actual)"
}
