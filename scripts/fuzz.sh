#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each, one after the other, for a
# bounded time: the BMP, JPEG and PNG readers, the settings file (read and saved) and the hotkey's
# text form. Exits non-zero when a target finds a crash, a broken promise, a sanitizer report, a
# leak, a hang or an out-of-memory; the input that shows it is kept under
# build/fuzz-corpus/findings/.
#
#   scripts/fuzz.sh [--merge] [SECONDS_PER_TARGET] [TARGET...]
#
# SECONDS_PER_TARGET defaults to 60; the targets default to all of them (fuzz/*.cpp). Each target
# starts from its corpus in fuzz/corpus/TARGET (and the readers also from sample files that stay
# where they are: the shared ones, and the PNG reader's test files); what a run finds goes to a
# temporary folder. With --merge, a run without findings is minimised into fuzz/corpus/TARGET
# (libFuzzer's -merge=1): the folder then holds only inputs that add coverage beyond the samples,
# ready to be committed. Set KAMERIN_FUZZ_BUILD to build in another folder than the preset's. The
# machine is shared: run it with nice. An input that runs longer than KAMERIN_FUZZ_TIMEOUT seconds
# (10) counts as a hang; a niced run on a busy machine can be starved that long, so give long runs
# there more.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

merge=false
if [ "${1:-}" = "--merge" ]; then
  merge=true
  shift
fi
seconds=${1:-60}
shift || true
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "fuzz: the time per target must be a positive number of seconds, not '$seconds'" >&2
  exit 2
fi
targets=("$@")
timeout=${KAMERIN_FUZZ_TIMEOUT:-10}
if ! [[ "$timeout" =~ ^[0-9]+$ ]] || [ "$timeout" -eq 0 ]; then
  echo "fuzz: KAMERIN_FUZZ_TIMEOUT must be a positive number of seconds, not '$timeout'" >&2
  exit 2
fi
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

# Seeds read besides the target's own corpus; these are never copied into it.
testdata=$(cd "$root/.." && pwd)/shared/testdata
declare -A samples=(
  [bmp_reader_fuzz]="$testdata/bmpsuite/good $testdata/bmpsuite/bad"
  [jpeg_loader_fuzz]="$testdata/jpeg"
  [png_reader_fuzz]="$root/tests/unit/picture/png_files/good $root/tests/unit/picture/png_files/bad"
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
work=$(mktemp -d "$root/build/fuzz-corpus/run.XXXXXX")
trap 'rm -rf "$work"' EXIT
findings=$root/build/fuzz-corpus/findings
logs=$root/build/fuzz-corpus/logs
mkdir -p "$findings" "$logs"

summary=()
failed=()
for target in "${targets[@]}"; do
  binary=$build/fuzz/$target
  corpus=$root/fuzz/corpus/$target
  if [ ! -x "$binary" ]; then
    echo "fuzz: no target $target in $build/fuzz" >&2
    failed+=("$target")
    continue
  fi
  mkdir -p "$corpus"
  sample_dirs=()
  for dir in ${samples[$target]:-}; do
    if [ -d "$dir" ]; then sample_dirs+=("$dir"); else echo "fuzz: sample folder $dir is missing" >&2; fi
  done
  options=(-rss_limit_mb=2048 -timeout="$timeout")
  [ -f "$root/fuzz/$target.dict" ] && options+=(-dict="$root/fuzz/$target.dict")

  echo "fuzz: $target for ${seconds}s"
  log=$logs/$target.log
  # New inputs go to the first folder, the temporary one; the others are only read.
  mkdir -p "$work/$target"
  status=0
  "$binary" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$findings/$target-" "$work/$target" "$corpus" "${sample_dirs[@]}" 2>&1 | tee "$log" || status=$?
  # The last status line and libFuzzer's final counts, for the summary at the end.
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
  runs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || echo '?')
  time=$(grep -oE 'Done [0-9]+ runs in [0-9]+ second' "$log" | grep -oE '[0-9]+ second' | grep -oE '[0-9]+' || echo '?')
  if [ "$status" -ne 0 ]; then
    failed+=("$target")
    summary+=("$target: FINDING after ${runs} runs, ${last:-no coverage line} (log $log)")
    continue
  fi

  note=""
  if $merge; then
    # The shared samples go into the output folder first, so that only inputs adding coverage
    # beyond them are kept; then they are taken out again. Coverage counts by edges, not by how
    # often each is taken, which keeps a few dozen inputs instead of hundreds.
    merged=$work/$target.merged
    mkdir -p "$merged"
    for dir in "${sample_dirs[@]}"; do
      for file in "$dir"/*; do [ -f "$file" ] && cp "$file" "$merged/sample-$(basename "$dir")-$(basename "$file")"; done
    done
    "$binary" "${options[@]}" -merge=1 -use_counters=0 "$merged" "$corpus" "$work/$target" >"$logs/$target.merge.log" 2>&1
    rm -f "$merged"/sample-*
    rm -rf "$corpus"
    mv "$merged" "$corpus"
    note=", corpus merged into fuzz/corpus/$target: $(find "$corpus" -type f | wc -l) files, $(du -sh "$corpus" | cut -f1)"
  fi
  summary+=("$target: ${time}s, ${runs} runs, ${last:-no coverage line}, no findings$note")
done

echo "fuzz: summary"
for line in "${summary[@]}"; do echo "  $line"; done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: FINDINGS in ${failed[*]} (inputs in $findings, logs in $logs)" >&2
  exit 1
fi
echo "fuzz: no findings"
