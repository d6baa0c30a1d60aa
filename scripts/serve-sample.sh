#!/bin/sh
# Publishes the sample product as FNC release 30052 into a site folder and serves it
# until interrupted, for trying the installer by hand or from a demo script.
# usage: scripts/serve-sample.sh [BUILD_DIR] [SITE_DIR] [PORT]
#   BUILD_DIR  a native build with the tools and the sample (default build/native)
#   SITE_DIR   where the site is written (default BUILD_DIR/sample-site)
#   PORT       0 (default) picks a free port; it is written to SITE_DIR/port
# The site asks for user "demo" with password "demo" (any domain).
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build/native}
SITE=${2:-$BUILD/sample-site}
PORT=${3:-0}
cmake --build "$BUILD" --target plandrix-publish plandrix-site sample_product >/dev/null
"$BUILD/bin/plandrix-publish" --from "$BUILD/sample-product" --site "$SITE" --line FNC --release 30052 \
  --layout "$ROOT/tests/data/sample-product.layout"
printf 'demo:demo\n' > "$SITE/users.txt"
exec "$BUILD/bin/plandrix-site" --root "$SITE" --listen "127.0.0.1:$PORT" --users "$SITE/users.txt" \
  --port-file "$SITE/port" --log "$SITE/access.log"
