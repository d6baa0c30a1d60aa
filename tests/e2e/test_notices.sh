#!/bin/sh
# Notices of unattended, not silent passes (pictures: build/screenshots/notice-<id>.png): NHVW at batch 350
# to 398 beside a 64-bit mail client meets 1049, 123 (makes it QS2003E), 1057, 1071; a new DORVAL5 meets 121;
# a browser that caches no SSL pages, 116.
. "$(dirname "$0")/lib.sh"
e2e_begin
e2e_install_program
mkdir -p "${shots:=$E2E_LIB_DIR/../../build/screenshots}"
e2e_write_file 'C:\Nh\Bin\Fyndra.ini' "$(printf '[Batch]\r\nCurrentBatch=350\r\n')"
e2e_reg_add 'HKLM\Software\Microsoft\Office\14.0\Outlook' Bitness REG_SZ x64
e2e_reg_add 'HKCR\https\shell\open\command' '' REG_SZ 'C:\windows\system32\cmd.exe /c echo %1>>C:\links.txt'

run() {  # in Wine's desktop, which draws captions
  e2e_mkdir "$1\\usr"
  ( cd "$WINEPREFIX/drive_c" && timeout "$E2E_RUN_TIMEOUT" wine explorer /desktop=notices,1024x768 \
      'C:\Setup\Plandrix_T17_AE.exe' /S:1 /IM:0 "/I:$1" "$2" "$3" ) >"$E2E_WORK/run.out" 2>&1 &
  program=$! window=""
}
# notice ID CAPTION KEYS...: waits for the next notice, saves its picture, then presses KEYS.
notice() {
  shown=$window caption=$2
  e2e_wait_until 200 'window=$(xdotool search --name "^$caption\$" 2>/dev/null | tail -1); [ "${window:-$shown}" != "$shown" ]' ||
    { e2e_fail "notice $1 was not shown"; return; }
  sleep 1
  import -window "$window" "$shots/notice-$1.png"
  shift 2
  xdotool key "$@" 2>/dev/null
}

run 'C:\Nh' /P:NHVW /R:398
notice 1049 Information Return
notice 123 Information Tab Tab Return   # Details
e2e_wait_until 100 '[ -s "$WINEPREFIX/drive_c/links.txt" ]'
e2e_expect_eq "$(tr -d '\r ' < "$WINEPREFIX/drive_c/links.txt")" \
  'https://portal.molvex.example/docs/DocView.aspx?DocumentID={18fb3bff-153b-4f83-a066-dc3778d0bd91}' "Details link"
eval "$(xdotool getwindowgeometry --shell "$window")"   # still open: Continue, clicked (the browser took the focus)
xdotool mousemove --window "$window" 60 $((HEIGHT - 20)) click 1 2>/dev/null
notice 1057 Information Return
notice 1071 Information Return          # shown to QS2003E, not NHVW; Enter declines it
wait "$program"
run 'C:\Dv' /P:DORVAL5 /OS:9
notice 121 Vista Escape
wait "$program"
e2e_reg_add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings' DisableCachingOfSSLPages REG_DWORD 1
run 'C:\Br' /P:FNC /R:30052
notice 116 'Molvex Internet Installer' Escape   # the settings check's; it cannot be declined
wait "$program"
for answer in 'Nh|1049 answered 6' 'Nh|123 answered 6' 'Nh|1057 answered 6' 'Nh|1071 answered 2' 'Dv|121 answered 2' 'Br|116 answered 1'; do
  e2e_expect_log_contains "C:\\${answer%%|*}" "Notice ${answer#*|}"
done
e2e_expect_eq "$(find "$WINEPREFIX/drive_c/Nh" "$WINEPREFIX/drive_c/Dv" -type f ! -iname '*.ini' ! -iname '*.log')" "" "files installed"
e2e_end
