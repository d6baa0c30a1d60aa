#!/bin/sh
# Fuzzes the cabinet decoder: builds the `fuzz` preset's target, seeds a working corpus
# with the shared test cabinets and runs at low priority on one core.
#   tests/fuzz/run-cabinet-fuzz.sh [SECONDS] [BUILD_DIR]
set -e
cd "$(dirname "$0")/../.."
SECONDS_TO_RUN="${1:-600}"
BUILD="${2:-build/fuzz}"
export CCACHE_DIR="${CCACHE_DIR:-$PWD/build/.ccache}"
cmake --preset fuzz -B "$BUILD" >/dev/null
nice -n 19 cmake --build "$BUILD" --target fuzz_cabinet
WORK="$BUILD/fuzz-cabinet"
mkdir -p "$WORK/corpus" "$WORK/findings"
find ../shared/testdata/cabinets -name '*.cab' -size -2M -exec cp -n {} "$WORK/corpus/" \;
nice -n 19 "$BUILD/bin/fuzz_cabinet" "$WORK/corpus" -max_len=65536 -timeout=10 -rss_limit_mb=1024 \
  -max_total_time="$SECONDS_TO_RUN" -print_final_stats=1 -artifact_prefix="$WORK/findings/"
