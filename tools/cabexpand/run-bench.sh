#!/bin/sh
# Benchmarks the product's cabinet expansion beside cabextract and a plain copy:
# builds cabexpand with the `release` preset, makes the 64 MB benchmark corpus on a
# tmpfs when it is missing, and prints output MB/s (medians) and peak memory.
#   tools/cabexpand/run-bench.sh [REPEAT] [BUILD_DIR] [CORPUS_DIR]
set -e
cd "$(dirname "$0")/../.."
REPEAT="${1:-7}"
BUILD="${2:-build/release}"
CORPUS="${3:-/dev/shm/plandrix-cabbench}"
SHARED=../shared/testdata/cabinets
export CCACHE_DIR="${CCACHE_DIR:-$PWD/build/.ccache}"
cmake --preset release -B "$BUILD" >/dev/null
nice cmake --build "$BUILD" --target cabexpand
if [ ! -f "$CORPUS/bench-mszip.cab" ] || [ ! -f "$CORPUS/bench-stored.cab" ]; then
  mkdir -p "$CORPUS"
  nice bash "$SHARED/make-bench-corpus.sh" "$CORPUS"
fi
set -- "$CORPUS/bench-mszip.cab" "$CORPUS/bench-stored.cab"
[ -f "$CORPUS/bench-lzx21.cab" ] && set -- "$@" "$CORPUS/bench-lzx21.cab"
set -- "$@" "$SHARED/generated/lzxcab/bench-pe-8m.w21.aligned.e8.cab" \
  "$SHARED/reference/cabextract/cabs/large-files-cab.cab" \
  "$SHARED/reference/cabextract/bugs/cve-2010-2801-qtm-flush.cab"
exec nice "$BUILD/bin/cabexpand" --bench --repeat "$REPEAT" "$@"
