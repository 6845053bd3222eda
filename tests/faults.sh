#!/usr/bin/env bash
# Failure cases that need a prepared folder rather than a list: each checks that the tool's
# exit status tells the failure and that no earlier sheet is lost without cause.
#
# usage: faults.sh TOOL CASE [FAILING_READ]
#   CASE is one of the functions below; FAILING_READ is the preload library that makes the
#   list's reads fail part-way (tests/failing_read.cpp).
# Exits 77 where a case cannot be arranged on this machine.
set -u
tool=$1 name=$2 failing_read=${3:-}
golden=$(cd "$(dirname "$0")/golden/cases" && pwd)

scratch=$(mktemp -d)
chmod 755 "$scratch"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1

fail() { echo "$name: $*"; exit 1; }

# Runs the tool and checks its status, its silence, and that the list is as it was: the tool
# never writes to the list, whatever fails.
expect_status() {
  local list_before=
  [ -f Korvela.txt ] && list_before=$(cksum <Korvela.txt)
  "$@" >output 2>&1
  local status=$?
  [ "$status" = "$expected" ] || fail "exit status $status, expected $expected"
  [ -s output ] && fail "printed: $(cat output)"
  rm -f output
  [ -z "$list_before" ] || [ "$(cksum <Korvela.txt)" = "$list_before" ] || fail "the list changed"
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

# The size of the settings line and the first count names of a list: where a read may fail.
bytes_through_name() {
  head -n $(($2 + 1)) "$1" | wc -c
}

# Runs the tool with the list's reads failing at byte offset, and expects status 3 and the
# golden sheet of the list that ends there.
read_fails_at() {
  local offset=$1 sheet=$2
  [ -n "$failing_read" ] || { echo "$name: no failing-read library"; exit 77; }
  # The sanitizers' runtime wants to come first; the preloaded reads must come before it.
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 \
    FAIL_READ_AT=$offset LD_PRELOAD=$failing_read expected=3 expect_status "$tool"
  cmp "$golden/$sheet/expected.html" Korvela.html || fail "sheet differs from $sheet"
}

read_fails_between_tags() {
  cp "$golden/two-panel-four-names/Korvela.txt" .
  read_fails_at "$(bytes_through_name Korvela.txt 3)" two-panel-three-names
}

read_fails_inside_a_line() {
  # Like fgets, a read that fails part-way through a line yields no line at all.
  cp "$golden/two-panel-four-names/Korvela.txt" .
  read_fails_at $(($(bytes_through_name Korvela.txt 3) + 5)) two-panel-three-names
}

read_fails_on_the_first_of_a_pair() {
  cp "$golden/two-column-seven-names/Korvela.txt" .
  read_fails_at "$(bytes_through_name Korvela.txt 6)" two-column-six-names
}

read_fails_on_the_second_of_a_pair() {
  # The last pair is completed with the filler, as at the end of the list.
  cp "$golden/two-column-nine-names/Korvela.txt" .
  read_fails_at "$(bytes_through_name Korvela.txt 7)" two-column-seven-names
}

disk_fills_part_way() {
  for n in $(seq 400); do printf 'Name %d=Surname %d\r\n' "$n" "$n"; done >Korvela.txt
  # Writes past 64 KiB fail with EFBIG; the signal that would otherwise end the tool is ignored.
  expected=4 expect_status bash -c "trap '' XFSZ; ulimit -f 64; exec '$tool'"
  [ "$(wc -c <Korvela.html)" -le 65536 ] || fail "the sheet outgrew the limit"
}

"$name"
