#!/bin/sh
# The main job, end to end: set up the machine, build the Windows program and the update
# site's tools, publish the sample product as release 30052 of the line FNC, serve it on
# 127.0.0.1, and install it with the real Plandrix_T17_AE.exe under Wine on a virtual
# display. A screenshot of the progress window is saved; the log and the installed tree
# are printed.
# Usage: scripts/demo.sh [--dialog] [extra command-line options for the program]
#   --dialog starts the program without /S: on Wine's own desktop: the settings dialog
#     shows (screenshot build/demo/dialog.png) and is confirmed as a user would, with OK,
#     then the summary's question with Yes and the final message with OK.
#   DEMO_KEEP=1 keeps the Wine prefix afterwards (its path is printed).
#   DEMO_SHOT=FILE saves the screenshot there (default build/demo/progress.png).
set -e
dialog=0
if [ "${1:-}" = "--dialog" ]; then
  dialog=1
  shift
fi
cd "$(dirname "$0")/.."
root=$PWD
scripts/setup.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/plandrix-ccache}" CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
jobs="${PLANDRIX_JOBS:-2}"
echo "demo: building the Windows program"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs" --target Plandrix_T17_AE >/dev/null
echo "demo: building the update site, the publisher and the sample product"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs" --target plandrix-publish plandrix-site sample_product >/dev/null

shot="${DEMO_SHOT:-$root/build/demo/progress.png}"
mkdir -p "$(dirname "$shot")"
set +e
E2E_LIB_DIR="$root/tests/e2e"
PLANDRIX_WINDOWS_BIN="$root/build/windows/bin"
PLANDRIX_NATIVE_BIN="$root/build/native/bin"
PLANDRIX_E2E_ROOT="$root/build/wine"
E2E_KEEP="${DEMO_KEEP:-0}"
. "$E2E_LIB_DIR/lib.sh"
. "$E2E_LIB_DIR/sitelib.sh"
echo "demo: preparing a fresh Wine prefix (the first time takes a little longer)"
e2e_begin
e2e_install_program Plandrix_T17_AE.exe 'C:\Setup'
site_start
echo "demo: the update site serves $SITE_URL (user demo, password demo)"
# Items trickle at 64 KB/s, so the progress window stays up long enough to be seen.
site_faults 'LogItemAttachment.aspx?Item=* slow 65536'

install_dir='C:\Molvex Software\Fennic Duziderav'
e2e_mkdir "$install_dir\\usr"
if [ "$dialog" = 1 ]; then
  line="/IM:0 /I:\"$install_dir\" /W:$SITE_URL /USER:demo /PW:demo /R:30052 $*"
  echo "demo: running  C:\\Setup\\Plandrix_T17_AE.exe $line  (with its settings dialog)"
  # The line goes through a batch file, exactly as written; the desktop draws the frame.
  e2e_mkdir 'C:\e2e'
  printf '@C:\\Setup\\Plandrix_T17_AE.exe %s\r\n' "$line" > "$(e2e_path 'C:\e2e')/run.bat"
  ( cd "$WINEPREFIX/drive_c" && exec wine explorer /desktop=demo,1024x768 cmd /c 'C:\e2e\run.bat' ) \
    >"$E2E_WORK/run.out" 2>&1 &
  run=$!
  log="$(e2e_path "$install_dir")/usr/Plandrix.log"
  if e2e_wait_until 300 '[ -n "$(xdotool search --name "^Molvex Internet Installer\$" 2>/dev/null)" ]'; then
    sleep 1
    import -window root "$(dirname "$shot")/dialog.png" 2>/dev/null && echo "demo: screenshot of the dialog: $(dirname "$shot")/dialog.png"
    xdotool key Return  # OK
    e2e_wait_until 600 'grep -q "Download Size" "$log" 2>/dev/null' && sleep 1 && xdotool key Return  # Yes
    e2e_wait_until 1200 'grep -q "completed successfully" "$log" 2>/dev/null' && sleep 1 && xdotool key Return  # the final message
  else
    echo "demo: the settings dialog did not show"
  fi
  wait $run
  E2E_RC=$?
else
  line="/S:2 /IM:0 /I:\"$install_dir\" /W:$SITE_URL /USER:demo /PW:demo /R:30052 $*"
  echo "demo: running  C:\\Setup\\Plandrix_T17_AE.exe $line"
  # The screenshot is taken once the progress window shows, while the program runs.
  (
    for _ in $(seq 150); do
      window=$(xdotool search --name 'Molvex' 2>/dev/null | head -n1)
      if [ -n "$window" ]; then
        sleep 1
        import -window root "$shot" 2>/dev/null && echo "demo: screenshot of the progress window: $shot"
        exit 0
      fi
      sleep 0.1
    done
    echo "demo: the progress window did not show"
  ) &
  watcher=$!
  e2e_run "$line"
  wait $watcher
fi
echo "demo: the program ended with exit code $E2E_RC"
e2e_flush

log="$(e2e_path "$install_dir")/usr/Plandrix.log"
echo "demo: ---- $install_dir\\usr\\Plandrix.log"
iconv -f WINDOWS-1252 -t UTF-8 "$log" | tr -d '\r'
echo "demo: ---- the installed tree"
(cd "$(e2e_path "$install_dir")" && find . -type f | sort | sed 's/^\.\///')
for shared in 'C:\windows\system32\fncshared.dll' 'C:\windows\Fonts\fncsymbols.ttf'; do
  [ -f "$(e2e_path "$shared")" ] && printf '%s\n' "$shared"
done
echo "demo: ---- the installation's registry entries"
e2e_reg_get 'HKLM\Software\Molvex\Molvex for Windows\4.0' InstallationTime | sed 's/^/InstallationTime = /'
e2e_reg_get 'HKCU\Software\Molvex\e-Halomir Plandrix' InstallDir | sed 's/^/InstallDir = /'
grep -q -- '---> OK' "$log" && [ "$E2E_RC" -eq 0 ]
