#!/bin/sh
# The main job, shown end to end: set up the machine, build the Windows program, and
# run it unattended in a fresh Wine prefix on a virtual display; then print its log.
# Usage: scripts/demo.sh [extra command-line options for the program]
# DEMO_KEEP=1 keeps the prefix afterwards (its path is printed); DEMO_BUILD_DIR builds
# the program somewhere else than build/windows.
set -e
cd "$(dirname "$0")/.."
root=$PWD
scripts/setup.sh
export CCACHE_DIR="${CCACHE_DIR:-$root/build/.ccache}"
echo "demo: building the Windows program"
build_dir="${DEMO_BUILD_DIR:-$root/build/windows}"
cmake --preset windows -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j "${PLANDRIX_JOBS:-2}" --target Plandrix_T17_AE >/dev/null

set +e
E2E_LIB_DIR="$root/tests/e2e"
PLANDRIX_WINDOWS_BIN="$build_dir/bin"
PLANDRIX_E2E_ROOT="$root/build/wine"
E2E_KEEP="${DEMO_KEEP:-0}"
. "$E2E_LIB_DIR/lib.sh"
echo "demo: preparing a fresh Wine prefix (the first time takes a little longer)"
e2e_begin
e2e_install_program Plandrix_T17_AE.exe 'C:\Setup'

# An unattended, silent pass into the build's default installation folder.
install_dir='C:\Molvex Software\Fennic Duziderav'
e2e_mkdir "$install_dir\\usr"
line="/S:2 /I:\"$install_dir\" $*"
echo "demo: running  C:\\Setup\\Plandrix_T17_AE.exe $line"
e2e_run "$line"
echo "demo: the program ended with exit code $E2E_RC"
e2e_flush

found=0
find "$WINEPREFIX/drive_c" -iname 'plandrix.log' > "$E2E_WORK/logs" 2>/dev/null
while IFS= read -r log; do
  found=1
  echo "demo: ---- $log"
  iconv -f WINDOWS-1252 -t UTF-8 "$log" | tr -d '\r'
done < "$E2E_WORK/logs"
[ "$found" -eq 1 ] || echo "demo: the program wrote no log"
[ "$E2E_RC" -eq 0 ]
