#!/bin/sh
# Figures for the publisher and the site, taken on this machine:
#   publish time of the sample and of a generated folder of about 36 MB,
#   cabinet sizes against `gcab -z` on the same files,
#   item downloads per second over loopback with wrk.
# usage: scripts/site-benchmark.sh BUILD_DIR   (a release build: cmake --preset release)
set -e
BUILD=${1:?usage: site-benchmark.sh BUILD_DIR}
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
SITE_PID=
trap '[ -n "$SITE_PID" ] && kill $SITE_PID 2>/dev/null; rm -rf "$WORK"' EXIT
PUBLISH="$BUILD/bin/plandrix-publish"
SITE="$BUILD/bin/plandrix-site"
LAYOUT="$HERE/../tests/data/sample-product.layout"

echo "== publish the sample"
"$PUBLISH" --from "$BUILD/sample-product" --site "$WORK/site" --line FNC --release 30052 --layout "$LAYOUT"

echo "== publish a generated folder"
BIG="$WORK/big"
mkdir -p "$BIG"
i=0
while [ $i -lt 400 ]; do
  d="$BIG/part$((i % 20))"; mkdir -p "$d"
  # Text of varied length (accounts-like lines), and every fourth file a binary.
  n=$(( (i * 7919) % 4000 + 50 ))
  awk -v n=$n -v s=$i 'BEGIN { srand(s); for (k = 0; k < n; k++) printf "%05d;Account %d;%.2f;EUR;%s\r\n", k, int(rand()*100000), rand()*1e6, (k % 3 ? "open" : "closed") }' > "$d/file$i.txt"
  if [ $((i % 4)) -eq 0 ]; then cat "$BUILD"/sample-product/bin/*.dll "$BUILD"/sample-product/bin/*.exe > "$d/lib$i.dll"; fi
  i=$((i + 1))
done
du -sh "$BIG" | sed 's/^/size of the generated folder: /'
"$PUBLISH" --from "$BIG" --site "$WORK/site" --line FNC --release 40000

echo "== cabinets against gcab -z (same files, one cabinet per file)"
for release in 30052 40000; do
  ours=0; theirs=0; plain=0
  src="$BUILD/sample-product"; [ $release = 40000 ] && src="$BIG"
  find "$src" -type f > "$WORK/files"
  while IFS= read -r f; do
    gcab -c -n -z "$WORK/g.cab" "$f" >/dev/null
    theirs=$((theirs + $(stat -c %s "$WORK/g.cab")))
    plain=$((plain + $(stat -c %s "$f")))
  done < "$WORK/files"
  for f in "$WORK"/site/FNC/$release/items/*; do ours=$((ours + $(stat -c %s "$f"))); done
  echo "release $release: files $plain bytes, plandrix-publish $ours bytes, gcab -z $theirs bytes" \
       "($(awk -v a=$ours -v b=$plain 'BEGIN{printf "%.1f", 100*a/b}')% vs" \
       "$(awk -v a=$theirs -v b=$plain 'BEGIN{printf "%.1f", 100*a/b}')% of the files)"
done

echo "== item downloads with wrk (loopback)"
printf 'jan:geheim\n' > "$WORK/users"
"$SITE" --root "$WORK/site" --listen 127.0.0.1:0 --port-file "$WORK/port" --users "$WORK/users" > "$WORK/site.out" 2>&1 &
SITE_PID=$!
while [ ! -s "$WORK/port" ]; do sleep 0.1; done
PORT=$(cat "$WORK/port")
AUTH="Authorization: Basic $(printf 'jan:geheim' | base64)"
for pick in readme fncaccounts; do
  line=$(grep "_${pick}" "$WORK/site/FNC/30052/filelist.lst" | head -1 | sed 's/^\(CSFNC_[^[:space:]]*\).*/\1/')
  size=$(grep "^$line" "$WORK/site/FNC/30052/filelist.lst" | cut -f4)
  cab=$(grep "^$line" "$WORK/site/FNC/30052/filelist.lst" | cut -f12)
  URL="http://127.0.0.1:$PORT/docs/LogItemAttachment.aspx?Item=$line&Release=30052&Action=2&Size=$size&CabSize=$cab"
  echo "-- item $line ($cab bytes)"
  wrk -t2 -c16 -d10s -H "$AUTH" "$URL" | grep -E "Requests/sec|Transfer/sec|Latency|Non-2xx|Socket errors"
done
kill -TERM $SITE_PID; wait $SITE_PID; SITE_PID=
