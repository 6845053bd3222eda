#!/usr/bin/env bash
# Runs the tool on one golden case in a scratch folder, twice, and compares the exit status and
# every byte of the sheet with the case's expectations.
#
# usage: run_case.sh [--once] CASE_DIR TOOL [EMULATOR [ARG...]]
#   CASE_DIR holds Korvela.txt (none: the tool finds no list), expected.html (none: the tool
#   must create no sheet) and status (the expected exit status; none: 0).
#   EMULATOR runs TOOL, as wine runs the Windows build.
#   --once runs the tool only once, where many cases share one run and repeatability is
#   checked elsewhere.
set -u
attempts="first second"
[ "$1" = --once ] && { attempts=first; shift; }
case_dir=$1 tool=$2
shift 2
emulator=("$@")

expected_status=0
[ -f "$case_dir/status" ] && expected_status=$(cat "$case_dir/status")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
[ -f "$case_dir/Korvela.txt" ] && cp "$case_dir/Korvela.txt" "$scratch/"

failed=0
for attempt in $attempts; do
  output=$(cd "$scratch" && "${emulator[@]}" "$tool" 2>&1)
  status=$?
  if [ "$status" != "$expected_status" ]; then
    echo "$attempt run: exit status $status, expected $expected_status"
    failed=1
  fi
  if [ -n "$output" ]; then
    echo "$attempt run printed something: $output"
    failed=1
  fi
  if [ -f "$case_dir/expected.html" ]; then
    if ! cmp "$case_dir/expected.html" "$scratch/Korvela.html"; then
      echo "$attempt run: sheet differs from $case_dir/expected.html"
      failed=1
    fi
  elif [ -e "$scratch/Korvela.html" ]; then
    echo "$attempt run: created a sheet where none was expected"
    failed=1
  fi
done
exit $failed
