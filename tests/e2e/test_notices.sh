#!/bin/sh
# The notices a real pass shows, inside Wine's desktop (which draws captions): an NHVW
# installation at batch 350 brought to release 398 on a machine with the 64-bit mail
# client meets the release-380 notice, the conversion, the release-395 notice and the
# mail-client notice; DORVAL5 on a new machine meets the permissions notice. Each is
# saved cropped to build/screenshots/notice-<id>.png. Runs are unattended but not silent.
. "$(dirname "$0")/lib.sh"
e2e_begin
e2e_install_program
shots="$E2E_LIB_DIR/../../build/screenshots"
mkdir -p "$shots"
e2e_write_file 'C:\Nh\Bin\Fyndra.ini' "$(printf '[Batch]\r\nCurrentBatch=350\r\n')"
e2e_mkdir 'C:\Nh\usr'
e2e_mkdir 'C:\Dv\usr'
e2e_reg_add 'HKLM\Software\Microsoft\Office\14.0\Outlook' Bitness REG_SZ x64
# The browser is a command that writes down the link it is given.
e2e_reg_add 'HKCR\https\shell\open\command' '' REG_SZ 'C:\windows\system32\cmd.exe /c echo %1>>C:\e2e\links.txt'
e2e_mkdir 'C:\e2e'
links="$(e2e_path 'C:\e2e')/links.txt"

start_run() {
  ( cd "$WINEPREFIX/drive_c" && timeout "$E2E_RUN_TIMEOUT" wine explorer /desktop=notices,1024x768 \
      'C:\Setup\Plandrix_T17_AE.exe' "$@" ) >"$E2E_WORK/run.out" 2>&1 &
  run=$!
  window=""
}

# notice ID CAPTION ANSWER...: waits for the next notice, saves its picture and answers
# with the command ANSWER... (which may read the notice's place).
notice() {
  shown=$window caption=$2
  e2e_wait_until 200 'window=$(xdotool search --name "^$caption\$" 2>/dev/null | tail -1); [ -n "$window" ] && [ "$window" != "$shown" ]' ||
    { e2e_fail "notice $1 was not shown"; return; }
  sleep 1
  place=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /Width/ { w = $2 } /Height/ { h = $2 } END { printf "%dx%d+%d+%d", w, h, x, y }')
  import -window root -crop "$place" "$shots/notice-$1.png" || e2e_fail "no picture of notice $1"
  shift 2
  "$@"
}

press() { xdotool key "$1" 2>/dev/null; }

# Clicks the notice at X Y pixels from its lower-left or (negative X) lower-right corner.
click() {
  echo "$place $1 $2" | awk -F '[x+ ]' '{ x = $5 < 0 ? $3 + $1 + $5 : $3 + $5; print x, $4 + $2 - $6 }' |
    { read -r x y; xdotool mousemove "$x" "$y" click 1 2>/dev/null; }
}

# Details opens its document and leaves the notice waiting for its answer: Continue.
details() {
  click -40 20
  e2e_wait_until 100 '[ -s "$links" ]' || e2e_fail "Details opened nothing"
  e2e_expect_eq "$(tr -d '\r ' < "$links")" \
    'https://portal.molvex.example/docs/DocView.aspx?DocumentID={18fb3bff-153b-4f83-a066-dc3778d0bd91}' "the conversion's link"
  xwininfo -id "$window" >/dev/null 2>&1 || e2e_fail "Details closed the notice"
  click 60 20
}

start_run /S:1 /IM:0 /P:NHVW /R:398 '/I:C:\Nh'
notice 1049 Information press Return
notice 123 Information details
# Shown only because the conversion made the line QS2003E: NHVW never sees it.
notice 1057 Information press Return
# Continue is not the default: Enter declines.
notice 1071 Information press Return
wait "$run"
for answer in '1049 answered 6' '123 answered 6' '1057 answered 6' '1071 answered 2'; do
  e2e_expect_log_contains 'C:\Nh' "Notice $answer"
done
e2e_expect_eq "$(find "$(e2e_path 'C:\Nh')" -type f ! -iname fyndra.ini ! -iname plandrix.log)" "" "files after the declined notice"

start_run /S:1 /OS:9 /IM:0 /P:DORVAL5 /R:398 '/I:C:\Dv'
notice 121 Vista press Escape
wait "$run"
e2e_expect_log_contains 'C:\Dv' 'Notice 121 answered 2'
e2e_expect_eq "$(find "$(e2e_path 'C:\Dv')" -type f ! -iname plandrix.log)" "" "files after the declined notice"
e2e_end
