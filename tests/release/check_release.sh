#!/usr/bin/env bash
# Checks the archive a Windows user downloads: runs scripts/release.sh twice, requires the same
# bytes both times, and looks inside: the two programs for their machines with their version
# resources, the read-me, the licence and the third-party notices. Prints its checks in
# GoogleTest's manner, so that the test command counts them; exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed_names=()
current=

check() { current=$1; echo "[ RUN      ] Release.$current"; }
pass() { echo "[       OK ] Release.$current"; passed=$((passed + 1)); }
fail() {
  echo "$*"
  echo "[  FAILED  ] Release.$current"
  failed_names+=("Release.$current")
}
# One check: its name, then a command that succeeds when the check passes.
expect() {
  local name=$1
  shift
  check "$name"
  local message
  if message=$("$@" 2>&1); then pass; else fail "$message"; fi
}
finish() {
  echo "[  PASSED  ] $passed tests."
  if [ ${#failed_names[@]} -gt 0 ]; then
    echo "[  FAILED  ] ${#failed_names[@]} tests, listed below:"
    printf '[  FAILED  ] %s\n' "${failed_names[@]}"
    exit 1
  fi
  exit 0
}

version=$(sed -n 's/^project(Kamerin VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
archive="build/release/Kamerin-$version.zip"

check MakesTheArchiveTwiceWithTheSameBytes
if ! bash scripts/release.sh >"$work/first.log" 2>&1 || [ ! -f "$archive" ]; then
  fail "$(tail -n 20 "$work/first.log")" "release.sh did not make $archive"
  finish
fi
cp "$archive" "$work/first.zip"
sleep 1  # a time taken from the clock would differ now
if ! bash scripts/release.sh >"$work/second.log" 2>&1; then
  fail "$(tail -n 20 "$work/second.log")"
elif cmp "$work/first.zip" "$archive"; then
  pass
else
  fail "two runs of release.sh gave different archives"
fi

mkdir "$work/unpacked"
unzip -q "$archive" -d "$work/unpacked" || { echo "cannot unpack $archive"; exit 1; }
u="$work/unpacked"

has_exactly_the_files() {
  local names
  names=$(unzip -Z1 "$archive" | LC_ALL=C sort | paste -sd' ' -)
  [ "$names" = "Kamerin.exe Kamerin64.exe LICENSE.txt ReadMe.txt THIRD-PARTY-NOTICES.txt" ] ||
    { echo "archive holds: $names"; return 1; }
}
expect HoldsTheTwoProgramsReadMeLicenceAndNotices has_exactly_the_files

# The machine field of a PE file's COFF header (hex), after checking the "PE\0\0" signature.
pe_machine() {
  local offset signature
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  signature=$(od -An -tx1 -j"$offset" -N4 "$1" | tr -d ' \n')
  [ "$signature" = 50450000 ] || { echo "$1 is no PE file"; return 1; }
  od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}
is_machine() {
  local machine
  machine=$(pe_machine "$1") || return 1
  [ "$machine" = "$2" ] || { echo "$(basename "$1"): machine $machine, not $2"; return 1; }
}
expect Kamerin32IsAnI386Program is_machine "$u/Kamerin.exe" 014c
expect Kamerin64IsAnX86_64Program is_machine "$u/Kamerin64.exe" 8664

# The 32-bit program is built for SSE2: its own floating point is done in SSE2 scalar instructions
# (the prebuilt runtime and libjpeg-turbo's C code keep the x87 unit and have none of them).
uses_sse2_floating_point() {
  local count
  count=$(i686-w64-mingw32-objdump -d "$1" | grep -cE $'\t(mulsd|cvtsi2sd|divsd) ')
  [ "$count" -gt 0 ] || { echo "$(basename "$1"): no SSE2 floating point"; return 1; }
}
expect Kamerin32IsBuiltForSse2 uses_sse2_floating_point "$u/Kamerin.exe"

# The version resource as windres reads it back from the exe.
has_version_resource() {
  local exe=$1 windres=$2 rc
  rc=$("$windres" -i "$exe" -O rc) || return 1
  local numbers=${version//./, }
  local want
  for want in "FILEVERSION $numbers" "PRODUCTVERSION $numbers" \
              "VALUE \"FileVersion\", \"$version\"" "VALUE \"ProductVersion\", \"$version\"" \
              "VALUE \"ProductName\", \"Kamerin\"" "VALUE \"FileDescription\", \"Kamerin screen capture\"" \
              "VALUE \"LegalCopyright\", \"Copyright (C) " "Kamerin developers\"" \
              "VALUE \"OriginalFilename\", \"$(basename "$exe")\""; do
    grep -qF -- "$want" <<<"$rc" || { echo "$(basename "$exe"): no '$want' in its version resource"; return 1; }
  done
}
expect Kamerin32HasItsVersionResource has_version_resource "$u/Kamerin.exe" i686-w64-mingw32-windres
expect Kamerin64HasItsVersionResource has_version_resource "$u/Kamerin64.exe" x86_64-w64-mingw32-windres

# A text for Notepad: UTF-8 with a byte order mark, every line ended by CRLF.
is_windows_text() {
  [ "$(head -c 3 "$1" | od -An -tx1 | tr -d ' \n')" = efbbbf ] || { echo "$1: no UTF-8 byte order mark"; return 1; }
  iconv -f UTF-8 -t UTF-8 "$1" >/dev/null || { echo "$1: not UTF-8"; return 1; }
  ! grep -qv $'\r$' "$1" || { echo "$1: a line without CR"; return 1; }
}
# The words of a text, each once, separated by single blanks: sentences wrapped over lines match.
flat() { tr -d '\r' <"$1" | tr -s ' \n\t' '   '; }
contains() {
  local file=$1 text
  shift
  for text in "$@"; do
    flat "$file" | grep -qF -- "$text" || { echo "$(basename "$file"): no '$text'"; return 1; }
  done
}

readme_tells_the_keys() {
  is_windows_text "$u/ReadMe.txt" &&
    contains "$u/ReadMe.txt" "Kamerin $version" "PrintScreen" "Ctrl+PrintScreen" "Kamerin.ini" \
      "This software is based in part on the work of the Independent JPEG Group"
}
expect ReadMeIsForNotepadAndTellsTheKeys readme_tells_the_keys

licence_is_there() {
  is_windows_text "$u/LICENSE.txt" && contains "$u/LICENSE.txt" "MIT License" "Copyright (c) 2026 Kamerin developers"
}
expect LicenceIsThere licence_is_there

notices_are_complete() {
  local n="$u/THIRD-PARTY-NOTICES.txt"
  is_windows_text "$n" &&
    contains "$n" "This software is based in part on the work of the Independent JPEG Group" \
      "If only executable code is distributed, then the accompanying documentation must state" \
      "Copyright (C)2009-2023 D. R. Commander." \
      "Redistributions of source code must retain the above copyright notice, this list of conditions and the following disclaimer." \
      "Redistributions in binary form must reproduce the above copyright notice, this list of conditions and the following disclaimer in the documentation and/or other materials provided with the distribution." \
      "Neither the name of the libjpeg-turbo Project nor the names of its contributors may be used" \
      "This notice may not be removed or altered from any source distribution." \
      "libdeflate 1.14" "Copyright 2016 Eric Biggers" \
      "The above copyright notice and this permission notice shall be included in all copies or substantial portions of the Software." \
      "License: ZPL-2.1" "Files: mingw-w64-libraries/winpthreads/*" \
      "GCC RUNTIME LIBRARY EXCEPTION" "GNU GENERAL PUBLIC LICENSE Version 3"
}
expect NoticesHoldTheLicenceTextsOfTheLibraries notices_are_complete

finish
