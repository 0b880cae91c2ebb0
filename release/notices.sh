#!/usr/bin/env bash
# Prints THIRD-PARTY-NOTICES.txt: the complete licence texts of every library built into
# Kamerin.exe and Kamerin64.exe, each under the name of the library it belongs to. The texts are
# taken from the sources the program is built from: libjpeg-turbo's and libdeflate's sources under
# build/deps, and the copyright files Debian installs with the mingw-w64 runtime and GCC.
# Usage: release/notices.sh PROJECT_ROOT
set -euo pipefail
root=$1
jpeg_src="$root/build/deps/libjpeg-turbo"
deflate_src="$root/build/deps/libdeflate"
mingw_copyright=/usr/share/doc/mingw-w64-common/copyright
gcc_copyright=/usr/share/doc/gcc-mingw-w64-base/copyright
gpl3=/usr/share/common-licenses/GPL-3
for f in "$jpeg_src/LICENSE.md" "$jpeg_src/README.ijg" "$jpeg_src/simd/nasm/jsimdext.inc" \
         "$deflate_src/COPYING" "$deflate_src/libdeflate.h" \
         "$mingw_copyright" "$gcc_copyright" "$gpl3"; do
  [ -s "$f" ] || { echo "notices: $f is missing" >&2; exit 1; }
done

jpeg_version=$(sed -n 's/^set(VERSION \([0-9.]*\))$/\1/p' "$jpeg_src/CMakeLists.txt")
deflate_version=$(sed -n 's/^#define LIBDEFLATE_VERSION_STRING[[:space:]]*"\([0-9.]*\)"$/\1/p' "$deflate_src/libdeflate.h")
[ -n "$deflate_version" ] || { echo "notices: no version in $deflate_src/libdeflate.h" >&2; exit 1; }
# Upstream versions of Debian's packages: "12.2.0-14+deb12u1" is GCC 12.2.0.
mingw_version=$(dpkg-query -W -f='${Version}' mingw-w64-common)
mingw_version=${mingw_version%%-*}
gcc_version=$(dpkg-query -W -f='${Version}' gcc-mingw-w64-base)
gcc_version=${gcc_version%%-*}

# Prints the lines from the first line matching the regular expression START to the first line
# after it that holds the text END; fails when either is not there, so that a changed source file
# cannot leave a text out unnoticed.
section() {
  local file=$1 start=$2 end=$3 text
  text=$(awk -v s="$start" -v e="$end" '$0 ~ s { on = 1 } on { print } on && index($0, e) { exit }' "$file")
  if [ -z "$text" ] || ! grep -qF "$end" <<<"$text"; then
    echo "notices: '$start' ... '$end' not found in $file" >&2
    exit 1
  fi
  printf '%s\n' "$text"
}

heading() { printf '\n\n%s\n%s\n\n' "$1" "$(printf '%*s' ${#1} '' | tr ' ' '=')"; }

cat <<HEAD
Third-party software in Kamerin
===============================

Kamerin.exe and Kamerin64.exe are each a single program file. Built into each
of them are:

1. libjpeg-turbo $jpeg_version, which reads and writes JPEG files.
   This software is based in part on the work of the Independent JPEG Group.
   Its licences: the IJG License, the Modified (3-clause) BSD License and the
   zlib License (section 1 below).

2. libdeflate $deflate_version, which compresses and inflates the pixel data of PNG
   files. Its licence: the MIT License (section 2 below).

3. The runtime of mingw-w64 $mingw_version: the start-up code and C runtime support
   (mingw-w64-crt, with David M. Gay's gdtoa for reading and printing
   numbers) and the POSIX threads library winpthreads. Their licences: the
   Zope Public License 2.1 and the others that Debian's copyright file of
   mingw-w64 lists file by file, among them the Lucent licence of gdtoa and
   the MIT (expat) licence of winpthreads (section 3 below).

4. The runtime libraries of GCC $gcc_version: libstdc++ (the C++ standard
   library) and libgcc. Their licence: the GNU General Public License
   version 3 with the GCC Runtime Library Exception version 3.1 (section 4
   below), which allows them to be built into a program under the program's
   own terms.

Kamerin itself is under the MIT licence (LICENSE.txt).
HEAD

heading "1. libjpeg-turbo $jpeg_version"
echo "1.1 libjpeg-turbo's licences (LICENSE.md)"
echo
cat "$jpeg_src/LICENSE.md"
echo
echo
echo "1.2 The IJG License (the LEGAL ISSUES section of README.ijg)"
echo
section "$jpeg_src/README.ijg" "^LEGAL ISSUES$" "assumed by the product vendor."
echo
echo
echo "1.3 The zlib License of the SIMD extensions (from simd/nasm/jsimdext.inc)"
echo
section "$jpeg_src/simd/nasm/jsimdext.inc" "^; Copyright 2009 Pierre Ossman" \
  "; 3. This notice may not be removed or altered from any source distribution." | sed -E 's/^; ?//'

heading "2. libdeflate $deflate_version"
echo "libdeflate's licence (COPYING)"
echo
cat "$deflate_src/COPYING"

heading "3. mingw-w64 runtime and winpthreads $mingw_version (Debian's copyright file)"
cat "$mingw_copyright"

heading "4. libstdc++ and libgcc (GCC $gcc_version)"
echo "4.1 GCC Runtime Library Exception (from Debian's copyright file of GCC for mingw-w64)"
echo
section "$gcc_copyright" "^GCC RUNTIME LIBRARY EXCEPTION$" "requirements of the license of GCC."
echo
echo
echo "4.2 GNU General Public License version 3"
echo
cat "$gpl3"
