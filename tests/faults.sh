#!/usr/bin/env bash
# Failure cases that need a prepared folder rather than a list: each checks that the tool's
# exit status tells the failure and that no earlier sheet is lost without cause.
#
# usage: faults.sh TOOL CASE      (CASE is one of the functions below)
# Exits 77 where a case cannot be arranged on this machine.
set -u
tool=$1 name=$2
golden=$(cd "$(dirname "$0")/golden/cases" && pwd)

scratch=$(mktemp -d)
chmod 755 "$scratch"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1

fail() { echo "$name: $*"; exit 1; }

expect_status() {
  "$@" >output 2>&1
  local status=$?
  [ "$status" = "$expected" ] || fail "exit status $status, expected $expected"
  [ -s output ] && fail "printed: $(cat output)"
  rm -f output
}

# Runs the tool as an unprivileged user when this is root, since root may open any file.
run_unprivileged() {
  if [ "$(id -u)" != 0 ]; then
    "$tool"
  elif command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
    cp "$tool" ./korvela-copy && chmod 755 ./korvela-copy && chmod 777 .
    setpriv --reuid=nobody --regid=nogroup --clear-groups ./korvela-copy
  else
    echo "$name: no unprivileged user to run as"
    exit 77
  fi
}

missing_list_keeps_earlier_sheet() {
  printf 'earlier sheet\n' >Korvela.html
  expected=1 expect_status "$tool"
  [ "$(cat Korvela.html)" = "earlier sheet" ] || fail "the earlier sheet was changed"
}

sheet_path_is_a_folder() {
  printf 'Anna\n' >Korvela.txt
  mkdir Korvela.html
  expected=2 expect_status "$tool"
  [ -z "$(ls Korvela.html)" ] || fail "something was written into the folder"
}

full_disk() {
  [ -w /dev/full ] || { echo "$name: no /dev/full"; exit 77; }
  cp "$golden/three-names-four-panel/Korvela.txt" .
  ln -s /dev/full Korvela.html
  expected=4 expect_status "$tool"
}

list_is_a_folder() {
  mkdir Korvela.txt
  expected=3 expect_status "$tool"
  # The read fails at once; the sheet is still completed, with no tag in it.
  cmp "$golden/empty-list/expected.html" Korvela.html || fail "sheet not completed"
}

read_only_list() {
  cp "$golden/one-name/Korvela.txt" .
  chmod 444 Korvela.txt
  expected=0 expect_status run_unprivileged
  cmp "$golden/one-name/expected.html" Korvela.html || fail "sheet differs"
}

unreadable_list() {
  cp "$golden/one-name/Korvela.txt" .
  printf 'earlier sheet\n' >Korvela.html
  chmod 666 Korvela.html
  chmod 000 Korvela.txt
  expected=1 expect_status run_unprivileged
  [ "$(cat Korvela.html)" = "earlier sheet" ] || fail "the earlier sheet was changed"
}

"$name"
