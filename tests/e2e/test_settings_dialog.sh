#!/bin/sh
# The settings dialog on Wine's own desktop: started without /S:, each build shows its
# dialog with the controls of its line and mode (listed by the dialog probe), and
# Escape (Cancel) ends the program with nothing installed. Screenshots of each case go
# to build/screenshots.
. "$(dirname "$0")/lib.sh"
e2e_begin

shots="$E2E_LIB_DIR/../../build/screenshots"
mkdir -p "$shots"
e2e_mkdir 'C:\e2e'
cp "$PLANDRIX_WINDOWS_BIN/dialogprobe.exe" "$(e2e_path 'C:\e2e')/" || exit 1
controls="$(e2e_path 'C:\e2e')/controls.txt"

# open_dialog PROGRAM CAPTION SHOT ARGUMENTS...: starts the program, waits for its dialog,
# lists its controls into $controls, saves the shot cropped to the window, presses Escape.
open_dialog() {
  program=$1 caption=$2 shot=$3
  shift 3
  e2e_install_program "$program"
  e2e_mkdir 'C:\Dlg\usr'
  rm -f "$controls"
  # A desktop of its own per case: a desktop that already exists takes the program over
  # and its starter returns at once.
  desktop="/desktop=${shot%.png},1024x768"
  ( cd "$WINEPREFIX/drive_c" && exec timeout "$E2E_RUN_TIMEOUT" wine explorer "$desktop" \
      "$E2E_PROGRAM" '/I:C:\Dlg' /W:http://127.0.0.1:9 "$@" ) >"$E2E_WORK/run.out" 2>&1 &
  run=$!
  if ! e2e_wait_until 300 'window=$(xdotool search --name "^$caption\$" 2>/dev/null | head -1); [ -n "$window" ]'; then
    e2e_fail "$program: no dialog \"$caption\""
  else
    # The probe must share the program's desktop to find its window.
    ( cd "$WINEPREFIX/drive_c" && wine explorer "$desktop" 'C:\e2e\dialogprobe.exe' "$caption" 'C:\e2e\controls.txt' )
    e2e_wait_until 300 '[ -f "$controls" ]' || e2e_fail "the probe listed no controls"
    # xwininfo gives the window's place on the screen (xdotool's counts the desktop twice).
    place=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
      /Width/ {w=$NF} /Height/ {h=$NF} END {print w "x" h "+" x "+" y}')
    import -window root "$E2E_WORK/root.png" &&
      /usr/bin/convert "$E2E_WORK/root.png" -crop "$place" +repage "$shots/$shot"
    # Escape, again if Wine had given the dialog a new X window meanwhile.
    for _ in 1 2 3; do
      window=$(xdotool search --name "^$caption\$" 2>/dev/null | tail -1)
      [ -n "$window" ] && xdotool key --window "$window" Escape 2>/dev/null
      e2e_wait_until 30 '! kill -0 "$run" 2>/dev/null' && break
    done
  fi
  wait "$run" || e2e_fail "$program did not end after Cancel"
  # The next case must not find this dialog's window on its way out.
  e2e_wait_until 100 '[ -z "$(xdotool search --name "^$caption\$" 2>/dev/null)" ]'
  [ -e "$(e2e_path 'C:\Dlg\bin')" ] && e2e_fail "$program installed files after Cancel"
  return 0
}

# expect_controls "ID SHOWN ENABLED TEXT" or "ID items SELECTED A|B|...", one a line.
expect_controls() {
  printf '%s\n' "$1" | while IFS= read -r want; do
    grep -q -x -F -- "$want" "$controls" || { grep "^${want%% *} " "$controls" | sed "s/^/  $want, has: /"; exit 1; }
  done >&2 || e2e_fail "$shot: controls differ"
}

# This build: its product's name, fixed, a release picked from the list only, one mode.
open_dialog Plandrix_T17_AE.exe 'Molvex Internet Installer' settings-dialog-fnc.png
expect_controls '1000 1 1 Fennic Duziderav
1001 1 1 32000
1001 items 1 30052|32000
1004 1 0 Internet workstation installation
1040 0 1 New version available...'

# The generic build: every mode, both update modes, languages and countries, release notes.
open_dialog HalomirPlandrix.exe 'Molvex Internet Installer' settings-dialog-generic-mode0.png
expect_controls '1000 1 1 QS2003E
1004 items 0 Internet workstation installation|Internet network installation|Internet network installation update|LAN workstation installation|LAN workstation update|Creation of CD installation|CD workstation installation|CD network installation
1025 items 0 During download|After download
1029 1 0 Dutch
1031 items 0 (All)|Belgium|Germany|Netherlands|Luxemburg
1027 1 1 Release notes'

# A LAN workstation: the network path instead of the site, no release, no update mode.
open_dialog HalomirPlandrix.exe 'Molvex Workstation Installation' settings-dialog-generic-mode3.png /IM:3 '/NETDIR:C:\Net'
expect_controls '1005 1 1 Path to network installation
1012 1 1 Local installation directory
1001 0 1 32000
1025 0 0 During download
1004 1 0 LAN workstation installation'

e2e_end
