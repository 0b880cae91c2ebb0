#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each for a bounded time, seeded with
# the shared sample files. Exits non-zero when a target finds a crash, a leak, a hang or an
# out-of-memory; the input that shows it is kept under build/fuzz-corpus/findings/.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
#
# SECONDS_PER_TARGET defaults to 60; the targets default to all of them. Set KAMERIN_FUZZ_BUILD to
# build in another folder than the preset's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${1:-60}
shift || true
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "fuzz: the time per target must be a positive number of seconds, not '$seconds'" >&2
  exit 2
fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(bmp_reader_fuzz jpeg_loader_fuzz)

testdata=$(cd "$root/.." && pwd)/shared/testdata
declare -A seeds=(
  [bmp_reader_fuzz]="$testdata/bmpsuite/good $testdata/bmpsuite/bad"
  [jpeg_loader_fuzz]="$testdata/jpeg"
)

# clang and its sanitizer runtimes (libFuzzer comes with libclang-rt), and libjpeg-turbo's source,
# which the fuzz build compiles with the fuzzers' instrumentation.
bash "$root/scripts/setup.sh"
sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
missing=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "fuzz: installing ${missing[*]}"
  sudo_if_needed apt-get update -qq
  DEBIAN_FRONTEND=noninteractive sudo_if_needed apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ -n "${KAMERIN_FUZZ_BUILD:-}" ]; then
  build=$KAMERIN_FUZZ_BUILD
  cmake --preset fuzz -B "$build" >/dev/null
  cmake --build "$build"
else
  build=$root/build/fuzz
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
fi

mkdir -p "$root/build/fuzz-corpus"
corpus=$(mktemp -d "$root/build/fuzz-corpus/run.XXXXXX")
trap 'rm -rf "$corpus"' EXIT
findings=$root/build/fuzz-corpus/findings
mkdir -p "$findings"

failed=()
for target in "${targets[@]}"; do
  binary=$build/fuzz/$target
  if [ ! -x "$binary" ]; then
    echo "fuzz: no target $target in $build/fuzz" >&2
    failed+=("$target")
    continue
  fi
  seed_dirs=()
  for dir in ${seeds[$target]:-}; do
    if [ -d "$dir" ]; then seed_dirs+=("$dir"); else echo "fuzz: seed folder $dir is missing" >&2; fi
  done
  mkdir -p "$corpus/$target"
  echo "fuzz: $target for ${seconds}s"
  # New inputs go to the first folder, the temporary one; the seed folders are only read.
  if ! "$binary" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" "$corpus/$target" "${seed_dirs[@]}"; then
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: FINDINGS in ${failed[*]} (inputs in $findings)" >&2
  exit 1
fi
echo "fuzz: no findings"
