#!/usr/bin/env bash
# Builds the archive a Windows user downloads: build/release/Kamerin-VERSION.zip with Kamerin.exe
# (32-bit), Kamerin64.exe (64-bit), ReadMe.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt.
# VERSION is the project's version in CMakeLists.txt. Both programs come from the Release builds
# of the test command (presets windows and windows64); only the program is built, so that with
# the builds already there this takes seconds. Safe to run again: the archive is made anew.
#
# The same commit gives the same archive byte for byte: the exes are linked without a time stamp,
# and every entry has the commit's time (or SOURCE_DATE_EPOCH, when set), the same permissions and
# a fixed place, with no extra fields.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

version=$(sed -n 's/^project(Kamerin VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || { echo "release: no commit to take the time from; set SOURCE_DATE_EPOCH" >&2; exit 1; }

out="$root/build/release"
logs="$out/logs"
mkdir -p "$logs"
for preset in windows windows64; do
  echo "release: building Kamerin ($preset)"
  # A build folder that exists reconfigures itself when the CMake files change.
  if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset" >"$logs/configure-$preset.log" 2>&1 ||
      { tail -n 40 "$logs/configure-$preset.log"; exit 1; }
  fi
  cmake --build --preset "$preset" --target Kamerin >"$logs/build-$preset.log" 2>&1 ||
    { tail -n 40 "$logs/build-$preset.log"; exit 1; }
done

stage="$out/Kamerin-$version"
rm -rf "$stage"
mkdir -p "$stage"
cp build/windows/Kamerin.exe "$stage/Kamerin.exe"
cp build/windows64/Kamerin.exe "$stage/Kamerin64.exe"

# Text for Windows Notepad: UTF-8 with a byte order mark, CRLF line ends.
windows_text() {
  printf '\xEF\xBB\xBF'
  sed 's/\r$//; s/$/\r/'
}
sed "s/@VERSION@/$version/" release/ReadMe.txt | windows_text >"$stage/ReadMe.txt"
windows_text <LICENSE >"$stage/LICENSE.txt"
bash release/notices.sh "$root" | windows_text >"$stage/THIRD-PARTY-NOTICES.txt"

chmod 644 "$stage"/*
touch -d "@$epoch" "$stage"/*
archive="$out/Kamerin-$version.zip"
rm -f "$archive"
# zip keeps local time in the archive: UTC, so that the machine's time zone does not matter.
(cd "$stage" && LC_ALL=C ls | LC_ALL=C sort | TZ=UTC zip -X -D -q -9 "$archive" -@)
echo "release: $archive"
sha256sum "$archive" | cut -d' ' -f1
