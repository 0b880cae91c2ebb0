#!/usr/bin/env bash
# Installs what building, testing and packaging Kamerin needs on a Debian machine, and fetches the
# sources of the libraries built into the program (libjpeg-turbo, libdeflate). Safe to run again:
# it only adds what is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(cmake ninja-build g++ libgtest-dev libjpeg62-turbo-dev
          mingw-w64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 nasm dpkg-dev
          wine wine32:i386 wine64 xvfb x11-utils imagemagick fonts-ipafont-gothic locales
          clang libclang-rt-14-dev gcc libx11-dev libxcomposite-dev zip unzip libpng-dev
          xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || sudo_if_needed dpkg --add-architecture i386
  sudo_if_needed apt-get update -qq
  DEBIAN_FRONTEND=noninteractive sudo_if_needed apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Debian source packages of the libraries the build compiles itself: libjpeg-turbo (for the
# Windows and fuzz builds), the same version as the host's libjpeg62-turbo-dev, and libdeflate (for
# PNG files, in every build). Each is fetched into build/deps once and extracted to build/deps/NAME.
src_dir="$root/build/deps"
# fetch_source PACKAGE FILE: FILE is a file of the extracted source that shows it is complete.
fetch_source() {
  local package=$1 marker=$2 tarball
  if ! ls "$src_dir/${package}"_*.orig.tar.gz >/dev/null 2>&1; then
    if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
      echo "setup: adding a deb-src entry for the machine's Debian sources"
      sed -n '/^Types: deb$/,/^$/p' /etc/apt/sources.list.d/debian.sources | sed 's/^Types: deb$/Types: deb-src/' \
        | sudo_if_needed tee /etc/apt/sources.list.d/kamerin-deb-src.sources >/dev/null
      sudo_if_needed apt-get update -qq
    fi
    mkdir -p "$src_dir"
    (cd "$src_dir" && apt-get source --download-only "$package" >/dev/null 2>&1)
  fi
  tarball=$(ls "$src_dir/${package}"_*.orig.tar.gz | head -n 1)
  if [ ! -f "$src_dir/$package/$marker" ]; then
    rm -rf "${src_dir:?}/$package" && mkdir -p "$src_dir/$package"
    tar -xzf "$tarball" -C "$src_dir/$package" --strip-components=1
  fi
}
fetch_source libjpeg-turbo CMakeLists.txt
fetch_source libdeflate libdeflate.h
