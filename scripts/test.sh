#!/bin/sh
# Set-up, both builds, all tests (unit, corpus, site, end-to-end under Wine).
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
export CCACHE_DIR="${CCACHE_DIR:-$PWD/build/.ccache}"
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j2 --timeout 900
