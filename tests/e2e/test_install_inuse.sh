#!/bin/sh
# A target held open by another program is replaced at the next restart: the run
# schedules the move, leaves the marker "Reboot" and its resumed run in RunOnce. The
# restart (wineboot -r) moves the new file into place and the resumed run clears the marker.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
e2e_begin
site_start

machine_key='HKLM\Software\Molvex\Molvex for Windows\4.0'
run_once='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'
session_manager='HKLM\System\CurrentControlSet\Control\Session Manager'

# The seam probe holds the file open, sharing nothing, as a running program does.
e2e_install_program seamprobe.exe 'C:\e2e'
# The resumed run starts from the installation's bin, where fncmain.exe is in use.
e2e_install_program Plandrix_T17_AE.exe 'C:\Fin\bin'
e2e_install_program
e2e_write_file 'C:\Fin\bin\fncmain.exe' 'the old main program'
( cd "$WINEPREFIX/drive_c" && exec wine 'C:\e2e\seamprobe.exe' --hold 'C:\Fin\bin\fncmain.exe' 0 60000 'C:\e2e\held' 'C:\e2e\release' ) \
  >"$E2E_WORK/holder.out" 2>&1 &
holder_pid=$!
e2e_wait_until 100 '[ -f "$(e2e_path "C:\\e2e")/held" ] || ! kill -0 "$holder_pid" 2>/dev/null'
[ -f "$(e2e_path 'C:\e2e')/held" ] || { cat "$E2E_WORK/holder.out" >&2; e2e_fail "the holder did not take the file"; e2e_end; }

site_install 'C:\Fin'
: > "$(e2e_path 'C:\e2e')/release"
wait "$holder_pid"

e2e_expect_log_contains 'C:\Fin' 'In use, copy file on reboot: C:\Fin\bin\fncmain.exe'
e2e_expect_log_contains 'C:\Fin' 'Reboot needed = Yes'
e2e_expect_log_contains 'C:\Fin' 'C:\Fin\bin\fncmain.exe ---> Ignored'
e2e_expect_eq "$(cat "$(e2e_path 'C:\Fin\bin\fncmain.exe')")" 'the old main program' "the file in use before the restart"
waiting=$(find "$(e2e_path 'C:\Fin\bin')" -maxdepth 1 -iname '_sy*.tmp' | head -n1)
cmp -s "${waiting:-/none}" "$PLANDRIX_SAMPLE_DIR/bin/fncmain.exe" || e2e_fail "no new fncmain.exe waits for the restart"

e2e_flush
pending=$(e2e_reg_get "$session_manager" PendingFileRenameOperations) ||
  e2e_fail "no PendingFileRenameOperations"
printf '%s' "$pending" | grep -qiF 'C:\\Fin\\bin\\fncmain.exe' ||
  e2e_fail "the pending renames do not name fncmain.exe: $pending"
e2e_expect_reg "$machine_key" MolvexInstallStatus Reboot
e2e_expect_reg "$run_once" Plandrix '"C:\Fin\bin\Plandrix_T17_AE.exe" /REBOOT:1'

# The restart; the resumed run writes no log.
log_before=$(md5sum < "$(e2e_log_file 'C:\Fin')")
( cd "$WINEPREFIX/drive_c" && timeout 60 wine wineboot -r ) >/dev/null 2>&1 || e2e_fail "wineboot -r failed"
wineserver -w
e2e_expect_same 'C:\Fin\bin\fncmain.exe' "$PLANDRIX_SAMPLE_DIR/bin/fncmain.exe"
e2e_expect_eq "$(md5sum < "$(e2e_log_file 'C:\Fin')")" "$log_before" "the log after the resumed run"
e2e_flush
e2e_expect_reg_absent "$machine_key" MolvexInstallStatus
e2e_expect_reg_absent "$run_once" Plandrix
e2e_expect_reg_absent "$session_manager" PendingFileRenameOperations

e2e_end
