#!/bin/sh
# Installations killed mid-transfer, mid-expansion (a network one) and while they place
# files, then run again with the same command line, end installed: every file as published,
# the shared file counted once per workstation, no work file left anywhere, marker cleared.
# A network installation is updated by one run at a time; a killed run leaves no lock.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
. "$(dirname "$0")/killlib.sh"
kill_begin

# The large item arrives slowly; the kill comes once the item before it is placed.
KILL_DIR='C:\Fin1'
site_faults "LogItemAttachment.aspx?Item=$(site_list_field ledger.txt 0) slow 200000"
kill_start
e2e_wait_until 300 '[ "$(kill_logged "fncsymbols.ttf ---> OK")" = 1 ]' && kill_now
e2e_expect_eq "$(kill_logged "ledger.txt ---> OK")" 0 "transfer: the large item placed before the kill"
kill_rerun_and_check transfer 1

# A second run of a network installation while the first transfers stops before it
# changes anything (logging into the documents); the first goes on to its end.
KILL_DIR='C:\Lock' KILL_MODE=1
site_faults "LogItemAttachment.aspx?Item=$(site_list_field ledger.txt 0) slow 100000"
kill_start
e2e_wait_until 300 '[ "$(kill_logged "fncsymbols.ttf ---> OK")" = 1 ]' || e2e_fail "lock: the first run did not start"
before=$(md5sum < "$(e2e_path 'C:\Lock\wsetup.ini')")
e2e_run "/S:2 /IM:1 /I:C:\Lock /W:$SITE_URL /USER:demo /PW:demo /R:30052"
second=$(find "$WINEPREFIX/drive_c/users" -path '*/Documents/Plandrix.log' -exec cat {} +)
printf '%s' "$second" | grep -q 'Another run is updating the network installation: C:\\Lock' &&
  ! printf '%s' "$second" | grep -q 'Download file list' || e2e_fail "lock: the second run's log: $second"
e2e_expect_eq "$(md5sum < "$(e2e_path 'C:\Lock\wsetup.ini')")" "$before" "lock: wsetup.ini after the second run"
kill -0 "$KILL_PID" && wait "$KILL_PID" || e2e_fail "lock: the first run ended before the second was refused"
e2e_expect_log_contains 'C:\Lock' 'The installation has been completed successfully.'

KILL_DIR='C:\Net' KILL_ROOT='C:\Net\Root'  # counts no shared file
site_faults
kill_start
kill_when_expanding || e2e_fail "expansion: no expansion was seen"
e2e_expect_eq "$(kill_logged "ledger.txt ---> OK")" 0 "expansion: the large item placed before the kill"
kill_rerun_and_check expansion 1

KILL_DIR='C:\Fin3' KILL_MODE=0 KILL_ROOT=
kill_start
e2e_wait_until 300 '[ "$(kill_logged "---> OK")" -ge 3 ]' && kill_now
e2e_expect_eq "$(kill_logged "completed successfully")" 0 "placement: the run ended before the kill"
kill_rerun_and_check placement 2
e2e_end
