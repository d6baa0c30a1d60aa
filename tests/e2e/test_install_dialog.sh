#!/bin/sh
# An installation driven through the settings dialog as a user drives it, on Wine's own
# desktop. A silent run whose folder is malformed shows the dialog, and Cancel installs
# nothing. Started without /S:, a malformed folder typed into the installation folder is
# refused with the focus back on that field, then a good folder is typed, OK starts the
# run, the final message is confirmed, and the files land in the typed folder.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
site_begin

caption='Molvex Internet Installer'
desktop=/desktop=dialogrun,1024x768
e2e_mkdir 'C:\e2e'
cp "$PLANDRIX_WINDOWS_BIN/dialogprobe.exe" "$(e2e_path 'C:\e2e')/" || exit 1
controls="$(e2e_path 'C:\e2e')/controls.txt"

# probe: lists the dialog's controls, their places and the focus into $controls.
probe() {
  rm -f "$controls"
  ( cd "$WINEPREFIX/drive_c" && wine explorer "$desktop" 'C:\e2e\dialogprobe.exe' "$caption" 'C:\e2e\controls.txt' )
  e2e_wait_until 300 '[ -f "$controls" ]' || e2e_fail "the probe found no dialog"
}

# type_into ID TEXT: clicks into the control as a user does and replaces its text.
type_into() {
  set -- $(awk -v id="$1" '$1 == id && $2 == "at" { print $3, $4 }' "$controls") "$2"
  xdotool mousemove "$1" "$2" click 1 && sleep 0.3
  xdotool key End shift+Home BackSpace && xdotool type --delay 20 "$3"
}

# window_of CAPTION: the newest X window with that caption.
window_of() { xdotool search --name "^$1\$" 2>/dev/null | tail -1; }
# logged TEXT: the run's log has the text. The log opened before the folder was typed
# stays in the documents folder.
logged() { cat "$WINEPREFIX"/drive_c/users/*/Documents/Plandrix.log 2>/dev/null | grep -q -F "$1"; }

# start ARGUMENTS...: the program on the test's desktop, in the background ($run).
start() {
  ( cd "$WINEPREFIX/drive_c" && exec timeout "$E2E_RUN_TIMEOUT" wine explorer "$desktop" \
      "$E2E_PROGRAM" "/W:$SITE_URL" /USER:demo /PW:demo /R:30052 "$@" ) >"$E2E_WORK/run.out" 2>&1 &
  run=$!
}

# A silent run with a malformed folder shows the dialog after all; Cancel installs nothing.
start /S:2 /I:X
e2e_wait_until 300 '[ -n "$(window_of "$caption")" ]' || e2e_fail "a silent run with a bad field showed no dialog"
sleep 0.5
xdotool key Escape
wait "$run" || e2e_fail "the silent run did not end after Cancel"
[ -s "$E2E_WORK/site-access.log" ] && e2e_fail "the cancelled run asked the site"
e2e_wait_until 100 '[ -z "$(window_of "$caption")" ]'

start
e2e_wait_until 300 '[ -n "$(window_of "$caption")" ]' || e2e_fail "no settings dialog"
probe

# A folder without a drive and a backslash is refused: the dialog stays, the focus on the field.
type_into 1007 'Typed'
xdotool key Return
e2e_wait_until 100 'logged "The following data is invalid: Installation directory"' ||
  e2e_fail "the malformed folder was not refused in the log"
sleep 0.5
xdotool key Return  # the refusal's OK
sleep 0.5
probe
grep -q -x 'focus 1007' "$controls" || e2e_fail "the focus is not on the installation folder ($(grep focus "$controls"))"

e2e_mkdir 'C:\Typed\usr'
type_into 1007 'C:\Typed'
xdotool key Return
# The summary's question (Yes is its default button), then the final message.
e2e_wait_until 300 'logged "Download Size"' || e2e_fail "the run into the typed folder found nothing to do"
sleep 1
xdotool key Return
e2e_wait_until 300 'logged "completed successfully"' || e2e_fail "the run into the typed folder did not complete"
logged 'Canceled by user' && e2e_fail "the summary's question was not answered with Yes"
for _ in 1 2 3 4 5; do
  xdotool key Return 2>/dev/null
  e2e_wait_until 20 '! kill -0 "$run" 2>/dev/null' && break
done
wait "$run" || e2e_fail "the program did not end after the final message"
for file in bin/fncmain.exe readme.txt; do
  cmp -s "$(e2e_path "C:\\Typed\\$file")" "$PLANDRIX_SAMPLE_DIR/$file" || e2e_fail "C:\\Typed\\$file is not the release's"
done

e2e_end
