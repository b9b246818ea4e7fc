#!/usr/bin/env bash
# Runs one fuzz target for a number of seconds: fuzz/run.sh TARGET SECONDS [libFuzzer options]
# TARGET is a fuzz/*_fuzz.cpp name without "_fuzz" (command_line, convert, ...). Build first:
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DLUMBRIX_FUZZ=ON -DLUMBRIX_TESTS=OFF
#   ninja -C build-fuzz TARGET_fuzz
# The growing corpus, crash files and the log stay in build-fuzz/fuzz/{corpus,artifacts,logs}.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 TARGET SECONDS [libFuzzer options]" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-fuzz}
binary=$build/fuzz/${target}_fuzz
[ -x "$binary" ] || { echo "$binary is not built" >&2; exit 2; }

corpus=$build/fuzz/corpus/$target
artifacts=$build/fuzz/artifacts/$target/
logs=$build/fuzz/logs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$corpus" "$artifacts" "$logs"

# Seeds: the committed samples, and for picture targets the PNG corpus of the tests (crashers too).
seeds=("$root/fuzz/seeds/$target")
pngs=$root/tests/data/corpus
case $target in
watermark_image)
  seeds+=("$pngs/pngsuite" "$pngs/testpngs") ;;
convert)
  # The first byte chooses the stages; each PNG is seeded once plainly and once with all of them.
  mkdir -p "$work/seeds"
  for png in "$pngs"/pngsuite/*.png "$pngs"/testpngs/*.png "$pngs"/testpngs/crashers/*.png; do
    [ -f "$png" ] || continue
    name=$(basename "$png")
    { printf '\000'; cat "$png"; } >"$work/seeds/plain-$name"
    { printf '\177'; cat "$png"; } >"$work/seeds/all-$name"
  done
  seeds+=("$work/seeds") ;;
esac
existing=()
for dir in "${seeds[@]}"; do [ -d "$dir" ] && existing+=("$dir"); done

# The targets write into the process's own scratch folder under TMPDIR and never into $HOME.
export TMPDIR=$work HOME=$work QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$work"
status=0
log=$logs/$target.log
echo "$binary -max_total_time=$seconds -timeout=25 -rss_limit_mb=2560 -max_len=65536 $corpus ${existing[*]}" >"$log"
"$binary" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2560 -max_len=65536 \
  -artifact_prefix="$artifacts" -print_final_stats=1 "$@" "$corpus" "${existing[@]}" 2>>"$log" ||
  status=$?
grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|stat::number_of_executed_units|stat::peak_rss_mb' "$log" || true
exit $status
