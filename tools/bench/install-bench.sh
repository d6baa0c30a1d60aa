#!/bin/sh
# The installation benchmark: a generated release of about 1000 items / 100 MB is
# published, served on loopback and installed by the real program under Wine (silent,
# mode 0); the same items are then fetched with curl and expanded with cabextract, one
# after the other, as a plain pipeline. Prints wall time, MB/s and the program's peak
# memory for both.
# usage: tools/bench/install-bench.sh [NATIVE_BUILD] [WINDOWS_BIN] [ITEMS] [KB_PER_ITEM]
set -e
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
NATIVE=${1:-$ROOT/build/release}
WINBIN=${2:-$ROOT/build/windows/bin}
ITEMS=${3:-1000}
KB=${4:-100}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/plandrix-bench.XXXXXX")
SITE_PID=
cleanup() {
  [ -n "$SITE_PID" ] && kill "$SITE_PID" 2>/dev/null
  [ -n "${WINEPREFIX:-}" ] && WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

for tool in plandrix-publish plandrix-site; do
  [ -x "$NATIVE/bin/$tool" ] || { echo "bench: build $tool first ($NATIVE)" >&2; exit 1; }
done
[ -x "$WINBIN/Plandrix_T17_AE.exe" ] || { echo "bench: build the Windows program first ($WINBIN)" >&2; exit 1; }

echo "== generating $ITEMS items of about $KB KB"
PRODUCT="$WORK/product"
mkdir -p "$PRODUCT"
i=0
while [ $i -lt "$ITEMS" ]; do
  d="$PRODUCT/part$((i % 25))"
  mkdir -p "$d"
  # Half text that compresses like account data, half bytes that do not.
  if [ $((i % 2)) -eq 0 ]; then
    awk -v n=$((KB * 1024 / 40)) -v s=$i 'BEGIN { srand(s); for (k = 0; k < n; k++) printf "%06d;Account %6d;%12.2f;EUR\r\n", k, int(rand()*100000), rand()*1e6 }' > "$d/item$i.txt"
  else
    head -c $((KB * 1024)) /dev/urandom > "$d/item$i.bin"
  fi
  i=$((i + 1))
done
BYTES=$(du -sb "$PRODUCT" | cut -f1)
printf '*  folder=Root\n' > "$WORK/layout"
"$NATIVE/bin/plandrix-publish" --from "$PRODUCT" --site "$WORK/site" --line FNC --release 30052 --layout "$WORK/layout" >/dev/null
printf 'demo:demo\n' > "$WORK/users"
"$NATIVE/bin/plandrix-site" --root "$WORK/site" --listen 127.0.0.1:0 --users "$WORK/users" --port-file "$WORK/port" >/dev/null 2>&1 &
SITE_PID=$!
for _ in $(seq 50); do [ -s "$WORK/port" ] && break; sleep 0.1; done
PORT=$(cat "$WORK/port")
URL="http://127.0.0.1:$PORT"
LIST="$WORK/site/FNC/30052/filelist.lst"
CABBYTES=$(awk -F'\t' '{ s += $12 } END { print s }' "$LIST")

echo "== the installer under Wine"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINEPREFIX="$WORK/prefix"
HOME="$WORK" wineboot -i >/dev/null 2>&1; wineserver -w
# Xvfb runs no window manager, and Wine waits two seconds for one whenever a window it
# thinks managed is hidden (the progress window at the end of the run). A desktop answers
# at once, so the windows are left unmanaged here.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The settings check asks for the .NET Framework 3.5 SP1, as the end-to-end tests' prefixes offer.
wine reg add 'HKLM\Software\Microsoft\NET Framework Setup\NDP\v3.5' /v Version /d 3.5.30729.01 /f >/dev/null 2>&1
wineserver -w
mkdir -p "$WINEPREFIX/drive_c/Setup"
cp "$WINBIN/Plandrix_T17_AE.exe" "$WINEPREFIX/drive_c/Setup/"
printf '@C:\\Setup\\Plandrix_T17_AE.exe /S:2 /IM:0 /I:"C:\\Bench" /W:%s /USER:demo /PW:demo /R:30052\r\n' "$URL" \
  > "$WINEPREFIX/drive_c/Setup/run.bat"
wineserver -p
PEAK_FILE="$WORK/peak"
echo 0 > "$PEAK_FILE"
# Samples the program's resident set while it runs.
( while :; do
    for pid in $(pgrep -f 'Plandrix_T17_AE.exe' 2>/dev/null); do
      hwm=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
      [ -n "$hwm" ] && [ "$hwm" -gt "$(cat "$PEAK_FILE")" ] && echo "$hwm" > "$PEAK_FILE"
    done
    sleep 0.2
  done ) &
SAMPLER=$!
START=$(date +%s.%N)
xvfb-run -a wine cmd /c 'C:\Setup\run.bat' >/dev/null 2>&1
END=$(date +%s.%N)
kill $SAMPLER 2>/dev/null
INSTALL=$(echo "$END - $START" | bc -l)
PLACED=$(find "$WINEPREFIX/drive_c/Bench" -type f -name 'item*' | wc -l)

echo "== curl + cabextract"
PIPE="$WORK/pipe"
mkdir -p "$PIPE"
START=$(date +%s.%N)
# Tabs in a row are empty fields: awk keeps them, the shell's read would not.
tr -d '\r' < "$LIST" | awk -F'\t' '{ print $1, $2, $4, $12 }' | while read -r code release size cab; do
  curl -s -u demo:demo -o "$PIPE/item.cab" "$URL/docs/LogItemAttachment.aspx?Item=$code&Release=$release&Action=2&Size=$size&CabSize=$cab"
  cabextract -q -d "$PIPE/out" "$PIPE/item.cab" >/dev/null
done
END=$(date +%s.%N)
PIPELINE=$(echo "$END - $START" | bc -l)

MB=$(echo "$BYTES / 1048576" | bc -l)
printf '\nitems %d, %.1f MB installed, %.1f MB transferred\n' "$ITEMS" "$MB" "$(echo "$CABBYTES / 1048576" | bc -l)"
printf 'installer:  %6.1f s  %6.2f MB/s  peak memory %d KB  (%d files placed)\n' "$INSTALL" "$(echo "$MB / $INSTALL" | bc -l)" "$(cat "$PEAK_FILE")" "$PLACED"
printf 'pipeline:   %6.1f s  %6.2f MB/s\n' "$PIPELINE" "$(echo "$MB / $PIPELINE" | bc -l)"
printf 'ratio installer/pipeline: %.2f\n' "$(echo "$INSTALL / $PIPELINE" | bc -l)"
