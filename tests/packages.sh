#!/usr/bin/env bash
# Builds the packages and checks that what they hold is what was tested: the tool installed or
# unpacked from each writes the example list's golden sheet, byte for byte. Each carries the
# licence and the browser page (its release file, byte for byte), the .deb passes lintian, and
# the same source packed again elsewhere, later, with another umask and (as root) by another
# user gives the same bytes.
#
# usage: packages.sh linux BUILD_DIR              the .deb (installed with dpkg when root), the
#                                                 .tar.gz and the man page
#        packages.sh windows BUILD_DIR [EMULATOR]  the .zip, its README.txt, the .exe's version
#                                                 and hardening
# Under CI (CI=true) a check that cannot run here fails instead of being skipped.
set -euo pipefail
kind=$1 build=$(cd "$2" && pwd)
shift 2
emulator=("$@")
root=$(cd "$(dirname "$0")/.." && pwd)
example=$root/tests/golden/cases/example-list

fail() { echo "packages: $*" >&2; exit 1; }
skip_or_fail() {
  [ "${CI:-}" = true ] && fail "cannot check under CI: $*"
  echo "packages: skipped: $*"
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The browser page's release file, which each package must hold byte for byte; none where
# emscripten is missing (under CI, a failure).
page_release() {
  local page=$build/korvela-$version-web.html
  if [ -f "$page" ]; then
    echo "$page"
  else
    skip_or_fail "emscripten, to build the browser page for the packages" >&2
  fi
}

# The golden runner: the example list in a scratch folder, the status, silence and the sheet.
expect_example_sheet() {
  bash "$root/tests/golden/run_case.sh" "$example" "$@" || fail "$*: not the example's sheet"
}

cmake --build "$build" --target package >/dev/null

# The source copied to another folder (its git history too, which dates the packages), built
# there with the tests left out, a second later, with umask 027, and where this runs as root by
# nobody: each of the named files must come out byte for byte as in BUILD_DIR.
expect_packed_again_alike() {
  local again=$scratch/again files=("$@") as=()
  mkdir -p "$again/source"
  tar -C "$root" --exclude='./build*' --exclude=node_modules -cf - . | tar -C "$again/source" -xf -
  if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
    chmod 755 "$scratch" && chown -R nobody:nogroup "$again"
    as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  sleep 1
  "${as[@]}" bash -c 'umask 027 && cmake -S "$1/source" -B "$1/build" -DBUILD_TESTING=OFF \
    -DCMAKE_BUILD_TYPE=Release ${2:+"-DCMAKE_TOOLCHAIN_FILE=$1/source/$2"} &&
    cmake --build "$1/build" --target package' _ "$again" "${toolchain:-}" \
    >"$scratch/again.log" 2>&1 || { cat "$scratch/again.log"; fail "packing again failed"; }
  for file in "${files[@]}"; do
    cmp "$build/$file" "$again/build/$file" || fail "$file differs when packed again"
  done
  (cd "$build" && sha256sum "${files[@]}")
}

linux_packages() {
  local deb=$build/korvela_${version}_amd64.deb tarball=$build/korvela-$version-Linux.tar.gz
  ls -l "$deb" "$tarball"
  dpkg-deb --field "$deb" Package Version Section Depends

  # The .tar.gz: bin/korvela, run from where it was unpacked, and the licence beside it.
  mkdir "$scratch/tarball"
  tar -xzf "$tarball" -C "$scratch/tarball"
  expect_example_sheet "$scratch/tarball/korvela-$version-Linux/bin/korvela"
  cmp "$root/LICENSE" "$scratch/tarball/korvela-$version-Linux/LICENSE" || fail "no LICENSE"
  dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/korvela/guide.md |
    cmp - "$root/docs/guide.md" || fail "the .deb lacks the user's guide"
  local page again=()
  page=$(page_release)
  if [ -n "$page" ]; then
    cmp "$page" "$scratch/tarball/korvela-$version-Linux/share/korvela/korvela-web.html" ||
      fail "the .tar.gz's browser page is not $page"
    dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/korvela/korvela-web.html | cmp - "$page" ||
      fail "the .deb's browser page is not $page"
    again=("$(basename "$page")")
  fi

  # The .deb as Debian checks every package: no error, warning, note or pedantic hint.
  if command -v lintian >/dev/null; then
    local report status=0
    report=$(lintian --fail-on error,warning,info,pedantic -I -E --pedantic "$deb" 2>&1) ||
      status=$?
    grep -v 'running with root privileges' <<<"$report" || true
    [ "$status" = 0 ] || fail "lintian finds fault with the .deb"
    dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/korvela/copyright |
      grep -q '^License: Expat$' || fail "the .deb's copyright names no licence"
  else
    skip_or_fail "lintian"
  fi
  expect_packed_again_alike "$(basename "$deb")" "$(basename "$tarball")" "${again[@]}"

  # The man page, as the package carries it.
  if command -v mandoc >/dev/null; then
    mandoc -Tlint -Wwarning "$build/korvela.1" || fail "the man page has warnings"
  elif command -v groff >/dev/null; then
    [ -z "$(groff -man -ww -z "$build/korvela.1" 2>&1)" ] || fail "the man page has warnings"
  else
    skip_or_fail "mandoc or groff to check the man page"
  fi

  # The .deb, installed for real: the tool from the PATH, and its man page.
  if [ "$(id -u)" != 0 ] || ! command -v dpkg >/dev/null; then
    skip_or_fail "installing the .deb needs root"
    return
  fi
  dpkg-query -W korvela >/dev/null 2>&1 && fail "korvela is installed already; remove it first"
  dpkg -i "$deb" >/dev/null
  local status=0
  (
    [ "$(command -v korvela)" = /usr/bin/korvela ] || fail "korvela is not on the PATH"
    expect_example_sheet korvela
    man -w korvela >/dev/null || fail "man -w korvela finds no page"
  ) || status=$?
  dpkg -r korvela >/dev/null
  [ "$status" = 0 ] || exit "$status"
  ! command -v korvela >/dev/null || fail "korvela is still on the PATH after dpkg -r"
}

windows_package() {
  local zip=$build/korvela-$version-win64.zip
  ls -l "$zip"
  (cd "$scratch" && cmake -E tar xf "$zip")
  local folder=$scratch/korvela-$version-win64 page again=() listed=""
  page=$(page_release)
  if [ -n "$page" ]; then
    cmp "$page" "$folder/korvela-web.html" || fail "the zip's browser page is not $page"
    again=("$(basename "$page")")
    listed="korvela-web.html "
  fi
  [ "$(ls "$folder" | tr '\n' ' ')" = "Korvela.txt LICENSE.txt README.txt ${listed}korvela.exe " ] ||
    fail "the zip holds $(ls "$folder" | tr '\n' ' ')"
  sed 's/$/\r/' "$root/LICENSE" | cmp - "$folder/LICENSE.txt" ||
    fail "LICENSE.txt is not LICENSE in CR LF"

  # README.txt: plain text for Notepad, every line ending in CR LF.
  [ "$(head -c 3 "$folder/README.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
    fail "README.txt has no UTF-8 byte-order mark"
  ! tr -d '\r' <"$folder/README.txt" | cmp -s - "$folder/README.txt" || fail "README.txt has no CR"
  [ "$(grep -c $'[^\r]$\\|^$' "$folder/README.txt")" = 0 ] || fail "README.txt has a bare LF"
  # Made from the user's guide: each of its headings is a line of README.txt.
  while read -r section; do
    grep -qF -x "$section"$'\r' "$folder/README.txt" || fail "README.txt lacks \"$section\""
  done < <(sed -n 's/^##* //p' "$root/docs/guide.md" | tail -n +2)
  ! grep -q -E '`|\]\(|<!--' "$folder/README.txt" || fail "README.txt holds Markdown"

  # The version resource that Explorer shows, from the project's version.
  local resource
  resource=$(strings -el "$folder/korvela.exe")
  for field in FileDescription FileVersion ProductVersion ProductName OriginalFilename; do
    grep -qx "$field" <<<"$resource" || fail "korvela.exe has no $field"
  done
  [ "$(grep -A1 -x FileVersion <<<"$resource" | tail -1)" = "$version" ] ||
    fail "korvela.exe's FileVersion is not $version"

  # Hardened and still one file: it imports system DLLs only, with libssp linked in. Its stack
  # protector and checked copy show by name in the build's .exe and by their messages in the
  # stripped one shipped.
  local imports symbols
  tool_of() { sed -n "s/^CMAKE_$1:FILEPATH=//p" "$build/CMakeCache.txt"; }
  imports=$("$(tool_of OBJDUMP)" -p "$folder/korvela.exe" | sed -n 's/^\tDLL Name: //p' | tr '\n' ' ')
  [ "$imports" = "ADVAPI32.dll KERNEL32.dll msvcrt.dll " ] || fail "korvela.exe imports $imports"
  symbols=$("$(tool_of NM)" "$build/korvela.exe")
  for symbol in __stack_chk_fail __memcpy_chk; do
    grep -q " T $symbol\$" <<<"$symbols" || fail "korvela.exe has no $symbol"
  done
  for message in "stack smashing detected" "buffer overflow detected"; do
    grep -qa "$message" "$folder/korvela.exe" || fail "the shipped korvela.exe lacks \"$message\""
  done

  # A double-click right after unpacking: in its own folder, on the sample list it carries.
  cmp "$example/Korvela.txt" "$folder/Korvela.txt" || fail "the zip's list is not the example"
  local output
  output=$(cd "$folder" && "${emulator[@]}" ./korvela.exe 2>&1) || fail "korvela.exe failed: $?"
  [ -z "$output" ] || fail "korvela.exe printed: $output"
  cmp "$example/expected.html" "$folder/Korvela.html" || fail "korvela.exe: the sheet differs"
  toolchain=cmake/mingw-w64.cmake expect_packed_again_alike "$(basename "$zip")" korvela.exe \
    "${again[@]}"
}

case $kind in
linux) linux_packages ;;
windows) windows_package ;;
*) fail "unknown kind $kind" ;;
esac
echo "packages ($kind): checked"
