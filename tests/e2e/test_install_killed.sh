#!/bin/sh
# Installations killed mid-transfer, mid-expansion (a network one) and while they place
# files, then run again with the same command line, end installed: every file as published,
# the shared file counted once per workstation, no work file left anywhere, marker cleared.
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

KILL_DIR='C:\Net' KILL_MODE=1 KILL_ROOT='C:\Net\Root'  # counts no shared file
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
